// SPDX-License-Identifier: MIT
// The About box: title, version, what the program does, an ownership notice,
// OK and a button that starts the system information tool. The main window
// keeps at most one; choosing About again brings the same window forward.
#pragma once

#include <QDialog>

#include <functional>

class QLabel;
class QPushButton;

namespace yawmark {

class AboutDialog : public QDialog {
    Q_OBJECT
public:
    // owner: the main window. Not modal; OK, Escape and the close box dismiss
    // the box, which then deletes itself.
    explicit AboutDialog(QWidget* owner = nullptr);

    // Replaces what "System Info..." does (the real lookup and launch by default).
    void setStartSysInfo(std::function<void()> start);

    QPushButton* cmdOK() const { return okButton_; }
    QPushButton* cmdSysInfo() const { return sysInfoButton_; }

public slots:
    // Escape and the close box end up here, as OK does.
    void reject() override;

private:
    // Fills the texts that depend on the program: caption, title and version.
    void loadTexts();
    void dismiss();

    QLabel* title_ = nullptr;
    QLabel* version_ = nullptr;
    QPushButton* okButton_ = nullptr;
    QPushButton* sysInfoButton_ = nullptr;
    std::function<void()> startSysInfo_;
};

} // namespace yawmark

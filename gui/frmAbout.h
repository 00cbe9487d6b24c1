// The About box: title, version, what the program does, an ownership notice,
// OK and a button that starts the system information tool. There is at most
// one; choosing About again brings the same window forward.
#pragma once

#include <QDialog>

#include <array>
#include <functional>

class QLabel;
class QPushButton;

namespace yawmark {

class frmAbout : public QDialog {
    Q_OBJECT
public:
    // The one About box, created (and loaded) on first use; owner is the main window.
    static frmAbout* instance(QWidget* owner = nullptr);
    // The About box if it exists, else nullptr; never creates it.
    static frmAbout* existing();
    // Help, "&About...": shows the About box (not modal) and brings it to the front.
    static frmAbout* showAbout(QWidget* owner = nullptr);

    ~frmAbout() override;

    // The description exactly as shown: two sentences, 68 blanks between them.
    static QString descriptionText();

    // Replaces what "System Info..." does (the real lookup and launch by default).
    void setStartSysInfo(std::function<void()> start);

    QLabel* picIcon = nullptr;         // the program icon, 32 x 32
    QLabel* lblTitle = nullptr;        // the application title
    QLabel* lblVersion = nullptr;      // "Version 1.2.0"
    QLabel* lblDescription = nullptr;  // what the program does
    std::array<QWidget*, 2> Line1{};   // the etched separator: 0 white, 1 grey
    QLabel* lblDisclaimer = nullptr;   // ownership notice and contact
    QPushButton* cmdOK = nullptr;      // default and cancel button
    QPushButton* cmdSysInfo = nullptr; // "&System Info..."

public slots:
    // Escape and the close box end up here, as OK does.
    void reject() override;

private:
    explicit frmAbout(QWidget* owner);
    // Fills the texts that depend on the program: caption, title and version.
    void Form_Load();
    void cmdOK_Click();
    void cmdSysInfo_Click();

    std::function<void()> startSysInfo_;
};

} // namespace yawmark

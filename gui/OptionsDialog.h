// SPDX-License-Identifier: MIT
// The Options dialog: whether box 5 of the parameter panel holds the moment
// of inertia itself or the radius of gyration. A modal dialog centred on the
// main window: while it is open the main window takes no input, but a run in
// progress goes on. OK (the default button) applies the choice; Cancel, Escape
// and the close box discard it.
#pragma once

#include <QDialog>
#include <QPointer>

class QPushButton;
class QRadioButton;

namespace yawmark {

class ParameterPanel;

class OptionsDialog : public QDialog {
    Q_OBJECT
public:
    // Client area 4620 x 1755 twips.
    static constexpr int kClientWidth = 308;
    static constexpr int kClientHeight = 117;

    // Over mainWindow, for the panel's box 5. Deletes itself once closed.
    OptionsDialog(QWidget* mainWindow, ParameterPanel& panel);

    QRadioButton* optValue() const { return optValue_; }   // box 5 holds the moment of inertia
    QRadioButton* optGyrate() const { return optGyrate_; } // box 5 holds the radius of gyration
    QPushButton* cmdOK() const { return cmdOK_; }
    QPushButton* cmdCancel() const { return cmdCancel_; }

public slots:
    // OK: box 5 in the chosen form, then the dialog closes. A radius of
    // gyration without a real value is refused with a message; nothing
    // changes and the dialog stays open.
    void accept() override;

private:
    QPointer<ParameterPanel> panel_;
    QRadioButton* optValue_ = nullptr;
    QRadioButton* optGyrate_ = nullptr;
    QPushButton* cmdOK_ = nullptr;
    QPushButton* cmdCancel_ = nullptr;
};

} // namespace yawmark

// The Options dialog: whether box 5 of the parameter panel holds the moment
// of inertia itself or the radius of gyration. There is at most one; while
// it is open the main window takes no input, but a run in progress goes on.
// OK applies the choice, Cancel and the close box discard it.
#pragma once

#include <QPointer>
#include <QWidget>

class QGroupBox;
class QPushButton;
class QRadioButton;

namespace yawmark {

class ParameterPanel;

class frmOption : public QWidget {
    Q_OBJECT
public:
    // Client area 4620 x 1755 twips, at 3840, 4005 twips on the screen.
    static constexpr int kClientWidth = 308;
    static constexpr int kClientHeight = 117;
    static constexpr int kLeft = 256;
    static constexpr int kTop = 267;

    // Tools, "&Options": opens the dialog over mainWindow for the panel's box
    // 5 (or brings the open one forward) and returns it.
    static frmOption* showOptions(QWidget* mainWindow, ParameterPanel& panel);
    // The open dialog (not yet closed), or nullptr.
    static frmOption* existing();

    ~frmOption() override;

    QGroupBox* Frame1 = nullptr;       // "Specify Moment of Inertia by"
    QRadioButton* optValue = nullptr;  // "Value": box 5 holds the moment of inertia
    QRadioButton* optGyrate = nullptr; // "Radius of Gyration"
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdCancel = nullptr;

    // OK: the chosen form for box 5, then the dialog closes. A radius of
    // gyration that has no real value (mass 0, or mass and moment of inertia
    // of opposite signs) is refused with a message; nothing changes and the
    // dialog stays open.
    void cmdOK_Click();
    // Cancel: closes the dialog; nothing changes.
    void cmdCancel_Click();
    // Box 5 in the form useGyration selects: its text from the stored moment
    // of inertia and mass, caption, tooltips and arrow step. False (after a
    // message) when the radius of gyration has no real value.
    bool ToggleGyrate();

protected:
    // The close box, OK and Cancel all end here: Form_Unload.
    void closeEvent(QCloseEvent* event) override;

private:
    frmOption(QWidget* mainWindow, ParameterPanel& panel);
    // Takes the main window's input away and sets the options from useGyration.
    void Form_Load();
    // Gives the main window its input back and brings it to the front.
    void Form_Unload();

    QPointer<QWidget> main_;
    QPointer<ParameterPanel> panel_;
    bool unloaded_ = false;
};

} // namespace yawmark

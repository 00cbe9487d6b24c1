// The Options dialog: whether box 5 of the parameter panel holds the moment
// of inertia itself or the radius of gyration. While it is open the main
// window takes no input, but a run in progress goes on. OK applies the
// choice, Cancel and the close box discard it. The main window keeps at most one.
#pragma once

#include <QPointer>
#include <QWidget>

class QGroupBox;
class QPushButton;
class QRadioButton;

namespace yawmark {

class ParameterPanel;

class OptionsDialog : public QWidget {
    Q_OBJECT
public:
    // Client area 4620 x 1755 twips, at 3840, 4005 twips on the screen.
    static constexpr int kClientWidth = 308;
    static constexpr int kClientHeight = 117;
    static constexpr int kLeft = 256;
    static constexpr int kTop = 267;

    // Over mainWindow (which it disables until it closes) for the panel's box 5.
    OptionsDialog(QWidget* mainWindow, ParameterPanel& panel);
    ~OptionsDialog() override;

    QRadioButton* optValue() const { return optValue_; }   // box 5 holds the moment of inertia
    QRadioButton* optGyrate() const { return optGyrate_; } // box 5 holds the radius of gyration
    QPushButton* cmdOK() const { return cmdOK_; }
    QPushButton* cmdCancel() const { return cmdCancel_; }

public slots:
    // OK: box 5 in the chosen form, then the dialog closes. A radius of
    // gyration without a real value is refused with a message; nothing
    // changes and the dialog stays open.
    void accept();

protected:
    // The close box, OK and Cancel all end here.
    void closeEvent(QCloseEvent* event) override;

private:
    // Gives the main window its input back and brings it to the front.
    void release();

    QPointer<QWidget> main_;
    QPointer<ParameterPanel> panel_;
    QRadioButton* optValue_ = nullptr;
    QRadioButton* optGyrate_ = nullptr;
    QPushButton* cmdOK_ = nullptr;
    QPushButton* cmdCancel_ = nullptr;
    bool released_ = false;
};

} // namespace yawmark

// The start-up splash: a borderless window with the program's picture, title
// and version. It closes on any key that types a character or on a click on
// its frame, and at the latest when the start-up sequence ends it.
#pragma once

#include <QDialog>

class QFrame;
class QLabel;

namespace yawmark {

class frmSplash : public QDialog {
    Q_OBJECT
public:
    // The one splash, created (and loaded) on first use; owner is the main window.
    static frmSplash* instance(QWidget* owner = nullptr);
    // The splash if it exists, else nullptr; never creates it.
    static frmSplash* existing();
    // Hides and destroys the splash if it exists.
    static void unload();

    ~frmSplash() override;

    QFrame* Frame1 = nullptr;            // fills the window; a click on it closes
    QLabel* Picture1 = nullptr;          // the splash picture
    QLabel* lblProductName = nullptr;    // the application title
    QLabel* lblCompanyProduct = nullptr; // empty
    QLabel* lblPlatform = nullptr;       // the platform's name
    QLabel* lblVersion = nullptr;        // "Version 1.2.0"
    QLabel* lblCopyright = nullptr;      // one-line ownership notice
    QLabel* Label1 = nullptr;            // how to close the splash

    // The platform's name as the splash shows it ("Linux", "Windows", ...).
    static QString platformName();

protected:
    // Key preview: every key reaches the window before any control.
    void keyPressEvent(QKeyEvent* event) override;
    // Clicks on Frame1's own surface.
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    explicit frmSplash(QWidget* owner);
    // Fills the texts that depend on the program: title and version.
    void Form_Load();
    void Form_KeyPress();
    void Frame1_Click();

    bool pressedOnFrame_ = false;
};

} // namespace yawmark

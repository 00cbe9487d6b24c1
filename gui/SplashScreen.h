// SPDX-License-Identifier: MIT
// The start-up splash: a borderless window with the program's picture, title
// and version. It closes on any key that types a character or on a click on
// its frame, and at the latest when the start-up sequence ends it.
#pragma once

#include <QDialog>

class QFrame;
class QLabel;

namespace yawmark {

class SplashScreen : public QDialog {
    Q_OBJECT
public:
    // owner: the main window. The splash deletes itself once closed.
    explicit SplashScreen(QWidget* owner = nullptr);

protected:
    // Key preview: every key reaches the window before any control.
    void keyPressEvent(QKeyEvent* event) override;
    // Clicks on the frame's own surface.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Fills the texts that depend on the program: title and version.
    void loadTexts();

    QFrame* frame_ = nullptr;
    QLabel* title_ = nullptr;
    QLabel* version_ = nullptr;
    bool pressedOnFrame_ = false;
};

} // namespace yawmark

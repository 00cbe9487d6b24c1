// SPDX-License-Identifier: MIT
#include "gui/SplashSequence.h"

#include <QTimer>
#include <QWidget>

namespace yawmark {

void SplashSequence::tick(QTimer& timer, QWidget& mainWindow) {
    // Saturate: a timer left running for years must not wrap the count back to 1.
    if (ticks_ < kLastTick) ++ticks_;
    if (ticks_ == 1) {
        splash_ = new SplashScreen(&mainWindow);
        splash_->show();
        splash_->raise();
        splash_->activateWindow();
    } else if (ticks_ == kLastTick) {
        timer.stop();
        mainWindow.show();
        mainWindow.raise();
        mainWindow.activateWindow();
        if (splash_) splash_->close();
    }
}

} // namespace yawmark

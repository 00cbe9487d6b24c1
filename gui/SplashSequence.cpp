#include "gui/SplashSequence.h"

#include "gui/frmSplash.h"

#include <QTimer>
#include <QWidget>

namespace yawmark {

SplashSequence::Action SplashSequence::tick() {
    // Saturate: a timer left running for years must not wrap the count back to 1.
    if (splashTicks_ < kLastTick) ++splashTicks_;
    if (splashTicks_ == 1) return Action::ShowSplash;
    if (splashTicks_ >= kLastTick) return Action::EndSplash;
    return Action::None;
}

void SplashSequence::Timer1_Timer(QTimer& Timer1, QWidget& mainWindow) {
    switch (tick()) {
    case Action::ShowSplash: {
        frmSplash* splash = frmSplash::instance(&mainWindow);
        splash->show();
        splash->raise();
        splash->activateWindow();
        break;
    }
    case Action::EndSplash:
        Timer1.stop();
        mainWindow.show();
        mainWindow.raise();
        mainWindow.activateWindow();
        frmSplash::unload();
        break;
    case Action::None:
        break;
    }
}

} // namespace yawmark

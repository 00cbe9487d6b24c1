// SPDX-License-Identifier: MIT
// The start-up splash sequence, driven by the main window's 100 ms timer:
// the first tick shows the splash, the 50th (about five seconds after start)
// ends the sequence, brings the main window to the front and closes the
// splash. The main window owns one of these and passes it each tick.
#pragma once

#include "gui/SplashScreen.h"

#include <QPointer>

class QTimer;
class QWidget;

namespace yawmark {

class SplashSequence {
public:
    // The tick on which the sequence ends.
    static constexpr int kLastTick = 50;

    // One tick of timer: on the first, shows a splash over mainWindow; on the
    // last (and any stray one after it), stops timer, brings mainWindow to
    // the front and closes the splash if the user has not already.
    void tick(QTimer& timer, QWidget& mainWindow);

    // Ticks counted so far; stays at kLastTick once there.
    int ticks() const { return ticks_; }

    // The splash until it is deleted (it deletes itself once closed), else nullptr.
    SplashScreen* splash() const { return splash_; }

private:
    int ticks_ = 0;
    QPointer<SplashScreen> splash_;
};

} // namespace yawmark

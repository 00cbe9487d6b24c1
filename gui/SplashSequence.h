// The start-up splash sequence, driven by the main window's 100 ms timer:
// the first tick shows the splash, the 50th (about five seconds after start)
// ends the sequence, brings the main window to the front and removes the
// splash. The main window owns one of these and calls Timer1_Timer on each tick.
#pragma once

class QTimer;
class QWidget;

namespace yawmark {

class SplashSequence {
public:
    // What one tick asks for.
    enum class Action {
        None,       // ticks 2 to 49
        ShowSplash, // tick 1
        EndSplash,  // tick 50 and later: stop the timer, main window to front, splash away
    };

    // The tick on which the sequence ends.
    static constexpr int kLastTick = 50;

    // Counts one tick and says what to do; pure bookkeeping, no windows.
    Action tick();

    // Ticks counted so far (splashTicks).
    int ticks() const { return splashTicks_; }

    // One tick of Timer1 with its effect: shows the splash over mainWindow,
    // or stops Timer1, brings mainWindow to the front and unloads the splash.
    void Timer1_Timer(QTimer& Timer1, QWidget& mainWindow);

private:
    int splashTicks_ = 0;
};

} // namespace yawmark

// The life of a run in the main window: Draw, Pause (and Escape), Stop,
// SnapShot, Clear, the pacing timer `Timer2`, the pan and zoom bars, and the
// loop `Main` that advances the car pass by pass, draws it and yields to the
// event queue once per pass.
//
// Everything runs on the one GUI thread. The handlers that a yield calls talk
// to the loop only through the run flags in RunState; Resume runs the loop
// again, nested inside the Pause handler. Closing the window makes every loop
// on the stack leave after its yield without drawing another pass.
#pragma once

#include "gui/MessageHook.h"
#include "plot/Trails.h"
#include "sim/Params.h"
#include "sim/RunState.h"

#include <QObject>
#include <QString>

#include <cstdint>
#include <functional>

namespace yawmark {

class ReversedScrollBar;
class Surface;
class frmGraph;

class RunControl : public QObject {
    Q_OBJECT
public:
    // Called after every pass of the loop has advanced the state, before the yield.
    using PassHook = std::function<void(std::uint64_t pass)>;

    // Wires the window's run buttons, Timer2 and the pan and zoom bars.
    explicit RunControl(frmGraph& window);

    // The surface the run draws on: the plot's own unless a test gave another
    // (nullptr goes back to the plot's).
    Surface& surface() const { return *surface_; }
    void setSurface(Surface* surface);

    // How a message reaches the user (a message box by default; tests record).
    void setMessageHook(MessageHook hook);
    void setPassHook(PassHook hook) { passHook_ = std::move(hook); }

    // Whether a loop is on the stack, and how many passes ran since the last Draw.
    bool running() const { return depth_ > 0; }
    std::uint64_t passes() const { return passes_; }
    // The pacing interval, ms, for a time step in seconds: rounded (halves to
    // even) and held within 1..65535.
    static int pacingInterval(double timeStep);

    // "Calculate and Plot!": prepares the boxes (nothing changes on a bad one),
    // clears the plot, puts the car at its start and runs until paused or stopped.
    void cmdDraw_Click();
    // Interrupts a run, or resumes an interrupted one from where it stood.
    void cmdPause_Click();
    // Interrupts a run; Draw keeps its caption.
    void cmdStop_Click();
    // Asks for a lasting outline at the next pass.
    void cmdSnap_Click();
    // Clears the plot and draws the axes again.
    void cmdClear_Click();
    // Each tick of the pacing timer.
    void Timer2_Timer();
    // Keys on the four run buttons: Escape pauses or resumes. Return whether the key was used.
    bool cmdsnap_KeyDown(int key, Qt::KeyboardModifiers shift);
    bool cmdpause_KeyDown(int key, Qt::KeyboardModifiers shift);
    bool cmdstop_KeyDown(int key, Qt::KeyboardModifiers shift);
    bool cmdclear_KeyDown(int key, Qt::KeyboardModifiers shift);

    // The pan and zoom bars: each change counts for its sign, the bar goes back
    // to 0 and the axes are drawn again; a run goes on in the new mapping.
    void scrX_Change(int index);
    void scrY_Change(int index);
    void scrZoom_Change(int index);

    // The loop; returns when the run is paused, stopped, fails or the window closes.
    void Main();
    // Buttons for a running loop, focus on SnapShot.
    void BeforeMain();
    // Buttons after the loop: Draw and Clear enabled again.
    void AfterMain();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void message(const QString& title, const QString& text);
    void drawScale();
    void barChange(ReversedScrollBar* bar, bool (*step)(Params&, int, int), int index);
    // One pass; false when the numbers would stop being finite.
    bool pass();
    // The run cannot go on: the buttons go back to those of a window that has
    // not run yet.
    void endFailedRun();
    bool escapeKey(int key);

    frmGraph& w_;
    Params& p_;
    RunState& s_;
    Surface* surface_;
    TrailMemory trails_;
    MessageHook messageHook_;
    PassHook passHook_;
    int depth_ = 0;
    std::uint64_t passes_ = 0;
};

} // namespace yawmark

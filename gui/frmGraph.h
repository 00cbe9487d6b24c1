// The main window "Yawmark": the plot fills the client area, and on top of it
// along the left edge the control panel (`fmeControl`: the parameter tabs,
// the pan and zoom bars, the run buttons) and the tip lines (`fmeTip`). The
// menus File, Tools and Help; the timers `Timer1` (100 ms, running) and
// `Timer2` (1 ms, stopped).
//
// Closing the window or File > Exit ends the program at once: the application
// is told to quit and `closing()` turns true, so a run that is yielding to
// the event queue can see it and leave.
#pragma once

#include "gui/SplashSequence.h"
#include "gui/MessageHook.h"
#include "sim/Params.h"
#include "sim/RunState.h"

#include <QMainWindow>

#include <array>

class QAction;
class QCheckBox;
class QGroupBox;
class QLabel;
class QMenu;
class QPushButton;
class QTimer;

namespace yawmark {

class ParameterPanel;
class PlotWidget;
class ReversedScrollBar;
class RunControl;

class frmGraph : public QMainWindow {
    Q_OBJECT
public:
    // Client area at design: 7905 x 8190 twips. The window opens wider so the
    // plot beside the panel has room.
    static constexpr int kClientWidth = 960;
    static constexpr int kClientHeight = 546;

    explicit frmGraph(QWidget* parent = nullptr);
    ~frmGraph() override;

    // True once the window is closing: the program is ending.
    bool closing() const { return closing_; }

    // The shared parameters and the run state of this window's skid.
    Params& params() { return params_; }
    RunState& state() { return state_; }
    // Draw, Pause, Stop, SnapShot, Clear, the pacing timer and the pan and
    // zoom bars: the life of a run.
    RunControl* runControl() const { return run_; }
    // How every message of the window and its dialogs reaches the user (a
    // message box by default); tests put in one that only records.
    void setMessageHook(MessageHook hook);

    PlotWidget* plot() const { return plot_; }
    ParameterPanel* panel() const { return panel_; }
    QGroupBox* fmeControl() const { return fmeControl_; }
    QGroupBox* fmeTip() const { return fmeTip_; }

    // Pan bars scrX(0), scrY(0); zoom bars scrZoom(0) (zoom) and scrZoom(1) (scale interval).
    ReversedScrollBar* scrX(int i) const { return scrX_.at(i); }
    ReversedScrollBar* scrY(int i) const { return scrY_.at(i); }
    ReversedScrollBar* scrZoom(int i) const { return scrZoom_.at(i); }

    QPushButton* cmdDraw() const { return cmdDraw_; }
    QPushButton* cmdSnap() const { return cmdSnap_; }
    QCheckBox* chkSnap() const { return chkSnap_; }
    QPushButton* cmdPause() const { return cmdPause_; }
    QPushButton* cmdStop() const { return cmdStop_; }
    QPushButton* cmdClear() const { return cmdClear_; }

    QTimer* Timer1() const { return timer1_; }
    QTimer* Timer2() const { return timer2_; }

    QMenu* mnuFile() const { return mnuFile_; }
    QAction* mnuExit() const { return mnuExit_; }
    QMenu* mnuTools() const { return mnuTools_; }
    QAction* mnuOption() const { return mnuOption_; }
    QAction* mnuReset() const { return mnuReset_; }
    QMenu* mnuHelp() const { return mnuHelp_; }
    QAction* mnuNA() const { return mnuNA_; }
    QAction* mnuAbout() const { return mnuAbout_; }

    // File > Exit: ends the program.
    void mnuExit_Click();
    // Help > About...: shows the About box (one at most; again brings it forward).
    void mnuAbout_Click();
    // Each 100 ms tick of Timer1: the start-up splash sequence.
    void Timer1_Timer();
    const SplashSequence& splashSequence() const { return splash_; }

    // Start-up of the parameters: every box and check box gets its first text.
    void Form_Load();
    // Tools > Reset All Variables: the start-up of the parameters again.
    void mnuReset_Click();
    // Tools > Options: the one Options dialog; this window takes no input while it is open.
    void mnuOption_click();

protected:
    void closeEvent(QCloseEvent* event) override;
    // Enter that no focused button took goes to the default button, Draw.
    void keyPressEvent(QKeyEvent* event) override;

private:
    void buildMenus();
    void buildControlPanel();
    void buildTips();
    void setTabOrder();
    void endProgram();
    void wireRunControl();
    // The parameter panel on this window's parameters, and its two menu commands.
    void wirePanel();

    bool closing_ = false;
    Params params_;
    RunState state_;
    RunControl* run_ = nullptr;
    SplashSequence splash_;
    PlotWidget* plot_ = nullptr;
    ParameterPanel* panel_ = nullptr;
    QGroupBox* fmeControl_ = nullptr;
    QGroupBox* fmeTip_ = nullptr;
    std::array<ReversedScrollBar*, 1> scrX_{};
    std::array<ReversedScrollBar*, 1> scrY_{};
    std::array<ReversedScrollBar*, 2> scrZoom_{};
    QPushButton* cmdDraw_ = nullptr;
    QPushButton* cmdSnap_ = nullptr;
    QCheckBox* chkSnap_ = nullptr;
    QPushButton* cmdPause_ = nullptr;
    QPushButton* cmdStop_ = nullptr;
    QPushButton* cmdClear_ = nullptr;
    QTimer* timer1_ = nullptr;
    QTimer* timer2_ = nullptr;
    QMenu* mnuFile_ = nullptr;
    QAction* mnuExit_ = nullptr;
    QMenu* mnuTools_ = nullptr;
    QAction* mnuOption_ = nullptr;
    QAction* mnuReset_ = nullptr;
    QMenu* mnuHelp_ = nullptr;
    QAction* mnuNA_ = nullptr;
    QAction* mnuAbout_ = nullptr;
};

} // namespace yawmark

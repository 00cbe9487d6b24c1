// SPDX-License-Identifier: MIT
// The main window "Yawmark": the plot fills the client area, and on top of it
// along the left edge the control panel (`fmeControl`: the parameter tabs,
// the pan and zoom bars, the run buttons) and the tip lines (`fmeTip`). The
// menus File, Tools and Help; the timers `Timer1` (100 ms, the start-up
// splash) and `Timer2` (the real-time pacing).
//
// The window owns the run, the view and the renderer. A run is a loop on the
// one GUI thread that draws and steps the car pass by pass and yields to the
// event queue every few passes (a real-time run after every pass, blocking
// until its next tick); the handlers it lets through talk to it only through
// the run's phase, and Resume runs the loop again, nested inside its handler.
// Closing the window ends the program at once: every loop on the stack leaves
// after its yield without drawing another pass. The run ends by itself when
// the car comes to rest.
//
// The View menu and the gestures on the plot change the view and redraw the
// run's record in it; the status bar reads the record out.
//
// The File menu keeps the case in a file: New, Open, Save, Save As, recent
// files, exports of the plot and the trajectory. A case opened from or saved
// to a file asks before unsaved changes to it would be dropped; an untitled
// one never asks.
//
// Tyre marks surveyed on the road belong to the case: imported from CSV, kept
// in its file, drawn in grey under the trails after every clear. Tools > Fit
// to Marks finds the launch whose trails lie on them (FitDialog). A run that
// comes to rest has its rest position's error at its interval worked out on a
// worker thread, and the status note tells it when it comes.
#pragma once

#include "gui/AboutDialog.h"
#include "gui/HelpWindow.h"
#include "gui/MessageHook.h"
#include "gui/OptionsDialog.h"
#include "gui/SplashSequence.h"
#include "model/Marks.h"
#include "model/Run.h"
#include "plot/Renderer.h"
#include "plot/View.h"

#include <QMainWindow>
#include <QMessageBox>
#include <QPointer>

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <thread>
#include <vector>

class QAction;
class QCheckBox;
class QLabel;
class QSettings;
class QGroupBox;
class QMenu;
class QPushButton;
class QTimer;

namespace yawmark {

class FitDialog;
class ParameterPanel;
class PlotWidget;
class ReversedScrollBar;

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    // Client area at design: 7905 x 8190 twips. The window opens wider so the
    // plot beside the panel has room.
    static constexpr int kClientWidth = 960;
    static constexpr int kClientHeight = 546;
    // Passes between two yields of an unpaced run: a yield costs more than a
    // pass, and 256 passes take well under a millisecond.
    static constexpr std::uint64_t kPassesPerYield = 256;
    // How often the readout follows a run, ms.
    static constexpr int kReadoutIntervalMs = 100;
    static inline const QString kCaseFilter = QStringLiteral("Yawmark cases (*.yawmark)");
    static inline const QString kMarksFilter = QStringLiteral("Tyre marks (*.csv);;All files (*)");

    explicit MainWindow(QWidget* parent = nullptr);
    ~MainWindow() override;

    // True once the window is closing: the program is ending.
    bool closing() const { return closing_; }

    const model::Run& run() const { return run_; }
    const plot::View& view() const { return view_; }
    // Whether a run loop is on the stack, and how many passes ran since the last Draw.
    bool running() const { return depth_ > 0; }
    std::uint64_t passes() const { return passes_; }
    // Called after every pass of the loop, before the yield (tests).
    void setPassHook(std::function<void(std::uint64_t)> hook) { passHook_ = std::move(hook); }
    // An unpaced run yields after every n-th pass (tests yield after each).
    void setPassesPerYield(std::uint64_t n) { passesPerYield_ = n > 0 ? n : 1; }
    // How every message of the window and its dialogs reaches the user (a
    // message box by default); tests put in one that only records.
    void setMessageHook(MessageHook hook);
    // Draw on another surface (tests); nullptr goes back to the plot's.
    void setSurface(plot::Surface* surface);
    // How the window asks for a file (a file dialog by default): its caption,
    // its name filter, whether to save; an empty answer cancels.
    using FileHook =
        std::function<QString(const QString& caption, const QString& filter, bool save)>;
    void setFileHook(FileHook hook) { fileHook_ = std::move(hook); }
    // How it asks Save, Discard or Cancel before changes would be dropped.
    using QuestionHook = std::function<QMessageBox::StandardButton(const QString& text)>;
    void setQuestionHook(QuestionHook hook) { questionHook_ = std::move(hook); }
    // How it asks for a text, such as an image's size (a dialog by default); empty cancels.
    using TextHook = std::function<QString(const QString& label, const QString& suggestion)>;
    void setTextHook(TextHook hook) { textHook_ = std::move(hook); }
    // Window geometry, the last folder and the recent files are kept there
    // (nothing is kept without settings, as in tests); restores the geometry.
    void useSettings(QSettings* settings);

    // The file the case came from or was last saved to; empty while untitled.
    const QString& casePath() const { return casePath_; }
    // The case's tyre marks. New ones make the case modified and are drawn at once.
    const std::vector<model::Mark>& marks() const { return marks_; }
    void setMarks(std::vector<model::Mark> marks);
    bool caseModified() const { return isWindowModified(); }
    QStringList recentFiles() const;

    // The pacing interval, ms, for a time step in seconds: rounded (halves to
    // even) and held within 1..65535.
    static int pacingInterval(double timeStep);

    PlotWidget* plot() const { return plot_; }
    ParameterPanel* panel() const { return panel_; }
    OptionsDialog* optionsDialog() const { return options_; }
    // The About box until it is deleted (a dismissed one is hidden till then), else nullptr.
    AboutDialog* aboutDialog() const { return about_; }
    // The fit dialog until it is deleted (a closed one deletes itself), else nullptr.
    FitDialog* fitDialog() const;
    // Pan bars scrX(0), scrY(0); scrZoom(0) zooms, scrZoom(1) sets the scale interval.
    ReversedScrollBar* scrX() const { return scrX_; }
    ReversedScrollBar* scrY() const { return scrY_; }
    ReversedScrollBar* scrZoom(int i) const { return scrZoom_.at(i); }
    QPushButton* cmdDraw() const { return cmdDraw_; }
    QPushButton* cmdSnap() const { return cmdSnap_; }
    QCheckBox* chkSnap() const { return chkSnap_; }
    QPushButton* cmdPause() const { return cmdPause_; }
    QPushButton* cmdStop() const { return cmdStop_; }
    QPushButton* cmdClear() const { return cmdClear_; }
    QTimer* timer1() const { return timer1_; }
    QTimer* timer2() const { return timer2_; }
    QAction* mnuExit() const { return mnuExit_; }
    QAction* mnuOption() const { return mnuOption_; }
    QAction* mnuReset() const { return mnuReset_; }
    QAction* mnuAbout() const { return mnuAbout_; }
    QAction* mnuGuide() const { return mnuGuide_; }
    QAction* mnuNew() const { return mnuNew_; }
    QAction* mnuOpen() const { return mnuOpen_; }
    QAction* mnuSave() const { return mnuSave_; }
    QAction* mnuSaveAs() const { return mnuSaveAs_; }
    QAction* mnuExportImage() const { return mnuExportImage_; }
    QAction* mnuExportTrajectory() const { return mnuExportTrajectory_; }
    QAction* mnuImportMarks() const { return mnuImportMarks_; }
    QAction* mnuClearMarks() const { return mnuClearMarks_; }
    QAction* mnuFitMarks() const { return mnuFitMarks_; }
    QAction* mnuCopy() const { return mnuCopy_; }
    QAction* mnuFit() const { return mnuFit_; }
    QAction* mnuRedraw() const { return mnuRedraw_; }
    QAction* mnuLegend() const { return mnuLegend_; }
    QLabel* readoutLabel() const { return readout_; }
    QLabel* noteLabel() const { return note_; }
    QLabel* cursorLabel() const { return cursor_; }
    HelpWindow* guideWindow() const { return guide_; }
    SplashSequence& splashSequence() { return splash_; }

public slots:
    // "Calculate and Plot!": reads and checks the boxes (nothing changes on a
    // bad one), clears the plot, puts the car at its start and runs.
    void draw();
    // Interrupts a run, or resumes an interrupted one from where it stood.
    void togglePause();
    // Interrupts a run; Draw keeps its caption.
    void stop();
    // A lasting outline at the next pass.
    void takeSnapshot();
    // Clears the plot and draws the axes again.
    void clearPlot();
    // File > Exit: ends the program.
    void exitProgram();
    // Help > About...: the one About box, brought forward.
    void showAbout();
    // Help > Yawmark Guide (F1): the guide, at `page`, brought forward.
    void showGuide(const QString& page = QStringLiteral("index.html"));
    // Tools > Options: the one Options dialog, modal.
    void showOptions();
    // Tools > Reset All Variables: the boxes as at start-up.
    void resetAll();
    // File > New: the start-up case, untitled.
    void newCase();
    // File > Open...: a case file chosen; false if none was read.
    bool openCase();
    // A case file read whole into the boxes, or a message and nothing changed.
    bool openCaseFile(const QString& path);
    // File > Save, Save As...: false if the case was not saved.
    bool saveCase();
    bool saveCaseAs();
    // File > Export Image...: the plot into a PNG file, as the window shows it
    // or drawn again from the record at another size.
    void exportImage();
    // File > Export Trajectory...: the recorded run as CSV, as yawmark-batch prints it.
    void exportTrajectory();
    // Edit > Copy Image: the plot onto the clipboard.
    void copyImage();
    // File > Import Tyre Marks...: the marks of a CSV file chosen, in place of
    // the case's. A file that cannot be used is named with the line at fault,
    // and the marks stay. False if none were read.
    bool importMarks();
    // File > Clear Tyre Marks.
    void clearMarks();
    // Tools > Fit to Marks...: the one fit dialog, brought forward.
    void showFit();
    // Draw as soon as no run loop is on the stack: a run going on is stopped first.
    void drawWhenIdle();
    // View > Fit Skid: the view around the whole recorded run and the marks, then redrawn.
    void fitSkid();
    // View > Redraw Run: the axes and the run's record again in the current view.
    void redrawRun();
    // View > Legend.
    void showLegend(bool on);

protected:
    void closeEvent(QCloseEvent* event) override;
    // Enter that no focused button took goes to the default button, Draw.
    void keyPressEvent(QKeyEvent* event) override;

private:
    void buildMenus();
    void buildControlPanel();
    void buildTips();
    void buildStatusBar();
    void buildFileMenu(QMenu* file);
    // Before the case's unsaved changes would be dropped: true to go on.
    bool maybeSave();
    bool saveCaseTo(const QString& path);
    void setCasePath(const QString& path);
    void rememberFile(const QString& path);
    void fillRecentMenu();
    QString askFile(const QString& caption, const QString& filter, bool save,
                    const QString& suggestion = {});
    // The plot as the window shows it, right of the control panel.
    QImage plotImage();
    // The axes and the record drawn afresh on an image of that size.
    QImage plotImage(QSize size);
    void setTabOrder();
    void connectRun();
    void message(const QString& title, const QString& text);
    void drawAxes();
    // The axes, then the marks, which lie under everything drawn after them.
    std::optional<plot::ScaleFailure> drawBase(plot::Renderer& renderer, const plot::Frame& frame);
    // The marks changed: the plot drawn again, once it has axes or there are marks.
    void showMarks();
    // The run came to rest: its rest position's error at its interval, asked
    // of a worker thread (one at a time; only the newest run waits its turn).
    void estimateRestError();
    void startRestWorker(std::uint64_t run, const model::Case& c);
    void restErrorKnown(std::uint64_t run, std::optional<double> error);
    void useStyle(const model::TrailStyle& style);
    // One change of a pan or zoom bar: a step of the view by its sign, the bar
    // back to 0, and the axes drawn again when the view changed.
    void barChanged(ReversedScrollBar* bar, bool (plot::View::*step)(int));
    // A gesture's new view: the record redrawn in it.
    void viewChanged(bool changed);
    void showReadout();
    void showCursor(std::optional<sim::Vec2> at);
    // The buttons of a phase; while a loop is still on the stack only their captions.
    void showPhase(model::Phase phase, bool captionsOnly = false);
    // The loop; returns when the run is paused, stopped, fails or the window closes.
    void runLoop();
    // Until the pacing timer ticks, blocked in the event loop (or until the
    // run leaves Running, the window closes or real time is switched off).
    void waitForTick();
    void endFailedRun();

    model::Run run_;
    plot::View view_;
    PlotWidget* plot_ = nullptr;
    std::optional<plot::Renderer> renderer_; // on the plot's surface, once the plot exists
    ParameterPanel* panel_ = nullptr;
    QPointer<OptionsDialog> options_;
    QPointer<AboutDialog> about_;
    QPointer<HelpWindow> guide_;
    SplashSequence splash_;
    MessageHook messageHook_;
    std::function<void(std::uint64_t)> passHook_;
    FileHook fileHook_;
    QuestionHook questionHook_;
    TextHook textHook_;
    QSettings* settings_ = nullptr;
    QString casePath_;
    QMenu* recentMenu_ = nullptr;
    std::vector<model::Mark> marks_;
    QPointer<FitDialog> fit_;

    std::uint64_t runNumber_ = 0; // Draws that started a run
    std::uint64_t restAsked_ = 0; // the run whose rest error was last asked for
    std::thread restWorker_;      // joined once its answer came, or on destruction
    bool restBusy_ = false;       // restWorker_ is working out an answer
    std::optional<std::pair<std::uint64_t, model::Case>> restNext_; // waiting its turn

    bool closing_ = false;
    bool realTimeTick_ = false; // Timer2 ticked since the loop last took a tick
    bool axesShown_ = false;    // the plot has had axes drawn: a resize redraws it
    bool drawAfterRun_ = false; // Draw once the run loops have left the stack
    int depth_ = 0;
    std::uint64_t passes_ = 0;
    std::uint64_t passesPerYield_ = kPassesPerYield;

    QGroupBox* fmeControl_ = nullptr;
    QGroupBox* fmeTip_ = nullptr;
    ReversedScrollBar* scrX_ = nullptr;
    ReversedScrollBar* scrY_ = nullptr;
    std::array<ReversedScrollBar*, 2> scrZoom_{};
    QPushButton* cmdDraw_ = nullptr;
    QPushButton* cmdSnap_ = nullptr;
    QCheckBox* chkSnap_ = nullptr;
    QPushButton* cmdPause_ = nullptr;
    QPushButton* cmdStop_ = nullptr;
    QPushButton* cmdClear_ = nullptr;
    QTimer* timer1_ = nullptr;
    QTimer* timer2_ = nullptr;
    QAction* mnuExit_ = nullptr;
    QAction* mnuOption_ = nullptr;
    QAction* mnuReset_ = nullptr;
    QAction* mnuAbout_ = nullptr;
    QAction* mnuGuide_ = nullptr;
    QAction* mnuNew_ = nullptr;
    QAction* mnuOpen_ = nullptr;
    QAction* mnuSave_ = nullptr;
    QAction* mnuSaveAs_ = nullptr;
    QAction* mnuExportImage_ = nullptr;
    QAction* mnuExportTrajectory_ = nullptr;
    QAction* mnuImportMarks_ = nullptr;
    QAction* mnuClearMarks_ = nullptr;
    QAction* mnuFitMarks_ = nullptr;
    QAction* mnuCopy_ = nullptr;
    QAction* mnuFit_ = nullptr;
    QAction* mnuRedraw_ = nullptr;
    QAction* mnuLegend_ = nullptr;
    QLabel* readout_ = nullptr;
    QLabel* note_ = nullptr;
    QLabel* cursor_ = nullptr;
    QTimer* readoutTimer_ = nullptr;
};

} // namespace yawmark

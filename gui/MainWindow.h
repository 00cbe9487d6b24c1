// SPDX-License-Identifier: MIT
// The main window "Yawmark": along the left edge the control panel and the
// tip lines (ControlFrame), which View > Parameter Panel hides, and the plot
// beside them. The
// menus File, Edit, View, Tools and Help; the timer `Timer1` (100 ms, the
// start-up splash); the status bar with the run's readout, a note and the
// pointer's position.
//
// The window builds the widgets and the actions and connects three parts,
// each with one concern:
// - CaseDocument, the case being edited, with its undo stack, its file and
//   its recovery copy: every change the user makes to the boxes, the check
//   boxes, the vehicle, the marks or the boxes' spreads goes there as one
//   step of Undo;
// - RunController, the running run, advanced from the event loop;
// - PlotController, the view and what the plot shows.
// It holds no case, run or view of its own.
#pragma once

#include "gui/Prompts.h"
#include "gui/SplashSequence.h"
#include "io/CaseFile.h"
#include "model/Run.h"
#include "model/Units.h"

#include <QMainWindow>
#include <QPointer>

#include <optional>

class QAction;
class QCheckBox;
class QLabel;
class QMenu;
class QPushButton;
class QSettings;
class QSlider;
class QTimer;

namespace yawmark {

class AboutDialog;
class AnimationDialog;
class CaseDocument;
class ChartsDock;
class SceneImports;
class CaseFiles;
class FitDialog;
class MonteCarloDialog;
class ReportExport;
class HelpWindow;
class OptionsDialog;
class ParameterPanel;
class PlotController;
class PlotWidget;
class ReplayController;
class RunController;
struct ControlFrame;

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    // Client area at design: 7905 x 8190 twips. The window opens wider so the
    // plot beside the panel has room.
    static constexpr int kClientWidth = 960;
    static constexpr int kClientHeight = 546;
    // The smallest plot the window leaves, pixels.
    static constexpr int kMinPlotWidth = 320;
    static constexpr int kMinPlotHeight = 240;
    // How long the status bar says what an export wrote, ms.
    static constexpr int kSavedMessageMs = 10000;
    // How often the readout follows a run, ms.
    static constexpr int kReadoutIntervalMs = 100;

    explicit MainWindow(QWidget* parent = nullptr);
    ~MainWindow() override;

    CaseDocument& document() const { return *document_; }
    RunController& runs() const { return *runs_; }
    PlotController& plotter() const { return *plotter_; }
    ReplayController& replay() const { return *replay_; }
    CaseFiles& files() const { return *files_; }
    Prompts& prompts() { return prompts_; }
    ParameterPanel* panel() const;
    // Every message of the window, its panel and its dialogs goes there.
    void setMessageHook(MessageHook hook);
    // Window geometry, the last folder and the recent files are kept there
    // (nothing is kept without settings, as in tests); restores the geometry.
    void useSettings(QSettings* settings);
    // Recovery copies of unsaved cases are kept in `folder`; the newest one an
    // ended program left is restored now, and the status bar says so.
    void keepRecoveryIn(const QString& folder);

public slots:
    // "Calculate and Plot!": reads and checks the boxes (nothing changes on a
    // bad one), clears the plot, puts the car at its start and runs.
    void draw();
    // Tools > Monte Carlo...
    void showMonteCarlo();
    // Tools > Fit to Marks..., Options, Help > About..., Yawmark Guide (F1).
    void showFit();
    // File > Export Animation..., while there is a record to animate.
    void showExportAnimation();
    void showOptions();
    void showAbout();
    void showGuide(const QString& page = QStringLiteral("index.html"));

protected:
    // Closing asks before the changes to a case file are dropped; an untitled
    // case's changes are kept in the recovery copy for the next start.
    void closeEvent(QCloseEvent* event) override;
    // Enter that no focused button took goes to the default button, Draw.
    void keyPressEvent(QKeyEvent* event) override;

private:
    void createActions();
    QAction* addAction(QMenu* menu, const char* name, const QString& text, QKeySequence key);
    void buildStatusBar();
    // View > Scene Image and the photo's opacity slider.
    void addSceneViewActions(QMenu* view);
    void connectParts();
    // The case as the widgets show it now, with the document's marks and spreads.
    io::CaseFile shownCase() const;
    void showCase(const io::CaseFile& file);
    void showPhase(model::Phase phase);
    void runFailed();
    void restErrorKnown(double metres);
    // The run's notes (the grip it needs, how well its rest is placed) in the units shown.
    void showRunNotes();
    void showReadout();
    // The charts, when shown, show the run, the references and the units.
    void showCharts();
    void setNote(const QString& text);
    // The plot, the readouts and the tip in the units View > Units has ticked.
    void useUnits();
    // As View > Units is ticked.
    model::Units units() const { return us_->isChecked() ? model::Units::US : model::Units::Metric; }
    // Follow Run, the panel and the units into the settings, if any.
    void keepViewSettings();

    Prompts prompts_{this};
    CaseDocument* document_ = nullptr;
    RunController* runs_ = nullptr;
    QWidget* panelColumn_ = nullptr;
    PlotWidget* plot_ = nullptr;
    std::unique_ptr<ControlFrame> controls_;
    PlotController* plotter_ = nullptr;
    ReplayController* replay_ = nullptr;
    ChartsDock* charts_ = nullptr;
    QAction* replayShown_ = nullptr;
    SceneImports* scenes_ = nullptr;
    QSlider* sceneOpacity_ = nullptr;
    QSettings* settings_ = nullptr;
    SplashSequence splash_;
    QPointer<OptionsDialog> options_;
    QPointer<AboutDialog> about_;
    QPointer<HelpWindow> guide_;
    QPointer<FitDialog> fit_;
    QPointer<MonteCarloDialog> monteCarlo_;
    QPointer<AnimationDialog> animation_;
    CaseFiles* files_ = nullptr;
    ReportExport* reports_ = nullptr;
    QAction* clearMarks_ = nullptr;
    QAction* exportAnimation_ = nullptr;
    QAction* follow_ = nullptr;
    QAction* panelShown_ = nullptr;
    QAction* metric_ = nullptr;
    QAction* us_ = nullptr;
    QString gripNote_;                 // of the last Draw
    std::optional<double> restError_;  // of its run, m, once known
    QLabel* readout_ = nullptr;
    QLabel* note_ = nullptr;
    QLabel* cursor_ = nullptr;
    QTimer* readoutTimer_ = nullptr;
};

} // namespace yawmark

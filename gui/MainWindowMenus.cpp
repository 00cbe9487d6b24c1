// SPDX-License-Identifier: MIT
// The main window's menus: every action, its shortcut and what it is connected to.
#include "gui/MainWindow.h"

#include "gui/AboutDialog.h"
#include "gui/AnimationDialog.h"
#include "gui/AppArt.h"
#include "gui/AppInfo.h"
#include "gui/CaseDocument.h"
#include "gui/CaseFiles.h"
#include "gui/ChartsDock.h"
#include "gui/ControlFrame.h"
#include "gui/DesignForm.h"
#include "gui/FitDialog.h"
#include "gui/HelpWindow.h"
#include "gui/MonteCarloDialog.h"
#include "gui/OptionsDialog.h"
#include "gui/ParameterPanel.h"
#include "gui/PlotController.h"
#include "gui/PlotWidget.h"
#include "gui/ReplayBar.h"
#include "gui/ReplayController.h"
#include "gui/ReportExport.h"
#include "gui/ReversedScrollBar.h"
#include "gui/RunController.h"
#include "gui/PlotTools.h"
#include "gui/SceneImports.h"
#include "gui/SpreadDialog.h"
#include "model/BoxTable.h"
#include "model/Readout.h"
#include "model/Validation.h"
#include "sim/NumberText.h"

#include <QActionGroup>
#include <QSignalBlocker>
#include <QSlider>
#include <QWidgetAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QVBoxLayout>
#include <QGroupBox>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QSettings>
#include <QShortcut>
#include <QStatusBar>
#include <QTimer>
#include <QUndoStack>

#include <cmath>

namespace yawmark {

void MainWindow::addSceneViewActions(QMenu* view) {
    QAction* shown = addAction(view, "mnuSceneImage", QStringLiteral("&Scene Image"), {});
    shown->setCheckable(true);
    shown->setChecked(true);
    connect(shown, &QAction::toggled, plotter_, &PlotController::showSceneImage);
    // The opacity in the menu, under the action it belongs to.
    sceneOpacity_ = new QSlider(Qt::Horizontal);
    sceneOpacity_->setObjectName(QStringLiteral("sldSceneOpacity"));
    sceneOpacity_->setRange(0, 100);
    sceneOpacity_->setValue(static_cast<int>(model::kDefaultSceneOpacity * 100));
    sceneOpacity_->setToolTip(QStringLiteral("Opacity of the scene image"));
    auto* slider = new QWidgetAction(this);
    slider->setDefaultWidget(sceneOpacity_);
    view->addAction(slider);
    connect(sceneOpacity_, &QSlider::valueChanged, scenes_, &SceneImports::setOpacity);
    QAction* scaleBar = addAction(view, "mnuScaleBar", QStringLiteral("Scale &Bar"), {});
    scaleBar->setCheckable(true);
    connect(scaleBar, &QAction::toggled, plotter_, &PlotController::showScaleBar);
}

QAction* MainWindow::addAction(QMenu* menu, const char* name, const QString& text,
                               QKeySequence key) {
    QAction* action = menu->addAction(text);
    action->setObjectName(QLatin1String(name));
    action->setShortcut(key);
    return action;
}

void MainWindow::createActions() {
    const auto on = [this](QAction* action, auto slot) {
        connect(action, &QAction::triggered, this, slot);
    };
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    file->setObjectName(QStringLiteral("mnuFile"));
    QAction* newCase = addAction(file, "mnuNew", QStringLiteral("&New"), QKeySequence::New);
    QAction* open = addAction(file, "mnuOpen", QStringLiteral("&Open..."), QKeySequence::Open);
    QAction* save = addAction(file, "mnuSave", QStringLiteral("&Save"), QKeySequence::Save);
    QAction* saveAs =
        addAction(file, "mnuSaveAs", QStringLiteral("Save &As..."), QKeySequence::SaveAs);
    file->addSeparator();
    QAction* importMarks =
        addAction(file, "mnuImportMarks", QStringLiteral("Import Tyre &Marks..."), {});
    clearMarks_ = addAction(file, "mnuClearMarks", QStringLiteral("C&lear Tyre Marks"), {});
    QAction* importScene =
        addAction(file, "mnuImportScene", QStringLiteral("Import Scene Ima&ge..."), {});
    QAction* importSurvey =
        addAction(file, "mnuImportSurvey", QStringLiteral("Import S&urvey (DXF)..."), {});
    file->addSeparator();
    on(addAction(file, "mnuExportImage", QStringLiteral("Export &Image..."), {}),
       [this] { plotter_->exportImage(); });
    exportAnimation_ =
        addAction(file, "mnuExportAnimation", QStringLiteral("Export &Animation..."), {});
    on(exportAnimation_, &MainWindow::showExportAnimation);
    on(addAction(file, "mnuExportTrajectory", QStringLiteral("Export &Trajectory..."), {}),
       [this] { plotter_->exportTrajectory(); });
    reports_ = new ReportExport(this, prompts_, [this] {
        return windowReport(shownCase(), *document_, units(), fit_, monteCarlo_, plotter_->scene());
    });
    on(addAction(file, "mnuReport", QStringLiteral("R&eport..."), {}),
       [this] { reports_->exportPdf(); });
    on(addAction(file, "mnuPrint", QStringLiteral("&Print..."), QKeySequence::Print),
       [this] { reports_->print(); });
    file->addSeparator();
    QMenu* recent = file->addMenu(QStringLiteral("Open &Recent"));
    recent->setObjectName(QStringLiteral("mnuRecent"));
    files_ = new CaseFiles(*document_, prompts_, recent, this);
    on(newCase, [this] { files_->newCase(); });
    on(open, [this] { files_->openCase(); });
    on(save, [this] { files_->saveCase(); });
    on(saveAs, [this] { files_->saveCaseAs(); });
    on(importMarks, [this] { files_->importMarks(); });
    on(clearMarks_, [this] { files_->clearMarks(); });
    scenes_ = new SceneImports(*document_, prompts_, [this] { return units(); }, this);
    on(importScene, [this] { scenes_->importSceneImage(); });
    on(importSurvey, [this] { scenes_->importSurvey(); });
    file->addSeparator();
    on(addAction(file, "mnuExit", QStringLiteral("E&xit"), {}), &MainWindow::close);

    QMenu* edit = menuBar()->addMenu(QStringLiteral("&Edit"));
    edit->setObjectName(QStringLiteral("mnuEdit"));
    QAction* undo = document_->undoStack()->createUndoAction(this);
    undo->setObjectName(QStringLiteral("mnuUndo"));
    undo->setShortcut(QKeySequence::Undo);
    QAction* redo = document_->undoStack()->createRedoAction(this);
    redo->setObjectName(QStringLiteral("mnuRedo"));
    redo->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    edit->addActions({undo, redo});
    edit->addSeparator();
    // A text box with the focus takes Ctrl+C itself.
    on(addAction(edit, "mnuCopy", QStringLiteral("&Copy Image"), QKeySequence::Copy),
       [this] { plotter_->copyImage(); });

    QMenu* view = menuBar()->addMenu(QStringLiteral("&View"));
    view->setObjectName(QStringLiteral("mnuView"));
    // No single key: a text box with the focus would take it as typing.
    on(addAction(view, "mnuFit", QStringLiteral("&Fit Skid"), Qt::CTRL | Qt::Key_0),
       [this] { plotter_->fitSkid(); });
    on(addAction(view, "mnuFitScene", QStringLiteral("Fit Skid and S&cene"), {}),
       [this] { plotter_->fitSkidAndScene(); });
    on(addAction(view, "mnuRedraw", QStringLiteral("&Redraw Run"), Qt::CTRL | Qt::Key_R),
       [this] { plotter_->redraw(); });
    view->addSeparator();
    replayShown_ = addAction(view, "mnuReplay", QStringLiteral("R&eplay"), Qt::CTRL | Qt::Key_T);
    replayShown_->setCheckable(true);
    replayShown_->setEnabled(false);
    connect(replayShown_, &QAction::toggled, replay_, &ReplayController::setActive);
    connect(replay_, &ReplayController::activeChanged, replayShown_, &QAction::setChecked);
    QAction* charts = charts_->toggleViewAction();
    charts->setObjectName(QStringLiteral("mnuCharts"));
    charts->setText(QStringLiteral("&Charts"));
    view->addAction(charts);
    on(addAction(view, "mnuKeepReference", QStringLiteral("&Keep as Reference"), {}),
       [this] { plotter_->keepReference(); });
    on(addAction(view, "mnuClearReferences", QStringLiteral("Clear Re&ferences"), {}),
       [this] { plotter_->clearReferences(); });
    view->addSeparator();
    QAction* legend = addAction(view, "mnuLegend", QStringLiteral("&Legend"), {});
    legend->setCheckable(true);
    legend->setChecked(plotter_->view().legend);
    connect(legend, &QAction::toggled, plotter_, &PlotController::showLegend);
    follow_ = addAction(view, "mnuFollow", QStringLiteral("F&ollow Run"), {});
    follow_->setCheckable(true);
    connect(follow_, &QAction::toggled, plotter_, &PlotController::setFollow);
    follow_->setChecked(true);
    addSceneViewActions(view);
    panelShown_ = addAction(view, "mnuPanel", QStringLiteral("&Parameter Panel"), Qt::Key_F9);
    panelShown_->setCheckable(true);
    panelShown_->setChecked(true);
    connect(panelShown_, &QAction::toggled, panelColumn_, &QWidget::setVisible);
    QMenu* units = view->addMenu(QStringLiteral("&Units"));
    units->setObjectName(QStringLiteral("mnuUnits"));
    auto* unitGroup = new QActionGroup(this);
    metric_ = addAction(units, "mnuMetric", QStringLiteral("&Metric (m, km/h)"), {});
    us_ = addAction(units, "mnuUS", QStringLiteral("&US (ft, mph)"), {});
    for (QAction* a : {metric_, us_}) {
        a->setCheckable(true);
        unitGroup->addAction(a);
    }
    metric_->setChecked(true);
    connect(unitGroup, &QActionGroup::triggered, this, &MainWindow::useUnits);
    for (QAction* a : {follow_, panelShown_})
        connect(a, &QAction::toggled, this, &MainWindow::keepViewSettings);

    QMenu* tools = menuBar()->addMenu(QStringLiteral("&Tools"));
    tools->setObjectName(QStringLiteral("mnuTools"));
    on(addAction(tools, "mnuOption", QStringLiteral("&Options"), {}), &MainWindow::showOptions);
    on(addAction(tools, "mnuReset", QStringLiteral("&Reset All Variables"), {}),
       [this] { panel()->resetAll(); });
    tools->addSeparator();
    on(addAction(tools, "mnuFitMarks", QStringLiteral("&Fit to Marks..."), {}),
       &MainWindow::showFit);
    on(addAction(tools, "mnuMonteCarlo", QStringLiteral("&Monte Carlo..."), {}),
       &MainWindow::showMonteCarlo);
    tools->addSeparator();
    auto* plotTools =
        new PlotTools(*plot_, *document_, *plotter_, prompts_, [this] { return this->units(); }, tools, this);
    connect(plotTools, &PlotTools::note, this, &MainWindow::setNote);
    connect(scenes_, &SceneImports::calibrationWanted, plotTools, &PlotTools::startCalibrating);

    QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
    help->setObjectName(QStringLiteral("mnuHelp"));
    QAction* guide =
        addAction(help, "mnuGuide", QStringLiteral("Yawmark &Guide"), QKeySequence::HelpContents);
    guide->setShortcutContext(Qt::ApplicationShortcut);
    on(guide, [this] { showGuide(); });
    on(addAction(help, "mnuAbout", QStringLiteral("&About..."), {}), &MainWindow::showAbout);
}

} // namespace yawmark

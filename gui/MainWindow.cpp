// SPDX-License-Identifier: MIT
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

namespace {

QString qs(const std::string& text) {
    return QString::fromStdString(text);
}

void showButton(QPushButton* button, const model::ButtonState& state) {
    if (!state.caption.empty())
        button->setText(QString::fromLatin1(state.caption.data(),
                                            static_cast<qsizetype>(state.caption.size())));
    button->setEnabled(state.enabled);
}

} // namespace

MainWindow::MainWindow(QWidget* parent)
    : QMainWindow(parent), document_(new CaseDocument(this)), runs_(new RunController(this)) {
    setObjectName(QStringLiteral("frmGraph"));
    setWindowIcon(programIcon());
    setFont(DesignForm::font());

    // The panel column along the left edge, the plot beside it. The column
    // keeps every control and the run buttons in sight; the plot takes the rest.
    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("clientArea"));
    auto* row = new QHBoxLayout(client);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    panelColumn_ = new QWidget(client);
    panelColumn_->setObjectName(QStringLiteral("panelColumn"));
    panelColumn_->setFixedWidth(DesignForm::px(120 + 3495 + 120));
    panelColumn_->setMinimumHeight(DesignForm::px(6360 + 975) + 8);
    row->addWidget(panelColumn_);
    // The plot, and under it the replay's strip while a run is replayed.
    auto* plotColumn = new QVBoxLayout;
    plotColumn->setContentsMargins(0, 0, 0, 0);
    plotColumn->setSpacing(0);
    plot_ = new PlotWidget(client);
    plot_->setObjectName(QStringLiteral("plot"));
    plot_->setMinimumSize(kMinPlotWidth, kMinPlotHeight);
    plotColumn->addWidget(plot_, 1);
    auto* replayBar = new ReplayBar(client);
    plotColumn->addWidget(replayBar);
    row->addLayout(plotColumn, 1);
    setCentralWidget(client);
    controls_ = std::make_unique<ControlFrame>(panelColumn_);
    plotter_ = new PlotController(*plot_, *runs_, *document_, prompts_, this);
    replay_ = new ReplayController(*replayBar, *runs_, this);
    charts_ = new ChartsDock(this);
    addDockWidget(Qt::RightDockWidgetArea, charts_);
    charts_->hide();
    runs_->setDrawer(&plotter_->renderer());
    createActions();
    buildStatusBar();

    auto* timer1 = new QTimer(this);
    timer1->setObjectName(QStringLiteral("Timer1"));
    timer1->setInterval(100);
    connect(timer1, &QTimer::timeout, this, [this, timer1] { splash_.tick(*timer1, *this); });
    timer1->start();
    readoutTimer_ = new QTimer(this);
    readoutTimer_->setInterval(kReadoutIntervalMs);
    connect(readoutTimer_, &QTimer::timeout, this, &MainWindow::showReadout);

    panel()->loadStartup();
    document_->replace(shownCase());
    connectParts();
    resize(kClientWidth, kClientHeight + menuBar()->sizeHint().height());
}

MainWindow::~MainWindow() {
    runs_->halt();
    delete fit_; // its fit cancelled and its thread joined
    delete monteCarlo_;
}

ParameterPanel* MainWindow::panel() const {
    return controls_->panel;
}

void MainWindow::buildStatusBar() {
    // The readout above the notes, each note on a line of its own, so that
    // none is cut at the default size (a narrower window shows the whole text
    // in their tooltips). The notes always have room for two lines: the plot
    // keeps its size, and is not drawn again, when one comes or goes. The
    // pointer's position has a field of its own, wide enough for it.
    auto* texts = new QWidget(this);
    auto* lines = new QVBoxLayout(texts);
    lines->setContentsMargins(0, 0, 0, 0);
    lines->setSpacing(0);
    readout_ = new QLabel(texts);
    readout_->setObjectName(QStringLiteral("lblReadout"));
    note_ = new QLabel(texts);
    note_->setObjectName(QStringLiteral("lblNote"));
    readout_->setFixedHeight(readout_->fontMetrics().lineSpacing());
    note_->setFixedHeight(2 * note_->fontMetrics().lineSpacing());
    note_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    for (QLabel* label : {readout_, note_}) {
        label->setMinimumWidth(1);
        label->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);
        lines->addWidget(label);
    }
    cursor_ = new QLabel(this);
    cursor_->setObjectName(QStringLiteral("lblCursor"));
    cursor_->setFixedWidth(cursor_->fontMetrics().horizontalAdvance(
                               QStringLiteral("x = \u22129999.99 ft, y = \u22129999.99 ft")) +
                           8);
    statusBar()->addWidget(texts, 1);
    statusBar()->addPermanentWidget(cursor_);
}

void MainWindow::connectParts() {
    const ControlFrame& c = *controls_;
    ParameterPanel* panel = c.panel;
    // The run buttons, Escape (from anywhere in the window, a text box or the
    // tab strip included) and the run's phases.
    connect(c.draw, &QPushButton::clicked, this, &MainWindow::draw);
    connect(c.pause, &QPushButton::clicked, runs_, &RunController::togglePause);
    connect(c.stop, &QPushButton::clicked, runs_, &RunController::stop);
    connect(c.snapshot, &QPushButton::clicked, runs_, &RunController::requestSnapshot);
    connect(c.clear, &QPushButton::clicked, plotter_, &PlotController::clear);
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    escape->setObjectName(QStringLiteral("escPause"));
    connect(escape, &QShortcut::activated, runs_, &RunController::togglePause);
    connect(runs_, &RunController::phaseChanged, this, &MainWindow::showPhase);
    connect(runs_, &RunController::failed, this, &MainWindow::runFailed);
    connect(runs_, &RunController::restErrorKnown, this, &MainWindow::restErrorKnown);
    // A Draw empties the record; a run that pauses, stops or rests has one to animate.
    connect(runs_, &RunController::phaseChanged, this, [this] {
        exportAnimation_->setEnabled(!runs_->run().record().empty());
    });
    connect(c.autoSnapshot, &QCheckBox::toggled, runs_, &RunController::setAutoSnapshot);
    connect(panel->chkRealTime(), &QCheckBox::toggled, runs_, &RunController::setRealTime);
    runs_->setRealTime(panel->chkRealTime()->isChecked());
    // A Calculate during a run changes the car the next passes use.
    connect(panel, &ParameterPanel::caseRead, this, [this](const model::Case& read) {
        runs_->updateCase(read);
        plotter_->useStyle(read.style);
    });

    plotter_->followBar(c.scrX, &plot::View::panX);
    plotter_->followBar(c.scrY, &plot::View::panY);
    plotter_->followBar(c.scrZoom[0], &plot::View::zoom);
    plotter_->followBar(c.scrZoom[1], &plot::View::stepInterval);
    connect(plotter_, &PlotController::cursorText, cursor_, &QLabel::setText);
    connect(replay_, &ReplayController::moved, this, [this](std::size_t index) {
        plotter_->showInstant(index);
        showReadout();
        if (replay_->active()) charts_->setCursorTime(runs_->run().record().samples()[index].time);
    });
    connect(plotter_, &PlotController::redrawn, this, [this] {
        if (replay_->active()) plotter_->showInstant(replay_->index());
    });
    connect(replay_, &ReplayController::activeChanged, this, [this](bool on) {
        if (!on) charts_->setCursorTime(std::nullopt);
    });
    // A click on a chart replays the run from there.
    connect(charts_, &ChartsDock::timeClicked, this, [this](double time) {
        replay_->setActive(true);
        replay_->seekTime(time);
    });
    connect(charts_, &QDockWidget::visibilityChanged, this, [this](bool shown) {
        if (shown) showCharts();
    });
    connect(plotter_, &PlotController::referencesChanged, this, &MainWindow::showCharts);
    connect(readoutTimer_, &QTimer::timeout, this, [this] {
        if (charts_->isVisible())
            charts_->followRun(runs_->run().record(), plotter_->references(), units());
    });
    connect(plotter_, &PlotController::saved, this,
            [this](const QString& text) { statusBar()->showMessage(text, kSavedMessageMs); });
    connect(reports_, &ReportExport::saved, this,
            [this](const QString& text) { statusBar()->showMessage(text, kSavedMessageMs); });

    // Every change of the user's hand is a step of Undo; undo and redo show the case back.
    connect(panel, &ParameterPanel::changed, this, [this](const QString& text, int mergeId) {
        document_->change(text, shownCase(), mergeId);
    });
    connect(c.autoSnapshot, &QCheckBox::clicked, this,
            [this] { document_->change(QStringLiteral("Change Auto SnapShot"), shownCase()); });
    connect(document_, &CaseDocument::shown, this, &MainWindow::showCase);
    connect(document_, &CaseDocument::marksChanged, this, [this] {
        clearMarks_->setEnabled(!document_->file().marks.empty());
        plotter_->marksChanged();
    });
    connect(document_, &CaseDocument::spreadsChanged, this,
            [this, panel] { panel->showSpreads(document_->file().spreads); });
    connect(panel, &ParameterPanel::spreadAsked, this,
            [this](int box) { SpreadDialog::edit(this, *document_, box); });
    connect(panel, &ParameterPanel::spreadCleared, this,
            [this](int box) { document_->setSpread(box, std::nullopt); });
    connect(document_, &CaseDocument::modifiedChanged, this, &QWidget::setWindowModified);
    connect(document_, &CaseDocument::pathChanged, this, [this](const QString& path) {
        setWindowTitle(path.isEmpty()
                           ? appTitle() + QStringLiteral("[*]")
                           : QFileInfo(path).fileName() + QStringLiteral("[*] - ") + appTitle());
    });
    connect(files_, &CaseFiles::note, this, &MainWindow::setNote);
    connect(scenes_, &SceneImports::note, this, &MainWindow::setNote);
    connect(document_, &CaseDocument::sceneChanged, this, [this] {
        const QSignalBlocker quiet(sceneOpacity_);
        sceneOpacity_->setValue(static_cast<int>(std::lround(document_->file().scene.opacity * 100)));
        plotter_->sceneChanged();
    });
    setWindowTitle(appTitle() + QStringLiteral("[*]"));
    clearMarks_->setEnabled(false);
    exportAnimation_->setEnabled(false);
}

void MainWindow::setMessageHook(MessageHook hook) {
    panel()->setMessageHook(hook);
    prompts_.setMessageHook(std::move(hook));
}

io::CaseFile MainWindow::shownCase() const {
    io::CaseFile file = panel()->caseFile();
    file.autoSnapshot = controls_->autoSnapshot->isChecked();
    file.marks = document_->file().marks;
    file.spreads = document_->file().spreads;
    file.scene = document_->file().scene;
    return file;
}

void MainWindow::showCase(const io::CaseFile& file) {
    panel()->showCaseFile(file);
    controls_->autoSnapshot->setChecked(file.autoSnapshot);
}

void MainWindow::useSettings(QSettings* settings) {
    settings_ = nullptr; // nothing is written back while the settings are read
    document_->useSettings(settings);
    if (!settings) return;
    restoreGeometry(settings->value(QStringLiteral("geometry")).toByteArray());
    restoreState(settings->value(QStringLiteral("windowState")).toByteArray()); // the charts' dock
    follow_->setChecked(settings->value(QStringLiteral("view/follow"), true).toBool());
    panelShown_->setChecked(settings->value(QStringLiteral("view/panel"), true).toBool());
    const bool us = settings->value(QStringLiteral("view/units")).toString() == QLatin1String("us");
    (us ? us_ : metric_)->setChecked(true);
    useUnits();
    settings_ = settings;
}

void MainWindow::keepViewSettings() {
    if (!settings_) return;
    settings_->setValue(QStringLiteral("view/follow"), follow_->isChecked());
    settings_->setValue(QStringLiteral("view/panel"), panelShown_->isChecked());
    settings_->setValue(QStringLiteral("view/units"), units() == model::Units::US
                                                          ? QStringLiteral("us")
                                                          : QStringLiteral("metric"));
}

void MainWindow::useUnits() {
    plotter_->setUnits(units());
    controls_->scaleTip->setText(QString::fromStdString(model::axesTip(units())));
    if (fit_) fit_->setUnits(units());
    if (monteCarlo_) monteCarlo_->setUnits(units());
    if (!gripNote_.isEmpty() || restError_) showRunNotes();
    showReadout();
    showCharts();
    keepViewSettings();
}

void MainWindow::keepRecoveryIn(const QString& folder) {
    document_->keepRecoveryIn(folder);
    setNote(document_->restoreRecovery());
}

void MainWindow::setNote(const QString& text) {
    note_->setText(text);
    note_->setToolTip(text);
}

void MainWindow::showPhase(model::Phase phase) {
    const ControlFrame& c = *controls_;
    const model::RunButtons& b = model::runButtons(phase);
    showButton(c.draw, b.draw);
    showButton(c.snapshot, b.snapshot);
    showButton(c.pause, b.pause);
    showButton(c.stop, b.stop);
    showButton(c.clear, b.clear);
    replayShown_->setEnabled(replay_->available());
    if (phase == model::Phase::Running) {
        readoutTimer_->start();
    } else {
        readoutTimer_->stop();
        showReadout();
        showCharts();
    }
}

void MainWindow::showCharts() {
    if (charts_->isVisible())
        charts_->showRun(runs_->run().record(), plotter_->references(), units());
}

void MainWindow::showReadout() {
    const model::Record& record = runs_->run().record();
    const std::optional<model::Readout> r =
        replay_->active() ? model::readoutAt(record, replay_->index()) : model::readout(record);
    readout_->setText(r ? qs(model::readoutText(*r, units())) : QString());
    readout_->setToolTip(readout_->text());
}

void MainWindow::draw() {
    if (!controls_->draw->isEnabled()) return;
    // The boxes are read and checked on copies first: a box that cannot be
    // used stops Draw before anything is cleared, and nothing is lost.
    const auto c = panel()->prepareDraw();
    if (!c) return;
    readout_->clear();
    const auto demand = model::gripDemand(*c);
    gripNote_ = demand ? qs(model::gripNoteText(*demand)) : QString();
    restError_.reset();
    showRunNotes();
    plotter_->beginRun(c->style);
    runs_->start(*c);
    controls_->snapshot->setFocus();
}

void MainWindow::runFailed() {
    controls_->draw->setFocus();
    // Most often a Calculate during the run read a box the run cannot go on
    // with (a mass of 0, a turning radius too short): then say which.
    const model::Run& run = runs_->run();
    const QString when = QStringLiteral("The run stopped at %1 s: ")
                             .arg(QString::fromStdString(formatNumber(run.body().time)));
    if (const auto problem = model::validateRun(run.runCase()))
        prompts_.message(appTitle(),
                         when + qs(model::boxMessage(*problem, panel()->inertiaForm())));
    else
        prompts_.message(appTitle(),
                         when + QStringLiteral("its numbers would no longer be finite. "
                                               "Check the boxes and press Draw again."));
}

void MainWindow::restErrorKnown(double metres) {
    restError_ = metres;
    showRunNotes();
}

void MainWindow::showRunNotes() {
    QStringList lines;
    if (!gripNote_.isEmpty()) lines << gripNote_;
    if (restError_) {
        QString text = QStringLiteral("Rest position good to about %1 at this interval")
                           .arg(qs(model::smallLengthText(*restError_, units())));
        if (*restError_ > std::abs(plot_->surface().worldPerPixel().x()))
            text += QStringLiteral("; a smaller \"%1\" would place it closer")
                        .arg(qs(std::string(model::boxInfo(model::kIntervalBox).caption)));
        lines << text + QLatin1Char('.');
    }
    setNote(lines.join(QLatin1Char('\n')));
}

void MainWindow::showFit() {
    // A closed dialog is on its way out; Fit to Marks then opens a fresh one.
    if (!fit_ || fit_->isHidden()) {
        fit_ = new FitDialog(this, *panel(), *document_);
        fit_->setUnits(units());
        connect(fit_, &FitDialog::applied, this,
                [this](const model::BoxTexts& texts, bool autoNormal,
                       const std::vector<model::Mark>& marks) {
                    panel()->setTexts(texts);
                    if (!autoNormal) panel()->chkNormal()->setChecked(false);
                    io::CaseFile file = shownCase();
                    file.marks = marks;
                    document_->change(QStringLiteral("Apply Fit"), file);
                    // Drawn from the event loop, not inside this click: the
                    // dialog may be closed while the run goes on.
                    QTimer::singleShot(0, this, [this] {
                        runs_->stop();
                        draw();
                    });
                });
    }
    fit_->show();
    fit_->raise();
    fit_->activateWindow();
}

void MainWindow::showMonteCarlo() {
    if (!monteCarlo_ || monteCarlo_->isHidden()) {
        monteCarlo_ = new MonteCarloDialog(this, *document_, *plotter_);
        monteCarlo_->setUnits(units());
    }
    monteCarlo_->show();
    monteCarlo_->raise();
    monteCarlo_->activateWindow();
}

void MainWindow::showExportAnimation() {
    if (!animation_ || animation_->isHidden()) {
        animation_ = new AnimationDialog(this, *runs_, *plotter_, prompts_);
        connect(animation_, &AnimationDialog::saved, this,
                [this](const QString& text) { statusBar()->showMessage(text, kSavedMessageMs); });
    }
    animation_->show();
    animation_->raise();
    animation_->activateWindow();
}

void MainWindow::showAbout() {
    // A dismissed box stays hidden until it is deleted; About then opens a fresh one.
    if (!about_ || about_->isHidden()) about_ = new AboutDialog(this);
    about_->show();
    about_->raise();
    about_->activateWindow();
}

void MainWindow::showGuide(const QString& page) {
    if (!guide_) guide_ = new HelpWindow(this);
    guide_->showPage(page);
    guide_->show();
    guide_->raise();
    guide_->activateWindow();
}

void MainWindow::showOptions() {
    if (!options_ || !options_->isVisible()) {
        options_ = new OptionsDialog(this, *panel());
        // Modal, but without a loop of its own: a run goes on while it is open.
        options_->open();
    }
    options_->raise();
    options_->activateWindow();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (!files_->maybeSave()) {
        event->ignore(); // Cancel: the case stays open
        return;
    }
    // Changes to an untitled case stay in the recovery copy for the next start;
    // those to a file were saved or dropped just now.
    if (document_->path().isEmpty())
        document_->writeRecoveryNow();
    else
        document_->dropRecovery();
    if (settings_) {
        settings_->setValue(QStringLiteral("geometry"), saveGeometry());
        settings_->setValue(QStringLiteral("windowState"), saveState());
    }
    runs_->halt();
    event->accept();
    QApplication::quit();
}

void MainWindow::keyPressEvent(QKeyEvent* event) {
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
        controls_->draw->isEnabled() && isEnabled()) {
        controls_->draw->click();
        return;
    }
    QMainWindow::keyPressEvent(event);
}

} // namespace yawmark

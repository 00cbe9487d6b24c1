// SPDX-License-Identifier: MIT
#include "gui/MainWindow.h"

#include "gui/AppArt.h"
#include "gui/AppInfo.h"
#include "gui/DesignForm.h"
#include "gui/FitDialog.h"
#include "gui/OptionsDialog.h"
#include "gui/ParameterPanel.h"
#include "gui/PlotWidget.h"
#include "gui/ReversedScrollBar.h"
#include "gui/Spinner.h"
#include "io/CaseFile.h"
#include "model/Fit.h"
#include "model/Readout.h"
#include "model/Trajectory.h"
#include "model/Validation.h"
#include "sim/NumberText.h"

#include <QApplication>
#include <QBuffer>
#include <QCheckBox>
#include <QClipboard>
#include <QCloseEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QSettings>
#include <QShortcut>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTimer>

#include <algorithm>
#include <cmath>

namespace yawmark {

namespace {

using F = DesignForm;

// A length for the status bar: millimetres, centimetres or metres, two digits at most.
QString lengthText(double metres) {
    if (metres < 0.0001) return QStringLiteral("a tenth of a millimetre");
    if (metres < 0.01) return QStringLiteral("%1 mm").arg(metres * 1000, 0, 'g', 2);
    if (metres < 1) return QStringLiteral("%1 cm").arg(std::round(metres * 100));
    return QStringLiteral("%1 m").arg(metres, 0, 'g', 2);
}

bool ticked(const QCheckBox* box) {
    return box->checkState() == Qt::Checked;
}

QString qs(const std::string& text) {
    return QString::fromStdString(text);
}

void showButton(QPushButton* button, const model::ButtonState& state, bool captionOnly) {
    if (!state.caption.empty())
        button->setText(QString::fromLatin1(state.caption.data(),
                                            static_cast<qsizetype>(state.caption.size())));
    if (!captionOnly) button->setEnabled(state.enabled);
}

} // namespace

MainWindow::MainWindow(QWidget* parent) : QMainWindow(parent) {
    setObjectName(QStringLiteral("frmGraph"));
    setWindowTitle(appTitle());
    setWindowIcon(programIcon());
    setFont(DesignForm::font());

    // The plot covers the whole client area; the panel frames lie on top of
    // it, and the plot's own frame starts right of the control panel.
    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("clientArea"));
    auto* fill = new QGridLayout(client);
    fill->setContentsMargins(0, 0, 0, 0);
    plot_ = new PlotWidget(client);
    plot_->setObjectName(QStringLiteral("plot"));
    fill->addWidget(plot_, 0, 0);
    setCentralWidget(client);
    renderer_.emplace(plot_->surface(), view_);

    DesignForm f(client);
    fmeTip_ = f.frame(QStringLiteral("fmeTip"), F::rect(120, 6360, 3495, 975));
    fmeControl_ = f.frame(QStringLiteral("fmeControl"), F::rect(120, 0, 3495, 6375));
    buildControlPanel();
    buildTips();
    plot_->setPanelFrame(fmeControl_);
    buildMenus();
    buildStatusBar();
    // Every control of the panel and the run buttons stay in sight; the plot takes the rest.
    client->setMinimumSize(F::px(120 + 3495) + 160, F::px(6360 + 975) + 8);

    timer1_ = new QTimer(this);
    timer1_->setObjectName(QStringLiteral("Timer1"));
    timer1_->setInterval(100);
    connect(timer1_, &QTimer::timeout, this, [this] { splash_.tick(*timer1_, *this); });
    timer1_->start();
    timer2_ = new QTimer(this);
    timer2_->setObjectName(QStringLiteral("Timer2"));
    timer2_->setInterval(1);
    // Millisecond pacing needs the precise timer; a coarse one may stretch an interval by 5 %.
    timer2_->setTimerType(Qt::PreciseTimer);
    connect(timer2_, &QTimer::timeout, this, [this] { realTimeTick_ = true; });
    readoutTimer_ = new QTimer(this);
    readoutTimer_->setInterval(kReadoutIntervalMs);
    connect(readoutTimer_, &QTimer::timeout, this, &MainWindow::showReadout);

    connect(plot_, &PlotWidget::zoomRequested, this,
            [this](sim::Vec2 at, double factor) { viewChanged(view_.zoomAbout(at, factor)); });
    connect(plot_, &PlotWidget::panRequested, this,
            [this](double dx, double dy) { viewChanged(view_.panBy(dx, dy)); });
    connect(plot_, &PlotWidget::fitRequested, this, &MainWindow::fitSkid);
    connect(plot_, &PlotWidget::cursorMoved, this, &MainWindow::showCursor);
    connect(plot_, &PlotWidget::resized, this, [this] {
        if (axesShown_) redrawRun();
    });

    setTabOrder();
    connectRun();
    connect(panel_, &ParameterPanel::caseRead, this, [this](const model::Case& c) {
        // A Calculate during a run changes the car the next passes use.
        run_.updateCase(c);
        useStyle(c.style);
    });
    panel_->loadStartup();
    resize(kClientWidth, kClientHeight + menuBar()->sizeHint().height());
    // Whatever a case file holds, changed, makes the case modified.
    connect(panel_, &ParameterPanel::edited, this, [this] { setWindowModified(true); });
    connect(chkSnap_, &QCheckBox::stateChanged, this, [this] { setWindowModified(true); });
    setCasePath({});
}

MainWindow::~MainWindow() {
    closing_ = true;
    delete fit_; // its fit cancelled and its thread joined
    if (restWorker_.joinable()) restWorker_.join();
}

FitDialog* MainWindow::fitDialog() const {
    return fit_;
}

void MainWindow::buildMenus() {
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    file->setObjectName(QStringLiteral("mnuFile"));
    buildFileMenu(file);

    QMenu* edit = menuBar()->addMenu(QStringLiteral("&Edit"));
    edit->setObjectName(QStringLiteral("mnuEdit"));
    mnuCopy_ = edit->addAction(QStringLiteral("&Copy Image"));
    mnuCopy_->setObjectName(QStringLiteral("mnuCopy"));
    // A text box with the focus takes Ctrl+C itself.
    mnuCopy_->setShortcut(QKeySequence::Copy);
    connect(mnuCopy_, &QAction::triggered, this, &MainWindow::copyImage);

    QMenu* view = menuBar()->addMenu(QStringLiteral("&View"));
    view->setObjectName(QStringLiteral("mnuView"));
    mnuFit_ = view->addAction(QStringLiteral("&Fit Skid"));
    mnuFit_->setObjectName(QStringLiteral("mnuFit"));
    mnuFit_->setShortcut(QKeySequence(Qt::Key_F));
    connect(mnuFit_, &QAction::triggered, this, &MainWindow::fitSkid);
    mnuRedraw_ = view->addAction(QStringLiteral("&Redraw Run"));
    mnuRedraw_->setObjectName(QStringLiteral("mnuRedraw"));
    mnuRedraw_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_R));
    connect(mnuRedraw_, &QAction::triggered, this, &MainWindow::redrawRun);
    view->addSeparator();
    mnuLegend_ = view->addAction(QStringLiteral("&Legend"));
    mnuLegend_->setObjectName(QStringLiteral("mnuLegend"));
    mnuLegend_->setCheckable(true);
    mnuLegend_->setChecked(view_.legend);
    connect(mnuLegend_, &QAction::toggled, this, &MainWindow::showLegend);

    QMenu* tools = menuBar()->addMenu(QStringLiteral("&Tools"));
    tools->setObjectName(QStringLiteral("mnuTools"));
    mnuOption_ = tools->addAction(QStringLiteral("&Options"));
    mnuOption_->setObjectName(QStringLiteral("mnuOption"));
    connect(mnuOption_, &QAction::triggered, this, &MainWindow::showOptions);
    mnuReset_ = tools->addAction(QStringLiteral("&Reset All Variables"));
    mnuReset_->setObjectName(QStringLiteral("mnuReset"));
    connect(mnuReset_, &QAction::triggered, this, &MainWindow::resetAll);
    tools->addSeparator();
    mnuFitMarks_ = tools->addAction(QStringLiteral("&Fit to Marks..."));
    mnuFitMarks_->setObjectName(QStringLiteral("mnuFitMarks"));
    connect(mnuFitMarks_, &QAction::triggered, this, &MainWindow::showFit);

    QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
    help->setObjectName(QStringLiteral("mnuHelp"));
    mnuGuide_ = help->addAction(QStringLiteral("Yawmark &Guide"));
    mnuGuide_->setObjectName(QStringLiteral("mnuGuide"));
    mnuGuide_->setShortcut(QKeySequence::HelpContents);
    mnuGuide_->setShortcutContext(Qt::ApplicationShortcut);
    connect(mnuGuide_, &QAction::triggered, this, [this] { showGuide(); });
    mnuAbout_ = help->addAction(QStringLiteral("&About..."));
    mnuAbout_->setObjectName(QStringLiteral("mnuAbout"));
    connect(mnuAbout_, &QAction::triggered, this, &MainWindow::showAbout);
}

void MainWindow::buildFileMenu(QMenu* file) {
    const auto add = [&](const char* name, const QString& text, QKeySequence key, auto slot) {
        QAction* action = file->addAction(text);
        action->setObjectName(QLatin1String(name));
        action->setShortcut(key);
        connect(action, &QAction::triggered, this, slot);
        return action;
    };
    mnuNew_ = add("mnuNew", QStringLiteral("&New"), QKeySequence::New, [this] { newCase(); });
    mnuOpen_ =
        add("mnuOpen", QStringLiteral("&Open..."), QKeySequence::Open, [this] { openCase(); });
    mnuSave_ = add("mnuSave", QStringLiteral("&Save"), QKeySequence::Save, [this] { saveCase(); });
    mnuSaveAs_ = add("mnuSaveAs", QStringLiteral("Save &As..."), QKeySequence::SaveAs,
                     [this] { saveCaseAs(); });
    file->addSeparator();
    mnuImportMarks_ = add("mnuImportMarks", QStringLiteral("Import Tyre &Marks..."), {},
                          [this] { importMarks(); });
    mnuClearMarks_ =
        add("mnuClearMarks", QStringLiteral("C&lear Tyre Marks"), {}, [this] { clearMarks(); });
    mnuClearMarks_->setEnabled(false);
    file->addSeparator();
    mnuExportImage_ =
        add("mnuExportImage", QStringLiteral("Export &Image..."), {}, [this] { exportImage(); });
    mnuExportTrajectory_ = add("mnuExportTrajectory", QStringLiteral("Export &Trajectory..."), {},
                               [this] { exportTrajectory(); });
    file->addSeparator();
    recentMenu_ = file->addMenu(QStringLiteral("Open &Recent"));
    recentMenu_->setObjectName(QStringLiteral("mnuRecent"));
    file->addSeparator();
    mnuExit_ = add("mnuExit", QStringLiteral("E&xit"), {}, [this] { exitProgram(); });
    fillRecentMenu();
}

void MainWindow::buildControlPanel() {
    panel_ = new ParameterPanel(fmeControl_);
    panel_->move(F::px(120), F::px(240));

    DesignForm f(fmeControl_);
    auto bar = [this](const QString& name, Qt::Orientation o, QRect r, int smallChange,
                      const QString& caption) {
        auto* b = new ReversedScrollBar(o, 32767, -32767, fmeControl_);
        b->setObjectName(name);
        b->setName(caption);
        b->setGeometry(r);
        b->setSmallChange(smallChange);
        b->setLargeChange(1);
        return b;
    };

    f.label(F::arrayName("lblCaption", 7), F::rect(120, 4560, 435, 435),
            QStringLiteral("Scroll Axes"), F::Wrap | F::AutoSize);
    scrX_ = bar(F::arrayName("scrX", 0), Qt::Horizontal, F::rect(600, 4800, 495, 255), 10,
                QStringLiteral("Scroll Axes left and right"));
    scrY_ = bar(F::arrayName("scrY", 0), Qt::Vertical, F::rect(720, 4560, 255, 735), 1,
                QStringLiteral("Scroll Axes up and down"));

    f.label(F::arrayName("lblCaption", 26), F::rect(1320, 4560, 525, 390),
            QStringLiteral("Scale Interval"), F::Wrap | F::AutoSize);
    f.label(F::arrayName("Label1", 3), F::rect(1920, 4560, 135, 240), QStringLiteral("+"))
        ->setFont(F::markFont());
    scrZoom_[1] = bar(F::arrayName("scrZoom", 1), Qt::Vertical, F::rect(2040, 4680, 255, 495), 10,
                      QStringLiteral("Scale Interval"));
    f.label(F::arrayName("Label2", 1), F::rect(1920, 5040, 90, 240), QStringLiteral("-"))
        ->setFont(F::markFont());

    f.label(F::arrayName("lblCaption", 8), F::rect(2520, 4560, 405, 195), QStringLiteral("Zoom"),
            F::AutoSize);
    f.label(F::arrayName("Label1", 0), F::rect(3000, 4560, 135, 240), QStringLiteral("+"))
        ->setFont(F::markFont());
    scrZoom_[0] = bar(F::arrayName("scrZoom", 0), Qt::Vertical, F::rect(3120, 4680, 255, 495), 10,
                      QStringLiteral("Zoom"));
    f.label(F::arrayName("Label2", 0), F::rect(3000, 5040, 90, 240), QStringLiteral("-"))
        ->setFont(F::markFont());

    cmdDraw_ =
        f.button(QStringLiteral("cmdDraw"), F::rect(120, 5400, 855, 375), QStringLiteral("Draw"));
    cmdDraw_->setToolTip(QStringLiteral("Calculate and Plot!"));
    cmdDraw_->setDefault(true);
    cmdSnap_ = f.button(QStringLiteral("cmdSnap"), F::rect(1080, 5400, 2055, 375),
                        QStringLiteral("SnapShot") + QString(18, QLatin1Char(' ')));
    cmdSnap_->setAccessibleName(QStringLiteral("SnapShot"));
    cmdSnap_->setEnabled(false);
    // "Auto" lies in front of the right part of SnapShot and stays usable
    // while the button is disabled.
    chkSnap_ = f.checkBox(QStringLiteral("chkSnap"), F::rect(2280, 5490, 735, 195),
                          QStringLiteral("Auto"), false);
    chkSnap_->raise();
    cmdPause_ =
        f.button(QStringLiteral("cmdPause"), F::rect(240, 5880, 855, 375), QStringLiteral("Pause"));
    cmdPause_->setEnabled(false);
    cmdStop_ =
        f.button(QStringLiteral("cmdStop"), F::rect(1320, 5880, 855, 375), QStringLiteral("Stop"));
    cmdStop_->setEnabled(false);
    cmdClear_ = f.button(QStringLiteral("cmdClear"), F::rect(2400, 5880, 855, 375),
                         QStringLiteral("Clear"));
    // A focused button takes Enter itself, as Space.
    for (QPushButton* b : {cmdDraw_, cmdSnap_, cmdPause_, cmdStop_, cmdClear_, panel_->cmdInertia(),
                           panel_->cmdNormal()})
        b->setAutoDefault(true);
}

void MainWindow::buildStatusBar() {
    readout_ = new QLabel(this);
    readout_->setObjectName(QStringLiteral("lblReadout"));
    note_ = new QLabel(this);
    note_->setObjectName(QStringLiteral("lblNote"));
    cursor_ = new QLabel(this);
    cursor_->setObjectName(QStringLiteral("lblCursor"));
    // A narrow window cuts the texts short rather than growing for them.
    for (QLabel* label : {readout_, note_, cursor_})
        label->setMinimumWidth(1);
    note_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    statusBar()->addWidget(readout_);
    statusBar()->addWidget(note_, 1);
    statusBar()->addPermanentWidget(cursor_);
}

void MainWindow::buildTips() {
    DesignForm f(fmeTip_);
    f.label(QStringLiteral("lblEsc"), F::rect(120, 120, 2775, 255),
            QStringLiteral("Esc to Pause / Resume"));
    f.label(QStringLiteral("lblSpaceBar"), F::rect(120, 360, 2775, 255),
            QStringLiteral("Space Bar for highlighted button"));
    f.label(QStringLiteral("Label5"), F::rect(120, 600, 3255, 255),
            QStringLiteral("Axes are to-scale in meters (10 ft = 3.048 m)"));
}

void MainWindow::setTabOrder() {
    // Buttons first, then the tab control's strip and its controls, with
    // "Auto" slipped in after the steering spinner. Each link moves its second
    // control right behind the first, so the chain is laid in one pass.
    QWidgetList chain{cmdDraw_, cmdSnap_, cmdPause_, cmdStop_, cmdClear_};
    for (QWidget* w : panel_->tabChain()) {
        chain << w;
        if (w == panel_->scrSelect(8)) chain << chkSnap_;
    }
    for (qsizetype k = 1; k < chain.size(); ++k)
        QWidget::setTabOrder(chain[k - 1], chain[k]);
}

void MainWindow::connectRun() {
    connect(cmdDraw_, &QPushButton::clicked, this, &MainWindow::draw);
    connect(cmdPause_, &QPushButton::clicked, this, &MainWindow::togglePause);
    connect(cmdStop_, &QPushButton::clicked, this, &MainWindow::stop);
    connect(cmdSnap_, &QPushButton::clicked, this, &MainWindow::takeSnapshot);
    connect(cmdClear_, &QPushButton::clicked, this, &MainWindow::clearPlot);
    // Escape pauses and resumes from anywhere in the window, a text box or the
    // tab strip included; before the first run Pause is disabled and it does nothing.
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    escape->setObjectName(QStringLiteral("escPause"));
    connect(escape, &QShortcut::activated, this, &MainWindow::togglePause);
    connect(scrX_, &ReversedScrollBar::changed, this,
            [this] { barChanged(scrX_, &plot::View::panX); });
    connect(scrY_, &ReversedScrollBar::changed, this,
            [this] { barChanged(scrY_, &plot::View::panY); });
    connect(scrZoom_[0], &ReversedScrollBar::changed, this,
            [this] { barChanged(scrZoom_[0], &plot::View::zoom); });
    connect(scrZoom_[1], &ReversedScrollBar::changed, this,
            [this] { barChanged(scrZoom_[1], &plot::View::stepInterval); });
}

void MainWindow::setMessageHook(MessageHook hook) {
    panel_->setMessageHook(hook);
    messageHook_ = std::move(hook);
}

void MainWindow::message(const QString& title, const QString& text) {
    if (messageHook_)
        messageHook_(this, title, text);
    else
        showMessageBox(this, title, text);
}

void MainWindow::setSurface(plot::Surface* surface) {
    renderer_->setSurface(surface ? *surface : plot_->surface());
}

int MainWindow::pacingInterval(double timeStep) {
    // nearbyint rounds halves to the even neighbour in the default rounding mode.
    const double ms = std::nearbyint(timeStep * 1000);
    if (!(ms >= 1)) return 1; // also NaN
    return static_cast<int>(std::min(ms, 65535.0));
}

void MainWindow::drawAxes() {
    axesShown_ = true;
    if (auto failure = drawBase(*renderer_, plot_->frame()))
        message(QStringLiteral("Error"), QString::fromStdString(scaleFailureText(*failure)));
}

std::optional<plot::ScaleFailure> MainWindow::drawBase(plot::Renderer& renderer,
                                                       const plot::Frame& frame) {
    auto failure = renderer.drawAxes(frame);
    if (!failure)
        for (const model::Mark& mark : marks_)
            renderer.drawMark(mark.points);
    return failure;
}

void MainWindow::redrawRun() {
    // Dots or lines as the check boxes say now.
    const model::BoxTexts texts = panel_->texts();
    for (int i = 0; i < plot::kTrailCount; ++i)
        view_.joined[i] = texts.trail[i] == 1;
    plot::Surface& surface = renderer_->surface();
    surface.setPenWidth(1);
    axesShown_ = true;
    if (auto failure = drawBase(*renderer_, plot_->frame())) {
        message(QStringLiteral("Error"), QString::fromStdString(scaleFailureText(*failure)));
        return;
    }
    const model::Record& record = run_.record();
    if (!record.empty()) {
        renderer_->beginPasses(record.samples().front().position);
        record.replay(*renderer_);
    }
    // A run going on draws its next pass with the pen it had.
    if (running())
        surface.setPenWidth(plot::penWidthFor(view_.pixelSize)), surface.flush();
    else
        renderer_->endPasses();
}

void MainWindow::fitSkid() {
    auto extent = run_.record().extent();
    for (const model::Mark& mark : marks_)
        for (const sim::Vec2& p : mark.points) {
            if (!extent) extent = model::Record::Extent{p, p};
            extent->lo = {std::min(extent->lo.x, p.x), std::min(extent->lo.y, p.y)};
            extent->hi = {std::max(extent->hi.x, p.x), std::max(extent->hi.y, p.y)};
        }
    if (!extent) return;
    viewChanged(view_.fit(extent->lo, extent->hi, 0.05));
}

void MainWindow::showLegend(bool on) {
    view_.legend = on;
    if (axesShown_) redrawRun();
}

void MainWindow::viewChanged(bool changed) {
    if (changed) redrawRun();
}

void MainWindow::showReadout() {
    const auto r = model::readout(run_.record());
    readout_->setText(r ? qs(model::readoutText(*r)) : QString());
}

void MainWindow::showCursor(std::optional<sim::Vec2> at) {
    if (!at || !axesShown_) {
        cursor_->clear();
        return;
    }
    cursor_->setText(QStringLiteral("x = %1 m, y = %2 m")
                         .arg(at->x, 0, 'f', 2)
                         .arg(at->y, 0, 'f', 2)
                         .replace(QLatin1Char('-'), QChar(0x2212)));
}

void MainWindow::useStyle(const model::TrailStyle& style) {
    view_.pixelSize = style.pixelSize;
    view_.joined = style.joined;
}

void MainWindow::showPhase(model::Phase phase, bool captionsOnly) {
    run_.setPhase(phase);
    const model::RunButtons& b = model::runButtons(phase);
    showButton(cmdDraw_, b.draw, captionsOnly);
    showButton(cmdSnap_, b.snapshot, captionsOnly);
    showButton(cmdPause_, b.pause, captionsOnly);
    showButton(cmdStop_, b.stop, captionsOnly);
    showButton(cmdClear_, b.clear, captionsOnly);
}

void MainWindow::draw() {
    if (closing_ || !cmdDraw_->isEnabled()) return;
    // The boxes are read and checked on copies first: a box that cannot be
    // used stops Draw before anything is cleared, and nothing is lost.
    cmdDraw_->setEnabled(false);
    const auto c = panel_->prepareDraw();
    if (!c) {
        cmdDraw_->setEnabled(true);
        return;
    }
    showPhase(model::Phase::Running, true);
    renderer_->surface().clear();
    run_.start(*c);
    ++runNumber_;
    readout_->clear();
    const auto demand = model::gripDemand(*c);
    note_->setText(demand ? qs(model::gripNoteText(*demand)) : QString());
    note_->setToolTip(note_->text());
    useStyle(c->style);
    renderer_->surface().setPersistent(true);
    realTimeTick_ = false;
    passes_ = 0;
    drawAxes();
    runLoop();
}

void MainWindow::togglePause() {
    // Pause is disabled only before the first run: there is nothing to interrupt or resume.
    if (closing_ || !cmdPause_->isEnabled()) return;
    // Pause is enabled in three phases: it interrupts a running loop, and
    // resumes a paused or stopped one.
    if (run_.phase() == model::Phase::Running) {
        showPhase(model::Phase::Paused, true);
    } else {
        showPhase(model::Phase::Running, true);
        runLoop();
    }
    run_.cancelSnapshot();
}

void MainWindow::stop() {
    if (!cmdStop_->isEnabled()) return;
    if (run_.phase() == model::Phase::Running) showPhase(model::Phase::Stopped, true);
}

void MainWindow::takeSnapshot() {
    run_.requestSnapshot();
}

void MainWindow::clearPlot() {
    drawAxes();
}

void MainWindow::barChanged(ReversedScrollBar* bar, bool (plot::View::*step)(int)) {
    const int k = bar->value();
    if (k == 0) return;
    const bool redraw = (view_.*step)(k);
    bar->setValue(0);
    if (redraw) drawAxes();
}

void MainWindow::waitForTick() {
    // The first pass goes at once; each one after it waits for a tick. A tick
    // that came while the pass was drawn is taken at once.
    if (!timer2_->isActive()) {
        timer2_->setInterval(pacingInterval(run_.runCase().run.timeStep));
        realTimeTick_ = false;
        timer2_->start();
    }
    while (!realTimeTick_ && !closing_ && run_.phase() == model::Phase::Running &&
           ticked(panel_->chkRealTime()))
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    realTimeTick_ = false;
}

void MainWindow::runLoop() {
    if (closing_) return;
    ++depth_;
    showPhase(model::Phase::Running);
    cmdSnap_->setFocus();
    renderer_->beginPasses(run_.body().position);
    timer2_->stop();
    readoutTimer_->start();

    bool failed = false;
    for (;;) {
        if (!run_.pass(&*renderer_, ticked(chkSnap_))) {
            failed = true;
            break;
        }
        ++passes_;
        if (passHook_) passHook_(passes_);
        // Real time paces the passes, never the physics: each pass moves a
        // whole step, then the loop waits for the next tick.
        if (ticked(panel_->chkRealTime())) {
            waitForTick();
        } else {
            if (timer2_->isActive()) timer2_->stop();
            if (passes_ % passesPerYield_ == 0) QCoreApplication::processEvents();
        }
        // Closing ends the program: not one more pass, and no message.
        // Pause, Stop, a failure (of a loop resumed inside this one's yield) or
        // the car at rest took the run out of Running: leave after this pass.
        if (closing_ || run_.phase() != model::Phase::Running) break;
    }

    timer2_->stop();
    readoutTimer_->stop();
    renderer_->endPasses();
    --depth_;
    if (depth_ == 0 && std::exchange(drawAfterRun_, false) && !closing_)
        QTimer::singleShot(0, this, &MainWindow::draw);
    if (!closing_) showReadout();
    if (failed) {
        endFailedRun();
        // Most often a Calculate during the run read a box the run cannot go on
        // with (a mass of 0, a turning radius too short): then say which.
        const QString when = QStringLiteral("The run stopped at %1 s: ")
                                 .arg(QString::fromStdString(formatNumber(run_.body().time)));
        if (const auto problem = model::validateRun(run_.runCase()))
            message(appTitle(), when + QString::fromStdString(
                                           model::boxMessage(*problem, panel_->inertiaForm())));
        else
            message(appTitle(), when + QStringLiteral("its numbers would no longer be finite. "
                                                      "Check the boxes and press Draw again."));
        return;
    }
    showPhase(run_.phase());
    const sim::Body& body = run_.body();
    if (!closing_ && run_.phase() == model::Phase::Stopped && body.velocity == sim::Vec2{} &&
        body.yawRate == 0)
        estimateRestError();
}

void MainWindow::drawWhenIdle() {
    if (closing_) return;
    if (!running()) return draw();
    drawAfterRun_ = true;
    if (run_.phase() == model::Phase::Running) showPhase(model::Phase::Stopped, true);
}

void MainWindow::estimateRestError() {
    if (restAsked_ == runNumber_) return; // on its way, or shown
    restAsked_ = runNumber_;
    if (restBusy_)
        restNext_.emplace(runNumber_, run_.runCase());
    else
        startRestWorker(runNumber_, run_.runCase());
}

void MainWindow::startRestWorker(std::uint64_t run, const model::Case& c) {
    if (restWorker_.joinable()) restWorker_.join(); // its answer came: it is ending
    restBusy_ = true;
    restWorker_ = std::thread([this, run, c] {
        std::optional<double> error;
        try {
            error = model::restError(c);
        } catch (const std::exception&) { // out of memory: no estimate
        }
        QMetaObject::invokeMethod(
            this, [this, run, error] { restErrorKnown(run, error); }, Qt::QueuedConnection);
    });
}

void MainWindow::restErrorKnown(std::uint64_t run, std::optional<double> error) {
    restBusy_ = false;
    if (restNext_ && !closing_) {
        const auto [next, c] = *std::exchange(restNext_, std::nullopt);
        startRestWorker(next, c);
    }
    // A run drawn since has its own rest position.
    if (closing_ || run != runNumber_ || !error || !std::isfinite(*error)) return;
    QString text =
        QStringLiteral("Rest position good to about %1 at this interval").arg(lengthText(*error));
    if (*error > std::abs(plot_->surface().worldPerPixel().x()))
        text += QStringLiteral("; a smaller interval (box 13) would place it closer");
    text += QLatin1Char('.');
    note_->setText(note_->text().isEmpty() ? text : note_->text() + QLatin1Char(' ') + text);
    note_->setToolTip(note_->text());
}

void MainWindow::endFailedRun() {
    showPhase(model::Phase::Idle);
    cmdDraw_->setFocus();
}

void MainWindow::exitProgram() {
    if (!closing_ && !maybeSave()) return;
    if (settings_ && !closing_) settings_->setValue(QStringLiteral("geometry"), saveGeometry());
    closing_ = true;
    QApplication::quit();
}

void MainWindow::useSettings(QSettings* settings) {
    settings_ = settings;
    if (!settings_) return;
    restoreGeometry(settings_->value(QStringLiteral("geometry")).toByteArray());
    fillRecentMenu();
}

QStringList MainWindow::recentFiles() const {
    return settings_ ? settings_->value(QStringLiteral("recentFiles")).toStringList()
                     : QStringList();
}

void MainWindow::rememberFile(const QString& path) {
    if (!settings_) return;
    const QString file = QFileInfo(path).absoluteFilePath();
    QStringList recent = recentFiles();
    recent.removeAll(file);
    recent.prepend(file);
    settings_->setValue(QStringLiteral("recentFiles"), recent.mid(0, 8));
    settings_->setValue(QStringLiteral("lastFolder"), QFileInfo(file).absolutePath());
    fillRecentMenu();
}

void MainWindow::fillRecentMenu() {
    recentMenu_->clear();
    const QStringList recent = recentFiles();
    for (qsizetype i = 0; i < recent.size(); ++i) {
        const QString path = recent[i];
        QAction* action = recentMenu_->addAction(
            QStringLiteral("&%1 %2").arg(i + 1).arg(QFileInfo(path).fileName()));
        action->setToolTip(path);
        connect(action, &QAction::triggered, this, [this, path] {
            if (maybeSave()) openCaseFile(path);
        });
    }
    recentMenu_->setEnabled(!recent.isEmpty());
}

void MainWindow::setCasePath(const QString& path) {
    casePath_ = path;
    setWindowTitle(path.isEmpty()
                       ? appTitle() + QStringLiteral("[*]")
                       : QFileInfo(path).fileName() + QStringLiteral("[*] - ") + appTitle());
    setWindowModified(false);
}

QString MainWindow::askFile(const QString& caption, const QString& filter, bool save,
                            const QString& suggestion) {
    if (fileHook_) return fileHook_(caption, filter, save);
    const QString folder =
        settings_ ? settings_->value(QStringLiteral("lastFolder")).toString() : QString();
    const QString start =
        (folder.isEmpty() ? QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation)
                          : folder) +
        QLatin1Char('/') + suggestion;
    return save ? QFileDialog::getSaveFileName(this, caption, start, filter)
                : QFileDialog::getOpenFileName(this, caption, start, filter);
}

bool MainWindow::maybeSave() {
    // An untitled case never asks: there is no file its changes belong to.
    if (casePath_.isEmpty() || !isWindowModified()) return true;
    const QString text =
        QStringLiteral("Save the changes to %1?").arg(QFileInfo(casePath_).fileName());
    const auto answer =
        questionHook_
            ? questionHook_(text)
            : QMessageBox::question(this, appTitle(), text,
                                    QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel,
                                    QMessageBox::Save);
    if (answer == QMessageBox::Save) return saveCase();
    return answer == QMessageBox::Discard;
}

void MainWindow::newCase() {
    if (!maybeSave()) return;
    panel_->showCaseFile(io::startupCaseFile());
    chkSnap_->setChecked(false);
    clearMarks();
    setCasePath({});
}

bool MainWindow::openCase() {
    if (!maybeSave()) return false;
    const QString path = askFile(QStringLiteral("Open Case"), kCaseFilter, false);
    return !path.isEmpty() && openCaseFile(path);
}

bool MainWindow::openCaseFile(const QString& path) {
    // All or nothing: a file that cannot be used leaves the case as it was.
    auto read = io::loadCase(path);
    if (const auto* problem = std::get_if<std::string>(&read)) {
        message(appTitle(), qs(*problem));
        return false;
    }
    const io::CaseRead& r = std::get<io::CaseRead>(read);
    panel_->showCaseFile(r.file);
    chkSnap_->setChecked(r.file.autoSnapshot);
    if (!marks_.empty() || !r.file.marks.empty()) setMarks(r.file.marks);
    setCasePath(path);
    rememberFile(path);
    QStringList notes;
    for (const std::string& n : r.notes)
        notes << qs(n);
    note_->setText(notes.join(QLatin1Char(' ')));
    note_->setToolTip(note_->text());
    return true;
}

bool MainWindow::saveCase() {
    return casePath_.isEmpty() ? saveCaseAs() : saveCaseTo(casePath_);
}

bool MainWindow::saveCaseAs() {
    QString path = askFile(QStringLiteral("Save Case As"), kCaseFilter, true,
                           casePath_.isEmpty() ? QStringLiteral("skid.yawmark")
                                               : QFileInfo(casePath_).fileName());
    if (path.isEmpty()) return false;
    if (QFileInfo(path).suffix().isEmpty())
        path += QString::fromLatin1(io::kCaseSuffix.data(), io::kCaseSuffix.size());
    return saveCaseTo(path);
}

bool MainWindow::saveCaseTo(const QString& path) {
    io::CaseFile file = panel_->caseFile();
    file.autoSnapshot = ticked(chkSnap_);
    file.marks = marks_;
    // Only a case that can be opened again is saved: a box Draw would refuse
    // is named, and the changes stay unsaved until it is put right.
    const std::string text = io::caseText(file);
    const auto check = io::readCaseText(text);
    if (const auto* problem = std::get_if<std::string>(&check)) {
        message(appTitle(), QStringLiteral("Not saved: ") + qs(*problem));
        return false;
    }
    // A failed save keeps the old file and the unsaved changes.
    if (auto problem = io::saveText(path, text)) {
        message(appTitle(), qs(*problem));
        return false;
    }
    setCasePath(path);
    rememberFile(path);
    return true;
}

QImage MainWindow::plotImage() {
    // What the window shows of the plot: right of the control panel.
    const QImage all = plot_->surface().composed();
    const int left = fmeControl_->geometry().right() + 1;
    return all.copy(left, 0, all.width() - left, all.height());
}

QImage MainWindow::plotImage(QSize size) {
    plot::ImageSurface surface;
    surface.resize(size, 1.0);
    plot::Renderer renderer(surface, view_);
    // The whole image is plot: a window of that size without a panel.
    const plot::Frame frame{size.width() * plot::kTwipsPerPixel,
                            size.height() * plot::kTwipsPerPixel, 0, 0};
    if (!drawBase(renderer, frame) && !run_.record().empty()) {
        renderer.beginPasses(run_.record().samples().front().position);
        run_.record().replay(renderer);
    }
    renderer.endPasses();
    return surface.composed();
}

void MainWindow::exportImage() {
    const QImage shown = plotImage();
    const QString label = QStringLiteral("Size in pixels, width x height:");
    const QString suggestion = QStringLiteral("%1x%2").arg(shown.width()).arg(shown.height());
    const QString asked = (textHook_ ? textHook_(label, suggestion)
                                     : QInputDialog::getText(this, QStringLiteral("Export Image"),
                                                             label, QLineEdit::Normal, suggestion))
                              .trimmed();
    if (asked.isEmpty()) return;
    const QStringList sides = asked.split(QLatin1Char('x'));
    bool okWidth = false, okHeight = false;
    const QSize size(sides.value(0).trimmed().toInt(&okWidth),
                     sides.value(1).trimmed().toInt(&okHeight));
    constexpr int kMaxSide = 8192;
    if (sides.size() != 2 || !okWidth || !okHeight || size.width() < 1 || size.height() < 1 ||
        size.width() > kMaxSide || size.height() > kMaxSide) {
        message(appTitle(), QStringLiteral("\"%1\" is not a size such as %2: two whole numbers "
                                           "from 1 to %3 with an x between them.")
                                .arg(asked, suggestion)
                                .arg(kMaxSide));
        return;
    }
    QString path = askFile(QStringLiteral("Export Image"), QStringLiteral("PNG images (*.png)"),
                           true, QStringLiteral("skid.png"));
    if (path.isEmpty()) return;
    if (QFileInfo(path).suffix().isEmpty()) path += QStringLiteral(".png");
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    (size == shown.size() ? shown : plotImage(size)).save(&buffer, "PNG");
    if (auto problem = io::saveText(path, std::string_view(bytes.constData(), bytes.size())))
        message(appTitle(), qs(*problem));
}

void MainWindow::exportTrajectory() {
    if (run_.record().empty()) {
        message(appTitle(), QStringLiteral("There is no run to export yet: press Draw first."));
        return;
    }
    QString path = askFile(QStringLiteral("Export Trajectory"), QStringLiteral("CSV files (*.csv)"),
                           true, QStringLiteral("skid.csv"));
    if (path.isEmpty()) return;
    if (QFileInfo(path).suffix().isEmpty()) path += QStringLiteral(".csv");
    if (auto problem = io::saveText(path, model::trajectoryCsv(run_.record(), run_.body())))
        message(appTitle(), qs(*problem));
}

void MainWindow::copyImage() {
    QGuiApplication::clipboard()->setImage(plotImage());
}

void MainWindow::setMarks(std::vector<model::Mark> marks) {
    marks_ = std::move(marks);
    mnuClearMarks_->setEnabled(!marks_.empty());
    setWindowModified(true);
    showMarks();
}

void MainWindow::showMarks() {
    if (axesShown_ || !marks_.empty()) redrawRun();
}

bool MainWindow::importMarks() {
    const QString path = askFile(QStringLiteral("Import Tyre Marks"), kMarksFilter, false);
    if (path.isEmpty()) return false;
    const auto bytes = io::readSmallFile(path, io::kMaxMarksBytes);
    if (const auto* problem = std::get_if<std::string>(&bytes)) {
        message(appTitle(), qs(*problem));
        return false;
    }
    auto read = model::parseMarks(
        std::string_view(std::get<QByteArray>(bytes).constData(),
                         static_cast<std::size_t>(std::get<QByteArray>(bytes).size())));
    if (const auto* problem = std::get_if<std::string>(&read)) {
        message(appTitle(), path + QStringLiteral(": ") + qs(*problem));
        return false;
    }
    auto& marks = std::get<std::vector<model::Mark>>(read);
    std::size_t points = 0;
    for (const model::Mark& m : marks)
        points += m.points.size();
    note_->setText(QStringLiteral("%1 tyre marks, %2 points, from %3.")
                       .arg(marks.size())
                       .arg(points)
                       .arg(QFileInfo(path).fileName()));
    note_->setToolTip(note_->text());
    setMarks(std::move(marks));
    return true;
}

void MainWindow::clearMarks() {
    if (!marks_.empty()) setMarks({});
}

void MainWindow::showFit() {
    // A closed dialog is on its way out; Fit to Marks then opens a fresh one.
    if (!fit_ || fit_->isHidden()) fit_ = new FitDialog(*this);
    fit_->show();
    fit_->raise();
    fit_->activateWindow();
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
        options_ = new OptionsDialog(this, *panel_);
        // Modal, but without a loop of its own: a run goes on while it is open.
        options_->open();
    }
    options_->raise();
    options_->activateWindow();
}

void MainWindow::resetAll() {
    panel_->resetAll();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    exitProgram();
    if (closing_)
        event->accept();
    else
        event->ignore(); // Cancel: the case stays open
}

void MainWindow::keyPressEvent(QKeyEvent* event) {
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
        cmdDraw_->isEnabled() && isEnabled()) {
        cmdDraw_->click();
        return;
    }
    QMainWindow::keyPressEvent(event);
}

} // namespace yawmark

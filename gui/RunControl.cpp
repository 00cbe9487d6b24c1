#include "gui/RunControl.h"

#include "gui/AppInfo.h"
#include "gui/frmGraph.h"
#include "model/Calculate.h"
#include "model/DrawPreparation.h"
#include "gui/ParameterPanel.h"
#include "gui/ReversedScrollBar.h"
#include "plot/Axes.h"
#include "plot/Outline.h"
#include "plot/PanZoom.h"
#include "gui/PlotWidget.h"
#include "sim/Forces.h"
#include "sim/Geometry.h"
#include "sim/NumberText.h"
#include "sim/Pass.h"
#include "sim/Validation.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include <algorithm>
#include <cmath>

namespace yawmark {

namespace {

const QString kDraw = QStringLiteral("Draw");
const QString kReDraw = QStringLiteral("ReDraw");
const QString kPause = QStringLiteral("Pause");
const QString kResume = QStringLiteral("Resume");

bool ticked(const QCheckBox* box) {
    return box->checkState() == Qt::Checked;
}

} // namespace

RunControl::RunControl(frmGraph& window)
    : QObject(&window), w_(window), p_(window.params()), s_(window.state()),
      surface_(&window.plot()->surface()) {
    setObjectName(QStringLiteral("runControl"));
    connect(w_.cmdDraw(), &QPushButton::clicked, this, &RunControl::cmdDraw_Click);
    connect(w_.cmdPause(), &QPushButton::clicked, this, &RunControl::cmdPause_Click);
    connect(w_.cmdStop(), &QPushButton::clicked, this, &RunControl::cmdStop_Click);
    connect(w_.cmdSnap(), &QPushButton::clicked, this, &RunControl::cmdSnap_Click);
    connect(w_.cmdClear(), &QPushButton::clicked, this, &RunControl::cmdClear_Click);
    for (QPushButton* b : {w_.cmdSnap(), w_.cmdPause(), w_.cmdStop(), w_.cmdClear()})
        b->installEventFilter(this);

    // Millisecond pacing needs the precise timer; a coarse one may stretch an interval by 5 %.
    w_.Timer2()->setTimerType(Qt::PreciseTimer);
    connect(w_.Timer2(), &QTimer::timeout, this, &RunControl::Timer2_Timer);

    connect(w_.scrX(0), &ReversedScrollBar::changed, this, [this] { scrX_Change(0); });
    connect(w_.scrY(0), &ReversedScrollBar::changed, this, [this] { scrY_Change(0); });
    for (int i = 0; i < 2; ++i)
        connect(w_.scrZoom(i), &ReversedScrollBar::changed, this, [this, i] { scrZoom_Change(i); });
}

void RunControl::setSurface(Surface* surface) {
    surface_ = surface ? surface : &w_.plot()->surface();
}

void RunControl::setMessageHook(MessageHook hook) {
    messageHook_ = std::move(hook);
}

void RunControl::message(const QString& title, const QString& text) {
    if (messageHook_)
        messageHook_(&w_, title, text);
    else
        showMessageBox(&w_, title, text);
}

int RunControl::pacingInterval(double timeStep) {
    // nearbyint rounds halves to the even neighbour in the default rounding mode.
    const double ms = std::nearbyint(timeStep * 1000);
    if (!(ms >= 1)) return 1; // also NaN
    return static_cast<int>(std::min(ms, 65535.0));
}

void RunControl::drawScale() {
    if (auto failure = DrawScale(*surface_, p_))
        message(QStringLiteral("Error"), QString::fromStdString(scaleFailureText(*failure)));
}

void RunControl::cmdDraw_Click() {
    QPushButton* draw = w_.cmdDraw();
    if (w_.closing() || !draw->isEnabled()) return;

    // The boxes are read and checked on copies first: a box that cannot be
    // used stops Draw before anything is cleared, and nothing is lost.
    draw->setEnabled(false);
    ParameterPanel* panel = w_.panel();
    BoxTexts texts = panel->texts();
    if (auto problem = prepareDraw(texts, p_, s_, panel->autoCalculate())) {
        draw->setEnabled(true);
        panel->showBoxMessage(*problem);
        return;
    }
    panel->setTexts(texts); // the "Auto Calculate" results in boxes 5, 11 and 12

    draw->setText(kDraw);
    w_.cmdPause()->setText(kPause);
    surface_->Cls();
    placeAtStart(p_, s_);
    surface_->setAutoRedraw(true);
    s_.snapDone = false;
    s_.stopRequested = false;
    s_.paused = false;
    s_.realTimeTick = false;
    passes_ = 0;
    drawScale();
    calcForce(p_, s_);
    Main();
}

void RunControl::cmdPause_Click() {
    // Pause is disabled only before the first run: there is nothing to interrupt or resume.
    if (w_.closing() || !w_.cmdPause()->isEnabled()) return;
    if (!s_.paused) {
        s_.paused = true;
        s_.stopRequested = true;
        w_.cmdPause()->setText(kResume);
        w_.cmdDraw()->setText(kReDraw);
    } else {
        s_.paused = false;
        s_.stopRequested = false;
        w_.cmdPause()->setText(kPause);
        w_.cmdDraw()->setText(kDraw);
        Main();
    }
    s_.snapDone = true;
}

void RunControl::cmdStop_Click() {
    if (!w_.cmdStop()->isEnabled()) return;
    s_.stopRequested = true;
    w_.cmdPause()->setText(kResume);
    s_.paused = true;
}

void RunControl::cmdSnap_Click() {
    s_.snapDone = false;
}

void RunControl::cmdClear_Click() {
    if (auto failure = yawmark::cmdClear_Click(*surface_, p_))
        message(QStringLiteral("Error"), QString::fromStdString(scaleFailureText(*failure)));
}

void RunControl::Timer2_Timer() {
    s_.realTimeTick = true;
}

bool RunControl::escapeKey(int key) {
    if (key != Qt::Key_Escape) return false;
    cmdPause_Click();
    return true;
}

bool RunControl::cmdsnap_KeyDown(int key, Qt::KeyboardModifiers) {
    return escapeKey(key);
}

bool RunControl::cmdpause_KeyDown(int key, Qt::KeyboardModifiers) {
    return escapeKey(key);
}

bool RunControl::cmdstop_KeyDown(int key, Qt::KeyboardModifiers) {
    return escapeKey(key);
}

bool RunControl::cmdclear_KeyDown(int key, Qt::KeyboardModifiers) {
    return escapeKey(key);
}

bool RunControl::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress) return QObject::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    if (watched == w_.cmdSnap()) return cmdsnap_KeyDown(key->key(), key->modifiers());
    if (watched == w_.cmdPause()) return cmdpause_KeyDown(key->key(), key->modifiers());
    if (watched == w_.cmdStop()) return cmdstop_KeyDown(key->key(), key->modifiers());
    if (watched == w_.cmdClear()) return cmdclear_KeyDown(key->key(), key->modifiers());
    return QObject::eventFilter(watched, event);
}

// Each change of a bar counts only for its sign: one step of the view, the
// bar back to rest (that change, with value 0, does nothing) and the axes drawn
// again when the step changed anything.
void RunControl::barChange(ReversedScrollBar* bar, bool (*step)(Params&, int, int), int index) {
    const int k = barSign(bar->value());
    if (k == 0) return;
    const bool redraw = step(p_, index, k);
    bar->setValue(0);
    if (redraw) drawScale();
}

void RunControl::scrX_Change(int index) {
    barChange(w_.scrX(index), yawmark::scrX_Change, index);
}

void RunControl::scrY_Change(int index) {
    barChange(w_.scrY(index), yawmark::scrY_Change, index);
}

void RunControl::scrZoom_Change(int index) {
    barChange(w_.scrZoom(index), yawmark::scrZoom_Change, index);
}

void RunControl::BeforeMain() {
    w_.cmdDraw()->setEnabled(false);
    w_.cmdSnap()->setEnabled(true);
    w_.cmdPause()->setEnabled(true);
    w_.cmdStop()->setEnabled(true);
    w_.cmdClear()->setEnabled(false);
    w_.cmdSnap()->setFocus();
}

void RunControl::AfterMain() {
    w_.cmdDraw()->setEnabled(true);
    w_.cmdClear()->setEnabled(true);
}

bool RunControl::pass() {
    if (takeAutoSnapshot(p_, s_, ticked(w_.chkSnap()))) cmdSnap_Click();
    cornerpos(p_, s_);
    DrawLocus(*surface_, p_, s_, trails_);
    DrawBox(*surface_, p_, s_);

    // Real time paces the passes, never the physics: a pass that finds no
    // tick waits (moves nothing), one that consumes a tick moves a whole step.
    double h = p_.timeStep;
    QTimer* timer2 = w_.Timer2();
    if (ticked(w_.panel()->chkRealTime())) {
        if (!timer2->isActive()) {
            timer2->setInterval(pacingInterval(p_.timeStep));
            s_.realTimeTick = false;
            timer2->start();
        }
        if (s_.realTimeTick)
            s_.realTimeTick = false;
        else
            h = 0;
    } else if (timer2->isActive()) {
        timer2->stop();
    }

    // The same computation as the batch runner's; a pass whose numbers would
    // stop being finite leaves the body state as it was.
    if (!finishPass(p_, s_, h)) return false;
    s_.snapDone = true;
    return true;
}

void RunControl::endFailedRun() {
    s_.stopRequested = true; // loops further down the stack leave too
    s_.paused = false;
    w_.cmdDraw()->setText(kDraw);
    w_.cmdPause()->setText(kPause);
    w_.cmdSnap()->setEnabled(false);
    w_.cmdPause()->setEnabled(false);
    w_.cmdStop()->setEnabled(false);
    w_.cmdDraw()->setFocus();
}

void RunControl::Main() {
    if (w_.closing()) return;
    ++depth_;
    BeforeMain();
    surface_->setDrawWidth(roundedPixelSize(p_.pixelSize));
    surface_->PSet(static_cast<float>(s_.cmX), static_cast<float>(s_.cmY));
    QTimer* timer2 = w_.Timer2();
    if (ticked(w_.panel()->chkRealTime())) {
        timer2->setInterval(pacingInterval(p_.timeStep));
        s_.realTimeTick = false;
        timer2->start();
    }

    bool failed = false;
    while (s_.simTime >= 0) {
        if (!pass()) {
            failed = true;
            break;
        }
        ++passes_;
        if (passHook_) passHook_(passes_);
        QCoreApplication::processEvents();
        // Closing ends the program: not one more pass, and no message.
        if (w_.closing() || s_.stopRequested) break;
    }

    timer2->stop();
    AfterMain();
    surface_->setAutoRedraw(true);
    surface_->setDrawWidth(1);
    surface_->flush();
    --depth_;
    if (failed) {
        endFailedRun();
        // Most often a Calculate during the run read a box the run cannot go on
        // with (a mass of 0, a turning radius too short): then say which.
        const QString when = QStringLiteral("The run stopped at %1 s: ")
                                 .arg(QString::fromStdString(formatNumber(s_.simTime)));
        if (const auto problem = validateRun(p_, s_))
            message(appTitle(), when + QString::fromStdString(toMessage(*problem, p_).text));
        else
            message(appTitle(), when + QStringLiteral("its numbers would no longer be finite. "
                                                      "Check the boxes and press Draw again."));
    } else if (!w_.closing() && !s_.stopRequested) {
        // Simulated time went below zero (a negative time step runs one pass
        // backwards): the run has ended by itself. It ends as Stop leaves it,
        // so the buttons show a state of the run; Resume ends it again at once.
        s_.stopRequested = true;
        s_.paused = true;
        w_.cmdPause()->setText(kResume);
    }
}

} // namespace yawmark

// Runs in the real main window, offscreen, drawn on a recording surface:
// buttons and keys pressed from inside the loop's yields, as a user does.
#include "cli/BatchRunner.h"
#include "gui/RunControl.h"
#include "gui/frmGraph.h"
#include "gui/ParameterPanel.h"
#include "gui/ReversedScrollBar.h"
#include "plot/RecordingSurface.h"
#include "sim/TrackedPoints.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include <map>
#include <utility>
#include <vector>

using namespace yawmark;

namespace {

using Op = RecordingSurface::Op;

// The window with its start-up boxes, a recording surface and messages that
// are only remembered; actions scripted by pass number are pressed by a
// zero-time timer, so they run inside that pass's yield.
struct Harness {
    frmGraph w;
    RecordingSurface rec;
    QStringList messages;
    std::map<std::uint64_t, std::function<void()>> script;
    std::vector<RunState> trajectory; // the state after every pass
    bool trackSnapshots = false;
    std::vector<int> snapshotPasses; // the passes that drew a snapshot, when tracked

    Harness() {
        run().setSurface(&rec);
        w.setMessageHook([this](QWidget*, const QString& title, const QString& text) {
            messages << title + ": " + text;
        });
        run().setPassHook([this](std::uint64_t pass) {
            trajectory.push_back(w.state());
            const int edges = trackSnapshots ? rearEdges(true) : 0;
            if (edges > std::exchange(seen_, edges))
                snapshotPasses.push_back(static_cast<int>(pass));
            if (auto it = script.find(pass); it != script.end())
                QTimer::singleShot(0, &w, it->second);
        });
    }
    RunControl& run() { return *w.runControl(); }
    RunState& s() { return w.state(); }
    QLineEdit* box(int i) { return w.panel()->txtInput(i); }
    void at(std::uint64_t pass, std::function<void()> action) { script[pass] = std::move(action); }
    void pauseAt(std::uint64_t pass) {
        at(pass, [this] { w.cmdPause()->click(); });
    }
    // Cyan rear edges; the persistent ones are the snapshots.
    int rearEdges(bool persistent) const {
        int n = 0;
        for (const Op& op : rec.opsOf(Op::Line))
            n += op.color == kRearEdgeColor && op.autoRedraw == persistent;
        return n;
    }
    int seen_ = 0;
};

enum class Row { Idle, Running, Paused, Stopped };

// The buttons of one state of the run-control table.
void checkRow(Harness& h, Row row) {
    frmGraph& w = h.w;
    const bool running = row == Row::Running, idle = row == Row::Idle;
    const bool held = row == Row::Paused || row == Row::Stopped;
    QCOMPARE(w.cmdDraw()->isEnabled(), !running);
    QCOMPARE(w.cmdDraw()->text(), QString(row == Row::Paused ? "ReDraw" : "Draw"));
    QCOMPARE(w.cmdPause()->isEnabled(), !idle);
    QCOMPARE(w.cmdPause()->text(), QString(held ? "Resume" : "Pause"));
    QVERIFY(w.cmdStop()->isEnabled() == !idle && w.cmdSnap()->isEnabled() == !idle);
    QCOMPARE(w.cmdClear()->isEnabled(), !running);
    QCOMPARE(h.s().paused, held);
    QCOMPARE(h.run().running(), running);
    if (running) QCOMPARE(w.focusWidget(), static_cast<QWidget*>(w.cmdSnap()));
}

// simTime after n passes of step dt, added one pass at a time as the loop does.
double timeAfter(int n, double dt) {
    double t = 0;
    for (int i = 0; i < n; ++i)
        t += dt;
    return t;
}

class RecordingObserver : public PassObserver {
public:
    std::vector<RunState> states;
    void afterPass(std::uint64_t, const BatchSkid& skid) override { states.push_back(skid.state); }
};

QStringList qtWarnings;
void collectWarnings(QtMsgType type, const QMessageLogContext&, const QString& text) {
    if (type != QtDebugMsg && type != QtInfoMsg) qtWarnings << text;
}

} // namespace

class tst_RunControl : public QObject {
    Q_OBJECT
private slots:
    void lifeCycleThroughTheStateTable();
    void escapeOnEachRunButtonAndEnterInABox();
    void snapshotsDotsAndSegments();
    void realTimePacesWithoutChangingThePhysics();
    void badBoxAtDraw_data();
    void badBoxAtDraw();
    void windowRunEqualsBatchRun_data();
    void windowRunEqualsBatchRun();
    void closingDuringARun_data();
    void closingDuringARun();
    void panAndZoomThroughTheBars();
    void passThatWouldNotBeFiniteStopsTheRun();
    void negativeTimeStepEndsTheRunAsStopped();
};

void tst_RunControl::lifeCycleThroughTheStateTable() {
    Harness h;
    checkRow(h, Row::Idle);
    const double dt = h.w.params().timeStep;
    h.box(15)->setText("2.5");

    h.at(3, [&] { checkRow(h, Row::Running); });
    h.pauseAt(5);
    h.w.cmdDraw()->click();
    checkRow(h, Row::Paused);
    QCOMPARE(h.run().passes(), 5u);
    QCOMPARE(h.s().simTime, timeAfter(5, dt));
    QVERIFY(h.s().snapDone);
    // The pixel size, rounded, is the passes' width; leaving the loop puts the
    // surface back to thin persistent drawing, flushed, with the pacing timer off.
    const auto widths = h.rec.opsOf(Op::DrawWidth);
    QCOMPARE(widths.front().width, 2);
    QCOMPARE(widths.back().width, 1);
    QCOMPARE(h.rec.ops().back().kind, Op::Flush);
    QVERIFY(h.rec.autoRedraw());
    QVERIFY(!h.w.Timer2()->isActive());

    // Stop while paused changes nothing visible.
    h.w.cmdStop()->click();
    checkRow(h, Row::Paused);

    // Resume goes on from the same time; Stop then leaves Draw's caption alone.
    h.at(7, [&] { checkRow(h, Row::Running); });
    h.at(9, [&] { h.w.cmdStop()->click(); });
    h.w.cmdPause()->click();
    checkRow(h, Row::Stopped);
    QCOMPARE(h.trajectory.size(), std::size_t{9});
    for (std::size_t i = 1; i < h.trajectory.size(); ++i)
        QCOMPARE(h.trajectory[i].simTime, h.trajectory[i - 1].simTime + dt);

    // A stopped run resumes like a paused one.
    h.pauseAt(12);
    h.w.cmdPause()->click();
    checkRow(h, Row::Paused);
    QCOMPARE(h.run().passes(), 12u);

    // Clear while paused: the plot is wiped and the axes drawn, the run untouched.
    const RunState before = h.s();
    h.rec.clear();
    h.w.cmdClear()->click();
    QCOMPARE(h.rec.ops().front().kind, Op::Cls);
    QVERIFY(!h.rec.opsOf(Op::Print).empty());
    QVERIFY(h.s().paused == before.paused && h.s().snapDone == before.snapDone);
    QCOMPARE(h.s().simTime, before.simTime);
    QVERIFY(h.messages.isEmpty());
}

void tst_RunControl::escapeOnEachRunButtonAndEnterInABox() {
    Harness h;
    const double dt = h.w.params().timeStep;
    QPushButton* const buttons[] = {h.w.cmdSnap(), h.w.cmdPause(), h.w.cmdStop(), h.w.cmdClear()};
    // Before any run Escape has nothing to pause or resume.
    for (QPushButton* b : buttons)
        if (b->isEnabled()) QTest::keyClick(b, Qt::Key_Escape);
    checkRow(h, Row::Idle);

    // Enter in a box is Draw. During the run Draw is disabled: Enter and a
    // shifted letter do nothing, a shifted Escape pauses.
    h.at(2, [&] {
        QTest::keyClick(h.box(13), Qt::Key_Return);
        QTest::keyClick(h.w.cmdSnap(), Qt::Key_A, Qt::ShiftModifier);
    });
    h.at(4, [&] { QTest::keyClick(h.w.cmdSnap(), Qt::Key_Escape, Qt::ShiftModifier); });
    QTest::keyClick(h.box(13), Qt::Key_Return);
    checkRow(h, Row::Paused);
    QCOMPARE(h.run().passes(), 4u);

    // Paused, Escape on each button resumes; running, Escape on each pauses
    // (Clear is disabled then, so Pause's key stands in). No gap in the trail.
    std::uint64_t pass = 4;
    for (QPushButton* b : buttons) {
        QPushButton* during = b == h.w.cmdClear() ? h.w.cmdPause() : b;
        h.at(pass += 3, [during] { QTest::keyClick(during, Qt::Key_Escape); });
        QTest::keyClick(b, Qt::Key_Escape);
        checkRow(h, Row::Paused);
        QCOMPARE(h.run().passes(), pass);
    }
    QCOMPARE(h.s().simTime, timeAfter(16, dt));

    // Paused: Enter is Draw again, from the start.
    h.pauseAt(3);
    QTest::keyClick(h.box(6), Qt::Key_Enter);
    QCOMPARE(h.run().passes(), 3u);
    QCOMPARE(h.s().simTime, timeAfter(3, dt));
}

void tst_RunControl::snapshotsDotsAndSegments() {
    // Manual: one at Draw, one pressed at pass 4 (drawn by pass 5), one
    // pressed while paused (drawn by the first pass after Resume).
    Harness h;
    h.trackSnapshots = true;
    h.w.panel()->chkWheel(RR)->setChecked(true);
    h.at(4, [&] { h.w.cmdSnap()->click(); });
    h.pauseAt(8);
    h.pauseAt(12);
    h.w.cmdDraw()->click();
    h.w.cmdSnap()->click();
    QVERIFY(!h.s().snapDone);
    h.w.cmdPause()->click();
    QCOMPARE(h.snapshotPasses, (std::vector<int>{1, 5, 9}));
    QCOMPARE(h.rearEdges(false), 12 - 3); // ordinary outlines stay on the screen only
    // The joined trail: a dot at Draw and at each snapshot, segments between;
    // the snapshots' own wheel dots are persistent too.
    const auto persistent = [&](Op::Kind kind, int point) {
        int n = 0;
        for (const Op& op : h.rec.opsOf(kind))
            n += op.autoRedraw && op.color == kPointColor[point];
        return n;
    };
    QCOMPARE(persistent(Op::Line, RR), 12 - 3);
    QCOMPARE(persistent(Op::PSet, RR), 3 + 3);
    QCOMPARE(persistent(Op::Line, FL), 0);
    QCOMPARE(persistent(Op::PSet, FL), 12 + 3);

    // Automatic, every 50 ms of simulated time with 10 ms steps: evenly spaced.
    Harness a;
    a.trackSnapshots = true;
    a.box(14)->setText("50");
    a.w.chkSnap()->setChecked(true);
    a.pauseAt(80);
    a.w.cmdDraw()->click();
    const std::vector<int>& at = a.snapshotPasses;
    QVERIFY(at.size() >= 12);
    for (std::size_t i = 2; i < at.size(); ++i) {
        const int gap = at[i] - at[i - 1];
        QVERIFY2(gap == 5 || gap == 6, qPrintable(QString("gap %1 at %2").arg(gap).arg(i)));
    }
}

void tst_RunControl::realTimePacesWithoutChangingThePhysics() {
    // The pacing interval is the step in whole milliseconds, held within the timer's range.
    for (const auto& [step, ms] :
         {std::pair{0.0124, 12}, {0.0135, 14}, {0.0004, 1}, {-0.5, 1}, {1e300, 65535}})
        QCOMPARE(RunControl::pacingInterval(step), ms);

    Harness h;
    const double dt = h.w.params().timeStep;
    QCheckBox* realTime = h.w.panel()->chkRealTime();
    // Passes from `from` on: each advances by a whole step or, waiting for a tick, not at all.
    const auto waits = [&](std::size_t from) {
        int n = 0;
        for (std::size_t i = from; i < h.trajectory.size(); ++i) {
            const double last = i ? h.trajectory[i - 1].simTime : 0;
            const double t = h.trajectory[i].simTime;
            if (t != last && t != last + dt) return -1;
            n += t == last;
        }
        return n;
    };
    realTime->setChecked(true);
    QTimer::singleShot(150, h.w.cmdPause(), &QPushButton::click);
    h.w.cmdDraw()->click();
    QCOMPARE(h.w.Timer2()->interval(), 10);
    QVERIFY(!h.w.Timer2()->isActive());
    const int advances = int(h.trajectory.size()) - waits(0);
    QVERIFY(waits(0) > 0 && advances >= 1);
    QVERIFY2(advances <= 16, qPrintable(QString::number(advances))); // at most one per 10 ms tick

    // Unticked while paused: the resumed run goes at full speed, every pass a step.
    realTime->setChecked(false);
    const std::size_t from = h.trajectory.size();
    h.pauseAt(h.run().passes() + 30);
    h.w.cmdPause()->click();
    QCOMPARE(waits(from), 0);

    // Ticked during a run: the pacing timer starts, passes wait for ticks again.
    const std::uint64_t tickAt = h.run().passes() + 5;
    h.at(tickAt, [&] {
        realTime->setChecked(true);
        QTimer::singleShot(100, h.w.cmdPause(), &QPushButton::click);
    });
    h.at(tickAt + 3, [&] { QVERIFY(h.w.Timer2()->isActive()); });
    const std::size_t waitingFrom = h.trajectory.size() + 6;
    h.w.cmdPause()->click();
    QVERIFY(h.trajectory.size() > waitingFrom + 20);
    QVERIFY(waits(waitingFrom) > 10);
    QCOMPARE(h.w.params().timeStep, dt);
}

void tst_RunControl::badBoxAtDraw_data() {
    QTest::addColumn<int>("box");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("caption");
    QTest::newRow("mass not a number") << 2 << "abc"
                                       << "Vehicle Mass (kg)";
    QTest::newRow("mass 0") << 2 << "0"
                            << "Vehicle Mass (kg)";
    QTest::newRow("empty interval") << 13 << ""
                                    << "Calculation Interval (ms)";
    QTest::newRow("speed beyond a double") << 6 << "1e999"
                                           << "Initial Speed (m/s)";
}

void tst_RunControl::badBoxAtDraw() {
    QFETCH(int, box);
    QFETCH(QString, text);
    QFETCH(QString, caption);
    Harness h;
    h.pauseAt(3);
    h.w.cmdDraw()->click();
    const RunState before = h.s();
    const Params paramsBefore = h.w.params();
    QStringList texts;
    for (int i = 0; i < kBoxCount; ++i)
        texts << (i == box ? text : h.box(i)->text());
    h.box(box)->setText(text);
    h.rec.clear();

    h.w.cmdDraw()->click();
    QCOMPARE(h.messages.size(), 1);
    QVERIFY2(h.messages[0].contains(caption), qPrintable(h.messages[0]));
    for (int i = 0; i < kBoxCount; ++i)
        QCOMPARE(h.box(i)->text(), texts[i]);
    QVERIFY(h.rec.ops().empty()); // the previous plot stays
    checkRow(h, Row::Paused);
    QCOMPARE(h.run().passes(), 3u);
    QVERIFY(h.s().simTime == before.simTime && h.s().cmX == before.cmX);
    QVERIFY(h.w.params().vehicleMass == paramsBefore.vehicleMass &&
            h.w.params().timeStep == paramsBefore.timeStep);
}

void tst_RunControl::windowRunEqualsBatchRun_data() {
    QTest::addColumn<QStringList>("boxes"); // "I=TEXT"
    QTest::addColumn<bool>("autoNormal");
    QTest::newRow("other car, fast, right, coarse steps")
        << QStringList{"0=7",  "1=2",     "2=4000", "3=30",  "4=0.8",
                       "6=35", "8=Right", "13=2.5", "18=0.3"}
        << true;
    QTest::newRow("no normal driving, sideways start")
        << QStringList{"7=40", "11=-20", "12=0.5", "16=3", "17=-4"} << false;
}

void tst_RunControl::windowRunEqualsBatchRun() {
    QFETCH(QStringList, boxes);
    QFETCH(bool, autoNormal);
    BatchOptions options;
    options.passes = 600;
    options.autoNormal = autoNormal;
    for (const QString& b : boxes)
        options.boxes.emplace_back(b.section('=', 0, 0).toInt(), b.section('=', 1).toStdString());
    BatchSkid skid;
    QVERIFY(!prepareBatchSkid(options, skid));
    RecordingObserver observer;
    QVERIFY(!runBatchSkid(options, skid, observer));

    Harness h;
    for (const auto& [i, text] : options.boxes)
        h.box(i)->setText(QString::fromStdString(text));
    h.w.panel()->chkNormal()->setChecked(autoNormal);
    h.pauseAt(options.passes);
    h.w.cmdDraw()->click();

    QCOMPARE(h.trajectory.size(), observer.states.size());
    for (std::size_t i = 0; i < observer.states.size(); ++i) {
        const RunState& a = h.trajectory[i];
        const RunState& b = observer.states[i];
        const bool same = a.simTime == b.simTime && a.cmX == b.cmX && a.cmY == b.cmY &&
                          a.cmVx == b.cmVx && a.cmVy == b.cmVy && a.heading == b.heading &&
                          a.omega == b.omega;
        QVERIFY2(same, qPrintable(QString("pass %1 differs").arg(i + 1)));
    }
}

void tst_RunControl::closingDuringARun_data() {
    QTest::addColumn<bool>("viaMenu");
    QTest::addColumn<bool>("nested");
    QTest::newRow("close box") << false << false;
    QTest::newRow("File > Exit") << true << false;
    QTest::newRow("close box, resumed inside a yield") << false << true;
}

void tst_RunControl::closingDuringARun() {
    QFETCH(bool, viaMenu);
    QFETCH(bool, nested);
    Harness h;
    h.w.show();
    qtWarnings.clear();
    const QtMessageHandler previous = qInstallMessageHandler(collectWarnings);
    if (nested) // Pause and Resume in one yield: the new loop runs inside the old one's yield.
        h.at(5, [&] {
            h.w.cmdPause()->click();
            h.w.cmdPause()->click();
        });
    h.at(20, [&] { viaMenu ? h.w.mnuExit()->trigger() : void(h.w.close()); });
    h.w.cmdDraw()->click();
    qInstallMessageHandler(previous);

    QVERIFY(h.w.closing());
    QCOMPARE(h.run().passes(), 20u); // not one pass after the close
    QVERIFY(!h.run().running());
    QVERIFY2(qtWarnings.isEmpty(), qPrintable(qtWarnings.join('\n')));
    QVERIFY(h.messages.isEmpty());
    // A late click finds the program ending and starts nothing.
    h.w.cmdPause()->click();
    QCOMPARE(h.run().passes(), 20u);
}

void tst_RunControl::panAndZoomThroughTheBars() {
    Harness h;
    const Params& p = h.w.params();
    const auto cls = [&] { return h.rec.opsOf(Op::Cls).size(); };
    const auto near = [](double a, double b) { return std::abs(a - b) < 1e-12; };

    // Each bar reaches its step once (the arithmetic itself is the plot's);
    // one redraw each, and the bar's way back to 0 steps nothing.
    h.w.scrX(0)->setValue(10);
    QCOMPARE(h.w.scrX(0)->value(), 0);
    QVERIFY(near(p.xMin, -21.1) && near(p.xMax, 6.4));
    h.w.scrY(0)->setValue(-1);
    QVERIFY(near(p.yMin, -17) && near(p.yMax, 33));
    h.w.scrZoom(0)->setValue(10);
    QVERIFY(near(p.xMax - p.xMin, 22) && near(p.yMax - p.yMin, 40));
    h.w.scrZoom(1)->setValue(10);
    QCOMPARE(p.xInterval, 5.0);
    QCOMPARE(cls(), std::size_t{4});
    // At the floor of the scale interval a step down redraws nothing.
    h.w.params().xInterval = h.w.params().yInterval = 1;
    h.w.scrZoom(1)->setValue(-10);
    QCOMPARE(cls(), std::size_t{4});

    // During a run the plot is cleared and redrawn, and the passes after it draw on.
    h.rec.clear();
    const double xMinBefore = p.xMin;
    std::size_t panAt = 0;
    h.at(5, [&] {
        h.w.scrX(0)->setValue(10);
        panAt = h.rec.ops().size();
    });
    h.pauseAt(8);
    h.w.cmdDraw()->click();
    QVERIFY(near(p.xMin, xMinBefore - 0.04 * 22));
    QCOMPARE(h.run().passes(), 8u);
    const auto& ops = h.rec.ops();
    const auto redraw = std::find_if(ops.begin() + 1, ops.begin() + panAt,
                                     [](const Op& op) { return op.kind == Op::Cls; });
    QVERIFY(panAt > 0 && redraw != ops.begin() + panAt);
    QCOMPARE(std::count_if(ops.begin() + panAt, ops.end(),
                           [](const Op& op) {
                               return op.kind == Op::PSet && op.autoRedraw &&
                                      op.color == kPointColor[CE];
                           }),
             3);
}

void tst_RunControl::passThatWouldNotBeFiniteStopsTheRun() {
    Harness h;
    // No friction, a huge speed along +x and one-second steps: x passes the
    // largest double after some 18 passes.
    for (const auto& [i, text] :
         {std::pair{4, "0"}, {6, "1e307"}, {7, "90"}, {8, "Center"}, {13, "1000"}})
        h.box(i)->setText(text);
    h.w.cmdDraw()->click();
    QCOMPARE(h.messages.size(), 1);
    QVERIFY2(h.messages[0].contains("finite"), qPrintable(h.messages[0]));
    QVERIFY(h.run().passes() > 10);
    QCOMPARE(h.s().simTime, timeAfter(static_cast<int>(h.run().passes()), 1.0));
    checkRow(h, Row::Idle);
    // Nothing of the pass that failed stays behind: no NaN or infinite position,
    // force, velocity or axle direction in the state.
    const RunState& s = h.s();
    QVERIFY(std::isfinite(s.cmX) && std::isfinite(s.torque) && std::isfinite(s.alpha));
    QVERIFY(std::isfinite(s.totalForce[0]) && std::isfinite(s.totalForce[1]));
    for (int i = 1; i <= 4; ++i)
        for (int k = 0; k < 2; ++k)
            QVERIFY(std::isfinite(s.wheelVel[i][k]) && std::isfinite(s.wheelForce[i][k]) &&
                    std::isfinite(s.corner[i][k]) && (i > 2 || std::isfinite(s.wheelNormal[i][k])));

    // A Calculate during a run reads every box into the running parameters: a
    // mass of 0 read that way stops the run, and the message names the box.
    Harness g;
    g.at(3, [&] {
        g.box(2)->setText("0");
        g.w.panel()->cmdNormal()->click();
    });
    g.w.cmdDraw()->click();
    QCOMPARE(g.messages.size(), 1);
    QVERIFY2(g.messages[0].contains("\"Vehicle Mass (kg)\" must not be 0."),
             qPrintable(g.messages[0]));
    QCOMPARE(g.run().passes(), 3u);
    checkRow(g, Row::Idle);
}

// A negative time step runs one pass backwards and the run ends by itself;
// the window must then show a state of the run (Stopped), not a mix of
// Idle and Stopped, and Resume must end it again without a pass.
void tst_RunControl::negativeTimeStepEndsTheRunAsStopped() {
    Harness h;
    h.box(13)->setText("-10");
    h.w.cmdDraw()->click();
    QVERIFY(h.messages.isEmpty());
    for (int press = 0; press < 2; ++press) { // Draw, then Resume
        if (press) h.w.cmdPause()->click();
        checkRow(h, Row::Stopped);
        QCOMPARE(h.run().passes(), 1u);
        QCOMPARE(h.s().simTime, -0.01);
    }

    // Draw with a sound step starts over from the start values.
    h.box(13)->setText("10");
    h.pauseAt(3);
    h.w.cmdDraw()->click();
    checkRow(h, Row::Paused);
    QCOMPARE(h.s().simTime, timeAfter(3, 0.01));
}

QTEST_MAIN(tst_RunControl)
#include "tst_runcontrol.moc"

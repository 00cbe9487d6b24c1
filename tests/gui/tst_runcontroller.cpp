// SPDX-License-Identifier: MIT
// The run controller without a window: the phases a run goes through (Pause,
// Resume, Stop, at rest, halted), not one pass after Pause or after halting,
// the event loop reached between slices, the rest error told for the newest
// run only.
#include "gui/RunController.h"

#include <QtTest>

using namespace yawmark;
using model::Phase;

Q_DECLARE_METATYPE(model::Phase)

class tst_RunController : public QObject {
    Q_OBJECT
private slots:
    void phasesToRest();
    void theEventLoopAnswersBetweenSlices();
};

void tst_RunController::phasesToRest() {
    RunController runs;
    QSignalSpy phases(&runs, &RunController::phaseChanged);
    QSignalSpy rest(&runs, &RunController::restErrorKnown);
    const auto phase = [&](int k) { return phases.at(k).at(0).value<Phase>(); };
    // Paused by a click that comes after pass 5.
    const auto click = connect(&runs, &RunController::passed, &runs, [&](std::uint64_t n) {
        if (n == 5) QTimer::singleShot(0, &runs, &RunController::togglePause);
    });
    runs.setMaxPassesPerSlice(1); // the click is taken between two passes
    runs.start(model::startupCase());
    QCOMPARE(phase(0), Phase::Running);
    QTRY_COMPARE(runs.phase(), Phase::Paused);
    disconnect(click);
    const std::uint64_t paused = runs.passes();
    QVERIFY(paused >= 5 && paused < 352);
    QTest::qWait(30);
    QVERIFY(phase(1) == Phase::Paused && runs.passes() == paused); // not one pass after Pause
    runs.togglePause();                                            // Resume
    runs.stop();
    QTest::qWait(30);
    QVERIFY(phase(2) == Phase::Running && phase(3) == Phase::Stopped && runs.passes() == paused);

    runs.togglePause(); // Resume from Stop, on to rest: the run is over
    QTRY_COMPARE(runs.phase(), Phase::AtRest);
    QCOMPARE(phase(5), Phase::AtRest);
    QCOMPARE(runs.passes(), 352u); // 3.52 s at 10 ms
    QTRY_COMPARE_WITH_TIMEOUT(rest.size(), 1, 10000);
    QVERIFY(std::abs(rest.at(0).at(0).toDouble() - 0.12) < 0.03);

    // A run started before the estimate comes has its own: the old one is not told.
    runs.start(model::startupCase());
    runs.start(model::startupCase());
    QTRY_COMPARE(runs.phase(), Phase::AtRest);
    QTRY_COMPARE_WITH_TIMEOUT(rest.size(), 2, 10000);

    // Halted (the program ends): nothing starts or goes on any more.
    runs.halt();
    runs.start(model::startupCase());
    runs.togglePause();
    QVERIFY(runs.passes() == 352u && runs.phase() == Phase::AtRest);
}

void tst_RunController::theEventLoopAnswersBetweenSlices() {
    // A step of 0.01 ms: the car still moves after a million passes.
    model::Case c = model::startupCase();
    c.run.timeStep = 1e-5;
    RunController runs;
    std::uint64_t atClick = 0;
    // A click that comes while the run goes on is taken after the slice going on.
    QTimer::singleShot(1, &runs, [&] {
        atClick = runs.passes();
        runs.togglePause();
    });
    runs.start(c);
    QTRY_COMPARE(runs.phase(), Phase::Paused);
    QVERIFY(atClick > 0 && atClick < 1000000);
    QCOMPARE(runs.passes(), atClick);
    // Stopped by a receiver of a pass in the middle of a slice: not one pass more.
    connect(&runs, &RunController::passed, &runs, [&](std::uint64_t n) {
        if (n == atClick + 1000) runs.stop();
    });
    runs.togglePause();
    QTRY_COMPARE(runs.phase(), Phase::Stopped);
    QCOMPARE(runs.passes(), atClick + 1000);
}

QTEST_MAIN(tst_RunController)
#include "tst_runcontroller.moc"

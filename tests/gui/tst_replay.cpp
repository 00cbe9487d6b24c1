// SPDX-License-Identifier: MIT
// A run seen again and compared: View > Replay's slider, keys and play moving
// the car and the readout, a new Draw ending it; references kept under the
// next runs and cleared; the charts following the run, a click on one
// replaying from there.
#include "gui/MainWindow.h"
#include "gui/ParameterPanel.h"
#include "gui/PlotController.h"
#include "gui/ReplayController.h"
#include "gui/RunController.h"
#include "model/Readout.h"
#include "plot/RecordingSurface.h"

#include <QChartView>
#include <QLineSeries>
#include <QtTest>
#include <QtWidgets>

using namespace yawmark;
using model::Phase;
using Op = plot::RecordingSurface::Op;

class tst_Replay : public QObject {
    Q_OBJECT
private slots:
    void init();
    void theSliderShowsTheRunAtItsTime();
    void playRunsToTheEndAndDrawEndsIt();
    void referencesLieUnderTheNextRunsUntilCleared();
    void chartsFollowTheRunAndAClickReplays();

private:
    template <class T = QWidget> T* child(const QString& name) const {
        return w_->findChild<T*>(name);
    }
    QAction* action(const char* name) const { return child<QAction>(name); }
    const model::Run& run() const { return w_->runs().run(); }
    void drawToRest() {
        child<QPushButton>("cmdDraw")->click();
        QTRY_COMPARE(run().phase(), Phase::AtRest);
    }
    QString readoutAt(std::size_t i) const {
        return QString::fromStdString(model::readoutText(model::readoutAt(run().record(), i)));
    }
    // Lines drawn in a reference's colour since the plot was last cleared.
    long referenceLines() const {
        long n = 0;
        for (const Op& op : rec_.ops) {
            if (op.kind == Op::Clear) n = 0;
            n += op.kind == Op::Line && op.color == plot::kReferenceColors[0];
        }
        return n;
    }

    std::unique_ptr<MainWindow> w_;
    plot::RecordingSurface rec_;
};

void tst_Replay::init() {
    w_ = std::make_unique<MainWindow>();
    child<QTimer>("Timer1")->stop(); // no splash
    rec_.ops.clear();
    w_->plotter().setSurface(&rec_);
    w_->show();
    QVERIFY(QTest::qWaitForWindowExposed(w_.get()));
}

void tst_Replay::theSliderShowsTheRunAtItsTime() {
    QAction* replay = action("mnuReplay");
    QVERIFY(!replay->isEnabled()); // no run yet
    drawToRest();
    QVERIFY(replay->isEnabled());
    replay->trigger();
    auto* slider = child<QSlider>("sldReplay");
    QVERIFY(slider->isVisible() && slider->hasFocus());
    const std::size_t last = run().record().samples().size() - 1;
    QCOMPARE(std::size_t(slider->value()), last);
    auto* readout = child<QLabel>("lblReadout");
    QCOMPARE(readout->text(), readoutAt(last));
    // Each move draws the car there on the screen only, and reads that moment out.
    const auto outlineAt = [this](std::size_t i) {
        const model::Sample& s = run().record().samples()[i];
        const auto& r = rec_.ops;
        const auto frontEdge = std::find_if(r.rbegin(), r.rend(), [](const Op& o) {
            return o.kind == Op::Line && !o.persistent;
        });
        const sim::WheelPlacement w = sim::placeWheels(run().record().car(s), s.heading);
        return frontEdge != r.rend() &&
               std::abs(frontEdge->x1 - (s.position.x + w.offset[sim::RR].x)) < 1e-9;
    };
    slider->setValue(100);
    QCOMPARE(readout->text(), readoutAt(100));
    QVERIFY(outlineAt(100));
    QTest::keyClick(slider, Qt::Key_Right);
    QCOMPARE(w_->replay().index(), 101u);
    QCOMPARE(readout->text(), readoutAt(101));
    QVERIFY(outlineAt(101));
    QTest::keyClick(slider, Qt::Key_Home);
    QCOMPARE(w_->replay().index(), 0u);
    QTest::keyClick(slider, Qt::Key_End);
    QCOMPARE(w_->replay().index(), last);
    replay->trigger(); // off: the end again
    QVERIFY(!slider->isVisible());
    QCOMPARE(readout->text(), readoutAt(last));
}

void tst_Replay::playRunsToTheEndAndDrawEndsIt() {
    drawToRest();
    action("mnuReplay")->trigger();
    child<QComboBox>("cboReplaySpeed")->setCurrentIndex(2); // 4×: the 3.5 s skid in a second
    auto* play = child<QToolButton>("cmdPlay");
    QTest::keyClick(child<QSlider>("sldReplay"), Qt::Key_Space); // at the end: from the start again
    QVERIFY(w_->replay().playing());
    QVERIFY(w_->replay().index() < 50);
    QTRY_VERIFY(!w_->replay().playing());
    QCOMPARE(w_->replay().index(), run().record().samples().size() - 1);
    play->click();
    QTest::qWait(100);
    play->click(); // paused partway
    QVERIFY(!w_->replay().playing());
    QVERIFY(w_->replay().index() > 0 && w_->replay().index() < 200);
    child<QPushButton>("cmdDraw")->click(); // a new run ends the replay
    QVERIFY(!w_->replay().active() && !action("mnuReplay")->isChecked());
    QVERIFY(!action("mnuReplay")->isEnabled());
}

void tst_Replay::referencesLieUnderTheNextRunsUntilCleared() {
    drawToRest();
    action("mnuKeepReference")->trigger();
    QVERIFY(referenceLines() > 100);
    w_->panel()->txtInput(model::kSpeedBox)->setText(QStringLiteral("27"));
    drawToRest();
    QVERIFY(referenceLines() > 100);
    QCOMPARE(w_->plotter().referenceLabel(0),
             QStringLiteral("Reference 1: Initial Speed 20 \u2192 27 m/s and 1 more"));
    for (int i = 0; i < 3; ++i)
        action("mnuKeepReference")->trigger();
    QCOMPARE(w_->plotter().references().size(), model::kMaxReferences);
    action("mnuClearReferences")->trigger();
    QVERIFY(w_->plotter().references().empty());
    QCOMPARE(referenceLines(), 0);
}

void tst_Replay::chartsFollowTheRunAndAClickReplays() {
    action("mnuCharts")->trigger();
    auto* speed = child<QChartView>("chart0");
    QVERIFY(speed && speed->isVisible());
    drawToRest();
    auto* runSeries = qobject_cast<QLineSeries*>(speed->chart()->series().at(3));
    QVERIFY(runSeries && runSeries->count() > 100);
    QCOMPARE(runSeries->at(0).y(), 20.0); // m/s at the start
    action("mnuKeepReference")->trigger();
    QCOMPARE(qobject_cast<QLineSeries*>(speed->chart()->series().at(0))->count(),
             runSeries->count());
    // A click mid-chart replays from there; the cursor stands at that moment.
    const double end = run().record().samples().back().time;
    const QPointF mid = speed->chart()->mapToPosition({end / 2, 10});
    QTest::mouseClick(speed->viewport(), Qt::LeftButton, {}, mid.toPoint());
    QVERIFY(w_->replay().active());
    const double t = run().record().samples()[w_->replay().index()].time;
    QVERIFY2(std::abs(t - end / 2) < end / 20, qPrintable(QString::number(t)));
    auto* cursor = qobject_cast<QLineSeries*>(speed->chart()->series().at(4));
    QCOMPARE(cursor->count(), 2);
    QCOMPARE(cursor->at(0).x(), t);
}

QTEST_MAIN(tst_Replay)
#include "tst_replay.moc"

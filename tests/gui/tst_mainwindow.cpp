// SPDX-License-Identifier: MIT
// The main window driving its run on a recording surface: the buttons through the phases
// (Escape, Enter, a failed run, a Calculate stopping one, closing ending every loop),
// Draw's refusal, the pan and zoom bars, pacing, the batch runner's run, F1,
// tyre marks under every redraw, a fit to them applied and drawn, a Monte Carlo
// run on its thread to its table and cloud, and one cancelled.
#include "cli/BatchRunner.h"
#include "gui/CaseDocument.h"
#include "gui/CaseFiles.h"
#include "gui/FitDialog.h"
#include "gui/HelpWindow.h"
#include "gui/MainWindow.h"
#include "gui/MonteCarloDialog.h"
#include "gui/ParameterPanel.h"
#include "gui/PlotController.h"
#include "gui/PlotWidget.h"
#include "gui/ReportExport.h"
#include "gui/ReversedScrollBar.h"
#include "gui/RunController.h"
#include "model/Readout.h"
#include "plot/RecordingSurface.h"

#include <QtTest>
#include <QtWidgets>

#include <cstring>
#include <map>

using namespace yawmark;
using model::Phase;
using Op = plot::RecordingSurface::Op;

Q_DECLARE_METATYPE(model::Phase)

class tst_MainWindow : public QObject {
    Q_OBJECT
private slots:
    void init();
    void runButtonsFollowThePhase_data();
    void runButtonsFollowThePhase();
    void drawRefusesABadBox_data();
    void drawRefusesABadBox();
    void panAndZoomBarsDuringARun_data();
    void panAndZoomBarsDuringARun();
    void gesturesRedrawTheWholeRecord();
    void theReadoutFollowsTheRecordToRest();
    void realTimePacing();
    void windowRunEqualsBatchRun_data();
    void windowRunEqualsBatchRun();
    void f1OpensTheGuide();
    void tyreMarksLieUnderEveryRedraw();
    void aFitToMarksIsAppliedAndDrawn();
    void monteCarloRunsToItsTableAndCloud();
    void reportWritesAPdfAndPrintPreviewsIt();

private:
    QLineEdit* box(int i) const { return w_->panel()->txtInput(i); }
    template <class T = QWidget> T* child(const QString& name) const {
        return w_->findChild<T*>(name);
    }
    QPushButton* button(const char* name) const { return child<QPushButton>(name); }
    QAction* action(const char* name) const { return child<QAction>(name); }
    ReversedScrollBar* scroll(const char* name, int i) const {
        return child<ReversedScrollBar>(QStringLiteral("%1(%2)").arg(name).arg(i));
    }
    const model::Run& run() const { return w_->runs().run(); }
    const plot::View& view() const { return w_->plotter().view(); }
    std::uint64_t passes() const { return w_->runs().passes(); }
    // A gesture right after pass n of the run (several in turn).
    void at(std::uint64_t n, std::function<void()> gesture) { script_.emplace(n, gesture); }
    // Gestures in turn: "Draw" clicks cmdDraw, "^Snap" is Escape on cmdSnap (on
    // box 0 for "^Box", on the tab strip for "^Tabs"), "Enter" is Enter in box 3,
    // "2=0" types 0 into box 2, "Close" and "Exit" close the window and choose
    // File > Exit, "?" checks `phase` and pauses; "...@n" is made after pass n.
    void play(const QString& gestures, Phase phase = Phase::Idle) {
        for (const QString& g : gestures.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
            const QString what = g.section(QLatin1Char('@'), 0, 0), key = what.mid(1);
            QWidget* to = what == "Enter" ? box(3)
                          : key == "Box"  ? box(0)
                          : key == "Tabs" ? w_->panel()->tabBar()
                                          : w_->findChild<QWidget*>("cmd" + key);
            const std::function<void()> act = [=, this] {
                if (what == "?") {
                    expectPhase(phase);
                    button("cmdPause")->click();
                } else if (what.contains(QLatin1Char('='))) {
                    box(what.section(QLatin1Char('='), 0, 0).toInt())
                        ->setText(what.section(QLatin1Char('='), 1));
                } else if (what == "Close" || what == "Exit") {
                    closed_ = true;
                    what == "Exit" ? action("mnuExit")->trigger() : void(w_->close());
                } else if (what == "Enter" || what.startsWith(QLatin1Char('^'))) {
                    to->setFocus();
                    QTest::keyClick(to, what == "Enter" ? Qt::Key_Return : Qt::Key_Escape);
                } else {
                    w_->findChild<QPushButton*>("cmd" + what)->click();
                }
            };
            if (g.contains(QLatin1Char('@'))) {
                at(g.section(QLatin1Char('@'), 1).toULongLong(), act);
                continue;
            }
            act();
            // The run goes on from the event loop until it ends, is interrupted or the window
            // closes.
            QTRY_VERIFY(run().phase() != Phase::Running || closed_);
        }
    }
    // The run in that phase, and its five buttons as the phase table has them.
    void expectPhase(Phase phase) {
        QCOMPARE(run().phase(), phase);
        const model::RunButtons& t = model::runButtons(phase);
        const model::ButtonState states[] = {t.draw, t.snapshot, t.pause, t.stop, t.clear};
        const QPushButton* buttons[] = {button("cmdDraw"), button("cmdSnap"), button("cmdPause"),
                                        button("cmdStop"), button("cmdClear")};
        for (int k = 0; k < 5; ++k) {
            const std::string_view c = states[k].caption;
            QCOMPARE(buttons[k]->isEnabled(), states[k].enabled);
            if (!c.empty()) QCOMPARE(buttons[k]->text(), QLatin1String(c.data(), c.size()));
        }
    }

    // Since the plot was last cleared it keeps the whole record, drawn live or
    // again: the start dot, five trail dots a sample, and an outline (a rear
    // edge, five dots) at each lasting one.
    void expectWholeRecord() {
        const auto& ops = rec_.ops;
        const auto from = std::find_if(ops.rbegin(), ops.rend(), [](const Op& o) {
                              return o.kind == Op::Clear;
                          }).base();
        const auto samples = run().record().samples();
        const auto lasting = std::count_if(samples.begin(), samples.end(),
                                           [](const model::Sample& x) { return x.lasting; });
        long rearEdges = 0, dots = 0;
        for (auto op = from; op != ops.end(); ++op)
            if (op->persistent)
                rearEdges += op->kind == Op::Line && op->color == plot::kRearEdgeColor,
                    dots += op->kind == Op::Dot;
        QVERIFY(lasting >= 1 && rearEdges == lasting);
        QCOMPARE(dots, 1 + 5 * static_cast<long>(samples.size()) + 5 * lasting);
    }
    double viewWidth() const { return view().xMax - view().xMin; }

    std::unique_ptr<MainWindow> w_;
    plot::RecordingSurface rec_;
    QStringList messages_;
    std::multimap<std::uint64_t, std::function<void()>> script_;
    bool closed_ = false;
};

void tst_MainWindow::init() {
    w_ = std::make_unique<MainWindow>();
    child<QTimer>("Timer1")->stop(); // no splash
    rec_.ops.clear();
    messages_.clear();
    script_.clear();
    closed_ = false;
    w_->plotter().setSurface(&rec_);
    w_->findChild<QAction*>("mnuFollow")->setChecked(false); // the view moves by the gestures only
    w_->runs().setMaxPassesPerSlice(1);
    w_->setMessageHook([this](QWidget*, const QString&, const QString& m) { messages_ << m; });
    connect(&w_->runs(), &RunController::passed, w_.get(), [this](std::uint64_t n) {
        if (n % 500 == 0) w_->runs().stop(); // a run the test could not end
        for (auto it = script_.find(n); it != script_.end() && it->first == n;) {
            const auto gesture = std::move(it->second);
            script_.erase(it);
            gesture();
            it = script_.find(n);
        }
    });
    w_->show();
    w_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(w_.get()));
}

void tst_MainWindow::runButtonsFollowThePhase_data() {
    QTest::addColumn<QString>("gestures"); // as play() takes them
    QTest::addColumn<Phase>("phase");
    QTest::addColumn<int>("passes"); // since Draw
    QTest::addColumn<QString>("message");
    const auto row = [](const char* name, const char* gestures, Phase phase, int passes,
                        const char* message = "") {
        QTest::newRow(name) << QString(gestures) << phase << passes << QString(message);
    };
    row("before any run", "", Phase::Idle, 0);
    row("Escape before any run", "^Clear", Phase::Idle, 0);
    row("Draw", "?@3 Draw", Phase::Running, 3);
    row("Pause", "Pause@3 Draw", Phase::Paused, 3);
    row("Resume", "Pause@3 Draw ?@6 Pause", Phase::Running, 6);
    row("Stop", "Stop@3 Draw", Phase::Stopped, 3);
    row("Stop, Resume, Pause", "Stop@3 Draw Pause@6 Pause", Phase::Paused, 6);
    row("Stop while paused", "Pause@3 Draw Stop", Phase::Paused, 3);
    row("at rest, Escape resumes nothing", "Draw ^Snap", Phase::AtRest, 352);
    row("Enter draws, Escape pauses", "^Snap@2 Enter", Phase::Paused, 2);
    row("Escape on each run button resumes and pauses",
        "^Snap@2 Enter ^Snap@4 ^Snap ^Pause@6 ^Pause ^Stop@8 ^Stop ^Pause@10 "
        "^Clear",
        Phase::Paused, 10);
    row("Escape in a text box and on the tab strip", "^Box@2 Enter ^Tabs@4 ^Box", Phase::Paused, 4);
    row("failed run", "6=1e300 13=1e10 Draw", Phase::Idle, 17,
        "The run stopped at 170000000 s: its numbers would no longer be finite. Check "
        "the boxes and press Draw again.");
    row("a Calculate reads a turning radius too short during the run", "9=1@3 Normal@4 Draw",
        Phase::Idle, 4,
        "The run stopped at 0.04 s: \"Mass Center Turning Radius (m)\" must be at least the "
        "distance from the mass centre to the rear axle (1.76748 m) when steering Left.");
    // Not one pass after closing, and late clicks find the program ending.
    row("close box", "Close@20 Draw Pause Pause", Phase::Running, 20);
    row("File > Exit", "Exit@20 Draw Pause Pause", Phase::Running, 20);
    row("close box, in a loop resumed inside a yield", "Pause@5 Pause@5 Close@20 Draw Pause Pause",
        Phase::Running, 20);
}

void tst_MainWindow::runButtonsFollowThePhase() {
    QFETCH(QString, gestures);
    QFETCH(Phase, phase);
    QFETCH(int, passes);
    QFETCH(QString, message);
    play(gestures, phase);
    QVERIFY(script_.empty());
    if (!gestures.contains(QLatin1Char('?'))) expectPhase(phase);
    QCOMPARE(w_->runs().passes(), std::uint64_t(passes));
    QCOMPARE(messages_, message.isEmpty() ? QStringList() : QStringList{message});
}

void tst_MainWindow::drawRefusesABadBox_data() {
    QTest::addColumn<int>("i");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("message");
    QTest::newRow("range") << 13 << "0"
                           << "\"Calculation Interval (ms)\" must be greater than 0.";
}

void tst_MainWindow::drawRefusesABadBox() {
    QFETCH(int, i);
    QFETCH(QString, text);
    QFETCH(QString, message);
    play(QStringLiteral("8=r Pause@3 Draw"));
    QCOMPARE(box(8)->text(), QStringLiteral("Right")); // a code reads, and shows as its word
    box(i)->setText(text);
    rec_.ops.clear();
    button("cmdDraw")->click();
    QCOMPARE(messages_, QStringList{message});
    // The box shown for a new text; the plot (and the paused run) stays as it was.
    QVERIFY(box(i)->selectedText() == text && w_->focusWidget() == box(i) && rec_.ops.empty());
    expectPhase(Phase::Paused);
}

void tst_MainWindow::panAndZoomBarsDuringARun_data() {
    // Bars scrX(0), scrY(0), scrZoom(0), scrZoom(1); the up (left) arrow, or the down (right) one.
    QTest::addColumn<int>("k"); // bar * 2 + down
    for (int k = 0; k < 8; ++k)
        QTest::addRow("bar %d %s", k / 2, k % 2 ? "down" : "up") << k;
}

void tst_MainWindow::panAndZoomBarsDuringARun() {
    QFETCH(int, k);
    const int bar = k / 2, up = k % 2 == 0;
    ReversedScrollBar* const bars[] = {scroll("scrX", 0), scroll("scrY", 0), scroll("scrZoom", 0),
                                       scroll("scrZoom", 1)};
    bool (plot::View::*const steps[])(int) = {&plot::View::panX, &plot::View::panY,
                                              &plot::View::zoom, &plot::View::stepInterval};
    plot::View e = view();
    QVERIFY((e.*steps[bar])(up ? 1 : -1));
    std::size_t clears = 0;
    at(5, [&] {
        clears = rec_.opsOf(Op::Clear).size();
        bars[bar]->bar()->triggerAction(up ? QAbstractSlider::SliderSingleStepSub
                                           : QAbstractSlider::SliderSingleStepAdd);
    });
    play(QStringLiteral("Pause@8 Draw"));
    QVERIFY(bars[bar]->value() == 0 && !bars[bar]->bar()->accessibleName().isEmpty());
    const plot::View& v = view();
    QCOMPARE(std::tuple(v.xMin, v.xMax, v.yMin, v.yMax, v.xInterval, v.yInterval),
             std::tuple(e.xMin, e.xMax, e.yMin, e.yMax, e.xInterval, e.yInterval));
    QCOMPARE(rec_.opsOf(Op::Clear).size(), clears + 1); // the axes drawn again
    QCOMPARE(passes(), 8u);                             // and the run went on
}

void tst_MainWindow::gesturesRedrawTheWholeRecord() {
    QWidget* plot = child("plot");
    double width = viewWidth();
    at(40, [&] { // a notch of the wheel zooms in, mid-run
        QWheelEvent e(QPointF(600, 200), plot->mapToGlobal(QPointF(600, 200)), {}, QPoint(0, 120),
                      Qt::NoButton, {}, Qt::NoScrollPhase, false);
        QApplication::sendEvent(plot, &e);
        QCOMPARE(viewWidth(), width * 0.8);
        expectWholeRecord();
    });
    at(60, [&] { // F fits the skid so far, mid-run
        QTest::keyClick(plot, Qt::Key_F);
        width = viewWidth();
        QVERIFY(width < 15);
        expectWholeRecord();
    });
    at(80, [&] { // a drag pans, the minus key zooms out
        const double left = view().xMin;
        QTest::mousePress(plot, Qt::LeftButton, {}, QPoint(500, 200));
        QTest::mouseMove(plot, QPoint(520, 200));
        QTest::mouseRelease(plot, Qt::LeftButton, {}, QPoint(520, 200));
        QVERIFY(view().xMin < left); // dragged right: the world left of it comes in
        QTest::keyClick(plot, Qt::Key_Minus);
        QCOMPARE(viewWidth(), width / 0.8);
        expectWholeRecord();
    });
    play(QStringLiteral("Pause@100 Draw"));
    QCOMPARE(passes(), 100u); // the run went on through every gesture
    const auto clears = rec_.opsOf(Op::Clear).size();
    w_->resize(w_->size() + QSize(120, 80));
    QTRY_COMPARE(rec_.opsOf(Op::Clear).size(), clears + 1);
    expectWholeRecord();
    scroll("scrZoom", 0)->bar()->triggerAction(QAbstractSlider::SliderSingleStepSub);
    QVERIFY(rec_.opsOf(Op::Dot).size() > 500 && rec_.ops.back().kind != Op::Dot); // cleared
    QTest::keyClick(w_.get(), Qt::Key_R, Qt::ControlModifier);
    expectWholeRecord();
    const auto legends = rec_.opsOf(Op::Legend).size();
    action("mnuLegend")->trigger(); // off: the record again without the legend
    QCOMPARE(rec_.opsOf(Op::Legend).size(), legends);
    expectWholeRecord();
}

void tst_MainWindow::theReadoutFollowsTheRecordToRest() {
    play(QStringLiteral("Pause@30 Draw"));
    const auto readout = [this] {
        return QString::fromStdString(model::readoutText(*model::readout(run().record())));
    };
    QLabel* readoutLabel = child<QLabel>("lblReadout");
    QCOMPARE(readoutLabel->text(), readout());
    QVERIFY(child<QLabel>("lblNote")->text().startsWith(QStringLiteral("Note:"))); // 2.7 times
    button("cmdPause")->click(); // on to rest: the run is over
    QTRY_COMPARE(run().phase(), Phase::AtRest);
    QVERIFY(readoutLabel->text().startsWith(QStringLiteral("At rest after 3.52 s")) &&
            readoutLabel->text() == readout());
    action("mnuRedraw")->trigger();
    expectWholeRecord();
    QTest::mouseMove(child("plot"), QPoint(700, 300));
    QVERIFY(child<QLabel>("lblCursor")->text().startsWith(QStringLiteral("x = ")));
}

void tst_MainWindow::realTimePacing() {
    // Whole milliseconds, halves to even, held within 1..65535.
    const std::pair<double, int> table[] = {{.0025, 2},   {.0035, 4},      {.0004, 1},
                                            {qQNaN(), 1}, {65.535, 65535}, {1e300, 65535}};
    for (const auto& [timeStep, ms] : table)
        QCOMPARE(RunController::pacingInterval(timeStep), ms);
    QTimer* timer2 = child<QTimer>("Timer2");
    for (const bool realTime : {true, false}) {
        w_->panel()->chkRealTime()->setChecked(realTime);
        at(3, [=, this] {
            QCOMPARE(timer2->isActive() ? timer2->interval() : -1, realTime ? 10 : 0);
            button("cmdPause")->click();
        });
        QSignalSpy ticks(timer2, &QTimer::timeout);
        play(QStringLiteral("Draw"));
        QVERIFY(!timer2->isActive());
        // Every pass steps a whole interval; a paced one waits for its own tick.
        QCOMPARE(run().body().time, 0.01 + 0.01 + 0.01);
        QCOMPARE(ticks.size(), 3);
    }
}

void tst_MainWindow::windowRunEqualsBatchRun_data() {
    QTest::addColumn<QString>("boxes");
    QTest::addColumn<bool>("autos"); // both "Auto Calculate" ticked
    QTest::newRow("other car, fast, right, coarse steps")
        << "0=7 1=2 2=4000 3=30 4=0.8 6=35 8=Right 13=2.5 18=0.3" << true;
    QTest::newRow("nothing calculated, sideways start")
        << "5=3000 7=40 11=-20 12=0.5 16=3 17=-4" << false;
}

void tst_MainWindow::windowRunEqualsBatchRun() {
    QFETCH(QString, boxes);
    QFETCH(bool, autos);
    BatchOptions options;
    options.autoNormal = options.autoInertia = autos;
    for (const QString& b : boxes.split(QLatin1Char(' ')))
        options.boxes.emplace_back(b.section(QLatin1Char('='), 0, 0).toInt(),
                                   b.section(QLatin1Char('='), 1).toStdString());
    play(boxes);
    w_->panel()->chkNormal()->setChecked(autos);
    w_->panel()->chkInertia()->setChecked(autos);
    play(QStringLiteral("Pause@400 Draw")); // unless the car comes to rest first
    options.passes = passes();
    BatchSkid skid;
    QVERIFY(!prepareBatchSkid(options, skid) && !runBatchSkid(options, skid.run, nullptr, {}));
    QVERIFY(std::memcmp(&run().body(), &skid.run.body(), sizeof(sim::Body)) == 0);
}

void tst_MainWindow::f1OpensTheGuide() {
    // With the window in the middle of the screen the guide opens centred on
    // it, with the window at the screen's corner still wholly on the screen;
    // Escape closes it.
    const QRect screen = w_->screen()->availableGeometry();
    for (const QPoint centre : {screen.center(), screen.bottomRight()}) {
        w_->move(w_->pos() + centre - w_->frameGeometry().center());
        w_->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w_.get()));
        QTest::keyClick(box(0), Qt::Key_F1); // from anywhere in the window
        QPointer<HelpWindow> guide = w_->findChild<HelpWindow*>();
        QTRY_VERIFY(guide && QApplication::activeWindow() == guide);
        QVERIFY(screen.contains(guide->frameGeometry()));
        if (centre == screen.center()) QCOMPARE(guide->frameGeometry().center(), centre);
        QTest::keyClick(guide->browser(), Qt::Key_Escape);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(guide.isNull());
    }
    // The page on the boxes names every box, in both forms of box 5.
    w_->showGuide(QStringLiteral("boxes.html"));
    const QString page = w_->findChild<HelpWindow*>()->browser()->toPlainText();
    for (int i = 0; i < model::kBoxCount * 2; ++i) {
        const std::string_view c = model::boxInfo(i / 2, model::InertiaForm(i % 2)).caption;
        QVERIFY2(page.contains(QString::fromUtf8(c.data(), c.size())), c.data());
    }
}

void tst_MainWindow::tyreMarksLieUnderEveryRedraw() {
    QTemporaryDir dir;
    QString file;
    w_->prompts().setFileHook([&](const QString&, const QString&, bool) { return file; });
    const auto import = [&](const char* name, const QByteArray& csv) {
        QFile f(file = dir.filePath(name));
        f.open(QIODevice::WriteOnly), f.write(csv), f.close();
        return w_->files().importMarks();
    };
    // Grey lines and dots since the plot was last cleared; -1 if one came after a trail's dot.
    const auto grey = [this] {
        long n = 0;
        bool trail = false;
        for (auto op = std::find_if(rec_.ops.rbegin(), rec_.ops.rend(),
                                    [](const Op& o) { return o.kind == Op::Clear; })
                           .base();
             op != rec_.ops.end(); ++op) {
            const bool g = (op->color == plot::markColor(sim::RL) ||
                            op->color == plot::markColor(sim::FR)) &&
                           op->kind != Op::Label && op->kind != Op::Text;
            if (g && trail) return -1L;
            n += g, trail |= op->kind == Op::Dot && !g;
        }
        return n;
    };
    QVERIFY(
        import("m.csv", "wheel,x,y\nRL,100,200\nRL,101,205\nRL,102,210\n\nFR,103,0\nFR,104,4\n"));
    const auto& marks = w_->document().file().marks;
    QVERIFY(w_->isWindowModified() && marks.size() == 2);
    QCOMPARE(grey(), 3 + 5); // a line between points, a dot at each
    play(QStringLiteral("Pause@30 Draw"));
    QCOMPARE(grey(), 8);
    w_->plotter().fitSkid(); // around the run and the marks
    QVERIFY(view().xMin < 0 && view().xMax > 104 && view().yMax > 210);
    QCOMPARE(grey(), 8);
    scroll("scrX", 0)->bar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    QCOMPARE(grey(), 8);
    QVERIFY(!import("bad.csv", "RL,1,2\nRL,1,x\n"));
    QCOMPARE(messages_.last(), file + ": line 2: \"y\" is not a number: \"x\".");
    QCOMPARE(marks.size(), 2u);
    action("mnuClearMarks")->trigger();
    QVERIFY(marks.empty() && grey() == 0);
}

void tst_MainWindow::aFitToMarksIsAppliedAndDrawn() {
    // The marks of the start-up skid, fitted with box 6 wrong.
    const auto p = model::prepareDraw(w_->panel()->texts(), {}, {});
    io::CaseFile withMarks = w_->document().file();
    withMarks.marks = model::runMarks(std::get<model::Prepared>(p).c, 1.0);
    w_->document().change(QStringLiteral("Import Tyre Marks"), withMarks);
    box(6)->setText("25");
    action("mnuFitMarks")->trigger();
    auto* d = w_->findChild<FitDialog*>();
    QSignalSpy came(d, &FitDialog::fitFinished);
    // Settings that cannot be used are named before any fit starts.
    const std::pair<QLineEdit*, const char*> refused[] = {
        {d->txtMuUncertainty(), "-0.05"}, {d->txtMuUncertainty(), "x"}, {d->txtSigma(), "0.0009"}};
    for (const auto& [field, text] : refused) {
        const QString before = field->text();
        field->setText(text);
        d->cmdFit()->click();
        QVERIFY(!d->fitting() &&
                d->lblSummary()->text().endsWith(QStringLiteral("not \"%1\".").arg(text)));
        QVERIFY(field->hasFocus() || field->selectedText() == text);
        field->setText(before);
    }
    d->cboUnknowns()->setCurrentIndex(2); // everything needs a mark that ends at rest
    d->chkEndsAtRest()->setChecked(false);
    d->cmdFit()->click();
    QVERIFY(came.wait());
    QVERIFY(!d->result()->refusal.empty() && !d->cmdApply()->isEnabled());
    const auto* need = d->findChild<QLabel*>("lblEndsAtRestNeeded"); // said beside the box
    QVERIFY(!need->isHidden());
    d->cboUnknowns()->setCurrentIndex(0);
    QVERIFY(need->isHidden());
    d->cmdFit()->click();
    QVERIFY(d->fitting() && !d->cmdFit()->isEnabled());
    QVERIFY(came.wait(60000) && d->cmdApply()->isEnabled());
    d->cmdApply()->click();
    QVERIFY(std::abs(box(6)->text().toDouble() - 20) < 0.05);
    QTRY_COMPARE(run().runCase().launch.velocity.y, box(6)->text().toDouble()); // drawn
    // Over every stated uncertainty: the draws' interval beside the marks' own, and the tornado.
    w_->document().setSpread(model::kFrictionBox, model::Spread{model::Shape::Normal, 0.9, 0.04});
    d->findChild<QComboBox*>("cboIntervals")->setCurrentIndex(1);
    auto* draws = d->findChild<QLineEdit*>("txtDraws");
    draws->setText("0");
    d->cmdFit()->click();
    QVERIFY(!d->fitting() && d->lblSummary()->text().endsWith("not \"0\"."));
    draws->setText("3");
    d->cmdFit()->click();
    QVERIFY(came.wait(60000));
    QCOMPARE(d->tblEstimates()->columnCount(), 7);
    QVERIFY(d->findChild<QWidget*>("sensitivityChart")->isVisibleTo(d));
    d->cmdFit()->click();
    d->cmdClose()->click(); // cancels the fit and waits for its thread
    QVERIFY(!d->fitting());
    QTRY_VERIFY(child<QLabel>("lblNote")->text().contains("Rest position good to about"));
}

void tst_MainWindow::monteCarloRunsToItsTableAndCloud() {
    w_->document().setSpread(model::kSpeedBox, model::Spread{model::Shape::Normal, 20, 1});
    action("mnuMonteCarlo")->trigger();
    auto* d = w_->findChild<MonteCarloDialog*>();
    QSignalSpy came(d, &MonteCarloDialog::runFinished);
    const auto cloudDots = [this] {
        return std::ranges::count_if(rec_.ops, [](const Op& op) {
            return op.kind == Op::Dot && op.color == plot::kCloudRestColor;
        });
    };
    d->findChild<QLineEdit*>("txtDraws")->setText("1000001"); // more than the window keeps
    d->findChild<QPushButton*>("cmdRun")->click();
    QVERIFY(!d->running());
    d->findChild<QLineEdit*>("txtDraws")->setText("30");
    d->findChild<QPushButton*>("cmdRun")->click();
    QVERIFY(d->running() && came.wait(60000));
    QVERIFY(!d->findChild<QTableWidget*>("tblResults")->item(2, 3)->text().isEmpty());
    QCOMPARE(w_->document().seed(), d->findChild<QLineEdit*>("txtSeed")->text().toULongLong());
    rec_.ops.clear();
    action("mnuRedraw")->trigger();
    QCOMPARE(cloudDots(), 30);
    // A report holds the draws the dialog has, and none while it runs.
    const auto report = [&] {
        return windowReport(w_->document().file(), w_->document(), {}, nullptr, d, {}).monteCarlo;
    };
    QVERIFY(report() && report()->run.draws.size() == 30);
    d->findChild<QLineEdit*>("txtDraws")->setText("100000");
    d->findChild<QPushButton*>("cmdRun")->click();
    QVERIFY(!report());
    d->findChild<QPushButton*>("cmdCancel")->click();
    QVERIFY(came.wait(60000) && !d->running() && d->results()->run.draws.size() == 30);
    d->findChild<QPushButton*>("cmdClearResults")->click();
    rec_.ops.clear();
    action("mnuRedraw")->trigger();
    QCOMPARE(cloudDots(), 0);
}

void tst_MainWindow::reportWritesAPdfAndPrintPreviewsIt() {
    QTemporaryDir dir;
    QString file = dir.filePath(QStringLiteral("case"));
    w_->prompts().setFileHook([&](const QString&, const QString&, bool) { return file; });
    action("mnuReport")->trigger();
    QFile pdf(file + QStringLiteral(".pdf"));
    QVERIFY(pdf.open(QIODevice::ReadOnly) && pdf.read(5) == "%PDF-");
    QVERIFY(messages_.isEmpty());
    file = dir.filePath(QStringLiteral("in-the-way.pdf")); // a folder in the way is named
    QVERIFY(QDir().mkdir(file));
    action("mnuReport")->trigger();
    QCOMPARE(messages_.size(), 1);
    QVERIFY(messages_.last().startsWith(file) && messages_.last().contains("folder"));
    // Print opens one preview of the pages, and the window goes on.
    action("mnuPrint")->trigger();
    auto* preview = w_->findChild<QPrintPreviewDialog*>(QStringLiteral("dlgPrintPreview"));
    QVERIFY(preview && preview->isVisible());
    action("mnuPrint")->trigger();
    QCOMPARE(w_->findChildren<QPrintPreviewDialog*>().size(), 1);
    QPointer<QPrintPreviewDialog> gone(preview);
    preview->reject();
    QTRY_VERIFY(gone.isNull());
    box(2)->setText("0"); // a case Draw refuses is named before any page is painted
    action("mnuPrint")->trigger();
    QVERIFY(messages_.last().contains("Vehicle Mass (kg)"));
    QVERIFY(!w_->findChild<QPrintPreviewDialog*>());
}

QTEST_MAIN(tst_MainWindow)
#include "tst_mainwindow.moc"

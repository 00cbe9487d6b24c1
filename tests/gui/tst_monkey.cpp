// SPDX-License-Identifier: MIT
// A monkey at the main window: seeded random gestures at buttons, check boxes,
// tabs, bars, boxes (junk texts too), Enter, Escape, the vehicle list, Options
// and Reset, the wheel, drags and keys on the plot, the View menu and resizes,
// tyre marks (a file, a bad one), the fit and Monte Carlo dialogs' controls,
// also between the passes of runs and while a real-time run waits. After each: the window answered
// (a watchdog), the run's and the view's numbers are finite, the bars rest at
// 0, the run buttons are the phase table's, the case document holds what the
// widgets show (every change went through Undo). Undo and Redo are gestures
// too. Then the window closes: no more pass.
// YAWMARK_MONKEY_SEED=n replays seed n (printed), YAWMARK_MONKEY_ACTIONS=n gestures.
#include "gui/CaseDocument.h"
#include "gui/FitDialog.h"
#include "gui/MainWindow.h"
#include "gui/MonteCarloDialog.h"
#include "gui/OptionsDialog.h"
#include "gui/ParameterPanel.h"
#include "gui/PlotController.h"
#include "gui/PlotWidget.h"
#include "gui/ReversedScrollBar.h"
#include "gui/RunController.h"
#include "model/Fit.h"

#include <QtTest>
#include <QtWidgets>

#include <atomic>
#include <chrono>
#include <cmath>
#include <random>
#include <thread>

using namespace yawmark;

namespace {

qulonglong envNumber(const char* name, qulonglong fallback) {
    const QByteArray v = qgetenv(name);
    return v.isEmpty() ? fallback : v.toULongLong();
}

long long nowMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

template <typename... T> bool finite(T... values) {
    return (std::isfinite(values) && ...);
}

// Texts for the boxes: sensible ones, and junk that no box may trip over.
const QStringList kTexts =
    QStringLiteral("1|2.5|10|17|20|0.5|1139|-10|400|0.0001||  |abc|nan|inf|-inf|1e999|-1e999|-0|"
                   "1,5|1e308|-1e308|4.9e-324|0x1A|+5| 7 |1e|.|-|Center|Left|Right|left|0|1e15")
        .split(QLatin1Char('|'))
    << QString(300, u'9') << QStringLiteral("-") + QString(299, u'7');

class Monkey {
public:
    Monkey(MainWindow& w, qulonglong seed, int total) : w_(w), dice_(seed), total_(total) {
        w_.setMessageHook([this](QWidget*, const QString&, const QString&) { ++messages; });
        QObject::connect(&w_.runs(), &RunController::passed, [this] { afterPass(); });
        // A real-time run waits for its ticks in the event loop: gestures come then too.
        QObject::connect(&waiting_, &QTimer::timeout, [this] {
            if (running() && done < total_ && failure.isEmpty()) gesture();
        });
        waiting_.start(2);
        // Every dialog of the File menu and the vehicles answered by the dice.
        const auto pick = [this](QStringList from) { return any(from); };
        QDir(folder_.path()).mkdir(QStringLiteral("dir"));
        // Marks the start-up skid leaves (a fit to them can be applied), and a bad file.
        const std::string marks = model::marksCsv(model::runMarks(model::startupCase(), 2));
        for (const auto& [name, csv] :
             {std::pair{"m.csv", marks.c_str()}, std::pair{"bad.csv", "RL,1,2\nFR,x,3\n"}}) {
            QFile f(path(name));
            f.open(QIODevice::WriteOnly), f.write(csv);
        }
        w_.prompts().setFileHook([this, pick](const QString& caption, const QString&, bool) {
            if (caption.contains("Marks")) return pick({"", path("m.csv"), path("bad.csv")});
            // A folder inside the temporary one: an export adds its suffix to the name.
            return pick({"", path("a.yawmark"), path("b"), path("none/c.yawmark"), path("dir")});
        });
        w_.prompts().setQuestionHook([this](const QString&) {
            return any(QList{QMessageBox::Save, QMessageBox::Discard, QMessageBox::Cancel});
        });
        w_.prompts().setTextHook([pick](const QString&, const QString& size) {
            return pick({size, "", "1x1", "300x2", "0x5", "abc", "99999x2", "-3x4"});
        });
        w_.panel()->setNameHook([pick](const QString&) {
            return pick({"", "Van", "McLaren F1", " "});
        });
        w_.panel()->setVehiclesFile(path("vehicles.json"));
    }
    ~Monkey() {
        stop_ = true;
        dog_.join();
    }

    // Gestures at the window, each followed by what the event loop has to do
    // (a slice of a run going on); more come between passes, made by afterPass.
    void run() {
        while (done < total_ && failure.isEmpty()) {
            gesture();
            QCoreApplication::processEvents();
            check();
        }
        close();
    }

    QString failure;
    int done = 0, messages = 0;
    qulonglong passes = 0;

private:
    bool running() const { return w_.runs().phase() == model::Phase::Running; }
    const model::Run& run_() const { return w_.runs().run(); }
    QAction* action(const char* name) const { return w_.findChild<QAction*>(name); }
    QPushButton* button(const char* name) const { return w_.findChild<QPushButton*>(name); }
    // The dialog of that kind that is open, if one is.
    template <typename D> D* shown() const {
        for (D* d : w_.findChildren<D*>())
            if (d->isVisible()) return d;
        return nullptr;
    }
    int below(qsizetype n) { return static_cast<int>(dice_() % static_cast<std::uint64_t>(n)); }
    template <typename T> T any(const QList<T>& list) { return list[below(list.size())]; }

    void fail(const QString& what) {
        if (failure.isEmpty())
            failure = QStringLiteral("gesture %1: %2\nlast gestures:\n  %3")
                          .arg(done)
                          .arg(what, recent_.join(QStringLiteral("\n  ")));
    }

    void afterPass() {
        ++passes;
        if (closed_) {
            fail(QStringLiteral("a pass after the window closed"));
            return w_.runs().stop();
        }
        const sim::Body& b = run_().body();
        const bool cameToRest =
            run_().phase() == model::Phase::AtRest && b.velocity == sim::Vec2{} && b.yawRate == 0;
        if (run_().phase() != model::Phase::Running && !cameToRest)
            fail(QStringLiteral("a pass, not running"));
        check();
        if (done >= total_ || !failure.isEmpty()) return close();
        if (--countdown_ <= 0) gesture();
    }

    void check() {
        const model::Case& c = run_().runCase();
        const sim::Body& b = run_().body();
        const plot::View& v = w_.plotter().view();
        if (!finite(c.car.length, c.car.width, c.car.mass, c.car.frontShare, c.car.inertia,
                    c.car.friction, c.car.gravity, c.car.turnRadius, c.car.frontSensitivity,
                    c.launch.velocity.x, c.launch.velocity.y, c.launch.heading, c.launch.yawRate,
                    c.launch.start.x, c.launch.start.y, c.run.timeStep, c.run.snapInterval,
                    c.style.pixelSize, b.position.x, b.position.y, b.velocity.x, b.velocity.y,
                    b.heading, b.yawRate, b.time, v.xMin, v.xMax, v.yMin, v.yMax, v.xInterval,
                    v.yInterval, v.pixelSize))
            fail(QStringLiteral("a number of the run or the view is not finite"));
        for (ReversedScrollBar* bar : w_.findChildren<ReversedScrollBar*>())
            if (bar->value() != 0) fail(bar->objectName() + QStringLiteral(" is not at rest"));
        // Every change of the user's hand reached the document, and undo showed it back.
        io::CaseFile shownCase = w_.panel()->caseFile();
        shownCase.autoSnapshot = w_.findChild<QCheckBox*>("chkSnap")->isChecked();
        shownCase.marks = w_.document().file().marks;
        shownCase.spreads = w_.document().file().spreads;
        if (!(shownCase == w_.document().file()))
            fail(QStringLiteral("the widgets show another case than the document holds"));
        if (w_.isWindowModified() != w_.document().isModified())
            fail(QStringLiteral("the title's * is not the document's modified state"));
        const model::RunButtons& t = model::runButtons(run_().phase());
        const QPushButton* buttons[] = {button("cmdDraw"), button("cmdSnap"), button("cmdPause"),
                                        button("cmdStop"), button("cmdClear")};
        const model::ButtonState states[] = {t.draw, t.snapshot, t.pause, t.stop, t.clear};
        for (int k = 0; k < 5; ++k)
            if (buttons[k]->isEnabledTo(&w_) != states[k].enabled ||
                (!states[k].caption.empty() &&
                 buttons[k]->text() !=
                     QLatin1String(states[k].caption.data(), states[k].caption.size())))
                fail(QStringLiteral("%1 does not show phase %2")
                         .arg(buttons[k]->objectName())
                         .arg(int(run_().phase())));
    }

    void note(const QString& what) {
        recent_ << QStringLiteral("%1: %2").arg(done).arg(what);
        if (recent_.size() > 10) recent_.removeFirst();
        beat_ = nowMs();
    }

    template <typename W> W* anyUsable(QWidget* root) {
        QList<W*> all = root->findChildren<W*>();
        // A button that pops up a menu would wait for a hand to close it.
        all.removeIf(
            [](W* x) { return !x->isVisible() || !x->isEnabled() || x->inherits("QToolButton"); });
        return all.isEmpty() ? nullptr : any(all);
    }

    void gesture() {
        ++done;
        countdown_ = below(10) < 7 ? 1 + below(5) : 1 + below(300);
        if (OptionsDialog* o = shown<OptionsDialog>()) return click(anyUsable<QAbstractButton>(o));
        if (FitDialog* f = shown<FitDialog>(); f && below(4) == 0)
            return click(anyUsable<QAbstractButton>(f));
        if (MonteCarloDialog* m = shown<MonteCarloDialog>(); m && below(4) == 0)
            return click(anyUsable<QAbstractButton>(m));
        switch (below(12)) {
        case 0:
        case 1:
            click(anyUsable<QAbstractButton>(&w_));
            break;
        case 2:
            if (QScrollBar* s = anyUsable<QScrollBar>(&w_)) {
                note(QStringLiteral("arrow or trough of ") + s->parentWidget()->objectName());
                s->triggerAction(QAbstractSlider::SliderAction(1 + below(4)));
            }
            break;
        case 3:
        case 4:
            if (QLineEdit* box = anyUsable<QLineEdit>(&w_)) {
                const QString text = any(kTexts);
                const bool enter = below(5) == 0;
                note(QStringLiteral("type \"%1\" into %2%3")
                         .arg(text.left(20), box->objectName(), enter ? " then Enter" : ""));
                box->setFocus();
                box->selectAll();
                QTest::keyClicks(box, text);
                if (enter) QTest::keyClick(box, Qt::Key_Return);
            }
            break;
        case 5: {
            QTabBar* tabs = w_.panel()->tabBar();
            note(QStringLiteral("a tab"));
            QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(below(3)).center());
            break;
        }
        case 6:
            if (QPushButton* b = any(QList<QPushButton*>{button("cmdSnap"), button("cmdPause"),
                                                         button("cmdStop"), button("cmdClear")});
                b->isEnabled()) {
                note(QStringLiteral("Escape on ") + b->objectName());
                QTest::keyClick(b, Qt::Key_Escape);
            }
            break;
        case 7: {
            FitDialog* fit = shown<FitDialog>();
            QComboBox* list = fit && below(2) ? fit->cboUnknowns() : w_.panel()->comVehicle();
            note(QStringLiteral("list ") + list->objectName());
            QTest::keyClick(list, below(2) ? Qt::Key_Up : Qt::Key_Down);
            break;
        }
        case 8:
            plotGesture();
            break;
        case 9: {
            QAction* a = action(any(QList<const char*>{
                "mnuNew", "mnuOpen", "mnuSave", "mnuSaveAs", "mnuExportImage", "mnuExportAnimation",
                "mnuExportTrajectory", "mnuCopy", "mnuImportMarks", "mnuClearMarks", "mnuFitMarks",
                "mnuMonteCarlo", "mnuSaveVehicle", "mnuRemoveVehicle", "mnuFit", "mnuFollow",
                "mnuPanel", "mnuMetric", "mnuUS", "mnuReport", "mnuPrint"}));
            note(QStringLiteral("menu ") + a->objectName());
            a->trigger();
            break;
        }
        case 10: {
            // Undo and Redo: the keys where the focus is (a box undoes its own
            // typing first), or the menu.
            const int how = below(4);
            note(QStringLiteral("undo or redo %1").arg(how));
            if (how < 2) {
                QWidget* to = QApplication::focusWidget() ? QApplication::focusWidget() : &w_;
                QTest::keyClick(to, Qt::Key_Z,
                                how ? Qt::ControlModifier | Qt::ShiftModifier
                                    : Qt::ControlModifier);
            } else {
                action(how == 2 ? "mnuUndo" : "mnuRedo")->trigger();
            }
            break;
        }
        default:
            QAction* a = action(below(2) ? "mnuOption" : "mnuReset");
            note(QStringLiteral("menu ") + a->text());
            a->trigger();
        }
    }

    void plotGesture() {
        QWidget* plot = w_.findChild<QWidget*>("plot");
        const QPoint at(below(plot->width() + 40) - 20, below(plot->height() + 40) - 20);
        const int what = below(6);
        note(QStringLiteral("plot gesture %1 at %2, %3").arg(what).arg(at.x()).arg(at.y()));
        if (what == 0) { // the wheel, a notch is 120
            QWheelEvent wheel(at, plot->mapToGlobal(at), {}, QPoint(0, below(1441) - 720),
                              Qt::NoButton, {}, Qt::NoScrollPhase, false);
            QApplication::sendEvent(plot, &wheel);
        } else if (what == 1) { // a drag
            QTest::mousePress(plot, Qt::LeftButton, {}, at);
            QTest::mouseMove(plot, at + QPoint(below(200) - 100, below(200) - 100));
            QTest::mouseRelease(plot, Qt::LeftButton, {}, at);
        } else if (what == 2) {
            QTest::keyClick(plot, any(QList{Qt::Key_Plus, Qt::Key_Minus, Qt::Key_Left,
                                            Qt::Key_Right, Qt::Key_Up, Qt::Key_Down}));
        } else if (what == 3) {
            QTest::mouseDClick(plot, Qt::LeftButton, {}, at);
        } else if (what == 4) {
            action(any(QList<const char*>{"mnuFit", "mnuRedraw", "mnuLegend"}))->trigger();
        } else {
            w_.resize(200 + below(1200), 200 + below(900));
        }
    }

    void click(QAbstractButton* b) {
        note(QStringLiteral("click ") + (b ? b->objectName() : QStringLiteral("nothing")));
        if (b) b->click();
    }

    QString path(const QString& name) const { return folder_.filePath(name); }

    void close() {
        if (std::exchange(closed_, true)) return;
        w_.prompts().setQuestionHook([](const QString&) { return QMessageBox::Discard; });
        note(QStringLiteral("close the window"));
        w_.close();
    }

    MainWindow& w_;
    std::mt19937_64 dice_; // the same sequence on every platform
    int total_, countdown_ = 0;
    bool closed_ = false;
    QTimer waiting_;
    QTemporaryDir folder_;
    QStringList recent_;
    // Aborts the program when no gesture has begun for 30 s: a hung window.
    std::atomic<long long> beat_{nowMs()};
    std::atomic<bool> stop_{false};
    std::thread dog_{[this] {
        while (!stop_) {
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
            if (nowMs() - beat_ > 30000) qFatal("the window hangs: no gesture for 30 s");
        }
    }};
};

} // namespace

class tst_Monkey : public QObject {
    Q_OBJECT
private slots:
    void randomGesturesKeepTheWindowSound();
};

void tst_Monkey::randomGesturesKeepTheWindowSound() {
    const qulonglong seed = envNumber("YAWMARK_MONKEY_SEED", std::random_device()() % 1000000007u);
    const int actions = static_cast<int>(envNumber("YAWMARK_MONKEY_ACTIONS", 10000));
    qInfo("monkey: seed %llu, %d gestures (replay: YAWMARK_MONKEY_SEED=%llu)", seed, actions, seed);
    MainWindow w;
    w.findChild<QTimer*>("Timer1")->stop(); // no splash
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    Monkey monkey(w, seed, actions);
    monkey.run();
    qInfo("monkey: %d gestures, %llu passes, %d messages", monkey.done, monkey.passes,
          monkey.messages);
    for (OptionsDialog* o : w.findChildren<OptionsDialog*>())
        o->close();
    QVERIFY2(
        monkey.failure.isEmpty(),
        qPrintable(monkey.failure + QStringLiteral("\nreplay: YAWMARK_MONKEY_SEED=%1").arg(seed)));
    QCOMPARE(monkey.done, actions);
    // Closed: not one more pass.
    const std::uint64_t passes = w.runs().passes();
    QTest::qWait(50);
    QVERIFY(!w.isVisible() && w.runs().passes() == passes);
}

QTEST_MAIN(tst_Monkey)
#include "tst_monkey.moc"

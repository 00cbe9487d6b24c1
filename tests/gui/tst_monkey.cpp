// A monkey at the real main window, offscreen: thousands of seeded random user
// gestures (clicks on any button, check box, option, tab or bar, arrows of
// spinners and of the pan and zoom bars included; keys; texts typed into the
// boxes and the vehicle list, nasty ones included; the vehicle list; the menus
// and the Options and About dialogs), with runs going, pausing and resuming in
// between. While a run goes, each gesture is made from a zero-time timer, so it
// is handled inside one of the loop's yields, as the user's are.
//
// After every gesture: the window answered (an in-thread bound between two
// gestures, and a watchdog thread that aborts a hung window), the run state
// and the parameters are finite, every bar is back at rest, the five run
// buttons show one row of the run-control table, and the row is the one the
// gesture leads to.
//
// The seed is printed. YAWMARK_MONKEY_SEED=n replays seed n (the same gestures
// in the same order, each after the same number of passes);
// YAWMARK_MONKEY_ACTIONS=n sets the number of gestures (10000 by default).
#include "gui/RunControl.h"
#include "gui/frmAbout.h"
#include "gui/frmGraph.h"
#include "gui/ParameterPanel.h"
#include "gui/ReversedScrollBar.h"
#include "gui/frmOption.h"
#include "sim/NumberText.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAction>
#include <QComboBox>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTabBar>
#include <QTimer>
#include <QtTest>

#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <thread>
#include <type_traits>

using namespace yawmark;

namespace {

// splitmix64: small, fast and the same on every platform and library.
class Dice {
public:
    explicit Dice(std::uint64_t seed) : s_(seed) {}
    std::uint64_t next() {
        std::uint64_t z = (s_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    int below(qsizetype n) { return static_cast<int>(next() % static_cast<std::uint64_t>(n)); }
    bool percent(int p) { return below(100) < p; }
    template <typename T> T pick(std::initializer_list<T> list) {
        return *(list.begin() + below(static_cast<int>(list.size())));
    }

private:
    std::uint64_t s_;
};

std::uint64_t envNumber(const char* name, std::uint64_t fallback) {
    const char* v = std::getenv(name);
    return v && *v ? std::strtoull(v, nullptr, 10) : fallback;
}

// The rows of the run-control table, and the moment between an interruption
// and the loop leaving (events queued in the same yield run there).
enum class Row { Idle, Running, Paused, Stopped, Leaving };
QString rowName(Row r) {
    return QString::fromLatin1(
        std::array{"Idle", "Running", "Paused", "Stopped", "Leaving"}[static_cast<int>(r)]);
}

// Every number in the values, arrays of arrays included, is finite.
template <typename T> bool allFinite(const T& v) {
    if constexpr (std::is_arithmetic_v<T>)
        return std::isfinite(v);
    else
        return std::all_of(v.begin(), v.end(), [](const auto& e) { return allFinite(e); });
}
// The name of the first value that holds a number that is not finite, or nothing.
template <typename... T> QString firstNonFinite(const char* names, const T&... values) {
    const QStringList name = QString::fromLatin1(names).split(QLatin1Char(','));
    int i = 0;
    QString bad;
    ((bad.isEmpty() && !allFinite(values) ? bad = name[i].trimmed() : bad, ++i), ...);
    return bad;
}
#define NON_FINITE(...) firstNonFinite(#__VA_ARGS__, __VA_ARGS__)

// Texts that no box should trip over.
QString nastyText(Dice& d) {
    // 300-character numbers: a huge one, a tiny one and a hugely negative one.
    if (const int r = d.below(6); r < 3)
        return QStringList{QString(300, u'9'), "0." + QString(297, u'0') + "1",
                           "-" + QString(299, u'7')}[r];
    return QString::fromUtf8(d.pick<const char*>(
        {"",       " ",        "   ",  "abc",          "x",        "1e999",  "-1e999", "-0",
         "nan",    "NaN",      "inf",  "-inf",         "Infinity", "1,5",    "1e308",  "-1e308",
         "1e-320", "4.9e-324", "0x1A", "+5",           " 7 ",      "12abc",  "1e",     ".",
         "-",      "--1",      "1e+",  "\u0661\u0662", "\u00bd",   "center", "CE",     "-1",
         "0",      "65536000", "1e15", "-1e15",        "1e-300"}));
}

// Types the text key by key, each key with its character, as a keyboard does.
void typeText(QWidget* w, const QString& text) {
    for (QChar c : text) {
        const Qt::Key k =
            c.unicode() < 128 ? QTest::asciiToKey(static_cast<char>(c.unicode())) : Qt::Key_unknown;
        QTest::sendKeyEvent(QTest::Click, w, k, QString(c), Qt::NoModifier);
    }
}

// Where a scroll bar's arrow is, as the style draws it.
QPoint arrowOf(QScrollBar* sb, bool start) {
    QStyleOptionSlider opt;
    opt.initFrom(sb);
    opt.orientation = sb->orientation();
    if (sb->orientation() == Qt::Horizontal) opt.state |= QStyle::State_Horizontal;
    const QRect r = sb->style()->subControlRect(
        QStyle::CC_ScrollBar, &opt,
        start ? QStyle::SC_ScrollBarSubLine : QStyle::SC_ScrollBarAddLine, sb);
    return r.isValid() ? r.center() : QPoint(1, 1);
}

// Aborts the program when the main thread has not started a gesture for too
// long: a hung window fails the test instead of stalling it.
class Watchdog {
public:
    Watchdog(unsigned long long seed, int seconds)
        : thread_([this, seed, seconds] {
              while (!stop_) {
                  std::this_thread::sleep_for(std::chrono::milliseconds(250));
                  if (now() - last_ <= seconds * 1000ll) continue;
                  std::fprintf(stderr,
                               "FAIL! the window hangs: no answer for %d s after gesture %d. "
                               "Replay with YAWMARK_MONKEY_SEED=%llu\n",
                               seconds, gesture_.load(), seed);
                  std::abort();
              }
          }) {}
    ~Watchdog() {
        stop_ = true;
        thread_.join();
    }
    void beat(int gesture) {
        gesture_ = gesture;
        last_ = now();
    }

private:
    static long long now() {
        return std::chrono::duration_cast<std::chrono::milliseconds>(
                   std::chrono::steady_clock::now().time_since_epoch())
            .count();
    }
    std::atomic<bool> stop_{false};
    std::atomic<int> gesture_{0};
    std::atomic<long long> last_{now()};
    std::thread thread_; // last: starts once the rest is set
};

class Monkey {
public:
    Monkey(frmGraph& w, unsigned long long seed, int actions)
        : w_(w), dice_(seed), seed_(seed), total_(actions),
          dog_(seed, static_cast<int>(envNumber("YAWMARK_MONKEY_WATCHDOG", 60))) {
        w_.setMessageHook([this](QWidget*, const QString& title, const QString& text) {
            ++messages;
            if (text.startsWith(QLatin1String("The run stopped"))) ++runFailures;
            if (text.trimmed().isEmpty()) fail(QStringLiteral("an empty message titled ") + title);
        });
        w_.runControl()->setPassHook([this](std::uint64_t) { afterPass(); });
        for (QLineEdit* e : w_.findChildren<QLineEdit*>())
            startText_[e] = e->text();
    }

    // Gestures until the count is reached or something fails, then the window
    // closes the way a user closes it, in whatever state it is.
    void run() {
        clock.start();
        sinceLast_.start();
        // Whatever ends a run (a gesture, or keys queued in a yield), the
        // monkey goes on from the idle window.
        QTimer kick;
        QObject::connect(&kick, &QTimer::timeout, &w_, [this] {
            if (!rc().running()) closed_ ? loop_.quit() : schedule();
        });
        kick.start(20);
        schedule();
        loop_.exec();
    }

    QString failure;
    QStringList recent;
    int done = 0, messages = 0, runFailures = 0;
    unsigned long long passes = 0;
    qint64 longestGap = 0;
    QElapsedTimer clock;

private:
    RunControl& rc() { return *w_.runControl(); }
    ParameterPanel& panel() { return *w_.panel(); }

    void fail(const QString& what) {
        if (failure.isEmpty())
            failure = QStringLiteral("seed %1, gesture %2 (%3): %4")
                          .arg(seed_)
                          .arg(done)
                          .arg(current_, what);
    }

    void schedule() {
        if (pending_) return;
        pending_ = true;
        QTimer::singleShot(0, &w_, [this] { fire(); });
    }

    void afterPass() {
        ++passes;
        if (closed_) fail(QStringLiteral("a pass ran after the window closed"));
        if (QString bad = nonFinite(); !bad.isEmpty()) fail(QStringLiteral("after a pass: ") + bad);
        if (--countdown_ <= 0) schedule();
    }

    void fire() {
        pending_ = false;
        const qint64 gap = sinceLast_.restart();
        longestGap = std::max(longestGap, gap);
        if (closed_) {
            if (!rc().running()) loop_.quit();
            return;
        }
        if (gap > 15000) fail(QStringLiteral("the window took %1 ms to answer").arg(gap));
        check();
        if (done >= total_ || !failure.isEmpty()) return closeWindow();
        ++done;
        act();
        if (!rc().running()) closed_ ? loop_.quit() : schedule();
    }

    // --- what must hold after every gesture ---------------------------------

    QString nonFinite() const {
        const Params& p = w_.params();
        const RunState& s = w_.state();
        QString bad =
            NON_FINITE(p.wheelbaseLength, p.wheelbaseWidth, p.vehicleMass, p.frontShare,
                       p.momentInertia, p.kineticFriction, p.initVx, p.initVy, p.turnRadius,
                       p.timeStep, p.nextSnapTime, p.snapInterval, p.pixelSize, p.frontSensitivity,
                       p.xMin, p.xMax, p.yMin, p.yMax, p.xInterval, p.yInterval, p.startX, p.startY,
                       s.simTime, s.cmX, s.cmY, s.cmVx, s.cmVy, s.cmAx, s.cmAy, s.heading, s.omega,
                       s.alpha, s.gravity, s.torque, s.cosHeading, s.sinHeading, s.totalForce,
                       s.corner, s.wheelVel, s.wheelForce, s.wheelFriction, s.wheelNormal);
        return bad.isEmpty() ? bad : bad + QStringLiteral(" is not finite");
    }

    // The row the buttons show; fails when they show none.
    Row shownRow() {
        const RunState& s = w_.state();
        const bool running = rc().running();
        if (running && s.stopRequested) return Row::Leaving;
        const Row row = running                                           ? Row::Running
                        : !s.paused                                       ? Row::Idle
                        : w_.cmdDraw()->text() == QLatin1String("ReDraw") ? Row::Paused
                                                                          : Row::Stopped;
        const bool idle = row == Row::Idle, interrupted = row == Row::Paused || row == Row::Stopped;
        // Each button: whether it is enabled, whether it should be, what it reads and should read.
        const struct {
            QPushButton* b;
            bool on;
            QString text;
        } table[] = {
            {w_.cmdDraw(), !running, row == Row::Paused ? "ReDraw" : "Draw"},
            {w_.cmdPause(), !idle, interrupted ? "Resume" : "Pause"},
            {w_.cmdStop(), !idle, {}},
            {w_.cmdSnap(), !idle, {}},
            {w_.cmdClear(), !running, {}},
        };
        QStringList wrong;
        for (const auto& [b, on, text] : table) {
            if (b->isEnabledTo(&w_) != on)
                wrong << b->objectName() +
                             (on ? QStringLiteral(" disabled") : QStringLiteral(" enabled"));
            if (!text.isEmpty() && b->text() != text)
                wrong << b->objectName() + " reads " + b->text();
        }
        if (!wrong.isEmpty())
            fail(QStringLiteral("the buttons match no row for %1: ").arg(rowName(row)) +
                 wrong.join(QStringLiteral(", ")));
        return row;
    }

    void check() {
        if (QString bad = nonFinite(); !bad.isEmpty()) fail(bad);
        for (ReversedScrollBar* bar : w_.findChildren<ReversedScrollBar*>())
            if (bar->value() != 0)
                fail(QStringLiteral("%1 rests at %2").arg(bar->objectName()).arg(bar->value()));
        const Row row = shownRow();
        if (expected_ && rowBefore_ != Row::Leaving && row != Row::Leaving && row != *expected_) {
            // A run may end by itself (its numbers would stop being finite): then
            // the window is back at Idle and has said so.
            const bool failedRun = runFailures > failuresBefore_ && row == Row::Idle;
            const bool refused = refusable_ && messages > messagesBefore_ && row == rowBefore_;
            // A negative time step runs one pass backwards; the run then ends as Stop ends it.
            const bool endedByItself =
                *expected_ == Row::Running && row == Row::Stopped && w_.state().simTime < 0;
            if (!failedRun && !refused && !endedByItself)
                fail(QStringLiteral("%1 -> %2, the table says %3")
                         .arg(rowName(rowBefore_), rowName(row), rowName(*expected_)));
        }
        if (focusOnSnap_ && row == Row::Running && w_.focusWidget() != w_.cmdSnap())
            fail(QStringLiteral("a run began without the focus on SnapShot"));
        rowBefore_ = row;
    }

    // --- the gestures -------------------------------------------------------

    void note(const QString& what) {
        current_ = what;
        recent << QStringLiteral("\n  %1: %2 [%3]").arg(done).arg(what, rowName(rowBefore_));
        if (recent.size() > 12) recent.removeFirst();
        dog_.beat(done);
    }

    // A visible widget of type W in the window of root (enabled or not, as a
    // user's pointer finds them), or nothing.
    template <typename W> W* any(QWidget* root) {
        QList<W*> all = root->findChildren<W*>();
        all.removeIf([root](W* w) { return !w->isVisible() || w->window() != root->window(); });
        return all.isEmpty() ? nullptr : all[dice_.below(all.size())];
    }

    void click(QWidget* widget, QPoint at = {}) {
        if (!widget) return note(QStringLiteral("nothing to click"));
        note(QStringLiteral("click %1 %2")
                 .arg(QLatin1String(widget->metaObject()->className()),
                      widget->objectName().isEmpty() ? widget->property("text").toString()
                                                     : widget->objectName()));
        QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier,
                          at.isNull() ? widget->rect().center() : at);
    }

    void act() {
        expected_ = rowBefore_; // most gestures leave the run as it is
        refusable_ = false;
        messagesBefore_ = messages;
        failuresBefore_ = runFailures;
        const bool inRun = rc().running();
        countdown_ = dice_.percent(60)   ? 1 + dice_.below(5)
                     : dice_.percent(75) ? 6 + dice_.below(35)
                                         : 41 + dice_.below(260);
        if (burstLeft_ > 0) {
            escape();
            --burstLeft_;
        } else if (QWidget* popup = QApplication::activePopupWidget()) {
            answerPopup(popup);
        } else if (frmOption* o = frmOption::existing(); o && dice_.percent(85)) {
            if (dice_.percent(90)) {
                clickButton(o);
            } else {
                note(QStringLiteral("Options: close box"));
                o->close();
            }
        } else if (frmAbout* a = frmAbout::existing(); a && a->isVisible() && dice_.percent(40)) {
            if (dice_.percent(75)) {
                clickButton(a);
            } else {
                note(QStringLiteral("About: Escape"));
                QTest::keyClick(a, Qt::Key_Escape);
            }
        } else {
            // The gestures at the main window, each with its weight.
            using Gesture = void (Monkey::*)();
            static constexpr std::pair<int, Gesture> kGestures[] = {
                {26, &Monkey::clickMainButton}, {14, &Monkey::key},     {20, &Monkey::typeIntoBox},
                {20, &Monkey::clickBar},        {6, &Monkey::clickTab}, {2, &Monkey::vehicleList},
                {3, &Monkey::escapeBurst},      {9, &Monkey::menu},
            };
            int r = dice_.below(100);
            for (const auto& [weight, gesture] : kGestures)
                if ((r -= weight) < 0) {
                    (this->*gesture)();
                    break;
                }
        }
        // A gesture that begins a run from outside one leaves the focus on SnapShot.
        focusOnSnap_ = !inRun && expected_ == Row::Running;
    }

    void clickMainButton() { clickButton(&w_); }

    // Any button, check box or option; a run button leads to its row of the table.
    void clickButton(QWidget* root) {
        QAbstractButton* b = any<QAbstractButton>(root);
        if (b && b->isEnabled()) {
            const Row before = rowBefore_;
            if (b == w_.cmdDraw()) {
                expected_ = Row::Running;
                refusable_ = true;
            } else if (b == w_.cmdPause()) {
                expected_ = before == Row::Running ? Row::Paused : Row::Running;
                refusable_ = before != Row::Running;
            } else if (b == w_.cmdStop() && before == Row::Running) {
                expected_ = Row::Stopped;
            }
        }
        // SnapShot's right part lies under "Auto": a user clicks a button's left part.
        click(b, b && qobject_cast<QPushButton*>(b) ? QPoint(b->width() / 5, b->height() / 2)
                                                    : QPoint());
    }

    QWidget* focused() {
        QWidget* f = w_.focusWidget();
        return f && f->isVisible() ? f : &w_;
    }

    void key() {
        static constexpr Qt::Key kKeys[] = {
            Qt::Key_Escape, Qt::Key_Escape, Qt::Key_Escape, Qt::Key_Escape, Qt::Key_Escape,
            Qt::Key_Return, Qt::Key_Return, Qt::Key_Return, Qt::Key_Space,  Qt::Key_Space,
            Qt::Key_Space,  Qt::Key_0,      Qt::Key_0,      Qt::Key_A,      Qt::Key_Up,
            Qt::Key_Down,   Qt::Key_Tab,    Qt::Key_Backtab};
        Qt::Key k = kKeys[dice_.below(std::size(kKeys))];
        if (k == Qt::Key_Escape) return escape();
        if (k == Qt::Key_0 || k == Qt::Key_A)
            k = Qt::Key(k + dice_.below(k == Qt::Key_0 ? 10 : 26));
        QWidget* f = focused();
        expected_.reset(); // Enter and Space may press whatever button they reach
        note(QStringLiteral("key %1 on %2").arg(QKeySequence(k).toString(), f->objectName()));
        QTest::keyClick(f, k);
    }

    // Escape on SnapShot, Pause, Stop or Clear presses Pause.
    void escape() {
        QWidget* f = focused();
        expected_.reset();
        if (burstLeft_ > 0) {
            countdown_ = 1; // a held key repeats in the next yield
        } else if ((f == w_.cmdSnap() || f == w_.cmdPause() || f == w_.cmdStop() ||
                    f == w_.cmdClear()) &&
                   w_.isEnabled() && w_.cmdPause()->isEnabled()) {
            expected_ = rowBefore_ == Row::Running ? Row::Paused : Row::Running;
            refusable_ = rowBefore_ != Row::Running;
        }
        note(QStringLiteral("Escape on %1").arg(f->objectName()));
        QTest::keyClick(f, Qt::Key_Escape);
    }

    // Escape held down: the key repeats, one press in each of the next yields.
    void escapeBurst() {
        burstLeft_ = 1 + dice_.below(4);
        escape();
    }

    void clickTab() {
        QTabBar* bar = any<QTabBar>(&w_);
        const int i = bar ? dice_.below(bar->count()) : 0;
        click(bar, bar ? bar->tabRect(i).center() : QPoint());
    }

    // A sensible number near what the box showed at start-up, or a word it may hold.
    QString sensible(QLineEdit* box) {
        const QString start = startText_.value(box);
        if (auto v = parseNumber(start.toStdString()); v && dice_.percent(70))
            return QString::fromStdString(
                formatNumber(*v * dice_.pick({1.0, 0.5, 2.0, 0.1, 3.0, -1.0})));
        return dice_.percent(50) ? start
                                 : QString::fromLatin1(dice_.pick<const char*>(
                                       {"Left", "Right", "Center", "Custom", "McLaren F1", "17"}));
    }

    void typeIntoBox() {
        QLineEdit* box = any<QLineEdit>(&w_);
        if (!box) return note(QStringLiteral("no box"));
        QString text;
        const int r = dice_.below(100);
        // The classic mistakes, each in the box it hurts: a negative time step,
        // no mass, a turning radius below the limit, no pixel size.
        const std::pair<int, const char*> mistake =
            dice_.pick<std::pair<int, const char*>>({{13, "-10"}, {2, "0"}, {9, "0.5"}, {15, "0"}});
        if (r < 15 && panel().txtInput(mistake.first)->isVisible()) {
            box = panel().txtInput(mistake.first);
            text = QString::fromLatin1(mistake.second);
        } else {
            text = r < 60 ? sensible(box) : nastyText(dice_);
        }
        const bool replace = dice_.percent(80);
        const int after = dice_.below(10); // 0..2 Enter, 3 Tab, else nothing
        if (after < 3) expected_.reset();  // Enter presses Draw
        note(QStringLiteral("type \"%1\" into %2%3 then %4")
                 .arg(text.left(40), box->objectName(),
                      replace ? QString() : QStringLiteral(" (appended)"))
                 .arg(after < 3    ? "Enter"
                      : after == 3 ? "Tab"
                                   : "nothing"));
        QTest::mouseClick(box, Qt::LeftButton, Qt::NoModifier, box->rect().center());
        if (!box->hasFocus() && !box->isEnabled()) return; // box 9 with "Center"
        QTest::keyClick(box, replace ? Qt::Key_A : Qt::Key_End,
                        replace ? Qt::ControlModifier : Qt::NoModifier);
        typeText(box, text);
        if (after <= 3) QTest::keyClick(box, after < 3 ? Qt::Key_Return : Qt::Key_Tab);
    }

    // A spinner or a pan or zoom bar: one of its arrows, or anywhere along it.
    void clickBar() {
        QScrollBar* sb = any<QScrollBar>(&w_);
        if (!sb || dice_.percent(80))
            return click(sb, sb ? arrowOf(sb, dice_.percent(50)) : QPoint());
        click(sb, sb->orientation() == Qt::Vertical
                      ? QPoint(sb->width() / 2, dice_.below(std::max(1, sb->height())))
                      : QPoint(dice_.below(std::max(1, sb->width())), sb->height() / 2));
    }

    void vehicleList() {
        QComboBox* combo = any<QComboBox>(&w_);
        if (!combo || !combo->isEnabled()) return note(QStringLiteral("no vehicle list"));
        note(QStringLiteral("vehicle list"));
        if (dice_.percent(60)) {
            combo->setFocus(Qt::MouseFocusReason);
            combo->showPopup();
        } else {
            combo->setFocus(Qt::TabFocusReason);
            QTest::keyClick(combo, dice_.percent(50) ? Qt::Key_Up : Qt::Key_Down);
        }
    }

    void answerPopup(QWidget* popup) {
        auto* view = popup->findChild<QAbstractItemView*>();
        if (view && view->model() && view->model()->rowCount() > 0 && dice_.percent(70)) {
            const QModelIndex entry =
                view->model()->index(dice_.below(view->model()->rowCount()), 0);
            click(view->viewport(), view->visualRect(entry).center());
        } else {
            note(QStringLiteral("Escape on a popup"));
            QTest::keyClick(popup, Qt::Key_Escape);
        }
        // A popup that is still open is closed as a user would, by clicking elsewhere.
        if (QWidget* still = QApplication::activePopupWidget(); still && dice_.percent(50))
            still->close();
    }

    // Tools > Reset All Variables, Tools > Options, Help > About.
    void menu() {
        QAction* action = dice_.pick(
            {w_.mnuReset(), w_.mnuReset(), w_.mnuOption(), w_.mnuOption(), w_.mnuAbout()});
        note(QStringLiteral("menu ") + action->text());
        // The menu bar takes no input while the window is disabled.
        if (!w_.isEnabled() || !action->isEnabled()) return;
        action->trigger();
        if (frmAbout* a = frmAbout::existing()) a->setStartSysInfo([] {});
    }

    // The end of the session: the close box or File > Exit, in whatever state.
    void closeWindow() {
        note(QStringLiteral("close the window while ") + rowName(rowBefore_));
        closed_ = true;
        dice_.percent(50) ? (void)w_.close() : w_.mnuExit()->trigger();
        if (!w_.closing()) fail(QStringLiteral("the window did not end the program"));
        if (!rc().running()) loop_.quit();
    }

    frmGraph& w_;
    Dice dice_;
    unsigned long long seed_;
    int total_;
    Watchdog dog_;
    QEventLoop loop_;
    QElapsedTimer sinceLast_;
    QHash<QLineEdit*, QString> startText_;
    bool pending_ = false, closed_ = false;
    int countdown_ = 0, messagesBefore_ = 0, failuresBefore_ = 0;
    Row rowBefore_ = Row::Idle;
    std::optional<Row> expected_;
    int burstLeft_ = 0;        // Escape presses still to come from a held key
    bool refusable_ = false;   // a message may refuse the gesture, leaving the row as it was
    bool focusOnSnap_ = false; // the gesture began a run
    QString current_;
};

// Clicks on labels, frames and disabled controls go unanswered, as they do
// for a user; Qt's test library would warn about each one.
QtMessageHandler previousHandler = nullptr;
void quietHandler(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    // The offscreen platform cannot raise windows or grab the keyboard; it says so each time.
    if (type == QtWarningMsg && (text.contains(QLatin1String("not accepted by receiving widget")) ||
                                 text.startsWith(QLatin1String("This plugin does not support"))))
        return;
    previousHandler(type, context, text);
}

} // namespace

class tst_Monkey : public QObject {
    Q_OBJECT
private slots:
    void randomGesturesKeepTheWindowSound();
};

void tst_Monkey::randomGesturesKeepTheWindowSound() {
    const unsigned long long seed =
        envNumber("YAWMARK_MONKEY_SEED",
                  std::chrono::system_clock::now().time_since_epoch().count() % 1000000007);
    const int actions = static_cast<int>(envNumber("YAWMARK_MONKEY_ACTIONS", 10000));
    std::printf("monkey: seed %llu, %d gestures (replay: YAWMARK_MONKEY_SEED=%llu)\n", seed,
                actions, seed);
    std::fflush(stdout);

    previousHandler = qInstallMessageHandler(quietHandler);
    auto restore = qScopeGuard([] { qInstallMessageHandler(previousHandler); });
    frmGraph w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    Monkey monkey(w, seed, actions);
    monkey.run();

    std::printf(
        "monkey: %d gestures, %llu passes, %d messages (%d runs ended as no longer finite), "
        "%lld ms, longest wait between gestures %lld ms\n",
        monkey.done, monkey.passes, monkey.messages, monkey.runFailures,
        static_cast<long long>(monkey.clock.elapsed()), static_cast<long long>(monkey.longestGap));
    if (frmAbout* a = frmAbout::existing()) a->reject();
    if (frmOption* o = frmOption::existing()) o->close();
    QVERIFY2(monkey.failure.isEmpty(),
             qPrintable(monkey.failure + QStringLiteral("\nlast gestures:") +
                        monkey.recent.join(QString()) +
                        QStringLiteral("\nreplay: YAWMARK_MONKEY_SEED=%1").arg(seed)));
    QCOMPARE(monkey.done, actions);
    QVERIFY(!w.runControl()->running());
}

QTEST_MAIN(tst_Monkey)
#include "tst_monkey.moc"

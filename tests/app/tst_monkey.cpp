// A monkey at the real main window, offscreen: thousands of seeded random user
// gestures (mouse clicks on buttons, check boxes, tabs, spinners and the pan
// and zoom bars; keys; texts typed into the boxes, nasty ones included; the
// vehicle list; the menus and the Options and About dialogs), with runs
// going, pausing and resuming in between. While a run goes, each gesture is
// made from a zero-time timer, so it is handled inside one of the loop's
// yields, as the user's are.
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
#include "app/RunControl.h"
#include "app/frmAbout.h"
#include "app/frmGraph.h"
#include "panel/ParameterPanel.h"
#include "panel/ReversedScrollBar.h"
#include "panel/Spinner.h"
#include "panel/frmOption.h"

#include <QAbstractItemView>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTabBar>
#include <QTimer>
#include <QtTest>

#include <atomic>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <mutex>
#include <string>
#include <thread>

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
    int below(int n) { return static_cast<int>(next() % static_cast<std::uint64_t>(n)); }
    bool percent(int p) { return below(100) < p; }
    template <typename T> const T& pick(std::initializer_list<T> list) {
        return *(list.begin() + below(static_cast<int>(list.size())));
    }

private:
    std::uint64_t s_;
};

std::uint64_t envNumber(const char* name, std::uint64_t fallback) {
    const char* v = std::getenv(name);
    if (!v || !*v) return fallback;
    return std::strtoull(v, nullptr, 10);
}

// The rows of the run-control table, and the moment between an interruption
// and the loop leaving (events queued in the same yield run there).
enum class Row { Idle, Running, Paused, Stopped, Leaving };

const char* rowName(Row r) {
    switch (r) {
    case Row::Idle:
        return "Idle";
    case Row::Running:
        return "Running";
    case Row::Paused:
        return "Paused";
    case Row::Stopped:
        return "Stopped";
    case Row::Leaving:
        return "Leaving";
    }
    return "?";
}

// Texts a user may well type into a box, box by box.
const std::array<std::initializer_list<const char*>, ParameterPanel::kBoxCount> kSensible{{
    {"4.29", "3", "7", "2.5"},
    {"1.82", "2", "1.5"},
    {"1139", "4000", "800"},
    {"58.8", "30", "50", "100", "0"},
    {"0.9", "0.5", "1", "0.2"},
    {"2061", "3000", "1.3"},
    {"20", "10", "35", "5"},
    {"0", "10", "-30", "90"},
    {"Left", "Right", "Center"},
    {"17", "30", "50"},
    {"9.8", "1.6"},
    {"0", "5", "-10"},
    {"-0.187", "0", "0.5"},
    {"10", "5", "20", "1"},
    {"400", "1000"},
    {"1", "2", "3"},
    {"0", "5", "-5"},
    {"0", "10"},
    {"0.0001", "0", "0.5", "1"},
}};

// Texts that no box should trip over.
QString nastyText(Dice& d) {
    switch (d.below(6)) {
    case 0:
        return QString(300, QLatin1Char('9'));
    case 1:
        return QStringLiteral("0.") + QString(297, QLatin1Char('0')) + QStringLiteral("1");
    case 2:
        return QStringLiteral("-") + QString(299, QLatin1Char('7'));
    default:
        break;
    }
    return QString::fromUtf8(d.pick<const char*>(
        {"",       " ",        "   ",  "abc",          "x",        "1e999",  "-1e999", "-0",
         "nan",    "NaN",      "inf",  "-inf",         "Infinity", "1,5",    "1e308",  "-1e308",
         "1e-320", "4.9e-324", "0x1A", "+5",           " 7 ",      "12abc",  "1e",     ".",
         "-",      "--1",      "1e+",  "\u0661\u0662", "\u00bd",   "center", "CE",     "-1",
         "0",      "65536000", "1e15", "-1e15",        "1e-300"}));
}

// The key behind a typed character, so that widgets which look at the key see one.
Qt::Key keyOf(QChar c) {
    const char16_t u = c.unicode();
    if (u >= '0' && u <= '9') return static_cast<Qt::Key>(Qt::Key_0 + (u - '0'));
    if (u >= 'a' && u <= 'z') return static_cast<Qt::Key>(Qt::Key_A + (u - 'a'));
    if (u >= 'A' && u <= 'Z') return static_cast<Qt::Key>(Qt::Key_A + (u - 'A'));
    switch (u) {
    case '-':
        return Qt::Key_Minus;
    case '+':
        return Qt::Key_Plus;
    case '.':
        return Qt::Key_Period;
    case ',':
        return Qt::Key_Comma;
    case ' ':
        return Qt::Key_Space;
    default:
        return Qt::Key_unknown;
    }
}

void typeText(QWidget* w, const QString& text) {
    for (QChar c : text)
        QTest::sendKeyEvent(QTest::Click, w, keyOf(c), QString(c), Qt::NoModifier);
}

// The place of one of a scroll bar's parts, as the style draws it.
QPoint partOf(QScrollBar* sb, QStyle::SubControl part) {
    QStyleOptionSlider opt;
    opt.initFrom(sb);
    opt.subControls = QStyle::SC_All;
    opt.orientation = sb->orientation();
    opt.minimum = sb->minimum();
    opt.maximum = sb->maximum();
    opt.sliderPosition = sb->sliderPosition();
    opt.sliderValue = sb->value();
    opt.singleStep = sb->singleStep();
    opt.pageStep = sb->pageStep();
    opt.upsideDown = sb->invertedAppearance();
    if (sb->orientation() == Qt::Horizontal) opt.state |= QStyle::State_Horizontal;
    const QRect r = sb->style()->subControlRect(QStyle::CC_ScrollBar, &opt, part, sb);
    if (r.isValid()) return r.center();
    const bool start = part == QStyle::SC_ScrollBarSubLine;
    return sb->orientation() == Qt::Vertical
               ? QPoint(sb->width() / 2, start ? 1 : sb->height() - 2)
               : QPoint(start ? 1 : sb->width() - 2, sb->height() / 2);
}

// Aborts the program when the main thread has not started a gesture for too long:
// a hung window fails the test instead of stalling it.
class Watchdog {
public:
    Watchdog(std::uint64_t seed, int limitSeconds) : seed_(seed), limit_(limitSeconds) {
        if (const char* v = std::getenv("YAWMARK_MONKEY_WATCHDOG")) limit_ = std::atoi(v);
        beat("start");
        thread_ = std::thread([this] { watch(); });
    }
    ~Watchdog() {
        {
            std::lock_guard lock(m_);
            stop_ = true;
        }
        cv_.notify_all();
        thread_.join();
    }
    std::atomic<std::uint64_t> passes{0};
    void beat(const std::string& what) {
        std::lock_guard lock(m_);
        last_ = std::chrono::steady_clock::now();
        what_ = what;
    }

private:
    void watch() {
        std::unique_lock lock(m_);
        while (!cv_.wait_for(lock, std::chrono::milliseconds(250), [this] { return stop_; })) {
            if (std::chrono::steady_clock::now() - last_ > std::chrono::seconds(limit_)) {
                std::fprintf(stderr,
                             "FAIL! monkey seed %llu: no answer for %d s after \"%s\" (%llu passes "
                             "so far): the window hangs. Replay with YAWMARK_MONKEY_SEED=%llu\n",
                             static_cast<unsigned long long>(seed_), limit_, what_.c_str(),
                             static_cast<unsigned long long>(passes.load()),
                             static_cast<unsigned long long>(seed_));
                std::fflush(stderr);
                std::abort();
            }
        }
    }
    std::uint64_t seed_;
    int limit_;
    std::mutex m_;
    std::condition_variable cv_;
    bool stop_ = false;
    std::chrono::steady_clock::time_point last_;
    std::string what_;
    std::thread thread_;
};

class Monkey {
public:
    Monkey(frmGraph& w, std::uint64_t seed, int actions)
        : w_(w), dice_(seed), seed_(seed), total_(actions), dog_(seed, 60) {
        w_.setMessageHook([this](QWidget*, const QString& title, const QString& text) {
            ++messages_;
            if (text.startsWith(QLatin1String("The run stopped"))) ++runFailures_;
            if (text.trimmed().isEmpty()) fail(QStringLiteral("an empty message titled ") + title);
        });
        w_.runControl()->setPassHook([this](std::uint64_t) { afterPass(); });
    }

    // Gestures until the count is reached or something fails, then the window
    // closes the way a user closes it, in whatever state it is.
    void run() {
        clock_.start();
        sinceLast_.start();
        // Whatever ends a run (a gesture, or keys queued in a yield), the
        // monkey goes on from the idle window.
        QTimer kick;
        QObject::connect(&kick, &QTimer::timeout, &w_, [this] {
            if (rc().running()) return;
            if (closed_)
                loop_.quit();
            else
                schedule();
        });
        kick.start(20);
        schedule();
        loop_.exec();
    }

    QString failure() const { return failure_; }
    int done() const { return done_; }
    int messages() const { return messages_; }
    int runFailures() const { return runFailures_; }
    std::uint64_t passes() const { return passes_; }
    qint64 longestGapMs() const { return longestGap_; }
    qint64 elapsedMs() const { return clock_.elapsed(); }
    QString recent() const { return recent_.join(QStringLiteral("\n  ")); }

private:
    RunControl& rc() { return *w_.runControl(); }
    ParameterPanel& panel() { return *w_.panel(); }

    void fail(const QString& what) {
        if (failure_.isEmpty())
            failure_ = QStringLiteral("seed %1, gesture %2 (%3): %4")
                           .arg(seed_)
                           .arg(done_)
                           .arg(current_, what);
    }

    void schedule() {
        if (pending_) return;
        pending_ = true;
        QTimer::singleShot(0, &w_, [this] { fire(); });
    }

    void afterPass() {
        ++passes_;
        dog_.passes.store(passes_);
        if (closed_) fail(QStringLiteral("a pass ran after the window closed"));
        if (QString bad = nonFinite(); !bad.isEmpty()) fail(QStringLiteral("after a pass: ") + bad);
        if (--countdown_ <= 0) schedule();
    }

    void fire() {
        pending_ = false;
        const qint64 gap = sinceLast_.restart();
        longestGap_ = std::max(longestGap_, gap);
        if (gap > 15000 && !closed_)
            fail(QStringLiteral("the window took %1 ms to answer").arg(gap));
        if (!closed_) check();
        if (closed_) {
            if (!rc().running()) loop_.quit();
            return;
        }
        if (done_ >= total_ || !failure_.isEmpty()) {
            closeWindow();
            return;
        }
        ++done_;
        act();
        if (!rc().running()) {
            if (closed_)
                loop_.quit();
            else
                schedule();
        }
    }

    // --- what must hold after every gesture ---------------------------------

    QString nonFinite() const {
        const Params& p = w_.params();
        const RunState& s = w_.state();
        const std::pair<const char*, double> numbers[] = {
            {"wheelbaseLength", p.wheelbaseLength},
            {"wheelbaseWidth", p.wheelbaseWidth},
            {"vehicleMass", p.vehicleMass},
            {"frontShare", p.frontShare},
            {"momentInertia", p.momentInertia},
            {"kineticFriction", p.kineticFriction},
            {"initVx", p.initVx},
            {"initVy", p.initVy},
            {"turnRadius", p.turnRadius},
            {"timeStep", p.timeStep},
            {"nextSnapTime", p.nextSnapTime},
            {"snapInterval", p.snapInterval},
            {"pixelSize", p.pixelSize},
            {"frontSensitivity", p.frontSensitivity},
            {"xMin", p.xMin},
            {"xMax", p.xMax},
            {"yMin", p.yMin},
            {"yMax", p.yMax},
            {"xInterval", p.xInterval},
            {"yInterval", p.yInterval},
            {"startX", p.startX},
            {"startY", p.startY},
            {"simTime", s.simTime},
            {"cmX", s.cmX},
            {"cmY", s.cmY},
            {"cmVx", s.cmVx},
            {"cmVy", s.cmVy},
            {"cmAx", s.cmAx},
            {"cmAy", s.cmAy},
            {"heading", s.heading},
            {"omega", s.omega},
            {"alpha", s.alpha},
            {"gravity", s.gravity},
            {"torque", s.torque},
            {"cosHeading", s.cosHeading},
            {"sinHeading", s.sinHeading},
            {"totalForce x", s.totalForce[0]},
            {"totalForce y", s.totalForce[1]},
        };
        for (const auto& [name, v] : numbers)
            if (!std::isfinite(v)) return QStringLiteral("%1 is %2").arg(name).arg(v);
        for (int k = 1; k <= 4; ++k) {
            const double wheel[] = {s.corner[k][0],    s.corner[k][1],     s.wheelVel[k][0],
                                    s.wheelVel[k][1],  s.wheelForce[k][0], s.wheelForce[k][1],
                                    s.wheelFriction[k]};
            for (double v : wheel)
                if (!std::isfinite(v)) return QStringLiteral("wheel %1 holds %2").arg(k).arg(v);
        }
        for (int k = 1; k <= 2; ++k)
            for (double v : s.wheelNormal[k])
                if (!std::isfinite(v)) return QStringLiteral("wheelNormal %1 is %2").arg(k).arg(v);
        return {};
    }

    // The row the buttons show; fails when they show none.
    Row shownRow() {
        auto on = [this](QWidget* b) { return b->isEnabledTo(&w_); };
        const bool running = rc().running();
        const RunState& s = w_.state();
        if (running && s.stopRequested) return Row::Leaving;
        const Row row = running                                           ? Row::Running
                        : !s.paused                                       ? Row::Idle
                        : w_.cmdDraw()->text() == QLatin1String("ReDraw") ? Row::Paused
                                                                          : Row::Stopped;
        const bool idle = row == Row::Idle;
        const bool interrupted = row == Row::Paused || row == Row::Stopped;
        const QString drawText =
            row == Row::Paused ? QStringLiteral("ReDraw") : QStringLiteral("Draw");
        const QString pauseText = interrupted ? QStringLiteral("Resume") : QStringLiteral("Pause");
        QStringList wrong;
        if (on(w_.cmdDraw()) == running) wrong << QStringLiteral("Draw enabled");
        if (w_.cmdDraw()->text() != drawText)
            wrong << QStringLiteral("Draw reads ") + w_.cmdDraw()->text();
        if (on(w_.cmdPause()) == idle) wrong << QStringLiteral("Pause enabled");
        if (w_.cmdPause()->text() != pauseText)
            wrong << QStringLiteral("Pause reads ") + w_.cmdPause()->text();
        if (on(w_.cmdStop()) == idle) wrong << QStringLiteral("Stop enabled");
        if (on(w_.cmdSnap()) == idle) wrong << QStringLiteral("SnapShot enabled");
        if (on(w_.cmdClear()) == running) wrong << QStringLiteral("Clear enabled");
        if (!wrong.isEmpty())
            fail(QStringLiteral("the buttons match no row for %1: ")
                     .arg(QLatin1String(rowName(row))) +
                 wrong.join(QStringLiteral(", ")));
        return row;
    }

    void check() {
        if (QString bad = nonFinite(); !bad.isEmpty()) fail(bad);
        for (ReversedScrollBar* bar : {w_.scrX(0), w_.scrY(0), w_.scrZoom(0), w_.scrZoom(1)})
            if (bar->value() != 0)
                fail(QStringLiteral("%1 rests at %2").arg(bar->objectName()).arg(bar->value()));
        for (int i = 0; i < ParameterPanel::kBoxCount; ++i)
            if (panel().scrSelect(i)->value() != 0)
                fail(QStringLiteral("scrSelect(%1) rests at %2")
                         .arg(i)
                         .arg(panel().scrSelect(i)->value()));

        const Row row = shownRow();
        if (expected_ && rowBefore_ != Row::Leaving && row != Row::Leaving) {
            // A run may end by itself (its numbers would stop being finite): then
            // the window is back at Idle and has said so.
            const bool failedRun = runFailures_ > failuresBefore_ && row == Row::Idle;
            const bool refused = messages_ > messagesBefore_ && row == rowBefore_;
            // A negative time step runs one pass backwards; the run then ends as Stop ends it.
            const bool endedByItself =
                *expected_ == Row::Running && row == Row::Stopped && w_.state().simTime < 0;
            if (row != *expected_ && !failedRun && !(refusable_ && refused) && !endedByItself)
                fail(QStringLiteral("%1 -> %2, the table says %3")
                         .arg(QLatin1String(rowName(rowBefore_)), QLatin1String(rowName(row)),
                              QLatin1String(rowName(*expected_))));
        }
        if (focusOnSnap_ && row == Row::Running && w_.focusWidget() != w_.cmdSnap())
            fail(QStringLiteral("a run began without the focus on SnapShot"));
        rowBefore_ = row;
    }

    // --- the gestures -------------------------------------------------------

    void note(const QString& what) {
        current_ = what;
        recent_.push_back(
            QStringLiteral("%1: %2 [%3]").arg(done_).arg(what, QLatin1String(rowName(rowBefore_))));
        if (recent_.size() > 12) recent_.pop_front();
        dog_.beat(what.left(200).toStdString());
    }

    void act() {
        expected_ = rowBefore_; // most gestures leave the run as it is
        refusable_ = false;
        focusOnSnap_ = false;
        messagesBefore_ = messages_;
        failuresBefore_ = runFailures_;
        const bool inRun = rc().running();
        countdown_ = dice_.percent(60)   ? 1 + dice_.below(5)
                     : dice_.percent(75) ? 6 + dice_.below(35)
                                         : 41 + dice_.below(260);

        if (burstLeft_ > 0) {
            --burstLeft_;
            escapeAgain();
        } else if (QWidget* popup = QApplication::activePopupWidget()) {
            answerPopup(popup);
        } else if (frmOption* o = frmOption::existing(); o && dice_.percent(85)) {
            answerOptions(o);
        } else if (frmAbout* a = frmAbout::existing(); a && a->isVisible() && dice_.percent(40)) {
            answerAbout(a);
        } else {
            onMainWindow();
        }
        // A gesture that begins a run from outside one leaves the focus on SnapShot.
        if (!inRun && expected_ == Row::Running) focusOnSnap_ = true;
    }

    void onMainWindow() {
        const int r = dice_.below(100);
        if (r < 20)
            runButton();
        else if (r < 34)
            key();
        else if (r < 52)
            typeIntoBox();
        else if (r < 64)
            spinner();
        else if (r < 72)
            panZoomBar();
        else if (r < 78)
            tab(dice_.below(3));
        else if (r < 84)
            checkBox();
        else if (r < 87)
            vehicle();
        else if (r < 90)
            calculate();
        else if (r < 93)
            escapeBurst();
        else if (r < 96)
            menu(w_.mnuReset(), "Tools > Reset All Variables");
        else if (r < 99)
            menu(w_.mnuOption(), "Tools > Options");
        else
            menu(w_.mnuAbout(), "Help > About");
    }

    void click(QWidget* widget, const QString& what, QPoint at = {}) {
        note(QStringLiteral("click ") + what);
        QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier,
                          at.isNull() ? widget->rect().center() : at);
    }

    // The row a working run button leads to, or nothing when it is not enabled.
    void runButton() {
        QPushButton* buttons[] = {w_.cmdDraw(),  w_.cmdDraw(),  w_.cmdPause(),
                                  w_.cmdPause(), w_.cmdPause(), w_.cmdStop(),
                                  w_.cmdStop(),  w_.cmdSnap(),  w_.cmdClear()};
        QPushButton* b = buttons[dice_.below(9)];
        const bool works = b->isEnabled() && b->isVisible();
        const Row before = rowBefore_;
        Row next = before;
        if (works) {
            if (b == w_.cmdDraw()) {
                next = Row::Running;
                refusable_ = true;
            } else if (b == w_.cmdPause()) {
                next = before == Row::Running ? Row::Paused : Row::Running;
                refusable_ = before != Row::Running;
            } else if (b == w_.cmdStop()) {
                next = before == Row::Running ? Row::Stopped : before;
            }
        }
        expected_ = next;
        // SnapShot's right part lies under "Auto": a user clicks its left part.
        const QPoint at = b == w_.cmdSnap() ? QPoint(b->width() / 5, b->height() / 2) : QPoint();
        click(b, b->objectName(), at);
    }

    QWidget* focused() {
        if (QWidget* f = w_.focusWidget(); f && f->isVisible()) return f;
        return &w_;
    }

    bool escapePauses(QWidget* f) const {
        return f == w_.cmdSnap() || f == w_.cmdPause() || f == w_.cmdStop() || f == w_.cmdClear();
    }

    void key() {
        QWidget* f = focused();
        expected_.reset(); // Enter and Space may press whatever button they reach
        const int r = dice_.below(17);
        Qt::Key k;
        QString text;
        if (r < 5) {
            k = Qt::Key_Escape;
            if (escapePauses(f) && w_.isEnabled() && w_.cmdPause()->isEnabled()) {
                expected_ = rowBefore_ == Row::Running ? Row::Paused : Row::Running;
                refusable_ = rowBefore_ != Row::Running;
            }
        } else if (r < 8) {
            k = Qt::Key_Return;
        } else if (r < 11) {
            k = Qt::Key_Space;
            text = QStringLiteral(" ");
        } else if (r < 13) {
            const int digit = dice_.below(10);
            k = static_cast<Qt::Key>(Qt::Key_0 + digit);
            text = QString::number(digit);
        } else if (r < 14) {
            const int letter = dice_.below(26);
            k = static_cast<Qt::Key>(Qt::Key_A + letter);
            text = QChar(u'a' + letter);
        } else if (r < 16) {
            k = dice_.percent(50) ? Qt::Key_Up : Qt::Key_Down;
        } else {
            k = dice_.percent(70) ? Qt::Key_Tab : Qt::Key_Backtab;
        }
        note(QStringLiteral("key %1 on %2").arg(QKeySequence(k).toString(), f->objectName()));
        QTest::sendKeyEvent(QTest::Click, f, k, text, Qt::NoModifier);
    }

    // Escape held down: the key repeats, one press in each of the next yields.
    void escapeBurst() {
        burstLeft_ = 1 + dice_.below(4);
        escapeAgain();
    }
    void escapeAgain() {
        QWidget* f = focused();
        expected_.reset();
        countdown_ = 1;
        note(QStringLiteral("Escape held down on %1").arg(f->objectName()));
        QTest::sendKeyEvent(QTest::Click, f, Qt::Key_Escape, QString(), Qt::NoModifier);
    }

    void tab(int i) {
        auto* bar = panel().findChild<QTabBar*>();
        click(bar, QStringLiteral("tab %1").arg(i), bar->tabRect(i).center());
    }

    // A box on the shown tab; one on another tab sends the user to its tab first.
    void typeIntoBox() {
        int i = dice_.below(ParameterPanel::kBoxCount);
        QLineEdit* box = panel().txtInput(i);
        if (!box->isVisible()) {
            tab(ParameterPanel::tabOfBox(i));
            return;
        }
        QString text;
        const int r = dice_.below(100);
        if (r < 55) {
            text = QString::fromUtf8(dice_.pick(kSensible[static_cast<std::size_t>(i)]));
        } else if (r < 70) {
            // The classic mistakes, each in the box it hurts.
            const int which = dice_.below(4);
            const int boxes[] = {13, 2, 9, 15};
            const char* texts[] = {"-10", "0", "0.5", "0"};
            QLineEdit* target = panel().txtInput(boxes[which]);
            if (target->isVisible()) {
                box = target;
                text = QString::fromUtf8(texts[which]);
                i = boxes[which];
            } else {
                text = nastyText(dice_);
            }
        } else {
            text = nastyText(dice_);
        }
        const bool replace = dice_.percent(80);
        const int after = dice_.below(10); // 0..2 Enter, 3 Tab, else nothing
        if (after < 3) expected_.reset();  // Enter presses Draw
        note(QStringLiteral("type \"%1\" into box %2%3%4")
                 .arg(text.left(40))
                 .arg(i)
                 .arg(replace ? QString() : QStringLiteral(" (appended)"),
                      after < 3    ? QStringLiteral(", Enter")
                      : after == 3 ? QStringLiteral(", Tab")
                                   : QString()));
        QTest::mouseClick(box, Qt::LeftButton, Qt::NoModifier, box->rect().center());
        if (!box->hasFocus() && !box->isEnabled())
            return; // box 9 with "Center": nothing to type into
        if (replace)
            QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
        else
            QTest::keyClick(box, Qt::Key_End);
        typeText(box, text);
        if (after < 3)
            QTest::keyClick(box, Qt::Key_Return);
        else if (after == 3)
            QTest::keyClick(box, Qt::Key_Tab);
    }

    void barClick(ReversedScrollBar* bar, const QString& name) {
        QScrollBar* sb = bar->bar();
        const int r = dice_.below(10);
        const QStyle::SubControl part = r < 4   ? QStyle::SC_ScrollBarSubLine
                                        : r < 8 ? QStyle::SC_ScrollBarAddLine
                                                : QStyle::SC_ScrollBarGroove;
        QPoint at = partOf(sb, part);
        if (part == QStyle::SC_ScrollBarGroove) // anywhere along the bar
            at = sb->orientation() == Qt::Vertical
                     ? QPoint(sb->width() / 2, dice_.below(std::max(1, sb->height())))
                     : QPoint(dice_.below(std::max(1, sb->width())), sb->height() / 2);
        const char* where = part == QStyle::SC_ScrollBarSubLine   ? "up/left arrow"
                            : part == QStyle::SC_ScrollBarAddLine ? "down/right arrow"
                                                                  : "bar";
        click(sb, QStringLiteral("%1 of %2").arg(QLatin1String(where), name), at);
    }

    void spinner() {
        const int i = dice_.below(ParameterPanel::kBoxCount);
        Spinner* s = panel().scrSelect(i);
        if (!s->isVisible()) {
            tab(ParameterPanel::tabOfBox(i));
            return;
        }
        barClick(s, QStringLiteral("scrSelect(%1)").arg(i));
    }

    void panZoomBar() {
        ReversedScrollBar* bars[] = {w_.scrX(0), w_.scrY(0), w_.scrZoom(0), w_.scrZoom(1)};
        ReversedScrollBar* bar = bars[dice_.below(4)];
        barClick(bar, bar->objectName());
    }

    void checkBox() {
        const int r = dice_.below(9);
        QCheckBox* box = r < 5    ? panel().chkWheel(r)
                         : r == 5 ? w_.chkSnap()
                         : r == 6 ? panel().chkNormal()
                         : r == 7 ? panel().chkInertia()
                                  : panel().chkRealTime();
        if (!box->isVisible()) {
            tab(r == 6 ? 1 : r == 7 ? 0 : 2);
            return;
        }
        click(box, box->objectName());
    }

    void vehicle() {
        QComboBox* combo = panel().comVehicle();
        if (!combo->isVisible()) {
            tab(0);
            return;
        }
        const int r = dice_.below(10);
        if (r < 5) {
            note(QStringLiteral("open the vehicle list"));
            combo->setFocus(Qt::MouseFocusReason);
            combo->showPopup();
        } else if (r < 8) {
            note(QStringLiteral("arrow key in the vehicle list"));
            combo->setFocus(Qt::TabFocusReason);
            QTest::keyClick(combo, dice_.percent(50) ? Qt::Key_Up : Qt::Key_Down);
        } else {
            const QString text =
                dice_.percent(50) ? nastyText(dice_) : QStringLiteral("Imaginery Car");
            note(QStringLiteral("type \"%1\" into the vehicle list").arg(text.left(40)));
            QTest::mouseClick(combo->lineEdit(), Qt::LeftButton);
            QTest::keyClick(combo->lineEdit(), Qt::Key_A, Qt::ControlModifier);
            typeText(combo->lineEdit(), text);
            if (dice_.percent(50)) {
                expected_.reset();
                QTest::keyClick(combo->lineEdit(), Qt::Key_Return);
            }
        }
    }

    void answerPopup(QWidget* popup) {
        auto* view = popup->findChild<QAbstractItemView*>();
        if (view && view->model() && view->model()->rowCount() > 0 && dice_.percent(70)) {
            const int row = dice_.below(view->model()->rowCount());
            const QRect r = view->visualRect(view->model()->index(row, 0));
            click(view->viewport(), QStringLiteral("vehicle list entry %1").arg(row), r.center());
        } else {
            note(QStringLiteral("Escape on a popup"));
            QTest::keyClick(popup, Qt::Key_Escape);
        }
        // A popup that is still open is closed as a user would, by clicking elsewhere.
        if (QWidget* still = QApplication::activePopupWidget(); still && dice_.percent(50))
            still->close();
    }

    void calculate() {
        const bool normal = dice_.percent(50);
        QPushButton* b = normal ? panel().cmdNormal() : panel().cmdInertia();
        if (!b->isVisible()) {
            tab(normal ? 1 : 0);
            return;
        }
        click(b, b->objectName());
    }

    void menu(QAction* action, const char* what) {
        note(QString::fromLatin1(what));
        // The menu bar takes no input while the window is disabled.
        if (!w_.isEnabled() || !action->isEnabled()) return;
        action->trigger();
        if (action == w_.mnuAbout())
            if (frmAbout* a = frmAbout::existing()) a->setStartSysInfo([] {});
    }

    void answerOptions(frmOption* o) {
        const int r = dice_.below(10);
        if (r < 3)
            click(o->optValue, QStringLiteral("Options: Value"));
        else if (r < 6)
            click(o->optGyrate, QStringLiteral("Options: Radius of Gyration"));
        else if (r < 8)
            click(o->cmdOK, QStringLiteral("Options: OK"));
        else if (r < 9)
            click(o->cmdCancel, QStringLiteral("Options: Cancel"));
        else {
            note(QStringLiteral("Options: close box"));
            o->close();
        }
    }

    void answerAbout(frmAbout* a) {
        const int r = dice_.below(4);
        if (r < 2)
            click(a->cmdOK, QStringLiteral("About: OK"));
        else if (r < 3)
            click(a->cmdSysInfo, QStringLiteral("About: System Info"));
        else {
            note(QStringLiteral("About: Escape"));
            QTest::keyClick(a, Qt::Key_Escape);
        }
    }

    // The end of the session: the close box or File > Exit, in whatever state.
    void closeWindow() {
        note(QStringLiteral("close the window while %1").arg(QLatin1String(rowName(rowBefore_))));
        closed_ = true;
        if (dice_.percent(50))
            w_.close();
        else
            w_.mnuExit()->trigger();
        if (!w_.closing()) fail(QStringLiteral("the window did not end the program"));
        if (!rc().running()) loop_.quit();
    }

    frmGraph& w_;
    Dice dice_;
    std::uint64_t seed_;
    int total_;
    int done_ = 0;
    Watchdog dog_;
    QEventLoop loop_;
    QElapsedTimer clock_, sinceLast_;
    qint64 longestGap_ = 0;
    bool pending_ = false;
    bool closed_ = false;
    int countdown_ = 0;
    std::uint64_t passes_ = 0;
    int messages_ = 0, messagesBefore_ = 0;
    int runFailures_ = 0, failuresBefore_ = 0;
    Row rowBefore_ = Row::Idle;
    std::optional<Row> expected_;
    int burstLeft_ = 0;        // Escape presses still to come from a held key
    bool refusable_ = false;   // a message may refuse the gesture, leaving the row as it was
    bool focusOnSnap_ = false; // the gesture began a run
    QString current_;
    QString failure_;
    QStringList recent_;
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
    const std::uint64_t seed = envNumber(
        "YAWMARK_MONKEY_SEED",
        static_cast<std::uint64_t>(std::chrono::system_clock::now().time_since_epoch().count()) %
            1000000007ull);
    const int actions = static_cast<int>(envNumber("YAWMARK_MONKEY_ACTIONS", 10000));
    std::printf("monkey: seed %llu, %d gestures (replay: YAWMARK_MONKEY_SEED=%llu)\n",
                static_cast<unsigned long long>(seed), actions,
                static_cast<unsigned long long>(seed));
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
        monkey.done(), static_cast<unsigned long long>(monkey.passes()), monkey.messages(),
        monkey.runFailures(), static_cast<long long>(monkey.elapsedMs()),
        static_cast<long long>(monkey.longestGapMs()));
    if (frmAbout* a = frmAbout::existing()) a->reject();
    if (frmOption* o = frmOption::existing()) o->close();
    QVERIFY2(monkey.failure().isEmpty(),
             qPrintable(monkey.failure() + QStringLiteral("\nlast gestures:\n  ") +
                        monkey.recent() +
                        QStringLiteral("\nreplay: YAWMARK_MONKEY_SEED=%1").arg(seed)));
    QCOMPARE(monkey.done(), actions);
    QVERIFY(!w.runControl()->running());
}

QTEST_MAIN(tst_Monkey)
#include "tst_monkey.moc"

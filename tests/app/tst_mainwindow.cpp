// The main window as it opens: every control under its name, captions,
// tooltips and states, the design positions, the keyboard (tab order, Enter
// for Draw), the menus, the pan and zoom bars' directions, the timers, and
// that closing the window ends the program.
#include "app/RunControl.h"
#include "app/frmGraph.h"
#include "panel/ParameterPanel.h"
#include "panel/ReversedScrollBar.h"
#include "plot/PlotWidget.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTabBar>
#include <QTest>
#include <QTimer>

using namespace yawmark;

class MainWindowTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void everyControlIsFoundByName();
    void captionsTooltipsAndStartStates();
    void designGeometryOnTheClientArea();
    void captionsFitTheirBoxes();
    void tabOrderSkipsHiddenTabsAndDisabledButtons_data();
    void tabOrderSkipsHiddenTabsAndDisabledButtons();
    void enterClicksDrawUnlessAButtonHasTheFocus();
    void menus();
    void panAndZoomBarsPointPositiveUpAndLeft_data();
    void panAndZoomBarsPointPositiveUpAndLeft();
    void closingEndsTheProgram();

private:
    QWidget* named(const QString& name) const { return w_->findChild<QWidget*>(name); }
    QRect onClient(const QWidget* w) const {
        return {w->mapTo(w_->centralWidget(), QPoint(0, 0)), w->size()};
    }
    frmGraph* w_ = nullptr;
};

void MainWindowTest::initTestCase() {
    // The offscreen platform cannot pass size limits on to a window manager
    // and says so for every window; that is no finding of these tests.
    static const QtMessageHandler previous = qInstallMessageHandler(nullptr);
    qInstallMessageHandler(
        [](QtMsgType type, const QMessageLogContext& context, const QString& message) {
            if (!message.contains(QLatin1String("propagateSizeHints")))
                previous(type, context, message);
        });
}

void MainWindowTest::init() {
    w_ = new frmGraph;
    w_->show();
    QVERIFY(QTest::qWaitForWindowExposed(w_));
}

void MainWindowTest::cleanup() {
    delete w_;
    w_ = nullptr;
}

void MainWindowTest::everyControlIsFoundByName() {
    QCOMPARE(w_->windowTitle(), QStringLiteral("Yawmark"));
    const char* const names[] = {
        "fmeControl",    "fmeTip",         "SSTab",       "lblCaption(7)", "scrX(0)",
        "scrY(0)",       "lblCaption(26)", "Label1(3)",   "scrZoom(1)",    "Label2(1)",
        "lblCaption(8)", "Label1(0)",      "scrZoom(0)",  "Label2(0)",     "cmdDraw",
        "cmdSnap",       "chkSnap",        "cmdPause",    "cmdStop",       "cmdClear",
        "lblEsc",        "lblSpaceBar",    "Label5",      "comVehicle",    "chkWheel(4)",
        "txtInput(18)",  "scrSelect(18)",  "lblDesc(18)", "Label3",        "cmdNormal"};
    for (const char* name : names)
        QVERIFY2(named(QLatin1String(name)), name);
    QCOMPARE(named(QStringLiteral("SSTab")), w_->panel());
    QCOMPARE(named(QStringLiteral("scrZoom(1)")), w_->scrZoom(1));
    QCOMPARE(w_->findChild<QTimer*>(QStringLiteral("Timer2")), w_->Timer2());
    for (const char* name : {"mnuExit", "mnuOption", "mnuReset", "mnuNA", "mnuAbout"})
        QVERIFY2(w_->findChild<QAction*>(QLatin1String(name)), name);
    // Names are unique: a lookup by name finds the one control meant.
    QStringList seen;
    for (const QWidget* c : w_->findChildren<QWidget*>()) {
        if (c->objectName().isEmpty() || c->objectName().startsWith(QLatin1String("qt_"))) continue;
        QVERIFY2(!seen.contains(c->objectName()), qPrintable(c->objectName()));
        seen << c->objectName();
    }
}

void MainWindowTest::captionsTooltipsAndStartStates() {
    // The captions a user reads, including the blanks that make room for "Auto".
    const struct {
        const char* name;
        QString caption, tooltip;
    } rows[] = {{"cmdDraw", "Draw", "Calculate and Plot!"},
                {"cmdSnap", "SnapShot                  ", ""},
                {"lblCaption(26)", "Scale Interval", ""},
                {"Label1(3)", "+", ""},
                {"lblEsc", "Esc to Pause / Resume", ""},
                {"Label5", "Axes are to-scale in meters (10 ft = 3.048 m)", ""}};
    for (const auto& r : rows) {
        QWidget* c = named(QLatin1String(r.name));
        QVERIFY2(c, r.name);
        const auto* l = qobject_cast<QLabel*>(c);
        QCOMPARE(l ? l->text() : qobject_cast<QAbstractButton*>(c)->text(), r.caption);
        QCOMPARE(c->toolTip(), r.tooltip);
    }

    QVERIFY(w_->cmdDraw()->isDefault());
    QCOMPARE(w_->chkSnap()->text(), QStringLiteral("Auto"));
    QCOMPARE(w_->chkSnap()->checkState(), Qt::Unchecked);
    QCOMPARE(w_->panel()->currentIndex(), 0);
    QCOMPARE(w_->Timer1()->interval(), 100);
    QVERIFY(w_->Timer1()->isActive());
    QCOMPARE(w_->Timer2()->interval(), 1);
    QVERIFY(!w_->Timer2()->isActive());
}

void MainWindowTest::designGeometryOnTheClientArea() {
    const struct {
        const char* name;
        QRect expected; // twips / 15, from the client area's corner
    } rows[] = {{"fmeControl", {8, 0, 233, 425}},  {"fmeTip", {8, 424, 233, 65}},
                {"SSTab", {16, 16, 217, 281}},     {"scrY(0)", {56, 304, 17, 49}},
                {"cmdSnap", {80, 360, 137, 25}},   {"chkSnap", {160, 366, 49, 13}},
                {"txtInput(0)", {160, 80, 41, 19}}};
    for (const auto& r : rows) {
        QWidget* c = named(QLatin1String(r.name));
        QVERIFY2(c, r.name);
        QCOMPARE(onClient(c), r.expected);
    }

    // Opened wider than designed, the plot fills the client area under the panel frames,
    // and "Auto" lies on top of SnapShot.
    QCOMPARE(w_->centralWidget()->size(), QSize(frmGraph::kClientWidth, frmGraph::kClientHeight));
    QCOMPARE(onClient(w_->plot()), w_->centralWidget()->rect());
    const QWidgetList order =
        w_->centralWidget()->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly);
    QVERIFY(order.indexOf(w_->plot()) < order.indexOf(w_->fmeControl()));
    QVERIFY(order.indexOf(w_->plot()) < order.indexOf(w_->fmeTip()));
    QCOMPARE(w_->childAt(w_->chkSnap()->mapTo(w_, QPoint(30, 6))), w_->chkSnap());
    QVERIFY(w_->fmeControl()->autoFillBackground());
    w_->resize(1400, 900);
    QCOMPARE(w_->plot()->size(), w_->centralWidget()->size());
}

void MainWindowTest::captionsFitTheirBoxes() {
    for (const char* name : {"lblCaption(7)", "lblCaption(26)", "lblCaption(8)", "lblEsc",
                             "lblSpaceBar", "Label5", "Label1(0)", "Label2(0)"}) {
        auto* l = w_->findChild<QLabel*>(QLatin1String(name));
        const QFontMetrics fm(l->font());
        const qsizetype lines = l->wordWrap() ? l->text().count(QLatin1Char(' ')) + 1 : 1;
        for (const QString& word : l->text().split(QLatin1Char(l->wordWrap() ? ' ' : '\n')))
            QVERIFY2(fm.horizontalAdvance(word) <= l->width(), name);
        QVERIFY2(lines * fm.height() <= l->height() + 1, name);
    }
    // "Auto" must not cover the word "SnapShot" on the button behind it.
    const QFontMetrics fm(w_->cmdSnap()->font());
    const int textLeft = (w_->cmdSnap()->width() - fm.horizontalAdvance(w_->cmdSnap()->text())) / 2;
    QVERIFY(w_->cmdSnap()->x() + textLeft + fm.horizontalAdvance(QStringLiteral("SnapShot")) <
            w_->chkSnap()->x());
}

void MainWindowTest::tabOrderSkipsHiddenTabsAndDisabledButtons_data() {
    QTest::addColumn<int>("tab");
    QTest::addColumn<QStringList>("chain"); // from Draw, pressing Tab
    // Snap, Pause and Stop are disabled at start; the tab control itself
    // takes the focus on its tab strip.
    const auto chain = [](const char* names) { return QString(names).split(' '); };
    QTest::newRow("Vehicle") << 0
                             << chain("cmdDraw cmdClear SSTab comVehicle txtInput(0) txtInput(1) "
                                      "txtInput(2) txtInput(3) txtInput(4) cmdInertia txtInput(5) "
                                      "chkSnap chkInertia cmdDraw");
    QTest::newRow("Initial Conditions")
        << 1
        << chain("cmdDraw cmdClear SSTab txtInput(6) txtInput(7) scrSelect(10) txtInput(9) "
                 "txtInput(10) cmdNormal txtInput(11) txtInput(12) txtInput(8) scrSelect(8) "
                 "chkSnap chkNormal cmdDraw");
    QTest::newRow("Graph") << 2
                           << chain("cmdDraw cmdClear SSTab txtInput(13) txtInput(14) txtInput(15) "
                                    "txtInput(16) txtInput(17) chkWheel(1) chkWheel(2) chkWheel(0) "
                                    "chkWheel(4) chkWheel(3) chkSnap txtInput(18) chkRealTime "
                                    "cmdDraw");
}

void MainWindowTest::tabOrderSkipsHiddenTabsAndDisabledButtons() {
    QFETCH(int, tab);
    QFETCH(QStringList, chain);
    w_->panel()->setCurrentIndex(tab);
    QApplication::setActiveWindow(w_);
    QVERIFY(QTest::qWaitForWindowActive(w_));
    w_->cmdDraw()->setFocus();
    QStringList walked;
    for (qsizetype k = 0; k < chain.size(); ++k) {
        QWidget* f = QApplication::focusWidget();
        QVERIFY(f);
        // A spinner takes the focus on the bar inside; the tab control on its tab strip.
        QWidget* named = f;
        while (
            named && named->objectName().isEmpty() == false &&
            (named->objectName().startsWith(QLatin1String("qt_")) || qobject_cast<QTabBar*>(named)))
            named = named->parentWidget();
        while (named && named->objectName().isEmpty())
            named = named->parentWidget();
        walked << (named ? named->objectName() : QStringLiteral("?"));
        QTest::keyClick(f, Qt::Key_Tab);
    }
    QCOMPARE(walked, chain);
}

void MainWindowTest::enterClicksDrawUnlessAButtonHasTheFocus() {
    QApplication::setActiveWindow(w_);
    QVERIFY(QTest::qWaitForWindowActive(w_));
    QSignalSpy draw(w_->cmdDraw(), &QPushButton::clicked);
    QSignalSpy clear(w_->cmdClear(), &QPushButton::clicked);
    // Each Draw starts a run; its first pass pauses it so that the keys can be tried on.
    RunControl* run = w_->runControl();
    w_->setMessageHook([](QWidget*, const QString&, const QString&) {});
    run->setPassHook([run](std::uint64_t) { run->cmdPause_Click(); });

    w_->panel()->txtInput(3)->setFocus();
    QTest::keyClick(w_->panel()->txtInput(3), Qt::Key_Return);
    QCOMPARE(draw.size(), 1);
    w_->panel()->chkInertia()->setFocus();
    QTest::keyClick(w_->panel()->chkInertia(), Qt::Key_Enter, Qt::KeypadModifier);
    QCOMPARE(draw.size(), 2);
    // A focused button takes Enter for itself.
    w_->cmdClear()->setFocus();
    QTest::keyClick(w_->cmdClear(), Qt::Key_Return);
    QCOMPARE(clear.size(), 1);
    QCOMPARE(draw.size(), 2);
}

void MainWindowTest::menus() {
    auto texts = [](const QList<QAction*>& actions) {
        QStringList t;
        for (QAction* a : actions)
            t << a->text();
        return t;
    };
    QCOMPARE(texts(w_->menuBar()->actions()), (QStringList{"&File", "&Tools", "&Help"}));
    QCOMPARE(texts(w_->mnuFile()->actions()), QStringList{"E&xit"});
    QCOMPARE(texts(w_->mnuTools()->actions()), (QStringList{"&Options", "&Reset All Variables"}));
    QCOMPARE(texts(w_->mnuHelp()->actions()),
             (QStringList{"[Not Currently Available]", "&About..."}));
    // Visible but not selectable.
    QVERIFY(w_->mnuNA()->isVisible());
    QVERIFY(!w_->mnuNA()->isEnabled());
    QVERIFY(w_->mnuAbout()->isEnabled());
}

void MainWindowTest::panAndZoomBarsPointPositiveUpAndLeft_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("step");
    QTest::newRow("scrX(0)") << "scrX(0)" << 10;
    QTest::newRow("scrY(0)") << "scrY(0)" << 1;
    QTest::newRow("scrZoom(1)") << "scrZoom(1)" << 10;
}

void MainWindowTest::panAndZoomBarsPointPositiveUpAndLeft() {
    QFETCH(QString, name);
    QFETCH(int, step);
    auto* b = w_->findChild<ReversedScrollBar*>(name);
    QVERIFY(b);
    QCOMPARE(b->value(), 0);
    QCOMPARE(b->bar()->focusPolicy(), Qt::NoFocus);
    const bool horizontal = b->bar()->orientation() == Qt::Horizontal;
    const QPoint first = horizontal ? QPoint(2, b->height() / 2) : QPoint(b->width() / 2, 2);
    const QPoint last = horizontal ? QPoint(b->width() - 3, b->height() / 2)
                                   : QPoint(b->width() / 2, b->height() - 3);
    QSignalSpy changed(b, &ReversedScrollBar::changed);
    // Up (left) arrow positive, down (right) arrow negative; the trough moves
    // by one, toward the end it is on. Each change is taken at once and the
    // bar goes back to rest at 0.
    QTest::mouseClick(b->bar(), Qt::LeftButton, {}, first);
    QTest::mouseClick(b->bar(), Qt::LeftButton, {}, last);
    b->bar()->triggerAction(QAbstractSlider::SliderPageStepSub);
    b->bar()->triggerAction(QAbstractSlider::SliderPageStepAdd);
    QList<int> values;
    for (const QList<QVariant>& args : changed)
        if (args.at(0).toInt() != 0) values << args.at(0).toInt();
    QCOMPARE(values, (QList<int>{step, -step, 1, -1}));
    QCOMPARE(changed.size(), 8);
    QCOMPARE(b->value(), 0);
}

void MainWindowTest::closingEndsTheProgram() {
    QVERIFY(!w_->closing());
    w_->mnuExit()->trigger();
    QVERIFY(w_->closing());

    frmGraph other;
    other.show();
    QVERIFY(QTest::qWaitForWindowExposed(&other));
    QVERIFY(other.close());
    QVERIFY(other.closing());
}

QTEST_MAIN(MainWindowTest)
#include "tst_mainwindow.moc"

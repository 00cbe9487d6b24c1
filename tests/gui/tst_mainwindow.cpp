// The main window as it opens: every control under its name, captions,
// tooltips and states, the design positions, the keyboard (tab order, Enter
// for Draw), the menus, the pan and zoom bars' directions, the timers, and
// that closing the window ends the program.
#include "gui/RunControl.h"
#include "gui/frmGraph.h"
#include "gui/ParameterPanel.h"
#include "gui/ReversedScrollBar.h"
#include "gui/PlotWidget.h"

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
    // Every control outside an array once, and one member of each array.
    const QStringList names =
        QStringLiteral("fmeControl fmeTip SSTab cmdDraw cmdSnap chkSnap cmdPause cmdStop cmdClear "
                       "lblEsc lblSpaceBar Label5 Label3 comVehicle cmdNormal lblCaption(26) "
                       "scrX(0) scrY(0) scrZoom(1) Label1(3) Label2(1) chkWheel(4) txtInput(18) "
                       "scrSelect(18) lblDesc(18)")
            .split(' ');
    for (const QString& name : names)
        QVERIFY2(named(name), qPrintable(name));
    QCOMPARE(named(QStringLiteral("SSTab")), w_->panel());
    QCOMPARE(named(QStringLiteral("scrZoom(1)")), w_->scrZoom(1));
    QCOMPARE(w_->findChild<QTimer*>(QStringLiteral("Timer2")), w_->Timer2());
    for (const char* name : {"mnuExit", "mnuOption", "mnuReset", "mnuNA", "mnuAbout"})
        QVERIFY2(w_->findChild<QAction*>(QLatin1String(name)), name);
    // Names are unique: a lookup by name finds the one control meant.
    QStringList seen;
    for (const QWidget* c : w_->findChildren<QWidget*>()) {
        const QString n = c->objectName();
        QVERIFY2(n.isEmpty() || n.startsWith(QLatin1String("qt_")) || !seen.contains(n),
                 qPrintable(n));
        seen << n;
    }
}

void MainWindowTest::captionsTooltipsAndStartStates() {
    // Name|caption|tooltip that a user reads, including the blanks that make room for "Auto".
    for (const QString& row :
         QStringList{"cmdDraw|Draw|Calculate and Plot!", "cmdSnap|SnapShot                  |",
                     "lblCaption(26)|Scale Interval|", "Label1(3)|+|",
                     "Label5|Axes are to-scale in meters (10 ft = 3.048 m)|"}) {
        QWidget* c = named(row.section('|', 0, 0));
        QVERIFY2(c, qPrintable(row));
        const auto* l = qobject_cast<QLabel*>(c);
        QCOMPARE(l ? l->text() : qobject_cast<QAbstractButton*>(c)->text(), row.section('|', 1, 1));
        QCOMPARE(c->toolTip(), row.section('|', 2));
    }
    QVERIFY(w_->cmdDraw()->isDefault());
    QVERIFY(w_->chkSnap()->text() == "Auto" && !w_->chkSnap()->isChecked());
    QCOMPARE(w_->panel()->currentIndex(), 0);
    QVERIFY(w_->Timer1()->interval() == 100 && w_->Timer1()->isActive());
    QVERIFY(w_->Timer2()->interval() == 1 && !w_->Timer2()->isActive());
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
    QVERIFY(order.indexOf(w_->plot()) <
            std::min(order.indexOf(w_->fmeControl()), order.indexOf(w_->fmeTip())));
    QCOMPARE(w_->childAt(w_->chkSnap()->mapTo(w_, QPoint(30, 6))), w_->chkSnap());
    QVERIFY(w_->fmeControl()->autoFillBackground());
    w_->resize(1400, 900);
    QCOMPARE(w_->plot()->size(), w_->centralWidget()->size());
}

void MainWindowTest::captionsFitTheirBoxes() {
    for (const char* name : {"lblCaption(26)", "lblEsc", "Label5", "Label1(0)"}) {
        auto* l = w_->findChild<QLabel*>(QLatin1String(name));
        const QFontMetrics fm(l->font());
        for (const QString& word : l->text().split(QLatin1Char(' ')))
            QVERIFY2(fm.horizontalAdvance(word) <= l->width(), name);
        const QRect need =
            fm.boundingRect(QRect(0, 0, l->width(), 10000), Qt::TextWordWrap, l->text());
        QVERIFY2(need.height() <= l->height() + 1, name);
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
        while (named && (named->objectName().isEmpty() ||
                         named->objectName().startsWith(QLatin1String("qt_")) ||
                         qobject_cast<QTabBar*>(named)))
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
    QStringList texts;
    for (QMenu* m : {w_->mnuFile(), w_->mnuTools(), w_->mnuHelp()})
        for (QAction* a : m->actions())
            texts << m->title() + ">" + a->text();
    QCOMPARE(texts, (QStringList{"&File>E&xit", "&Tools>&Options", "&Tools>&Reset All Variables",
                                 "&Help>[Not Currently Available]", "&Help>&About..."}));
    QCOMPARE(w_->menuBar()->actions(),
             (QList<QAction*>{w_->mnuFile()->menuAction(), w_->mnuTools()->menuAction(),
                              w_->mnuHelp()->menuAction()}));
    // Visible but not selectable.
    QVERIFY(w_->mnuNA()->isVisible() && !w_->mnuNA()->isEnabled() && w_->mnuAbout()->isEnabled());
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
    // The close box, on a window of its own.

    frmGraph other;
    other.show();
    QVERIFY(QTest::qWaitForWindowExposed(&other));
    QVERIFY(other.close());
    QVERIFY(other.closing());
}

QTEST_MAIN(MainWindowTest)
#include "tst_mainwindow.moc"

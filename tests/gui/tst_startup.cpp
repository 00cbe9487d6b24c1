// The main window's start-up sequence and its Help menu: the splash comes on
// the first tick of Timer1 and goes on the 50th, the About box opens once
// however often it is asked for, and every window carries the program icon.
#include "gui/frmAbout.h"
#include "gui/frmGraph.h"
#include "gui/frmSplash.h"

#include <QAction>
#include <QTimer>
#include <QtTest>

using namespace yawmark;

class StartupTest : public QObject {
    Q_OBJECT
private slots:
    void splashFollowsTimer1();
    void aboutOpensOnce();
};

void StartupTest::splashFollowsTimer1() {
    frmGraph w;
    w.show();
    w.Timer1()->stop(); // drive the ticks by hand
    QVERIFY(!w.windowIcon().isNull());
    QVERIFY(!frmSplash::existing());

    w.Timer1_Timer();
    QVERIFY(frmSplash::existing());
    QVERIFY(frmSplash::existing()->isVisible());

    for (int tick = 2; tick < 50; ++tick)
        w.Timer1_Timer();
    QVERIFY(frmSplash::existing() && frmSplash::existing()->isVisible());

    w.Timer1()->start();
    w.Timer1_Timer(); // the 50th
    QVERIFY(!w.Timer1()->isActive());
    QTRY_VERIFY(!frmSplash::existing() || !frmSplash::existing()->isVisible());
}

void StartupTest::aboutOpensOnce() {
    frmGraph w;
    w.show();
    w.Timer1()->stop();
    w.mnuAbout()->trigger();
    frmAbout* first = frmAbout::existing();
    QVERIFY(first);
    QVERIFY(first->isVisible());
    QCOMPARE(first->windowTitle(), QStringLiteral("About Yawmark"));
    w.mnuAbout()->trigger();
    QCOMPARE(frmAbout::existing(), first);
    QVERIFY(!first->windowIcon().isNull());
}

QTEST_MAIN(StartupTest)
#include "tst_startup.moc"

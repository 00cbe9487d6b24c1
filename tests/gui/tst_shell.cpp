// SPDX-License-Identifier: MIT
// The start-up splash and the About box as the main window runs them; no
// label cut off there or in the panel.

#include "gui/AboutDialog.h"
#include "gui/AppInfo.h"
#include "gui/MainWindow.h"
#include "gui/ParameterPanel.h"
#include "gui/SplashScreen.h"

#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

using namespace yawmark;

namespace {
void flushDeletes() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// No text is cut off, whichever face stands in for the classic fonts: each
// label is as large as its text needs (wrapped, if it wraps) and lies inside
// its parent.
void verifyTexts(QWidget* window) {
    for (QLabel* l : window->findChildren<QLabel*>()) {
        const QSize need =
            l->wordWrap() ? QSize(l->width(), l->heightForWidth(l->width())) : l->sizeHint();
        const bool inside = l->parentWidget()->rect().contains(l->geometry());
        QVERIFY2(need.boundedTo(l->size()) == need && inside, qPrintable(l->objectName()));
    }
}
} // namespace

class TestShell : public QObject {
    Q_OBJECT
private slots:
    void splashThenAbout_data();
    void splashThenAbout();
};

void TestShell::splashThenAbout_data() {
    QTest::addColumn<int>("key");     // 0: a click on the splash's frame, -1: on its picture
    QTest::addColumn<bool>("closes"); // the splash, at once
    QTest::addColumn<int>("dismiss"); // the About box: 0 OK, -1 the close box, else a key
    QTest::newRow("letter, OK") << int(Qt::Key_Q) << true << 0;
    QTest::newRow("enter, Enter") << int(Qt::Key_Return) << true << int(Qt::Key_Return);
    QTest::newRow("shift, Escape") << int(Qt::Key_Shift) << false << int(Qt::Key_Escape);
    QTest::newRow("frame surface, OK") << 0 << true << 0;
    QTest::newRow("picture, close box") << -1 << false << -1;
}

void TestShell::splashThenAbout() {
    QFETCH(int, key);
    QFETCH(bool, closes);
    QFETCH(int, dismiss);
    MainWindow w;
    w.show();
    verifyTexts(w.findChild<QWidget*>("panelColumn")); // the panel, the bars, the tips
    // The window's Timer1 shows the splash on its first tick.
    auto* timer1 = w.findChild<QTimer*>("Timer1");
    QTRY_VERIFY(w.findChild<SplashScreen*>());
    timer1->stop();
    delete w.findChild<SplashScreen*>();
    // The sequence, driven by hand from its first tick.
    SplashSequence seq;
    seq.tick(*timer1, w);
    QPointer<SplashScreen> splash = seq.splash();
    QVERIFY(splash && splash->isVisible() && !splash->isModal() && w.isEnabled());
    verifyTexts(splash);
    QCOMPARE(splash->findChild<QLabel*>("lblVersion")->text(), versionText());
    QCOMPARE(splash->findChild<QLabel*>("Picture1")->pixmap().size(), QSize(220, 127)); // art in
    auto* on = splash->findChild<QWidget*>(key ? "Picture1" : "Frame1");
    if (key > 0) QTest::keyClick(splash, Qt::Key(key));
    // The frame is clicked near its bottom-left corner, where nothing lies on top of it.
    else
        QTest::mouseClick(on, Qt::LeftButton, {}, on->rect().bottomLeft() + QPoint(12, -12));
    flushDeletes();
    QCOMPARE(splash.isNull(), closes);
    // Until the 50th tick the splash stays as the user left it: open, or gone for good.
    while (seq.ticks() < SplashSequence::kLastTick - 1)
        seq.tick(*timer1, w);
    QCOMPARE(seq.splash() == nullptr, closes);
    timer1->start();
    seq.tick(*timer1, w);
    flushDeletes();
    QVERIFY(!timer1->isActive() && !seq.splash());

    QAction* menu = w.findChild<QAction*>("mnuAbout");
    menu->trigger();
    QPointer<AboutDialog> about = w.findChild<AboutDialog*>();
    menu->trigger(); // About again brings the same box forward.
    QVERIFY(about && about->isVisible() && !about->isModal());
    QCOMPARE(w.findChildren<AboutDialog*>(), QList<AboutDialog*>{about});
    verifyTexts(about);
    QCOMPARE(about->findChild<QLabel*>("lblVersion")->text(), versionText());
    // System Info starts the tool and leaves the box open.
    int started = 0;
    about->setStartSysInfo([&started] { ++started; });
    QTest::mouseClick(about->cmdSysInfo(), Qt::LeftButton);
    QVERIFY(started == 1 && about->isVisible());
    if (dismiss == 0)
        QTest::mouseClick(about->cmdOK(), Qt::LeftButton);
    else if (dismiss > 0)
        QTest::keyClick(about, Qt::Key(dismiss));
    else
        about->close();
    // About right away opens a fresh box, not the dismissed one, which then goes.
    menu->trigger();
    const auto boxes = w.findChildren<AboutDialog*>();
    QVERIFY(boxes.size() == 2 && boxes.last() != about.data() && boxes.last()->isVisible());
    flushDeletes();
    QVERIFY(about.isNull());
}

QTEST_MAIN(TestShell)
#include "tst_shell.moc"

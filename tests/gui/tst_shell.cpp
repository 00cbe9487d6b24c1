// The start-up splash and the About box as the main window runs them, and the
// program's art.

#include "gui/AppArt.h"
#include "gui/AppInfo.h"
#include "gui/MainWindow.h"

#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QTextLayout>
#include <QTimer>
#include <QtTest>

using namespace yawmark;

namespace {
// Lets deleteLater() of a closed window run.
void flushDeletes() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

QString labelText(QWidget* window, const char* name) {
    return window->findChild<QLabel*>(QLatin1String(name))->text();
}

// No text is cut off: each label is as large as its text needs (wrapped, if
// it wraps) and lies inside its parent.
void verifyTextsFit(QWidget* window) {
    for (QLabel* l : window->findChildren<QLabel*>()) {
        const QSize need =
            l->wordWrap() ? QSize(l->width(), l->heightForWidth(l->width())) : l->sizeHint();
        QVERIFY2(need.boundedTo(l->size()) == need &&
                     l->parentWidget()->rect().contains(l->geometry()),
                 qPrintable(l->objectName()));
    }
}
} // namespace

class TestShell : public QObject {
    Q_OBJECT
private slots:
    void splash_data();
    void splash();
    void about_data();
    void about();
};

void TestShell::splash_data() {
    QTest::addColumn<int>("key");         // 0: none
    QTest::addColumn<QString>("clickOn"); // empty: no click
    QTest::addColumn<bool>("closes");
    QTest::newRow("letter") << int(Qt::Key_Q) << "" << true;
    QTest::newRow("enter") << int(Qt::Key_Return) << "" << true;
    QTest::newRow("shift") << int(Qt::Key_Shift) << "" << false;
    QTest::newRow("left arrow") << int(Qt::Key_Left) << "" << false;
    QTest::newRow("frame surface") << 0 << "Frame1" << true;
    QTest::newRow("picture") << 0 << "Picture1" << false;
    QTest::newRow("title") << 0 << "lblProductName" << false;
}

void TestShell::splash() {
    QFETCH(int, key);
    QFETCH(QString, clickOn);
    QFETCH(bool, closes);
    MainWindow w;
    w.show();
    // Timer1's first tick shows the splash; the rest are driven by hand.
    QObject::connect(w.timer1(), &QTimer::timeout, w.timer1(), &QTimer::stop);
    QTRY_COMPARE(w.splashSequence().ticks(), 1);
    QPointer<SplashScreen> splash = w.splashSequence().splash();
    QVERIFY(splash && splash->isVisible() && !splash->isModal() && w.isEnabled());
    QCOMPARE(labelText(splash, "lblVersion"), versionText());
    QCOMPARE(labelText(splash, "lblProductName"), appTitle());
    verifyTextsFit(splash);
    // The art is compiled in: the picture at its size, the icon at every size, on the window.
    QCOMPARE(splash->findChild<QLabel*>("Picture1")->pixmap().size(), QSize(220, 127));
    for (int s : kIconSizes)
        QVERIFY2(programIconPixmap(s).size() == QSize(s, s) &&
                     programIcon().availableSizes().contains(QSize(s, s)),
                 qPrintable(QString::number(s)));
    QVERIFY(!w.windowIcon().isNull());

    if (key) QTest::keyClick(splash, Qt::Key(key));
    if (!clickOn.isEmpty()) {
        auto* target = splash->findChild<QWidget*>(clickOn);
        // Near the frame's bottom-left corner nothing lies on top of it.
        const bool frame = clickOn == "Frame1";
        const QPoint pos = frame ? QPoint(12, target->height() - 12) : target->rect().center();
        QVERIFY(!frame || !target->childAt(pos));
        QTest::mouseClick(target, Qt::LeftButton, {}, pos);
    }
    flushDeletes();
    QCOMPARE(splash.isNull(), closes);

    // Until the 50th tick the splash stays as the user left it: open, or gone for good.
    while (w.splashSequence().ticks() < SplashSequence::kLastTick - 1)
        w.splashSequence().tick(*w.timer1(), w);
    QCOMPARE(w.splashSequence().splash() == nullptr, closes);
    w.timer1()->start();
    w.splashSequence().tick(*w.timer1(), w);
    QVERIFY(!w.timer1()->isActive());
    flushDeletes();
    QVERIFY(!w.splashSequence().splash());
}

void TestShell::about_data() {
    QTest::addColumn<int>("key"); // 0: a click on OK; -1: the close box
    QTest::newRow("OK") << 0;
    QTest::newRow("enter") << int(Qt::Key_Return); // OK is the default button
    QTest::newRow("escape") << int(Qt::Key_Escape);
    QTest::newRow("close box") << -1;
}

void TestShell::about() {
    QFETCH(int, key);
    MainWindow w;
    w.timer1()->stop();
    w.show();
    w.mnuAbout()->trigger();
    QPointer<AboutDialog> about = w.aboutDialog();
    QVERIFY(about && about->isVisible() && !about->isModal());
    // About again brings the same box forward.
    w.mnuAbout()->trigger();
    QCOMPARE(w.findChildren<AboutDialog*>(), QList<AboutDialog*>{about});
    QCOMPARE(about->windowTitle(), "About " + appTitle());
    QCOMPARE(labelText(about, "lblVersion"), versionText());
    verifyTextsFit(about);

    // The description's second sentence begins a line of its own.
    const QLabel* l = about->findChild<QLabel*>("lblDescription");
    QTextLayout layout(l->text(), l->font()); // wraps at words by default
    QList<int> lineStarts;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(l->contentsRect().width());
        lineStarts << line.textStart();
    }
    layout.endLayout();
    QVERIFY(lineStarts.indexOf(l->text().indexOf("Utilizes")) > 0);

    // System Info starts the tool and leaves the box open.
    int started = 0;
    about->setStartSysInfo([&started] { ++started; });
    QTest::mouseClick(about->cmdSysInfo(), Qt::LeftButton);
    QVERIFY(started == 1 && about->isVisible());

    if (key == 0)
        QTest::mouseClick(about->cmdOK(), Qt::LeftButton);
    else if (key > 0)
        QTest::keyClick(about, Qt::Key(key));
    else
        about->close();
    // About right away opens a fresh box, not the dismissed one, which then goes.
    w.mnuAbout()->trigger();
    QVERIFY(w.aboutDialog() != about.data() && w.aboutDialog()->isVisible());
    flushDeletes();
    QVERIFY(about.isNull());
}

QTEST_MAIN(TestShell)
#include "tst_shell.moc"

// The start-up splash and its timing, the About box, and the program's art.

#include "gui/AppArt.h"
#include "gui/AppInfo.h"
#include "gui/SplashSequence.h"
#include "gui/frmAbout.h"
#include "gui/frmSplash.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QTextLayout>
#include <QTimer>
#include <QtTest>

using namespace yawmark;

namespace {
// Lets deleteLater() of an unloaded window run.
void flushDeletes() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

int countTopLevel(const char* name) {
    int n = 0;
    for (QWidget* w : QApplication::allWidgets())
        n += w->objectName() == QLatin1String(name);
    return n;
}
} // namespace

class TestShell : public QObject {
    Q_OBJECT
private slots:
    void cleanup();

    void splashShownAtFirstTickGoneAtFiftieth();
    void splashClosedEarlyStaysGone();
    void splashKeys_data();
    void splashKeys();
    void splashClicks_data();
    void splashClicks();
    void splashContentsAndArt();

    void aboutTexts();
    void aboutSingleInstance();
};

void TestShell::cleanup() {
    frmSplash::unload();
    if (frmAbout* a = frmAbout::existing()) a->reject();
    flushDeletes();
}

void TestShell::splashShownAtFirstTickGoneAtFiftieth() {
    QWidget main;
    main.show();
    QTimer timer1;
    timer1.start(100);
    SplashSequence seq;

    seq.Timer1_Timer(timer1, main);
    frmSplash* splash = frmSplash::existing();
    QVERIFY(splash && splash->isVisible());
    QVERIFY(!splash->isModal());
    QVERIFY(main.isEnabled());
    for (int t = 2; t <= 49; ++t)
        seq.Timer1_Timer(timer1, main);
    QCOMPARE(frmSplash::existing(), splash);
    QVERIFY(splash->isVisible() && timer1.isActive());

    QPointer<frmSplash> guard(splash);
    seq.Timer1_Timer(timer1, main);
    QVERIFY(!timer1.isActive());
    QVERIFY(!frmSplash::existing());
    QVERIFY(main.isVisible());
    flushDeletes();
    QVERIFY(guard.isNull());
    // A stray tick after the end asks for the end again, never for a new splash.
    QCOMPARE(seq.tick(), SplashSequence::Action::EndSplash);
}

void TestShell::splashClosedEarlyStaysGone() {
    QWidget main;
    QTimer timer1;
    timer1.start(100);
    SplashSequence seq;
    seq.Timer1_Timer(timer1, main);
    QTest::keyClick(frmSplash::existing(), Qt::Key_X);
    QVERIFY(!frmSplash::existing());
    flushDeletes();
    // The rest of the sequence must neither bring it back nor trip over its absence.
    for (int t = 2; t <= 50; ++t)
        seq.Timer1_Timer(timer1, main);
    QVERIFY(!timer1.isActive());
    QCOMPARE(countTopLevel("frmSplash"), 0);
}

void TestShell::splashKeys_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("closes");
    QTest::newRow("letter") << int(Qt::Key_Q) << true;
    QTest::newRow("enter") << int(Qt::Key_Return) << true;
    QTest::newRow("shift") << int(Qt::Key_Shift) << false;
    QTest::newRow("left arrow") << int(Qt::Key_Left) << false;
}

void TestShell::splashKeys() {
    QFETCH(int, key);
    QFETCH(bool, closes);
    frmSplash* splash = frmSplash::instance();
    splash->show();
    QTest::keyClick(splash, Qt::Key(key));
    QCOMPARE(frmSplash::existing() == nullptr, closes);
    if (!closes) QVERIFY(splash->isVisible());
}

void TestShell::splashClicks_data() {
    QTest::addColumn<QString>("target");
    QTest::addColumn<bool>("closes");
    QTest::newRow("frame surface") << "Frame1" << true;
    QTest::newRow("picture") << "Picture1" << false;
    QTest::newRow("title") << "lblProductName" << false;
}

void TestShell::splashClicks() {
    QFETCH(QString, target);
    QFETCH(bool, closes);
    frmSplash* splash = frmSplash::instance();
    splash->show();
    auto* w = splash->findChild<QWidget*>(target);
    QVERIFY(w);
    // Near the frame's bottom-left corner nothing lies on top of it.
    const QPoint pos = w == splash->Frame1 ? QPoint(12, w->height() - 12) : w->rect().center();
    QVERIFY(w != splash->Frame1 || !splash->Frame1->childAt(pos));
    QTest::mouseClick(w, Qt::LeftButton, {}, pos);
    QCOMPARE(frmSplash::existing() == nullptr, closes);
}

void TestShell::splashContentsAndArt() {
    frmSplash* splash = frmSplash::instance();
    QVERIFY(splash->windowFlags() & Qt::FramelessWindowHint);
    QCOMPARE(splash->size(), QSize(492, 283)); // 7380 x 4245 twips
    QCOMPARE(splash->lblVersion->text(), QStringLiteral("Version 1.2.0"));
    QCOMPARE(splash->Label1->text(),
             QStringLiteral("Press any key to close this message immediately"));
    QCOMPARE(splash->lblProductName->font().pointSizeF(), 27.75);
    // No text may be cut off: every label is as large as its text and lies inside the frame.
    for (QLabel* l : splash->Frame1->findChildren<QLabel*>()) {
        if (l == splash->Picture1 || l->text().isEmpty()) continue;
        QVERIFY2(l->width() >= l->sizeHint().width(), qPrintable(l->objectName()));
        QVERIFY2(l->height() >= l->fontMetrics().height(), qPrintable(l->objectName()));
        QVERIFY2(splash->Frame1->rect().contains(l->geometry()), qPrintable(l->objectName()));
    }
    QVERIFY(splash->Frame1->rect().contains(splash->Picture1->geometry()));

    // The art is compiled in: the picture at its size, the icon at every size, on every window.
    QCOMPARE(splash->Picture1->pixmap().size(), QSize(220, 127));
    const QList<QSize> sizes = programIcon().availableSizes();
    for (int s : kIconSizes) {
        QVERIFY2(sizes.contains(QSize(s, s)), qPrintable(QString::number(s)));
        QCOMPARE(programIconPixmap(s).size(), QSize(s, s));
    }
    QVERIFY(!splash->windowIcon().isNull());
    QVERIFY(!frmAbout::instance()->windowIcon().isNull());
}

void TestShell::aboutTexts() {
    frmAbout* about = frmAbout::showAbout();
    QCOMPARE(about->windowTitle(), QStringLiteral("About Yawmark"));
    QCOMPARE(about->lblVersion->text(), QStringLiteral("Version 1.2.0"));
    QCOMPARE(about->size(), QSize(382, 237)); // 5730 x 3555 twips
    QVERIFY(!about->isModal());
    QCOMPARE(about->cmdSysInfo->text(), QStringLiteral("&System Info..."));
    QCOMPARE(about->cmdOK->nextInFocusChain(), about->cmdSysInfo);
    // The etched separator: a dark line over a white one.
    QCOMPARE(about->Line1[1]->palette().color(QPalette::Window), QColor(0x80, 0x80, 0x80));
    QCOMPARE(about->Line1[0]->palette().color(QPalette::Window), QColor(Qt::white));

    QLabel* l = about->lblDescription;
    const QString first = "Simulates how a vehicle skids when the handbrake is applied, i.e. "
                          "rear wheels locked, but no braking in front wheels.";
    const QString second =
        "Utilizes two-dimensional modeling, i.e. no weight shift.  See documentation for details.";
    QCOMPARE(l->text(), first + QString(68, ' ') + second);
    // Laid out as the label does, the second sentence begins a line of its own.
    QTextLayout layout(l->text(), l->font());
    QTextOption opt;
    opt.setWrapMode(QTextOption::WordWrap);
    layout.setTextOption(opt);
    layout.beginLayout();
    int secondStartsLine = -1;
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(l->contentsRect().width());
        if (line.textStart() == l->text().indexOf("Utilizes")) secondStartsLine = line.lineNumber();
    }
    layout.endLayout();
    QVERIFY(secondStartsLine > 0);
    // The wrapped notices fit their boxes.
    for (QLabel* n : {about->lblDescription, about->lblDisclaimer}) {
        const QRect need = n->fontMetrics().boundingRect(QRect(0, 0, n->width(), 10000),
                                                         Qt::TextWordWrap, n->text());
        QVERIFY2(need.height() <= n->height(), qPrintable(n->objectName()));
    }

    // System Info starts the tool and leaves the About box open.
    int started = 0;
    about->setStartSysInfo([&started] { ++started; });
    QTest::mouseClick(about->cmdSysInfo, Qt::LeftButton);
    QCOMPARE(started, 1);
    QCOMPARE(frmAbout::existing(), about);
}

void TestShell::aboutSingleInstance() {
    QWidget main;
    frmAbout* first = frmAbout::showAbout(&main);
    QCOMPARE(frmAbout::showAbout(&main), first);
    QCOMPARE(countTopLevel("frmAbout"), 1);
    QVERIFY(first->isVisible());
    // Each way of closing unloads the box; choosing About again gives a fresh,
    // fully loaded one. Keys: 0 a click on OK, -1 the close box.
    for (int key : {0, int(Qt::Key_Return), int(Qt::Key_Escape), -1}) {
        QPointer<frmAbout> about = frmAbout::showAbout(&main);
        QCOMPARE(about->lblVersion->text(), QStringLiteral("Version 1.2.0"));
        if (key == 0)
            QTest::mouseClick(about->cmdOK, Qt::LeftButton);
        else if (key > 0)
            QTest::keyClick(about, Qt::Key(key)); // OK is the default, Escape cancels
        else
            about->close();
        QVERIFY2(!frmAbout::existing(), qPrintable(QString::number(key)));
        flushDeletes();
        QVERIFY(about.isNull());
        QCOMPARE(countTopLevel("frmAbout"), 0);
    }
}

QTEST_MAIN(TestShell)
#include "tst_shell.moc"

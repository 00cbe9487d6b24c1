// The window's drawing surface: mapping, text sizes, widths, persistent versus
// screen-only drawing, Cls, and the plot widget around it.
#include "plot/ImageSurface.h"
#include "plot/PlotWidget.h"

#include <QApplication>
#include <QPaintEvent>
#include <QtTest>

#include <cmath>

using namespace yawmark;

namespace {

int countColor(const QImage& img, QColor c) {
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (img.pixelColor(x, y) == c) ++n;
    return n;
}

// Rows of column x that are not white.
int inkRows(const QImage& img, int x) {
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        if (img.pixelColor(x, y) != QColor(Qt::white)) ++n;
    return n;
}

// Counts its repaints and whether they came with the screen-only layer.
class CountingPlot : public PlotWidget {
public:
    int paints = 0;

protected:
    void paintEvent(QPaintEvent* e) override {
        ++paints;
        PlotWidget::paintEvent(e);
    }
};

} // namespace

class TestImageSurface : public QObject {
    Q_OBJECT
private slots:
    void mapsWorldCornersToPixels_data();
    void mapsWorldCornersToPixels();
    void textSizesAreSignedByAxisDirection();
    void linesAndDotsHonourDrawWidth_data();
    void linesAndDotsHonourDrawWidth();
    void persistentAndScreenOnlyDrawing();
    void clsClearsImageAndScreen();
    void sharpOnHighDensityScreens();
    void farAndInvalidPointsAreHarmless();
    void widgetRepaintsCoalescedAndKeepsDrawingOnResize();
    void widgetAnswersWindowGeometryInTwips();
};

void TestImageSurface::mapsWorldCornersToPixels_data() {
    QTest::addColumn<double>("x1");
    QTest::addColumn<double>("y1");
    QTest::addColumn<double>("x2");
    QTest::addColumn<double>("y2");
    QTest::newRow("y upward") << -10.0 << 35.0 << 30.0 << -15.0;
    QTest::newRow("y downward") << 0.0 << 0.0 << 200.0 << 100.0;
    QTest::newRow("both reversed") << 5.0 << -1.0 << -5.0 << 1.0;
}

void TestImageSurface::mapsWorldCornersToPixels() {
    QFETCH(double, x1);
    QFETCH(double, y1);
    QFETCH(double, x2);
    QFETCH(double, y2);
    ImageSurface s;
    s.resize(QSize(200, 100), 1.0);
    s.Scale(x1, y1, x2, y2);
    QCOMPARE(s.toDevice(x1, y1), QPointF(0, 0));
    QCOMPARE(s.toDevice(x2, y2), QPointF(200, 100));
    QCOMPARE(s.toDevice((x1 + x2) / 2, (y1 + y2) / 2), QPointF(100, 50));
    // A larger world y lies higher on the screen exactly when y2 < y1.
    QCOMPARE(s.toDevice(0, y1 + 1).y() < s.toDevice(0, y1).y(), y2 < y1);

    // A dot at the world's centre lands on the pixel there.
    s.Cls();
    s.PSet((x1 + x2) / 2, (y1 + y2) / 2, 0x0000FFu);
    const QImage img = s.image();
    QCOMPARE(img.pixelColor(100, 50), QColor(255, 0, 0));
    QCOMPARE(countColor(img, QColor(255, 0, 0)), 1);

    // Without corners: twips from the top-left corner, 15 to a pixel.
    s.Scale();
    QCOMPARE(s.toDevice(150, 300), QPointF(10, 20));
    // A mapping without extent is refused and the old one stays.
    s.Scale(1, 1, 1, 2);
    QCOMPARE(s.toDevice(150, 300), QPointF(10, 20));
}

void TestImageSurface::textSizesAreSignedByAxisDirection() {
    ImageSurface s;
    s.resize(QSize(300, 200), 1.0);
    s.Scale();
    const double wTwips = s.TextWidth("X"), hTwips = s.TextHeight("X");
    QVERIFY(wTwips > 0 && hTwips > 0);
    QVERIFY(s.TextWidth(" 100 ") > 3 * wTwips);
    // Readable: a line of text between 10 and 25 pixels high.
    QVERIFY(hTwips / 15 >= 10 && hTwips / 15 <= 25);
    s.Scale(0, 20, 30, 0); // 10 px per unit, y upward
    QCOMPARE(s.TextWidth("X"), wTwips / 150);
    QCOMPARE(s.TextHeight("X"), -hTwips / 150);
    s.Scale(30, 0, 0, 20); // x reversed, y downward
    QVERIFY(s.TextWidth("X") < 0);
    QVERIFY(s.TextHeight("X") > 0);

    // Print writes black text with its top-left corner at the current position.
    s.Scale(0, 0, 300, 200);
    s.Cls();
    s.setCurrentX(100);
    s.setCurrentY(50);
    s.Print(-4);
    const QImage img = s.image();
    int ink = 0, outside = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (img.pixelColor(x, y) != QColor(Qt::white))
                (x >= 100 && x < 140 && y >= 50 && y < 70 ? ink : outside)++;
    QVERIFY(ink > 5);
    QCOMPARE(outside, 0);
}

void TestImageSurface::linesAndDotsHonourDrawWidth_data() {
    QTest::addColumn<int>("width");
    QTest::newRow("1") << 1;
    QTest::newRow("2") << 2;
    QTest::newRow("3") << 3;
    QTest::newRow("5") << 5;
}

void TestImageSurface::linesAndDotsHonourDrawWidth() {
    QFETCH(int, width);
    ImageSurface s;
    s.resize(QSize(100, 100), 1.0);
    s.Scale(0, 0, 100, 100);
    s.setDrawWidth(width);
    QCOMPARE(s.drawWidth(), width);
    s.Line(10.5, 30.5, 90.5, 30.5); // foreground: black
    QCOMPARE(inkRows(s.image(), 50), width);
    s.Line(50.5, 60.5, 50.5, 95.5, 0xFF0000u); // blue, vertical
    int cols = 0;
    for (int x = 0; x < 100; ++x)
        cols += s.image().pixelColor(x, 80) == QColor(0, 0, 255);
    QCOMPARE(cols, width);
    s.PSet(20.5, 80.5, 0x00FF00u);
    QCOMPARE(countColor(s.image(), QColor(0, 255, 0)), width * width);
    QCOMPARE(s.image().pixelColor(20, 80), QColor(0, 255, 0));
    s.PSet(80.5, 80.5);
    QCOMPARE(s.image().pixelColor(80, 80), QColor(Qt::black));
}

void TestImageSurface::persistentAndScreenOnlyDrawing() {
    ImageSurface s;
    s.resize(QSize(100, 100), 1.0);
    s.Scale(0, 0, 100, 100);
    QVERIFY(s.autoRedraw());
    s.PSet(10.5, 10.5, 0x0000FFu); // a trail dot: persistent

    // An ordinary outline: on the screen only.
    s.setAutoRedraw(false);
    s.Line(20.5, 50.5, 80.5, 50.5);
    s.PSet(30.5, 30.5, 0xFF0000u);
    s.setAutoRedraw(true);
    QCOMPARE(s.image().pixelColor(50, 50), QColor(Qt::white));
    QCOMPARE(s.composed().pixelColor(50, 50), QColor(Qt::black));
    QCOMPARE(s.composed().pixelColor(30, 30), QColor(0, 0, 255));
    QCOMPARE(s.screenLayerSize(), 2);

    // The next outline replaces it.
    s.PSet(11.5, 10.5, 0x0000FFu);
    s.setAutoRedraw(false);
    s.Line(20.5, 70.5, 80.5, 70.5);
    s.setAutoRedraw(true);
    QCOMPARE(s.screenLayerSize(), 1);
    QCOMPARE(s.composed().pixelColor(50, 50), QColor(Qt::white));
    QCOMPARE(s.composed().pixelColor(50, 70), QColor(Qt::black));
    QCOMPARE(s.composed().pixelColor(11, 10), QColor(255, 0, 0));

    // A repaint from the persistent image loses the outline, keeps the trails.
    QImage screen(100, 100, QImage::Format_RGB32);
    {
        QPainter p(&screen);
        s.paint(p, QRect(0, 0, 100, 100), false);
    }
    QCOMPARE(s.screenLayerSize(), 0);
    QCOMPARE(screen.pixelColor(50, 70), QColor(Qt::white));
    QCOMPARE(screen.pixelColor(10, 10), QColor(255, 0, 0));
    // ... while a repaint asked for by the drawing shows it.
    s.setAutoRedraw(false);
    s.Line(20.5, 70.5, 80.5, 70.5);
    s.setAutoRedraw(true);
    {
        QPainter p(&screen);
        s.paint(p, QRect(0, 0, 100, 100), true);
    }
    QCOMPARE(screen.pixelColor(50, 70), QColor(Qt::black));
}

void TestImageSurface::clsClearsImageAndScreen() {
    ImageSurface s;
    s.resize(QSize(50, 40), 1.0);
    s.Scale(0, 0, 50, 40);
    s.PSet(5, 5, 0x0000FFu);
    s.setAutoRedraw(false);
    s.PSet(20, 20, 0x0000FFu);
    s.Cls();
    QCOMPARE(s.screenLayerSize(), 0);
    QCOMPARE(countColor(s.composed(), QColor(Qt::white)), 50 * 40);
    // The mapping and settings survive a Cls.
    QCOMPARE(s.toDevice(25, 20), QPointF(25, 20));
    QVERIFY(!s.autoRedraw());
}

void TestImageSurface::sharpOnHighDensityScreens() {
    ImageSurface s;
    s.resize(QSize(100, 50), 2.0);
    QCOMPARE(s.image().size(), QSize(200, 100));
    s.Scale(0, 0, 100, 50);
    s.PSet(10.2, 10.2, 0x0000FFu); // one pixel wide = two device pixels
    QCOMPARE(countColor(s.image(), QColor(255, 0, 0)), 4);
    s.Scale();
    QCOMPARE(s.toDevice(150, 150), QPointF(20, 20)); // 15 twips per device-independent pixel
    const double twipsHigh = s.TextHeight("X");
    ImageSurface single;
    single.resize(QSize(100, 50), 1.0);
    QVERIFY(std::abs(twipsHigh - single.TextHeight("X")) < 30); // same size to the eye
}

void TestImageSurface::farAndInvalidPointsAreHarmless() {
    ImageSurface s;
    s.resize(QSize(60, 60), 1.0);
    s.Scale(0, 0, 60, 60);
    s.setDrawWidth(3);
    s.PSet(1e300, 1e300, 0x0000FFu);
    s.PSet(NAN, 5, 0x0000FFu);
    s.Line(NAN, 0, 10, 10);
    s.Line(-1e9, 30.5, 1e9, 30.5, 0x0000FFu); // far beyond the rasteriser's reach, crossing the area
    s.Line(1e300, 1e300, 2e300, -1e300, 0x0000FFu);
    s.setCurrentX(INFINITY);
    s.Print(3);
    QCOMPARE(inkRows(s.image(), 30), 3);
    QCOMPARE(countColor(s.image(), QColor(255, 0, 0)), 60 * 3);
}

void TestImageSurface::widgetRepaintsCoalescedAndKeepsDrawingOnResize() {
    CountingPlot w;
    w.resize(200, 150);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QTest::qWait(50);
    Surface& s = w.surface();
    s.Scale(0, 0, 200, 150);
    const int before = w.paints;
    // Passes in quick succession for a quarter of a second, each yielding, as a
    // run does: far fewer repaints than passes, but the screen keeps up at
    // about the display rate all along (from the very first drawing on).
    QElapsedTimer clock;
    clock.start();
    int passes = 0;
    while (clock.elapsed() < 250) {
        s.PSet(10 + passes++ % 100, 10, 0x0000FFu);
        QCoreApplication::processEvents();
    }
    const qint64 ms = clock.elapsed();
    const int repaints = w.paints - before;
    const QString seen = QString("%1 repaints in %2 ms, %3 passes").arg(repaints).arg(ms).arg(passes);
    QVERIFY2(repaints <= ms / PlotWidget::kRepaintIntervalMs + 2, qPrintable(seen));
    QVERIFY2(repaints >= ms / PlotWidget::kRepaintIntervalMs / 4, qPrintable(seen));
    QVERIFY2(passes > 10 * repaints, qPrintable(seen));
    // What was drawn is on the screen within a display frame or two.
    s.PSet(150, 100, 0xFF0000u);
    QTRY_VERIFY_WITH_TIMEOUT(w.grab().toImage().pixelColor(150, 100) == QColor(0, 0, 255), 200);
    // flush() repaints now, without waiting for the timer.
    s.PSet(160, 100, 0xFF0000u);
    const int beforeFlush = w.paints;
    s.flush();
    QCoreApplication::processEvents();
    QVERIFY(w.paints > beforeFlush);

    // A bigger window keeps the drawing where it was.
    w.resize(300, 250);
    QCoreApplication::processEvents();
    QCOMPARE(w.imageSurface().image().size(), QSize(300, 250));
    QCOMPARE(w.imageSurface().image().pixelColor(150, 100), QColor(0, 0, 255));
    QCOMPARE(w.imageSurface().image().pixelColor(250, 200), QColor(Qt::white));
    QCOMPARE(w.imageSurface().toDevice(150, 100), QPointF(150, 100)); // units per pixel stay
}

void TestImageSurface::widgetAnswersWindowGeometryInTwips() {
    QWidget window;
    window.resize(527, 546);
    auto* plot = new PlotWidget(&window);
    plot->setGeometry(0, 0, 527, 546);
    auto* panel = new QWidget(&window);
    panel->setGeometry(8, 0, 233, 425);
    plot->setPanelFrame(panel);
    panel->raise();
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    Surface& s = plot->surface();
    QCOMPARE(s.panelLeft(), 120.0);
    QCOMPARE(s.panelWidth(), 3495.0);
    QCOMPARE(s.windowWidth(), window.frameGeometry().width() * 15.0);
    QCOMPARE(s.windowHeight(), window.frameGeometry().height() * 15.0);
    QVERIFY(s.windowWidth() >= 527 * 15.0);
    // No panel given: the plot starts at the left edge.
    PlotWidget lone;
    QCOMPARE(lone.surface().panelLeft() + lone.surface().panelWidth(), 0.0);
}

QTEST_MAIN(TestImageSurface)
#include "tst_imagesurface.moc"

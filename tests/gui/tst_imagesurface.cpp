// The window's drawing surface: mapping, text sizes, widths, persistent versus
// screen-only drawing, Cls, and the plot widget around it.
#include "plot/ImageSurface.h"
#include "gui/PlotWidget.h"

#include <QApplication>
#include <QPaintEvent>
#include <QtTest>

#include <cmath>

using namespace yawmark;

namespace {

const QColor kRed(255, 0, 0), kBlack(Qt::black), kWhite(Qt::white);

// Pixels of colour c, in the whole image or in column x only.
int countColor(const QImage& img, QColor c, int x = -1) {
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int i = x < 0 ? 0 : x; i < (x < 0 ? img.width() : x + 1); ++i)
            n += img.pixelColor(i, y) == c;
    return n;
}

// A surface of w x h pixels with one world unit per pixel, y downward.
void unitSurface(ImageSurface& s, int w, int h, double dpr = 1.0) {
    s.resize(QSize(w, h), dpr);
    s.Scale(0, 0, w, h);
}

// Counts its repaints.
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
    void mapsWorldCornersToPixelsSharply();
    void textSizesAreSignedByAxisDirection();
    void linesAndDotsHonourDrawWidth();
    void persistentScreenOnlyAndCls();
    void widgetRepaintsCoalescedAndKeepsDrawingOnResize();
    void widgetAnswersWindowGeometryInTwips();
};

void TestImageSurface::mapsWorldCornersToPixelsSharply() {
    ImageSurface s;
    s.resize(QSize(200, 100), 1.0);
    for (const QRectF& r : {QRectF(-10, 35, 40, -50), QRectF(5, -1, -10, 2)}) {
        const double x1 = r.left(), y1 = r.top(), x2 = r.right(), y2 = r.bottom();
        s.Scale(x1, y1, x2, y2);
        QCOMPARE(s.toDevice(x1, y1), QPointF(0, 0));
        QCOMPARE(s.toDevice(x2, y2), QPointF(200, 100));
        // A larger world y lies higher on the screen exactly when y2 < y1.
        QCOMPARE(s.toDevice(0, y1 + 1).y() < s.toDevice(0, y1).y(), y2 < y1);
        // A dot at the world's centre lands on the pixel there, in the colour 0x00BBGGRR.
        s.Cls();
        s.PSet((x1 + x2) / 2, (y1 + y2) / 2, 0x0000FFu);
        QCOMPARE(s.image().pixelColor(100, 50), kRed);
    }
    // Without corners: twips from the top-left corner, 15 to a pixel.
    s.Scale();
    QCOMPARE(s.toDevice(150, 300), QPointF(10, 20));
    // A mapping without extent is refused and the old one stays.
    s.Scale(1, 1, 1, 2);
    QCOMPARE(s.toDevice(150, 300), QPointF(10, 20));

    // Sharp on high-density screens: the image in device pixels, a dot one
    // pixel wide two device pixels wide, twips still per independent pixel.
    unitSurface(s, 100, 50, 2.0);
    QCOMPARE(s.image().size(), QSize(200, 100));
    s.Cls();
    s.PSet(10.2, 10.2, 0x0000FFu);
    QCOMPARE(countColor(s.image(), kRed), 4);
    s.Scale();
    QCOMPARE(s.toDevice(150, 150), QPointF(20, 20));
}

void TestImageSurface::textSizesAreSignedByAxisDirection() {
    ImageSurface s;
    s.resize(QSize(300, 200), 1.0);
    s.Scale();
    const double wTwips = s.TextWidth("X"), hTwips = s.TextHeight("X");
    QVERIFY(wTwips > 0 && hTwips / 15 >= 10 && hTwips / 15 <= 25); // readable: 10 to 25 px high
    s.Scale(0, 20, 30, 0);                                         // 10 px per unit, y upward
    QCOMPARE(s.TextWidth("X"), wTwips / 150);
    QCOMPARE(s.TextHeight("X"), -hTwips / 150);
    s.Scale(30, 0, 0, 20); // x reversed, y downward
    QVERIFY(s.TextWidth("X") < 0 && s.TextHeight("X") > 0);

    // Print writes black text with its top-left corner at the current position.
    unitSurface(s, 300, 200);
    s.setCurrentX(100);
    s.setCurrentY(50);
    s.Print(-4);
    const int ink = 300 * 200 - countColor(s.image(), kWhite);
    QVERIFY(ink > 5);
    QCOMPARE(40 * 20 - countColor(s.image().copy(100, 50, 40, 20), kWhite), ink);
}

void TestImageSurface::linesAndDotsHonourDrawWidth() {
    for (const int width : {1, 3}) {
        ImageSurface s;
        unitSurface(s, 100, 100);
        s.setDrawWidth(width);
        s.Line(10.5, 30.5, 90.5, 30.5); // foreground: black
        QCOMPARE(countColor(s.image(), kBlack, 50), width);
        s.PSet(20.5, 80.5, 0x0000FFu);
        QCOMPARE(countColor(s.image(), kRed), width * width);
        QCOMPARE(s.image().pixelColor(20, 80), kRed);
    }
    // Far and invalid points draw nothing and break nothing; a line crossing
    // the area from far beyond the rasteriser's reach is drawn where it crosses.
    ImageSurface s;
    unitSurface(s, 60, 60);
    s.setDrawWidth(3);
    s.PSet(1e300, 1e300, 0x0000FFu);
    s.PSet(NAN, 5, 0x0000FFu);
    s.Line(NAN, 0, 10, 10);
    s.Line(-1e9, 30.5, 1e9, 30.5, 0x0000FFu);
    s.Line(1e300, 1e300, 2e300, -1e300, 0x0000FFu);
    s.setCurrentX(INFINITY);
    s.Print(3);
    QCOMPARE(60 - countColor(s.image(), kWhite, 30), 3);
    QCOMPARE(countColor(s.image(), kRed), 60 * 3);
    // Lines between points too far out for the clipping arithmetic (a view
    // zoomed far out) ask to repaint no more than the area, on or off screen.
    for (const bool persistent : {true, false}) {
        s.setAutoRedraw(persistent);
        s.takeChangedRect();
        s.Line(-1e308, 30, 1e308, 31);
        s.Line(1e307, -1e308, -1e308, 1e307);
        s.Line(30, 30, 1e308, 1e308);
        const QRect changed = s.takeChangedRect();
        QVERIFY(changed.isEmpty() || QRect(0, 0, 60, 60).contains(changed));
    }
}

void TestImageSurface::persistentScreenOnlyAndCls() {
    ImageSurface s;
    unitSurface(s, 100, 100);
    QVERIFY(s.autoRedraw());
    s.PSet(10.5, 10.5, 0x0000FFu); // a trail dot: persistent
    // An ordinary outline: on the screen only, until the next one replaces it.
    for (const double y : {50.5, 70.5}) {
        s.setAutoRedraw(false);
        s.Line(20.5, y, 80.5, y);
        s.setAutoRedraw(true);
    }
    QCOMPARE(s.image().pixelColor(50, 70), kWhite);
    QCOMPARE(s.screenLayerSize(), 1);
    QCOMPARE(s.composed().pixelColor(50, 50), kWhite);
    QCOMPARE(s.composed().pixelColor(50, 70), kBlack);

    // A repaint from the persistent image loses the outline, keeps the trails;
    // a repaint asked for by the drawing shows it.
    QImage screen(100, 100, QImage::Format_RGB32);
    for (const bool withScreenLayer : {true, false}) {
        QPainter p(&screen);
        s.paint(p, QRect(0, 0, 100, 100), withScreenLayer);
        QCOMPARE(screen.pixelColor(50, 70), withScreenLayer ? kBlack : kWhite);
        QCOMPARE(screen.pixelColor(10, 10), kRed);
    }
    QCOMPARE(s.screenLayerSize(), 0);

    // Cls clears both; the mapping and settings survive it.
    s.setAutoRedraw(false);
    s.PSet(20, 20, 0x0000FFu);
    s.Cls();
    QCOMPARE(countColor(s.composed(), kWhite), 100 * 100);
    QCOMPARE(s.toDevice(25, 20), QPointF(25, 20));
    QVERIFY(!s.autoRedraw());
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
    const QString seen = QString("%1 repaints, %2 ms, %3 passes").arg(repaints).arg(ms).arg(passes);
    QVERIFY2(repaints <= ms / PlotWidget::kRepaintIntervalMs + 2, qPrintable(seen));
    QVERIFY2(repaints >= ms / PlotWidget::kRepaintIntervalMs / 4, qPrintable(seen));
    QVERIFY2(passes > 10 * repaints, qPrintable(seen));
    // What was drawn is on the screen within a display frame or two.
    s.PSet(150, 100, 0xFF0000u);
    QTRY_VERIFY_WITH_TIMEOUT(w.grab().toImage().pixelColor(150, 100) == QColor(0, 0, 255), 200);
    // flush() repaints now, without waiting for the timer.
    const int beforeFlush = w.paints;
    s.flush();
    QCoreApplication::processEvents();
    QVERIFY(w.paints > beforeFlush);

    // A bigger window keeps the drawing where it was, at the same units per pixel.
    w.resize(300, 250);
    QCoreApplication::processEvents();
    ImageSurface& image = w.imageSurface();
    QCOMPARE(image.image().size(), QSize(300, 250));
    QCOMPARE(image.image().pixelColor(150, 100), QColor(0, 0, 255));
    QCOMPARE(image.toDevice(150, 100), QPointF(150, 100));
}

void TestImageSurface::widgetAnswersWindowGeometryInTwips() {
    QWidget window;
    window.resize(527, 546);
    auto* plot = new PlotWidget(&window);
    plot->setGeometry(0, 0, 527, 546);
    QCOMPARE(plot->surface().panelLeft() + plot->surface().panelWidth(), 0.0); // no panel yet
    auto* panel = new QWidget(&window);
    panel->setGeometry(8, 0, 233, 425);
    plot->setPanelFrame(panel);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    Surface& s = plot->surface();
    QCOMPARE(s.panelLeft(), 120.0);
    QCOMPARE(s.panelWidth(), 3495.0);
    QCOMPARE(s.windowWidth(), window.frameGeometry().width() * 15.0);
    QCOMPARE(s.windowHeight(), window.frameGeometry().height() * 15.0);
}

QTEST_MAIN(TestImageSurface)
#include "tst_imagesurface.moc"

// SPDX-License-Identifier: MIT
// The plot's drawing surface and widget, and the batch image against the window's plot.
#include "cli/BatchRunner.h"
#include "gui/MainWindow.h"
#include "gui/PlotWidget.h"
#include "gui/RunController.h"
#include "model/Case.h"
#include "model/Run.h"
#include "plot/Renderer.h"

#include <QCheckBox>
#include <QTemporaryDir>
#include <QtTest>

#include <sstream>

using namespace yawmark;
using plot::ImageSurface;

const QColor kRed(255, 0, 0), kBlack(Qt::black), kWhite(Qt::white);
constexpr plot::Color kRedColor = 0x0000FFu; // 0x00BBGGRR

static int countColor(const QImage& img, QColor c) {
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            n += img.pixelColor(x, y) == c;
    return n;
}

// A surface that leaves the labels out.
struct Unlabelled : ImageSurface {
    void label(double, double, double) override {}
};

struct Unit : ImageSurface { // n x n pixels, one world unit each, y downward
    explicit Unit(int n) { resize(QSize(n, n), 1.0), setWorldRect(0, 0, n, n); }
};

class TestImageSurface : public QObject {
    Q_OBJECT
    int paints_ = 0;
    bool eventFilter(QObject*, QEvent* e) override {
        paints_ += e->type() == QEvent::Paint;
        return false;
    }

private slots:
    void dotsAndLinesLandOnTheirPixels() {
        // y upward, then x reversed: world points at pixel centres land on those pixels.
        for (const QRectF& r : {QRectF(-10, 35, 40, -50), QRectF(5, -1, -10, 2)})
            for (const int width : {1, 3}) {
                ImageSurface s;
                s.resize(QSize(200, 100), 1.0);
                s.setWorldRect(r.left(), r.top(), r.right(), r.bottom());
                s.setWorldRect(1, 1, 1, 2); // no extent: refused, the mapping stays
                s.setPenWidth(width);
                const auto wx = [&](double px) { return r.left() + px / 200 * r.width(); };
                const auto wy = [&](double py) { return r.top() + py / 100 * r.height(); };
                s.dot(wx(60.5), wy(70.5), kRedColor);
                s.line(wx(10.5), wy(30.5), wx(190.5), wy(30.5));
                const QImage& img = s.image();
                const int d = width / 2; // a dot is a square centred on its point
                QCOMPARE(countColor(img.copy(60 - d, 70 - d, width, width), kRed), width * width);
                QCOMPARE(countColor(img, kRed), width * width);
                QCOMPARE(countColor(img.copy(100, 30 - d, 1, width), kBlack), width);
                QCOMPARE(countColor(img, kBlack), (180 + width) * width); // square caps
            }
    }

    void screenOnlyDrawingLastsUntilTheNextOrARepaint() {
        Unit s(100);
        s.dot(10.5, 10.5, kRedColor);         // a trail dot: persistent
        for (const double y : {50.5, 70.5}) { // ordinary outlines, each replacing the one before
            s.setPersistent(false);
            s.line(20.5, y, 80.5, y);
            s.setPersistent(true);
        }
        QCOMPARE(s.composed().pixelColor(50, 50), kWhite);
        // A repaint asked for by the drawing shows it; one from the image loses it for good.
        QImage screen(100, 100, QImage::Format_RGB32);
        for (const bool withScreenLayer : {true, false}) {
            QPainter p(&screen);
            s.paint(p, QRect(0, 0, 100, 100), withScreenLayer);
            QCOMPARE(screen.pixelColor(50, 70), withScreenLayer ? kBlack : kWhite);
            QCOMPARE(screen.pixelColor(10, 10), kRed);
        }
        QCOMPARE(s.composed().pixelColor(50, 70), kWhite);
        s.setPersistent(false);
        s.dot(20, 20, kRedColor);
        s.clear(); // wipes both
        QCOMPARE(countColor(s.composed(), kWhite), 100 * 100);
    }

    void theLegendLiesBeneathTheTrailsAndARepeatedDotStillLands() {
        Unit s(400);
        const std::array<plot::LegendEntry, 2> entries{
            {{"mass centre", 0}, {"front left", kRedColor}}};
        s.legend(entries);
        s.setPenWidth(5);
        for (int x = 0; x < 400; ++x) // a thick red trail across both, drawn after them
            s.dot(x + 0.5, 22.5, kRedColor);
        // The trail drawn after it crosses it; the rest shows on its background.
        const QRect legend(300, 12, 90, 30);
        QCOMPARE(countColor(s.composed().copy(300, 20, 90, 5), kRed), 90 * 5);
        QVERIFY(countColor(s.composed().copy(legend), kWhite) > 1000);
        s.clear(); // takes the legend away
        QCOMPARE(countColor(s.composed(), kWhite), 400 * 400);

        // A trail's dot drawn again where another colour (or a line) has covered it since.
        s.setPenWidth(1);
        s.dot(50.5, 50.5, kRedColor), s.dot(50.5, 50.5, 0xFF0000u), s.dot(50.5, 50.5, kRedColor);
        s.dot(60.5, 60.5, kRedColor), s.line(55, 60.5, 65, 60.5), s.dot(60.5, 60.5, kRedColor);
        QVERIFY(s.image().pixelColor(50, 50) == kRed && s.image().pixelColor(60, 60) == kRed);
        QCOMPARE(s.toWorld(QPointF(30, 40)), QPointF(30, 40));
        s.resize(QSize(400, 400), 2.0); // world per logical pixel stays on a denser screen
        QCOMPARE(s.toWorld(QPointF(30, 40)), QPointF(30, 40));
    }

    void farAwayLinesAreClippedAndRepaintWithinTheArea() {
        Unit s(60);
        s.setPenWidth(3);
        s.dot(qQNaN(), 5, kRedColor);
        s.line(qQNaN(), 0, 10, 10);
        s.line(-1e9, 30.5, 1e9, 30.5, kRedColor); // drawn where it crosses the area
        QCOMPARE(countColor(s.image(), kRed), 60 * 3);
        // Beyond int pixels (a view zoomed far out): the repaint area stays inside, no overflow.
        for (const bool persistent : {true, false}) {
            s.setPersistent(persistent);
            s.takeChangedRect();
            s.line(-1e308, 30, 1e308, 31);
            s.line(1e307, -1e308, -1e308, 1e307);
            s.line(30, 30, 1e308, 1e308);
            const QRect changed = s.takeChangedRect();
            QVERIFY(!changed.isEmpty() && QRect(0, 0, 60, 60).contains(changed));
        }
    }

    void repaintsAreAnnouncedAndPacedAndResizeKeepsThePicture() {
        ImageSurface fresh;
        QList<bool> heard;
        fresh.dot(0, 0); // drawn before there is a handler (the first run after start-up)
        fresh.setChangeHandler([&](bool now) { heard << now; });
        fresh.dot(0, 0); // already announced: the repaint to come shows it
        QCOMPARE(heard, QList<bool>{false});
        fresh.flush(); // repaint now
        QCOMPARE(heard, (QList<bool>{false, true}));

        PlotWidget w;
        w.installEventFilter(this);
        w.resize(200, 150);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        ImageSurface& s = w.surface();
        s.setWorldRect(0, 0, 200, 150);
        const int before = paints_;
        QElapsedTimer clock; // passes in quick succession, each yielding, as a run does
        clock.start();
        for (int pass = 0; clock.elapsed() < 250; ++pass)
            s.dot(10 + pass % 100, 10, kRedColor), QCoreApplication::processEvents();
        const qint64 frames = clock.elapsed() / PlotWidget::kRepaintIntervalMs;
        QVERIFY2(paints_ - before <= frames + 2, qPrintable(QString::number(paints_ - before)));
        QVERIFY(paints_ > before); // yet the screen follows while drawing goes on
        s.dot(150, 100, kRedColor);
        w.resize(300, 250); // keeps the picture where it was, at the same units per pixel
        QCoreApplication::processEvents();
        QCOMPARE(s.image().size(), QSize(300, 250));
        QCOMPARE(s.image().pixelColor(150, 100), kRed);
        QCOMPARE(s.toDevice(150, 100), QPointF(150, 100));
    }

    // The default skid runs along the y axis through its labels: every trail
    // pixel drawn without labels is there with them.
    void noLabelHidesATrail() {
        ImageSurface labelled;
        Unlabelled bare;
        QImage shown[2];
        for (ImageSurface* s : std::array<ImageSurface*, 2>{&labelled, &bare}) {
            s->resize(QSize(500, 400), 1.0);
            plot::View view;
            view.joined.fill(true);
            plot::Renderer renderer(*s, view);
            QVERIFY(!renderer.drawAxes({500, 400}));
            model::Run run;
            run.start(model::startupCase());
            renderer.beginPasses(run.body().position);
            while (run.phase() == model::Phase::Running)
                QVERIFY(run.pass(&renderer, false));
            renderer.endPasses();
            shown[s == &bare] = s->composed();
        }
        int trail = 0;
        for (int y = 0; y < 400; ++y)
            for (int x = 0; x < 500; ++x) {
                const QRgb p = shown[1].pixel(x, y);
                if (qRed(p) == qGreen(p) && qGreen(p) == qBlue(p)) continue; // white, black, grey
                ++trail;
                QCOMPARE(shown[0].pixel(x, y), p);
            }
        QVERIFY(trail > 1000);
    }

    // Paused after 300 passes, the window shows right of its panel what --png draws.
    void batchImageEqualsTheWindowsPlot() {
        MainWindow w;
        w.findChild<QTimer*>("Timer1")->stop();   // no splash
        w.setWindowFlag(Qt::FramelessWindowHint); // the window is its menu bar and client area
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QObject::connect(&w.runs(), &RunController::passed, [&w](std::uint64_t pass) {
            if (pass == 300) w.runs().togglePause();
        });
        w.draw();
        QTRY_COMPARE(w.runs().phase(), model::Phase::Paused);
        const QImage window = w.findChild<PlotWidget*>("plot")->surface().composed().convertToFormat(
            QImage::Format_RGB32);
        QVERIFY(countColor(window, kRed) > 0 && countColor(window, kBlack) > 0); // trails, axes

        QTemporaryDir dir;
        const std::string file = dir.filePath("plot.png").toStdString();
        const auto size = QString("%1x%2").arg(window.width()).arg(window.height()).toStdString();
        std::ostringstream out, err;
        QCOMPARE(runBatch({"--png", file, "--size", size, "--passes", "300"}, out, err), 0);
        QCOMPARE(QImage(QString::fromStdString(file)).convertToFormat(QImage::Format_RGB32),
                 window);
    }
};

QTEST_MAIN(TestImageSurface)
#include "tst_imagesurface.moc"

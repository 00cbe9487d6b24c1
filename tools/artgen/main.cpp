// SPDX-License-Identifier: MIT
// Draws Yawmark's art: a car seen from above, skidding with its rear wheels
// locked, and the trails of its mass centre and four wheels in the program's
// five trail colours (mass centre black, front-left red, front-right magenta,
// rear-right blue, rear-left green).
//
// Writes icons/hicolor/<n>x<n>/apps/yawmark.png for the usual hicolor sizes
// and splash.png (220 x 127, RGB) into the folder given on the command line.
// Everything is computed, nothing random, so a rerun gives the same pictures.

#include <QColor>
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPointF>
#include <QTransform>

#include <array>
#include <cmath>
#include <cstdio>

namespace {

constexpr double kPi = 3.14159265358979323846;

// Car size in drawing units (a car of 4.4 m by 1.8 m, 25 units per metre).
constexpr double kLength = 110.0;
constexpr double kWidth = 48.0;
constexpr double kWheelBase = 66.0;
constexpr double kTrack = 44.0;

// Body-frame offsets of the tracked points: x to the car's right, y forward.
const std::array<QPointF, 5> kOffsets{
    QPointF(0, 0), QPointF(-kTrack / 2, kWheelBase / 2), QPointF(kTrack / 2, kWheelBase / 2),
    QPointF(kTrack / 2, -kWheelBase / 2), QPointF(-kTrack / 2, -kWheelBase / 2)};

const std::array<QColor, 5> kTrailColors{QColor(0, 0, 0), QColor(255, 0, 0), QColor(255, 0, 255),
                                         QColor(0, 0, 255), QColor(0, 160, 0)};

// Where the car is at one moment: mass centre in picture coordinates (y down)
// and heading in radians, clockwise from straight up.
struct Pose {
    QPointF centre;
    double heading;
};

// The skid as a curve in t = 0..1: the mass centre runs along a gentle arc
// while the locked rear end swings out and the heading grows.
struct Skid {
    QPointF start, control, end;
    double headingStart, headingEnd;

    Pose at(double t) const {
        const double u = 1.0 - t;
        const QPointF c = u * u * start + 2 * u * t * control + t * t * end;
        const double s = t * t * (3 - 2 * t);
        return {c, headingStart + (headingEnd - headingStart) * s};
    }
};

// A body-frame point (x right, y forward) placed in the picture.
QPointF place(const Pose& pose, QPointF body) {
    const double c = std::cos(pose.heading), s = std::sin(pose.heading);
    // Forward is "up" on the picture, i.e. -y.
    return {pose.centre.x() + body.x() * c + body.y() * s,
            pose.centre.y() + body.x() * s - body.y() * c};
}

// Pen width in pixels that stays visible on the smallest icons.
double penPx(double units, double scale, double minPx) {
    return std::max(units * scale, minPx);
}

void drawTrails(QPainter& p, const Skid& skid, double scale, double minPx, double t0 = 0.0) {
    for (int k = 4; k >= 0; --k) {
        QPainterPath path;
        constexpr int kSteps = 80;
        for (int i = 0; i <= kSteps; ++i) {
            const double t = t0 + (1.0 - t0) * i / kSteps;
            const QPointF q = place(skid.at(t), kOffsets[k]);
            if (i == 0)
                path.moveTo(q);
            else
                path.lineTo(q);
        }
        QPen pen(kTrailColors[k], penPx(k == 0 ? 3.0 : 4.5, scale, minPx));
        pen.setCapStyle(Qt::RoundCap);
        if (k == 0) pen.setDashPattern({2.0, 1.6});
        p.setPen(pen);
        p.setBrush(Qt::NoBrush);
        p.drawPath(path);
    }
}

// A thin outline of the car, as the program leaves at each snapshot.
void drawOutline(QPainter& p, const Pose& pose, double scale) {
    const QPointF fl = place(pose, {-kWidth / 2, kLength / 2});
    const QPointF fr = place(pose, {kWidth / 2, kLength / 2});
    const QPointF rr = place(pose, {kWidth / 2, -kLength / 2});
    const QPointF rl = place(pose, {-kWidth / 2, -kLength / 2});
    p.setPen(QPen(QColor(70, 70, 70), penPx(1.5, scale, 1.0)));
    p.drawLine(rl, fl);
    p.drawLine(fl, fr);
    p.drawLine(fr, rr);
    p.setPen(QPen(QColor(0, 200, 200), penPx(2.0, scale, 1.0)));
    p.drawLine(rr, rl);
}

// The car itself: wheels, body, glass, seen from above.
void drawCar(QPainter& p, const Pose& pose, double scale, bool detailed) {
    p.save();
    p.translate(pose.centre);
    p.rotate(pose.heading * 180.0 / kPi);
    // Now x is the car's right and -y its front.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(30, 30, 30));
    const double ww = 11, wl = 22;
    for (int k = 1; k <= 4; ++k) {
        const QPointF o = kOffsets[k];
        p.drawRoundedRect(QRectF(o.x() - ww / 2 + (o.x() < 0 ? -3 : 3), -o.y() - wl / 2, ww, wl), 3,
                          3);
    }
    QLinearGradient paint(-kWidth / 2, 0, kWidth / 2, 0);
    paint.setColorAt(0.0, QColor(230, 150, 0));
    paint.setColorAt(0.5, QColor(255, 205, 60));
    paint.setColorAt(1.0, QColor(220, 140, 0));
    p.setBrush(paint);
    p.setPen(QPen(QColor(60, 40, 0), penPx(2.0, scale, 0.8)));
    p.drawRoundedRect(QRectF(-kWidth / 2, -kLength / 2, kWidth, kLength), 14, 14);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(40, 60, 85));
    QPolygonF wind;
    wind << QPointF(-19, -22) << QPointF(19, -22) << QPointF(15, -8) << QPointF(-15, -8);
    p.drawPolygon(wind);
    if (detailed) {
        QPolygonF rear;
        rear << QPointF(-15, 26) << QPointF(15, 26) << QPointF(18, 36) << QPointF(-18, 36);
        p.drawPolygon(rear);
        p.setBrush(QColor(255, 215, 90));
        p.drawRoundedRect(QRectF(-15, -6, 30, 30), 5, 5);
        p.setBrush(QColor(255, 250, 200));
        p.drawEllipse(QRectF(-21, -53, 8, 5));
        p.drawEllipse(QRectF(13, -53, 8, 5));
        p.setBrush(QColor(200, 20, 20));
        p.drawRect(QRectF(-21, 51, 9, 3));
        p.drawRect(QRectF(12, 51, 9, 3));
    }
    p.restore();
}

const Skid kIconSkid{QPointF(40, 300), QPointF(60, 140), QPointF(150, 105), 0.1, 1.75};

QImage drawIcon(int size) {
    QImage img(size, size, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const double scale = size / 256.0;
    p.scale(scale, scale);
    const double minPx = 1.1 / scale; // in drawing units
    const QRectF tile(8, 8, 240, 240);
    QLinearGradient ground(0, 8, 0, 248);
    ground.setColorAt(0, QColor(250, 248, 242));
    ground.setColorAt(1, QColor(214, 208, 194));
    p.setBrush(ground);
    p.setPen(QPen(QColor(110, 104, 92), std::max(6.0, 1.0 / scale)));
    p.drawRoundedRect(tile, 40, 40);
    QPainterPath clip;
    clip.addRoundedRect(tile.adjusted(3, 3, -3, -3), 37, 37);
    p.setClipPath(clip);
    drawTrails(p, kIconSkid, 1.0, minPx);
    p.setClipping(false);
    drawCar(p, kIconSkid.at(1.0), scale, size >= 32);
    p.end();
    return img;
}

QImage drawSplash() {
    QImage img(220, 127, QImage::Format_RGB32);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, 127);
    sky.setColorAt(0, QColor(246, 244, 238));
    sky.setColorAt(1, QColor(222, 217, 204));
    p.fillRect(img.rect(), sky);
    // A faint metre grid, as on the plot.
    p.setPen(QPen(QColor(205, 200, 188), 1));
    for (int x = 10; x < 220; x += 20)
        p.drawLine(x, 0, x, 127);
    for (int y = 7; y < 127; y += 20)
        p.drawLine(0, y, 220, y);
    const double scale = 0.5;
    p.scale(scale, scale);
    const Skid skid{QPointF(-30, 200), QPointF(250, 210), QPointF(330, 110), 1.57, 0.35};
    drawTrails(p, skid, 1.0, 1.2 / scale);
    for (double t : {0.35, 0.6, 0.8})
        drawOutline(p, skid.at(t), scale);
    drawCar(p, skid.at(1.0), scale, true);
    p.end();
    return img;
}

bool save(const QImage& img, const QString& path) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    if (!img.save(path, "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: artgen <resources folder>\n");
        return 2;
    }
    const QString out = QString::fromLocal8Bit(argv[1]);
    bool ok = true;
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256})
        ok &= save(drawIcon(size),
                   QStringLiteral("%1/icons/hicolor/%2x%2/apps/yawmark.png").arg(out).arg(size));
    ok &= save(drawSplash(), out + QStringLiteral("/splash.png"));
    return ok ? 0 : 1;
}

// SPDX-License-Identifier: MIT
#include "report/ReportFigures.h"

#include "plot/Renderer.h"
#include "plot/View.h"
#include "report/ReportPages.h"
#include "sim/Step.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace yawmark::report {

namespace {

QColor qColor(plot::Color c) {
    return QColor(static_cast<int>(c & 0xFFu), static_cast<int>((c >> 8) & 0xFFu),
                  static_cast<int>((c >> 16) & 0xFFu));
}

QString number(double v, int decimals) {
    return QString::fromStdString(model::fixedText(v, decimals));
}

// Decimals enough for steps of `interval`.
int decimalsFor(double interval) {
    return interval >= 1 ? 0 : static_cast<int>(std::ceil(-std::log10(interval) - 1e-9));
}

// The points of the mass centre and the four wheels at one sample.
std::array<sim::Vec2, 5> carPoints(const model::Record& record, const model::Sample& s) {
    const sim::WheelPlacement w = sim::placeWheels(record.car(s), s.heading);
    std::array<sim::Vec2, 5> p;
    p[0] = s.position;
    for (int i = 0; i < sim::kWheelCount; ++i)
        p[i + 1] = {s.position.x + w.offset[i].x, s.position.y + w.offset[i].y};
    return p;
}

// A frame with a title above it: the rectangle left for the plot.
QRectF framed(QPainter& painter, const QRectF& area, const QString& title) {
    painter.setFont(ReportPages::font(ReportPages::kBodyPoints, true));
    painter.drawText(QRectF(area.left(), area.top(), area.width(), 12), Qt::AlignLeft, title);
    return area.adjusted(30, 16, -4, -16);
}

// Labelled ticks along the value axis from lo to hi at the left of `plot`.
void valueAxis(QPainter& painter, const QRectF& plot, double lo, double hi,
               const std::function<double(double)>& toY) {
    const double interval = plot::niceInterval((hi - lo) / 5);
    painter.setFont(ReportPages::font(ReportPages::kBodyPoints - 2));
    for (double v = std::ceil(lo / interval) * interval; v <= hi + interval * 1e-9; v += interval) {
        const double y = toY(v);
        painter.setPen(QPen(Qt::lightGray, 0.3));
        painter.drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
        painter.setPen(Qt::black);
        painter.drawText(QRectF(plot.left() - 30, y - 5, 27, 10), Qt::AlignRight | Qt::AlignVCenter,
                         number(std::abs(v) < interval * 1e-9 ? 0 : v, decimalsFor(interval)));
    }
}

} // namespace

void paintSkid(QPainter& painter, const QRectF& area, const model::Record& record,
               const std::vector<model::Mark>& marks, model::Units units,
               const plot::SceneLayer* scene) {
    const auto extent = record.extent();
    if (!extent) return;
    model::Record::Extent box = *extent;
    for (const model::Mark& m : marks)
        for (sim::Vec2 p : m.points)
            box.include(p);
    // One scale for x and y, the skid centred, 5% free around it.
    const double dx = std::max(box.hi.x - box.lo.x, 1e-3), dy = std::max(box.hi.y - box.lo.y, 1e-3);
    const double k = std::min(area.width() / (dx * 1.1), (area.height() - 24) / (dy * 1.1));
    const double cx = (box.lo.x + box.hi.x) / 2, cy = (box.lo.y + box.hi.y) / 2;
    const QPointF mid(area.center().x(), area.top() + (area.height() - 24) / 2);
    const auto at = [&](sim::Vec2 p) {
        return QPointF(mid.x() + (p.x - cx) * k, mid.y() - (p.y - cy) * k);
    };
    painter.setPen(QPen(Qt::gray, 0.5));
    painter.drawRect(area);
    painter.save();
    painter.setClipRect(area);

    // The scene first: the photo where it lies, at its opacity, and the
    // survey's other lines in grey.
    if (scene) {
        const QTransform toPage(k, 0, 0, -k, mid.x() - cx * k, mid.y() + cy * k);
        if (!scene->image.isNull() && scene->showImage) {
            painter.save();
            painter.setOpacity(scene->opacity);
            painter.setTransform(scene->toWorld * toPage, true);
            painter.drawImage(QPointF(0, 0), scene->image);
            painter.restore();
        }
        painter.setPen(QPen(Qt::gray, 0.5));
        for (const auto& line : scene->lines) {
            QPolygonF shown;
            for (sim::Vec2 p : line)
                shown << at(p);
            painter.drawPolyline(shown);
        }
    }
    // The marks, under the trails.
    for (const model::Mark& m : marks) {
        const QColor c = qColor(plot::markColor(m.wheel));
        painter.setPen(QPen(c, 0.6));
        QPolygonF line;
        for (sim::Vec2 p : m.points)
            line << at(p);
        painter.drawPolyline(line);
        painter.setPen(Qt::NoPen);
        painter.setBrush(c);
        for (const QPointF& p : line)
            painter.drawEllipse(p, 1.2, 1.2);
        painter.setBrush(Qt::NoBrush);
    }
    // The five trails.
    const auto samples = record.samples();
    std::array<QPolygonF, 5> trails;
    for (const model::Sample& s : samples) {
        const auto p = carPoints(record, s);
        for (int i = 0; i < 5; ++i)
            trails[i] << at(p[i]);
    }
    for (int i = 0; i < 5; ++i) {
        painter.setPen(QPen(qColor(plot::kTrailColors[i]), 0.8));
        painter.drawPolyline(trails[i]);
    }
    // The outlines where the plot kept them: the start, snapshots, at rest.
    for (std::size_t n = 0; n < samples.size(); ++n) {
        if (!samples[n].lasting && n != 0 && n + 1 != samples.size()) continue;
        const auto p = carPoints(record, samples[n]);
        const QPointF fl = at(p[1]), fr = at(p[2]), rr = at(p[3]), rl = at(p[4]);
        painter.setPen(QPen(Qt::black, 0.7));
        painter.drawPolyline(QPolygonF{rl, fl, fr, rr});
        painter.setPen(QPen(qColor(plot::kRearEdgeColor), 1.4));
        painter.drawLine(rr, rl);
    }
    painter.restore();

    // A scale bar: a round length near a fifth of the width, in the units shown.
    const double unit = model::lengthUnit(units);
    const double length = plot::niceInterval(area.width() / 5 / k / unit);
    const double bar = length * unit * k;
    const QPointF left(area.left() + 10, area.bottom() - 10);
    painter.setPen(QPen(Qt::black, 1));
    painter.drawLine(left, left + QPointF(bar, 0));
    painter.drawLine(left + QPointF(0, -3), left + QPointF(0, 3));
    painter.drawLine(left + QPointF(bar, -3), left + QPointF(bar, 3));
    painter.setFont(ReportPages::font(ReportPages::kBodyPoints - 1));
    painter.drawText(QRectF(left.x() + bar + 6, left.y() - 6, 120, 12), Qt::AlignVCenter,
                     QStringLiteral("%1 %2").arg(
                         number(length, decimalsFor(length)),
                         QString::fromUtf8(model::lengthName(units).data(),
                                           static_cast<int>(model::lengthName(units).size()))));

    // The legend: the trails, then the marks shown.
    std::vector<std::pair<QString, QColor>> entries;
    for (int i = 0; i < 5; ++i)
        entries.emplace_back(QString::fromUtf8(plot::kTrailNames[i].data(),
                                               static_cast<int>(plot::kTrailNames[i].size())),
                             qColor(plot::kTrailColors[i]));
    for (const model::Mark& m : marks)
        entries.emplace_back(QString::fromUtf8(plot::kMarkNames[m.wheel].data(),
                                               static_cast<int>(plot::kMarkNames[m.wheel].size())),
                             qColor(plot::markColor(m.wheel)));
    const double lineHeight = 10;
    const QRectF key(area.right() - 96, area.top() + 4, 92,
                     lineHeight * static_cast<double>(entries.size()) + 4);
    painter.setPen(QPen(Qt::gray, 0.5));
    painter.setBrush(Qt::white);
    painter.drawRect(key);
    painter.setBrush(Qt::NoBrush);
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const double y = key.top() + 2 + lineHeight * (static_cast<double>(i) + 0.5);
        painter.setPen(QPen(entries[i].second, 2));
        painter.drawLine(QPointF(key.left() + 4, y), QPointF(key.left() + 16, y));
        painter.setPen(Qt::black);
        painter.drawText(QRectF(key.left() + 20, y - 5, key.width() - 22, 10), Qt::AlignVCenter,
                         entries[i].first);
    }
}

std::vector<QPointF> markResiduals(const model::Mark& mark, const std::vector<sim::Vec2>& trail) {
    std::vector<QPointF> out;
    if (trail.size() < 2) return out;
    double along = 0;
    for (std::size_t n = 0; n < mark.points.size(); ++n) {
        const sim::Vec2 p = mark.points[n];
        if (n > 0) along += sim::length(p - mark.points[n - 1]);
        double best = std::numeric_limits<double>::infinity(), side = 0;
        for (std::size_t i = 1; i < trail.size(); ++i) {
            const sim::Vec2 a = trail[i - 1], d = trail[i] - a, ap = p - a;
            const double dd = d.x * d.x + d.y * d.y;
            const double t = dd > 0 ? std::clamp((ap.x * d.x + ap.y * d.y) / dd, 0.0, 1.0) : 0.0;
            const sim::Vec2 off{ap.x - t * d.x, ap.y - t * d.y};
            const double dist = sim::length(off);
            if (dist < best) {
                best = dist;
                // Left of the trail's way is positive (y up, x right).
                side = d.x * off.y - d.y * off.x;
            }
        }
        out.emplace_back(along, side < 0 ? -best : best);
    }
    return out;
}

void paintResiduals(QPainter& painter, const QRectF& area, const std::vector<QPointF>& residuals,
                    double sigma, const QString& title, model::Units units) {
    const QRectF plot = framed(painter, area, title);
    if (residuals.empty()) return;
    const double unit = model::lengthUnit(units);
    double length = 0, reach = 2.5 * sigma;
    for (const QPointF& r : residuals) {
        length = std::max(length, r.x());
        reach = std::max(reach, std::abs(r.y()) * 1.1);
    }
    length = std::max(length, 1e-3);
    const auto toX = [&](double a) { return plot.left() + a / length * plot.width(); };
    const auto toY = [&](double v) {
        return plot.center().y() - v * unit / reach * plot.height() / 2;
    };
    valueAxis(painter, plot, -reach / unit, reach / unit, toY);
    // The band within which 95% of the points of a survey good to σ lie.
    painter.fillRect(QRectF(QPointF(plot.left(), toY(2 * sigma / unit)),
                            QPointF(plot.right(), toY(-2 * sigma / unit))),
                     QColor(220, 230, 250));
    painter.setPen(QPen(Qt::black, 0.5));
    painter.drawRect(plot);
    painter.drawLine(QPointF(plot.left(), toY(0)), QPointF(plot.right(), toY(0)));
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(40, 40, 160));
    for (const QPointF& r : residuals)
        painter.drawEllipse(QPointF(toX(r.x()), toY(r.y() / unit)), 1.3, 1.3);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(Qt::black);
    painter.setFont(ReportPages::font(ReportPages::kBodyPoints - 2));
    const QString name = QString::fromUtf8(model::lengthName(units).data(),
                                           static_cast<int>(model::lengthName(units).size()));
    painter.drawText(QRectF(plot.left(), plot.bottom() + 2, plot.width(), 12), Qt::AlignCenter,
                     QStringLiteral("distance along the mark, 0 to %1 %2; band: ±2σ")
                         .arg(number(length / unit, 1), name));
}

std::vector<int> histogramBins(const std::vector<double>& values, int count) {
    if (values.empty() || count < 1) return {};
    std::vector<int> bins(count, 0);
    const auto [lo, hi] = std::minmax_element(values.begin(), values.end());
    const double width = (*hi - *lo) / count;
    for (double v : values) {
        const int i = width > 0 ? static_cast<int>((v - *lo) / width) : 0;
        ++bins[std::clamp(i, 0, count - 1)];
    }
    return bins;
}

void paintHistogram(QPainter& painter, const QRectF& area, const std::vector<double>& values,
                    const QString& title) {
    const QRectF plot = framed(painter, area, title);
    constexpr int kBins = 20;
    const std::vector<int> bins = histogramBins(values, kBins);
    if (bins.empty()) return;
    const int most = *std::max_element(bins.begin(), bins.end());
    const auto [lo, hi] = std::minmax_element(values.begin(), values.end());
    painter.setPen(QPen(Qt::black, 0.5));
    painter.drawRect(plot);
    painter.setBrush(QColor(240, 144, 16));
    for (int i = 0; i < kBins; ++i) {
        const double h = plot.height() * bins[i] / most;
        painter.drawRect(QRectF(plot.left() + plot.width() * i / kBins, plot.bottom() - h,
                                plot.width() / kBins, h));
    }
    painter.setBrush(Qt::NoBrush);
    painter.setFont(ReportPages::font(ReportPages::kBodyPoints - 2));
    const int decimals =
        std::max(0, decimalsFor(plot::niceInterval(std::max(*hi - *lo, 1e-9) / 10)));
    painter.drawText(QRectF(plot.left(), plot.bottom() + 2, plot.width() / 2, 10), Qt::AlignLeft,
                     number(*lo, decimals));
    painter.drawText(QRectF(plot.center().x(), plot.bottom() + 2, plot.width() / 2, 10),
                     Qt::AlignRight, number(*hi, decimals));
    painter.drawText(QRectF(plot.left() - 30, plot.top() - 2, 27, 10), Qt::AlignRight,
                     QString::number(most));
}

} // namespace yawmark::report

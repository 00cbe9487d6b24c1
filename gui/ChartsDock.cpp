// SPDX-License-Identifier: MIT
#include "gui/ChartsDock.h"

#include "plot/Renderer.h"

#include <QChart>
#include <QChartView>
#include <QLineSeries>
#include <QMouseEvent>
#include <QValueAxis>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

namespace yawmark {

namespace {

QColor qcolor(plot::Color c) {
    return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF));
}

// A chart's click as a time on its x axis.
class ClickableChartView : public QChartView {
public:
    ClickableChartView(QChart* chart, QWidget* parent, std::function<void(double)> clicked)
        : QChartView(chart, parent), clicked_(std::move(clicked)) {}

protected:
    void mousePressEvent(QMouseEvent* event) override {
        if (event->button() == Qt::LeftButton && chart()->plotArea().contains(event->position()))
            clicked_(chart()->mapToValue(event->position()).x());
        QChartView::mousePressEvent(event);
    }

private:
    std::function<void(double)> clicked_;
};

// What chart k shows of a trace point, in the window's units.
double value(int k, const model::TracePoint& p, model::Units units) {
    const double degrees = 180 / std::numbers::pi;
    switch (k) {
    case 0: return units == model::Units::US ? p.speed / model::kMetresPerSecondPerMph : p.speed;
    case 1: return p.yawRate * degrees;
    case 2: return p.heading * degrees;
    default: return p.distance / model::lengthUnit(units);
    }
}

QString title(int k, model::Units units) {
    const QString length = QString::fromUtf8(model::lengthName(units).data());
    switch (k) {
    case 0: return units == model::Units::US ? QStringLiteral("Speed (mph)")
                                             : QStringLiteral("Speed (m/s)");
    case 1: return QStringLiteral("Yaw rate (\u00B0/s)");
    case 2: return QStringLiteral("Heading turned (\u00B0)");
    default: return QStringLiteral("Distance slid (%1)").arg(length);
    }
}

QList<QPointF> points(int k, const std::vector<model::TracePoint>& trace, model::Units units,
                      double& lo, double& hi, double& end) {
    QList<QPointF> out;
    out.reserve(static_cast<qsizetype>(trace.size()));
    for (const model::TracePoint& p : trace) {
        const double v = value(k, p, units);
        lo = std::min(lo, v), hi = std::max(hi, v), end = std::max(end, p.time);
        out.append({p.time, v});
    }
    return out;
}

} // namespace

ChartsDock::ChartsDock(QWidget* parent) : QDockWidget(QStringLiteral("Charts"), parent) {
    setObjectName(QStringLiteral("dockCharts"));
    auto* body = new QWidget(this);
    auto* column = new QVBoxLayout(body);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    for (int k = 0; k < kCharts; ++k) {
        Chart& c = charts_[k];
        c.chart = new QChart;
        c.chart->legend()->hide();
        c.chart->setMargins(QMargins(2, 2, 2, 2));
        c.chart->setBackgroundRoundness(0);
        c.x = new QValueAxis(c.chart);
        c.y = new QValueAxis(c.chart);
        c.x->setLabelFormat(QStringLiteral("%.3g"));
        c.y->setLabelFormat(QStringLiteral("%.4g"));
        QFont small = c.x->labelsFont();
        small.setPointSizeF(small.pointSizeF() * 0.85);
        c.x->setLabelsFont(small);
        c.y->setLabelsFont(small);
        c.chart->addAxis(c.x, Qt::AlignBottom);
        c.chart->addAxis(c.y, Qt::AlignLeft);
        const auto add = [&](QColor color, qreal width) {
            auto* s = new QLineSeries(c.chart);
            c.chart->addSeries(s);
            s->attachAxis(c.x);
            s->attachAxis(c.y);
            s->setPen(QPen(color, width));
            return s;
        };
        for (std::size_t r = 0; r < model::kMaxReferences; ++r)
            c.references[r] = add(qcolor(plot::kReferenceColors[r]), 1);
        c.run = add(Qt::black, 1.5);
        c.cursor = add(QColor(0, 120, 215), 1);
        c.view = new ClickableChartView(c.chart, body, [this](double t) { emit timeClicked(t); });
        c.view->setObjectName(QStringLiteral("chart%1").arg(k));
        c.view->setRenderHint(QPainter::Antialiasing, false);
        c.view->setMinimumSize(220, 110);
        column->addWidget(c.view, 1);
    }
    setWidget(body);
    showRun(model::Record{}, {}, model::Units::Metric);
}

void ChartsDock::followRun(const model::Record& record,
                           const std::vector<model::Reference>& references, model::Units units) {
    const qint64 wait = std::max<qint64>(qint64{kFollowMs} * 1'000'000, 20 * lastCostNs_);
    if (sinceShown_.isValid() && sinceShown_.nsecsElapsed() < wait) return;
    showRun(record, references, units);
}

void ChartsDock::showRun(const model::Record& record,
                         const std::vector<model::Reference>& references, model::Units units) {
    QElapsedTimer cost;
    cost.start();
    const auto trace = model::evenTrace(record, kChartPoints);
    std::vector<std::vector<model::TracePoint>> kept;
    for (const model::Reference& r : references)
        kept.push_back(r.trace.size() > kChartPoints ? [&] {
            std::vector<model::TracePoint> few;
            const std::size_t n = r.trace.size();
            for (std::size_t i = 0; i < kChartPoints; ++i)
                few.push_back(r.trace[i * (n - 1) / (kChartPoints - 1)]);
            return few;
        }()
                                                     : r.trace);
    for (int k = 0; k < kCharts; ++k) {
        Chart& c = charts_[k];
        double lo = std::numeric_limits<double>::infinity(), hi = -lo, end = 0;
        c.run->replace(points(k, trace, units, lo, hi, end));
        for (std::size_t r = 0; r < c.references.size(); ++r)
            c.references[r]->replace(r < kept.size() ? points(k, kept[r], units, lo, hi, end)
                                                     : QList<QPointF>{});
        if (!(lo <= hi)) lo = 0, hi = 1;          // nothing to show
        if (hi - lo < 1e-9) lo -= 0.5, hi += 0.5; // a flat line
        // Ticks 1, 2 or 5 times a power of ten apart, at most four of them:
        // more would not fit their labels between them on a small chart.
        const double step = plot::niceInterval((hi - lo) / 2);
        lo = std::floor(lo / step) * step, hi = std::ceil(hi / step) * step;
        // Each change lays the chart out again: only what changed.
        const int ticks = static_cast<int>(std::lround((hi - lo) / step)) + 1;
        if (c.x->min() != 0 || c.x->max() != (end > 0 ? end : 1)) c.x->setRange(0, end > 0 ? end : 1);
        if (c.y->min() != lo || c.y->max() != hi) c.y->setRange(lo, hi);
        if (c.y->tickCount() != ticks) c.y->setTickCount(ticks);
        if (const QString t = title(k, units); c.chart->title() != t) c.chart->setTitle(t);
        placeCursor(c);
        if (isVisible()) c.view->repaint(); // now, so that its cost is counted
    }
    lastCostNs_ = cost.nsecsElapsed();
    sinceShown_.start();
}

void ChartsDock::setCursorTime(std::optional<double> time) {
    cursorTime_ = time;
    for (Chart& c : charts_)
        placeCursor(c);
}

void ChartsDock::placeCursor(Chart& c) {
    if (!cursorTime_) return c.cursor->clear();
    c.cursor->replace(QList<QPointF>{{*cursorTime_, c.y->min()}, {*cursorTime_, c.y->max()}});
}

} // namespace yawmark

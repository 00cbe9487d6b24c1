// SPDX-License-Identifier: MIT
#include "gui/HistogramView.h"

#include <QPainter>

#include <algorithm>
#include <array>
#include <cmath>

namespace yawmark {

QString numberForSpread(double value, double sd) {
    if (!std::isfinite(value)) return {};
    if (!(sd > 0) || !std::isfinite(sd)) return QString::number(value, 'g', 4);
    const int decimals = std::clamp(1 - static_cast<int>(std::floor(std::log10(sd))), 0, 6);
    const bool zero = std::round(value * std::pow(10.0, decimals)) == 0;
    return QString::number(zero ? 0.0 : value, 'f', decimals);
}

HistogramView::HistogramView(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("histograms"));
    setMinimumHeight(96);
}

void HistogramView::setPanels(std::vector<Panel> panels) {
    panels_ = std::move(panels);
    update();
}

void HistogramView::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), palette().base());
    if (panels_.empty()) return;
    const int n = static_cast<int>(panels_.size());
    const int line = fontMetrics().height();
    for (int k = 0; k < n; ++k) {
        const QRect cell(width() * k / n + 4, 2, width() / n - 8, height() - 4);
        const Panel& h = panels_[k];
        p.setPen(palette().text().color());
        p.drawText(cell.adjusted(0, 0, 0, -(cell.height() - line)), Qt::AlignHCenter | Qt::AlignTop,
                   h.title);
        if (h.values.empty()) continue;
        const auto [lo, hi] = std::ranges::minmax(h.values);
        p.drawText(QRect(cell.left(), cell.bottom() - line, cell.width(), line), Qt::AlignLeft,
                   numberForSpread(lo, h.p.sd));
        p.drawText(QRect(cell.left(), cell.bottom() - line, cell.width(), line), Qt::AlignRight,
                   numberForSpread(hi, h.p.sd));
        const QRect plot(cell.left(), cell.top() + line + 2, cell.width(),
                         cell.height() - 2 * line - 4);
        std::array<int, kBins> count{};
        const double span = hi - lo;
        const auto bin = [&](double v) {
            return span > 0 ? std::clamp(static_cast<int>((v - lo) / span * kBins), 0, kBins - 1)
                            : kBins / 2;
        };
        for (double v : h.values)
            ++count[bin(v)];
        const int most = *std::ranges::max_element(count);
        for (int b = 0; b < kBins; ++b) {
            const int x0 = plot.left() + plot.width() * b / kBins;
            const int x1 = plot.left() + plot.width() * (b + 1) / kBins;
            const int bar = plot.height() * count[b] / std::max(most, 1);
            p.fillRect(QRect(x0, plot.bottom() - bar + 1, std::max(x1 - x0 - 1, 1), bar),
                       QColor(0xF0, 0xB0, 0x60));
        }
        const auto at = [&](double v) {
            return span > 0 ? plot.left() + static_cast<int>((v - lo) / span * plot.width())
                            : plot.center().x();
        };
        p.setPen(QPen(QColor(0xA0, 0x40, 0x00), 1, Qt::DashLine));
        for (double v : {h.p.p2_5, h.p.p97_5})
            p.drawLine(at(v), plot.top(), at(v), plot.bottom());
        p.setPen(QPen(palette().text().color(), 1));
        p.drawLine(at(h.p.p50), plot.top(), at(h.p.p50), plot.bottom());
        p.drawLine(plot.bottomLeft(), plot.bottomRight());
    }
}

} // namespace yawmark

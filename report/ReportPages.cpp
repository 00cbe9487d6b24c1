// SPDX-License-Identifier: MIT
#include "report/ReportPages.h"

#include <QFontDatabase>
#include <QPagedPaintDevice>
#include <QPainter>

#include <algorithm>
#include <numeric>
#include <utility>

namespace yawmark::report {

namespace {
constexpr double kFooterHeight = 18;
constexpr double kRowPadding = 2;
} // namespace

ReportPages::ReportPages(QPagedPaintDevice& device, QPainter& painter, QString footer)
    : device_(device), painter_(painter), footer_(std::move(footer)) {
    // Points on any device: the painter is scaled from the device's pixels.
    const double scale = device.logicalDpiX() / 72.0;
    painter_.scale(scale, device.logicalDpiY() / 72.0);
    area_ = QRectF(0, 0, device.width() / scale,
                   device.height() * 72.0 / device.logicalDpiY() - kFooterHeight);
    painter_.setRenderHint(QPainter::Antialiasing);
}

QFont ReportPages::font(int points, bool bold, bool fixed) {
    QFont f = fixed ? QFontDatabase::systemFont(QFontDatabase::FixedFont) : QFont();
    if (!fixed) f.setStyleHint(QFont::SansSerif);
    // In pixels of the scaled painter, which are points.
    f.setPixelSize(points);
    f.setBold(bold);
    // No ligatures: text copied from the PDF, or read by a program, reads "fi"
    // as two letters.
    f.setStyleStrategy(QFont::PreferNoShaping);
    return f;
}

double ReportPages::textHeight(const QString& text, const QFont& f, double width) const {
    painter_.setFont(f);
    return painter_.boundingRect(QRectF(0, 0, width, 1e6), Qt::TextWordWrap | Qt::AlignLeft, text)
        .height();
}

void ReportPages::need(double height) {
    if (y_ > 0 && y_ + height > area_.height()) newPage();
}

void ReportPages::footer() {
    painter_.setFont(font(kBodyPoints - 1));
    painter_.setPen(Qt::darkGray);
    painter_.drawText(QRectF(0, area_.height() + 4, area_.width(), kFooterHeight - 4),
                      Qt::AlignLeft | Qt::AlignBottom, footer_);
    painter_.drawText(QRectF(0, area_.height() + 4, area_.width(), kFooterHeight - 4),
                      Qt::AlignRight | Qt::AlignBottom, QStringLiteral("page %1").arg(page_));
    painter_.setPen(Qt::black);
}

void ReportPages::newPage() {
    footer();
    device_.newPage();
    ++page_;
    y_ = 0;
}

void ReportPages::finish() {
    footer();
}

void ReportPages::heading(const QString& text, double following) {
    const QFont f = font(14, true);
    const double h = textHeight(text, f, area_.width());
    // A heading never ends a page: room for it and a few lines after.
    need(h + following);
    if (y_ > 0) y_ += 8;
    painter_.setFont(f);
    painter_.drawText(QRectF(0, y_, area_.width(), h), Qt::TextWordWrap, text);
    y_ += h + 4;
}

void ReportPages::subheading(const QString& text, double following) {
    const QFont f = font(11, true);
    const double h = textHeight(text, f, area_.width());
    need(h + following);
    y_ += 4;
    painter_.setFont(f);
    painter_.drawText(QRectF(0, y_, area_.width(), h), Qt::TextWordWrap, text);
    y_ += h + 3;
}

void ReportPages::paragraph(const QString& text) {
    const QFont f = font(kBodyPoints);
    const double h = textHeight(text, f, area_.width());
    need(h);
    painter_.setFont(f);
    painter_.drawText(QRectF(0, y_, area_.width(), h), Qt::TextWordWrap, text);
    y_ += h + 4;
}

void ReportPages::monospace(const QString& text) {
    const QFont f = font(kBodyPoints - 1, false, true);
    // Line by line, so that a long text flows over as many pages as it takes.
    for (const QString& line : text.split(QLatin1Char('\n'))) {
        const QString shown = line.isEmpty() ? QStringLiteral(" ") : line;
        const double h = textHeight(shown, f, area_.width());
        need(h);
        painter_.setFont(f);
        painter_.drawText(QRectF(0, y_, area_.width(), h), Qt::TextWrapAnywhere, shown);
        y_ += h;
    }
    y_ += 4;
}

void ReportPages::table(const QStringList& header, const std::vector<QStringList>& rows,
                        const std::vector<double>& shares, int fixed) {
    const double total = std::accumulate(shares.begin(), shares.end(), 0.0);
    std::vector<double> widths;
    for (double s : shares)
        widths.push_back(area_.width() * s / total);
    const QFont bold = font(kBodyPoints, true), plain = font(kBodyPoints),
                mono = font(kBodyPoints - 1, false, true);
    const auto cellFont = [&](int column, const QFont& f) { return column == fixed ? mono : f; };
    const auto rowHeight = [&](const QStringList& cells, const QFont& f) {
        double h = 0;
        for (int i = 0; i < cells.size() && i < static_cast<int>(widths.size()); ++i)
            h = std::max(h, textHeight(cells[i], cellFont(i, f), widths[i] - 4));
        return h + 2 * kRowPadding;
    };
    const auto drawRow = [&](const QStringList& cells, const QFont& f, double h) {
        double x = 0;
        for (int i = 0; i < cells.size() && i < static_cast<int>(widths.size()); ++i) {
            painter_.setFont(cellFont(i, f));
            painter_.drawText(QRectF(x + 2, y_ + kRowPadding, widths[i] - 4, h),
                              Qt::TextWordWrap | Qt::AlignLeft, cells[i]);
            x += widths[i];
        }
        y_ += h;
    };
    const auto drawHeader = [&] {
        const int kept = std::exchange(fixed, -1); // the header in the body face
        const double h = rowHeight(header, bold);
        drawRow(header, bold, h);
        fixed = kept;
        painter_.setPen(QPen(Qt::black, 0.5));
        painter_.drawLine(QPointF(0, y_), QPointF(area_.width(), y_));
    };
    need(rowHeight(header, bold) + (rows.empty() ? 0 : rowHeight(rows.front(), plain)));
    drawHeader();
    for (const QStringList& row : rows) {
        const double h = rowHeight(row, plain);
        if (y_ + h > area_.height()) {
            newPage();
            drawHeader();
        }
        drawRow(row, plain, h);
    }
    y_ += 6;
}

void ReportPages::figure(double height,
                         const std::function<void(QPainter&, const QRectF&)>& paint) {
    need(height);
    painter_.save();
    paint(painter_, QRectF(0, y_, area_.width(), height));
    painter_.restore();
    y_ += height + 6;
}

} // namespace yawmark::report

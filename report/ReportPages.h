// SPDX-License-Identifier: MIT
// Text and figures flowed down pages: a cursor that starts a new page when
// the next block does not fit. Everything is laid out in points (1/72 inch),
// whatever the device's resolution, so a PDF and a printer get one layout.
#pragma once

#include <QFont>
#include <QRectF>
#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

class QPagedPaintDevice;
class QPainter;

namespace yawmark::report {

class ReportPages {
public:
    // Body text size, points.
    static constexpr int kBodyPoints = 9;

    // `footer` is written at the foot of every page, with the page's number.
    ReportPages(QPagedPaintDevice& device, QPainter& painter, QString footer);

    // A heading stays on the page of the first `following` points after it.
    void heading(const QString& text, double following = 60);
    void subheading(const QString& text, double following = 40);
    void paragraph(const QString& text);
    // Text in a fixed-width face, lines kept as they are (long ones wrapped).
    void monospace(const QString& text);
    // A table: a header row in bold, then the rows; `shares` gives each
    // column's part of the width; column `fixed`, if any, is set in a
    // fixed-width face a size smaller (a SHA-256 fits a narrow column whole).
    // A table going on over a page break repeats its header there.
    void table(const QStringList& header, const std::vector<QStringList>& rows,
               const std::vector<double>& shares, int fixed = -1);
    // A figure `height` points high across the text width, painted by `paint`
    // into the rectangle it gets.
    void figure(double height, const std::function<void(QPainter&, const QRectF&)>& paint);
    // Space before the next block.
    void skip(double points) { y_ += points; }
    double width() const { return area_.width(); }
    // The report's face at `points` (pixels of the painter scaled to points).
    static QFont font(int points, bool bold = false, bool fixed = false);
    // The rest of the page is left empty.
    void newPage();
    // Writes the last page's footer.
    void finish();

private:
    void need(double height);
    void footer();
    double textHeight(const QString& text, const QFont& font, double width) const;

    QPagedPaintDevice& device_;
    QPainter& painter_;
    QString footer_;
    QRectF area_; // of the page, points
    double y_ = 0;
    int page_ = 1;
};

} // namespace yawmark::report

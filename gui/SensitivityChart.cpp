// SPDX-License-Identifier: MIT
#include "gui/SensitivityChart.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace yawmark {

SensitivityChart::SensitivityChart(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("sensitivityChart"));
    setMinimumHeight(48);
}

void SensitivityChart::setRows(std::vector<model::Sensitivity> rows, double speed,
                               model::Units units, model::InertiaForm form) {
    rows_ = std::move(rows);
    speed_ = speed;
    units_ = units;
    form_ = form;
    // The numbers behind the bars, for the reader who wants them.
    QStringList tip;
    const auto speedText = [&](double v) {
        const model::Shown s = model::shown(units, v, "m/s");
        return std::isfinite(v) ? QStringLiteral("%1 %2").arg(QString::number(s.value, 'f', 2),
                                                               QString::fromUtf8(s.unit.data(), static_cast<qsizetype>(s.unit.size())))
                                : QStringLiteral("no fit");
    };
    for (const model::Sensitivity& r : rows_)
        tip << QStringLiteral("%1: %2 gives %3, %4 gives %5")
                   .arg(QString::fromUtf8(model::boxInfo(r.box, form).caption.data()),
                        QString::number(r.input[0], 'g', 6), speedText(r.speed[0]),
                        QString::number(r.input[1], 'g', 6), speedText(r.speed[1]));
    setToolTip(tip.join(QLatin1Char('\n')));
    updateGeometry();
    update();
}

QSize SensitivityChart::sizeHint() const {
    const int line = fontMetrics().height() + 4;
    return {360, line * (static_cast<int>(rows_.size()) + 2) + 4}; // the caption may take two lines
}

void SensitivityChart::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), palette().base());
    if (rows_.empty()) return;
    const auto inUnits = [&](double v) { return model::shown(units_, v, "m/s").value; };
    const double centre = inUnits(speed_);
    double reach = 0;
    for (const model::Sensitivity& r : rows_)
        for (double s : r.speed)
            if (std::isfinite(s)) reach = std::max(reach, std::fabs(inUnits(s) - centre));
    if (!(reach > 0)) reach = 1;

    const QFontMetrics fm = fontMetrics();
    const int line = fm.height() + 4;
    int labelWidth = 0;
    for (const model::Sensitivity& r : rows_)
        labelWidth = std::max(labelWidth, fm.horizontalAdvance(QString::fromUtf8(
                                              model::boxInfo(r.box, form_).caption)));
    labelWidth = std::min(labelWidth + 8, width() / 2);
    const int left = labelWidth, right = width() - 4;
    const int room = fm.horizontalAdvance(QStringLiteral("-0.0000")) + 4; // an end's value
    const double half = (right - left) / 2.0 - room;
    const double middle = left + (right - left) / 2.0;
    const auto x = [&](double v) { return middle + (inUnits(v) - centre) / reach * half; };

    const QColor low(70, 110, 200), high(210, 120, 50);
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        const model::Sensitivity& r = rows_[i];
        const int top = 2 + static_cast<int>(i) * line;
        p.setPen(palette().text().color());
        p.drawText(QRect(0, top, labelWidth - 4, line), Qt::AlignRight | Qt::AlignVCenter,
                   fm.elidedText(QString::fromUtf8(model::boxInfo(r.box, form_).caption),
                                 Qt::ElideRight, labelWidth - 4));
        for (int end = 0; end < 2; ++end) {
            if (!std::isfinite(r.speed[end])) continue;
            const double a = x(r.speed[end]);
            const QRectF bar(std::min(a, middle), top + 2, std::fabs(a - middle), line - 4);
            p.fillRect(bar, end == 0 ? low : high);
            // The box's value at that end, on the bar's outer side.
            const QString text = QString::number(r.input[end], 'g', 4);
            const QRectF label(a < middle ? a - room : a + 2, top, room - 2, line);
            p.drawText(label, (a < middle ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter,
                       text);
        }
    }
    // The speed fitted as typed, and the scale under the bars.
    const int bottom = 2 + static_cast<int>(rows_.size()) * line;
    p.setPen(palette().text().color());
    p.drawLine(QPointF(middle, 0), QPointF(middle, bottom));
    const model::Shown s = model::shown(units_, speed_, "m/s");
    p.drawText(QRect(0, bottom, width(), 2 * line), Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap,
               tr("fitted speed %1 %2; bars: each box alone at the low (blue) and high (orange) "
                  "end of its 95% range")
                   .arg(QString::fromStdString(model::fixedText(s.value, 2)),
                        QString::fromUtf8(s.unit.data(), static_cast<int>(s.unit.size()))));
}

} // namespace yawmark

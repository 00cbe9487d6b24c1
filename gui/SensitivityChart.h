// SPDX-License-Identifier: MIT
// A tornado chart of the fitted speed's sensitivity: one bar for each uncertain
// box, from the speed fitted with that box at the low end of its 95% range to
// the speed at the high end, about a line at the speed fitted as typed. The
// widest bar on top: the inputs worth measuring better.
#pragma once

#include "model/FitUncertainty.h"
#include "model/Units.h"

#include <QWidget>

#include <vector>

namespace yawmark {

class SensitivityChart : public QWidget {
public:
    explicit SensitivityChart(QWidget* parent = nullptr);

    // The rows, the speed fitted as typed (m/s) and the units to show it in.
    void setRows(std::vector<model::Sensitivity> rows, double speed, model::Units units,
                 model::InertiaForm form);
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::vector<model::Sensitivity> rows_;
    double speed_ = 0;
    model::Units units_ = model::Units::Metric;
    model::InertiaForm form_ = model::InertiaForm::Moment;
};

} // namespace yawmark

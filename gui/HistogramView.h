// SPDX-License-Identifier: MIT
// Histograms side by side, one a quantity: bars of its values, the 2.5% and
// 97.5% points dashed, the median solid, the lowest and highest value beneath.
// Painted with QPainter (the Monte Carlo dialog's outcomes).
#pragma once

#include "model/MonteCarlo.h"

#include <QString>
#include <QWidget>

#include <vector>

namespace yawmark {

// A number to the decimals that keep two digits of the spread `sd` (4
// significant digits without one).
QString numberForSpread(double value, double sd);

class HistogramView : public QWidget {
public:
    struct Panel {
        QString title;
        std::vector<double> values; // in the shown unit
        model::Percentiles p;
    };
    static constexpr int kBins = 20;

    explicit HistogramView(QWidget* parent);
    void setPanels(std::vector<Panel> panels);

protected:
    void paintEvent(QPaintEvent*) override;

private:
    std::vector<Panel> panels_;
};

} // namespace yawmark

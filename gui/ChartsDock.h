// SPDX-License-Identifier: MIT
// View > Charts: the run against time in a dock beside the plot: speed, yaw
// rate, heading and distance slid, in the units the window shows, the kept
// references faint under the run, and a cursor line at the replay's moment.
// A click on a chart asks for the replay to go to that time.
//
// Each chart holds at most kChartPoints of a run, evenly spread, so that
// following a running run (refreshed with the readout, ten times a second)
// costs the run little whatever its length.
#pragma once

#include "model/Reference.h"
#include "model/Units.h"

#include <QDockWidget>

#include <array>
#include <optional>
#include <vector>

class QChart;
class QChartView;
class QLineSeries;
class QValueAxis;

namespace yawmark {

class ChartsDock : public QDockWidget {
    Q_OBJECT
public:
    static constexpr std::size_t kChartPoints = 1000;
    static constexpr int kCharts = 4; // speed, yaw rate, heading, distance

    explicit ChartsDock(QWidget* parent = nullptr);

    // The run and the references, in these units.
    void showRun(const model::Record& record, const std::vector<model::Reference>& references,
                 model::Units units);
    // The cursor at this time, s; none hides it.
    void setCursorTime(std::optional<double> time);

signals:
    // A chart was clicked at this time, s.
    void timeClicked(double time);

private:
    struct Chart {
        QChart* chart = nullptr;
        QChartView* view = nullptr;
        QValueAxis* x = nullptr;
        QValueAxis* y = nullptr;
        QLineSeries* run = nullptr;
        std::array<QLineSeries*, model::kMaxReferences> references{};
        QLineSeries* cursor = nullptr;
    };
    void placeCursor(Chart& chart);

    std::array<Chart, kCharts> charts_;
    std::optional<double> cursorTime_;
};

} // namespace yawmark

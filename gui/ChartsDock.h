// SPDX-License-Identifier: MIT
// View > Charts: the run against time in a dock beside the plot: speed, yaw
// rate, heading and distance slid, in the units the window shows, the kept
// references faint under the run, and a cursor line at the replay's moment.
// A click on a chart asks for the replay to go to that time.
//
// Each chart holds at most kChartPoints of a run, evenly spread. Following a
// running run, the charts are drawn again at most every kFollowMs, and never
// sooner than 20 times what the last drawing took, so that they take at most
// a twentieth of the time the run has, whatever its length and the machine.
#pragma once

#include "model/Reference.h"
#include "model/Units.h"

#include <QDockWidget>
#include <QElapsedTimer>

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
    static constexpr std::size_t kChartPoints = 300;
    static constexpr int kCharts = 4; // speed, yaw rate, heading, distance
    static constexpr int kFollowMs = 250;

    explicit ChartsDock(QWidget* parent = nullptr);

    // The run and the references, in these units.
    void showRun(const model::Record& record, const std::vector<model::Reference>& references,
                 model::Units units);
    // showRun() for a run going on, unless the charts were drawn too lately.
    void followRun(const model::Record& record,
                   const std::vector<model::Reference>& references, model::Units units);
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
    QElapsedTimer sinceShown_; // since the last showRun()
    qint64 lastCostNs_ = 0;    // what it took, painting included
};

} // namespace yawmark

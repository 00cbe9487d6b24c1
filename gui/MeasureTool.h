// SPDX-License-Identifier: MIT
// Tools > Measure on the plot: two clicks measure a distance, a third the
// angle at the second point; the next click begins another measurement. A
// click on the last point (a double click there) ends a distance as it is.
// The measurements stay drawn until Tools > Clear Measurements; Escape ends
// the tool.
#pragma once

#include "gui/PlotTool.h"

#include <QObject>
#include <QString>

namespace yawmark {

class PlotController;

class MeasureTool : public QObject, public PlotTool {
    Q_OBJECT
public:
    // How near a click must come to the last point, in pixels, to end the measurement.
    static constexpr double kGrabPixels = 4;

    MeasureTool(PlotController& plotter, QObject* parent);

    // Measuring begins (again): the next click begins a measurement.
    void start();

    bool press(const PlotPoint& at) override;
    bool key(int key) override;

signals:
    // The value measured, or what to do next, for the status bar.
    void note(const QString& text);
    void finished();

private:
    PlotController& plotter_;
    bool open_ = false; // the last measurement takes more points
};

} // namespace yawmark

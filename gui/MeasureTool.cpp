// SPDX-License-Identifier: MIT
#include "gui/MeasureTool.h"

#include "gui/PlotController.h"

namespace yawmark {

MeasureTool::MeasureTool(PlotController& plotter, QObject* parent)
    : QObject(parent), plotter_(plotter) {}

void MeasureTool::start() {
    open_ = false;
    // A single point left from before measures nothing.
    std::vector<model::Measurement> all = plotter_.measurements();
    if (!all.empty() && all.back().points.size() < 2) {
        all.pop_back();
        plotter_.setMeasurements(std::move(all));
    }
    emit note(QStringLiteral("Measure: click two points for a distance, a third for the angle "
                             "at the second; Escape ends."));
}

bool MeasureTool::press(const PlotPoint& at) {
    std::vector<model::Measurement> all = plotter_.measurements();
    if (open_ && !all.empty() && !all.back().points.empty() &&
        sim::length(all.back().points.back() - at.world) <= kGrabPixels * at.perPixel) {
        // On the last point again: the measurement is done as it stands.
        open_ = false;
        return true;
    }
    if (!open_) all.emplace_back();
    model::Measurement& m = all.back();
    m.points.push_back(at.world);
    open_ = !m.complete();
    const QString value = plotter_.measurementText(m);
    plotter_.setMeasurements(std::move(all));
    if (!value.isEmpty())
        emit note((m.points.size() == 2 ? QStringLiteral("Distance: %1") : QStringLiteral("Angle: %1"))
                      .arg(value));
    return true;
}

bool MeasureTool::key(int key) {
    if (key != Qt::Key_Escape) return false;
    emit finished();
    return true;
}

} // namespace yawmark

// The plot of a batch run, drawn as the window draws it: the axes of Draw,
// the dot where the loop starts, then in every pass the five trail points and
// the outline (lasting at the start and at every snapshot), through the same
// plot functions and the same kind of surface as the window.
#pragma once

#include "cli/BatchRunner.h"
#include "cli/BatchWindowGeometry.h"
#include "plot/ImageSurface.h"
#include "plot/Trails.h"

#include <QImage>

#include <optional>
#include <string>

namespace yawmark {

class BatchPlot : public PassObserver {
public:
    // A plot image of width x height pixels (needs a GUI application for its fonts).
    BatchPlot(int width, int height);

    // What Draw draws before the loop: the axes for the skid's ranges, then the
    // loop's entry dot at the start position. Returns the message if the axes
    // cannot be laid out.
    std::optional<std::string> begin(const BatchSkid& skid);

    // The drawing of one pass, from the state before it.
    void beforePass(std::uint64_t pass, BatchSkid& skid) override;
    void afterPass(std::uint64_t pass, const BatchSkid& skid) override;

    // What the window shows when the run is paused after the last pass: the
    // lasting drawing with the last ordinary outline, right of the panel.
    QImage finish();

    // The surface, for looking at the whole drawing area.
    ImageSurface& surface() { return surface_; }

private:
    BatchWindowGeometry geometry_;
    ImageSurface surface_;
    TrailMemory trails_;
};

} // namespace yawmark

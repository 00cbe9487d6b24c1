// SPDX-License-Identifier: MIT
// The frames of an animation of a recorded run, for File > Export Animation...
// and yawmark-batch --gif alike: the plot drawn pass by pass from the record,
// as the window drew it, and taken at every frame's moment,
// with the simulated time in its top-left corner. Frame k shows the run at
// k * speed / fps seconds (the sample nearest that moment, at most half a
// time step after it): the first shows the car at t = 0, and a last frame
// shows the end of the run (the car at rest) when the frames' moments pass
// it by.
#pragma once

#include "model/Record.h"
#include "plot/ImagePlot.h"

#include <QImage>

#include <functional>
#include <optional>
#include <string>

namespace yawmark::plot {

// Speed factors: simulated seconds per second of animation.
inline constexpr double kMinAnimationSpeed = 0.01;
inline constexpr double kMaxAnimationSpeed = 100;

// Most frames an animation has (an hour at 25 frames a second): more would
// take hours to make.
inline constexpr double kMaxAnimationFrames = 90'000;

struct AnimationSettings {
    int fps = 25;
    double speed = 1;
};

// How many frames animateRecord() hands over for `record`, at most.
double animationFrames(const model::Record& record, const AnimationSettings& settings);

// Takes one frame; the message if the animation cannot go on.
using FrameSink = std::function<std::optional<std::string>(const QImage& frame)>;

// Draws `record` (passes `timeStep` seconds apart) into `plot`, begun and
// still empty, handing each frame to `sink`; the sink's message if it stops.
// An empty record makes one frame, the plot before the first pass.
std::optional<std::string> animateRecord(const model::Record& record, double timeStep,
                                         ImagePlot& plot, const AnimationSettings& settings,
                                         const FrameSink& sink);

} // namespace yawmark::plot

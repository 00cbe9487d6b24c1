// The outline of the car through its four wheels: on the screen only in an
// ordinary pass, into the persistent image when a snapshot is due. The rear
// edge is cyan so that the car's orientation reads from every snapshot.
#pragma once

#include "plot/Surface.h"
#include "sim/Params.h"
#include "sim/RunState.h"

namespace yawmark {

// Widest drawing width the plot uses, pixels.
inline constexpr int kMaxDrawWidth = 50;

// The drawing width for a plot pixel size: rounded to the nearest integer
// (halves to the even neighbour), held within 1..kMaxDrawWidth.
int roundedPixelSize(double pixelSize);

// Draws the outline at the current position; AutoRedraw is on when it returns.
void DrawBox(Surface& surface, const Params& params, const RunState& run);

} // namespace yawmark

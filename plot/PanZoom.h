// Pan and zoom of the plot: each touch of a bar counts only for its sign k
// (-1, 0, +1) and moves the shared axis ranges or tick intervals by one step.
// Each returns whether the axes must be redrawn.
#pragma once

#include "sim/Params.h"

namespace yawmark {

// Narrowest and widest axis range a zoom step may leave, metres.
inline constexpr double kMinRange = 1e-6;
inline constexpr double kMaxRange = 1e12;

// The sign of a bar's value: -1, 0 or +1.
int barSign(int value);

// Bar 0: k = +1 moves the view toward smaller x by 4 % of its width.
bool scrX_Change(Params& params, int index, int k);
// Bar 0: k = +1 moves the view toward larger y by 4 % of its height.
bool scrY_Change(Params& params, int index, int k);
// Bar 0 (Zoom): k = +1 leaves 80 % of each range about its centre, k = -1 makes
// it 120 %. Bar 1 (Scale Interval): both intervals step up or down by 1, 5, 25
// or 100 depending on their size, never below 1.
bool scrZoom_Change(Params& params, int index, int k);

} // namespace yawmark

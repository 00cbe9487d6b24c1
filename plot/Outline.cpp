#include "plot/Outline.h"

#include "sim/TrackedPoints.h"

#include <cmath>

namespace yawmark {

int roundedPixelSize(double pixelSize) {
    if (!(pixelSize >= 1)) return 1; // also not a number
    if (pixelSize >= kMaxDrawWidth) return kMaxDrawWidth;
    return static_cast<int>(std::nearbyint(pixelSize)); // halves to even
}

void DrawBox(Surface& surface, const Params& params, const RunState& run) {
    double px[5] = {}, py[5] = {};
    for (int i = FL; i <= RL; ++i) {
        px[i] = run.cmX + run.corner[static_cast<std::size_t>(i)][0];
        py[i] = run.cmY + run.corner[static_cast<std::size_t>(i)][1];
    }
    // An ordinary pass shows the car on the screen only; a snapshot keeps it.
    if (run.snapDone) surface.setAutoRedraw(false);
    surface.Line(px[FL], py[FL], px[FR], py[FR]); // front edge
    surface.Line(px[FR], py[FR], px[RR], py[RR]); // right side
    surface.Line(px[FL], py[FL], px[RL], py[RL]); // left side
    const int width = roundedPixelSize(params.pixelSize);
    surface.setDrawWidth(width);
    surface.Line(px[RR], py[RR], px[RL], py[RL], kRearEdgeColor); // rear edge, locked axle
    surface.PSet(run.cmX, run.cmY, params.pointColor[CE]);
    for (int i = FL; i <= RL; ++i)
        surface.PSet(px[i], py[i], params.pointColor[static_cast<std::size_t>(i)]);
    surface.setDrawWidth(width);
    surface.setAutoRedraw(true);
}

} // namespace yawmark

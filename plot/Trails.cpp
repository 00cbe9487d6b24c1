#include "plot/Trails.h"

namespace yawmark {

void MyPset(Surface& surface, const Params& params, bool snapDone, TrailMemory& memory, double x,
            double y, int index) {
    if (index < 0 || index >= kPointCount) return;
    const auto i = static_cast<std::size_t>(index);
    const Color color = params.pointColor[i];
    const bool connect = params.connectPixels[i];
    if (!connect) {
        surface.PSet(x, y, color);
    } else if (!snapDone || !memory.joined[i]) {
        // A new stretch of line starts here: after Draw or a snapshot, or on the
        // first point after the trail was switched to lines. Its last point may be
        // from long ago (or never set), so nothing joins onto it.
        surface.PSet(x, y, color);
    } else {
        surface.Line(x, y, memory.lastX[i], memory.lastY[i], color);
    }
    if (connect) {
        memory.lastX[i] = x;
        memory.lastY[i] = y;
    }
    memory.joined[i] = connect;
}

void DrawLocus(Surface& surface, const Params& params, const RunState& run, TrailMemory& memory) {
    MyPset(surface, params, run.snapDone, memory, run.cmX, run.cmY, CE);
    for (int i = FL; i <= RL; ++i) {
        const auto& c = run.corner[static_cast<std::size_t>(i)];
        MyPset(surface, params, run.snapDone, memory, run.cmX + c[0], run.cmY + c[1], i);
    }
}

} // namespace yawmark

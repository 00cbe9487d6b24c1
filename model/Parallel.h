// SPDX-License-Identifier: MIT
// Many independent jobs on every core (oneTBB), in chunks with a word to the
// caller between them: how Monte Carlo draws and the fit's refits run. Each
// job writes only its own result, so the results do not depend on how the
// jobs are shared out. Not part of the model's interface.
#pragma once

#include <tbb/blocked_range.h>
#include <tbb/parallel_for.h>
#include <tbb/task_arena.h>

#include <algorithm>
#include <cstdint>

namespace yawmark::model::detail {

// Runs job(k) for every k in [0, count), `chunk` at a time; after each chunk
// `between(done)` (the jobs done so far) says whether to go on. False when
// it said stop.
template <class Job, class Between>
bool inChunks(tbb::task_arena& arena, std::uint64_t count, std::uint64_t chunk,
              const Between& between, const Job& job) {
    for (std::uint64_t first = 0; first < count;) {
        const std::uint64_t end = std::min(count, first + chunk);
        arena.execute([&] {
            tbb::parallel_for(tbb::blocked_range<std::uint64_t>(first, end),
                              [&](const tbb::blocked_range<std::uint64_t>& r) {
                                  for (std::uint64_t k = r.begin(); k != r.end(); ++k)
                                      job(k);
                              });
        });
        first = end;
        if (!between(end)) return false;
    }
    return true;
}

} // namespace yawmark::model::detail

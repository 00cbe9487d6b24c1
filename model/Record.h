// SPDX-License-Identifier: MIT
// The record of a run: the body at every pass as it was drawn, which of those
// drawings lasted (the start, the snapshots, the car at rest), and the car
// that placed the wheels. The plot is redrawn from it in any view and size,
// and the readout reads its newest sample.
//
// Memory: 80 bytes a pass. The record holds at most `capacity` samples
// (kDefaultCapacity: 1,048,576 samples, 80 MiB). When it fills up it is
// thinned to every other sample, and from then on it keeps every 2nd pass,
// then every 4th, and so on: the first pass, the lasting ones and the newest
// are always kept, the rest evenly spread over the whole run. (Should lasting
// samples alone fill more than half of it, every other one of them goes too.)
#pragma once

#include "sim/Car.h"
#include "sim/Draw.h"
#include "sim/Step.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace yawmark::model {

struct Sample {
    double time;
    sim::Vec2 position, velocity;
    double heading, yawRate;
    std::uint32_t car;  // index into Record::cars()
    bool lasting;       // an outline stayed on the plot here
    std::uint64_t pass; // passes before this one: the body after pass `pass`
    double distance;    // path of the mass centre up to here, thinned passes included, m

    sim::Body body() const { return {position, velocity, heading, yawRate, time}; }
};

class Record {
public:
    static constexpr std::size_t kDefaultCapacity = std::size_t{1} << 20;

    explicit Record(std::size_t capacity = kDefaultCapacity);

    void clear();
    // The body of one pass, as drawn with `car`.
    void add(const sim::Body& body, const sim::Car& car, bool lasting);

    std::span<const Sample> samples() const { return samples_; }
    bool empty() const { return samples_.empty(); }
    const Sample& newest() const { return samples_.back(); }
    // The car of a sample (a Calculate during the run may have changed it).
    const sim::Car& car(const Sample& s) const { return cars_[s.car]; }
    // Passes added since the last clear, thinned ones included.
    std::uint64_t passes() const { return passes_; }
    // Only every stride-th pass is kept now (1 until the record first fills).
    std::uint64_t stride() const { return stride_; }
    std::size_t capacity() const { return capacity_; }
    // Path length of the mass centre over every pass added, thinned ones included.
    double distance() const { return distance_; }

    // Every sample in order through drawer.redrawCar, the wheels placed by its car.
    void replay(sim::Drawer& drawer) const;
    // The sample showing the run at `time`: the last one at or before it (the
    // first for a time before the run, the newest after it). The record must
    // not be empty.
    std::size_t sampleAt(double time) const;

    struct Extent {
        sim::Vec2 lo, hi;
        // Grown to hold p as well.
        void include(sim::Vec2 p) {
            lo = {std::min(lo.x, p.x), std::min(lo.y, p.y)};
            hi = {std::max(hi.x, p.x), std::max(hi.y, p.y)};
        }
    };
    // The box around the mass centre and the wheels of every sample (the
    // outlines' corners); nothing for an empty record.
    std::optional<Extent> extent() const;

private:
    void thin();

    std::size_t capacity_;
    std::vector<Sample> samples_;
    std::vector<sim::Car> cars_;
    std::uint64_t passes_ = 0;
    std::uint64_t stride_ = 1;
    bool tailKept_ = true; // the newest sample is one to keep, not only the newest
    double distance_ = 0;
};

} // namespace yawmark::model

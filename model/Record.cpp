// SPDX-License-Identifier: MIT
#include "model/Record.h"

#include <algorithm>

namespace yawmark::model {

Record::Record(std::size_t capacity) : capacity_(std::max<std::size_t>(capacity, 8)) {}

void Record::clear() {
    samples_.clear();
    cars_.clear();
    passes_ = 0;
    stride_ = 1;
    tailKept_ = true;
    distance_ = 0;
}

void Record::add(const sim::Body& body, const sim::Car& car, bool lasting) {
    // Only the body's outline depends on the car: a new entry when its shape changed.
    if (cars_.empty() || cars_.back().length != car.length || cars_.back().width != car.width)
        cars_.push_back(car);
    if (!samples_.empty()) distance_ += length(body.position - samples_.back().position);
    // The newest sample stands in for the passes since the last kept one
    // until a pass on the stride (or a lasting one) replaces it for good.
    if (!tailKept_) samples_.pop_back();
    const bool onStride = passes_ % stride_ == 0;
    samples_.push_back({body.time, body.position, body.velocity, body.heading, body.yawRate,
                        static_cast<std::uint32_t>(cars_.size() - 1), lasting, passes_,
                        distance_});
    tailKept_ = onStride || lasting;
    ++passes_;
    if (samples_.size() >= capacity_) thin();
}

void Record::replay(sim::Drawer& drawer) const {
    for (const Sample& s : samples_)
        drawer.redrawCar(s.body(), sim::placeWheels(car(s), s.heading), s.lasting);
}

std::size_t Record::sampleAt(double time) const {
    const auto after = std::upper_bound(samples_.begin(), samples_.end(), time,
                                        [](double t, const Sample& s) { return t < s.time; });
    return after == samples_.begin() ? 0 : static_cast<std::size_t>(after - samples_.begin()) - 1;
}

std::optional<Record::Extent> Record::extent() const {
    if (samples_.empty()) return std::nullopt;
    Extent e{samples_.front().position, samples_.front().position};
    for (const Sample& s : samples_) {
        const sim::WheelPlacement w = sim::placeWheels(car(s), s.heading);
        for (const sim::Vec2 offset : w.offset) {
            e.include(s.position + offset);
        }
    }
    return e;
}

void Record::thin() {
    // Every other ordinary sample goes; the first, the lasting ones and the
    // newest stay. Should that free too little (nearly all lasting), every
    // other sample goes whatever it is.
    const auto keepEveryOther = [this](bool evenLasting) {
        std::size_t out = 1, ordinary = 0;
        for (std::size_t i = 1; i + 1 < samples_.size(); ++i) {
            const Sample& s = samples_[i];
            const bool keep = (s.lasting && !evenLasting) ? true : (ordinary++ % 2 == 1);
            if (keep) samples_[out++] = s;
        }
        samples_[out++] = samples_.back();
        samples_.resize(out);
    };
    keepEveryOther(false);
    if (samples_.size() > capacity_ / 2 + capacity_ / 4) keepEveryOther(true);
    stride_ *= 2;
    tailKept_ = true;
}

} // namespace yawmark::model

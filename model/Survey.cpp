// SPDX-License-Identifier: MIT
#include "model/Survey.h"

#include "model/Text.h"
#include "sim/NumberText.h"

#include <algorithm>

namespace yawmark::model {

std::optional<sim::Wheel> wheelOfLayer(std::string_view layer) {
    if (const auto whole = parseWheel(layer)) return whole;
    const std::size_t cut = layer.find_last_of("-_");
    if (cut == std::string_view::npos) return std::nullopt;
    return parseWheel(layer.substr(cut + 1));
}

std::variant<Survey, std::string> surveyOf(const std::vector<SurveyEntity>& entities,
                                           double metresPerUnit) {
    Survey s;
    std::vector<std::string> layers;
    std::size_t total = 0;
    const SurveyEntity* previous = nullptr; // the last mark's entity
    for (const SurveyEntity& entity : entities) {
        if (std::find(layers.begin(), layers.end(), entity.layer) == layers.end())
            layers.push_back(entity.layer);
        total += entity.points.size();
        if (total > kMaxMarkPoints)
            return "it holds more than " + std::to_string(kMaxMarkPoints) +
                   " points, more than a survey may have.";
        std::vector<sim::Vec2> points;
        for (const sim::Vec2& p : entity.points) {
            const sim::Vec2 m = metresPerUnit * p;
            if (!withinReach(m))
                return "a point on layer \"" + printable(entity.layer) + "\" lies more than " +
                       formatNumber(kMarkReach) + " m from the origin.";
            points.push_back(m);
        }
        const auto wheel = wheelOfLayer(entity.layer);
        if (points.empty()) continue; // a polyline without vertices
        if (!wheel) {
            if (points.size() >= 2) s.lines.push_back({std::move(points)});
            continue;
        }
        // A run of POINTs on one layer is one mark; any other entity starts its own.
        const bool extends =
            entity.point && previous && previous->point && previous->layer == entity.layer;
        if (!extends) s.marks.push_back({*wheel, {}});
        s.marks.back().points.insert(s.marks.back().points.end(), points.begin(), points.end());
        previous = &entity;
    }
    const bool wheelLayer = std::any_of(layers.begin(), layers.end(), [](const std::string& l) {
        return wheelOfLayer(l).has_value();
    });
    if (s.marks.empty() && wheelLayer) return std::string("its wheels' layers hold no points.");
    if (s.marks.empty()) {
        std::string names;
        for (const std::string& layer : layers)
            names += (names.empty() ? "\"" : ", \"") + printable(layer) + "\"";
        return "no layer is named for a wheel (FL, FR, RR or RL, or ending in _RL and the "
               "like); its layers are " +
               (names.empty() ? std::string("none") : names) + ".";
    }
    return s;
}

} // namespace yawmark::model

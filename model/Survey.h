// SPDX-License-Identifier: MIT
// A survey drawing's entities turned into the case's tyre marks and scene
// lines. A layer named for a wheel (FL, FR, RR or RL, in any letter case, as
// the whole name or after its last '-' or '_': "MARK_RL") holds that wheel's
// marks, one a POINT run or line entity, in drawing order; every other layer's
// lines are the scene's.
#pragma once

#include "model/Marks.h"
#include "model/Scene.h"

#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace yawmark::model {

// One entity of the drawing in its own unit: a POINT (one point), a LINE (two)
// or a polyline (its vertices, the first again at the end when closed).
struct SurveyEntity {
    std::string layer;
    std::vector<sim::Vec2> points;
    bool point = false; // a POINT: consecutive ones of a layer make one mark
};

// The wheel a layer's name stands for, or nothing.
std::optional<sim::Wheel> wheelOfLayer(std::string_view layer);

struct Survey {
    std::vector<Mark> marks;
    std::vector<SceneLine> lines;
};

// The marks (metres) and scene lines of the drawing's entities, its unit
// `metresPerUnit` metres; or why not: no layer is a wheel's (naming the layers
// there are), more points than a survey may have, a point out of reach.
std::variant<Survey, std::string> surveyOf(const std::vector<SurveyEntity>& entities,
                                           double metresPerUnit);

} // namespace yawmark::model

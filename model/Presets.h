// The vehicle list and the two vehicles it can load.
#pragma once

#include "sim/Params.h"

#include <array>
#include <string_view>

namespace yawmark {

// Entries of the vehicle list, in order (spelled as the list has always shown them).
inline constexpr std::array<std::string_view, 3> kVehicleNames{"Custom", "McLaren F1",
                                                               "Imaginery Car"};
inline constexpr std::string_view kVehicleListTooltip =
    "Nope, you cannot save your own car, sorry.";

// McLaren F1: L 4.29 m, W 1.82 m, 1139 kg, 41.2 % on the front axle, μ = 10/11.16.
void carMcLaren(Params& p);

// The imaginary car: L 7 m, W 2 m, 4000 kg, 70 % on the front axle, μ = 0.8.
void carImagine(Params& p);

// Loads the preset named as in the vehicle list (exact text). "Custom" or an
// unknown name loads nothing; returns whether a preset was loaded.
bool loadVehicle(std::string_view name, Params& p);

} // namespace yawmark

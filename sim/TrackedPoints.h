// The five tracked points: the mass centre and the four wheels. Arrays over
// points run 0..4; arrays over wheels run 1..4 with the same numbers, so a
// wheel's index is its point's index. Wheels 1 and 2 form the front axle,
// 3 and 4 the rear axle (the locked one).
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace yawmark {

inline constexpr int kPointCount = 5;

enum Point : int { CE = 0, FL = 1, FR = 2, RR = 3, RL = 4 };

inline constexpr std::array<std::string_view, kPointCount> kPointLabel{"CE", "FL", "FR", "RR",
                                                                       "RL"};

// Trail colours, 0x00BBGGRR: black, red, magenta, blue, green.
inline constexpr std::array<std::uint32_t, kPointCount> kPointColor{0x000000u, 0x0000FFu, 0xFF00FFu,
                                                                    0xFF0000u, 0x00FF00u};

// The rear edge of every outline.
inline constexpr std::uint32_t kRearEdgeColor = 0xFFFF00u; // cyan

} // namespace yawmark

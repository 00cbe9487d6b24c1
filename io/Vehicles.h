// SPDX-License-Identifier: MIT
// The user's own vehicles: boxes 0 to 4 as typed, under a name, kept in one
// JSON file in the user's data folder. They follow the built-in presets in the
// vehicle list, and choosing one fills its boxes as a preset does.
//
//   { "format": "yawmark-vehicles", "version": "1.0",
//     "vehicles": [ { "name": "Van", "wheelbaseLength": "3.4", "wheelbaseWidth": "1.7",
//                     "mass": "2100", "rearWeightPercent": "55", "friction": "0.8" } ] }
#pragma once

#include <QString>

#include <array>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace yawmark::io {

inline constexpr int kVehicleBoxCount = 5; // boxes 0 to 4

struct UserVehicle {
    std::string name;
    std::array<std::string, kVehicleBoxCount> texts;
};

// Where the vehicles are kept: vehicles.json in the application's data folder.
QString vehiclesPath();

// The vehicles in the file (none when there is no file yet), or the message
// naming the file and what is wrong with it.
std::variant<std::vector<UserVehicle>, std::string> loadVehicles(const QString& path);
// Writes them atomically (the folder is made if need be), or says why not.
std::optional<std::string> saveVehicles(const QString& path, const std::vector<UserVehicle>& list);

} // namespace yawmark::io

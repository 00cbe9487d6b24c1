// SPDX-License-Identifier: MIT
// The scene's files: the world file beside a photo, and a survey drawing in
// DXF (ASCII, R12 to 2018) read with dxflib. Each refuses a file it cannot
// use with a message naming it.
#pragma once

#include "model/Marks.h"
#include "model/Scene.h"
#include "model/Survey.h"

#include <QString>

#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace yawmark::io {

// A survey drawing's bytes at most: 100,000 points with their group codes
// and layer names take some 20 MB.
inline constexpr qint64 kMaxDxfBytes = qint64(64) << 20;

// The world file beside an image, if there is one: photo.png has photo.pgw
// (or photo.pngw), photo.jpg photo.jgw, photo.tif photo.tfw, any of them photo.wld.
std::optional<QString> worldFileBeside(const QString& imagePath);
// The placement a world file gives, its numbers in a unit of `metresPerUnit`
// metres, or the message naming the file.
std::variant<model::Placement, std::string> loadWorldFile(const QString& path,
                                                          double metresPerUnit);

struct SurveyDrawing {
    std::vector<model::SurveyEntity> entities;
    std::optional<double> metresPerUnit; // from $INSUNITS, when it gives a length unit
};
// The POINT, LINE, LWPOLYLINE and POLYLINE entities of a DXF file (those of
// the drawing, not of its block definitions), or the message naming the file.
std::variant<SurveyDrawing, std::string> loadDxf(const QString& path);

// The marks and scene lines of a survey in metres: its coordinates in a unit
// of `metresPerUnit` metres when given, else in the drawing's $INSUNITS; a
// drawing that gives none needs it given. The message names the file.
std::variant<model::Survey, std::string> loadSurvey(const QString& path,
                                                    std::optional<double> metresPerUnit);

// Whether the path names a DXF file (by its suffix, in any letter case).
bool isDxfPath(const QString& path);

// The tyre marks of a CSV file or (by its suffix) a DXF survey's, or the
// message naming the file.
std::variant<std::vector<model::Mark>, std::string>
loadMarks(const QString& path, std::optional<double> dxfMetresPerUnit);

} // namespace yawmark::io

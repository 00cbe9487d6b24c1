// SPDX-License-Identifier: MIT
// The case file (.yawmark): everything that defines a run and can be typed in
// the window, as JSON text a person can read and edit.
//
//   {
//     "format": "yawmark-case", "version": "1.3",
//     "vehicle": "McLaren F1", "inertiaForm": "moment",
//     "autoYawRate": true, "autoInertia": true, "autoSnapshot": false, "realTime": false,
//     "boxes": { "wheelbaseLength": "4.29", ... nineteen texts ... },
//     "connect": { "massCentre": 0, "frontLeft": 0, ... },
//     "marks": [ { "wheel": "RL", "sigma": 0.05, "startsAtPull": true,
//                  "endsAtRest": false, "points": [[-0.93, -1.61], ...] }, ... ],
//     "spreads": { "friction": "normal:0.76,0.06", "mass": "uniform:1100,1180", ... }
//   }
//
// The box texts are kept exactly as shown, so a case saved and opened again
// shows the same texts and draws a bit-identical run. The keys of the boxes
// are model::kBoxKeys; the README documents every field.
//
// Reading is all or nothing: a file that is missing, unreadable, not JSON, of
// another format or a newer major version, or that lacks a field, holds one of
// the wrong kind, or holds a box that Draw would refuse, is refused with a
// message naming the file and the field. Fields a newer minor version added are
// ignored, each with a note.
//
// The tyre marks came with version 1.1: "marks" is written only when there
// are some, and a case without it (as every 1.0 case) has none. In a mark,
// "wheel" and "points" must be there; "sigma" (m, greater than 0) and the two
// flags default to the survey's 5 cm and false. Points are [x, y] in metres.
//
// The spreads came with version 1.2, written only when a box has one: each a
// box's key and its spread as model::spreadText writes it, in the box's own
// unit. A spread that does not read, or that leaves its box's range, is
// refused like a box (`field "spreads.mass": ...`); 1.0 and 1.1 cases have none.
//
// The scene came with version 1.3, written only when there is one:
//
//     "scene": { "image": "site.png", "placement": [a, b, c, d, e, f],
//                "opacity": 0.6, "lines": [ [[x, y], ...], ... ] }
//
// "image" is the photo's path, relative to the case file where it can be (a
// saved case keeps it so, an opened one resolves it); "placement" maps its
// (column, row) to metres as model::Placement does; the lines are the
// survey's scene lines in metres. Every field may be left out.
#pragma once

#include "model/Boxes.h"
#include "model/Distribution.h"
#include "model/Marks.h"
#include "model/Scene.h"

#include <QByteArray>
#include <QJsonObject>
#include <QString>

#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace yawmark::io {

inline constexpr std::string_view kCaseFormat = "yawmark-case";
inline constexpr int kCaseMajor = 1, kCaseMinor = 3;
inline constexpr std::string_view kCaseSuffix = ".yawmark";

struct CaseFile {
    model::BoxTexts texts;
    std::string vehicle; // as the vehicle list shows it
    model::InertiaForm form = model::InertiaForm::Moment;
    model::AutoCalculate autos; // "Auto Calculate" of the yaw rate and of the inertia
    bool autoSnapshot = false;
    bool realTime = false;
    std::vector<model::Mark> marks; // tyre marks surveyed on the road
    model::Spreads spreads;         // the uncertain boxes' spreads (version 1.2)
    model::Scene scene;             // the photo under the plot and the survey's lines (1.3)
    friend bool operator==(const CaseFile&, const CaseFile&) = default;
};

// The start-up case as a file would hold it.
CaseFile startupCaseFile();

// The JSON text of a case.
std::string caseText(const CaseFile& file);

struct CaseRead {
    CaseFile file;
    std::vector<std::string> notes; // fields ignored, one line each
};
// A case from JSON text, checked as Draw checks the boxes, or the message:
// `field "boxes.mass": "Vehicle Mass (kg)" must not be 0.`
std::variant<CaseRead, std::string> readCaseText(std::string_view text);

// Whether a case read must hold boxes Draw accepts, or may hold them as typed
// (an unsaved case, half edited).
enum class Boxes { Drawable, AsTyped };
// The case of a JSON object, as readCaseText() reads it.
std::variant<CaseRead, std::string> readCaseObject(const QJsonObject& root, Boxes boxCheck);
// A case's JSON object, as caseText() writes it.
QJsonObject caseObject(const CaseFile& file);
// JSON text's top object, or why it is none.
std::variant<QJsonObject, std::string> parseObject(std::string_view text);

// The file at `path`, or the message naming it; the scene image's path
// made whole from the case file's folder.
std::variant<CaseRead, std::string> loadCase(const QString& path);
// Writes the case to `path` atomically: the old file stays whole until the new
// one is complete. Returns why it could not, naming the file; a case that
// could not be opened again (more mark points than a case may hold) is not
// written. The scene image's path is written relative to the case file's folder.
std::optional<std::string> saveCase(const QString& path, const CaseFile& file);
// Writes any text so (the vehicles, exports).
std::optional<std::string> saveText(const QString& path, std::string_view text);
// Why nothing may be written at `path`, or nothing: an empty name, or
// something there that is not a regular file (a folder, a pipe, a device, a
// socket; also behind a symbolic link), which a save would replace or never
// finish writing. Every writer asks this first.
std::optional<std::string> outputProblem(const QString& path);
// The path as a message names it: control characters escaped, "" for none.
std::string pathName(const QString& path);
// A case or the vehicles are a few kilobytes; tyre marks of the most points
// a survey may have (100,000) take a few megabytes as CSV, and up to 13 MB in
// a case file, written with the case's indentation at the farthest reach.
inline constexpr qint64 kMaxCaseBytes = qint64(1) << 20;
inline constexpr qint64 kMaxMarksBytes = qint64(8) << 20;
inline constexpr qint64 kMaxCaseFileBytes = qint64(24) << 20;
// The bytes of a small regular file (at most `maxBytes`), or the message
// naming it. A folder or a device is not read: reading one might never end.
std::variant<QByteArray, std::string> readSmallFile(const QString& path,
                                                    qint64 maxBytes = kMaxCaseBytes);

} // namespace yawmark::io

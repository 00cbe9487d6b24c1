// SPDX-License-Identifier: MIT
#include "io/SceneFiles.h"

#include "io/CaseFile.h"
#include "model/Text.h"
#include "model/Units.h"

#include <dxflib/dl_creationadapter.h>
#include <dxflib/dl_dxf.h>

#include <QFileInfo>

#include <array>
#include <charconv>
#include <sstream>

namespace yawmark::io {

namespace {

std::string_view view(const QByteArray& bytes) {
    return {bytes.constData(), static_cast<std::size_t>(bytes.size())};
}

// Metres in the unit of a drawing's $INSUNITS code, for the length units a
// survey is drawn in; nothing for "unitless" (0) and the rest.
std::optional<double> insUnits(int code) {
    switch (code) {
    case 1:
        return model::kMetresPerFoot / 12; // inches
    case 2:
        return model::kMetresPerFoot;
    case 4:
        return 0.001;
    case 5:
        return 0.01;
    case 6:
        return 1.0;
    default:
        return std::nullopt;
    }
}

// Collects the entities dxflib reports. A polyline's vertices follow its
// header one call each; the entity after them (or the end) closes it.
class Collector : public DL_CreationAdapter {
public:
    SurveyDrawing drawing;
    std::optional<int> units;

    void setVariableInt(const std::string& key, int value, int) override {
        if (key == "$INSUNITS") units = value;
    }
    void addBlock(const DL_BlockData&) override { inBlock_ = true; }
    void endBlock() override { inBlock_ = false; }
    void addPoint(const DL_PointData& d) override { add({{d.x, d.y}}, true); }
    void addLine(const DL_LineData& d) override { add({{d.x1, d.y1}, {d.x2, d.y2}}, false); }
    void addPolyline(const DL_PolylineData& d) override {
        add({}, false);
        if (!inBlock_) polyline_ = &drawing.entities.back(), closed_ = (d.flags & 1) != 0;
    }
    void addVertex(const DL_VertexData& d) override {
        if (polyline_) polyline_->points.push_back({d.x, d.y});
    }
    void endSequence() override { close(); }
    void finish() { close(); }

private:
    void add(std::vector<sim::Vec2> points, bool point) {
        close();
        if (inBlock_) return;
        drawing.entities.push_back({attributes.getLayer(), std::move(points), point});
    }
    void close() {
        if (polyline_ && closed_ && polyline_->points.size() > 2)
            polyline_->points.push_back(polyline_->points.front());
        polyline_ = nullptr;
    }

    bool inBlock_ = false;
    model::SurveyEntity* polyline_ = nullptr;
    bool closed_ = false;
};

// The lines of a text as DXF pairs them: the first pair must open a section.
bool startsAsDxf(std::string_view text) {
    std::istringstream in{std::string(text.substr(0, 4096))};
    std::string code, value;
    const auto next = [&in](std::string& line) {
        if (!std::getline(in, line)) return false;
        const auto first = line.find_first_not_of(" \t");
        const auto last = line.find_last_not_of(" \t\r");
        line = first == std::string::npos ? std::string() : line.substr(first, last - first + 1);
        return true;
    };
    // Comments (group code 999) may come first.
    while (next(code) && next(value))
        if (code != "999") return code == "0" && value == "SECTION";
    return false;
}

// dxflib sets aside room for as many vertices, knots or control points as an
// entity's count says before it reads them: a count beyond any survey's
// would ask for gigabytes. Such a drawing is refused before dxflib sees it.
std::optional<std::string> countProblem(std::string_view text) {
    static const std::array<std::pair<std::string_view, std::string_view>, 5> kCounts{
        {{"LWPOLYLINE", "90"},
         {"SPLINE", "72"},
         {"SPLINE", "73"},
         {"SPLINE", "74"},
         {"LEADER", "76"}}};
    const auto strip = [](std::string_view line) {
        while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t'))
            line.remove_suffix(1);
        while (!line.empty() && (line.front() == ' ' || line.front() == '\t'))
            line.remove_prefix(1);
        return line;
    };
    const auto next = [&text, &strip](std::string_view& line) {
        if (text.empty()) return false;
        const std::size_t end = text.find('\n');
        line = strip(text.substr(0, end));
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        return true;
    };
    std::string_view code, value, entity;
    while (next(code) && next(value)) {
        if (code == "0") {
            entity = value;
            continue;
        }
        for (const auto& [type, count] : kCounts) {
            if (entity != type || code != count) continue;
            long long n = 0;
            const char* first = value.data() + (value.starts_with('-') || value.starts_with('+'));
            const auto [end, error] = std::from_chars(first, value.data() + value.size(), n);
            if (error == std::errc::result_out_of_range ||
                n > static_cast<long long>(model::kMaxMarkPoints))
                return "a " + std::string(type) + " says it has " + model::printable(value) +
                       " points, more than a survey may have (" +
                       std::to_string(model::kMaxMarkPoints) + ").";
            (void)end;
        }
    }
    return std::nullopt;
}

} // namespace

std::optional<QString> worldFileBeside(const QString& imagePath) {
    const QFileInfo info(imagePath);
    const QString suffix = info.suffix();
    const QString base =
        info.path() + QLatin1Char('/') + info.completeBaseName() + QLatin1Char('.');
    QStringList candidates;
    if (suffix.size() >= 2)
        candidates << suffix.left(1) + suffix.right(1) + QLatin1Char('w')
                   << suffix + QLatin1Char('w');
    candidates << QStringLiteral("wld");
    for (const QString& c : candidates)
        for (const QString& name : {c.toLower(), c.toUpper()})
            if (QFileInfo(base + name).isFile()) return base + name;
    return std::nullopt;
}

std::variant<model::Placement, std::string> loadWorldFile(const QString& path,
                                                          double metresPerUnit) {
    auto bytes = readSmallFile(path);
    if (auto* message = std::get_if<std::string>(&bytes)) return *message;
    auto placement = model::parseWorldFile(view(std::get<QByteArray>(bytes)), metresPerUnit);
    if (auto* message = std::get_if<std::string>(&placement))
        return pathName(path) + ": " + *message;
    return placement;
}

std::variant<SurveyDrawing, std::string> loadDxf(const QString& path) {
    auto bytes = readSmallFile(path, kMaxDxfBytes);
    if (auto* message = std::get_if<std::string>(&bytes)) return *message;
    const std::string_view text = view(std::get<QByteArray>(bytes));
    if (!startsAsDxf(text))
        return pathName(path) + ": not a DXF drawing (an ASCII DXF file starts with a SECTION).";
    if (auto problem = countProblem(text)) return pathName(path) + ": " + *problem;
    std::istringstream in{std::string(text)};
    Collector collector;
    DL_Dxf dxf;
    dxf.in(in, &collector);
    collector.finish();
    if (collector.units) collector.drawing.metresPerUnit = insUnits(*collector.units);
    return std::move(collector.drawing);
}

std::variant<model::Survey, std::string> loadSurvey(const QString& path,
                                                    std::optional<double> metresPerUnit) {
    auto read = loadDxf(path);
    if (auto* message = std::get_if<std::string>(&read)) return *message;
    const SurveyDrawing& drawing = std::get<SurveyDrawing>(read);
    const auto unit = metresPerUnit ? metresPerUnit : drawing.metresPerUnit;
    if (!unit)
        return pathName(path) +
               ": the drawing does not give its unit ($INSUNITS), and none was given.";
    auto survey = model::surveyOf(drawing.entities, *unit);
    if (auto* message = std::get_if<std::string>(&survey)) return pathName(path) + ": " + *message;
    return survey;
}

bool isDxfPath(const QString& path) {
    return QFileInfo(path).suffix().compare(QLatin1String("dxf"), Qt::CaseInsensitive) == 0;
}

std::variant<std::vector<model::Mark>, std::string>
loadMarks(const QString& path, std::optional<double> dxfMetresPerUnit) {
    if (isDxfPath(path)) {
        auto survey = loadSurvey(path, dxfMetresPerUnit);
        if (auto* message = std::get_if<std::string>(&survey)) return *message;
        return std::get<model::Survey>(std::move(survey)).marks;
    }
    auto bytes = readSmallFile(path, kMaxMarksBytes);
    if (auto* message = std::get_if<std::string>(&bytes)) return *message;
    auto marks = model::parseMarks(view(std::get<QByteArray>(bytes)));
    if (auto* message = std::get_if<std::string>(&marks)) return pathName(path) + ": " + *message;
    return marks;
}

} // namespace yawmark::io

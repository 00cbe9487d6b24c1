// SPDX-License-Identifier: MIT
#include "io/CaseFile.h"

#include "model/Text.h"
#include "sim/NumberText.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

#include <array>
#include <cmath>
#include <filesystem>

namespace yawmark::io {

namespace {

using model::kBoxCount;
using model::kTrailCount;

QString qs(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

std::string field(std::string_view name) {
    return "field \"" + model::printable(name) + "\"";
}

// What is at `path` when it is there and not a regular file (a folder, a
// device, a pipe): reading it might never end, writing it would not keep anything.
std::optional<std::string> notRegular(const QString& path) {
    namespace fs = std::filesystem;
    std::error_code error;
    const auto status = fs::status(path.toStdString(), error); // behind any link
    if (error || !fs::exists(status) || fs::is_regular_file(status)) return std::nullopt;
    switch (status.type()) {
    case fs::file_type::directory:
        return std::string("a folder");
    case fs::file_type::fifo:
        return std::string("a pipe (FIFO)");
    case fs::file_type::socket:
        return std::string("a socket");
    case fs::file_type::block:
    case fs::file_type::character:
        return std::string("a device");
    default:
        return std::string("something other than a file");
    }
}

// "major.minor" with both numbers, or nothing.
std::optional<std::pair<int, int>> parseVersion(const QString& text) {
    const QStringList parts = text.split(QLatin1Char('.'));
    bool okMajor = false, okMinor = false;
    if (parts.size() != 2) return std::nullopt;
    const int major = parts[0].toInt(&okMajor), minor = parts[1].toInt(&okMinor);
    if (!okMajor || !okMinor || major < 0 || minor < 0) return std::nullopt;
    return std::pair{major, minor};
}

// Reads the fields of one JSON object, remembering the first thing wrong and
// the fields it was not asked for.
class Fields {
public:
    Fields(const QJsonObject& object, std::string prefix, std::string& error)
        : object_(object), prefix_(std::move(prefix)), error_(error) {}

    std::string name(std::string_view key) const { return field(prefix_ + std::string(key)); }

    // The field's value; one that is missing is `fallback` when there is one.
    std::optional<QJsonValue> take(std::string_view key,
                                   std::optional<QJsonValue> fallback = std::nullopt) {
        const QString k = qs(key);
        taken_ << k;
        if (!object_.contains(k)) {
            if (fallback) return fallback;
            return fail(name(key) + " is missing.");
        }
        return object_.value(k);
    }
    std::optional<bool> flag(std::string_view key, std::optional<bool> fallback = std::nullopt) {
        const auto v = take(key, fallback ? std::optional<QJsonValue>(*fallback) : std::nullopt);
        if (!v) return std::nullopt;
        if (!v->isBool()) return fail(name(key) + " must be true or false.");
        return v->toBool();
    }
    // A number greater than 0.
    std::optional<double> positive(std::string_view key, double fallback) {
        const auto v = take(key, QJsonValue(fallback));
        if (!v) return std::nullopt;
        if (!v->isDouble() || !(v->toDouble() > 0) || !std::isfinite(v->toDouble()))
            return fail(name(key) + " must be a number greater than 0.");
        return v->toDouble();
    }
    std::optional<QJsonArray> array(std::string_view key) {
        const auto v = take(key);
        if (!v) return std::nullopt;
        if (!v->isArray()) return fail(name(key) + " must be a list in brackets.");
        return v->toArray();
    }
    std::optional<std::string> text(std::string_view key) {
        const auto v = take(key);
        if (!v) return std::nullopt;
        if (!v->isString()) return fail(name(key) + " must be a text in quotes.");
        return v->toString().toStdString();
    }
    std::optional<QJsonObject> object(std::string_view key) {
        const auto v = take(key);
        if (!v) return std::nullopt;
        if (!v->isObject()) return fail(name(key) + " must be an object in braces.");
        return v->toObject();
    }
    // An integer from 0 to `most`.
    std::optional<int> choice(std::string_view key, int most, std::string_view meaning) {
        const auto v = take(key);
        if (!v) return std::nullopt;
        // In range before it is cast: a cast of 1e300 to int is undefined.
        const double d = v->toDouble(-1);
        if (!v->isDouble() || !(d >= 0 && d <= most) || d != std::floor(d))
            return fail(name(key) + " must be " + std::string(meaning) + ".");
        return static_cast<int>(d);
    }
    // A note for each field nobody asked for (a newer minor version's).
    void noteUnknown(std::vector<std::string>& notes) const {
        for (const QString& k : object_.keys())
            if (!taken_.contains(k))
                notes.push_back(name(k.toStdString()) + " is not known here and was ignored.");
    }

private:
    std::nullopt_t fail(std::string what) {
        if (error_.empty()) error_ = std::move(what);
        return std::nullopt;
    }

    QJsonObject object_;
    std::string prefix_;
    std::string& error_;
    QStringList taken_;
};

// The tyre marks of a case's "marks" list, or nothing with `error` set.
std::optional<std::vector<model::Mark>> readMarks(const QJsonArray& list, std::string& error,
                                                  std::vector<std::string>& notes) {
    std::vector<model::Mark> marks;
    std::size_t total = 0;
    const auto fail = [&](std::string what) {
        error = std::move(what);
        return std::nullopt;
    };
    for (qsizetype i = 0; i < list.size(); ++i) {
        const std::string at = "marks[" + std::to_string(i) + "]";
        if (!list[i].isObject()) return fail(field(at) + " must be an object in braces.");
        Fields f(list[i].toObject(), at + ".", error);
        const auto wheel = f.text("wheel");
        const auto sigma = f.positive("sigma", model::kDefaultMarkSigma);
        const auto startsAtPull = f.flag("startsAtPull", false);
        const auto endsAtRest = f.flag("endsAtRest", false);
        const auto points = f.array("points");
        if (!error.empty()) return std::nullopt;
        model::Mark& m = marks.emplace_back();
        if (const auto w = model::parseWheel(*wheel))
            m.wheel = *w;
        else
            return fail(f.name("wheel") + " must be \"FL\", \"FR\", \"RR\" or \"RL\".");
        if (!model::sigmaInRange(*sigma))
            return fail(f.name("sigma") + " must be from " + formatNumber(model::kMinMarkSigma) +
                        " to " + formatNumber(model::kMaxMarkSigma) + " m.");
        m.sigma = *sigma, m.startsAtPull = *startsAtPull, m.endsAtRest = *endsAtRest;
        if (points->isEmpty()) return fail(f.name("points") + " must hold at least one point.");
        for (qsizetype j = 0; j < points->size(); ++j) {
            const QJsonArray xy = points->at(j).toArray();
            if (!points->at(j).isArray() || xy.size() != 2 || !xy[0].isDouble() ||
                !xy[1].isDouble() || !std::isfinite(xy[0].toDouble()) ||
                !std::isfinite(xy[1].toDouble()))
                return fail(field(at + ".points[" + std::to_string(j) + "]") +
                            " must be a point [x, y] of two numbers.");
            const sim::Vec2 point{xy[0].toDouble(), xy[1].toDouble()};
            if (!model::withinReach(point))
                return fail(field(at + ".points[" + std::to_string(j) + "]") + " must lie within " +
                            formatNumber(model::kMarkReach) + " m of the origin.");
            if (++total > model::kMaxMarkPoints)
                return fail(field("marks") + " holds more than " +
                            std::to_string(model::kMaxMarkPoints) + " points.");
            m.points.push_back(point);
        }
        f.noteUnknown(notes);
    }
    return marks;
}

QJsonArray pointList(const std::vector<sim::Vec2>& points) {
    QJsonArray list;
    for (const sim::Vec2& p : points)
        list.append(QJsonArray{p.x, p.y});
    return list;
}

QJsonObject sceneObject(const model::Scene& scene) {
    QJsonObject object;
    if (!scene.image.empty()) {
        const model::Placement& p = scene.placement;
        object.insert(QStringLiteral("image"), QString::fromStdString(scene.image));
        object.insert(QStringLiteral("placement"), QJsonArray{p.a, p.b, p.c, p.d, p.e, p.f});
        object.insert(QStringLiteral("opacity"), scene.opacity);
    }
    if (!scene.lines.empty()) {
        QJsonArray lines;
        for (const model::SceneLine& line : scene.lines)
            lines.append(pointList(line.points));
        object.insert(QStringLiteral("lines"), lines);
    }
    return object;
}

// The scene of a case's "scene" object, or nothing with `error` set.
std::optional<model::Scene> readScene(const QJsonObject& object, std::string& error,
                                      std::vector<std::string>& notes) {
    model::Scene scene;
    Fields f(object, "scene.", error);
    const auto fail = [&](std::string what) {
        error = std::move(what);
        return std::nullopt;
    };
    if (object.contains(QStringLiteral("image"))) {
        const auto image = f.text("image");
        if (!image) return std::nullopt;
        scene.image = *image;
    }
    if (object.contains(QStringLiteral("placement"))) {
        const auto list = f.array("placement");
        if (!list) return std::nullopt;
        std::array<double, 6> v{};
        for (qsizetype i = 0; i < list->size() && i < 6; ++i)
            v[static_cast<std::size_t>(i)] = list->at(i).toDouble(std::nan(""));
        if (list->size() != 6)
            return fail(f.name("placement") + " must be a list of six numbers.");
        scene.placement = {v[0], v[1], v[2], v[3], v[4], v[5]};
        if (auto problem = model::placementProblem(scene.placement))
            return fail(f.name("placement") + ": " + *problem + ".");
    }
    if (object.contains(QStringLiteral("opacity"))) {
        const auto v = f.take("opacity");
        if (!v->isDouble() || !(v->toDouble() >= 0 && v->toDouble() <= 1))
            return fail(f.name("opacity") + " must be a number from 0 to 1.");
        scene.opacity = v->toDouble();
    }
    if (object.contains(QStringLiteral("lines"))) {
        const auto lines = f.array("lines");
        if (!lines) return std::nullopt;
        std::size_t total = 0;
        for (qsizetype i = 0; i < lines->size(); ++i) {
            const std::string at = "scene.lines[" + std::to_string(i) + "]";
            const QJsonArray points = lines->at(i).toArray();
            if (!lines->at(i).isArray() || points.size() < 2)
                return fail(field(at) + " must be a list of two points or more.");
            model::SceneLine& line = scene.lines.emplace_back();
            for (qsizetype j = 0; j < points.size(); ++j) {
                const QJsonArray xy = points[j].toArray();
                const sim::Vec2 p{xy.size() == 2 ? xy[0].toDouble(std::nan("")) : std::nan(""),
                                  xy.size() == 2 ? xy[1].toDouble(std::nan("")) : std::nan("")};
                if (!model::withinReach(p)) // false for NaN too
                    return fail(field(at + "[" + std::to_string(j) + "]") +
                                " must be a point [x, y] within " +
                                formatNumber(model::kMarkReach) + " m of the origin.");
                if (++total > model::kMaxMarkPoints)
                    return fail(field("scene.lines") + " holds more than " +
                                std::to_string(model::kMaxMarkPoints) + " points.");
                line.points.push_back(p);
            }
        }
    }
    f.noteUnknown(notes);
    return scene;
}

// The case's scene image path made relative to `folder`, or whole from it.
CaseFile withImageFrom(CaseFile f, const QString& folder, bool relative) {
    if (f.scene.image.empty()) return f;
    const QString image = QString::fromStdString(f.scene.image);
    const QDir dir(folder);
    const QString moved = relative ? (QFileInfo(image).isAbsolute() ? dir.relativeFilePath(image)
                                                                     : image)
                                   : QDir::cleanPath(dir.absoluteFilePath(image));
    f.scene.image = moved.toStdString();
    return f;
}

} // namespace

CaseFile startupCaseFile() {
    CaseFile f;
    model::writeBoxes(model::startupCase(), f.texts, true);
    f.vehicle = std::string(model::kVehicleNames[1]);
    return f;
}

QJsonObject caseObject(const CaseFile& f) {
    QJsonObject boxes, connect;
    for (int i = 0; i < kBoxCount; ++i)
        boxes.insert(qs(model::kBoxKeys[i]), QString::fromStdString(f.texts.text[i]));
    for (int i = 0; i < kTrailCount; ++i)
        connect.insert(qs(model::kTrailKeys[i]), f.texts.trail[i]);
    QJsonObject root;
    root.insert(QStringLiteral("format"), qs(kCaseFormat));
    root.insert(QStringLiteral("version"), QStringLiteral("%1.%2").arg(kCaseMajor).arg(kCaseMinor));
    root.insert(QStringLiteral("vehicle"), QString::fromStdString(f.vehicle));
    root.insert(QStringLiteral("inertiaForm"), f.form == model::InertiaForm::Gyration
                                                   ? QStringLiteral("gyration")
                                                   : QStringLiteral("moment"));
    root.insert(QStringLiteral("autoYawRate"), f.autos.normal);
    root.insert(QStringLiteral("autoInertia"), f.autos.inertia);
    root.insert(QStringLiteral("autoSnapshot"), f.autoSnapshot);
    root.insert(QStringLiteral("realTime"), f.realTime);
    root.insert(QStringLiteral("boxes"), boxes);
    root.insert(QStringLiteral("connect"), connect);
    // Only a case with marks has the field: a 1.0 reader opens the others without a note.
    if (!f.marks.empty()) {
        QJsonArray marks;
        for (const model::Mark& m : f.marks) {
            QJsonArray points;
            for (const sim::Vec2& p : m.points)
                points.append(QJsonArray{p.x, p.y});
            marks.append(QJsonObject{{QStringLiteral("wheel"), qs(model::wheelCode(m.wheel))},
                                     {QStringLiteral("sigma"), m.sigma},
                                     {QStringLiteral("startsAtPull"), m.startsAtPull},
                                     {QStringLiteral("endsAtRest"), m.endsAtRest},
                                     {QStringLiteral("points"), points}});
        }
        root.insert(QStringLiteral("marks"), marks);
    }
    // So are the spreads (since 1.2): a case without them opens anywhere.
    QJsonObject spreads;
    for (int i = 0; i < kBoxCount; ++i)
        if (const auto& s = f.spreads[i])
            spreads.insert(qs(model::kBoxKeys[i]), qs(model::spreadText(*s)));
    if (!spreads.isEmpty()) root.insert(QStringLiteral("spreads"), spreads);
    // And the scene (since 1.3).
    if (!f.scene.empty()) root.insert(QStringLiteral("scene"), sceneObject(f.scene));
    return root;
}

std::string caseText(const CaseFile& f) {
    return QJsonDocument(caseObject(f)).toJson(QJsonDocument::Indented).toStdString();
}

std::variant<QJsonObject, std::string> parseObject(std::string_view text) {
    QJsonParseError parse{};
    const QJsonDocument doc = QJsonDocument::fromJson(
        QByteArray(text.data(), static_cast<qsizetype>(text.size())), &parse);
    if (parse.error != QJsonParseError::NoError)
        return "not a case file: " + parse.errorString().toStdString() + " at character " +
               std::to_string(parse.offset) + ".";
    if (!doc.isObject()) return std::string("not a case file: no JSON object.");
    return doc.object();
}

std::variant<CaseRead, std::string> readCaseObject(const QJsonObject& root, Boxes boxCheck) {
    if (root.value(QStringLiteral("format")).toString() != qs(kCaseFormat))
        return "not a Yawmark case: " + field("format") + " is not \"" + std::string(kCaseFormat) +
               "\".";
    const auto version = parseVersion(root.value(QStringLiteral("version")).toString());
    if (!version) return field("version") + " must be a text like \"1.0\".";
    if (version->first != kCaseMajor)
        return "a case of version " + std::to_string(version->first) + "." +
               std::to_string(version->second) + ", which this Yawmark (reading " +
               std::to_string(kCaseMajor) + ".x) cannot read.";

    CaseRead read;
    CaseFile& f = read.file;
    std::string error;
    Fields top(root, "", error);
    top.take("format"), top.take("version");
    const auto vehicle = top.text("vehicle");
    const auto form = top.text("inertiaForm");
    const auto autoYawRate = top.flag("autoYawRate"), autoInertia = top.flag("autoInertia");
    const auto autoSnapshot = top.flag("autoSnapshot"), realTime = top.flag("realTime");
    const auto boxesObject = top.object("boxes"), connectObject = top.object("connect");
    if (!error.empty()) return error;
    if (*form != "moment" && *form != "gyration")
        return field("inertiaForm") + " must be \"moment\" or \"gyration\".";
    f.vehicle = *vehicle;
    f.form = *form == "gyration" ? model::InertiaForm::Gyration : model::InertiaForm::Moment;
    f.autos = {*autoYawRate, *autoInertia};
    f.autoSnapshot = *autoSnapshot, f.realTime = *realTime;

    Fields boxes(*boxesObject, "boxes.", error), connect(*connectObject, "connect.", error);
    for (int i = 0; i < kBoxCount; ++i)
        if (const auto t = boxes.text(model::kBoxKeys[i])) f.texts.text[i] = *t;
    for (int i = 0; i < kTrailCount; ++i)
        if (const auto c =
                connect.choice(model::kTrailKeys[i], 2, "0 (unticked), 1 (ticked) or 2 (greyed)"))
            f.texts.trail[i] = *c;
    if (!error.empty()) return error;
    if (root.contains(QStringLiteral("marks"))) {
        const auto list = top.array("marks");
        const auto marks = list ? readMarks(*list, error, read.notes) : std::nullopt;
        if (!marks) return error;
        f.marks = *marks;
    }
    std::optional<Fields> spreads;
    if (root.contains(QStringLiteral("spreads"))) {
        const auto object = top.object("spreads");
        if (!object) return error;
        spreads.emplace(*object, "spreads.", error);
        for (int i = 0; i < kBoxCount; ++i) {
            const std::string_view key = model::kBoxKeys[i];
            if (!object->contains(qs(key))) continue;
            const auto text = spreads->text(key);
            if (!text) return error;
            const auto s = model::parseSpread(*text);
            if (const auto* problem = std::get_if<std::string>(&s))
                return spreads->name(key) + ": " + *problem + ".";
            if (const auto problem = model::checkSpread(i, std::get<model::Spread>(s)))
                return spreads->name(key) + ": " + model::boxMessage(*problem, f.form);
            f.spreads[i] = std::get<model::Spread>(s);
        }
    }
    if (root.contains(QStringLiteral("scene"))) {
        const auto object = top.object("scene");
        const auto scene = object ? readScene(*object, error, read.notes) : std::nullopt;
        if (!scene) return error;
        f.scene = *scene;
    }
    for (const Fields* fields : {&top, &boxes, &connect})
        fields->noteUnknown(read.notes);
    if (spreads) spreads->noteUnknown(read.notes);

    if (boxCheck == Boxes::AsTyped) return read;
    // The boxes as Draw would read them: a case that cannot be drawn is refused.
    const auto prepared = model::prepareDraw(f.texts, f.autos, f.form);
    if (const auto* problem = std::get_if<model::BoxProblem>(&prepared))
        return field("boxes." + std::string(model::kBoxKeys[problem->box])) + ": " +
               model::boxMessage(*problem, f.form);
    return read;
}

std::variant<CaseRead, std::string> readCaseText(std::string_view text) {
    auto root = parseObject(text);
    if (auto* e = std::get_if<std::string>(&root)) return *e;
    return readCaseObject(std::get<QJsonObject>(root), Boxes::Drawable);
}

std::variant<QByteArray, std::string> readSmallFile(const QString& path, qint64 maxBytes) {
    const std::string name = pathName(path) + ": ";
    if (path.isEmpty()) return name + "no file name was given.";
    if (const auto what = notRegular(path)) return name + "not a file but " + *what + ".";
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return name + file.errorString().toStdString() + ".";
    QByteArray bytes = file.read(maxBytes + 1);
    if (bytes.size() > maxBytes)
        return name + "too large for Yawmark, more than " + std::to_string(maxBytes >> 20) +
               " MiB.";
    return bytes;
}

std::variant<CaseRead, std::string> loadCase(const QString& path) {
    auto bytes = readSmallFile(path, kMaxCaseFileBytes);
    if (auto* e = std::get_if<std::string>(&bytes)) return *e;
    const QByteArray& b = std::get<QByteArray>(bytes);
    auto read = readCaseText(std::string_view(b.constData(), static_cast<std::size_t>(b.size())));
    if (auto* e = std::get_if<std::string>(&read)) return pathName(path) + ": " + *e;
    CaseRead& r = std::get<CaseRead>(read);
    r.file = withImageFrom(std::move(r.file), QFileInfo(path).absolutePath(), false);
    return read;
}

std::optional<std::string> saveCase(const QString& path, const CaseFile& f) {
    std::size_t points = 0;
    for (const model::Mark& m : f.marks)
        points += m.points.size();
    if (points > model::kMaxMarkPoints)
        return pathName(path) + ": not saved: the tyre marks have " + std::to_string(points) +
               " points, and a case may hold " + std::to_string(model::kMaxMarkPoints) + ".";
    const std::string text = caseText(withImageFrom(f, QFileInfo(path).absolutePath(), true));
    if (static_cast<qint64>(text.size()) > kMaxCaseFileBytes)
        return pathName(path) + ": not saved: it would be too large to be opened again.";
    return saveText(path, text);
}

std::optional<std::string> saveText(const QString& path, std::string_view text) {
    const std::string name = pathName(path) + ": ";
    if (auto problem = outputProblem(path)) return name + *problem + ".";
    QSaveFile file(path);
    // Unbuffered, so that a short write (a full disk) shows in write()'s count:
    // through the buffer it may pass unnoticed and commit() replace the old
    // file with a cut one.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return name + file.errorString().toStdString() + ".";
    if (file.write(text.data(), static_cast<qint64>(text.size())) !=
        static_cast<qint64>(text.size())) {
        file.cancelWriting();
        return name + "could not be written whole (is the disk full?); the old file is kept.";
    }
    if (!file.commit()) return name + file.errorString().toStdString() + ".";
    return std::nullopt;
}

std::optional<std::string> outputProblem(const QString& path) {
    if (path.isEmpty()) return std::string("no file name was given");
    if (const auto what = notRegular(path)) return *what + " of that name is in the way";
    return std::nullopt;
}

std::string pathName(const QString& path) {
    return path.isEmpty() ? std::string("\"\"") : model::printable(path.toStdString());
}

} // namespace yawmark::io

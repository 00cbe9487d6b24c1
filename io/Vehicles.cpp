// SPDX-License-Identifier: MIT
#include "io/Vehicles.h"

#include "io/CaseFile.h"
#include "model/BoxTable.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStandardPaths>

namespace yawmark::io {

namespace {

constexpr std::string_view kVehiclesFormat = "yawmark-vehicles";

QString qs(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

} // namespace

QString vehiclesPath() {
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) +
           QStringLiteral("/vehicles.json");
}

std::variant<std::vector<UserVehicle>, std::string> loadVehicles(const QString& path) {
    const std::string name = pathName(path) + ": ";
    if (!QFileInfo::exists(path)) return std::vector<UserVehicle>{};
    auto bytes = readSmallFile(path);
    if (auto* e = std::get_if<std::string>(&bytes)) return *e;
    const QJsonDocument doc = QJsonDocument::fromJson(std::get<QByteArray>(bytes));
    const QJsonObject root = doc.object();
    if (root.value(QStringLiteral("format")).toString() != qs(kVehiclesFormat) ||
        !root.value(QStringLiteral("version")).toString().startsWith(QStringLiteral("1.")))
        return name + "not a list of Yawmark vehicles this version reads.";
    std::vector<UserVehicle> list;
    for (const QJsonValue& v : root.value(QStringLiteral("vehicles")).toArray()) {
        const QJsonObject o = v.toObject();
        UserVehicle vehicle{o.value(QStringLiteral("name")).toString().toStdString(), {}};
        bool whole = !vehicle.name.empty();
        for (int i = 0; i < kVehicleBoxCount; ++i) {
            const QJsonValue text = o.value(qs(model::kBoxKeys[i]));
            whole = whole && text.isString();
            vehicle.texts[i] = text.toString().toStdString();
        }
        if (!whole) return name + "a vehicle without a name or one of its five boxes.";
        list.push_back(std::move(vehicle));
    }
    return list;
}

std::optional<std::string> saveVehicles(const QString& path, const std::vector<UserVehicle>& list) {
    QJsonArray vehicles;
    for (const UserVehicle& v : list) {
        QJsonObject o{{QStringLiteral("name"), QString::fromStdString(v.name)}};
        for (int i = 0; i < kVehicleBoxCount; ++i)
            o.insert(qs(model::kBoxKeys[i]), QString::fromStdString(v.texts[i]));
        vehicles.append(o);
    }
    const QJsonObject root{{QStringLiteral("format"), qs(kVehiclesFormat)},
                           {QStringLiteral("version"), QStringLiteral("1.0")},
                           {QStringLiteral("vehicles"), vehicles}};
    QDir().mkpath(QFileInfo(path).absolutePath());
    return saveText(path, QJsonDocument(root).toJson().toStdString());
}

} // namespace yawmark::io

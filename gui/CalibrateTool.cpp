// SPDX-License-Identifier: MIT
#include "gui/CalibrateTool.h"

#include "gui/AppInfo.h"
#include "gui/CaseDocument.h"
#include "gui/Prompts.h"
#include "model/Text.h"

#include <QFileInfo>

namespace yawmark {

CalibrateTool::CalibrateTool(CaseDocument& document, const Prompts& prompts,
                             std::function<model::Units()> units, QObject* parent)
    : QObject(parent), document_(document), prompts_(prompts), units_(std::move(units)) {}

bool CalibrateTool::start() {
    first_.reset();
    if (document_.file().scene.image.empty()) {
        prompts_.message(appTitle(),
                         QStringLiteral("There is no scene image to calibrate: import one first."));
        return false;
    }
    emit note(QStringLiteral("Calibrate: click two points on the photo whose distance or "
                             "coordinates you know; Escape ends."));
    return true;
}

bool CalibrateTool::press(const PlotPoint& at) {
    const auto pixel = document_.file().scene.placement.toImage(at.world);
    if (!pixel) return true;
    if (!first_) {
        first_ = pixel;
        emit note(QStringLiteral("Calibrate: now click the second point."));
        return true;
    }
    const sim::Vec2 first = *std::exchange(first_, std::nullopt);
    calibrate(first, *pixel);
    return true;
}

void CalibrateTool::calibrate(sim::Vec2 pixel1, sim::Vec2 pixel2) {
    const model::Scene& scene = document_.file().scene;
    const double unit = model::lengthUnit(units_());
    const auto unitName = model::lengthName(units_());
    const double shown = sim::length(scene.placement.toWorld(pixel2) -
                                     scene.placement.toWorld(pixel1)) / unit;
    const QString caption = QStringLiteral("Calibrate Scene Image");
    const QString asked =
        prompts_.askText(caption,
                         QStringLiteral("The distance between the two points in %1, or both "
                                        "points' coordinates as x1,y1 x2,y2:")
                             .arg(QString::fromUtf8(unitName.data(), qsizetype(unitName.size()))),
                         QString::fromStdString(model::fixedText(shown, 2)));
    if (asked.trimmed().isEmpty()) return emit finished();
    auto placement = model::calibrationOf(asked.toStdString(), pixel1, pixel2, unit);
    const std::string name = QFileInfo(QString::fromStdString(scene.image)).fileName().toStdString();
    if (const auto* problem = std::get_if<std::string>(&placement)) {
        prompts_.message(appTitle(), QString::fromStdString(name + ": " + *problem));
        return emit finished();
    }
    io::CaseFile file = document_.file();
    file.scene.placement = std::get<model::Placement>(placement);
    document_.change(caption, file);
    emit finished();
    emit calibrated();
    emit note(QStringLiteral("Scene image %1 calibrated: %2 m a pixel.")
                  .arg(QString::fromStdString(name),
                       QString::fromStdString(model::fixedText(file.scene.placement.scale(), 4))));
}

bool CalibrateTool::key(int key) {
    if (key != Qt::Key_Escape) return false;
    first_.reset();
    emit finished();
    return true;
}

} // namespace yawmark

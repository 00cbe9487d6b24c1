// SPDX-License-Identifier: MIT
#include "gui/SceneImports.h"

#include "gui/AppInfo.h"
#include "gui/CaseDocument.h"
#include "gui/Prompts.h"
#include "io/SceneFiles.h"
#include "model/Scene.h"
#include "model/Survey.h"
#include "plot/Scene.h"
#include "sim/NumberText.h"

#include <QFileInfo>

#include <cmath>

namespace yawmark {

namespace {

const QString kImageFilter =
    QStringLiteral("Images (*.png *.jpg *.jpeg *.tif *.tiff *.bmp);;All files (*)");
const QString kSurveyFilter = QStringLiteral("DXF drawings (*.dxf);;All files (*)");
// One merge id for the opacity slider's steps.
constexpr int kOpacityMerge = 1000;

} // namespace

SceneImports::SceneImports(CaseDocument& document, const Prompts& prompts,
                           std::function<model::Units()> units, QObject* parent)
    : QObject(parent), document_(document), prompts_(prompts), units_(std::move(units)) {}

bool SceneImports::refuse(const std::string& message) const {
    prompts_.message(appTitle(), QString::fromStdString(message));
    return false;
}

bool SceneImports::importSceneImage() {
    const QString caption = QStringLiteral("Import Scene Image");
    const QString path = prompts_.askFile(caption, kImageFilter, false, document_.lastFolder());
    if (path.isEmpty()) return false;
    const auto image = plot::loadSceneImage(path, model::kMaxSceneImagePixels);
    if (const auto* problem = std::get_if<std::string>(&image)) return refuse(*problem);
    const QSize size = std::get<QImage>(image).size();
    model::Placement placement;
    const double unit = model::lengthUnit(units_());
    const auto world = io::worldFileBeside(path);
    if (world) {
        auto read = io::loadWorldFile(*world, unit);
        if (const auto* problem = std::get_if<std::string>(&read)) return refuse(*problem);
        placement = std::get<model::Placement>(read);
    } else {
        // No world file: a pixel a unit, around the origin, until the user
        // clicks two points on it (Tools > Calibrate Scene Image).
        placement = model::provisionalPlacement(size.width(), size.height(), unit);
    }
    io::CaseFile file = document_.file();
    file.scene.image = QFileInfo(path).absoluteFilePath().toStdString();
    file.scene.placement = placement;
    document_.change(caption, file);
    emit note(QStringLiteral("Scene image %1, %2 \u00D7 %3 pixels, %4 m a pixel.")
                  .arg(QFileInfo(path).fileName())
                  .arg(size.width())
                  .arg(size.height())
                  .arg(QString::fromStdString(formatNumber(placement.scale()))));
    if (!world) emit calibrationWanted();
    return true;
}

bool SceneImports::importSurvey() {
    const QString caption = QStringLiteral("Import Survey (DXF)");
    const QString path = prompts_.askFile(caption, kSurveyFilter, false, document_.lastFolder());
    if (path.isEmpty()) return false;
    auto read = io::loadDxf(path);
    if (const auto* problem = std::get_if<std::string>(&read)) return refuse(*problem);
    const io::SurveyDrawing& drawing = std::get<io::SurveyDrawing>(read);
    auto unit = drawing.metresPerUnit;
    if (!unit) {
        const QString asked = prompts_.askText(
            caption,
            QStringLiteral("%1 does not give its unit ($INSUNITS). Its unit: m, cm, mm, ft or in:")
                .arg(QFileInfo(path).fileName()),
            QStringLiteral("m"));
        if (asked.trimmed().isEmpty()) return false;
        unit = model::parseLengthUnitName(asked.toStdString());
        if (!unit)
            return refuse("\"" + asked.toStdString() +
                          "\" is not a unit a drawing may be in: m, cm, mm, ft or in.");
    }
    auto survey = model::surveyOf(drawing.entities, *unit);
    if (const auto* problem = std::get_if<std::string>(&survey))
        return refuse(io::pathName(path) + ": " + *problem);
    model::Survey& s = std::get<model::Survey>(survey);
    io::CaseFile file = document_.file();
    const auto marks = s.marks.size(), lines = s.lines.size();
    file.marks = std::move(s.marks);
    file.scene.lines = std::move(s.lines);
    document_.change(caption, file);
    emit note(QStringLiteral("%1 tyre marks and %2 scene lines from %3.")
                  .arg(marks)
                  .arg(lines)
                  .arg(QFileInfo(path).fileName()));
    return true;
}

void SceneImports::setOpacity(int percent) {
    io::CaseFile file = document_.file();
    file.scene.opacity = std::clamp(percent, 0, 100) / 100.0;
    document_.change(QStringLiteral("Scene Opacity"), file, kOpacityMerge);
}

} // namespace yawmark

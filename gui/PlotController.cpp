// SPDX-License-Identifier: MIT
#include "gui/PlotController.h"

#include "gui/CaseDocument.h"
#include "gui/PlotWidget.h"
#include "gui/Prompts.h"
#include "gui/ReversedScrollBar.h"
#include "gui/RunController.h"
#include "io/CaseFile.h"
#include "model/Text.h"
#include "model/Trajectory.h"

#include <QBuffer>
#include <QClipboard>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QStandardPaths>
#include <QSvgGenerator>
#include <QTimer>

#include <algorithm>
#include <cmath>
#include <utility>

namespace yawmark {

PlotController::PlotController(PlotWidget& plot, const RunController& runs,
                               const CaseDocument& document, const Prompts& prompts,
                               QObject* parent)
    : QObject(parent), plot_(plot), runs_(runs), document_(document), prompts_(prompts),
      renderer_(plot.surface(), view_) {
    renderer_.setScene(&scene_);
    connect(&plot_, &PlotWidget::zoomRequested, this,
            [this](sim::Vec2 at, double factor) { viewChanged(view_.zoomAbout(at, factor)); });
    connect(&plot_, &PlotWidget::panRequested, this,
            [this](double dx, double dy) { viewChanged(view_.panBy(dx, dy)); });
    connect(&plot_, &PlotWidget::fitRequested, this, &PlotController::fitSkid);
    connect(&plot_, &PlotWidget::resized, this, [this] {
        if (axesShown_) redraw();
    });
    connect(&plot_, &PlotWidget::cursorMoved, this, [this](std::optional<sim::Vec2> at) {
        if (!at || !axesShown_) return emit cursorText(QString());
        const double u = model::lengthUnit(units_);
        const QString unit = QString::fromUtf8(model::lengthName(units_).data());
        emit cursorText(QStringLiteral("x = %1 %3, y = %2 %3")
                            .arg(QString::fromStdString(model::fixedText(at->x / u, 2)),
                                 QString::fromStdString(model::fixedText(at->y / u, 2)), unit));
    });
    connect(&runs_, &RunController::phaseChanged, this, &PlotController::phaseChanged);
    connect(&runs_, &RunController::passed, this, &PlotController::followCar);
}

void PlotController::setSurface(plot::Surface* surface) {
    renderer_.setSurface(surface ? *surface : plot_.surface());
}

void PlotController::phaseChanged(model::Phase phase) {
    const model::Phase before = std::exchange(phase_, phase);
    // Passes are drawn from where the car stands, whenever the run goes on.
    if (phase == model::Phase::Running) {
        renderer_.beginPasses(runs_.run().body().position);
        return;
    }
    renderer_.endPasses();
    // A followed run that ended (at rest or stopped) shows its whole skid.
    // Fitted from the event loop, once the run's last slice is over.
    const auto ended = [](model::Phase p) {
        return p == model::Phase::Stopped || p == model::Phase::AtRest;
    };
    if (follow_ && before == model::Phase::Running && ended(phase))
        QTimer::singleShot(0, this, [this, ended] {
            if (ended(phase_)) fitSkid();
        });
}

void PlotController::followCar() {
    if (!follow_ || !axesShown_ || renderer_.carInSight()) return;
    const model::Run& run = runs_.run();
    auto extent = run.record().extent(); // the whole skid so far, this pass included
    if (!extent) return;
    // Where the car would stop if only its locked rear wheels slowed it, along
    // its velocity: s = v²/(2·μ·g·(1 − f)). Sliding sideways the rolling front
    // wheels brake it too, so it stops sooner and mostly within that; holding
    // that point as well, a fast skid needs a redraw or two, not one at every
    // doubling of the view.
    const sim::Car& car = run.runCase().car;
    const sim::Vec2 v = run.body().velocity;
    const double speed = length(v);
    const double s = speed * speed / (2 * car.friction * car.gravity * (1 - car.frontShare));
    if (speed > 0 && std::isfinite(s) && s > 0 && s < plot::kMaxRange / 4) {
        extent->include(run.body().position + (s / speed) * v);
    }
    if (view_.grow(extent->lo, extent->hi)) redraw();
}

void PlotController::setUnits(model::Units units) {
    units_ = units;
    view_.unit = model::lengthUnit(units);
    // Feet get 1-2-5 intervals of feet, as metres do after a gesture.
    if (units == model::Units::US) view_.autoIntervals = true;
    labelMeasurements();
    if (axesShown_) redraw();
}

void PlotController::followBar(ReversedScrollBar* bar, bool (plot::View::*step)(int)) {
    connect(bar, &ReversedScrollBar::changed, this, [this, bar, step] {
        const int k = bar->value();
        if (k == 0) return;
        const bool changed = (view_.*step)(k);
        bar->setValue(0);
        if (changed) drawAxes();
    });
}

void PlotController::useStyle(const model::TrailStyle& style) {
    view_.pixelSize = style.pixelSize;
    view_.joined = style.joined;
}

void PlotController::beginRun(const model::TrailStyle& style) {
    cloud_.reset();
    renderer_.surface().clear();
    useStyle(style);
    renderer_.surface().setPersistent(true);
    drawAxes();
}

void PlotController::clear() {
    cloud_.reset();
    drawAxes();
}

void PlotController::drawAxes() {
    axesShown_ = true;
    if (auto failure = drawBase(renderer_, plot_.frame()))
        prompts_.message(QStringLiteral("Error"),
                         QString::fromStdString(scaleFailureText(*failure)));
}

std::optional<plot::ScaleFailure> PlotController::drawBase(plot::Renderer& renderer,
                                                           const plot::Frame& frame) {
    const auto& marks = document_.file().marks;
    std::vector<plot::LegendEntry> more; // each wheel with marks, once; the cloud; references
    legendNames_.clear();
    for (std::size_t i = 0; i < references_.size(); ++i)
        legendNames_.push_back(referenceLabel(i).toStdString());
    for (int wheel = 0; wheel < 4; ++wheel)
        if (std::any_of(marks.begin(), marks.end(),
                        [wheel](const model::Mark& m) { return m.wheel == wheel; }))
            more.push_back({plot::kMarkNames[wheel], plot::markColor(wheel)});
    if (cloud_) {
        more.push_back({"draws at rest", plot::kCloudRestColor});
        more.push_back({"95% region", plot::kCloudRegionColor});
    }
    for (std::size_t i = 0; i < references_.size(); ++i)
        more.push_back({legendNames_[i], plot::kReferenceColors[i]});
    auto failure = renderer.drawAxes(frame, more);
    if (failure) return failure;
    for (std::size_t i = 0; i < referenceTrails_.size(); ++i)
        renderer.drawReference(referenceTrails_[i], static_cast<int>(i));
    for (const model::Mark& mark : marks)
        renderer.drawMark(mark.points, mark.wheel);
    if (cloud_) renderer.drawCloud(*cloud_);
    return failure;
}

void PlotController::redraw() {
    // Dots or lines as the check boxes say now.
    const auto& trail = document_.file().texts.trail;
    for (int i = 0; i < plot::kTrailCount; ++i)
        view_.joined[i] = trail[i] == 1;
    plot::Surface& surface = renderer_.surface();
    surface.setPenWidth(1);
    axesShown_ = true;
    if (auto failure = drawBase(renderer_, plot_.frame())) {
        prompts_.message(QStringLiteral("Error"),
                         QString::fromStdString(scaleFailureText(*failure)));
        return;
    }
    const model::Record& record = runs_.run().record();
    if (!record.empty()) {
        renderer_.beginPasses(record.samples().front().position);
        record.replay(renderer_);
    }
    // A run going on draws its next pass with the pen it had.
    if (runs_.phase() == model::Phase::Running)
        surface.setPenWidth(plot::penWidthFor(view_.pixelSize)), surface.flush();
    else
        renderer_.endPasses();
    emit redrawn();
}

void PlotController::marksChanged() {
    if (axesShown_ || !document_.file().marks.empty()) redraw();
}

std::optional<model::Record::Extent> PlotController::skidExtent() const {
    auto extent = runs_.run().record().extent();
    const auto include = [&extent](std::span<const sim::Vec2> points) {
        for (const sim::Vec2& p : points) {
            if (!extent) extent = model::Record::Extent{p, p};
            extent->include(p);
        }
    };
    for (const model::Mark& mark : document_.file().marks)
        include(mark.points);
    if (cloud_) {
        include(cloud_->rests);
        for (const auto& trail : cloud_->trails)
            include(trail);
    }
    for (const plot::ReferenceTrails& reference : referenceTrails_)
        for (const auto& trail : reference.trails)
            include(trail);
    return extent;
}

void PlotController::fitSkid() {
    if (const auto extent = skidExtent())
        viewChanged(view_.fit(extent->lo, extent->hi, plot::kFitMargin));
}

void PlotController::fitSkidAndScene() {
    auto extent = skidExtent();
    if (const auto scene = plot::sceneBounds(scene_)) {
        if (!extent) extent = model::Record::Extent{scene->first, scene->first};
        extent->include(scene->first);
        extent->include(scene->second);
    }
    if (extent) viewChanged(view_.fit(extent->lo, extent->hi, plot::kFitMargin));
}

void PlotController::setCloud(const plot::Cloud& cloud) {
    cloud_ = cloud;
    const auto inView = [this](sim::Vec2 p) {
        return p.x >= view_.xMin && p.x <= view_.xMax && p.y >= view_.yMin && p.y <= view_.yMax;
    };
    bool inSight = std::ranges::all_of(cloud.rests, inView);
    for (const auto& trail : cloud.trails)
        inSight = inSight && std::ranges::all_of(trail, inView);
    // A cloud out of sight brings the view around the skid, the cloud with it.
    if (const auto extent = skidExtent(); extent && !inSight)
        view_.fit(extent->lo, extent->hi, plot::kFitMargin);
    redraw();
}

QString PlotController::referenceLabel(std::size_t i) const {
    // The first change in full; the legend has no room for a list.
    const std::string changed =
        model::differenceText(references_[i].runCase, runs_.run().runCase(), 1);
    return QStringLiteral("Reference %1: %2")
        .arg(i + 1)
        .arg(changed.empty() ? QStringLiteral("same inputs") : QString::fromStdString(changed));
}

void PlotController::keepReference() {
    const model::Run& run = runs_.run();
    if (run.record().empty()) {
        prompts_.message(QString(),
                         QStringLiteral("There is no run to keep yet: press Draw first."));
        return;
    }
    if (references_.size() == model::kMaxReferences) {
        references_.erase(references_.begin());
        referenceTrails_.erase(referenceTrails_.begin());
    }
    references_.push_back(model::makeReference(run.record(), run.runCase()));
    plot::ReferenceTrails trails;
    for (const model::TracePoint& p : references_.back().trace)
        for (int i = 0; i < plot::kTrailCount; ++i)
            trails.trails[i].push_back(p.points[i]);
    referenceTrails_.push_back(std::move(trails));
    redraw();
    emit referencesChanged();
}

QString PlotController::measurementText(const model::Measurement& measurement) const {
    if (const auto angle = measurement.angle())
        return QString::fromStdString(model::fixedText(*angle, 1)) + QStringLiteral("\u00B0");
    const auto distance = measurement.distance();
    if (!distance || measurement.points.size() > 2) return {};
    return QStringLiteral("%1 %2").arg(
        QString::fromStdString(model::fixedText(*distance / model::lengthUnit(units_), 2)),
        QString::fromUtf8(model::lengthName(units_).data()));
}

void PlotController::labelMeasurements() {
    scene_.dimensions.clear();
    for (const model::Measurement& m : measurements_)
        scene_.dimensions.push_back({m.points, measurementText(m).toStdString()});
}

void PlotController::setMeasurements(std::vector<model::Measurement> measurements) {
    measurements_ = std::move(measurements);
    labelMeasurements();
    redraw();
}

void PlotController::clearMeasurements() {
    if (measurements_.empty()) return;
    setMeasurements({});
}

void PlotController::clearReferences() {
    if (references_.empty()) return;
    references_.clear();
    referenceTrails_.clear();
    redraw();
    emit referencesChanged();
}

void PlotController::showInstant(std::size_t index) {
    const model::Record& record = runs_.run().record();
    if (index >= record.samples().size()) return;
    const model::Sample& s = record.samples()[index];
    renderer_.showCar(s.body(), sim::placeWheels(record.car(s), s.heading));
}

void PlotController::clearCloud() {
    if (!std::exchange(cloud_, std::nullopt)) return;
    redraw();
}

void PlotController::showLegend(bool on) {
    view_.legend = on;
    if (axesShown_) redraw();
}

void PlotController::viewChanged(bool changed) {
    if (changed) redraw();
}

QImage PlotController::shownImage() const {
    return plot_.surface().composed();
}

void PlotController::sceneChanged() {
    const model::Scene& s = document_.file().scene;
    scene_.lines.clear();
    for (const model::SceneLine& line : s.lines)
        scene_.lines.push_back(line.points);
    scene_.opacity = s.opacity;
    const model::Placement& p = s.placement;
    scene_.toWorld = plot::placementTransform(p.a, p.b, p.c, p.d, p.e, p.f);
    if (const QString path = QString::fromStdString(s.image); path != scenePath_) {
        scenePath_ = path;
        scene_.image = QImage();
        auto image = plot::loadSceneImage(path, model::kMaxSceneImagePixels);
        if (auto* problem = std::get_if<std::string>(&image); problem && !path.isEmpty())
            emit saved(QString::fromStdString(*problem));
        else if (!path.isEmpty())
            scene_.image = std::get<QImage>(std::move(image));
    }
    if (axesShown_ || !s.empty()) redraw();
}

void PlotController::showSceneImage(bool on) {
    scene_.showImage = on;
    if (axesShown_) redraw();
}

void PlotController::showScaleBar(bool on) {
    scene_.scaleBar = on;
    if (axesShown_) redraw();
}

QByteArray PlotController::svgOfSize(QSize size) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    QSvgGenerator svg;
    svg.setOutputDevice(&buffer);
    svg.setSize(size);
    svg.setViewBox(QRect(QPoint(0, 0), size));
    plot::ImageSurface surface;
    surface.resize(size, 1.0);
    surface.setVectorTarget(&svg);
    drawWhole(surface, size);
    surface.finishVector();
    return bytes;
}

QImage PlotController::imageOfSize(QSize size) {
    plot::ImageSurface surface;
    surface.resize(size, 1.0);
    drawWhole(surface, size);
    return surface.composed();
}

void PlotController::drawWhole(plot::Surface& surface, QSize size) {
    plot::Renderer renderer(surface, view_);
    renderer.setScene(&scene_);
    const plot::Frame frame{double(size.width()), double(size.height())};
    const model::Record& record = runs_.run().record();
    if (!drawBase(renderer, frame) && !record.empty()) {
        renderer.beginPasses(record.samples().front().position);
        record.replay(renderer);
    }
    renderer.endPasses();
}

QString PlotController::suggestedPath(const QString& name) const {
    QString folder = document_.lastFolder();
    if (folder.isEmpty()) folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    // A fresh account may have no Documents folder: a name there could not be written.
    if (!QFileInfo(folder).isDir()) folder = QDir::homePath();
    return folder + QLatin1Char('/') + name;
}

void PlotController::exportImage() {
    const QImage shown = shownImage();
    const QString label = QStringLiteral("Size in pixels, width x height:");
    const QString suggestion = QStringLiteral("%1x%2").arg(shown.width()).arg(shown.height());
    const QString asked =
        prompts_.askText(QStringLiteral("Export Image"), label, suggestion).trimmed();
    if (asked.isEmpty()) return;
    const auto sides = plot::parseImageSize(asked.toStdString());
    if (!sides) {
        prompts_.message(
            QString(),
            QStringLiteral("\"%1\" is not a size such as %2: two whole "
                           "numbers from 1 to %3 with an x between them, "
                           "at most %4 pixels in all.")
                .arg(QString::fromStdString(model::printable(asked.toStdString())), suggestion)
                .arg(plot::kMaxImageSide)
                .arg(plot::kMaxImagePixels));
        return;
    }
    const QSize size(sides->first, sides->second);
    const QString png = QStringLiteral("PNG images (*.png)");
    QString chosen = png;
    QString path = prompts_.askFile(QStringLiteral("Export Image"),
                                    png + QStringLiteral(";;SVG drawings (*.svg)"), true,
                                    suggestedPath(QStringLiteral("skid.png")), &chosen);
    if (path.isEmpty()) return;
    if (QFileInfo(path).suffix().isEmpty())
        path += chosen == png ? QStringLiteral(".png") : QStringLiteral(".svg");
    QByteArray bytes;
    if (QFileInfo(path).suffix().compare(QLatin1String("svg"), Qt::CaseInsensitive) == 0) {
        bytes = svgOfSize(size);
    } else {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        (size == shown.size() ? shown : imageOfSize(size)).save(&buffer, "PNG");
    }
    if (auto problem = io::saveText(path, std::string_view(bytes.constData(), bytes.size())))
        return prompts_.message(QString(), QString::fromStdString(*problem));
    emit saved(QStringLiteral("Saved %1, %2 \u00D7 %3.")
                   .arg(QFileInfo(path).fileName())
                   .arg(size.width())
                   .arg(size.height()));
}

void PlotController::exportTrajectory() {
    const model::Run& run = runs_.run();
    if (run.record().empty()) {
        prompts_.message(QString(),
                         QStringLiteral("There is no run to export yet: press Draw first."));
        return;
    }
    // The second file type adds each wheel's position, as yawmark-batch --wheels does.
    const QString plain = QStringLiteral("CSV files (*.csv)");
    const QString withWheels = QStringLiteral("CSV with wheel positions (*.csv)");
    QString chosen = plain;
    QString path = prompts_.askFile(QStringLiteral("Export Trajectory"),
                                    plain + QStringLiteral(";;") + withWheels, true,
                                    suggestedPath(QStringLiteral("skid.csv")), &chosen);
    if (path.isEmpty()) return;
    if (QFileInfo(path).suffix().isEmpty()) path += QStringLiteral(".csv");
    const std::string csv = model::trajectoryCsv(run.record(), run.body(), chosen == withWheels);
    if (auto problem = io::saveText(path, csv))
        return prompts_.message(QString(), QString::fromStdString(*problem));
    const auto rows = std::count(csv.begin(), csv.end(), '\n') - 1; // below the heading
    emit saved(QStringLiteral("Saved %1, %2 rows.").arg(QFileInfo(path).fileName()).arg(rows));
}

void PlotController::copyImage() {
    const QImage image = shownImage();
    QGuiApplication::clipboard()->setImage(image);
    emit saved(
        QStringLiteral("Copied the plot, %1 \u00D7 %2.").arg(image.width()).arg(image.height()));
}

} // namespace yawmark

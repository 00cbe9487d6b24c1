// SPDX-License-Identifier: MIT
#include "gui/PlotController.h"

#include "gui/CaseDocument.h"
#include "gui/PlotWidget.h"
#include "gui/Prompts.h"
#include "gui/ReversedScrollBar.h"
#include "gui/RunController.h"
#include "io/CaseFile.h"
#include "model/Trajectory.h"

#include <QBuffer>
#include <QClipboard>
#include <QFileInfo>
#include <QGuiApplication>
#include <QStandardPaths>

#include <algorithm>

namespace yawmark {

PlotController::PlotController(PlotWidget& plot, const QWidget& panelFrame,
                               const RunController& runs, const CaseDocument& document,
                               const Prompts& prompts, QObject* parent)
    : QObject(parent), plot_(plot), panelFrame_(panelFrame), runs_(runs), document_(document),
      prompts_(prompts), renderer_(plot.surface(), view_) {
    connect(&plot_, &PlotWidget::zoomRequested, this,
            [this](sim::Vec2 at, double factor) { viewChanged(view_.zoomAbout(at, factor)); });
    connect(&plot_, &PlotWidget::panRequested, this,
            [this](double dx, double dy) { viewChanged(view_.panBy(dx, dy)); });
    connect(&plot_, &PlotWidget::fitRequested, this, &PlotController::fitSkid);
    connect(&plot_, &PlotWidget::resized, this, [this] {
        if (axesShown_) redraw();
    });
    connect(&plot_, &PlotWidget::cursorMoved, this, [this](std::optional<sim::Vec2> at) {
        emit cursorText(!at || !axesShown_ ? QString()
                                           : QStringLiteral("x = %1 m, y = %2 m")
                                                 .arg(at->x, 0, 'f', 2)
                                                 .arg(at->y, 0, 'f', 2)
                                                 .replace(QLatin1Char('-'), QChar(0x2212)));
    });
    connect(&runs_, &RunController::phaseChanged, this, &PlotController::phaseChanged);
}

void PlotController::setSurface(plot::Surface* surface) {
    renderer_.setSurface(surface ? *surface : plot_.surface());
}

void PlotController::phaseChanged(model::Phase phase) {
    // Passes are drawn from where the car stands, whenever the run goes on.
    if (phase == model::Phase::Running)
        renderer_.beginPasses(runs_.run().body().position);
    else
        renderer_.endPasses();
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
    renderer_.surface().clear();
    useStyle(style);
    renderer_.surface().setPersistent(true);
    drawAxes();
}

void PlotController::clear() {
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
    auto failure = renderer.drawAxes(frame);
    if (!failure)
        for (const model::Mark& mark : document_.file().marks)
            renderer.drawMark(mark.points);
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
}

void PlotController::marksChanged() {
    if (axesShown_ || !document_.file().marks.empty()) redraw();
}

void PlotController::fitSkid() {
    auto extent = runs_.run().record().extent();
    for (const model::Mark& mark : document_.file().marks)
        for (const sim::Vec2& p : mark.points) {
            if (!extent) extent = model::Record::Extent{p, p};
            extent->lo = {std::min(extent->lo.x, p.x), std::min(extent->lo.y, p.y)};
            extent->hi = {std::max(extent->hi.x, p.x), std::max(extent->hi.y, p.y)};
        }
    if (extent) viewChanged(view_.fit(extent->lo, extent->hi, 0.05));
}

void PlotController::showLegend(bool on) {
    view_.legend = on;
    if (axesShown_) redraw();
}

void PlotController::viewChanged(bool changed) {
    if (changed) redraw();
}

QImage PlotController::shownImage() const {
    // What the window shows of the plot: right of the control panel.
    const QImage all = plot_.surface().composed();
    const int left = panelFrame_.geometry().right() + 1;
    return all.copy(left, 0, all.width() - left, all.height());
}

QImage PlotController::imageOfSize(QSize size) {
    plot::ImageSurface surface;
    surface.resize(size, 1.0);
    plot::Renderer renderer(surface, view_);
    // The whole image is plot: a window of that size without a panel.
    const plot::Frame frame{size.width() * plot::kTwipsPerPixel,
                            size.height() * plot::kTwipsPerPixel, 0, 0};
    const model::Record& record = runs_.run().record();
    if (!drawBase(renderer, frame) && !record.empty()) {
        renderer.beginPasses(record.samples().front().position);
        record.replay(renderer);
    }
    renderer.endPasses();
    return surface.composed();
}

QString PlotController::suggestedPath(const QString& name) const {
    const QString folder = document_.lastFolder();
    return (folder.isEmpty() ? QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation)
                             : folder) +
           QLatin1Char('/') + name;
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
        prompts_.message(QString(), QStringLiteral("\"%1\" is not a size such as %2: two whole "
                                                   "numbers from 1 to %3 with an x between them, "
                                                   "at most %4 pixels in all.")
                                        .arg(asked, suggestion)
                                        .arg(plot::kMaxImageSide)
                                        .arg(plot::kMaxImagePixels));
        return;
    }
    const QSize size(sides->first, sides->second);
    QString path =
        prompts_.askFile(QStringLiteral("Export Image"), QStringLiteral("PNG images (*.png)"), true,
                         suggestedPath(QStringLiteral("skid.png")));
    if (path.isEmpty()) return;
    if (QFileInfo(path).suffix().isEmpty()) path += QStringLiteral(".png");
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    (size == shown.size() ? shown : imageOfSize(size)).save(&buffer, "PNG");
    if (auto problem = io::saveText(path, std::string_view(bytes.constData(), bytes.size())))
        prompts_.message(QString(), QString::fromStdString(*problem));
}

void PlotController::exportTrajectory() {
    const model::Run& run = runs_.run();
    if (run.record().empty()) {
        prompts_.message(QString(),
                         QStringLiteral("There is no run to export yet: press Draw first."));
        return;
    }
    QString path =
        prompts_.askFile(QStringLiteral("Export Trajectory"), QStringLiteral("CSV files (*.csv)"),
                         true, suggestedPath(QStringLiteral("skid.csv")));
    if (path.isEmpty()) return;
    if (QFileInfo(path).suffix().isEmpty()) path += QStringLiteral(".csv");
    if (auto problem = io::saveText(path, model::trajectoryCsv(run.record(), run.body())))
        prompts_.message(QString(), QString::fromStdString(*problem));
}

void PlotController::copyImage() {
    QGuiApplication::clipboard()->setImage(shownImage());
}

} // namespace yawmark

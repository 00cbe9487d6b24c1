// SPDX-License-Identifier: MIT
// The plot's side of the window: the view and the renderer on the plot's
// surface, the gestures and the pan and zoom bars, redraws of the run's
// record, Fit Skid, the legend, and the exports of what the plot shows. It
// reads the run's record and the case's marks and trail style; it never
// changes the run.
#pragma once

#include "model/Reference.h"
#include "model/Run.h"
#include "model/Scene.h"
#include "model/Units.h"
#include "plot/Renderer.h"
#include "plot/View.h"
#include "sim/Vec2.h"

#include <QImage>
#include <QObject>

#include <optional>
#include <string>
#include <vector>

class QWidget;

namespace yawmark {

class CaseDocument;
class PlotWidget;
class Prompts;
class ReversedScrollBar;
class RunController;

class PlotController : public QObject {
    Q_OBJECT
public:
    PlotController(PlotWidget& plot, const RunController& runs, const CaseDocument& document,
                   const Prompts& prompts, QObject* parent);

    const plot::View& view() const { return view_; }
    // The renderer the run's passes are drawn with.
    plot::Renderer& renderer() { return renderer_; }
    // Draw on another surface (tests); nullptr goes back to the plot's.
    void setSurface(plot::Surface* surface);
    // One change of a pan or zoom bar: a step of the view by its sign, the bar
    // back to 0, and the axes drawn again when the view changed.
    void followBar(ReversedScrollBar* bar, bool (plot::View::*step)(int));
    // The plot as the window shows it.
    QImage shownImage() const;
    // Where an export named `name` is offered: the case's last folder, or the
    // Documents folder, or home when there is none.
    QString suggestedPath(const QString& name) const;
    // The Monte Carlo cloud drawn with the record, if there is one.
    const std::optional<plot::Cloud>& cloud() const { return cloud_; }
    // The runs kept for comparison, oldest first, and what each changed into
    // the run shown now ("Reference 1: Initial Speed 25 → 27 m/s").
    const std::vector<model::Reference>& references() const { return references_; }
    QString referenceLabel(std::size_t i) const;
    // Tools > Measure's measurements, drawn as dimensions in the units shown
    // until they are cleared; the last may be one still being taken.
    const std::vector<model::Measurement>& measurements() const { return measurements_; }
    // The scene as it is drawn: the photo, the lines, the measurements' dimensions.
    const plot::SceneLayer& scene() const { return scene_; }
    void setMeasurements(std::vector<model::Measurement> measurements);
    // "12.34 m" for two points, "37.5°" for three; empty before there are two.
    QString measurementText(const model::Measurement& measurement) const;

public slots:
    // A new run: the plot cleared, its style taken, the axes and marks drawn.
    void beginRun(const model::TrailStyle& style);
    // A Calculate's new style for the passes to come.
    void useStyle(const model::TrailStyle& style);
    // Clear: the axes and the marks again.
    void clear();
    // View > Redraw Run: the axes and the run's record again in the current view.
    void redraw();
    // The marks changed: drawn again, once the plot has axes or there are marks.
    void marksChanged();
    // View > Fit Skid: the view around the whole recorded run and the marks.
    void fitSkid();
    // View > Fit Skid and Scene: the same, the scene's photo and lines included.
    void fitSkidAndScene();
    void showLegend(bool on);
    // A Monte Carlo run's cloud, under the run, in every redraw and export
    // until a new run, Clear or clearCloud(); the view grows to hold it.
    void setCloud(const plot::Cloud& cloud);
    // The case's scene changed: its photo read again if it is another one (a
    // photo that cannot be read is named in the status bar and left out), the
    // plot drawn again.
    void sceneChanged();
    // View > Scene Image.
    void showSceneImage(bool on);
    // View > Scale Bar: a bar of a round length in the bottom-left corner, in
    // the units shown, on the plot and in every export.
    void showScaleBar(bool on);
    void clearCloud();
    // Edit > Keep as Reference: the run as it is now stays drawn, faint, under
    // the next runs in every redraw and export; past kMaxReferences the oldest
    // goes. Nothing without a run.
    void keepReference();
    // Tools > Clear Measurements.
    void clearMeasurements();
    // Edit > Clear References.
    void clearReferences();
    // A replay's moment: the car at sample `index` of the run's record, over
    // its trails, in place of the outline shown before.
    void showInstant(std::size_t index);
    // View > Follow Run: while a run goes, the view grows to keep the car in
    // sight; when the run ends, it fits the skid.
    void setFollow(bool on) { follow_ = on; }
    // The axes and the cursor readout in these units.
    void setUnits(model::Units units);
    // File > Export Image..., Export Trajectory..., Edit > Copy Image.
    void exportImage();
    void exportTrajectory();
    void copyImage();

signals:
    // Where the pointer is on the plane, for the status bar (empty: off the plot).
    void cursorText(const QString& text);
    // What an export or a copy wrote ("Saved skid.png, 719 × 546.").
    void saved(const QString& text);
    // A reference was kept or they were cleared.
    void referencesChanged();
    // The plot was drawn again from the record (the screen-only outline is gone).
    void redrawn();

private:
    void phaseChanged(model::Phase phase);
    // After a pass: a car leaving the plot grows the view (Follow Run).
    void followCar();
    void viewChanged(bool changed);
    void drawAxes();
    // The measurements as the scene's dimensions, labelled in the units shown.
    void labelMeasurements();
    // The axes, then the marks and the cloud, which lie under everything drawn after them.
    std::optional<plot::ScaleFailure> drawBase(plot::Renderer& renderer, const plot::Frame& frame);
    // The box around the record, the marks and the cloud, if any.
    std::optional<model::Record::Extent> skidExtent() const;
    // The axes and the record drawn afresh on an image of that size.
    QImage imageOfSize(QSize size);
    // The scene, the axes, the base and the whole record on `surface`, sized so.
    void drawWhole(plot::Surface& surface, QSize size);
    // The same as an SVG drawing.
    QByteArray svgOfSize(QSize size);

    PlotWidget& plot_;
    const RunController& runs_;
    const CaseDocument& document_;
    const Prompts& prompts_;
    plot::View view_;
    plot::Renderer renderer_;
    std::optional<plot::Cloud> cloud_;
    std::vector<model::Reference> references_;
    std::vector<plot::ReferenceTrails> referenceTrails_; // the same, as drawn
    std::vector<std::string> legendNames_;               // of the last drawBase()
    plot::SceneLayer scene_;
    std::vector<model::Measurement> measurements_;
    QString scenePath_; // the photo scene_ holds
    bool axesShown_ = false; // the plot has had axes drawn: a resize redraws it
    bool follow_ = false;
    model::Phase phase_ = model::Phase::Idle;
    model::Units units_ = model::Units::Metric;
};

} // namespace yawmark

// SPDX-License-Identifier: MIT
// Tools > Calibrate Scene Image: the user clicks two points on the photo as
// the plot shows it, then types the distance between them or both points'
// coordinates; that sets the photo's scale, rotation and place, one step of
// Undo. Escape ends without a change.
#pragma once

#include "gui/PlotTool.h"
#include "model/Units.h"

#include <QObject>
#include <QString>

#include <functional>
#include <optional>

namespace yawmark {

class CaseDocument;
class Prompts;

class CalibrateTool : public QObject, public PlotTool {
    Q_OBJECT
public:
    // `units` tells the units the window shows: the answer is in those.
    CalibrateTool(CaseDocument& document, const Prompts& prompts,
                  std::function<model::Units()> units, QObject* parent);

    // Calibrating begins: false (and a message) where the case has no photo.
    bool start();

    bool press(const PlotPoint& at) override;
    bool key(int key) override;

signals:
    void note(const QString& text);
    void finished();
    // The photo has its new placement.
    void calibrated();

private:
    void calibrate(sim::Vec2 pixel1, sim::Vec2 pixel2);

    CaseDocument& document_;
    const Prompts& prompts_;
    std::function<model::Units()> units_;
    std::optional<sim::Vec2> first_; // the first point clicked, on the image
};

} // namespace yawmark

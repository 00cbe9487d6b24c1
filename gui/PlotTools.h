// SPDX-License-Identifier: MIT
// The Tools menu's tools that work on the plot: Digitise Marks, Measure and
// Calibrate Scene Image (each a checked action while the plot's pointer is
// lent to it; one at a time), and Clear Measurements. Choosing Digitise Marks
// asks which wheel's mark is digitised.
#pragma once

#include "model/Units.h"

#include <QObject>
#include <QString>

#include <functional>

class QAction;
class QMenu;

namespace yawmark {

class CalibrateTool;
class CaseDocument;
class DigitiseTool;
class MeasureTool;
class PlotController;
class PlotTool;
class PlotWidget;
class Prompts;

class PlotTools : public QObject {
    Q_OBJECT
public:
    // The actions are added to `menu`; `units` tells the units the window shows.
    PlotTools(PlotWidget& plot, CaseDocument& document, PlotController& plotter,
              const Prompts& prompts, std::function<model::Units()> units, QMenu* menu,
              QObject* parent);

    DigitiseTool& digitise() { return *digitise_; }
    MeasureTool& measure() { return *measure_; }

public slots:
    // Tools > Calibrate Scene Image: the view around the photo, and the tool on it.
    void startCalibrating();

signals:
    void note(const QString& text);

private:
    // `tool` gets the plot's pointer (nullptr: none); the actions follow.
    void use(PlotTool* tool);
    void startDigitising(bool on);

    PlotWidget& plot_;
    PlotController& plotter_;
    const Prompts& prompts_;
    DigitiseTool* digitise_;
    MeasureTool* measure_;
    CalibrateTool* calibrate_;
    QAction* digitiseAction_;
    QAction* measureAction_;
    QAction* calibrateAction_;
};

} // namespace yawmark

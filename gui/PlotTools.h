// SPDX-License-Identifier: MIT
// The Tools menu's tools that work on the plot: Digitise Marks and Measure
// (each a checked action while the plot's pointer is lent to it; one at a
// time), and Clear Measurements. Choosing Digitise Marks asks which wheel's
// mark is digitised.
#pragma once

#include <QObject>
#include <QString>

class QAction;
class QMenu;

namespace yawmark {

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
    // The actions are added to `menu`.
    PlotTools(PlotWidget& plot, CaseDocument& document, PlotController& plotter,
              const Prompts& prompts, QMenu* menu, QObject* parent);

    DigitiseTool& digitise() { return *digitise_; }
    MeasureTool& measure() { return *measure_; }

signals:
    void note(const QString& text);

private:
    // `tool` gets the plot's pointer (nullptr: none); the actions follow.
    void use(PlotTool* tool);
    void startDigitising(bool on);

    PlotWidget& plot_;
    const Prompts& prompts_;
    DigitiseTool* digitise_;
    MeasureTool* measure_;
    QAction* digitiseAction_;
    QAction* measureAction_;
};

} // namespace yawmark

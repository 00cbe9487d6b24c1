// SPDX-License-Identifier: MIT
// Tools > Digitise Marks on the plot: a click adds a point to the chosen
// wheel's mark, a click on a point selects it and dragging moves it, Delete
// removes the selected point, Escape ends. Each click, drag and deletion is one
// step of Undo; the marks are the case's tyre marks, as an imported CSV gives
// them, so Fit to Marks and the case file take them as they are.
#pragma once

#include "gui/PlotTool.h"
#include "model/MarkEdit.h"

#include <QObject>
#include <QString>

#include <optional>

namespace yawmark {

class CaseDocument;

class DigitiseTool : public QObject, public PlotTool {
    Q_OBJECT
public:
    // How near a click must come to a point, in pixels, to take it.
    static constexpr double kGrabPixels = 6;

    DigitiseTool(CaseDocument& document, QObject* parent);

    // Digitising begins (again) for that wheel, nothing selected.
    void start(sim::Wheel wheel);
    sim::Wheel wheel() const { return wheel_; }
    const std::optional<model::MarkPoint>& selected() const { return selected_; }

    bool press(const PlotPoint& at) override;
    bool move(const PlotPoint& at, bool leftDown) override;
    bool release(const PlotPoint& at) override;
    bool key(int key) override;

signals:
    // What the tool does now, for the status bar.
    void note(const QString& text);
    // Escape.
    void finished();

private:
    void edit(const QString& text, std::vector<model::Mark> marks, int mergeId = -1);

    CaseDocument& document_;
    sim::Wheel wheel_ = sim::RL;
    std::optional<model::MarkPoint> selected_;
    bool dragging_ = false;
    int drags_ = 0; // each drag its own merge id: one step of Undo a drag
};

} // namespace yawmark

// SPDX-License-Identifier: MIT
#include "gui/DigitiseTool.h"

#include "gui/CaseDocument.h"

#include <QKeyEvent>

namespace yawmark {

namespace {

// Merge ids of drags: two, taken in turn, so that a drag's moves merge and
// the next drag does not merge with it. Clear of the panel's and the opacity's.
constexpr int kDragMerge = 5000;

} // namespace

DigitiseTool::DigitiseTool(CaseDocument& document, QObject* parent)
    : QObject(parent), document_(document) {
    // Undo, redo or another case may take the selected point away.
    connect(&document_, &CaseDocument::shown, this, [this] {
        selected_.reset();
        dragging_ = false;
    });
}

void DigitiseTool::start(sim::Wheel wheel) {
    wheel_ = wheel;
    selected_.reset();
    dragging_ = false;
    const auto code = model::wheelCode(wheel);
    emit note(QStringLiteral("Digitising the %1 mark: click along it; drag a point to move it, "
                             "Delete removes the selected point, Escape ends.")
                  .arg(QString::fromUtf8(code.data(), qsizetype(code.size()))));
}

void DigitiseTool::edit(const QString& text, std::vector<model::Mark> marks, int mergeId) {
    io::CaseFile file = document_.file();
    file.marks = std::move(marks);
    document_.change(text, file, mergeId);
}

bool DigitiseTool::press(const PlotPoint& at) {
    std::vector<model::Mark> marks = document_.file().marks;
    selected_ = model::nearestMarkPoint(marks, at.world, kGrabPixels * at.perPixel);
    if (selected_) {
        dragging_ = true;
        return true;
    }
    selected_ = model::addMarkPoint(marks, wheel_, at.world);
    if (selected_) edit(QStringLiteral("Digitise Point"), std::move(marks));
    return true;
}

bool DigitiseTool::move(const PlotPoint& at, bool leftDown) {
    if (!dragging_ || !leftDown || !selected_) return false;
    std::vector<model::Mark> marks = document_.file().marks;
    if (model::moveMarkPoint(marks, *selected_, at.world))
        edit(QStringLiteral("Move Point"), std::move(marks), kDragMerge + drags_ % 2);
    return true;
}

bool DigitiseTool::release(const PlotPoint&) {
    if (std::exchange(dragging_, false)) ++drags_;
    return true;
}

bool DigitiseTool::key(int key) {
    if (key == Qt::Key_Escape) {
        emit finished();
        return true;
    }
    if (key != Qt::Key_Delete && key != Qt::Key_Backspace) return false;
    std::vector<model::Mark> marks = document_.file().marks;
    if (selected_ && model::removeMarkPoint(marks, *selected_))
        edit(QStringLiteral("Delete Point"), std::move(marks));
    selected_.reset();
    dragging_ = false;
    return true;
}

} // namespace yawmark

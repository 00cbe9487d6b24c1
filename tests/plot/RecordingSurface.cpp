#include "plot/RecordingSurface.h"

#include <algorithm>

namespace yawmark {

RecordingSurface::RecordingSurface(const Config& config) : config_(config) {}

std::vector<RecordingSurface::Op> RecordingSurface::opsOf(Op::Kind kind) const {
    std::vector<Op> out;
    std::copy_if(ops_.begin(), ops_.end(), std::back_inserter(out),
                 [kind](const Op& op) { return op.kind == kind; });
    return out;
}

RecordingSurface::Op& RecordingSurface::record(Op::Kind kind) {
    Op& op = ops_.emplace_back();
    op.kind = kind;
    op.width = width_;
    op.autoRedraw = autoRedraw_;
    return op;
}

void RecordingSurface::Cls() {
    record(Op::Cls);
}

void RecordingSurface::Scale() {
    unitsX_ = unitsY_ = 1;
    record(Op::ScaleDefault);
}

void RecordingSurface::Scale(double x1, double y1, double x2, double y2) {
    unitsX_ = (x2 - x1) / config_.areaWidth;
    unitsY_ = (y2 - y1) / config_.areaHeight;
    Op& op = record(Op::ScaleCorners);
    op.x1 = x1, op.y1 = y1, op.x2 = x2, op.y2 = y2;
}

void RecordingSurface::Line(double x1, double y1, double x2, double y2) {
    Op& op = record(Op::Line);
    op.x1 = x1, op.y1 = y1, op.x2 = x2, op.y2 = y2;
}

void RecordingSurface::Line(double x1, double y1, double x2, double y2, Color color) {
    Line(x1, y1, x2, y2);
    ops_.back().color = color;
}

void RecordingSurface::PSet(double x, double y) {
    Op& op = record(Op::PSet);
    op.x1 = x, op.y1 = y;
}

void RecordingSurface::PSet(double x, double y, Color color) {
    PSet(x, y);
    ops_.back().color = color;
}

void RecordingSurface::setDrawWidth(int pixels) {
    width_ = pixels;
    record(Op::DrawWidth);
}

void RecordingSurface::setAutoRedraw(bool on) {
    autoRedraw_ = on;
    record(Op::AutoRedraw);
}

void RecordingSurface::Print(double value) {
    Op& op = record(Op::Print);
    op.x1 = currentX_, op.y1 = currentY_;
    op.value = value;
}

double RecordingSurface::TextWidth(std::string_view text) const {
    return static_cast<double>(text.size()) * config_.charWidth * unitsX_;
}

double RecordingSurface::TextHeight(std::string_view) const {
    return config_.charHeight * unitsY_;
}

void RecordingSurface::flush() {
    record(Op::Flush);
}

} // namespace yawmark

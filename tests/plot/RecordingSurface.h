// SPDX-License-Identifier: MIT
// A surface that records every call with its arguments and the pen width and
// persistent flag in force. Its text metric, in pixels of a drawing area of a
// set size, is mapped through setWorldRect like a real surface's: text sizes
// come out in world units, signed by the direction of each axis.
#pragma once

#include "plot/Surface.h"

#include <vector>

namespace yawmark::plot {

class RecordingSurface : public Surface {
public:
    struct Op {
        enum Kind { Clear, WorldRect, Line, Dot, PenWidth, Persistent, Label, Text, Legend, Flush, Picture } kind;
        double x1 = 0, y1 = 0, x2 = 0, y2 = 0; // points or corners; Label: its corner
        Color color = kBlack;                  // Line, Dot
        double value = 0;                      // Label; Legend: its entries
        int pen = 1;                           // pen width in force (PenWidth: the new one)
        bool persistent = true;                // in force (Persistent: the new one)
    };
    // Pixels; the defaults are the plot of the main window at its design size.
    struct Metric {
        double areaWidth = 527, areaHeight = 546, charWidth = 7, charHeight = 14;
    } metric;
    std::vector<Op> ops;

    std::vector<Op> opsOf(Op::Kind kind) const;

    void clear() override { record(Op::Clear); }
    void setWorldRect(double x1, double y1, double x2, double y2) override;
    void line(double x1, double y1, double x2, double y2, Color color = kBlack) override {
        record(Op::Line, x1, y1, x2, y2).color = color;
    }
    void dot(double x, double y, Color color = kBlack) override {
        record(Op::Dot, x, y).color = color;
    }
    void setPenWidth(int pixels) override { record(Op::PenWidth).pen = pen_ = pixels; }
    int penWidth() const override { return pen_; }
    void setPersistent(bool on) override { record(Op::Persistent).persistent = persistent_ = on; }
    bool persistent() const override { return persistent_; }
    void label(double x, double y, double value) override { record(Op::Label, x, y).value = value; }
    void text(double x, double y, std::string_view) override { record(Op::Text, x, y); }
    void legend(std::span<const LegendEntry> entries) override {
        record(Op::Legend).value = static_cast<double>(entries.size());
    }
    double textWidth(std::string_view text) const override;
    double textHeight() const override;
    void flush() override { record(Op::Flush); }
    void picture(const QImage&, const QTransform&, double opacity) override {
        record(Op::Picture).value = opacity;
    }

private:
    Op& record(Op::Kind kind, double x1 = 0, double y1 = 0, double x2 = 0, double y2 = 0);

    bool mapped_ = false;          // until then a unit is a pixel, y downward
    double spanX_ = 0, spanY_ = 0; // the world rectangle's signed extents
    int pen_ = 1;
    bool persistent_ = true;
};

} // namespace yawmark::plot

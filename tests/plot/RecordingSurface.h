// A drawing surface that draws nothing and remembers every operation with its
// arguments in world units, for checking what the plot code draws. Its window
// geometry and text metric are set by hand; the mapping follows Scale like the
// real surface's, so text sizes are signed by the axis direction.
#pragma once

#include "plot/Surface.h"

#include <optional>
#include <string>
#include <vector>

namespace yawmark {

class RecordingSurface : public Surface {
public:
    // One recorded operation and the state in force when it ran.
    struct Op {
        enum Kind {
            Cls,
            ScaleDefault,
            ScaleCorners,
            Line,
            PSet,
            DrawWidth,
            AutoRedraw,
            Print,
            Flush
        };
        Kind kind;
        double x1 = 0, y1 = 0, x2 = 0, y2 = 0; // points or corners; Print: CurrentX, CurrentY
        std::optional<Color> color;            // Line, PSet: the colour argument, if any
        int width = 0;                         // drawing width in force (DrawWidth: the new one)
        bool autoRedraw = false;               // AutoRedraw in force (AutoRedraw: the new one)
        double value = 0;                      // Print: the number
    };

    // Window and drawing area in twips; text metric per character in twips.
    // The defaults are the main window at its design size.
    struct Config {
        double windowWidth = 8025, windowHeight = 8865;
        double panelLeft = 120, panelWidth = 3495;
        double areaWidth = 7905, areaHeight = 8190;
        double charWidth = 105, charHeight = 210;
    };

    RecordingSurface() : RecordingSurface(Config{}) {}
    explicit RecordingSurface(const Config& config);

    const std::vector<Op>& ops() const { return ops_; }
    // The operations of one kind, in order.
    std::vector<Op> opsOf(Op::Kind kind) const;
    void clear() { ops_.clear(); }
    Config& config() { return config_; }

    // Surface.
    void Cls() override;
    void Scale() override;
    void Scale(double x1, double y1, double x2, double y2) override;
    void Line(double x1, double y1, double x2, double y2) override;
    void Line(double x1, double y1, double x2, double y2, Color color) override;
    void PSet(double x, double y) override;
    void PSet(double x, double y, Color color) override;
    void setDrawWidth(int pixels) override;
    int drawWidth() const override { return width_; }
    void setAutoRedraw(bool on) override;
    bool autoRedraw() const override { return autoRedraw_; }
    void setCurrentX(double x) override { currentX_ = x; }
    void setCurrentY(double y) override { currentY_ = y; }
    double currentX() const { return currentX_; }
    double currentY() const { return currentY_; }
    void Print(double value) override;
    double TextWidth(std::string_view text) const override;
    double TextHeight(std::string_view text) const override;
    double windowWidth() const override { return config_.windowWidth; }
    double windowHeight() const override { return config_.windowHeight; }
    double panelLeft() const override { return config_.panelLeft; }
    double panelWidth() const override { return config_.panelWidth; }
    void flush() override;

private:
    Op& record(Op::Kind kind);

    Config config_;
    std::vector<Op> ops_;
    double unitsX_ = 1, unitsY_ = 1; // user units per twip, signed
    double currentX_ = 0, currentY_ = 0;
    int width_ = 1;
    bool autoRedraw_ = true;
};

} // namespace yawmark

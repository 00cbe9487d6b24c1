// The drawing surface the plot is drawn on: a user coordinate system set by
// two corners, lines and dots in a width of whole pixels, a persistent image
// (what is drawn while AutoRedraw is on) and a screen-only layer (what is
// drawn while it is off), and text output at a current position.
//
// The plot code draws only through this interface. The window implements it
// on its client area (ImageSurface); tests use a RecordingSurface.
#pragma once

#include <cstdint>
#include <string_view>

namespace yawmark {

using Color = std::uint32_t; // 0x00BBGGRR, red in the low byte

class Surface {
public:
    virtual ~Surface() = default;

    // Clears the persistent image and the screen to the background colour.
    virtual void Cls() = 0;

    // Default coordinates: twips, origin at the top-left corner of the drawing area.
    virtual void Scale() = 0;
    // The top-left corner of the drawing area becomes (x1, y1), the bottom-right
    // (x2, y2); y2 < y1 makes y grow upward.
    virtual void Scale(double x1, double y1, double x2, double y2) = 0;

    // Lines and dots in the current width; without a colour in the foreground colour.
    virtual void Line(double x1, double y1, double x2, double y2) = 0;
    virtual void Line(double x1, double y1, double x2, double y2, Color color) = 0;
    virtual void PSet(double x, double y) = 0;
    virtual void PSet(double x, double y, Color color) = 0;

    virtual void setDrawWidth(int pixels) = 0;
    virtual int drawWidth() const = 0;

    // On: drawing goes into the persistent image. Off: to the screen only, until
    // the window next repaints from the persistent image.
    virtual void setAutoRedraw(bool on) = 0;
    virtual bool autoRedraw() const = 0;

    // Text output: the top-left corner of the next Print, in user units.
    virtual void setCurrentX(double x) = 0;
    virtual void setCurrentY(double y) = 0;
    // Writes the number with a leading blank if it is not negative and one trailing blank.
    virtual void Print(double value) = 0;
    // Size of a text in user units, signed by the direction of the axis.
    virtual double TextWidth(std::string_view text) const = 0;
    virtual double TextHeight(std::string_view text) const = 0;

    // Geometry of the window the surface belongs to, in twips: its outer size
    // (frame and bars included) and the parameter panel frame along its left edge.
    virtual double windowWidth() const = 0;
    virtual double windowHeight() const = 0;
    virtual double panelLeft() const = 0;
    virtual double panelWidth() const = 0;

    // Brings the screen up to date now; called when a stretch of drawing ends.
    virtual void flush() {}
};

} // namespace yawmark

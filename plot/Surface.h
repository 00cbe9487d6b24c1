// SPDX-License-Identifier: MIT
// What the plot is drawn on: a world rectangle mapped onto the drawing area,
// lines and dots in a pen of whole pixels, a persistent picture (what is
// drawn while `persistent` is on) and a layer that is only on screen until the
// next repaint (what is drawn while it is off), and numbers as labels.
//
// The renderer draws only through this interface. The window and the batch
// runner draw on an ImageSurface; tests record the calls.
#pragma once

#include <QImage>
#include <QTransform>

#include <cstdint>
#include <span>
#include <string_view>

namespace yawmark::plot {

using Color = std::uint32_t; // 0x00BBGGRR, red in the low byte
inline constexpr Color kBlack = 0x000000u;

struct LegendEntry {
    std::string_view name;
    Color color;
};

class Surface {
public:
    virtual ~Surface() = default;

    // Clears the persistent picture and the screen to the background.
    virtual void clear() = 0;
    // The top-left corner of the drawing area shows world point (x1, y1), the
    // bottom-right (x2, y2); y2 < y1 makes y grow upward.
    virtual void setWorldRect(double x1, double y1, double x2, double y2) = 0;

    virtual void line(double x1, double y1, double x2, double y2, Color color = kBlack) = 0;
    virtual void dot(double x, double y, Color color = kBlack) = 0;

    virtual void setPenWidth(int pixels) = 0;
    virtual int penWidth() const = 0;

    virtual void setPersistent(bool on) = 0;
    virtual bool persistent() const = 0;

    // A number as an axis label, its top-left corner at (x, y): a leading
    // blank unless it is negative, and one trailing blank, on the background
    // colour. Labels are drawn beneath what is drawn after them (the axes come
    // first), so they never hide a trail.
    virtual void label(double x, double y, double value) = 0;
    // A short text (a wheel's code), its top-left corner at (x, y), drawn as
    // a label is.
    virtual void text(double x, double y, std::string_view text) = 0;
    // A key to the colours in the top-right corner of the drawing area, beneath
    // what is drawn after it like the labels.
    virtual void legend(std::span<const LegendEntry> entries) = 0;
    // Size of a text in world units, signed by the direction of the axis.
    virtual double textWidth(std::string_view text) const = 0;
    virtual double textHeight() const = 0;

    // A photo placed in the world (`toWorld` maps its pixels to world
    // units), lasting and beneath what is drawn after it, at an opacity from
    // 0 to 1. A surface that cannot show pictures leaves it out.
    virtual void picture(const QImage& image, const QTransform& toWorld, double opacity) {
        (void)image, (void)toWorld, (void)opacity;
    }

    // Brings the screen up to date now; called when a stretch of drawing ends.
    virtual void flush() {}
};

} // namespace yawmark::plot

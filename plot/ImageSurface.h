// SPDX-License-Identifier: MIT
// The drawing surface of the plot window, independent of any widget: a
// persistent image in device pixels (what is drawn while it is persistent), a
// screen-only layer holding the latest screen-only drawing (what is drawn
// while it is not). Labels and the legend go into the persistent image where
// they are drawn: the axes come first, so every trail, mark and outline lies
// over them and none is hidden by a label. The owner paints both and is told when the screen has fallen behind, so that repaints can be
// coalesced to the display rate.
//
// One painter stays open on the image between primitives; it is ended only
// when the image is shown, resized or cleared.
#pragma once

#include "plot/Surface.h"
#include "plot/View.h"

#include <QColor>
#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QPointF>
#include <QRect>
#include <QSize>

#include <array>
#include <functional>
#include <string>
#include <vector>

namespace yawmark::plot {

class ImageSurface : public Surface {
public:
    // Height of the label font in device-independent pixels.
    static constexpr int kFontPixels = 12;

    ImageSurface();
    ~ImageSurface() override;
    ImageSurface(const ImageSurface&) = delete;
    ImageSurface& operator=(const ImageSurface&) = delete;

    // Sizes the drawing area (device-independent pixels) for a screen with the
    // given pixel ratio. The image keeps what fits; units per pixel stay.
    void resize(QSize logicalSize, qreal devicePixelRatio);
    QSize logicalSize() const { return logicalSize_; }
    qreal devicePixelRatio() const { return dpr_; }

    // Called when the screen falls behind the drawing: with false on the first
    // change after a repaint (repaint soon), with true from flush() (repaint now).
    // A change drawn before the handler came is announced to it at once, or it
    // would never hear of any later one until the screen is flushed.
    void setChangeHandler(std::function<void(bool now)> handler);
    // The part of the drawing area (device-independent pixels) changed since
    // the last call; resets it.
    QRect takeChangedRect();

    // Paints the part `logicalRect` of the drawing area with `painter` (in
    // device-independent pixels): the persistent image and, if
    // `withScreenLayer`, the screen-only layer. Without it the layer is dropped,
    // as a window repainted from its persistent image loses it.
    void paint(QPainter& painter, const QRect& logicalRect, bool withScreenLayer);

    // The persistent image in device pixels, all drawing so far included.
    const QImage& image();
    // What the screen shows after a repaint: the image with the screen-only layer.
    QImage composed();
    // Number of primitives in the screen-only layer.
    int screenLayerSize() const { return static_cast<int>(layer_.size()); }
    // A world point in device pixels under the current mapping.
    QPointF toDevice(double x, double y) const;
    // The world point at a point of the drawing area (device-independent pixels).
    QPointF toWorld(QPointF logical) const;
    // World units per device-independent pixel, along x and y (signed by the axes).
    QPointF worldPerPixel() const { return {dpr_ / kx_, dpr_ / ky_}; }

    // Draws onto `device` (an SVG generator) instead of the image, one
    // painter open on it until finishVector(); the image keeps only the size.
    // Set before anything is drawn.
    void setVectorTarget(QPaintDevice* device);
    // Paints the screen-only layer onto the vector target too and ends its
    // painting; returns whether that went well.
    bool finishVector();

    // Surface.
    void picture(const QImage& image, const QTransform& toWorld, double opacity) override;
    void clear() override;
    void setWorldRect(double x1, double y1, double x2, double y2) override;
    void line(double x1, double y1, double x2, double y2, Color color = kBlack) override;
    void dot(double x, double y, Color color = kBlack) override;
    void setPenWidth(int pixels) override;
    int penWidth() const override { return penWidth_; }
    void setPersistent(bool on) override;
    bool persistent() const override { return persistent_; }
    void label(double x, double y, double value) override;
    void text(double x, double y, std::string_view text) override;
    void legend(std::span<const LegendEntry> entries) override;
    double textWidth(std::string_view text) const override;
    double textHeight() const override;
    void flush() override;

private:
    // One primitive of the screen-only layer, in device pixels.
    struct Mark {
        enum Kind : unsigned char { Segment, Dot, Text, Fill } kind;
        QPointF a, b; // Text and Fill: top-left and bottom-right corners
        QRgb color;
        int width;
        std::string text;
    };

    void drawSegment(Color color, double x1, double y1, double x2, double y2);
    void drawDot(Color color, double x, double y);
    void paintMark(QPainter& painter, const Mark& mark, bool fromImage);
    QPainter& imagePainter();
    void endImagePainter();
    void beginScreenMark();
    void touch(const QRectF& deviceBounds);
    // Labels and legend, into the persistent image: their backgrounds cover
    // what was drawn before them, and what is drawn after covers them.
    void addBeneath(const Mark& mark);
    // A dot of this colour already lies at `rect` with nothing drawn over it since.
    bool dotAlreadyThere(const QRect& rect, QRgb color);
    void forgetDotsUnder(const QRectF& deviceBounds);
    void updateFont();
    int deviceWidth() const;

    std::function<void(bool)> onChange_;

    QSize logicalSize_;
    qreal dpr_ = 1.0;
    QImage image_;
    QPainter painter_; // open on image_ (or the vector target) between primitives
    QPaintDevice* vector_ = nullptr;
    QColor penColor_;  // pen in force on painter_, valid while it is open
    int cachedPenWidth_ = -1;

    std::vector<Mark> layer_;   // latest screen-only drawing
    bool layerClosed_ = true;   // the next screen-only primitive starts a new drawing
    QRectF layerBounds_;        // device bounds of what the layer put on screen

    // The last persistent dots, by colour: a trail's next dot often falls on
    // the same pixels, and drawing it again would change nothing.
    struct DotMemo {
        QRect rect;
        QRgb color = 0;
        bool used = false;
    };
    std::array<DotMemo, 8> dots_{};
    std::size_t nextDot_ = 0;

    QRectF changed_; // device bounds changed since the last repaint
    bool changePending_ = false;

    // User coordinates to device pixels: d = (u - origin) * k.
    double originX_ = 0, originY_ = 0, kx_ = 1, ky_ = 1;
    int penWidth_ = 1;
    bool persistent_ = true;

    QFont font_;
    QFontMetricsF metrics_;
};

} // namespace yawmark::plot

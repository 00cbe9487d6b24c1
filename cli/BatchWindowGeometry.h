// The window a batch image stands for: its client area is the image with the
// control panel, at its design width, along the left edge, and a menu bar
// above. Nothing but the plot right of the panel ends up in the image.
#pragma once

#include "plot/ImageSurface.h"
#include "plot/WindowGeometry.h"

namespace yawmark {

class BatchWindowGeometry : public WindowGeometry {
public:
    // The control panel frame at design: left edge and width, twips.
    static constexpr double kPanelLeftTwips = 120;
    static constexpr double kPanelWidthTwips = 3495;
    // Pixels of the client area covered by the panel: the plot starts here.
    static constexpr int kPanelRightPixels =
        static_cast<int>((kPanelLeftTwips + kPanelWidthTwips) / ImageSurface::kTwipsPerPixel);
    // The main window's menu bar as it opens, pixels; it counts in the window's outer height.
    static constexpr int kMenuBarPixels = 17;

    // For a plot image of width x height pixels.
    BatchWindowGeometry(int width, int height) : width_(width), height_(height) {}

    // The drawing area the plot is drawn on: panel and image side by side.
    int clientWidth() const { return kPanelRightPixels + width_; }
    int clientHeight() const { return height_; }

    double windowWidth() const override { return clientWidth() * ImageSurface::kTwipsPerPixel; }
    double windowHeight() const override {
        return (clientHeight() + kMenuBarPixels) * ImageSurface::kTwipsPerPixel;
    }
    double panelLeft() const override { return kPanelLeftTwips; }
    double panelWidth() const override { return kPanelWidthTwips; }

private:
    int width_;
    int height_;
};

} // namespace yawmark

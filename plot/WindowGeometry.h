// Where the plot sits in its window: the outer size of the window and the
// parameter panel frame along its left edge, in twips (15 per
// device-independent pixel). The drawing surface asks this when the axes are
// laid out; the plot widget answers from the real window.
#pragma once

namespace yawmark {

class WindowGeometry {
public:
    virtual ~WindowGeometry() = default;

    // Outer size of the window, frame, title bar and menu bar included.
    virtual double windowWidth() const = 0;
    virtual double windowHeight() const = 0;
    // Left edge of the panel frame, measured from the left edge of the drawing area.
    virtual double panelLeft() const = 0;
    virtual double panelWidth() const = 0;
};

} // namespace yawmark

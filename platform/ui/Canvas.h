#pragma once
#include <optional>
#include <string>
#include <vector>

#include "UiTypes.h"

namespace ui {

// What a custom-drawn control paints on. Coordinates are the control's own (0,0 top left), pixels
// at 96 dpi. The wx backend paints into a memory bitmap shown at once; the headless backend records
// the calls.
class Canvas {
public:
    virtual ~Canvas() = default;
    virtual Size size() const = 0;
    virtual void fillRect(const Rect& r, Colour fill) = 0;
    virtual void drawRect(const Rect& r, Colour pen, int penWidth = 1) = 0;
    virtual void drawLine(int x1, int y1, int x2, int y2, Colour pen, int penWidth = 1) = 0;
    virtual void drawPolyline(const std::vector<Point>& points, Colour pen, int penWidth = 1) = 0;
    // A dotted line: single pixels from (x1, y1) towards (x2, y2), one every `step` pixels along the
    // longer direction, the first at (x1, y1) and none past (x2, y2).
    virtual void drawDots(int x1, int y1, int x2, int y2, Colour pen, int step) = 0;
    // Outline with `pen`; filled when `fill` is given.
    virtual void drawPolygon(const std::vector<Point>& points, Colour pen, std::optional<Colour> fill) = 0;
    virtual void drawEllipse(const Rect& r, Colour pen, std::optional<Colour> fill, int penWidth = 1) = 0;
    // Text with its top left corner at (x, y), transparent background.
    virtual void drawText(int x, int y, const std::string& utf8, Colour colour, const Font& font = {}) = 0;
    virtual Size textExtent(const std::string& utf8, const Font& font = {}) const = 0;
    // The desktop's colours: the face of buttons and dialogs, and the background of windows (white in
    // a light theme, near black in a dark one).
    virtual Colour faceColour() const = 0;
    virtual Colour windowColour() const = 0;
};

}  // namespace ui

#pragma once
#include <string>
#include <vector>

#include "Canvas.h"
#include "DragElement.h"

// The picture of the curve plot control, without any window: a drag function's curve (drag or
// ballistic coefficient against Mach) over a frame with its bounds, two reference lines at 0.25 and
// 0.5, dotted verticals labelled with the curve's own Mach numbers, a title, the axis title and a
// caption. Everything is laid out from the size it is painted at, so a window, a test or a program
// writing a picture file gets the same drawing from the same description.
namespace scopeplot {

// The y range and the x range in whole Mach numbers, as the control keeps them.
struct Range {
    double lower = -10.0;
    double upper = 10.0;
    int xMin = 0;
    int xMax = 3;
    int yDecimals = 3;  // of the bound labels
    bool operator==(const Range&) const = default;
};

// The range an owner sets: y from `lower` to `upper`, x from `xMin` to `xMax` rounded up to a whole
// Mach number (0 becomes 5). A y range that is empty, inverted or not finite becomes 0 to 1; an x
// range likewise becomes 0 to 5, an x maximum at or below the minimum the minimum plus 5; x beyond
// ±1000 Mach counts as not finite.
Range rangeOf(double lower, double upper, double xMin, double xMax);

// The range the drag function windows show a curve in: y from 0 to 1.25 times the largest value,
// x from 0 (or from the first point's Mach when `fromFirstPoint`) to the last point's Mach. Points
// that are not finite are left out; without a usable largest value y spans 0 to 1.
Range curveRange(const std::vector<DragElement>& points, bool fromFirstPoint);

enum class Title { BallisticCoefficient, DragCoefficient };

struct Colours {
    ui::Colour background{51, 51, 102};
    ui::Colour grid{0, 255, 255};
    ui::Colour curve{255, 255, 255};
    bool operator==(const Colours&) const = default;
};
// The drag function windows' colours: dark blue, pale blue grid, white curve.
inline constexpr Colours kDragWindowColours{{0, 0, 64}, {192, 192, 255}, {255, 255, 255}};

// What is drawn; the size comes from the canvas.
struct Plot {
    Range range;
    std::vector<DragElement> points;  // (Mach, value) in the order they are joined
    Colours colours;
    Title title = Title::BallisticCoefficient;
    std::string caption;  // UTF-8, large, at the top right
};

// How the drag function windows show a function's points, and tkcalc its pictures: their colours,
// the drag-coefficient title, the curve range (curveRange) and the function's name as the caption.
Plot dragCurvePlot(std::vector<DragElement> points, bool fromFirstPoint, std::string caption = {});

// Where the frame and the scales fall at a size: pixels of the canvas, the scales in pixels per unit.
struct Layout {
    int left = 0;
    int top = 20;
    int right = 0;
    int bottom = 0;
    double yScale = 0;  // pixels per unit of value
    int xScale = 0;     // whole pixels per Mach
    bool operator==(const Layout&) const = default;
};
Layout layoutFor(const Range& range, ui::Size size);

// A point's place on the canvas, measured from the range's minimums, or false when it has none (a
// coordinate that is not finite); a point far off the canvas is pulled in to ±kFarPixels, still past
// the edge on its side.
inline constexpr int kFarPixels = 100000;
bool placeOf(const DragElement& point, const Range& range, const Layout& layout, ui::Point& out);

// The texts of the picture.
inline constexpr const char* kBallisticTitle = "Зависимость баллистического коэффициента от скорости";
inline constexpr const char* kDragTitle = "Зависимость драг-коэффициента от скорости";
inline constexpr const char* kAxisTitle = "Скорость в ед.Маха";

// The grid, then the curve.
void paint(ui::Canvas& canvas, const Plot& plot);

}  // namespace scopeplot

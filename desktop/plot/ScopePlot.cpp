#include "ScopePlot.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <utility>

namespace scopeplot {

namespace {
constexpr double kFarMach = 1000;
constexpr int kDotStep = 4;           // the dotted lines: a pixel every 4
constexpr int kLabelClearance = 20;   // an x label only more than 20 pixels right of the last one
constexpr double kReferenceValues[] = {0.25, 0.5};

bool usableY(double lower, double upper) {
    return std::isfinite(lower) && std::isfinite(upper) && upper > lower && std::isfinite(upper - lower);
}

bool usableX(double x) { return std::isfinite(x) && std::fabs(x) <= kFarMach; }

// The characters a bound label needs beyond "0." and its decimals: |trunc(log10 |v|)|. A zero bound
// (the plots' lower bound always is) has none, as has a bound that is not finite; the margin never
// grows past 15 of them (a double's digits), so an absurd bound cannot push the frame off the control.
int extraDigits(double v) {
    if (v == 0 || !std::isfinite(v)) return 0;
    return std::min(15, static_cast<int>(std::fabs(std::trunc(std::log10(std::fabs(v))))));
}

// trunc(v), pulled in to ±kFarPixels; an offset that is no number (0 × infinity) is none.
int pixels(double v) {
    if (std::isnan(v)) return 0;
    return static_cast<int>(std::trunc(std::clamp(v, -double(kFarPixels), double(kFarPixels))));
}

std::string fixed(double v, int decimals) {
    const int n = std::snprintf(nullptr, 0, "%.*f", decimals, v);
    std::string s(n > 0 ? n : 0, '\0');
    if (n > 0) std::snprintf(s.data(), s.size() + 1, "%.*f", decimals, v);
    return s;
}

ui::Font plotFont(int pixelHeight) {
    ui::Font f;
    f.bold = true;
    f.face = "Arial Cyr";
    f.pixelHeight = pixelHeight;
    return f;
}

// A label right-aligned at x, its bottom on the line y (the bound and reference values sit on their
// lines).
void drawRightOn(ui::Canvas& c, int x, int y, const std::string& text, ui::Colour colour, const ui::Font& font) {
    const ui::Size s = c.textExtent(text, font);
    c.drawText(x - s.width, y - s.height, text, colour, font);
}

void drawCentredBelow(ui::Canvas& c, int x, int y, const std::string& text, ui::Colour colour, const ui::Font& font) {
    c.drawText(x - c.textExtent(text, font).width / 2, y, text, colour, font);
}
}  // namespace

Range rangeOf(double lower, double upper, double xMin, double xMax) {
    Range r;
    r.yDecimals = 2;
    if (usableY(lower, upper)) {
        r.lower = lower;
        r.upper = upper;
    } else {
        r.lower = 0;
        r.upper = 1;
    }
    if (usableX(xMin) && usableX(xMax)) {
        r.xMin = static_cast<int>(std::floor(xMin));
        r.xMax = static_cast<int>(std::ceil(xMax));
        if (r.xMax == 0) r.xMax = 5;
        if (r.xMax <= r.xMin) r.xMax = r.xMin + 5;
    } else {
        r.xMin = 0;
        r.xMax = 5;
    }
    return r;
}

Range curveRange(const std::vector<DragElement>& points, bool fromFirstPoint) {
    double largest = 0, first = 0, last = 0;
    bool any = false;
    for (const DragElement& p : points) {
        if (!std::isfinite(p.mach) || !std::isfinite(p.cd)) continue;
        if (!any) first = p.mach;
        largest = any ? std::max(largest, p.cd) : p.cd;
        last = p.mach;
        any = true;
    }
    // No largest value above 0 leaves an empty or inverted y range, which rangeOf replaces.
    return rangeOf(0, 1.25 * largest, fromFirstPoint ? first : 0, last);
}

Plot dragCurvePlot(std::vector<DragElement> points, bool fromFirstPoint, std::string caption) {
    Plot p;
    p.range = curveRange(points, fromFirstPoint);
    p.points = std::move(points);
    p.colours = kDragWindowColours;
    // The control starts with the ballistic-coefficient title; these are drag coefficients.
    p.title = Title::DragCoefficient;
    p.caption = std::move(caption);
    return p;
}

Layout layoutFor(const Range& range, ui::Size size) {
    Layout l;
    l.right = size.width - 10;
    l.bottom = size.height - 35;
    const int decimals = std::clamp(range.yDecimals, 0, 10);
    const int n = std::max(extraDigits(range.upper), extraDigits(range.lower));
    l.left = (n + decimals + 4) * 6;
    // A span so small that the scale overflows leaves the curve flat on the bottom line.
    if (usableY(range.lower, range.upper)) l.yScale = (size.height - 55) / (range.upper - range.lower);
    if (!std::isfinite(l.yScale)) l.yScale = 0;
    const long long span = static_cast<long long>(range.xMax) - range.xMin;
    const int width = std::max(0, l.right - l.left);
    if (span > 0) l.xScale = static_cast<int>(width / span);
    return l;
}

bool placeOf(const DragElement& point, const Range& range, const Layout& layout, ui::Point& out) {
    if (!std::isfinite(point.mach) || !std::isfinite(point.cd)) return false;
    // From the range's minimums (the windows' are 0), so a range starting elsewhere still fits the frame.
    out.x = layout.left + pixels((point.mach - range.xMin) * layout.xScale);
    out.y = layout.bottom - pixels((point.cd - range.lower) * layout.yScale);
    return true;
}

void paint(ui::Canvas& canvas, const Plot& plot) {
    const ui::Size size = canvas.size();
    const Layout l = layoutFor(plot.range, size);
    const Colours& colours = plot.colours;
    canvas.fillRect(ui::Rect{0, 0, size.width, size.height}, colours.background);

    // The grid.
    canvas.drawPolyline({{l.left, l.top}, {l.right + 1, l.top}, {l.right + 1, l.bottom + 1}, {l.left, l.bottom + 1},
                         {l.left, l.top}},
                        colours.grid, 1);
    const ui::Font labels = plotFont(11);
    const int decimals = std::clamp(plot.range.yDecimals, 0, 10);
    drawRightOn(canvas, l.left - 4, l.top, fixed(plot.range.upper, decimals), colours.grid, labels);
    drawRightOn(canvas, l.left - 4, l.bottom, fixed(plot.range.lower, decimals), colours.grid, labels);

    // The reference lines keep their values whatever the range; one that falls outside the frame is
    // left out rather than drawn across the title or the Mach labels.
    for (double value : kReferenceValues) {
        const int y = l.bottom - pixels((value - plot.range.lower) * l.yScale);
        if (y < l.top || y > l.bottom) continue;
        canvas.drawDots(l.left, y, l.right, y, colours.grid, kDotStep);
        // Its value only where it does not run into a bound's label (0.5 at the top of 0 to 0.51).
        const int clearance = canvas.textExtent("0", labels).height;
        if (y - l.top >= clearance && l.bottom - y >= clearance)
            drawRightOn(canvas, l.left - 4, y, fixed(value, 2), colours.grid, labels);
    }

    // The curve's own Mach numbers label the x axis, each clear of the one before.
    int lastLabelled = l.left;
    for (const DragElement& p : plot.points) {
        ui::Point at;
        if (!placeOf(p, plot.range, l, at) || at.x <= lastLabelled + kLabelClearance || at.x > l.right + 1) continue;
        drawCentredBelow(canvas, at.x, l.bottom + 4, fixed(p.mach, 1), colours.grid, labels);
        canvas.drawDots(at.x, l.top, at.x, l.bottom, colours.grid, kDotStep);
        lastLabelled = at.x;
    }

    const ui::Font titles = plotFont(12);
    const int middle = (l.left + l.right) / 2;
    drawCentredBelow(canvas, middle, l.top - 15,
                     plot.title == Title::BallisticCoefficient ? kBallisticTitle : kDragTitle, colours.grid, titles);
    drawCentredBelow(canvas, middle, l.bottom + 15, kAxisTitle, colours.grid, titles);
    if (!plot.caption.empty()) {
        const ui::Font big = plotFont(26);
        canvas.drawText(l.right - 15 - canvas.textExtent(plot.caption, big).width, l.top + 15, plot.caption,
                        colours.curve, big);
    }

    // Then the curve over it; points that are not numbers are left out.
    std::vector<ui::Point> line;
    line.reserve(plot.points.size());
    for (const DragElement& p : plot.points) {
        ui::Point at;
        if (placeOf(p, plot.range, l, at)) line.push_back(at);
    }
    if (line.size() >= 2) canvas.drawPolyline(line, colours.curve, 1);
}

}  // namespace scopeplot

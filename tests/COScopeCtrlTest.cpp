#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "COScopeCtrl.h"
#include "HeadlessBackend.h"
#include "ScopePlot.h"

using ui::PaintOp;
using namespace scopeplot;

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

// A G7-like curve: flat, a peak past Mach 1, falling off to Mach 4.
std::vector<DragElement> sampleCurve() {
    return {{0.0, 0.125}, {0.5, 0.125}, {0.9, 0.14}, {1.0, 0.38}, {1.2, 0.40}, {1.5, 0.37}, {2.0, 0.30}, {3.0, 0.24},
            {4.0, 0.20}};
}

Plot dragPlot(std::vector<DragElement> points, bool fromFirst = false) {
    Plot p;
    p.range = curveRange(points, fromFirst);
    p.points = std::move(points);
    p.colours = kDragWindowColours;
    p.title = Title::DragCoefficient;
    return p;
}

ui::RecordingCanvas painted(const Plot& plot, ui::Size size) {
    ui::RecordingCanvas c(size);
    paint(c, plot);
    return c;
}

std::vector<const PaintOp*> opsOf(const ui::RecordingCanvas& c, PaintOp::Type type) {
    std::vector<const PaintOp*> out;
    for (const auto& op : c.ops)
        if (op.type == type) out.push_back(&op);
    return out;
}

// The Mach labels under the frame, in order.
std::vector<std::string> machLabels(const ui::RecordingCanvas& c, const Layout& l) {
    std::vector<std::string> out;
    for (const auto* op : opsOf(c, PaintOp::Text))
        if (op->rect.y == l.bottom + 4) out.push_back(op->text);
    return out;
}

const PaintOp* curveOf(const ui::RecordingCanvas& c, ui::Colour curve) {
    const PaintOp* found = nullptr;
    for (const auto* op : opsOf(c, PaintOp::Polyline))
        if (op->colour == curve) found = op;
    return found;
}

// A 300-pixel-wide plot (left edge 36 with the 0.00 to 0.50 labels, right edge 336) gives whole
// pixels per Mach: 300 / 4 = 75, and 300 / 7 = 42 as integers divide.
TEST(ScopePlot, XScaleIsWholePixelsPerMach) {
    const ui::Size size{346, 255};
    const Layout l = layoutFor(rangeOf(0, 0.5, 0, 4), size);
    EXPECT_EQ(l.left, 36);
    EXPECT_EQ(l.right - l.left, 300);
    EXPECT_EQ(l.xScale, 75);
    EXPECT_EQ(layoutFor(rangeOf(0, 0.5, 0, 6.5), size).xScale, 42);  // Mach 6.5 rounds up to 7
    EXPECT_EQ(rangeOf(0, 0.5, 0, 0).xMax, 5);                          // a maximum of 0 counts as 5
}

// The lower bound is always 0: its log10 is minus infinity and must not widen the label margin (nor
// be turned into an int). Bounds with more digits do widen it.
TEST(ScopePlot, LabelMarginCountsTheDigitsOfTheBounds) {
    EXPECT_EQ(layoutFor(rangeOf(0, 0.6, 0, 4), {400, 300}).left, 36);    // "0.60": 0 + 2 + 4 characters
    EXPECT_EQ(layoutFor(rangeOf(0, 125, 0, 4), {400, 300}).left, 48);    // "125.00": log10 gives 2 more
    EXPECT_EQ(layoutFor(rangeOf(-1e5, 0, 0, 4), {400, 300}).left, 66);   // 5 more for the lower bound
    EXPECT_EQ(layoutFor(rangeOf(0, 1e300, 0, 4), {400, 300}).left, 126); // never more than 15
    EXPECT_EQ(layoutFor(Range{}, {400, 300}).left, 48);                  // as constructed: -10 to 10, 3 decimals
}

// Points closer than 21 pixels get no label of their own; a label needs more than 20 pixels of room.
TEST(ScopePlot, MachLabelsKeepClearOfEachOther) {
    const Plot plot = dragPlot(sampleCurve());
    const ui::Size size{346, 255};  // 75 pixels per Mach
    const Layout l = layoutFor(plot.range, size);
    ASSERT_EQ(l.xScale, 75);
    const ui::RecordingCanvas c = painted(plot, size);
    // 0.0 sits on the frame; 0.9 is 30 px right of 0.5; 1.0 only 7 px more; 1.2 then 22 px right of 0.9.
    EXPECT_EQ(machLabels(c, l), (std::vector<std::string>{"0.5", "0.9", "1.2", "1.5", "2.0", "3.0", "4.0"}));
    // Each label is centred over a dotted vertical of the grid, a pixel every 4 from top to bottom.
    std::vector<int> verticals;
    for (const auto* op : opsOf(c, PaintOp::Dots))
        if (op->points[0].x == op->points[1].x) {
            EXPECT_EQ(op->points[0].y, l.top);
            EXPECT_EQ(op->points[1].y, l.bottom);
            EXPECT_EQ(op->step, 4);
            verticals.push_back(op->points[0].x);
        }
    EXPECT_EQ(verticals, (std::vector<int>{73, 103, 126, 148, 186, 261, 336}));
}

// The two reference lines stay at 0.25 and 0.5 whatever the range; the curve keeps its own scale.
TEST(ScopePlot, ReferenceLinesKeepTheirValues) {
    for (double peak : {0.4, 0.8}) {
        const Plot plot = dragPlot({{0, 0.1}, {1, peak}, {2, 0.2}});
        const ui::RecordingCanvas c = painted(plot, {400, 300});
        const Layout l = layoutFor(plot.range, {400, 300});
        std::vector<std::string> values;
        for (const auto* op : opsOf(c, PaintOp::Dots))
            if (op->points[0].y == op->points[1].y) {
                EXPECT_EQ(op->points[0].x, l.left);
                EXPECT_EQ(op->points[1].x, l.right);
                values.push_back(std::to_string(std::lround((l.bottom - op->points[0].y) / l.yScale * 100)));
            }
        EXPECT_EQ(values, (std::vector<std::string>{"25", "50"})) << peak;
        // Labelled, except where the label would run into the bound's: 0.5 at the top of 0 to 0.5.
        const auto texts = c.texts();
        EXPECT_EQ(std::count(texts.begin(), texts.end(), "0.25"), 1) << peak;
        EXPECT_EQ(std::count(texts.begin(), texts.end(), "0.50"), 1) << peak;
    }
    // With a peak of 0.3 the range ends at 0.375: the 0.5 line would be above the frame and is left out.
    const ui::RecordingCanvas c = painted(dragPlot({{0, 0.1}, {1, 0.3}}), {400, 300});
    EXPECT_EQ(opsOf(c, PaintOp::Dots).size(), 2u);  // the 0.25 line and the Mach 1 vertical
}

// A point that is not a number puts nothing on the canvas: no vertex, no label, no crash; the
// others are drawn as before. A point far away is pulled in, still past the edge.
TEST(ScopePlot, BadCoordinatesDrawNothing) {
    const ui::Size size{346, 255};
    const Plot clean = dragPlot(sampleCurve());
    std::vector<DragElement> withBad = sampleCurve();
    withBad.insert(withBad.begin() + 3, {kNaN, 0.3});
    withBad.insert(withBad.begin() + 5, {1.1, kInf});
    withBad.push_back({-kInf, kNaN});
    Plot bad = dragPlot(withBad);
    EXPECT_EQ(bad.range, clean.range);
    const ui::RecordingCanvas a = painted(clean, size), b = painted(bad, size);
    EXPECT_EQ(a.texts(), b.texts());
    EXPECT_EQ(a.ops.size(), b.ops.size());
    const PaintOp* curve = curveOf(b, kDragWindowColours.curve);
    ASSERT_NE(curve, nullptr);
    EXPECT_EQ(curve->points, curveOf(a, kDragWindowColours.curve)->points);
    EXPECT_EQ(curve->points.front(), (ui::Point{36, 220 - 50}));  // Cd 0.125: 50 pixels up
    EXPECT_EQ(curve->points.back(), (ui::Point{336, 220 - 80}));  // Cd 0.2 of a 0.5 range, 200 pixels

    Plot far = clean;
    far.points.push_back({1e300, -1e300});
    const ui::RecordingCanvas farCanvas = painted(far, size);
    const PaintOp* farCurve = curveOf(farCanvas, kDragWindowColours.curve);
    ASSERT_NE(farCurve, nullptr);
    EXPECT_EQ(farCurve->points.back(), (ui::Point{36 + kFarPixels, 220 + kFarPixels}));
    // A range set directly, too narrow for a finite scale: the curve lies on the bottom line.
    Plot narrow = clean;
    narrow.range.upper = 1e-320;
    narrow.range.lower = 0;
    const ui::RecordingCanvas narrowCanvas = painted(narrow, size);
    const PaintOp* flat = curveOf(narrowCanvas, kDragWindowColours.curve);
    ASSERT_NE(flat, nullptr);
    EXPECT_EQ(flat->points.front(), (ui::Point{126, 220}));  // the margin at its widest, 15 digits more
}

// Ranges that cannot be drawn fall back to one that can: y 0 to 1, x 0 to 5 (or 5 past the minimum).
TEST(ScopePlot, UnusableRangesFallBack) {
    const Range y01x05 = rangeOf(0, 1, 0, 5);
    EXPECT_EQ(curveRange({}, false), y01x05);
    EXPECT_EQ(curveRange({{0, 0}, {5, 0}}, false), y01x05);          // no Cd above 0
    EXPECT_EQ(curveRange({{0, 1.5e308}, {5, 0.3}}, false), y01x05);  // 1.25 × the largest is infinite
    EXPECT_EQ(curveRange({{kNaN, 0.4}, {5, kInf}}, false), y01x05);  // nothing finite: no point at all
    EXPECT_EQ(rangeOf(0.5, 0.5, 0, 5), y01x05);
    EXPECT_EQ(rangeOf(0, 1, kNaN, 3), y01x05);
    EXPECT_EQ(rangeOf(0, 1, 0, 1e12), y01x05);  // beyond any int
    Range inverted = rangeOf(0, 1, 3, 2);
    EXPECT_EQ(inverted.xMin, 3);
    EXPECT_EQ(inverted.xMax, 8);
    // The standard plot spans first to last Mach: x from 0.5 starts at 0, a single point gets 5 Mach.
    const Range standard = curveRange({{0.5, 0.2}, {3.2, 0.3}}, true);
    EXPECT_EQ(standard.xMin, 0);
    EXPECT_EQ(standard.xMax, 4);
    EXPECT_EQ(curveRange({{2.0, 0.2}}, true).xMax, 7);
    // A fallen-back range still paints a frame and labels and never divides by zero.
    const ui::RecordingCanvas c = painted(dragPlot({{0, 0}, {0, 0}}), {300, 200});
    EXPECT_EQ(c.texts().front(), "1.00");
}

// The picture is laid out from the size it is painted at: a larger control, a larger frame and scale.
TEST(ScopePlot, FollowsTheSizeItIsPaintedAt) {
    Plot plot = dragPlot(sampleCurve());
    plot.caption = "G7";
    for (ui::Size size : {ui::Size{346, 255}, ui::Size{646, 455}}) {
        const ui::RecordingCanvas c = painted(plot, size);
        const Layout l = layoutFor(plot.range, size);
        EXPECT_EQ(c.ops[0].rect, (ui::Rect{0, 0, size.width, size.height}));
        EXPECT_EQ(c.ops[1].points,
                  (std::vector<ui::Point>{{36, 20}, {size.width - 9, 20}, {size.width - 9, size.height - 34},
                                          {36, size.height - 34}, {36, 20}}));
        // Titles centred over the frame, the caption right-aligned 15 in from its right edge.
        const int middle = (l.left + l.right) / 2;
        bool title = false, axis = false, caption = false;
        for (const auto* op : opsOf(c, PaintOp::Text)) {
            const int centre = op->rect.x + op->rect.width / 2;
            if (op->text == kDragTitle) title = std::abs(centre - middle) <= 1 && op->rect.y == 5;
            if (op->text == kAxisTitle) axis = std::abs(centre - middle) <= 1 && op->rect.y == l.bottom + 15;
            if (op->text == "G7")
                caption = op->rect.right() == l.right - 15 && op->colour == kDragWindowColours.curve &&
                          op->font.pixelHeight == 26;
        }
        EXPECT_TRUE(title && axis && caption) << size.width;
        // The curve last, over the grid; Mach 4 at the right edge.
        EXPECT_EQ(c.ops.back().points.back().x, l.right);
    }
}

// The control on a dialog: it paints what it was given at the control's size, the drag windows'
// way shows the drag-coefficient title (the control starts with the ballistic one), and every
// change paints again.
ui::DialogTemplate plotTemplate() {
    ui::DialogTemplate t;
    t.id = 500;
    t.title = "График";
    t.width = 420;
    t.height = 320;
    t.controls = {{1000, ui::Kind::Canvas, "", {10, 10, 346, 255}, 0}};
    return t;
}

TEST(COScopeCtrlDialog, PaintsTheCurveItWasGivenAtTheControlsSize) {
    ui::HeadlessBackend screen;
    class PlotDialog : public ui::Dialog {
    public:
        PlotDialog() : Dialog(plotTemplate()) {}
        COScopeCtrl plot;

    protected:
        bool onInitDialog() override {
            plot.attach(*this, 1000);
            return true;
        }
    } dlg;
    auto& w = ui::openHeadless(dlg);
    auto texts = w.paint(1000).texts();
    EXPECT_NE(std::find(texts.begin(), texts.end(), kBallisticTitle), texts.end());
    EXPECT_EQ(texts.front(), "10.000");  // as constructed

    const int before = w.refreshCount(1000);
    dlg.plot.showDragCurve(sampleCurve(), false);
    dlg.plot.setCaption("G7");
    EXPECT_EQ(w.refreshCount(1000), before + 2);
    const ui::RecordingCanvas c = w.paint(1000);
    texts = c.texts();
    EXPECT_NE(std::find(texts.begin(), texts.end(), kDragTitle), texts.end());
    EXPECT_EQ(std::find(texts.begin(), texts.end(), kBallisticTitle), texts.end());
    EXPECT_EQ(texts.front(), "0.50");
    EXPECT_EQ(machLabels(c, layoutFor(dlg.plot.plot().range, {346, 255})).size(), 7u);
    EXPECT_EQ(c.ops.back().points.size(), 9u);

    w.moveControl(1000, {10, 10, 646, 455});
    EXPECT_EQ(w.paint(1000).ops.back().points.back().x, 636);  // Mach 4 at the new right edge
    dlg.plot.detach();
    dlg.destroy();
}

}  // namespace

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include "CDlgDrugPlot.h"
#include "CDlgDrugPlotStandart.h"
#include "HeadlessBackend.h"
#include "ProjectilePicture.h"
#include "ScopePlot.h"
#include "StandardDragSet.h"
#include "TextCodec.h"

using ui::PaintOp;
using projectile::Projectile;

namespace {

DragFunc special(std::vector<DragElement> points) {
    DragFunc f;
    f.kind = DragFuncKind::Special;
    f.setName(utf8ToCp1251("Лапуа 7,62 Scenar"));
    f.setDescription(utf8ToCp1251("Измерено радаром; 155 гран"));
    f.points = std::move(points);
    return f;
}

// The white curve of a painted plot, or nullptr when none was drawn.
const PaintOp* curveOf(const ui::RecordingCanvas& c) {
    const PaintOp* found = nullptr;
    for (const auto& op : c.ops)
        if (op.type == PaintOp::Polyline && op.colour == scopeplot::kDragWindowColours.curve) found = &op;
    return found;
}

std::vector<PaintOp> polygonsOf(const ui::RecordingCanvas& c) {
    std::vector<PaintOp> out;
    for (const auto& op : c.ops)
        if (op.type == PaintOp::Polygon) out.push_back(op);
    return out;
}

bool samePolygons(const std::vector<PaintOp>& a, const std::vector<PaintOp>& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](const PaintOp& x, const PaintOp& y) { return x.points == y.points && x.fill == y.fill; });
}

// The plot window shows the name (CP1251 in the record) over the curve, the description under it,
// the drag-coefficient title and the range from Mach 0.
TEST(DragPlotWindow, ShowsTheNameTheCurveAndTheDescription) {
    ui::HeadlessBackend screen;
    CDlgDrugPlot dlg(special({{0.5, 0.30}, {1.0, 0.45}, {2.5, 0.35}}));
    ui::HeadlessWindow& w = ui::openHeadless(dlg);
    EXPECT_EQ(w.title(), "График драг-функции");
    EXPECT_EQ(w.text(CDlgDrugPlot::kDescription), "Измерено радаром; 155 гран");
    const ui::RecordingCanvas c = w.paint(CDlgDrugPlot::kPlot);
    const auto texts = c.texts();
    EXPECT_NE(std::find(texts.begin(), texts.end(), "Лапуа 7,62 Scenar"), texts.end());
    EXPECT_NE(std::find(texts.begin(), texts.end(), scopeplot::kDragTitle), texts.end());
    EXPECT_EQ(std::find(texts.begin(), texts.end(), scopeplot::kBallisticTitle), texts.end());
    EXPECT_EQ(texts.front(), "0.56");  // 1.25 × the largest Cd, 0.45
    const scopeplot::Range& r = dlg.plot().plot().range;
    EXPECT_EQ(r.xMin, 0);
    EXPECT_EQ(r.xMax, 3);  // the last Mach, 2.5, rounded up
    const PaintOp* curve = curveOf(c);
    ASSERT_NE(curve, nullptr);
    EXPECT_EQ(curve->points.size(), 3u);
    EXPECT_TRUE(screen.messages.empty());
    w.click(ui::kIdOk);
    EXPECT_EQ(dlg.endCode(), ui::kIdOk);
}

// The standard window starts the x axis at the first point's Mach, and its picture is the one of
// the function's name whatever the letter case; a name it does not know shows the Ingalls projectile.
TEST(StandardPlotWindow, StartsAtTheFirstPointAndPicturesTheProjectileOfItsName) {
    ui::HeadlessBackend screen;
    DragFunc g7;
    ASSERT_TRUE(standardFunction("G7", g7));
    g7.setName("g7");
    g7.points.erase(std::remove_if(g7.points.begin(), g7.points.end(), [](const DragElement& p) { return p.mach < 1.5; }),
                    g7.points.end());
    CDlgDrugPlotStandart dlg(g7);
    EXPECT_EQ(dlg.projectile(), Projectile::G7);
    ui::HeadlessWindow& w = ui::openHeadless(dlg);
    EXPECT_EQ(w.title(), "График стандартной драг-функции");
    EXPECT_EQ(dlg.plot().plot().range.xMin, 1);

    const ui::Rect plot = w.controlRect(CDlgDrugPlot::kPlot), picture = w.controlRect(CDlgDrugPlotStandart::kPicture);
    EXPECT_GT(picture.x, plot.right());
    EXPECT_LE(picture.right(), w.clientSize().width);
    EXPECT_EQ(picture.height, plot.height);
    const ui::RecordingCanvas shown = w.paint(CDlgDrugPlotStandart::kPicture);
    ui::RecordingCanvas g7Picture({picture.width, picture.height}), g1Picture({picture.width, picture.height});
    projectile::paint(g7Picture, Projectile::G7);
    projectile::paint(g1Picture, Projectile::G1);
    EXPECT_TRUE(samePolygons(polygonsOf(shown), polygonsOf(g7Picture)));
    EXPECT_FALSE(samePolygons(polygonsOf(shown), polygonsOf(g1Picture)));

    // Wider, the plot takes the room and the picture keeps its width at the right edge.
    w.resize(w.clientSize().width + 200, w.clientSize().height + 50);
    EXPECT_EQ(w.controlRect(CDlgDrugPlot::kPlot).width, plot.width + 200);
    EXPECT_EQ(w.controlRect(CDlgDrugPlotStandart::kPicture).x, picture.x + 200);
    EXPECT_EQ(w.controlRect(CDlgDrugPlotStandart::kPicture).width, picture.width);
    w.closeBox();

    DragFunc other = special({{0.5, 0.3}, {2, 0.4}});
    EXPECT_EQ(CDlgDrugPlotStandart(other).projectile(), Projectile::GI);
    for (auto [name, expected] : {std::pair{"ra4", Projectile::RA4}, std::pair{"Gs", Projectile::GS},
                                  std::pair{"gL", Projectile::GL}, std::pair{"G2", Projectile::G2},
                                  std::pair{"G1 copy", Projectile::GI}}) {
        other.setName(name);
        EXPECT_EQ(CDlgDrugPlotStandart(other).projectile(), expected) << name;
    }
    // The window is as wide as its projectile needs: the ball's is narrower than G7's.
    EXPECT_LT(CDlgDrugPlotStandart::makeTemplate(Projectile::GS).width,
              CDlgDrugPlotStandart::makeTemplate(Projectile::G7).width);
}

// A function without points: the message, a plot with its frame and labels but no curve.
TEST(PlotWindows, SayWhenTheFunctionHasNoPoints) {
    ui::HeadlessBackend screen;
    const DragFunc empty = special({});
    {
        CDlgDrugPlot dlg(empty);
        ui::HeadlessWindow& w = ui::openHeadless(dlg);
        EXPECT_EQ(curveOf(w.paint(CDlgDrugPlot::kPlot)), nullptr);
        w.closeBox();
    }
    {
        CDlgDrugPlotStandart dlg(empty);
        ui::HeadlessWindow& w = ui::openHeadless(dlg);
        const ui::RecordingCanvas c = w.paint(CDlgDrugPlot::kPlot);
        EXPECT_EQ(curveOf(c), nullptr);
        EXPECT_FALSE(c.texts().empty());
        w.closeBox();
    }
    EXPECT_EQ(screen.messageTexts(), (std::vector<std::string>{kNoDragDataMessage, kNoDragDataMessage}));
    // One point is data, though no line: no message.
    CDlgDrugPlot one(special({{1.0, 0.3}}));
    ui::openHeadless(one).closeBox();
    EXPECT_EQ(screen.messages.size(), 2u);
}

// The outlines have the shapes the functions' projectiles are known by.
TEST(ProjectilePictures, HaveTheShapesOfTheirProjectiles) {
    auto baseRadius = [](Projectile p) {
        const auto parts = projectile::partsOf(p);
        double r = 0;
        for (const auto& s : parts.front().outline)
            if (s.x == 0) r = std::max(r, std::fabs(s.y));
        return r;
    };
    // The front face: the radius at the foremost x (0 for a sharp point).
    auto meplat = [](Projectile p) {
        const auto parts = projectile::partsOf(p);
        const auto& o = parts.front().outline;
        const double front = std::max_element(o.begin(), o.end(), [](auto& a, auto& b) { return a.x < b.x; })->x;
        double r = 0;
        for (const auto& s : o)
            if (s.x == front) r = std::max(r, std::fabs(s.y));
        return r;
    };
    for (Projectile p : {Projectile::G5, Projectile::G7, Projectile::G2}) EXPECT_LT(baseRadius(p), 0.47) << nameOf(p);
    for (Projectile p : {Projectile::G1, Projectile::G6, Projectile::G8, Projectile::GI, Projectile::GL, Projectile::RA4})
        EXPECT_EQ(baseRadius(p), 0.5) << nameOf(p);
    EXPECT_NEAR(meplat(Projectile::G1), 0.1, 1e-9);
    EXPECT_LT(meplat(Projectile::G6), 0.03);  // the spire point
    EXPECT_GT(meplat(Projectile::GL), 0.2);   // the blunt lead nose
    // G1's projectile is 3.28 calibres long; the very-low-drag G7 is longer; the ball is round.
    EXPECT_NEAR(projectile::lengthOf(Projectile::G1), 3.28, 0.03);
    EXPECT_GT(projectile::lengthOf(Projectile::G7), 4.0);
    EXPECT_NEAR(projectile::lengthOf(Projectile::GS), 1.0, 1e-9);
    EXPECT_EQ(projectile::partsOf(Projectile::GL).back().material, projectile::Material::Lead);
    EXPECT_EQ(projectile::partsOf(Projectile::RA4).front().material, projectile::Material::Lead);

    // Painted, each fits its canvas, however narrow, and is centred on it.
    for (int i = 0; i <= static_cast<int>(Projectile::RA4); ++i) {
        const auto p = static_cast<Projectile>(i);
        for (ui::Size size : {ui::Size{projectile::pictureWidth(p, 48), 420}, ui::Size{60, 30}, ui::Size{5, 5}}) {
            ui::RecordingCanvas c(size);
            projectile::paint(c, p);
            int low = size.width, high = 0;
            for (const auto& op : polygonsOf(c))
                for (const auto& pt : op.points) {
                    EXPECT_TRUE(pt.x >= 0 && pt.x <= size.width && pt.y >= 0 && pt.y <= size.height) << nameOf(p);
                    low = std::min(low, pt.x);
                    high = std::max(high, pt.x);
                }
            if (size.width > 20) {
                EXPECT_LE(std::abs(low - (size.width - high)), 1) << nameOf(p);
            }
        }
    }
}

}  // namespace

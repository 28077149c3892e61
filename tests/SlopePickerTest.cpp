// The target-angle picker: its arithmetic, its picture and pointer, and its hand-off with the
// calculator's angle field, driven as a user would through the headless window layer.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <random>

#include "CDlgSlopeDraw.h"
#include "CSlopeDraw.h"
#include "CtkdeskDlg.h"
#include "HeadlessBackend.h"
#include "NumberText.h"
#include "RoundTo.h"
#include "SettingsRecord.h"
#include "SlopeGeometry.h"
#include "StandardDragSet.h"

namespace fs = std::filesystem;
using namespace ctkdesk;
using slope::Pixel;

namespace {

// ---------------------------------------------------------------- arithmetic

// 45 degrees is steep: the target goes up the 45-degree line by 90 % of half the height.
TEST(SlopeGeometry, FortyFiveDegreesUsesNinetyPercentOfHalfTheHeight) {
    const Pixel up = slope::targetOf(45, 400, 200);   // shooter at (0, 100)
    EXPECT_NEAR(up.x, 90, 1);
    EXPECT_NEAR(100 - up.y, 90, 1);
    EXPECT_EQ(slope::angleOf(up, {0, 100}), 45);
    const Pixel down = slope::targetOf(-45, 400, 200);
    EXPECT_EQ(down.x, up.x);
    EXPECT_EQ(down.y - 100, 100 - up.y);
    EXPECT_EQ(slope::angleOf(down, {0, 100}), -45);
    // Level: at 90 % of the width on the horizon.
    EXPECT_EQ(slope::targetOf(0, 400, 200), (Pixel{360, 100}));
}

// A shallow angle is drawn far along the width, precisely enough to read back the same degree.
TEST(SlopeGeometry, ShallowAnglesReadBackAsTheyWereSet) {
    for (int degrees = -29; degrees <= 29; ++degrees)
        EXPECT_EQ(slope::angleOf(slope::targetOf(degrees, 404, 246), {0, 123}), degrees) << degrees;
}

// No line of sight runs straight up or backwards: such targets give defined angles the field takes.
TEST(SlopeGeometry, TheShootersOwnXAndTheSteepestTargetsGiveAnglesTheFieldTakes) {
    EXPECT_EQ(slope::angleOf({0, 10}, {0, 100}), 0);
    EXPECT_EQ(slope::angleOf({0, 190}, {0, 100}), 0);
    EXPECT_EQ(slope::angleOf({-40, 10}, {0, 100}), 0);
    EXPECT_EQ(slope::angleOf({300, 100}, {0, 100}), 0);
    EXPECT_EQ(slope::angleOf({1, 0}, {0, 100}), 89);     // atan(100) = 89.4
    EXPECT_EQ(slope::angleOf({1, 0}, {0, 1000}), 89);    // 89.94 would round to 90, which the field refuses
    EXPECT_EQ(slope::angleOf({1, 2000}, {0, 1000}), -89);
    EXPECT_EQ(slope::angleOf({200, 0}, {0, 100}), 27);   // atan(0.5) = 26.57
}

TEST(SlopeGeometry, PointsOutsideAreHeldInsideRightOfTheShooter) {
    EXPECT_EQ(slope::clampedInside({-50, -5}, 400, 200), (Pixel{1, 0}));
    EXPECT_EQ(slope::clampedInside({500, 300}, 400, 200), (Pixel{399, 199}));
    EXPECT_EQ(slope::clampedInside({0, 50}, 400, 200), (Pixel{0, 50}));
    EXPECT_EQ(slope::clampedInside({120, 50}, 400, 200), (Pixel{120, 50}));
}

// A dark theme's window is a near-black grey, seldom black: it counts as dark.
TEST(SlopeGeometry, DarkWindowsAreToldByBrightness) {
    EXPECT_TRUE(ui::isDark({0, 0, 0}));
    EXPECT_TRUE(ui::isDark({45, 45, 45}));
    EXPECT_TRUE(ui::isDark({30, 30, 60}));
    EXPECT_FALSE(ui::isDark({255, 255, 255}));
    EXPECT_FALSE(ui::isDark({240, 240, 240}));
    EXPECT_FALSE(ui::isDark({246, 245, 244}));
}

// ---------------------------------------------------------------- picture and pointer

using ui::PaintOp;
constexpr int kDraw = CDlgSlopeDraw::kSlopeDraw;

ui::MouseEvent mouse(ui::MouseEvent::Type type, int x, int y, bool held) {
    ui::MouseEvent m;
    m.type = type;
    m.x = x;
    m.y = y;
    m.leftButton = held;
    return m;
}

// The picture of a control `width` × `height` whose target is at t, in painting order.
void expectPicture(const ui::RecordingCanvas& c, int width, int height, Pixel t, ui::Colour face, ui::Colour ink,
                   const std::string& text, int fontHeight) {
    ASSERT_EQ(c.ops.size(), 9u);
    const std::vector<PaintOp>& op = c.ops;
    EXPECT_EQ(op[0].type, PaintOp::FillRect);
    EXPECT_EQ(op[0].rect, (ui::Rect{0, 0, width, height}));
    EXPECT_EQ(op[0].colour, face);
    // The horizon, from the shooter to the far edge.
    EXPECT_EQ(op[1].type, PaintOp::Line);
    EXPECT_EQ(op[1].points, (std::vector<ui::Point>{{0, height / 2}, {width, height / 2}}));
    EXPECT_EQ(op[1].colour, ink);
    EXPECT_EQ(op[1].penWidth, 1);
    // The target: two rings, a cross, the bull; black on white whatever the theme.
    EXPECT_EQ(op[2].type, PaintOp::Ellipse);
    EXPECT_EQ(op[2].rect, (ui::Rect{t.x - 10, t.y - 15, 20, 30}));
    EXPECT_EQ(op[3].rect, (ui::Rect{t.x - 7, t.y - 10, 14, 20}));
    EXPECT_EQ(op[4].points, (std::vector<ui::Point>{{t.x, t.y - 15}, {t.x, t.y + 15}}));
    EXPECT_EQ(op[5].points, (std::vector<ui::Point>{{t.x - 10, t.y}, {t.x + 10, t.y}}));
    EXPECT_EQ(op[6].type, PaintOp::Ellipse);
    EXPECT_EQ(op[6].rect, (ui::Rect{t.x - 3, t.y - 5, 6, 10}));
    for (size_t i = 2; i <= 6; ++i) EXPECT_EQ(op[i].colour, ui::kBlack) << i;
    EXPECT_EQ(op[2].fill, ui::kWhite);
    // The red line of sight, two pixels wide, from the shooter to the target.
    EXPECT_EQ(op[7].type, PaintOp::Line);
    EXPECT_EQ(op[7].colour, ui::kRed);
    EXPECT_EQ(op[7].penWidth, 2);
    EXPECT_EQ(op[7].points, (std::vector<ui::Point>{{0, height / 2}, {t.x, t.y}}));
    // The angle in the top left corner, bold.
    EXPECT_EQ(op[8].type, PaintOp::Text);
    EXPECT_EQ(op[8].text, text);
    EXPECT_EQ(op[8].rect.x, 5);
    EXPECT_EQ(op[8].rect.y, 5);
    EXPECT_EQ(op[8].colour, ink);
    EXPECT_TRUE(op[8].font.bold);
    EXPECT_EQ(op[8].font.pixelHeight, fontHeight);
}

TEST(SlopePicture, PaintsHorizonTargetSightLineAndAngleInThatOrderAndFollowsTheSize) {
    ui::HeadlessBackend screen;
    CDlgSlopeDraw dlg(0, false);
    auto& w = ui::openHeadless(dlg);
    EXPECT_EQ(w.title(), "Угол места цели");
    EXPECT_EQ(w.text(ui::kIdOk), "Так точно!");
    EXPECT_EQ(w.text(ui::kIdCancel), "Отставить!");
    ui::Rect r = w.controlRect(kDraw);
    EXPECT_EQ(r.width, 404);
    expectPicture(w.paint(kDraw), 404, 246, {363, 123}, ui::Colour{240, 240, 240}, ui::kBlack, "0 град.", 14);

    // Larger: the horizon and the level target move with the size.
    w.resize(620, 400);
    r = w.controlRect(kDraw);
    EXPECT_EQ(r, (ui::Rect{8, 8, 604, 346}));
    expectPicture(w.paint(kDraw), 604, 346, {543, 173}, ui::Colour{240, 240, 240}, ui::kBlack, "0 град.", 14);
    EXPECT_EQ(w.controlRect(ui::kIdOk).bottom(), 400 - 10);
    // Never smaller than the buttons need.
    w.resize(50, 50);
    EXPECT_EQ(w.clientSize(), (ui::Size{300, 230}));
    dlg.destroy();
}

// A small control writes in the smaller font.
TEST(SlopePicture, ANarrowControlWritesSmaller) {
    class Small : public ui::Dialog {
    public:
        Small() : Dialog(makeTemplate()) {}
        static ui::DialogTemplate makeTemplate() {
            ui::DialogTemplate t;
            t.title = "Узко";
            t.width = 120;
            t.height = 80;
            t.controls = {{7, ui::Kind::Canvas, "", {0, 0, 90, 60}, ui::kNoStyle}};
            return t;
        }
        CSlopeDraw draw;

    protected:
        bool onInitDialog() override {
            draw.setAngle(-45);
            draw.attach(*this, 7);
            return true;
        }
    };
    ui::HeadlessBackend screen;
    Small dlg;
    auto& w = ui::openHeadless(dlg);
    const Pixel t = slope::targetOf(-45, 90, 60);
    EXPECT_GT(t.y, 30);  // below the horizon
    expectPicture(w.paint(7), 90, 60, t, ui::Colour{240, 240, 240}, ui::kBlack, "-45 град.", 12);
    dlg.destroy();
}

// On a dark theme the horizon and the angle turn white on the theme's own face colour.
TEST(SlopePicture, DarkThemeWritesWhite) {
    ui::HeadlessBackend screen;
    screen.faceColour = {53, 53, 53};
    screen.windowColour = {45, 45, 45};
    CDlgSlopeDraw dlg(12.7, true);
    auto& w = ui::openHeadless(dlg);
    const ui::RecordingCanvas c = w.paint(kDraw);
    expectPicture(c, 404, 246, slope::targetOf(12.7, 404, 246), {53, 53, 53}, ui::kWhite, "cos = 0.976", 14);
    dlg.destroy();
}

// Press, drag and release, the mouse held by the control throughout; the corner shows the angle
// the release takes.
TEST(SlopePicture, DraggingPlacesTheTargetHoldsTheMouseAndEndsInsideTheControl) {
    ui::HeadlessBackend screen;
    CDlgSlopeDraw dlg(5, false);
    auto& w = ui::openHeadless(dlg);
    EXPECT_EQ(w.paint(kDraw).texts(), std::vector<std::string>{"5 град."});
    // A move without the button does nothing.
    w.mouse(kDraw, mouse(ui::MouseEvent::Move, 200, 23, false));
    EXPECT_EQ(dlg.slopeDraw().angle(), 5);

    w.mouse(kDraw, mouse(ui::MouseEvent::LeftDown, 200, 123, true));
    EXPECT_EQ(w.mouseCaptor(), kDraw);
    EXPECT_TRUE(dlg.slopeDraw().dragging());
    EXPECT_EQ(dlg.slopeDraw().target(), (Pixel{200, 123}));
    EXPECT_EQ(w.paint(kDraw).texts(), std::vector<std::string>{"0 град."});
    w.mouse(kDraw, mouse(ui::MouseEvent::Move, 200, 23, true));
    EXPECT_EQ(w.paint(kDraw).texts(), std::vector<std::string>{"27 град."});  // atan(100 / 200)
    // Dragged out over the top left: held inside, right of the shooter, as steep as the field allows.
    w.mouse(kDraw, mouse(ui::MouseEvent::Move, -30, -40, true));
    EXPECT_EQ(dlg.slopeDraw().target(), (Pixel{1, 0}));
    EXPECT_EQ(dlg.slopeDraw().angle(), 89);
    // Released below the control, from over a button: the control still hears it.
    w.mouse(ui::kIdOk, mouse(ui::MouseEvent::LeftUp, 300 + 8 - 184, 392 + 8 - 264, false));
    EXPECT_EQ(w.mouseCaptor(), ui::kStaticId);
    EXPECT_FALSE(dlg.slopeDraw().dragging());
    EXPECT_EQ(dlg.slopeDraw().target(), (Pixel{300, 245}));
    EXPECT_EQ(dlg.slopeDraw().angle(), -22);  // atan(122 / 300) below
    const ui::RecordingCanvas c = w.paint(kDraw);
    expectPicture(c, 404, 246, {300, 245}, ui::Colour{240, 240, 240}, ui::kBlack, "-22 град.", 14);

    // Released at the shooter's own x: level, wherever the pointer is up or down.
    w.mouse(kDraw, mouse(ui::MouseEvent::LeftDown, 50, 40, true));
    w.mouse(kDraw, mouse(ui::MouseEvent::LeftUp, 0, 10, false));
    EXPECT_EQ(dlg.slopeDraw().target(), (Pixel{0, 10}));
    EXPECT_EQ(dlg.slopeDraw().angle(), 0);
    // A drag whose release never arrived (the mouse was taken away) ends at the next move.
    w.mouse(kDraw, mouse(ui::MouseEvent::LeftDown, 100, 123, true));
    w.releaseMouse();
    w.mouse(kDraw, mouse(ui::MouseEvent::Move, 100, 23, false));
    EXPECT_FALSE(dlg.slopeDraw().dragging());
    EXPECT_EQ(dlg.slopeDraw().angle(), 0);
    dlg.destroy();
}

// ---------------------------------------------------------------- with the calculator

class SlopeHandOff : public ::testing::Test {
protected:
    void SetUp() override {
        base = fs::temp_directory_path() / ("tkdesk-slope-" + std::to_string(std::random_device{}()));
        program = base / "program";
        data = base / "data";
        fs::create_directories(program);
        fs::create_directories(data);
    }
    void TearDown() override {
        std::error_code ec;
        fs::remove_all(base, ec);
    }
    void cosineMode() {
        SettingsRecord s;
        s.angleMode = kAngleModeCosine;
        ASSERT_TRUE(saveSettingsFile(data / "settings.dat", s));
    }
    // The vertical correction the engine gives at the first-run inputs with this target angle.
    static std::string verticalMoaAt(double degrees) {
        ShotInputs in;
        in.targetAngle = degrees;
        BallisticSolver main, zeroing;
        DragFunc g1;
        standardFunction("G1", g1);
        loadSolver(in, g1, main);
        const ShotAnswer a = computeShot(main, zeroing, ZeroingAtmosphere{true, 15.0, 754.0, 55.0}, in.distance, {});
        return ui::formatNumber(shownCorrections(a.corrections).vertical.moa);
    }
    // Drags the picker's target from the horizon to (x, y) and lets go there.
    static void drag(ui::HeadlessWindow& s, int x, int y) {
        s.mouse(kDraw, mouse(ui::MouseEvent::LeftDown, 200, 123, true));
        s.mouse(kDraw, mouse(ui::MouseEvent::Move, (200 + x) / 2, (123 + y) / 2, true));
        s.mouse(kDraw, mouse(ui::MouseEvent::LeftUp, x, y, false));
    }

    fs::path base, program, data;
    ui::HeadlessBackend screen;
};

TEST_F(SlopeHandOff, TakenAngleGoesIntoTheFieldAndComputesCancelChangesNothing) {
    CtkdeskDlg dlg(program, data);
    auto& w = ui::openHeadless(dlg);
    w.type(kTargetAngle, "5");
    w.click(kCompute);
    const std::string before = w.text(kVerticalMoa);
    EXPECT_EQ(before, verticalMoaAt(5));

    // "Отставить!" after a drag: the field, the corrections and the solver as they were.
    screen.onNextModal([](ui::HeadlessWindow& s) {
        EXPECT_EQ(s.paint(kDraw).texts(), std::vector<std::string>{"5 град."});
        drag(s, 200, 23);
        s.click(ui::kIdCancel);
    });
    w.click(kSlopeButton);
    EXPECT_EQ(screen.modalTitles.back(), "Угол места цели");
    EXPECT_EQ(w.text(kTargetAngle), "5");
    EXPECT_EQ(w.text(kVerticalMoa), before);
    EXPECT_DOUBLE_EQ(dlg.mainSolver().targetAngle, 5.0);

    // "Так точно!": the field shows what the picker showed, and the corrections follow it at once.
    std::string shown;
    screen.onNextModal([&](ui::HeadlessWindow& s) {
        drag(s, 200, 23);
        shown = s.paint(kDraw).texts().at(0);
        s.click(ui::kIdOk);
    });
    w.click(kSlopeButton);
    EXPECT_EQ(shown, "27 град.");
    EXPECT_EQ(w.text(kTargetAngle), "27");
    EXPECT_DOUBLE_EQ(dlg.mainSolver().targetAngle, 27.0);
    EXPECT_EQ(w.text(kVerticalMoa), verticalMoaAt(27));
    EXPECT_NE(w.text(kVerticalMoa), before);

    // Taken without a drag: the angle as it was, not as the target's whole pixels round it.
    w.type(kTargetAngle, "85");
    screen.onNextModal([](ui::HeadlessWindow& s) { s.click(ui::kIdOk); });
    w.click(kSlopeButton);
    EXPECT_EQ(w.text(kTargetAngle), "85");
    EXPECT_TRUE(screen.messages.empty());
    dlg.destroy();
}

TEST_F(SlopeHandOff, CosineModeShowsAndTakesCosinesTheFieldAccepts) {
    cosineMode();
    CtkdeskDlg dlg(program, data);
    auto& w = ui::openHeadless(dlg);
    EXPECT_EQ(w.text(kTargetAngle), "1");
    w.type(kTargetAngle, "0.5");
    // A cosine of 0.5 is 60 degrees, and reads 0.5 again after the picker.
    screen.onNextModal([](ui::HeadlessWindow& s) {
        EXPECT_EQ(s.paint(kDraw).texts(), std::vector<std::string>{"cos = 0.500"});
        s.click(ui::kIdOk);
    });
    w.click(kSlopeButton);
    EXPECT_EQ(w.text(kTargetAngle), "0.5");
    EXPECT_DOUBLE_EQ(dlg.mainSolver().targetAngle, 60.0);

    // The steepest the picker gives is still a cosine the field takes.
    std::string shown;
    screen.onNextModal([&](ui::HeadlessWindow& s) {
        drag(s, -20, -20);
        shown = s.paint(kDraw).texts().at(0);
        s.click(ui::kIdOk);
    });
    w.click(kSlopeButton);
    EXPECT_EQ(shown, "cos = 0.017");
    EXPECT_EQ(w.text(kTargetAngle), "0.017");
    EXPECT_DOUBLE_EQ(dlg.mainSolver().targetAngle, 89.0);
    EXPECT_EQ(w.text(kVerticalMoa), verticalMoaAt(89));
    EXPECT_TRUE(screen.messages.empty());
    dlg.destroy();
}

// The picker starts from the calculator's fields: one that cannot be used is said by the calculator,
// and the picker does not open.
TEST_F(SlopeHandOff, AFieldThatCannotBeUsedIsSaidBeforeThePickerOpens) {
    CtkdeskDlg dlg(program, data);
    auto& w = ui::openHeadless(dlg);
    for (const char* typed : {"abc", "90"}) {
        w.type(kTargetAngle, typed);
        w.click(kSlopeButton);
        ASSERT_EQ(screen.messages.size(), 1u) << typed;
        EXPECT_NE(screen.messages[0].text.find("Угол места цели"), std::string::npos) << screen.messages[0].text;
        EXPECT_EQ(w.text(kTargetAngle), typed);
        EXPECT_EQ(w.focusedControl(), kTargetAngle);
        screen.messages.clear();
    }
    w.type(kTargetAngle, "0");
    w.type(kDistance, "-5");
    w.click(kSlopeButton);
    ASSERT_EQ(screen.messages.size(), 1u);
    EXPECT_NE(screen.messages[0].text.find("Дистанция"), std::string::npos) << screen.messages[0].text;
    EXPECT_TRUE(screen.modalTitles.empty());
    dlg.destroy();
}

}  // namespace

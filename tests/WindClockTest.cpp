#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <filesystem>
#include <random>

#include "CDlgWindDraw.h"
#include "CtkdeskDlg.h"
#include "HeadlessBackend.h"
#include "ShownInput.h"
#include "WindClock.h"

namespace fs = std::filesystem;
using namespace windclock;

namespace {

// Where the arrow of an azimuth meets a 100-pixel rim, as offsets from the centre (y up).
Offset rimOf(double azimuth) { return polarOffset(100, thetaOfAzimuth(azimuth)); }

// The clock's hours are where a shooter expects the wind to come from, and the text says the same.
TEST(WindClock, AzimuthsPointToTheirHoursAndReadAsTyped) {
    EXPECT_EQ(rimOf(0), (Offset{0, 100}));     // 12 o'clock: head wind
    EXPECT_EQ(rimOf(90), (Offset{100, 0}));    // 3 o'clock
    EXPECT_EQ(rimOf(180), (Offset{0, -100}));  // 6 o'clock
    EXPECT_EQ(rimOf(-90), (Offset{-100, 0}));  // 9 o'clock
    EXPECT_EQ(rimOf(270), (Offset{-100, 0}));  // 9 o'clock too
    EXPECT_EQ(rimOf(45), (Offset{70, 70}));    // half past one, truncated towards the centre
    EXPECT_EQ(azimuthText(azimuthOfTheta(thetaOfAzimuth(90))), "90°");
    EXPECT_EQ(azimuthText(azimuthOfTheta(thetaOfAzimuth(-90))), "-90°");
    EXPECT_EQ(azimuthText(azimuthOfTheta(thetaOfAzimuth(270))), "-90°");
    EXPECT_EQ(azimuthText(azimuthOfTheta(thetaOfAzimuth(180))), "180°");
    EXPECT_EQ(azimuthText(-0.2), "0°");  // no "-0°" a hair left of 12 o'clock
}

// Every azimuth the field takes comes back from the clock as it went in (±180 is one direction).
TEST(WindClock, AzimuthsComeBackFromTheArrowAngle) {
    for (double azimuth = -180; azimuth <= 180; azimuth += 0.25) {
        const double back = azimuthOfTheta(thetaOfAzimuth(azimuth));
        if (std::fabs(azimuth) == 180)
            EXPECT_NEAR(std::fabs(back), 180, 1e-9);
        else
            EXPECT_NEAR(back, azimuth, 1e-9) << azimuth;
        EXPECT_EQ(roundedAzimuth(back), std::floor(back + 0.5));
    }
    EXPECT_EQ(roundedAzimuth(44.5), 45);
    EXPECT_EQ(roundedAzimuth(-44.5), -44);
}

// The pointer's side of the centre is where the wind comes from.
TEST(WindClock, APointerAboveGivesHeadWindAndBelowTailWind) {
    EXPECT_EQ(azimuthOfTheta(thetaOfPoint(100, 5, 100, 100)), 0);      // straight above
    EXPECT_EQ(azimuthOfTheta(thetaOfPoint(100, 195, 100, 100)), 180);  // straight below
    EXPECT_EQ(azimuthOfTheta(thetaOfPoint(100, 100, 100, 100)), 0);    // the centre itself
    EXPECT_NEAR(azimuthOfTheta(thetaOfPoint(180, 100, 100, 100)), 90, 1e-9);
    EXPECT_NEAR(azimuthOfTheta(thetaOfPoint(20, 100, 100, 100)), -90, 1e-9);
    EXPECT_NEAR(azimuthOfTheta(thetaOfPoint(150, 50, 100, 100)), 45, 1e-9);   // upper right
    EXPECT_NEAR(azimuthOfTheta(thetaOfPoint(50, 150, 100, 100)), -135, 1e-9); // lower left
    EXPECT_NEAR(azimuthOfTheta(thetaOfPoint(50, 50, 100, 100)), -45, 1e-9);   // upper left
}

// Offsets are truncated towards the centre on every side, so the dial is symmetric.
TEST(WindClock, PolarOffsetsTruncateTowardsTheCentre) {
    EXPECT_EQ(polarOffset(10, 45), (Offset{7, 7}));
    EXPECT_EQ(polarOffset(10, -45), (Offset{7, -7}));
    EXPECT_EQ(polarOffset(100, 160), (Offset{-93, 34}));
    EXPECT_EQ(polarOffset(100, -160), (Offset{-93, -34}));
    EXPECT_EQ(polarOffset(10, -180), (Offset{-10, 0}));
    EXPECT_EQ(layoutFor(244, 244), (Layout{122, 122, 119}));
    EXPECT_EQ(layoutFor(385, 284), (Layout{192, 142, 139}));  // the smaller half decides
}

// A huge azimuth is brought within one turn at once; one that is no number points to 12 o'clock.
TEST(WindClock, AnyAzimuthGivesAnArrowAtOnce) {
    const auto start = std::chrono::steady_clock::now();
    EXPECT_TRUE(std::isfinite(thetaOfAzimuth(1e300)));
    EXPECT_TRUE(std::isfinite(thetaOfAzimuth(-1e300)));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
    EXPECT_EQ(thetaOfAzimuth(NAN), 90);
    EXPECT_EQ(thetaOfAzimuth(INFINITY), 90);
    EXPECT_NEAR(thetaOfAzimuth(370), thetaOfAzimuth(10), 1e-9);
    EXPECT_NEAR(thetaOfAzimuth(-370), thetaOfAzimuth(-10), 1e-9);
    EXPECT_NEAR(thetaOfAzimuth(725.9), thetaOfAzimuth(5), 1e-9);  // the whole part's remainder
    EXPECT_NEAR(thetaOfAzimuth(3600), 90, 1e-9);
}

// ------------------------------------------------------------------ the dialog

using ui::PaintOp;

std::vector<const PaintOp*> opsOf(const ui::RecordingCanvas& c, PaintOp::Type type) {
    std::vector<const PaintOp*> out;
    for (const auto& op : c.ops)
        if (op.type == type) out.push_back(&op);
    return out;
}

const PaintOp* textOp(const ui::RecordingCanvas& c, const std::string& text) {
    for (const auto& op : c.ops)
        if (op.type == PaintOp::Text && op.text == text) return &op;
    return nullptr;
}

ui::MouseEvent mouse(ui::MouseEvent::Type type, int x, int y) {
    ui::MouseEvent m;
    m.type = type;
    m.x = x;
    m.y = y;
    m.leftButton = type != ui::MouseEvent::LeftUp;
    return m;
}

class WindDialog : public ::testing::Test {
protected:
    ui::HeadlessBackend screen;
};

// The dial at the size it opens with: every figure where the clock's rules put it, in their order.
TEST_F(WindDialog, PaintsTheDialTheShooterAndTheArrow) {
    CDlgWindDraw dlg(90);
    auto& w = ui::openHeadless(dlg);
    EXPECT_EQ(w.title(), "Направление ветра");
    EXPECT_EQ(w.text(ui::kIdOk), "Так точно!");
    EXPECT_EQ(w.text(ui::kIdCancel), "Отставить!");
    ASSERT_EQ(w.controlRect(CDlgWindDraw::kClock).width, 244);
    const ui::RecordingCanvas c = w.paint(CDlgWindDraw::kClock);
    // Centre (122, 122), radius 119.
    ASSERT_GE(c.ops.size(), 4u);
    EXPECT_EQ(c.ops[0].type, PaintOp::FillRect);
    EXPECT_EQ(c.ops[0].colour, screen.faceColour);
    EXPECT_EQ(c.ops[0].rect, (ui::Rect{0, 0, 244, 244}));
    // The shooter, pointing up, 14 pixels from the centre.
    EXPECT_EQ(c.ops[1].type, PaintOp::Polygon);
    EXPECT_EQ(c.ops[1].points, (std::vector<ui::Point>{{122, 108}, {109, 129}, {134, 129}}));
    EXPECT_EQ(c.ops[1].fill, ui::kBlack);
    // The arrow from 3 o'clock: apex 23 pixels out, base 9.5 either side of the rim point.
    EXPECT_EQ(c.ops[2].type, PaintOp::Polygon);
    EXPECT_EQ(c.ops[2].points, (std::vector<ui::Point>{{145, 122}, {241, 112}, {241, 131}}));
    EXPECT_EQ(c.ops[2].fill, ui::kRed);
    EXPECT_EQ(c.ops[3].type, PaintOp::Ellipse);
    EXPECT_EQ(c.ops[3].rect, (ui::Rect{3, 3, 238, 238}));
    const auto ticks = opsOf(c, PaintOp::Line);
    ASSERT_EQ(ticks.size(), 12u);
    EXPECT_EQ(ticks[0]->points, (std::vector<ui::Point>{{122, 3}, {122, 22}}));    // 12: 19 long
    EXPECT_EQ(ticks[1]->points, (std::vector<ui::Point>{{181, 19}, {177, 27}}));   // 1: 9 long
    EXPECT_EQ(ticks[3]->points, (std::vector<ui::Point>{{241, 122}, {222, 122}})); // 3
    EXPECT_EQ(ticks[9]->points, (std::vector<ui::Point>{{3, 122}, {22, 122}}));    // 9
    // Hour labels inside their ticks (the test canvas's letters are 7 by 13).
    const PaintOp* twelve = textOp(c, "12");
    ASSERT_TRUE(twelve);
    EXPECT_EQ((ui::Point{twelve->rect.x, twelve->rect.y}), (ui::Point{115, 22}));
    EXPECT_EQ(twelve->font.pixelHeight, 16);
    EXPECT_FALSE(twelve->font.bold);
    // The hour labels centred on their points; the recording canvas gives a pixel font its own height.
    EXPECT_EQ((ui::Point{textOp(c, "3")->rect.x, textOp(c, "3")->rect.y}), (ui::Point{211, 114}));
    EXPECT_EQ((ui::Point{textOp(c, "6")->rect.x, textOp(c, "6")->rect.y}), (ui::Point{118, 206}));
    EXPECT_EQ((ui::Point{textOp(c, "9")->rect.x, textOp(c, "9")->rect.y}), (ui::Point{26, 114}));
    // The angle last, under the shooter, bold dark blue.
    EXPECT_EQ(c.ops.back().text, "90°");
    EXPECT_EQ((ui::Point{c.ops.back().rect.x, c.ops.back().rect.y}), (ui::Point{111, 140}));
    EXPECT_TRUE(c.ops.back().font.bold);
    EXPECT_EQ(c.ops.back().colour, (ui::Colour{0, 0, 128}));
    EXPECT_EQ(c.texts(), (std::vector<std::string>{"12", "3", "6", "9", "90°"}));
}

// A larger dialog gives a larger dial; a dialog cannot be made smaller than its clock needs.
TEST_F(WindDialog, TheDialFollowsTheDialogsSize) {
    CDlgWindDraw dlg(90);
    auto& w = ui::openHeadless(dlg);
    const int buttonsBottom = w.controlRect(ui::kIdCancel).bottom();
    w.resize(401, 340);  // the clock 141 wider, 40 higher: 385 by 284
    ASSERT_EQ(w.controlRect(CDlgWindDraw::kClock), (ui::Rect{8, 8, 385, 284}));
    EXPECT_EQ(dlg.clock().layout(), (Layout{192, 142, 139}));
    const ui::RecordingCanvas c = w.paint(CDlgWindDraw::kClock);
    EXPECT_EQ(c.ops[2].points, (std::vector<ui::Point>{{219, 142}, {331, 130}, {331, 153}}));
    EXPECT_EQ(c.ops[3].rect, (ui::Rect{53, 3, 278, 278}));
    EXPECT_EQ(c.ops.back().text, "90°");
    // The buttons stay in the bottom right corner.
    EXPECT_EQ(w.controlRect(ui::kIdCancel).bottom(), buttonsBottom + 40);
    EXPECT_EQ(w.controlRect(ui::kIdCancel).right(), 401 - 260 + 236);
    w.resize(50, 50);
    EXPECT_EQ(w.clientSize(), (ui::Size{220, 220}));
    EXPECT_GT(dlg.clock().layout().radius, 60);
}

// Press, drag and release turn the arrow; a drag that leaves the dial still follows the pointer.
TEST_F(WindDialog, PressDragAndReleaseTurnTheArrow) {
    CDlgWindDraw dlg(90);
    auto& w = ui::openHeadless(dlg);
    const int id = CDlgWindDraw::kClock;
    w.mouse(id, mouse(ui::MouseEvent::Move, 122, 10));  // no button: nothing turns
    EXPECT_NEAR(dlg.clock().azimuth(), 90, 1e-9);
    w.mouse(id, mouse(ui::MouseEvent::LeftDown, 122, 10));
    EXPECT_EQ(dlg.clock().azimuth(), 0);
    EXPECT_TRUE(dlg.clock().dragging());
    EXPECT_EQ(w.mouseCaptor(), id);
    EXPECT_EQ(dlg.clock().rimPoint(), (ui::Point{122, 3}));
    EXPECT_EQ(w.paint(id).ops.back().text, "0°");
    w.mouse(id, mouse(ui::MouseEvent::Move, 122, 200));
    EXPECT_EQ(dlg.clock().azimuth(), 180);
    w.mouse(id, mouse(ui::MouseEvent::Move, -40, 122));  // left of the control
    EXPECT_NEAR(dlg.clock().azimuth(), -90, 1e-9);
    EXPECT_EQ(w.paint(id).ops.back().text, "-90°");
    w.mouse(id, mouse(ui::MouseEvent::LeftUp, 300, 122));
    EXPECT_FALSE(dlg.clock().dragging());
    EXPECT_EQ(w.mouseCaptor(), ui::kStaticId);
    EXPECT_NEAR(dlg.clock().azimuth(), -90, 1e-9);  // the release itself turns nothing
    w.mouse(id, mouse(ui::MouseEvent::Move, 200, 122));
    EXPECT_NEAR(dlg.clock().azimuth(), -90, 1e-9);

    // A release the control never saw: the next move without the button ends the drag.
    w.mouse(id, mouse(ui::MouseEvent::LeftDoubleClick, 122, 200));
    EXPECT_EQ(dlg.clock().azimuth(), 180);
    ui::MouseEvent hover = mouse(ui::MouseEvent::Move, 122, 10);
    hover.leftButton = false;
    w.mouse(id, hover);
    EXPECT_FALSE(dlg.clock().dragging());
    EXPECT_EQ(dlg.clock().azimuth(), 180);
    dlg.destroy();
}

// "Так точно!" hands back the azimuth under the mark in whole degrees; "Отставить!" nothing.
TEST_F(WindDialog, OkHandsBackWholeDegreesCancelNothing) {
    {
        CDlgWindDraw dlg(12.3);
        auto& w = ui::openHeadless(dlg);
        EXPECT_EQ(w.paint(CDlgWindDraw::kClock).ops.back().text, "12°");
        w.mouse(CDlgWindDraw::kClock, mouse(ui::MouseEvent::LeftDown, 172, 72));  // upper right, 45°
        w.mouse(CDlgWindDraw::kClock, mouse(ui::MouseEvent::LeftUp, 172, 72));
        w.click(ui::kIdOk);
        EXPECT_EQ(w.endCode(), ui::kIdOk);
        EXPECT_EQ(dlg.windAzimuth(), 45);
    }
    {
        CDlgWindDraw dlg(270);  // shown as −90 and handed back so
        auto& w = ui::openHeadless(dlg);
        w.click(ui::kIdOk);
        EXPECT_EQ(dlg.windAzimuth(), -90);
    }
    {
        CDlgWindDraw dlg(30);
        auto& w = ui::openHeadless(dlg);
        w.mouse(CDlgWindDraw::kClock, mouse(ui::MouseEvent::LeftDown, 122, 200));
        w.click(ui::kIdCancel);
        EXPECT_EQ(w.endCode(), ui::kIdCancel);
        EXPECT_EQ(dlg.windAzimuth(), 30);
    }
    {
        CDlgWindDraw dlg(1e300);  // no hang, an arrow somewhere on the dial
        auto& w = ui::openHeadless(dlg);
        w.click(ui::kIdOk);
        EXPECT_GE(dlg.windAzimuth(), -180);
        EXPECT_LE(dlg.windAzimuth(), 180);
    }
}

// On a dark theme's window the mark and the texts are white; the dial keeps the desktop's face.
TEST_F(WindDialog, DarkWindowsGetAWhiteMarkAndWhiteTexts) {
    screen.windowColour = {45, 45, 45};  // a dark theme's near black
    screen.faceColour = {53, 53, 53};
    CDlgWindDraw dlg(-90);
    auto& w = ui::openHeadless(dlg);
    ui::RecordingCanvas c = w.paint(CDlgWindDraw::kClock);
    EXPECT_EQ(c.ops[0].colour, (ui::Colour{53, 53, 53}));
    EXPECT_EQ(c.ops[1].fill, ui::kWhite);
    EXPECT_EQ(c.ops[2].fill, ui::kRed);
    for (const PaintOp* t : opsOf(c, PaintOp::Text)) EXPECT_EQ(t->colour, ui::kWhite) << t->text;
    EXPECT_EQ(c.ops.back().text, "-90°");

    screen.windowColour = {200, 200, 200};  // a light grey is no dark window
    c = w.paint(CDlgWindDraw::kClock);
    EXPECT_EQ(c.ops[1].fill, ui::kBlack);
    EXPECT_EQ(c.ops.back().colour, (ui::Colour{0, 0, 128}));
    dlg.destroy();
}

// ------------------------------------------------------------------ from the main dialog

using namespace ctkdesk;

class WindFromMainDialog : public ::testing::Test {
protected:
    void SetUp() override {
        base = fs::temp_directory_path() / ("tkdesk-wind-" + std::to_string(std::random_device{}()));
        fs::create_directories(base / "program");
    }
    void TearDown() override {
        std::error_code ec;
        fs::remove_all(base, ec);
    }
    static std::vector<std::string> outputs(const ui::HeadlessWindow& w) {
        std::vector<std::string> out;
        for (int id : {kVerticalMoa, kVerticalMil, kVerticalCm, kVerticalClicks, kHorizontalMoa, kHorizontalMil,
                       kHorizontalCm, kHorizontalClicks})
            out.push_back(w.text(id));
        return out;
    }
    fs::path base;
    ui::HeadlessBackend screen;
};

// The azimuth picked on the clock lands in the field and the corrections follow, as if typed.
TEST_F(WindFromMainDialog, OkPutsTheAzimuthInTheFieldAndComputes) {
    CtkdeskDlg dlg(base / "program", base / "data");
    auto& w = ui::openHeadless(dlg);
    w.click(kCompute);
    const std::vector<std::string> crossWind = outputs(w);
    ASSERT_EQ(w.text(kWindAzimuth), "90");
    screen.onNextModal([](ui::HeadlessWindow& s) {
        EXPECT_EQ(s.paint(CDlgWindDraw::kClock).ops.back().text, "90°");  // opens on the field's azimuth
        s.mouse(CDlgWindDraw::kClock, mouse(ui::MouseEvent::LeftDown, 122, 20));  // above the centre
        s.mouse(CDlgWindDraw::kClock, mouse(ui::MouseEvent::LeftUp, 122, 20));
        s.click(ui::kIdOk);
    });
    w.click(kWindAzimuthButton);
    EXPECT_EQ(screen.modalTitles, std::vector<std::string>{"Направление ветра"});
    EXPECT_EQ(w.text(kWindAzimuth), "0");
    const std::vector<std::string> headWind = outputs(w);
    EXPECT_NE(headWind[6], crossWind[6]);  // no cross wind, no wind drift
    // The same as typing 0 and pressing Enter.
    w.type(kWindAzimuth, "0");
    w.pressKey(kWindAzimuth, ui::kKeyReturn);
    EXPECT_EQ(outputs(w), headWind);
    EXPECT_TRUE(screen.messages.empty());
    dlg.destroy();
}

// "Отставить!" leaves the field and the corrections as they were, even after a drag.
TEST_F(WindFromMainDialog, CancelChangesNothing) {
    CtkdeskDlg dlg(base / "program", base / "data");
    auto& w = ui::openHeadless(dlg);
    w.type(kWindAzimuth, "-45");
    w.click(kCompute);
    const std::vector<std::string> before = outputs(w);
    screen.onNextModal([](ui::HeadlessWindow& s) {
        s.mouse(CDlgWindDraw::kClock, mouse(ui::MouseEvent::LeftDown, 122, 220));
        s.click(ui::kIdCancel);
    });
    w.click(kWindAzimuthButton);
    EXPECT_EQ(w.text(kWindAzimuth), "-45");
    EXPECT_EQ(outputs(w), before);
    EXPECT_DOUBLE_EQ(dlg.inputs().windAzimuth, -45);
    dlg.destroy();
}

// An azimuth field that cannot be used is said by the calculator itself, and no clock opens on it.
TEST_F(WindFromMainDialog, AnUnusableAzimuthIsRefusedBeforeTheClockOpens) {
    CtkdeskDlg dlg(base / "program", base / "data");
    auto& w = ui::openHeadless(dlg);
    const ShownInput azimuth = shownAsIs(*findInputField("wind-azimuth"));
    w.type(kWindAzimuth, "девяносто");
    w.click(kWindAzimuthButton);
    w.type(kWindAzimuth, "1e300");
    w.click(kWindAzimuthButton);
    EXPECT_TRUE(screen.modalTitles.empty());
    ASSERT_EQ(screen.messages.size(), 2u);
    EXPECT_EQ(screen.messages[0].text, ui::enterNumberMessage(azimuth.label()));
    EXPECT_EQ(screen.messages[1].text, azimuth.refusal(1e300, 1e300));
    EXPECT_EQ(w.focusedControl(), kWindAzimuth);
    EXPECT_EQ(w.text(kWindAzimuth), "1e300");
    EXPECT_DOUBLE_EQ(dlg.inputs().windAzimuth, 90);

    // Within the limits but more than a turn: the clock shows where it points.
    w.type(kWindAzimuth, "-3500");  // −260 after the whole turns: the wind from 100°
    screen.onNextModal([](ui::HeadlessWindow& s) { s.click(ui::kIdOk); });
    w.click(kWindAzimuthButton);
    EXPECT_EQ(w.text(kWindAzimuth), "100");
    dlg.destroy();
}

}  // namespace

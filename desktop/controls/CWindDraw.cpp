#include "CWindDraw.h"

#include <cmath>
#include <string>

using windclock::polarOffset;

namespace {
constexpr double kRadiansPerDegree = 3.141592653589793 / 180;

// The dial's texts: "Arial Cyr" 16 pixels high, normal for the hours, bold for the angle.
ui::Font dialFont(bool bold) {
    ui::Font f;
    f.pixelHeight = 16;
    f.face = "Arial Cyr";
    f.bold = bold;
    return f;
}

enum class HAlign { Left, Centre, Right };
enum class VAlign { Top, Centre, Bottom };

// A one-line text placed in a box (left, top, right, bottom), as it would be drawn into that box; a
// text wider or higher than the box overhangs it evenly or on the far side.
void drawTextIn(ui::Canvas& canvas, int left, int top, int right, int bottom, const std::string& text,
                ui::Colour colour, const ui::Font& font, HAlign h, VAlign v) {
    const ui::Size s = canvas.textExtent(text, font);
    const int x = h == HAlign::Left ? left : h == HAlign::Right ? right - s.width : left + (right - left - s.width) / 2;
    const int y = v == VAlign::Top ? top : v == VAlign::Bottom ? bottom - s.height : top + (bottom - top - s.height) / 2;
    canvas.drawText(x, y, text, colour, font);
}
}  // namespace

void CWindDraw::layout(ui::Size size) {
    layout_ = windclock::layoutFor(size.width, size.height);
    placeArrow();
}

void CWindDraw::setAzimuth(double azimuth) {
    theta_ = windclock::thetaOfAzimuth(azimuth);
    placeArrow();
    repaint();
}

void CWindDraw::placeArrow() {
    const int r = layout_.radius;
    rim_ = screen(polarOffset(r, theta_));
    inner_ = screen(polarOffset(static_cast<int>(r * 0.2), theta_));
}

void CWindDraw::pointAt(int x, int y) {
    theta_ = windclock::thetaOfPoint(x, y, layout_.cx, layout_.cy);
    placeArrow();
    repaint();
}

void CWindDraw::endDrag() {
    dragging_ = false;
    if (dialog_ && dialog_->isOpen() && dialog_->window().mouseCaptor() == id_) dialog_->window().releaseMouse();
}

bool CWindDraw::onMouse(const ui::MouseEvent& m) {
    if (!dialog_ || !dialog_->isOpen()) return false;
    ui::DialogWindow& w = dialog_->window();
    switch (m.type) {
        case ui::MouseEvent::LeftDown:
        case ui::MouseEvent::LeftDoubleClick:  // a quick second tap is a press like the first
            dragging_ = true;
            // Held while dragging, so that a release beyond the dial still ends the drag.
            w.captureMouse(id_);
            pointAt(m.x, m.y);
            return true;
        case ui::MouseEvent::Move:
            if (!dragging_) return false;
            // The release went elsewhere (the pointer was taken away meanwhile): the drag is over.
            if (m.leftButton)
                pointAt(m.x, m.y);
            else
                endDrag();
            return true;
        case ui::MouseEvent::LeftUp:
            if (!dragging_) return false;
            endDrag();
            return true;
        default:
            return false;
    }
}

bool CWindDraw::onPaint(ui::Canvas& canvas) {
    // The dial follows the control's size as it is now painted.
    const ui::Size size = canvas.size();
    if (windclock::layoutFor(size.width, size.height) != layout_) layout(size);
    const int cx = layout_.cx, cy = layout_.cy, r = layout_.radius;
    // The mark and the texts are light on a dark theme's windows.
    const bool dark = ui::isDark(canvas.windowColour());
    const ui::Colour mark = dark ? ui::kWhite : ui::kBlack;
    const ui::Colour hourText = dark ? ui::kWhite : ui::kBlack;
    const ui::Colour angleText = dark ? ui::kWhite : kAngleTextColour;

    canvas.fillRect(ui::Rect{0, 0, size.width, size.height}, canvas.faceColour());

    // The shooter, a triangle pointing to 12 o'clock.
    const int e = static_cast<int>(r * 0.125);
    const double cos30 = std::cos(30 * kRadiansPerDegree), sin30 = std::sin(30 * kRadiansPerDegree);
    const int baseY = static_cast<int>(cy + e * sin30);
    canvas.drawPolygon({{cx, cy - e}, {static_cast<int>(cx - e * cos30), baseY}, {static_cast<int>(cx + e * cos30), baseY}},
                       mark, mark);

    // The arrow: its point at the inner point, its base across the radius at the rim.
    const double w = r / 6 * 0.5;
    const double s = std::sin(theta_ * kRadiansPerDegree), c = std::cos(theta_ * kRadiansPerDegree);
    canvas.drawPolygon({inner_,
                        {static_cast<int>(rim_.x - w * s), static_cast<int>(rim_.y - w * c)},
                        {static_cast<int>(rim_.x + w * s), static_cast<int>(rim_.y + w * c)}},
                       kArrowColour, kArrowColour);

    // The dial: the rim, long ticks at 12, 3, 6 and 9, short ones at the other hours.
    canvas.drawEllipse(ui::Rect{cx - r, cy - r, 2 * r, 2 * r}, ui::kBlack, std::nullopt, 1);
    const int major = r / 6, minor = r / 12;
    ui::Point tickEnd[12];
    for (int h = 0; h < 12; ++h) {
        const double a = 90 - 30 * h;
        const ui::Point outer = screen(polarOffset(r, a));
        tickEnd[h] = screen(polarOffset(r - (h % 3 == 0 ? major : minor), a));
        canvas.drawLine(outer.x, outer.y, tickEnd[h].x, tickEnd[h].y, ui::kBlack, 1);
    }
    const ui::Font hours = dialFont(false);
    drawTextIn(canvas, cx - 20, tickEnd[0].y, cx + 20, tickEnd[0].y + 24, "12", hourText, hours, HAlign::Centre,
               VAlign::Top);
    drawTextIn(canvas, tickEnd[3].x - 20, cy - 20, tickEnd[3].x - 4, cy + 20, "3", hourText, hours, HAlign::Right,
               VAlign::Centre);
    drawTextIn(canvas, cx - 20, tickEnd[6].y - 20, cx + 20, tickEnd[6].y, "6", hourText, hours, HAlign::Centre,
               VAlign::Bottom);
    drawTextIn(canvas, tickEnd[9].x + 4, cy - 20, tickEnd[9].x + 20, cy + 20, "9", hourText, hours, HAlign::Left,
               VAlign::Centre);

    drawTextIn(canvas, cx - 20, cy + e, cx + 20, cy + e + 20, windclock::azimuthText(azimuth()), angleText,
               dialFont(true), HAlign::Centre, VAlign::Bottom);
    return true;
}

#include "CDlgWindDraw.h"

#include "TemplateBuilder.h"

CDlgWindDraw::CDlgWindDraw(double windAzimuth, ui::Dialog* parent)
    : ui::Dialog(makeTemplate(), parent), windAzimuth_(windAzimuth) {}

ui::DialogTemplate CDlgWindDraw::makeTemplate() {
    ui::DialogTemplate t;
    t.id = IDD;
    t.title = "Направление ветра";
    t.width = 260;
    t.height = 300;
    // Small enough for a small screen, big enough that the hours and the angle stay apart.
    t.resizable = true;
    t.minWidth = 220;
    t.minHeight = 220;
    ui::TemplateBuilder b(t);
    b.add(kClock, ui::Kind::Canvas, {}, ui::Rect{8, 8, 244, 244}, ui::kNoStyle);
    b.button(ui::kIdOk, "Так точно!", 24, 262, 100, ui::kDefault).button(ui::kIdCancel, "Отставить!", 136, 262, 100);
    return t;
}

bool CDlgWindDraw::onInitDialog() {
    clock_.attach(*this, kClock);
    clock_.setAzimuth(windAzimuth_);
    resizer_.clear();
    resizer_.add(window(), kClock, CDlgItemResizer::kLeft | CDlgItemResizer::kRight | CDlgItemResizer::kTop |
                                       CDlgItemResizer::kBottom);
    // The buttons keep to the bottom right corner.
    for (int id : {ui::kIdOk, ui::kIdCancel})
        resizer_.add(window(), id, CDlgItemResizer::kBottom | CDlgItemResizer::kRight);
    return true;
}

void CDlgWindDraw::onSize(int width, int height) {
    resizer_.resize(window(), width, height);
    clock_.relayout();
}

void CDlgWindDraw::onOK() {
    windAzimuth_ = windclock::roundedAzimuth(clock_.azimuth());
    endDialog(ui::kIdOk);
}

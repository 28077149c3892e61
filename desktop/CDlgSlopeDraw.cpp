#include "CDlgSlopeDraw.h"

#include "TemplateBuilder.h"

CDlgSlopeDraw::CDlgSlopeDraw(double angleDegrees, bool cosineMode, ui::Dialog* parent)
    : ui::Dialog(makeTemplate(), parent), angle_(angleDegrees), cosineMode_(cosineMode) {}

ui::DialogTemplate CDlgSlopeDraw::makeTemplate() {
    ui::DialogTemplate t;
    t.id = IDD;
    t.title = "Угол места цели";
    t.width = 420;
    t.height = 300;
    t.resizable = true;
    // Room for both buttons and a hill the target can be dragged on.
    t.minWidth = 300;
    t.minHeight = 230;
    ui::TemplateBuilder b(t);
    b.add(kSlopeDraw, ui::Kind::Canvas, "", {8, 8, 404, 246}, ui::kNoStyle);
    b.button(ui::kIdOk, "Так точно!", 184, 264, 110, ui::kDefault).button(ui::kIdCancel, "Отставить!", 302, 264, 110);
    return t;
}

bool CDlgSlopeDraw::onInitDialog() {
    resizer_.clear();
    resizer_.add(window(), kSlopeDraw,
                 CDlgItemResizer::kLeft | CDlgItemResizer::kRight | CDlgItemResizer::kTop | CDlgItemResizer::kBottom);
    for (int id : {ui::kIdOk, ui::kIdCancel}) resizer_.add(window(), id, CDlgItemResizer::kRight | CDlgItemResizer::kBottom);
    slopeDraw_.setCosineMode(cosineMode_);
    slopeDraw_.setAngle(angle_);
    slopeDraw_.attach(*this, kSlopeDraw);
    return true;
}

void CDlgSlopeDraw::onOK() {
    // The angle the control shows: taken from the target where the user placed it, else the one given
    // (the target's whole pixels would round it).
    angle_ = slopeDraw_.angle();
    endDialog(ui::kIdOk);
}

void CDlgSlopeDraw::onSize(int width, int height) {
    resizer_.resize(window(), width, height);
    slopeDraw_.relayout();
}

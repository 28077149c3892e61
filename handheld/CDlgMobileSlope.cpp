#include "CDlgMobileSlope.h"

using namespace mobile;

ui::DialogTemplate CDlgMobileSlope::makeTemplate() {
    ui::DialogTemplate t = frame(IDD, "Угол места цели");
    t.controls.push_back({kSlope, ui::Kind::Canvas, "", {kMargin, 60, kInner, 400}, ui::kNoStyle});
    softKeys(t, {ui::kIdOk, kOkText}, {ui::kIdCancel, kCancelText});
    return t;
}

CDlgMobileSlope::CDlgMobileSlope(double angleDegrees, bool cosineMode, ui::Dialog* parent)
    : MobileScreen(makeTemplate(), parent), angle_(angleDegrees), cosineMode_(cosineMode) {}

bool CDlgMobileSlope::onInitDialog() {
    MobileScreen::onInitDialog();
    slope_.setCosineMode(cosineMode_);
    slope_.setAngle(angle_);
    slope_.attach(*this, kSlope);
    return true;
}

void CDlgMobileSlope::onOK() {
    angle_ = slope_.angle();
    endDialog(ui::kIdOk);
}

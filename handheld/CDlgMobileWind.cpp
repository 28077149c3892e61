#include "CDlgMobileWind.h"

#include "WindClock.h"

using namespace mobile;

ui::DialogTemplate CDlgMobileWind::makeTemplate() {
    ui::DialogTemplate t = frame(IDD, "Азимут ветра");
    t.controls.push_back({kClock, ui::Kind::Canvas, "", {kMargin, 60, kInner, kInner}, ui::kNoStyle});
    softKeys(t, {ui::kIdOk, kOkText}, {ui::kIdCancel, kCancelText});
    return t;
}

CDlgMobileWind::CDlgMobileWind(double windAzimuth, ui::Dialog* parent)
    : MobileScreen(makeTemplate(), parent), windAzimuth_(windAzimuth) {}

bool CDlgMobileWind::onInitDialog() {
    MobileScreen::onInitDialog();
    clock_.attach(*this, kClock);
    clock_.setAzimuth(windAzimuth_);
    return true;
}

void CDlgMobileWind::onOK() {
    windAzimuth_ = windclock::roundedAzimuth(clock_.azimuth());
    endDialog(ui::kIdOk);
}

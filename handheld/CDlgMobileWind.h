#pragma once
#include "CWindDraw.h"
#include "MobileScreen.h"

// "Азимут ветра": the desktop's wind clock on the phone's screen. Opens on the azimuth it is given;
// "Так точно!" hands back the azimuth under the shooter mark in whole degrees.
class CDlgMobileWind : public MobileScreen {
public:
    enum : int { IDD = 270, kClock = 1001 };
    CDlgMobileWind(double windAzimuth, ui::Dialog* parent);
    static ui::DialogTemplate makeTemplate();
    double windAzimuth() const { return windAzimuth_; }
    const CWindDraw& clock() const { return clock_; }

protected:
    bool onInitDialog() override;
    void onOK() override;

private:
    double windAzimuth_;
    CWindDraw clock_;
};

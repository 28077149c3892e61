#pragma once
#include "CSlopeDraw.h"
#include "MobileScreen.h"

// "Угол места цели": the desktop's slope picture on the phone's screen, in degrees or as a cosine.
// "Так точно!" hands back the angle where the target was put, in degrees.
class CDlgMobileSlope : public MobileScreen {
public:
    enum : int { IDD = 271, kSlope = 1001 };
    CDlgMobileSlope(double angleDegrees, bool cosineMode, ui::Dialog* parent);
    static ui::DialogTemplate makeTemplate();
    double angle() const { return angle_; }

protected:
    bool onInitDialog() override;
    void onOK() override;

private:
    double angle_;
    bool cosineMode_;
    CSlopeDraw slope_;
};

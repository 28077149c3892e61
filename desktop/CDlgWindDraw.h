#pragma once
#include "CDlgItemResizer.h"
#include "CWindDraw.h"
#include "Dialog.h"

// "Направление ветра": the wind azimuth set on a clock face. Opens on the azimuth it is given and
// hands back, after "Так точно!", the azimuth under the shooter mark in whole degrees.
class CDlgWindDraw : public ui::Dialog {
public:
    enum : int {
        IDD = 162,
        kClock = 1137,
    };

    explicit CDlgWindDraw(double windAzimuth, ui::Dialog* parent = nullptr);
    static ui::DialogTemplate makeTemplate();

    // After "Так точно!": whole degrees, −180...180.
    double windAzimuth() const { return windAzimuth_; }
    const CWindDraw& clock() const { return clock_; }

protected:
    bool onInitDialog() override;
    void onOK() override;
    void onSize(int width, int height) override;

private:
    double windAzimuth_;
    CWindDraw clock_;
    CDlgItemResizer resizer_;
};

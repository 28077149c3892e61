#pragma once
#include "CDlgItemResizer.h"
#include "CSlopeDraw.h"
#include "Dialog.h"

// "Угол места цели": the target angle picked by dragging the target up or down the hill. Given the
// main dialog's angle in degrees and whether it shows the cosine; hands back the angle after
// "Так точно!", "Отставить!" hands back nothing.
class CDlgSlopeDraw : public ui::Dialog {
public:
    enum : int { IDD = 163, kSlopeDraw = 1140 };

    CDlgSlopeDraw(double angleDegrees, bool cosineMode, ui::Dialog* parent = nullptr);
    static ui::DialogTemplate makeTemplate();

    // Degrees, positive upwards, within the target-angle field's limits.
    double angle() const { return angle_; }
    const CSlopeDraw& slopeDraw() const { return slopeDraw_; }

protected:
    bool onInitDialog() override;
    void onOK() override;
    void onSize(int width, int height) override;

private:
    double angle_;
    bool cosineMode_;
    CSlopeDraw slopeDraw_;
    CDlgItemResizer resizer_;
};

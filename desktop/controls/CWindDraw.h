#pragma once
#include "CDraggedCanvas.h"
#include "WindClock.h"

// The wind clock: a dial with the hours 12, 3, 6 and 9, the shooter mark in the centre and a red arrow
// from the rim towards the centre, showing where the wind comes from. A press on the dial turns the
// arrow to the pointer, a drag turns it along; the azimuth under the shooter mark follows.
//
// The dial is laid out from the control's current size: it grows and shrinks with its dialog.
class CWindDraw : public CDraggedCanvas {
public:
    static constexpr ui::Colour kArrowColour{255, 0, 0};
    static constexpr ui::Colour kAngleTextColour{0, 0, 128};

    CWindDraw() { placeArrow(); }

    void setAzimuth(double azimuth);
    double azimuth() const { return windclock::azimuthOfTheta(theta_); }
    double theta() const { return theta_; }
    const windclock::Layout& layout() const { return layout_; }
    // The arrow's ends in the control's coordinates.
    ui::Point rimPoint() const { return rim_; }
    ui::Point innerPoint() const { return inner_; }

    // ui::ControlHandler
    bool onMouse(const ui::MouseEvent& m) override;
    bool onPaint(ui::Canvas& canvas) override;

private:
    void layout(ui::Size size) override;
    void placeArrow();
    void pointAt(int x, int y);
    void endDrag();
    ui::Point screen(windclock::Offset o) const { return {layout_.cx + o.x, layout_.cy - o.y}; }

    windclock::Layout layout_;
    double theta_ = 30.0;
    ui::Point rim_;
    ui::Point inner_;
};

#pragma once
#include "CDraggedCanvas.h"
#include "SlopeGeometry.h"

// The target-angle picker's drawing: a side view with the horizon, the shooter at the left edge and a
// target the user drags up or down the hill; the red line of sight shows the angle, written in the
// corner in degrees ("12 град.") or as its cosine ("cos = 0.978").
//
// The picture is laid out from the control's current size; the target follows the angle whenever the
// size changes, except during a drag.
class CSlopeDraw : public CDraggedCanvas {
public:
    static constexpr ui::Colour kSightLine{255, 0, 0};

    CSlopeDraw() = default;

    // Degrees, positive upwards; the target is placed for it (not while dragging).
    void setAngle(double degrees);
    double angle() const { return angle_; }
    void setCosineMode(bool on);
    bool cosineMode() const { return cosine_; }
    // "12 град." or "cos = 0.978".
    std::string angleText() const;

    slope::Pixel target() const { return target_; }
    slope::Pixel shooter() const { return slope::Pixel{0, size_.height / 2}; }
    ui::Size size() const { return size_; }

    // ui::ControlHandler
    bool onMouse(const ui::MouseEvent& m) override;
    bool onPaint(ui::Canvas& canvas) override;

private:
    void layout(ui::Size size) override;
    void placeTarget(int x, int y);
    void endDrag();

    ui::Size size_{200, 100};
    slope::Pixel target_;
    double angle_ = 0.0;
    bool cosine_ = false;
};

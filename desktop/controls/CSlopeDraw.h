#pragma once
#include "Dialog.h"
#include "SlopeGeometry.h"

// The target-angle picker's drawing: a side view with the horizon, the shooter at the left edge and a
// target the user drags up or down the hill; the red line of sight shows the angle, written in the
// corner in degrees ("12 град.") or as its cosine ("cos = 0.978").
//
// The picture is laid out from the control's current size; the target follows the angle whenever the
// size changes, except during a drag.
class CSlopeDraw : public ui::ControlHandler {
public:
    static constexpr ui::Colour kSightLine{255, 0, 0};

    CSlopeDraw() = default;
    ~CSlopeDraw() override;
    CSlopeDraw(const CSlopeDraw&) = delete;
    CSlopeDraw& operator=(const CSlopeDraw&) = delete;

    // Takes over the canvas `id` of the dialog's window (open now), laid out from its size.
    void attach(ui::Dialog& dialog, int id);
    void detach();

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
    bool dragging() const { return dragging_; }
    // Lays the picture out anew for the control's current size (the dialog calls it after resizing).
    void relayout();


    // ui::ControlHandler
    bool onMouse(const ui::MouseEvent& m) override;
    bool onPaint(ui::Canvas& canvas) override;

private:
    void layout(ui::Size size);
    void placeTarget(int x, int y);
    void endDrag();
    void repaint();

    ui::Dialog* dialog_ = nullptr;
    int id_ = ui::kStaticId;
    ui::Size size_{200, 100};
    slope::Pixel target_;
    double angle_ = 0.0;
    bool cosine_ = false;
    bool dragging_ = false;
};

#pragma once
#include "Dialog.h"
#include "WindClock.h"

// The wind clock: a dial with the hours 12, 3, 6 and 9, the shooter mark in the centre and a red arrow
// from the rim towards the centre, showing where the wind comes from. A press on the dial turns the
// arrow to the pointer, a drag turns it along; the azimuth under the shooter mark follows.
//
// The dial is laid out from the control's current size: it grows and shrinks with its dialog.
class CWindDraw : public ui::ControlHandler {
public:
    static constexpr ui::Colour kArrowColour{255, 0, 0};
    static constexpr ui::Colour kAngleTextColour{0, 0, 128};

    CWindDraw() { placeArrow(); }
    ~CWindDraw() override;
    CWindDraw(const CWindDraw&) = delete;
    CWindDraw& operator=(const CWindDraw&) = delete;

    // Takes over the canvas `id` of the dialog's window (open now).
    void attach(ui::Dialog& dialog, int id);
    void detach();
    // The control changed size (the dialog was resized): the dial is laid out again.
    void relayout();

    void setAzimuth(double azimuth);
    double azimuth() const { return windclock::azimuthOfTheta(theta_); }
    double theta() const { return theta_; }
    const windclock::Layout& layout() const { return layout_; }
    // The arrow's ends in the control's coordinates.
    ui::Point rimPoint() const { return rim_; }
    ui::Point innerPoint() const { return inner_; }
    bool dragging() const { return dragging_; }

    // ui::ControlHandler
    bool onMouse(const ui::MouseEvent& m) override;
    bool onPaint(ui::Canvas& canvas) override;

private:
    void layOut(ui::Size size);
    void placeArrow();
    void pointAt(int x, int y);
    void endDrag();
    void repaint();
    ui::Point screen(windclock::Offset o) const { return {layout_.cx + o.x, layout_.cy - o.y}; }

    ui::Dialog* dialog_ = nullptr;
    int id_ = ui::kStaticId;
    windclock::Layout layout_;
    double theta_ = 30.0;
    ui::Point rim_;
    ui::Point inner_;
    bool dragging_ = false;
};

#pragma once
#include <string>
#include <vector>

#include "Dialog.h"
#include "ScopePlot.h"

// The curve plot control: a drag function's curve over its grid, painted on a canvas control of a
// dialog. It keeps what is drawn (range, points, colours, title, caption) and paints the picture of
// ScopePlot at every paint, laid out from the control's size at that moment.
class COScopeCtrl : public ui::ControlHandler {
public:
    COScopeCtrl() = default;
    ~COScopeCtrl() override;
    COScopeCtrl(const COScopeCtrl&) = delete;
    COScopeCtrl& operator=(const COScopeCtrl&) = delete;

    // Takes over the canvas `id` of the dialog's window (open now).
    void attach(ui::Dialog& dialog, int id);
    void detach();

    // y from `lower` to `upper`, x from `xMin` to `xMax` rounded up (see scopeplot::rangeOf).
    void setRange(double lower, double upper, double xMin, double xMax);
    void setCurve(std::vector<DragElement> points);
    void setColours(const scopeplot::Colours& colours);
    void setTitle(scopeplot::Title title);
    void setCaption(const std::string& utf8);
    // How the drag function windows show a function's points: their colours, the drag-coefficient
    // title, y from 0 to 1.25 times the largest Cd, x from 0 (or the first point's Mach) to the last;
    // the caption stays.
    void showDragCurve(std::vector<DragElement> points, bool fromFirstPoint);

    const scopeplot::Plot& plot() const { return plot_; }

    // ui::ControlHandler
    bool onPaint(ui::Canvas& canvas) override;

private:
    void repaint();

    ui::Dialog* dialog_ = nullptr;
    int id_ = ui::kStaticId;
    scopeplot::Plot plot_;
};

#pragma once
#include "Dialog.h"

// A picture the user points at and drags on (the wind clock, the target-angle picker): it takes over
// one canvas of an open dialog, is laid out from the canvas's current size, and holds the mouse while
// a drag lasts, which detaching ends.
class CDraggedCanvas : public ui::ControlHandler {
public:
    CDraggedCanvas() = default;
    ~CDraggedCanvas() override;
    CDraggedCanvas(const CDraggedCanvas&) = delete;
    CDraggedCanvas& operator=(const CDraggedCanvas&) = delete;

    // Takes over the canvas `id` of the dialog's window (open now), laid out from its size.
    void attach(ui::Dialog& dialog, int id);
    void detach();
    // Lays the picture out anew for the canvas's current size (the dialog calls it after resizing).
    void relayout();
    bool dragging() const { return dragging_; }

protected:
    virtual void layout(ui::Size size) = 0;
    void repaint();

    ui::Dialog* dialog_ = nullptr;
    int id_ = ui::kStaticId;
    bool dragging_ = false;
};

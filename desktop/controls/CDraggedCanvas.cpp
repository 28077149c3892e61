#include "CDraggedCanvas.h"

CDraggedCanvas::~CDraggedCanvas() { detach(); }

void CDraggedCanvas::attach(ui::Dialog& dialog, int id) {
    detach();
    dialog_ = &dialog;
    id_ = id;
    dialog.attach(id, this);
    relayout();
}

void CDraggedCanvas::detach() {
    if (dialog_ && dialog_->isOpen()) {
        if (dialog_->window().mouseCaptor() == id_) dialog_->window().releaseMouse();
        dialog_->attach(id_, nullptr);
    }
    dialog_ = nullptr;
    id_ = ui::kStaticId;
    dragging_ = false;
}

void CDraggedCanvas::relayout() {
    if (!dialog_ || !dialog_->isOpen()) return;
    const ui::Rect r = dialog_->window().controlRect(id_);
    layout(ui::Size{r.width, r.height});
    repaint();
}

void CDraggedCanvas::repaint() {
    if (dialog_ && dialog_->isOpen()) dialog_->window().refresh(id_);
}

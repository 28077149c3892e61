#include "CDlgItemResizer.h"

#include <algorithm>

void CDlgItemResizer::add(const ui::DialogWindow& window, int id, unsigned anchors) {
    if (entries_.empty()) initial_ = window.clientSize();
    const ui::Rect rect = window.controlRect(id);
    for (auto& e : entries_)
        if (e.id == id) {
            e.rect = rect;
            e.anchors = anchors;
            return;
        }
    entries_.push_back(Entry{id, rect, anchors});
}

void CDlgItemResizer::clear() {
    entries_.clear();
    initial_ = {};
}

ui::Rect CDlgItemResizer::place(const ui::Rect& rect, unsigned anchors, int dw, int dh, ui::Size client) {
    ui::Rect r = rect;
    const bool left = anchors & kLeft;
    const bool right = anchors & kRight;
    const bool top = anchors & kTop;
    const bool bottom = anchors & kBottom;
    if (left && right)
        r.width += dw;
    else if (right)
        r.x += dw;
    if (top && bottom)
        r.height += dh;
    else if (bottom)
        r.y += dh;
    // A dialog made smaller than it started cannot give a stretched control less than nothing.
    r.width = std::max(r.width, 0);
    r.height = std::max(r.height, 0);
    if (anchors & kKeepInside) {
        // Past the right or bottom edge the control is moved back in; when it is larger than the
        // client area it sits at the left or top edge and is cut to fit.
        r.x = std::max(0, std::min(r.x, client.width - r.width));
        r.y = std::max(0, std::min(r.y, client.height - r.height));
        r.width = std::min(r.width, std::max(client.width - r.x, 0));
        r.height = std::min(r.height, std::max(client.height - r.y, 0));
    }
    return r;
}

void CDlgItemResizer::resize(ui::DialogWindow& window, int width, int height) const {
    if (entries_.empty() || window.isMinimized() || (width <= 0 && height <= 0)) return;
    const int dw = width - initial_.width;
    const int dh = height - initial_.height;
    for (const auto& e : entries_) {
        if (!window.hasControl(e.id)) continue;
        const ui::Rect now = window.controlRect(e.id);
        const ui::Rect next = place(e.rect, e.anchors, dw, dh, ui::Size{width, height});
        if (next == now) continue;
        window.moveControl(e.id, next);
        // Moving uncovers the old place, which the toolkit repaints as part of the dialog; the
        // control itself is repainted at the new one.
        window.refresh(e.id);
    }
}

#pragma once
#include <vector>

#include "DialogWindow.h"

// Keeps a resizable dialog's controls where they belong as the dialog changes size: each control is
// anchored to some of the dialog's edges and keeps its distance to them. The dialog adds its controls
// in onInitDialog and calls resize() from onSize.
class CDlgItemResizer {
public:
    enum Anchor : unsigned {
        kLeft = 1,
        kRight = 2,
        kTop = 4,
        kBottom = 8,
        kKeepInside = 16,  // kept within the client area (see place())
    };

    struct Entry {
        int id = 0;
        ui::Rect rect;  // where the control was when added, in dialog client coordinates
        unsigned anchors = 0;
    };

    // Records the control's place; the first call also records the dialog's client size, which every
    // later size is measured against.
    void add(const ui::DialogWindow& window, int id, unsigned anchors);
    // Moves and sizes every control for the dialog's new client size (as onSize reports it). Nothing
    // changes while the dialog is minimised.
    void resize(ui::DialogWindow& window, int width, int height) const;
    // Forgets everything: the dialog's window is made anew.
    void clear();

    const std::vector<Entry>& entries() const { return entries_; }
    ui::Size initialSize() const { return initial_; }

    // Where a control added at `rect` goes when the client area is `dw` wider and `dh` higher than it
    // was at first and now measures `client`.
    static ui::Rect place(const ui::Rect& rect, unsigned anchors, int dw, int dh, ui::Size client);

private:
    ui::Size initial_;
    std::vector<Entry> entries_;
};

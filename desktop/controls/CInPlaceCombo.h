#pragma once
#include <string>
#include <vector>

#include "CInPlaceEditor.h"

// The drop-down list that edits a list cell in place, for columns that take one of a few values.
// There is one for the whole program: its window control is made over the cell in whichever dialog
// is editing and removed when editing ends (the focus leaves it, the drop-down closes, Enter or
// Escape).
class CInPlaceCombo : public CInPlaceEditor {
public:
    // The id of the drop-down list's control in the dialog that edits.
    static constexpr int kControlId = 32102;

    static CInPlaceCombo& instance();

    struct Request {
        CComboListCtrl* list = nullptr;
        int item = -1;
        int column = -1;
        ui::Rect rect;  // dialog client coordinates, with the height of the open list
        std::vector<std::string> items;
        std::string text;  // the cell's text before editing
        unsigned style = ui::kNoStyle;
        ui::Font font;
    };
    // Shows the list over the cell with the cell's text selected, and gives it the focus. Editing
    // still open elsewhere is ended first.
    void begin(const Request& r);

    const std::vector<std::string>& items() const { return items_; }

    // ui::ControlHandler
    bool onNotify(ui::Notify n) override;

private:
    CInPlaceCombo() : CInPlaceEditor(kControlId) {}
    // The chosen item; with nothing chosen (the cell held a value the list does not offer) the cell
    // keeps its text rather than being emptied.
    std::string editedText() const override;
    void forget() override;

    std::vector<std::string> items_;
};

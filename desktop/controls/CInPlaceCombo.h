#pragma once
#include <string>
#include <vector>

#include "Dialog.h"

class CComboListCtrl;

// The drop-down list that edits a list cell in place, for columns that take one of a few values.
// There is one for the whole program: its window control is made over the cell in whichever dialog
// is editing and removed when editing ends (the focus leaves it, the drop-down closes, Enter or
// Escape).
class CInPlaceCombo : public ui::ControlHandler {
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

    bool isActive() const { return list_ != nullptr; }
    CComboListCtrl* list() const { return list_; }
    int item() const { return item_; }
    int column() const { return column_; }
    bool escapePressed() const { return escape_; }
    const std::vector<std::string>& items() const { return items_; }
    const std::string& textBefore() const { return textBefore_; }

    // Ends editing as a loss of focus does: the list gets the chosen text (the old one after
    // Escape). When the editor's control is gone (its window was closed) editing is only forgotten.
    void end();
    // Closes the editor without telling the list: the list is going away or taking a new window.
    void cancel();

    // ui::ControlHandler
    bool onNotify(ui::Notify n) override;
    bool onKeyDown(const ui::KeyEvent& k) override;

private:
    CInPlaceCombo() = default;
    void returnFocus();
    void forget();

    CComboListCtrl* list_ = nullptr;
    ui::Dialog* dialog_ = nullptr;
    int item_ = -1;
    int column_ = -1;
    bool escape_ = false;
    std::vector<std::string> items_;
    std::string textBefore_;
};

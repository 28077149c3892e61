#pragma once
#include <string>

#include "Dialog.h"

class CComboListCtrl;

// The text box that edits a list cell in place. There is one for the whole program: its window
// control is made over the cell in whichever dialog is editing and removed when editing ends (the
// focus leaves it; Enter and Escape send the focus back to the list).
class CInPlaceEdit : public ui::ControlHandler {
public:
    // The id of the text box's control in the dialog that edits.
    static constexpr int kControlId = 32101;

    static CInPlaceEdit& instance();

    struct Request {
        CComboListCtrl* list = nullptr;
        int item = -1;
        int column = -1;
        ui::Rect rect;           // dialog client coordinates
        std::string text;        // the cell's text before editing
        std::string validChars;  // UTF-8; empty: any
        unsigned style = ui::kNoStyle;
        ui::Font font;
    };
    // Shows the text box over the cell, with the text all selected and the focus. Editing still open
    // elsewhere is ended first.
    void begin(const Request& r);

    bool isActive() const { return list_ != nullptr; }
    CComboListCtrl* list() const { return list_; }
    int item() const { return item_; }
    int column() const { return column_; }
    bool escapePressed() const { return escape_; }
    const std::string& validChars() const { return validChars_; }
    const std::string& textBefore() const { return textBefore_; }

    // Ends editing as a loss of focus does: the list gets the text (the old one after Escape). When
    // the editor's control is gone (its window was closed) editing is only forgotten.
    void end();
    // Closes the editor without telling the list: the list is going away or taking a new window.
    void cancel();

    // ui::ControlHandler
    bool onNotify(ui::Notify n) override;
    bool onKeyDown(const ui::KeyEvent& k) override;
    bool onChar(char32_t c) override;
    bool onPaste() override;

private:
    CInPlaceEdit() = default;
    bool accepts(char32_t c) const;
    // Gives the focus back to the list; that ends editing.
    void returnFocus();
    void forget();

    CComboListCtrl* list_ = nullptr;
    ui::Dialog* dialog_ = nullptr;
    int item_ = -1;
    int column_ = -1;
    bool escape_ = false;
    std::string validChars_;
    std::u32string valid32_;
    std::string textBefore_;
};

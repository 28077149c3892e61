#pragma once
#include <string>

#include "CInPlaceEditor.h"

// The text box that edits a list cell in place. There is one for the whole program: its window
// control is made over the cell in whichever dialog is editing and removed when editing ends (the
// focus leaves it; Enter and Escape send the focus back to the list).
class CInPlaceEdit : public CInPlaceEditor {
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

    const std::string& validChars() const { return validChars_; }

    // ui::ControlHandler
    bool onNotify(ui::Notify n) override;
    bool onChar(char32_t c) override;
    bool onPaste() override;

private:
    CInPlaceEdit() : CInPlaceEditor(kControlId) {}
    std::string editedText() const override;
    bool accepts(char32_t c) const;

    std::string validChars_;
    std::u32string valid32_;
};

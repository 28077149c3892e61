#pragma once
#include <string>

#include "Dialog.h"

class CComboListCtrl;

// What the list's two in-place editors share: the cell being edited, the control made over it in the
// editing dialog, and how editing ends (loss of focus; Enter and Escape give the focus back to the
// list; after Escape the list gets the text the cell had before).
class CInPlaceEditor : public ui::ControlHandler {
public:
    bool isActive() const { return list_ != nullptr; }
    CComboListCtrl* list() const { return list_; }
    int item() const { return item_; }
    int column() const { return column_; }
    bool escapePressed() const { return escape_; }
    const std::string& textBefore() const { return textBefore_; }

    // Ends editing as a loss of focus does: the list gets the edited text (the old one after Escape).
    // When the editor's control is gone (its window was closed) editing is only forgotten.
    void end();
    // Closes the editor without telling the list: the list is going away or taking a new window.
    void cancel();

    // ui::ControlHandler
    bool onKeyDown(const ui::KeyEvent& k) override;

protected:
    explicit CInPlaceEditor(int controlId) : controlId_(controlId) {}
    ~CInPlaceEditor() override = default;

    // Takes the cell; false (nothing taken) when the list has no open dialog.
    bool start(CComboListCtrl* list, int item, int column, const std::string& textBefore);
    // The text the list gets when editing ends without Escape, read from the editor's control.
    virtual std::string editedText() const = 0;
    // Forgets the cell (an editor with more state forgets that too).
    virtual void forget();
    // Gives the focus back to the list; that ends editing.
    void returnFocus();

    ui::Dialog* dialog_ = nullptr;

private:
    const int controlId_;
    CComboListCtrl* list_ = nullptr;
    int item_ = -1;
    int column_ = -1;
    bool escape_ = false;
    std::string textBefore_;
};

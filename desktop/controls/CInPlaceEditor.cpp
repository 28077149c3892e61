#include "CInPlaceEditor.h"

#include "CComboListCtrl.h"

bool CInPlaceEditor::start(CComboListCtrl* list, int item, int column, const std::string& textBefore) {
    if (isActive()) end();
    if (!list || !list->dialog() || !list->dialog()->isOpen()) return false;
    list_ = list;
    dialog_ = list->dialog();
    item_ = item;
    column_ = column;
    escape_ = false;
    textBefore_ = textBefore;
    return true;
}

void CInPlaceEditor::end() {
    if (!isActive()) return;
    CComboListCtrl* list = list_;
    const int item = item_;
    const int column = column_;
    if (!dialog_->isOpen() || !dialog_->window().hasControl(controlId_)) {
        forget();
        return;
    }
    const std::string text = escape_ ? textBefore_ : editedText();
    // Closed before the list hears of it, so that whatever the list's owner does next (a message box,
    // editing another cell) finds no editor open.
    cancel();
    list->endEditing(item, column, text);
}

void CInPlaceEditor::forget() {
    list_ = nullptr;
    dialog_ = nullptr;
    item_ = column_ = -1;
    escape_ = false;
}

void CInPlaceEditor::cancel() {
    ui::Dialog* dialog = dialog_;
    forget();
    if (dialog && dialog->isOpen()) {
        dialog->attach(controlId_, nullptr);
        dialog->window().destroyControl(controlId_);
    }
}

void CInPlaceEditor::returnFocus() {
    if (!isActive()) return;
    const int listId = list_->id();
    if (dialog_->isOpen()) dialog_->window().setFocus(listId);
    // A toolkit may report the loss of focus later, or not at all when the list could not take it.
    end();
}

bool CInPlaceEditor::onKeyDown(const ui::KeyEvent& k) {
    if (!isActive()) return false;
    // Enter and Escape end the editing here; the dialog must not take them for OK or Cancel.
    if (k.key == ui::kKeyEscape) {
        escape_ = true;
        returnFocus();
        return true;
    }
    if (k.key == ui::kKeyReturn) {
        returnFocus();
        return true;
    }
    return false;
}

#include "CInPlaceCombo.h"

#include <algorithm>

#include "CComboListCtrl.h"

CInPlaceCombo& CInPlaceCombo::instance() {
    static CInPlaceCombo combo;
    return combo;
}

void CInPlaceCombo::begin(const Request& r) {
    if (isActive()) end();
    if (!r.list || !r.list->dialog() || !r.list->dialog()->isOpen()) return;
    list_ = r.list;
    dialog_ = r.list->dialog();
    item_ = r.item;
    column_ = r.column;
    escape_ = false;
    items_ = r.items;
    textBefore_ = r.text;

    ui::DialogWindow& w = dialog_->window();
    w.createControl(ui::ControlTemplate{kControlId, ui::Kind::DropList, {}, r.rect, r.style});
    dialog_->attach(kControlId, this);
    w.setFont(kControlId, r.font);
    w.clearItems(kControlId);
    for (const auto& item : items_) w.addItem(kControlId, item);
    const auto it = std::find(items_.begin(), items_.end(), r.text);
    w.setSelection(kControlId, it == items_.end() ? -1 : static_cast<int>(it - items_.begin()));
    w.setFocus(kControlId);
}

void CInPlaceCombo::end() {
    if (!isActive()) return;
    CComboListCtrl* list = list_;
    const int item = item_;
    const int column = column_;
    if (!dialog_->isOpen() || !dialog_->window().hasControl(kControlId)) {
        forget();
        return;
    }
    std::string text = textBefore_;
    // With nothing chosen (the cell held a value the list does not offer) the cell keeps its text
    // rather than being emptied.
    const int sel = dialog_->window().selection(kControlId);
    if (!escape_ && sel >= 0) text = dialog_->window().itemText(kControlId, sel);
    // Closed before the list hears of it, so that whatever the list's owner does next finds no
    // editor open.
    cancel();
    list->endEditing(item, column, text);
}

void CInPlaceCombo::forget() {
    list_ = nullptr;
    dialog_ = nullptr;
    item_ = column_ = -1;
    escape_ = false;
    items_.clear();
}

void CInPlaceCombo::cancel() {
    ui::Dialog* dialog = dialog_;
    forget();
    if (dialog && dialog->isOpen()) {
        dialog->attach(kControlId, nullptr);
        dialog->window().destroyControl(kControlId);
    }
}

void CInPlaceCombo::returnFocus() {
    if (!isActive()) return;
    const int listId = list_->id();
    if (dialog_->isOpen()) dialog_->window().setFocus(listId);
    // A toolkit may report the loss of focus later, or not at all when the list could not take it.
    end();
}

bool CInPlaceCombo::onNotify(ui::Notify n) {
    if (n == ui::Notify::KillFocus) end();
    if (n == ui::Notify::DropDownClosed) returnFocus();
    return true;  // the editor is ours: the dialog has no use for its events
}

bool CInPlaceCombo::onKeyDown(const ui::KeyEvent& k) {
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

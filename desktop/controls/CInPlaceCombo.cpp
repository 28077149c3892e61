#include "CInPlaceCombo.h"

#include <algorithm>

#include "CComboListCtrl.h"

CInPlaceCombo& CInPlaceCombo::instance() {
    static CInPlaceCombo combo;
    return combo;
}

void CInPlaceCombo::begin(const Request& r) {
    if (!start(r.list, r.item, r.column, r.text)) return;
    items_ = r.items;

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

std::string CInPlaceCombo::editedText() const {
    const int sel = dialog_->window().selection(kControlId);
    return sel >= 0 ? dialog_->window().itemText(kControlId, sel) : textBefore();
}

void CInPlaceCombo::forget() {
    CInPlaceEditor::forget();
    items_.clear();
}

bool CInPlaceCombo::onNotify(ui::Notify n) {
    if (n == ui::Notify::KillFocus) end();
    if (n == ui::Notify::DropDownClosed) returnFocus();
    return true;  // the editor is ours: the dialog has no use for its events
}

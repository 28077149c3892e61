#include "CComboListCtrl.h"

#include <algorithm>

#include "CInPlaceCombo.h"
#include "CInPlaceEdit.h"

CComboListCtrl::CComboListCtrl() = default;

CComboListCtrl::~CComboListCtrl() { detach(); }

void CComboListCtrl::attach(ui::Dialog& dialog, int id) {
    detach();
    dialog_ = &dialog;
    id_ = id;
    dialog.attach(id, this);
    if (font_ != ui::Font{}) dialog.window().setFont(id, font_);
}

void CComboListCtrl::detach() {
    // An editor still open for this list belonged to its old window (or to a list going away): it is
    // closed without writing anything.
    if (CInPlaceEdit::instance().list() == this) CInPlaceEdit::instance().cancel();
    if (CInPlaceCombo::instance().list() == this) CInPlaceCombo::instance().cancel();
    if (dialog_ && dialog_->isOpen()) dialog_->attach(id_, nullptr);
    dialog_ = nullptr;
    id_ = ui::kStaticId;
}

void CComboListCtrl::addComboColumn(int column) {
    if (!isCombo(column)) comboColumns_.push_back(column);
}

bool CComboListCtrl::isCombo(int column) const {
    return std::find(comboColumns_.begin(), comboColumns_.end(), column) != comboColumns_.end();
}

void CComboListCtrl::addReadOnlyColumn(int column) {
    if (!isReadOnly(column)) readOnlyColumns_.push_back(column);
}

bool CComboListCtrl::isReadOnly(int column) const {
    return std::find(readOnlyColumns_.begin(), readOnlyColumns_.end(), column) != readOnlyColumns_.end();
}

void CComboListCtrl::setFont(const ui::Font& font) {
    font_ = font;
    if (dialog_ && dialog_->isOpen()) dialog_->window().setFont(id_, font_);
}

bool CComboListCtrl::isEditing() const {
    return CInPlaceEdit::instance().list() == this || CInPlaceCombo::instance().list() == this;
}

bool CComboListCtrl::editsInPlace() const {
    if (!dialog_) return false;
    for (const auto& c : dialog_->dialogTemplate().controls)
        if (c.id == id_) return c.kind == ui::Kind::ListView && (c.style & ui::kEditLabels);
    return false;
}

bool CComboListCtrl::onListClick(const ui::MouseEvent& m) {
    if (!dialog_ || !dialog_->isOpen() || m.type != ui::MouseEvent::LeftDown || !editsInPlace()) return false;
    ui::DialogWindow& w = dialog_->window();
    const ui::ListHit hit = w.hitTest(id_, m.x, m.y);
    if (hit.row < 0 || hit.column < 0) {
        // Beside every cell: the open editor ends as if it had lost the focus.
        if (CInPlaceEdit::instance().list() == this) CInPlaceEdit::instance().end();
        if (CInPlaceCombo::instance().list() == this) CInPlaceCombo::instance().end();
        return false;
    }
    // Shift and Control extend the selection: the list's own business.
    if (m.shift || m.control) return false;
    // The first click on a row selects it; only a click on a row already selected edits.
    const std::vector<int> selected = w.selectedRows(id_);
    if (std::find(selected.begin(), selected.end(), hit.row) == selected.end()) return false;
    if (isReadOnly(hit.column) || w.columnWidth(id_, hit.column) < kMinColumnWidth) return false;
    // The list's own handling of the click would leave only this row selected; it is done here so
    // that the list does not take the focus back from the editor afterwards.
    selectOnly(hit.row);
    editCell(hit.row, hit.column);
    return true;
}

void CComboListCtrl::selectOnly(int item) {
    ui::DialogWindow& w = dialog_->window();
    bool changed = false;
    for (int row : w.selectedRows(id_))
        if (row != item) {
            w.selectRow(id_, row, false);
            changed = true;
        }
    w.selectRow(id_, item, true);
    if (changed) dialog_->handleCommand(id_, ui::Notify::ItemChanged);
}

ui::Rect CComboListCtrl::scrollCellIntoView(int item, int column) {
    ui::DialogWindow& w = dialog_->window();
    w.ensureRowVisible(id_, item);
    const ui::Rect list = w.controlRect(id_);
    ui::Rect cell = w.cellRect(id_, item, column);
    // Horizontally the whole column, or its left part when it is wider than the list.
    const int left = cell.x - list.x;
    int dx = 0;
    if (left < 0)
        dx = left;
    else if (left + cell.width > list.width)
        dx = std::min(left + cell.width - list.width, left);
    if (dx != 0) {
        w.scrollList(id_, dx, 0);
        cell = w.cellRect(id_, item, column);
    }
    // The editor stays within the list.
    if (cell.x < list.x) {
        cell.width -= list.x - cell.x;
        cell.x = list.x;
    }
    if (cell.right() > list.right()) cell.width = list.right() - cell.x;
    return cell;
}

bool CComboListCtrl::editCell(int item, int column) {
    if (!dialog_ || !dialog_->isOpen() || !editsInPlace()) return false;
    // Whatever is being edited ends first: its owner may change the list when told.
    if (CInPlaceEdit::instance().isActive()) CInPlaceEdit::instance().end();
    if (CInPlaceCombo::instance().isActive()) CInPlaceCombo::instance().end();
    if (!dialog_ || !dialog_->isOpen()) return false;

    ui::DialogWindow& w = dialog_->window();
    if (item < 0 || item >= w.rowCount(id_) || column < 0 || column >= w.columnCount(id_)) return false;
    if (isReadOnly(column) || w.columnWidth(id_, column) < kMinColumnWidth) return false;

    const ui::Rect cell = scrollCellIntoView(item, column);
    const std::string text = w.cell(id_, item, column);
    if (isCombo(column)) {
        CInPlaceCombo::Request r;
        r.list = this;
        r.item = item;
        r.column = column;
        if (comboItems_) comboItems_(column, r.items);
        // A drop-down list's height is the height it has open: room for its items below the cell.
        const int count = static_cast<int>(r.items.size());
        r.rect = cell;
        r.rect.height += w.rowHeight(id_) * (count < 10 ? count + 10 : 11);
        r.text = text;
        r.style = comboStyle_;
        r.font = font_;
        CInPlaceCombo::instance().begin(r);
        return true;
    }
    CInPlaceEdit::Request r;
    r.list = this;
    r.item = item;
    r.column = column;
    r.rect = cell;
    r.text = text;
    r.validChars = validChars_;
    r.style = editStyle_;
    r.font = font_;
    CInPlaceEdit::instance().begin(r);
    return true;
}

void CComboListCtrl::endEditing(int item, int column, const std::string& text) {
    if (!dialog_ || !dialog_->isOpen()) return;
    dialog_->window().setCell(id_, item, column, text);
    if (cellEdited_) cellEdited_(id_, item, column, text);
}

#include "CListCtrlDrug.h"

#include "TextCodec.h"

namespace {
enum Column { kKind, kName, kDescription, kNumber };
}  // namespace

void CListCtrlDrug::attach(ui::Dialog& dialog, int id, std::vector<MenuCommand> menu) {
    dialog_ = &dialog;
    id_ = id;
    menu_ = std::move(menu);
    ui::DialogWindow& w = dialog.window();
    w.deleteAllColumns(id);
    // Wide enough for "копия стандартной" and a bullet's whole name in the desktop's font.
    w.addColumn(id, {"Тип", 136});
    w.addColumn(id, {"Драг-функция", 220});
    w.addColumn(id, {"Описание", 300});
    w.addColumn(id, {"Уник.номер", 5});  // the number is read back from it, not shown
    // The toolkit widens a column to its title; this one stays practically hidden.
    w.setColumnWidth(id, kNumber, 5);
    dialog.attach(id, this);
}

int CListCtrlDrug::fill(const DragLibrary& library, std::string_view name, int32_t number) {
    ui::DialogWindow& w = dialog_->window();
    w.batchUpdate(id_, true);
    w.deleteAllRows(id_);
    rows_.clear();
    int found = 0;
    for (size_t i = 0; i < library.size(); ++i) {
        const DragFunc& f = library[i];
        const int row = static_cast<int>(i);
        w.insertRow(id_, row, dragFuncKindText(f.kind));
        w.setCell(id_, row, kName, cp1251ToUtf8(f.nameText()));
        w.setCell(id_, row, kDescription, cp1251ToUtf8(f.description));
        w.setCell(id_, row, kNumber, std::to_string(f.uniqueNumber));
        if (row % 2 == 0) w.setRowColours(id_, row, ui::kBlack, kEvenRowColour);
        rows_.emplace_back(std::string(f.nameText()), f.uniqueNumber);
        if (found == 0 && f.nameText() == name && f.uniqueNumber == number) found = row;
    }
    w.batchUpdate(id_, false);
    return found;
}

void CListCtrlDrug::select(int row) {
    ui::DialogWindow& w = dialog_->window();
    for (const int r : w.selectedRows(id_)) w.selectRow(id_, r, false);
    if (row < 0 || row >= w.rowCount(id_)) return;
    w.selectRow(id_, row, true);
    w.ensureRowVisible(id_, row);
}

bool CListCtrlDrug::selected(std::string& name, int32_t& number) const {
    const ui::DialogWindow& w = dialog_->window();
    const std::vector<int> rows = w.selectedRows(id_);
    if (rows.empty() || rows.front() >= static_cast<int>(rows_.size())) return false;
    name = rows_[static_cast<size_t>(rows.front())].first;
    number = rows_[static_cast<size_t>(rows.front())].second;
    return true;
}

bool CListCtrlDrug::onListContextMenu(int, ui::Point at) {
    std::vector<ui::MenuItem> items;
    for (const MenuCommand& m : menu_) items.push_back({m.command, m.text, m.enabled});
    const int chosen = ui::backend().popupMenu(&dialog_->window(), id_, at, items);
    if (chosen != 0) dialog_->handleCommand(chosen, ui::Notify::Clicked);
    return true;
}

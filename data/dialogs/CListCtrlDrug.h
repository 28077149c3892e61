#pragma once
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "Dialog.h"
#include "DragLibrary.h"

// The drag function manager's list: one row per library entry ("Тип", "Драг-функция", "Описание",
// "Уник.номер"), whole rows selected, and the context menu of the manager's commands.
//
// Rows: even rows (counting from 0) on light grey, odd rows on the list's own background; each cell
// on one line, cut with an ellipsis, in its column's alignment. The selected row and the focus
// rectangle are drawn by the toolkit in its own selection colour (not painted red here).
class CListCtrlDrug : public ui::ControlHandler {
public:
    static constexpr ui::Colour kEvenRowColour{230, 230, 230};

    // An item of the context menu: the command id it runs in the dialog, its text.
    struct MenuCommand {
        int command;
        const char* text;
        bool enabled = true;
    };

    // Takes over the list control `id` of the dialog's window (open now): its columns, the menu.
    void attach(ui::Dialog& dialog, int id, std::vector<MenuCommand> menu);

    // Every entry of the library, in library order; the index of the entry with that name and number
    // (0 when none).
    int fill(const DragLibrary& library, std::string_view name, int32_t number);
    // The only selected row, shown.
    void select(int row);
    // The selected row's name (CP1251, as the library holds it) and number; false when none is.
    bool selected(std::string& name, int32_t& number) const;

    // ui::ControlHandler: the menu at the pointer; the chosen command goes to the dialog as a click
    // of its button.
    bool onListContextMenu(int row, ui::Point at) override;

private:
    ui::Dialog* dialog_ = nullptr;
    int id_ = ui::kStaticId;
    std::vector<MenuCommand> menu_;
    // By row, as filled: the name in CP1251 (the cells hold UTF-8) and the number.
    std::vector<std::pair<std::string, int32_t>> rows_;
};

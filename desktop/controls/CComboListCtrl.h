#pragma once
#include <functional>
#include <string>
#include <vector>

#include "Dialog.h"

// A report list whose cells are edited in place: a click on a cell of the selected row opens a text
// box over it, or a drop-down list for the columns that take one of a few values. What a Windows list
// would send to its parent (the items of a drop-down column, "a cell was edited") goes to the
// callbacks the owning dialog sets.
//
// The owning dialog keeps one of these per list and calls attach() from onInitDialog (every time its
// window is made). Only a list with kEditLabels edits in place.
class CComboListCtrl : public ui::ControlHandler {
public:
    // Fills `items` with the values a drop-down column offers.
    using ComboItemsSource = std::function<void(int column, std::vector<std::string>& items)>;
    // A cell took a new text (also when the edit was cancelled: then the text it had before).
    using CellEditedHandler = std::function<void(int listId, int item, int column, const std::string& text)>;

    CComboListCtrl();
    ~CComboListCtrl() override;
    CComboListCtrl(const CComboListCtrl&) = delete;
    CComboListCtrl& operator=(const CComboListCtrl&) = delete;

    // Takes over the list control `id` of the dialog's window (open now).
    void attach(ui::Dialog& dialog, int id);
    void detach();
    int id() const { return id_; }
    ui::Dialog* dialog() const { return dialog_; }

    // Columns edited through a drop-down list.
    void setComboColumns(std::vector<int> columns) { comboColumns_ = std::move(columns); }
    void addComboColumn(int column);
    bool isCombo(int column) const;
    // Columns never edited.
    void setReadOnlyColumns(std::vector<int> columns) { readOnlyColumns_ = std::move(columns); }
    void addReadOnlyColumn(int column);
    bool isReadOnly(int column) const;
    // The characters the text box accepts (UTF-8); empty: any.
    void setValidEditChars(std::string utf8) { validChars_ = std::move(utf8); }
    const std::string& validEditChars() const { return validChars_; }
    // Style bits of the editors (ui::Style). The text box is left-aligned unless told otherwise;
    // scrolling its text as the caret moves and keeping the selection are what every one-line edit of
    // the window layer does.
    void setEditStyle(unsigned style) { editStyle_ = style; }
    unsigned editStyle() const { return editStyle_; }
    void setComboStyle(unsigned style) { comboStyle_ = style; }
    unsigned comboStyle() const { return comboStyle_; }
    // The list's font; the editors take it too. Default: the dialog's own.
    void setFont(const ui::Font& font);
    const ui::Font& font() const { return font_; }

    void setComboItemsSource(ComboItemsSource source) { comboItems_ = std::move(source); }
    void setCellEditedHandler(CellEditedHandler handler) { cellEdited_ = std::move(handler); }

    // True while one of this list's cells has an editor open.
    bool isEditing() const;

    // Opens the editor the cell's column takes (after scrolling the cell into view); false when the
    // list does not edit in place, or the column takes no editor or is too narrow to show one.
    bool editCell(int item, int column);

    // Called by the editors when editing ends: the cell takes `text` and the parent is told.
    void endEditing(int item, int column, const std::string& text);

    // ui::ControlHandler
    bool onListClick(const ui::MouseEvent& m) override;

    // Columns narrower than this open no editor.
    static constexpr int kMinColumnWidth = 10;

private:
    bool editsInPlace() const;
    // The cell's rectangle in dialog client coordinates once it is scrolled into view.
    ui::Rect scrollCellIntoView(int item, int column);
    void selectOnly(int item);

    ui::Dialog* dialog_ = nullptr;
    int id_ = ui::kStaticId;
    std::vector<int> comboColumns_;
    std::vector<int> readOnlyColumns_;
    std::string validChars_;
    unsigned editStyle_ = ui::kNoStyle;
    unsigned comboStyle_ = ui::kNoStyle;
    ui::Font font_;
    ComboItemsSource comboItems_;
    CellEditedHandler cellEdited_;
};

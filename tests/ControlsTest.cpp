// The list that edits its cells in place, with its shared text box and drop-down list, driven as a
// user would through the headless window layer.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CComboListCtrl.h"
#include "CInPlaceCombo.h"
#include "CInPlaceEdit.h"
#include "HeadlessBackend.h"

namespace {

using ui::HeadlessWindow;

constexpr int kList = 100;
constexpr int kOther = 200;  // an edit beside the list, to move the focus to
constexpr int kEditId = CInPlaceEdit::kControlId;
constexpr int kComboId = CInPlaceCombo::kControlId;

// Columns: name (read-only), value (digits), unit (drop-down), a hidden helper column too narrow to
// edit, and a comment far to the right of the list's 300 pixels.
enum { kName, kValue, kUnit, kNarrow, kComment };

struct Edited {
    int list;
    int item;
    int column;
    std::string text;
    bool operator==(const Edited&) const = default;
};

class ListDialog : public ui::Dialog {
public:
    explicit ListDialog(unsigned listStyle = ui::kEditLabels, int rows = 3) : Dialog(makeTemplate(listStyle)), rows_(rows) {}

    static ui::DialogTemplate makeTemplate(unsigned listStyle) {
        ui::DialogTemplate t;
        t.id = 1;
        t.title = "Таблица";
        t.width = 420;
        t.height = 300;
        t.controls = {
            {kList, ui::Kind::ListView, "", {10, 10, 300, 200}, listStyle},
            {kOther, ui::Kind::Edit, "", {10, 220, 100, 22}, ui::kNoStyle},
            {ui::kIdOk, ui::Kind::Button, "OK", {320, 260, 80, 26}, ui::kDefault},
            {ui::kIdCancel, ui::Kind::Button, "Отмена", {230, 260, 80, 26}, ui::kNoStyle},
        };
        return t;
    }

    CComboListCtrl list;
    std::vector<std::string> units{"м", "ярд", "фут"};
    std::vector<int> itemRequests;
    std::vector<Edited> edited;
    std::vector<std::pair<int, ui::Notify>> commands;

protected:
    bool onInitDialog() override {
        ui::DialogWindow& w = window();
        w.addColumn(kList, {"Параметр", 120});
        w.addColumn(kList, {"Значение", 80});
        w.addColumn(kList, {"Ед.", 70});
        w.addColumn(kList, {"", 8});
        w.addColumn(kList, {"Комментарий", 150});
        for (int r = 0; r < rows_; ++r) {
            w.insertRow(kList, r, "Параметр " + std::to_string(r + 1));
            w.setCell(kList, r, kValue, std::to_string(100 * (r + 1)));
            w.setCell(kList, r, kUnit, "ярд");
            w.setCell(kList, r, kComment, "прим");
        }
        list.attach(*this, kList);
        list.setReadOnlyColumns({kName});
        list.addComboColumn(kUnit);
        list.setValidEditChars("0123456789.-");
        list.setFont(ui::Font{10, true, false, false, "Sans"});
        list.setComboItemsSource([this](int column, std::vector<std::string>& items) {
            itemRequests.push_back(column);
            items = units;
        });
        list.setCellEditedHandler([this](int id, int item, int column, const std::string& text) {
            edited.push_back({id, item, column, text});
        });
        return true;
    }
    void onCommand(int id, ui::Notify n) override {
        commands.emplace_back(id, n);
        Dialog::onCommand(id, n);
    }

private:
    int rows_;
};

class ControlsListTest : public ::testing::Test {
protected:
    ui::HeadlessBackend backend;

    // Selects the row with a first click, then opens the cell's editor with a second.
    static void openEditor(HeadlessWindow& w, int row, int column) {
        w.clickCell(kList, row, column);
        w.clickCell(kList, row, column);
    }
};

TEST_F(ControlsListTest, FirstClickSelectsTheRowSecondOpensTheTextBoxOverTheCell) {
    ListDialog d;
    HeadlessWindow& w = ui::openHeadless(d);

    w.clickCell(kList, 1, kValue);
    EXPECT_EQ(w.selectedRows(kList), std::vector<int>{1});
    EXPECT_FALSE(w.hasControl(kEditId));

    w.clickCell(kList, 1, kValue);
    ASSERT_TRUE(w.hasControl(kEditId));
    EXPECT_EQ(w.controlRect(kEditId), w.cellRect(kList, 1, kValue));
    EXPECT_EQ(w.text(kEditId), "200");
    EXPECT_TRUE(w.allTextSelected(kEditId));
    EXPECT_EQ(w.focusedControl(), kEditId);
    EXPECT_EQ(w.font(kEditId), d.list.font());
    EXPECT_EQ(w.selectedRows(kList), std::vector<int>{1});
    EXPECT_TRUE(d.list.isEditing());
    const CInPlaceEdit& edit = CInPlaceEdit::instance();
    EXPECT_EQ(edit.item(), 1);
    EXPECT_EQ(edit.column(), kValue);
    EXPECT_EQ(edit.textBefore(), "200");
    EXPECT_FALSE(edit.escapePressed());

    // Modifier clicks on the selected row are the list's selection business only.
    w.pressKey(kEditId, ui::kKeyEscape);
    w.clickCell(kList, 1, kValue, true, false);
    EXPECT_FALSE(w.hasControl(kEditId));
    w.clickCell(kList, 1, kValue, false, true);
    EXPECT_FALSE(w.hasControl(kEditId));
    d.destroy();
}

TEST_F(ControlsListTest, EnterCommitsTheTextAndTellsTheDialogWithoutPressingOk) {
    ListDialog d;
    HeadlessWindow& w = ui::openHeadless(d);
    openEditor(w, 0, kValue);
    w.typeChars(kEditId, "-12.5");
    w.pressKey(kEditId, ui::kKeyReturn);

    EXPECT_FALSE(w.ended());
    EXPECT_FALSE(w.hasControl(kEditId));
    EXPECT_EQ(w.focusedControl(), kList);
    EXPECT_EQ(w.cell(kList, 0, kValue), "-12.5");
    EXPECT_EQ(d.edited, (std::vector<Edited>{{kList, 0, kValue, "-12.5"}}));
    EXPECT_FALSE(d.list.isEditing());
    EXPECT_EQ(CInPlaceEdit::instance().item(), -1);
    EXPECT_EQ(CInPlaceEdit::instance().column(), -1);
    d.destroy();
}

TEST_F(ControlsListTest, EscapeRestoresTheTextTheCellHadWithoutCancellingTheDialog) {
    ListDialog d;
    HeadlessWindow& w = ui::openHeadless(d);
    openEditor(w, 2, kValue);
    w.typeChars(kEditId, "7");
    EXPECT_EQ(w.text(kEditId), "7");
    w.pressKey(kEditId, ui::kKeyEscape);

    EXPECT_FALSE(w.ended());
    EXPECT_FALSE(w.hasControl(kEditId));
    EXPECT_EQ(w.cell(kList, 2, kValue), "300");
    EXPECT_EQ(d.edited, (std::vector<Edited>{{kList, 2, kValue, "300"}}));
    // The next editing starts without the Escape of the last one.
    openEditor(w, 2, kValue);
    EXPECT_FALSE(CInPlaceEdit::instance().escapePressed());
    w.type(kEditId, "301");
    w.pressKey(kEditId, ui::kKeyReturn);
    EXPECT_EQ(w.cell(kList, 2, kValue), "301");
    d.destroy();
}

TEST_F(ControlsListTest, LosingTheFocusCommitsAndOkSeesTheNewValue) {
    ListDialog d;
    HeadlessWindow& w = ui::openHeadless(d);
    openEditor(w, 1, kComment);
    w.type(kEditId, "55");
    w.click(kOther);
    EXPECT_FALSE(w.hasControl(kEditId));
    EXPECT_EQ(w.cell(kList, 1, kComment), "55");

    // Clicking another cell ends the first editing before the next one starts.
    openEditor(w, 0, kValue);
    w.type(kEditId, "9");
    w.clickCell(kList, 0, kComment);
    ASSERT_TRUE(w.hasControl(kEditId));
    EXPECT_EQ(w.cell(kList, 0, kValue), "9");
    EXPECT_EQ(CInPlaceEdit::instance().column(), kComment);
    w.type(kEditId, "1");
    w.click(ui::kIdOk);
    EXPECT_TRUE(w.ended());
    EXPECT_EQ(w.endCode(), ui::kIdOk);
    ASSERT_EQ(d.edited.size(), 3u);
    EXPECT_EQ(d.edited.back(), (Edited{kList, 0, kComment, "1"}));
    d.destroy();
}

TEST_F(ControlsListTest, AllowedCharactersFilterTypingAndPasting) {
    ListDialog d;
    HeadlessWindow& w = ui::openHeadless(d);
    openEditor(w, 0, kValue);

    w.typeChars(kEditId, "1a");
    EXPECT_EQ(w.text(kEditId), "1");
    EXPECT_EQ(backend.beeps, 1);
    w.typeChars(kEditId, "ж2");  // a Cyrillic letter is outside the set as well
    EXPECT_EQ(w.text(kEditId), "12");
    EXPECT_EQ(backend.beeps, 2);
    // Copy, cut, paste and backspace pass whatever the set.
    for (char32_t c : {U'\x03', U'\x08', U'\x16', U'\x18'}) EXPECT_FALSE(d.handleChar(kEditId, c));
    EXPECT_TRUE(d.handleChar(kEditId, U'\x01'));
    EXPECT_EQ(backend.beeps, 3);

    backend.clipboard = "1a";
    w.paste(kEditId);
    EXPECT_EQ(w.text(kEditId), "12");
    backend.clipboard = ".5";
    w.paste(kEditId);
    EXPECT_EQ(w.text(kEditId), "12.5");
    w.pressKey(kEditId, ui::kKeyReturn);
    EXPECT_EQ(w.cell(kList, 0, kValue), "12.5");

    // Without a set every character goes in.
    d.list.setValidEditChars("");
    openEditor(w, 0, kComment);
    w.typeChars(kEditId, "ok, ясно");
    backend.clipboard = "!?";
    w.paste(kEditId);
    EXPECT_EQ(w.text(kEditId), "ok, ясно!?");
    EXPECT_EQ(backend.beeps, 3);
    d.destroy();
}

TEST_F(ControlsListTest, ReadOnlyNarrowAndNonEditingListsOpenNothing) {
    {
        ListDialog d;
        HeadlessWindow& w = ui::openHeadless(d);
        openEditor(w, 0, kName);
        EXPECT_FALSE(w.hasControl(kEditId));
        EXPECT_FALSE(w.hasControl(kComboId));
        EXPECT_EQ(w.selectedRows(kList), std::vector<int>{0});
        EXPECT_FALSE(d.list.editCell(0, kName));
        EXPECT_FALSE(d.list.editCell(0, kNarrow));
        w.setColumnWidth(kList, kNarrow, CComboListCtrl::kMinColumnWidth);
        EXPECT_TRUE(d.list.editCell(0, kNarrow));
        w.pressKey(kEditId, ui::kKeyEscape);
        // Outside the rows and columns.
        EXPECT_FALSE(d.list.editCell(3, kValue));
        EXPECT_FALSE(d.list.editCell(0, 5));
        EXPECT_FALSE(w.hasControl(kEditId));
        d.destroy();
    }
    {
        ListDialog d(ui::kFullRowSelect);  // no kEditLabels
        HeadlessWindow& w = ui::openHeadless(d);
        openEditor(w, 0, kValue);
        EXPECT_FALSE(w.hasControl(kEditId));
        EXPECT_EQ(w.selectedRows(kList), std::vector<int>{0});
        EXPECT_FALSE(d.list.editCell(0, kValue));
        d.destroy();
    }
}

TEST_F(ControlsListTest, DropDownColumnShowsTheDialogsItemsWithTheCurrentOneSelected) {
    ListDialog d;
    HeadlessWindow& w = ui::openHeadless(d);
    openEditor(w, 1, kUnit);

    ASSERT_TRUE(w.hasControl(kComboId));
    EXPECT_FALSE(w.hasControl(kEditId));
    EXPECT_EQ(d.itemRequests, std::vector<int>{kUnit});
    ASSERT_EQ(w.itemCount(kComboId), 3);
    EXPECT_EQ(w.itemText(kComboId, 2), "фут");
    EXPECT_EQ(w.selection(kComboId), 1);
    EXPECT_EQ(w.focusedControl(), kComboId);
    const ui::Rect cell = w.cellRect(kList, 1, kUnit);
    const ui::Rect combo = w.controlRect(kComboId);
    EXPECT_EQ((ui::Rect{combo.x, combo.y, combo.width, cell.height}), cell);
    EXPECT_EQ(combo.height, cell.height + w.rowHeight(kList) * (3 + 10));

    // Choosing an item and closing the list ends the editing with it.
    w.chooseItem(kComboId, 2);
    EXPECT_TRUE(w.hasControl(kComboId));
    w.closeDropDown(kComboId);
    EXPECT_FALSE(w.hasControl(kComboId));
    EXPECT_EQ(w.focusedControl(), kList);
    EXPECT_EQ(w.cell(kList, 1, kUnit), "фут");
    EXPECT_EQ(d.edited, (std::vector<Edited>{{kList, 1, kUnit, "фут"}}));
    d.destroy();
}

TEST_F(ControlsListTest, DropDownEscapeEnterAndAValueTheListDoesNotOffer) {
    ListDialog d;
    d.units.clear();
    for (int i = 0; i < 12; ++i) d.units.push_back(std::string("u").append(std::to_string(i)));
    HeadlessWindow& w = ui::openHeadless(d);

    openEditor(w, 0, kUnit);
    EXPECT_EQ(w.controlRect(kComboId).height, w.cellRect(kList, 0, kUnit).height + w.rowHeight(kList) * 11);
    // "ярд" is not among the items: nothing selected, and Enter leaves the cell as it was.
    EXPECT_EQ(w.selection(kComboId), -1);
    w.pressKey(kComboId, ui::kKeyReturn);
    EXPECT_FALSE(w.ended());
    EXPECT_EQ(w.cell(kList, 0, kUnit), "ярд");

    openEditor(w, 0, kUnit);
    w.chooseItem(kComboId, 4);
    w.pressKey(kComboId, ui::kKeyEscape);
    EXPECT_FALSE(w.ended());
    EXPECT_FALSE(w.hasControl(kComboId));
    EXPECT_EQ(w.cell(kList, 0, kUnit), "ярд");

    openEditor(w, 0, kUnit);
    w.chooseItem(kComboId, 4);
    w.pressKey(kComboId, ui::kKeyReturn);
    EXPECT_EQ(w.cell(kList, 0, kUnit), "u4");
    d.destroy();
}

TEST_F(ControlsListTest, TheCellIsScrolledIntoViewFirst) {
    ListDialog d(ui::kEditLabels, 30);
    HeadlessWindow& w = ui::openHeadless(d);
    const ui::Rect list = w.controlRect(kList);

    // The comment column runs from 278 to 428 in a list 300 wide: it is scrolled fully into view.
    openEditor(w, 0, kComment);
    EXPECT_EQ(w.horizontalScroll(kList), 428 - 300);
    const ui::Rect edit = w.controlRect(kEditId);
    EXPECT_EQ(edit, w.cellRect(kList, 0, kComment));
    EXPECT_EQ(edit.right(), list.right());
    w.pressKey(kEditId, ui::kKeyReturn);

    // Back to a column left of the view: scrolled to its left edge.
    d.list.editCell(0, kValue);
    EXPECT_EQ(w.horizontalScroll(kList), 120);
    EXPECT_EQ(w.controlRect(kEditId).x, list.x);
    w.pressKey(kEditId, ui::kKeyReturn);

    // A row below the visible ones is brought into view.
    ASSERT_TRUE(d.list.editCell(25, kValue));
    EXPECT_LE(w.topRow(kList), 25);
    const ui::Rect below = w.controlRect(kEditId);
    EXPECT_EQ(below, w.cellRect(kList, 25, kValue));
    EXPECT_GE(below.y, list.y);
    EXPECT_LE(below.bottom(), list.bottom());
    d.destroy();
}

TEST_F(ControlsListTest, AClickBesideTheCellsEndsTheEditing) {
    ListDialog d;
    HeadlessWindow& w = ui::openHeadless(d);
    openEditor(w, 0, kValue);
    w.type(kEditId, "8");
    // As a backend reports it: the click reaches the list's handler while the editor has the focus.
    ui::MouseEvent m;
    m.type = ui::MouseEvent::LeftDown;
    m.x = 50;  // below the three rows
    m.y = ui::HeadlessWindow::kHeaderHeight + 3 * ui::HeadlessWindow::kRowHeight + 5;
    EXPECT_FALSE(d.handleListClick(kList, m));
    EXPECT_FALSE(w.hasControl(kEditId));
    EXPECT_EQ(w.cell(kList, 0, kValue), "8");
    d.destroy();
}

TEST_F(ControlsListTest, OneSharedEditorServesDialogAfterDialog) {
    CInPlaceEdit* first = &CInPlaceEdit::instance();
    {
        ListDialog a;
        HeadlessWindow& wa = ui::openHeadless(a);
        openEditor(wa, 0, kValue);
        EXPECT_TRUE(a.list.isEditing());
        // The window goes away with the editor open: nothing is written, nothing is told.
        a.destroy();
        EXPECT_TRUE(a.edited.empty());

        ListDialog b;
        HeadlessWindow& wb = ui::openHeadless(b);
        openEditor(wb, 1, kValue);
        EXPECT_EQ(&CInPlaceEdit::instance(), first);
        EXPECT_EQ(CInPlaceEdit::instance().list(), &b.list);
        wb.type(kEditId, "5");
        wb.pressKey(kEditId, ui::kKeyReturn);
        EXPECT_EQ(wb.cell(kList, 1, kValue), "5");
        EXPECT_TRUE(a.edited.empty());
        EXPECT_EQ(b.edited.size(), 1u);

        // The same dialog's window made again: the list takes it over with no editor left open.
        openEditor(wb, 2, kValue);
        b.destroy();
        HeadlessWindow& again = ui::openHeadless(b);
        EXPECT_FALSE(b.list.isEditing());
        EXPECT_FALSE(CInPlaceEdit::instance().isActive());
        openEditor(again, 2, kUnit);
        EXPECT_TRUE(CInPlaceCombo::instance().isActive());
        // Both dialogs go away here, b with its drop-down open: the shared editors are left free.
    }
    EXPECT_FALSE(CInPlaceEdit::instance().isActive());
    EXPECT_FALSE(CInPlaceCombo::instance().isActive());
}

}  // namespace

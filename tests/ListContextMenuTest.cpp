// A list view's context menu through the window layer: the right click and the menu key reach the
// dialog with the row under them, and the pop-up menu answers with the item the user chose.
#include <gtest/gtest.h>

#include <vector>

#include "Dialog.h"
#include "HeadlessBackend.h"

namespace {

using ui::HeadlessWindow;

constexpr int kList = 100;
constexpr int kOpen = 501;
constexpr int kDelete = 502;

struct Asked {
    int row;
    int chosen;
    bool operator==(const Asked&) const = default;
};

class MenuListDialog : public ui::Dialog {
public:
    MenuListDialog() : Dialog(makeTemplate()) {}

    static ui::DialogTemplate makeTemplate() {
        ui::DialogTemplate t;
        t.id = 1;
        t.width = 300;
        t.height = 200;
        t.controls = {{kList, ui::Kind::ListView, "", {10, 10, 280, 150}, ui::kSingleSelection | ui::kFullRowSelect}};
        return t;
    }

    bool deleteEnabled = false;
    std::vector<Asked> asked;

protected:
    bool onInitDialog() override {
        window().addColumn(kList, {"Имя", 100});
        for (int i = 0; i < 3; ++i) window().insertRow(kList, i, "строка " + std::to_string(i));
        return true;
    }
    void onListContextMenu(int id, int row, ui::Point at) override {
        const int chosen = ui::backend().popupMenu(&window(), id, at,
                                                   {{kOpen, "Открыть"}, {0, ""}, {kDelete, "Удалить", deleteEnabled}});
        asked.push_back({row, chosen});
    }
};

// Takes the list's context menu for itself, as a control that edits the list would.
class TakesMenu : public ui::ControlHandler {
public:
    int rows = 0;
    bool onListContextMenu(int, ui::Point) override { return ++rows, true; }
};

// A right click selects the row under the pointer first, so the menu's command acts on what the user
// pointed at; the choice comes back as the item's own id.
TEST(ListContextMenu, RightClickSelectsTheRowAndTheMenuAnswersWithTheChosenItem) {
    ui::HeadlessBackend screen;
    MenuListDialog d;
    HeadlessWindow& w = ui::openHeadless(d);
    w.selectRow(kList, 0, true);
    screen.answerMenu(kOpen);
    w.rightClickRow(kList, 2);
    EXPECT_EQ(w.selectedRows(kList), std::vector<int>{2});
    EXPECT_EQ(w.focusedControl(), kList);
    ASSERT_EQ(screen.menus.size(), 1u);
    EXPECT_EQ(screen.menus[0][2].text, "Удалить");
    EXPECT_EQ(d.asked, (std::vector<Asked>{{2, kOpen}}));

    // Below the rows: no row, the selection stays; a closed menu answers 0.
    w.rightClickRow(kList, -1);
    EXPECT_EQ(w.selectedRows(kList), std::vector<int>{2});
    EXPECT_EQ(d.asked.back(), (Asked{-1, 0}));
    d.destroy();
}

// The keyboard reaches the same menu, at the selected row; a disabled item cannot be chosen.
TEST(ListContextMenu, MenuKeyAndShiftF10OpenItAtTheSelectedRowAndDisabledItemsAreNotChosen) {
    ui::HeadlessBackend screen;
    MenuListDialog d;
    HeadlessWindow& w = ui::openHeadless(d);
    w.selectRow(kList, 1, true);
    screen.answerMenu(kDelete);
    w.pressKey(kList, ui::kKeyApps);
    ui::KeyEvent shiftF10{ui::kKeyF10, true};
    d.deleteEnabled = true;
    screen.answerMenu(kDelete);
    w.pressKey(kList, shiftF10);
    w.selectRow(kList, 1, false);
    w.pressKey(kList, ui::kKeyApps);
    EXPECT_EQ(d.asked, (std::vector<Asked>{{1, 0}, {1, kDelete}, {-1, 0}}));
    d.destroy();
}

// A control handler attached to the list sees the menu request first and can keep it.
TEST(ListContextMenu, AnAttachedHandlerTakesTheMenuBeforeTheDialog) {
    ui::HeadlessBackend screen;
    MenuListDialog d;
    HeadlessWindow& w = ui::openHeadless(d);
    TakesMenu handler;
    d.attach(kList, &handler);
    w.rightClickRow(kList, 0);
    EXPECT_EQ(handler.rows, 1);
    EXPECT_TRUE(d.asked.empty());
    EXPECT_TRUE(screen.menus.empty());
    d.destroy();
}

}  // namespace

#include <gtest/gtest.h>

#include <wx/defs.h>

#include "WxMapping.h"

using ui::WxMapping;

TEST(WxMapping, KeysBecomeWindowsVirtualKeys) {
    // Letters come upper case whatever wx reports; digits stay.
    EXPECT_EQ(WxMapping::virtualKey('a'), 'A');
    EXPECT_EQ(WxMapping::virtualKey('Z'), 'Z');
    EXPECT_EQ(WxMapping::virtualKey('7'), '7');
    // The keys the dialogs act on, from the main block and the keypad alike.
    EXPECT_EQ(WxMapping::virtualKey(WXK_RETURN), ui::kKeyReturn);
    EXPECT_EQ(WxMapping::virtualKey(WXK_NUMPAD_ENTER), ui::kKeyReturn);
    EXPECT_EQ(WxMapping::virtualKey(WXK_ESCAPE), ui::kKeyEscape);
    EXPECT_EQ(WxMapping::virtualKey(WXK_TAB), ui::kKeyTab);
    EXPECT_EQ(WxMapping::virtualKey(WXK_BACK), ui::kKeyBack);
    EXPECT_EQ(WxMapping::virtualKey(WXK_DELETE), ui::kKeyDelete);
    EXPECT_EQ(WxMapping::virtualKey(WXK_NUMPAD_DELETE), ui::kKeyDelete);
    EXPECT_EQ(WxMapping::virtualKey(WXK_INSERT), ui::kKeyInsert);
    EXPECT_EQ(WxMapping::virtualKey(WXK_MENU), ui::kKeyApps);  // the context menu key
    EXPECT_EQ(WxMapping::virtualKey(WXK_WINDOWS_MENU), ui::kKeyApps);
    EXPECT_EQ(WxMapping::virtualKey(WXK_LEFT), ui::kKeyLeft);
    EXPECT_EQ(WxMapping::virtualKey(WXK_NUMPAD_UP), ui::kKeyUp);
    EXPECT_EQ(WxMapping::virtualKey(WXK_RIGHT), ui::kKeyRight);
    EXPECT_EQ(WxMapping::virtualKey(WXK_DOWN), ui::kKeyDown);
    EXPECT_EQ(WxMapping::virtualKey(WXK_HOME), ui::kKeyHome);
    EXPECT_EQ(WxMapping::virtualKey(WXK_END), ui::kKeyEnd);
    EXPECT_EQ(WxMapping::virtualKey(WXK_PAGEUP), ui::kKeyPageUp);
    EXPECT_EQ(WxMapping::virtualKey(WXK_NUMPAD_PAGEDOWN), ui::kKeyPageDown);
    EXPECT_EQ(WxMapping::virtualKey(WXK_SPACE), ui::kKeySpace);
    EXPECT_EQ(WxMapping::virtualKey(WXK_F1), ui::kKeyF1);
    EXPECT_EQ(WxMapping::virtualKey(WXK_F12), ui::kKeyF1 + 11);
    // Keypad digits and operators, and the punctuation keys, by their Windows numbers.
    EXPECT_EQ(WxMapping::virtualKey(WXK_NUMPAD0), 96);
    EXPECT_EQ(WxMapping::virtualKey(WXK_NUMPAD9), 105);
    EXPECT_EQ(WxMapping::virtualKey(WXK_NUMPAD_DECIMAL), 110);
    EXPECT_EQ(WxMapping::virtualKey(WXK_NUMPAD_SUBTRACT), 109);
    EXPECT_EQ(WxMapping::virtualKey('.'), 190);
    EXPECT_EQ(WxMapping::virtualKey(','), 188);
    EXPECT_EQ(WxMapping::virtualKey('-'), 189);
    // Keys no dialog looks at.
    EXPECT_EQ(WxMapping::virtualKey(WXK_NONE), 0);
    EXPECT_EQ(WxMapping::virtualKey(WXK_PRINT), 0);
}

TEST(WxMapping, TypedCharactersAsAWindowsEditSeesThem) {
    // Ctrl+letter is a control character, so a filter can let Ctrl+C, Ctrl+V and Ctrl+X through.
    EXPECT_EQ(WxMapping::typedChar('V', 'V', true, false), 22u);
    EXPECT_EQ(WxMapping::typedChar('c', 'c', true, false), 3u);
    EXPECT_EQ(WxMapping::typedChar(WXK_CONTROL_X, WXK_CONTROL_X, true, false), 24u);
    EXPECT_EQ(WxMapping::typedChar(WXK_BACK, WXK_BACK, false, false), 8u);
    // Text, Cyrillic too.
    EXPECT_EQ(WxMapping::typedChar('a', 'a', false, false), U'a');
    EXPECT_EQ(WxMapping::typedChar(0, U'ж', false, false), U'ж');
    EXPECT_EQ(WxMapping::typedChar(0, U'Ё', false, false), U'Ё');
    EXPECT_EQ(WxMapping::typedChar('7', '7', false, false), U'7');
    // Keys that type nothing: moving, deleting, and the dialog's own Enter, Escape and Tab.
    EXPECT_EQ(WxMapping::typedChar(WXK_LEFT, WXK_NONE, false, false), 0u);
    EXPECT_EQ(WxMapping::typedChar(WXK_DELETE, WXK_DELETE, false, false), 0u);
    EXPECT_EQ(WxMapping::typedChar(WXK_RETURN, WXK_RETURN, false, false), 0u);
    EXPECT_EQ(WxMapping::typedChar(WXK_ESCAPE, WXK_ESCAPE, false, false), 0u);
    EXPECT_EQ(WxMapping::typedChar(WXK_TAB, WXK_TAB, false, false), 0u);
    EXPECT_EQ(WxMapping::typedChar(WXK_F5, WXK_NONE, true, false), 0u);
}

TEST(WxMapping, FileFiltersMatchBothCasesWithTheWrittenPatternFirst) {
    EXPECT_EQ(WxMapping::wildcard({{"Файлы драг-функций (*.snr)", "*.snr"}}), "Файлы драг-функций (*.snr)|*.snr;*.SNR");
    EXPECT_EQ(WxMapping::wildcard({{"Все (*.snr;*.Drg)", "*.snr;*.Drg"}, {"Все файлы (*.*)", "*.*"}}),
              "Все (*.snr;*.Drg)|*.snr;*.SNR;*.Drg;*.drg;*.DRG|Все файлы (*.*)|*");
    // Stray separators and blanks between patterns are dropped; a case-free pattern comes once.
    EXPECT_EQ(WxMapping::wildcard({{"Данные", "*.dat;;*.123"}}), "Данные|*.dat;*.DAT;*.123");
    EXPECT_EQ(WxMapping::wildcard({}), "");
}

TEST(WxMapping, DefaultExtensionOnlyForNamesWithoutOne) {
    EXPECT_EQ(WxMapping::withDefaultExtension("/tmp/функция", "snr"), "/tmp/функция.snr");
    EXPECT_EQ(WxMapping::withDefaultExtension("/tmp/функция", ".snr"), "/tmp/функция.snr");
    EXPECT_EQ(WxMapping::withDefaultExtension("/tmp/a.drg", "snr"), "/tmp/a.drg");
    EXPECT_EQ(WxMapping::withDefaultExtension("/tmp/a.b/c", "snr"), "/tmp/a.b/c.snr");
    EXPECT_EQ(WxMapping::withDefaultExtension("/tmp/a", ""), "/tmp/a");
    EXPECT_EQ(WxMapping::withDefaultExtension("", "snr"), "");
}

TEST(WxMapping, ColumnUnderAPointWithScrolling) {
    const std::vector<int> widths{90, 110, 90};
    EXPECT_EQ(WxMapping::columnAt(widths, 0, 0), 0);
    EXPECT_EQ(WxMapping::columnAt(widths, 90, 0), 0);  // edges belong to the column on their left
    EXPECT_EQ(WxMapping::columnAt(widths, 91, 0), 1);
    EXPECT_EQ(WxMapping::columnAt(widths, 289, 0), 2);
    EXPECT_EQ(WxMapping::columnAt(widths, 291, 0), -1);  // past the last column
    EXPECT_EQ(WxMapping::columnAt(widths, -1, 0), -1);
    // Scrolled 100 pixels right: the second column starts at -10.
    EXPECT_EQ(WxMapping::columnAt(widths, 0, 100), 1);
    EXPECT_EQ(WxMapping::columnAt(widths, 101, 100), 2);
    EXPECT_EQ(WxMapping::columnAt({}, 5, 0), -1);
}

TEST(WxMapping, ScrollUnitsRoundAwayFromZero) {
    EXPECT_EQ(WxMapping::scrollUnits(0, 15), 0);
    EXPECT_EQ(WxMapping::scrollUnits(1, 15), 1);
    EXPECT_EQ(WxMapping::scrollUnits(15, 15), 1);
    EXPECT_EQ(WxMapping::scrollUnits(16, 15), 2);
    EXPECT_EQ(WxMapping::scrollUnits(-1, 15), -1);
    EXPECT_EQ(WxMapping::scrollUnits(-31, 15), -3);
    EXPECT_EQ(WxMapping::scrollUnits(40, 0), 0);
}

TEST(WxMapping, MenuItemsGoToWxUnderIdsItTakesAndComeBackAsTheDialogsOwn) {
    // The table's "Экспорт" menu: ids wx would refuse.
    const std::vector<ui::MenuItem> items{{32775, "Экспортировать в Excel xml"}, {0, ""}, {32776, "Экспортировать в cvs"}};
    for (size_t i = 0; i < items.size(); ++i) {
        const int id = WxMapping::menuWxId(i);
        EXPECT_GT(id, wxID_HIGHEST);  // clear of wx's standard ids, with their stock labels
        EXPECT_LT(id, 0x7FFF);
    }
    EXPECT_NE(WxMapping::menuWxId(0), WxMapping::menuWxId(2));
    EXPECT_EQ(WxMapping::menuItemId(WxMapping::menuWxId(0), items), 32775);
    EXPECT_EQ(WxMapping::menuItemId(WxMapping::menuWxId(2), items), 32776);
    // Dismissed, or anything that is not one of the menu's items: nothing chosen.
    EXPECT_EQ(WxMapping::menuItemId(wxID_NONE, items), 0);
    EXPECT_EQ(WxMapping::menuItemId(WxMapping::menuWxId(1), items), 0);
    EXPECT_EQ(WxMapping::menuItemId(WxMapping::menuWxId(3), items), 0);
    EXPECT_EQ(WxMapping::menuItemId(32775, items), 0);
}

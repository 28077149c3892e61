#pragma once
#include <filesystem>
#include <string>
#include <vector>

#include "UiTypes.h"

namespace ui {

// The parts of the wx backend that are plain translation, kept apart so they can be tested without a
// display.
class WxMapping {
public:
    // The Windows virtual key for a wx key code (letters upper case); 0 for keys the dialogs never see.
    static int virtualKey(int wxKeyCode);

    // The character a key press types, as a Windows edit would see it: Ctrl+letter gives 1..26 (so a
    // filter can let Ctrl+C, Ctrl+V, Ctrl+X through), Backspace 8; 0 when the key types nothing.
    static char32_t typedChar(int wxKeyCode, char32_t unicodeKey, bool control, bool alt);

    // "label|pattern;pattern|label|pattern" for wxFileDialog. Each pattern comes as written, then in
    // lower and in upper case: names from Windows machines are often upper case and GTK's patterns
    // are case-sensitive. The one as written comes first: wx takes the extension it adds to a
    // proposed name from it.
    static std::string wildcard(const std::vector<FileFilter>& filters);
    static std::vector<std::string> patternCases(const std::string& pattern);

    // The name with ".ext" added when it has none (as a save dialog's default extension works).
    static std::filesystem::path withDefaultExtension(const std::filesystem::path& file, const std::string& ext);

    // The column of a report list under x (in the item area, before scrolling back by hScroll): the
    // first whose left edge <= x <= left edge + width; -1 past the last one.
    static int columnAt(const std::vector<int>& widths, int x, int hScroll);

    // wx refuses menu item ids from 0x7FFF up (Windows' items have 16-bit ids), and a dialog's own
    // commands lie there (the table's export items are 32775 and 32776). So the items of a menu go to
    // wx under ids of their own, one per place in the list, clear of wx's standard ids; the id wx
    // reports back is the dialog's again, 0 for none of the menu's (a dismissed menu, a separator).
    static int menuWxId(size_t index);
    static int menuItemId(int wxId, const std::vector<MenuItem>& items);

    // Scroll units to move for a scroll of `pixels` when one unit is `unit` pixels: rounded away from
    // zero, so that what was asked to come into view does.
    static int scrollUnits(int pixels, int unit);
};

}  // namespace ui

#pragma once
#include <string>
#include <vector>

#include "UiTypes.h"

namespace ui {

// One dialog on the screen, as a backend makes it from the dialog's template. Controls are found by
// their template id; calls with an unknown id do nothing (and read as empty, disabled, unchecked).
// Setting a control's text or check state from the program does not notify the dialog: only the
// user's own actions do.
class DialogWindow {
public:
    virtual ~DialogWindow() = default;

    // Shows the dialog and returns when end() has been called, with its code.
    virtual int runModal() = 0;
    virtual void end(int code) = 0;

    virtual void setTitle(const std::string& utf8) = 0;
    virtual Size clientSize() const = 0;
    virtual bool isMinimized() const = 0;

    // Any control.
    virtual bool hasControl(int id) const = 0;
    virtual void setText(int id, const std::string& utf8) = 0;
    virtual std::string text(int id) const = 0;
    virtual void enable(int id, bool on) = 0;
    virtual bool isEnabled(int id) const = 0;
    virtual void show(int id, bool on) = 0;
    virtual bool isVisible(int id) const = 0;
    virtual void setTextColour(int id, Colour c) = 0;
    virtual Colour textColour(int id) const = 0;
    virtual void setFont(int id, const Font& font) = 0;
    virtual void setFocus(int id) = 0;
    virtual int focusedControl() const = 0;  // kStaticId when none
    virtual Rect controlRect(int id) const = 0;
    virtual void moveControl(int id, const Rect& r) = 0;
    virtual void refresh(int id) = 0;  // repaint (a canvas paints again)
    virtual void setTooltip(int id, const std::string& utf8) = 0;
    virtual void setCursor(int id, Cursor cursor) = 0;
    // Controls made after the dialog is up (in-place editors); destroyControl removes them again.
    virtual void createControl(const ControlTemplate& t) = 0;
    virtual void destroyControl(int id) = 0;
    virtual void captureMouse(int id) = 0;
    virtual void releaseMouse() = 0;
    virtual int mouseCaptor() const = 0;  // kStaticId when none

    // Check boxes and radio buttons.
    virtual void setChecked(int id, bool on) = 0;
    virtual bool isChecked(int id) const = 0;

    // Edits.
    virtual void selectAllText(int id) = 0;

    // Drop-down lists.
    virtual void clearItems(int id) = 0;
    virtual void addItem(int id, const std::string& utf8) = 0;
    virtual int itemCount(int id) const = 0;
    virtual std::string itemText(int id, int index) const = 0;
    virtual void setSelection(int id, int index) = 0;  // -1: none
    virtual int selection(int id) const = 0;
    virtual void showDropDown(int id) = 0;

    // List views (report view). Rows and columns count from 0.
    virtual void addColumn(int id, const ListColumn& column) = 0;
    virtual void deleteAllColumns(int id) = 0;
    virtual int columnCount(int id) const = 0;
    virtual std::string columnTitle(int id, int column) const = 0;
    virtual int columnWidth(int id, int column) const = 0;
    virtual void setColumnWidth(int id, int column, int width) = 0;
    virtual void insertRow(int id, int row, const std::string& firstCell) = 0;
    virtual void setCell(int id, int row, int column, const std::string& utf8) = 0;
    virtual std::string cell(int id, int row, int column) const = 0;
    virtual int rowCount(int id) const = 0;
    virtual void deleteRow(int id, int row) = 0;
    virtual void deleteAllRows(int id) = 0;
    virtual void setRowColours(int id, int row, Colour text, Colour background) = 0;
    virtual std::vector<int> selectedRows(int id) const = 0;
    virtual void selectRow(int id, int row, bool selected) = 0;
    virtual void ensureRowVisible(int id, int row) = 0;
    // Scrolls by pixels horizontally and rows vertically.
    virtual void scrollList(int id, int dx, int rows) = 0;
    virtual int horizontalScroll(int id) const = 0;  // pixels scrolled to the right
    virtual int rowHeight(int id) const = 0;
    // The cell's rectangle in dialog client coordinates (as the list shows it now, scrolled).
    virtual Rect cellRect(int id, int row, int column) const = 0;
    // The cell under a point given in the list's own coordinates.
    virtual ListHit hitTest(int id, int x, int y) const = 0;
    virtual void batchUpdate(int id, bool begin) = 0;  // freeze / thaw repainting of many rows

    // Progress bars.
    virtual void setRange(int id, int range) = 0;
    virtual void setPosition(int id, int position) = 0;
    virtual int position(int id) const = 0;

    // During long work inside a command: lets the screen repaint (the headless backend does nothing).
    virtual void processPendingEvents() = 0;
};

}  // namespace ui

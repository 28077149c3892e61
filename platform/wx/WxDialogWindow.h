#pragma once
#include <memory>
#include <string>
#include <vector>

#include <wx/dialog.h>

#include "Dialog.h"
#include "DialogWindow.h"
#include "UiTypes.h"

class wxListCtrl;
class wxMouseEvent;

namespace ui {

// A dialog's window on wxWidgets: a wxDialog whose controls are placed at the template's pixel
// rectangles (96 dpi, scaled for the screen), one native control per template control. The user's
// actions are reported to the owning ui::Dialog; what the program sets does not notify.
class WxDialogWindow : public DialogWindow {
public:
    WxDialogWindow(Dialog& owner, const DialogTemplate& t, WxDialogWindow* parent);
    ~WxDialogWindow() override;
    WxDialogWindow(const WxDialogWindow&) = delete;
    WxDialogWindow& operator=(const WxDialogWindow&) = delete;

    wxDialog* dialog() const { return dialog_; }
    // The control's window (nullptr for unknown ids), and a point of the control in dialog pixels.
    wxWindow* controlWindow(int id) const;
    wxPoint dialogPoint(int id, Point inControl) const;

    int runModal() override;
    void end(int code) override;
    void setTitle(const std::string& utf8) override;
    Size clientSize() const override;
    bool isMinimized() const override;
    bool hasControl(int id) const override;
    void setText(int id, const std::string& utf8) override;
    std::string text(int id) const override;
    void enable(int id, bool on) override;
    bool isEnabled(int id) const override;
    void show(int id, bool on) override;
    bool isVisible(int id) const override;
    void setTextColour(int id, Colour c) override;
    Colour textColour(int id) const override;
    void setFont(int id, const Font& font) override;
    void setFocus(int id) override;
    int focusedControl() const override;
    Rect controlRect(int id) const override;
    void moveControl(int id, const Rect& r) override;
    void refresh(int id) override;
    void setTooltip(int id, const std::string& utf8) override;
    void setCursor(int id, Cursor cursor) override;
    void createControl(const ControlTemplate& t) override;
    void destroyControl(int id) override;
    void captureMouse(int id) override;
    void releaseMouse() override;
    int mouseCaptor() const override { return captor_; }
    void setChecked(int id, bool on) override;
    bool isChecked(int id) const override;
    void selectAllText(int id) override;
    void clearItems(int id) override;
    void addItem(int id, const std::string& utf8) override;
    int itemCount(int id) const override;
    std::string itemText(int id, int index) const override;
    void setSelection(int id, int index) override;
    int selection(int id) const override;
    void showDropDown(int id) override;
    void addColumn(int id, const ListColumn& column) override;
    void deleteAllColumns(int id) override;
    int columnCount(int id) const override;
    std::string columnTitle(int id, int column) const override;
    int columnWidth(int id, int column) const override;
    void setColumnWidth(int id, int column, int width) override;
    void insertRow(int id, int row, const std::string& firstCell) override;
    void setCell(int id, int row, int column, const std::string& utf8) override;
    std::string cell(int id, int row, int column) const override;
    int rowCount(int id) const override;
    void deleteRow(int id, int row) override;
    void deleteAllRows(int id) override;
    void setRowColours(int id, int row, Colour text, Colour background) override;
    std::vector<int> selectedRows(int id) const override;
    void selectRow(int id, int row, bool selected) override;
    void ensureRowVisible(int id, int row) override;
    void scrollList(int id, int dx, int rows) override;
    int horizontalScroll(int id) const override;
    int rowHeight(int id) const override;
    Rect cellRect(int id, int row, int column) const override;
    ListHit hitTest(int id, int x, int y) const override;
    void batchUpdate(int id, bool begin) override;
    void setRange(int id, int range) override;
    void setPosition(int id, int position) override;
    int position(int id) const override;
    void processPendingEvents() override;

    // Called when a drop-down list's list opens or closes (GTK signals, Windows notifications) and
    // when its focus changes (GTK).
    void dropDownShown(wxWindow* control, bool shown);
    void dropDownFocus(wxWindow* control, bool in);

private:
    struct Control {
        ControlTemplate t;
        wxWindow* window = nullptr;  // the native control
        wxWindow* holder = nullptr;  // controls made at run time sit in a window of their own
        Colour colour = kBlack;
        std::string caption;  // a canvas's text
        int frozen = 0;       // batchUpdate depth
        // The outer window: the holder when there is one.
        wxWindow* outer() const { return holder ? holder : window; }
    };

    Control* find(int id);
    const Control* find(int id) const;
    wxListCtrl* list(int id) const;
    // The id of the control a window belongs to (the window itself or one of its parents).
    int idOf(const wxWindow* w) const;
    void makeControl(const ControlTemplate& t, bool atRunTime);
    void bindEvents(Control& c);
    void describe(wxWindow* w, int id);
    void notify(const wxWindow* w, Notify n);
    void mouseEvent(wxWindow* w, wxMouseEvent& e);
    void listClick(wxWindow* list, wxMouseEvent& e);
    void listRightClick(wxWindow* list, wxMouseEvent& e);
    wxSize dropListSize(wxWindow* choice, int width) const;
    void purgeDestroyed();
    bool active() const { return !dying_; }

    Dialog& owner_;
    DialogTemplate template_;
    wxDialog* dialog_ = nullptr;
    std::vector<std::unique_ptr<Control>> controls_;
    std::vector<wxWindow*> destroyed_;  // removed controls, deleted once their events are over
    int captor_ = kStaticId;
    int quiet_ = 0;                     // > 0 while the program changes a list's selection
    int pendingFocus_ = kStaticId;      // focus asked for before the window was shown
    int focusAsked_ = kStaticId;        // the last control setFocus was called for
    wxWindow* droppedDown_ = nullptr;   // the drop-down list whose list is open
    wxWindow* focusedCombo_ = nullptr;  // the drop-down list that has the focus
    bool ended_ = false;
    int endCode_ = 0;
    bool dying_ = false;
};

}  // namespace ui

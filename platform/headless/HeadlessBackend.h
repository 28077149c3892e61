#pragma once
#include <deque>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "Backend.h"
#include "Canvas.h"
#include "Dialog.h"
#include "DialogWindow.h"

// The window layer without a screen, for tests: controls live in memory, the test acts as the user
// (types, clicks, presses keys, answers message boxes and file dialogs) and reads what the program
// shows (texts, enabled states, colours, every message box in order, what a canvas painted).
namespace ui {

class HeadlessBackend;

// One recorded drawing call of a canvas.
struct PaintOp {
    enum Type { FillRect, DrawRect, Line, Polyline, Polygon, Ellipse, Text, Dots } type = FillRect;
    Rect rect;
    std::vector<Point> points;  // Line, Dots: the two ends
    int step = 0;               // Dots: pixels from one dot to the next
    Colour colour;              // pen or text colour (fill for FillRect)
    std::optional<Colour> fill;
    std::string text;
    Font font;
    int penWidth = 1;           // Line, Polyline, DrawRect, Ellipse
};

class RecordingCanvas : public Canvas {
public:
    explicit RecordingCanvas(Size size) : size_(size) {}
    std::vector<PaintOp> ops;
    // The desktop's colours the canvas reports (a light theme unless the test says otherwise).
    Colour face{240, 240, 240};
    Colour window{255, 255, 255};

    Size size() const override { return size_; }
    void fillRect(const Rect& r, Colour fill) override;
    void drawRect(const Rect& r, Colour pen, int penWidth) override;
    void drawLine(int x1, int y1, int x2, int y2, Colour pen, int penWidth) override;
    void drawPolyline(const std::vector<Point>& points, Colour pen, int penWidth) override;
    void drawDots(int x1, int y1, int x2, int y2, Colour pen, int step) override;
    void drawPolygon(const std::vector<Point>& points, Colour pen, std::optional<Colour> fill) override;
    void drawEllipse(const Rect& r, Colour pen, std::optional<Colour> fill, int penWidth) override;
    void drawText(int x, int y, const std::string& utf8, Colour colour, const Font& font) override;
    // Text extent of a fixed-pitch font: 7 pixels a character (UTF-8 code points), 13 high (or the
    // font's pixel height).
    Size textExtent(const std::string& utf8, const Font& font) const override;
    Colour faceColour() const override { return face; }
    Colour windowColour() const override { return window; }

    // The texts drawn, in order.
    std::vector<std::string> texts() const;

private:
    Size size_;
};

class HeadlessWindow : public DialogWindow {
public:
    HeadlessWindow(HeadlessBackend& backend, Dialog& owner, const DialogTemplate& t);
    ~HeadlessWindow() override;

    Dialog& owner() { return owner_; }
    const DialogTemplate& dialogTemplate() const { return template_; }
    bool ended() const { return ended_; }
    int endCode() const { return endCode_; }

    // --- What the user does. Each action on an ended window does nothing. ---
    // Replaces the edit's text as typed (focus, text, one Changed).
    void type(int id, const std::string& utf8);
    // Types character by character through the dialog's character filter (for edits that filter).
    void typeChars(int id, const std::string& utf8);
    // Button: Clicked. Check box: toggled, then Clicked. Radio: checked (its group unchecked), Clicked.
    void click(int id);
    // A key pressed in the control (the focused one when id is kStaticId).
    void pressKey(int id, const KeyEvent& k);
    void pressKey(int id, int key) { pressKey(id, KeyEvent{key}); }
    // Ctrl+V: the clipboard's text replaces the selection (here: is appended, or replaces a fully
    // selected text) unless the dialog refuses the paste.
    void paste(int id);
    void chooseItem(int id, int index);  // drop-down list: select, SelChange
    void closeDropDown(int id);          // DropDownClosed
    void focus(int id);                  // moves the focus (KillFocus to the old, SetFocus to the new)
    void mouse(int id, const MouseEvent& m);
    // A left click on a list cell, as the list handles it: the dialog's handler first, then the
    // list selects the row (only that row unless Control is held).
    void clickCell(int id, int row, int column, bool shift = false, bool control = false);
    void doubleClickRow(int id, int row);
    // A right click on a list row (-1: below the rows), as the list handles it: the row becomes the
    // only selected one unless it was selected already, then the dialog's context menu handling.
    void rightClickRow(int id, int row);
    // A long press (or a right click) on a control other than a list view: the dialog's menu for it.
    void pressAndHold(int id);
    void resize(int width, int height);
    void minimize(bool on);
    void closeBox();   // the window's close box
    void help();       // the about item of the window menu
    // Paints a canvas control and returns what was drawn.
    RecordingCanvas paint(int id);

    // --- DialogWindow ---
    int runModal() override;
    void end(int code) override;
    void setTitle(const std::string& utf8) override { title_ = utf8; }
    std::string title() const { return title_; }
    Size clientSize() const override { return client_; }
    bool isMinimized() const override { return minimized_; }
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
    Font font(int id) const;
    void setFocus(int id) override;
    int focusedControl() const override { return focus_; }
    Rect controlRect(int id) const override;
    void moveControl(int id, const Rect& r) override;
    void refresh(int id) override;
    int refreshCount(int id) const;
    void setTooltip(int id, const std::string& utf8) override;
    std::string tooltip(int id) const;
    void setCursor(int id, Cursor cursor) override;
    Cursor cursor(int id) const;
    void createControl(const ControlTemplate& t) override;
    void destroyControl(int id) override;
    void captureMouse(int id) override { captor_ = id; }
    void releaseMouse() override { captor_ = kStaticId; }
    int mouseCaptor() const override { return captor_; }
    void setChecked(int id, bool on) override;
    bool isChecked(int id) const override;
    void selectAllText(int id) override;
    bool allTextSelected(int id) const;
    void clearItems(int id) override;
    void addItem(int id, const std::string& utf8) override;
    int itemCount(int id) const override;
    std::string itemText(int id, int index) const override;
    void setSelection(int id, int index) override;
    int selection(int id) const override;
    void showDropDown(int id) override;
    bool droppedDown(int id) const;
    void addColumn(int id, const ListColumn& column) override;
    void deleteAllColumns(int id) override;
    int columnCount(int id) const override;
    ListColumn column(int id, int column) const;
    std::string columnTitle(int id, int col) const override { return column(id, col).title; }
    int columnWidth(int id, int column) const override;
    void setColumnWidth(int id, int column, int width) override;
    void insertRow(int id, int row, const std::string& firstCell) override;
    void setCell(int id, int row, int column, const std::string& utf8) override;
    std::string cell(int id, int row, int column) const override;
    int rowCount(int id) const override;
    void deleteRow(int id, int row) override;
    void deleteAllRows(int id) override;
    void setRowColours(int id, int row, Colour text, Colour background) override;
    std::pair<Colour, Colour> rowColours(int id, int row) const;
    std::vector<int> selectedRows(int id) const override;
    void selectRow(int id, int row, bool selected) override;
    void ensureRowVisible(int id, int row) override;
    void scrollList(int id, int dx, int rows) override;
    int horizontalScroll(int id) const override;
    int topRow(int id) const;
    int rowHeight(int id) const override;
    Rect cellRect(int id, int row, int column) const override;
    ListHit hitTest(int id, int x, int y) const override;
    void batchUpdate(int, bool) override {}
    void setRange(int id, int range) override;
    void setPosition(int id, int position) override;
    int position(int id) const override;
    int range(int id) const;
    void processPendingEvents() override { ++pendingEventCalls_; }
    int pendingEventCalls() const { return pendingEventCalls_; }

    // Every control id of the window (templates and created ones), in order.
    std::vector<int> controlIds() const;

    static constexpr int kRowHeight = 17;
    static constexpr int kHeaderHeight = 20;
    static constexpr int kVisibleRowsFallback = 10;

private:
    struct Control {
        ControlTemplate t;
        std::string text;
        bool enabled = true;
        bool visible = true;
        bool checked = false;
        bool allSelected = false;
        Colour colour = kBlack;
        Font font;
        std::string tooltip;
        Cursor cursor = Cursor::Arrow;
        int refreshes = 0;
        std::vector<std::string> items;
        int selection = -1;
        bool droppedDown = false;
        std::vector<ListColumn> columns;
        std::vector<std::vector<std::string>> rows;
        std::vector<bool> selected;
        std::vector<std::pair<Colour, Colour>> rowColours;
        int hScroll = 0;
        int topRow = 0;
        int range = 100;
        int position = 0;
    };
    Control* find(int id);
    const Control* find(int id) const;
    bool acting() const;
    void finishAction();

    HeadlessBackend& backend_;
    Dialog& owner_;
    DialogTemplate template_;
    std::string title_;
    Size client_;
    std::vector<Control> controls_;
    int focus_ = kStaticId;
    int captor_ = kStaticId;
    bool minimized_ = false;
    bool ended_ = false;
    int endCode_ = 0;
    int pendingEventCalls_ = 0;
};

struct ShownMessage {
    std::string text;
    std::string caption;
    Buttons buttons = Buttons::Ok;
    Icon icon = Icon::None;
    bool owned = false;  // shown over a window of the program
};

class HeadlessBackend : public Backend {
public:
    HeadlessBackend();
    ~HeadlessBackend() override;

    // Installs itself as the backend for the lifetime of the object (restores the previous one after).
    // --- The user's part in what comes next ---
    // The next message box is answered with `code`; without an answer a box takes its first button
    // (kIdOk, kIdYes or kIdRetry).
    void answerMessage(int code) { messageAnswers_.push_back(code); }
    // The next file dialog returns these files (nothing: cancelled).
    void answerFileDialog(std::optional<std::vector<std::filesystem::path>> files) {
        fileAnswers_.push_back(std::move(files));
    }
    // The next folder chooser returns this folder (nothing: cancelled; without an answer it is cancelled).
    void answerFolderDialog(std::optional<std::filesystem::path> folder) { folderAnswers_.push_back(std::move(folder)); }
    // What the user does in the next modal dialog. When the script leaves the dialog open, it is
    // closed with its close box. Without a script a modal dialog is closed at once.
    void onNextModal(std::function<void(HeadlessWindow&)> script) { modalScripts_.push_back(std::move(script)); }
    // The next pop-up menu is answered with the item `id` (0: closed without a choice). A disabled
    // or missing item cannot be chosen: the menu then returns 0.
    void answerMenu(int id) { menuAnswers_.push_back(id); }

    // --- What the program showed ---
    std::vector<ShownMessage> messages;
    std::vector<FileDialogOptions> fileDialogs;
    std::vector<FolderDialogOptions> folderDialogs;
    std::vector<std::vector<MenuItem>> menus;
    std::vector<std::string> openedUrls;
    std::vector<std::string> modalTitles;  // title of every dialog run modally, in order
    int beeps = 0;
    std::string clipboard;
    bool urlsOpen = true;  // what openUrl answers
    // The desktop's colours every canvas paints with (the light theme; a test sets a dark one).
    Colour faceColour{240, 240, 240};
    Colour windowColour{255, 255, 255};

    // Message texts only, in order; clears them when asked.
    std::vector<std::string> messageTexts() const;
    size_t pendingScripts() const { return modalScripts_.size(); }

    // The windows open now, innermost last.
    std::vector<HeadlessWindow*> openWindows;

    // --- Backend ---
    std::unique_ptr<DialogWindow> createWindow(Dialog& owner, const DialogTemplate& t, DialogWindow* parent) override;
    int messageBox(DialogWindow* parent, const std::string& text, const std::string& caption, Buttons buttons,
                   Icon icon) override;
    std::optional<std::vector<std::filesystem::path>> fileDialog(DialogWindow* parent,
                                                                  const FileDialogOptions& options) override;
    std::optional<std::filesystem::path> folderDialog(DialogWindow* parent, const FolderDialogOptions& options) override;
    int popupMenu(DialogWindow* parent, int controlId, Point at, const std::vector<MenuItem>& items) override;
    std::string clipboardText() override { return clipboard; }
    void setClipboardText(const std::string& utf8) override { clipboard = utf8; }
    bool openUrl(const std::string& url) override;
    void beep() override { ++beeps; }

private:
    friend class HeadlessWindow;
    std::function<void(HeadlessWindow&)> takeScript();

    Backend* previous_ = nullptr;
    std::deque<int> messageAnswers_;
    std::deque<std::optional<std::vector<std::filesystem::path>>> fileAnswers_;
    std::deque<std::optional<std::filesystem::path>> folderAnswers_;
    std::deque<std::function<void(HeadlessWindow&)>> modalScripts_;
    std::deque<int> menuAnswers_;
};

// Runs a dialog as the top-level window of a test: made and initialised; the test acts on the
// returned window; the dialog is destroyed when the window ends (a button) or the test closes it.
HeadlessWindow& openHeadless(Dialog& dialog);

}  // namespace ui

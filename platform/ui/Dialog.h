#pragma once
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "Backend.h"
#include "Canvas.h"
#include "DialogWindow.h"
#include "UiTypes.h"

namespace ui {

class DataExchange;

// Takes over some of a control's events (a list that edits in place, a link, a picker). Attached to
// a dialog by control id; it sees the control's events before the dialog does.
class ControlHandler {
public:
    virtual ~ControlHandler() = default;
    // Each returns true when it dealt with the event (the dialog then does not see it).
    virtual bool onNotify(Notify) { return false; }
    virtual bool onKeyDown(const KeyEvent&) { return false; }
    // A typed character (Unicode); true drops it.
    virtual bool onChar(char32_t) { return false; }
    // A paste into an edit; true refuses it.
    virtual bool onPaste() { return false; }
    virtual bool onMouse(const MouseEvent&) { return false; }
    virtual bool onPaint(Canvas&) { return false; }
    // A click on a list view, before the list's own handling (selection).
    virtual bool onListClick(const MouseEvent&) { return false; }
    // A context menu asked for on a list view (see Dialog::onListContextMenu).
    virtual bool onListContextMenu(int /*row*/, Point /*at*/) { return false; }
};

// A dialog as the program describes it: a template, an initialisation, command handlers by control
// id, a data exchange between controls and members, and a modal run that returns the end code.
//
// The backends call the handle...() functions; a dialog overrides the on...() hooks.
class Dialog {
public:
    explicit Dialog(DialogTemplate t, Dialog* parent = nullptr);
    virtual ~Dialog();
    Dialog(const Dialog&) = delete;
    Dialog& operator=(const Dialog&) = delete;

    // Creates the window, initialises, shows it modally; returns the end code (kIdOk, kIdCancel, ...).
    int doModal();
    // The first half of doModal, for a driver that acts as the user (tests): the window is made and
    // initialised but not run. close() ends it as the window's close box would and destroys it.
    void create();
    void destroy();

    const DialogTemplate& dialogTemplate() const { return template_; }
    bool isOpen() const { return window_ != nullptr; }
    DialogWindow& window() { return *window_; }
    const DialogWindow& window() const { return *window_; }
    int endCode() const { return endCode_; }

    // Called by the backends.
    void handleCommand(int id, Notify n);
    // True when the key was dealt with (the control must not see it).
    bool handleKeyDown(int id, const KeyEvent& k);
    bool handleChar(int id, char32_t c);
    bool handlePaste(int id);
    void handleMouse(int id, const MouseEvent& m);
    bool handleListClick(int id, const MouseEvent& m);
    void handleListContextMenu(int id, int row, Point at);
    // A long press, a right click or the menu key on a control that is not a list view; `at` in the
    // control's own coordinates. Only for controls the dialog has a menu for (hasContextMenu): on the
    // others the toolkit's own menu (an edit's) stays.
    bool hasContextMenu(int id) const { return wantsContextMenu(id); }
    void handleContextMenu(int id, Point at);
    void handlePaint(int id, Canvas& canvas);
    void handleSize(int width, int height);
    void handleClose();     // the window's close box
    void handleHelp();      // the about item of the window menu / F1

    // The exchange between controls and members: saving reads the controls (false, after a message,
    // when a field does not parse), else the members are shown.
    bool updateData(bool saveAndValidate = true);

    void endDialog(int code);
    // A field that cannot be used: the message (a warning), then the focus on the field with its
    // text selected, to be typed over.
    void refuseField(int id, const std::string& message);
    int messageBox(const std::string& text, const std::string& caption = {}, Buttons b = Buttons::Ok,
                   Icon i = Icon::None);

    // Events of the control go to the handler first (nullptr detaches).
    void attach(int id, ControlHandler* handler);

protected:
    virtual bool onInitDialog() { updateData(false); return true; }
    virtual void doDataExchange(DataExchange&) {}
    virtual void onCommand(int id, Notify n);
    virtual void onOK();
    virtual void onCancel();
    // Every key before the control gets it; true swallows it.
    virtual bool preTranslateKey(int id, const KeyEvent& k);
    virtual void onMouse(int, const MouseEvent&) {}
    // A right click on list view `id` (it has already selected the row under it, as lists do), or
    // the menu key / Shift+F10 while the list has the focus: `row` is the row clicked or the first
    // selected one, -1 when none; `at` is where a menu goes, in the list's own coordinates (as
    // Backend::popupMenu takes them).
    virtual void onListContextMenu(int /*id*/, int /*row*/, Point /*at*/) {}
    // The dialog's own menu for a control in place of the toolkit's (see handleContextMenu).
    virtual bool wantsContextMenu(int /*id*/) const { return false; }
    virtual void onContextMenu(int /*id*/, Point /*at*/) {}
    virtual void onPaint(int, Canvas&) {}
    virtual void onSize(int, int) {}
    virtual void onHelp() {}
    // The window is going away (any way of closing); controls can still be read.
    virtual void onDestroy() {}

    DialogWindow* parentWindow() const;

    // Shortcuts to the window.
    void setText(int id, const std::string& utf8) { window_->setText(id, utf8); }
    std::string text(int id) const { return window_->text(id); }
    void enable(int id, bool on) { window_->enable(id, on); }
    void setChecked(int id, bool on) { window_->setChecked(id, on); }
    bool isChecked(int id) const { return window_->isChecked(id); }

private:
    ControlHandler* handlerFor(int id) const;
    bool isListView(int id) const;

    DialogTemplate template_;
    Dialog* parent_;
    std::unique_ptr<DialogWindow> window_;
    std::map<int, ControlHandler*> handlers_;
    int endCode_ = 0;
    bool ending_ = false;
};

// The exchange of one updateData call. Saving stops at the first field that does not parse: it
// shows "Введите число." (with the field's label when the dialog gives one: "Влажность, %: введите
// число."), puts the focus there, and every later call does nothing.
class DataExchange {
public:
    DataExchange(Dialog& dialog, bool saving) : dialog_(dialog), saving_(saving) {}
    bool saving() const { return saving_; }
    bool failed() const { return failed_; }

    // Numbers are shown as "%.*g" with 15 significant digits; read with a point or a comma.
    // `label` names the field in the message (UTF-8; empty: the plain message).
    void number(int id, double& value, const std::string& label = {});
    void number(int id, int& value, const std::string& label = {});
    void text(int id, std::string& utf8);
    void check(int id, bool& on);
    void check(int id, int& on);  // 1 or 0
    // A group of radio buttons: value is the index of the checked one in `ids` (-1 when none).
    void radio(const std::vector<int>& ids, int& value);

private:
    void fail(int id, const std::string& message);

    Dialog& dialog_;
    bool saving_;
    bool failed_ = false;
};

inline constexpr const char* kEnterNumberMessage = "Введите число.";
inline constexpr const char* kEnterIntegerMessage = "Введите целое число.";

// "Введите число." or, with a label, "Влажность, %: введите число.".
std::string enterNumberMessage(const std::string& label);
std::string enterIntegerMessage(const std::string& label);

}  // namespace ui

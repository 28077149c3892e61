#include "Dialog.h"

#include "NumberText.h"

namespace ui {

Dialog::Dialog(DialogTemplate t, Dialog* parent) : template_(std::move(t)), parent_(parent) {}

Dialog::~Dialog() = default;

DialogWindow* Dialog::parentWindow() const {
    return (parent_ && parent_->isOpen()) ? &parent_->window() : nullptr;
}

void Dialog::create() {
    endCode_ = 0;
    ending_ = false;
    window_ = backend().createWindow(*this, template_, parentWindow());
    onInitDialog();  // false: the dialog set the focus itself
}

void Dialog::destroy() {
    if (!window_) return;
    onDestroy();
    handlers_.clear();
    window_.reset();
}

int Dialog::doModal() {
    create();
    int code = endCode_;
    if (!ending_) code = window_->runModal();
    if (ending_) code = endCode_;
    destroy();
    return code;
}

void Dialog::endDialog(int code) {
    endCode_ = code;
    ending_ = true;
    if (window_) window_->end(code);
}

int Dialog::messageBox(const std::string& text, const std::string& caption, Buttons b, Icon i) {
    return backend().messageBox(window_.get(), text, caption.empty() ? applicationName() : caption, b, i);
}

void Dialog::attach(int id, ControlHandler* handler) {
    if (handler)
        handlers_[id] = handler;
    else
        handlers_.erase(id);
}

ControlHandler* Dialog::handlerFor(int id) const {
    const auto it = handlers_.find(id);
    return it == handlers_.end() ? nullptr : it->second;
}

void Dialog::handleCommand(int id, Notify n) {
    if (!window_) return;
    if (ControlHandler* h = handlerFor(id); h && h->onNotify(n)) return;
    onCommand(id, n);
}

void Dialog::onCommand(int id, Notify n) {
    if (n != Notify::Clicked) return;
    if (id == kIdOk) onOK();
    if (id == kIdCancel) onCancel();
}

void Dialog::onOK() {
    if (updateData(true)) endDialog(kIdOk);
}

void Dialog::onCancel() { endDialog(kIdCancel); }

bool Dialog::preTranslateKey(int, const KeyEvent&) { return false; }

bool Dialog::handleKeyDown(int id, const KeyEvent& k) {
    if (!window_) return true;
    if (preTranslateKey(id, k)) return true;
    if (ControlHandler* h = handlerFor(id); h && h->onKeyDown(k)) return true;
    // The dialog's own keys: Enter presses the default button, Escape cancels.
    if (k.key == kKeyReturn && !k.alt) {
        int target = kIdOk;
        for (const auto& c : template_.controls)
            if (c.kind == Kind::Button && (c.style & kDefault)) target = c.id;
        // Enter on a focused push button presses that one.
        for (const auto& c : template_.controls)
            if (c.kind == Kind::Button && c.id == window_->focusedControl()) target = c.id;
        if (window_->hasControl(target) && !window_->isEnabled(target)) return true;
        handleCommand(target, Notify::Clicked);
        return true;
    }
    if (k.key == kKeyEscape) {
        handleCommand(kIdCancel, Notify::Clicked);
        return true;
    }
    // The keyboard's way to a list's context menu: at the first selected row, else the list's corner.
    const bool menuKey = (k.key == kKeyApps && !k.shift) || (k.key == kKeyF10 && k.shift);
    if (menuKey && !k.control && !k.alt && isListView(id)) {
        const std::vector<int> rows = window_->selectedRows(id);
        const int row = rows.empty() ? -1 : rows.front();
        Point at{4, 4};
        if (row >= 0) {
            const Rect cell = window_->cellRect(id, row, 0);
            const Rect list = window_->controlRect(id);
            if (cell.height > 0) at = Point{cell.x - list.x + 4, cell.bottom() - list.y};
        }
        handleListContextMenu(id, row, at);
        return true;
    }
    if (menuKey && !k.control && !k.alt && hasContextMenu(id)) {
        const Rect r = window_->controlRect(id);
        handleContextMenu(id, Point{4, r.height});
        return true;
    }
    // The desktop has no window menu to put "About" in: F1 stands in for it.
    if (k.key == kKeyF1 && !k.shift && !k.control && !k.alt) {
        handleHelp();
        return true;
    }
    return false;
}

bool Dialog::handleChar(int id, char32_t c) {
    if (ControlHandler* h = handlerFor(id)) return h->onChar(c);
    return false;
}

bool Dialog::handlePaste(int id) {
    if (ControlHandler* h = handlerFor(id)) return h->onPaste();
    return false;
}

void Dialog::handleMouse(int id, const MouseEvent& m) {
    if (!window_) return;
    if (ControlHandler* h = handlerFor(id); h && h->onMouse(m)) return;
    onMouse(id, m);
}

bool Dialog::handleListClick(int id, const MouseEvent& m) {
    if (ControlHandler* h = handlerFor(id)) return h->onListClick(m);
    return false;
}

void Dialog::handleListContextMenu(int id, int row, Point at) {
    if (!window_) return;
    if (ControlHandler* h = handlerFor(id); h && h->onListContextMenu(row, at)) return;
    onListContextMenu(id, row, at);
}

void Dialog::handleContextMenu(int id, Point at) {
    if (window_ && hasContextMenu(id)) onContextMenu(id, at);
}

bool Dialog::isListView(int id) const {
    if (id == kStaticId) return false;
    for (const auto& c : template_.controls)
        if (c.id == id) return c.kind == Kind::ListView;
    return false;
}

void Dialog::handlePaint(int id, Canvas& canvas) {
    if (ControlHandler* h = handlerFor(id); h && h->onPaint(canvas)) return;
    onPaint(id, canvas);
}

void Dialog::handleSize(int width, int height) {
    if (window_) onSize(width, height);
}

void Dialog::handleClose() {
    if (window_) onCancel();
}

void Dialog::handleHelp() {
    if (window_) onHelp();
}

bool Dialog::updateData(bool saveAndValidate) {
    if (!window_) return false;
    DataExchange dx(*this, saveAndValidate);
    doDataExchange(dx);
    return !dx.failed();
}

void Dialog::refuseField(int id, const std::string& message) {
    messageBox(message, {}, Buttons::Ok, Icon::Warning);
    if (window_) {
        window_->setFocus(id);
        window_->selectAllText(id);
    }
}

void DataExchange::fail(int id, const std::string& message) {
    failed_ = true;
    dialog_.refuseField(id, message);
}

namespace {
// The plain message with its first letter made small after the label ("В" is two bytes in UTF-8).
std::string labelled(const std::string& label, const std::string& plain) {
    if (label.empty()) return plain;
    return label + ": в" + plain.substr(std::string("В").size());
}
}  // namespace

std::string enterNumberMessage(const std::string& label) { return labelled(label, kEnterNumberMessage); }
std::string enterIntegerMessage(const std::string& label) { return labelled(label, kEnterIntegerMessage); }

void DataExchange::number(int id, double& value, const std::string& label) {
    if (failed_) return;
    if (!saving_) {
        dialog_.window().setText(id, formatNumber(value));
        return;
    }
    const auto v = parseNumber(dialog_.window().text(id));
    if (!v) return fail(id, enterNumberMessage(label));
    value = *v;
}

void DataExchange::number(int id, int& value, const std::string& label) {
    if (failed_) return;
    if (!saving_) {
        dialog_.window().setText(id, std::to_string(value));
        return;
    }
    const auto v = parseInteger(dialog_.window().text(id));
    if (!v) return fail(id, enterIntegerMessage(label));
    value = *v;
}

void DataExchange::text(int id, std::string& utf8) {
    if (failed_) return;
    if (saving_)
        utf8 = dialog_.window().text(id);
    else
        dialog_.window().setText(id, utf8);
}

void DataExchange::check(int id, bool& on) {
    if (failed_) return;
    if (saving_)
        on = dialog_.window().isChecked(id);
    else
        dialog_.window().setChecked(id, on);
}

void DataExchange::check(int id, int& on) {
    bool b = on != 0;
    check(id, b);
    if (saving_ && !failed_) on = b ? 1 : 0;
}

void DataExchange::radio(const std::vector<int>& ids, int& value) {
    if (failed_) return;
    if (saving_) {
        value = -1;
        for (size_t i = 0; i < ids.size(); ++i)
            if (dialog_.window().isChecked(ids[i])) {
                value = static_cast<int>(i);
                break;
            }
        return;
    }
    for (size_t i = 0; i < ids.size(); ++i) dialog_.window().setChecked(ids[i], static_cast<int>(i) == value);
}

}  // namespace ui

#include "CInPlaceEdit.h"

#include "CComboListCtrl.h"

namespace {

// Characters typed with Control that still act in a filtered box: copy, cut, paste, and backspace.
constexpr char32_t kCtrlC = 0x03;
constexpr char32_t kBackspace = 0x08;
constexpr char32_t kCtrlV = 0x16;
constexpr char32_t kCtrlX = 0x18;

// The code points of UTF-8 text; a malformed byte stands for itself, so it never matches a valid set
// written in proper UTF-8.
std::u32string decodeUtf8(const std::string& s) {
    std::u32string out;
    for (size_t i = 0; i < s.size();) {
        const auto b = static_cast<unsigned char>(s[i]);
        size_t n = b < 0x80 ? 1 : (b >> 5) == 6 ? 2 : (b >> 4) == 14 ? 3 : (b >> 3) == 30 ? 4 : 0;
        if (n == 0 || i + n > s.size()) {
            out.push_back(0xDC00 + b);  // not a character anyone types
            ++i;
            continue;
        }
        char32_t cp = n == 1 ? b : n == 2 ? (b & 0x1F) : n == 3 ? (b & 0x0F) : (b & 0x07);
        for (size_t k = 1; k < n; ++k) cp = (cp << 6) | (static_cast<unsigned char>(s[i + k]) & 0x3F);
        out.push_back(cp);
        i += n;
    }
    return out;
}

}  // namespace

CInPlaceEdit& CInPlaceEdit::instance() {
    static CInPlaceEdit edit;
    return edit;
}

void CInPlaceEdit::begin(const Request& r) {
    if (isActive()) end();
    if (!r.list || !r.list->dialog() || !r.list->dialog()->isOpen()) return;
    list_ = r.list;
    dialog_ = r.list->dialog();
    item_ = r.item;
    column_ = r.column;
    escape_ = false;
    validChars_ = r.validChars;
    valid32_ = decodeUtf8(r.validChars);
    textBefore_ = r.text;

    ui::DialogWindow& w = dialog_->window();
    w.createControl(ui::ControlTemplate{kControlId, ui::Kind::Edit, r.text, r.rect, r.style});
    dialog_->attach(kControlId, this);
    w.setFont(kControlId, r.font);
    w.setText(kControlId, r.text);
    w.selectAllText(kControlId);
    w.setFocus(kControlId);
}

void CInPlaceEdit::end() {
    if (!isActive()) return;
    CComboListCtrl* list = list_;
    const int item = item_;
    const int column = column_;
    if (!dialog_->isOpen() || !dialog_->window().hasControl(kControlId)) {
        forget();
        return;
    }
    const std::string text = escape_ ? textBefore_ : dialog_->window().text(kControlId);
    // Closed before the list hears of it, so that whatever the list's owner does next (a message box,
    // editing another cell) finds no editor open.
    cancel();
    list->endEditing(item, column, text);
}

void CInPlaceEdit::forget() {
    list_ = nullptr;
    dialog_ = nullptr;
    item_ = column_ = -1;
    escape_ = false;
}

void CInPlaceEdit::cancel() {
    ui::Dialog* dialog = dialog_;
    forget();
    if (dialog && dialog->isOpen()) {
        dialog->attach(kControlId, nullptr);
        dialog->window().destroyControl(kControlId);
    }
}

void CInPlaceEdit::returnFocus() {
    if (!isActive()) return;
    const int listId = list_->id();
    if (dialog_->isOpen()) dialog_->window().setFocus(listId);
    // A toolkit may report the loss of focus later, or not at all when the list could not take it.
    end();
}

bool CInPlaceEdit::onNotify(ui::Notify n) {
    if (n == ui::Notify::KillFocus) end();
    return true;  // the editor is ours: the dialog has no use for its events
}

bool CInPlaceEdit::onKeyDown(const ui::KeyEvent& k) {
    if (!isActive()) return false;
    // Enter and Escape end the editing here; the dialog must not take them for OK or Cancel.
    if (k.key == ui::kKeyEscape) {
        escape_ = true;
        returnFocus();
        return true;
    }
    if (k.key == ui::kKeyReturn) {
        returnFocus();
        return true;
    }
    return false;
}

bool CInPlaceEdit::accepts(char32_t c) const {
    if (valid32_.empty()) return true;
    if (c == kCtrlC || c == kBackspace || c == kCtrlV || c == kCtrlX) return true;
    return valid32_.find(c) != std::u32string::npos;
}

bool CInPlaceEdit::onChar(char32_t c) {
    if (accepts(c)) return false;
    ui::backend().beep();
    return true;
}

bool CInPlaceEdit::onPaste() {
    if (valid32_.empty()) return false;
    for (char32_t c : decodeUtf8(ui::backend().clipboardText()))
        if (valid32_.find(c) == std::u32string::npos) return true;
    return false;
}

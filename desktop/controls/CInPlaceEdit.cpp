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
    if (!start(r.list, r.item, r.column, r.text)) return;
    validChars_ = r.validChars;
    valid32_ = decodeUtf8(r.validChars);

    ui::DialogWindow& w = dialog_->window();
    w.createControl(ui::ControlTemplate{kControlId, ui::Kind::Edit, r.text, r.rect, r.style});
    dialog_->attach(kControlId, this);
    w.setFont(kControlId, r.font);
    w.setText(kControlId, r.text);
    w.selectAllText(kControlId);
    w.setFocus(kControlId);
}

std::string CInPlaceEdit::editedText() const { return dialog_->window().text(kControlId); }

bool CInPlaceEdit::onNotify(ui::Notify n) {
    if (n == ui::Notify::KillFocus) end();
    return true;  // the editor is ours: the dialog has no use for its events
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

#include "WxMapping.h"

#include <wx/defs.h>

#include <algorithm>
#include <cctype>

namespace ui {

int WxMapping::virtualKey(int code) {
    if (code >= 'a' && code <= 'z') return code - 'a' + 'A';
    if ((code >= 'A' && code <= 'Z') || (code >= '0' && code <= '9')) return code;
    if (code >= WXK_F1 && code <= WXK_F24) return kKeyF1 + (code - WXK_F1);
    if (code >= WXK_NUMPAD0 && code <= WXK_NUMPAD9) return 96 + (code - WXK_NUMPAD0);
    switch (code) {
        case WXK_BACK: return kKeyBack;
        case WXK_TAB:
        case WXK_NUMPAD_TAB: return kKeyTab;
        case WXK_RETURN:
        case WXK_NUMPAD_ENTER: return kKeyReturn;
        case WXK_ESCAPE: return kKeyEscape;
        case WXK_SPACE:
        case WXK_NUMPAD_SPACE: return kKeySpace;
        case WXK_PAGEUP:
        case WXK_NUMPAD_PAGEUP: return kKeyPageUp;
        case WXK_PAGEDOWN:
        case WXK_NUMPAD_PAGEDOWN: return kKeyPageDown;
        case WXK_END:
        case WXK_NUMPAD_END: return kKeyEnd;
        case WXK_HOME:
        case WXK_NUMPAD_HOME: return kKeyHome;
        case WXK_LEFT:
        case WXK_NUMPAD_LEFT: return kKeyLeft;
        case WXK_UP:
        case WXK_NUMPAD_UP: return kKeyUp;
        case WXK_RIGHT:
        case WXK_NUMPAD_RIGHT: return kKeyRight;
        case WXK_DOWN:
        case WXK_NUMPAD_DOWN: return kKeyDown;
        case WXK_INSERT:
        case WXK_NUMPAD_INSERT: return kKeyInsert;
        case WXK_DELETE:
        case WXK_NUMPAD_DELETE: return kKeyDelete;
        case WXK_MENU:
        case WXK_WINDOWS_MENU: return kKeyApps;
        case WXK_SHIFT: return 16;
        case WXK_CONTROL: return 17;
        case WXK_ALT: return 18;
        case WXK_PAUSE: return 19;
        case WXK_CAPITAL: return 20;
        case WXK_NUMPAD_MULTIPLY:
        case WXK_MULTIPLY: return 106;
        case WXK_NUMPAD_ADD:
        case WXK_ADD: return 107;
        case WXK_NUMPAD_SEPARATOR:
        case WXK_SEPARATOR: return 108;
        case WXK_NUMPAD_SUBTRACT:
        case WXK_SUBTRACT: return 109;
        case WXK_NUMPAD_DECIMAL:
        case WXK_DECIMAL: return 110;
        case WXK_NUMPAD_DIVIDE:
        case WXK_DIVIDE: return 111;
        // The punctuation keys of a US keyboard, as Windows numbers them (VK_OEM_...).
        case ';': return 186;
        case '=': return 187;
        case ',': return 188;
        case '-': return 189;
        case '.': return 190;
        case '/': return 191;
        case '`': return 192;
        case '[': return 219;
        case '\\': return 220;
        case ']': return 221;
        case '\'': return 222;
        default: return 0;
    }
}

char32_t WxMapping::typedChar(int code, char32_t unicodeKey, bool control, bool alt) {
    if (control && !alt) {
        if (code >= 'a' && code <= 'z') return static_cast<char32_t>(code - 'a' + 1);
        if (code >= 'A' && code <= 'Z') return static_cast<char32_t>(code - 'A' + 1);
        if (code >= 1 && code <= 26) return static_cast<char32_t>(code);
        return 0;
    }
    if (code == WXK_BACK) return 8;
    // Keys that move or delete type nothing; Tab, Enter and Escape belong to the dialog.
    if (code == WXK_TAB || code == WXK_RETURN || code == WXK_ESCAPE || code == WXK_DELETE || code == WXK_NUMPAD_ENTER)
        return 0;
    if (unicodeKey == static_cast<char32_t>(WXK_NONE) || unicodeKey < 32 || unicodeKey == 127) return 0;
    return unicodeKey;
}

int WxMapping::menuWxId(size_t index) { return wxID_HIGHEST + 1 + static_cast<int>(index); }

int WxMapping::menuItemId(int wxId, const std::vector<MenuItem>& items) {
    const long index = static_cast<long>(wxId) - (wxID_HIGHEST + 1);
    if (index < 0 || index >= static_cast<long>(items.size())) return 0;
    return items[static_cast<size_t>(index)].id;
}

std::vector<std::string> WxMapping::patternCases(const std::string& pattern) {
    std::vector<std::string> out{pattern};
    for (const bool upper : {false, true}) {
        std::string p = pattern;
        for (char& c : p) {
            const unsigned char u = static_cast<unsigned char>(c);
            if (u < 128) c = static_cast<char>(upper ? std::toupper(u) : std::tolower(u));
        }
        if (std::find(out.begin(), out.end(), p) == out.end()) out.push_back(p);
    }
    return out;
}

std::string WxMapping::wildcard(const std::vector<FileFilter>& filters) {
    std::string out;
    for (const auto& f : filters) {
        if (!out.empty()) out += '|';
        out += f.label;
        out += '|';
        std::string patterns;
        size_t start = 0;
        while (start <= f.pattern.size()) {
            size_t end = f.pattern.find(';', start);
            if (end == std::string::npos) end = f.pattern.size();
            const std::string one = f.pattern.substr(start, end - start);
            // "*.*" is every file on Windows, with or without a dot.
            const std::vector<std::string> cases = one == "*.*" ? std::vector<std::string>{"*"} : patternCases(one);
            for (const auto& p : cases) {
                if (p.empty()) continue;
                if (!patterns.empty()) patterns += ';';
                patterns += p;
            }
            start = end + 1;
        }
        out += patterns;
    }
    return out;
}

std::filesystem::path WxMapping::withDefaultExtension(const std::filesystem::path& file, const std::string& ext) {
    if (ext.empty() || file.empty() || file.has_extension()) return file;
    std::string e = ext;
    if (e.front() == '.') e.erase(0, 1);
    if (e.empty()) return file;
    std::filesystem::path out = file;
    out += "." + e;
    return out;
}

int WxMapping::columnAt(const std::vector<int>& widths, int x, int hScroll) {
    int left = -hScroll;
    for (size_t i = 0; i < widths.size(); ++i) {
        if (x >= left && x <= left + widths[i]) return static_cast<int>(i);
        left += widths[i];
    }
    return -1;
}

int WxMapping::scrollUnits(int pixels, int unit) {
    if (unit <= 0) return 0;
    if (pixels >= 0) return (pixels + unit - 1) / unit;
    return -((-pixels + unit - 1) / unit);
}

}  // namespace ui

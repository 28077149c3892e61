// What a window of the Windows build shows, read from another process as a user's tool would: the
// controls of the top-level window whose title starts with TITLE, one line each, in UTF-8:
//   ID<TAB>LEFT<TAB>TOP<TAB>RIGHT<TAB>BOTTOM<TAB>VISIBLE<TAB>TEXT
// (screen pixels; ID is the control id the window layer gave it). Waits up to SECONDS for the window.
//   win_probe.exe TITLE [SECONDS]
// Exit status 0 when the window was found, 1 when not, 2 on bad arguments.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <string>

namespace {

std::string utf8Of(const std::wstring& text) {
    if (text.empty()) return {};
    const int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), bytes.data(), n, nullptr, nullptr);
    return bytes;
}

std::wstring textOf(HWND w) {
    wchar_t buffer[4096];
    // WM_GETTEXT is carried across processes by the system; a window that does not answer in time
    // (its program busy or hung) has no text.
    DWORD_PTR n = 0;
    if (!SendMessageTimeoutW(w, WM_GETTEXT, sizeof buffer / sizeof buffer[0], reinterpret_cast<LPARAM>(buffer),
                             SMTO_ABORTIFHUNG, 2000, &n))
        return {};
    return std::wstring(buffer, std::min<size_t>(n, sizeof buffer / sizeof buffer[0]));
}

struct Search {
    std::wstring title;
    HWND found = nullptr;
};

BOOL CALLBACK topLevel(HWND w, LPARAM data) {
    auto* s = reinterpret_cast<Search*>(data);
    if (!IsWindowVisible(w)) return TRUE;
    if (textOf(w).rfind(s->title, 0) == 0) {
        s->found = w;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK control(HWND w, LPARAM) {
    const HANDLE id = GetPropW(w, L"TrajektonControlId");
    if (!id) return TRUE;
    RECT r{};
    GetWindowRect(w, &r);
    std::wstring text = textOf(w);
    for (wchar_t& c : text)
        if (c == L'\t' || c == L'\n' || c == L'\r') c = L' ';
    std::printf("%d\t%ld\t%ld\t%ld\t%ld\t%d\t%s\n", static_cast<int>(reinterpret_cast<intptr_t>(id)), r.left, r.top,
                r.right, r.bottom, IsWindowVisible(w) ? 1 : 0, utf8Of(text).c_str());
    return TRUE;
}

std::wstring wideOf(const char* utf8) {
    const int n = MultiByteToWideChar(CP_UTF8, 0, utf8, -1, nullptr, 0);
    std::wstring text(static_cast<size_t>(n > 0 ? n - 1 : 0), L'\0');
    if (n > 1) MultiByteToWideChar(CP_UTF8, 0, utf8, -1, text.data(), n);
    return text;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: win_probe.exe TITLE [SECONDS]\n");
        return 2;
    }
    // The title in UTF-8 from the command line: the ANSI code page would not hold its Cyrillic letters.
    int wargc = 0;
    wchar_t** wargv = CommandLineToArgvW(GetCommandLineW(), &wargc);
    Search s;
    s.title = wargv && wargc > 1 ? std::wstring(wargv[1]) : wideOf(argv[1]);
    LocalFree(wargv);
    const int seconds = argc > 2 ? std::atoi(argv[2]) : 0;
    for (int waited = 0;; waited += 250) {
        EnumWindows(topLevel, reinterpret_cast<LPARAM>(&s));
        if (s.found || waited >= seconds * 1000) break;
        Sleep(250);
    }
    if (!s.found) {
        std::fprintf(stderr, "win_probe: no window titled \"%s\"\n", utf8Of(s.title).c_str());
        return 1;
    }
    EnumChildWindows(s.found, control, 0);
    return 0;
}

#include "DataPaths.h"

#include <cstdlib>
#include <string>
#include <system_error>

#if defined(_WIN32)
#include <windows.h>
#include <shlobj.h>
#endif

namespace fs = std::filesystem;

fs::path programFolder() {
    std::error_code ec;
#if defined(_WIN32)
    // The module's path, however long (a filled buffer may have cut it).
    for (DWORD size = MAX_PATH; size <= 32768; size *= 2) {
        std::wstring buffer(size, L'\0');
        const DWORD n = GetModuleFileNameW(nullptr, buffer.data(), size);
        if (n == 0) return {};
        if (n < size) return fs::path(buffer.substr(0, n)).parent_path();
    }
    return {};
#else
    const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    if (ec) return {};
    return exe.parent_path();
#endif
}

namespace {

// The user's folder for application data, with `name` joined to it.
fs::path userFolderNamed(const char* name) {
#if defined(_WIN32)
    // The wide call: a user name in Cyrillic letters is in this path, and the ANSI one would lose it.
    wchar_t appData[MAX_PATH];
    if (SHGetFolderPathW(nullptr, CSIDL_APPDATA | CSIDL_FLAG_CREATE, nullptr, SHGFP_TYPE_CURRENT, appData) == S_OK &&
        *appData)
        return fs::path(appData) / name;
    if (const wchar_t* env = _wgetenv(L"APPDATA"); env && *env) return fs::path(env) / name;
    return {};
#else
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg == '/') return fs::path(xdg) / name;
    if (const char* home = std::getenv("HOME"); home && *home) return fs::path(home) / ".local" / "share" / name;
    return {};
#endif
}

}  // namespace

fs::path userDataFolder() { return userFolderNamed("Trajekton"); }

fs::path handheldDataFolder() { return userFolderNamed("Trajekton-mobile"); }

#include "DataPaths.h"

#include <cstdlib>
#include <system_error>

#if defined(_WIN32)
#include <windows.h>
#endif

namespace fs = std::filesystem;

fs::path programFolder() {
    std::error_code ec;
#if defined(_WIN32)
    wchar_t buffer[MAX_PATH];
    const DWORD n = GetModuleFileNameW(nullptr, buffer, MAX_PATH);
    if (n == 0 || n == MAX_PATH) return {};
    return fs::path(std::wstring(buffer, n)).parent_path();
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
    if (const wchar_t* appData = _wgetenv(L"APPDATA"); appData && *appData) return fs::path(appData) / name;
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

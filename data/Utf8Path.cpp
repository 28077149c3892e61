#include "Utf8Path.h"

#include <string>

#if defined(_WIN32)
#include <windows.h>
#endif

std::filesystem::path utf8Path(std::string_view text) {
#if defined(_WIN32)
    if (text.empty()) return {};
    const int n = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(n), L'\0');
    if (n > 0) MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(), n);
    return std::filesystem::path(wide);
#else
    return std::filesystem::path(std::string(text));
#endif
}

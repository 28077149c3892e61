#include <iostream>
#include <string>
#include <vector>

#include "Tkcalc.h"

#if defined(_WIN32)
#include <windows.h>
#include <fcntl.h>
#include <io.h>
#include <shellapi.h>

namespace {

std::string utf8Of(const wchar_t* text) {
    const int n = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (n <= 1) return {};
    std::string bytes(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, -1, bytes.data(), n, nullptr, nullptr);
    bytes.resize(static_cast<size_t>(n - 1));
    return bytes;
}

// The arguments as typed, in UTF-8: argv holds them in the ANSI code page, which loses what is not in it.
std::vector<std::string> windowsArguments() {
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    std::vector<std::string> args;
    for (int i = 1; argv && i < argc; ++i) args.push_back(utf8Of(argv[i]));
    LocalFree(argv);
    return args;
}

}  // namespace
#endif

int main([[maybe_unused]] int argc, [[maybe_unused]] char** argv) {
#if defined(_WIN32)
    // Everything tkcalc writes is UTF-8, and its reports carry their own line ends (the CSV report has
    // CR LF): the console is told the code page, and the streams add no CR of their own.
    SetConsoleOutputCP(CP_UTF8);
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    const std::vector<std::string> args = windowsArguments();
#else
    std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
#endif
    return runTkcalc(args, std::cout, std::cerr);
}

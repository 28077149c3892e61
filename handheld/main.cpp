// tkmobile: the field calculator on the wxWidgets backend.
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

#include <wx/app.h>

#include "Backend.h"
#include "CtkmobileDlg.h"
#include "DataPaths.h"
#include "HandheldSession.h"
#include "WxApplication.h"

namespace {
CtkmobileDlg* running = nullptr;

// Runs from the main loop (wx defers it there), never inside the signal itself: the settings are
// saved and the program ends at once, whatever screen is open (the shell's logout, a kill).
void endSession(int) {
    if (running) running->endSession();
    std::_Exit(0);
}
}  // namespace

int main(int argc, char** argv) {
    std::filesystem::path folder;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--data-dir" && i + 1 < argc) {
            folder = argv[++i];
        } else if (a == "--help" || a == "-h") {
            std::puts("tkmobile [--data-dir DIR]: баллистический калькулятор для карманного устройства.\n"
                      "Папка данных по умолчанию: $XDG_DATA_HOME/Trajekton-mobile (~/.local/share/Trajekton-mobile).");
            return 0;
        } else {
            std::fprintf(stderr, "tkmobile: непонятный аргумент «%s» (tkmobile [--data-dir DIR])\n", a.c_str());
            return 2;
        }
    }
    if (folder.empty()) folder = handheldDataFolder();
    if (folder.empty()) {
        std::fprintf(stderr, "tkmobile: нет домашней папки для данных; укажите --data-dir DIR\n");
        return 2;
    }
    return ui::runWxApplication(argc, argv, [&] {
        ui::setApplicationName("tkmobile");
        CtkmobileDlg dlg(folder);
        running = &dlg;
        for (int s : {SIGTERM, SIGHUP, SIGINT}) wxTheApp->SetSignalHandler(s, endSession);
        dlg.doModal();
        running = nullptr;
        return 0;
    });
}

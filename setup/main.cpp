// tksetup [FOLDER]: opens the system's installer of Debian packages on "tkmobile.deb" in FOLDER, or in
// the folder tksetup itself lies in; ends at once. What went wrong is shown in a message box (and on
// the error output); the exit code is 0 only when the installer was started.
#include <cstdio>
#include <cstdlib>

#include "Backend.h"
#include "DataPaths.h"
#include "GioAppRegistry.h"
#include "PosixProcessStarter.h"
#include "SetupLauncher.h"
#include "WxApplication.h"

int main(int argc, char** argv) {
    ui::setApplicationName("tksetup");
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    sys::GioAppRegistry registry;
    sys::PosixProcessStarter starter;
    SetupLauncher launcher(registry, starter);
    const SetupOutcome outcome = launcher.run(arguments, programFolder());
    if (outcome.end == SetupEnd::Started) return 0;

    std::fprintf(stderr, "tksetup: %s\n", outcome.message.c_str());
    // Without a screen the error output is all there is; the window layer would only add its own
    // complaint about the missing display.
    const char* x11 = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    if ((x11 && *x11) || (wayland && *wayland)) {
        // The toolkit sees only the program's name: the folder argument is not one of its options.
        char* name[] = {argv[0], nullptr};
        ui::runWxApplication(1, name, [&outcome] {
            SetupLauncher::report(outcome);
            return 0;
        });
    }
    return outcome.exitCode();
}

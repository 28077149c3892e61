#pragma once
#include <functional>

#include <wx/app.h>

namespace ui {

// Starts wxWidgets without a main loop of our own, installs the wx backend, runs `body` (which shows
// the program's dialogs modally), shuts wx down again and returns what `body` returned. Returns 1
// without running `body` when there is no display to show windows on.
int runWxApplication(int argc, char** argv, const std::function<int()>& body);

// The wxApp the program runs under: no main window and no command-line parsing of its own (the
// program's arguments are the program's).
class WxApplication : public wxApp {
public:
    bool OnInit() override;
    // A failed wx check is printed, not shown: a message box would stop an unattended run.
    void OnAssertFailure(const wxChar* file, int line, const wxChar* func, const wxChar* cond,
                         const wxChar* msg) override;

    // Dialog fonts and the compact look of the controls (a GTK style sheet), for the whole program.
    static void installLook();
};

}  // namespace ui

#include "WxApplication.h"

#include <clocale>
#include <cstdio>
#include <vector>

#include <wx/init.h>
#include <wx/log.h>

#if defined(__WXGTK__)
#include <gtk/gtk.h>
#endif

#include "Backend.h"
#include "WxBackend.h"

namespace ui {

#if defined(__WXGTK__)
namespace {

// GTK's own widgets are made for touch-friendly layouts (Adwaita's entries and buttons are 34 pixels
// high); the dialogs are laid out on Windows' dense grid of 22-pixel rows, so the controls are made
// as compact as that.
constexpr const char* kStyleSheet = R"css(
* { font-family: "DejaVu Sans"; font-size: 9pt; }
entry { min-height: 0; padding: 1px 4px; }
button { min-height: 0; min-width: 0; padding: 1px 8px; }
button.combo { min-height: 0; padding: 1px 4px; }
combobox arrow { min-width: 12px; min-height: 12px; }
combobox cellview { min-height: 0; }
checkbutton, radiobutton { min-height: 0; padding: 0; }
checkbutton check, radiobutton radio { min-width: 13px; min-height: 13px; margin: 0 5px 0 0; padding: 0; }
frame > border { border-radius: 3px; }
progressbar trough { min-height: 12px; }
progressbar progress { min-height: 12px; }
progressbar.horizontal trough, progressbar.horizontal progress { min-height: 12px; }
tooltip { padding: 2px 4px; }
messagedialog .dialog-action-box { margin: 0 10px 10px 10px; }
messagedialog .dialog-action-box button { min-width: 64px; padding: 3px 10px; }
messagedialog box.vertical > label { margin: 4px 0; }
)css";

}  // namespace
#endif

bool WxApplication::OnInit() { return true; }

void WxApplication::OnAssertFailure(const wxChar* file, int line, const wxChar* func, const wxChar* cond,
                                    const wxChar* msg) {
    std::fprintf(stderr, "wx check failed: %s:%d %s: %s %s\n", wxString(file).utf8_str().data(), line,
                 wxString(func).utf8_str().data(), wxString(cond).utf8_str().data(), wxString(msg).utf8_str().data());
}

void WxApplication::installLook() {
#if defined(__WXGTK__)
    if (GtkSettings* settings = gtk_settings_get_default())
        g_object_set(settings, "gtk-font-name", "DejaVu Sans 9", nullptr);
    GdkScreen* screen = gdk_screen_get_default();
    if (!screen) return;
    GtkCssProvider* css = gtk_css_provider_new();
    GError* error = nullptr;
    gtk_css_provider_load_from_data(css, kStyleSheet, -1, &error);
    if (error) {
        std::fprintf(stderr, "window style sheet: %s\n", error->message);
        g_error_free(error);
    }
    gtk_style_context_add_provider_for_screen(screen, GTK_STYLE_PROVIDER(css), GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
    g_object_unref(css);
#endif
}

int runWxApplication(int argc, char** argv, const std::function<int()>& body) {
    // wx takes the toolkit's own options (--display ...) out of the arguments it is given: a copy.
    std::vector<char*> args(argv, argv + argc);
    args.push_back(nullptr);
    int count = argc;
    wxApp::SetInstance(new WxApplication);
    if (!wxEntryStart(count, args.data())) {
        std::fprintf(stderr, "%s: не удалось открыть окно программы: нет графического экрана (переменная DISPLAY)\n", applicationName().c_str());
        return 1;
    }
    struct Cleanup {
        ~Cleanup() {
            setBackend(nullptr);
            if (wxTheApp) wxTheApp->OnExit();
            wxEntryCleanup();
        }
    } cleanup;
    if (!wxTheApp->CallOnInit()) return 1;
    // wx's own complaints go to the error output: the program tells its users about failures in its
    // own words, and a second box in English would only be in the way.
    delete wxLog::SetActiveTarget(new wxLogStderr);
    // GTK set the locale from the environment; numbers are written and read with a point everywhere.
    std::setlocale(LC_NUMERIC, "C");
    WxApplication::installLook();
    WxBackend backend;
    setBackend(&backend);
    const int code = body();
    setBackend(nullptr);
    return code;
}

}  // namespace ui

#include "GioAppRegistry.h"

#include <gio/gdesktopappinfo.h>
#include <gio/gio.h>

namespace sys {

namespace {

std::string taken(char* s) {
    std::string text = s ? s : "";
    g_free(s);
    return text;
}

// The entry as the starter needs it; nothing for one whose command line cannot be split.
std::optional<RegisteredApp> describe(GAppInfo* info) {
    if (!G_IS_DESKTOP_APP_INFO(info) || !g_app_info_get_id(info)) return std::nullopt;
    GDesktopAppInfo* entry = G_DESKTOP_APP_INFO(info);
    RegisteredApp app;
    app.id = g_app_info_get_id(info);
    if (const char* name = g_app_info_get_display_name(info)) app.name = name;
    app.icon = taken(g_desktop_app_info_get_string(entry, "Icon"));
    if (const char* file = g_desktop_app_info_get_filename(entry)) app.location = file;
    const std::string exec = taken(g_desktop_app_info_get_string(entry, "Exec"));
    gchar** argv = nullptr;
    if (exec.empty() || !g_shell_parse_argv(exec.c_str(), nullptr, &argv, nullptr)) return std::nullopt;
    for (gchar** a = argv; *a; ++a) app.command.emplace_back(*a);
    g_strfreev(argv);
    return app;
}

}  // namespace

std::optional<RegisteredApp> GioAppRegistry::applicationFor(const std::string& mimeType) {
    // The default is the user's choice, else the first application that says it takes the type.
    std::optional<RegisteredApp> found;
    if (GAppInfo* info = g_app_info_get_default_for_type(mimeType.c_str(), FALSE)) {
        found = describe(info);
        g_object_unref(info);
    }
    if (!found) {
        GList* all = g_app_info_get_all_for_type(mimeType.c_str());
        for (GList* l = all; l && !found; l = l->next) found = describe(G_APP_INFO(l->data));
        g_list_free_full(all, g_object_unref);
    }
    return found;
}

}  // namespace sys

#include "GioAppRegistry.h"

#include <gio/gdesktopappinfo.h>
#include <gio/gio.h>

#include <optional>

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
    if (const char* categories = g_desktop_app_info_get_categories(entry)) {
        gchar** names = g_strsplit(categories, ";", -1);
        for (gchar** n = names; *n; ++n)
            if (**n) app.categories.emplace_back(*n);
        g_strfreev(names);
    }
    const std::string exec = taken(g_desktop_app_info_get_string(entry, "Exec"));
    gchar** argv = nullptr;
    if (exec.empty() || !g_shell_parse_argv(exec.c_str(), nullptr, &argv, nullptr)) return std::nullopt;
    for (gchar** a = argv; *a; ++a) app.command.emplace_back(*a);
    g_strfreev(argv);
    return app;
}

}  // namespace

std::vector<RegisteredApp> GioAppRegistry::applicationsFor(const std::string& mimeType) {
    std::vector<RegisteredApp> apps;
    auto add = [&apps](GAppInfo* info) {
        std::optional<RegisteredApp> app = describe(info);
        if (!app) return;
        for (const RegisteredApp& a : apps)
            if (a.id == app->id) return;
        apps.push_back(std::move(*app));
    };
    if (GAppInfo* info = g_app_info_get_default_for_type(mimeType.c_str(), FALSE)) {
        add(info);
        g_object_unref(info);
    }
    GList* all = g_app_info_get_all_for_type(mimeType.c_str());
    for (GList* l = all; l; l = l->next) add(G_APP_INFO(l->data));
    g_list_free_full(all, g_object_unref);
    return apps;
}

}  // namespace sys

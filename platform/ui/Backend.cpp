#include "Backend.h"

#include <cstdlib>
#include <cstdio>

namespace ui {

namespace {
Backend* g_backend = nullptr;
std::string& appName() {
    static std::string name = "tkdesk";
    return name;
}
}  // namespace

Backend& backend() {
    if (!g_backend) {
        std::fputs("window layer: no backend set\n", stderr);
        std::abort();
    }
    return *g_backend;
}

Backend* setBackend(Backend* b) {
    Backend* previous = g_backend;
    g_backend = b;
    return previous;
}

const std::string& applicationName() { return appName(); }
void setApplicationName(std::string name) { appName() = std::move(name); }

}  // namespace ui

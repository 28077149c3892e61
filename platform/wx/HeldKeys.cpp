#include "HeldKeys.h"

#include <map>

namespace ui {

namespace {

struct Held {
    GtkWidget* origin = nullptr;  // the window the press went to
    bool strayed = false;         // a repeat went to another window
    guint32 lastTime = 0;         // of the last press or repeat, ms
};

// A key's repeats follow each other within the keyboard's repeat delay (at most a second on the
// usual desktops). Past this the key was released where the program did not see it (another
// program had the keyboard), and a press is a new one.
constexpr guint32 kRepeatGapMs = 1200;

std::map<unsigned, Held>& heldKeys() {
    static std::map<unsigned, Held> held;
    return held;
}

// Runs for every key event a widget of the program gets, before any handler: first for the window,
// then for the widgets it passes the event on to.
gboolean onKey(GSignalInvocationHint*, guint count, const GValue* values, gpointer) {
    if (count < 2) return TRUE;
    auto* widget = static_cast<GtkWidget*>(g_value_get_object(&values[0]));
    auto* event = static_cast<GdkEvent*>(g_value_get_boxed(&values[1]));
    if (!widget || !event) return TRUE;
    const GdkEventKey& key = event->key;
    auto& held = heldKeys();
    if (key.type == GDK_KEY_RELEASE) {
        held.erase(key.hardware_keycode);
        return TRUE;
    }
    if (key.type != GDK_KEY_PRESS) return TRUE;
    GtkWidget* window = gtk_widget_get_toplevel(widget);
    const auto it = held.find(key.hardware_keycode);
    if (it == held.end() || key.time - it->second.lastTime > kRepeatGapMs) {
        held[key.hardware_keycode] = Held{window, false, key.time};
        return TRUE;
    }
    // Pressed again without a release: the keyboard's repeat (or the same event passed on).
    if (window != it->second.origin) it->second.strayed = true;
    it->second.lastTime = key.time;
    return TRUE;
}

}  // namespace

void HeldKeys::watch() {
    static bool watching = false;
    if (watching) return;
    watching = true;
    g_type_class_ref(GTK_TYPE_WIDGET);  // its signals exist from here on
    for (const char* name : {"key-press-event", "key-release-event"})
        g_signal_add_emission_hook(g_signal_lookup(name, GTK_TYPE_WIDGET), 0, onKey, nullptr, nullptr);
}

bool HeldKeys::pressBeganIn(GtkWidget* toplevel, unsigned keycode) {
    const auto& held = heldKeys();
    const auto it = held.find(keycode);
    return it == held.end() || (it->second.origin == toplevel && !it->second.strayed);
}

}  // namespace ui

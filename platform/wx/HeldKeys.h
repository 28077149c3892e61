#pragma once
#include <gtk/gtk.h>

namespace ui {

// The keyboard repeats a key that is held down, and the repeats go to whichever window has the
// keyboard by then. A message box closed with Enter hands the keyboard back to the dialog below while
// the key may still be down: its repeats would press that dialog's default button, as if Enter had
// been pressed there (wx on GTK does not tell a repeat from a press). HeldKeys follows every key of
// the program's windows, wx's and GTK's own (message boxes, file dialogs), and tells a window
// whether a press began in it.
class HeldKeys {
public:
    // Starts following the keys; later calls do nothing.
    static void watch();
    // False when this press of the key (GDK's hardware key code) repeats one that began in another
    // window or went to one since; true for a press of its own and for a key not followed.
    static bool pressBeganIn(GtkWidget* toplevel, unsigned keycode);
};

}  // namespace ui

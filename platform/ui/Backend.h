#pragma once
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "DialogWindow.h"
#include "UiTypes.h"

namespace ui {

class Dialog;

// What the window layer needs from a toolkit: windows for dialogs and the program-wide services.
class Backend {
public:
    virtual ~Backend() = default;

    // A window for the dialog, its controls made from the template, not shown yet. The window reports
    // the user's actions to `owner` (Dialog::handle...). `parent` is the dialog it opens over, if any.
    virtual std::unique_ptr<DialogWindow> createWindow(Dialog& owner, const DialogTemplate& t,
                                                       DialogWindow* parent) = 0;

    // A modal message box; returns kIdOk, kIdCancel, kIdYes, kIdNo or kIdRetry.
    virtual int messageBox(DialogWindow* parent, const std::string& text, const std::string& caption,
                           Buttons buttons, Icon icon) = 0;

    // Open or save file dialog: the chosen files (one unless multipleSelection), nothing when cancelled.
    virtual std::optional<std::vector<std::filesystem::path>> fileDialog(DialogWindow* parent,
                                                                          const FileDialogOptions& options) = 0;
    // Folder chooser: the chosen folder, nothing when cancelled.
    virtual std::optional<std::filesystem::path> folderDialog(DialogWindow* parent,
                                                              const FolderDialogOptions& options) = 0;

    // A pop-up menu at a point of the control; the chosen item's id, 0 when none.
    virtual int popupMenu(DialogWindow* parent, int controlId, Point at, const std::vector<MenuItem>& items) = 0;

    virtual std::string clipboardText() = 0;
    virtual void setClipboardText(const std::string& utf8) = 0;
    // Opens a web address with the desktop's browser; false when that could not be started.
    virtual bool openUrl(const std::string& url) = 0;
    virtual void beep() = 0;
};

// The backend every dialog uses; set once by the program (or a test) before the first dialog.
Backend& backend();
// Returns the backend set before.
Backend* setBackend(Backend* b);

// Caption of message boxes that give none: the program's name.
const std::string& applicationName();
void setApplicationName(std::string name);

}  // namespace ui

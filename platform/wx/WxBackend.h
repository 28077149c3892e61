#pragma once
#include "Backend.h"

namespace ui {

// The window layer on wxWidgets (GTK 3): dialogs are WxDialogWindows; message boxes, file dialogs,
// pop-up menus, the clipboard and the browser are wx's. Needs a running wx (runWxApplication).
class WxBackend : public Backend {
public:
    std::unique_ptr<DialogWindow> createWindow(Dialog& owner, const DialogTemplate& t, DialogWindow* parent) override;
    int messageBox(DialogWindow* parent, const std::string& text, const std::string& caption, Buttons buttons,
                   Icon icon) override;
    std::optional<std::vector<std::filesystem::path>> fileDialog(DialogWindow* parent,
                                                                 const FileDialogOptions& options) override;
    std::optional<std::filesystem::path> folderDialog(DialogWindow* parent, const FolderDialogOptions& options) override;
    int popupMenu(DialogWindow* parent, int controlId, Point at, const std::vector<MenuItem>& items) override;
    std::string clipboardText() override;
    void setClipboardText(const std::string& utf8) override;
    bool openUrl(const std::string& url) override;
    void beep() override;
};

}  // namespace ui

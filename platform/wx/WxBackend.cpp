#include "WxBackend.h"

#include <wx/clipbrd.h>
#include <wx/dirdlg.h>
#include <wx/filedlg.h>
#include <wx/log.h>
#include <wx/menu.h>
#include <wx/msgdlg.h>
#include <wx/utils.h>

#if defined(__WXGTK__)
#include <gtk/gtk.h>
#endif

#include "WxDialogWindow.h"
#include "WxMapping.h"

namespace ui {

namespace {

wxString fromUtf8(const std::string& s) { return wxString::FromUTF8(s.data(), s.size()); }

// Paths to and from wx's strings in the file system's own characters (UTF-16 on Windows).
wxString pathText(const std::filesystem::path& p) { return wxString(p.native().c_str(), *wxConvFileName); }
std::filesystem::path pathOf(const wxString& s) {
#if defined(__WXMSW__)
    return std::filesystem::path(s.ToStdWstring());
#else
    return std::filesystem::path(std::string(s.fn_str()));
#endif
}

wxWindow* parentOf(DialogWindow* parent) {
    auto* w = dynamic_cast<WxDialogWindow*>(parent);
    return w ? w->dialog() : nullptr;
}

}  // namespace

std::unique_ptr<DialogWindow> WxBackend::createWindow(Dialog& owner, const DialogTemplate& t, DialogWindow* parent) {
    return std::make_unique<WxDialogWindow>(owner, t, dynamic_cast<WxDialogWindow*>(parent));
}

int WxBackend::messageBox(DialogWindow* parent, const std::string& text, const std::string& caption, Buttons buttons,
                          Icon icon) {
    long style = wxCENTRE;
    switch (buttons) {
        case Buttons::Ok: style |= wxOK; break;
        case Buttons::OkCancel:
        case Buttons::RetryCancel: style |= wxOK | wxCANCEL | wxOK_DEFAULT; break;
        case Buttons::YesNo: style |= wxYES_NO | wxYES_DEFAULT; break;
        case Buttons::YesNoCancel: style |= wxYES_NO | wxCANCEL | wxYES_DEFAULT; break;
    }
    switch (icon) {
        case Icon::None: style |= wxICON_NONE; break;
        case Icon::Information: style |= wxICON_INFORMATION; break;
        case Icon::Warning: style |= wxICON_WARNING; break;
        case Icon::Error: style |= wxICON_ERROR; break;
        case Icon::Question: style |= wxICON_QUESTION; break;
    }
    wxMessageDialog box(parentOf(parent), fromUtf8(text), fromUtf8(caption), style);
    switch (buttons) {
        case Buttons::Ok: box.SetOKLabel(wxString::FromUTF8("OK")); break;
        case Buttons::OkCancel: box.SetOKCancelLabels(wxString::FromUTF8("OK"), wxString::FromUTF8("Отмена")); break;
        case Buttons::RetryCancel:
            box.SetOKCancelLabels(wxString::FromUTF8("Повтор"), wxString::FromUTF8("Отмена"));
            break;
        case Buttons::YesNo: box.SetYesNoLabels(wxString::FromUTF8("Да"), wxString::FromUTF8("Нет")); break;
        case Buttons::YesNoCancel:
            box.SetYesNoCancelLabels(wxString::FromUTF8("Да"), wxString::FromUTF8("Нет"), wxString::FromUTF8("Отмена"));
            break;
    }
    const int answer = box.ShowModal();
    // A box closed without a button (Escape, the close box) answers as its safe button would.
    switch (buttons) {
        case Buttons::Ok: return kIdOk;
        case Buttons::OkCancel: return answer == wxID_OK ? kIdOk : kIdCancel;
        case Buttons::RetryCancel: return answer == wxID_OK ? kIdRetry : kIdCancel;
        case Buttons::YesNo: return answer == wxID_YES ? kIdYes : kIdNo;
        case Buttons::YesNoCancel: return answer == wxID_YES ? kIdYes : answer == wxID_NO ? kIdNo : kIdCancel;
    }
    return kIdCancel;
}

std::optional<std::vector<std::filesystem::path>> WxBackend::fileDialog(DialogWindow* parent,
                                                                        const FileDialogOptions& o) {
    long style = o.save ? wxFD_SAVE : (wxFD_OPEN | wxFD_FILE_MUST_EXIST);
    if (o.save && o.overwritePrompt) style |= wxFD_OVERWRITE_PROMPT;
    if (!o.save && o.multipleSelection) style |= wxFD_MULTIPLE;
    const std::string title = !o.title.empty() ? o.title : o.save ? "Сохранить как" : "Открыть";
    const std::string wildcard = o.filters.empty() ? std::string("*|*") : WxMapping::wildcard(o.filters);
    std::string name = o.fileName;
    for (;;) {
        wxFileDialog dlg(parentOf(parent), fromUtf8(title), pathText(o.folder),
                         fromUtf8(name), fromUtf8(wildcard), style);
#if defined(__WXGTK__)
        if (!o.okLabel.empty()) {
            // GTK's chooser dialog: its accept button is found by its response.
            if (auto* g = static_cast<GtkWidget*>(dlg.GetHandle()); g && GTK_IS_DIALOG(g))
                if (GtkWidget* ok = gtk_dialog_get_widget_for_response(GTK_DIALOG(g), GTK_RESPONSE_ACCEPT);
                    ok && GTK_IS_BUTTON(ok))
                    gtk_button_set_label(GTK_BUTTON(ok), o.okLabel.c_str());
        }
#endif
        if (dlg.ShowModal() != wxID_OK) return std::nullopt;
        std::vector<std::filesystem::path> files;
        if (o.multipleSelection && !o.save) {
            wxArrayString paths;
            dlg.GetPaths(paths);
            for (const auto& p : paths) files.push_back(pathOf(p));
        } else {
            files.push_back(pathOf(dlg.GetPath()));
        }
        if (!o.save) return files;
        const std::filesystem::path typed = files.front();
        const std::filesystem::path file = WxMapping::withDefaultExtension(typed, o.defaultExtension);
        // GTK asked about the name as typed; the extension added makes it another file, which may exist.
        std::error_code ec;
        if (file != typed && o.overwritePrompt && std::filesystem::exists(file, ec)) {
            const std::string question = "Файл " + file.filename().string() + " уже существует.\nЗаменить его?";
            if (messageBox(parent, question, title, Buttons::YesNo, Icon::Warning) != kIdYes) {
                name = file.filename().string();
                continue;
            }
        }
        return std::vector<std::filesystem::path>{file};
    }
}

std::optional<std::filesystem::path> WxBackend::folderDialog(DialogWindow* parent, const FolderDialogOptions& o) {
    const std::string title = o.title.empty() ? "Выбор папки" : o.title;
    wxDirDialog dlg(parentOf(parent), fromUtf8(title), pathText(o.folder),
                    wxDD_DEFAULT_STYLE | wxDD_DIR_MUST_EXIST);
#if defined(__WXGTK__)
    // GTK's chooser: its two buttons, found by their responses, in the program's language.
    if (auto* g = static_cast<GtkWidget*>(dlg.GetHandle()); g && GTK_IS_DIALOG(g)) {
        for (const auto& [response, label] : {std::pair{GTK_RESPONSE_ACCEPT, "Выбрать"}, std::pair{GTK_RESPONSE_CANCEL, "Отмена"}})
            if (GtkWidget* b = gtk_dialog_get_widget_for_response(GTK_DIALOG(g), response); b && GTK_IS_BUTTON(b))
                gtk_button_set_label(GTK_BUTTON(b), label);
    }
#endif
    if (dlg.ShowModal() != wxID_OK) return std::nullopt;
    return pathOf(dlg.GetPath());
}

int WxBackend::popupMenu(DialogWindow* parent, int controlId, Point at, const std::vector<MenuItem>& items) {
    auto* window = dynamic_cast<WxDialogWindow*>(parent);
    if (!window || items.empty()) return 0;
    wxMenu menu;
    for (size_t i = 0; i < items.size(); ++i) {
        const MenuItem& item = items[i];
        if (item.id == 0) {
            menu.AppendSeparator();
            continue;
        }
        const int id = WxMapping::menuWxId(i);
        wxMenuItem* m = item.checked ? menu.AppendCheckItem(id, fromUtf8(item.text)) : menu.Append(id, fromUtf8(item.text));
        if (item.checked) m->Check(true);
        m->Enable(item.enabled);
    }
    const int chosen = window->dialog()->GetPopupMenuSelectionFromUser(menu, window->dialogPoint(controlId, at));
    return WxMapping::menuItemId(chosen, items);
}

std::string WxBackend::clipboardText() {
    std::string text;
    if (wxTheClipboard->Open()) {
        if (wxTheClipboard->IsSupported(wxDF_UNICODETEXT) || wxTheClipboard->IsSupported(wxDF_TEXT)) {
            wxTextDataObject data;
            if (wxTheClipboard->GetData(data)) text = data.GetText().utf8_string();
        }
        wxTheClipboard->Close();
    }
    return text;
}

void WxBackend::setClipboardText(const std::string& utf8) {
    if (!wxTheClipboard->Open()) return;
    wxTheClipboard->SetData(new wxTextDataObject(fromUtf8(utf8)));
    wxTheClipboard->Close();
}

bool WxBackend::openUrl(const std::string& url) {
    // A failure is the caller's to report (it gets false), not wx's.
    wxLogNull quiet;
    return wxLaunchDefaultBrowser(fromUtf8(url));
}

void WxBackend::beep() { wxBell(); }

}  // namespace ui

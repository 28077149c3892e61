#include "WxDialogWindow.h"

#include <algorithm>

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/choice.h>
#include <wx/dcbuffer.h>
#include <wx/evtloop.h>
#include <wx/gauge.h>
#include <wx/listctrl.h>
#include <wx/radiobut.h>
#include <wx/statbox.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#if defined(__WXGTK__)
#include <gtk/gtk.h>

#include "HeldKeys.h"
#endif
#include "WxCanvas.h"
#include "WxMapping.h"

namespace ui {

namespace {

wxColour toWx(Colour c) { return wxColour(c.r, c.g, c.b); }
wxString fromUtf8(const std::string& s) { return wxString::FromUTF8(s.data(), s.size()); }
std::string toUtf8(const wxString& s) { return s.utf8_string(); }

wxStockCursor stockCursor(Cursor c) {
    switch (c) {
        case Cursor::Hand: return wxCURSOR_HAND;
        case Cursor::Cross: return wxCURSOR_CROSS;
        case Cursor::SizeAll: return wxCURSOR_SIZING;
        case Cursor::SizeNS: return wxCURSOR_SIZENS;
        case Cursor::SizeWE: return wxCURSOR_SIZEWE;
        case Cursor::Wait: return wxCURSOR_WAIT;
        case Cursor::Arrow: break;
    }
    return wxCURSOR_ARROW;
}

wxListColumnFormat columnFormat(Align a) {
    switch (a) {
        case Align::Right: return wxLIST_FORMAT_RIGHT;
        case Align::Center: return wxLIST_FORMAT_CENTRE;
        case Align::Left: break;
    }
    return wxLIST_FORMAT_LEFT;
}

#if defined(__WXGTK__)
// Which window a drop-down list's GTK signal is about.
struct ComboLink {
    WxDialogWindow* window;
    wxWindow* control;
};

void freeComboLink(gpointer data, GClosure*) { delete static_cast<ComboLink*>(data); }

void onPopupShown(GObject* object, GParamSpec*, gpointer data) {
    gboolean shown = FALSE;
    g_object_get(object, "popup-shown", &shown, nullptr);
    auto* link = static_cast<ComboLink*>(data);
    link->window->dropDownShown(link->control, shown);
}

gboolean onComboFocus(GtkWidget*, GdkEventFocus* event, gpointer data) {
    auto* link = static_cast<ComboLink*>(data);
    link->window->dropDownFocus(link->control, event->in != 0);
    return FALSE;
}

// The focus of a GTK combo box is on a button inside it, which wx does not watch.
void watchComboFocus(GtkWidget* child, gpointer data) {
    if (!GTK_IS_BUTTON(child)) {
        if (GTK_IS_CONTAINER(child)) gtk_container_forall(GTK_CONTAINER(child), watchComboFocus, data);
        return;
    }
    const auto* link = static_cast<const ComboLink*>(data);
    g_signal_connect_data(child, "focus-in-event", G_CALLBACK(onComboFocus), new ComboLink(*link), freeComboLink,
                          GConnectFlags(0));
    g_signal_connect_data(child, "focus-out-event", G_CALLBACK(onComboFocus), new ComboLink(*link), freeComboLink,
                          GConnectFlags(0));
}
#elif defined(__WXMSW__)
// A Windows drop-down list: wx reports neither its list opening nor closing, the control does.
class DropListChoice : public wxChoice {
public:
    DropListChoice(wxWindow* parent, const wxPoint& pos, WxDialogWindow& window)
        : wxChoice(parent, wxID_ANY, pos, wxDefaultSize), window_(window) {}
    void popup() { MSWDoPopupOrDismiss(true); }
    bool MSWCommand(WXUINT param, WXWORD id) override {
        const bool handled = wxChoice::MSWCommand(param, id);
        if (param == CBN_DROPDOWN) window_.dropDownShown(this, true);
        if (param == CBN_CLOSEUP) window_.dropDownShown(this, false);
        return handled;
    }

private:
    WxDialogWindow& window_;
};
#endif

// The area of a report list that holds the rows (below the header); it gets the list's mouse clicks
// and keyboard focus.
wxWindow* itemArea(wxListCtrl* l) {
#if defined(__WXMSW__)
    return l;  // Windows' own list view: one window, the header a child of it
#else
    wxWindow* target = l->GetTargetWindow();
    return target ? target : l;
#endif
}

// Room beside a column's title in the list header: the 12 pixels wx's header keeps free around the
// text (less and the title is cut), and 4 more on either side so it does not touch the lines.
constexpr int kHeaderTitleMargin = 20;

wxFont dialogFont() {
#if defined(__WXMSW__)
    // Windows' own dialog face, with the Cyrillic letters on every Windows.
    return wxFont(wxFontInfo(9).Family(wxFONTFAMILY_SWISS).FaceName("Tahoma"));
#else
    // 9 points as on Windows; DejaVu Sans has the Cyrillic letters and is on every Debian desktop.
    return wxFont(wxFontInfo(9).Family(wxFONTFAMILY_SWISS).FaceName("DejaVu Sans"));
#endif
}

}  // namespace

// ---------------------------------------------------------------- construction

WxDialogWindow::WxDialogWindow(Dialog& owner, const DialogTemplate& t, WxDialogWindow* parent)
    : owner_(owner), template_(t) {
    long style = wxCAPTION | wxSYSTEM_MENU | wxCLOSE_BOX;
    if (t.resizable) style |= wxRESIZE_BORDER | wxMAXIMIZE_BOX;
    if (!parent) style |= wxMINIMIZE_BOX;  // the program's main window
    dialog_ = new wxDialog(parent ? parent->dialog() : nullptr, wxID_ANY, fromUtf8(t.title), wxDefaultPosition,
                           wxDefaultSize, style);
    dialog_->SetFont(dialogFont());
    dialog_->SetClientSize(dialog_->FromDIP(wxSize(t.width, t.height)));
    if (t.resizable) {
        const int w = t.minWidth > 0 ? t.minWidth : t.width;
        const int h = t.minHeight > 0 ? t.minHeight : t.height;
        dialog_->SetMinClientSize(dialog_->FromDIP(wxSize(w, h)));
    }
    for (const auto& c : t.controls) makeControl(c, false);

    // Every key goes to the dialog first; what it takes (Enter, Escape, its own keys) goes no further,
    // so neither wx nor GTK acts on those keys a second time.
#if defined(__WXGTK__)
    HeldKeys::watch();
#endif
    dialog_->Bind(wxEVT_CHAR_HOOK, [this](wxKeyEvent& e) {
        if (!active()) return e.Skip();
#if defined(__WXGTK__)
        // The repeats of a key pressed in another window (the message box that Enter closed) are no
        // press here: neither the dialog nor its control sees them.
        if (!HeldKeys::pressBeganIn(static_cast<GtkWidget*>(dialog_->GetHandle()), e.GetRawKeyFlags())) return;
#endif
        const KeyEvent k{WxMapping::virtualKey(e.GetKeyCode()), e.ShiftDown(), e.ControlDown(), e.AltDown()};
        if (k.key == 0) return e.Skip();
        int id = kStaticId;
        if (auto* from = dynamic_cast<wxWindow*>(e.GetEventObject())) id = idOf(from);
        if (id == kStaticId) id = focusedControl();
        if (owner_.handleKeyDown(id, k)) return;
        if (k.key == kKeyF1 && !k.shift && !k.control && !k.alt) {
            owner_.handleHelp();
            return;
        }
        e.Skip();
    });
    // The close box asks the dialog, which ends itself (or not) through endDialog.
    dialog_->Bind(wxEVT_CLOSE_WINDOW, [this](wxCloseEvent& e) {
        if (e.CanVeto()) e.Veto();
        if (active()) owner_.handleClose();
        if (!e.CanVeto() && dialog_->IsModal()) dialog_->EndModal(kIdCancel);
    });
    dialog_->Bind(wxEVT_SIZE, [this](wxSizeEvent& e) {
        e.Skip();
        if (!active() || dialog_->IsIconized()) return;
        const Size s = clientSize();
        if (s.width > 0 && s.height > 0) owner_.handleSize(s.width, s.height);
    });

    if (parent)
        dialog_->CentreOnParent();
    else
        dialog_->Centre();
}

WxDialogWindow::~WxDialogWindow() {
    dying_ = true;
    if (wxWindow* w = wxWindow::GetCapture(); w && w->GetParent() && wxGetTopLevelParent(w) == dialog_)
        w->ReleaseMouse();
    // Deleted at once rather than with Destroy(): nothing of it may outlive the owner it reports to.
    delete dialog_;
    dialog_ = nullptr;
}

void WxDialogWindow::describe([[maybe_unused]] wxWindow* w, int id) {
    if (id == kStaticId) return;
#if defined(__WXMSW__)
    // The control id as a property of its window: what the tests of the Windows build find controls
    // by (from another process, as a user's tool would). A number, so nothing is to be freed.
    ::SetPropW(static_cast<HWND>(w->GetHWND()), L"TrajektonControlId",
               reinterpret_cast<HANDLE>(static_cast<intptr_t>(id)));
#else
    // The control id as the accessible description: what the GUI tests find controls by.
    auto* widget = static_cast<GtkWidget*>(w->GetHandle());
    if (!widget) return;
    if (AtkObject* a = gtk_widget_get_accessible(widget)) atk_object_set_description(a, std::to_string(id).c_str());
#endif
}

wxSize WxDialogWindow::dropListSize(wxWindow* window, int width) const {
    // A Windows combo box's rectangle includes its dropped list: the control itself is one row high,
    // as high as it is with a text in it (an empty GTK combo box measures lower).
    auto* choice = static_cast<wxChoice*>(window);
    int height = choice->GetBestSize().y;
    if (choice->GetCount() == 0) {
        choice->Append("Hg");
        choice->InvalidateBestSize();
        height = choice->GetBestSize().y;
        choice->Delete(0);
        choice->InvalidateBestSize();
    }
    // GTK measures the closed box lower than it draws it; an edit's height is what it needs.
    height = std::max(height, choice->GetCharHeight() + 7);
    return wxSize(dialog_->FromDIP(width), height);
}

void WxDialogWindow::makeControl(const ControlTemplate& t, bool atRunTime) {
    auto c = std::make_unique<Control>();
    c->t = t;
    wxWindow* parent = dialog_;
    wxPoint pos = dialog_->FromDIP(wxPoint(t.rect.x, t.rect.y));
    const wxSize size = dialog_->FromDIP(wxSize(std::max(t.rect.width, 1), std::max(t.rect.height, 1)));
    wxSize inner = size;
    if (atRunTime || t.kind == Kind::ListView) {
        // Controls made at run time get a window of their own, stacked above everything made before: a
        // list draws on an X window of its own, which would cover an editor drawn on the dialog's. A
        // list sits in a sunken frame, as on Windows (wx's generic list covers its own border).
        c->holder =
            new wxWindow(dialog_, wxID_ANY, pos, size, t.kind == Kind::ListView ? wxBORDER_SUNKEN : wxBORDER_NONE);
        parent = c->holder;
        pos = wxPoint(0, 0);
        inner = c->holder->GetClientSize();
    }
    const wxString text = fromUtf8(t.text);
    const unsigned s = t.style;
    wxWindow* w = nullptr;
    switch (t.kind) {
        case Kind::Label: {
            long style = wxST_NO_AUTORESIZE;
            if (s & kAlignRight)
                style |= wxALIGN_RIGHT;
            else if (s & kAlignCenter)
                style |= wxALIGN_CENTRE_HORIZONTAL;
            if (s & kSunken) style |= wxBORDER_SUNKEN;
            auto* label = new wxStaticText(parent, wxID_ANY, text, pos, inner, style);
#if defined(__WXGTK__)
            // Static text on Windows wraps at its width and starts at the top.
            if (auto* g = static_cast<GtkWidget*>(label->GetHandle()); g && GTK_IS_LABEL(g)) {
                gtk_label_set_line_wrap(GTK_LABEL(g), TRUE);
                gtk_label_set_line_wrap_mode(GTK_LABEL(g), PANGO_WRAP_WORD_CHAR);
                gtk_label_set_yalign(GTK_LABEL(g), 0.0f);
            }
#endif
            w = label;
            break;
        }
        case Kind::Edit: {
            long style = 0;
            if (s & kAlignRight)
                style |= wxTE_RIGHT;
            else if (s & kAlignCenter)
                style |= wxTE_CENTRE;
            if (s & kReadOnly) style |= wxTE_READONLY;
            if (s & kMultiline) style |= wxTE_MULTILINE;
            w = new wxTextCtrl(parent, wxID_ANY, text, pos, inner, style);
#if defined(__WXGTK__)
            // The system's on-screen keyboard opens on its number layout.
            if ((s & kNumeric) && !(s & kMultiline) && GTK_IS_ENTRY(w->GetHandle()))
                gtk_entry_set_input_purpose(GTK_ENTRY(w->GetHandle()), GTK_INPUT_PURPOSE_NUMBER);
#endif
            // A read-only edit shows the dialog's face, as on Windows.
            if (s & kReadOnly) w->SetBackgroundColour(dialog_->GetBackgroundColour());
            break;
        }
        case Kind::Button: {
            auto* b = new wxButton(parent, wxID_ANY, text, pos, inner);
            if (s & kDefault) b->SetDefault();
            w = b;
            break;
        }
        case Kind::CheckBox: w = new wxCheckBox(parent, wxID_ANY, text, pos, inner); break;
        case Kind::Radio: {
            // A group starts where the template says, or after anything that is not a radio button.
            const bool first = (s & kGroupStart) || atRunTime || controls_.empty() ||
                               controls_.back()->t.kind != Kind::Radio || controls_.back()->holder;
            w = new wxRadioButton(parent, wxID_ANY, text, pos, inner, first ? wxRB_GROUP : 0);
            break;
        }
        case Kind::GroupBox:
            // A plain sibling: the controls inside are the dialog's, placed over it.
            w = new wxStaticBox(parent, wxID_ANY, text, pos, inner);
            break;
        case Kind::DropList: {
#if defined(__WXMSW__)
            auto* choice = new DropListChoice(parent, pos, *this);
#else
            auto* choice = new wxChoice(parent, wxID_ANY, pos, wxDefaultSize);
#endif
            choice->SetSize(dropListSize(choice, t.rect.width));
            if (c->holder) c->holder->SetSize(choice->GetSize());
            w = choice;
            break;
        }
        case Kind::ListView: {
            long style = wxLC_REPORT | wxBORDER_NONE;
            if (s & kSingleSelection) style |= wxLC_SINGLE_SEL;
            if (s & kGridLines) style |= wxLC_HRULES | wxLC_VRULES;
            if (s & kNoColumnHeader) style |= wxLC_NO_HEADER;
            // kEditLabels is left out on purpose: cells are edited by the dialog's own in-place
            // controls, and wx's label editor would open as well.
            w = new wxListCtrl(parent, wxID_ANY, pos, inner, style);
            break;
        }
        case Kind::Canvas: {
            auto* canvas = new wxWindow(parent, wxID_ANY, pos, inner,
                                        wxFULL_REPAINT_ON_RESIZE | ((s & kSunken) ? wxBORDER_SUNKEN : wxBORDER_NONE));
            canvas->SetBackgroundStyle(wxBG_STYLE_PAINT);
            canvas->DisableFocusFromKeyboard();
            c->caption = t.text;
            w = canvas;
            break;
        }
        case Kind::Progress: w = new wxGauge(parent, wxID_ANY, 100, pos, inner, wxGA_HORIZONTAL | wxGA_SMOOTH); break;
    }
    c->window = w;
    if (s & kDisabled) w->Disable();
    if ((s & kNoTabStop) && t.kind != Kind::Canvas) w->DisableFocusFromKeyboard();
    if (s & kHidden) c->outer()->Hide();
    describe(w, t.id);
    Control& ref = *c;
    controls_.push_back(std::move(c));
    bindEvents(ref);
    if (ref.holder && atRunTime) ref.holder->Raise();
}

void WxDialogWindow::bindEvents(Control& c) {
    wxWindow* w = c.window;
    switch (c.t.kind) {
        case Kind::Button: w->Bind(wxEVT_BUTTON, [this, w](wxCommandEvent&) { notify(w, Notify::Clicked); }); break;
        case Kind::CheckBox: w->Bind(wxEVT_CHECKBOX, [this, w](wxCommandEvent&) { notify(w, Notify::Clicked); }); break;
        case Kind::Radio: w->Bind(wxEVT_RADIOBUTTON, [this, w](wxCommandEvent&) { notify(w, Notify::Clicked); }); break;
        case Kind::Edit:
            // Only the user's changes arrive here: the program's go through ChangeValue.
            w->Bind(wxEVT_TEXT, [this, w](wxCommandEvent&) { notify(w, Notify::Changed); });
            w->Bind(wxEVT_CHAR, [this, w](wxKeyEvent& e) {
                const char32_t ch = WxMapping::typedChar(e.GetKeyCode(), static_cast<char32_t>(e.GetUnicodeKey()),
                                                         e.ControlDown(), e.AltDown());
                const int id = idOf(w);
                if (active() && ch != 0 && id != kStaticId && owner_.handleChar(id, ch)) return;
                e.Skip();
            });
            w->Bind(wxEVT_TEXT_PASTE, [this, w](wxClipboardTextEvent& e) {
                const int id = idOf(w);
                if (active() && id != kStaticId && owner_.handlePaste(id)) return;
                e.Skip();
            });
            // The dialog's own menu for the field, in place of the toolkit's edit menu: a right click,
            // the menu key, or a long press on a touch screen. It runs after the event's own handling
            // (a menu takes the pointer while open).
            w->Bind(wxEVT_CONTEXT_MENU, [this, w](wxContextMenuEvent& e) {
                const int id = idOf(w);
                if (!active() || id == kStaticId || !owner_.hasContextMenu(id)) return e.Skip();
                wxPoint at = e.GetPosition() == wxDefaultPosition ? wxPoint(4, w->GetSize().y)
                                                                  : w->ScreenToClient(e.GetPosition());
                at = w->ToDIP(at);
                dialog_->CallAfter([this, id, at] {
                    if (active()) owner_.handleContextMenu(id, Point{at.x, at.y});
                });
            });
            // The long press only where the dialog has a menu: the gesture would take the other
            // edits' presses (an in-place editor's) for itself.
            if (c.t.id != kStaticId && owner_.hasContextMenu(c.t.id)) w->EnableTouchEvents(wxTOUCH_PRESS_GESTURES);
            w->Bind(wxEVT_LONG_PRESS, [this, w](wxLongPressEvent& e) {
                const int id = idOf(w);
                if (!active() || id == kStaticId || !owner_.hasContextMenu(id)) return e.Skip();
                const wxPoint at = w->ToDIP(e.GetPosition());
                dialog_->CallAfter([this, id, at] {
                    if (active()) owner_.handleContextMenu(id, Point{at.x, at.y});
                });
            });
            break;
        case Kind::DropList: {
            w->Bind(wxEVT_CHOICE, [this, w](wxCommandEvent&) { notify(w, Notify::SelChange); });
#if defined(__WXGTK__)
            if (auto* g = static_cast<GtkWidget*>(w->GetHandle()); g && GTK_IS_COMBO_BOX(g)) {
                ComboLink link{this, w};
                g_signal_connect_data(g, "notify::popup-shown", G_CALLBACK(onPopupShown), new ComboLink(link),
                                      freeComboLink, GConnectFlags(0));
                gtk_container_forall(GTK_CONTAINER(g), watchComboFocus, &link);
            }
#endif
            break;
        }
        case Kind::ListView: {
            auto* l = static_cast<wxListCtrl*>(w);
            // The row area gets the click before the list's own handler (which selects).
            itemArea(l)->Bind(wxEVT_LEFT_DOWN, [this, l](wxMouseEvent& e) { listClick(l, e); });
            itemArea(l)->Bind(wxEVT_RIGHT_DOWN, [this, l](wxMouseEvent& e) { listRightClick(l, e); });
            auto changed = [this, w](wxListEvent&) {
                if (quiet_ == 0) notify(w, Notify::ItemChanged);
            };
            l->Bind(wxEVT_LIST_ITEM_SELECTED, changed);
            l->Bind(wxEVT_LIST_ITEM_DESELECTED, changed);
            l->Bind(wxEVT_LIST_ITEM_ACTIVATED, [this, w](wxListEvent&) { notify(w, Notify::DoubleClick); });
            break;
        }
        case Kind::Canvas:
            w->Bind(wxEVT_PAINT, [this, w](wxPaintEvent&) {
                wxAutoBufferedPaintDC dc(w);
                dc.SetBackground(wxBrush(dialog_->GetBackgroundColour()));
                dc.Clear();
                const int id = idOf(w);
                if (!active() || id == kStaticId) return;
                WxCanvas canvas(dc, *w);
                owner_.handlePaint(id, canvas);
            });
            break;
        default: break;
    }
    if (c.t.kind == Kind::Canvas || c.t.kind == Kind::Label) {
        for (const auto type : {wxEVT_LEFT_DOWN, wxEVT_LEFT_UP, wxEVT_LEFT_DCLICK, wxEVT_RIGHT_DOWN, wxEVT_RIGHT_UP,
                                wxEVT_MOTION, wxEVT_LEAVE_WINDOW, wxEVT_MOUSEWHEEL})
            w->Bind(type, [this, w](wxMouseEvent& e) { mouseEvent(w, e); });
    }
    w->Bind(wxEVT_MOUSE_CAPTURE_LOST, [this, w](wxMouseCaptureLostEvent&) {
        if (captor_ != kStaticId && idOf(w) == captor_) captor_ = kStaticId;
    });
#if defined(__WXGTK__)
    if (c.t.kind == Kind::DropList) return;  // its focus is watched in GTK (above)
#endif
    wxWindow* focusWindow = c.t.kind == Kind::ListView ? itemArea(static_cast<wxListCtrl*>(w)) : w;
    focusWindow->Bind(wxEVT_SET_FOCUS, [this, w](wxFocusEvent& e) {
        e.Skip();
        notify(w, Notify::SetFocus);
    });
    focusWindow->Bind(wxEVT_KILL_FOCUS, [this, w](wxFocusEvent& e) {
        e.Skip();
        notify(w, Notify::KillFocus);
    });
}

// ---------------------------------------------------------------- events

void WxDialogWindow::notify(const wxWindow* w, Notify n) {
    if (!active()) return;
    const int id = idOf(w);
    if (id != kStaticId) owner_.handleCommand(id, n);
}

void WxDialogWindow::dropDownShown(wxWindow* control, bool shown) {
    if (!active()) return;
    if (shown) {
        droppedDown_ = control;
        return;
    }
    droppedDown_ = nullptr;
    // After the selection it made has been reported.
    dialog_->CallAfter([this, control] { notify(control, Notify::DropDownClosed); });
}

void WxDialogWindow::dropDownFocus(wxWindow* control, bool in) {
    if (!active()) return;
    // The open list takes the keyboard for a while; on Windows the box keeps the focus meanwhile.
    if (control == droppedDown_) return;
    if (in == (focusedCombo_ == control)) return;
    focusedCombo_ = in ? control : nullptr;
    notify(control, in ? Notify::SetFocus : Notify::KillFocus);
}

void WxDialogWindow::mouseEvent(wxWindow* w, wxMouseEvent& e) {
    e.Skip();
    const int id = idOf(w);
    if (!active() || id == kStaticId) return;
    MouseEvent m;
    const auto type = e.GetEventType();
    if (type == wxEVT_LEFT_DOWN)
        m.type = MouseEvent::LeftDown;
    else if (type == wxEVT_LEFT_UP)
        m.type = MouseEvent::LeftUp;
    else if (type == wxEVT_LEFT_DCLICK)
        m.type = MouseEvent::LeftDoubleClick;
    else if (type == wxEVT_RIGHT_DOWN)
        m.type = MouseEvent::RightDown;
    else if (type == wxEVT_RIGHT_UP)
        m.type = MouseEvent::RightUp;
    else if (type == wxEVT_LEAVE_WINDOW)
        m.type = MouseEvent::Leave;
    else if (type == wxEVT_MOUSEWHEEL) {
        if (e.GetWheelAxis() != wxMOUSE_WHEEL_VERTICAL) return;
        m.type = MouseEvent::Wheel;
        const int delta = e.GetWheelDelta() > 0 ? e.GetWheelDelta() : 120;
        m.wheelDelta = e.GetWheelRotation() * 120 / delta;
    } else
        m.type = MouseEvent::Move;
    const wxPoint p = w->ToDIP(e.GetPosition());
    m.x = p.x;
    m.y = p.y;
    m.shift = e.ShiftDown();
    m.control = e.ControlDown();
    m.leftButton = e.LeftIsDown();
    owner_.handleMouse(id, m);
}

void WxDialogWindow::listClick(wxWindow* list, wxMouseEvent& e) {
    const int id = idOf(list);
    if (!active() || id == kStaticId) return e.Skip();
    auto* l = static_cast<wxListCtrl*>(list);
    // The list's own coordinates start at the corner of its rectangle (controlRect), frame included.
    const Control* c = find(id);
    const wxPoint own = itemArea(l)->ClientToScreen(e.GetPosition()) - c->outer()->GetScreenPosition();
    MouseEvent m;
    m.type = MouseEvent::LeftDown;
    const wxPoint p = l->ToDIP(own);
    m.x = p.x;
    m.y = p.y;
    m.shift = e.ShiftDown();
    m.control = e.ControlDown();
    m.leftButton = true;
    focusAsked_ = kStaticId;
    if (owner_.handleListClick(id, m)) return;  // taken: the list does not select
    // A handler that put the focus elsewhere (an editor opened over the cell) has taken the click: the
    // list's own handling would take the focus back at once, and end the editing.
    if (focusAsked_ != kStaticId && focusAsked_ != id) return;
    e.Skip();
}

void WxDialogWindow::listRightClick(wxWindow* list, wxMouseEvent& e) {
    const int id = idOf(list);
    if (!active() || id == kStaticId) return e.Skip();
    auto* l = static_cast<wxListCtrl*>(list);
    const Control* c = find(id);
    const wxPoint own = l->ToDIP(itemArea(l)->ClientToScreen(e.GetPosition()) - c->outer()->GetScreenPosition());
    const int row = hitTest(id, own.x, own.y).row;
    // As a list on Windows does: the row under the pointer becomes the only selected one (a click
    // on a selected row keeps the selection), and the list takes the focus.
    if (row >= 0 && l->GetItemState(row, wxLIST_STATE_SELECTED) == 0) {
        ++quiet_;
        for (const int r : selectedRows(id)) l->SetItemState(r, 0, wxLIST_STATE_SELECTED);
        l->SetItemState(row, wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED,
                        wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED);
        --quiet_;
        notify(list, Notify::ItemChanged);
    }
    itemArea(l)->SetFocus();
    // The menu runs after the click's own handling is over (it takes the pointer while open).
    dialog_->CallAfter([this, id, row, own] {
        if (active()) owner_.handleListContextMenu(id, row, Point{own.x, own.y});
    });
}

// ---------------------------------------------------------------- lookup

WxDialogWindow::Control* WxDialogWindow::find(int id) {
    if (id == kStaticId) return nullptr;
    for (auto& c : controls_)
        if (c->t.id == id) return c.get();
    return nullptr;
}

const WxDialogWindow::Control* WxDialogWindow::find(int id) const {
    return const_cast<WxDialogWindow*>(this)->find(id);
}

wxListCtrl* WxDialogWindow::list(int id) const {
    const Control* c = find(id);
    return c && c->t.kind == Kind::ListView ? static_cast<wxListCtrl*>(c->window) : nullptr;
}

int WxDialogWindow::idOf(const wxWindow* w) const {
    for (; w && w != dialog_; w = w->GetParent())
        for (const auto& c : controls_)
            if (c->window == w) return c->t.id;
    return kStaticId;
}

wxWindow* WxDialogWindow::controlWindow(int id) const {
    const Control* c = find(id);
    return c ? c->window : nullptr;
}

wxPoint WxDialogWindow::dialogPoint(int id, Point at) const {
    const Control* c = find(id);
    const wxPoint p = dialog_->FromDIP(wxPoint(at.x, at.y));
    if (!c) return p;
    // A list's own coordinates include its frame (as its clicks have them); the others' are those of
    // their client area (as their mouse events and paint have them).
    if (c->t.kind == Kind::ListView) return dialog_->ScreenToClient(c->outer()->GetScreenPosition() + p);
    return dialog_->ScreenToClient(c->window->ClientToScreen(p));
}

void WxDialogWindow::purgeDestroyed() {
    std::vector<wxWindow*> windows;
    windows.swap(destroyed_);
    for (wxWindow* w : windows) w->Destroy();
}

// ---------------------------------------------------------------- the window

int WxDialogWindow::runModal() {
    if (ended_) return endCode_;
    if (pendingFocus_ != kStaticId) {
        // Focus asked for before the window was up: given once it is shown.
        const int id = pendingFocus_;
        dialog_->CallAfter([this, id] {
            if (Control* c = find(id); c && active()) c->window->SetFocus();
        });
    }
    const int code = dialog_->ShowModal();
    pendingFocus_ = kStaticId;
    return ended_ ? endCode_ : code;
}

void WxDialogWindow::end(int code) {
    ended_ = true;
    endCode_ = code;
    if (dialog_->IsModal()) dialog_->EndModal(code);
}

void WxDialogWindow::setTitle(const std::string& utf8) { dialog_->SetTitle(fromUtf8(utf8)); }

Size WxDialogWindow::clientSize() const {
    const wxSize s = dialog_->ToDIP(dialog_->GetClientSize());
    return Size{s.x, s.y};
}

bool WxDialogWindow::isMinimized() const { return dialog_->IsIconized(); }

void WxDialogWindow::processPendingEvents() {
    // Paints and the like only: the user's clicks and keys wait until the work is done, so nothing
    // starts a second time in the middle of it.
    if (wxEventLoopBase* loop = wxEventLoopBase::GetActive()) loop->YieldFor(wxEVT_CATEGORY_UI);
}

// ---------------------------------------------------------------- any control

bool WxDialogWindow::hasControl(int id) const { return find(id) != nullptr; }

void WxDialogWindow::setText(int id, const std::string& utf8) {
    Control* c = find(id);
    if (!c) return;
    const wxString s = fromUtf8(utf8);
    switch (c->t.kind) {
        case Kind::Edit: static_cast<wxTextCtrl*>(c->window)->ChangeValue(s); break;
        case Kind::DropList: {
            auto* choice = static_cast<wxChoice*>(c->window);
            choice->SetSelection(choice->FindString(s, true));
            break;
        }
        case Kind::Canvas:
            c->caption = utf8;
            c->window->Refresh();
            break;
        case Kind::ListView:
        case Kind::Progress: break;
        default: c->window->SetLabel(s); break;
    }
}

std::string WxDialogWindow::text(int id) const {
    const Control* c = find(id);
    if (!c) return {};
    switch (c->t.kind) {
        case Kind::Edit: return toUtf8(static_cast<wxTextCtrl*>(c->window)->GetValue());
        case Kind::DropList: return toUtf8(static_cast<wxChoice*>(c->window)->GetStringSelection());
        case Kind::Canvas: return c->caption;
        case Kind::ListView:
        case Kind::Progress: return {};
        default: return toUtf8(c->window->GetLabel());
    }
}

void WxDialogWindow::enable(int id, bool on) {
    if (Control* c = find(id)) c->window->Enable(on);
}

bool WxDialogWindow::isEnabled(int id) const {
    const Control* c = find(id);
    return c && c->window->IsThisEnabled();
}

void WxDialogWindow::show(int id, bool on) {
    if (Control* c = find(id)) c->outer()->Show(on);
}

bool WxDialogWindow::isVisible(int id) const {
    const Control* c = find(id);
    return c && c->outer()->IsShown() && c->window->IsShown();
}

void WxDialogWindow::setTextColour(int id, Colour colour) {
    Control* c = find(id);
    if (!c) return;
    c->colour = colour;
    c->window->SetForegroundColour(toWx(colour));
    c->window->Refresh();
}

Colour WxDialogWindow::textColour(int id) const {
    const Control* c = find(id);
    return c ? c->colour : kBlack;
}

void WxDialogWindow::setFont(int id, const Font& font) {
    Control* c = find(id);
    if (!c) return;
    c->window->SetFont(WxCanvas::makeFont(dialog_->GetFont(), font));
    c->window->Refresh();
}

void WxDialogWindow::setFocus(int id) {
    Control* c = find(id);
    if (!c) return;
    focusAsked_ = id;
    if (!dialog_->IsShown()) pendingFocus_ = id;
    c->window->SetFocus();
}

int WxDialogWindow::focusedControl() const {
    const wxWindow* f = wxWindow::FindFocus();
    return f ? idOf(f) : kStaticId;
}

Rect WxDialogWindow::controlRect(int id) const {
    const Control* c = find(id);
    if (!c) return {};
    const wxRect r = c->outer()->GetRect();
    const wxPoint p = dialog_->ToDIP(r.GetPosition());
    const wxSize s = dialog_->ToDIP(r.GetSize());
    return Rect{p.x, p.y, s.x, s.y};
}

void WxDialogWindow::moveControl(int id, const Rect& r) {
    Control* c = find(id);
    if (!c) return;
    const wxPoint pos = dialog_->FromDIP(wxPoint(r.x, r.y));
    wxSize size = dialog_->FromDIP(wxSize(std::max(r.width, 1), std::max(r.height, 1)));
    if (c->t.kind == Kind::DropList) size = dropListSize(c->window, r.width);
    c->outer()->SetSize(wxRect(pos, size));
    if (c->holder) c->window->SetSize(wxRect(wxPoint(0, 0), c->holder->GetClientSize()));
    c->window->Refresh();
}

void WxDialogWindow::refresh(int id) {
    if (Control* c = find(id)) c->window->Refresh();
}

void WxDialogWindow::setTooltip(int id, const std::string& utf8) {
    Control* c = find(id);
    if (!c) return;
    if (utf8.empty())
        c->window->UnsetToolTip();
    else
        c->window->SetToolTip(fromUtf8(utf8));
}

void WxDialogWindow::setCursor(int id, Cursor cursor) {
    if (Control* c = find(id)) c->window->SetCursor(wxCursor(stockCursor(cursor)));
}

void WxDialogWindow::createControl(const ControlTemplate& t) {
    if (t.id != kStaticId && find(t.id)) destroyControl(t.id);
    makeControl(t, true);
}

void WxDialogWindow::destroyControl(int id) {
    const auto it = std::find_if(controls_.begin(), controls_.end(),
                                 [id](const std::unique_ptr<Control>& c) { return id != kStaticId && c->t.id == id; });
    if (it == controls_.end()) return;
    if (captor_ == id) releaseMouse();
    wxWindow* outer = (*it)->outer();
    if (focusedCombo_ == (*it)->window) focusedCombo_ = nullptr;
    if (droppedDown_ == (*it)->window) droppedDown_ = nullptr;
    controls_.erase(it);
    // Often called from one of the control's own events (an editor ending on losing the focus): it is
    // hidden and cut off from the dialog now, and deleted once that event is over.
    outer->Hide();
    destroyed_.push_back(outer);
    if (destroyed_.size() == 1) dialog_->CallAfter([this] { purgeDestroyed(); });
}

void WxDialogWindow::captureMouse(int id) {
    Control* c = find(id);
    if (!c) return;
    if (wxWindow::GetCapture() != c->window) {
        if (captor_ != kStaticId) releaseMouse();
        c->window->CaptureMouse();
    }
    captor_ = id;
}

void WxDialogWindow::releaseMouse() {
    const Control* c = find(captor_);
    captor_ = kStaticId;
    if (c && wxWindow::GetCapture() == c->window) c->window->ReleaseMouse();
}

// ---------------------------------------------------------------- check boxes, radio buttons, edits

void WxDialogWindow::setChecked(int id, bool on) {
    Control* c = find(id);
    if (!c) return;
    if (c->t.kind == Kind::CheckBox) static_cast<wxCheckBox*>(c->window)->SetValue(on);
    if (c->t.kind == Kind::Radio) static_cast<wxRadioButton*>(c->window)->SetValue(on);
}

bool WxDialogWindow::isChecked(int id) const {
    const Control* c = find(id);
    if (!c) return false;
    if (c->t.kind == Kind::CheckBox) return static_cast<wxCheckBox*>(c->window)->GetValue();
    if (c->t.kind == Kind::Radio) return static_cast<wxRadioButton*>(c->window)->GetValue();
    return false;
}

void WxDialogWindow::selectAllText(int id) {
    Control* c = find(id);
    if (c && c->t.kind == Kind::Edit) static_cast<wxTextCtrl*>(c->window)->SelectAll();
}

// ---------------------------------------------------------------- drop-down lists

namespace {
wxChoice* asChoice(wxWindow* w, Kind k) { return k == Kind::DropList ? static_cast<wxChoice*>(w) : nullptr; }
}  // namespace

void WxDialogWindow::clearItems(int id) {
    if (Control* c = find(id); c && asChoice(c->window, c->t.kind)) asChoice(c->window, c->t.kind)->Clear();
}

void WxDialogWindow::addItem(int id, const std::string& utf8) {
    if (Control* c = find(id); c && asChoice(c->window, c->t.kind))
        asChoice(c->window, c->t.kind)->Append(fromUtf8(utf8));
}

int WxDialogWindow::itemCount(int id) const {
    const Control* c = find(id);
    wxChoice* choice = c ? asChoice(c->window, c->t.kind) : nullptr;
    return choice ? static_cast<int>(choice->GetCount()) : 0;
}

std::string WxDialogWindow::itemText(int id, int index) const {
    const Control* c = find(id);
    wxChoice* choice = c ? asChoice(c->window, c->t.kind) : nullptr;
    if (!choice || index < 0 || index >= static_cast<int>(choice->GetCount())) return {};
    return toUtf8(choice->GetString(static_cast<unsigned>(index)));
}

void WxDialogWindow::setSelection(int id, int index) {
    Control* c = find(id);
    wxChoice* choice = c ? asChoice(c->window, c->t.kind) : nullptr;
    if (!choice) return;
    choice->SetSelection(index >= 0 && index < static_cast<int>(choice->GetCount()) ? index : wxNOT_FOUND);
}

int WxDialogWindow::selection(int id) const {
    const Control* c = find(id);
    wxChoice* choice = c ? asChoice(c->window, c->t.kind) : nullptr;
    return choice ? choice->GetSelection() : -1;
}

void WxDialogWindow::showDropDown(int id) {
    const Control* c = find(id);
    if (!c || c->t.kind != Kind::DropList) return;
#if defined(__WXMSW__)
    static_cast<DropListChoice*>(c->window)->popup();
#else
    if (auto* g = static_cast<GtkWidget*>(c->window->GetHandle()); g && GTK_IS_COMBO_BOX(g))
        gtk_combo_box_popup(GTK_COMBO_BOX(g));
#endif
}

// ---------------------------------------------------------------- list views

void WxDialogWindow::addColumn(int id, const ListColumn& column) {
    wxListCtrl* l = list(id);
    if (!l) return;
    const wxString title = fromUtf8(column.title);
    // The header draws its title inside the column less a margin on either side, and cuts what does
    // not fit; the width the dialog asks for is set for Windows' font, not the desktop's.
    const int fit = l->GetTextExtent(title).x + l->FromDIP(kHeaderTitleMargin);
    l->AppendColumn(title, columnFormat(column.align), std::max(l->FromDIP(column.width), fit));
}

void WxDialogWindow::deleteAllColumns(int id) {
    if (wxListCtrl* l = list(id)) l->DeleteAllColumns();
}

int WxDialogWindow::columnCount(int id) const {
    const wxListCtrl* l = list(id);
    return l ? l->GetColumnCount() : 0;
}

std::string WxDialogWindow::columnTitle(int id, int column) const {
    const wxListCtrl* l = list(id);
    if (!l || column < 0 || column >= l->GetColumnCount()) return {};
    wxListItem item;
    item.SetMask(wxLIST_MASK_TEXT);
    l->GetColumn(column, item);
    return toUtf8(item.GetText());
}

int WxDialogWindow::columnWidth(int id, int column) const {
    const wxListCtrl* l = list(id);
    if (!l || column < 0 || column >= l->GetColumnCount()) return 0;
    return l->ToDIP(l->GetColumnWidth(column));
}

void WxDialogWindow::setColumnWidth(int id, int column, int width) {
    wxListCtrl* l = list(id);
    if (l && column >= 0 && column < l->GetColumnCount()) l->SetColumnWidth(column, l->FromDIP(std::max(width, 0)));
}

void WxDialogWindow::insertRow(int id, int row, const std::string& firstCell) {
    wxListCtrl* l = list(id);
    if (!l) return;
    ++quiet_;
    l->InsertItem(std::clamp<long>(row, 0, l->GetItemCount()), fromUtf8(firstCell));
    --quiet_;
}

void WxDialogWindow::setCell(int id, int row, int column, const std::string& utf8) {
    wxListCtrl* l = list(id);
    if (!l || row < 0 || row >= l->GetItemCount() || column < 0 || column >= l->GetColumnCount()) return;
    l->SetItem(row, column, fromUtf8(utf8));
}

std::string WxDialogWindow::cell(int id, int row, int column) const {
    const wxListCtrl* l = list(id);
    if (!l || row < 0 || row >= l->GetItemCount() || column < 0 || column >= l->GetColumnCount()) return {};
    return toUtf8(l->GetItemText(row, column));
}

int WxDialogWindow::rowCount(int id) const {
    const wxListCtrl* l = list(id);
    return l ? l->GetItemCount() : 0;
}

void WxDialogWindow::deleteRow(int id, int row) {
    wxListCtrl* l = list(id);
    if (!l || row < 0 || row >= l->GetItemCount()) return;
    ++quiet_;
    l->DeleteItem(row);
    --quiet_;
}

void WxDialogWindow::deleteAllRows(int id) {
    wxListCtrl* l = list(id);
    if (!l) return;
    ++quiet_;
    l->DeleteAllItems();
    --quiet_;
}

void WxDialogWindow::setRowColours(int id, int row, Colour text, Colour background) {
    wxListCtrl* l = list(id);
    if (!l || row < 0 || row >= l->GetItemCount()) return;
    l->SetItemTextColour(row, toWx(text));
    l->SetItemBackgroundColour(row, toWx(background));
}

std::vector<int> WxDialogWindow::selectedRows(int id) const {
    std::vector<int> rows;
    const wxListCtrl* l = list(id);
    if (!l) return rows;
    for (long i = l->GetNextItem(-1, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED); i != -1;
         i = l->GetNextItem(i, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED))
        rows.push_back(static_cast<int>(i));
    return rows;
}

void WxDialogWindow::selectRow(int id, int row, bool selected) {
    wxListCtrl* l = list(id);
    if (!l || row < 0 || row >= l->GetItemCount()) return;
    ++quiet_;
    l->SetItemState(row, selected ? wxLIST_STATE_SELECTED : 0, wxLIST_STATE_SELECTED);
    --quiet_;
}

void WxDialogWindow::ensureRowVisible(int id, int row) {
    wxListCtrl* l = list(id);
    if (l && row >= 0 && row < l->GetItemCount()) l->EnsureVisible(row);
}

void WxDialogWindow::scrollList(int id, int dx, int rows) {
    wxListCtrl* l = list(id);
    if (!l) return;
#if defined(__WXMSW__)
    // Windows' list view scrolls by pixels, vertically in whole rows.
    wxRect r;
    const int rowPixels = l->GetItemCount() > 0 && l->GetItemRect(0, r) ? r.height : 0;
    l->ScrollList(l->FromDIP(dx), rows * rowPixels);
#else
    // wxListCtrl::ScrollList leaves out the horizontal part in its generic version: scroll by units.
    int unitX = 0, unitY = 0, x = 0, y = 0;
    l->GetScrollPixelsPerUnit(&unitX, &unitY);
    l->GetViewStart(&x, &y);
    l->Scroll(x + WxMapping::scrollUnits(l->FromDIP(dx), unitX), y + rows);
#endif
}

int WxDialogWindow::horizontalScroll(int id) const {
    const wxListCtrl* l = list(id);
    if (!l) return 0;
#if defined(__WXMSW__)
    return l->ToDIP(l->GetScrollPos(wxHORIZONTAL));  // pixels in a report view
#else
    int unitX = 0, unitY = 0, x = 0, y = 0;
    l->GetScrollPixelsPerUnit(&unitX, &unitY);
    l->GetViewStart(&x, &y);
    return l->ToDIP(x * unitX);
#endif
}

int WxDialogWindow::rowHeight(int id) const {
    wxListCtrl* l = list(id);
    if (!l) return 0;
    wxRect r;
    if (l->GetItemCount() > 0 && l->GetItemRect(0, r)) return l->ToDIP(r.height);
    // As the list measures its rows: the font's height and a margin.
    return l->ToDIP(itemArea(l)->GetTextExtent("H").y + 6);
}

Rect WxDialogWindow::cellRect(int id, int row, int column) const {
    wxListCtrl* l = list(id);
    if (!l || row < 0 || row >= l->GetItemCount() || column < 0 || column >= l->GetColumnCount()) return {};
    wxRect r;
    if (!l->GetSubItemRect(row, column, r)) return {};
    // The list's client coordinates, to the dialog's.
    const wxPoint p = dialog_->ToDIP(dialog_->ScreenToClient(l->ClientToScreen(r.GetPosition())));
    const wxSize s = dialog_->ToDIP(r.GetSize());
    return Rect{p.x, p.y, s.x, s.y};
}

ListHit WxDialogWindow::hitTest(int id, int x, int y) const {
    wxListCtrl* l = list(id);
    ListHit hit;
    if (!l) return hit;
    wxWindow* area = itemArea(l);
    const wxPoint p = area->ScreenToClient(find(id)->outer()->GetScreenPosition() + l->FromDIP(wxPoint(x, y)));
    if (p.y < 0 || p.x < 0 || p.x >= area->GetClientSize().x || p.y >= area->GetClientSize().y) return hit;
    int flags = 0;
    long row = l->HitTest(p, flags);
    if (row < 0 || !(flags & wxLIST_HITTEST_ONITEM)) {
        // Past the last column the list finds no row; the row is still the one at that height.
        row = l->HitTest(wxPoint(1, p.y), flags);
        if (row < 0 || !(flags & wxLIST_HITTEST_ONITEM)) return hit;
    }
    std::vector<int> widths;
    for (int i = 0; i < l->GetColumnCount(); ++i) widths.push_back(l->ToDIP(l->GetColumnWidth(i)));
    hit.row = static_cast<int>(row);
    hit.column = WxMapping::columnAt(widths, l->ToDIP(p.x), horizontalScroll(id));
    return hit;
}

void WxDialogWindow::batchUpdate(int id, bool begin) {
    Control* c = find(id);
    if (!c) return;
    if (begin) {
        if (c->frozen++ == 0) c->window->Freeze();
    } else if (c->frozen > 0) {
        if (--c->frozen == 0) c->window->Thaw();
    }
}

// ---------------------------------------------------------------- progress bars

void WxDialogWindow::setRange(int id, int range) {
    Control* c = find(id);
    if (!c || c->t.kind != Kind::Progress) return;
    auto* g = static_cast<wxGauge*>(c->window);
    const int r = std::max(range, 1);
    if (g->GetValue() > r) g->SetValue(r);
    g->SetRange(r);
}

void WxDialogWindow::setPosition(int id, int position) {
    Control* c = find(id);
    if (!c || c->t.kind != Kind::Progress) return;
    auto* g = static_cast<wxGauge*>(c->window);
    g->SetValue(std::clamp(position, 0, g->GetRange()));
}

int WxDialogWindow::position(int id) const {
    const Control* c = find(id);
    if (!c || c->t.kind != Kind::Progress) return 0;
    return static_cast<wxGauge*>(c->window)->GetValue();
}

}  // namespace ui

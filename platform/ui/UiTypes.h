#pragma once
#include <cstdint>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

// The vocabulary of the window layer: what a dialog template is made of, and what the backends
// pass to a dialog. Coordinates are pixels at 96 dpi in the dialog's client area; a backend scales
// them for the screen.
namespace ui {

struct Point {
    int x = 0;
    int y = 0;
    bool operator==(const Point&) const = default;
};

struct Size {
    int width = 0;
    int height = 0;
    bool operator==(const Size&) const = default;
};

struct Rect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    int right() const { return x + width; }
    int bottom() const { return y + height; }
    bool contains(int px, int py) const { return px >= x && px < x + width && py >= y && py < y + height; }
    bool operator==(const Rect&) const = default;
};

struct Colour {
    uint8_t r = 0;
    uint8_t g = 0;
    uint8_t b = 0;
    bool operator==(const Colour&) const = default;
};
inline constexpr Colour kBlack{0, 0, 0};
inline constexpr Colour kWhite{255, 255, 255};
inline constexpr Colour kRed{255, 0, 0};

// A colour a dark theme paints its windows with: black, or the near-black greys of dark desktop
// themes (perceived brightness below the middle).
inline bool isDark(Colour c) { return 299 * c.r + 587 * c.g + 114 * c.b < 128 * 1000; }

enum class Kind {
    Label,      // static text
    Edit,       // one-line text box
    Button,
    CheckBox,
    Radio,      // radio button; a group starts at a control with kGroupStart
    GroupBox,   // frame with a caption
    DropList,   // drop-down list (no typing)
    ListView,   // report list: columns and rows
    Canvas,     // custom-drawn: paints through a Canvas, gets mouse events
    Progress,   // progress bar, 0..range
};

// Style bits of a control template.
enum Style : unsigned {
    kNoStyle = 0,
    kReadOnly = 1u << 0,       // edit: shown, not typed into
    kDefault = 1u << 1,        // button: the default button
    kGroupStart = 1u << 2,     // radio: first of its group
    kMultiline = 1u << 3,      // edit / label: several lines
    kAlignRight = 1u << 4,     // edit / label text alignment
    kAlignCenter = 1u << 5,
    kHidden = 1u << 6,
    kDisabled = 1u << 7,
    kSingleSelection = 1u << 8,  // list view
    kEditLabels = 1u << 9,       // list view: cells edited in place
    kGridLines = 1u << 10,       // list view
    kFullRowSelect = 1u << 11,   // list view
    kNoColumnHeader = 1u << 12,  // list view
    kSunken = 1u << 13,          // label / canvas: sunken border
    kNoTabStop = 1u << 14,
    kNumeric = 1u << 15,         // edit: a number is typed (an on-screen keyboard shows its digits)
};

// Control ids: dialogs number their controls as they like; these are the framework's own (the values
// of Windows' IDOK, IDCANCEL ..., which are macros there, hence names of their own).
inline constexpr int kStaticId = -1;  // labels nobody addresses (several may share it)
inline constexpr int kIdOk = 1;
inline constexpr int kIdCancel = 2;
inline constexpr int kIdAbort = 3;
inline constexpr int kIdRetry = 4;
inline constexpr int kIdIgnore = 5;
inline constexpr int kIdYes = 6;
inline constexpr int kIdNo = 7;

struct ControlTemplate {
    int id = kStaticId;
    Kind kind = Kind::Label;
    std::string text;  // UTF-8 caption
    Rect rect;
    unsigned style = kNoStyle;
};

// A control that shows a named value, for a dialog that exchanges its values by name.
struct NamedControl {
    int id;
    std::string name;
};

struct DialogTemplate {
    int id = 0;
    std::string title;  // UTF-8
    int width = 0;      // client size
    int height = 0;
    std::vector<ControlTemplate> controls;
    std::vector<NamedControl> named;
    bool resizable = false;
    int minWidth = 0;   // minimum client size while resizing (0: the initial size)
    int minHeight = 0;
};

enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel, RetryCancel };
enum class Icon { None, Information, Warning, Error, Question };

// What a control reports to its dialog.
enum class Notify {
    Clicked,         // button pressed, check box or radio toggled by the user
    Changed,         // edit text changed by the user
    SelChange,       // drop-down list selection changed by the user
    SetFocus,
    KillFocus,
    DropDownClosed,  // drop-down list closed
    ItemChanged,     // list view: selection changed
    DoubleClick,     // list view: a row double-clicked
};

// Virtual key codes as Windows numbers them.
enum Key : int {
    kKeyBack = 8,
    kKeyTab = 9,
    kKeyReturn = 13,
    kKeyEscape = 27,
    kKeySpace = 32,
    kKeyPageUp = 33,
    kKeyPageDown = 34,
    kKeyEnd = 35,
    kKeyHome = 36,
    kKeyLeft = 37,
    kKeyUp = 38,
    kKeyRight = 39,
    kKeyDown = 40,
    kKeyInsert = 45,
    kKeyDelete = 46,
    kKeyApps = 93,  // the menu key: a context menu, as Shift+F10
    kKeyF1 = 112,
    kKeyF10 = 121,
};

struct KeyEvent {
    int key = 0;   // a Key, or the upper-case letter / digit for those keys
    bool shift = false;
    bool control = false;
    bool alt = false;
};

struct MouseEvent {
    enum Type { LeftDown, LeftUp, LeftDoubleClick, RightDown, RightUp, Move, Leave, Wheel };
    Type type = Move;
    int x = 0;  // in the control's own coordinates
    int y = 0;
    bool shift = false;
    bool control = false;
    bool leftButton = false;  // held during a move
    int wheelDelta = 0;       // multiples of 120, positive away from the user
};

enum class Cursor { Arrow, Hand, Cross, SizeAll, SizeNS, SizeWE, Wait };

struct Font {
    int pointSize = 0;  // 0: the dialog's own
    bool bold = false;
    bool italic = false;
    bool underline = false;
    std::string face;   // empty: the dialog's own
    int pixelHeight = 0;  // the character height in pixels, in place of pointSize; 0: none
    bool operator==(const Font&) const = default;
};

enum class Align { Left, Right, Center };

struct ListColumn {
    std::string title;
    // Pixels. On screen a column is made wider where its title needs more in the list's font, so the
    // header shows the title whole (the in-memory backend has no font and keeps this width).
    int width = 80;
    Align align = Align::Left;
};

// A cell of a list view hit by a point; -1 where none.
struct ListHit {
    int row = -1;
    int column = -1;
};

struct FileFilter {
    std::string label;    // "Файлы драг-функций (*.snr)"
    std::string pattern;  // "*.snr" or "*.snr;*.dat"
};

struct FileDialogOptions {
    bool save = false;
    std::string title;
    std::vector<FileFilter> filters;
    std::string defaultExtension;   // added to a name typed without one ("snr", no dot)
    std::filesystem::path folder;   // where the dialog starts
    std::string fileName;           // proposed name
    bool multipleSelection = false; // open only
    bool overwritePrompt = true;    // save only: ask before replacing a file
    std::string okLabel;            // caption of the OK button when not the standard one
};

// The folder chooser: `folder` is where it starts, proposed as the answer.
struct FolderDialogOptions {
    std::string title;
    std::filesystem::path folder;
};

struct MenuItem {
    int id = 0;          // 0: a separator
    std::string text;
    bool enabled = true;
    bool checked = false;
};

}  // namespace ui

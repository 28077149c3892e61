#pragma once
#include <optional>
#include <string>
#include <vector>

#include "Dialog.h"
#include "ShotInputs.h"
#include "ShownInput.h"
#include "TemplateBuilder.h"

// The handheld's screens: portrait, phone-sized (360 × 640, a Linux phone's logical screen, which its
// shell maximises), controls large enough for a finger, the device's soft keys as a row of buttons
// at the bottom.
namespace mobile {
inline constexpr int kWidth = 360;
inline constexpr int kHeight = 640;
inline constexpr int kMargin = 8;
inline constexpr int kInner = kWidth - 2 * kMargin;
inline constexpr int kRow = 40;          // edits and buttons
inline constexpr int kLabel = 24;        // a label line
inline constexpr int kSoftKeyTop = 588;
inline constexpr int kSoftKeyHeight = 44;
inline constexpr int kStepButton = 48;   // "−" and "+" beside a field
inline constexpr int kFontPoints = 12;
inline constexpr int kLargeFontPoints = 15;  // the main screen's fields and results

inline constexpr const char* kOkText = "Так точно!";
inline constexpr const char* kCancelText = "Отставить!";
inline constexpr const char* kCloseText = "Закрыть";
}  // namespace mobile

class MobileScreen : public ui::Dialog {
public:
    // A screen's template of the phone's size.
    static ui::DialogTemplate frame(int id, const std::string& title);
    // The soft keys: `left` on the left half, `right` on the right one (an id of 0: none).
    struct SoftKey {
        int id = 0;
        std::string text;
    };
    static void softKeys(ui::DialogTemplate& t, const SoftKey& left, const SoftKey& right);

    // A number field bound to an input of the shot, shown in `unit`, with its label above it.
    // `minus`/`plus`: the stepping buttons beside it (0: none), stepping by `step` within low..high;
    // the Up and Down keys in the field step too.
    struct NumberField {
        int id = 0;
        const char* key = "";
        ShownUnit unit = ShownUnit::AsIs;
        int minus = 0;
        int plus = 0;
        double low = 0.0;
        double high = 0.0;
        double step = 0.0;
        // The tap-and-hold menu's conversion of a typed value besides "Калькулятор", which every
        // number field offers.
        enum Conversion { None, FromKpa, FromFeetPerSecond } conversion = None;
    };
    // Adds the label and the field (with the step buttons when the field has them) at y; returns the
    // y of the next row.
    // Every label given an id of its own (so that it can be given a font), and the touch-sized fonts
    // for a screen's controls; for screens built on another dialog class.
    static ui::DialogTemplate withLabelIds(ui::DialogTemplate t);
    static void touchFonts(ui::Dialog& screen, const std::vector<int>& large = {});

    // `picker`: a ">>" button after the step buttons that opens a picture to choose the value on.
    static int addFieldRow(ui::TemplateBuilder& b, int y, const std::string& label, const NumberField& f,
                           int labelId = ui::kStaticId, int picker = 0);

protected:
    MobileScreen(ui::DialogTemplate t, ui::Dialog* parent);

    void addField(const NumberField& f) { fields_.push_back(f); }
    NumberField* field(int id);
    void setUnit(int id, ShownUnit unit);
    // Controls drawn with the large font.
    void useLargeFont(int id) { large_.push_back(id); }

    // The inputs into the fields, as each one shows them.
    void showFields(const ShotInputs& in);
    // The fields into `in`; one left as it was shown keeps its input. A field that does not parse, or holds a value no real shot has (a cosine
    // outside −1…1 among them), is refused: its message, the focus there, its text kept, and `in`
    // unchanged (false).
    bool takeFields(ShotInputs& in);

    // "−" (-1) or "+" (+1) on the field: the shown value moves by the step, kept within low..high.
    // A text that is no number is left as it is.
    void step(int id, int direction);

    bool onInitDialog() override;
    void onCommand(int id, ui::Notify n) override;
    bool preTranslateKey(int id, const ui::KeyEvent& k) override;
    // Tap-and-hold (a long press, a right click, the menu key) on a number field.
    bool wantsContextMenu(int id) const override;
    void onContextMenu(int id, ui::Point at) override;

public:
    // The tap-and-hold menu's items.
    enum : int { kMenuKeypad = 2001, kMenuFromKpa = 2002, kMenuFromFeetPerSecond = 2003 };
    // The typed value converted: kPa into the unit the field shows (mm Hg, or hPa), ft/s into m/s.
    // Nothing for a text that is no number.
    static std::optional<double> converted(NumberField::Conversion c, ShownUnit unit, const std::string& typed);

private:
    std::vector<NumberField> fields_;
    std::vector<int> large_;
    // The text each field was given by showFields: a field left as shown keeps its input exactly,
    // rather than the rounded value shown (0.25 MOA shown as 0.0727 MIL would come back 0.249924).
    std::vector<std::pair<int, std::string>> shownTexts_;
};

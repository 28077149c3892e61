#include "MobileScreen.h"

#include <algorithm>
#include <cmath>

#include "CDlgMobileKeypad.h"
#include "NumberText.h"
#include "RoundTo.h"

using namespace mobile;

ui::DialogTemplate MobileScreen::frame(int id, const std::string& title) {
    ui::DialogTemplate t;
    t.id = id;
    t.title = title;
    t.width = kWidth;
    t.height = kHeight;
    return t;
}

void MobileScreen::softKeys(ui::DialogTemplate& t, const SoftKey& left, const SoftKey& right) {
    ui::TemplateBuilder b(t);
    const int w = (kInner - kMargin) / 2;
    if (left.id) b.button(left.id, left.text, kMargin, kSoftKeyTop, w, ui::kNoStyle, kSoftKeyHeight);
    if (right.id) b.button(right.id, right.text, kMargin + w + kMargin, kSoftKeyTop, w, ui::kNoStyle, kSoftKeyHeight);
}

int MobileScreen::addFieldRow(ui::TemplateBuilder& b, int y, const std::string& label, const NumberField& f,
                              int labelId, int picker) {
    b.label(label, kMargin, y - ui::kLabelOffset, kInner, labelId, ui::kNoStyle, kLabel);
    y += kLabel;
    const bool stepped = f.minus && f.plus;
    const int editWidth = kInner - (stepped ? 2 * (kStepButton + 4) : 0) - (picker ? kStepButton + 4 : 0);
    if (picker) b.button(picker, ">>", kMargin + kInner - kStepButton, y, kStepButton, ui::kNoStyle, kRow);
    b.add(f.id, ui::Kind::Edit, "", {kMargin, y, editWidth, kRow}, ui::kNumeric);
    if (stepped) {
        b.button(f.minus, "−", kMargin + editWidth + 4, y, kStepButton, ui::kNoStyle, kRow);
        b.button(f.plus, "+", kMargin + editWidth + 8 + kStepButton, y, kStepButton, ui::kNoStyle, kRow);
    }
    return y + kRow + 6;
}

ui::DialogTemplate MobileScreen::withLabelIds(ui::DialogTemplate t) {
    int next = 3000;
    for (ui::ControlTemplate& c : t.controls)
        if (c.id == ui::kStaticId) c.id = next++;
    return t;
}

void MobileScreen::touchFonts(ui::Dialog& screen, const std::vector<int>& large) {
    for (const ui::ControlTemplate& c : screen.dialogTemplate().controls) {
        ui::Font font;
        font.pointSize = std::find(large.begin(), large.end(), c.id) != large.end() ? kLargeFontPoints : kFontPoints;
        screen.window().setFont(c.id, font);
    }
}

MobileScreen::MobileScreen(ui::DialogTemplate t, ui::Dialog* parent) : ui::Dialog(withLabelIds(std::move(t)), parent) {}

MobileScreen::NumberField* MobileScreen::field(int id) {
    for (NumberField& f : fields_)
        if (f.id == id) return &f;
    return nullptr;
}

void MobileScreen::setUnit(int id, ShownUnit unit) {
    if (NumberField* f = field(id)) f->unit = unit;
}

bool MobileScreen::onInitDialog() {
    touchFonts(*this, large_);
    return true;
}

void MobileScreen::showFields(const ShotInputs& in) {
    shownTexts_.clear();
    for (const NumberField& f : fields_) {
        const std::string shown = ui::formatNumber(shownValue(*findInputField(f.key)->number(in), f.unit));
        setText(f.id, shown);
        shownTexts_.emplace_back(f.id, shown);
    }
}

bool MobileScreen::takeFields(ShotInputs& in) {
    ShotInputs taken = in;
    for (const NumberField& f : fields_) {
        if (!window().isEnabled(f.id)) continue;  // not the user's to fix (the BC of a function with its own drag)
        const InputField& input = *findInputField(f.key);
        if (std::find(shownTexts_.begin(), shownTexts_.end(), std::pair{f.id, text(f.id)}) != shownTexts_.end() &&
            input.refusal(*input.number(in)).empty())
            continue;
        const ShownInput shown = shownIn(input, f.unit);
        const std::optional<double> typed = ui::parseNumber(text(f.id));
        if (!typed) {
            refuseField(f.id, ui::enterNumberMessage(shown.label()));
            return false;
        }
        const std::optional<double> value = inputFromShown(*typed, f.unit);
        if (const std::string why = shown.refusal(*typed, value); !why.empty()) {
            refuseField(f.id, why);
            return false;
        }
        *input.number(taken) = *value;
    }
    in = taken;
    // What the fields show now is what the inputs hold.
    for (auto& [id, shown] : shownTexts_) shown = text(id);
    return true;
}

void MobileScreen::step(int id, int direction) {
    const NumberField* f = field(id);
    if (!f || f->step <= 0) return;
    const std::optional<double> typed = ui::parseNumber(text(id));
    if (!typed) return;
    // Rounded to the step's own decimals: 1.2 + 0.2 is 1.4, not 1.4000000000000001.
    const double next = RoundTo(std::clamp(*typed + direction * f->step, f->low, f->high), 6);
    setText(id, ui::formatNumber(next));
}

void MobileScreen::onCommand(int id, ui::Notify n) {
    if (n == ui::Notify::Clicked)
        for (const NumberField& f : fields_) {
            if (f.minus && id == f.minus) return step(f.id, -1);
            if (f.plus && id == f.plus) return step(f.id, +1);
        }
    ui::Dialog::onCommand(id, n);
}

bool MobileScreen::preTranslateKey(int id, const ui::KeyEvent& k) {
    if ((k.key == ui::kKeyUp || k.key == ui::kKeyDown) && field(id) && field(id)->step > 0) {
        step(id, k.key == ui::kKeyUp ? +1 : -1);
        return true;
    }
    return ui::Dialog::preTranslateKey(id, k);
}

bool MobileScreen::wantsContextMenu(int id) const {
    for (const NumberField& f : fields_)
        if (f.id == id) return true;
    return false;
}

std::optional<double> MobileScreen::converted(NumberField::Conversion c, ShownUnit unit, const std::string& typed) {
    const std::optional<double> v = ui::parseNumber(typed);
    if (!v) return std::nullopt;
    switch (c) {
        // 1 kPa = 7.50061683 mm Hg = 10 hPa.
        case NumberField::FromKpa: return RoundTo(unit == ShownUnit::Hpa ? *v * 10.0 : *v * 7.50061683, 1);
        // 1 ft = 0.3048 m.
        case NumberField::FromFeetPerSecond: return RoundTo(*v * 0.3048, 1);
        case NumberField::None: break;
    }
    return v;
}

void MobileScreen::onContextMenu(int id, ui::Point at) {
    const NumberField* f = field(id);
    if (!f) return;
    std::vector<ui::MenuItem> items;
    if (f->conversion == NumberField::FromKpa) items.push_back({kMenuFromKpa, "kP->мм.рт.столба"});
    if (f->conversion == NumberField::FromFeetPerSecond) items.push_back({kMenuFromFeetPerSecond, "ф/сек->м/сек"});
    items.push_back({kMenuKeypad, "Калькулятор"});
    const int chosen = ui::backend().popupMenu(&window(), id, at, items);
    if (chosen == kMenuKeypad) {
        CDlgMobileKeypad keypad(text(id), this);
        if (keypad.doModal() == ui::kIdOk) setText(id, keypad.typed());
    } else if (chosen == kMenuFromKpa || chosen == kMenuFromFeetPerSecond) {
        if (const std::optional<double> v = converted(f->conversion, f->unit, text(id)))
            setText(id, ui::formatNumber(*v));
        else
            refuseField(id, ui::enterNumberMessage(shownIn(*findInputField(f->key), f->unit).label()));
    }
}

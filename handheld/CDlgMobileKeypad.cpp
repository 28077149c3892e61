#include "CDlgMobileKeypad.h"

using namespace mobile;

ui::DialogTemplate CDlgMobileKeypad::makeTemplate() {
    ui::DialogTemplate t = frame(IDD, "Калькулятор");
    ui::TemplateBuilder b(t);
    b.add(kLine, ui::Kind::Edit, "", {kMargin, kMargin, kInner, kRow + 8}, ui::kAlignRight | ui::kNumeric);
    const int w = (kInner - 2 * 8) / 3, h = 72, top = kMargin + kRow + 24;
    // 1 2 3 / 4 5 6 / 7 8 9 / - 0 .
    for (int d = 1; d <= 9; ++d)
        b.button(kDigit0 + d, std::to_string(d), kMargin + (d - 1) % 3 * (w + 8), top + (d - 1) / 3 * (h + 8), w, 0, h);
    const int y = top + 3 * (h + 8);
    b.button(kMinus, "-", kMargin, y, w, 0, h).button(kDigit0, "0", kMargin + w + 8, y, w, 0, h)
        .button(kPoint, ".", kMargin + 2 * (w + 8), y, w, 0, h);
    b.button(kBack, "<-", kMargin, y + h + 8, kInner, 0, h);
    softKeys(t, {ui::kIdOk, kOkText}, {ui::kIdCancel, kCancelText});
    return t;
}

CDlgMobileKeypad::CDlgMobileKeypad(std::string text, ui::Dialog* parent)
    : MobileScreen(makeTemplate(), parent), text_(std::move(text)) {
    useLargeFont(kLine);
    for (int id = kDigit0; id <= kDigit0 + 9; ++id) useLargeFont(id);
    for (int id : {kPoint, kMinus, kBack}) useLargeFont(id);
}

bool CDlgMobileKeypad::onInitDialog() {
    MobileScreen::onInitDialog();
    setText(kLine, text_);
    return true;
}

void CDlgMobileKeypad::onCommand(int id, ui::Notify n) {
    if (n != ui::Notify::Clicked) return MobileScreen::onCommand(id, n);
    std::string line = text(kLine);
    if (id >= kDigit0 && id <= kDigit0 + 9)
        line += static_cast<char>('0' + (id - kDigit0));
    else if (id == kPoint)
        line += '.';
    else if (id == kMinus)
        line += '-';
    else if (id == kBack) {
        // One character off the end, a whole UTF-8 sequence if it is one.
        while (!line.empty() && (static_cast<unsigned char>(line.back()) & 0xC0) == 0x80) line.pop_back();
        if (!line.empty()) line.pop_back();
    } else
        return MobileScreen::onCommand(id, n);
    setText(kLine, line);
}

void CDlgMobileKeypad::onOK() {
    text_ = text(kLine);
    endDialog(ui::kIdOk);
}

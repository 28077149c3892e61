#include "CDlgMobileSettings.h"

using namespace mobile;

namespace {
constexpr int32_t kCodeOfListIndex[4] = {HandheldSettingsRecord::kResultCm, HandheldSettingsRecord::kResultMoa,
                                         HandheldSettingsRecord::kResultMil, HandheldSettingsRecord::kResultClicks};
}  // namespace

// --- "Установки" ---

ui::DialogTemplate CDlgMobileSettings::makeTemplate() {
    ui::DialogTemplate t = frame(IDD, "Установки");
    ui::TemplateBuilder b(t);
    const char* texts[] = {"Показ результатов", "Угол места цели", "Цена кликов", "Влияние вращения пули"};
    for (int i = 0; i < 4; ++i) b.button(kResultUnits + i, texts[i], kMargin, kMargin + i * (kRow + 16), kInner, 0, kRow + 8);
    softKeys(t, {}, {ui::kIdCancel, kCloseText});
    return t;
}

CDlgMobileSettings::CDlgMobileSettings(HandheldSession& session, std::function<void()> save, ui::Dialog* parent)
    : MobileScreen(makeTemplate(), parent), session_(session), save_(std::move(save)) {}

void CDlgMobileSettings::onCommand(int id, ui::Notify n) {
    if (n != ui::Notify::Clicked) return MobileScreen::onCommand(id, n);
    HandheldSettingsRecord& s = session_.settings();
    switch (id) {
        case kResultUnits: {
            CDlgResultUnits dlg(s.verticalResultUnit, s.horizontalResultUnit, this);
            if (dlg.doModal() != ui::kIdOk) return;
            s.verticalResultUnit = dlg.vertical();
            s.horizontalResultUnit = dlg.horizontal();
            break;
        }
        case kAngleUnit: {
            CDlgMobileChoice dlg(CDlgMobileChoice::AngleUnit, s.angleMode == kAngleModeCosine, this);
            if (dlg.doModal() != ui::kIdOk) return;
            s.angleMode = dlg.second() ? kAngleModeCosine : kAngleModeDegrees;
            break;
        }
        case kClickUnit: {
            CDlgMobileChoice dlg(CDlgMobileChoice::ClickUnit, s.clicksInMil != 0, this);
            if (dlg.doModal() != ui::kIdOk) return;
            s.clicksInMil = dlg.second() ? 1 : 0;
            break;
        }
        case kSpin: {
            CDlgMobileSpin dlg(session_.inputs(), this);
            if (dlg.doModal() != ui::kIdOk) return;
            session_.inputs() = dlg.inputs();
            break;
        }
        default: return MobileScreen::onCommand(id, n);
    }
    save_();
}

// --- "Показ результатов" ---

int32_t CDlgResultUnits::codeOfListIndex(int index) {
    return index >= 0 && index < 4 ? kCodeOfListIndex[index] : HandheldSettingsRecord::kResultMoa;
}

int CDlgResultUnits::listIndexOfCode(int32_t code) {
    for (int i = 0; i < 4; ++i)
        if (kCodeOfListIndex[i] == code) return i;
    return 1;  // an unknown code shows as MOA, as the main screen does
}

ui::DialogTemplate CDlgResultUnits::makeTemplate() {
    ui::DialogTemplate t = frame(IDD, "Показ результатов");
    ui::TemplateBuilder b(t);
    int y = kMargin;
    b.add(ui::kStaticId, ui::Kind::Label,
          "Выберите, в каких единицах показывать вертикальную и горизонтальную поправки на главном экране.",
          {kMargin, y, kInner, 4 * kLabel}, ui::kMultiline);
    y += 4 * kLabel + 8;
    b.label("Ед.изм. верт. поправок", kMargin, y, kInner, ui::kStaticId, 0, kLabel);
    b.add(kVertical, ui::Kind::DropList, "", {kMargin, y + kLabel + 4, kInner, kRow}, 0);
    y += kLabel + kRow + 16;
    b.label("Ед.изм. гор. поправок", kMargin, y, kInner, ui::kStaticId, 0, kLabel);
    b.add(kHorizontal, ui::Kind::DropList, "", {kMargin, y + kLabel + 4, kInner, kRow}, 0);
    softKeys(t, {ui::kIdOk, kOkText}, {ui::kIdCancel, kCancelText});
    return t;
}

CDlgResultUnits::CDlgResultUnits(int32_t vertical, int32_t horizontal, ui::Dialog* parent)
    : MobileScreen(makeTemplate(), parent), vertical_(vertical), horizontal_(horizontal) {}

bool CDlgResultUnits::onInitDialog() {
    MobileScreen::onInitDialog();
    for (int id : {kVertical, kHorizontal})
        for (const char* unit : {"сантиметры", "MOA", "MIL (тыс.дист.)", "клики прицела"}) window().addItem(id, unit);
    window().setSelection(kVertical, listIndexOfCode(vertical_));
    window().setSelection(kHorizontal, listIndexOfCode(horizontal_));
    return true;
}

void CDlgResultUnits::onOK() {
    vertical_ = codeOfListIndex(window().selection(kVertical));
    horizontal_ = codeOfListIndex(window().selection(kHorizontal));
    endDialog(ui::kIdOk);
}

// --- the unit of the target angle, of the clicks ---

ui::DialogTemplate CDlgMobileChoice::makeTemplate(Page page) {
    const bool angle = page == AngleUnit;
    ui::DialogTemplate t = frame(IDD + static_cast<int>(page), angle ? "Угол места цели" : "Цена кликов");
    ui::TemplateBuilder b(t);
    b.add(ui::kStaticId, ui::Kind::Label,
          angle ? "Устанавливается в каких единицах осуществляется ввод угла места цели"
                : "Установите в каких единицах измеряются клики Вашего прицела",
          {kMargin, kMargin, kInner, 3 * kLabel}, ui::kMultiline);
    const int y = kMargin + 3 * kLabel + 12;
    b.add(kFirst, ui::Kind::Radio, angle ? "в градусах" : "в MOA (угловых минутах)", {kMargin, y, kInner, kRow},
          ui::kGroupStart);
    b.add(kSecond, ui::Kind::Radio, angle ? "в косинусах" : "в МИЛах (тысячных дистанции)",
          {kMargin, y + kRow + 8, kInner, kRow}, 0);
    softKeys(t, {ui::kIdOk, kOkText}, {ui::kIdCancel, kCancelText});
    return t;
}

CDlgMobileChoice::CDlgMobileChoice(Page page, bool second, ui::Dialog* parent)
    : MobileScreen(makeTemplate(page), parent), second_(second) {}

bool CDlgMobileChoice::onInitDialog() {
    MobileScreen::onInitDialog();
    setChecked(second_ ? kSecond : kFirst, true);
    return true;
}

void CDlgMobileChoice::onOK() {
    second_ = isChecked(kSecond);
    endDialog(ui::kIdOk);
}

// --- "Вращение пули" ---

ui::DialogTemplate CDlgMobileSpin::makeTemplate() {
    ui::DialogTemplate t = frame(IDD, "Вращение пули");
    ui::TemplateBuilder b(t);
    int y = kMargin;
    // A check box does not wrap its text: the long ones are a box and a label of two lines beside it.
    const auto longCheck = [&](int id, const char* text, int x) {
        b.add(id, ui::Kind::CheckBox, "", {x, y + 6, 28, kRow}, 0);
        b.add(ui::kStaticId, ui::Kind::Label, text, {x + 30, y, kWidth - kMargin - x - 30, 2 * kLabel + 4},
              ui::kMultiline);
        y += 2 * kLabel + 16;
    };
    longCheck(kVerticalDrift, "Добавлять вертикальный ветровой снос в результирующие поправки", kMargin);
    b.add(kManual, ui::Kind::CheckBox, "Установить зависимость вручную", {kMargin + 24, y, kInner - 24, kRow}, 0);
    y += kRow + 4;
    b.add(kPercent, ui::Kind::Edit, "", {kMargin + 24, y, 80, kRow}, ui::kNumeric);
    b.add(ui::kStaticId, ui::Kind::Label, "процентов от горизонтального сноса", {kMargin + 110, y, kInner - 110, kRow + 8},
          ui::kMultiline);
    y += kRow + 20;
    longCheck(kDerivation, "Добавлять деривацию в результирующие поправки", kMargin);
    b.add(ui::kStaticId, ui::Kind::Label, "Если эта опция включена, поправки будут отображаться красным цветом.",
          {kMargin, y, kInner, 2 * kLabel + 4}, ui::kMultiline);
    y += 2 * kLabel + 16;
    b.add(ui::kStaticId, ui::Kind::Label,
          "При нулевом факторе гироскопической стабильности драг-функции деривация и вертикальный ветровой снос "
          "равны нулю.",
          {kMargin, y, kInner, 4 * kLabel}, ui::kMultiline);
    softKeys(t, {ui::kIdOk, kOkText}, {ui::kIdCancel, kCancelText});
    return t;
}

CDlgMobileSpin::CDlgMobileSpin(const ShotInputs& inputs, ui::Dialog* parent)
    : MobileScreen(makeTemplate(), parent), inputs_(inputs) {
    addField({kPercent, "manual-drift-percent"});
}

bool CDlgMobileSpin::onInitDialog() {
    MobileScreen::onInitDialog();
    setChecked(kVerticalDrift, inputs_.addVerticalDrift);
    setChecked(kManual, inputs_.manualDrift);
    setChecked(kDerivation, inputs_.addDerivation);
    showFields(inputs_);
    return true;
}

void CDlgMobileSpin::onOK() {
    ShotInputs taken = inputs_;
    if (!takeFields(taken)) return;
    taken.addVerticalDrift = isChecked(kVerticalDrift);
    taken.manualDrift = isChecked(kManual);
    taken.addDerivation = isChecked(kDerivation);
    inputs_ = taken;
    endDialog(ui::kIdOk);
}

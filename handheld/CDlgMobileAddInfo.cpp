#include "CDlgMobileAddInfo.h"

#include "MobileScreen.h"

using namespace mobile;

ui::DialogTemplate CDlgMobileAddInfo::makeTemplate() {
    ui::DialogTemplate t = MobileScreen::frame(IDD, "Доп.данные");
    ui::TemplateBuilder b(t);
    const int ex = 248, ew = kWidth - kMargin - ex;
    const struct {
        const char* text;
        int id;
        int lines;
    } rows[] = {
        {"Скорость у цели, м/сек", kTargetVelocity, 1},
        {"Нач. скорость с поправкой на температуру, м/с", kCorrectedMuzzleVelocity, 2},
        {"Скорость звука, м/сек", kSpeedOfSound, 1},
        {"Подлетное время, сек", kTimeOfFlight, 1},
        {"Цена клика на этой дистанции, см", kClickValue, 2},
    };
    int y = kMargin;
    for (const auto& r : rows) {
        const int h = r.lines == 1 ? kRow : 2 * kLabel;
        b.add(ui::kStaticId, ui::Kind::Label, r.text, {kMargin, y + (r.lines == 1 ? 8 : 0), ex - kMargin - 4, h},
              ui::kMultiline);
        b.add(r.id, ui::Kind::Edit, "", {ex, y + (h - kRow) / 2, ew, kRow}, ui::kReadOnly | ui::kAlignRight);
        y += h + 4;
    }
    y += 4;
    b.add(ui::kStaticId, ui::Kind::Label, "Упреждение по цели, движущейся со скоростью (без учета ветра!)",
          {kMargin, y, kInner, 2 * kLabel}, ui::kMultiline);
    y += 2 * kLabel + 2;
    b.add(kTargetSpeed, ui::Kind::Edit, "", {kMargin, y, 56, kRow}, ui::kAlignRight | ui::kNumeric)
        .label("км/ч =", kMargin + 60, y + 8, 60, ui::kStaticId, 0, kLabel)
        .add(kLead, ui::Kind::Edit, "", {kMargin + 122, y, 100, kRow}, ui::kReadOnly | ui::kAlignRight)
        .add(kLeadUnit, ui::Kind::DropList, "", {kMargin + 228, y, kInner - 228, kRow}, 0);
    y += kRow + 10;
    // The drifts, and below them the unit list they share.
    const int vx = kMargin + 184, vw = kInner - 184;
    b.label("Деривация", kMargin, y + 8, 180, ui::kStaticId, 0, kLabel)
        .add(kSpinDrift, ui::Kind::Edit, "", {vx, y, vw, kRow}, ui::kReadOnly | ui::kAlignRight);
    y += kRow + 4;
    b.add(ui::kStaticId, ui::Kind::Label, "Вертикальный ветровой снос", {kMargin, y, 180, 2 * kLabel}, ui::kMultiline)
        .add(kVerticalDrift, ui::Kind::Edit, "", {vx, y + 4, vw, kRow}, ui::kReadOnly | ui::kAlignRight);
    y += 2 * kLabel + 4;
    b.label("Единицы сносов", kMargin, y + 8, 180, ui::kStaticId, 0, kLabel)
        .add(kDriftUnit, ui::Kind::DropList, "", {vx, y, vw, kRow}, 0);
    y += kRow + 6;
    b.add(ui::kStaticId, ui::Kind::Label,
          "Если фактор гироскопической стабильности равен нулю, то и деривация и вертикальный ветровой снос будут "
          "равны нулю",
          {kMargin, y, kInner, kSoftKeyTop - 4 - y}, ui::kMultiline);
    MobileScreen::softKeys(t, {}, {ui::kIdOk, kCloseText});
    return MobileScreen::withLabelIds(std::move(t));
}

CDlgMobileAddInfo::CDlgMobileAddInfo(const BallisticSolver& solver, const Values& values, int driftUnit, int leadUnit,
                                     bool manualDrift, double manualDriftPercent, ui::Dialog* parent)
    : CDlgAddInfo(makeTemplate(), solver, values, driftUnit, leadUnit, manualDrift, manualDriftPercent, parent) {}

bool CDlgMobileAddInfo::onInitDialog() {
    const bool result = CDlgAddInfo::onInitDialog();
    MobileScreen::touchFonts(*this);
    return result;
}

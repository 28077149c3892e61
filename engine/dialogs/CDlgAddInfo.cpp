#include "CDlgAddInfo.h"

#include "NumberText.h"
#include "ResultText.h"
#include "RoundTo.h"
#include "TemplateBuilder.h"

namespace {
const char* const kUnitNames[] = {"см", "MOA", "MIL (т.д.)", "клики"};
constexpr int kUnitCount = 4;

int validUnit(int unit) { return unit >= 0 && unit < kUnitCount ? unit : 0; }
}  // namespace

CDlgAddInfo::CDlgAddInfo(const BallisticSolver& solver, const Values& values, int driftUnit, int leadUnit,
                         bool manualDrift, double manualDriftPercent, ui::Dialog* parent)
    : CDlgAddInfo(makeTemplate(), solver, values, driftUnit, leadUnit, manualDrift, manualDriftPercent, parent) {}

CDlgAddInfo::CDlgAddInfo(ui::DialogTemplate layout, const BallisticSolver& solver, const Values& values, int driftUnit,
                         int leadUnit, bool manualDrift, double manualDriftPercent, ui::Dialog* parent)
    : ui::Dialog(std::move(layout), parent),
      solver_(solver),
      values_(values),
      driftUnit_(validUnit(driftUnit)),
      leadUnit_(validUnit(leadUnit)),
      manualDrift_(manualDrift),
      manualDriftPercent_(manualDriftPercent) {}

CDlgAddInfo::Values CDlgAddInfo::valuesOf(const ShotAnswer& answer, const ShotInputs& inputs) {
    const ResultsElement& target = answer.summary.targetRow;
    Values v;
    v.correctedMuzzleVelocity = RoundTo(answer.summary.correctedMuzzleVelocity, 1);
    v.targetVelocity = RoundTo(target.velocity, 2);
    v.speedOfSound = RoundTo(answer.summary.speedOfSound, 2);
    v.targetMach = RoundTo(target.velocity / answer.summary.speedOfSound, 2);
    v.timeOfFlight = RoundTo(target.timeOfFlight, 2);
    v.clickValueCm = RoundTo(inputs.clickVertical * inputs.distance * 2.9088821687 / 100.0, 2);
    return v;
}

ui::DialogTemplate CDlgAddInfo::makeTemplate() {
    ui::DialogTemplate t;
    t.id = IDD;
    t.title = "Доп.данные";
    t.width = 560;
    t.height = 388;
    ui::TemplateBuilder b(t);
    const struct {
        const char* text;
        int id;
    } rows[] = {
        {"Начальная скорость пули, скорректированная по температуре, м/с", kCorrectedMuzzleVelocity},
        {"Скорость у цели, м/сек", kTargetVelocity},
        {"Скорость у цели, в ед.МАХа", kTargetMach},
        {"Скорость звука, м/сек", kSpeedOfSound},
        {"Подлетное время, сек", kTimeOfFlight},
        {"Цена клика на этой дистанции, см", kClickValue},
    };
    int y = 10;
    for (const auto& r : rows) {
        b.label(r.text, 12, y, 436).edit(r.id, 456, y, 92, ui::kReadOnly | ui::kAlignRight);
        y += 26;
    }
    const int listX = 308, listWidth = 110, listHeight = 200;  // a drop-down's height includes its list
    b.label("Упреждение по цели, движущейся со", 12, 178, 288).label("(без учета ветра!)", 426, 204, 122);
    b.label("скоростью", 12, 204, 76)
        .edit(kTargetSpeed, 92, 204, 60, ui::kAlignRight)
        .label("км/ч = ", 158, 204, 48)
        .edit(kLead, 210, 204, 90, ui::kReadOnly | ui::kAlignRight)
        .add(kLeadUnit, ui::Kind::DropList, "", {listX, 204, listWidth, listHeight}, ui::kNoStyle);
    // One unit list for both drifts, between their rows.
    b.label("Деривация", 12, 240, 190).edit(kSpinDrift, 210, 240, 90, ui::kReadOnly | ui::kAlignRight);
    b.label("Вертикальный ветровой снос", 12, 266, 190)
        .edit(kVerticalDrift, 210, 266, 90, ui::kReadOnly | ui::kAlignRight);
    b.add(kDriftUnit, ui::Kind::DropList, "", {listX, 253, listWidth, listHeight}, ui::kNoStyle);
    b.label("Если фактор гироскопической стабильности равен нулю, то и деривация и вертикальный ветровой "
            "снос будут равны нулю",
            12, 298, 536, ui::kStaticId, ui::kMultiline, 32);
    b.button(ui::kIdOk, "Закрыть", 448, 350, 100, ui::kDefault);
    return t;
}

bool CDlgAddInfo::onInitDialog() {
    for (int id : {kLeadUnit, kDriftUnit})
        for (const char* name : kUnitNames) window().addItem(id, name);
    window().setSelection(kLeadUnit, leadUnit_);
    window().setSelection(kDriftUnit, driftUnit_);
    setText(kCorrectedMuzzleVelocity, resultText(values_.correctedMuzzleVelocity));
    setText(kTargetVelocity, resultText(values_.targetVelocity));
    setText(kTargetMach, resultText(values_.targetMach));
    setText(kSpeedOfSound, resultText(values_.speedOfSound));
    setText(kTimeOfFlight, resultText(values_.timeOfFlight));
    setText(kClickValue, resultText(values_.clickValueCm));
    setText(kTargetSpeed, ui::formatNumber(kDefaultTargetSpeed));
    window().setFocus(kTargetSpeed);  // the one field to type into
    showLead();
    showDrifts();
    return false;
}

AddInfoTarget CDlgAddInfo::target() const {
    AddInfoTarget at;
    at.distance = solver_.targetDistance;
    at.timeOfFlight = values_.timeOfFlight;
    at.clickValueCm = values_.clickValueCm;
    at.clickHorizontal = solver_.clickHorizontal;
    return at;
}

void CDlgAddInfo::showLead() {
    // Worked out as the speed is typed: a half-typed speed that is no number yet leaves the field
    // empty instead of interrupting with a message at every key.
    const auto speed = ui::parseNumber(text(kTargetSpeed));
    setText(kLead, speed ? resultText(leadIn(static_cast<AddInfoUnit>(leadUnit_), *speed, target())) : "");
}

void CDlgAddInfo::showDrifts() {
    const auto unit = static_cast<AddInfoUnit>(driftUnit_);
    setText(kSpinDrift, resultText(spinDriftIn(unit, solver_, target())));
    setText(kVerticalDrift,
            resultText(verticalWindDriftIn(unit, solver_, target(), manualDrift_, manualDriftPercent_)));
    if (solver_.dragFunction.stabilityFactor == 0)
        messageBox("Фактор Гироскопической стабильности равен нулю!", {}, ui::Buttons::Ok, ui::Icon::Warning);
}

void CDlgAddInfo::onCommand(int id, ui::Notify n) {
    if (id == kTargetSpeed && n == ui::Notify::Changed) return showLead();
    if (n == ui::Notify::SelChange && (id == kLeadUnit || id == kDriftUnit)) {
        const int selected = window().selection(id);
        if (selected < 0 || selected >= kUnitCount) return;
        (id == kLeadUnit ? leadUnit_ : driftUnit_) = selected;
        return id == kLeadUnit ? showLead() : showDrifts();
    }
    ui::Dialog::onCommand(id, n);
}

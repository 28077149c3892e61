#include "CtkdeskDlg.h"

#include <cmath>
#include <system_error>

#include "CAboutDlg.h"
#include "CDlgRifle.h"
#include "CDlgSetting.h"
#include "CDlgSlopeDraw.h"
#include "CDlgTableResults.h"
#include "CDlgWindDraw.h"
#include "CDlgAddInfo.h"
#include "CDlgConvertBC.h"
#include "CDlgDrugSelect.h"
#include "DragFuncKind.h"
#include "LibraryRules.h"
#include "NumberText.h"
#include "PressureUnit.h"
#include "ResultText.h"
#include "RoundTo.h"
#include "ShotSettings.h"
#include "TemplateBuilder.h"
#include "TextCodec.h"

namespace fs = std::filesystem;
using namespace ctkdesk;

namespace {
constexpr const char* kTitle = "Бал.калькулятор Trajekton v.1.37";

}  // namespace

ui::DialogTemplate CtkdeskDlg::makeTemplate() {
    ui::DialogTemplate t;
    t.id = IDD;
    t.title = kTitle;
    t.width = 740;
    t.height = 458;
    ui::TemplateBuilder b(t);

    // Left column: cartridge and rifle. Labels from x 18, fields at x 240.
    const int lx = 18, lw = 218, ex = 240, ew = 76;
    b.group("Патрон", 8, 8, 364, 184);
    b.label("Нач. скорость , м/сек", lx, 28, lw).edit(kMuzzleVelocity, ex, 28, ew).named("muzzle-velocity");
    b.label("Темп-ра при замере, гр.", lx, 54, lw).edit(kMvTemperature, ex, 54, ew).named("mv-temperature");
    b.label("Изм., %", lx, 80, lw).edit(kMvChange, ex, 80, ew).named("mv-change");
    b.label("Бал. коэффициент", lx, 106, lw).edit(kBallisticCoefficient, ex, 106, ew).named("bc");
    b.label("Драг-функция", lx, 132, lw).edit(kDragFunctionName, ex, 132, 122, ui::kReadOnly);
    b.button(kDragFunctionButton, "Драг-функция >>", lx, 158, 168)
        .button(kConvertBC, "Конвертировать БК", 194, 158, 168);

    b.group("Винтовка", 8, 200, 364, 158);
    b.label("Высота прицела над стволом, см", lx, 220, lw).edit(kSightHeight, ex, 220, ew).named("sight-height");
    b.label("Дистанция пристрелки, метры", lx, 246, lw).edit(kZeroDistance, ex, 246, ew).named("zero-distance");
    b.label("Цена верт. клика, MOA", lx, 272, lw, kClickVerticalLabel).edit(kClickVertical, ex, 272, ew);
    b.label("Цена гор. клика, MOA", lx, 298, lw, kClickHorizontalLabel).edit(kClickHorizontal, ex, 298, ew);
    b.button(kZeroingAtmosphere, "Атмосфера пристрелки", lx, 324, 344);

    // Right column: target and wind, atmosphere, corrections. Labels from x 390, fields at x 596.
    const int rx = 390, rw = 200, fx = 596;
    b.group("Цель и ветер", 380, 8, 352, 132);
    b.label("Дистанция", rx, 28, rw).edit(kDistance, fx, 28, ew).named("distance");
    b.label("Угол места цели, град.", rx, 54, rw, kTargetAngleLabel).edit(kTargetAngle, fx, 54, ew);
    b.button(kSlopeButton, ">>", 678, 53, 44, ui::kNoStyle, 24);
    b.label("Скорость ветра, м/сек", rx, 80, rw).edit(kWindSpeed, fx, 80, ew).named("wind-speed");
    b.button(kWindAzimuthButton, "Азимут ветра, град.", rx, 105, 196, ui::kNoStyle, 24).edit(kWindAzimuth, fx, 106, ew).named("wind-azimuth");

    b.group("Атмосфера", 380, 148, 352, 106);
    b.label("Температура, град. Цельсия", rx, 168, rw).edit(kTemperature, fx, 168, ew).named("temperature");
    b.label("Атм.давление", rx, 194, 92).check(kPressureUnit, "мм.рт.столба", 484, 194, 108).edit(kPressure, fx, 194, ew);
    b.label("Влажность, проценты", rx, 220, rw).edit(kHumidity, fx, 220, ew).named("humidity");

    // Corrections: MOA, MIL, cm, clicks side by side.
    const int cx[4] = {390, 474, 558, 642};
    const int cw = 80;
    const char* units[4] = {"MOA", "MIL", "см", "клики"};
    const int vertical[4] = {kVerticalMoa, kVerticalMil, kVerticalCm, kVerticalClicks};
    const int horizontal[4] = {kHorizontalMoa, kHorizontalMil, kHorizontalCm, kHorizontalClicks};
    b.group("Вертикальная поправка", 380, 262, 352, 72);
    for (int i = 0; i < 4; ++i) b.label(units[i], cx[i], 278, cw, ui::kStaticId, ui::kAlignCenter);
    for (int i = 0; i < 4; ++i) b.edit(vertical[i], cx[i], 300, cw, ui::kReadOnly | ui::kAlignRight);
    b.group("Гор. поправка", 380, 342, 352, 72);
    for (int i = 0; i < 4; ++i) b.label(units[i], cx[i], 358, cw, ui::kStaticId, ui::kAlignCenter);
    for (int i = 0; i < 4; ++i) b.edit(horizontal[i], cx[i], 380, cw, ui::kReadOnly | ui::kAlignRight);

    b.label("Угол наклона приц.линии к стволу,\nMOA (справочно)", lx, 368, 250, ui::kStaticId, ui::kMultiline, 34)
        .edit(kSightLineAngle, 280, 374, 82, ui::kReadOnly | ui::kAlignRight);

    // Commands.
    const int by = 422, bw = 112;
    b.button(kCompute, "Вычислить", 14, by, bw, ui::kDefault)
        .button(kTable, "Таблица", 14 + (bw + 8), by, bw)
        .button(kAddInfo, "Доп.инфо", 14 + 2 * (bw + 8), by, bw)
        .button(kSettings, "Установки", 14 + 3 * (bw + 8), by, bw)
        .button(kAbout, "Об авторе...", 14 + 4 * (bw + 8), by, bw)
        .button(kExit, "Выход", 14 + 5 * (bw + 8), by, bw);
    return t;
}

CtkdeskDlg::CtkdeskDlg(fs::path programFolder, fs::path userDataFolder)
    : ui::Dialog(makeTemplate()), programFolder_(std::move(programFolder)), userDataFolder_(std::move(userDataFolder)) {
    main_.reporter = &messages_;
    zeroing_.reporter = &messages_;
}

bool CtkdeskDlg::onInitDialog() {
    // The folder setting: read, written back at once, and the data files follow it.
    folder_ = DataFolder::openAtStart(programFolder_, userDataFolder_, folderSetting_);

    // The settings, distributed to the fields.
    loadSettingsFiles();
    sightLineAngle_ = settings_.shownZeroAngle;
    densityRatio_ = settings_.airDensityRatio;
    clickDisplay();
    updateData(false);

    libraryLoad_ = library_.loadAtStart(folder_.oldLibrary(), folder_.library());
    setDragFunction(library_.findByNameAndNumber(settings_.dragFuncNameText(), settings_.dragFuncNumber));

    setChecked(kPressureUnit, settings_.pressureInHpa != 0);
    angleDisplay();
    zeroingButtonText();
    updateData(false);
    pressureDisplay();
    correctionColours();
    reportStartProblems();
    return true;
}

void CtkdeskDlg::doDataExchange(ui::DataExchange& dx) {
    // In the order of the template, as the user reads them.
    for (const ui::ControlTemplate& c : dialogTemplate().controls)
        if (double* value = fieldValue(c.id)) dx.number(c.id, *value, shownInput(c.id)->label());
    if (dx.saving()) return;
    // The results are only shown, never read back; one that is no number reads "не определено".
    for (const ui::ControlTemplate& c : dialogTemplate().controls)
        if (const double* value = resultValue(c.id)) setText(c.id, resultText(*value));
    dx.text(kDragFunctionName, dragFunctionName_);
}

double* CtkdeskDlg::fieldValue(int id) {
    for (const ui::NamedControl& c : dialogTemplate().named)
        if (c.id == id) {
            const InputField* field = findInputField(c.name);
            return field ? field->number(inputs_) : nullptr;
        }
    switch (id) {
        case kClickVertical: return &shown_.clickVertical;
        case kClickHorizontal: return &shown_.clickHorizontal;
        case kTargetAngle: return &shown_.targetAngle;
        case kPressure: return &shown_.pressure;
        default: return nullptr;
    }
}

double* CtkdeskDlg::resultValue(int id) {
    switch (id) {
        case kVerticalMoa: return &verticalMoa_;
        case kVerticalMil: return &verticalMil_;
        case kVerticalCm: return &verticalCm_;
        case kVerticalClicks: return &verticalClicks_;
        case kHorizontalMoa: return &horizontalMoa_;
        case kHorizontalMil: return &horizontalMil_;
        case kHorizontalCm: return &horizontalCm_;
        case kHorizontalClicks: return &horizontalClicks_;
        case kSightLineAngle: return &sightLineAngle_;
        default: return nullptr;
    }
}

std::optional<ShownInput> CtkdeskDlg::shownInput(int id) const {
    for (const ui::NamedControl& c : dialogTemplate().named)
        if (c.id == id) {
            const InputField* field = findInputField(c.name);
            return field ? std::optional(shownAsIs(*field)) : std::nullopt;
        }
    switch (id) {
        case kClickVertical: return shownIn(*findInputField("click-vertical"), unitOf(id));
        case kClickHorizontal: return shownIn(*findInputField("click-horizontal"), unitOf(id));
        case kTargetAngle: return shownIn(*findInputField("target-angle"), unitOf(id));
        case kPressure: return shownIn(*findInputField("pressure"), unitOf(id));
        default: return std::nullopt;
    }
}

ShownUnit CtkdeskDlg::unitOf(int id) const {
    switch (id) {
        case kPressure: return isChecked(kPressureUnit) ? ShownUnit::Hpa : ShownUnit::AsIs;
        case kTargetAngle: return settings_.angleMode == kAngleModeCosine ? ShownUnit::Cosine : ShownUnit::AsIs;
        case kClickVertical:
        case kClickHorizontal: return settings_.clickUnit == kClickUnitMil ? ShownUnit::ClickMil : ShownUnit::ClickMoa;
        default: return ShownUnit::AsIs;
    }
}

std::optional<double> CtkdeskDlg::inputOf(int id, double shown) const { return inputFromShown(shown, unitOf(id)); }

bool CtkdeskDlg::fieldsToInputs() {
    const ShotInputs inputsBefore = inputs_;
    const ShownValues shownBefore = shown_;
    auto refuse = [&] {
        inputs_ = inputsBefore;
        shown_ = shownBefore;
        return false;
    };
    if (!updateData(true)) return refuse();  // the exchange named the field and put the focus there
    for (const ui::ControlTemplate& c : dialogTemplate().controls) {
        const double* value = fieldValue(c.id);
        // A disabled field (the BC of a function that has its own drag) is not the user's to fix.
        if (!value || !window().isEnabled(c.id)) continue;
        const std::string why = shownInput(c.id)->refusal(*value, inputOf(c.id, *value));
        if (why.empty()) continue;
        refuseField(c.id, why);
        return refuse();
    }
    shownToInputs();
    return true;
}

void CtkdeskDlg::keepUsableFields() {
    for (const ui::ControlTemplate& c : dialogTemplate().controls) {
        double* value = fieldValue(c.id);
        if (!value) continue;
        const std::optional<double> typed = ui::parseNumber(text(c.id));
        if (typed && shownInput(c.id)->refusal(*typed, inputOf(c.id, *typed)).empty()) *value = *typed;
    }
    shownToInputs();
}

void CtkdeskDlg::shownToInputs() {
    settings_.pressureInHpa = isChecked(kPressureUnit) ? 1 : 0;
    // Only values that can be used: the last good input stays for one that has none. A field that
    // still shows what its input is shown as was not changed: the input stays exact (0.25 MOA shown
    // as 0.0727 MIL would come back as 0.249924).
    auto take = [&](int id, double shown, double& input) {
        if (shown == shownValue(input, unitOf(id))) return;
        const std::optional<double> v = inputOf(id, shown);
        if (v && shownInput(id)->refusal(shown, v).empty()) input = *v;
    };
    take(kPressure, shown_.pressure, inputs_.pressure);
    take(kTargetAngle, shown_.targetAngle, inputs_.targetAngle);
    take(kClickVertical, shown_.clickVertical, inputs_.clickVertical);
    take(kClickHorizontal, shown_.clickHorizontal, inputs_.clickHorizontal);
}

bool CtkdeskDlg::fieldsToSolver() {
    if (!fieldsToInputs()) return false;
    loadSolver(inputs_, dragFunction_, main_);
    return true;
}

void CtkdeskDlg::setDragFunction(const DragFunc& f) {
    dragFunction_ = f;
    inputs_.dragFunctionName = cp1251ToUtf8(f.nameText());
    inputs_.dragFunctionNumber = f.uniqueNumber;
    dragFunctionName_ = inputs_.dragFunctionName;
    enable(kBallisticCoefficient, f.kind != DragFuncKind::Special);
}

bool CtkdeskDlg::compute() {
    if (!fieldsToSolver()) return false;
    answer_ = computeShot(main_, zeroing_, zeroingAtmosphere(inputs_), inputs_.distance, driftOptions(inputs_));
    const ShownCorrections shown = shownCorrections(answer_.corrections);
    verticalMoa_ = shown.vertical.moa;
    verticalMil_ = shown.vertical.mil;
    verticalCm_ = shown.vertical.cm;
    verticalClicks_ = shown.vertical.clicks;
    horizontalMoa_ = shown.horizontal.moa;
    horizontalMil_ = shown.horizontal.mil;
    horizontalCm_ = shown.horizontal.cm;
    horizontalClicks_ = shown.horizontal.clicks;
    sightLineAngle_ = RoundTo(answer_.summary.shownZeroAngle, 3);
    densityRatio_ = RoundTo(answer_.summary.airDensityRatio, 3);
    updateData(false);
    showEngineMessages();
    for (const ui::ControlTemplate& c : dialogTemplate().controls)
        if (const double* value = resultValue(c.id); value && !std::isfinite(*value)) {
            messageBox(kUndefinedResultMessage, {}, ui::Buttons::Ok, ui::Icon::Warning);
            break;
        }
    return true;
}

void CtkdeskDlg::showEngineMessages() {
    for (const EngineMessage m : messages_.take()) messageBox(std::string(engineMessageText(m)));
}

void CtkdeskDlg::angleDisplay() {
    const bool cosine = settings_.angleMode == kAngleModeCosine;
    setText(kTargetAngleLabel, cosine ? "Угол места цели, cos" : "Угол места цели, гр.");
    shown_.targetAngle = shownTargetAngle(inputs_.targetAngle, settings_.angleMode);
    window().refresh(kTargetAngleLabel);
    updateData(false);
}

void CtkdeskDlg::clickDisplay() {
    if (settings_.clickUnit == kClickUnitMil) {
        setText(kClickVerticalLabel, "Цена верт. клика, MIL");
        setText(kClickHorizontalLabel, "Цена гор. клика, MIL");
        shown_.clickVertical = shownValue(inputs_.clickVertical, ShownUnit::ClickMil);
        shown_.clickHorizontal = shownValue(inputs_.clickHorizontal, ShownUnit::ClickMil);
    } else {
        setText(kClickVerticalLabel, "Цена верт. клика, MOA");
        setText(kClickHorizontalLabel, "Цена гор. клика, MOA");
        shown_.clickVertical = shownValue(inputs_.clickVertical, ShownUnit::ClickMoa);
        shown_.clickHorizontal = shownValue(inputs_.clickHorizontal, ShownUnit::ClickMoa);
    }
    updateData(false);
}

void CtkdeskDlg::pressureDisplay() {
    setText(kPressureUnit, pressureUnitText(settings_.pressureInHpa != 0));
    // Shown in hPa as a whole number.
    shown_.pressure = shownValue(inputs_.pressure, settings_.pressureInHpa ? ShownUnit::Hpa : ShownUnit::AsIs);
    updateData(false);
}

void CtkdeskDlg::switchPressureUnit() {
    const ShotInputs inputsBefore = inputs_;
    const ShownValues shownBefore = shown_;
    if (!updateData(true)) {
        // Nothing is converted: the fields keep what was typed, the box its unit.
        inputs_ = inputsBefore;
        shown_ = shownBefore;
        setChecked(kPressureUnit, !isChecked(kPressureUnit));
        return;
    }
    const bool hpa = isChecked(kPressureUnit);
    setText(kPressureUnit, pressureUnitText(hpa));
    shown_.pressure = hpa ? hpaFromMmHg(shown_.pressure) : mmHgFromHpa(shown_.pressure);
    updateData(false);
}

void CtkdeskDlg::zeroingButtonText() {
    setText(kZeroingAtmosphere, inputs_.sameAtmosphere ? "Атмосфера пристрелки - та же" : "Атмосфера пристрелки");
}

void CtkdeskDlg::correctionColours() {
    const ui::Colour vertical = inputs_.addVerticalDrift ? ui::kRed : ui::kBlack;
    const ui::Colour horizontal = inputs_.addDerivation ? ui::kRed : ui::kBlack;
    for (int id : {kVerticalMoa, kVerticalCm, kVerticalClicks, kVerticalMil}) window().setTextColour(id, vertical);
    for (int id : {kHorizontalCm, kHorizontalMoa, kHorizontalClicks, kHorizontalMil})
        window().setTextColour(id, horizontal);
}

void CtkdeskDlg::applyFolderRedirection() {
    if (folderSetting_.dataInProgramFolder()) folder_.moveToProgramFolder();
}

void CtkdeskDlg::inputsFromSettings() {
    const double angle = inputs_.targetAngle;  // not kept in the record
    inputs_ = shotInputsFrom(settings_);
    inputs_.targetAngle = angle;
}

void CtkdeskDlg::openSettings() {
    // The dialog shows the fields again when it closes: a field that cannot be used is said first.
    if (!fieldsToInputs()) return;
    storeShotInputs(inputs_, settings_);
    CDlgSetting dlg(settings_, folderSetting_, this);
    // The options (the temperature switch among them) act at once.
    if (dlg.doModal() == ui::kIdOk) inputsFromSettings();
    angleDisplay();
    clickDisplay();
    applyFolderRedirection();
    pressureDisplay();
    correctionColours();
}

void CtkdeskDlg::openZeroingAtmosphere() {
    CDlgRifle dlg(inputs_.zeroHumidity, inputs_.zeroPressure, inputs_.zeroTemperature, settings_.pressureInHpa != 0,
                  inputs_.sameAtmosphere, this);
    if (dlg.doModal() == ui::kIdOk) {
        inputs_.zeroHumidity = dlg.humidity();
        inputs_.zeroPressure = dlg.pressureMmHg();
        inputs_.zeroTemperature = dlg.temperature();
        inputs_.sameAtmosphere = dlg.zeroOnSite();
        compute();
    }
    zeroingButtonText();
}

void CtkdeskDlg::openTable() {
    // The table solves the main solver at each distance: it needs the fields and the zeroing first.
    if (!fieldsToSolver()) return;
    zeroRifle(main_, zeroing_, zeroingAtmosphere(inputs_));
    showEngineMessages();
    CDlgTableResults dlg(main_, inputs_, dragFunction_, tableSettings_, &messages_, this);
    dlg.doModal();
    correctionColours();  // the table's option boxes act on the inputs
    compute();
}

void CtkdeskDlg::openConvertBC() {
    if (!fieldsToInputs()) return;
    CDlgConvertBC dlg(library_, inputs_.ballisticCoefficient, inputs_.muzzleVelocity, this);
    if (dlg.doModal() != ui::kIdOk) return;
    inputs_.ballisticCoefficient = dlg.ballisticCoefficient();
    setDragFunction(library_.findStandardByName(dlg.targetFunctionName()));
    updateData(false);
}

void CtkdeskDlg::openDragFunctions() {
    // The editor's stability calculator reads the solver: the fields go there first.
    if (!fieldsToSolver()) return;
    CDlgDrugSelect dlg(library_, folder_, std::string(dragFunction_.nameText()), dragFunction_.uniqueNumber, main_,
                       settings_.curveStep, this);
    const bool chosen = dlg.doModal() == ui::kIdOk;
    const std::string name = chosen ? dlg.selectedName() : std::string(dragFunction_.nameText());
    const int32_t number = chosen ? dlg.selectedNumber() : dragFunction_.uniqueNumber;
    if (!hasEntry(library_, name, number)) {
        // Deleted, renamed or replaced meanwhile: the function the next start would take, said aloud.
        const DragFunc fallback = library_.findByNameAndNumber(name, number);
        messageBox("Драг-функции «" + cp1251ToUtf8(name) + "» (номер " + std::to_string(number) +
                       ") больше нет в библиотеке.\nКалькулятор берёт драг-функцию «" +
                       cp1251ToUtf8(fallback.nameText()) + "».",
                   {}, ui::Buttons::Ok, ui::Icon::Warning);
        setDragFunction(fallback);
        compute();
        return;
    }
    // Closed without a choice, the calculator keeps its function, but as the library now holds it:
    // edited in the manager, it is computed with the edited points, as the next start would.
    const DragFunc taken = library_.findByNameAndNumber(name, number);
    if (!chosen && taken == dragFunction_) return;
    setDragFunction(taken);
    compute();
}

void CtkdeskDlg::openAddInfo() {
    if (!compute()) return;
    CDlgAddInfo dlg(main_, CDlgAddInfo::valuesOf(answer_, inputs_), settings_.addInfoDriftUnit, settings_.addInfoLeadUnit, inputs_.manualDrift,
                    inputs_.manualDriftPercent, this);
    dlg.doModal();
    settings_.addInfoDriftUnit = dlg.driftUnit();
    settings_.addInfoLeadUnit = dlg.leadUnit();
}

void CtkdeskDlg::openWindDirection() {
    // The clock starts from the azimuth field: one that cannot be used is said first, as is any other.
    if (!fieldsToInputs()) return;
    CDlgWindDraw dlg(inputs_.windAzimuth, this);
    if (dlg.doModal() != ui::kIdOk) return;
    inputs_.windAzimuth = dlg.windAzimuth();
    updateData(false);
    // A new wind, new corrections: as Enter would give them.
    compute();
}

void CtkdeskDlg::openSlopeDraw() {
    // The picker starts from the field's angle: a field that cannot be used is said first.
    if (!fieldsToInputs()) return;
    CDlgSlopeDraw dlg(inputs_.targetAngle, settings_.angleMode == kAngleModeCosine, this);
    if (dlg.doModal() != ui::kIdOk) return;
    inputs_.targetAngle = dlg.angle();
    angleDisplay();
    // As Enter would: the corrections for the angle just taken.
    compute();
}

void CtkdeskDlg::openAbout() {
    CAboutDlg dlg(this);
    dlg.doModal();
}

void CtkdeskDlg::onCommand(int id, ui::Notify n) {
    if (n != ui::Notify::Clicked) return;
    switch (id) {
        case kCompute: compute(); break;
        case kPressureUnit: switchPressureUnit(); break;
        case kSettings: openSettings(); break;
        case kZeroingAtmosphere: openZeroingAtmosphere(); break;
        case kAbout: openAbout(); break;
        case kTable: openTable(); break;
        case kConvertBC: openConvertBC(); break;
        case kDragFunctionButton: openDragFunctions(); break;
        case kAddInfo: openAddInfo(); break;
        case kWindAzimuthButton: openWindDirection(); break;
        case kSlopeButton: openSlopeDraw(); break;
        case kExit:
            // A field that cannot be used is said first, and the calculator stays open on it.
            if (!fieldsToInputs()) break;
            save();
            endDialog(ui::kIdOk);
            break;
        case ui::kIdCancel: onCancel(); break;
        default: break;
    }
}

bool CtkdeskDlg::preTranslateKey(int, const ui::KeyEvent& k) {
    // Enter and Escape compute; neither closes the calculator.
    if (k.key == ui::kKeyReturn || k.key == ui::kKeyEscape) {
        compute();
        return true;
    }
    return false;
}

void CtkdeskDlg::onOK() { compute(); }

void CtkdeskDlg::onCancel() {
    // The close box: as "Выход", the window stays on a field that cannot be used (where the
    // system lets it stay; when not, onDestroy keeps what can be kept).
    if (fieldsToInputs()) endDialog(ui::kIdCancel);
}

void CtkdeskDlg::onHelp() { openAbout(); }

void CtkdeskDlg::onDestroy() { save(); }

void CtkdeskDlg::gatherSettings() {
    keepUsableFields();
    storeShotInputs(inputs_, settings_);
    settings_.shownZeroAngle = sightLineAngle_;
    settings_.airDensityRatio = densityRatio_;
}

void CtkdeskDlg::save() {
    gatherSettings();
    std::vector<fs::path> failed = writeFiles();
    while (!failed.empty() && !saveFailureTold_) {
        std::string text = "Не удалось сохранить:\n";
        for (const fs::path& p : failed) text += p.string() + "\n";
        if (!folder_.ready())
            text += "\nПапка данных «" + folder_.folder().string() + "» недоступна: " + folder_.problemText() + ".\n";
        text += "\n«Повтор» - попробовать ещё раз, «Отмена» - закрыть программу без сохранения: изменения этого "
                "сеанса в этих файлах будут потеряны.";
        if (messageBox(text, {}, ui::Buttons::RetryCancel, ui::Icon::Error) != ui::kIdRetry) {
            saveFailureTold_ = true;  // the save at the window's end does not ask again
            break;
        }
        failed = writeFiles();
    }
}

std::vector<fs::path> CtkdeskDlg::writeFiles() {
    folder_.prepare();  // made again when it has gone missing; put right by the user meanwhile
    std::vector<fs::path> failed;
    if (!library_.saveLibrary(folder_.library())) failed.push_back(folder_.library());
    if (!saveFolderSetting(folder_.folderSetting(), folderSetting_)) failed.push_back(folder_.folderSetting());
    const auto write = [&](const fs::path& path, const auto& record) {
        if (!kept_.beforeOverwrite(path) || !saveSettingsFile(path, record)) failed.push_back(path);
    };
    write(folder_.tableSettings(), tableSettings_);
    write(folder_.settings(), settings_);
    return failed;
}

void CtkdeskDlg::loadSettingsFiles() {
    std::vector<std::string>& replaced = startNotes_.replaced;
    const SettingsFileRead settingsRead = readSettingsFile(folder_.settings(), settings_);
    inputs_ = sanitizedShotInputs(settings_, replaced);
    sanitizeShownValues(settings_, replaced);
    if (settingsRead == SettingsFileRead::NotTaken)
        noteKept(folder_.settings(), notTakenReason(folder_.settings(), SettingsRecord::kSize));
    else if (!replaced.empty())
        noteKept(folder_.settings(), "недопустимые значения");

    const size_t before = replaced.size();
    const SettingsFileRead tableRead = readSettingsFile(folder_.tableSettings(), tableSettings_);
    sanitizeTableSettings(tableSettings_, replaced);
    if (tableRead == SettingsFileRead::NotTaken)
        noteKept(folder_.tableSettings(), notTakenReason(folder_.tableSettings(), TableSettingsRecord::kSize));
    else if (replaced.size() > before)
        noteKept(folder_.tableSettings(), "недопустимые значения");
}

void CtkdeskDlg::noteKept(const fs::path& file, const std::string& why) {
    kept_.keep(file);
    startNotes_.kept.push_back(file.filename().string() + " → " + KeptFiles::copyPath(file).filename().string() +
                               " (" + why + ")");
}

void CtkdeskDlg::reportStartProblems() {
    std::vector<std::string> paragraphs;
    const std::string folder = "«" + folder_.folder().string() + "»";
    if (!folder_.ready())
        paragraphs.push_back("Папка данных " + folder + " недоступна: " + folder_.problemText() +
                             ".\nНастройки и библиотека драг-функций не будут сохранены, пока это так.");
    if (folder_.programFolderRefused())
        paragraphs.push_back("В установках выбрано «Сохранять данные в папке приложения», но в папку программы «" +
                             programFolder_.string() + "» нельзя записать. Данные читаются и сохраняются в папке " +
                             folder + ".");
    std::vector<std::string> kept = startNotes_.kept;
    if (library_.kept() != LibraryKept::None) {
        const fs::path& file = library_.keptFile();
        const char* why = library_.kept() == LibraryKept::Unreadable ? "не читается"
                          : library_.kept() == LibraryKept::CutShort ? "прочитан не целиком"
                                                                     : "заменён библиотекой из bc_cdm2.dat";
        kept.push_back(file.filename().string() + " → " + KeptFiles::copyPath(file).filename().string() + " (" + why +
                       ")");
    }
    if (!kept.empty()) {
        std::string p = "Не всё сохранённое в папке " + folder +
                        " удалось взять. Прежнее содержимое этих файлов сохраняется рядом, в файлах .bak, "
                        "до того как программа их перезапишет:";
        for (const std::string& line : kept) p += "\n" + line;
        paragraphs.push_back(p);
    }
    if (!startNotes_.replaced.empty()) {
        std::string p = "Недопустимые значения в сохранённых настройках заменены значениями первого запуска:";
        for (const std::string& label : startNotes_.replaced) p += "\n" + label;
        paragraphs.push_back(p);
    }
    startNotes_ = {};
    if (paragraphs.empty()) return;
    std::string text;
    for (const std::string& p : paragraphs) text += (text.empty() ? "" : "\n\n") + p;
    messageBox(text, {}, ui::Buttons::Ok, ui::Icon::Warning);
}

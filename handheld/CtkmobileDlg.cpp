#include "CtkmobileDlg.h"

#include <cmath>

#include "CDlgMobileAbout.h"
#include "CDlgMobileAddInfo.h"
#include "CDlgMobileInputs.h"
#include "CDlgMobileSlope.h"
#include "CDlgMobileWind.h"
#include "CDlgMobileSettings.h"
#include "CDlgMobileTable.h"
#include "NumberText.h"
#include "ResultText.h"
#include "RoundTo.h"
#include "ShotSettings.h"
#include "TextCodec.h"

namespace fs = std::filesystem;
using namespace ctkmobile;
using namespace mobile;

namespace {
constexpr const char* kTitle = "Trajekton";

// The main screen's four fields, with the steps of their "−"/"+" buttons.
const MobileScreen::NumberField kFields[] = {
    {kDistance, "distance", ShownUnit::AsIs, kDistanceMinus, kDistancePlus, 10.0, 2000.0, 5.0},
    {kWindSpeed, "wind-speed", ShownUnit::AsIs, kWindMinus, kWindPlus, 0.0, 10.0, 0.2},
    {kTargetAngle, "target-angle", ShownUnit::AsIs, kAngleMinus, kAnglePlus, -60.0, 60.0, 1.0},
    {kWindAzimuth, "wind-azimuth", ShownUnit::AsIs, kAzimuthMinus, kAzimuthPlus, 0.0, 360.0, 15.0},
};

// The captions of the two results by the unit code of the settings (0 MOA, 1 MIL, 2 cm, 3 clicks).
const char* verticalCaption(int32_t unit) {
    switch (unit) {
        case HandheldSettingsRecord::kResultMil: return "Верт. т.д.";
        case HandheldSettingsRecord::kResultCm: return "Верт. см";
        case HandheldSettingsRecord::kResultClicks: return "Верт. клики";
        default: return "Верт. MOA";
    }
}
const char* horizontalCaption(int32_t unit) {
    switch (unit) {
        case HandheldSettingsRecord::kResultMil: return "Гор. т.д.";
        case HandheldSettingsRecord::kResultCm: return "Гор. см";
        case HandheldSettingsRecord::kResultClicks: return "Гор. клики";
        default: return "Гор. MOA";
    }
}
double inUnit(const Corrections& c, int32_t unit) {
    switch (unit) {
        case HandheldSettingsRecord::kResultMil: return c.mil;
        case HandheldSettingsRecord::kResultCm: return c.cm;
        case HandheldSettingsRecord::kResultClicks: return c.clicks;
        default: return c.moa;
    }
}
}  // namespace

ui::DialogTemplate CtkmobileDlg::makeTemplate() {
    ui::DialogTemplate t = frame(IDD, kTitle);
    ui::TemplateBuilder b(t);
    int y = kMargin;
    y = addFieldRow(b, y, "Дистанция", kFields[0]);
    y = addFieldRow(b, y, "Скорость ветра, м/с", kFields[1]);
    y = addFieldRow(b, y, "Угол места цели, град.", kFields[2], kTargetAngleLabel, kSlopePicker);
    y = addFieldRow(b, y, "Азимут ветра, гр.", kFields[3], ui::kStaticId, kWindPicker);
    b.button(kInputs, "Ввод остальных  параметров", kMargin, y, kInner, ui::kNoStyle, kRow);
    y += kRow + 6;
    const int w = (kInner - 2 * 6) / 3;
    b.button(kCompute, "Вычислить", kMargin, y, w, ui::kDefault, kRow)
        .button(kTable, "Таблица", kMargin + w + 6, y, w, ui::kNoStyle, kRow)
        .button(kAddInfo, "Доп.Инфо", kMargin + 2 * (w + 6), y, w, ui::kNoStyle, kRow);
    y += kRow + 8;
    const int cw = 128;
    b.label("Верт. MOA", kMargin, y + 8, cw, kVerticalLabel, ui::kNoStyle, kLabel)
        .add(kVertical, ui::Kind::Edit, "", {kMargin + cw, y, kInner - cw, kRow}, ui::kReadOnly | ui::kAlignRight);
    y += kRow + 6;
    b.label("Гор. MOA", kMargin, y + 8, cw, kHorizontalLabel, ui::kNoStyle, kLabel)
        .add(kHorizontal, ui::Kind::Edit, "", {kMargin + cw, y, kInner - cw, kRow}, ui::kReadOnly | ui::kAlignRight);
    y += kRow + 8;
    b.add(kStatus, ui::Kind::Label, "", {kMargin, y, kInner, kSoftKeyTop - 6 - y}, ui::kMultiline);
    softKeys(t, {}, {kMenu, "Меню"});
    return t;
}

CtkmobileDlg::CtkmobileDlg(fs::path dataFolder) : MobileScreen(makeTemplate(), nullptr), session_(std::move(dataFolder)) {
    for (const NumberField& f : kFields) addField(f);
    for (int id : {kDistance, kWindSpeed, kTargetAngle, kWindAzimuth, kVertical, kHorizontal}) useLargeFont(id);
    main_.reporter = &messages_;
    zeroing_.reporter = &messages_;
}

bool CtkmobileDlg::onInitDialog() {
    MobileScreen::onInitDialog();
    session_.load();
    showUnits();
    showFields(session_.inputs());
    showResults();
    showStatus();
    if (const std::string problems = session_.startProblems(); !problems.empty())
        messageBox(problems, {}, ui::Buttons::Ok, ui::Icon::Warning);
    return true;
}

void CtkmobileDlg::showUnits() {
    const HandheldSettingsRecord& s = session_.settings();
    const bool cosine = s.angleMode == kAngleModeCosine;
    setText(kTargetAngleLabel, cosine ? "Угол места цели, cos" : "Угол места цели, град.");
    setUnit(kTargetAngle, cosine ? ShownUnit::Cosine : ShownUnit::AsIs);
    if (NumberField* f = field(kTargetAngle)) {
        // A cosine steps by hundredths over the angles a shot has.
        f->low = cosine ? 0.0 : -60.0;
        f->high = cosine ? 1.0 : 60.0;
        f->step = cosine ? 0.01 : 1.0;
    }
    setText(kVerticalLabel, verticalCaption(s.verticalResultUnit));
    setText(kHorizontalLabel, horizontalCaption(s.horizontalResultUnit));
    const ShotInputs& in = session_.inputs();
    window().setTextColour(kVertical, in.addVerticalDrift ? ui::kRed : ui::kBlack);
    window().setTextColour(kHorizontal, in.addDerivation ? ui::kRed : ui::kBlack);
}

void CtkmobileDlg::showResults() {
    if (!computed_) {
        setText(kVertical, "");
        setText(kHorizontal, "");
        return;
    }
    const ShownCorrections shown = shownCorrections(answer_.corrections);
    const HandheldSettingsRecord& s = session_.settings();
    setText(kVertical, resultText(inUnit(shown.vertical, s.verticalResultUnit)));
    setText(kHorizontal, resultText(inUnit(shown.horizontal, s.horizontalResultUnit)));
}

void CtkmobileDlg::showStatus() {
    const ShotInputs& in = session_.inputs();
    std::string text = "Драг-функция " + in.dragFunctionName + ", пристрелка " + ui::formatNumber(in.zeroDistance) +
                       " м";
    if (computed_)
        text += "\nРассчитано на " + ui::formatNumber(answer_.corrections.distance) + " м, угол приц. линии " +
                ui::formatNumber(RoundTo(answer_.summary.shownZeroAngle, 3)) + " MOA";
    setText(kStatus, text);
}

bool CtkmobileDlg::compute() {
    ShotInputs& in = session_.inputs();
    if (!takeFields(in)) return false;
    // Every other input was checked by its own screen; a damaged file was put right at the start.
    loadSolver(in, session_.dragFunction(), main_);
    answer_ = computeShot(main_, zeroing_, zeroingAtmosphere(in), in.distance, driftOptions(in));
    computed_ = true;
    HandheldSettingsRecord& s = session_.settings();
    s.shownZeroAngle = RoundTo(answer_.summary.shownZeroAngle, 3);
    s.airDensityRatio = RoundTo(answer_.summary.airDensityRatio, 3);
    s.zeroLineRise = answer_.summary.zeroLineRise;
    showResults();
    showStatus();
    for (const EngineMessage m : messages_.take()) messageBox(std::string(engineMessageText(m)));
    if (!std::isfinite(answer_.corrections.vertical.moa) || !std::isfinite(answer_.corrections.horizontal.moa))
        messageBox("Результат не определён: с этими исходными данными расчёт не даёт числа. Проверьте исходные данные.",
                   {}, ui::Buttons::Ok, ui::Icon::Warning);
    return true;
}

void CtkmobileDlg::keepUsableFields() {
    // Field by field: one that cannot be used keeps its last good value.
    ShotInputs& in = session_.inputs();
    for (const NumberField& f : kFields) {
        const std::optional<double> typed = ui::parseNumber(text(f.id));
        const ShownUnit unit = field(f.id)->unit;
        const std::optional<double> value = typed ? inputFromShown(*typed, unit) : std::nullopt;
        const InputField& input = *findInputField(f.key);
        if (value && shownIn(input, unit).refusal(*typed, value).empty()) *input.number(in) = *value;
    }
}

void CtkmobileDlg::save() {
    std::vector<fs::path> failed = session_.saveSettings();
    if (session_.saveLibrary() == HandheldSession::LibrarySave::Failed) failed.push_back(session_.folder().library());
    if (failed.empty()) return;
    std::string text = "Не удалось сохранить:\n";
    for (const fs::path& p : failed) text += p.string() + "\n";
    if (!session_.folder().ready()) {
        const std::string folder = session_.folder().folder().string();
        text += "\nПапка данных «";
        text += folder;
        text += "» недоступна: ";
        text += session_.folder().problemText();
        text += ".";
    }
    messageBox(text, {}, ui::Buttons::Ok, ui::Icon::Error);
}

void CtkmobileDlg::endSession() {
    if (saved_) return;
    saved_ = true;
    keepUsableFields();
    session_.saveSettings();  // nobody is left to read a message
    session_.saveLibrary();
}

void CtkmobileDlg::onDestroy() {
    if (saved_) return;
    saved_ = true;
    keepUsableFields();
    save();
}

void CtkmobileDlg::openMenu() {
    const int chosen = ui::backend().popupMenu(&window(), kMenu, {0, 0},
                                               {{kMenuExit, "Выход"},
                                                {kMenuSettings, "Установки"},
                                                {kMenuAbout, "О программе"},
                                                {kMenuHelp, "Помощь"}});
    switch (chosen) {
        case kMenuExit: endDialog(ui::kIdOk); break;
        case kMenuSettings: openSettings(); break;
        case kMenuAbout: {
            CDlgMobileAbout dlg(CDlgMobileAbout::About, session_.folder().folder(), this);
            dlg.doModal();
            break;
        }
        case kMenuHelp: {
            CDlgMobileAbout dlg(CDlgMobileAbout::Help, {}, this);
            dlg.doModal();
            break;
        }
        default: break;
    }
}

void CtkmobileDlg::openInputs() {
    keepUsableFields();
    CDlgMobileInputs dlg(session_, [this] { save(); }, this);
    dlg.doModal();
    showFields(session_.inputs());
    showStatus();
}

void CtkmobileDlg::openSettings() {
    keepUsableFields();
    CDlgMobileSettings dlg(session_, [this] { save(); }, this);
    dlg.doModal();
    showUnits();
    showFields(session_.inputs());
    showResults();
}

void CtkmobileDlg::openTable() {
    // The table solves on the main solver: the fields and the zeroing first, as "Вычислить" does.
    if (!compute()) return;
    CDlgMobileTable dlg(main_, session_.inputs(), session_.tableSettings(), &messages_, [this] { save(); }, this);
    dlg.doModal();
}

void CtkmobileDlg::openAddInfo() {
    if (!compute()) return;
    HandheldSettingsRecord& s = session_.settings();
    const ShotInputs& in = session_.inputs();
    CDlgMobileAddInfo dlg(main_, CDlgAddInfo::valuesOf(answer_, in), s.addInfoDriftUnit, s.addInfoLeadUnit,
                          in.manualDrift, in.manualDriftPercent, this);
    dlg.doModal();
    // The two unit choices are kept however the screen was closed, as on the desktop.
    s.addInfoDriftUnit = dlg.driftUnit();
    s.addInfoLeadUnit = dlg.leadUnit();
}

void CtkmobileDlg::openWind() {
    // The clock starts from the field: one that cannot be used is said first.
    if (!takeFields(session_.inputs())) return;
    CDlgMobileWind dlg(session_.inputs().windAzimuth, this);
    if (dlg.doModal() != ui::kIdOk) return;
    session_.inputs().windAzimuth = dlg.windAzimuth();
    showFields(session_.inputs());
    compute();  // a new wind, new corrections
}

void CtkmobileDlg::openSlope() {
    if (!takeFields(session_.inputs())) return;
    CDlgMobileSlope dlg(session_.inputs().targetAngle, session_.settings().angleMode == kAngleModeCosine, this);
    if (dlg.doModal() != ui::kIdOk) return;
    session_.inputs().targetAngle = dlg.angle();
    showFields(session_.inputs());
    compute();
}

void CtkmobileDlg::onCommand(int id, ui::Notify n) {
    if (n == ui::Notify::Clicked) switch (id) {
            case kCompute: compute(); return;
            case kTable: openTable(); return;
            case kAddInfo: openAddInfo(); return;
            case kWindPicker: openWind(); return;
            case kSlopePicker: openSlope(); return;
            case kInputs: openInputs(); return;
            case kMenu: openMenu(); return;
            default: break;
        }
    MobileScreen::onCommand(id, n);
}

bool CtkmobileDlg::preTranslateKey(int id, const ui::KeyEvent& k) {
    // Enter computes; nothing on this screen closes it but "Выход" and the close box.
    if (k.key == ui::kKeyReturn) {
        compute();
        return true;
    }
    if (k.key == ui::kKeyEscape) return true;
    return MobileScreen::preTranslateKey(id, k);
}

void CtkmobileDlg::onOK() { compute(); }

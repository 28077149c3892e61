#include "CtkdeskDlg.h"

#include <cmath>
#include <system_error>

#include "CAboutDlg.h"
#include "CDlgRifle.h"
#include "CDlgSetting.h"
#include "CDlgTableResults.h"
#include "CDlgAddInfo.h"
#include "CDlgConvertBC.h"
#include "DataPaths.h"
#include "DragFuncKind.h"
#include "NumberText.h"
#include "PressureUnit.h"
#include "RoundTo.h"
#include "TemplateBuilder.h"
#include "TextCodec.h"

namespace fs = std::filesystem;
using namespace ctkdesk;

namespace {
constexpr double kPi = 3.141592653589793;
constexpr const char* kTitle = "Бал.калькулятор Trajekton v.1.37";

}  // namespace

DesktopPaths DesktopPaths::make(const fs::path& programFolder, const fs::path& dataFolder) {
    DesktopPaths p;
    p.programFolder = programFolder;
    p.programLibrary = programFolder / "bc_cdm3.dat";
    p.programOldLibrary = programFolder / "bc_cdm2.dat";
    p.folderSetting = programFolder / kFolderSettingFileName;
    p.dataFolder = dataFolder;
    p.settings = dataFolder / kSettingsFileName;
    p.tableSettings = dataFolder / kTableSettingsFileName;
    p.dataLibrary = dataFolder / "bc_cdm3.dat";
    return p;
}

void DesktopPaths::redirectToProgramFolder() {
    dataFolder = programFolder;
    settings = programFolder / kSettingsFileName;
    tableSettings = programFolder / kTableSettingsFileName;
    dataLibrary = programLibrary;
}

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
    b.label("Нач. скорость , м/сек", lx, 28, lw).edit(kMuzzleVelocity, ex, 28, ew);
    b.label("Темп-ра при замере, гр.", lx, 54, lw).edit(kMvTemperature, ex, 54, ew);
    b.label("Изм., %", lx, 80, lw).edit(kMvChange, ex, 80, ew);
    b.label("Бал. коэффициент", lx, 106, lw).edit(kBallisticCoefficient, ex, 106, ew);
    b.label("Драг-функция", lx, 132, lw).edit(kDragFunctionName, ex, 132, 122, ui::kReadOnly);
    b.button(kDragFunctionButton, "Драг-функция >>", lx, 158, 168, ui::kDisabled)
        .button(kConvertBC, "Конвертировать БК", 194, 158, 168);

    b.group("Винтовка", 8, 200, 364, 158);
    b.label("Высота прицела над стволом, см", lx, 220, lw).edit(kSightHeight, ex, 220, ew);
    b.label("Дистанция пристрелки, метры", lx, 246, lw).edit(kZeroDistance, ex, 246, ew);
    b.label("Цена верт. клика, MOA", lx, 272, lw, kClickVerticalLabel).edit(kClickVertical, ex, 272, ew);
    b.label("Цена гор. клика, MOA", lx, 298, lw, kClickHorizontalLabel).edit(kClickHorizontal, ex, 298, ew);
    b.button(kZeroingAtmosphere, "Атмосфера пристрелки", lx, 324, 344);

    // Right column: target and wind, atmosphere, corrections. Labels from x 390, fields at x 596.
    const int rx = 390, rw = 200, fx = 596;
    b.group("Цель и ветер", 380, 8, 352, 132);
    b.label("Дистанция", rx, 28, rw).edit(kDistance, fx, 28, ew);
    b.label("Угол места цели, град.", rx, 54, rw, kTargetAngleLabel).edit(kTargetAngle, fx, 54, ew);
    b.button(kSlopeButton, ">>", 678, 53, 44, ui::kDisabled, 24);
    b.label("Скорость ветра, м/сек", rx, 80, rw).edit(kWindSpeed, fx, 80, ew);
    b.button(kWindAzimuthButton, "Азимут ветра, град.", rx, 105, 196, ui::kDisabled, 24).edit(kWindAzimuth, fx, 106, ew);

    b.group("Атмосфера", 380, 148, 352, 106);
    b.label("Температура, град. Цельсия", rx, 168, rw).edit(kTemperature, fx, 168, ew);
    b.label("Атм.давление", rx, 194, 92).check(kPressureUnit, "мм.рт.столба", 484, 194, 108).edit(kPressure, fx, 194, ew);
    b.label("Влажность, проценты", rx, 220, rw).edit(kHumidity, fx, 220, ew);

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
    : ui::Dialog(makeTemplate()), userDataFolder_(std::move(userDataFolder)) {
    fs::path data = userDataFolder_;
    if (data.empty()) {
        std::error_code ec;
        data = fs::current_path(ec);
    } else {
        std::error_code ec;
        fs::create_directories(data, ec);  // a folder that cannot be made lets the writes fail quietly
    }
    paths_ = DesktopPaths::make(programFolder, data);
    main_.reporter = &messages_;
    zeroing_.reporter = &messages_;
}

bool CtkdeskDlg::onInitDialog() {
    // The folder setting: read, written back at once, and the data files follow it.
    const FolderSettingResult folder = applyFolderSetting(paths_.programFolder, folderSetting_);
    folderSettingWritten_ = folder.programFolderWritable;
    if (folder.dataInProgramFolder) paths_.redirectToProgramFolder();

    // The settings, distributed to the fields and the solver.
    loadSettingsFile(paths_.settings, settings_);
    muzzleVelocity_ = settings_.muzzleVelocity;
    ballisticCoefficient_ = settings_.ballisticCoefficient;
    mvTemperature_ = settings_.mvMeasureTemperature;
    mvChange_ = settings_.mvChangePercent;
    main_.mvCorrectionOff = settings_.mvCorrectionOff != 0;
    sightHeight_ = settings_.sightHeight;
    main_.clickVertical = settings_.clickVertical;
    main_.clickHorizontal = settings_.clickHorizontal;
    clickDisplay();
    temperature_ = settings_.airTemperature;
    windSpeed_ = settings_.windSpeed;
    zeroDistance_ = settings_.zeroDistance;
    sightLineAngle_ = settings_.shownZeroAngle;
    densityRatio_ = settings_.airDensityRatio;
    reserved_ = settings_.reserved160;
    humidity_ = settings_.humidity;
    targetAngle_ = settings_.targetAngleField;
    distance_ = settings_.targetDistance;
    windAzimuth_ = settings_.windAzimuth;
    main_.airPressure = settings_.airPressure;
    updateData(false);

    loadSettingsFile(paths_.tableSettings, tableSettings_);

    libraryLoad_ = library_.loadAtStart(paths_.programOldLibrary, paths_.dataLibrary);
    main_.dragFunction = library_.findByNameAndNumber(settings_.dragFuncNameText(), settings_.dragFuncNumber);
    dragFunctionName_ = cp1251ToUtf8(main_.dragFunction.nameText());

    setChecked(kPressureUnit, settings_.pressureInHpa != 0);
    angleDisplay();
    zeroingButtonText();
    updateData(false);
    pressureDisplay();
    correctionColours();
    enableBallisticCoefficient();
    return true;
}

void CtkdeskDlg::doDataExchange(ui::DataExchange& dx) {
    dx.number(kMuzzleVelocity, muzzleVelocity_);
    dx.number(kMvTemperature, mvTemperature_);
    dx.number(kMvChange, mvChange_);
    dx.number(kBallisticCoefficient, ballisticCoefficient_);
    if (!dx.saving()) dx.text(kDragFunctionName, dragFunctionName_);
    dx.number(kSightHeight, sightHeight_);
    dx.number(kZeroDistance, zeroDistance_);
    dx.number(kClickVertical, clickVertical_);
    dx.number(kClickHorizontal, clickHorizontal_);
    dx.number(kDistance, distance_);
    dx.number(kTargetAngle, targetAngle_);
    dx.number(kWindSpeed, windSpeed_);
    dx.number(kWindAzimuth, windAzimuth_);
    dx.number(kTemperature, temperature_);
    dx.number(kPressure, pressure_);
    dx.number(kHumidity, humidity_);
    dx.number(kVerticalMoa, verticalMoa_);
    dx.number(kVerticalMil, verticalMil_);
    dx.number(kVerticalCm, verticalCm_);
    dx.number(kVerticalClicks, verticalClicks_);
    dx.number(kHorizontalMoa, horizontalMoa_);
    dx.number(kHorizontalMil, horizontalMil_);
    dx.number(kHorizontalCm, horizontalCm_);
    dx.number(kHorizontalClicks, horizontalClicks_);
    dx.number(kSightLineAngle, sightLineAngle_);
}

bool CtkdeskDlg::fieldsToSolver() {
    updateData(true);  // a field that does not parse keeps its last good value
    main_.muzzleVelocity = muzzleVelocity_;
    main_.ballisticCoefficient = ballisticCoefficient_;
    main_.mvTemperature = mvTemperature_;
    main_.mvTemperatureChange = mvChange_;
    main_.sightHeight = sightHeight_;
    main_.airTemperature = temperature_;
    main_.humidity = humidity_;
    main_.windSpeed = windSpeed_;
    main_.targetDistance = distance_;
    main_.windAzimuth = windAzimuth_;
    main_.zeroDistance = zeroDistance_;
    settings_.pressureInHpa = isChecked(kPressureUnit) ? 1 : 0;
    main_.airPressure = settings_.pressureInHpa ? mmHgFromHpa(pressure_) : pressure_;

    bool angleOk = true;
    if (settings_.angleMode == kAngleModeCosine) {
        if (targetAngle_ >= -1.0 && targetAngle_ <= 1.0) {
            main_.targetAngle = std::floor(std::acos(targetAngle_) * 180.0 / kPi + 0.5);
        } else {
            // acos of it is not a number: the solver keeps the last good angle.
            messageBox("Косинус угла места цели должен быть от -1 до 1.", {}, ui::Buttons::Ok, ui::Icon::Warning);
            angleOk = false;
        }
    } else {
        main_.targetAngle = targetAngle_;
    }

    if (settings_.clickUnit == kClickUnitMil) {
        main_.clickVertical = clickVertical_ / kMilPerMoaClick;
        main_.clickHorizontal = clickHorizontal_ / kMilPerMoaClick;
    } else {
        main_.clickVertical = clickVertical_;
        main_.clickHorizontal = clickHorizontal_;
    }
    return angleOk;
}

ZeroingAtmosphere CtkdeskDlg::zeroingAtmosphere() const {
    return ZeroingAtmosphere{settings_.sameZeroAtmosphere != 0, settings_.zeroTemperature, settings_.zeroPressure,
                             settings_.zeroHumidity};
}

bool CtkdeskDlg::compute() {
    if (!fieldsToSolver()) return false;
    const DriftOptions options{settings_.addDerivation != 0, settings_.addVerticalWindDrift != 0,
                               settings_.manualDrift != 0, settings_.manualDriftPercent};
    const ShotAnswer answer = computeShot(main_, zeroing_, zeroingAtmosphere(), main_.targetDistance, options);
    const ShownCorrections shown = shownCorrections(answer.corrections);
    verticalMoa_ = shown.vertical.moa;
    verticalMil_ = shown.vertical.mil;
    verticalCm_ = shown.vertical.cm;
    verticalClicks_ = shown.vertical.clicks;
    horizontalMoa_ = shown.horizontal.moa;
    horizontalMil_ = shown.horizontal.mil;
    horizontalCm_ = shown.horizontal.cm;
    horizontalClicks_ = shown.horizontal.clicks;
    sightLineAngle_ = RoundTo(main_.shownZeroAngle, 3);
    densityRatio_ = RoundTo(main_.airDensityRatio, 3);
    dragFunctionName_ = cp1251ToUtf8(main_.dragFunction.nameText());
    updateData(false);
    showEngineMessages();
    return true;
}

void CtkdeskDlg::showEngineMessages() {
    for (const EngineMessage m : messages_.take()) messageBox(std::string(engineMessageText(m)));
}

void CtkdeskDlg::angleDisplay() {
    if (settings_.angleMode == kAngleModeCosine) {
        setText(kTargetAngleLabel, "Угол места цели, cos");
        targetAngle_ = RoundTo(std::cos(main_.targetAngle * kPi / 180.0), 3);
    } else {
        setText(kTargetAngleLabel, "Угол места цели, гр.");
        targetAngle_ = main_.targetAngle;
    }
    window().refresh(kTargetAngleLabel);
    updateData(false);
}

void CtkdeskDlg::clickDisplay() {
    if (settings_.clickUnit == kClickUnitMil) {
        setText(kClickVerticalLabel, "Цена верт. клика, MIL");
        setText(kClickHorizontalLabel, "Цена гор. клика, MIL");
        clickVertical_ = RoundTo(main_.clickVertical * kMilPerMoaClick, 4);
        clickHorizontal_ = RoundTo(main_.clickHorizontal * kMilPerMoaClick, 4);
    } else {
        setText(kClickVerticalLabel, "Цена верт. клика, MOA");
        setText(kClickHorizontalLabel, "Цена гор. клика, MOA");
        clickVertical_ = RoundTo(main_.clickVertical, 3);
        clickHorizontal_ = RoundTo(main_.clickHorizontal, 3);
    }
    updateData(false);
}

void CtkdeskDlg::pressureDisplay() {
    setText(kPressureUnit, pressureUnitText(settings_.pressureInHpa != 0));
    // Shown in hPa as a whole number.
    pressure_ = settings_.pressureInHpa ? std::floor(main_.airPressure * 1013.25 / 760.0 + 0.5) : main_.airPressure;
    updateData(false);
}

void CtkdeskDlg::switchPressureUnit() {
    updateData(true);
    const bool hpa = isChecked(kPressureUnit);
    setText(kPressureUnit, pressureUnitText(hpa));
    pressure_ = hpa ? hpaFromMmHg(pressure_) : mmHgFromHpa(pressure_);
    updateData(false);
}

void CtkdeskDlg::zeroingButtonText() {
    setText(kZeroingAtmosphere, settings_.sameZeroAtmosphere ? "Атмосфера пристрелки - та же" : "Атмосфера пристрелки");
}

void CtkdeskDlg::correctionColours() {
    const ui::Colour vertical = settings_.addVerticalWindDrift ? ui::kRed : ui::kBlack;
    const ui::Colour horizontal = settings_.addDerivation ? ui::kRed : ui::kBlack;
    for (int id : {kVerticalMoa, kVerticalCm, kVerticalClicks, kVerticalMil}) window().setTextColour(id, vertical);
    for (int id : {kHorizontalCm, kHorizontalMoa, kHorizontalClicks, kHorizontalMil})
        window().setTextColour(id, horizontal);
}

void CtkdeskDlg::enableBallisticCoefficient() {
    enable(kBallisticCoefficient, main_.dragFunction.kind != DragFuncKind::Special);
}

void CtkdeskDlg::applyFolderRedirection() {
    if (folderSetting_.keepInProgramFolder != 0 && folderSettingWritten_) paths_.redirectToProgramFolder();
}

void CtkdeskDlg::openSettings() {
    fieldsToSolver();
    CDlgSetting dlg(settings_, folderSetting_, this);
    if (dlg.doModal() == ui::IDOK) {
        // The temperature switch acts on the solver at once (and is kept from there at close).
        main_.mvCorrectionOff = settings_.mvCorrectionOff != 0;
    }
    angleDisplay();
    clickDisplay();
    applyFolderRedirection();
    pressureDisplay();
    correctionColours();
}

void CtkdeskDlg::openZeroingAtmosphere() {
    CDlgRifle dlg(settings_.zeroHumidity, settings_.zeroPressure, settings_.zeroTemperature,
                  settings_.pressureInHpa != 0, settings_.sameZeroAtmosphere != 0, this);
    if (dlg.doModal() == ui::IDOK) {
        settings_.zeroHumidity = dlg.humidity();
        settings_.zeroPressure = dlg.pressureMmHg();
        settings_.zeroTemperature = dlg.temperature();
        settings_.sameZeroAtmosphere = dlg.zeroOnSite() ? 1 : 0;
        compute();
    }
    zeroingButtonText();
}

void CtkdeskDlg::openTable() {
    // The table solves the main solver at each distance: it needs the fields and the zeroing first.
    if (!fieldsToSolver()) return;
    zeroRifle(main_, zeroing_, zeroingAtmosphere());
    showEngineMessages();
    const double distance = main_.targetDistance;
    CDlgTableResults dlg(main_, settings_, tableSettings_, &messages_, this);
    dlg.doModal();
    main_.targetDistance = distance;
    correctionColours();  // the table's option boxes act on the settings
    compute();
}

void CtkdeskDlg::openConvertBC() {
    updateData(true);
    CDlgConvertBC dlg(library_, ballisticCoefficient_, muzzleVelocity_, this);
    if (dlg.doModal() != ui::IDOK) return;
    ballisticCoefficient_ = dlg.ballisticCoefficient();
    main_.dragFunction = library_.findStandardByName(dlg.targetFunctionName());
    dragFunctionName_ = cp1251ToUtf8(main_.dragFunction.nameText());
    enableBallisticCoefficient();
    updateData(false);
}

void CtkdeskDlg::openAddInfo() {
    if (!compute()) return;
    const ResultsElement& target = main_.targetRow;
    CDlgAddInfo::Values v;
    v.correctedMuzzleVelocity = RoundTo(main_.correctedMuzzleVelocity, 1);
    v.targetVelocity = RoundTo(target.velocity, 2);
    v.speedOfSound = RoundTo(main_.speedOfSound, 2);
    v.targetMach = RoundTo(target.velocity / main_.speedOfSound, 2);
    v.timeOfFlight = RoundTo(target.timeOfFlight, 2);
    v.clickValueCm = RoundTo(main_.clickVertical * main_.targetDistance * 2.9088821687 / 100.0, 2);
    CDlgAddInfo dlg(main_, v, settings_.addInfoDriftUnit, settings_.addInfoLeadUnit, settings_.manualDrift != 0,
                    settings_.manualDriftPercent, this);
    dlg.doModal();
    settings_.addInfoDriftUnit = dlg.driftUnit();
    settings_.addInfoLeadUnit = dlg.leadUnit();
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
        case kAddInfo: openAddInfo(); break;
        case kExit:
            save();
            endDialog(ui::IDOK);
            break;
        case ui::IDCANCEL: onCancel(); break;
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

void CtkdeskDlg::onHelp() { openAbout(); }

void CtkdeskDlg::onDestroy() { save(); }

void CtkdeskDlg::gatherSettings() {
    fieldsToSolver();
    settings_.setDragFuncName(main_.dragFunction.nameText());
    settings_.dragFuncNumber = main_.dragFunction.uniqueNumber;
    settings_.muzzleVelocity = muzzleVelocity_;
    settings_.ballisticCoefficient = ballisticCoefficient_;
    settings_.mvMeasureTemperature = mvTemperature_;
    settings_.mvChangePercent = mvChange_;
    settings_.mvCorrectionOff = main_.mvCorrectionOff ? 1 : 0;
    settings_.sightHeight = sightHeight_;
    settings_.clickVertical = main_.clickVertical;
    settings_.clickHorizontal = main_.clickHorizontal;
    settings_.airTemperature = temperature_;
    settings_.windSpeed = windSpeed_;
    settings_.zeroDistance = zeroDistance_;
    settings_.shownZeroAngle = sightLineAngle_;
    settings_.airDensityRatio = densityRatio_;
    settings_.reserved160 = reserved_;
    settings_.humidity = humidity_;
    settings_.airPressure = main_.airPressure;
    settings_.targetAngleField = targetAngle_;
    settings_.targetDistance = distance_;
    settings_.windAzimuth = windAzimuth_;
}

void CtkdeskDlg::save() {
    library_.saveLibrary(paths_.dataLibrary);
    gatherSettings();
    saveSettingsFile(paths_.folderSetting, folderSetting_);
    saveSettingsFile(paths_.tableSettings, tableSettings_);
    saveSettingsFile(paths_.settings, settings_);
}

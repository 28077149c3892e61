#include "CDlgSetting.h"

#include "TemplateBuilder.h"

CDlgSetting::CDlgSetting(SettingsRecord& settings, FolderSettingRecord& folder, ui::Dialog* parent)
    : ui::Dialog(makeTemplate(), parent), settings_(settings), folder_(folder) {}

ui::DialogTemplate CDlgSetting::makeTemplate() {
    ui::DialogTemplate t;
    t.id = IDD;
    t.title = "Установки";
    t.width = 420;
    t.height = 316;
    ui::TemplateBuilder b(t);
    b.check(kTemperatureCorrectionOff, "Отключить температурную поправку нач. скорости", 12, 10, 396);
    b.group("Угол места цели", 12, 40, 196, 80)
        .radio(kAngleDegrees, "В градусах", 24, 60, 172, ui::kGroupStart)
        .radio(kAngleCosine, "В косинусах", 24, 86, 172);
    b.group("Цена клика", 216, 40, 192, 80)
        .radio(kClickMoa, "в MOA", 228, 60, 168, ui::kGroupStart)
        .radio(kClickMil, "в MIL'ах", 228, 86, 168);
    b.check(kAddDerivation, "Учитывать деривацию", 12, 130, 396);
    b.check(kAddVerticalDrift, "Учитывать вертикальный снос от бокового ветра", 12, 156, 396);
    b.check(kManualDrift, "Установить зависимость вручную", 32, 182, 376);
    b.edit(kManualDriftPercent, 52, 208, 60, ui::kAlignRight)
        .label("процентов от горизонтального сноса", 118, 208, 290, kManualDriftPercentLabel);
    b.check(kKeepInProgramFolder, "Сохранять данные в папке приложения", 12, 242, 396);
    b.button(ui::kIdOk, "Так точно!", 200, 278, 100, ui::kDefault).button(ui::kIdCancel, "Отставить!", 308, 278, 100);
    return t;
}

bool CDlgSetting::onInitDialog() {
    temperatureCorrectionOff_ = settings_.mvCorrectionOff != 0;
    angleMode_ = settings_.angleMode == kAngleModeCosine ? 1 : 0;
    addDerivation_ = settings_.addDerivation != 0;
    keepInProgramFolder_ = folder_.keepInProgramFolder != 0;
    clickUnit_ = settings_.clickUnit == kClickUnitMil ? 1 : 0;
    addVerticalDrift_ = settings_.addVerticalWindDrift != 0;
    manualDrift_ = settings_.manualDrift != 0;
    manualDriftPercent_ = settings_.manualDriftPercent;
    updateData(false);
    applyEnabling();
    return true;
}

void CDlgSetting::doDataExchange(ui::DataExchange& dx) {
    dx.check(kTemperatureCorrectionOff, temperatureCorrectionOff_);
    dx.radio({kAngleDegrees, kAngleCosine}, angleMode_);
    dx.check(kAddDerivation, addDerivation_);
    dx.check(kKeepInProgramFolder, keepInProgramFolder_);
    dx.radio({kClickMoa, kClickMil}, clickUnit_);
    dx.check(kAddVerticalDrift, addVerticalDrift_);
    dx.check(kManualDrift, manualDrift_);
    dx.number(kManualDriftPercent, manualDriftPercent_);
}

void CDlgSetting::applyEnabling() {
    const bool drift = isChecked(kAddVerticalDrift);
    const bool manual = drift && isChecked(kManualDrift);
    enable(kManualDrift, drift);
    enable(kManualDriftPercent, manual);
    enable(kManualDriftPercentLabel, manual);
}

void CDlgSetting::onCommand(int id, ui::Notify n) {
    if (n == ui::Notify::Clicked && (id == kAddVerticalDrift || id == kManualDrift)) {
        applyEnabling();
        return;
    }
    ui::Dialog::onCommand(id, n);
}

void CDlgSetting::onOK() {
    if (!updateData(true)) return;
    settings_.mvCorrectionOff = temperatureCorrectionOff_ ? 1 : 0;
    settings_.angleMode = angleMode_ == 1 ? kAngleModeCosine : kAngleModeDegrees;
    settings_.addDerivation = addDerivation_ ? 1 : 0;
    folder_.keepInProgramFolder = keepInProgramFolder_ ? 1 : 0;
    settings_.clickUnit = clickUnit_ == 1 ? kClickUnitMil : kClickUnitMoa;
    settings_.addVerticalWindDrift = addVerticalDrift_ ? 1 : 0;
    settings_.manualDrift = manualDrift_ ? 1 : 0;
    settings_.manualDriftPercent = manualDriftPercent_;
    endDialog(ui::kIdOk);
}

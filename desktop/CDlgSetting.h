#pragma once
#include "Dialog.h"
#include "SettingsRecord.h"

// "Установки": the calculator's options. On "Так точно!" every field goes back into the settings
// block (and the keep-in-program-folder flag into the folder setting); "Отставить!" keeps them.
class CDlgSetting : public ui::Dialog {
public:
    enum : int {
        IDD = 150,
        kTemperatureCorrectionOff = 1063,
        kAngleDegrees = 1013,
        kAngleCosine = 1014,
        kClickMoa = 1015,
        kClickMil = 1113,
        kAddDerivation = 1129,
        kAddVerticalDrift = 1130,
        kKeepInProgramFolder = 1133,
        kManualDrift = 1147,
        kManualDriftPercent = 1148,
        kManualDriftPercentLabel = 1149,
    };

    CDlgSetting(SettingsRecord& settings, FolderSettingRecord& folder, ui::Dialog* parent = nullptr);
    static ui::DialogTemplate makeTemplate();

protected:
    bool onInitDialog() override;
    void doDataExchange(ui::DataExchange& dx) override;
    void onCommand(int id, ui::Notify n) override;
    void onOK() override;

private:
    void applyEnabling();

    SettingsRecord& settings_;
    FolderSettingRecord& folder_;
    bool temperatureCorrectionOff_ = false;
    int angleMode_ = 0;
    bool addDerivation_ = false;
    bool keepInProgramFolder_ = false;
    int clickUnit_ = 0;
    bool addVerticalDrift_ = false;
    bool manualDrift_ = false;
    double manualDriftPercent_ = 0.0;
};

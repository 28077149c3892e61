#pragma once
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "BallisticSolver.h"
#include "Dialog.h"
#include "DataFolder.h"
#include "DragLibrary.h"
#include "EngineReporter.h"
#include "KeptFiles.h"
#include "SettingsRecord.h"
#include "Shot.h"
#include "ShotInputs.h"
#include "ShownInput.h"

// Control ids of the main dialog.
namespace ctkdesk {
enum : int {
    IDD = 102,
    kMuzzleVelocity = 1002,
    kBallisticCoefficient = 1003,
    kSightHeight = 1004,
    kTemperature = 1005,
    kWindSpeed = 1006,
    kZeroDistance = 1009,
    kSightLineAngle = 1010,
    kDragFunctionName = 1012,
    kVerticalMoa = 1013,
    kHorizontalCm = 1014,
    kVerticalCm = 1015,
    kPressure = 1018,
    kHumidity = 1019,
    kTargetAngle = 1020,
    kHorizontalMoa = 1021,
    kDistance = 1026,
    kWindAzimuth = 1060,
    kMvTemperature = 1061,
    kMvChange = 1064,
    kClickVertical = 1065,
    kClickHorizontal = 1066,
    kVerticalClicks = 1067,
    kHorizontalClicks = 1068,
    kVerticalMil = 1100,
    kHorizontalMil = 1101,
    kTargetAngleLabel = 1107,
    kClickVerticalLabel = 1134,
    kClickHorizontalLabel = 1135,
    // Commands.
    kCompute = 1000,
    kDragFunctionButton = 1022,
    kTable = 1028,
    kConvertBC = 1035,
    kAbout = 1043,
    kSettings = 1062,
    kPressureUnit = 1077,
    kAddInfo = 1078,
    kZeroingAtmosphere = 1082,
    kExit = 1102,
    kWindAzimuthButton = 1136,
    kSlopeButton = 1138,
};

// Said once after a compute whose corrections or sight-line angle are no number (the fields read
// "не определено").
inline constexpr const char* kUndefinedResultMessage =
    "Результат не определён: с этими исходными данными расчёт не даёт числа. Проверьте исходные данные.";
}  // namespace ctkdesk

// The calculator: every input of a shot, the corrections at the target distance, and the hub from
// which the other windows open. It owns the library, the two solvers and the settings blocks for the
// whole run, loads them at start and saves them when it closes.
class CtkdeskDlg : public ui::Dialog {
public:
    // `userDataFolder`: the user's data folder (created when missing); empty when there is none, and
    // then the current folder stands in.
    CtkdeskDlg(std::filesystem::path programFolder, std::filesystem::path userDataFolder);

    static ui::DialogTemplate makeTemplate();

    const DataFolder& dataFolder() const { return folder_; }
    const SettingsRecord& settings() const { return settings_; }
    const TableSettingsRecord& tableSettings() const { return tableSettings_; }
    const FolderSettingRecord& folderSetting() const { return folderSetting_; }
    const DragLibrary& library() const { return library_; }
    const BallisticSolver& mainSolver() const { return main_; }
    const ShotInputs& inputs() const { return inputs_; }
    StartLoad libraryLoad() const { return libraryLoad_; }

    // "Вычислить": the corrections at the target distance. False when the fields could not be used.
    bool compute();

protected:
    bool onInitDialog() override;
    void doDataExchange(ui::DataExchange& dx) override;
    void onCommand(int id, ui::Notify n) override;
    bool preTranslateKey(int id, const ui::KeyEvent& k) override;
    void onOK() override;
    void onCancel() override;
    void onHelp() override;
    void onDestroy() override;

private:
    // The fields into the inputs: pressure in mm Hg, target angle in degrees, click values in MOA.
    // A field that does not parse or holds a value no real shot has is refused: one message naming
    // it, the focus there, its text kept, and the inputs stay as they were (false).
    bool fieldsToInputs();
    // When the window goes away without asking: every field that can be used is taken, the others
    // keep their last good values; no message.
    void keepUsableFields();
    // The shown values into the inputs (the conversions of fieldsToInputs).
    void shownToInputs();
    // The number an input field shows, and its input as the field shows it; nullptr/nothing for a
    // control that is not an input field.
    double* fieldValue(int id);
    std::optional<ShownInput> shownInput(int id) const;
    // The field's value in the input's own unit; nothing when it has none (a cosine outside -1...1).
    std::optional<double> inputOf(int id, double shown) const;
    ShownUnit unitOf(int id) const;
    // A result field's number; nullptr for other controls.
    double* resultValue(int id);
    // The fields into the inputs, and the inputs into the main solver (Compute steps 1 to 3).
    bool fieldsToSolver();
    // The options dialog edits the settings record: the inputs go there before and come back after.
    void inputsFromSettings();
    void setDragFunction(const DragFunc& f);
    void angleDisplay();
    void clickDisplay();
    void pressureDisplay();
    void zeroingButtonText();
    void correctionColours();
    void switchPressureUnit();
    void openSettings();
    void openZeroingAtmosphere();
    void openAbout();
    void openTable();
    void openConvertBC();
    // "Драг-функция >>": the manager; its choice becomes the current function and is computed.
    void openDragFunctions();
    void openAddInfo();
    void openWindDirection();
    void openSlopeDraw();
    void showEngineMessages();
    // Gathers the settings and writes every file; when some cannot be written the user is told and
    // may try again, or close without them (told once a run).
    void save();
    void gatherSettings();
    // The library and the settings files; the paths of those that could not be written.
    std::vector<std::filesystem::path> writeFiles();
    void applyFolderRedirection();
    // The two settings files into the records and the inputs, unusable values replaced; what could
    // not be taken is kept aside before the first save and noted for reportStartProblems().
    void loadSettingsFiles();
    void noteKept(const std::filesystem::path& file, const std::string& why);
    // One message, when the start found anything the user must know: a data folder that cannot be
    // written, files kept aside, values replaced.
    void reportStartProblems();

    std::filesystem::path programFolder_;
    std::filesystem::path userDataFolder_;
    DataFolder folder_ = DataFolder::at({});
    SettingsRecord settings_;
    TableSettingsRecord tableSettings_;
    FolderSettingRecord folderSetting_;
    DragLibrary library_;
    StartLoad libraryLoad_ = StartLoad::Library;
    BallisticSolver main_;
    BallisticSolver zeroing_;
    MessageCollector messages_;
    KeptFiles kept_;  // settings files not taken in whole, copied aside before they are overwritten
    struct StartNotes {
        std::vector<std::string> kept;      // "settings.dat → settings.dat.bak (why)"
        std::vector<std::string> replaced;  // labels of values back at their first-run values
    } startNotes_;
    bool saveFailureTold_ = false;

    // Every input of the shot; the fields named in the template show them as they are.
    ShotInputs inputs_;
    DragFunc dragFunction_;      // the current function
    ShotAnswer answer_;          // of the last compute
    // The fields that show an input in a unit of the user's choice, as shown.
    struct ShownValues {
        double targetAngle = 0.0;      // degrees or cosine
        double clickVertical = 0.0;    // MOA or MIL
        double clickHorizontal = 0.0;
        double pressure = 0.0;         // mm Hg or hPa
    };
    ShownValues shown_;
    double verticalMoa_ = 0.0, verticalMil_ = 0.0, verticalCm_ = 0.0, verticalClicks_ = 0.0;
    double horizontalMoa_ = 0.0, horizontalMil_ = 0.0, horizontalCm_ = 0.0, horizontalClicks_ = 0.0;
    double sightLineAngle_ = 0.0;
    double densityRatio_ = 0.0;  // kept, not shown
    std::string dragFunctionName_;  // UTF-8
};

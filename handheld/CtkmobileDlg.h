#pragma once
#include <filesystem>

#include "BallisticSolver.h"
#include "EngineReporter.h"
#include "HandheldSession.h"
#include "MobileScreen.h"
#include "Shot.h"

namespace ctkmobile {
enum : int {
    IDD = 200,
    kDistance = 1001,
    kWindSpeed = 1002,
    kTargetAngle = 1003,
    kWindAzimuth = 1004,
    kTargetAngleLabel = 1005,
    kDistanceMinus = 1011, kDistancePlus, kWindMinus, kWindPlus, kAngleMinus, kAnglePlus, kAzimuthMinus, kAzimuthPlus,
    kVerticalLabel = 1021,
    kVertical = 1022,
    kHorizontalLabel = 1023,
    kHorizontal = 1024,
    kStatus = 1025,
    // Commands.
    kInputs = 1030,
    kCompute = 1031,
    kTable = 1032,
    kAddInfo = 1033,
    kMenu = 1034,
    kSlopePicker = 1035,
    kWindPicker = 1036,
    // The items of "Меню".
    kMenuExit = 1101,
    kMenuSettings = 1102,
    kMenuAbout = 1103,
    kMenuHelp = 1104,
};
}  // namespace ctkmobile

// The handheld's main screen: the four inputs a shooter changes at each shot, "Вычислить" and its two
// corrections, and the way to every other screen. Lives for the whole run; its settings are saved
// whenever it ends, however that happens.
class CtkmobileDlg : public MobileScreen {
public:
    explicit CtkmobileDlg(std::filesystem::path dataFolder);
    static ui::DialogTemplate makeTemplate();

    HandheldSession& session() { return session_; }

    // "Вычислить": false when a field could not be used (it was named, the focus is there).
    bool compute();
    // The session ends without the window's say (SIGTERM, the shell's logout): what can be kept is
    // kept and saved.
    void endSession();

protected:
    bool onInitDialog() override;
    void onCommand(int id, ui::Notify n) override;
    bool preTranslateKey(int id, const ui::KeyEvent& k) override;
    void onOK() override;
    void onDestroy() override;

private:
    void openMenu();
    void openInputs();
    void openSettings();
    void openTable();
    void openAddInfo();
    void openWind();
    void openSlope();
    void showUnits();
    void showResults();
    void showStatus();
    // The settings files written; a failure is said.
    void save();
    // The main screen's fields that can be used, into the inputs (no message).
    void keepUsableFields();

    HandheldSession session_;
    BallisticSolver main_;
    BallisticSolver zeroing_;
    MessageCollector messages_;
    ShotAnswer answer_;
    bool computed_ = false;
    bool saved_ = false;
};

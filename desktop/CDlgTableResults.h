#pragma once
#include <chrono>
#include <string>
#include <vector>

#include "BallisticSolver.h"
#include "CDlgItemResizer.h"
#include "CorrectionTable.h"
#include "Dialog.h"
#include "EngineReporter.h"
#include "SettingsRecord.h"
#include "ShotInputs.h"

// "Таблица поправок": the corrections over a range of distances on the main solver, which the main
// dialog has zeroed. The range, step and columns persist in the table settings through "Закрыть";
// the two option boxes act on the program's settings at once. "Экспорт" writes the list as shown to
// a CSV file or an XML spreadsheet.
class CDlgTableResults : public ui::Dialog {
public:
    enum : int {
        IDD = 161,
        kStep100 = 1013,
        kStep50 = 1014,
        kStep25 = 1015,
        kStep10 = 1113,
        kStep5 = 1136,
        kFirst = 1114,
        kLast = 1100,
        kVelocity = 1101,
        kTime = 1103,
        kVerticalCm = 1105,
        kVerticalMoa = 1106,
        kVerticalMil = 1107,
        kVerticalClicks = 1108,
        kHorizontalCm = 1112,
        kHorizontalMoa = 1109,
        kHorizontalMil = 1110,
        kHorizontalClicks = 1111,
        kAddDerivation = 1129,
        kAddVerticalDrift = 1130,
        kFill = 1095,
        kClose = 1074,
        kList = 1132,
        kExport = 1140,
        kProgress = 1141,
        // Items of the "Экспорт" menu.
        kExportXml = 32775,
        kExportCsv = 32776,
    };
    static constexpr int kMaxDistance = 3000;

    // `main`: the calculator's solver, loaded with `inputs` and `dragFunction` and zeroed. The two
    // option boxes act on `inputs` at once. `messages`: where the main solver reports; its messages
    // are shown after each fill.
    CDlgTableResults(BallisticSolver& main, ShotInputs& inputs, const DragFunc& dragFunction, TableSettingsRecord& table,
                     MessageCollector* messages = nullptr, ui::Dialog* parent = nullptr);
    static ui::DialogTemplate makeTemplate();

    // Fills the list (the "Вычислить" command).
    void fill();
    // A fill that takes longer than this shows a progress bar (150 ms unless set).
    void setProgressDelay(std::chrono::milliseconds delay) { progressDelay_ = delay; }
    // How long the last fill took, table and list together.
    std::chrono::steady_clock::duration lastFillTime() const { return lastFillTime_; }

protected:
    bool onInitDialog() override;
    void doDataExchange(ui::DataExchange& dx) override;
    void onCommand(int id, ui::Notify n) override;
    void onSize(int width, int height) override;

private:
    static const int kColumnFlagIds[10];
    double stepMetres() const;
    void close();
    void exportReport(bool xml);

    BallisticSolver& main_;
    ShotInputs& inputs_;
    const DragFunc& dragFunction_;
    ShotSummary summary_;  // of the last fill
    TableSettingsRecord& table_;
    MessageCollector* messages_;
    CDlgItemResizer resizer_;
    std::chrono::steady_clock::duration lastFillTime_{};
    std::chrono::milliseconds progressDelay_{150};

    int stepIndex_ = 0;
    double first_ = 0.0;
    double last_ = 0.0;
    bool flags_[10] = {};
    bool addDerivation_ = false;
    bool addVerticalDrift_ = false;
};

#pragma once
#include <functional>

#include "BallisticSolver.h"
#include "EngineReporter.h"
#include "MobileScreen.h"
#include "SettingsRecord.h"

// The results table: the corrections over the range of the table settings (clamped to 0–3000 m),
// the columns they switch on, the cells as the desktop's table shows them. "Установки" opens the
// table settings (saved at once when taken), "Закрыть" goes back.
class CDlgMobileTable : public MobileScreen {
public:
    enum : int { IDD = 260, kList = 1001, kSettings = 1002 };
    // `main`: the main screen's solver, loaded and zeroed for the shot.
    CDlgMobileTable(BallisticSolver& main, const ShotInputs& inputs, TableSettingsRecord& table,
                    MessageCollector* messages, std::function<void()> save, ui::Dialog* parent);
    static ui::DialogTemplate makeTemplate();
    void fill();

protected:
    bool onInitDialog() override;
    void onCommand(int id, ui::Notify n) override;

private:
    BallisticSolver& main_;
    const ShotInputs& inputs_;
    TableSettingsRecord& table_;
    MessageCollector* messages_;
    std::function<void()> save_;
};

// "Установки для выдачи таблицы поправок": the columns, the distance step and the range.
class CDlgMobileTableSettings : public MobileScreen {
public:
    enum : int {
        IDD = 261,
        kVelocity = 1001, kTime,
        kVerticalCm, kVerticalMil, kVerticalMoa, kVerticalClicks,
        kHorizontalCm, kHorizontalMil, kHorizontalMoa, kHorizontalClicks,
        kStep100 = 1020, kStep50, kStep25, kStep10, kStep5, kStep1,
        kFirst = 1030, kLast = 1031,
    };
    CDlgMobileTableSettings(const TableSettingsRecord& table, ui::Dialog* parent);
    static ui::DialogTemplate makeTemplate();
    const TableSettingsRecord& table() const { return table_; }

protected:
    bool onInitDialog() override;
    void onOK() override;

private:
    TableSettingsRecord table_;
};

#include "CDlgMobileTable.h"

#include <cmath>

#include "CorrectionTable.h"
#include "NumberText.h"
#include "ShotSettings.h"
#include "TableColumns.h"

using namespace mobile;

namespace {
constexpr double kSteps[6] = {100.0, 50.0, 25.0, 10.0, 5.0, 1.0};

// The check box of each table column: its id and the column's flag.
struct ColumnBox {
    int id;
    int32_t TableSettingsRecord::*shown;
};
constexpr ColumnBox kBoxes[10] = {
    {CDlgMobileTableSettings::kVelocity, &TableSettingsRecord::showVelocity},
    {CDlgMobileTableSettings::kTime, &TableSettingsRecord::showTimeOfFlight},
    {CDlgMobileTableSettings::kVerticalCm, &TableSettingsRecord::showVerticalCm},
    {CDlgMobileTableSettings::kVerticalMil, &TableSettingsRecord::showVerticalMil},
    {CDlgMobileTableSettings::kVerticalMoa, &TableSettingsRecord::showVerticalMoa},
    {CDlgMobileTableSettings::kVerticalClicks, &TableSettingsRecord::showVerticalClicks},
    {CDlgMobileTableSettings::kHorizontalCm, &TableSettingsRecord::showHorizontalCm},
    {CDlgMobileTableSettings::kHorizontalMil, &TableSettingsRecord::showHorizontalMil},
    {CDlgMobileTableSettings::kHorizontalMoa, &TableSettingsRecord::showHorizontalMoa},
    {CDlgMobileTableSettings::kHorizontalClicks, &TableSettingsRecord::showHorizontalClicks},
};
}  // namespace

// --- the table ---

ui::DialogTemplate CDlgMobileTable::makeTemplate() {
    ui::DialogTemplate t = frame(IDD, "Таблица поправок");
    t.controls.push_back({kList, ui::Kind::ListView, "", {kMargin, kMargin, kInner, kSoftKeyTop - 2 * kMargin},
                          ui::kFullRowSelect | ui::kGridLines | ui::kSingleSelection});
    softKeys(t, {kSettings, "Установки"}, {ui::kIdCancel, kCloseText});
    return t;
}

CDlgMobileTable::CDlgMobileTable(BallisticSolver& main, const ShotInputs& inputs, TableSettingsRecord& table,
                                 MessageCollector* messages, std::function<void()> save, ui::Dialog* parent)
    : MobileScreen(makeTemplate(), parent), main_(main), inputs_(inputs), table_(table), messages_(messages),
      save_(std::move(save)) {}

bool CDlgMobileTable::onInitDialog() {
    MobileScreen::onInitDialog();
    fill();
    return true;
}

void CDlgMobileTable::fill() {
    ui::DialogWindow& w = window();
    w.deleteAllRows(kList);
    w.deleteAllColumns(kList);
    w.addColumn(kList, {kDistanceColumn.title, kDistanceColumn.width, kDistanceColumn.align});
    std::vector<size_t> present;
    for (size_t i = 0; i < tableColumns().size(); ++i) {
        const TableColumn& c = tableColumns()[i];
        if (table_.*c.shown == 0) continue;
        w.addColumn(kList, {c.title, c.width, c.align});
        present.push_back(i);
    }
    // As far as the desktop's table goes: 0 to 3000 m.
    const TableFill fill = fillCorrectionTable(main_, tableRangeFrom(table_).clamped(), driftOptions(inputs_));
    w.batchUpdate(kList, true);
    int row = 0;
    for (const DistanceCorrections& c : fill.rows) {
        const std::array<std::string, 10> cells = tableCells(c);
        w.insertRow(kList, row, distanceCell(c));
        int column = 1;
        for (size_t i : present) w.setCell(kList, row, column++, cells[i]);
        ++row;
    }
    w.batchUpdate(kList, false);
    if (messages_)
        for (const EngineMessage m : messages_->take()) messageBox(std::string(engineMessageText(m)));
}

void CDlgMobileTable::onCommand(int id, ui::Notify n) {
    if (id == kSettings && n == ui::Notify::Clicked) {
        CDlgMobileTableSettings dlg(table_, this);
        if (dlg.doModal() != ui::kIdOk) return;
        table_ = dlg.table();
        save_();
        fill();
        return;
    }
    MobileScreen::onCommand(id, n);
}

// --- the table settings ---

ui::DialogTemplate CDlgMobileTableSettings::makeTemplate() {
    ui::DialogTemplate t = frame(IDD, "Установки для выдачи таблицы поправок");
    ui::TemplateBuilder b(t);
    int y = kMargin;
    b.check(kVelocity, "Скорость", kMargin, y, 160).check(kTime, "Время", kMargin + 172, y, 160);
    y += kRow + 4;
    const int w = kInner / 4;
    const char* vertical[4] = {"см", "МИЛы", "MOA", "клики"};
    const char* horizontal[4] = {"см", "Милы", "MOA", "клики"};
    b.label("Вертикальные поправки", kMargin, y, kInner, ui::kStaticId, 0, kLabel);
    y += kLabel + 2;
    for (int i = 0; i < 4; ++i) b.add(kVerticalCm + i, ui::Kind::CheckBox, vertical[i], {kMargin + i * w, y, w, kRow}, 0);
    y += kRow + 4;
    b.label("Горизонтальные поправки", kMargin, y, kInner, ui::kStaticId, 0, kLabel);
    y += kLabel + 2;
    for (int i = 0; i < 4; ++i)
        b.add(kHorizontalCm + i, ui::Kind::CheckBox, horizontal[i], {kMargin + i * w, y, w, kRow}, 0);
    y += kRow + 4;
    b.label("Шаг дистанции", kMargin, y, kInner, ui::kStaticId, 0, kLabel);
    y += kLabel + 2;
    const char* steps[6] = {"100 м", "50 м", "25 м", "10 м", "5 м", "1 м"};
    const int sw = kInner / 3;
    for (int i = 0; i < 6; ++i)
        b.add(kStep100 + i, ui::Kind::Radio, steps[i], {kMargin + (i % 3) * sw, y + (i / 3) * (kRow + 2), sw, kRow},
              i == 0 ? unsigned{ui::kGroupStart} : 0u);
    y += 2 * (kRow + 2) + 8;
    b.label("Дистанция с", kMargin, y + 8, 110, ui::kStaticId, 0, kLabel)
        .add(kFirst, ui::Kind::Edit, "", {kMargin + 110, y, 80, kRow}, ui::kNumeric)
        .label("по", kMargin + 198, y + 8, 30, ui::kStaticId, 0, kLabel)
        .add(kLast, ui::Kind::Edit, "", {kMargin + 228, y, 80, kRow}, ui::kNumeric)
        .label("м", kMargin + 314, y + 8, 26, ui::kStaticId, 0, kLabel);
    softKeys(t, {ui::kIdOk, kOkText}, {ui::kIdCancel, kCancelText});
    return t;
}

CDlgMobileTableSettings::CDlgMobileTableSettings(const TableSettingsRecord& table, ui::Dialog* parent)
    : MobileScreen(makeTemplate(), parent), table_(table) {}

bool CDlgMobileTableSettings::onInitDialog() {
    MobileScreen::onInitDialog();
    for (const ColumnBox& box : kBoxes) setChecked(box.id, table_.*box.shown != 0);
    for (int i = 0; i < 6; ++i) setChecked(kStep100 + i, table_.distanceStep == kSteps[i]);
    setText(kFirst, ui::formatNumber(table_.firstDistance));
    setText(kLast, ui::formatNumber(table_.lastDistance));
    return true;
}

void CDlgMobileTableSettings::onOK() {
    const std::optional<double> first = ui::parseNumber(text(kFirst));
    const std::optional<double> last = ui::parseNumber(text(kLast));
    if (!first || !std::isfinite(*first)) return refuseField(kFirst, ui::enterNumberMessage("Дистанция с"));
    if (!last || !std::isfinite(*last)) return refuseField(kLast, ui::enterNumberMessage("Дистанция по"));
    TableSettingsRecord t = table_;
    for (const ColumnBox& box : kBoxes) t.*box.shown = isChecked(box.id) ? 1 : 0;
    for (int i = 0; i < 6; ++i)
        if (isChecked(kStep100 + i)) t.distanceStep = kSteps[i];
    // Kept as the table computes it: 0 to 3000 m.
    const TableRange range = TableRange{*first, *last, t.distanceStep}.clamped();
    t.firstDistance = range.first;
    t.lastDistance = range.last;
    table_ = t;
    endDialog(ui::kIdOk);
}

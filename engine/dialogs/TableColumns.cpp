#include "TableColumns.h"

#include "FixedText.h"
#include "RoundTo.h"

namespace {
constexpr TableColumn kColumns[10] = {
    {&TableSettingsRecord::showVelocity, "Скорость, м/с", ui::Align::Center, 100},
    {&TableSettingsRecord::showTimeOfFlight, "Время, сек", ui::Align::Center, 80},
    {&TableSettingsRecord::showVerticalCm, "см, Верт. поправка", ui::Align::Center, 146},
    {&TableSettingsRecord::showVerticalMoa, "MOA, Верт. поправка", ui::Align::Center, 146},
    {&TableSettingsRecord::showVerticalMil, "МИЛы, Верт. поправка", ui::Align::Center, 146},
    {&TableSettingsRecord::showVerticalClicks, "Клики, Верт. поправка", ui::Align::Center, 146},
    {&TableSettingsRecord::showHorizontalCm, "см, Гор. поправка", ui::Align::Center, 146},
    {&TableSettingsRecord::showHorizontalMoa, "MOA, Гор. поправка", ui::Align::Center, 146},
    {&TableSettingsRecord::showHorizontalMil, "МИЛы, Гор. поправка", ui::Align::Center, 146},
    {&TableSettingsRecord::showHorizontalClicks, "Клики, Гор. поправка", ui::Align::Center, 146},
};
}  // namespace

std::span<const TableColumn> tableColumns() { return kColumns; }

std::string distanceCell(const DistanceCorrections& c) { return formatFixed(c.distance, 1); }

std::array<std::string, 10> tableCells(const DistanceCorrections& c) {
    const ShownCorrections s = shownCorrections(c);
    return {
        formatFixed(RoundTo(c.row.velocity, 2), 1), formatFixed(RoundTo(c.row.timeOfFlight, 2), 2),
        formatFixed(s.vertical.cm, 2),              formatFixed(s.vertical.moa, 2),
        formatFixed(s.vertical.mil, 1),             formatFixed(s.vertical.clicks, 1),
        formatFixed(s.horizontal.cm, 1),            formatFixed(s.horizontal.moa, 2),
        formatFixed(s.horizontal.mil, 2),           formatFixed(s.horizontal.clicks, 1),
    };
}

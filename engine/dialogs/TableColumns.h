#pragma once
#include <array>
#include <cstdint>
#include <span>
#include <string>

#include "SettingsRecord.h"
#include "Shot.h"
#include "UiTypes.h"

// The correction table's columns as both calculators show them: the distance, then the ten the
// table settings switch on and off, each with its title, alignment and width (pixels at 96 dpi).
struct TableColumn {
    int32_t TableSettingsRecord::*shown;  // the column's flag in the table settings
    const char* title;
    ui::Align align;
    int width;
};
inline constexpr TableColumn kDistanceColumn{nullptr, "Дистанция, метры", ui::Align::Left, 128};
std::span<const TableColumn> tableColumns();

// A row's cells as the table shows them: the distance, then one for each of tableColumns().
std::string distanceCell(const DistanceCorrections& c);
std::array<std::string, 10> tableCells(const DistanceCorrections& c);

#include "CDlgDrugFuncEdit.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <tuple>

#include "CDlgDragEditPlot.h"
#include "CDlgSDCalc.h"
#include "CDlgSFCalc.h"
#include "CInPlaceEdit.h"
#include "CurveAdjust.h"
#include "NumberText.h"
#include "ResultText.h"
#include "TemplateBuilder.h"
#include "TextCodec.h"

namespace {

// The six numbers of the function the dialog shows, with their fields.
struct NumberField {
    int id;
    double DragFunc::*member;
    const char* label;
};
constexpr NumberField kNumberFields[] = {
    {CDlgDrugFuncEdit::kSectionalDensity, &DragFunc::sectionalDensity, "Поперечная нагрузка (sectional density)"},
    {CDlgDrugFuncEdit::kStabilityFactor, &DragFunc::stabilityFactor, "Фактор гироскопической стабильности"},
    {CDlgDrugFuncEdit::kLength, &DragFunc::bulletLength, "Длина пули в дюймах"},
    {CDlgDrugFuncEdit::kDiameter, &DragFunc::bulletDiameter, "Диаметр пули в дюймах"},
    {CDlgDrugFuncEdit::kWeight, &DragFunc::bulletWeight, "Вес пули в грейнах"},
    {CDlgDrugFuncEdit::kTwist, &DragFunc::twist, "Шаг нарезов, дюймы"},
};

// The label above a number's field.
constexpr int labelOf(int fieldId) { return fieldId + 2000; }

constexpr int kMachColumn = 0;
constexpr int kCdColumn = 1;

// "%.3f" whatever the locale; "не определено" for what is no number.
std::string cellText(double v) {
    if (!std::isfinite(v)) return kUndefinedText;
    char buffer[64];
    const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, v, std::chars_format::fixed, 3);
    return ec == std::errc() ? std::string(buffer, end) : std::string();
}

}  // namespace

CDlgDrugFuncEdit::CDlgDrugFuncEdit(const DragFunc& f, const BallisticSolver& solver, double& curveStep,
                                   ui::Dialog* parent)
    : ui::Dialog(makeTemplate(), parent),
      function_(f),
      solver_(solver),
      curveStep_(curveStep),
      name_(cp1251ToUtf8(f.nameText())),
      description_(cp1251ToUtf8(std::string_view(f.description, strnlen(f.description, sizeof f.description)))),
      numbers_(f) {}

ui::DialogTemplate CDlgDrugFuncEdit::makeTemplate() {
    ui::DialogTemplate t;
    t.id = IDD;
    t.title = "Редактирование";
    t.width = 800;
    t.height = 520;
    // It grows (a longer table, wider names); smaller, the buttons would cover the fields.
    t.resizable = true;
    ui::TemplateBuilder b(t);
    b.label("Отредактировав драг-функцию, нажмите «Сохранить».", 10, 4, 780, kHelp1);
    b.label("Калькулятор будет пользоваться ею, только когда Вы выберете сохранённую функцию в списке "
            "и нажмёте «Выбрать».",
            10, 22, 780, kHelp2);
    b.label("Имя драг-функции:", 10, 50, 140).edit(kName, 150, 50, 640);
    b.label("Описание:", 10, 78, 140).edit(kDescription, 150, 78, 640);
    b.add(kTable, ui::Kind::ListView, {}, ui::Rect{10, 112, 474, 350}, ui::kEditLabels | ui::kGridLines | ui::kFullRowSelect);
    // The numbers beside the table, each label above its field.
    int y = 112;
    for (const NumberField& f : kNumberFields) {
        b.add(labelOf(f.id), ui::Kind::Label, f.label, ui::Rect{496, y, 294, ui::kLabelHeight}, ui::kNoStyle);
        const bool calculated = f.id == kSectionalDensity || f.id == kStabilityFactor;
        b.edit(f.id, 496, y + 18, calculated ? 236 : 294, ui::kAlignRight);
        if (calculated)
            b.button(f.id == kSectionalDensity ? kSectionalDensityCalc : kStabilityFactorCalc, "=", 740, y + 16, 50);
        y += 50;
    }
    b.button(kEditCurve, "Редактировать по графику", 496, y + 6, 294);
    b.button(ui::kIdOk, "Сохранить", 554, 478, 115).button(ui::kIdCancel, "Отставить!", 675, 478, 115);
    return t;
}

bool CDlgDrugFuncEdit::onInitDialog() {
    ui::DialogWindow& w = window();
    w.addColumn(kTable, {"Скорость в Махах", 150, ui::Align::Center});
    w.addColumn(kTable, {"Драг-коэффициент", 150, ui::Align::Center});
    w.addColumn(kTable, {"   ", 150, ui::Align::Center});
    table_.setValidEditChars(kCellChars);
    table_.attach(*this, kTable);
    fillTable(function_.points);
    updateData(false);
    // A number from a file that is no number reads as the calculators show one; it must be
    // replaced before the function is saved.
    for (const NumberField& f : kNumberFields)
        if (!std::isfinite(numbers_.*f.member)) setText(f.id, resultText(numbers_.*f.member));

    resizer_.clear();
    using R = CDlgItemResizer;
    for (int id : {kHelp1, kHelp2, kName, kDescription}) resizer_.add(w, id, R::kLeft | R::kRight | R::kTop);
    resizer_.add(w, kTable, R::kLeft | R::kRight | R::kTop | R::kBottom);
    for (int id : {ui::kIdOk, ui::kIdCancel}) resizer_.add(w, id, R::kRight | R::kBottom);
    // The numbers keep to the right of the table.
    for (const NumberField& f : kNumberFields)
        for (int id : {f.id, labelOf(f.id)}) resizer_.add(w, id, R::kRight | R::kTop);
    for (int id : {kSectionalDensityCalc, kStabilityFactorCalc, kEditCurve}) resizer_.add(w, id, R::kRight | R::kTop);
    return true;
}

void CDlgDrugFuncEdit::onSize(int width, int height) { resizer_.resize(window(), width, height); }

void CDlgDrugFuncEdit::doDataExchange(ui::DataExchange& dx) {
    dx.text(kName, name_);
    dx.text(kDescription, description_);
    for (const NumberField& f : kNumberFields) dx.number(f.id, numbers_.*f.member, f.label);
}

void CDlgDrugFuncEdit::fillTable(const std::vector<DragElement>& points) {
    ui::DialogWindow& w = window();
    w.batchUpdate(kTable, true);
    w.deleteAllRows(kTable);
    rowPoints_.clear();
    for (const DragElement& p : points) {
        const int row = w.rowCount(kTable);
        w.insertRow(kTable, row, cellText(p.mach));
        w.setCell(kTable, row, kCdColumn, cellText(p.cd));
        rowPoints_.push_back(p);
    }
    w.batchUpdate(kTable, false);
}

bool CDlgDrugFuncEdit::readFields() { return updateData(true); }

DragFunc CDlgDrugFuncEdit::withFields() const {
    DragFunc f = function_;
    // CP1251 has one byte a character, so the byte limits cut between characters.
    f.setName(utf8ToCp1251(name_));
    f.setDescription(utf8ToCp1251(description_));
    for (const NumberField& field : kNumberFields) f.*field.member = numbers_.*field.member;
    return f;
}

std::optional<std::vector<DragElement>> CDlgDrugFuncEdit::readTable() {
    ui::DialogWindow& w = window();
    const int rows = w.rowCount(kTable);
    // A cell still showing the text it was filled with gives the point's own value.
    auto value = [&](int row, int column) -> std::optional<double> {
        const std::string text = w.cell(kTable, row, column);
        std::optional<double> v;
        std::optional<DragElement> origin;
        if (static_cast<size_t>(row) < rowPoints_.size()) origin = rowPoints_[row];
        if (origin && text == cellText(column == kMachColumn ? origin->mach : origin->cd))
            v = column == kMachColumn ? origin->mach : origin->cd;
        else
            v = ui::parseNumber(text);
        if (v && !std::isfinite(*v)) v.reset();
        return v;
    };
    std::vector<DragElement> points;
    for (int row = 0; row < rows; ++row) {
        // No Cd, or Cd 0: the row is left out (the rows a new function starts with).
        const std::optional<double> cd = value(row, kCdColumn);
        if (!cd || *cd == 0) continue;
        const std::optional<double> mach = value(row, kMachColumn);
        if (!mach) {
            for (int selected : w.selectedRows(kTable)) w.selectRow(kTable, selected, false);
            w.selectRow(kTable, row, true);
            w.ensureRowVisible(kTable, row);
            messageBox("Строка " + std::to_string(row + 1) + ": драг-коэффициент есть, а скорость в Махах «" +
                           w.cell(kTable, row, kMachColumn) +
                           "» - не число.\nВведите скорость или удалите строку.",
                       {}, ui::Buttons::Ok, ui::Icon::Warning);
            w.setFocus(kTable);
            return std::nullopt;
        }
        points.push_back({*mach, *cd});
    }
    // The Cd lookup and the curve editor take the points in ascending Mach order.
    sortByMach(points);
    return points;
}

void CDlgDrugFuncEdit::endCellEditing() {
    if (CInPlaceEdit::instance().list() == &table_) CInPlaceEdit::instance().end();
}

std::optional<DragFunc> CDlgDrugFuncEdit::collect() {
    endCellEditing();
    if (!readFields()) return std::nullopt;
    DragFunc f = withFields();
    if (window().rowCount(kTable) > 0) {
        std::optional<std::vector<DragElement>> points = readTable();
        if (!points) return std::nullopt;
        f.points = std::move(*points);
    }
    return f;
}

bool CDlgDrugFuncEdit::fieldsUsable() {
    // The library keeps names in Windows-1251: what it has no letter for would come back as "?".
    for (const auto& [id, text, label] : {std::tuple{kName, &name_, "Имя драг-функции"},
                                          std::tuple{kDescription, &description_, "Описание"}}) {
        bool lossless = true;
        utf8ToCp1251(*text, &lossless);
        if (!lossless) {
            refuseField(id, std::string(label) +
                                ": есть знаки, которых нет в кодировке Windows-1251 (они стали бы «?»); "
                                "замените их.");
            return false;
        }
    }
    const double sd = numbers_.sectionalDensity;
    if (sd == 0) {
        refuseField(kSectionalDensity, kZeroSectionalDensityMessage);
        return false;
    }
    // It is the ballistic coefficient of a special function: the solver divides by it.
    if (!std::isfinite(sd) || !(sd > 0)) {
        refuseField(kSectionalDensity, kBadSectionalDensityMessage);
        return false;
    }
    for (const NumberField& f : kNumberFields) {
        if (!std::isfinite(numbers_.*f.member)) {
            refuseField(f.id, std::string(f.label) + ": введите конечное число.");
            return false;
        }
    }
    return true;
}

void CDlgDrugFuncEdit::onOK() {
    // A cell still open counts with what it shows.
    endCellEditing();
    if (!readFields() || !fieldsUsable()) return;
    // An empty table takes nothing over: the function stays as it came, fields and all.
    if (window().rowCount(kTable) == 0) {
        endDialog(ui::kIdOk);
        return;
    }
    std::optional<std::vector<DragElement>> points = readTable();
    if (!points) return;
    function_ = withFields();
    function_.points = std::move(*points);
    endDialog(ui::kIdOk);
}

void CDlgDrugFuncEdit::editCurve() {
    const std::optional<DragFunc> f = collect();
    if (!f) return;
    CDlgDragEditPlot dlg(*f, curveStep_, this);
    if (dlg.doModal() == ui::kIdOk) fillTable(dlg.points());
}

void CDlgDrugFuncEdit::calculateSectionalDensity() {
    if (!readFields()) return;
    CDlgSDCalc dlg(withFields(), this);
    if (dlg.doModal() != ui::kIdOk) return;
    numbers_.sectionalDensity = dlg.sectionalDensity();
    setText(kSectionalDensity, ui::formatNumber(numbers_.sectionalDensity));
}

void CDlgDrugFuncEdit::calculateStabilityFactor() {
    if (!readFields()) return;
    CDlgSFCalc dlg(withFields(), solver_, this);
    if (dlg.doModal() != ui::kIdOk) return;
    numbers_.stabilityFactor = dlg.stabilityFactor();
    setText(kStabilityFactor, ui::formatNumber(numbers_.stabilityFactor));
}

void CDlgDrugFuncEdit::onCommand(int id, ui::Notify n) {
    if (n == ui::Notify::Clicked) {
        switch (id) {
            case kSectionalDensityCalc: return calculateSectionalDensity();
            case kStabilityFactorCalc: return calculateStabilityFactor();
            case kEditCurve: return editCurve();
            default: break;
        }
    }
    ui::Dialog::onCommand(id, n);
}

void CDlgDrugFuncEdit::showTableMenu(int row, ui::Point at) {
    // A cell being edited ends first: the rows may move.
    endCellEditing();
    const bool anySelected = !window().selectedRows(kTable).empty();
    const std::vector<ui::MenuItem> items = {
        {kInsertRow, "Вставить строку"},
        {kDeleteRow, "Удалить строку", anySelected},
    };
    switch (ui::backend().popupMenu(&window(), kTable, at, items)) {
        case kInsertRow: insertRow(row); break;
        case kDeleteRow: deleteSelectedRows(); break;
        default: break;
    }
}

void CDlgDrugFuncEdit::insertRow(int row) {
    endCellEditing();
    ui::DialogWindow& w = window();
    const std::vector<int> selected = w.selectedRows(kTable);
    int at = w.rowCount(kTable);
    if (row >= 0 && std::find(selected.begin(), selected.end(), row) != selected.end())
        at = row;
    else if (!selected.empty())
        at = *std::min_element(selected.begin(), selected.end());
    for (int r : selected) w.selectRow(kTable, r, false);
    w.insertRow(kTable, at, kNewRowText);
    rowPoints_.insert(rowPoints_.begin() + std::min<size_t>(at, rowPoints_.size()), std::nullopt);
    w.selectRow(kTable, at, true);
    w.ensureRowVisible(kTable, at);
    w.setFocus(kTable);
}

void CDlgDrugFuncEdit::deleteSelectedRows() {
    endCellEditing();
    ui::DialogWindow& w = window();
    std::vector<int> selected = w.selectedRows(kTable);
    std::sort(selected.rbegin(), selected.rend());
    for (int row : selected) {
        w.deleteRow(kTable, row);
        if (static_cast<size_t>(row) < rowPoints_.size()) rowPoints_.erase(rowPoints_.begin() + row);
    }
}

void CDlgDrugFuncEdit::onListContextMenu(int id, int row, ui::Point at) {
    if (id == kTable) showTableMenu(row, at);
}

bool CDlgDrugFuncEdit::preTranslateKey(int id, const ui::KeyEvent& k) {
    // The table's keys for its menu's two commands.
    if (id == kTable && !k.control && !k.alt && !k.shift) {
        if (k.key == ui::kKeyInsert) {
            insertRow(-1);
            return true;
        }
        if (k.key == ui::kKeyDelete && !window().selectedRows(kTable).empty()) {
            deleteSelectedRows();
            return true;
        }
    }
    return ui::Dialog::preTranslateKey(id, k);
}

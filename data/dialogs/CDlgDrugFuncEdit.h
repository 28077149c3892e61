#pragma once
#include <optional>
#include <string>
#include <vector>

#include "BallisticSolver.h"
#include "CComboListCtrl.h"
#include "CDlgItemResizer.h"
#include "Dialog.h"
#include "DragFunc.h"

// "Редактирование": a drag function's fields and its points as a table edited in place. Works on
// its own copy; after kIdOk ("Сохранить") the caller takes function(). The solver goes on to the
// stability calculator, the curve step to the curve editor.
//
// Saving refuses (a message, the dialog stays open) a name or description with characters the
// library's Windows-1251 cannot hold, a sectional density that is not a finite number above 0, any
// other number that is not finite, and a row with a drag coefficient whose Mach cell is
// no number. Rows whose Cd is 0 or no number are dropped; the points are saved in ascending Mach
// order. An empty table saves nothing at all: the function stays as it came.
class CDlgDrugFuncEdit : public ui::Dialog {
public:
    enum : int {
        IDD = 175,
        kTable = 1000,
        kWeight = 1021,
        kSectionalDensity = 1034,
        kSectionalDensityCalc = 1035,
        kName = 1044,
        kDescription = 1046,
        kStabilityFactor = 1061,
        kStabilityFactorCalc = 1062,
        kLength = 1142,
        kDiameter = 1143,
        kTwist = 1144,
        kEditCurve = 1145,
        kHelp1 = 1146,
        kHelp2 = 1147,
        // The table's context menu.
        kInsertRow = 32771,
        kDeleteRow = 32772,
    };

    CDlgDrugFuncEdit(const DragFunc& f, const BallisticSolver& solver, double& curveStep,
                     ui::Dialog* parent = nullptr);
    static ui::DialogTemplate makeTemplate();

    const DragFunc& function() const { return function_; }

    // The table's context menu at a row (-1: beside every row), as a right click or the menu key
    // brings it up: "Вставить строку", "Удалить строку" (only with a row selected). Insert and
    // Delete on the table do the same without the menu.
    void showTableMenu(int row, ui::Point at);
    // "Вставить строку": an "xxx" row before the selected row `row` (else before the first selected
    // row, else at the end), which becomes the only one selected.
    void insertRow(int row);
    // "Удалить строку": every selected row.
    void deleteSelectedRows();

    inline static const char* const kZeroSectionalDensityMessage =
        "Поперечная нагрузка (sectional density)\nне может быть равна нулю!";
    inline static const char* const kBadSectionalDensityMessage =
        "Поперечная нагрузка (sectional density)\nдолжна быть конечным числом больше нуля!";
    // Shown in the first cell of an inserted row.
    inline static const char* const kNewRowText = "xxx";
    // The characters the table's cells accept.
    inline static const char* const kCellChars = "0123456789.";

protected:
    bool onInitDialog() override;
    void doDataExchange(ui::DataExchange& dx) override;
    void onCommand(int id, ui::Notify n) override;
    bool preTranslateKey(int id, const ui::KeyEvent& k) override;
    void onListContextMenu(int id, int row, ui::Point at) override;
    void onOK() override;
    void onSize(int width, int height) override;

private:
    // The table from the points, each row remembering the point it shows.
    void fillTable(const std::vector<DragElement>& points);
    // Ends the editing of a cell, which then takes the text typed.
    void endCellEditing();
    // Reads the fields (false after the framework's message on a field that is no number).
    bool readFields();
    // The function with the fields as last read.
    DragFunc withFields() const;
    // Reads the table: the points in ascending Mach order, or nothing after a message naming the
    // row whose Mach is no number. Empty when the table has no rows.
    std::optional<std::vector<DragElement>> readTable();
    // The fields and (when the table has rows) the points as the function; nothing when either was
    // refused.
    std::optional<DragFunc> collect();
    // Save's checks of the fields read; false after a message on the field.
    bool fieldsUsable();
    void editCurve();
    void calculateSectionalDensity();
    void calculateStabilityFactor();

    DragFunc function_;
    const BallisticSolver& solver_;
    double& curveStep_;
    // What the fields show: the name and description (UTF-8) and the numbers of `numbers_`.
    std::string name_;
    std::string description_;
    DragFunc numbers_;
    // The point each row was filled from (none for an inserted row): a cell still showing that
    // point's text gives back the point's own value, not the three decimals shown.
    std::vector<std::optional<DragElement>> rowPoints_;
    CComboListCtrl table_;
    CDlgItemResizer resizer_;
};

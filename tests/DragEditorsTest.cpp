#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "BallisticSolver.h"
#include "CDlgDragEditPlot.h"
#include "CDlgDrugFuncEdit.h"
#include "CDlgSDCalc.h"
#include "CDlgSFCalc.h"
#include "CInPlaceEdit.h"
#include "HeadlessBackend.h"
#include "TextCodec.h"

using ui::HeadlessWindow;

namespace {

using Edit = CDlgDrugFuncEdit;
using Plot = CDlgDragEditPlot;
constexpr int kCellEditor = CInPlaceEdit::kControlId;

// A bullet's own function as the estimate makes them: Cd with four decimals, and a table that an
// older file left out of Mach order.
DragFunc bulletFunction() {
    DragFunc f;
    f.setName(utf8ToCp1251("Пуля 7.62, 168 гр"));
    f.setDescription(utf8ToCp1251("по форме пули"));
    f.kind = DragFuncKind::Special;
    f.uniqueNumber = 14;
    f.sectionalDensity = 0.253;
    f.stabilityFactor = 1.62;
    f.bulletLength = 1.215;
    f.bulletDiameter = 0.308;
    f.bulletWeight = 168;
    f.twist = 10;
    f.points = {{0.5, 0.2345}, {1.2, 0.4012}, {0.9, 0.2611}, {2.0, 0.3288}};
    return f;
}

std::vector<std::string> column(HeadlessWindow& w, int col) {
    std::vector<std::string> v;
    for (int r = 0; r < w.rowCount(Edit::kTable); ++r) v.push_back(w.cell(Edit::kTable, r, col));
    return v;
}

std::vector<double> cds(const std::vector<DragElement>& points) {
    std::vector<double> v;
    for (const DragElement& p : points) v.push_back(p.cd);
    return v;
}

class DragEditors : public ::testing::Test {
protected:
    ui::HeadlessBackend screen;
    BallisticSolver solver;
    double curveStep = 0.01;

    // A first click selects the row, the second opens the cell's text box; Enter ends editing.
    static void editCell(HeadlessWindow& w, int row, int col, const std::string& text) {
        w.clickCell(Edit::kTable, row, col);
        w.clickCell(Edit::kTable, row, col);
        ASSERT_TRUE(w.hasControl(kCellEditor));
        w.typeChars(kCellEditor, text);
        w.pressKey(kCellEditor, ui::kKeyReturn);
    }
};

}  // namespace

// The editor shows the function as it came: fields, and the points with three decimals in the
// table's two columns beside an empty third.
TEST_F(DragEditors, EditorShowsTheFieldsAndThePointsWithThreeDecimals) {
    Edit dlg(bulletFunction(), solver, curveStep);
    HeadlessWindow& w = ui::openHeadless(dlg);
    EXPECT_EQ(w.title(), "Редактирование");
    EXPECT_EQ(w.text(Edit::kName), "Пуля 7.62, 168 гр");
    EXPECT_EQ(w.text(Edit::kDescription), "по форме пули");
    EXPECT_EQ(w.text(Edit::kSectionalDensity), "0.253");
    EXPECT_EQ(w.text(Edit::kStabilityFactor), "1.62");
    EXPECT_EQ(w.text(Edit::kLength), "1.215");
    EXPECT_EQ(w.text(Edit::kDiameter), "0.308");
    EXPECT_EQ(w.text(Edit::kWeight), "168");
    EXPECT_EQ(w.text(Edit::kTwist), "10");
    ASSERT_EQ(w.columnCount(Edit::kTable), 3);
    EXPECT_EQ(w.columnTitle(Edit::kTable, 0), "Скорость в Махах");
    EXPECT_EQ(w.columnTitle(Edit::kTable, 1), "Драг-коэффициент");
    EXPECT_EQ(w.column(Edit::kTable, 2).width, 150);
    EXPECT_EQ(column(w, 0), (std::vector<std::string>{"0.500", "1.200", "0.900", "2.000"}));
    EXPECT_EQ(column(w, 1), (std::vector<std::string>{"0.234", "0.401", "0.261", "0.329"}));

    // Cells take digits and the point only.
    w.clickCell(Edit::kTable, 0, 1);
    w.clickCell(Edit::kTable, 0, 1);
    w.typeChars(kCellEditor, "0,3a");
    EXPECT_EQ(w.text(kCellEditor), "03");
    EXPECT_EQ(screen.beeps, 2);
    w.pressKey(kCellEditor, ui::kKeyEscape);
    EXPECT_EQ(w.cell(Edit::kTable, 0, 1), "0.234");
    dlg.destroy();

    // Values an older file left without a number read as the calculators show them.
    DragFunc damaged = bulletFunction();
    damaged.stabilityFactor = std::nan("");
    damaged.points[1].cd = INFINITY;
    Edit again(damaged, solver, curveStep);
    HeadlessWindow& w2 = ui::openHeadless(again);
    EXPECT_EQ(w2.text(Edit::kStabilityFactor), "не определено");
    EXPECT_EQ(w2.cell(Edit::kTable, 1, 1), "не определено");
    again.destroy();
}

// Saving drops rows without a Cd, sorts by Mach keeping equal Machs in row order, and keeps the
// exact value of every cell the user did not touch (not the three decimals shown).
TEST_F(DragEditors, SavingSortsDropsEmptyRowsAndKeepsUntouchedValuesExact) {
    Edit dlg(bulletFunction(), solver, curveStep);
    HeadlessWindow& w = ui::openHeadless(dlg);
    editCell(w, 3, 1, "0.35");        // 2.0 Mach: a new Cd
    editCell(w, 1, 1, "0");           // 1.2 Mach: Cd 0, dropped
    dlg.insertRow(-1);                // before the selected row: an untouched "xxx", dropped
    dlg.insertRow(-1);
    editCell(w, 2, 0, "0.9");         // a second 0.9 Mach, in a row before the first
    editCell(w, 2, 1, "0.27");
    w.type(Edit::kName, "Моя пуля");
    w.type(Edit::kTwist, "11,5");
    // A cell left open counts with what was typed into it.
    w.clickCell(Edit::kTable, 0, 0);
    w.clickCell(Edit::kTable, 0, 0);
    w.typeChars(kCellEditor, "0.55");
    w.click(ui::kIdOk);
    ASSERT_TRUE(w.ended());
    EXPECT_EQ(w.endCode(), ui::kIdOk);
    EXPECT_TRUE(screen.messages.empty());

    const DragFunc& f = dlg.function();
    ASSERT_EQ(f.points.size(), 4u);
    EXPECT_EQ(f.points[0].mach, 0.55);
    EXPECT_EQ(f.points[0].cd, 0.2345);
    EXPECT_EQ(f.points[1].mach, 0.9);
    EXPECT_EQ(f.points[1].cd, 0.27);
    EXPECT_EQ(f.points[2].cd, 0.2611);
    EXPECT_EQ(f.points[3].cd, 0.35);
    EXPECT_EQ(f.nameText(), utf8ToCp1251("Моя пуля"));
    EXPECT_EQ(f.twist, 11.5);
    EXPECT_EQ(f.uniqueNumber, 14);
    EXPECT_EQ(f.kind, DragFuncKind::Special);
}

// An "xxx" left in the Mach cell of a row that has a Cd is not Mach 0: the row is named and
// selected, the dialog stays open, and once fixed it saves.
TEST_F(DragEditors, ARowWithACdButNoMachIsNamedAndKeepsTheDialogOpen) {
    Edit dlg(bulletFunction(), solver, curveStep);
    HeadlessWindow& w = ui::openHeadless(dlg);
    w.clickCell(Edit::kTable, 2, 0);
    dlg.insertRow(2);
    EXPECT_EQ(w.cell(Edit::kTable, 2, 0), "xxx");
    EXPECT_EQ(w.selectedRows(Edit::kTable), std::vector<int>{2});
    editCell(w, 2, 1, "0.25");
    w.clickCell(Edit::kTable, 0, 0);
    w.click(ui::kIdOk);
    EXPECT_FALSE(w.ended());
    ASSERT_EQ(screen.messages.size(), 1u);
    EXPECT_EQ(screen.messages[0].text,
              "Строка 3: драг-коэффициент есть, а скорость в Махах «xxx» - не число.\n"
              "Введите скорость или удалите строку.");
    EXPECT_EQ(w.selectedRows(Edit::kTable), std::vector<int>{2});

    editCell(w, 2, 0, "0.7");
    w.click(ui::kIdOk);
    ASSERT_TRUE(w.ended());
    EXPECT_EQ(cds(dlg.function().points), (std::vector<double>{0.2345, 0.25, 0.2611, 0.4012, 0.3288}));
}

// The numbers a special function is computed with: the sectional density must be a finite number
// above 0, the others finite; "inf" parses, so it is refused here, on the field.
TEST_F(DragEditors, SavingRefusesNumbersTheSolverCannotUse) {
    Edit dlg(bulletFunction(), solver, curveStep);
    HeadlessWindow& w = ui::openHeadless(dlg);
    struct Case {
        int field;
        const char* text;
        std::string message;
    };
    const Case cases[] = {
        {Edit::kSectionalDensity, "0", Edit::kZeroSectionalDensityMessage},
        {Edit::kSectionalDensity, "inf", Edit::kBadSectionalDensityMessage},
        {Edit::kSectionalDensity, "-0.2", Edit::kBadSectionalDensityMessage},
        {Edit::kTwist, "inf", "Шаг нарезов, дюймы: введите конечное число."},
        {Edit::kStabilityFactor, "nan", "Фактор гироскопической стабильности: введите конечное число."},
        {Edit::kWeight, "168 гр", "Вес пули в грейнах: введите число."},
        {Edit::kName, "Пуля ½",
         "Имя драг-функции: есть знаки, которых нет в кодировке Windows-1251 (они стали бы «?»); замените их."},
    };
    for (const Case& c : cases) {
        const std::string before = w.text(c.field);
        w.type(c.field, c.text);
        screen.messages.clear();
        w.click(ui::kIdOk);
        EXPECT_FALSE(w.ended()) << c.text;
        EXPECT_EQ(screen.messageTexts(), std::vector<std::string>{c.message});
        EXPECT_EQ(w.focusedControl(), c.field);
        w.type(c.field, before);
    }
    w.click(ui::kIdCancel);
    EXPECT_EQ(w.endCode(), ui::kIdCancel);
    EXPECT_TRUE(dlg.function() == bulletFunction());
}

// Saving with every row deleted closes with OK and leaves the function as it came, its fields too;
// a new function whose preset rows never got a Cd is saved without points.
TEST_F(DragEditors, AnEmptyTableSavesNothingAndRowsWithoutCdSaveNoPoints) {
    Edit dlg(bulletFunction(), solver, curveStep);
    HeadlessWindow& w = ui::openHeadless(dlg);
    for (int r = 0; r < 4; ++r) w.clickCell(Edit::kTable, r, 0, false, true);
    w.pressKey(Edit::kTable, ui::kKeyDelete);
    EXPECT_EQ(w.rowCount(Edit::kTable), 0);
    w.type(Edit::kName, "Другое имя");
    w.click(ui::kIdOk);
    ASSERT_TRUE(w.ended());
    EXPECT_EQ(w.endCode(), ui::kIdOk);
    EXPECT_TRUE(dlg.function() == bulletFunction());

    DragFunc fresh;
    for (double m : {0.5, 0.9, 1.0, 1.1, 1.34, 1.79, 2.23, 2.68}) fresh.points.push_back({m, 0});
    Edit create(fresh, solver, curveStep);
    HeadlessWindow& c = ui::openHeadless(create);
    c.type(Edit::kSectionalDensity, "0.3");
    c.click(ui::kIdOk);
    ASSERT_TRUE(c.ended());
    EXPECT_TRUE(create.function().points.empty());
    EXPECT_EQ(create.function().sectionalDensity, 0.3);
}

// Name and description end where their fields in the record do (49 and 255 bytes of CP1251), a
// Cyrillic letter counting one byte.
TEST_F(DragEditors, LongNamesAreCutToTheRecordsFields) {
    Edit dlg(bulletFunction(), solver, curveStep);
    HeadlessWindow& w = ui::openHeadless(dlg);
    std::string longName, longDescription;
    for (int i = 0; i < 60; ++i) longName += "Ж";
    for (int i = 0; i < 300; ++i) longDescription += "ё";
    w.type(Edit::kName, longName);
    w.type(Edit::kDescription, longDescription);
    w.click(ui::kIdOk);
    ASSERT_TRUE(w.ended());
    EXPECT_EQ(dlg.function().nameText(), std::string(49, '\xC6'));
    EXPECT_EQ(std::string(dlg.function().description), std::string(255, '\xB8'));
}

// The table's menu: "Удалить строку" only with a row selected; inserting goes before the selected
// row, deleting takes every selected row.
TEST_F(DragEditors, TableMenuInsertsBeforeTheSelectedRowAndDeletesTheSelection) {
    Edit dlg(bulletFunction(), solver, curveStep);
    HeadlessWindow& w = ui::openHeadless(dlg);
    // Below the rows with nothing selected: at the end, and nothing to delete.
    screen.answerMenu(Edit::kInsertRow);
    w.rightClickRow(Edit::kTable, -1);
    ASSERT_EQ(screen.menus.size(), 1u);
    ASSERT_EQ(screen.menus[0].size(), 2u);
    EXPECT_EQ(screen.menus[0][0].text, "Вставить строку");
    EXPECT_EQ(screen.menus[0][1].text, "Удалить строку");
    EXPECT_FALSE(screen.menus[0][1].enabled);
    EXPECT_EQ(column(w, 0), (std::vector<std::string>{"0.500", "1.200", "0.900", "2.000", "xxx"}));
    EXPECT_EQ(w.selectedRows(Edit::kTable), std::vector<int>{4});

    // On a row: before it, and the new row is the only one selected.
    screen.answerMenu(Edit::kInsertRow);
    w.rightClickRow(Edit::kTable, 1);
    EXPECT_TRUE(screen.menus[1][1].enabled);
    EXPECT_EQ(column(w, 0), (std::vector<std::string>{"0.500", "xxx", "1.200", "0.900", "2.000", "xxx"}));
    EXPECT_EQ(w.selectedRows(Edit::kTable), std::vector<int>{1});

    // Every selected row goes; the menu key brings the same menu.
    w.clickCell(Edit::kTable, 3, 0, false, true);
    screen.answerMenu(Edit::kDeleteRow);
    w.pressKey(Edit::kTable, ui::kKeyApps);
    EXPECT_EQ(screen.menus.size(), 3u);
    EXPECT_EQ(column(w, 0), (std::vector<std::string>{"0.500", "1.200", "2.000", "xxx"}));
    // The rows that stay keep their exact points.
    w.click(ui::kIdOk);
    ASSERT_TRUE(w.ended());
    EXPECT_EQ(cds(dlg.function().points), (std::vector<double>{0.2345, 0.4012, 0.3288}));
}

// "=" opens the calculators with the fields as they stand; their result replaces the field only
// after their OK.
TEST_F(DragEditors, EqualsButtonsTakeTheCalculatorsResultOnlyOnOk) {
    Edit dlg(bulletFunction(), solver, curveStep);
    HeadlessWindow& w = ui::openHeadless(dlg);
    w.type(Edit::kWeight, "175");
    std::string weightShown;
    screen.onNextModal([&](HeadlessWindow& sd) {
        weightShown = sd.text(CDlgSDCalc::kWeight);
        sd.click(CDlgSDCalc::kCompute);
        sd.click(ui::kIdOk);
    });
    w.click(Edit::kSectionalDensityCalc);
    EXPECT_EQ(weightShown, "175");
    EXPECT_EQ(w.text(Edit::kSectionalDensity), "0.2635");  // 175 gr at 0.308 in

    screen.onNextModal([](HeadlessWindow& sf) {
        sf.click(CDlgSFCalc::kCompute);
        sf.click(ui::kIdCancel);
    });
    w.click(Edit::kStabilityFactorCalc);
    EXPECT_EQ(w.text(Edit::kStabilityFactor), "1.62");
    EXPECT_EQ(screen.modalTitles, (std::vector<std::string>{"Поперечная нагрузка", "Фактор гиростабильности"}));
    dlg.destroy();
}

// "Редактировать по графику" gets the table as it would be saved (sorted) and refills the table
// from the curve editor's "Сохранить"; the step pressed goes back to the settings.
TEST_F(DragEditors, CurveEditorWorksOnTheSortedTableAndRefillsIt) {
    Edit dlg(bulletFunction(), solver, curveStep);
    HeadlessWindow& w = ui::openHeadless(dlg);
    screen.onNextModal([](HeadlessWindow& p) {
        p.type(Plot::kStep, "0.1");
        p.click(Plot::kRaise);
        p.click(ui::kIdOk);
    });
    w.click(Edit::kEditCurve);
    EXPECT_EQ(curveStep, 0.1);
    EXPECT_EQ(column(w, 0), (std::vector<std::string>{"0.500", "0.900", "1.200", "2.000"}));
    EXPECT_EQ(column(w, 1), (std::vector<std::string>{"0.335", "0.361", "0.501", "0.429"}));

    // "Отставить!" in the curve editor leaves the table alone.
    screen.onNextModal([](HeadlessWindow& p) {
        p.click(Plot::kLower);
        p.click(ui::kIdCancel);
    });
    w.click(Edit::kEditCurve);
    EXPECT_EQ(column(w, 1), (std::vector<std::string>{"0.335", "0.361", "0.501", "0.429"}));
    w.click(ui::kIdOk);
    ASSERT_TRUE(w.ended());
    EXPECT_DOUBLE_EQ(dlg.function().points[0].cd, 0.3345);
}

// Each curve button on a known table: what it does to the points, the colour it draws the curve
// in, and the step it stores.
TEST_F(DragEditors, CurveEditorButtonsChangeThePointsAndThePenAndStoreTheStep) {
    DragFunc f = bulletFunction();
    f.points = {{0.5, 0.20}, {0.7, 0.20}, {0.8, 0.21}, {0.9, 0.24}, {0.95, 0.30},
                {1.0, 0.36}, {1.05, 0.40}, {1.5, 0.38}, {2.0, 0.33}, {3.0, 0.28}};
    Plot dlg(f, curveStep);
    HeadlessWindow& w = ui::openHeadless(dlg);
    EXPECT_EQ(w.title(), "Редактирование по графику");
    EXPECT_EQ(w.text(Plot::kStep), "0.01");
    EXPECT_EQ(dlg.plot().plot().range.xMin, 0);
    EXPECT_EQ(dlg.plot().plot().range.xMax, 3);
    EXPECT_EQ(dlg.plot().plot().colours.curve, ui::kWhite);
    EXPECT_EQ(dlg.plot().plot().caption, "Пуля 7.62, 168 гр");

    struct Case {
        int button;
        const char* step;
        size_t point;
        double cd;  // of that point after the press, from the one before
        ui::Colour pen;
    };
    const Case cases[] = {
        {Plot::kRaise, "0.02", 0, 0.22, {255, 0, 0}},
        {Plot::kLower, "0.02", 0, 0.20, {0, 255, 0}},
        {Plot::kLowerPeak, "0.01", 6, 0.39, {0, 255, 0}},
        {Plot::kRaisePeak, "0.01", 6, 0.40, {0, 255, 0}},
        {Plot::kLowerRight, "0.05", 9, 0.23, {153, 153, 255}},
        {Plot::kRaiseRight, "0.05", 9, 0.28, {153, 153, 255}},
    };
    for (const Case& c : cases) {
        w.type(Plot::kStep, c.step);
        w.click(c.button);
        EXPECT_NEAR(dlg.points()[c.point].cd, c.cd, 1e-12) << c.button;
        EXPECT_EQ(dlg.plot().plot().colours.curve, c.pen) << c.button;
        EXPECT_EQ(dlg.plot().plot().points.size(), 10u);
        EXPECT_EQ(curveStep, std::stod(c.step));
    }
    EXPECT_TRUE(screen.messages.empty());
    // Every press took the first four points by the same steps up and down, and the shaping
    // buttons never touched them.
    EXPECT_NEAR(dlg.points()[3].cd, 0.24, 1e-12);

    w.click(ui::kIdOk);
    EXPECT_EQ(w.endCode(), ui::kIdOk);
}

// A step the buttons cannot use, a press that would take a Cd to 0, and shaping where there is
// nothing to shape: a message each, the points and the stored step as they were.
TEST_F(DragEditors, CurveEditorRefusalsLeaveThePointsAndTheStoredStep) {
    DragFunc f = bulletFunction();
    f.points = {{0.5, 0.2}, {1.0, 0.4}, {1.5, 0.35}, {2.0, 0.3}};
    Plot dlg(f, curveStep);
    HeadlessWindow& w = ui::openHeadless(dlg);
    w.type(Plot::kStep, "-0.01");
    w.click(Plot::kRaise);
    w.type(Plot::kStep, "шаг");
    w.click(Plot::kRaise);
    EXPECT_EQ(curveStep, 0.01);
    w.type(Plot::kStep, "0.25");
    w.click(Plot::kLower);
    EXPECT_EQ(curveStep, 0.25);
    w.click(Plot::kRaisePeak);  // four points: no index above 3
    const std::vector<std::string> texts = screen.messageTexts();
    ASSERT_EQ(texts.size(), 4u);
    EXPECT_EQ(texts[0], Plot::kBadStepMessage);
    EXPECT_EQ(texts[1], "Шаг изменения: введите число.");
    EXPECT_NE(texts[2].find("точки 1 (0.500 Маха) стал бы -0.05"), std::string::npos) << texts[2];
    EXPECT_NE(texts[3].find("График не изменён"), std::string::npos);
    EXPECT_EQ(cds(dlg.points()), (std::vector<double>{0.2, 0.4, 0.35, 0.3}));
    EXPECT_EQ(dlg.plot().plot().colours.curve, ui::kWhite);
    w.click(ui::kIdCancel);
}

// A function without points: the message at once, no curve, and the buttons change nothing.
TEST_F(DragEditors, CurveEditorWithoutPointsSaysSoAndDrawsNoCurve) {
    DragFunc f = bulletFunction();
    f.points.clear();
    Plot dlg(f, curveStep);
    HeadlessWindow& w = ui::openHeadless(dlg);
    EXPECT_EQ(screen.messageTexts(), std::vector<std::string>{"Драг-функция не содержит данных"});
    EXPECT_EQ(screen.messages[0].icon, ui::Icon::Warning);
    const ui::RecordingCanvas painted = w.paint(Plot::kPlot);
    // The frame is the only line drawn in the grid's colour, and no line in the curve's.
    for (const ui::PaintOp& op : painted.ops)
        if (op.type == ui::PaintOp::Polyline) {
            EXPECT_EQ(op.colour, scopeplot::kDragWindowColours.grid);
        }
    w.click(Plot::kRaise);
    EXPECT_EQ(screen.messages.size(), 2u);
    EXPECT_TRUE(dlg.points().empty());
    dlg.destroy();
}

#include <gtest/gtest.h>

#include <charconv>
#include <filesystem>
#include <random>

#include "CDlgTableResults.h"
#include "CtkdeskDlg.h"
#include "FileIO.h"
#include "HeadlessBackend.h"
#include "RoundTo.h"
#include "ShotInputs.h"
#include "StandardDragSet.h"
#include "TextCodec.h"

namespace fs = std::filesystem;
using T = CDlgTableResults;

namespace {

std::string fixed(double v, int decimals) {
    char buf[64];
    return std::string(buf, std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, decimals).ptr);
}

// A main solver as the calculator leaves it before opening the table: inputs in, rifle zeroed.
class TableDialog : public ::testing::Test {
protected:
    void SetUp() override {
        standardFunction("G1", g1);
        load();
    }

    void load() {
        loadSolver(inputs, g1, main);
        zeroRifle(main, zeroing, ZeroingAtmosphere{});
    }

    // The corrections the engine gives at d, one solve after the other on a copy of the solver.
    ShownCorrections expected(double d, const DriftOptions& options = {}) {
        BallisticSolver copy = main;
        return shownCorrections(correctionsAt(copy, d, options));
    }

    DragFunc g1;
    BallisticSolver main, zeroing;
    ShotInputs inputs;
    TableSettingsRecord table;
    ui::HeadlessBackend screen;
};

TEST_F(TableDialog, DefaultsFillEightRowsWithTheEnginesCorrections) {
    T dlg(main, inputs, g1, table);
    auto& w = ui::openHeadless(dlg);
    EXPECT_EQ(w.title(), "Таблица поправок");
    EXPECT_TRUE(w.isChecked(T::kStep100));
    EXPECT_EQ(w.text(T::kFirst), "100");
    EXPECT_EQ(w.text(T::kLast), "800");
    EXPECT_EQ(w.rowCount(T::kList), 0);  // empty until the first fill
    w.click(T::kFill);
    ASSERT_EQ(w.columnCount(T::kList), 4);
    EXPECT_EQ(w.columnTitle(T::kList, 0), "Дистанция, метры");
    EXPECT_EQ(w.columnTitle(T::kList, 1), "Скорость, м/с");
    EXPECT_EQ(w.columnTitle(T::kList, 2), "MOA, Верт. поправка");
    EXPECT_EQ(w.columnTitle(T::kList, 3), "MOA, Гор. поправка");
    EXPECT_EQ(w.column(T::kList, 0).align, ui::Align::Left);
    EXPECT_EQ(w.column(T::kList, 2).align, ui::Align::Center);
    ASSERT_EQ(w.rowCount(T::kList), 8);
    for (int r = 0; r < 8; ++r) {
        const double d = 100.0 * (r + 1);
        EXPECT_EQ(w.cell(T::kList, r, 0), fixed(d, 1));
        const ShownCorrections e = expected(d);
        EXPECT_EQ(w.cell(T::kList, r, 2), fixed(e.vertical.moa, 2)) << d;
        EXPECT_EQ(w.cell(T::kList, r, 3), fixed(e.horizontal.moa, 2)) << d;
    }
    EXPECT_EQ(w.cell(T::kList, 7, 0), "800.0");
    EXPECT_DOUBLE_EQ(main.targetDistance, 900.0);  // left one step past the last distance
    dlg.destroy();
}

TEST_F(TableDialog, RangeRules) {
    T dlg(main, inputs, g1, table);
    auto& w = ui::openHeadless(dlg);
    w.type(T::kFirst, "500");
    w.type(T::kLast, "400");
    w.click(T::kFill);
    EXPECT_EQ(w.rowCount(T::kList), 0);
    EXPECT_EQ(w.columnCount(T::kList), 4);  // the headers stay

    for (int id : {T::kTime, T::kVerticalCm, T::kVerticalMil, T::kVerticalClicks, T::kHorizontalCm, T::kHorizontalMil,
                   T::kHorizontalClicks})
        w.click(id);
    w.click(T::kStep5);
    w.type(T::kFirst, "-20");
    w.type(T::kLast, "5000");
    w.click(T::kFill);
    EXPECT_EQ(w.text(T::kFirst), "0");
    EXPECT_EQ(w.text(T::kLast), "3000");
    ASSERT_EQ(w.rowCount(T::kList), 601);
    ASSERT_EQ(w.columnCount(T::kList), 11);
    EXPECT_EQ(w.cell(T::kList, 600, 0), "3000.0");
    // Distance 0: every correction 0.
    EXPECT_EQ(w.cell(T::kList, 0, 3), "0.00");
    EXPECT_EQ(w.cell(T::kList, 0, 5), "0.0");
    EXPECT_EQ(w.cell(T::kList, 0, 10), "0.0");
    // 30 m and nearer: no horizontal MOA or clicks, cm and MIL still there (wind 1 m/s from the side).
    const int row30 = 6;
    EXPECT_EQ(w.cell(T::kList, row30, 0), "30.0");
    EXPECT_EQ(w.cell(T::kList, row30, 8), "0.00");   // MOA, horizontal
    EXPECT_EQ(w.cell(T::kList, row30, 10), "0.0");   // clicks, horizontal
    EXPECT_NE(w.cell(T::kList, row30, 9), "0.00");   // MIL, horizontal
    BallisticSolver copy = main;
    const DistanceCorrections c = correctionsAt(copy, 1230.0, {});
    const ShownCorrections at = shownCorrections(c);
    EXPECT_EQ(w.cell(T::kList, 246, 0), "1230.0");
    EXPECT_EQ(w.cell(T::kList, 246, 1), fixed(RoundTo(c.row.velocity, 2), 1));
    EXPECT_EQ(w.cell(T::kList, 246, 2), fixed(RoundTo(c.row.timeOfFlight, 2), 2));
    EXPECT_EQ(w.cell(T::kList, 246, 3), fixed(at.vertical.cm, 2));
    EXPECT_EQ(w.cell(T::kList, 246, 5), fixed(at.vertical.mil, 1));
    EXPECT_EQ(w.cell(T::kList, 246, 7), fixed(at.horizontal.cm, 1));
    EXPECT_EQ(w.cell(T::kList, 246, 10), fixed(at.horizontal.clicks, 1));
    dlg.destroy();
}

TEST_F(TableDialog, DerivationChangesOnlyTheHorizontalColumnsBeyondTheZero) {
    inputs.stabilityFactor = 1.6;  // the standard functions have none: no spin drift
    load();
    T dlg(main, inputs, g1, table);
    auto& w = ui::openHeadless(dlg);
    w.click(T::kStep50);
    w.type(T::kFirst, "50");
    w.click(T::kVerticalCm);
    w.click(T::kHorizontalCm);
    w.click(T::kFill);
    std::vector<std::vector<std::string>> before;
    for (int r = 0; r < w.rowCount(T::kList); ++r) {
        before.emplace_back();
        for (int c = 0; c < w.columnCount(T::kList); ++c) before.back().push_back(w.cell(T::kList, r, c));
    }
    w.click(T::kAddDerivation);  // acts on the inputs at once and fills again
    EXPECT_TRUE(inputs.addDerivation);
    ASSERT_EQ(static_cast<size_t>(w.rowCount(T::kList)), before.size());
    // Columns: distance, velocity, vertical cm, vertical MOA, horizontal cm, horizontal MOA.
    for (int r = 0; r < w.rowCount(T::kList); ++r) {
        for (int c : {0, 1, 2, 3}) EXPECT_EQ(w.cell(T::kList, r, c), before[static_cast<size_t>(r)][static_cast<size_t>(c)]);
        const bool beyondZero = r >= 2;  // 50 and 100 m are not beyond the 100 m zero
        EXPECT_EQ(w.cell(T::kList, r, 4) != before[static_cast<size_t>(r)][4], beyondZero) << r;
    }
    const ShownCorrections e = expected(500.0, DriftOptions{true, false, false, 10.0});
    EXPECT_EQ(w.cell(T::kList, 9, 0), "500.0");
    EXPECT_EQ(w.cell(T::kList, 9, 4), fixed(e.horizontal.cm, 1));
    dlg.destroy();
}

TEST_F(TableDialog, CloseStoresTheTableSettingsTheCloseBoxDoesNot) {
    {
        T dlg(main, inputs, g1, table);
        auto& w = ui::openHeadless(dlg);
        w.click(T::kStep50);
        w.type(T::kFirst, "200");
        w.type(T::kLast, "400");
        w.click(T::kTime);
        w.click(T::kHorizontalMoa);
        w.click(T::kClose);
        EXPECT_TRUE(w.ended());
        EXPECT_EQ(w.endCode(), ui::kIdOk);
        dlg.destroy();
    }
    EXPECT_EQ(table.distanceStep, 50.0);
    EXPECT_EQ(table.firstDistance, 200.0);
    EXPECT_EQ(table.lastDistance, 400.0);
    EXPECT_EQ(table.showTimeOfFlight, 1);
    EXPECT_EQ(table.showHorizontalMoa, 0);
    {
        T dlg(main, inputs, g1, table);
        auto& w = ui::openHeadless(dlg);
        EXPECT_TRUE(w.isChecked(T::kStep50));
        EXPECT_FALSE(w.isChecked(T::kStep100));
        EXPECT_EQ(w.text(T::kFirst), "200");
        EXPECT_TRUE(w.isChecked(T::kTime));
        EXPECT_FALSE(w.isChecked(T::kHorizontalMoa));
        w.click(T::kFill);
        EXPECT_EQ(w.rowCount(T::kList), 5);
        w.type(T::kFirst, "0");
        w.closeBox();
        dlg.destroy();
    }
    EXPECT_EQ(table.firstDistance, 200.0);
}

TEST_F(TableDialog, ExportWritesTheFileOrSaysWhyNot) {
    const fs::path dir = fs::temp_directory_path() / ("tk-table-" + std::to_string(std::random_device{}()));
    fs::create_directories(dir);
    T dlg(main, inputs, g1, table);
    auto& w = ui::openHeadless(dlg);
    w.click(T::kFill);

    screen.answerMenu(T::kExportCsv);
    screen.answerFileDialog(std::vector<fs::path>{dir / "table.csv"});
    w.click(T::kExport);
    ASSERT_EQ(screen.fileDialogs.size(), 1u);
    EXPECT_TRUE(screen.fileDialogs[0].save);
    EXPECT_EQ(screen.fileDialogs[0].defaultExtension, "csv");
    EXPECT_EQ(screen.messageTexts().back(), "Готово");
    const auto csv = readWholeFile(dir / "table.csv");
    ASSERT_TRUE(csv);
    EXPECT_NE(csv->find(utf8ToCp1251("\"Дистанция, метры\";")), std::string::npos);
    EXPECT_NE(csv->find("800,0;"), std::string::npos);

    screen.answerMenu(T::kExportXml);
    screen.answerFileDialog(std::vector<fs::path>{dir / "table.xml"});
    w.click(T::kExport);
    EXPECT_EQ(screen.messageTexts().back(), "Готово");
    const auto xml = readWholeFile(dir / "table.xml");
    ASSERT_TRUE(xml);
    EXPECT_NE(xml->find("<Data ss:Type=\"Number\">800.0</Data>"), std::string::npos);

    // Cancelled: nothing said. A folder that is not there: the error.
    screen.answerMenu(T::kExportCsv);
    screen.answerFileDialog(std::nullopt);
    const size_t said = screen.messages.size();
    w.click(T::kExport);
    EXPECT_EQ(screen.messages.size(), said);
    screen.answerMenu(T::kExportXml);
    screen.answerFileDialog(std::vector<fs::path>{dir / "missing" / "t.xml"});
    w.click(T::kExport);
    EXPECT_EQ(screen.messageTexts().back(), "Возникла ошибка при записи в файл!");
    dlg.destroy();
    fs::remove_all(dir);
}

// "Экспорт" straight after opening: the report is the one a fill would have given, rows and report
// lines alike, not an empty table over a shot of zeros.
TEST_F(TableDialog, ExportingBeforeAnyFillWritesTheFilledTable) {
    const fs::path dir = fs::temp_directory_path() / ("tk-table-nofill-" + std::to_string(std::random_device{}()));
    fs::create_directories(dir);
    const auto exported = [&](bool fillFirst, const fs::path& file) {
        BallisticSolver solver = main;  // as the calculator hands it over, for each dialog
        T dlg(solver, inputs, g1, table);
        auto& w = ui::openHeadless(dlg);
        if (fillFirst) w.click(T::kFill);
        screen.answerMenu(T::kExportCsv);
        screen.answerFileDialog(std::vector<fs::path>{file});
        w.click(T::kExport);
        EXPECT_EQ(screen.messageTexts().back(), "Готово");
        EXPECT_EQ(w.rowCount(T::kList), 8);  // and the list shows what was written
        dlg.destroy();
        return readWholeFile(file).value_or("");
    };
    const std::string unfilled = exported(false, dir / "unfilled.csv");
    const std::string filled = exported(true, dir / "filled.csv");
    EXPECT_TRUE(unfilled == filled) << "the report differs from the one written after a fill";
    EXPECT_NE(unfilled.find("800,0;"), std::string::npos);
    // The first-run shot at 15 °C, measured at 30 °C: slower than its 792 m/s.
    const std::string corrected = utf8ToCp1251("скорректированная к условиям стрельбы, м/с: ");
    const size_t at = unfilled.find(corrected);
    ASSERT_NE(at, std::string::npos);
    const double velocity = std::stod(unfilled.substr(at + corrected.size()));
    EXPECT_GT(velocity, 700.0);
    EXPECT_LT(velocity, 792.0);
    EXPECT_NE(unfilled.find(utf8ToCp1251("Направление ветра, градусы: 90.0")), std::string::npos);
    fs::remove_all(dir);
}

// Derivation on and no wind: just past the zero the spin drift is a few hundredths of a centimetre
// to the left, which the list shows with one decimal. Such a cell reads "0.0", not "-0.0".
TEST_F(TableDialog, ACorrectionRoundedToZeroHasNoMinus) {
    inputs.stabilityFactor = 1.6;
    inputs.windSpeed = 0.0;
    inputs.addDerivation = true;
    load();
    T dlg(main, inputs, g1, table);
    auto& w = ui::openHeadless(dlg);
    w.click(T::kStep5);
    w.type(T::kFirst, "100");
    w.type(T::kLast, "200");
    w.click(T::kHorizontalCm);
    w.click(T::kHorizontalMil);
    w.click(T::kFill);
    // Columns: distance, velocity, vertical MOA, horizontal cm, horizontal MOA, horizontal MIL.
    ASSERT_EQ(w.columnCount(T::kList), 6);
    ASSERT_EQ(w.columnTitle(T::kList, 3), "см, Гор. поправка");
    int roundedToZero = 0;
    for (int r = 0; r < w.rowCount(T::kList); ++r) {
        const double d = 100.0 + 5 * r;
        const ShownCorrections e = expected(d, DriftOptions{true, false, false, 10.0});
        if (e.horizontal.cm < 0 && e.horizontal.cm > -0.05) {
            ++roundedToZero;
            EXPECT_EQ(w.cell(T::kList, r, 3), "0.0") << d;
        }
        for (int c = 1; c < w.columnCount(T::kList); ++c) {
            const std::string text = w.cell(T::kList, r, c);
            if (std::stod(text) == 0) {
                EXPECT_EQ(text.find('-'), std::string::npos) << d << " " << text;
            }
        }
    }
    EXPECT_GT(roundedToZero, 0);  // the case is really there
    dlg.destroy();
}

TEST_F(TableDialog, ALongFillShowsItsProgressAndKeepsTheScreenAlive) {
    T dlg(main, inputs, g1, table);
    auto& w = ui::openHeadless(dlg);
    w.click(T::kFill);  // quick: no progress bar
    EXPECT_EQ(w.pendingEventCalls(), 0);
    dlg.setProgressDelay(std::chrono::milliseconds(0));
    w.click(T::kStep5);
    w.type(T::kFirst, "0");
    w.type(T::kLast, "3000");
    w.click(T::kFill);
    EXPECT_GT(w.pendingEventCalls(), 0);
    EXPECT_EQ(w.range(T::kProgress), 601);
    EXPECT_EQ(w.position(T::kProgress), 601);
    EXPECT_FALSE(w.isVisible(T::kProgress));  // gone again when the rows are there
    EXPECT_EQ(w.rowCount(T::kList), 601);
    dlg.destroy();
}

TEST_F(TableDialog, TheListFollowsTheWindowSize) {
    T dlg(main, inputs, g1, table);
    auto& w = ui::openHeadless(dlg);
    const ui::Rect before = w.controlRect(T::kList);
    const ui::Rect fill = w.controlRect(T::kFill);
    w.resize(w.clientSize().width + 100, w.clientSize().height + 50);
    const ui::Rect after = w.controlRect(T::kList);
    EXPECT_EQ(after.width, before.width + 100);
    EXPECT_EQ(after.height, before.height + 50);
    EXPECT_EQ(after.x, before.x);
    EXPECT_EQ(w.controlRect(T::kFill), fill);
    // Never smaller than the first width by 300 high.
    w.resize(100, 100);
    EXPECT_EQ(w.clientSize(), (ui::Size{T::makeTemplate().width, 300}));
    dlg.destroy();
}

TEST(TableFromCalculator, UsesTheFieldsJustTypedAndRestoresTheDistance) {
    const fs::path base = fs::temp_directory_path() / ("tk-tablecalc-" + std::to_string(std::random_device{}()));
    ui::HeadlessBackend screen;
    CtkdeskDlg dlg(base / "program", base / "data");
    auto& w = ui::openHeadless(dlg);
    w.type(ctkdesk::kClickVertical, "0.5");
    std::string clicksAt800;
    screen.onNextModal([&](ui::HeadlessWindow& t) {
        t.click(T::kVerticalClicks);
        t.click(T::kFill);
        clicksAt800 = t.cell(T::kList, 7, 3);
        t.click(T::kClose);
    });
    w.click(ctkdesk::kTable);
    EXPECT_EQ(dlg.tableSettings().showVerticalClicks, 1);
    EXPECT_EQ(dlg.mainSolver().targetDistance, 685.0);
    EXPECT_EQ(dlg.mainSolver().clickVertical, 0.5);
    // Clicks of 0.5 MOA: half as many as MOA.
    BallisticSolver main, zeroing;
    DragFunc g1;
    standardFunction("G1", g1);
    ShotInputs in;
    in.clickVertical = 0.5;
    loadSolver(in, g1, main);
    zeroRifle(main, zeroing, ZeroingAtmosphere{});
    EXPECT_EQ(clicksAt800, fixed(shownCorrections(correctionsAt(main, 800.0, {})).vertical.clicks, 1));
    dlg.destroy();
    fs::remove_all(base);
}

}  // namespace

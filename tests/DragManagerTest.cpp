// The drag function manager, its export and import dialogs and the rules they share with tkcalc,
// driven through the headless window layer as the user would.
#include <gtest/gtest.h>

#include <filesystem>
#include <random>

#include "ByteWriter.h"
#include "CDlgBCCalc.h"
#include "CDlgDrugFuncEdit.h"
#include "CDlgDrugPlot.h"
#include "CDlgDrugPlotStandart.h"
#include "CDlgDrugSelect.h"
#include "CDlgExport.h"
#include "CDlgImport.h"
#include "CtkdeskDlg.h"
#include "DragLibrary.h"
#include "ExchangeImportExport.h"
#include "FileIO.h"
#include "HeadlessBackend.h"
#include "LibraryRecord.h"
#include "LibraryRules.h"
#include "SettingsRecord.h"
#include "StandardDragSet.h"
#include "TextCodec.h"

namespace fs = std::filesystem;
using M = CDlgDrugSelect;

namespace {

constexpr int kG7Row = 1;  // the standard set's order: G1, G7, G2, ...
constexpr int kListColumns = 4;

using Points = std::vector<std::pair<double, double>>;
Points points(const DragFunc& f) {
    Points out;
    for (const DragElement& p : f.points) out.emplace_back(p.mach, p.cd);
    return out;
}

std::vector<std::string> row(const ui::HeadlessWindow& w, int r) {
    std::vector<std::string> cells;
    for (int c = 0; c < kListColumns; ++c) cells.push_back(w.cell(M::kList, r, c));
    return cells;
}

class Manager : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() / ("tk-manager-" + std::to_string(std::random_device{}()));
        fs::create_directories(dir);
    }
    void TearDown() override {
        std::error_code ec;
        fs::remove_all(dir, ec);
    }
    // The library as the data folder holds it now.
    DragLibrary stored() const {
        DragLibrary l;
        l.loadLibrary(dir / kLibraryFileName);
        return l;
    }
    DragFunc special(const std::string& utf8Name, int32_t number) {
        DragFunc f = sampleFunction();
        f.setName(utf8ToCp1251(utf8Name));
        f.kind = DragFuncKind::Special;
        f.uniqueNumber = number;
        return f;
    }

    fs::path dir;
    ui::HeadlessBackend screen;
    DragLibrary library;
    BallisticSolver solver;
    double curveStep = 0.01;
};

// "_copy" must fit in the 49 bytes of a name: the name gives way, a whole character at a time.
TEST(LibraryRules, ACopysNameIsShortenedSoThatCopyFits) {
    EXPECT_EQ(nameWithSuffix("G7", "_copy"), "G7_copy");
    const std::string long49(49, '\xC0');  // 49 Cyrillic А
    const std::string copied = nameWithSuffix(long49, "_copy");
    EXPECT_EQ(copied.size(), 49u);
    EXPECT_EQ(copied, std::string(44, '\xC0') + "_copy");
    EXPECT_EQ(nameWithSuffix(std::string(46, 'x'), " copy"), std::string(44, 'x') + " copy");

    DragLibrary lib;
    DragFunc f = sampleFunction();
    f.setName(long49);
    f.kind = DragFuncKind::Special;
    f.uniqueNumber = 30;
    lib.add(f);
    const DragFunc c = addCopy(lib, f);
    EXPECT_EQ(c.nameText(), copied);
    EXPECT_EQ(c.kind, DragFuncKind::Special);
    EXPECT_EQ(c.uniqueNumber, 31);
    EXPECT_EQ(lib[lib.size() - 1], c);
}

// The list shows every entry as the library holds it, with the calculator's row selected.
TEST_F(Manager, ListShowsTheLibraryAndSelectsTheCurrentFunction) {
    library.add(special("Лапуа 185", 11));
    M dlg(library, DataFolder::at(dir), utf8ToCp1251("Лапуа 185"), 11, solver, curveStep);
    auto& w = ui::openHeadless(dlg);
    EXPECT_EQ(w.title(), "Драг-функции");
    ASSERT_EQ(w.rowCount(M::kList), 11);
    EXPECT_EQ(w.columnTitle(M::kList, 1), "Драг-функция");
    EXPECT_EQ(w.columnWidth(M::kList, 3), 5);
    EXPECT_EQ(row(w, 0), (std::vector<std::string>{"стандарт", "G1", w.cell(M::kList, 0, 2), "1"}));
    EXPECT_EQ(row(w, 10)[0], "специальная");
    EXPECT_EQ(row(w, 10)[1], "Лапуа 185");
    EXPECT_EQ(w.selectedRows(M::kList), std::vector<int>{10});
    EXPECT_EQ(w.focusedControl(), M::kList);
    EXPECT_EQ(w.rowColours(M::kList, 0).second, CListCtrlDrug::kEvenRowColour);
    dlg.destroy();
}

// Copying G7 twice gives two StandardCopy entries with consecutive numbers; a copy of a copy
// appends "_copy" once more. Each copy is saved at once.
TEST_F(Manager, CopyingG7TwiceAndACopyOfTheCopyEachSaved) {
    M dlg(library, DataFolder::at(dir), "G1", 1, solver, curveStep);
    auto& w = ui::openHeadless(dlg);
    w.clickCell(M::kList, kG7Row, 1);
    w.click(M::kCopy);
    ASSERT_EQ(stored().size(), 11u);
    // From the context menu this time, on the G7 row.
    screen.answerMenu(M::kCopy);
    w.rightClickRow(M::kList, kG7Row);
    ASSERT_EQ(screen.menus.size(), 1u);
    std::vector<std::string> texts;
    for (const ui::MenuItem& m : screen.menus[0]) texts.push_back(m.text);
    EXPECT_EQ(texts, (std::vector<std::string>{"Выбрать", "Показать", "Копировать", "Удалить", "Редактировать",
                                               "Послать функцию на PDA", "Экспорт драг-функции"}));
    EXPECT_TRUE(screen.menus[0][5].enabled);

    ASSERT_EQ(library.size(), 12u);
    for (const size_t i : {10u, 11u}) {
        EXPECT_STREQ(library[i].name, "G7_copy");
        EXPECT_EQ(library[i].kind, DragFuncKind::StandardCopy);
        EXPECT_EQ(points(library[i]), points(library[1]));
    }
    EXPECT_EQ(library[10].uniqueNumber, 11);
    EXPECT_EQ(library[11].uniqueNumber, 12);
    // The new copy is the row selected.
    EXPECT_EQ(w.selectedRows(M::kList), std::vector<int>{11});
    w.click(M::kCopy);
    EXPECT_STREQ(library[12].name, "G7_copy_copy");
    EXPECT_EQ(library[12].kind, DragFuncKind::StandardCopy);
    EXPECT_EQ(row(w, 12), (std::vector<std::string>{"копия стандартной", "G7_copy_copy", row(w, 1)[2], "13"}));
    EXPECT_EQ(stored().size(), 13u);
    EXPECT_TRUE(screen.messages.empty());
    dlg.destroy();

    // A data folder that cannot be written: the copy stays in memory, and the user is told.
    ASSERT_TRUE(writeFileAtomically(dir / "not a folder", "x"));
    M blocked(library, DataFolder::at(dir / "not a folder"), "G1", 1, solver, curveStep);
    auto& b = ui::openHeadless(blocked);
    b.clickCell(M::kList, kG7Row, 0);
    b.click(M::kCopy);
    EXPECT_EQ(library.size(), 14u);
    ASSERT_EQ(screen.messages.size(), 1u);
    EXPECT_EQ(screen.messages[0].text.rfind("Не удалось сохранить библиотеку драг-функций:", 0), 0u);
    blocked.destroy();
}

// "Выбрать" with no row says so and keeps the function the dialog started with.
TEST_F(Manager, SelectWithNoRowSaysSoAndKeepsThePreviousFunction) {
    M dlg(library, DataFolder::at(dir), "G7", 5, solver, curveStep);
    auto& w = ui::openHeadless(dlg);
    w.selectRow(M::kList, kG7Row, false);
    w.click(ui::kIdOk);
    EXPECT_EQ(screen.messageTexts(), std::vector<std::string>{"Выберите функцию"});
    EXPECT_TRUE(w.ended());
    EXPECT_EQ(w.endCode(), ui::kIdOk);
    EXPECT_EQ(dlg.selectedName(), "G7");
    EXPECT_EQ(dlg.selectedNumber(), 5);

    M again(library, DataFolder::at(dir), "G7", 5, solver, curveStep);
    auto& w2 = ui::openHeadless(again);
    screen.answerMenu(ui::kIdOk);
    w2.rightClickRow(M::kList, 3);
    EXPECT_EQ(again.selectedName(), "G5");
    EXPECT_EQ(again.selectedNumber(), 3);
}

// A standard function shows with its projectile, any other in the plain plot window; with no row
// selected G1 is shown. A double click is "Показать" too.
TEST_F(Manager, ShowOpensThePlotWindowOfTheFunctionsKind) {
    library.add(special("Моя", 11));
    M dlg(library, DataFolder::at(dir), "G1", 1, solver, curveStep);
    auto& w = ui::openHeadless(dlg);
    std::vector<std::string> shown;
    const auto record = [&](ui::HeadlessWindow& p) {
        shown.push_back(cp1251ToUtf8(dynamic_cast<CDlgDrugPlot&>(p.owner()).function().nameText()));
    };
    for (int i = 0; i < 4; ++i) screen.onNextModal(record);
    w.doubleClickRow(M::kList, kG7Row);
    w.clickCell(M::kList, 10, 0);
    w.click(M::kShow);
    screen.answerMenu(M::kShow);
    w.rightClickRow(M::kList, 3);
    w.selectRow(M::kList, 3, false);
    w.click(M::kShow);
    EXPECT_EQ(shown, (std::vector<std::string>{"G7", "Моя", "G5", "G1"}));
    EXPECT_EQ(screen.modalTitles, (std::vector<std::string>{"График стандартной драг-функции", "График драг-функции",
                                                            "График стандартной драг-функции",
                                                            "График стандартной драг-функции"}));
    dlg.destroy();
}

// A standard function is not edited (with no row, G1 is meant); its copy is, in its place and under
// its number, and becomes the current function. "Создать новую" adds a special function at the end.
TEST_F(Manager, EditRefusesStandardFunctionsEditsACopyInPlaceAndCreateNewAdds) {
    using E = CDlgDrugFuncEdit;
    M dlg(library, DataFolder::at(dir), "G1", 1, solver, curveStep);
    auto& w = ui::openHeadless(dlg);
    w.click(M::kEdit);
    w.selectRow(M::kList, 0, false);
    w.click(M::kEdit);
    const std::string refusal = "Нельзя редактировать\nстандартную функцию\nСделайте копию и ее редактируйте";
    EXPECT_EQ(screen.messageTexts(), (std::vector<std::string>{refusal, refusal}));
    EXPECT_TRUE(screen.modalTitles.empty());

    w.clickCell(M::kList, kG7Row, 0);
    w.click(M::kCopy);
    library.add(special("После копии", 20));  // the copy is no longer the last entry
    w.clickCell(M::kList, 10, 0);
    screen.onNextModal([](ui::HeadlessWindow& e) {
        EXPECT_EQ(e.text(E::kName), "G7_copy");
        e.type(E::kName, "G7 моя");
        e.type(E::kSectionalDensity, "0.3");
        e.click(ui::kIdOk);
    });
    w.click(M::kEdit);
    EXPECT_EQ(library.size(), 12u);
    EXPECT_STREQ(library[10].name, utf8ToCp1251("G7 моя").c_str());
    EXPECT_EQ(library[10].uniqueNumber, 11);
    EXPECT_EQ(library[10].kind, DragFuncKind::StandardCopy);
    EXPECT_EQ(library[10].sectionalDensity, 0.3);
    EXPECT_EQ(dlg.selectedName(), utf8ToCp1251("G7 моя"));
    EXPECT_EQ(w.selectedRows(M::kList), std::vector<int>{10});
    EXPECT_EQ(w.cell(M::kList, 10, 1), "G7 моя");
    EXPECT_EQ(stored().size(), 11u);  // the copy was saved; the edit waits for the close

    // Cancelled: nothing added.
    screen.onNextModal([](ui::HeadlessWindow& e) { e.click(ui::kIdCancel); });
    w.click(M::kCreateNew);
    screen.onNextModal([](ui::HeadlessWindow& e) {
        EXPECT_EQ(e.text(E::kName), "Новая функция");
        EXPECT_EQ(e.rowCount(E::kTable), 8);
        EXPECT_EQ(e.cell(E::kTable, 4, 0), "1.340");
        e.type(E::kSectionalDensity, "0.25");
        e.click(ui::kIdOk);
    });
    w.click(M::kCreateNew);
    ASSERT_EQ(library.size(), 13u);
    EXPECT_EQ(library[12].kind, DragFuncKind::Special);
    EXPECT_EQ(library[12].uniqueNumber, 21);
    EXPECT_EQ(w.selectedRows(M::kList), std::vector<int>{12});
    EXPECT_EQ(dlg.selectedNumber(), 21);
    dlg.destroy();
}

// The function estimated from the bullet's shape joins the library as a special one, selected, and
// the library is saved at once; a cancelled estimate adds nothing.
TEST_F(Manager, CreateFromShapeAddsTheEstimateAndSaves) {
    M dlg(library, DataFolder::at(dir), "G1", 1, solver, curveStep);
    auto& w = ui::openHeadless(dlg);
    screen.onNextModal([](ui::HeadlessWindow& e) { e.click(ui::kIdCancel); });
    w.click(M::kFromShape);
    EXPECT_EQ(library.size(), 10u);
    EXPECT_FALSE(fs::exists(dir / kLibraryFileName));
    screen.onNextModal([](ui::HeadlessWindow& e) {
        e.click(CDlgBCCalc::kCalculate);
        e.click(ui::kIdOk);
    });
    w.click(M::kFromShape);
    EXPECT_EQ(screen.modalTitles.back(), "Калькулятор драг-функции по форме пули");
    ASSERT_EQ(library.size(), 11u);
    const DragFunc& made = library[10];
    EXPECT_EQ(made.kind, DragFuncKind::Special);
    EXPECT_EQ(made.uniqueNumber, 11);
    EXPECT_EQ(made.points.size(), 70u);
    EXPECT_GT(made.sectionalDensity, 0);
    EXPECT_EQ(w.selectedRows(M::kList), std::vector<int>{10});
    EXPECT_EQ(dlg.selectedNumber(), 11);
    const DragLibrary saved = stored();
    ASSERT_EQ(saved.size(), 11u);
    EXPECT_EQ(saved[10], made);
    dlg.destroy();
}

// Delete asks first; G1, G7 and RA4 are refused; nothing is saved until the program closes.
TEST_F(Manager, DeleteAsksRefusesTheProtectedOnesAndLeavesTheSaveForLater) {
    library.add(special("Моя", 11));
    ASSERT_TRUE(library.saveLibrary(dir / kLibraryFileName));
    M dlg(library, DataFolder::at(dir), "G1", 1, solver, curveStep);
    auto& w = ui::openHeadless(dlg);
    w.selectRow(M::kList, 0, false);
    w.click(M::kDelete);
    w.clickCell(M::kList, kG7Row, 0);
    w.click(M::kDelete);  // answered Yes: refused all the same
    w.clickCell(M::kList, 10, 0);
    screen.answerMessage(ui::kIdNo);
    w.click(M::kDelete);
    EXPECT_EQ(library.size(), 11u);
    w.click(M::kDelete);
    EXPECT_EQ(screen.messageTexts(), (std::vector<std::string>{"Выберите функцию\nдля удаления",
                                                               "Действительно удалить\nвыбранную функцию\nG7 ?",
                                                               "Стандартные функции G1, G7 и RA4\nудалению не подлежат",
                                                               "Действительно удалить\nвыбранную функцию\nМоя ?",
                                                               "Действительно удалить\nвыбранную функцию\nМоя ?"}));
    EXPECT_EQ(screen.messages[1].buttons, ui::Buttons::YesNo);
    EXPECT_EQ(screen.messages[1].icon, ui::Icon::Error);
    EXPECT_EQ(library.size(), 10u);
    EXPECT_EQ(w.rowCount(M::kList), 10);
    EXPECT_EQ(stored().size(), 11u);  // still on disk
    // Copy with nothing selected.
    w.selectRow(M::kList, 0, false);
    w.click(M::kCopy);
    EXPECT_EQ(screen.messageTexts().back(), "Выберите функцию\nдля копирования");
    dlg.destroy();
}

// An import that brought something in ends the import dialog with OK, and the list shows it.
TEST_F(Manager, ImportRefreshesTheListAndImportedPointsAreInMachOrder) {
    DragFunc f = special("Из файла", 0);
    f.points = {{1.5, 0.30}, {0.5, 0.20}, {1.0, 0.40}, {0.5, 0.25}};
    struct Quiet : ExchangeReporter {
        void show(std::string_view) override {}
        bool askYesNo(std::string_view) override { return true; }
    } quiet;
    ASSERT_TRUE(exportSnr(f, dir / "a.snr", quiet));

    M dlg(library, DataFolder::at(dir), "G1", 1, solver, curveStep);
    auto& w = ui::openHeadless(dlg);
    screen.onNextModal([&](ui::HeadlessWindow& imp) {
        EXPECT_EQ(imp.title(), "Импорт драг-функций");
        screen.answerFileDialog(std::vector<fs::path>{dir / "a.snr", dir / "missing.snr"});
        imp.click(CDlgImport::kSnr);
        EXPECT_TRUE(imp.ended());
        EXPECT_EQ(imp.endCode(), ui::kIdOk);
    });
    w.click(M::kImport);
    EXPECT_EQ(screen.messageTexts(), std::vector<std::string>{"Импортировано функций: 1"});
    ASSERT_EQ(screen.fileDialogs.size(), 1u);
    EXPECT_EQ(screen.fileDialogs[0].title, "Выбрать все - Ctr+A");
    EXPECT_TRUE(screen.fileDialogs[0].multipleSelection);
    EXPECT_EQ(screen.fileDialogs[0].folder, dir);
    ASSERT_EQ(w.rowCount(M::kList), 11);
    EXPECT_EQ(w.cell(M::kList, 10, 1), "Из файла");
    // Sorted by Mach, the two at Mach 0.5 in the file's order.
    EXPECT_EQ(points(library[10]), (Points{{0.5, 0.20}, {0.5, 0.25}, {1.0, 0.40}, {1.5, 0.30}}));
    dlg.destroy();
}

// A ".pro" record whose numbers are not all finite is not taken and not counted.
TEST_F(Manager, AProFileWithValuesThatAreNoNumbersIsNotImported) {
    DragFuncOld old;
    std::strcpy(old.name, "Old");
    old.points = {{0.5, 0.2}, {1.0, std::nan("")}};
    ByteWriter bytes;
    writeLibraryRecordV2(bytes, old);
    ASSERT_TRUE(writeFileAtomically(dir / "bad.pro", bytes.data()));
    old.points = {{1.0, 0.4}, {0.5, 0.2}};
    ByteWriter good;
    writeLibraryRecordV2(good, old);
    ASSERT_TRUE(writeFileAtomically(dir / "good.pro", good.data()));

    CDlgImport dlg(library, dir);
    auto& w = ui::openHeadless(dlg);
    screen.answerFileDialog(std::vector<fs::path>{dir / "bad.pro", dir / "good.pro"});
    w.click(CDlgImport::kPro);
    EXPECT_EQ(screen.messageTexts(),
              (std::vector<std::string>{"В файле «bad.pro» есть значения, которые не являются числами: функция из "
                                        "него не импортирована",
                                        "Импортировано функций 1"}));
    ASSERT_EQ(library.size(), 11u);
    EXPECT_EQ(points(library[10]), (Points{{0.5, 0.2}, {1.0, 0.4}}));
    EXPECT_EQ(w.endCode(), ui::kIdOk);
}

// Export: the proposed names, the saved message, and a ".dat" that could not be written is said so.
TEST_F(Manager, ExportProposesSafeNamesAndTellsWhetherTheFileWasWritten) {
    EXPECT_EQ(CDlgExport::proposedSnrName(utf8ToCp1251("Sierra MatchKing, 168gr. 7.62*51-a/b:c?\"<>|\\")),
              "Sierra_MatchKing_168gr_762_51_a_b_c______");
    DragFunc f = special("Лапуа 185", 11);
    M dlg(library, DataFolder::at(dir), "G1", 1, solver, curveStep);
    library.add(f);
    auto& w = ui::openHeadless(dlg);
    w.clickCell(M::kList, 10, 0);
    screen.onNextModal([&](ui::HeadlessWindow& e) {
        EXPECT_EQ(e.text(CDlgExport::kName), "Лапуа 185");
        EXPECT_EQ(e.textColour(CDlgExport::kName), ui::kRed);
        EXPECT_EQ(e.font(CDlgExport::kName).pixelHeight, 16);
        EXPECT_TRUE(e.font(CDlgExport::kName).bold);
        screen.answerFileDialog(std::vector<fs::path>{dir / "f.snr"});
        e.click(CDlgExport::kSnr);
        screen.answerFileDialog(std::vector<fs::path>{dir / "no such folder" / "drag_function.dat"});
        e.click(CDlgExport::kDat);
        screen.answerFileDialog(std::vector<fs::path>{dir / "no such folder" / "f.snr"});
        e.click(CDlgExport::kSnr);
        screen.answerFileDialog(std::vector<fs::path>{dir / "drag_function.dat"});
        e.click(CDlgExport::kDat);
        screen.answerFileDialog(std::nullopt);
        e.click(CDlgExport::kDat);
    });
    w.click(M::kExport);
    EXPECT_EQ(screen.messageTexts(),
              (std::vector<std::string>{"Сохранено в файл:\n" + (dir / "f.snr").string(), "Не могу записать файл",
                                        "Не могу записать файл",
                                        "Сохранено в файл:\n" + (dir / "drag_function.dat").string()}));
    ASSERT_EQ(screen.fileDialogs.size(), 5u);
    EXPECT_EQ(screen.fileDialogs[0].fileName, "Лапуа_185");
    EXPECT_EQ(screen.fileDialogs[1].fileName, "drag_function");
    EXPECT_EQ(screen.fileDialogs[1].defaultExtension, "dat");
    EXPECT_TRUE(screen.fileDialogs[0].save && screen.fileDialogs[0].overwritePrompt);
    const auto back = DragLibrary::readSingleRecordFile(dir / "drag_function.dat");
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(*back, f);
    EXPECT_FALSE(fs::exists(dir / "no such folder"));
    dlg.destroy();
}

// The main dialog: "Выбрать" hands the function over and computes; a function that went away while
// the manager was open is said, and G1 taken as the next start would.
TEST_F(Manager, MainDialogTakesTheChoiceAndSaysWhenItsFunctionWasDeleted) {
    const fs::path program = dir / "program", data = dir / "data";
    fs::create_directories(program);
    {
        CtkdeskDlg dlg(program, data);
        auto& w = ui::openHeadless(dlg);
        EXPECT_TRUE(w.isEnabled(ctkdesk::kDragFunctionButton));
        screen.onNextModal([&](ui::HeadlessWindow& m) {
            EXPECT_EQ(m.selectedRows(M::kList), std::vector<int>{0});  // G1, the calculator's
            m.clickCell(M::kList, kG7Row, 0);
            m.click(ui::kIdOk);
        });
        w.click(ctkdesk::kDragFunctionButton);
        EXPECT_EQ(w.text(ctkdesk::kDragFunctionName), "G7");
        EXPECT_EQ(dlg.mainSolver().dragFunction.uniqueNumber, 5);
        EXPECT_NE(w.text(ctkdesk::kVerticalMoa), "0");  // computed with it
        const std::string withG7 = w.text(ctkdesk::kVerticalMoa);

        // A copy of G7 chosen, then deleted in a later visit and the manager closed.
        screen.onNextModal([&](ui::HeadlessWindow& m) {
            m.click(M::kCopy);
            m.click(ui::kIdOk);
        });
        w.click(ctkdesk::kDragFunctionButton);
        EXPECT_EQ(w.text(ctkdesk::kDragFunctionName), "G7_copy");
        screen.onNextModal([&](ui::HeadlessWindow& m) {
            EXPECT_EQ(m.cell(M::kList, m.selectedRows(M::kList).at(0), 1), "G7_copy");
            m.click(M::kDelete);
            m.click(ui::kIdCancel);
        });
        screen.messages.clear();
        w.click(ctkdesk::kDragFunctionButton);
        ASSERT_EQ(screen.messages.size(), 2u);
        EXPECT_EQ(screen.messages[1].text,
                  "Драг-функции «G7_copy» (номер 12) больше нет в библиотеке.\nКалькулятор берёт драг-функцию «G1».");
        EXPECT_EQ(w.text(ctkdesk::kDragFunctionName), "G1");
        EXPECT_NE(w.text(ctkdesk::kVerticalMoa), withG7);

        // The calculator's function edited in the manager, then closed without a choice: computed
        // with the edited function, not with the one it had before.
        screen.onNextModal([&](ui::HeadlessWindow& m) {
            m.clickCell(M::kList, kG7Row, 0);
            m.click(M::kCopy);
            m.click(ui::kIdOk);
        });
        w.click(ctkdesk::kDragFunctionButton);
        ASSERT_EQ(w.text(ctkdesk::kDragFunctionName), "G7_copy");
        screen.onNextModal([&](ui::HeadlessWindow& m) {
            screen.onNextModal([](ui::HeadlessWindow& e) {
                e.type(CDlgDrugFuncEdit::kSectionalDensity, "0.3");
                e.click(ui::kIdOk);
            });
            m.click(M::kEdit);
            m.click(ui::kIdCancel);
        });
        w.click(ctkdesk::kDragFunctionButton);
        EXPECT_EQ(w.text(ctkdesk::kDragFunctionName), "G7_copy");
        EXPECT_EQ(dlg.mainSolver().dragFunction.sectionalDensity, 0.3);
        screen.onNextModal([&](ui::HeadlessWindow& m) {
            m.click(M::kDelete);  // the selected row is the calculator's
            m.click(ui::kIdCancel);
        });
        w.click(ctkdesk::kDragFunctionButton);
        ASSERT_EQ(w.text(ctkdesk::kDragFunctionName), "G1");

        // Closed without a choice and nothing gone: nothing changes, nothing said.
        screen.messages.clear();
        screen.onNextModal([&](ui::HeadlessWindow& m) {
            m.clickCell(M::kList, kG7Row, 0);
            m.click(ui::kIdCancel);
        });
        w.click(ctkdesk::kDragFunctionButton);
        EXPECT_EQ(w.text(ctkdesk::kDragFunctionName), "G1");
        EXPECT_TRUE(screen.messages.empty());
        dlg.destroy();
    }
}

}  // namespace

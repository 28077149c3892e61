#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "BulletFiles.h"
#include "BulletReport.h"
#include "CDlgBCCalc.h"
#include "CDlgBullets.h"
#include "CDlgDrugPlot.h"
#include "CDlgShowBulletDim.h"
#include "FileIO.h"
#include "HeadlessBackend.h"
#include "TextCodec.h"

namespace fs = std::filesystem;
using ui::HeadlessWindow;

namespace {

// A data folder of its own for every test, and the headless screen. The older files' root folder is
// not looked at (a test's machine may have anything there).
class EstimateDialog : public ::testing::Test {
protected:
    void SetUp() override {
        data = fs::temp_directory_path() / ("tk-bcc-" + std::to_string(std::random_device{}()));
        fs::create_directories(data);
    }
    void TearDown() override {
        std::error_code ec;
        fs::remove_all(data, ec);
    }

    HeadlessWindow& open(CDlgBCCalc& dlg) {
        dlg.setRootFolder({});
        return ui::openHeadless(dlg);
    }
    // The first bullet of the built-in list (twist 10 in), typed into the fields.
    static void typeDefaultBullet(HeadlessWindow& w) {
        const CBulletDimensions b;
        w.type(CDlgBCCalc::kName, cp1251ToUtf8(b.nameText()));
        w.type(CDlgBCCalc::kTwist, "10");
    }
    std::vector<std::string> results(const HeadlessWindow& w) const {
        std::vector<std::string> out;
        for (int id : {CDlgBCCalc::kBallisticCoefficient, CDlgBCCalc::kSectionalDensity,
                       CDlgBCCalc::kTwistForStability, CDlgBCCalc::kStabilityFactor})
            out.push_back(w.text(id));
        return out;
    }
    std::optional<std::string> file(std::string_view name) const { return readWholeFile(data / fs::path(name)); }
    CBulletsArray storedDatabase() const {
        return BulletFiles::ParseDatabase(file(BulletFiles::kDatabaseFileName).value_or("")).bullets;
    }

    fs::path data;
    ui::HeadlessBackend screen;
};

std::vector<std::string> names(const CBulletsArray& bullets) {
    std::vector<std::string> out;
    for (const CBulletDimensions& b : bullets) out.push_back(cp1251ToUtf8(b.nameText()) + "#" + std::to_string(b.uniqueNumber));
    return out;
}

}  // namespace

// The first opening shows the built-in current bullet; the figures shooters compare with come out
// (G1 BC 0.446, SD 0.252, twist 11.5, Sg 1.97 at 1:10) and go into the edited function, which keeps
// its description, number and kind. The bullet is kept for the next opening.
TEST_F(EstimateDialog, DefaultBulletGivesTheKnownFiguresAndSavesIntoTheFunction) {
    CDlgBCCalc dlg(data);
    DragFunc edited;
    edited.setDescription("моя");
    edited.uniqueNumber = 42;
    edited.kind = DragFuncKind::StandardCopy;
    dlg.setDragFunc(edited);
    HeadlessWindow& w = open(dlg);
    EXPECT_EQ(w.title(), "Калькулятор драг-функции по форме пули");
    EXPECT_EQ(w.text(CDlgBCCalc::kName), "Lapua Scenar 167gr");
    EXPECT_EQ(w.text(CDlgBCCalc::kTwist), "11");
    EXPECT_TRUE(w.isChecked(CDlgBCCalc::kSecant));
    EXPECT_TRUE(w.isChecked(CDlgBCCalc::kModelG1));

    typeDefaultBullet(w);
    w.pressKey(CDlgBCCalc::kTwist, ui::kKeyReturn);  // Enter calculates, it does not close
    EXPECT_FALSE(w.ended());
    EXPECT_EQ(results(w), (std::vector<std::string>{"0.446", "0.252", "11.5", "1.97"}));
    EXPECT_TRUE(screen.messages.empty());

    w.click(ui::kIdOk);
    ASSERT_TRUE(w.ended());
    EXPECT_EQ(w.endCode(), ui::kIdOk);
    const DragFunc& f = dlg.dragFunc();
    ASSERT_EQ(f.points.size(), 70u);
    EXPECT_EQ(f.points.front().mach, 0.0);
    EXPECT_EQ(cp1251ToUtf8(f.nameText()), ".308Win, Lapua Scenar, 167gr");
    EXPECT_DOUBLE_EQ(f.sectionalDensity, 0.252);
    EXPECT_DOUBLE_EQ(f.stabilityFactor, 1.97);
    EXPECT_DOUBLE_EQ(f.twist, 10);
    EXPECT_DOUBLE_EQ(f.bulletWeight, 167);
    EXPECT_EQ(std::string(f.description), "моя");
    EXPECT_EQ(f.uniqueNumber, 42);
    EXPECT_EQ(f.kind, DragFuncKind::StandardCopy);
    EXPECT_EQ(BulletFiles::LoadCurrent({data, {}}).bullet.twist, 10);
}

// "Показать кривую" calculates and shows the estimated curve, with the name the function will have.
TEST_F(EstimateDialog, ShowCurveOpensThePlotOfTheEstimate) {
    CDlgBCCalc dlg(data);
    HeadlessWindow& w = open(dlg);
    w.type(CDlgBCCalc::kName, "Моя пуля");
    size_t points = 0;
    std::string name;
    screen.onNextModal([&](HeadlessWindow& p) {
        const auto& plot = static_cast<CDlgDrugPlot&>(p.owner());
        points = plot.function().points.size();
        name = cp1251ToUtf8(plot.function().nameText());
        p.click(ui::kIdOk);
    });
    w.click(CDlgBCCalc::kShowCurve);
    EXPECT_EQ(screen.modalTitles.size(), 1u);
    EXPECT_EQ(points, 70u);
    EXPECT_EQ(name, "Моя пуля");
    EXPECT_EQ(w.text(CDlgBCCalc::kBallisticCoefficient), "0.446");
    EXPECT_FALSE(w.ended());
    w.closeBox();
}

// The BC label names the law chosen, and a BC of one law is never shown under the other's label.
TEST_F(EstimateDialog, BallisticCoefficientFollowsTheChosenModel) {
    CDlgBCCalc dlg(data);
    HeadlessWindow& w = open(dlg);
    EXPECT_EQ(w.text(CDlgBCCalc::kBallisticCoefficientLabel), "Баллистический коэффициент (для G1 и заданной скорости)");
    w.click(CDlgBCCalc::kCalculate);
    EXPECT_EQ(w.text(CDlgBCCalc::kBallisticCoefficient), "0.446");
    w.click(CDlgBCCalc::kModelG7);
    EXPECT_EQ(w.text(CDlgBCCalc::kBallisticCoefficientLabel), "Баллистический коэффициент (для G7 и заданной скорости)");
    EXPECT_EQ(w.text(CDlgBCCalc::kBallisticCoefficient), "");
    w.click(CDlgBCCalc::kCalculate);
    EXPECT_EQ(w.text(CDlgBCCalc::kBallisticCoefficient), "0.224");
    w.click(CDlgBCCalc::kModelG1);
    EXPECT_EQ(w.text(CDlgBCCalc::kBallisticCoefficient), "");
    w.closeBox();
}

// Results that cannot be used are shown as such and never handed back: a zero weight gives a
// sectional density of 0 (the BC then comes out as 0 too), a secant radius of one calibre no
// stability at all. Saving and the curve refuse, the dialog stays open, the function is untouched.
TEST_F(EstimateDialog, UnusableResultsAreRefused) {
    CDlgBCCalc dlg(data);
    DragFunc edited;
    edited.points = {{0.5, 0.3}};
    dlg.setDragFunc(edited);
    HeadlessWindow& w = open(dlg);

    w.type(CDlgBCCalc::kWeight, "0");
    w.click(ui::kIdOk);
    EXPECT_FALSE(w.ended());
    EXPECT_EQ(w.text(CDlgBCCalc::kSectionalDensity), "0");
    ASSERT_EQ(screen.messages.size(), 1u);
    EXPECT_NE(screen.messages[0].text.find("Драг-функцию нельзя сохранить"), std::string::npos);
    EXPECT_NE(screen.messages[0].text.find("поперечная нагрузка"), std::string::npos);

    w.type(CDlgBCCalc::kWeight, "10.82");
    w.type(CDlgBCCalc::kOgiveRadius, "1");
    w.click(CDlgBCCalc::kShowCurve);
    EXPECT_EQ(w.text(CDlgBCCalc::kStabilityFactor), "не определено");
    ASSERT_EQ(screen.messages.size(), 2u);
    EXPECT_NE(screen.messages[1].text.find("Кривую нельзя показать"), std::string::npos);
    EXPECT_NE(screen.messages[1].text.find("фактор стабильности"), std::string::npos);
    w.click(ui::kIdOk);
    EXPECT_FALSE(w.ended());
    EXPECT_EQ(screen.modalTitles.size(), 0u);  // no plot window
    EXPECT_EQ(dlg.dragFunc(), edited);

    // A field that is no number stops everything before the files are touched.
    const std::optional<std::string> before = file(BulletFiles::kCurrentFileName);
    w.type(CDlgBCCalc::kLength, "длинная");
    w.click(ui::kIdOk);
    EXPECT_FALSE(w.ended());
    EXPECT_EQ(screen.messages.back().text, "L, общая длина в мм: введите число.");
    EXPECT_EQ(file(BulletFiles::kCurrentFileName), before);
    // A name the bullet files cannot hold is not turned into question marks.
    w.type(CDlgBCCalc::kLength, "31.3");
    w.type(CDlgBCCalc::kName, "Пуля ½");
    w.click(CDlgBCCalc::kToDatabase);
    EXPECT_EQ(screen.messages.back().text.rfind("Название пули: есть знаки", 0), 0u);
    EXPECT_FALSE(file(BulletFiles::kDatabaseFileName));
    w.click(ui::kIdCancel);
    EXPECT_EQ(w.endCode(), ui::kIdCancel);
}

// The four doubts about a shape are each shown once, in their order, and the figures still come.
TEST_F(EstimateDialog, WarningsAreShownInOrder) {
    CDlgBCCalc dlg(data);
    HeadlessWindow& w = open(dlg);
    w.type(CDlgBCCalc::kNoseLength, "7");    // L1/d <= 1
    w.type(CDlgBCCalc::kMeplat, "4");        // D1/d >= 0.5
    w.type(CDlgBCCalc::kBaseDiameter, "5");  // D2/d < 0.65
    w.type(CDlgBCCalc::kBoatTail, "12");     // L2/d >= 1.5
    w.click(CDlgBCCalc::kCalculate);
    std::vector<std::string> first;
    for (const std::string& t : screen.messageTexts()) first.push_back(t.substr(0, t.find('\n')));
    EXPECT_EQ(first, (std::vector<std::string>{"Носик пули слишком короткий", "Носик пули слишком тупой",
                                               "Диаметр донца пули слишком маленький",
                                               "Длина донца пули слишком большая"}));
    EXPECT_NE(w.text(CDlgBCCalc::kBallisticCoefficient), "");
    w.closeBox();
}

// A nose shape the dialog does not know (from an older or damaged file) is a tangent ogive, and is
// stored back as one.
TEST_F(EstimateDialog, UnknownNoseShapeCountsAsTangentAndIsStoredAsIt) {
    CBulletDimensions odd = BulletFiles::BuiltInCurrent();
    odd.noseShape = static_cast<NoseShape>(7);
    ASSERT_TRUE(BulletFiles::SaveCurrent(data, odd));
    CDlgBCCalc dlg(data);
    HeadlessWindow& w = open(dlg);
    EXPECT_TRUE(w.isChecked(CDlgBCCalc::kTangent));
    EXPECT_FALSE(w.isEnabled(CDlgBCCalc::kOgiveRadius));
    w.type(CDlgBCCalc::kTwist, "10");
    w.click(CDlgBCCalc::kCalculate);
    EXPECT_EQ(w.text(CDlgBCCalc::kTwistForStability), "11.3");  // the default bullet with a tangent ogive
    EXPECT_EQ(BulletFiles::LoadCurrent({data, {}}).bullet.noseShape, NoseShape::Tangent);
    w.closeBox();
}

// "Сохранить в базу" adds the bullet again under a new number each time and says "Сохранено" only
// once the file is written; "Взять из базы" puts the chosen record in the fields.
TEST_F(EstimateDialog, SaveToAndTakeFromTheDatabase) {
    CDlgBCCalc dlg(data);
    HeadlessWindow& w = open(dlg);
    w.type(CDlgBCCalc::kName, "Моя пуля");
    w.click(CDlgBCCalc::kToDatabase);
    w.click(CDlgBCCalc::kToDatabase);
    EXPECT_EQ(screen.messageTexts(), (std::vector<std::string>{"Сохранено", "Сохранено"}));
    const std::vector<std::string> stored = names(storedDatabase());
    ASSERT_EQ(stored.size(), 13u);
    EXPECT_EQ(stored[11], "Моя пуля#12");
    EXPECT_EQ(stored[12], "Моя пуля#13");

    screen.onNextModal([](HeadlessWindow& b) {
        EXPECT_EQ(b.title(), "База размеров пуль");
        EXPECT_EQ(b.rowCount(CDlgBullets::kList), 13);
        EXPECT_EQ(b.cell(CDlgBullets::kList, 9, 0), ".223Rem, Sierra Match King, 69gr");
        EXPECT_EQ(b.cell(CDlgBullets::kList, 9, 1), "10");
        b.clickCell(CDlgBullets::kList, 9, 0);
        b.click(ui::kIdOk);
    });
    w.click(CDlgBCCalc::kFromDatabase);
    EXPECT_EQ(w.text(CDlgBCCalc::kName), ".223Rem, Sierra Match King, 69gr");
    EXPECT_EQ(w.text(CDlgBCCalc::kVelocity), "960");
    EXPECT_EQ(w.text(CDlgBCCalc::kWeight), "4.47");
    EXPECT_EQ(dlg.currentBullet().uniqueNumber, 10);
    w.closeBox();
}

// Deletions in the browser are kept by "Закрыть" (an empty database stays empty, not the built-in
// list, at the next opening) and dropped by "Отставить!".
TEST_F(EstimateDialog, BrowserDeletionsAreKeptByCloseAndDroppedByCancel) {
    auto deleteFirstRows = [](int count, int closeWith) {
        return [count, closeWith](HeadlessWindow& b) {
            for (int i = 0; i < count; ++i) {
                b.clickCell(CDlgBullets::kList, 0, 0);
                b.click(CDlgBullets::kDelete);
            }
            b.click(closeWith);
        };
    };
    {
        CDlgBCCalc dlg(data);
        HeadlessWindow& w = open(dlg);
        screen.onNextModal(deleteFirstRows(3, ui::kIdCancel));
        w.click(CDlgBCCalc::kFromDatabase);
        EXPECT_EQ(dlg.database().GetSize(), 11u);
        EXPECT_FALSE(file(BulletFiles::kDatabaseFileName));
        screen.onNextModal(deleteFirstRows(11, CDlgBullets::kClose));
        w.click(CDlgBCCalc::kFromDatabase);
        EXPECT_EQ(dlg.database().GetSize(), 0u);
        EXPECT_EQ(file(BulletFiles::kDatabaseFileName), std::optional<std::string>(""));
        // Every deletion asked first.
        EXPECT_EQ(screen.messageTexts().size(), 14u);
        EXPECT_EQ(screen.messages[0].text, "Действительно удалить\nвыбранную пулю?");
        EXPECT_EQ(screen.messages[0].buttons, ui::Buttons::YesNo);
        w.closeBox();
    }
    CDlgBCCalc again(data);
    open(again);
    EXPECT_TRUE(again.database().IsEmpty());
    again.destroy();
}

// The browser's commands without a row say so; "Выбрать и закрыть" then closes, leaving the bullet
// as it was; a double click shows the report of the row.
TEST(BulletBrowser, CommandsWithoutARowAndTheReport) {
    ui::HeadlessBackend screen;
    const CBulletsArray db = CBulletsArray::BuiltIn();
    const CBulletDimensions current = BulletFiles::BuiltInCurrent();
    CDlgBullets dlg(db, current);
    HeadlessWindow& w = ui::openHeadless(dlg);
    EXPECT_EQ(w.column(CDlgBullets::kList, 0).title, "Пуля");
    EXPECT_EQ(w.column(CDlgBullets::kList, 1).title, "Уник.номер");
    w.click(CDlgBullets::kDelete);
    w.click(CDlgBullets::kShow);
    EXPECT_EQ(screen.messageTexts(), (std::vector<std::string>{"Выберите функцию\nдля удаления", "Выберите пулю"}));

    std::string shown;
    screen.onNextModal([&shown](HeadlessWindow& r) {
        EXPECT_EQ(r.title(), "Размеры пули");
        shown = r.text(CDlgShowBulletDim::kReport);
        r.click(ui::kIdOk);
    });
    w.doubleClickRow(CDlgBullets::kList, 6);
    EXPECT_EQ(shown, bulletReportText(db[6]));
    EXPECT_EQ(shown.substr(0, shown.find('\n')), ".243Win, Lapua Scenar, 90gr, GB493");

    w.selectRow(CDlgBullets::kList, 6, false);
    w.click(ui::kIdOk);
    EXPECT_EQ(screen.messages.back().text, "Выберите пулю");
    EXPECT_EQ(w.endCode(), ui::kIdOk);
    EXPECT_EQ(dlg.selection(), db[6]);  // the row last shown
}

// The report names every value once; the twist is the number it is, never cut to a whole one.
TEST(BulletReport, TwistAsTheNumberItIsAndEachNoseShape) {
    CBulletDimensions b;  // .308Win, Lapua Scenar, 167gr, Secant 6 calibres, twist 10
    EXPECT_EQ(bulletReportText(b),
              ".308Win, Lapua Scenar, 167gr\n"
              "Нач.скорость пули, м/сек - 810.00\n"
              "Шаг нарезов, дюймы - 10\n"
              "Вес пули, граммы - 10.82\n"
              "Форма носика - секантная\n"
              "Радиус, в калибрах - 6.0\n"
              "Длина пули (L), мм = 31.30\n"
              "Диаметр пули (D), мм = 7.82\n"
              "Длина носика пули (L1), мм = 15.90\n"
              "Диаметр носика пули (D1), мм = 1.60\n"
              "Длина донца пули (L2), мм = 5.30\n"
              "Диаметр донца пули (D2), мм = 6.10");
    auto line = [](const CBulletDimensions& x, int n) {
        const std::string t = bulletReportText(x);
        size_t at = 0;
        for (int i = 0; i < n; ++i) at = t.find('\n', at) + 1;
        return t.substr(at, t.find('\n', at) - at);
    };
    b.twist = 11.5;
    EXPECT_EQ(line(b, 2), "Шаг нарезов, дюймы - 11.5");
    b.twist = 254 / 25.4;  // a twist taken over from millimetres
    EXPECT_EQ(line(b, 2), "Шаг нарезов, дюймы - 10");
    b.twist = 1e300;  // an int conversion would be undefined here
    EXPECT_EQ(line(b, 2), "Шаг нарезов, дюймы - 1e+300");
    b.weight = std::numeric_limits<double>::quiet_NaN();
    EXPECT_EQ(line(b, 3), "Вес пули, граммы - не определено");
    b.noseShape = NoseShape::Conical;
    EXPECT_EQ(line(b, 4), "Форма носика - коническая");
    EXPECT_EQ(line(b, 5), "Длина пули (L), мм = 31.30");
    for (int shape : {0, -1, 9}) {
        b.noseShape = static_cast<NoseShape>(shape);
        EXPECT_EQ(line(b, 4), "Форма носика - тангенциальная");
    }
}

// A database file the dialog could not read whole is copied to "bullets_dim2.dat.bak" before the
// first save replaces it, and the user is told both times.
TEST_F(EstimateDialog, DatabaseNotReadWholeIsKeptBeforeTheFirstSave) {
    CBulletsArray two;
    two.Add(CBulletsArray::BuiltIn()[0]);
    two.Add(CBulletsArray::BuiltIn()[1]);
    std::string cut = BulletFiles::DatabaseToBytes(two);
    cut[0] = 3;  // announces three records
    ASSERT_TRUE(writeFileAtomically(data / BulletFiles::kDatabaseFileName, cut));

    CDlgBCCalc dlg(data);
    HeadlessWindow& w = open(dlg);
    EXPECT_EQ(dlg.database().GetSize(), 2u);
    ASSERT_EQ(screen.messages.size(), 1u);
    EXPECT_NE(screen.messages[0].text.find("прочитан не целиком"), std::string::npos);
    EXPECT_NE(screen.messages[0].text.find("«bullets_dim2.dat.bak»"), std::string::npos);
    EXPECT_FALSE(file("bullets_dim2.dat.bak"));

    w.click(CDlgBCCalc::kToDatabase);
    EXPECT_EQ(file("bullets_dim2.dat.bak"), cut);
    EXPECT_EQ(storedDatabase().GetSize(), 3u);
    ASSERT_EQ(screen.messages.size(), 2u);
    EXPECT_EQ(screen.messages[1].text.rfind("Сохранено\n\nПрежний файл базы", 0), 0u);

    // Only the first save: the copy is not replaced by what this dialog wrote.
    w.click(CDlgBCCalc::kToDatabase);
    EXPECT_EQ(file("bullets_dim2.dat.bak"), cut);
    EXPECT_EQ(screen.messages.back().text, "Сохранено");
    w.closeBox();
}

// A database that cannot be written is never reported as saved, and the bullet is not left in the
// list as if it were.
TEST_F(EstimateDialog, FailedDatabaseSaveIsNotReportedAsSaved) {
    CDlgBCCalc dlg(data);
    HeadlessWindow& w = open(dlg);
    // The data folder is gone, a file stands in its place: nothing can be written there.
    fs::remove_all(data);
    ASSERT_TRUE(writeFileAtomically(data, "not a folder"));
    w.click(CDlgBCCalc::kToDatabase);
    ASSERT_EQ(screen.messages.size(), 1u);
    EXPECT_EQ(screen.messages[0].text.find("Сохранено"), std::string::npos);
    EXPECT_NE(screen.messages[0].text.find("не сохранена"), std::string::npos);
    EXPECT_EQ(screen.messages[0].icon, ui::Icon::Warning);
    EXPECT_EQ(dlg.database().GetSize(), 11u);
    w.closeBox();
    fs::remove(data);
}

// The picture is the bullet as typed, to scale; a meplat wider than the bullet draws nothing rather
// than a shape that cannot be.
TEST_F(EstimateDialog, PictureFollowsTheTypedShape) {
    CDlgBCCalc dlg(data);
    HeadlessWindow& w = open(dlg);
    auto outline = [&w]() -> std::vector<ui::Point> {
        for (const ui::PaintOp& op : w.paint(CDlgBCCalc::kPicture).ops)
            if (op.type == ui::PaintOp::Polygon) return op.points;
        return {};
    };
    std::vector<ui::Point> shape = outline();
    ASSERT_FALSE(shape.empty());
    auto [left, right] = std::minmax_element(shape.begin(), shape.end(),
                                             [](ui::Point a, ui::Point b) { return a.x < b.x; });
    auto [top, bottom] = std::minmax_element(shape.begin(), shape.end(),
                                             [](ui::Point a, ui::Point b) { return a.y < b.y; });
    const double scale = (bottom->y - top->y) / 7.82;
    EXPECT_NEAR((right->x - left->x) / scale, 31.3, 0.5);
    EXPECT_LE(right->x - left->x, w.controlRect(CDlgBCCalc::kPicture).width);
    // The tip is the meplat: 1.6 of 7.82 mm high.
    int tipTop = 1 << 20, tipBottom = -(1 << 20);
    for (ui::Point p : shape)
        if (p.x == right->x) tipTop = std::min(tipTop, p.y), tipBottom = std::max(tipBottom, p.y);
    EXPECT_NEAR((tipBottom - tipTop) / scale, 1.6, 0.3);

    w.type(CDlgBCCalc::kMeplat, "9");
    EXPECT_TRUE(outline().empty());
    w.closeBox();
}

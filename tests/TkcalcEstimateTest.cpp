#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>
#include <sstream>
#include <unistd.h>

#include "BulletFiles.h"
#include "DragLibrary.h"
#include "FileIO.h"
#include "TextCodec.h"
#include "Tkcalc.h"
#include "TkcalcRun.h"

namespace fs = std::filesystem;

namespace {
// A data folder whose current bullet is the database's first record (the built-in current bullet
// has another twist) and whose database holds one bullet of the user's.
class EstimateFolder : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() / ("tkcalc-estimate-" + std::to_string(::getpid()) + "-" +
                                           ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir);
        fs::create_directories(dir);
        ASSERT_TRUE(BulletFiles::SaveCurrent(dir, CBulletDimensions{}));
        CBulletsArray db;
        CBulletDimensions mine;
        mine.setName(utf8ToCp1251("Моя пуля"));
        mine.noseShape = NoseShape::Conical;
        mine.uniqueNumber = 7;
        db.Add(mine);
        ASSERT_TRUE(BulletFiles::SaveDatabase(dir, db));
    }
    void TearDown() override { fs::remove_all(dir); }

    Outcome run(std::vector<std::string> args) {
        args.insert(args.begin(), {"estimate", "--data-dir", dir.string()});
        return tkcalc(args);
    }
    nlohmann::json json(std::vector<std::string> args) {
        args.push_back("--json");
        const Outcome o = run(args);
        return nlohmann::json::parse(o.out);
    }
    std::string bytes(const char* file) { return readWholeFile(dir / file, 1 << 20).value_or("(missing)"); }

    fs::path dir;
};
}  // namespace

// The figures of the calculator's first bullet, and nothing in the folder changes.
TEST_F(EstimateFolder, CurrentBulletGivesTheKnownFiguresAndWritesNothing) {
    const std::string current = bytes("bullet_dim_current.dat"), database = bytes("bullets_dim2.dat");
    const nlohmann::json o = json({});
    EXPECT_EQ(o["model"], "G1");
    EXPECT_EQ(o["ballisticCoefficient"], 0.446);
    EXPECT_EQ(o["sectionalDensity"], 0.252);
    EXPECT_EQ(o["stabilityFactor"], 1.97);
    EXPECT_EQ(o["twistForStability"], 11.5);
    EXPECT_NEAR(o["formFactor"].get<double>(), 0.5636656715, 1e-9);
    EXPECT_TRUE(o["warnings"].empty());
    const nlohmann::json& f = o["dragFunction"];
    EXPECT_EQ(f["name"], ".308Win, Lapua Scenar, 167gr");
    ASSERT_EQ(f["points"].size(), 70u);
    EXPECT_EQ(f["points"][27][0], 1.4);
    EXPECT_EQ(f["bulletWeight"], 167.0);
    EXPECT_EQ(f["twist"], 10.0);
    EXPECT_EQ(bytes("bullet_dim_current.dat"), current);
    EXPECT_EQ(bytes("bullets_dim2.dat"), database);
    EXPECT_FALSE(fs::exists(dir / "bc_cdm3.dat"));

    const Outcome text = run({"--model", "G7", "--mach", "1.4,2"});
    EXPECT_EQ(text.status, kTkcalcOk);
    EXPECT_NE(text.out.find("Баллистический коэффициент (для G7 и заданной скорости): 0.224\n"), std::string::npos);
    EXPECT_NE(text.out.find("\n1.4\t0.4011\n2\t"), std::string::npos);  // the asked Mach numbers at the end
}

// A database record by name and number, with the options changing its shape; unknown names refused.
TEST_F(EstimateFolder, DatabaseRecordAndOptions) {
    const nlohmann::json conical = json({"--bullet", "Моя пуля#7"});
    EXPECT_EQ(conical["twistForStability"], 14.7);  // the default shape with a conical nose
    EXPECT_EQ(conical["stabilityFactor"], 3.25);
    const nlohmann::json secant = json({"--bullet", "Моя пуля", "--nose", "secant", "--velocity", "340"});
    EXPECT_EQ(secant["twistForStability"], 7.5);
    EXPECT_EQ(secant["stabilityFactor"], 0.84);

    const Outcome missing = run({"--bullet", "Моя пуля#8"});
    EXPECT_EQ(missing.status, kTkcalcBadInput);
    EXPECT_NE(missing.err.find("\"Моя пуля#7\""), std::string::npos);
    EXPECT_TRUE(missing.out.empty());
    for (std::vector<std::string> bad : {std::vector<std::string>{"--weight", "10,8"}, {"--mach", "0"},
                                         {"--model", "G2"}, {"--nose", "round"}, {"--twist"}, {"stray"}}) {
        EXPECT_EQ(run(bad).status, kTkcalcBadInput) << bad[0];
    }
}

// The doubts about a shape go to stderr and into the JSON, in order; the results still come out.
TEST_F(EstimateFolder, WarningsInOrder) {
    const Outcome o = run({"--meplat", "4", "--boat-tail", "12"});
    EXPECT_EQ(o.status, kTkcalcOk);
    EXPECT_EQ(o.err,
              "Предупреждение: Носик пули слишком тупой Сопротивление будет слишком высоко для сверхзвуковых скоростей\n"
              "Предупреждение: Длина донца пули слишком большая Расчет может быть некорректным\n");
    const nlohmann::json j = json({"--meplat", "4", "--boat-tail", "12"});
    ASSERT_EQ(j["warnings"].size(), 2u);
    EXPECT_EQ(j["warnings"][1], "Длина донца пули слишком большая\nРасчет может быть некорректным");
}

// Results that are not numbers read "не определено" (null in JSON), give status 3 and are never
// added; a usable estimate is added as a special function and the library saved.
TEST_F(EstimateFolder, UnusableResultsAreNeverAdded) {
    const Outcome sharp = run({"--ogive-radius", "1", "--add"});
    EXPECT_EQ(sharp.status, kTkcalcUnreliable);
    EXPECT_NE(sharp.out.find("Фактор гироскопической стабильности: не определено\n"), std::string::npos);
    EXPECT_NE(sharp.err.find("Драг-функция не добавлена"), std::string::npos);
    const Outcome light = run({"--weight", "0", "--add"});
    EXPECT_EQ(light.status, kTkcalcUnreliable);
    EXPECT_NE(light.err.find("поперечная нагрузка"), std::string::npos);
    EXPECT_FALSE(fs::exists(dir / "bc_cdm3.dat"));
    const nlohmann::json j = json({"--ogive-radius", "1"});
    EXPECT_TRUE(j["stabilityFactor"].is_null());
    EXPECT_FALSE(j["usable"].get<bool>());

    const Outcome added = run({"--name", "Оценка", "--add"});
    EXPECT_EQ(added.status, kTkcalcOk);
    DragLibrary library;
    ASSERT_EQ(library.loadLibrary(dir / "bc_cdm3.dat"), LibraryRead::Complete);
    const DragFunc& f = library.at(library.size() - 1);
    EXPECT_EQ(cp1251ToUtf8(f.nameText()), "Оценка");
    EXPECT_EQ(f.kind, DragFuncKind::Special);
    EXPECT_EQ(f.uniqueNumber, library.at(library.size() - 2).uniqueNumber + 1);
    EXPECT_EQ(f.points.size(), 70u);
    EXPECT_DOUBLE_EQ(f.sectionalDensity, 0.252);
}

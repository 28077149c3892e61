#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>
#include <random>
#include <sstream>

#include "BulletFiles.h"
#include "BulletReport.h"
#include "FileIO.h"
#include "TextCodec.h"
#include "Tkcalc.h"

namespace fs = std::filesystem;

namespace {
struct Outcome {
    int status;
    std::string out, err;
};

class TkcalcBullets : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() / ("tkcalc-bullets-" + std::to_string(std::random_device{}()));
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }

    Outcome run(std::vector<std::string> args) {
        args.insert(args.begin(), {"bullets", "--data-dir", dir.string()});
        std::ostringstream out, err;
        std::istringstream in;
        const int status = runTkcalc(args, out, err, in);
        return {status, out.str(), err.str()};
    }
    std::vector<std::string> files() const {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(dir)) names.push_back(e.path().filename().string());
        return names;
    }

    fs::path dir;
};
}  // namespace

// Before the calculator first saved anything, the list is the one it would open with, and nothing
// is written.
TEST_F(TkcalcBullets, WithoutAFileListsTheStartingBulletsAndWritesNothing) {
    const Outcome o = run({});
    EXPECT_EQ(o.status, 0);
    EXPECT_EQ(o.out.substr(0, o.out.find('\n', o.out.find('\n') + 1)),
              "Уник.номер\tПуля\n1\t.308Win, Lapua Scenar, 167gr");
    EXPECT_NE(o.out.find("\n11\t.338 Lapua Magnum, В408 Lock Base, 250gr\n"), std::string::npos);
    EXPECT_NE(o.err.find("нет: показан начальный список"), std::string::npos);
    EXPECT_TRUE(files().empty());
}

// The user's own database, as JSON and as the "Размеры пули" text of the dialog; a name that is not
// there is an error naming what is.
TEST_F(TkcalcBullets, JsonAndTheReportOfARecord) {
    CBulletsArray db;
    CBulletDimensions mine;
    mine.setName(utf8ToCp1251("Моя пуля"));
    mine.twist = 11.5;
    mine.noseShape = static_cast<NoseShape>(5);
    mine.uniqueNumber = 4;
    db.Add(mine);
    mine.weight = std::numeric_limits<double>::infinity();
    mine.uniqueNumber = 9;
    db.Add(mine);
    ASSERT_TRUE(BulletFiles::SaveDatabase(dir, db));
    const std::optional<std::string> before = readWholeFile(dir / "bullets_dim2.dat");

    const Outcome list = run({"--json"});
    EXPECT_EQ(list.status, 0);
    const nlohmann::json j = nlohmann::json::parse(list.out);
    EXPECT_EQ(j["source"], "file");
    EXPECT_EQ(j["complete"], true);
    ASSERT_EQ(j["bullets"].size(), 2u);
    EXPECT_EQ(j["bullets"][0]["name"], "Моя пуля");
    EXPECT_EQ(j["bullets"][0]["twist"], 11.5);
    EXPECT_EQ(j["bullets"][0]["noseShape"], "tangent");
    EXPECT_TRUE(j["bullets"][1]["weight"].is_null());

    const Outcome show = run({"show", "Моя пуля#9"});
    EXPECT_EQ(show.status, 0);
    EXPECT_EQ(show.out, bulletReportText(db[1]) + "\n");
    EXPECT_NE(show.out.find("Шаг нарезов, дюймы - 11.5\n"), std::string::npos);
    EXPECT_NE(show.out.find("Вес пули, граммы - не определено\n"), std::string::npos);

    const Outcome missing = run({"show", "Моя пуля#5"});
    EXPECT_EQ(missing.status, 2);
    EXPECT_TRUE(missing.out.empty());
    EXPECT_NE(missing.err.find("\"Моя пуля#4\", \"Моя пуля#9\""), std::string::npos);
    EXPECT_EQ(readWholeFile(dir / "bullets_dim2.dat"), before);
    EXPECT_EQ(files(), std::vector<std::string>{"bullets_dim2.dat"});
}

// A file cut short shows what it holds, says so and ends with status 3; an older file still waiting
// to be taken over is shown in inches; bad arguments are refused.
TEST_F(TkcalcBullets, CutShortAndOlderFilesAndBadArguments) {
    CBulletsArray legacy;
    CBulletDimensions b;
    b.twist = 254;  // mm per turn
    legacy.Add(b);
    ASSERT_TRUE(writeFileAtomically(dir / "bullets_dim.dat", BulletFiles::DatabaseToBytes(legacy)));
    const Outcome old = run({"--json"});
    EXPECT_EQ(old.status, 0);
    EXPECT_EQ(nlohmann::json::parse(old.out)["bullets"][0]["twist"], 10.0);
    EXPECT_EQ(nlohmann::json::parse(old.out)["source"], "legacy");
    EXPECT_TRUE(fs::exists(dir / "bullets_dim.dat"));

    std::string cut = BulletFiles::DatabaseToBytes(CBulletsArray::BuiltIn());
    cut.resize(4 + 288 * 2 + 100);
    ASSERT_TRUE(writeFileAtomically(dir / "bullets_dim2.dat", cut));
    const Outcome o = run({});
    EXPECT_EQ(o.status, 3);
    EXPECT_NE(o.out.find("\n2\t.308Win, Sierra Match King 168gr\n"), std::string::npos);
    EXPECT_EQ(o.out.find("\n3\t"), std::string::npos);
    EXPECT_NE(o.err.find("прочитан не целиком"), std::string::npos);

    EXPECT_EQ(run({"show"}).status, 2);
    EXPECT_EQ(run({"extra"}).status, 2);
    EXPECT_EQ(run({"--wide"}).status, 2);
}

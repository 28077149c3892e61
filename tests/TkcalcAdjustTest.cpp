#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>
#include <sstream>
#include <unistd.h>

#include "DragLibrary.h"
#include "FileIO.h"
#include "TextCodec.h"
#include "Tkcalc.h"

namespace fs = std::filesystem;

namespace {
struct Outcome {
    int status;
    std::string out, err;
};

// A data folder whose library holds one bullet function of the user's, stored out of Mach order
// as an older file may have it, with its peak at the sixth point.
class TkcalcAdjust : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() / ("tkcalc-adjust-" + std::to_string(::getpid()) + "-" +
                                           ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir);
        fs::create_directories(dir);
        DragFunc f;
        f.setName(utf8ToCp1251("Моя пуля"));
        f.kind = DragFuncKind::Special;
        f.uniqueNumber = 12;
        f.sectionalDensity = 0.25;
        f.points = {{0.5, 0.2}, {0.8, 0.21}, {0.9, 0.25}, {1.0, 0.35}, {1.1, 0.40}, {0.95, 0.30},
                    {1.5, 0.36}, {3.0, 0.26}};
        DragLibrary library;
        library.add(f);
        ASSERT_TRUE(library.saveLibrary(dir / "bc_cdm3.dat"));
        before = libraryBytes();
    }
    void TearDown() override { fs::remove_all(dir); }

    Outcome tkcalc(std::vector<std::string> args) {
        args.insert(args.begin() + 1, {"--data-dir", dir.string()});
        std::ostringstream out, err;
        std::istringstream in;
        const int status = runTkcalc(args, out, err, in);
        return {status, out.str(), err.str()};
    }
    std::string libraryBytes() const {
        return readWholeFile(dir / "bc_cdm3.dat").value_or("");
    }

    fs::path dir;
    std::string before;
};

std::vector<double> cds(const nlohmann::json& entry) {
    std::vector<double> v;
    for (const auto& p : entry["points"]) v.push_back(p[1].get<double>());
    return v;
}

}  // namespace

// Without --save the adjusted points are only printed: in Mach order, the library file untouched.
TEST_F(TkcalcAdjust, PrintsTheAdjustedPointsAndLeavesTheLibraryAlone) {
    const Outcome r = tkcalc({"adjust", "Моя пуля", "raise", "0.01", "--json"});
    ASSERT_EQ(r.status, 0) << r.err;
    const nlohmann::json f = nlohmann::json::parse(r.out);
    EXPECT_EQ(f["name"], "Моя пуля");
    EXPECT_EQ(f["uniqueNumber"], 12);
    const std::vector<double> v = cds(f);
    ASSERT_EQ(v.size(), 8u);
    EXPECT_DOUBLE_EQ(v[0], 0.21);
    EXPECT_DOUBLE_EQ(v[3], 0.31);  // Mach 0.95, sorted into its place
    EXPECT_DOUBLE_EQ(f["points"][3][0].get<double>(), 0.95);
    EXPECT_EQ(libraryBytes(), before);

    const Outcome text = tkcalc({"adjust", "Моя пуля#12", "lower", "0.01"});
    ASSERT_EQ(text.status, 0) << text.err;
    EXPECT_NE(text.out.find("Драг-функция: Моя пуля (уник.номер 12)\nМах\tCd\n0.5\t0.19\n"), std::string::npos)
        << text.out;
}

// --save writes the library: the next run sees the moved right side, the peak where it was.
TEST_F(TkcalcAdjust, SaveWritesTheLibraryWithTheRightSideMoved) {
    const Outcome r = tkcalc({"adjust", "Моя пуля", "lower-right", "0.05", "--save"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(libraryBytes(), before);
    const Outcome list = tkcalc({"list", "--json"});
    ASSERT_EQ(list.status, 0);
    nlohmann::json saved;
    for (const auto& e : nlohmann::json::parse(list.out))
        if (e["name"] == "Моя пуля") saved = e;
    const std::vector<double> v = cds(saved);
    ASSERT_EQ(v.size(), 8u);
    EXPECT_DOUBLE_EQ(v[5], 0.40);   // the peak stays
    EXPECT_NEAR(v[7], 0.21, 1e-12);  // the last point moves by the step
    EXPECT_EQ(saved["uniqueNumber"], 12);
}

// What the curve editor refuses is refused here, with its reason, and nothing is written.
TEST_F(TkcalcAdjust, RefusalsChangeNothingAndSayWhy) {
    Outcome r = tkcalc({"adjust", "Моя пуля", "lower", "0.2", "--save"});
    EXPECT_EQ(r.status, kTkcalcBadInput);
    EXPECT_NE(r.err.find("точки 1 (0.500 Маха) стал бы 0"), std::string::npos) << r.err;
    EXPECT_TRUE(r.out.empty());

    r = tkcalc({"adjust", "G7", "raise-peak", "0.01", "--save"});
    EXPECT_EQ(r.status, kTkcalcBadInput);
    EXPECT_NE(r.err.find("стандартную функцию"), std::string::npos) << r.err;
    EXPECT_EQ(tkcalc({"adjust", "G7", "raise-peak", "0.01"}).status, kTkcalcOk);

    for (const char* step : {"0", "-0.01", "0,01", "inf"}) {
        r = tkcalc({"adjust", "Моя пуля", "raise", step});
        EXPECT_EQ(r.status, kTkcalcBadInput) << step;
        EXPECT_TRUE(r.out.empty());
    }
    EXPECT_EQ(tkcalc({"adjust", "Моя пуля", "up", "0.01"}).status, kTkcalcBadInput);
    EXPECT_EQ(tkcalc({"adjust", "Нет такой", "raise", "0.01"}).status, kTkcalcBadInput);
    EXPECT_EQ(libraryBytes(), before);
}

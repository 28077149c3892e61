#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>
#include <string>

#include "PlatformNumbers.h"
#include "TkcalcRun.h"

namespace fs = std::filesystem;

namespace {

struct StoredRow {
    int distance;
    double velocity, timeOfFlight, verticalMoa, verticalMil, verticalCm, horizontalMoa, horizontalCm;
    double shownVertical[4], shownHorizontal[4];  // moa, mil, cm, clicks
};

// The first-run table as computed on Linux (tkcalc --table 0:3000:1 --json on an empty folder): rows
// near the muzzle, at the distances where Windows' C library gives other last bits, and the last row.
constexpr StoredRow kRows[] = {
    {100, 708.0922234447688, 0.13524029086012404, 0.0, 0.0, 0.0, 0.19732820431420064, 0.5740044793522255,
     {0, 0, 0, 0}, {0.2, 0.06, 0.57, 0.79}},
    {625, 427.1590611186829, 1.09504996067988, 22.21372908311963, 6.461801795779316, 403.8626122362072,
     1.571186087503348, 28.564971143579445, {22.21, 6.46, 403.86, 88.85}, {1.57, 0.46, 28.56, 6.28}},
    {1000, 315.9167989430309, 2.134851813162553, 53.55785020375066, 15.580607680703709, 1558.060768070371,
     2.88655646563564, 83.96654368331507, {53.56, 15.58, 1558.06, 214.23}, {2.89, 0.84, 83.97, 11.55}},
    {1701, 239.85065549098317, 4.72797459175656, 158.26076019794763, 46.068738599243396, 7836.292435731302,
     5.098412651141218, 252.27007269954706, {158.26, 46.07, 7836.29, 633.04}, {5.1, 1.48, 252.27, 20.39}},
    {3000, 167.33873501601602, 11.511657901007084, 525.932629603191, 154.1924504305878, 46257.73512917633,
     8.685901166803992, 757.989482279641, {525.93, 154.19, 46257.74, 2103.73}, {8.69, 2.53, 757.99, 34.74}},
};

}  // namespace

// The same figures on every platform: the shown values exactly, the unrounded ones bit for bit on
// Linux and within a few units in the last place on Windows (PlatformNumbers.h).
TEST(StoredFigures, FirstRunTableAsOnLinux) {
    const fs::path empty = fs::temp_directory_path() / "trajekton-stored-figures";
    fs::remove_all(empty);
    fs::create_directories(empty);
    const Outcome r = tkcalc({"--data-dir", empty.string(), "--table", "0:3000:1", "--json"});
    fs::remove_all(empty);
    ASSERT_EQ(r.status, 0) << r.err;
    const nlohmann::json j = nlohmann::json::parse(r.out);
    EXPECT_TRUE(asStoredFromLinux(j["zeroAngleMoa"].get<double>(), 4.886611671589263));
    EXPECT_TRUE(asStoredFromLinux(j["speedOfSound"].get<double>(), 341.4580452122843));
    ASSERT_EQ(j["rows"].size(), 3001u);
    static const char* const kUnits[] = {"moa", "mil", "cm", "clicks"};
    for (const StoredRow& s : kRows) {
        const nlohmann::json& row = j["rows"][s.distance];
        SCOPED_TRACE("row at " + std::to_string(s.distance) + " m");
        EXPECT_EQ(row["distance"].get<double>(), s.distance);
        EXPECT_TRUE(asStoredFromLinux(row["row"]["velocity"].get<double>(), s.velocity));
        EXPECT_TRUE(asStoredFromLinux(row["row"]["timeOfFlight"].get<double>(), s.timeOfFlight));
        EXPECT_TRUE(asStoredFromLinux(row["vertical"]["moa"].get<double>(), s.verticalMoa));
        EXPECT_TRUE(asStoredFromLinux(row["vertical"]["mil"].get<double>(), s.verticalMil));
        EXPECT_TRUE(asStoredFromLinux(row["vertical"]["cm"].get<double>(), s.verticalCm));
        EXPECT_TRUE(asStoredFromLinux(row["horizontal"]["moa"].get<double>(), s.horizontalMoa));
        EXPECT_TRUE(asStoredFromLinux(row["horizontal"]["cm"].get<double>(), s.horizontalCm));
        for (int u = 0; u < 4; ++u) {
            EXPECT_EQ(row["shown"]["vertical"][kUnits[u]].get<double>(), s.shownVertical[u]) << kUnits[u];
            EXPECT_EQ(row["shown"]["horizontal"][kUnits[u]].get<double>(), s.shownHorizontal[u]) << kUnits[u];
        }
    }
}

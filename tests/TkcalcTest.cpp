#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <unistd.h>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "BallisticSolver.h"
#include "RoundTo.h"
#include "Shot.h"
#include "StandardDragSet.h"
#include "Tkcalc.h"

namespace {
struct Outcome {
    int status;
    std::string out;
    std::string err;
};

// tkcalc on an empty data folder of its own, so that the first-run inputs apply.
Outcome tkcalc(std::vector<std::string> args) {
    static const std::filesystem::path empty = [] {
        const auto folder = std::filesystem::temp_directory_path() / ("tkcalc-empty-" + std::to_string(::getpid()));
        std::filesystem::create_directories(folder);
        return folder;
    }();
    args.push_back("--data-dir");
    args.push_back(empty.string());
    std::ostringstream out, err;
    const int status = runTkcalc(args, out, err);
    return {status, out.str(), err.str()};
}

nlohmann::json tkcalcJson(std::vector<std::string> args) {
    args.push_back("--json");
    const Outcome r = tkcalc(args);
    EXPECT_EQ(r.status, 0) << r.err;
    return nlohmann::json::parse(r.out);
}

// The engine's own answer, computed the way every caller does it.
struct Direct {
    BallisticSolver main, zeroing;
    ZeroingResult zero;
    DistanceCorrections at;
};

void expectSameAsEngine(const nlohmann::json& j, Direct& d) {
    EXPECT_EQ(j["zeroAngleMoa"].get<double>(), d.zero.zeroAngle);
    EXPECT_EQ(j["sightAngleMoa"].get<double>(), RoundTo(d.main.shownZeroAngle, 3));
    EXPECT_EQ(j["airDensityRatio"].get<double>(), RoundTo(d.main.airDensityRatio, 3));
    EXPECT_EQ(j["correctedMuzzleVelocity"].get<double>(), d.main.correctedMuzzleVelocity);
    EXPECT_EQ(j["speedOfSound"].get<double>(), d.main.speedOfSound);
    EXPECT_EQ(j["converged"].get<bool>(), d.zero.converged && d.at.converged);
    EXPECT_EQ(j["row"]["distance"].get<double>(), d.at.row.distance);
    EXPECT_EQ(j["row"]["velocity"].get<double>(), d.at.row.velocity);
    EXPECT_EQ(j["row"]["timeOfFlight"].get<double>(), d.at.row.timeOfFlight);
    EXPECT_EQ(j["row"]["energy"].get<double>(), d.at.row.energy);
    const ShownCorrections shown = shownCorrections(d.at);
    auto same = [](const nlohmann::json& c, const Corrections& e) {
        EXPECT_EQ(c["moa"].get<double>(), e.moa);
        EXPECT_EQ(c["mil"].get<double>(), e.mil);
        EXPECT_EQ(c["cm"].get<double>(), e.cm);
        EXPECT_EQ(c["clicks"].get<double>(), e.clicks);
    };
    same(j["vertical"], d.at.vertical);
    same(j["horizontal"], d.at.horizontal);
    same(j["shown"]["vertical"], shown.vertical);
    same(j["shown"]["horizontal"], shown.horizontal);
}

// RFC 4180 records (CRLF line ends, quoted fields).
std::vector<std::vector<std::string>> parseCsv(const std::string& text) {
    std::vector<std::vector<std::string>> records(1, std::vector<std::string>(1));
    bool quoted = false;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quoted) {
            if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') records.back().back() += '"', ++i;
            else if (c == '"') quoted = false;
            else records.back().back() += c;
        } else if (c == '"') {
            quoted = true;
        } else if (c == ',') {
            records.back().emplace_back();
        } else if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            ++i;
            if (i + 1 < text.size()) records.push_back(std::vector<std::string>(1));
        } else {
            records.back().back() += c;
        }
    }
    return records;
}
}  // namespace

TEST(TkcalcTest, FirstRunAnswerIsTheEnginesBitForBit) {
    const Outcome r = tkcalc({"--json"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    const nlohmann::json j = nlohmann::json::parse(r.out);

    Direct d;
    d.main.muzzleVelocity = 792;
    d.main.ballisticCoefficient = 0.447;
    d.main.mvTemperature = 30;
    d.main.mvTemperatureChange = 2.5;
    d.main.mvCorrectionOff = false;
    d.main.sightHeight = 5.5;
    d.main.airTemperature = 15;
    d.main.humidity = 55;
    d.main.windSpeed = 1;
    d.main.targetDistance = 685;
    d.main.windAzimuth = 90;
    d.main.zeroDistance = 100;
    d.main.airPressure = 754;
    d.main.targetAngle = 0;
    d.main.clickVertical = 0.25;
    d.main.clickHorizontal = 0.25;
    ASSERT_TRUE(standardFunction("G1", d.main.dragFunction));
    d.zero = zeroRifle(d.main, d.zeroing, ZeroingAtmosphere{true, 15, 754, 55});
    d.at = correctionsAt(d.main, 685, DriftOptions{});

    EXPECT_EQ(j["dragFunction"]["name"], "G1");
    EXPECT_EQ(j["dragFunction"]["uniqueNumber"], 1);
    EXPECT_EQ(j["dragFunction"]["kind"], "Standard");
    EXPECT_EQ(j["distance"].get<double>(), 685);
    EXPECT_TRUE(j["converged"].get<bool>());
    expectSameAsEngine(j, d);

    // The text shows the same answer, rounded as the main dialog shows it.
    const Outcome text = tkcalc({});
    ASSERT_EQ(text.status, 0);
    const ShownCorrections shown = shownCorrections(d.at);
    auto tokensAfter = [&](const std::string& title) {
        const size_t at = text.out.find("\n" + title + " ");
        if (at == std::string::npos) return std::vector<std::string>{};
        const size_t from = at + 1 + title.size();
        std::istringstream line(text.out.substr(from, text.out.find('\n', from) - from));
        std::vector<std::string> tokens;
        for (std::string t; line >> t;) tokens.push_back(t);
        return tokens;
    };
    auto cells = [](const Corrections& c) {
        std::vector<std::string> out;
        for (double v : {c.moa, c.mil, c.cm, c.clicks}) {
            char cell[32];
            std::snprintf(cell, sizeof cell, "%.2f", v);
            out.push_back(cell);
        }
        return out;
    };
    EXPECT_EQ(tokensAfter("Вертикальная поправка"), cells(shown.vertical)) << text.out;
    EXPECT_EQ(tokensAfter("Гор. поправка"), cells(shown.horizontal)) << text.out;
    char expected[200];
    std::snprintf(expected, sizeof expected, "Угол наклона приц.линии к стволу, MOA (справочно): %.3f\n",
                  RoundTo(d.main.shownZeroAngle, 3));
    EXPECT_NE(text.out.find(expected), std::string::npos) << text.out;
    EXPECT_NE(text.out.find("Драг-функция: G1"), std::string::npos);
    EXPECT_NE(text.out.find("Дистанция 685 м"), std::string::npos);
}

// Every input set to something other than its default, so that a value wired to the wrong solver
// input shows.
TEST(TkcalcTest, EverySettingReachesTheSolver) {
    const nlohmann::json j = tkcalcJson({
        "--drag", "G7", "--distance", "812.5",
        "--set", "muzzle-velocity=845", "--set", "bc=0.243", "--set", "mv-temperature=21",
        "--set", "mv-change=1.5", "--set", "sight-height=4.2", "--set", "zero-distance=150",
        "--set", "click-vertical=0.1", "--set", "click-horizontal=0.2", "--set", "target-angle=12",
        "--set", "wind-speed=3.5", "--set", "wind-azimuth=300", "--set", "temperature=-7",
        "--set", "pressure=731", "--set", "humidity=80", "--set", "same-atmosphere=0",
        "--set", "zero-temperature=22", "--set", "zero-pressure=748", "--set", "zero-humidity=35",
        "--set", "add-derivation=1", "--set", "add-vertical-drift=1", "--set", "manual-drift=1",
        "--set", "manual-drift-percent=15", "--set", "stability-factor=1.7",
    });
    Direct d;
    d.main.muzzleVelocity = 845;
    d.main.ballisticCoefficient = 0.243;
    d.main.mvTemperature = 21;
    d.main.mvTemperatureChange = 1.5;
    d.main.sightHeight = 4.2;
    d.main.airTemperature = -7;
    d.main.humidity = 80;
    d.main.windSpeed = 3.5;
    d.main.targetDistance = 812.5;
    d.main.windAzimuth = 300;
    d.main.zeroDistance = 150;
    d.main.airPressure = 731;
    d.main.targetAngle = 12;
    d.main.clickVertical = 0.1;
    d.main.clickHorizontal = 0.2;
    ASSERT_TRUE(standardFunction("G7", d.main.dragFunction));
    d.main.dragFunction.stabilityFactor = 1.7;
    d.zero = zeroRifle(d.main, d.zeroing, ZeroingAtmosphere{false, 22, 748, 35});
    d.at = correctionsAt(d.main, 812.5, DriftOptions{true, true, true, 15});
    EXPECT_EQ(j["dragFunction"]["name"], "G7");
    EXPECT_EQ(j["dragFunction"]["uniqueNumber"], 5);
    expectSameAsEngine(j, d);

    // With the temperature correction off the solver takes the velocity as entered.
    EXPECT_NE(tkcalcJson({})["correctedMuzzleVelocity"].get<double>(), 792);
    EXPECT_EQ(tkcalcJson({"--set", "mv-correction-off=1"})["correctedMuzzleVelocity"].get<double>(), 792);
    // --distance wins over --set distance; a later --set of the same name wins over an earlier one.
    EXPECT_EQ(tkcalcJson({"--distance", "300", "--set", "distance=400"})["distance"].get<double>(), 300);
    EXPECT_EQ(tkcalcJson({"--set", "bc=0.3", "--set", "bc=0.5"}),
              tkcalcJson({"--set", "bc=0.5"}));
}

// Water vapour is lighter than air: on a hot day a G7 bullet needs less elevation at 1000 m in
// saturated air than in dry air, a little under a minute.
TEST(TkcalcTest, HumidAirNeedsLessElevation) {
    auto at = [](const std::string& humidity) {
        return tkcalcJson({"--drag", "G7", "--set", "bc=0.243", "--set", "temperature=35", "--set", "pressure=750",
                           "--set", "humidity=" + humidity, "--distance", "1000"});
    };
    const nlohmann::json dry = at("0"), wet = at("100");
    const double less = dry["vertical"]["moa"].get<double>() - wet["vertical"]["moa"].get<double>();
    EXPECT_GT(less, 0.8);
    EXPECT_LT(less, 1.0);
    EXPECT_LT(wet["airDensityRatio"].get<double>(), dry["airDensityRatio"].get<double>());
}

// One wind written two ways: -270 is the wind from 90 and drifts the bullet vertically the same way.
TEST(TkcalcTest, WindAzimuthWrittenNegativeDriftsTheSameWay) {
    auto at = [](const std::string& azimuth) {
        return tkcalcJson({"--set", "add-vertical-drift=1", "--set", "stability-factor=1.5", "--set", "wind-speed=5",
                           "--set", "wind-azimuth=" + azimuth});
    };
    const nlohmann::json from90 = at("90"), written = at("-270");
    EXPECT_EQ(written["shown"], from90["shown"]);
    EXPECT_NEAR(written["vertical"]["moa"].get<double>(), from90["vertical"]["moa"].get<double>(), 1e-4);
    // From the other side the drift lifts the correction.
    EXPECT_GT(at("-90")["vertical"]["moa"].get<double>(), from90["vertical"]["moa"].get<double>() + 4);
}

TEST(TkcalcTest, SampleFunctionIsNumberedAfterTheStandardSet) {
    const nlohmann::json j = tkcalcJson({"--drag", "Sierra MatchKing, 168gr"});
    EXPECT_EQ(j["dragFunction"]["name"], "Sierra MatchKing, 168gr");
    EXPECT_EQ(j["dragFunction"]["uniqueNumber"], 11);
    EXPECT_EQ(j["dragFunction"]["kind"], "Special");
    // A special function brings its own BC: the BC input does not matter.
    EXPECT_EQ(tkcalcJson({"--drag", "Sierra MatchKing, 168gr", "--set", "bc=0.2"})["vertical"], j["vertical"]);
}

TEST(TkcalcTest, FullTableHas601RowsStartingAtZero) {
    const nlohmann::json j = tkcalcJson({"--table", "0:3000:5"});
    const auto& rows = j["rows"];
    ASSERT_EQ(rows.size(), 601u);
    EXPECT_EQ(rows[0]["distance"].get<double>(), 0);
    for (const char* group : {"vertical", "horizontal"})
        for (const char* unit : {"moa", "mil", "cm", "clicks"}) EXPECT_EQ(rows[0]["shown"][group][unit].get<double>(), 0);
    EXPECT_EQ(rows[600]["distance"].get<double>(), 3000);
    EXPECT_TRUE(j["converged"].get<bool>());

    // The table's row at the asked distance is the single-distance answer.
    const nlohmann::json single = tkcalcJson({"--distance", "685"});
    EXPECT_EQ(rows[137]["vertical"], single["vertical"]);
    EXPECT_EQ(rows[137]["horizontal"], single["horizontal"]);
}

TEST(TkcalcTest, TableRangeIsClampedToZeroAnd3000) {
    for (const std::vector<std::string>& args : {std::vector<std::string>{"--table=-50:5000:500"},
                                                 std::vector<std::string>{"--table", "-50:5000:500"}}) {
        const nlohmann::json j = tkcalcJson(args);
        std::vector<double> distances;
        for (const auto& row : j["rows"]) distances.push_back(row["distance"].get<double>());
        EXPECT_EQ(distances, (std::vector<double>{0, 500, 1000, 1500, 2000, 2500, 3000}));
    }
    // A first distance past the last one gives no rows, and still the solver's values at the
    // inputs' distance.
    const Outcome r = tkcalc({"--table", "800:100:100"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("нет строк"), std::string::npos);
    const nlohmann::json empty = tkcalcJson({"--table", "800:100:100"});
    const nlohmann::json single = tkcalcJson({});
    EXPECT_TRUE(empty["rows"].empty());
    for (const char* key : {"sightAngleMoa", "airDensityRatio", "correctedMuzzleVelocity", "speedOfSound"})
        EXPECT_EQ(empty[key], single[key]) << key;
}

TEST(TkcalcTest, TextTableHasOneLinePerDistance) {
    const Outcome r = tkcalc({"--table", "100:800:100"});
    ASSERT_EQ(r.status, 0) << r.err;
    std::istringstream lines(r.out);
    std::string line;
    std::vector<std::string> rows;
    while (std::getline(lines, line)) {
        std::istringstream tokens(line);
        std::string first;
        tokens >> first;
        char* end = nullptr;
        std::strtod(first.c_str(), &end);
        if (!first.empty() && *end == '\0') rows.push_back(line);
    }
    ASSERT_EQ(rows.size(), 8u) << r.out;
    EXPECT_EQ(rows[0].substr(rows[0].find_first_not_of(' '), 5), "100.0");
    EXPECT_EQ(rows[7].substr(rows[7].find_first_not_of(' '), 5), "800.0");
    // Aligned: every row as long as the first (in bytes: the cells are ASCII).
    for (const std::string& row : rows) EXPECT_EQ(row.size(), rows[0].size());
}

TEST(TkcalcTest, BadInputIsRefusedWithAMessageAndNothingComputed) {
    const std::vector<std::vector<std::string>> cases = {
        {"--set", "speed=800"},                {"--set", "bc"},
        {"--set", "bc=abc"},                   {"--set", "bc=0.4x"},
        {"--set", "bc=0,447"},                 {"--set", "bc="},
        {"--set", "bc=inf"},                   {"--set", "bc=nan"},
        {"--set", "bc=1e999"},                 {"--set", "mv-correction-off=2"},
        {"--set", "add-derivation=1.0"},       {"--set", "distance=-1"},
        {"--distance", "-0.5"},                {"--distance", "12m"},
        {"--set", "zero-distance=-100"},       {"--set", "stability-factor=x"},
        {"--drag", "G99"},                     {"--drag"},
        {"--table", "100:800"},                {"--table", "100:800:100:5"},
        {"--table", "0:800:0"},                {"--table", "0:800:-5"},
        {"--table", "a:800:100"},              {"--table", "0:800:nan"},
        {"--table", "0:3000:0.00001"},         {"--json", "--csv"},
        {"--json=2"},                          {"--frobnicate"},
        {"685"},                               {"--set", "bc=0.5", "wind-speed=3"},
    };
    for (const auto& args : cases) {
        std::string shown;
        for (const std::string& a : args) shown += a + " ";
        const Outcome r = tkcalc(args);
        EXPECT_EQ(r.status, 2) << shown;
        EXPECT_EQ(r.out, "") << shown;
        EXPECT_NE(r.err.find("ошибка"), std::string::npos) << shown << r.err;
    }
    EXPECT_NE(tkcalc({"--set", "bc=0,447"}).err.find("точка"), std::string::npos);
    EXPECT_NE(tkcalc({"--drag", "G99"}).err.find("RA4"), std::string::npos);
}

TEST(TkcalcTest, CsvHasOneHeaderAndARowPerDistance) {
    const Outcome r = tkcalc({"--table", "100:800:100", "--csv"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("\"Дистанция, м\",\"Скорость, м/с\""), std::string::npos);
    const auto records = parseCsv(r.out);
    ASSERT_EQ(records.size(), 9u);
    for (const auto& record : records) EXPECT_EQ(record.size(), 20u);
    EXPECT_EQ(records[0][0], "Дистанция, м");
    EXPECT_EQ(records[0][12], "MOA, Верт. поправка, округл.");

    // The cells carry the JSON's numbers, column by column.
    const nlohmann::json j = tkcalcJson({"--table", "100:800:100"});
    for (size_t i = 1; i < records.size(); ++i) {
        const auto& row = j["rows"][i - 1];
        std::vector<double> expected = {row["distance"], row["row"]["velocity"], row["row"]["timeOfFlight"],
                                        row["row"]["energy"]};
        for (const auto* c : {&row["vertical"], &row["horizontal"], &row["shown"]["vertical"], &row["shown"]["horizontal"]})
            for (const char* unit : {"moa", "mil", "cm", "clicks"}) expected.push_back((*c)[unit]);
        for (size_t k = 0; k < expected.size(); ++k) EXPECT_EQ(std::strtod(records[i][k].c_str(), nullptr), expected[k]);
    }

    const auto single = parseCsv(tkcalc({"--csv"}).out);
    ASSERT_EQ(single.size(), 2u);
    EXPECT_EQ(single[1][0], "685");
}

TEST(TkcalcTest, ValuesThatAreNotNumbersBecomeNull) {
    // No BC: the engine's numbers are not finite. Printed, flagged, never a crash.
    const Outcome r = tkcalc({"--set", "bc=0", "--json"});
    EXPECT_EQ(r.status, 3);
    EXPECT_NE(r.err.find("Предупреждение"), std::string::npos);
    const nlohmann::json j = nlohmann::json::parse(r.out);
    EXPECT_TRUE(j["vertical"]["moa"].is_null());
    EXPECT_TRUE(j["shown"]["vertical"]["moa"].is_null());
    EXPECT_FALSE(j["converged"].get<bool>());

    const Outcome text = tkcalc({"--set", "bc=0"});
    EXPECT_EQ(text.status, 3);
    EXPECT_NE(text.out.find("—"), std::string::npos);
    const Outcome csv = tkcalc({"--set", "bc=0", "--csv"});
    EXPECT_EQ(csv.status, 3);
    EXPECT_EQ(parseCsv(csv.out)[1][4], "");

    // A zero click value: the clicks only.
    const Outcome noClick = tkcalc({"--set", "click-vertical=0", "--json"});
    EXPECT_EQ(noClick.status, 3);
    const nlohmann::json clicks = nlohmann::json::parse(noClick.out);
    EXPECT_TRUE(clicks["vertical"]["clicks"].is_null());
    EXPECT_FALSE(clicks["vertical"]["moa"].is_null());
}

TEST(TkcalcTest, HelpNamesEverySetting) {
    const Outcome r = tkcalc({"--help"});
    EXPECT_EQ(r.status, 0);
    for (const char* name : {"muzzle-velocity", "bc", "mv-temperature", "mv-change", "mv-correction-off", "sight-height",
                             "zero-distance", "click-vertical", "click-horizontal", "distance", "target-angle",
                             "wind-speed", "wind-azimuth", "temperature", "pressure", "humidity", "same-atmosphere",
                             "zero-temperature", "zero-pressure", "zero-humidity", "add-derivation",
                             "add-vertical-drift", "manual-drift", "manual-drift-percent", "stability-factor"})
        EXPECT_NE(r.out.find(std::string("  ") + name + " "), std::string::npos) << name;
}

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <limits>
#include <filesystem>
#include <unistd.h>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "BallisticSolver.h"
#include "Calculation.h"
#include "ExchangeFiles.h"
#include "FileIO.h"
#include "Report.h"
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
    // The standard functions carry no bullet weight, so no energy is shown.
    EXPECT_FALSE(j["row"].contains("energy"));
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
    EXPECT_NE(tkcalc({"--table", "0:800:0"}).err.find("шаг должен быть больше 0, получено «0»"), std::string::npos);
    EXPECT_NE(tkcalc({"--table", "0:800:-5"}).err.find("получено «-5»"), std::string::npos);
}

TEST(TkcalcTest, CsvHasOneHeaderAndARowPerDistance) {
    const Outcome r = tkcalc({"--table", "100:800:100", "--csv"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("\"Дистанция, м\",\"Скорость, м/с\""), std::string::npos);
    const auto records = parseCsv(r.out);
    ASSERT_EQ(records.size(), 9u);
    for (const auto& record : records) EXPECT_EQ(record.size(), 19u);  // no energy for G1
    EXPECT_EQ(records[0][0], "Дистанция, м");
    EXPECT_EQ(records[0][3], "MOA, Верт. поправка");
    EXPECT_EQ(records[0][11], "MOA, Верт. поправка, округл.");

    // The cells carry the JSON's numbers, column by column.
    const nlohmann::json j = tkcalcJson({"--table", "100:800:100"});
    for (size_t i = 1; i < records.size(); ++i) {
        const auto& row = j["rows"][i - 1];
        std::vector<double> expected = {row["distance"], row["row"]["velocity"], row["row"]["timeOfFlight"]};
        for (const auto* c : {&row["vertical"], &row["horizontal"], &row["shown"]["vertical"], &row["shown"]["horizontal"]})
            for (const char* unit : {"moa", "mil", "cm", "clicks"}) expected.push_back((*c)[unit]);
        for (size_t k = 0; k < expected.size(); ++k) EXPECT_EQ(std::strtod(records[i][k].c_str(), nullptr), expected[k]);
    }

    const auto single = parseCsv(tkcalc({"--csv"}).out);
    ASSERT_EQ(single.size(), 2u);
    EXPECT_EQ(single[1][0], "685");
}

TEST(TkcalcTest, ValuesThatAreNotNumbersBecomeNull) {
    // Not finite numbers (what an undefined solve would give) are printed, flagged, never a crash.
    ShotInputs inputs;
    DragFunc g1;
    standardFunction("G1", g1);
    Calculation calc = computeAtDistance(inputs, g1);
    ASSERT_EQ(calc.rows.size(), 1u);
    const double nan = std::nan("");
    calc.rows[0].corrections.vertical.moa = calc.rows[0].shown.vertical.moa = nan;
    calc.rows[0].shown.vertical.clicks = std::numeric_limits<double>::infinity();
    EXPECT_TRUE(hasNonFiniteResults(calc));
    const nlohmann::json j = nlohmann::json::parse(jsonReport(inputs, calc, false));
    EXPECT_TRUE(j["vertical"]["moa"].is_null());
    EXPECT_TRUE(j["shown"]["vertical"]["moa"].is_null());
    EXPECT_TRUE(j["shown"]["vertical"]["clicks"].is_null());
    EXPECT_FALSE(j["shown"]["vertical"]["cm"].is_null());
    EXPECT_NE(textReport(inputs, calc, std::nullopt).find("—"), std::string::npos);
    EXPECT_EQ(parseCsv(csvReport(calc))[1][3], "");

    // Values no shot has are refused before anything is computed.
    for (const char* bad : {"bc=0", "click-vertical=0", "humidity=101", "target-angle=90", "pressure=0"}) {
        const Outcome r = tkcalc({"--set", bad, "--json"});
        EXPECT_EQ(r.status, 2) << bad;
        EXPECT_EQ(r.out, "") << bad;
        EXPECT_NE(r.err.find("допустимо"), std::string::npos) << bad << r.err;
    }
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
    // And what the import flags answer.
    EXPECT_NE(r.out.find("  --overwrite "), std::string::npos);
    EXPECT_NE(r.out.find("  --no-overwrite "), std::string::npos);
    EXPECT_NE(r.out.find("« copy»"), std::string::npos);
}

// Without a stability factor the engine adds no spin drift and no vertical drift taken from it;
// the text must not claim it did. The manual percentage needs no factor.
TEST(TkcalcTest, DriftsThatCannotBeAddedAreSaidSo) {
    const std::vector<std::string> both = {"--set", "add-derivation=1", "--set", "add-vertical-drift=1"};
    auto with = [&](std::vector<std::string> more) {
        more.insert(more.begin(), both.begin(), both.end());
        return more;
    };
    const nlohmann::json plain = tkcalcJson({});

    const Outcome g1 = tkcalc(with({}));
    ASSERT_EQ(g1.status, 0) << g1.err;
    EXPECT_NE(g1.out.find("В поправках не учтены деривация и вертикальный ветровой снос: у драг-функции G1 нет "
                          "фактора стабильности"),
              std::string::npos)
        << g1.out;
    EXPECT_EQ(g1.out.find("учтены:"), std::string::npos);
    const nlohmann::json g1Json = tkcalcJson(with({}));
    EXPECT_EQ(g1Json["shown"], plain["shown"]);  // true: nothing was added
    EXPECT_NE(tkcalc(with({"--csv"})).err.find("Предупреждение: в поправках не учтены деривация"), std::string::npos);

    const Outcome manual = tkcalc(with({"--set", "manual-drift=1"}));
    EXPECT_NE(manual.out.find("В поправках учтены: вертикальный ветровой снос (10 % от гор. поправки)\n"
                              "В поправках не учтена деривация"),
              std::string::npos)
        << manual.out;
    const nlohmann::json manualJson = tkcalcJson(with({"--set", "manual-drift=1"}));
    EXPECT_NE(manualJson["vertical"]["moa"], plain["vertical"]["moa"]);
    EXPECT_EQ(manualJson["horizontal"], plain["horizontal"]);

    // A factor of 1 or below gives a spin drift, but a vertical drift of 0 (and says so).
    EXPECT_NE(tkcalc(with({"--set", "stability-factor=0.9"})).out.find("не учтён вертикальный"), std::string::npos);
    const nlohmann::json weakJson = tkcalcJson(with({"--set", "stability-factor=0.9"}));
    EXPECT_EQ(weakJson["vertical"], plain["vertical"]);
    EXPECT_NE(weakJson["horizontal"]["moa"], plain["horizontal"]["moa"]);
}

// The engine's rows carry the energy of a fixed bullet that no input sets; shown, it must be the
// chosen bullet's, and only when the function knows the weight.
TEST(TkcalcTest, EnergyIsShownForAFunctionThatCarriesABulletWeight) {
    const auto file = std::filesystem::temp_directory_path() / ("tkcalc-weight-" + std::to_string(::getpid()) + ".snr");
    DragFunc f = sampleFunction();
    f.bulletWeight = 168;
    ASSERT_TRUE(writeFileAtomically(file, formatSnr(f)));
    const std::vector<std::string> table = {"--drag-file", file.string(), "--table", "0:600:300"};
    auto args = [&](std::vector<std::string> more) {
        more.insert(more.begin(), table.begin(), table.end());
        return more;
    };

    const nlohmann::json j = tkcalcJson(args({}));
    ASSERT_EQ(j["rows"].size(), 3u);
    for (const auto& row : j["rows"]) {
        // E = m v² / 2 for 168 grains (10.886 g); the program's own constants agree within 0.2 %.
        const double v = row["row"]["velocity"].get<double>();
        const double expected = 0.5 * 168 * 0.06479891e-3 * v * v;
        EXPECT_NEAR(row["row"]["energy"].get<double>(), expected, expected * 0.002) << row["distance"];
    }
    EXPECT_GT(j["rows"][0]["row"]["energy"].get<double>(), 3000);  // at the muzzle too

    const auto csv = parseCsv(tkcalc(args({"--csv"})).out);
    ASSERT_EQ(csv.size(), 4u);
    EXPECT_EQ(csv[0].size(), 20u);
    EXPECT_EQ(csv[0][3], "Энергия, Дж");
    EXPECT_EQ(std::strtod(csv[2][3].c_str(), nullptr), j["rows"][1]["row"]["energy"].get<double>());

    EXPECT_NE(tkcalc(args({})).out.find("Энергия,"), std::string::npos);
    EXPECT_EQ(tkcalc({"--table", "0:600:300"}).out.find("Энергия"), std::string::npos);
    std::filesystem::remove(file);
}

// Which way the numbers point is read where they are: under every text answer, and in the help.
// The stated directions are the engine's: wind from the right (90) needs a correction to the right.
TEST(TkcalcTest, SignConventionsAreStatedAndTrue) {
    const std::string conventions = kSignConventions;
    EXPECT_NE(conventions.find("90 - справа"), std::string::npos);
    EXPECT_NE(conventions.find("горизонтальная - вправо"), std::string::npos);
    for (const std::vector<std::string>& args : {std::vector<std::string>{}, std::vector<std::string>{"--table"}}) {
        const std::string out = tkcalc(args).out;
        ASSERT_GE(out.size(), conventions.size());
        EXPECT_EQ(out.substr(out.size() - conventions.size()), conventions);
    }
    EXPECT_NE(tkcalcHelp().find("  " + conventions.substr(0, conventions.find('\n') + 1)), std::string::npos);

    const nlohmann::json right = tkcalcJson({"--set", "wind-azimuth=90", "--set", "wind-speed=4"});
    const nlohmann::json left = tkcalcJson({"--set", "wind-azimuth=270", "--set", "wind-speed=4"});
    const nlohmann::json head = tkcalcJson({"--set", "wind-azimuth=0", "--set", "wind-speed=4"});
    EXPECT_GT(right["horizontal"]["moa"].get<double>(), 0.5);
    EXPECT_LT(left["horizontal"]["moa"].get<double>(), -0.5);
    EXPECT_NEAR(head["horizontal"]["moa"].get<double>(), 0, 1e-9);
    EXPECT_GT(right["vertical"]["moa"].get<double>(), 0);  // the bullet falls: dial up
}

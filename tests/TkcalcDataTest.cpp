#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "DragLibrary.h"
#include "ExchangeFiles.h"
#include "ExchangeImportExport.h"
#include "FileIO.h"
#include "LibraryRecord.h"
#include "SettingsRecord.h"
#include "StoredData.h"
#include "Shot.h"
#include "StandardDragSet.h"
#include "TextCodec.h"
#include "Tkcalc.h"
#include "TkcalcRun.h"
#include "UserFolders.h"

namespace fs = std::filesystem;

namespace {
// A data folder as the desktop program leaves it: settings, table settings and a library holding
// one special function of the user's.
class StoredFolder : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() / ("tkcalc-data-" + std::to_string(::getpid()) + "-" +
                                           ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir);
        fs::create_directories(dir);
        bullet = sampleFunction();
        bullet.setName(utf8ToCp1251("Лапуа Сценар"));
        bullet.uniqueNumber = 11;
        bullet.stabilityFactor = 1.7;
        DragLibrary library;
        library.add(bullet);
        ASSERT_TRUE(library.saveLibrary(dir / "bc_cdm3.dat"));

        settings.setDragFuncName(bullet.name);
        settings.dragFuncNumber = 11;
        settings.muzzleVelocity = 850;
        settings.targetDistance = 450;
        settings.windSpeed = 3;
        settings.windAzimuth = 270;
        settings.sameZeroAtmosphere = 0;
        settings.zeroTemperature = -5;
        settings.addDerivation = 1;
        settings.targetAngleField = 0.5;  // the start-up shows 0 whatever was stored
        ASSERT_TRUE(saveSettingsFile(dir / kSettingsFileName, settings));
        TableSettingsRecord table;
        table.firstDistance = 200;
        table.lastDistance = 400;
        table.distanceStep = 100;
        ASSERT_TRUE(saveSettingsFile(dir / kTableSettingsFileName, table));
    }
    void TearDown() override { fs::remove_all(dir); }

    nlohmann::json json(std::vector<std::string> args) {
        args.insert(args.end(), {"--data-dir", dir.string(), "--json"});
        const Outcome r = tkcalc(args);
        EXPECT_EQ(r.status, 0) << r.err;
        return nlohmann::json::parse(r.out);
    }

    fs::path dir;
    DragFunc bullet;
    SettingsRecord settings;
};
}  // namespace

TEST_F(StoredFolder, StartsFromTheStoredInputsAndFunction) {
    const std::string settingsBefore = *readWholeFile(dir / kSettingsFileName);
    const nlohmann::json j = json({});

    // The same shot computed directly from the stored values.
    BallisticSolver main, zeroing;
    main.muzzleVelocity = 850;
    main.mvTemperature = 30;
    main.sightHeight = 5.5;
    main.windSpeed = 3;
    main.windAzimuth = 270;
    main.airPressure = 754;
    main.humidity = 55;
    main.targetDistance = 450;
    main.dragFunction = bullet;
    DriftOptions options;
    options.addDerivation = true;
    const ShotAnswer direct = computeShot(main, zeroing, ZeroingAtmosphere{false, -5, 754, 55}, 450, options);

    EXPECT_EQ(j["dragFunction"]["name"], "Лапуа Сценар");
    EXPECT_EQ(j["dragFunction"]["uniqueNumber"], 11);
    EXPECT_EQ(j["dragFunction"]["kind"], "Special");
    EXPECT_EQ(j["distance"].get<double>(), 450);
    EXPECT_EQ(j["zeroAngleMoa"].get<double>(), direct.zeroing.zeroAngle);
    EXPECT_EQ(j["vertical"]["moa"].get<double>(), direct.corrections.vertical.moa);
    EXPECT_EQ(j["horizontal"]["cm"].get<double>(), direct.corrections.horizontal.cm);

    // --set still overrides, and nothing is written to the settings.
    EXPECT_EQ(json({"--set", "distance=300"})["distance"].get<double>(), 300);
    EXPECT_EQ(*readWholeFile(dir / kSettingsFileName), settingsBefore);
}

TEST_F(StoredFolder, ChoosingFunctionsAndTheStoredTable) {
    EXPECT_EQ(json({"--drag", "G7"})["dragFunction"]["uniqueNumber"], 5);
    EXPECT_EQ(json({"--drag", "Лапуа Сценар#11"})["dragFunction"]["uniqueNumber"], 11);
    EXPECT_EQ(json({"--drag", "лапуа сценар"})["dragFunction"]["uniqueNumber"], 11);
    const Outcome unknown = tkcalc({"--data-dir", dir.string(), "--drag", "Лапуа Сценар#12"});
    EXPECT_EQ(unknown.status, 2);
    EXPECT_TRUE(unknown.out.empty());

    // A stored function that is gone falls back to G1, as at the desktop's start.
    settings.dragFuncNumber = 99;
    ASSERT_TRUE(saveSettingsFile(dir / kSettingsFileName, settings));
    EXPECT_EQ(json({})["dragFunction"]["name"], "G1");

    const nlohmann::json table = json({"--table"});
    ASSERT_EQ(table["rows"].size(), 3u);
    EXPECT_EQ(table["rows"][0]["distance"].get<double>(), 200);
    EXPECT_EQ(table["rows"][2]["distance"].get<double>(), 400);
}

TEST_F(StoredFolder, ListImportExportAndFunctionFiles) {
    const Outcome listed = tkcalc({"list", "--data-dir", dir.string(), "--json"});
    ASSERT_EQ(listed.status, 0) << listed.err;
    const nlohmann::json all = nlohmann::json::parse(listed.out);
    ASSERT_EQ(all.size(), 11u);
    EXPECT_EQ(all[0]["name"], "G1");
    EXPECT_EQ(all[0]["type"], "стандарт");
    EXPECT_EQ(all[10]["name"], "Лапуа Сценар");
    EXPECT_EQ(all[10]["kind"], "Special");
    EXPECT_EQ(all[10]["points"].size(), bullet.points.size());
    EXPECT_EQ(all[10]["points"][5][0].get<double>(), bullet.points[5].mach);
    EXPECT_EQ(all[10]["points"][5][1].get<double>(), bullet.points[5].cd);

    // Export as .snr, import it back under a new number; use a file without importing it.
    const fs::path snr = dir / "scenar.snr";
    const Outcome exported = tkcalc({"export", "--data-dir", dir.string(), "Лапуа Сценар#11", snr.string()});
    ASSERT_EQ(exported.status, 0) << exported.err;
    EXPECT_EQ(*readWholeFile(snr), formatSnr(bullet));
    const fs::path dat = dir / "drag_function.dat";
    ASSERT_EQ(tkcalc({"export", "--data-dir", dir.string(), "Лапуа Сценар", dat.string()}).status, 0);
    EXPECT_EQ(*readWholeFile(dat), DragLibrary::singleRecordBytes(bullet));

    const std::string libraryBefore = *readWholeFile(dir / "bc_cdm3.dat");
    const nlohmann::json fromFile = json({"--drag-file", snr.string()});
    EXPECT_EQ(fromFile["dragFunction"]["name"], "Лапуа Сценар");
    EXPECT_EQ(*readWholeFile(dir / "bc_cdm3.dat"), libraryBefore);

    const Outcome imported = tkcalc({"import", "--data-dir", dir.string(), snr.string(), (dir / "missing.snr").string()});
    EXPECT_NE(imported.out.find("Импортировано функций: 1"), std::string::npos) << imported.out;
    EXPECT_NE(imported.status, 0);  // one of the files could not be read
    DragLibrary reread;
    ASSERT_EQ(reread.loadLibrary(dir / "bc_cdm3.dat"), LibraryRead::Complete);
    ASSERT_EQ(reread.size(), 12u);
    EXPECT_EQ(reread[11].uniqueNumber, 12);
    EXPECT_EQ(json({"--drag", "Лапуа Сценар#12"})["dragFunction"]["uniqueNumber"], 12);

    const std::string libraryNow = *readWholeFile(dir / "bc_cdm3.dat");
    const Outcome bad = tkcalc({"import", "--data-dir", dir.string(), (dir / "table.csv").string()});
    EXPECT_EQ(bad.status, 2);
    EXPECT_EQ(*readWholeFile(dir / "bc_cdm3.dat"), libraryNow);
}

TEST_F(StoredFolder, ProNameQuestionAnsweredOnTheCommandLineOrTheTerminal) {
    // A ".pro" record named like the user's function in another letter case.
    DragFuncOld old;
    const std::string oldName = utf8ToCp1251("ЛАПУА СЦЕНАР");
    std::memcpy(old.name, oldName.c_str(), oldName.size() + 1);
    old.kind = DragFuncKind::Special;
    old.points = {{1.0, 0.3}};
    ByteWriter w;
    writeLibraryRecordV2(w, old);
    const fs::path pro = dir / "scenar.pro";
    ASSERT_TRUE(writeFileAtomically(pro, w.data()));

    const Outcome no = tkcalc({"import", "--data-dir", dir.string(), "--no-overwrite", pro.string()});
    ASSERT_EQ(no.status, 0) << no.err;
    DragLibrary lib;
    lib.loadLibrary(dir / "bc_cdm3.dat");
    ASSERT_EQ(lib.size(), 12u);
    EXPECT_EQ(cp1251ToUtf8(lib[11].name), "ЛАПУА СЦЕНАР copy");

    // No answer at all (the end of the input) is taken as No, as the help says.
    const Outcome unanswered = tkcalc({"import", "--data-dir", dir.string(), pro.string()}, "");
    ASSERT_EQ(unanswered.status, 0) << unanswered.err;
    DragLibrary copies;
    copies.loadLibrary(dir / "bc_cdm3.dat");
    ASSERT_EQ(copies.size(), 13u);
    EXPECT_EQ(cp1251ToUtf8(copies[12].name), "ЛАПУА СЦЕНАР copy");

    const Outcome asked = tkcalc({"import", "--data-dir", dir.string(), pro.string()}, "д\n");
    ASSERT_EQ(asked.status, 0) << asked.err;
    EXPECT_NE(asked.out.find("Перезаписать?"), std::string::npos);
    DragLibrary after;
    after.loadLibrary(dir / "bc_cdm3.dat");
    ASSERT_EQ(after.size(), 13u);  // replaced in place
    EXPECT_EQ(cp1251ToUtf8(after[10].name), "ЛАПУА СЦЕНАР");
}

// Stored values no shot has, and stored files that are not taken, are warned about on stderr; the
// first-run values stand in, and tkcalc still writes nothing.
TEST_F(StoredFolder, UnusableStoredSettingsAreWarnedAboutAndReplaced) {
    settings.targetDistance = 8.8e264;
    settings.humidity = std::nan("");
    ASSERT_TRUE(saveSettingsFile(dir / kSettingsFileName, settings));
    const std::string before = *readWholeFile(dir / kSettingsFileName);
    Outcome r = tkcalc({"--data-dir", dir.string(), "--json"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "Предупреждение: недопустимые значения в «" + (dir / kSettingsFileName).string() +
                         "» заменены значениями первого запуска: Дистанция до цели, Влажность\n");
    EXPECT_EQ(*readWholeFile(dir / kSettingsFileName), before);
    // The same answer as the stored values with those two at their first-run values.
    settings.targetDistance = 685;
    settings.humidity = 55;
    ASSERT_TRUE(saveSettingsFile(dir / kSettingsFileName, settings));
    EXPECT_EQ(json({}).dump(), nlohmann::json::parse(r.out).dump());

    // The table settings are warned about only when they are used.
    ASSERT_TRUE(writeFileAtomically(dir / kTableSettingsFileName, std::string(100, 'x')));
    EXPECT_EQ(tkcalc({"--data-dir", dir.string()}).err, "");
    r = tkcalc({"--data-dir", dir.string(), "--table"});
    EXPECT_EQ(r.err, "Предупреждение: «" + (dir / kTableSettingsFileName).string() +
                         "» не прочитан (длина 100 байт вместо 72); взяты значения первого запуска\n");
}

// Without --data-dir: the user's data folder, or the program folder when its dir_setting.dat says
// so (and it can be written); the older library is looked for in the program folder.
TEST_F(StoredFolder, TheDesktopsFolderChoice) {
    const fs::path program = dir / "program";
    const fs::path user = dir / "user";
    fs::create_directories(program);
    fs::create_directories(user);
    SettingsRecord inProgram;
    inProgram.targetDistance = 333;
    ASSERT_TRUE(saveSettingsFile(program / kSettingsFileName, inProgram));
    SettingsRecord inUser;
    inUser.targetDistance = 444;
    ASSERT_TRUE(saveSettingsFile(user / kSettingsFileName, inUser));

    EXPECT_EQ(loadStoredData({}, program, user).settings.targetDistance, 444);
    FolderSettingRecord folder;
    folder.keepInProgramFolder = 1;
    ASSERT_TRUE(saveSettingsFile(program / kFolderSettingFileName, folder));
    const StoredData redirected = loadStoredData({}, program, user);
    EXPECT_EQ(redirected.folder.folder(), program);
    EXPECT_EQ(redirected.settings.targetDistance, 333);
    EXPECT_EQ(redirected.folder.oldLibrary(), program / "bc_cdm2.dat");
    // tkcalc reads the folder setting but does not write it back.
    EXPECT_EQ(*readWholeFile(program / kFolderSettingFileName), folder.toBytes());
    EXPECT_EQ(loadStoredData(user, program, dir).folder.folder(), user);
}

// A --data-dir that is not there is a mistake (a typo would otherwise compute from the first-run
// values, or import into a folder nobody reads); only the default folder may be missing, on a
// machine where the desktop program never ran.
TEST_F(StoredFolder, OnlyTheDefaultDataFolderMayBeMissing) {
    const fs::path missing = dir / "no-such-folder";
    const fs::path snr = dir / "g1.snr";
    ASSERT_EQ(tkcalc({"export", "--data-dir", dir.string(), "G1", snr.string()}).status, 0);
    const std::vector<std::vector<std::string>> commands = {
        {"--data-dir", missing.string()},
        {"--table", "--data-dir", missing.string(), "--json"},
        {"list", "--data-dir", missing.string()},
        {"import", "--data-dir=" + missing.string(), snr.string()},
        {"export", "--data-dir", missing.string(), "G1", (dir / "out.snr").string()},
    };
    for (const auto& args : commands) {
        const Outcome r = tkcalc(args);
        EXPECT_EQ(r.status, 2) << args[0];
        EXPECT_EQ(r.out, "") << args[0];
        EXPECT_NE(r.err.find("«" + missing.string() + "» не существует"), std::string::npos) << r.err;
    }
    EXPECT_FALSE(fs::exists(missing));
    EXPECT_FALSE(fs::exists(dir / "out.snr"));
    EXPECT_NE(tkcalc({"list", "--data-dir", snr.string()}).err.find("не папка"), std::string::npos);
    EXPECT_EQ(tkcalc({"list", "--data-dir="}).status, 2);

#if !defined(_WIN32)  // (the application-data folder of Windows cannot be moved for a test)
    // A fresh machine: computing starts from the first-run values, and the first import makes the
    // folder, with the standard set and the sample function as the desktop's first start has them.
    const fs::path fresh = dir / "fresh";
    Outcome computed, imported;
    {
        const DataHome home(fresh);
        computed = tkcalc({"--json"});
        imported = tkcalc({"import", snr.string()});
    }
    ASSERT_EQ(computed.status, 0) << computed.err;
    EXPECT_EQ(nlohmann::json::parse(computed.out)["distance"].get<double>(), 685);
    EXPECT_EQ(imported.status, 0) << imported.err;
    EXPECT_EQ(imported.out, "Импортировано функций: 1\n");
    DragLibrary made;
    ASSERT_EQ(made.loadLibrary(fresh / "Trajekton" / "bc_cdm3.dat"), LibraryRead::Complete);
    ASSERT_EQ(made.size(), 12u);
    EXPECT_EQ(cp1251ToUtf8(made[11].name), "G1");
#endif
}

// An empty or foreign file would otherwise become a function without points, computing nonsense
// (the Cd of an empty table) under an empty name.
TEST_F(StoredFolder, SnrOrDrgWithoutAPointIsNotImported) {
    const fs::path library = dir / "bc_cdm3.dat";
    const std::string bytes = *readWholeFile(library);
    const auto stamp = fs::last_write_time(library) - std::chrono::hours(1);
    fs::last_write_time(library, stamp);
    const fs::path empty = dir / "empty.snr", junk = dir / "notes.snr", headerOnly = dir / "header.drg";
    ASSERT_TRUE(writeFileAtomically(empty, ""));
    ASSERT_TRUE(writeFileAtomically(junk, "shopping list\r\nbread, milk\r\n0.5 0.3\r\n"));
    ASSERT_TRUE(writeFileAtomically(headerOnly, "1,Scenar,0.0097,0.00782,0.0318\r\n\r\n"));
    for (const fs::path& f : {empty, junk, headerOnly}) {
        const Outcome r = tkcalc({"import", "--data-dir", dir.string(), f.string()});
        EXPECT_EQ(r.status, 2) << f;
        EXPECT_EQ(r.out, "Импортировано функций: 0\n") << f;
        EXPECT_NE(r.err.find("нет ни одной точки"), std::string::npos) << r.err;
    }
    EXPECT_EQ(*readWholeFile(library), bytes);
    EXPECT_EQ(fs::last_write_time(library), stamp);  // not even rewritten the same

    // With a good file beside it, the good one goes in and the status still tells of the other.
    const fs::path good = dir / "scenar.snr";
    ASSERT_TRUE(writeFileAtomically(good, formatSnr(bullet)));
    const Outcome mixed = tkcalc({"import", "--data-dir", dir.string(), empty.string(), good.string()});
    EXPECT_EQ(mixed.status, 2);
    EXPECT_EQ(mixed.out, "Импортировано функций: 1\n");
    DragLibrary after;
    ASSERT_EQ(after.loadLibrary(library), LibraryRead::Complete);
    ASSERT_EQ(after.size(), 12u);
    EXPECT_EQ(after[11].points.size(), bullet.points.size());
    EXPECT_EQ(after[11].uniqueNumber, 12);
}

// Values no shot has, or a table no loop ends, can come from the stored files as well as from the
// command line: stored ones fall back to their first-run values, with a warning that names them and
// the file; the answer is the one those values give.
TEST_F(StoredFolder, StoredValuesOutOfTheirLimitsFallBackAndAreNamed) {
    settings.humidity = 150;
    ASSERT_TRUE(saveSettingsFile(dir / kSettingsFileName, settings));
    const Outcome replaced = tkcalc({"--data-dir", dir.string(), "--json"});
    EXPECT_EQ(replaced.status, 0);
    EXPECT_NE(replaced.err.find("Влажность"), std::string::npos) << replaced.err;
    EXPECT_NE(replaced.err.find(kSettingsFileName), std::string::npos) << replaced.err;
    EXPECT_EQ(nlohmann::json::parse(replaced.out), json({"--set", "humidity=55"}));

    TableSettingsRecord table;
    const fs::path tablePath = dir / kTableSettingsFileName;
    for (double step : {0.0, -100.0, 1e-6}) {
        table.distanceStep = step;
        ASSERT_TRUE(saveSettingsFile(tablePath, table));
        const Outcome r = tkcalc({"--data-dir", dir.string(), "--set", "humidity=60", "--table"});
        EXPECT_EQ(r.status, 0) << step;
        EXPECT_NE(r.out.find("шаг 100 м"), std::string::npos) << r.out;
        EXPECT_NE(r.err.find(kTableSettingsFileName), std::string::npos) << r.err;
    }
}

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <type_traits>
#include <vector>

#if defined(__unix__) || defined(__APPLE__)
#include <csignal>
#include <sys/resource.h>
#include <unistd.h>
#endif

#include "DataFolder.h"
#include "SettingsRecord.h"
#include "ShotSettings.h"
#include "TextCodec.h"

namespace fs = std::filesystem;

namespace {
// Expected files are built here byte by byte, not with the program's writer.
void put32(std::string& b, size_t at, int32_t v) {
    uint32_t u;
    std::memcpy(&u, &v, 4);
    for (int i = 0; i < 4; ++i) b[at + i] = static_cast<char>((u >> (8 * i)) & 0xFF);
}
void put64(std::string& b, size_t at, double v) {
    uint64_t u;
    std::memcpy(&u, &v, 8);
    for (int i = 0; i < 8; ++i) b[at + i] = static_cast<char>((u >> (8 * i)) & 0xFF);
}
double get64(const std::string& b, size_t at) {
    uint64_t u = 0;
    for (int i = 7; i >= 0; --i) u = (u << 8) | static_cast<unsigned char>(b[at + i]);
    double v;
    std::memcpy(&v, &u, 8);
    return v;
}
int32_t get32(const std::string& b, size_t at) {
    uint32_t u = 0;
    for (int i = 3; i >= 0; --i) u = (u << 8) | static_cast<unsigned char>(b[at + i]);
    int32_t v;
    std::memcpy(&v, &u, 4);
    return v;
}

// A record's layout as the file format states it: where each number lies and what it starts as.
template <class R>
struct Layout {
    struct F64 { size_t at; double R::*field; double initial; };
    struct I32 { size_t at; int32_t R::*field; int32_t initial; };
    std::vector<F64> doubles;
    std::vector<I32> ints;
    std::vector<std::pair<size_t, size_t>> padding;  // offset, length
};

const Layout<SettingsRecord> kDesktop = {
    {{56, &SettingsRecord::muzzleVelocity, 792.0}, {64, &SettingsRecord::ballisticCoefficient, 0.447},
     {72, &SettingsRecord::mvMeasureTemperature, 30.0}, {80, &SettingsRecord::mvChangePercent, 2.5},
     {96, &SettingsRecord::sightHeight, 5.5}, {104, &SettingsRecord::clickVertical, 0.25},
     {112, &SettingsRecord::clickHorizontal, 0.25}, {120, &SettingsRecord::airTemperature, 15.0},
     {128, &SettingsRecord::windSpeed, 1.0}, {136, &SettingsRecord::zeroDistance, 100.0},
     {144, &SettingsRecord::shownZeroAngle, 0.0}, {152, &SettingsRecord::airDensityRatio, 0.0},
     {160, &SettingsRecord::reserved160, 0.0}, {168, &SettingsRecord::airPressure, 754.0},
     {176, &SettingsRecord::humidity, 55.0}, {184, &SettingsRecord::targetAngleField, 0.0},
     {192, &SettingsRecord::zeroHumidity, 55.0}, {200, &SettingsRecord::zeroPressure, 754.0},
     {208, &SettingsRecord::zeroTemperature, 15.0}, {216, &SettingsRecord::targetDistance, 685.0},
     {224, &SettingsRecord::windAzimuth, 90.0}, {240, &SettingsRecord::curveStep, 0.01},
     {280, &SettingsRecord::manualDriftPercent, 10.0}},
    {{52, &SettingsRecord::dragFuncNumber, 0}, {232, &SettingsRecord::pressureInHpa, 0},
     {236, &SettingsRecord::addDerivation, 0}, {248, &SettingsRecord::sameZeroAtmosphere, 1},
     {252, &SettingsRecord::angleMode, 0}, {256, &SettingsRecord::addVerticalWindDrift, 0},
     {260, &SettingsRecord::addInfoDriftUnit, 0}, {264, &SettingsRecord::clickUnit, 0},
     {268, &SettingsRecord::addInfoLeadUnit, 0}, {272, &SettingsRecord::manualDrift, 0}},
    {{50, 2}, {89, 7}, {276, 4}, {288, 16}}};

const Layout<HandheldSettingsRecord> kHandheld = {
    {{104, &HandheldSettingsRecord::muzzleVelocity, 792.0},
     {112, &HandheldSettingsRecord::ballisticCoefficient, 0.447},
     {120, &HandheldSettingsRecord::mvMeasureTemperature, 30.0},
     {128, &HandheldSettingsRecord::mvChangePercent, 2.5}, {144, &HandheldSettingsRecord::sightHeight, 5.5},
     {152, &HandheldSettingsRecord::clickVertical, 0.25}, {160, &HandheldSettingsRecord::clickHorizontal, 0.25},
     {168, &HandheldSettingsRecord::airTemperature, 15.0}, {176, &HandheldSettingsRecord::windSpeed, 1.0},
     {184, &HandheldSettingsRecord::zeroDistance, 100.0}, {192, &HandheldSettingsRecord::shownZeroAngle, 0.0},
     {200, &HandheldSettingsRecord::airDensityRatio, 0.0}, {208, &HandheldSettingsRecord::zeroLineRise, 0.0},
     {216, &HandheldSettingsRecord::airPressure, 754.0}, {224, &HandheldSettingsRecord::humidity, 55.0},
     {232, &HandheldSettingsRecord::targetAngleField, 0.0}, {240, &HandheldSettingsRecord::zeroHumidity, 55.0},
     {248, &HandheldSettingsRecord::zeroPressure, 754.0}, {256, &HandheldSettingsRecord::zeroTemperature, 15.0},
     {264, &HandheldSettingsRecord::targetDistance, 685.0}, {272, &HandheldSettingsRecord::windAzimuth, 90.0},
     {288, &HandheldSettingsRecord::reserved288, 0.01},
     {336, &HandheldSettingsRecord::manualDriftPercent, 10.0}},
    {{100, &HandheldSettingsRecord::dragFuncNumber, 0}, {280, &HandheldSettingsRecord::pressureInHpa, 0},
     {284, &HandheldSettingsRecord::addDerivation, 0}, {296, &HandheldSettingsRecord::zeroInCurrentAtmosphere, 1},
     {300, &HandheldSettingsRecord::verticalResultUnit, 0}, {304, &HandheldSettingsRecord::angleMode, 0},
     {308, &HandheldSettingsRecord::addInfoDriftUnit, 0}, {312, &HandheldSettingsRecord::clicksInMil, 0},
     {316, &HandheldSettingsRecord::horizontalResultUnit, 0},
     {320, &HandheldSettingsRecord::addVerticalWindDrift, 0}, {324, &HandheldSettingsRecord::addInfoLeadUnit, 0},
     {328, &HandheldSettingsRecord::manualDrift, 0}},
    {{137, 7}, {332, 4}, {344, 16}}};

const Layout<TableSettingsRecord> kTable = {
    {{0, &TableSettingsRecord::lastDistance, 800.0}, {8, &TableSettingsRecord::firstDistance, 100.0},
     {16, &TableSettingsRecord::distanceStep, 100.0}},
    {{24, &TableSettingsRecord::showVelocity, 1}, {32, &TableSettingsRecord::showTimeOfFlight, 0},
     {40, &TableSettingsRecord::showVerticalCm, 0}, {44, &TableSettingsRecord::showVerticalMoa, 1},
     {48, &TableSettingsRecord::showVerticalMil, 0}, {52, &TableSettingsRecord::showVerticalClicks, 0},
     {56, &TableSettingsRecord::showHorizontalCm, 0}, {60, &TableSettingsRecord::showHorizontalMoa, 1},
     {64, &TableSettingsRecord::showHorizontalMil, 0}, {68, &TableSettingsRecord::showHorizontalClicks, 0}},
    {{28, 4}, {36, 4}}};

template <class R>
std::string defaultImage(const Layout<R>& layout) {
    std::string b(R::kSize, '\0');
    for (const auto& d : layout.doubles) put64(b, d.at, d.initial);
    for (const auto& i : layout.ints) put32(b, i.at, i.initial);
    return b;
}

// Every number different and every padding byte set; `written` is what the record writes back.
template <class R>
std::string patternImage(const Layout<R>& layout, std::string* written) {
    std::string b(R::kSize, '\xEE');
    for (const auto& d : layout.doubles) put64(b, d.at, d.at + 0.125);
    for (const auto& i : layout.ints) put32(b, i.at, -static_cast<int32_t>(i.at));
    *written = b;
    for (const auto& [at, n] : layout.padding) written->replace(at, n, n, '\0');
    return b;
}

template <class R>
void expectPatternRead(const Layout<R>& layout, const R& r) {
    for (const auto& d : layout.doubles) EXPECT_EQ(r.*d.field, d.at + 0.125) << "offset " << d.at;
    for (const auto& i : layout.ints) EXPECT_EQ(r.*i.field, -static_cast<int32_t>(i.at)) << "offset " << i.at;
}

void writeRaw(const fs::path& p, const std::string& bytes) {
    std::ofstream(p, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}
std::string readRaw(const fs::path& p) { return readWholeFile(p).value_or("<missing>"); }

class SettingsFiles : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("tk_settings_" + std::to_string(std::random_device{}()));
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }
    fs::path dir_;
};

#if defined(__unix__) || defined(__APPLE__)
// While it lives, no file can grow: every write fails the way a full disk fails it.
class FullDisk {
public:
    FullDisk() {
        getrlimit(RLIMIT_FSIZE, &old_);
        oldSignal_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit none = old_;
        none.rlim_cur = 0;
        setrlimit(RLIMIT_FSIZE, &none);
    }
    ~FullDisk() {
        setrlimit(RLIMIT_FSIZE, &old_);
        std::signal(SIGXFSZ, oldSignal_);
    }

private:
    rlimit old_{};
    void (*oldSignal_)(int) = nullptr;
};
#define TK_HAVE_FULL_DISK 1
#endif
}  // namespace

TEST(SettingsRecord, DefaultsAtTheirOffsets) {
    std::string desktop = defaultImage(kDesktop);
    desktop[0] = 'G';
    desktop[1] = '1';
    EXPECT_EQ(SettingsRecord{}.toBytes(), desktop);
    EXPECT_EQ(SettingsRecord{}.dragFuncNameText(), "G1");

    std::string handheld = defaultImage(kHandheld);
    handheld[0] = 'G';
    handheld[2] = '1';
    EXPECT_EQ(HandheldSettingsRecord{}.toBytes(), handheld);

    EXPECT_EQ(TableSettingsRecord{}.toBytes(), defaultImage(kTable));
    EXPECT_EQ(FolderSettingRecord{}.toBytes(), std::string(304, '\0'));
}

TEST(SettingsRecord, EveryFieldFromItsOffsetPaddingWrittenAsZero) {
    std::string written;
    {
        std::string image = patternImage(kDesktop, &written);
        image.replace(0, 50, 50, '\0');
        image.replace(0, 5, "\xCB\xE0\xEF\xF3\xE0");  // "Лапуа"
        written.replace(0, 50, image, 0, 50);
        image[88] = written[88] = 1;
        SettingsRecord r;
        ASSERT_TRUE(r.fromBytes(image));
        expectPatternRead(kDesktop, r);
        EXPECT_EQ(cp1251ToUtf8(r.dragFuncNameText()), "Лапуа");
        EXPECT_EQ(r.mvCorrectionOff, 1);
        EXPECT_EQ(r.toBytes(), written);
    }
    {
        std::string image = patternImage(kHandheld, &written);
        image.replace(0, 100, 100, '\0');
        image[0] = written[0] = '\x1B';  // U+041B "Л"
        image[1] = written[1] = '\x04';
        written.replace(2, 98, 98, '\0');
        image[136] = written[136] = 1;
        HandheldSettingsRecord r;
        ASSERT_TRUE(r.fromBytes(image));
        expectPatternRead(kHandheld, r);
        EXPECT_EQ(r.dragFuncNameText(), u"Л");
        EXPECT_EQ(r.toBytes(), written);
    }
    {
        TableSettingsRecord r;
        ASSERT_TRUE(r.fromBytes(patternImage(kTable, &written)));
        expectPatternRead(kTable, r);
        EXPECT_EQ(r.toBytes(), written);
    }
    {
        std::string image(304, '\x55');
        put32(image, 0, 7);
        put32(image, 4, -1);
        FolderSettingRecord r;
        ASSERT_TRUE(r.fromBytes(image));
        EXPECT_EQ(r.keepInProgramFolder, 7);
        EXPECT_EQ(r.programFolderAccepted, -1);
        EXPECT_TRUE(r.dataInProgramFolder());  // any value but 0 is on
        std::string expected(304, '\0');
        expected.replace(0, 8, image, 0, 8);
        EXPECT_EQ(r.toBytes(), expected);
    }
}

TEST(SettingsRecord, OnlyTheExactLengthIsTaken) {
    TableSettingsRecord t;
    EXPECT_FALSE(t.fromBytes(std::string(71, '\1')));
    EXPECT_FALSE(t.fromBytes(std::string(73, '\1')));
    EXPECT_EQ(t, TableSettingsRecord{});
    FolderSettingRecord f;
    EXPECT_FALSE(f.fromBytes(std::string(303, '\1')));
    EXPECT_EQ(f, FolderSettingRecord{});
    HandheldSettingsRecord h;  // a desktop file copied to the device is not taken
    EXPECT_FALSE(h.fromBytes(SettingsRecord{}.toBytes()));
    EXPECT_FALSE(h.fromBytes(std::string(361, '\1')));
    EXPECT_EQ(h, HandheldSettingsRecord{});
}

TEST(SettingsRecord, NameIsCutTo49Bytes) {
    SettingsRecord r;
    r.setDragFuncName(std::string(60, '\xDF'));  // "я" × 60
    EXPECT_EQ(r.dragFuncNameText(), std::string(49, '\xDF'));
    EXPECT_EQ(r.toBytes()[49], '\0');
    r.setDragFuncName("G7");
    EXPECT_EQ(r.toBytes().substr(0, 50), std::string("G7") + std::string(48, '\0'));

    HandheldSettingsRecord h;
    std::u16string longName(48, u'я');
    longName += u"\U0001F3AF";  // two units at 48 and 49: cut whole
    h.setDragFuncName(longName);
    EXPECT_EQ(h.dragFuncNameText(), std::u16string(48, u'я'));
}

TEST_F(SettingsFiles, LoadsOnlyFilesOfTheExactLength) {
    SettingsRecord stored;
    stored.muzzleVelocity = 850;
    const std::string image = stored.toBytes();
    const fs::path p = dir_ / kSettingsFileName;

    SettingsRecord r;
    EXPECT_EQ(readSettingsFile(p, r), SettingsFileRead::Missing);
    writeRaw(p, image.substr(0, 303));
    EXPECT_EQ(readSettingsFile(p, r), SettingsFileRead::NotTaken);
    EXPECT_EQ(notTakenReason(p, SettingsRecord::kSize), "длина 303 байт вместо 304");
    writeRaw(p, image + '\0');
    EXPECT_FALSE(loadSettingsFile(p, r));
    EXPECT_EQ(notTakenReason(p, SettingsRecord::kSize), "длина 305 байт вместо 304");
    EXPECT_EQ(r, SettingsRecord{});
    fs::remove(p);
    fs::create_directory(p);  // there, but no file to read
    EXPECT_EQ(readSettingsFile(p, r), SettingsFileRead::NotTaken);
    EXPECT_EQ(notTakenReason(p, SettingsRecord::kSize), "не читается");
    fs::remove(p);

    writeRaw(p, image);
    EXPECT_TRUE(loadSettingsFile(p, r));
    EXPECT_EQ(r, stored);
    HandheldSettingsRecord h;
    EXPECT_FALSE(loadSettingsFile(p, h));
    EXPECT_EQ(h, HandheldSettingsRecord{});
}

TEST_F(SettingsFiles, SaveAndLoadGiveTheSameRecords) {
    auto roundTrip = [this](const auto& record) {
        ASSERT_TRUE(saveSettingsFile(dir_ / "record.dat", record));
        std::remove_cvref_t<decltype(record)> back;
        ASSERT_TRUE(loadSettingsFile(dir_ / "record.dat", back));
        EXPECT_EQ(back, record);
    };
    SettingsRecord s;
    s.setDragFuncName(utf8ToCp1251("Sierra MatchKing №2"));
    s.targetDistance = 1234.5;
    roundTrip(s);
    TableSettingsRecord t;
    t.distanceStep = 25;
    roundTrip(t);
    FolderSettingRecord f;
    f.keepInProgramFolder = 1;
    roundTrip(f);
    HandheldSettingsRecord h;
    h.verticalResultUnit = HandheldSettingsRecord::kResultClicks;
    roundTrip(h);
}

// 0.1 MIL is kept as 0.1 / 0.290888233 MOA and must come back as the same bits, so that the next
// start shows 0.1 again.
TEST_F(SettingsFiles, MilClickValueComesBackBitForBit) {
    SettingsRecord s;
    s.clickUnit = kClickUnitMil;
    s.clickVertical = 0.1 / kMilPerMoaClick;
    s.clickHorizontal = 0.1 / kMilPerMoaClick;
    ASSERT_TRUE(saveSettingsFile(dir_ / kSettingsFileName, s));
    SettingsRecord r;
    ASSERT_TRUE(loadSettingsFile(dir_ / kSettingsFileName, r));
    EXPECT_EQ(std::memcmp(&r.clickVertical, &s.clickVertical, 8), 0);
    EXPECT_EQ(std::memcmp(&r.clickHorizontal, &s.clickHorizontal, 8), 0);
    EXPECT_EQ(get64(readRaw(dir_ / kSettingsFileName), 104), 0.1 / 0.290888233);
    char shown[32];
    std::snprintf(shown, sizeof shown, "%.*g", 15, r.clickVertical * kMilPerMoaClick);
    EXPECT_STREQ(shown, "0.1");
}

TEST_F(SettingsFiles, FailedSaveLeavesTheOldFile) {
    SettingsRecord changed;
    changed.muzzleVelocity = 1;
    EXPECT_FALSE(saveSettingsFile(dir_ / "missing" / kSettingsFileName, changed));
    EXPECT_FALSE(fs::exists(dir_ / "missing"));

#ifdef TK_HAVE_FULL_DISK
    const fs::path p = dir_ / kSettingsFileName;
    std::string old = SettingsRecord{}.toBytes();
    old[300] = '\x7F';  // something the new record would not write
    writeRaw(p, old);
    bool saved = true;
    {
        FullDisk full;  // nothing is reported in here: the test log may be a file too
        saved = saveSettingsFile(p, changed);
    }
    EXPECT_FALSE(saved);
    EXPECT_EQ(readRaw(p), old);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 1);  // no temporary left
#endif
}

TEST_F(SettingsFiles, FolderSettingMovesTheDataOnlyWhenTheProgramFolderTakesTheFile) {
    const fs::path p = dir_ / kFolderSettingFileName;
    std::string image(304, '\0');
    put32(image, 0, 1);
    writeRaw(p, image);

    FolderSettingRecord r;
    FolderSettingResult result = applyFolderSetting(dir_, r);
    EXPECT_TRUE(result.fileRead);
    EXPECT_TRUE(result.programFolderWritable);
    EXPECT_TRUE(result.dataInProgramFolder);
    EXPECT_EQ(r.programFolderAccepted, 1);
    EXPECT_EQ(readRaw(p), image);  // written back as read

    put32(image, 0, 0);  // asked for no more
    writeRaw(p, image);
    result = applyFolderSetting(dir_, r);
    EXPECT_TRUE(result.programFolderWritable);
    EXPECT_FALSE(result.dataInProgramFolder);

    // A program folder that cannot be written keeps the data where they are, even when the last
    // run could write there.
    put32(image, 0, 1);
    put32(image, 4, 1);
    writeRaw(p, image);
#ifdef TK_HAVE_FULL_DISK
    {
        FullDisk full;
        result = applyFolderSetting(dir_, r);
    }
    EXPECT_TRUE(result.fileRead);
    EXPECT_FALSE(result.programFolderWritable);
    EXPECT_FALSE(result.dataInProgramFolder);
    EXPECT_EQ(r.programFolderAccepted, 0);
    EXPECT_EQ(r.keepInProgramFolder, 1);
    EXPECT_EQ(readRaw(p), image);
#endif
    FolderSettingRecord kept;
    kept.keepInProgramFolder = 1;
    result = applyFolderSetting(dir_ / "missing", kept);
    EXPECT_FALSE(result.fileRead || result.programFolderWritable || result.dataInProgramFolder);
    EXPECT_EQ(kept.programFolderAccepted, 0);
}

// The data folder tells what stands in the way of saving, naming it, so that the program can say so
// instead of losing the user's work at the end.
TEST_F(SettingsFiles, ADataFolderThatCannotBeWrittenSaysWhy) {
    FolderSettingRecord record;
    writeRaw(dir_ / "file", "not a folder");
    DataFolder onAFile = DataFolder::openAtStart(dir_, dir_ / "file" / "Trajekton", record);
    EXPECT_EQ(onAFile.problem(), FolderProblem::FileInTheWay);
    EXPECT_FALSE(onAFile.ready());
    EXPECT_EQ(onAFile.problemText(), "«" + (dir_ / "file").string() + "» - файл, а не папка");
    EXPECT_EQ(DataFolder::openAtStart(dir_, dir_ / "file", record).problem(), FolderProblem::FileInTheWay);
    EXPECT_EQ(readRaw(dir_ / "file"), "not a folder");

    // Put right while the program runs: the next prepare() makes the folder.
    fs::remove(dir_ / "file");
    EXPECT_EQ(onAFile.prepare(), FolderProblem::None);
    EXPECT_TRUE(fs::is_directory(dir_ / "file" / "Trajekton"));
    EXPECT_EQ(onAFile.problemText(), "");

    // "Сохранять данные в папке приложения" with a program folder that takes no file: the data stay in
    // the user's folder, and that is told too; without the option nothing is wrong.
    FolderSettingRecord asked;
    asked.keepInProgramFolder = 1;
    const DataFolder refused = DataFolder::openAtStart(dir_ / "no-program", dir_ / "user", asked);
    EXPECT_TRUE(refused.programFolderRefused());
    EXPECT_EQ(refused.folder(), dir_ / "user");
    EXPECT_TRUE(refused.ready());
    FolderSettingRecord notAsked;
    EXPECT_FALSE(DataFolder::openAtStart(dir_ / "no-program", dir_ / "user", notAsked).programFolderRefused());
}

TEST_F(SettingsFiles, ADataFolderWithoutWritePermissionCannotBeWritten) {
#if defined(__unix__) || defined(__APPLE__)
    if (::geteuid() == 0) GTEST_SKIP() << "running as root: folder permissions do not stop writes";
    FolderSettingRecord record;
    const fs::path locked = dir_ / "locked";
    fs::create_directories(locked);
    fs::permissions(locked, fs::perms::owner_read | fs::perms::owner_exec);
    const FolderProblem inLocked = DataFolder::openAtStart(dir_, locked, record).problem();
    const FolderProblem underLocked = DataFolder::openAtStart(dir_, locked / "Trajekton", record).problem();
    fs::permissions(locked, fs::perms::owner_all);
    EXPECT_EQ(inLocked, FolderProblem::NotWritable);
    EXPECT_EQ(underLocked, FolderProblem::CannotMake);
#endif
}

// A program folder that takes no file is usual; only a choice of folder made while the program ran
// is lost with the write of "dir_setting.dat".
TEST_F(SettingsFiles, FolderSettingFailsOnlyWhenItLosesAChoice) {
    FolderSettingRecord asked, notAsked;
    asked.keepInProgramFolder = 1;
    const fs::path nowhere = dir_ / "missing" / kFolderSettingFileName;
    EXPECT_TRUE(saveFolderSetting(nowhere, notAsked));
    EXPECT_FALSE(saveFolderSetting(nowhere, asked));
}

// A random file of the right length is taken, but a number reaches the solver only when it lies
// within its field's limits; the others go back to the first-run values one by one.
TEST(SettingsSanitizing, UnusableValuesFallBackFieldByField) {
    SettingsRecord r;
    r.humidity = 120;
    r.curveStep = INFINITY;
    std::vector<std::string> replaced;
    EXPECT_EQ(sanitizedShotInputs(r, replaced).humidity, 55.0);
    sanitizeShownValues(r, replaced);
    EXPECT_EQ(replaced, (std::vector<std::string>{"Влажность", "Шаг изменения кривой драг-функции"}));
    EXPECT_EQ(r.curveStep, 0.01);

    std::mt19937 random(20240611);
    for (int n = 0; n < 100; ++n) {
        std::string bytes(SettingsRecord::kSize, '\0');
        for (char& c : bytes) c = static_cast<char>(random());
        SettingsRecord junk;
        ASSERT_TRUE(junk.fromBytes(bytes));
        std::vector<std::string> labels;
        const ShotInputs taken = sanitizedShotInputs(junk, labels);
        EXPECT_EQ(refusalOf(taken), "");
        const ShotInputs raw = shotInputsFrom(junk);
        for (const InputField& f : inputFields()) {
            const bool named = std::find(labels.begin(), labels.end(), f.label) != labels.end();
            if (f.number(taken) && !named) {
                EXPECT_EQ(*f.number(taken), *f.number(raw)) << f.key;  // kept as stored
            }
        }
    }

    TableSettingsRecord t;
    t.firstDistance = -5;
    t.lastDistance = 3000;  // the farthest the table goes
    t.distanceStep = 30;
    std::vector<std::string> table;
    sanitizeTableSettings(t, table);
    EXPECT_EQ(table, (std::vector<std::string>{"Начальная дистанция таблицы", "Шаг таблицы"}));
    EXPECT_EQ(t.firstDistance, 100.0);
    EXPECT_EQ(t.lastDistance, 3000.0);
    EXPECT_EQ(t.distanceStep, 100.0);
}

TEST(SettingsHandheld, SharedValuesLandAtTheHandheldOffsets) {
    std::string unused;
    SettingsRecord desktop;
    ASSERT_TRUE(desktop.fromBytes(patternImage(kDesktop, &unused)));
    desktop.setDragFuncName("\xCB\xE0\xEF\xF3\xE0 \xB9\xA8\xB8");  // "Лапуа №Ёё"
    desktop.mvCorrectionOff = 1;
    desktop.clickUnit = kClickUnitMil;

    HandheldSettingsRecord h;
    h.verticalResultUnit = HandheldSettingsRecord::kResultCm;
    h.horizontalResultUnit = HandheldSettingsRecord::kResultClicks;
    copySharedSettings(desktop, h);
    const std::string b = h.toBytes();
    // desktop offset -> handheld offset
    const std::pair<size_t, size_t> doubles[] = {
        {56, 104}, {64, 112}, {72, 120}, {80, 128}, {96, 144}, {104, 152}, {112, 160}, {120, 168},
        {128, 176}, {136, 184}, {144, 192}, {152, 200}, {160, 208}, {168, 216}, {176, 224}, {184, 232},
        {192, 240}, {200, 248}, {208, 256}, {216, 264}, {224, 272}, {240, 288}, {280, 336}};
    for (auto [from, to] : doubles) EXPECT_EQ(get64(b, to), from + 0.125) << from;
    const std::pair<size_t, size_t> ints[] = {{52, 100}, {232, 280}, {236, 284}, {248, 296}, {252, 304},
                                              {256, 320}, {260, 308}, {268, 324}, {272, 328}};
    for (auto [from, to] : ints) EXPECT_EQ(get32(b, to), -static_cast<int32_t>(from)) << from;
    EXPECT_EQ(b[136], 1);
    EXPECT_EQ(get32(b, 312), 1);  // clicks in MIL
    EXPECT_EQ(get32(b, 300), HandheldSettingsRecord::kResultCm);  // the handheld's own stay
    EXPECT_EQ(get32(b, 316), HandheldSettingsRecord::kResultClicks);
    EXPECT_EQ(h.dragFuncNameText(), u"Лапуа №Ёё");

    SettingsRecord back;
    copySharedSettings(h, back);
    EXPECT_EQ(back, desktop);
}

TEST(SettingsHandheld, ClickUnitAndNameConversions) {
    SettingsRecord desktop;
    desktop.clickUnit = 5;  // not MOA
    desktop.setDragFuncName(std::string(49, '\xC0'));
    HandheldSettingsRecord h;
    copySharedSettings(desktop, h);
    EXPECT_EQ(h.clicksInMil, 1);
    EXPECT_EQ(h.dragFuncNameText(), std::u16string(49, u'А'));

    h.clicksInMil = -3;  // any value but 0 is on
    h.setDragFuncName(u"7.62×54 Лапуа");  // "×" has no Cyrillic byte: its low byte
    copySharedSettings(h, desktop);
    EXPECT_EQ(desktop.clickUnit, kClickUnitMil);
    EXPECT_EQ(desktop.dragFuncNameText(), "7.62\xD7" "54 \xCB\xE0\xEF\xF3\xE0");
    h.clicksInMil = 0;
    copySharedSettings(h, desktop);
    EXPECT_EQ(desktop.clickUnit, kClickUnitMoa);
}

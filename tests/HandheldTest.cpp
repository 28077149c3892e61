#include <gtest/gtest.h>

#include <filesystem>
#include <random>

#include "CDlgMobileAddInfo.h"
#include "CDlgMobileDragList.h"
#include "CDlgMobileInputScreen.h"
#include "CDlgMobileKeypad.h"
#include "CDlgMobileInputs.h"
#include "CDlgMobileSettings.h"
#include "CDlgMobileSlope.h"
#include "CDlgMobileWind.h"
#include "CDlgMobileTable.h"
#include "CtkmobileDlg.h"
#include "DragFuncKind.h"
#include "FileIO.h"
#include "HandheldSummaries.h"
#include "HeadlessBackend.h"
#include "NumberText.h"
#include "RoundTo.h"
#include "SettingsRecord.h"
#include "StandardDragSet.h"
#include "TextCodec.h"

namespace fs = std::filesystem;
using namespace ctkmobile;

namespace {

class Handheld : public ::testing::Test {
protected:
    void SetUp() override {
        data = fs::temp_directory_path() / ("tkmobile-" + std::to_string(std::random_device{}())) / "Trajekton-mobile";
    }
    void TearDown() override {
        std::error_code ec;
        fs::remove_all(data.parent_path(), ec);
    }
    HandheldSettingsRecord storedSettings() const {
        HandheldSettingsRecord r;
        EXPECT_TRUE(loadSettingsFile(data / "settings.dat", r));
        return r;
    }
    void storeSettings(const HandheldSettingsRecord& r) const {
        fs::create_directories(data);
        ASSERT_TRUE(writeFileAtomically(data / "settings.dat", r.toBytes()));
    }
    // The corrections the engine gives for these inputs with G1, as the main screen shows them.
    static ShownCorrections engineCorrections(const ShotInputs& in) {
        BallisticSolver main, zeroing;
        DragFunc g1;
        standardFunction("G1", g1);
        loadSolver(in, g1, main);
        return shownCorrections(
            computeShot(main, zeroing, zeroingAtmosphere(in), in.distance, driftOptions(in)).corrections);
    }

    fs::path data;
    ui::HeadlessBackend screen;
};

// The first-run shot shooters know from tkdesk and tkcalc: 26.18 MOA up, 1.77 MOA right.
TEST_F(Handheld, FirstRunComputesTheShotTheOtherProgramsShow) {
    CtkmobileDlg dlg(data);
    auto& w = ui::openHeadless(dlg);
    EXPECT_EQ(w.text(kDistance), "685");
    EXPECT_EQ(w.text(kWindSpeed), "1");
    EXPECT_EQ(w.text(kVertical), "");
    w.click(kCompute);
    EXPECT_EQ(w.text(kVerticalLabel), "Верт. MOA");
    EXPECT_EQ(w.text(kVertical), "26.18");
    EXPECT_EQ(w.text(kHorizontalLabel), "Гор. MOA");
    EXPECT_EQ(w.text(kHorizontal), "1.77");
    EXPECT_TRUE(screen.messages.empty());
}

// The units and drift options change only what is shown: the numbers stay the engine's, bit for bit.
TEST_F(Handheld, ResultsFollowTheChosenUnitsAndDriftOptionsAsTheEngineGivesThem) {
    HandheldSettingsRecord r;
    r.verticalResultUnit = HandheldSettingsRecord::kResultCm;
    r.horizontalResultUnit = HandheldSettingsRecord::kResultClicks;
    r.addDerivation = 1;
    r.addVerticalWindDrift = 1;
    r.manualDrift = 1;
    r.manualDriftPercent = 20.0;
    r.targetDistance = 900.0;
    r.windSpeed = 4.0;
    storeSettings(r);
    CtkmobileDlg dlg(data);
    auto& w = ui::openHeadless(dlg);
    w.click(kCompute);
    const ShownCorrections expected = engineCorrections(dlg.session().inputs());
    EXPECT_EQ(w.text(kVerticalLabel), "Верт. см");
    EXPECT_EQ(w.text(kVertical), ui::formatNumber(expected.vertical.cm));
    EXPECT_EQ(w.text(kHorizontalLabel), "Гор. клики");
    EXPECT_EQ(w.text(kHorizontal), ui::formatNumber(expected.horizontal.clicks));
    // The drifts are added: the results are red, as the option screen says.
    EXPECT_EQ(w.textColour(kVertical), ui::kRed);
    EXPECT_EQ(w.textColour(kHorizontal), ui::kRed);
}

// "Выход", the close box and the end of the session each leave the three files, the settings 360 bytes.
TEST_F(Handheld, EveryWayOfEndingWritesTheFiles) {
    for (int way = 0; way < 3; ++way) {
        fs::remove_all(data);
        CtkmobileDlg dlg(data);
        auto& w = ui::openHeadless(dlg);
        w.type(kDistance, "450");
        if (way == 0) {
            screen.answerMenu(kMenuExit);
            w.click(kMenu);
        } else if (way == 1) {
            w.closeBox();
        } else {
            dlg.endSession();
        }
        dlg.destroy();  // as the window's end does
        EXPECT_EQ(fs::file_size(data / "settings.dat"), 360u) << way;
        EXPECT_EQ(fs::file_size(data / "table_settings.dat"), 72u) << way;
        EXPECT_TRUE(fs::exists(data / "bc_cdm3.dat")) << way;
        EXPECT_EQ(storedSettings().targetDistance, 450.0) << way;
    }
}

// A desktop "settings.dat" (304 bytes) copied into the folder is not the handheld's: the first-run
// values are used, and the desktop's file is kept aside rather than lost.
TEST_F(Handheld, ADesktopSettingsFileIsIgnoredAndKeptAside) {
    SettingsRecord desktop;
    desktop.targetDistance = 300.0;
    fs::create_directories(data);
    ASSERT_TRUE(writeFileAtomically(data / "settings.dat", desktop.toBytes()));
    {
        CtkmobileDlg dlg(data);
        auto& w = ui::openHeadless(dlg);
        EXPECT_EQ(w.text(kDistance), "685");
        EXPECT_TRUE(screen.messages.empty());
        w.closeBox();
        dlg.destroy();
    }
    EXPECT_EQ(fs::file_size(data / "settings.dat"), 360u);
    EXPECT_EQ(fs::file_size(data / "settings.dat.bak"), 304u);
}

// A cosine outside −1…1 has no angle: refused with the field named, instead of a NaN angle.
TEST_F(Handheld, ACosineOutsideItsRangeIsRefusedAndOneInsideGivesItsAngle) {
    HandheldSettingsRecord r;
    r.angleMode = kAngleModeCosine;
    storeSettings(r);
    CtkmobileDlg dlg(data);
    auto& w = ui::openHeadless(dlg);
    EXPECT_EQ(w.text(kTargetAngleLabel), "Угол места цели, cos");
    EXPECT_EQ(w.text(kTargetAngle), "1");
    w.type(kTargetAngle, "1.5");
    w.click(kCompute);
    ASSERT_EQ(screen.messages.size(), 1u);
    EXPECT_NE(screen.messages[0].text.find("Угол места цели, cos"), std::string::npos);
    EXPECT_EQ(w.text(kVertical), "");
    EXPECT_EQ(w.focusedControl(), kTargetAngle);

    // cos 0.5 is 60 degrees: the shot a degree field of 60 gives.
    w.type(kTargetAngle, "0.5");
    w.click(kCompute);
    ShotInputs in = dlg.session().inputs();
    EXPECT_EQ(in.targetAngle, 60.0);
    EXPECT_EQ(w.text(kVertical), ui::formatNumber(engineCorrections(in).vertical.moa));
}

// "−"/"+" and Up/Down step within the field's range; a typed value outside it is kept as typed.
TEST_F(Handheld, SteppingStaysWithinTheRangeAndKeepsWhatWasTyped) {
    CtkmobileDlg dlg(data);
    auto& w = ui::openHeadless(dlg);
    w.click(kDistancePlus);
    EXPECT_EQ(w.text(kDistance), "690");
    w.pressKey(kDistance, ui::kKeyDown);
    w.pressKey(kDistance, ui::kKeyDown);
    EXPECT_EQ(w.text(kDistance), "680");
    w.type(kDistance, "2500");
    w.click(kCompute);
    EXPECT_EQ(w.text(kDistance), "2500");  // beyond the steps, but a real distance
    EXPECT_EQ(dlg.session().inputs().distance, 2500.0);
    w.click(kDistanceMinus);
    EXPECT_EQ(w.text(kDistance), "2000");
    w.click(kDistancePlus);
    EXPECT_EQ(w.text(kDistance), "2000");
    for (int i = 0; i < 3; ++i) w.click(kWindPlus);
    EXPECT_EQ(w.text(kWindSpeed), "1.6");
    w.type(kWindSpeed, "abc");
    w.click(kWindPlus);
    EXPECT_EQ(w.text(kWindSpeed), "abc");
}

TEST(HandheldSummaries, FollowTheirFormats) {
    ShotInputs in;
    DragFunc g1;
    standardFunction("G1", g1);
    EXPECT_EQ(cartridgeSummary(in, g1), "Патрон:\nG1\n792/30/2.5/0.447");
    DragFunc own = g1;
    own.kind = DragFuncKind::Special;
    in.dragFunctionName = "Моя пуля";
    EXPECT_EQ(cartridgeSummary(in, own), "Патрон:\nМоя пуля\n792/30/2.5");
    EXPECT_EQ(atmosphereSummary(in), "Атмосфера:\n15гр/754мм.рт.ст./55");
    EXPECT_EQ(rifleSummary(in, false), "Приц.:\n100/5.5/0.25/0.25\n");
    // 0.25 MOA × 0.290888233 = 0.0727 MIL, printed with two decimals.
    EXPECT_EQ(rifleSummary(in, true), "Приц.:\n100/5.5/0.07/0.07\n");
    EXPECT_EQ(zeroingSummary(in), "Пристрелка на месте");
    in.sameAtmosphere = false;
    in.zeroTemperature = -5;
    EXPECT_EQ(zeroingSummary(in), "Атм. пристрелки:  -5/754/55");
}

// A sub-screen closed with "Так точно!" is saved at once (a flat battery loses nothing); one closed
// with "Отставить!" changes nothing.
TEST_F(Handheld, AnInputScreenSavesOnOkAndChangesNothingOnCancel) {
    CtkmobileDlg dlg(data);
    auto& w = ui::openHeadless(dlg);
    screen.onNextModal([&](ui::HeadlessWindow& overview) {
        screen.onNextModal([](ui::HeadlessWindow& rifle) {
            rifle.type(CDlgMobileInputScreen::kField2, "200");
            rifle.click(ui::kIdOk);
        });
        overview.click(CDlgMobileInputs::kRifleOpen);
        EXPECT_EQ(overview.text(CDlgMobileInputs::kRifle), "Приц.:\n200/5.5/0.25/0.25\n");
        screen.onNextModal([](ui::HeadlessWindow& cartridge) {
            cartridge.type(CDlgMobileInputScreen::kField1, "850");
            cartridge.click(ui::kIdCancel);
        });
        overview.click(CDlgMobileInputs::kCartridgeOpen);
        overview.click(ui::kIdCancel);
    });
    w.click(kInputs);
    EXPECT_EQ(storedSettings().zeroDistance, 200.0);
    EXPECT_EQ(storedSettings().muzzleVelocity, 792.0);
    EXPECT_EQ(dlg.session().inputs().zeroDistance, 200.0);
    w.closeBox();
}

// Clicks in MIL are kept in MOA, hPa in mm Hg; the "мм.рт.столба" box ticked means mm Hg (flag 0).
TEST_F(Handheld, MilClicksAndHectopascalsAreKeptInMoaAndMillimetres) {
    HandheldSettingsRecord r;
    r.clicksInMil = 1;
    storeSettings(r);
    HandheldSettingsRecord s = r;
    ShotInputs in;
    CDlgMobileInputScreen rifle(CDlgMobileInputScreen::Rifle, in, s, DragFunc{}, nullptr);
    auto& w = ui::openHeadless(rifle);
    EXPECT_EQ(w.text(CDlgMobileInputScreen::kField3), "0.0727");
    w.type(CDlgMobileInputScreen::kField3, "0.1");
    w.click(ui::kIdOk);
    EXPECT_DOUBLE_EQ(rifle.inputs().clickVertical, 0.1 / kMilPerMoaClick);
    // Shown as 0.0727 MIL but not retyped: still 0.25 MOA, not 0.0727 MIL taken back (0.249924 MOA).
    EXPECT_EQ(rifle.inputs().clickHorizontal, 0.25);

    CDlgMobileInputScreen atmosphere(CDlgMobileInputScreen::Atmosphere, in, s, DragFunc{}, nullptr);
    auto& a = ui::openHeadless(atmosphere);
    EXPECT_TRUE(a.isChecked(CDlgMobileInputScreen::kMmHg));
    a.click(CDlgMobileInputScreen::kMmHg);  // cleared: hPa
    EXPECT_EQ(a.text(CDlgMobileInputScreen::kField2), "1005.3");
    a.type(CDlgMobileInputScreen::kField2, "1013.25");
    a.click(ui::kIdOk);
    EXPECT_TRUE(atmosphere.pressureInHpa());
    EXPECT_DOUBLE_EQ(atmosphere.inputs().pressure, 760.0);
}

// The unit lists run cm, MOA, MIL, clicks; the settings keep 0 MOA, 1 MIL, 2 cm, 3 clicks.
TEST_F(Handheld, ResultUnitsMapTheListsOntoTheStoredCodes) {
    CDlgResultUnits dlg(HandheldSettingsRecord::kResultMoa, HandheldSettingsRecord::kResultMil, nullptr);
    auto& w = ui::openHeadless(dlg);
    EXPECT_EQ(w.selection(CDlgResultUnits::kVertical), 1);
    EXPECT_EQ(w.itemText(CDlgResultUnits::kVertical, 0), "сантиметры");
    EXPECT_EQ(w.selection(CDlgResultUnits::kHorizontal), 2);
    w.chooseItem(CDlgResultUnits::kVertical, 0);
    w.chooseItem(CDlgResultUnits::kHorizontal, 3);
    w.click(ui::kIdOk);
    EXPECT_EQ(dlg.vertical(), HandheldSettingsRecord::kResultCm);
    EXPECT_EQ(dlg.horizontal(), HandheldSettingsRecord::kResultClicks);
}

// Settings changed in "Установки" act on the main screen at once and are on disk before it closes.
TEST_F(Handheld, SettingsScreensActAtOnceAndAreSaved) {
    CtkmobileDlg dlg(data);
    auto& w = ui::openHeadless(dlg);
    w.click(kCompute);
    screen.answerMenu(kMenuSettings);
    screen.onNextModal([&](ui::HeadlessWindow& settings) {
        screen.onNextModal([](ui::HeadlessWindow& units) {
            units.chooseItem(CDlgResultUnits::kVertical, 2);  // MIL
            units.click(ui::kIdOk);
        });
        settings.click(CDlgMobileSettings::kResultUnits);
        screen.onNextModal([](ui::HeadlessWindow& angle) {
            angle.click(CDlgMobileChoice::kSecond);
            angle.click(ui::kIdOk);
        });
        settings.click(CDlgMobileSettings::kAngleUnit);
        settings.click(ui::kIdCancel);
    });
    w.click(kMenu);
    EXPECT_EQ(w.text(kVerticalLabel), "Верт. т.д.");
    EXPECT_EQ(w.text(kVertical), "7.62");  // the README's first-run MIL
    EXPECT_EQ(w.text(kTargetAngleLabel), "Угол места цели, cos");
    EXPECT_EQ(storedSettings().verticalResultUnit, HandheldSettingsRecord::kResultMil);
    EXPECT_EQ(storedSettings().angleMode, kAngleModeCosine);
    w.closeBox();
}

// A sync from the desktop while the handheld runs is not undone by its own save.
TEST_F(Handheld, ALibraryChangedOnDiskIsReadAgainNotOverwritten) {
    CtkmobileDlg dlg(data);
    auto& w = ui::openHeadless(dlg);
    DragLibrary synced;
    DragFunc f = synced.at(0);
    f.kind = DragFuncKind::Special;
    std::snprintf(f.name, sizeof f.name, "%s", "Synced");
    f.uniqueNumber = 77;
    synced.add(f);
    ASSERT_TRUE(synced.saveLibrary(data / "bc_cdm3.dat"));
    const std::string sent = *readWholeFile(data / "bc_cdm3.dat");
    w.closeBox();
    dlg.destroy();
    EXPECT_EQ(*readWholeFile(data / "bc_cdm3.dat"), sent);
    EXPECT_EQ(dlg.session().library().findNumberByNameIgnoringCase("Synced"), 77);
}

// The table's range is clamped as the desktop's is (0 to 3000 m), and its 1 m step is kept.
TEST_F(Handheld, TheTableRangeIsClampedAndItsOneMetreStepKept) {
    CtkmobileDlg dlg(data);
    auto& w = ui::openHeadless(dlg);
    screen.onNextModal([&](ui::HeadlessWindow& table) {
        EXPECT_EQ(table.rowCount(CDlgMobileTable::kList), 8);  // 100 to 800 by 100, the first-run table
        EXPECT_EQ(table.columnTitle(CDlgMobileTable::kList, 0), "Дистанция, метры");
        EXPECT_EQ(table.columnTitle(CDlgMobileTable::kList, 2), "MOA, Верт. поправка");
        screen.onNextModal([](ui::HeadlessWindow& settings) {
            settings.type(CDlgMobileTableSettings::kFirst, "2990");
            settings.type(CDlgMobileTableSettings::kLast, "5000");
            settings.click(CDlgMobileTableSettings::kStep1);
            settings.click(CDlgMobileTableSettings::kVerticalCm);
            settings.click(ui::kIdOk);
        });
        table.click(CDlgMobileTable::kSettings);
        EXPECT_EQ(table.rowCount(CDlgMobileTable::kList), 11);  // 2990 ... 3000
        EXPECT_EQ(table.cell(CDlgMobileTable::kList, 10, 0), "3000.0");
        EXPECT_EQ(table.columnTitle(CDlgMobileTable::kList, 2), "см, Верт. поправка");
        table.click(ui::kIdCancel);
    });
    w.click(kTable);
    TableSettingsRecord stored;
    ASSERT_TRUE(loadSettingsFile(data / "table_settings.dat", stored));
    EXPECT_EQ(stored.lastDistance, 3000.0);
    EXPECT_EQ(stored.distanceStep, 1.0);
    w.closeBox();
    dlg.destroy();

    // The next start keeps the 1 m step (the desktop's steps stop at 5 m).
    CtkmobileDlg next(data);
    ui::openHeadless(next);
    EXPECT_EQ(next.session().tableSettings().distanceStep, 1.0);
    EXPECT_TRUE(screen.messages.empty());
}

// "Доп.Инфо" shows the shot's own figures (the desktop's dialog on the phone's layout) and keeps the
// unit chosen there.
TEST_F(Handheld, AdditionalDataShowTheShotAndKeepTheUnitChosen) {
    CtkmobileDlg dlg(data);
    auto& w = ui::openHeadless(dlg);
    BallisticSolver main, zeroing;
    DragFunc g1;
    standardFunction("G1", g1);
    const ShotInputs in;
    loadSolver(in, g1, main);
    const ShotAnswer a = computeShot(main, zeroing, zeroingAtmosphere(in), in.distance, driftOptions(in));
    screen.onNextModal([&](ui::HeadlessWindow& info) {
        EXPECT_EQ(info.title(), "Доп.данные");
        EXPECT_EQ(info.clientSize(), (ui::Size{360, 640}));
        EXPECT_EQ(info.text(CDlgAddInfo::kTargetVelocity), ui::formatNumber(CDlgAddInfo::valuesOf(a, in).targetVelocity));
        EXPECT_EQ(info.text(CDlgAddInfo::kCorrectedMuzzleVelocity), "772.2");  // the README's first-run figure
        info.chooseItem(CDlgAddInfo::kDriftUnit, 2);
        info.click(ui::kIdOk);
    });
    w.click(kAddInfo);
    EXPECT_EQ(dlg.session().settings().addInfoDriftUnit, 2);
}

// The wind clock beside the azimuth: the wind put head-on leaves no horizontal correction.
TEST_F(Handheld, TheWindClockSetsTheAzimuthAndComputesAgain) {
    CtkmobileDlg dlg(data);
    auto& w = ui::openHeadless(dlg);
    screen.onNextModal([](ui::HeadlessWindow& clock) {
        const int id = CDlgMobileWind::kClock;
        EXPECT_EQ(clock.paint(id).ops.back().text, "90°");
        ui::MouseEvent m;
        m.type = ui::MouseEvent::LeftDown;
        m.x = clock.controlRect(id).width / 2;
        m.y = 10;
        m.leftButton = true;
        clock.mouse(id, m);
        m.type = ui::MouseEvent::LeftUp;
        m.leftButton = false;
        clock.mouse(id, m);
        EXPECT_EQ(clock.paint(id).ops.back().text, "0°");
        clock.click(ui::kIdOk);
    });
    w.click(kWindPicker);
    EXPECT_EQ(w.text(kWindAzimuth), "0");
    EXPECT_EQ(w.text(kHorizontal), "0");
    ShotInputs headWind;
    headWind.windAzimuth = 0;
    EXPECT_EQ(w.text(kVertical), ui::formatNumber(engineCorrections(headWind).vertical.moa));
    EXPECT_GT(*ui::parseNumber(w.text(kVertical)), 26.18);  // against the wind the bullet is slower: more to dial

    // The slope picture names the angle as the field does: a cosine in the cosine mode.
    CDlgMobileSlope slope(60.0, true, nullptr);
    auto& s = ui::openHeadless(slope);
    const std::vector<std::string> texts = s.paint(CDlgMobileSlope::kSlope).texts();
    EXPECT_NE(std::find(texts.begin(), texts.end(), "cos = 0.500"), texts.end());
}

// Tap-and-hold on a field: its conversion into the unit shown, and the keypad.
TEST_F(Handheld, TapAndHoldConvertsIntoTheUnitShownAndOpensTheKeypad) {
    ShotInputs in;
    HandheldSettingsRecord s;
    CDlgMobileInputScreen cartridge(CDlgMobileInputScreen::Cartridge, in, s, DragFunc{}, nullptr);
    auto& c = ui::openHeadless(cartridge);
    c.type(CDlgMobileInputScreen::kField1, "2600");
    screen.answerMenu(MobileScreen::kMenuFromFeetPerSecond);
    c.pressAndHold(CDlgMobileInputScreen::kField1);
    ASSERT_EQ(screen.menus.size(), 1u);
    EXPECT_EQ(screen.menus[0][0].text, "ф/сек->м/сек");
    EXPECT_EQ(screen.menus[0][1].text, "Калькулятор");
    EXPECT_EQ(c.text(CDlgMobileInputScreen::kField1), "792.5");  // 2600 ft/s

    // The menu key on the BC: the keypad only, whose keys replace the field's text.
    screen.answerMenu(MobileScreen::kMenuKeypad);
    screen.onNextModal([](ui::HeadlessWindow& keypad) {
        EXPECT_EQ(keypad.text(CDlgMobileKeypad::kLine), "0.447");
        for (int i = 0; i < 3; ++i) keypad.click(CDlgMobileKeypad::kBack);
        keypad.click(CDlgMobileKeypad::kDigit0 + 5);
        keypad.click(CDlgMobileKeypad::kDigit0 + 1);
        keypad.click(ui::kIdOk);
    });
    c.pressKey(CDlgMobileInputScreen::kField2, ui::kKeyApps);
    ASSERT_EQ(screen.menus.size(), 2u);
    EXPECT_EQ(screen.menus[1].size(), 1u);
    EXPECT_EQ(c.text(CDlgMobileInputScreen::kField2), "0.51");

    // 100.5 kPa is 753.8 mm Hg, or 1005 hPa when the box says hPa.
    CDlgMobileInputScreen atmosphere(CDlgMobileInputScreen::Atmosphere, in, s, DragFunc{}, nullptr);
    auto& a = ui::openHeadless(atmosphere);
    a.type(CDlgMobileInputScreen::kField2, "100.5");
    screen.answerMenu(MobileScreen::kMenuFromKpa);
    a.pressAndHold(CDlgMobileInputScreen::kField2);
    EXPECT_EQ(a.text(CDlgMobileInputScreen::kField2), "753.8");
    a.click(CDlgMobileInputScreen::kMmHg);
    a.type(CDlgMobileInputScreen::kField2, "100.5");
    screen.answerMenu(MobileScreen::kMenuFromKpa);
    a.pressAndHold(CDlgMobileInputScreen::kField2);
    EXPECT_EQ(a.text(CDlgMobileInputScreen::kField2), "1005");
    a.click(ui::kIdOk);
    EXPECT_DOUBLE_EQ(atmosphere.inputs().pressure, RoundTo(1005 * 760.0 / 1013.25, 1));
}

// A function sent by the desktop: one whole record in "drag_function.dat".
class DragImport : public Handheld {
protected:
    void SetUp() override {
        Handheld::SetUp();
        fs::create_directories(data);
        session = std::make_unique<HandheldSession>(data);
        session->load();
    }
    void send(const std::string& name, DragFuncKind kind = DragFuncKind::Special) const {
        DragFunc f;
        standardFunction("G7", f);
        f.kind = kind;
        f.setName(utf8ToCp1251(name));
        f.stabilityFactor = 1.8;
        ASSERT_TRUE(DragLibrary::writeSingleRecord(f, data / "drag_function.dat"));
    }
    int count(const std::string& name) const {
        int n = 0;
        for (const DragFunc& f : session->library()) n += cp1251ToUtf8(f.nameText()) == name;
        return n;
    }
    std::unique_ptr<HandheldSession> session;
    int saves = 0;
};

// Sent twice: the second import asks; No adds a " copy", Yes replaces it, and the function in use
// follows its replacement (its new number is what the next start looks for).
TEST_F(DragImport, ASecondImportAsksAndTheCurrentFunctionFollowsItsReplacement) {
    CDlgMobileDragList dlg(*session, [&] { ++saves; }, nullptr);
    auto& w = ui::openHeadless(dlg);
    send("Моя пуля");
    dlg.importDat();
    EXPECT_EQ(screen.messageTexts().back(), "Импортировано из файла drag_function.dat\nФайл после импорта удален");
    EXPECT_FALSE(fs::exists(data / "drag_function.dat"));
    const size_t rows = session->library().size();
    EXPECT_EQ(w.rowCount(CDlgMobileDragList::kList), static_cast<int>(rows));
    EXPECT_EQ(w.cell(CDlgMobileDragList::kList, static_cast<int>(rows) - 1, 0), "специальная");

    // The library is on disk before the file goes: a flat battery now loses nothing.
    DragLibrary onDisk;
    ASSERT_EQ(onDisk.loadLibrary(data / "bc_cdm3.dat"), LibraryRead::Complete);
    EXPECT_EQ(onDisk.size(), rows);

    w.selectRow(CDlgMobileDragList::kList, static_cast<int>(rows) - 1, true);
    w.click(ui::kIdOk);  // "Выбрать"
    EXPECT_EQ(session->inputs().dragFunctionName, "Моя пуля");

    send("МОЯ ПУЛЯ");
    screen.answerMessage(ui::kIdNo);
    CDlgMobileDragList again(*session, [&] { ++saves; }, nullptr);
    ui::openHeadless(again);
    again.importDat();
    const auto texts = screen.messageTexts();
    EXPECT_EQ(texts[texts.size() - 3], "С таким именем уже есть.\nПерезаписать?");
    EXPECT_EQ(texts[texts.size() - 2], "Записываю с прибавкой copy");
    EXPECT_EQ(count("МОЯ ПУЛЯ copy"), 1);

    send("Моя пуля");
    screen.answerMessage(ui::kIdYes);
    again.importDat();
    EXPECT_EQ(count("Моя пуля"), 1);
    const int32_t newNumber = session->library().findNumberByNameIgnoringCase(utf8ToCp1251("Моя пуля"));
    EXPECT_EQ(session->inputs().dragFunctionNumber, newNumber);
    EXPECT_EQ(session->dragFunction().uniqueNumber, newNumber);
    EXPECT_GT(saves, 0);
}

// A standard function is never replaced by an import: G1 stays entry 0, the import comes as a copy.
TEST_F(DragImport, AClashWithAStandardFunctionAddsACopyWithoutAsking) {
    CDlgMobileDragList dlg(*session, [] {}, nullptr);
    ui::openHeadless(dlg);
    send("g1", DragFuncKind::Standard);
    dlg.importDat();
    EXPECT_EQ(screen.messageTexts().front(), "Записываю с прибавкой copy");
    EXPECT_EQ(cp1251ToUtf8(session->library()[0].nameText()), "G1");
    EXPECT_EQ(session->library()[0].kind, DragFuncKind::Standard);
    EXPECT_EQ(session->library()[session->library().size() - 1].kind, DragFuncKind::StandardCopy);
    EXPECT_EQ(count("g1 copy"), 1);
}

// An empty file imports nothing and goes; a cut one (a copy broken off) is refused and kept.
TEST_F(DragImport, AnEmptyFileIsDeletedAndACutOneIsKept) {
    CDlgMobileDragList dlg(*session, [] {}, nullptr);
    ui::openHeadless(dlg);
    const size_t before = session->library().size();
    ASSERT_TRUE(writeFileAtomically(data / "drag_function.dat", ""));
    dlg.importDat();
    EXPECT_FALSE(fs::exists(data / "drag_function.dat"));
    EXPECT_EQ(session->library().size(), before);

    send("Моя пуля");
    const std::string whole = *readWholeFile(data / "drag_function.dat");
    ASSERT_TRUE(writeFileAtomically(data / "drag_function.dat", whole.substr(0, whole.size() / 2)));
    dlg.importDat();
    EXPECT_TRUE(fs::exists(data / "drag_function.dat"));
    EXPECT_EQ(session->library().size(), before);
    EXPECT_NE(screen.messageTexts().back().find("нет целой драг-функции"), std::string::npos);

    fs::remove(data / "drag_function.dat");
    dlg.importDat();
    EXPECT_EQ(screen.messageTexts().back(), "Файл drag_function.dat не найден");
}

// Deleting the function in use makes G1 current at once; G1, G7 and RA4 are never deleted.
TEST_F(DragImport, DeletingTheCurrentFunctionMakesG1Current) {
    send("Моя пуля");
    CDlgMobileDragList dlg(*session, [] {}, nullptr);
    auto& w = ui::openHeadless(dlg);
    dlg.importDat();
    const int last = static_cast<int>(session->library().size()) - 1;
    session->setDragFunction(session->library()[last]);
    w.selectRow(CDlgMobileDragList::kList, last, true);
    screen.answerMessage(ui::kIdYes);
    dlg.remove();
    EXPECT_EQ(count("Моя пуля"), 0);
    EXPECT_EQ(session->inputs().dragFunctionName, "G1");

    w.selectRow(CDlgMobileDragList::kList, 0, true);
    screen.answerMessage(ui::kIdYes);
    dlg.remove();
    EXPECT_EQ(screen.messageTexts().back(), "Стандартные функции G1, G7 и RA4\nудалению не подлежат");
    EXPECT_EQ(cp1251ToUtf8(session->library()[0].nameText()), "G1");
}

// "Сохранить" in the view stores the bullet data into the entry, and the function in use follows.
TEST_F(DragImport, SavingTheViewChangesTheEntryAndTheCurrentFunction) {
    send("Моя пуля");
    CDlgMobileDragList dlg(*session, [] {}, nullptr);
    auto& w = ui::openHeadless(dlg);
    dlg.importDat();
    const int last = static_cast<int>(session->library().size()) - 1;
    session->setDragFunction(session->library()[last]);
    w.selectRow(CDlgMobileDragList::kList, last, true);
    screen.onNextModal([](ui::HeadlessWindow& view) {
        EXPECT_EQ(view.text(CDlgMobileDragView::kStability), "1.8");
        view.type(CDlgMobileDragView::kStability, "2.1");
        view.type(CDlgMobileDragView::kName, "Пуля 2");
        view.click(ui::kIdOk);
    });
    screen.answerMenu(CDlgMobileDragList::kMenuShow);
    w.rightClickRow(CDlgMobileDragList::kList, last);
    EXPECT_EQ(session->dragFunction().stabilityFactor, 2.1);
    EXPECT_EQ(session->inputs().dragFunctionName, "Пуля 2");
    DragLibrary onDisk;
    onDisk.loadLibrary(data / "bc_cdm3.dat");
    EXPECT_EQ(onDisk[onDisk.size() - 1].stabilityFactor, 2.1);
}

}  // namespace

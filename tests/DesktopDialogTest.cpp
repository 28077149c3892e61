#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <random>

#include "CAboutDlg.h"
#include "CDlgAddInfo.h"
#include "CDlgConvertBC.h"
#include "CDlgRifle.h"
#include "CDlgSetting.h"
#include "CtkdeskDlg.h"
#include "DragLibrary.h"
#include "FileIO.h"
#include "HeadlessBackend.h"
#include "NumberText.h"
#include "PressureUnit.h"
#include "RoundTo.h"
#include "SettingsRecord.h"
#include "ShotInputs.h"
#include "StandardDragSet.h"
#include "TextCodec.h"

namespace fs = std::filesystem;
using namespace ctkdesk;

namespace {

// A program folder and a data folder of their own for every test, and the headless screen.
class MainDialog : public ::testing::Test {
protected:
    void SetUp() override {
        base = fs::temp_directory_path() / ("tkdesk-" + std::to_string(std::random_device{}()));
        program = base / "program";
        data = base / "data";
        fs::create_directories(program);
    }
    void TearDown() override {
        std::error_code ec;
        fs::remove_all(base, ec);
    }

    // The eight corrections and the sight-line angle the engine gives for these inputs, as shown.
    static std::vector<std::string> expectedOutputs(const ShotInputs& in) {
        BallisticSolver main, zeroing;
        DragFunc g1;
        standardFunction("G1", g1);
        loadSolver(in, g1, main);
        const ZeroingAtmosphere atmosphere{true, 15.0, 754.0, 55.0};
        const ShotAnswer a = computeShot(main, zeroing, atmosphere, in.distance, DriftOptions{});
        const ShownCorrections s = shownCorrections(a.corrections);
        return {ui::formatNumber(s.vertical.moa),   ui::formatNumber(s.vertical.mil),
                ui::formatNumber(s.vertical.cm),    ui::formatNumber(s.vertical.clicks),
                ui::formatNumber(s.horizontal.moa), ui::formatNumber(s.horizontal.mil),
                ui::formatNumber(s.horizontal.cm),  ui::formatNumber(s.horizontal.clicks),
                ui::formatNumber(RoundTo(main.shownZeroAngle, 3))};
    }

    static std::vector<std::string> outputs(const ui::HeadlessWindow& w) {
        std::vector<std::string> out;
        for (int id : {kVerticalMoa, kVerticalMil, kVerticalCm, kVerticalClicks, kHorizontalMoa, kHorizontalMil,
                       kHorizontalCm, kHorizontalClicks, kSightLineAngle})
            out.push_back(w.text(id));
        return out;
    }

    fs::path base, program, data;
    ui::HeadlessBackend screen;
};

TEST_F(MainDialog, FirstStartShowsTheFirstRunValuesAndComputesWhatTheEngineGives) {
    CtkdeskDlg dlg(program, data);
    auto& w = ui::openHeadless(dlg);
    EXPECT_EQ(w.title(), "Бал.калькулятор Trajekton v.1.37");
    EXPECT_EQ(w.text(kMuzzleVelocity), "792");
    EXPECT_EQ(w.text(kBallisticCoefficient), "0.447");
    EXPECT_EQ(w.text(kDragFunctionName), "G1");
    EXPECT_EQ(w.text(kDistance), "685");
    EXPECT_EQ(w.text(kZeroDistance), "100");
    EXPECT_EQ(w.text(kPressure), "754");
    EXPECT_EQ(w.text(kPressureUnit), "мм.рт.столба");
    EXPECT_EQ(w.text(kHumidity), "55");
    EXPECT_EQ(w.text(kTemperature), "15");
    EXPECT_EQ(w.text(kWindSpeed), "1");
    EXPECT_EQ(w.text(kWindAzimuth), "90");
    EXPECT_EQ(w.text(kClickVertical), "0.25");
    EXPECT_EQ(w.text(kClickHorizontal), "0.25");
    EXPECT_EQ(w.text(kClickVerticalLabel), "Цена верт. клика, MOA");
    EXPECT_EQ(w.text(kTargetAngle), "0");
    EXPECT_EQ(w.text(kTargetAngleLabel), "Угол места цели, гр.");
    EXPECT_EQ(w.text(kZeroingAtmosphere), "Атмосфера пристрелки - та же");
    EXPECT_TRUE(w.isEnabled(kBallisticCoefficient));
    EXPECT_EQ(w.textColour(kVerticalMoa), ui::kBlack);
    EXPECT_TRUE(w.isEnabled(kDragFunctionButton));
    EXPECT_TRUE(w.isEnabled(kWindAzimuthButton));
    EXPECT_TRUE(w.isEnabled(kSlopeButton));

    w.click(kCompute);
    EXPECT_EQ(outputs(w), expectedOutputs(ShotInputs{}));
    EXPECT_EQ(w.text(kVerticalMoa), "26.18");  // the first-run answer
    EXPECT_TRUE(screen.messages.empty());
    dlg.destroy();
}

TEST_F(MainDialog, EnterAndEscapeComputeAndNeverClose) {
    CtkdeskDlg dlg(program, data);
    auto& w = ui::openHeadless(dlg);
    w.type(kDistance, "300");
    w.pressKey(kDistance, ui::kKeyReturn);
    ShotInputs in;
    in.distance = 300;
    EXPECT_EQ(outputs(w), expectedOutputs(in));
    w.type(kDistance, "450,5");  // a decimal comma is read too
    w.pressKey(kDistance, ui::kKeyEscape);
    in.distance = 450.5;
    EXPECT_EQ(outputs(w), expectedOutputs(in));
    EXPECT_FALSE(w.ended());
    EXPECT_EQ(w.text(kDistance), "450.5");  // shown again as the program writes numbers
    dlg.destroy();
}

TEST_F(MainDialog, DistanceZeroAndShortDistances) {
    CtkdeskDlg dlg(program, data);
    auto& w = ui::openHeadless(dlg);
    w.type(kDistance, "0");
    w.click(kCompute);
    for (int id : {kVerticalMoa, kVerticalMil, kVerticalCm, kVerticalClicks, kHorizontalMoa, kHorizontalMil,
                   kHorizontalCm, kHorizontalClicks})
        EXPECT_EQ(w.text(id), "0") << id;

    // Within 30 m the horizontal correction is not given in MOA or clicks, but cm and MIL are.
    w.type(kDistance, "25");
    w.type(kWindSpeed, "10");
    w.click(kCompute);
    EXPECT_EQ(w.text(kHorizontalMoa), "0");
    EXPECT_EQ(w.text(kHorizontalClicks), "0");
    EXPECT_NE(w.text(kHorizontalCm), "0");
    EXPECT_NE(w.text(kHorizontalMil), "0");
    dlg.destroy();
}

// A typo must neither compute with the old value behind the user's back nor wipe what was typed.
TEST_F(MainDialog, AFieldThatDoesNotParseIsNamedKeptAndNothingIsComputed) {
    CtkdeskDlg dlg(program, data);
    auto& w = ui::openHeadless(dlg);
    w.click(kCompute);
    const std::vector<std::string> firstRun = outputs(w);
    w.type(kDistance, "300");
    w.type(kMuzzleVelocity, "8o0");
    w.click(kCompute);
    w.pressKey(kDistance, ui::kKeyReturn);
    w.pressKey(kMuzzleVelocity, ui::kKeyEscape);
    // Once for each compute asked for, each naming the field.
    EXPECT_EQ(screen.messageTexts(), std::vector<std::string>(3, "Начальная скорость, м/с: введите число."));
    EXPECT_EQ(screen.messages.back().icon, ui::Icon::Warning);
    EXPECT_EQ(w.focusedControl(), kMuzzleVelocity);
    EXPECT_TRUE(w.allTextSelected(kMuzzleVelocity));
    EXPECT_EQ(w.text(kMuzzleVelocity), "8o0");
    EXPECT_EQ(w.text(kDistance), "300");
    EXPECT_EQ(outputs(w), firstRun);
    EXPECT_DOUBLE_EQ(dlg.mainSolver().targetDistance, 685.0);
    EXPECT_FALSE(w.ended());

    w.type(kMuzzleVelocity, "792");
    w.pressKey(kMuzzleVelocity, ui::kKeyReturn);
    ShotInputs in;
    in.distance = 300;
    EXPECT_EQ(outputs(w), expectedOutputs(in));
    EXPECT_EQ(screen.messages.size(), 3u);
    dlg.destroy();
}

// A value no real shot has is said in the unit the field shows, and no path computes with it.
TEST_F(MainDialog, ValuesOutsideTheLimitsAreRefusedOnEveryPathThatComputes) {
    CtkdeskDlg dlg(program, data);
    auto& w = ui::openHeadless(dlg);
    w.click(kCompute);
    const std::vector<std::string> firstRun = outputs(w);

    w.type(kHumidity, "120");
    w.click(kCompute);
    w.pressKey(kHumidity, ui::kKeyReturn);
    w.pressKey(kHumidity, ui::kKeyEscape);
    w.click(kTable);
    w.click(kAddInfo);
    w.click(kSettings);
    w.click(kConvertBC);
    screen.onNextModal([](ui::HeadlessWindow& s) {
        s.click(CDlgRifle::kZeroOnSite);
        s.type(CDlgRifle::kTemperature, "-5");
        s.click(ui::kIdOk);
    });
    w.click(kZeroingAtmosphere);
    EXPECT_EQ(screen.modalTitles, std::vector<std::string>{"Винтовка"});  // nothing else opened
    EXPECT_EQ(screen.messageTexts(),
              std::vector<std::string>(8, "Влажность, %: допустимо от 0 до 100 %, получено 120"));
    EXPECT_EQ(w.focusedControl(), kHumidity);
    EXPECT_EQ(w.text(kHumidity), "120");
    EXPECT_EQ(outputs(w), firstRun);
    EXPECT_DOUBLE_EQ(dlg.inputs().humidity, 55.0);
    EXPECT_DOUBLE_EQ(dlg.inputs().zeroTemperature, -5.0);  // the zeroing dialog's own values were good
    w.type(kHumidity, "100");

    // The converted fields: pressure in hPa, clicks in MIL, the angle in degrees and as a cosine.
    auto refusal = [&](int id, const std::string& typed) {
        screen.messages.clear();
        const std::string before = w.text(id);
        w.type(id, typed);
        w.click(kCompute);
        const std::string said = screen.messages.size() == 1 ? screen.messages[0].text : "(no single message)";
        EXPECT_EQ(w.text(id), typed);
        EXPECT_EQ(w.focusedControl(), id);
        EXPECT_EQ(outputs(w), firstRun) << typed;
        w.type(id, before);
        return said;
    };
    w.click(kPressureUnit);
    // 100 and 1100 mm Hg, rounded inwards to whole hPa.
    EXPECT_EQ(refusal(kPressure, "2000"), "Атмосферное давление, hPa: допустимо от 134 до 1466 hPa, получено 2000");
    EXPECT_EQ(refusal(kPressure, "133"), "Атмосферное давление, hPa: допустимо от 134 до 1466 hPa, получено 133");
    w.click(kPressureUnit);
    EXPECT_EQ(refusal(kPressure, "50"), "Атмосферное давление, мм рт. ст.: допустимо от 100 до 1100 мм рт. ст., получено 50");
    EXPECT_EQ(refusal(kTargetAngle, "90"), "Угол места цели, град.: допустимо больше -90 и меньше 90 град., получено 90");
    EXPECT_EQ(refusal(kTargetAngle, "-95"), "Угол места цели, град.: допустимо больше -90 и меньше 90 град., получено -95");
    EXPECT_EQ(refusal(kClickVertical, "0"), "Цена вертикального клика, MOA: допустимо больше 0 и не больше 10 MOA, получено 0");
    screen.onNextModal([](ui::HeadlessWindow& s) {
        s.click(CDlgSetting::kClickMil);
        s.click(CDlgSetting::kAngleCosine);
        s.click(ui::kIdOk);
    });
    w.click(kSettings);
    // 10 MOA is 2.90888233 MIL: the message gives what the field can hold at its four decimals.
    EXPECT_EQ(refusal(kClickHorizontal, "5"), "Цена горизонтального клика, MIL: допустимо больше 0 и не больше 2.9088 MIL, получено 5");
    // A cosine of 0.008 rounds to 90 degrees; 0.009 is the smallest the field takes.
    EXPECT_EQ(refusal(kTargetAngle, "0.008"), "Угол места цели, cos: допустимо от 0.009 до 1, получено 0.008");
    EXPECT_EQ(refusal(kTargetAngle, "-0.5"), "Угол места цели, cos: допустимо от 0.009 до 1, получено -0.5");
    w.type(kTargetAngle, "0.009");
    w.type(kClickHorizontal, "2.9088");
    screen.messages.clear();
    w.click(kCompute);
    EXPECT_TRUE(screen.messages.empty());
    EXPECT_DOUBLE_EQ(dlg.mainSolver().targetAngle, 89.0);
    EXPECT_LE(dlg.mainSolver().clickHorizontal, 10.0);
    dlg.destroy();
}

// A shot the engine cannot answer reads "не определено", said once per compute, never "-nan".
TEST_F(MainDialog, AResultThatIsNoNumberReadsUndefinedAndIsSaidOnce) {
    CtkdeskDlg dlg(program, data);
    auto& w = ui::openHeadless(dlg);
    // 100 m/s does not carry a bullet to 5000 m.
    w.type(kMuzzleVelocity, "100");
    w.type(kDistance, "5000");
    w.click(kCompute);
    EXPECT_EQ(w.text(kVerticalMoa), "не определено");
    for (const std::string& shown : outputs(w)) {
        EXPECT_EQ(shown.find("nan"), std::string::npos) << shown;
        EXPECT_EQ(shown.find("inf"), std::string::npos) << shown;
    }
    EXPECT_EQ(screen.messageTexts(), std::vector<std::string>{kUndefinedResultMessage});
    w.pressKey(kDistance, ui::kKeyReturn);
    EXPECT_EQ(screen.messages.size(), 2u);
    // A shot that can be answered shows numbers again, silently.
    w.type(kMuzzleVelocity, "792");
    w.type(kDistance, "685");
    w.click(kCompute);
    EXPECT_EQ(w.text(kVerticalMoa), "26.18");
    EXPECT_EQ(screen.messages.size(), 2u);
    dlg.destroy();
}

// "Выход" must not lose the values typed after a bad one, nor close on it.
TEST_F(MainDialog, ExitWithAFieldThatCannotBeUsedStaysOpenThenSavesEverything) {
    CtkdeskDlg dlg(program, data);
    auto& w = ui::openHeadless(dlg);
    w.type(kMuzzleVelocity, "8o0");
    w.type(kDistance, "512");
    w.type(kHumidity, "40");
    w.click(kExit);
    w.closeBox();
    EXPECT_FALSE(w.ended());
    EXPECT_EQ(screen.messageTexts(), std::vector<std::string>(2, "Начальная скорость, м/с: введите число."));
    EXPECT_EQ(w.focusedControl(), kMuzzleVelocity);
    EXPECT_EQ(w.text(kMuzzleVelocity), "8o0");
    EXPECT_FALSE(fs::exists(data / "settings.dat"));

    w.type(kMuzzleVelocity, "800");
    w.click(kExit);
    EXPECT_TRUE(w.ended());
    dlg.destroy();
    EXPECT_EQ(screen.messages.size(), 2u);
    SettingsRecord stored;
    ASSERT_TRUE(loadSettingsFile(data / "settings.dat", stored));
    EXPECT_EQ(stored.muzzleVelocity, 800.0);
    EXPECT_EQ(stored.targetDistance, 512.0);
    EXPECT_EQ(stored.humidity, 40.0);
}

// When the window goes away without asking, what can be kept is kept, and nothing is said.
TEST_F(MainDialog, ClosingWithoutAskingKeepsTheUsableFieldsQuietly) {
    CtkdeskDlg dlg(program, data);
    auto& w = ui::openHeadless(dlg);
    w.type(kDistance, "600");
    w.type(kHumidity, "abc");
    w.type(kTemperature, "99");
    w.type(kWindSpeed, "3");
    dlg.destroy();
    EXPECT_TRUE(screen.messages.empty());
    SettingsRecord stored;
    ASSERT_TRUE(loadSettingsFile(data / "settings.dat", stored));
    EXPECT_EQ(stored.targetDistance, 600.0);
    EXPECT_EQ(stored.windSpeed, 3.0);
    EXPECT_EQ(stored.humidity, 55.0);
    EXPECT_EQ(stored.airTemperature, 15.0);
}

TEST_F(MainDialog, PressureUnitSwitchesBackAndForth) {
    CtkdeskDlg dlg(program, data);
    auto& w = ui::openHeadless(dlg);
    w.click(kPressureUnit);
    EXPECT_EQ(w.text(kPressureUnit), "hPa");
    EXPECT_EQ(w.text(kPressure), "1005.3");
    w.click(kCompute);  // the solver gets mm Hg
    EXPECT_DOUBLE_EQ(dlg.mainSolver().airPressure, 754.0);
    EXPECT_EQ(dlg.settings().pressureInHpa, 1);
    w.click(kPressureUnit);
    EXPECT_EQ(w.text(kPressureUnit), "мм.рт.столба");
    EXPECT_EQ(w.text(kPressure), "754");
    dlg.destroy();
}

TEST_F(MainDialog, OptionsCosineModeClicksInMilAndRedCorrections) {
    CtkdeskDlg dlg(program, data);
    auto& w = ui::openHeadless(dlg);
    screen.onNextModal([](ui::HeadlessWindow& s) {
        EXPECT_EQ(s.title(), "Установки");
        // Manual drift only with the vertical drift, its percentage only with both.
        EXPECT_FALSE(s.isEnabled(CDlgSetting::kManualDrift));
        EXPECT_FALSE(s.isEnabled(CDlgSetting::kManualDriftPercent));
        s.click(CDlgSetting::kAddVerticalDrift);
        EXPECT_TRUE(s.isEnabled(CDlgSetting::kManualDrift));
        EXPECT_FALSE(s.isEnabled(CDlgSetting::kManualDriftPercent));
        s.click(CDlgSetting::kManualDrift);
        EXPECT_TRUE(s.isEnabled(CDlgSetting::kManualDriftPercent));
        EXPECT_TRUE(s.isEnabled(CDlgSetting::kManualDriftPercentLabel));
        EXPECT_EQ(s.text(CDlgSetting::kManualDriftPercent), "10");
        s.type(CDlgSetting::kManualDriftPercent, "20");
        s.click(CDlgSetting::kAngleCosine);
        s.click(CDlgSetting::kClickMil);
        s.click(CDlgSetting::kAddDerivation);
        s.click(ui::kIdOk);
    });
    w.click(kSettings);
    EXPECT_EQ(screen.pendingScripts(), 0u);
    EXPECT_EQ(w.text(kTargetAngleLabel), "Угол места цели, cos");
    EXPECT_EQ(w.text(kTargetAngle), "1");
    EXPECT_EQ(w.text(kClickVerticalLabel), "Цена верт. клика, MIL");
    EXPECT_EQ(w.text(kClickVertical), "0.0727");  // 0.25 MOA
    EXPECT_EQ(w.textColour(kVerticalMoa), ui::kRed);
    EXPECT_EQ(w.textColour(kHorizontalCm), ui::kRed);
    EXPECT_EQ(dlg.settings().manualDrift, 1);
    EXPECT_DOUBLE_EQ(dlg.settings().manualDriftPercent, 20.0);

    w.type(kTargetAngle, "0.5");
    w.click(kCompute);
    EXPECT_DOUBLE_EQ(dlg.mainSolver().targetAngle, 60.0);
    EXPECT_EQ(dlg.mainSolver().clickVertical, 0.25);  // shown as 0.0727, not changed: still 0.25 MOA

    // A cosine that no angle has is refused; the solver keeps its angle.
    w.type(kTargetAngle, "1.5");
    w.click(kCompute);
    EXPECT_EQ(screen.messageTexts(), std::vector<std::string>{"Угол места цели, cos: допустимо от 0.009 до 1, получено 1.5"});
    EXPECT_DOUBLE_EQ(dlg.mainSolver().targetAngle, 60.0);
    w.type(kTargetAngle, "0.5");

    // "Отставить!" keeps the options, pressed with the mouse or with Enter while it has the focus.
    screen.onNextModal([](ui::HeadlessWindow& s) {
        EXPECT_TRUE(s.isChecked(CDlgSetting::kAngleCosine));
        s.click(CDlgSetting::kAngleDegrees);
        s.click(ui::kIdCancel);
    });
    w.click(kSettings);
    EXPECT_EQ(dlg.settings().angleMode, kAngleModeCosine);
    screen.onNextModal([](ui::HeadlessWindow& s) {
        s.click(CDlgSetting::kAngleDegrees);
        s.focus(ui::kIdCancel);
        s.pressKey(ui::kIdCancel, ui::kKeyReturn);
        EXPECT_TRUE(s.ended());
        EXPECT_EQ(s.endCode(), ui::kIdCancel);
    });
    w.click(kSettings);
    EXPECT_EQ(dlg.settings().angleMode, kAngleModeCosine);
    screen.onNextModal([&](ui::HeadlessWindow& s) {
        s.click(CDlgSetting::kAngleDegrees);
        // A dialog that names no field says the plain message.
        s.type(CDlgSetting::kManualDriftPercent, "abc");
        s.click(ui::kIdOk);
        EXPECT_EQ(screen.messages.back().text, "Введите число.");
        s.type(CDlgSetting::kManualDriftPercent, "20");
        s.pressKey(CDlgSetting::kManualDriftPercent, ui::kKeyReturn);  // Enter in a field: the default button
        EXPECT_EQ(s.endCode(), ui::kIdOk);
    });
    w.click(kSettings);
    EXPECT_EQ(dlg.settings().angleMode, kAngleModeDegrees);
    dlg.destroy();
}

TEST_F(MainDialog, ZeroingAtmosphereDialog) {
    CtkdeskDlg dlg(program, data);
    auto& w = ui::openHeadless(dlg);
    w.click(kPressureUnit);  // hPa in the main dialog
    w.click(kCompute);
    screen.onNextModal([](ui::HeadlessWindow& s) {
        EXPECT_EQ(s.title(), "Винтовка");
        EXPECT_TRUE(s.isChecked(CDlgRifle::kZeroOnSite));
        EXPECT_FALSE(s.isEnabled(CDlgRifle::kPressure));
        EXPECT_EQ(s.text(CDlgRifle::kPressureUnit), "hPa");
        EXPECT_EQ(s.text(CDlgRifle::kPressure), "1005.3");
        s.click(CDlgRifle::kZeroOnSite);
        EXPECT_TRUE(s.isEnabled(CDlgRifle::kPressure));
        EXPECT_TRUE(s.isEnabled(CDlgRifle::kTemperature));
        s.type(CDlgRifle::kTemperature, "-10");
        // No real zeroing had these: "Так точно!" says so, in the unit shown, and stays.
        s.type(CDlgRifle::kHumidity, "120");
        s.click(ui::kIdOk);
        s.type(CDlgRifle::kHumidity, "55");
        s.type(CDlgRifle::kPressure, "2000");
        s.click(ui::kIdOk);
        EXPECT_FALSE(s.ended());
        EXPECT_EQ(s.focusedControl(), CDlgRifle::kPressure);
        s.type(CDlgRifle::kTemperature, "холодно");
        s.click(ui::kIdOk);
        s.type(CDlgRifle::kTemperature, "-10");
        s.type(CDlgRifle::kPressure, "1000");
        s.click(ui::kIdOk);
    });
    w.click(kZeroingAtmosphere);
    EXPECT_EQ(screen.messageTexts(), (std::vector<std::string>{
                                         "Влажность при пристрелке, %: допустимо от 0 до 100 %, получено 120",
                                         "Давление при пристрелке, hPa: допустимо от 134 до 1466 hPa, получено 2000",
                                         "Температура при пристрелке, °C: введите число."}));
    EXPECT_FALSE(dlg.inputs().sameAtmosphere);
    EXPECT_DOUBLE_EQ(dlg.inputs().zeroTemperature, -10.0);
    EXPECT_DOUBLE_EQ(dlg.inputs().zeroPressure, RoundTo(1000 * 760.0 / 1013.25, 1));
    EXPECT_EQ(w.text(kZeroingAtmosphere), "Атмосфера пристрелки");

    // The compute that followed zeroed in the stored atmosphere: a cold zero shoots differently.
    BallisticSolver main, zeroing;
    DragFunc g1;
    standardFunction("G1", g1);
    loadSolver(ShotInputs{}, g1, main);
    const ShotAnswer a = computeShot(main, zeroing, ZeroingAtmosphere{false, -10.0, RoundTo(1000 * 760.0 / 1013.25, 1), 55.0}, 685.0, DriftOptions{});
    EXPECT_EQ(w.text(kVerticalMoa), ui::formatNumber(shownCorrections(a.corrections).vertical.moa));

    // Zeroed on site the fields are not used: a bad one there is left out quietly, the old value stays.
    screen.messages.clear();
    screen.onNextModal([](ui::HeadlessWindow& s) {
        s.type(CDlgRifle::kHumidity, "120");
        s.type(CDlgRifle::kTemperature, "-20");
        s.click(CDlgRifle::kZeroOnSite);
        s.click(ui::kIdOk);
        EXPECT_TRUE(s.ended());
    });
    w.click(kZeroingAtmosphere);
    EXPECT_TRUE(screen.messages.empty());
    EXPECT_TRUE(dlg.inputs().sameAtmosphere);
    EXPECT_DOUBLE_EQ(dlg.inputs().zeroHumidity, 55.0);
    EXPECT_DOUBLE_EQ(dlg.inputs().zeroTemperature, -20.0);
    dlg.destroy();
}

TEST_F(MainDialog, FieldsShownInAnotherUnitKeepTheirInputsUntilChanged) {
    {
        CtkdeskDlg dlg(program, data);
        auto& w = ui::openHeadless(dlg);
        screen.onNextModal([](ui::HeadlessWindow& s) {
            s.click(CDlgSetting::kClickMil);
            s.click(ui::kIdOk);
        });
        w.click(kSettings);
        w.click(kPressureUnit);
        EXPECT_EQ(w.text(kClickVertical), "0.0727");
        w.click(kCompute);
        EXPECT_EQ(dlg.inputs().clickVertical, 0.25);  // not 0.0727 / 0.290888233
        EXPECT_EQ(dlg.inputs().clickHorizontal, 0.25);
        w.type(kClickHorizontal, "0.1");
        w.click(kCompute);
        EXPECT_EQ(dlg.inputs().clickHorizontal, 0.1 / kMilPerMoaClick);
        EXPECT_EQ(dlg.inputs().clickVertical, 0.25);
        w.click(kExit);
        dlg.destroy();
    }
    CtkdeskDlg again(program, data);
    auto& w = ui::openHeadless(again);
    EXPECT_EQ(w.text(kPressure), "1005");  // 754 mm Hg shown as a whole number of hPa
    w.click(kCompute);
    EXPECT_EQ(again.inputs().pressure, 754.0);
    EXPECT_EQ(again.mainSolver().airPressure, 754.0);
    w.type(kPressure, "1000");
    w.click(kCompute);
    EXPECT_EQ(again.inputs().pressure, mmHgFromHpa(1000.0));
    again.destroy();
}

TEST_F(MainDialog, ClosingSavesEverythingAndTheNextStartShowsIt) {
    {
        CtkdeskDlg dlg(program, data);
        auto& w = ui::openHeadless(dlg);
        screen.onNextModal([](ui::HeadlessWindow& s) {
            s.click(CDlgSetting::kClickMil);
            s.click(ui::kIdOk);
        });
        w.click(kSettings);
        w.type(kClickVertical, "0.1");
        w.type(kDistance, "512");
        w.click(kPressureUnit);
        w.click(kExit);
        EXPECT_TRUE(w.ended());
        EXPECT_EQ(w.endCode(), ui::kIdOk);
        dlg.destroy();
    }
    EXPECT_EQ(fs::file_size(data / "settings.dat"), 304u);
    EXPECT_EQ(fs::file_size(data / "table_settings.dat"), 72u);
    EXPECT_EQ(fs::file_size(program / "dir_setting.dat"), 304u);
    EXPECT_TRUE(fs::exists(data / "bc_cdm3.dat"));
    SettingsRecord stored;
    ASSERT_TRUE(loadSettingsFile(data / "settings.dat", stored));
    EXPECT_EQ(stored.clickVertical, 0.1 / kMilPerMoaClick);
    EXPECT_EQ(stored.targetDistance, 512.0);
    EXPECT_EQ(stored.pressureInHpa, 1);
    EXPECT_EQ(stored.airPressure, 754.0);

    CtkdeskDlg again(program, data);
    auto& w = ui::openHeadless(again);
    EXPECT_EQ(w.text(kDistance), "512");
    EXPECT_EQ(w.text(kClickVertical), "0.1");
    EXPECT_EQ(w.text(kPressure), "1005");  // hPa at start: rounded to a whole number
    EXPECT_EQ(w.text(kPressureUnit), "hPa");
    // Closing with the close box saves too.
    w.type(kDistance, "600");
    w.closeBox();
    EXPECT_TRUE(w.ended());
    again.destroy();
    ASSERT_TRUE(loadSettingsFile(data / "settings.dat", stored));
    EXPECT_EQ(stored.targetDistance, 600.0);
}

TEST_F(MainDialog, SpecialFunctionFromTheLibraryDisablesTheBallisticCoefficient) {
    fs::create_directories(data);
    DragLibrary lib;
    DragFunc f = sampleFunction();
    f.kind = DragFuncKind::Special;
    f.setName(utf8ToCp1251("Пуля 7.62"));
    f.uniqueNumber = 14;
    f.points.clear();  // a function without points: the engine complains, once per compute
    lib.add(f);
    ASSERT_TRUE(lib.saveLibrary(data / "bc_cdm3.dat"));
    SettingsRecord s;
    s.setDragFuncName(f.name);
    s.dragFuncNumber = 14;
    s.ballisticCoefficient = 0;  // unused with the function's own drag, and not the user's to fix
    ASSERT_TRUE(saveSettingsFile(data / "settings.dat", s));

    CtkdeskDlg dlg(program, data);
    auto& w = ui::openHeadless(dlg);
    EXPECT_EQ(w.text(kDragFunctionName), "Пуля 7.62");
    EXPECT_FALSE(w.isEnabled(kBallisticCoefficient));
    // The stored BC of 0 is replaced by the first-run one, and said so once at start.
    ASSERT_EQ(screen.messages.size(), 1u);
    EXPECT_NE(screen.messages[0].text.find("Баллистический коэффициент"), std::string::npos);
    w.click(kCompute);
    ASSERT_EQ(screen.messages.size(), 2u);
    EXPECT_EQ(screen.messages[1].text, "Записей в массиве драг-функции 0");
    w.click(kCompute);
    EXPECT_EQ(screen.messages.size(), 3u);
    dlg.destroy();
}

TEST_F(MainDialog, BallisticCoefficientConversionSwitchesTheDragFunction) {
    CtkdeskDlg dlg(program, data);
    auto& w = ui::openHeadless(dlg);
    w.type(kBallisticCoefficient, "0.5");
    std::string converted;
    screen.onNextModal([&](ui::HeadlessWindow& c) {
        EXPECT_EQ(c.text(CDlgConvertBC::kBallisticCoefficient), "0.5");  // the field as typed
        EXPECT_EQ(c.text(CDlgConvertBC::kVelocity), "792");
        EXPECT_EQ(c.text(CDlgConvertBC::kTargetFunction), "G7");
        c.click(CDlgConvertBC::kConvert);
        converted = c.text(CDlgConvertBC::kResult);
        c.click(ui::kIdOk);
    });
    w.click(kConvertBC);
    EXPECT_EQ(w.text(kBallisticCoefficient), converted);
    EXPECT_LT(std::stod(converted), 0.5);  // a G7 BC is smaller than the G1 one
    EXPECT_EQ(w.text(kDragFunctionName), "G7");
    EXPECT_EQ(w.text(kVerticalMoa), "0");  // no compute ran
    w.click(kCompute);
    EXPECT_EQ(dlg.mainSolver().ballisticCoefficient, std::stod(converted));
    dlg.destroy();
}

TEST_F(MainDialog, AdditionalDataAfterACompute) {
    CtkdeskDlg dlg(program, data);
    auto& w = ui::openHeadless(dlg);
    screen.onNextModal([&](ui::HeadlessWindow& a) {
        EXPECT_EQ(a.title(), "Доп.данные");
        EXPECT_EQ(a.text(CDlgAddInfo::kCorrectedMuzzleVelocity), "772.2");
        EXPECT_EQ(a.text(CDlgAddInfo::kTimeOfFlight),
                  ui::formatNumber(RoundTo(dlg.mainSolver().targetRow.timeOfFlight, 2)));
        // One click of 0.25 MOA at 685 m.
        EXPECT_EQ(a.text(CDlgAddInfo::kClickValue), ui::formatNumber(RoundTo(0.25 * 685 * 2.9088821687 / 100, 2)));
        a.chooseItem(CDlgAddInfo::kLeadUnit, 1);
        a.click(ui::kIdOk);
    });
    w.click(kAddInfo);
    EXPECT_EQ(w.text(kVerticalMoa), "26.18");  // the compute ran first
    EXPECT_EQ(dlg.settings().addInfoLeadUnit, 1);
    EXPECT_EQ(dlg.settings().addInfoDriftUnit, 0);
    dlg.destroy();
}

TEST_F(MainDialog, AboutBoxFromTheButtonAndFromF1) {
    CtkdeskDlg dlg(program, data);
    auto& w = ui::openHeadless(dlg);
    screen.onNextModal([](ui::HeadlessWindow& a) {
        EXPECT_EQ(a.text(CAboutDlg::kVersion), "Бал.калькулятор Trajekton v.1.37");
        EXPECT_EQ(a.tooltip(CAboutDlg::kLink), "Открыть сайт");
        EXPECT_EQ(a.cursor(CAboutDlg::kLink), ui::Cursor::Hand);
        a.mouse(CAboutDlg::kLink, ui::MouseEvent{ui::MouseEvent::LeftDown, 5, 5});
        a.mouse(CAboutDlg::kLink, ui::MouseEvent{ui::MouseEvent::LeftUp, 5, 5});
        a.click(ui::kIdOk);
    });
    w.click(kAbout);
    EXPECT_EQ(screen.openedUrls, std::vector<std::string>{CAboutDlg::kWebPage});
    w.pressKey(kDistance, ui::kKeyF1);
    // Named after the program the user knows, not after its executable.
    EXPECT_EQ(screen.modalTitles, (std::vector<std::string>{"О программе Trajekton", "О программе Trajekton"}));
    dlg.destroy();
}

// A data folder that cannot be made is told at start and again when the save at the end fails;
// "Повтор" tries again, "Отмена" closes without saving, and the save as the window goes does not ask
// a second time.
TEST_F(MainDialog, ADataFolderThatCannotBeMadeIsToldAtStartAndWhenTheSaveFails) {
    ASSERT_TRUE(writeFileAtomically(base / "file", "not a folder"));
    const fs::path folder = base / "file" / "Trajekton";
    CtkdeskDlg dlg(program, folder);
    auto& w = ui::openHeadless(dlg);
    ASSERT_EQ(screen.messages.size(), 1u);
    EXPECT_EQ(screen.messages[0].text, "Папка данных «" + folder.string() + "» недоступна: «" + (base / "file").string() +
                                           "» - файл, а не папка.\nНастройки и библиотека драг-функций не будут "
                                           "сохранены, пока это так.");
    EXPECT_EQ(screen.messages[0].icon, ui::Icon::Warning);
    EXPECT_EQ(w.text(kDistance), "685");
    w.click(kCompute);
    EXPECT_EQ(w.text(kVerticalMoa), "26.18");
    EXPECT_EQ(screen.messages.size(), 1u);

    screen.answerMessage(ui::kIdRetry);
    screen.answerMessage(ui::kIdCancel);
    w.click(kExit);
    EXPECT_TRUE(w.ended());
    dlg.destroy();
    ASSERT_EQ(screen.messages.size(), 3u);  // the failure, the same after "Повтор"; none at the window's end
    const ui::ShownMessage& failed = screen.messages[1];
    EXPECT_EQ(failed.buttons, ui::Buttons::RetryCancel);
    EXPECT_EQ(failed.text.find("Не удалось сохранить:\n" + (folder / "bc_cdm3.dat").string() + "\n" +
                               (folder / "table_settings.dat").string() + "\n" + (folder / "settings.dat").string() +
                               "\n\nПапка данных «" + folder.string() + "» недоступна: «"),
              0u)
        << failed.text;
    EXPECT_NE(failed.text.find("«Отмена» - закрыть программу без сохранения"), std::string::npos);
    EXPECT_EQ(screen.messages[2].text, failed.text);
    EXPECT_EQ(readWholeFile(base / "file"), std::optional<std::string>("not a folder"));
}

// Put right while the program runs (the file moved away): the save at the end makes the folder.
TEST_F(MainDialog, ADataFolderPutRightWhileRunningTakesTheSave) {
    ASSERT_TRUE(writeFileAtomically(base / "file", "not a folder"));
    CtkdeskDlg dlg(program, base / "file" / "Trajekton");
    auto& w = ui::openHeadless(dlg);
    ASSERT_TRUE(fs::remove(base / "file"));
    w.click(kExit);
    dlg.destroy();
    EXPECT_EQ(screen.messages.size(), 1u);  // only the one at start
    EXPECT_EQ(fs::file_size(base / "file" / "Trajekton" / "settings.dat"), 304u);
}

// What the start could not take in whole is kept as "<name>.bak" before the first save writes over it,
// unusable values start from their first-run values, and the user is told all of it once.
TEST_F(MainDialog, FilesNotTakenAreKeptAsBakAndToldOnce) {
    fs::create_directories(data);
    SettingsRecord junk;
    junk.targetDistance = 8.8e264;
    junk.windSpeed = std::nan("");
    junk.muzzleVelocity = 850;  // a good value stays
    ASSERT_TRUE(saveSettingsFile(data / "settings.dat", junk));
    const std::string settingsBytes = *readWholeFile(data / "settings.dat");
    const std::string shortTable(50, 'x');
    ASSERT_TRUE(writeFileAtomically(data / "table_settings.dat", shortTable));
    DragLibrary lib;
    DragFunc f = sampleFunction();
    f.uniqueNumber = 11;
    lib.add(f);
    const std::string cut = lib.libraryBytes().substr(0, 700);  // the record's points are cut off
    ASSERT_TRUE(writeFileAtomically(data / "bc_cdm3.dat", cut));

    CtkdeskDlg dlg(program, data);
    auto& w = ui::openHeadless(dlg);
    EXPECT_EQ(w.text(kDistance), "685");
    EXPECT_EQ(w.text(kWindSpeed), "1");
    EXPECT_EQ(w.text(kMuzzleVelocity), "850");
    EXPECT_EQ(screen.messageTexts(),
              std::vector<std::string>{"Не всё сохранённое в папке «" + data.string() +
                                       "» удалось взять. Прежнее содержимое этих файлов сохраняется рядом, в файлах "
                                       ".bak, до того как программа их перезапишет:\n"
                                       "settings.dat → settings.dat.bak (недопустимые значения)\n"
                                       "table_settings.dat → table_settings.dat.bak (длина 50 байт вместо 72)\n"
                                       "bc_cdm3.dat → bc_cdm3.dat.bak (прочитан не целиком)\n\n"
                                       "Недопустимые значения в сохранённых настройках заменены значениями первого "
                                       "запуска:\nДистанция до цели\nСкорость ветра"});
    w.click(kCompute);
    w.click(kExit);
    dlg.destroy();
    EXPECT_EQ(screen.messages.size(), 1u);
    EXPECT_EQ(readWholeFile(data / "settings.dat.bak"), settingsBytes);
    EXPECT_EQ(readWholeFile(data / "table_settings.dat.bak"), shortTable);
    EXPECT_EQ(readWholeFile(data / "bc_cdm3.dat.bak"), cut);
    SettingsRecord stored;
    ASSERT_TRUE(loadSettingsFile(data / "settings.dat", stored));
    EXPECT_EQ(stored.targetDistance, 685.0);
    EXPECT_EQ(stored.muzzleVelocity, 850.0);

    // All of it whole now: the next start has nothing to tell and leaves the copies alone.
    ASSERT_TRUE(writeFileAtomically(data / "settings.dat.bak", "older"));
    CtkdeskDlg again(program, data);
    ui::openHeadless(again).click(kExit);
    again.destroy();
    EXPECT_EQ(screen.messages.size(), 1u);
    EXPECT_EQ(readWholeFile(data / "settings.dat.bak"), std::optional<std::string>("older"));
}

TEST_F(MainDialog, DataFilesInTheProgramFolderWhenAskedAndWritable) {
    FolderSettingRecord folder;
    folder.keepInProgramFolder = 1;
    ASSERT_TRUE(saveSettingsFile(program / "dir_setting.dat", folder));
    CtkdeskDlg dlg(program, data);
    auto& w = ui::openHeadless(dlg);
    EXPECT_EQ(dlg.dataFolder().settings(), program / "settings.dat");
    EXPECT_EQ(dlg.dataFolder().library(), program / "bc_cdm3.dat");
    w.click(kExit);
    dlg.destroy();
    EXPECT_TRUE(fs::exists(program / "settings.dat"));
    EXPECT_FALSE(fs::exists(data / "settings.dat"));
}

}  // namespace

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "BallisticSolver.h"
#include "CDlgAddInfo.h"
#include "CDlgConvertBC.h"
#include "CDlgSDCalc.h"
#include "CDlgSFCalc.h"
#include "Calculators.h"
#include "DragLibrary.h"
#include "HeadlessBackend.h"
#include "NumberText.h"
#include "ResultText.h"
#include "RoundTo.h"
#include "Shot.h"
#include "StandardDragSet.h"
#include "TextCodec.h"

using ui::HeadlessWindow;

namespace {

std::string num(double v) { return ui::formatNumber(v); }

// The drag function the editor hands over: a bullet with a Russian name (CP1251 in the record).
DragFunc editedFunction() {
    DragFunc f;
    f.setName(utf8ToCp1251("Пуля СС-109"));
    f.kind = DragFuncKind::Special;
    f.bulletWeight = 62;
    f.twist = 7;
    f.bulletDiameter = 0.224;
    f.bulletLength = 0.906;
    return f;
}

class CalculatorDialogs : public ::testing::Test {
protected:
    ui::HeadlessBackend screen;
};

}  // namespace

TEST_F(CalculatorDialogs, StabilityOpensWithTheBulletAndAirAndHandsBackTheKnownFactor) {
    BallisticSolver solver;
    solver.muzzleVelocity = 905;
    solver.airTemperature = -12.5;
    solver.airPressure = 741;
    CDlgSFCalc dlg(editedFunction(), solver);
    HeadlessWindow& w = ui::openHeadless(dlg);
    EXPECT_EQ(w.title(), "Фактор гиростабильности");
    std::vector<std::string> shown;
    for (int id : {CDlgSFCalc::kBulletName, CDlgSFCalc::kWeight, CDlgSFCalc::kTwist, CDlgSFCalc::kDiameter,
                   CDlgSFCalc::kLength, CDlgSFCalc::kVelocity, CDlgSFCalc::kTemperature, CDlgSFCalc::kPressure,
                   CDlgSFCalc::kResult})
        shown.push_back(w.text(id));
    EXPECT_EQ(shown,
              (std::vector<std::string>{"Пуля СС-109", "62", "7", "0.224", "0.906", "905", "-12.5", "741", "0"}));

    w.type(CDlgSFCalc::kWeight, "69");
    w.type(CDlgSFCalc::kTwist, "10");
    w.type(CDlgSFCalc::kLength, "0,9");
    w.type(CDlgSFCalc::kVelocity, "960");
    w.type(CDlgSFCalc::kTemperature, "15");
    w.type(CDlgSFCalc::kPressure, "750");
    w.pressKey(CDlgSFCalc::kPressure, ui::kKeyReturn);  // Enter computes, it does not close
    EXPECT_EQ(w.text(CDlgSFCalc::kResult), "1.4139");
    EXPECT_FALSE(w.ended());

    // "Вставить значение" computes again from what stands in the fields, then closes.
    w.type(CDlgSFCalc::kVelocity, "2800");
    w.click(ui::kIdOk);
    ASSERT_TRUE(w.ended());
    EXPECT_EQ(w.endCode(), ui::kIdOk);
    EXPECT_GT(dlg.stabilityFactor(), 1.4139 * 1.3);
    EXPECT_TRUE(screen.messages.empty());
    dlg.destroy();
}

TEST_F(CalculatorDialogs, StabilityWithoutANumberIsShownAsSuchAndNeverHandedBack) {
    BallisticSolver solver;
    CDlgSFCalc dlg(editedFunction(), solver);
    HeadlessWindow& w = ui::openHeadless(dlg);
    w.type(CDlgSFCalc::kDiameter, "0");
    w.click(CDlgSFCalc::kCompute);
    EXPECT_EQ(w.text(CDlgSFCalc::kResult), kUndefinedText);
    EXPECT_TRUE(screen.messages.empty());
    w.click(ui::kIdOk);
    EXPECT_FALSE(w.ended());
    EXPECT_EQ(screen.messageTexts(), std::vector<std::string>{kUndefinedMessage});

    // A field that is no number stops with the framework's message, on that field.
    w.type(CDlgSFCalc::kDiameter, "0.224");
    w.type(CDlgSFCalc::kTwist, "1:10");
    w.click(ui::kIdOk);
    EXPECT_FALSE(w.ended());
    EXPECT_EQ(screen.messages.back().text, ui::kEnterNumberMessage);
    EXPECT_EQ(w.focusedControl(), CDlgSFCalc::kTwist);
    w.click(ui::kIdCancel);
    EXPECT_EQ(w.endCode(), ui::kIdCancel);
    dlg.destroy();
}

TEST_F(CalculatorDialogs, SectionalDensityComputedOrTypedGoesBackButNeverAnUndefinedOne) {
    DragFunc f = editedFunction();
    f.bulletWeight = 168;
    f.bulletDiameter = 0.308;
    CDlgSDCalc dlg(f);
    HeadlessWindow& w = ui::openHeadless(dlg);
    EXPECT_EQ(w.title(), "Поперечная нагрузка");
    EXPECT_EQ(w.text(CDlgSDCalc::kBulletName), "Пуля СС-109");
    EXPECT_EQ(w.text(CDlgSDCalc::kResult), "0");
    w.click(CDlgSDCalc::kCompute);
    EXPECT_EQ(w.text(CDlgSDCalc::kResult), "0.253");

    w.type(CDlgSDCalc::kDiameter, "0");
    w.click(CDlgSDCalc::kCompute);
    EXPECT_EQ(w.text(CDlgSDCalc::kResult), kUndefinedText);
    w.click(ui::kIdOk);
    w.type(CDlgSDCalc::kResult, "inf");
    w.click(ui::kIdOk);
    w.type(CDlgSDCalc::kResult, "много");
    w.click(ui::kIdOk);
    EXPECT_FALSE(w.ended());
    EXPECT_EQ(screen.messageTexts(),
              (std::vector<std::string>{kUndefinedMessage, kUndefinedMessage, ui::kEnterNumberMessage}));
    EXPECT_EQ(w.focusedControl(), CDlgSDCalc::kResult);

    // The value standing in the field is taken, whatever the inputs would give.
    w.type(CDlgSDCalc::kResult, "0,262");
    w.click(ui::kIdOk);
    ASSERT_TRUE(w.ended());
    EXPECT_EQ(w.endCode(), ui::kIdOk);
    EXPECT_DOUBLE_EQ(dlg.sectionalDensity(), 0.262);
    dlg.destroy();
}

namespace {
// The standard set, a copy of a standard function and a bullet's own function.
DragLibrary libraryWithOwnFunctions() {
    DragLibrary library;
    DragFunc copy;
    standardFunction("G7", copy);
    copy.kind = DragFuncKind::StandardCopy;
    copy.setName("G7 copy");
    copy.uniqueNumber = library.nextUniqueNumber();
    library.add(copy);
    DragFunc own = editedFunction();
    own.uniqueNumber = library.nextUniqueNumber();
    library.add(own);
    return library;
}

double converted(double bc, double velocity, const char* from, const char* to) {
    DragFunc source, target;
    EXPECT_TRUE(standardFunction(from, source) && standardFunction(to, target));
    return convertBallisticCoefficient(bc, velocity, source, target);
}

int itemIndex(const HeadlessWindow& w, int id, const std::string& text) {
    for (int i = 0; i < w.itemCount(id); ++i)
        if (w.itemText(id, i) == text) return i;
    ADD_FAILURE() << text;
    return -1;
}
}  // namespace

TEST_F(CalculatorDialogs, ConversionListsTheStandardFunctionsAndConvertsG1ToG7) {
    const DragLibrary library = libraryWithOwnFunctions();
    CDlgConvertBC dlg(library, 0.447, 792);
    HeadlessWindow& w = ui::openHeadless(dlg);
    EXPECT_EQ(w.title(), "Конвертация баллистического коэффициента");
    EXPECT_EQ(w.text(CDlgConvertBC::kBallisticCoefficient), "0.447");
    EXPECT_EQ(w.text(CDlgConvertBC::kVelocity), "792");
    const std::vector<std::string> standard{"G1", "G7", "G2", "G5", "G6", "G8", "GI", "GL", "GS", "RA4"};
    for (int id : {CDlgConvertBC::kSourceFunction, CDlgConvertBC::kTargetFunction}) {
        std::vector<std::string> items;
        for (int i = 0; i < w.itemCount(id); ++i) items.push_back(w.itemText(id, i));
        EXPECT_EQ(items, standard);
    }
    EXPECT_EQ(w.text(CDlgConvertBC::kSourceFunction), "G1");
    EXPECT_EQ(w.text(CDlgConvertBC::kTargetFunction), "G7");

    w.click(CDlgConvertBC::kConvert);
    const double expected = converted(0.447, 792, "G1", "G7");
    EXPECT_EQ(w.text(CDlgConvertBC::kResult), num(expected));
    EXPECT_LT(expected, 0.3);
    w.click(ui::kIdOk);
    ASSERT_TRUE(w.ended());
    EXPECT_EQ(w.endCode(), ui::kIdOk);
    EXPECT_DOUBLE_EQ(dlg.ballisticCoefficient(), expected);
    EXPECT_EQ(dlg.targetFunctionName(), "G7");
    dlg.destroy();
}

TEST_F(CalculatorDialogs, ConversionToTheSameFunctionOnlyRoundsAndWithoutConvertingTheBCIsAsTyped) {
    const DragLibrary library = libraryWithOwnFunctions();
    CDlgConvertBC same(library, 0.447, 792);
    HeadlessWindow& w = ui::openHeadless(same);
    w.type(CDlgConvertBC::kBallisticCoefficient, "0.312345");
    w.type(CDlgConvertBC::kVelocity, "300");
    const int g5 = itemIndex(w, CDlgConvertBC::kTargetFunction, "G5");
    w.chooseItem(CDlgConvertBC::kSourceFunction, g5);
    w.chooseItem(CDlgConvertBC::kTargetFunction, g5);
    w.pressKey(CDlgConvertBC::kVelocity, ui::kKeyReturn);  // Enter converts
    EXPECT_EQ(w.text(CDlgConvertBC::kResult), "0.3123");
    w.click(ui::kIdOk);
    EXPECT_DOUBLE_EQ(same.ballisticCoefficient(), 0.3123);
    EXPECT_EQ(same.targetFunctionName(), "G5");
    same.destroy();

    CDlgConvertBC typed(library, 0.447, 792);
    HeadlessWindow& t = ui::openHeadless(typed);
    t.type(CDlgConvertBC::kBallisticCoefficient, "0.2345678");
    t.chooseItem(CDlgConvertBC::kTargetFunction, itemIndex(t, CDlgConvertBC::kTargetFunction, "RA4"));
    t.click(ui::kIdOk);
    ASSERT_TRUE(t.ended());
    EXPECT_DOUBLE_EQ(typed.ballisticCoefficient(), 0.2345678);
    EXPECT_EQ(typed.targetFunctionName(), "RA4");
    typed.destroy();
}

TEST_F(CalculatorDialogs, ConvertedBCGoesBackForTheFunctionChosenLastAndNeverUndefined) {
    const DragLibrary library = libraryWithOwnFunctions();
    CDlgConvertBC dlg(library, 0.447, 792);
    HeadlessWindow& w = ui::openHeadless(dlg);
    w.click(CDlgConvertBC::kConvert);
    // Another target after converting: the BC handed back belongs to it, not to G7.
    w.chooseItem(CDlgConvertBC::kTargetFunction, itemIndex(w, CDlgConvertBC::kTargetFunction, "G2"));
    w.type(CDlgConvertBC::kBallisticCoefficient, "inf");
    w.click(ui::kIdOk);
    EXPECT_FALSE(w.ended());
    EXPECT_EQ(w.text(CDlgConvertBC::kResult), kUndefinedText);
    EXPECT_EQ(screen.messageTexts(), std::vector<std::string>{kUndefinedMessage});
    w.type(CDlgConvertBC::kBallisticCoefficient, "0.447");
    w.click(ui::kIdOk);
    ASSERT_TRUE(w.ended());
    EXPECT_DOUBLE_EQ(dlg.ballisticCoefficient(), converted(0.447, 792, "G1", "G2"));
    EXPECT_NE(dlg.ballisticCoefficient(), converted(0.447, 792, "G1", "G7"));
    EXPECT_EQ(dlg.targetFunctionName(), "G2");
    dlg.destroy();
}

namespace {
// The main calculator after "Вычислить" at a distance, and what it hands to the dialog.
struct Calculated {
    BallisticSolver main;
    CDlgAddInfo::Values values;
    AddInfoTarget target;
};

Calculated calculatedAt(double distance, double stabilityFactor, double windAzimuth = 90) {
    Calculated c;
    BallisticSolver& m = c.main;
    m.dragFunction = solverDefaultG1();
    m.dragFunction.stabilityFactor = stabilityFactor;
    m.windSpeed = 4;
    m.windAzimuth = windAzimuth;
    m.clickHorizontal = 0.5;
    BallisticSolver zeroing;
    computeShot(m, zeroing, ZeroingAtmosphere{}, distance, DriftOptions{});
    const ResultsElement& r = m.targetRow;
    c.values = {RoundTo(m.correctedMuzzleVelocity, 1), RoundTo(r.velocity, 2),
                RoundTo(r.velocity / m.speedOfSound, 2), RoundTo(m.speedOfSound, 2),
                RoundTo(r.timeOfFlight, 2),  RoundTo(m.clickVertical * distance * 2.9088821687 / 100, 2)};
    c.target = AddInfoTarget{distance, c.values.timeOfFlight, c.values.clickValueCm, m.clickHorizontal};
    return c;
}

constexpr AddInfoUnit kUnits[] = {AddInfoUnit::Cm, AddInfoUnit::Moa, AddInfoUnit::Mil, AddInfoUnit::Clicks};
}  // namespace

TEST_F(CalculatorDialogs, AdditionalDataShowsTheCalculationAndTheLeadFollowsTheSpeed) {
    const Calculated c = calculatedAt(600, 1.6);
    CDlgAddInfo dlg(c.main, c.values, 1, 0, false, 10);
    HeadlessWindow& w = ui::openHeadless(dlg);
    EXPECT_EQ(w.title(), "Доп.данные");
    const CDlgAddInfo::Values& v = c.values;
    std::vector<std::string> shown;
    for (int id : {CDlgAddInfo::kCorrectedMuzzleVelocity, CDlgAddInfo::kTargetVelocity, CDlgAddInfo::kTargetMach,
                   CDlgAddInfo::kSpeedOfSound, CDlgAddInfo::kTimeOfFlight, CDlgAddInfo::kClickValue})
        shown.push_back(w.text(id));
    EXPECT_EQ(shown, (std::vector<std::string>{num(v.correctedMuzzleVelocity), num(v.targetVelocity),
                                               num(v.targetMach), num(v.speedOfSound), num(v.timeOfFlight),
                                               num(v.clickValueCm)}));
    for (int id : {CDlgAddInfo::kLeadUnit, CDlgAddInfo::kDriftUnit}) {
        std::vector<std::string> items;
        for (int i = 0; i < w.itemCount(id); ++i) items.push_back(w.itemText(id, i));
        EXPECT_EQ(items, (std::vector<std::string>{"см", "MOA", "MIL (т.д.)", "клики"}));
    }
    EXPECT_EQ(w.selection(CDlgAddInfo::kDriftUnit), 1);
    EXPECT_EQ(w.selection(CDlgAddInfo::kLeadUnit), 0);

    // A walking man's lead in whole centimetres; the drifts in MOA, to the right and, with the wind
    // from the right, downwards.
    EXPECT_EQ(w.text(CDlgAddInfo::kTargetSpeed), "4");
    EXPECT_EQ(w.text(CDlgAddInfo::kLead), num(std::floor(4 / 3.6 * v.timeOfFlight * 100 + 0.5)));
    EXPECT_EQ(w.text(CDlgAddInfo::kSpinDrift), num(spinDriftIn(AddInfoUnit::Moa, c.main, c.target)));
    EXPECT_GT(spinDriftIn(AddInfoUnit::Moa, c.main, c.target), 0);
    EXPECT_EQ(w.text(CDlgAddInfo::kVerticalDrift),
              num(verticalWindDriftIn(AddInfoUnit::Moa, c.main, c.target, false, 10)));
    EXPECT_LT(verticalWindDriftIn(AddInfoUnit::Moa, c.main, c.target, false, 10), 0);

    w.typeChars(CDlgAddInfo::kTargetSpeed, "2");  // "42" as the keys go in
    EXPECT_EQ(w.text(CDlgAddInfo::kLead), num(std::floor(42 / 3.6 * v.timeOfFlight * 100 + 0.5)));
    w.type(CDlgAddInfo::kTargetSpeed, "12,5");
    for (AddInfoUnit u : kUnits) {
        w.chooseItem(CDlgAddInfo::kLeadUnit, static_cast<int>(u));
        EXPECT_EQ(w.text(CDlgAddInfo::kLead), num(leadIn(u, 12.5, c.target))) << static_cast<int>(u);
    }
    // Clicks of the horizontal click value (0.5 MOA), to 0.1.
    EXPECT_EQ(w.text(CDlgAddInfo::kLead), num(RoundTo(moaAtDistance(leadCm(12.5, v.timeOfFlight), 600) / 0.5, 1)));
    // A speed that is no number (yet) leaves the lead empty and interrupts nobody.
    w.type(CDlgAddInfo::kTargetSpeed, "-");
    EXPECT_EQ(w.text(CDlgAddInfo::kLead), "");
    EXPECT_TRUE(screen.messages.empty());
    // The units go back to the settings however the dialog is closed.
    w.closeBox();
    EXPECT_EQ(dlg.leadUnit(), 3);
    EXPECT_EQ(dlg.driftUnit(), 1);
    dlg.destroy();
}

TEST_F(CalculatorDialogs, AdditionalDataDriftsFollowTheirSharedUnitOrTheShareSetByHand) {
    const Calculated c = calculatedAt(800, 2.2, 270);
    CDlgAddInfo dlg(c.main, c.values, 0, 2, false, 10);
    HeadlessWindow& w = ui::openHeadless(dlg);
    for (AddInfoUnit u : kUnits) {
        w.chooseItem(CDlgAddInfo::kDriftUnit, static_cast<int>(u));
        EXPECT_EQ(w.text(CDlgAddInfo::kSpinDrift), num(spinDriftIn(u, c.main, c.target)));
        EXPECT_EQ(w.text(CDlgAddInfo::kVerticalDrift), num(verticalWindDriftIn(u, c.main, c.target, false, 10)));
        EXPECT_EQ(dlg.driftUnit(), static_cast<int>(u));
    }
    EXPECT_EQ(dlg.leadUnit(), 2);
    EXPECT_GT(verticalWindDriftIn(AddInfoUnit::Moa, c.main, c.target, false, 10), 0);  // wind from the left lifts
    dlg.destroy();

    CDlgAddInfo manual(c.main, c.values, 1, 0, true, 25);
    HeadlessWindow& m = ui::openHeadless(manual);
    EXPECT_EQ(m.text(CDlgAddInfo::kVerticalDrift), num(RoundTo(std::fabs(0.25 * c.main.targetRow.horizontalMoa), 2)));
    manual.destroy();
    EXPECT_TRUE(screen.messages.empty());
}

TEST_F(CalculatorDialogs, AdditionalDataNearerThanTheZeroOrWithin30Metres) {
    const Calculated nearer = calculatedAt(60, 1.6);  // zeroed at 100 m
    CDlgAddInfo dlg(nearer.main, nearer.values, 0, 0, false, 10);
    HeadlessWindow& w = ui::openHeadless(dlg);
    for (AddInfoUnit u : kUnits) {
        w.chooseItem(CDlgAddInfo::kDriftUnit, static_cast<int>(u));
        EXPECT_EQ(w.text(CDlgAddInfo::kSpinDrift), "0") << static_cast<int>(u);
    }
    dlg.destroy();

    Calculated close = calculatedAt(30, 1.6);
    close.main.zeroTimeOfFlight = 0;  // zeroed at the muzzle: there is a spin drift at 30 m
    // Too small for centimetres, but one an angle would still show.
    const double spin = close.main.spinDrift(close.values.timeOfFlight);
    ASSERT_NE(RoundTo(moaAtDistance(spin, 30), 2), 0);
    ASSERT_NE(RoundTo(spin / close.values.clickValueCm, 2), 0);
    CDlgAddInfo within(close.main, close.values, 0, 0, false, 10);
    HeadlessWindow& c = ui::openHeadless(within);
    for (AddInfoUnit u : {AddInfoUnit::Moa, AddInfoUnit::Clicks}) {
        c.chooseItem(CDlgAddInfo::kLeadUnit, static_cast<int>(u));
        c.chooseItem(CDlgAddInfo::kDriftUnit, static_cast<int>(u));
        EXPECT_EQ(c.text(CDlgAddInfo::kLead), "0");
        EXPECT_EQ(c.text(CDlgAddInfo::kSpinDrift), "0");
    }
    c.chooseItem(CDlgAddInfo::kLeadUnit, static_cast<int>(AddInfoUnit::Mil));
    EXPECT_NE(c.text(CDlgAddInfo::kLead), "0");
    within.destroy();
}

TEST_F(CalculatorDialogs, AdditionalDataWarnsOfAZeroStabilityFactorAtEveryDriftUnit) {
    const Calculated c = calculatedAt(500, 0);
    const std::string warning = "Фактор Гироскопической стабильности равен нулю!";
    CDlgAddInfo dlg(c.main, c.values, 0, 0, true, 10);
    HeadlessWindow& w = ui::openHeadless(dlg);
    ASSERT_EQ(screen.messageTexts(), std::vector<std::string>{warning});
    EXPECT_EQ(w.text(CDlgAddInfo::kSpinDrift), "0");
    EXPECT_EQ(w.text(CDlgAddInfo::kVerticalDrift), "0");
    w.chooseItem(CDlgAddInfo::kDriftUnit, 1);
    w.chooseItem(CDlgAddInfo::kDriftUnit, 3);
    w.chooseItem(CDlgAddInfo::kLeadUnit, 1);  // the lead has nothing to do with it
    w.type(CDlgAddInfo::kTargetSpeed, "8");
    EXPECT_EQ(screen.messageTexts(), (std::vector<std::string>{warning, warning, warning}));
    EXPECT_EQ(w.text(CDlgAddInfo::kVerticalDrift), "0");
    dlg.destroy();
}

TEST_F(CalculatorDialogs, AdditionalDataAtDistanceZeroAndWithUnknownStoredUnits) {
    const Calculated zero = calculatedAt(0, 1.6);
    CDlgAddInfo dlg(zero.main, zero.values, 2, 2, false, 10);
    HeadlessWindow& w = ui::openHeadless(dlg);
    EXPECT_EQ(w.text(CDlgAddInfo::kLead), kUndefinedText);
    EXPECT_EQ(w.text(CDlgAddInfo::kSpinDrift), kUndefinedText);
    for (int id : w.controlIds())
        for (const char* bad : {"inf", "nan"}) EXPECT_EQ(w.text(id).find(bad), std::string::npos) << id;
    dlg.destroy();

    const Calculated c = calculatedAt(300, 1.6);
    CDlgAddInfo unknown(c.main, c.values, 7, -1, false, 10);
    HeadlessWindow& u = ui::openHeadless(unknown);
    EXPECT_EQ(u.selection(CDlgAddInfo::kDriftUnit), 0);
    EXPECT_EQ(u.text(CDlgAddInfo::kLead), num(leadIn(AddInfoUnit::Cm, 4, c.target)));
    u.click(ui::kIdOk);
    EXPECT_EQ(unknown.driftUnit(), 0);
    EXPECT_EQ(unknown.leadUnit(), 0);
    unknown.destroy();
}

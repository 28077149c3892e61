#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <sstream>

#include "InputArguments.h"
#include "SettingsRecord.h"
#include "ShotInputs.h"
#include "ShotSettings.h"
#include "Tkcalc.h"

namespace {

// Inputs where every field differs from its first-run value and from every other field, set
// through the field table.
ShotInputs distinctInputs() {
    ShotInputs in;
    double next = 1.25;
    for (const InputField& f : inputFields()) {
        if (f.isFlag()) {
            bool& flag = in.*std::get<bool ShotInputs::*>(f.member);
            flag = !flag;
        } else if (double* v = f.number(in)) {
            *v = next;
            next += 1.5;
        }
    }
    in.dragFunctionName = "Лапуа 7,62";
    in.dragFunctionNumber = 17;
    return in;
}

TEST(ShotInputFields, KeysAreUniqueAndEachNamesItsOwnInput) {
    std::set<std::string> keys;
    const ShotInputs firstRun;
    for (const InputField& f : inputFields()) {
        EXPECT_TRUE(keys.insert(f.key).second) << f.key;
        EXPECT_EQ(findInputField(f.key), &f);
        EXPECT_NE(std::string(f.label), "");
    }
    EXPECT_EQ(findInputField("no-such-input"), nullptr);
    // Every field of the table writes a different member.
    const ShotInputs distinct = distinctInputs();
    for (const InputField& f : inputFields()) {
        if (const double* v = f.number(distinct)) {
            EXPECT_NE(*v, *f.number(firstRun)) << f.key;
        }
    }
}

TEST(ShotInputFields, SettingsRecordsKeepEveryStoredInput) {
    ShotInputs in = distinctInputs();
    in.targetAngle = 0;                 // a program starts with the target level: not kept
    in.stabilityFactor.reset();         // a command-line override only
    SettingsRecord desktop;
    storeShotInputs(in, desktop);
    EXPECT_EQ(shotInputsFrom(desktop), in);
    HandheldSettingsRecord handheld;
    storeShotInputs(in, handheld);
    EXPECT_EQ(shotInputsFrom(handheld), in);

    // The record's other fields stay; flags are written as 1; the angle as shown.
    desktop.reserved160 = 3.5;
    desktop.angleMode = kAngleModeCosine;
    in.targetAngle = 60;
    storeShotInputs(in, desktop);
    EXPECT_EQ(desktop.reserved160, 3.5);
    EXPECT_EQ(desktop.addDerivation, 1);
    EXPECT_EQ(desktop.targetAngleField, 0.5);
    EXPECT_EQ(shotInputsFrom(desktop).targetAngle, 0);
    // A flag the other program wrote as any value but 0 is on.
    desktop.addVerticalWindDrift = 7;
    EXPECT_TRUE(shotInputsFrom(desktop).addVerticalDrift);
}

TEST(ShotInputFields, TkcalcSetTakesExactlyTheTableKeys) {
    const ShotInputs firstRun;
    for (const InputField& f : inputFields()) {
        ShotInputs in;
        std::string error;
        const double* v = f.number(firstRun);
        const std::string value = f.isFlag() ? "1" : v ? std::to_string(*v) : "1.5";
        EXPECT_TRUE(applySetting(in, f.key, value, error)) << f.key << ": " << error;
    }
    ShotInputs in;
    std::string error;
    EXPECT_FALSE(applySetting(in, "muzzle_velocity", "800", error));
    EXPECT_FALSE(applySetting(in, "Muzzle-Velocity", "800", error));
    std::ostringstream out, err;
    std::istringstream input;
    ASSERT_EQ(runTkcalc({"--help"}, out, err, input), 0);
    for (const InputField& f : inputFields())
        EXPECT_NE(out.str().find(std::string("  ") + f.key + " "), std::string::npos) << f.key;
}

}  // namespace

namespace {
TEST(ShotInputFields, LimitsAtTheirEdges) {
    struct Case {
        const char* key;
        double value;
        bool taken;
    };
    const Case cases[] = {
        {"bc", 0, false},           {"bc", 0.001, true},         {"muzzle-velocity", -1, false},
        {"zero-distance", 0, false}, {"distance", 0, true},        {"wind-speed", -0.1, false},
        {"wind-speed", 0, true},     {"pressure", 0, false},       {"pressure", 100, true},
        {"pressure", 99.9, false},   {"humidity", 0, true},        {"humidity", 100, true},
        {"humidity", 100.5, false},  {"target-angle", 89.9, true}, {"target-angle", 90, false},
        {"target-angle", -90, false}, {"temperature", -60, true},  {"temperature", 55, true},
        {"temperature", 200, false}, {"click-vertical", 0, false}, {"humidity", std::nan(""), false},
    };
    for (const Case& c : cases) EXPECT_EQ(findInputField(c.key)->refusal(c.value).empty(), c.taken) << c.key << " " << c.value;
    EXPECT_EQ(findInputField("humidity")->refusalMessage(120), "Влажность, %: допустимо от 0 до 100 %, получено 120");
    EXPECT_EQ(findInputField("bc")->refusal(0), "допустимо больше 0 и не больше 5");

    ShotInputs in;
    EXPECT_EQ(refusalOf(in), "");  // the first-run shot is a real one
    in.zeroHumidity = -5;
    in.stabilityFactor = 11;
    EXPECT_EQ(refusalOf(in), "Влажность при пристрелке, %: допустимо от 0 до 100 %, получено -5");
    in.zeroHumidity = 5;
    EXPECT_NE(refusalOf(in).find("Фактор стабильности"), std::string::npos);
}
}  // namespace

#include <gtest/gtest.h>

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
    for (const InputField& f : inputFields()) {
        ShotInputs in;
        std::string error;
        EXPECT_TRUE(applySetting(in, f.key, f.isFlag() ? "1" : "1.5", error)) << f.key << ": " << error;
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

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>

#include "CdLookup.h"
#include "DragFunc.h"
#include "DragFuncOld.h"
#include "EngineReporter.h"
#include "StandardDragSet.h"
#include "TextCodec.h"

namespace {
DragFunc withPoints(std::initializer_list<DragElement> points) {
    DragFunc f;
    f.points = points;
    return f;
}

struct CountingReporter : EngineReporter {
    int empty = 0, density = 0;
    void report(EngineMessage m) override { (m == EngineMessage::EmptyDragFunction ? empty : density)++; }
};

DragFunc standard(const char* name) {
    DragFunc f;
    EXPECT_TRUE(standardFunction(name, f)) << name;
    return f;
}
}  // namespace

TEST(DragFunc, LookupInterpolatesAndExtendsFlat) {
    const DragFunc f = withPoints({{0.5, 0.2}, {1.0, 0.4}, {2.0, 0.3}});
    EXPECT_EQ(f.cdAt(0.3), 0.2);
    EXPECT_DOUBLE_EQ(f.cdAt(0.75), 0.3);
    EXPECT_EQ(f.cdAt(1.0), 0.4);
    EXPECT_DOUBLE_EQ(f.cdAt(1.5), 0.35);
    EXPECT_EQ(f.cdAt(2.0), 0.3);
    EXPECT_EQ(f.cdAt(3.0), 0.3);

    const DragFunc single = withPoints({{0.8, 0.25}});
    for (double m : {0.5, 0.8, 1.2}) EXPECT_EQ(single.cdAt(m), 0.25);
}

TEST(DragFunc, EmptyFunctionGivesHalfAndReportsEveryLookup) {
    const DragFunc empty = withPoints({});
    CountingReporter r;
    EXPECT_EQ(empty.cdAt(1.0, &r), 0.5);
    EXPECT_EQ(empty.cdAt(2.0, &r), 0.5);
    EXPECT_EQ(r.empty, 2);
}

TEST(DragFunc, RepeatedMachPointDoesNotDivideByZero) {
    const DragFunc f = withPoints({{0.5, 0.2}, {0.5, 0.3}, {1.0, 0.4}});
    EXPECT_TRUE(std::isfinite(f.cdAt(0.5)));
    CdLookup fast(f);
    EXPECT_EQ(fast.cdAt(0.5, nullptr), f.cdAt(0.5));
}

TEST(DragFunc, NewAndConvertedRecords) {
    DragFunc f;
    EXPECT_EQ(cp1251ToUtf8(f.name), "Новая функция");
    EXPECT_TRUE(f.flagByte);
    EXPECT_EQ(f.kind, DragFuncKind::Standard);

    DragFuncOld old;
    std::strcpy(old.name, "Old");
    old.uniqueNumber = 17;
    old.sectionalDensity = 0.3;
    old.kind = DragFuncKind::Special;
    old.points = {{1.0, 0.4}};
    f.bulletWeight = 168;
    f.copyFromOld(old);
    EXPECT_EQ(f.bulletWeight, 168);
    EXPECT_STREQ(f.name, "Old");
    EXPECT_EQ(f.uniqueNumber, 17);
    EXPECT_EQ(f.kind, DragFuncKind::Special);
    EXPECT_EQ(f.points.size(), 1u);

    f.setName(std::string(80, 'x'));
    EXPECT_EQ(std::string(f.name).size(), 49u);
}

// The trajectory lookup starts where the last search stopped; whatever the order of the Mach
// numbers, it must give what the plain lookup gives.
TEST(DragFunc, TrajectoryLookupMatchesPlainLookup) {
    std::vector<DragFunc> set;
    makeStandardSet(set);
    set.push_back(sampleFunction());
    set.push_back(withPoints({{0.5, 0.2}, {1.5, 0.3}, {1.0, 0.4}, {2.0, 0.1}}));  // not ascending
    set.push_back(withPoints({{0.0, 0.2}, {1.0, 0.3}, {1.0, 0.5}, {2.0, 0.1}}));  // repeated Mach
    for (const DragFunc& f : set) {
        CdLookup fast(f);
        double m = 0.0;
        for (int i = 0; i < 4000; ++i) {
            m = std::fmod(m * 1.37 + 0.731, 6.0) - 0.5;  // jumps both ways, beyond both ends
            ASSERT_EQ(fast.cdAt(m, nullptr), f.cdAt(m)) << f.name << " at Mach " << m;
        }
        for (double s = 4.2; s > -0.1; s -= 0.0013) ASSERT_EQ(fast.cdAt(s, nullptr), f.cdAt(s)) << f.name << " " << s;
    }
}

TEST(StandardSet, NamesNumbersAndTables) {
    std::vector<DragFunc> set;
    makeStandardSet(set);
    struct Expect {
        const char* name;
        int number;
        size_t points;
        double first, last, largest, largestAt, at05, at10, at20;
    };
    const Expect expected[] = {
        {"G1", 1, 79, 0.2629, 0.4988, 0.6625, 1.4, 0.2032, 0.4805, 0.5934},
        {"G7", 5, 84, 0.1198, 0.1618, 0.4043, 1.05, 0.1194, 0.3803, 0.298},
        {"G2", 2, 85, 0.2303, 0.1648, 0.4114, 1.075, 0.198, 0.3983, 0.2933},
        {"G5", 3, 76, 0.171, 0.228, 0.4406, 1.4, 0.1603, 0.3379, 0.3861},
        {"G6", 4, 79, 0.2617, 0.1574, 0.4497, 1.15, 0.2155, 0.3597, 0.3515},
        {"G8", 6, 78, 0.2105, 0.1713, 0.4493, 1.075, 0.2102, 0.4068, 0.3288},
        {"GI", 7, 81, 0.2282, 0.4082, 0.6423, 1.25, 0.2282, 0.4349, 0.602},
        {"GL", 8, 6, 0.3331, 0.5546, 0.814, 2.95, 0.2026, 0.4845, 0.7602},  // known only at six points
        {"GS", 9, 81, 0.4662, 0.928, 1.009, 1.55, 0.497, 0.814, 1.001},
        {"RA4", 10, 87, 0.2283, 0.4969, 0.5943, 1.15, 0.2281, 0.3975, 0.5323},
    };
    ASSERT_EQ(set.size(), 10u);
    for (size_t i = 0; i < 10; ++i) {
        const DragFunc& f = set[i];
        const Expect& e = expected[i];
        SCOPED_TRACE(e.name);
        EXPECT_STREQ(f.name, e.name);
        EXPECT_EQ(f.uniqueNumber, e.number);
        EXPECT_EQ(f.kind, DragFuncKind::Standard);
        EXPECT_EQ(f.points.size(), e.points);
        EXPECT_EQ(f.points.front().mach, 0.0);
        EXPECT_EQ(f.points.back().mach, (e.name == std::string("GS") || e.name == std::string("RA4")) ? 4.0 : 5.0);
        EXPECT_EQ(f.points.front().cd, e.first);
        EXPECT_EQ(f.points.back().cd, e.last);
        const DragElement* top = &f.points[0];
        for (const DragElement& p : f.points) {
            if (p.cd > top->cd) top = &p;
        }
        EXPECT_EQ(top->cd, e.largest);
        EXPECT_EQ(top->mach, e.largestAt);
        EXPECT_EQ(f.cdAt(0.5), e.at05);
        EXPECT_EQ(f.cdAt(1.0), e.at10);
        EXPECT_EQ(f.cdAt(2.0), e.at20);
        for (size_t k = 1; k < f.points.size(); ++k) EXPECT_LT(f.points[k - 1].mach, f.points[k].mach);
    }
    EXPECT_EQ(cp1251ToUtf8(set[6].description), "Переработанная таблица Ингалса. Устарела");
    const std::string g7 = cp1251ToUtf8(set[1].description);
    EXPECT_EQ(g7.rfind("Для пуль типа \"VLD\" (Very Low Drag)", 0), 0u);
    EXPECT_EQ(g7.back(), ' ');
}

TEST(StandardSet, TelltalePointsAndFixedLookups) {
    const DragFunc g1 = standard("G1");
    const DragElement head[] = {{0, 0.2629}, {0.05, 0.2558}, {0.1, 0.2487}, {0.15, 0.2413}, {0.2, 0.2344}};
    for (size_t i = 0; i < 5; ++i) {
        EXPECT_EQ(g1.points[i].mach, head[i].mach);
        EXPECT_EQ(g1.points[i].cd, head[i].cd);
    }
    const size_t n = g1.points.size();
    EXPECT_EQ(g1.points[n - 3].mach, 4.6);
    EXPECT_EQ(g1.points[n - 3].cd, 0.4992);
    EXPECT_EQ(g1.points[n - 2].cd, 0.499);
    EXPECT_EQ(g1.cdAt(6.0), 0.4988);
    EXPECT_EQ(standard("GS").cdAt(4.5), 0.928);

    EXPECT_EQ(cdG1Fixed(6.0), 0.5);
    EXPECT_EQ(cdG1Fixed(5.0), 0.5);
    EXPECT_NEAR(cdG1Fixed(4.9), 0.4989, 1e-12);
    EXPECT_EQ(cdG7Fixed(5.5), 0.17);
    EXPECT_EQ(cdG1Fixed(1.0), 0.4805);
    EXPECT_EQ(cdG7Fixed(0.5), 0.1194);

    const DragFunc solverG1 = solverDefaultG1();
    EXPECT_EQ(solverG1.uniqueNumber, 0);
    EXPECT_STREQ(solverG1.description, "");
    EXPECT_EQ(solverG1.points.size(), 79u);
}

TEST(StandardSet, SampleSpecialFunction) {
    std::vector<DragFunc> library;
    makeStandardSet(library);
    makeSampleFunction(library, 11);
    ASSERT_EQ(library.size(), 11u);
    const DragFunc& s = library.back();
    EXPECT_STREQ(s.name, "Sierra MatchKing, 168gr");
    EXPECT_EQ(cp1251ToUtf8(s.description), "Диаметр - 0.308 дюйма, вес - 168 гран");
    EXPECT_EQ(s.uniqueNumber, 11);
    EXPECT_EQ(s.kind, DragFuncKind::Special);
    EXPECT_EQ(s.sectionalDensity, 0.253);
    EXPECT_EQ(s.bulletDiameter, 0.308);
    EXPECT_EQ(s.bulletLength, 1.215);
    EXPECT_EQ(s.points.size(), 14u);
    EXPECT_EQ(s.cdAt(0.5), 0.14);
    EXPECT_EQ(s.cdAt(1.1), 0.447);
    EXPECT_EQ(s.cdAt(3.0), 0.32);
}

TEST(MessageCollector, KeepsEachMessageOnceInArrivalOrder) {
    MessageCollector c;
    const DragFunc empty = withPoints({});
    for (int i = 0; i < 1000; ++i) empty.cdAt(1.0, &c);
    c.report(EngineMessage::ZeroSectionalDensity);
    const auto first = c.take();
    ASSERT_EQ(first.size(), 2u);
    EXPECT_EQ(first[0], EngineMessage::EmptyDragFunction);
    EXPECT_EQ(engineMessageText(first[0]), "Записей в массиве драг-функции 0");
    EXPECT_EQ(engineMessageText(first[1]), "sectional density = 0");
    EXPECT_TRUE(c.take().empty());
}

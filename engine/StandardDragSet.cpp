#include "StandardDragSet.h"

#include <cstring>

#include "StandardDragTables.h"

namespace {
struct StandardEntry {
    const char* name;
    int32_t number;
    StandardTableId table;
    const char* description;
};

// Descriptions are CP1251 bytes, as the program keeps its texts; the UTF-8 text is beside each one.
const StandardEntry kStandardSet[] = {
    // Применяется в большинстве калькуляторов. Основана на пуле длиной 3.28 калибра, радиус тангенсальной оживальной части - 2 калибра
    {"G1", 1, StandardTableId::G1, "\xCF\xF0\xE8\xEC\xE5\xED\xFF\xE5\xF2\xF1\xFF \xE2 \xE1\xEE\xEB\xFC\xF8\xE8\xED\xF1\xF2\xE2\xE5 \xEA\xE0\xEB\xFC\xEA\xF3\xEB\xFF\xF2\xEE\xF0\xEE\xE2. \xCE\xF1\xED\xEE\xE2\xE0\xED\xE0 \xED\xE0 \xEF\xF3\xEB\xE5 \xE4\xEB\xE8\xED\xEE\xE9 3.28 \xEA\xE0\xEB\xE8\xE1\xF0\xE0, \xF0\xE0\xE4\xE8\xF3\xF1 \xF2\xE0\xED\xE3\xE5\xED\xF1\xE0\xEB\xFC\xED\xEE\xE9 \xEE\xE6\xE8\xE2\xE0\xEB\xFC\xED\xEE\xE9 \xF7\xE0\xF1\xF2\xE8 - 2 \xEA\xE0\xEB\xE8\xE1\xF0\xE0"},
    // Для пуль типа "VLD" (Very Low Drag)- с длинной конусной хвостовой частью (угол 7° 30') и тангенцальной оживальной частью радиусом 10 калибров 
    {"G7", 5, StandardTableId::G7, "\xC4\xEB\xFF \xEF\xF3\xEB\xFC \xF2\xE8\xEF\xE0 \"VLD\" (Very Low Drag)- \xF1 \xE4\xEB\xE8\xED\xED\xEE\xE9 \xEA\xEE\xED\xF3\xF1\xED\xEE\xE9 \xF5\xE2\xEE\xF1\xF2\xEE\xE2\xEE\xE9 \xF7\xE0\xF1\xF2\xFC\xFE (\xF3\xE3\xEE\xEB 7\xB0 30') \xE8 \xF2\xE0\xED\xE3\xE5\xED\xF6\xE0\xEB\xFC\xED\xEE\xE9 \xEE\xE6\xE8\xE2\xE0\xEB\xFC\xED\xEE\xE9 \xF7\xE0\xF1\xF2\xFC\xFE \xF0\xE0\xE4\xE8\xF3\xF1\xEE\xEC 10 \xEA\xE0\xEB\xE8\xE1\xF0\xEE\xE2 "},
    // Спец.модель для артиллерийских снарядов. С конической оживальной частью и поясками.
    {"G2", 2, StandardTableId::G2, "\xD1\xEF\xE5\xF6.\xEC\xEE\xE4\xE5\xEB\xFC \xE4\xEB\xFF \xE0\xF0\xF2\xE8\xEB\xEB\xE5\xF0\xE8\xE9\xF1\xEA\xE8\xF5 \xF1\xED\xE0\xF0\xFF\xE4\xEE\xE2. \xD1 \xEA\xEE\xED\xE8\xF7\xE5\xF1\xEA\xEE\xE9 \xEE\xE6\xE8\xE2\xE0\xEB\xFC\xED\xEE\xE9 \xF7\xE0\xF1\xF2\xFC\xFE \xE8 \xEF\xEE\xFF\xF1\xEA\xE0\xEC\xE8."},
    // Для пуль с конической хвостовой частью (наклон конуса 7° 30' ) и тангенсальной оживальной частью радиусом 6,19 калибра
    {"G5", 3, StandardTableId::G5, "\xC4\xEB\xFF \xEF\xF3\xEB\xFC \xF1 \xEA\xEE\xED\xE8\xF7\xE5\xF1\xEA\xEE\xE9 \xF5\xE2\xEE\xF1\xF2\xEE\xE2\xEE\xE9 \xF7\xE0\xF1\xF2\xFC\xFE (\xED\xE0\xEA\xEB\xEE\xED \xEA\xEE\xED\xF3\xF1\xE0 7\xB0 30' ) \xE8 \xF2\xE0\xED\xE3\xE5\xED\xF1\xE0\xEB\xFC\xED\xEE\xE9 \xEE\xE6\xE8\xE2\xE0\xEB\xFC\xED\xEE\xE9 \xF7\xE0\xF1\xF2\xFC\xFE \xF0\xE0\xE4\xE8\xF3\xF1\xEE\xEC 6,19 \xEA\xE0\xEB\xE8\xE1\xF0\xE0"},
    // Для пуль без заднего сужения и секантной оживальной частью радиусом 6,99 калибра (Spire Point)
    {"G6", 4, StandardTableId::G6, "\xC4\xEB\xFF \xEF\xF3\xEB\xFC \xE1\xE5\xE7 \xE7\xE0\xE4\xED\xE5\xE3\xEE \xF1\xF3\xE6\xE5\xED\xE8\xFF \xE8 \xF1\xE5\xEA\xE0\xED\xF2\xED\xEE\xE9 \xEE\xE6\xE8\xE2\xE0\xEB\xFC\xED\xEE\xE9 \xF7\xE0\xF1\xF2\xFC\xFE \xF0\xE0\xE4\xE8\xF3\xF1\xEE\xEC 6,99 \xEA\xE0\xEB\xE8\xE1\xF0\xE0 (Spire Point)"},
    // Для пули без заднего сужения, с секантной оживальной часть радиусом в 10 калибров
    {"G8", 6, StandardTableId::G8, "\xC4\xEB\xFF \xEF\xF3\xEB\xE8 \xE1\xE5\xE7 \xE7\xE0\xE4\xED\xE5\xE3\xEE \xF1\xF3\xE6\xE5\xED\xE8\xFF, \xF1 \xF1\xE5\xEA\xE0\xED\xF2\xED\xEE\xE9 \xEE\xE6\xE8\xE2\xE0\xEB\xFC\xED\xEE\xE9 \xF7\xE0\xF1\xF2\xFC \xF0\xE0\xE4\xE8\xF3\xF1\xEE\xEC \xE2 10 \xEA\xE0\xEB\xE8\xE1\xF0\xEE\xE2"},
    // Переработанная таблица Ингалса. Устарела
    {"GI", 7, StandardTableId::GI, "\xCF\xE5\xF0\xE5\xF0\xE0\xE1\xEE\xF2\xE0\xED\xED\xE0\xFF \xF2\xE0\xE1\xEB\xE8\xF6\xE0 \xC8\xED\xE3\xE0\xEB\xF1\xE0. \xD3\xF1\xF2\xE0\xF0\xE5\xEB\xE0"},
    // Модель для полуоболочечных пуль(идентична G1 на скоростях ниже 426 метров в секунду)
    {"GL", 8, StandardTableId::GL, "\xCC\xEE\xE4\xE5\xEB\xFC \xE4\xEB\xFF \xEF\xEE\xEB\xF3\xEE\xE1\xEE\xEB\xEE\xF7\xE5\xF7\xED\xFB\xF5 \xEF\xF3\xEB\xFC(\xE8\xE4\xE5\xED\xF2\xE8\xF7\xED\xE0 G1 \xED\xE0 \xF1\xEA\xEE\xF0\xEE\xF1\xF2\xFF\xF5 \xED\xE8\xE6\xE5 426 \xEC\xE5\xF2\xF0\xEE\xE2 \xE2 \xF1\xE5\xEA\xF3\xED\xE4\xF3)"},
    // Модель для круглой пули. Пуля диаметром 0.5625 дюйма
    {"GS", 9, StandardTableId::GS, "\xCC\xEE\xE4\xE5\xEB\xFC \xE4\xEB\xFF \xEA\xF0\xF3\xE3\xEB\xEE\xE9 \xEF\xF3\xEB\xE8. \xCF\xF3\xEB\xFF \xE4\xE8\xE0\xEC\xE5\xF2\xF0\xEE\xEC 0.5625 \xE4\xFE\xE9\xEC\xE0"},
    // Для калибра .22LR. Идентична G1 на скоростях ниже 426 метров в секунду
    {"RA4", 10, StandardTableId::RA4, "\xC4\xEB\xFF \xEA\xE0\xEB\xE8\xE1\xF0\xE0 .22LR. \xC8\xE4\xE5\xED\xF2\xE8\xF7\xED\xE0 G1 \xED\xE0 \xF1\xEA\xEE\xF0\xEE\xF1\xF2\xFF\xF5 \xED\xE8\xE6\xE5 426 \xEC\xE5\xF2\xF0\xEE\xE2 \xE2 \xF1\xE5\xEA\xF3\xED\xE4\xF3"},
};
// Диаметр - 0.308 дюйма, вес - 168 гран
const char kSampleDescription[] = "\xC4\xE8\xE0\xEC\xE5\xF2\xF0 - 0.308 \xE4\xFE\xE9\xEC\xE0, \xE2\xE5\xF1 - 168 \xE3\xF0\xE0\xED";

DragFunc makeStandard(const StandardEntry& e) {
    DragFunc f;
    const auto table = standardDragTable(e.table);
    f.points.assign(table.begin(), table.end());
    f.setName(e.name);
    f.setDescription(e.description);
    f.uniqueNumber = e.number;
    f.kind = DragFuncKind::Standard;
    f.flagByte = true;
    return f;
}

// Above the argument's first strictly greater table Mach, interpolated like cdAt.
double fixedLookup(std::span<const DragElement> t, double mach, double atFiveAndAbove) {
    if (mach >= 5.0) return atFiveAndAbove;
    size_t j = 1;
    while (j < t.size() - 1 && !(t[j].mach > mach)) ++j;
    const size_t i = j - 1;
    return t[i].cd + (t[j].cd - t[i].cd) / (t[j].mach - t[i].mach) * (mach - t[i].mach);
}
}  // namespace

void makeStandardSet(std::vector<DragFunc>& library) {
    for (const StandardEntry& e : kStandardSet) library.push_back(makeStandard(e));
}

DragFunc sampleFunction() {
    static const DragElement kPoints[] = {
        {0, 0.14},   {0.8, 0.14}, {0.85, 0.142}, {0.9, 0.16},  {0.95, 0.24}, {1.0, 0.43},  {1.1, 0.447},
        {1.2, 0.434}, {1.4, 0.41}, {1.6, 0.385},  {1.8, 0.365}, {2.0, 0.35},  {2.2, 0.339}, {2.5, 0.32},
    };
    DragFunc f;
    f.points.assign(std::begin(kPoints), std::end(kPoints));
    f.setName("Sierra MatchKing, 168gr");
    f.setDescription(kSampleDescription);
    f.kind = DragFuncKind::Special;
    f.sectionalDensity = 0.253;
    f.bulletDiameter = 0.308;
    f.bulletLength = 1.215;
    return f;
}

void makeSampleFunction(std::vector<DragFunc>& library, int32_t uniqueNumber) {
    DragFunc f = sampleFunction();
    f.uniqueNumber = uniqueNumber;
    library.push_back(std::move(f));
}

bool standardFunction(std::string_view name, DragFunc& out) {
    for (const StandardEntry& e : kStandardSet) {
        if (name == e.name) {
            out = makeStandard(e);
            return true;
        }
    }
    return false;
}

DragFunc solverDefaultG1() {
    DragFunc f = makeStandard(kStandardSet[0]);
    f.setDescription("");
    f.uniqueNumber = 0;
    return f;
}

double cdG1Fixed(double mach) { return fixedLookup(standardDragTable(StandardTableId::G1), mach, 0.5); }
double cdG7Fixed(double mach) { return fixedLookup(standardDragTable(StandardTableId::G7), mach, 0.17); }

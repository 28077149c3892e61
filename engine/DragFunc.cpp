#include "DragFunc.h"

#include <algorithm>
#include <cstring>

#include "CdLookup.h"
#include "DragFuncOld.h"
#include "EngineReporter.h"

namespace {
template <size_t N>
void copyText(char (&field)[N], std::string_view text) {
    const size_t n = std::min(text.size(), N - 1);
    std::memset(field, 0, N);
    if (n > 0) std::memcpy(field, text.data(), n);  // an empty view may carry no pointer at all
}
}  // namespace

DragFunc::DragFunc() { setName("\xCD\xEE\xE2\xE0\xFF \xF4\xF3\xED\xEA\xF6\xE8\xFF"); }  // "Новая функция", CP1251

void DragFunc::copyFrom(const DragFunc& other) {
    if (this != &other) *this = other;
}

void DragFunc::copyFromOld(const DragFuncOld& old) {
    std::memcpy(name, old.name, sizeof name);
    std::memcpy(description, old.description, sizeof description);
    uniqueNumber = old.uniqueNumber;
    sectionalDensity = old.sectionalDensity;
    stabilityFactor = old.stabilityFactor;
    flagByte = old.flagByte;
    twist = old.twist;
    kind = old.kind;
    points = old.points;
}

void DragFunc::setName(std::string_view text) { copyText(name, text); }
void DragFunc::setDescription(std::string_view text) { copyText(description, text); }

double DragFunc::cdAt(double mach, EngineReporter* reporter) const {
    const size_t n = points.size();
    if (n == 0) {
        if (reporter) reporter->report(EngineMessage::EmptyDragFunction);
        return 0.5;
    }
    const DragElement* p = points.data();
    if (mach > p[n - 1].mach) return p[n - 1].cd;
    if (mach < p[0].mach) return p[0].cd;
    if (n == 1) return p[0].cd;
    return interpolateCd(p, linearSearchCd(p, n, mach), mach);
}

bool operator==(const DragFunc& a, const DragFunc& b) {
    auto samePoints = [](const std::vector<DragElement>& x, const std::vector<DragElement>& y) {
        return x.size() == y.size() &&
               std::equal(x.begin(), x.end(), y.begin(), [](const DragElement& p, const DragElement& q) {
                   return p.mach == q.mach && p.cd == q.cd;
               });
    };
    return samePoints(a.points, b.points) && a.uniqueNumber == b.uniqueNumber &&
           std::memcmp(a.name, b.name, sizeof a.name) == 0 &&
           std::memcmp(a.description, b.description, sizeof a.description) == 0 &&
           a.stabilityFactor == b.stabilityFactor && a.flagByte == b.flagByte && a.twist == b.twist &&
           a.sectionalDensity == b.sectionalDensity && a.bulletLength == b.bulletLength &&
           a.bulletDiameter == b.bulletDiameter && a.bulletWeight == b.bulletWeight && a.kind == b.kind;
}

#include "CdLookup.h"

#include "EngineReporter.h"

double interpolateCd(const DragElement* p, size_t j, double mach) {
    const size_t i = j - 1;
    // Two points at the same Mach number would divide by zero; the first of them stands.
    if (p[j].mach == p[i].mach) return p[i].cd;
    return p[i].cd + (p[j].cd - p[i].cd) / (p[j].mach - p[i].mach) * (mach - p[i].mach);
}

size_t linearSearchCd(const DragElement* p, size_t count, double mach) {
    size_t j = 1;
    while (j < count - 1 && !(mach <= p[j].mach)) ++j;
    return j;
}

CdLookup::CdLookup(const DragFunc& func)
    : points_(func.points.data()), count_(func.points.size()), nonDecreasing_(true) {
    for (size_t k = 1; k < count_; ++k)
        if (!(points_[k].mach >= points_[k - 1].mach)) nonDecreasing_ = false;
    // The quick path below needs two points at least.
    if (count_ < 2) nonDecreasing_ = false;
    if (nonDecreasing_ && count_ > 1) {
        slopes_.resize(count_);
        for (size_t j = 1; j < count_; ++j)
            slopes_[j] = (points_[j].cd - points_[j - 1].cd) / (points_[j].mach - points_[j - 1].mach);
    }
}


double CdLookup::reportEmpty(EngineReporter* reporter) {
    if (reporter) reporter->report(EngineMessage::EmptyDragFunction);
    return 0.5;
}

#pragma once
#include <cstdint>
#include <vector>

#include "DragElement.h"
#include "DragFuncKind.h"

// The older drag function record, kept for old files and exchange records: no bullet length,
// diameter or weight.
class DragFuncOld {
public:
    DragFuncOld();

    std::vector<DragElement> points;
    int32_t uniqueNumber = 0;
    char name[50] = {};
    char description[256] = {};
    double stabilityFactor = 0.0;
    bool flagByte = true;
    double twist = 0.0;
    double sectionalDensity = 0.0;
    DragFuncKind kind = DragFuncKind::Standard;
};

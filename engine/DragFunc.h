#pragma once
#include <cstdint>
#include <cstring>
#include <string_view>
#include <vector>

#include "DragElement.h"
#include "DragFuncKind.h"

class EngineReporter;
class DragFuncOld;

// A drag function: the Cd-against-Mach table and the data of the bullet it was made for.
// Text fields are CP1251 bytes, zero-terminated.
class DragFunc {
public:
    DragFunc();

    std::vector<DragElement> points;  // in stored order; the lookup expects ascending Mach

    int32_t uniqueNumber = 0;
    char name[50] = {};
    char description[256] = {};
    double stabilityFactor = 0.0;
    bool flagByte = true;
    double twist = 0.0;              // inches per turn
    double sectionalDensity = 0.0;   // lb/in², the BC of a Special function
    double bulletLength = 0.0;       // inches
    double bulletDiameter = 0.0;     // inches
    double bulletWeight = 0.0;       // grains
    DragFuncKind kind = DragFuncKind::Standard;

    void copyFrom(const DragFunc& other);
    void copyFromOld(const DragFuncOld& old);
    void setName(std::string_view text);         // at most 49 bytes
    // The name's CP1251 bytes up to its terminating zero (all 50 when there is none).
    std::string_view nameText() const { return std::string_view(name, strnlen(name, sizeof name)); }
    void setDescription(std::string_view text);  // at most 255 bytes

    // Cd at a Mach number: linear between points, flat beyond both ends. An empty table reports
    // EmptyDragFunction (when a reporter is given) and gives 0.5.
    double cdAt(double mach, EngineReporter* reporter = nullptr) const;
};

bool operator==(const DragFunc& a, const DragFunc& b);

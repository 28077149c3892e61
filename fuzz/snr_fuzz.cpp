// ".snr" files: any bytes read without a crash, and what was read writes out to a file that reads
// back the same, within the rounding of the format (3 decimals, 1 for the weight, 2 for the length
// in inches).
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "ExchangeFiles.h"

namespace {
// Values beyond 1e300 may round differently once turned into metres and back; they are not checked.
void expectNear(double a, double b, double tolerance) {
    if (std::fabs(a) > 1e300) return;
    if (!(std::fabs(a - b) <= tolerance + std::fabs(a) * 1e-14)) std::abort();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const DragFunc f = parseSnr(bytes);
    const DragFunc g = parseSnr(formatSnr(f));

    if (std::memcmp(f.name, g.name, sizeof f.name) != 0) std::abort();
    if (std::memcmp(f.description, g.description, sizeof f.description) != 0) std::abort();
    if (g.kind != DragFuncKind::Special || g.uniqueNumber != 0 || g.twist != 0) std::abort();
    expectNear(f.sectionalDensity, g.sectionalDensity, 0.0005);
    expectNear(f.stabilityFactor, g.stabilityFactor, 0.0005);
    expectNear(f.bulletDiameter, g.bulletDiameter, 0.0005);
    expectNear(f.bulletWeight, g.bulletWeight, 0.05);
    expectNear(f.bulletLength, g.bulletLength, 0.01);
    if (f.points.size() != g.points.size()) std::abort();
    for (size_t i = 0; i < f.points.size(); ++i) {
        expectNear(f.points[i].cd, g.points[i].cd, 0.0005);
        expectNear(f.points[i].mach, g.points[i].mach, 0.0005);
    }
    return 0;
}

// Lapua ".drg" files: any bytes read without a crash into a function whose numbers are all finite.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "ExchangeFiles.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const DragFunc f = parseDrg(bytes);
    if (!std::isfinite(f.sectionalDensity) || !std::isfinite(f.bulletLength)) std::abort();
    if (f.points.size() > size) std::abort();
    for (const DragElement& p : f.points)
        if (!std::isfinite(p.cd) || !std::isfinite(p.mach)) std::abort();
    // Whatever was read can be written as ".snr".
    const DragFunc g = parseSnr(formatSnr(f));
    if (g.points.size() != f.points.size()) std::abort();
    return 0;
}

#include <atomic>
#include <cstdlib>
#include <cstring>

#include "Paths.h"

namespace solve {

namespace {
const PathSteps* stepsOf(LanePath path) {
    switch (path) {
    case LanePath::Plain: return &kPlainSteps;
#if defined(__x86_64__)
    case LanePath::Sse2: return &kSse2Steps;
    case LanePath::Avx2: return &kAvx2Steps;
#else
    default: break;
#endif
    }
    return nullptr;
}

LanePath widestRunnable() {
    for (LanePath path : {LanePath::Avx2, LanePath::Sse2})
        if (canRun(path)) return path;
    return LanePath::Plain;
}

LanePath initialPath() {
    if (const char* named = std::getenv("TRAJEKTON_LANES")) {
        for (LanePath path : {LanePath::Plain, LanePath::Sse2, LanePath::Avx2})
            if (std::strcmp(named, nameOf(path)) == 0 && canRun(path)) return path;
    }
    return widestRunnable();
}

std::atomic<int>& current() {
    static std::atomic<int> path{static_cast<int>(initialPath())};
    return path;
}
}  // namespace

const char* nameOf(LanePath path) {
    switch (path) {
    case LanePath::Plain: return "plain";
    case LanePath::Sse2: return "sse2";
    case LanePath::Avx2: return "avx2";
    }
    return "?";
}

bool canRun(LanePath path) {
    if (!stepsOf(path)) return false;
#if defined(__x86_64__)
    if (path == LanePath::Avx2) return __builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma");
#endif
    return true;
}

LanePath lanePath() { return static_cast<LanePath>(current().load(std::memory_order_relaxed)); }

bool setLanePath(LanePath path) {
    if (!canRun(path)) return false;
    current().store(static_cast<int>(path), std::memory_order_relaxed);
    return true;
}

size_t laneWidth() { return stepsOf(lanePath())->width; }

void stepUntilOneEnds(Pass* const* passes, size_t count, bool* more) {
    stepsOf(lanePath())->stepUntilOneEnds(passes, count, more);
}

}  // namespace solve

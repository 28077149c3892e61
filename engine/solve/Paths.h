#pragma once
#include <cstddef>

namespace solve {

class Pass;

// The ways the engine can step its passes, all with the same results bit for bit: one pass at a
// time on doubles (every processor), two side by side in SSE2 registers (every x86-64), four in
// AVX2 registers with the exponential computed inline (x86-64 processors with AVX2 and FMA). The
// widest the processor has is chosen at the first solve.
enum class LanePath { Plain, Sse2, Avx2 };

const char* nameOf(LanePath path);
// Whether this build and processor can run the path.
bool canRun(LanePath path);
// The path in use: the widest the processor can run, or the one TRAJEKTON_LANES names (plain,
// sse2, avx2) when it can run it.
LanePath lanePath();
// For tests and benchmarks: takes the path for every solve from now on; false (and nothing
// changed) when it cannot run here. Not to be called while solves are under way.
bool setLanePath(LanePath path);
// How many passes the path in use steps side by side at best.
size_t laneWidth();

// Steps independent passes (at most 16) side by side until one of them ends; more[i] tells which
// are still going.
void stepUntilOneEnds(Pass* const* passes, size_t count, bool* more);

// What each path's translation unit provides.
struct PathSteps {
    size_t width;
    void (*stepUntilOneEnds)(Pass* const* passes, size_t count, bool* more);
};
extern const PathSteps kPlainSteps;
#if defined(__x86_64__)
extern const PathSteps kSse2Steps;
extern const PathSteps kAvx2Steps;
#endif

}  // namespace solve

// Two passes side by side in the halves of SSE2 registers (every x86-64 processor has them).
#include "Paths.h"
#include "LaneStepper.h"

namespace solve {
namespace {
double libraryExp(double x) { return std::exp(x); }

void sse2Steps(Pass* const* passes, size_t count, bool* more) {
    if (count == 1)
        stepUntilOneEndsIn<double>(passes, count, more, &libraryExp);
    else
        stepUntilOneEndsIn<Lanes2>(passes, count, more, &libraryExp);
}
}  // namespace

const PathSteps kSse2Steps{2, &sse2Steps};

}  // namespace solve

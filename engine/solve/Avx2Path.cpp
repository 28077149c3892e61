// Four passes side by side in AVX2 registers, the exponential computed inline with FMA where it
// gives the library's bits. This unit alone is compiled for AVX2 and FMA; it is only called on
// processors that have them (Dispatch.cpp), and everything in it but the table below has internal
// linkage, so no code built for AVX2 can stand in for another unit's.
#include "Paths.h"
#include "LaneStepper.h"

namespace solve {
namespace {
struct InlineExp {
    bool fused;
    double operator()(double x) const { return fused ? fused_exp::exp(x) : std::exp(x); }
    // All lanes at once where they are all on the inline exponential's main path.
    template <class D>
    D operator()(D x) const {
        if (fused && fused_exp::onMainPath(x)) return fused_exp::expLanes(x);
        for (size_t i = 0; i < sizeof(D) / sizeof(double); ++i) x[i] = (*this)(x[i]);
        return x;
    }
};

// The exponential on whole registers against the library's, once, on the integrator's small
// arguments and across the main path (fused_exp::usable checks the single one).
bool lanesMatchLibrary() {
    uint64_t state = 0x2545F4914F6CDD1DULL;
    for (int i = 0; i < 4096; ++i) {
        Lanes4 x;
        for (size_t j = 0; j < 4; ++j) {
            state ^= state << 13;
            state ^= state >> 7;
            state ^= state << 17;
            const double unit = static_cast<double>(state >> 11) / 9007199254740992.0 - 0.5;
            x[j] = i % 2 ? unit * 2e-3 : unit * 1000;
        }
        if (!fused_exp::onMainPath(x)) continue;
        const Lanes4 y = fused_exp::expLanes(x);
        for (size_t j = 0; j < 4; ++j)
            if (fused_exp::toBits(y[j]) != fused_exp::toBits(std::exp(x[j]))) return false;
    }
    return true;
}

void avx2Steps(Pass* const* passes, size_t count, bool* more) {
    static const bool fused = fused_exp::usable() && lanesMatchLibrary();
    const InlineExp exp{fused};
    if (count == 1)
        stepUntilOneEndsIn<double>(passes, count, more, exp);
    else if (count == 2)
        stepUntilOneEndsIn<Lanes2>(passes, count, more, exp);
    else
        stepUntilOneEndsIn<Lanes4>(passes, count, more, exp);
}
}  // namespace

const PathSteps kAvx2Steps{4, &avx2Steps};

}  // namespace solve

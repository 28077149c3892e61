// Four passes side by side in AVX2 registers, the exponential computed inline with FMA where it
// gives the library's bits. This unit alone is compiled for AVX2 and FMA; it is only called on
// processors that have them (Dispatch.cpp), and everything in it but the table below has internal
// linkage, so no code built for AVX2 can stand in for another unit's.
#include "Paths.h"
#include "Step.h"

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

void avx2Steps(Pass* const* passes, size_t count, bool* more) {
    const InlineExp exp{fused_exp::usable()};
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

// One pass at a time on doubles (several passes are stepped in turn, one step each).
#include "Paths.h"
#include "LaneStepper.h"

namespace solve {
namespace {
double libraryExp(double x) { return std::exp(x); }

void plainSteps(Pass* const* passes, size_t count, bool* more) {
    stepUntilOneEndsIn<double>(passes, count, more, &libraryExp);
}
}  // namespace

const PathSteps kPlainSteps{1, &plainSteps};

}  // namespace solve

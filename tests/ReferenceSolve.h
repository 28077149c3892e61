#pragma once
#include "BallisticSolver.h"

// The launch-angle solve written out plainly from its description, as the yardstick the engine's
// solves are held to bit for bit: pass after pass from the muzzle, the corrector's test taken as
// the quotient at every iteration, the sideways drift and the time added up at every step, the
// target row filled from the last step whose corrector did not end exactly on the tolerance, the
// Cd taken from DragFunc::cdAt. Leaves in the solver what the engine's solve leaves there that
// the tests compare (target row, end height, angle history, convergence, solve distance). For
// distances above 0 (at 0 the solve is a table pass of runPass).
double referenceSolve(BallisticSolver& s, double distance);

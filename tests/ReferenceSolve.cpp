#include "ReferenceSolve.h"

#include <algorithm>
#include <cmath>

#include "Angles.h"

namespace {
struct V3 {
    double x, y, z;
};

// One pass at s.launchAngle to s.solveDistance.
void plainPass(BallisticSolver& s) {
    const double K = s.densityFactor * s.dragConstant / s.effectiveBC;
    const double T0 = s.airTemperatureF + 459.67;
    const double step = s.stepFeet;
    struct Air {
        double soundSpeed, density;
    };
    auto airAt = [&](double y) {
        const double T = T0 * std::exp((s.temperatureLapse1 + s.temperatureLapse2 * y) * y);
        return Air{std::sqrt(T) * s.soundSpeedFactor, std::exp((s.densityLapse1 + s.densityLapse2 * y) * y)};
    };
    auto speedSquared = [&](const V3& u) {
        const double ax = u.x - s.windRange, az = u.z - s.windCross;
        return ax * ax + u.y * u.y + az * az;
    };
    auto derivative = [&](const V3& u, double V, const Air& air) {
        const double cd = s.dragFunction.cdAt(V / air.soundSpeed, s.reporter);
        const double U = cd * K * V * air.density / u.x;
        return V3{(u.x - s.windRange) * U, U * u.y - s.gravity / u.x, U * (u.z - s.windCross)};
    };

    const double theta = s.launchAngle / 3437.74677;
    V3 v{std::cos(theta) * s.launchSpeed, std::sin(theta) * s.launchSpeed, 0};
    double y = s.boreHeight / 12, z = 0, t = 0, d = 0;
    V3 F = derivative(v, std::sqrt(speedSquared(v)), airAt(y));
    bool incomplete = false, recorded = false;
    double last[6] = {};  // d, z, vx, vy, vz, t of the recorded step
    for (;;) {
        d = d + s.stepMetres;
        const Air air = airAt(y);
        V3 p{v.x + step * F.x, v.y + step * F.y, v.z + step * F.z};
        V3 G{};
        bool onTolerance = false;
        for (int iterations = 0;;) {
            const double V0 = std::sqrt(speedSquared(p));
            G = derivative(p, V0, air);
            p = {v.x + step * (G.x + F.x) / 2, v.y + step * (G.y + F.y) / 2, v.z + step * (G.z + F.z) / 2};
            const double V1 = std::sqrt(speedSquared(p));
            const double h = std::fabs(V1 - V0) / V1;
            onTolerance = h == s.tolerance;
            if (!(h > s.tolerance)) break;
            if (++iterations >= BallisticSolver::kMaxCorrectorIterations) {
                incomplete = true;
                break;
            }
        }
        const double groundSum = v.x + p.x;
        y = y + step * (v.y + p.y) / groundSum;
        z = z + step * (v.z + p.z) / groundSum;
        t = t + 2 * step / groundSum;
        v = p;
        F = G;
        if (!onTolerance) {
            const double state[6] = {d, z, p.x, p.y, p.z, t};
            std::copy(state, state + 6, last);
            recorded = true;
        }
        if (!(d < s.solveDistance)) break;
        if (d >= BallisticSolver::kMaxPassMetres) {
            incomplete = true;
            break;
        }
    }
    s.endHeight = y;
    if (incomplete) s.converged = false;
    if (recorded) {
        ResultsElement& row = s.targetRow;
        const double rd = last[0];
        const double speed = std::sqrt(last[2] * last[2] + last[3] * last[3] + last[4] * last[4]);
        row.distance = rd;
        row.horizontalCm = last[1] * 12 * 2.54;
        row.horizontalMil = row.horizontalCm * 10 / rd;
        row.horizontalMoa = rd > 30 ? moaAtDistance(row.horizontalCm, rd) : 0;
        row.horizontalClicks = row.horizontalMoa / s.clickHorizontal;
        row.velocity = speed / 3.280839895;
        row.energy = speed * speed * s.bulletWeightGrains / 450400 * 1.357;
        row.timeOfFlight = last[5];
    }
    if (s.targetDistance == 0) {
        s.targetRow.energy = 0;
        s.targetRow.timeOfFlight = 0;
        s.targetRow.velocity = s.correctedMuzzleVelocity;
    }
}
}  // namespace

double referenceSolve(BallisticSolver& s, double distance) {
    s.prepareInputs();
    s.boreHeight = -s.boreHeight;
    s.outputStep = s.tableStep;
    s.passMaxDistance = s.tableMaxDistance;
    s.solveDistance = distance;
    s.windRange = s.windRange * 22 / 15;
    s.windCross = s.windCross * 22 / 15;
    s.launchAngle = 0;
    s.converged = !std::isnan(distance);
    for (int k = 1;; ++k) {
        plainPass(s);
        if (std::fabs(s.endHeight) < 0.00001) {
            s.solveDistance = 0;
            return s.launchAngle;
        }
        s.angleHistory[k] = s.launchAngle;
        s.heightHistory[k] = s.endHeight;
        const double next = k == 1 ? s.launchAngle + 2
                                   : s.angleHistory[k] + (0 - s.heightHistory[k]) *
                                                             (s.angleHistory[k - 1] - s.angleHistory[k]) /
                                                             (s.heightHistory[k - 1] - s.heightHistory[k]);
        s.angleHistory[k + 1] = next;
        if (k < BallisticSolver::kMaxPasses) {
            s.launchAngle = next;
        } else {
            s.converged = false;
            return s.launchAngle;
        }
    }
}

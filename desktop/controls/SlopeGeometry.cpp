#include "SlopeGeometry.h"

#include <algorithm>
#include <cmath>

namespace slope {

namespace {
constexpr double kPi = 3.141592653589793;
}

Pixel polarOffset(double length, double degrees) {
    const double a = std::fabs(degrees) * kPi / 180.0;
    const int x = static_cast<int>(length * std::cos(a));
    const int y = static_cast<int>(length * std::sin(a));
    return Pixel{x, degrees >= 0 ? y : -y};
}

int angleOf(Pixel target, Pixel shooter) {
    // Left of the shooter the ratio's sign would turn the angle over: such a target gives 0 as one
    // at his own x does.
    if (target.x <= shooter.x) return 0;
    const double ratio = static_cast<double>(target.y - shooter.y) / static_cast<double>(target.x - shooter.x);
    const double degrees = std::floor(std::atan(ratio) * -180.0 / kPi + 0.5);
    return static_cast<int>(std::clamp(degrees, static_cast<double>(-kSteepest), static_cast<double>(kSteepest)));
}

Pixel targetOf(double degrees, int width, int height) {
    const Pixel shooter{0, height / 2};
    const double length = std::fabs(degrees) < 30.0 ? width * 0.9 / std::cos(degrees * kPi / 180.0)
                                                    : (height / 2) * 0.9 / std::sin(std::fabs(degrees) * kPi / 180.0);
    const Pixel offset = polarOffset(length, degrees);
    return Pixel{shooter.x + offset.x, shooter.y - offset.y};
}

Pixel clampedInside(Pixel p, int width, int height) {
    // Left of the shooter the pointer counts as just right of him; at his own x it stays (level).
    const int x = p.x < 0 ? 1 : std::min(p.x, std::max(1, width - 1));
    return Pixel{x, std::clamp(p.y, 0, std::max(0, height - 1))};
}

}  // namespace slope

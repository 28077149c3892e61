#include "WindClock.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace windclock {

namespace {
constexpr double kPi = 3.141592653589793;
constexpr double kRadiansPerDegree = kPi / 180;
constexpr double kDegreesPerRadian = 180 / kPi;
}  // namespace

Layout layoutFor(int width, int height) {
    Layout l;
    l.cx = width / 2;
    l.cy = height / 2;
    l.radius = static_cast<int>(std::min(l.cx, l.cy) * 0.98);
    return l;
}

double thetaOfAzimuth(double azimuth) {
    if (!std::isfinite(azimuth)) azimuth = 0;
    // fmod is exact and takes no time whatever the size: 1e300 needs no loop of turns.
    if (azimuth < -360 || azimuth > 360) azimuth = std::fmod(std::trunc(azimuth), 360.0);
    const double theta = std::acos(std::sin(azimuth * kRadiansPerDegree)) * kDegreesPerRadian;
    return azimuth >= -90 && azimuth <= 90 ? theta : -theta;
}

double azimuthOfTheta(double theta) {
    const double azimuth = std::acos(std::sin(theta * kRadiansPerDegree)) * kDegreesPerRadian;
    return theta >= -90 && theta <= 90 ? azimuth : -azimuth;
}

double thetaOfPoint(int x, int y, int cx, int cy) {
    const double dx = x - cx;
    const double dy = y - cy;
    if (dx > 0) return -std::atan(dy / dx) * kDegreesPerRadian;
    if (dx < 0) return (dy > 0 ? -kPi - std::atan(dy / dx) : kPi - std::atan(dy / dx)) * kDegreesPerRadian;
    return dy > 0 ? -90 : 90;
}

Offset polarOffset(double length, double degrees) {
    const double a = std::fabs(degrees) * kRadiansPerDegree;
    Offset o{static_cast<int>(length * std::cos(a)), static_cast<int>(length * std::sin(a))};
    if (degrees < 0) o.y = -o.y;
    return o;
}

std::string azimuthText(double azimuth) {
    char text[64];
    std::snprintf(text, sizeof text, "%.0f", azimuth);
    std::string s = text;
    if (s == "-0") s = "0";  // a hair left of 12 o'clock is still 0
    return s + "°";
}

double roundedAzimuth(double azimuth) { return std::floor(azimuth + 0.5); }

}  // namespace windclock

#pragma once
#include <cmath>

// The angle, in MOA, under which `cm` centimetres are seen from `distance` metres. Every
// correction in MOA is computed through it.
inline double moaAtDistance(double cm, double distance) {
    return std::atan(cm / (distance * 100)) * 360 * 60 / 6283.185307179586 * 1000;
}

#pragma once
#include <cmath>

// floor(x * 10^n + 0.5) / 10^n: the rounding of every displayed or stored rounded value.
inline double RoundTo(double x, int n) {
    double scale = 1.0;
    for (int i = 0; i < n; ++i) scale *= 10.0;
    return std::floor(x * scale + 0.5) / scale;
}

#include "CurveAdjust.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

bool shapesTheCurve(CurveButton b) { return b != CurveButton::Raise && b != CurveButton::Lower; }

std::string numberText(double v, const char* format) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, format, v);
    return buffer;
}

}  // namespace

CurveAdjustResult adjustCurve(std::vector<DragElement>& points, CurveButton button, double step) {
    CurveAdjustResult result;
    result.button = button;
    if (!std::isfinite(step) || !(step > 0)) {
        result.end = CurveAdjustEnd::BadStep;
        return result;
    }
    if (points.empty()) {
        result.end = CurveAdjustEnd::NoPoints;
        return result;
    }

    // The new table is worked out whole first, so that a refused press leaves every point as it was.
    std::vector<DragElement> next = points;
    if (!shapesTheCurve(button)) {
        for (DragElement& p : next) {
            if (button == CurveButton::Raise)
                p.cd += step;
            else
                p.cd -= step;
        }
    } else {
        // The peak: the first point whose Cd is above every Cd before it, starting from 0.
        const int n = static_cast<int>(points.size());
        int peak = -1;
        double largest = 0.0;
        for (int i = 0; i < n; ++i) {
            if (points[i].cd > largest) {
                largest = points[i].cd;
                peak = i;
            }
        }
        if (peak < 0) {
            result.end = CurveAdjustEnd::NoPointAboveZero;
            return result;
        }
        const double mp = points[peak].mach;
        const double ml = points[n - 1].mach;
        // Both adjustments divide by this distance; the peak at the last point leaves none.
        if (!(ml - mp != 0)) {
            result.end = CurveAdjustEnd::PeakAtLastPoint;
            return result;
        }
        const bool peakMoves = button == CurveButton::LowerPeak || button == CurveButton::RaisePeak;
        const double x = (button == CurveButton::LowerPeak || button == CurveButton::LowerRight) ? step : -step;
        for (int k = 0; k < n; ++k) {
            if (k <= 3 || k <= peak - 3) continue;
            const double mk = points[k].mach;
            if (peakMoves)
                next[k].cd -= x * (ml - mk) / (ml - mp);
            else
                next[k].cd -= x * (mk - mp) / (ml - mp);
        }
    }

    bool moved = false;
    for (size_t k = 0; k < next.size(); ++k) {
        if (next[k].cd == points[k].cd) continue;
        moved = true;
        if (!std::isfinite(next[k].cd) || !(next[k].cd > 0)) {
            result.end = CurveAdjustEnd::WouldReachZero;
            result.point = k;
            result.mach = next[k].mach;
            result.cd = next[k].cd;
            return result;
        }
    }
    if (!moved) {
        result.end = CurveAdjustEnd::NothingMoves;
        return result;
    }
    points = std::move(next);
    return result;
}

std::string curveAdjustMessage(const CurveAdjustResult& r) {
    switch (r.end) {
        case CurveAdjustEnd::Changed: return {};
        case CurveAdjustEnd::BadStep: return "Шаг должен быть числом больше 0";
        case CurveAdjustEnd::NoPoints: return "Драг-функция не содержит данных";
        case CurveAdjustEnd::NoPointAboveZero:
            return "Ни один драг-коэффициент не больше 0: у графика нет вершины.\nГрафик не изменён.";
        case CurveAdjustEnd::PeakAtLastPoint:
            return "Вершина графика - последняя точка: правее неё точек нет.\nГрафик не изменён.";
        case CurveAdjustEnd::NothingMoves:
            if (!shapesTheCurve(r.button))
                return "Шаг слишком мал: ни один драг-коэффициент не изменился.\nГрафик не изменён.";
            return "Вершину и правую сторону двигают только точки после четвёртой;\n"
                   "в этой драг-функции ни одна точка не сдвинулась бы. График не изменён.";
        case CurveAdjustEnd::WouldReachZero: {
            const std::string cd = std::isfinite(r.cd) ? numberText(r.cd, "%.4g") : "не числом";
            return "Драг-коэффициент точки " + std::to_string(r.point + 1) + " (" + numberText(r.mach, "%.3f") +
                   " Маха) стал бы " + cd + ", а он должен быть больше 0.\nГрафик не изменён: уменьшите шаг.";
        }
    }
    return {};
}

void sortByMach(std::vector<DragElement>& points) {
    std::stable_sort(points.begin(), points.end(), [](const DragElement& a, const DragElement& b) {
        if (std::isnan(a.mach)) return false;
        if (std::isnan(b.mach)) return true;
        return a.mach < b.mach;
    });
}

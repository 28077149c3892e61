#include "BulletReport.h"

#include <cmath>
#include <cstdio>

#include "CBulletDimensions.h"
#include "TextCodec.h"

namespace {
constexpr const char* kUndefined = "не определено";

// The value in a printf format with one conversion, or kUndefined when it is no number.
std::string formatted(const char* format, double v) {
    if (!std::isfinite(v)) return kUndefined;
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, format, v);
    return buffer;
}
}  // namespace

std::string bulletReportText(const CBulletDimensions& b) {
    std::string text = cp1251ToUtf8(b.nameText());
    text += "\nНач.скорость пули, м/сек - " + formatted("%.2f", b.velocity);
    // "%.15g", not a whole number: a 1:11.5 twist is not a 1:11 one.
    text += "\nШаг нарезов, дюймы - " + formatted("%.15g", b.twist);
    text += "\nВес пули, граммы - " + formatted("%.2f", b.weight);
    switch (b.noseShape) {
        case NoseShape::Secant:
            text += "\nФорма носика - секантная\nРадиус, в калибрах - " + formatted("%.1f", b.ogiveRadius);
            break;
        case NoseShape::Conical:
            text += "\nФорма носика - коническая";
            break;
        default:
            text += "\nФорма носика - тангенциальная";
            break;
    }
    text += "\nДлина пули (L), мм = " + formatted("%.2f", b.length);
    text += "\nДиаметр пули (D), мм = " + formatted("%.2f", b.diameter);
    text += "\nДлина носика пули (L1), мм = " + formatted("%.2f", b.noseLength);
    text += "\nДиаметр носика пули (D1), мм = " + formatted("%.2f", b.meplatDiameter);
    text += "\nДлина донца пули (L2), мм = " + formatted("%.2f", b.boatTailLength);
    text += "\nДиаметр донца пули (D2), мм = " + formatted("%.2f", b.baseDiameter);
    return text;
}

#include "BCdrag.h"

#include <cmath>

#include "CBulletDimensions.h"
#include "DragFunc.h"
#include "RoundTo.h"
#include "StandardDragSet.h"

namespace {
constexpr double kMmPerInch = 25.4;
constexpr double kGrainsPerGram = 15.432358353;
constexpr double kSpeedOfSound = 341.0;  // m/s, fixed for the muzzle Mach number
constexpr double kPi = 3.141592653589793;

bool isSecant(int32_t shape) { return shape == 1; }
bool isConical(int32_t shape) { return shape == 2; }

// The ratio of the tangent radius to the actual ogive radius: 1 for a tangent ogive, 0 for a cone.
double shapeCoefficient(int32_t shape, double tangentRadius, double secantRadius, double d) {
    if (isSecant(shape)) return tangentRadius / (secantRadius / d);
    if (isConical(shape)) return 0.0;
    return 1.0;
}

// Nose volume of an ogive of radius rho, a midpoint sum over ten slices from the shoulder towards
// the tip; slice k lies at x0 + (k + 0.5) dx and has the radius sqrt(rho² - x²) + g.
double ogiveVolume(double l1, double rho, double x0, double g) {
    const double dx = l1 / 10;
    double volume = 0.0;
    for (int k = 0; k < 10; ++k) {
        const double x = x0 + (k + 0.5) * dx;
        const double r = std::sqrt(rho * rho - x * x) + g;
        volume += kPi * dx * r * r;
    }
    return volume;
}
}  // namespace

std::string_view referenceModelName(ReferenceModel model) { return model == ReferenceModel::G1 ? "G1" : "G7"; }

std::vector<BCdragWarning> BCdragWarnings::inOrder() const {
    std::vector<BCdragWarning> out;
    for (BCdragWarning w : {BCdragWarning::NoseTooShort, BCdragWarning::NoseTooBlunt, BCdragWarning::BaseTooSmall,
                            BCdragWarning::BoatTailTooLong}) {
        if (has(w)) out.push_back(w);
    }
    return out;
}

std::string_view bcDragWarningText(BCdragWarning w) {
    switch (w) {
        case BCdragWarning::NoseTooShort:
            return "Носик пули слишком короткий\nСопротивление будет слишком высоко\nдля сверхзвуковых скоростей";
        case BCdragWarning::NoseTooBlunt:
            return "Носик пули слишком тупой\nСопротивление будет слишком высоко\nдля сверхзвуковых скоростей";
        case BCdragWarning::BaseTooSmall:
            return "Диаметр донца пули слишком маленький\nРасчет может быть некорректным";
        case BCdragWarning::BoatTailTooLong:
            return "Длина донца пули слишком большая\nРасчет может быть некорректным";
    }
    return {};
}

std::string bcDragUnusableText(const BCdragCheck& c) {
    std::string what;
    auto add = [&what](bool ok, const char* name) {
        if (!ok) what += (what.empty() ? "" : ", ") + std::string(name);
    };
    add(c.ballisticCoefficient, "баллистический коэффициент");
    add(c.sectionalDensity, "поперечная нагрузка");
    add(c.twistForStability, "оптимальный шаг нарезов");
    add(c.stabilityFactor, "фактор стабильности");
    add(c.dragTable, "драг-функция");
    return what;
}

void BCdrag::takeBullet(const CBulletDimensions& bullet) {
    noseShape = static_cast<int32_t>(bullet.noseShape);
    velocity = bullet.velocity;
    length = bullet.length;
    diameter = bullet.diameter;
    noseLength = bullet.noseLength;
    meplatDiameter = bullet.meplatDiameter;
    baseDiameter = bullet.baseDiameter;
    boatTailLength = bullet.boatTailLength;
    twist = bullet.twist;
    ogiveRadius = bullet.ogiveRadius;
    weight = bullet.weight;
}

BCdragWarnings BCdrag::Calculate() {
    BCdragWarnings warnings;
    const double mach = velocity / kSpeedOfSound;
    d = diameter / kMmPerInch;
    const double l = length / kMmPerInch;
    const double l1 = noseLength / kMmPerInch;
    const double d1 = meplatDiameter / kMmPerInch;
    const double d2 = baseDiameter / kMmPerInch;
    const double l2 = boatTailLength / kMmPerInch;
    twistUsed = twist;
    secantRadius = ogiveRadius * d;
    lengthRatio = l / d;
    noseLengthRatio = l1 / d;

    if (noseLengthRatio <= 1) warnings.add(BCdragWarning::NoseTooShort);
    meplatDiameterRatio = d1 / d;
    if (meplatDiameterRatio >= 0.5) warnings.add(BCdragWarning::NoseTooBlunt);

    noseDrop = (d - d1) * 0.5;
    const double h = noseDrop;
    const double rt = (h * h + l1 * l1) / (2 * h);  // tangent ogive radius, inches
    tangentRadius = rt / d;
    tangentRadiusDerived = tangentRadius;

    baseDiameterRatio = d2 / d;
    if (baseDiameterRatio < 0.65) warnings.add(BCdragWarning::BaseTooSmall);

    sectionalDensity = weight * kGrainsPerGram / 7000 / (d * d);

    if (!isSecant(noseShape) && !isConical(noseShape)) noseShape = 0;
    const double kappa = shapeCoefficient(noseShape, tangentRadius, secantRadius, d);

    // Volumes in cubic inches.
    const double cylinder = (l - l1 - l2) * 0.7854 * (d * d);
    const double boatTail = (d2 * d2 + d2 * d + d * d) * l2 * 0.2618;
    double nose = 0.0;
    if (isConical(noseShape)) {
        nose = l1 * (kPi * (d * d) * 0.25) / 3;
    } else if (isSecant(noseShape)) {
        const double r = secantRadius;
        const double chord = std::sqrt(l1 * l1 + h * h);
        const double alpha = std::atan(h / l1);
        const double sagitta = r - std::sqrt(4 * r * r - chord * chord) / 2;
        const double x0 = r * std::sin(alpha) - l1 / 2;
        const double g = (d1 + d) / 4 + sagitta / std::cos(alpha) - r * std::cos(alpha);
        nose = ogiveVolume(l1, r, x0, g);
    } else {
        nose = ogiveVolume(l1, rt, 0.0, -(rt - d / 2));
    }
    // Average density relative to water.
    const double density = (weight * kGrainsPerGram) / ((nose + boatTail + cylinder) * 252.7);

    // Velocity terms of the stability estimate.
    double q = 0.0;
    if (mach <= 0.95) {
        q = 3.726 * mach / std::sqrt(1 - mach * mach) + 20.082;
    } else if (mach < 1.1) {
        q = 71.73001 - 42.433 * mach;
    } else {
        q = 35.079 - 24.066 * std::sqrt(mach * mach - 1) / mach;
    }
    q *= 1 - baseDiameterRatio * baseDiameterRatio;
    double f = 0.0;
    double b = 0.0;
    if (mach < 1) {
        const double c = std::sqrt(1 - mach * mach);
        f = c * (((8.977 - 12.804 * kappa + 8.38 * kappa * kappa) * noseLengthRatio + 24.091) *
                 std::sqrt(1 - meplatDiameterRatio)) +
            34.779;
        b = 0.36971 * c + 0.82112;
    } else {
        const double s = std::sqrt(mach * mach - 1) / mach;
        f = s * s * (((14.15 - 15.348 * kappa + 7.216 * kappa * kappa) * noseLengthRatio + 8.115) *
                     std::sqrt(1 - meplatDiameterRatio)) +
            58.873;
        b = 0.23379 * s + 1.0528 - 0.004884 * (mach - 1);
    }

    const double t15 = std::sqrt(density) * (f - q) * d / std::pow(lengthRatio, b);
    stabilityFactor = RoundTo(1.5 * ((t15 / twistUsed) * (t15 / twistUsed)), 2);
    twistForStability = RoundTo(t15, 1);

    boatTailLengthRatio = l2 / d;
    if (boatTailLengthRatio >= 1.5) warnings.add(BCdragWarning::BoatTailTooLong);

    formFactor = FormFactorAtMach(mach);
    ballisticCoefficient = RoundTo(sectionalDensity / formFactor, 3);
    ballisticCoefficientModel = referenceModel == 0 ? ReferenceModel::G1 : ReferenceModel::G7;
    return warnings;
}

double BCdrag::CdAtMach(double mach) const {
    return EstimateZeroYawCd(mach, d, lengthRatio, noseLengthRatio, boatTailLengthRatio, baseDiameterRatio,
                             meplatDiameterRatio, secantRadius, tangentRadiusDerived, noseShape);
}

double BCdrag::FormFactorAtMach(double mach) const {
    const double reference = referenceModel == 0 ? cdG1Fixed(mach) : cdG7Fixed(mach);
    return CdAtMach(mach) / reference;
}

const std::array<double, BCdrag::kTablePoints>& BCdrag::tableMachNumbers() {
    // Each number is made from whole thousandths by one division, so it is the double nearest the
    // decimal it names (no step is added up).
    static const std::array<double, kTablePoints> kMach = [] {
        std::array<double, kTablePoints> m{};
        size_t i = 0;
        m[i++] = 0.0;
        for (int k = 50; k <= 600; k += 50) m[i++] = k / 1000.0;
        m[i++] = 700 / 1000.0;
        for (int k = 725; k <= 1025; k += 25) m[i++] = k / 1000.0;
        for (int k = 1400; k <= 2500; k += 50) m[i++] = k / 1000.0;
        for (int k = 2600; k <= 4000; k += 100) m[i++] = k / 1000.0;
        for (int k = 4200; k <= 5000; k += 200) m[i++] = k / 1000.0;
        return m;
    }();
    return kMach;
}

std::vector<DragElement> BCdrag::estimatedDragTable() const {
    std::vector<DragElement> table;
    table.reserve(kTablePoints);
    for (double mach : tableMachNumbers()) {
        // Mach 0 itself would divide by zero in the base and meplat terms.
        table.push_back({mach, CdAtMach(mach == 0.0 ? 0.04 : mach)});
    }
    return table;
}

BCdragCheck BCdrag::check(const std::vector<DragElement>& table) const {
    BCdragCheck c;
    c.sectionalDensity = std::isfinite(sectionalDensity) && RoundTo(sectionalDensity, 3) > 0;
    c.stabilityFactor = std::isfinite(stabilityFactor);
    c.twistForStability = std::isfinite(twistForStability);
    c.ballisticCoefficient = std::isfinite(ballisticCoefficient);
    for (size_t i = 0; i < table.size(); ++i) {
        const DragElement& p = table[i];
        if (!std::isfinite(p.mach) || !std::isfinite(p.cd) || !(p.cd > 0)) {
            c.firstBadPoint = static_cast<int>(i);
            break;
        }
    }
    c.dragTable = table.size() == static_cast<size_t>(kTablePoints) && c.firstBadPoint < 0;
    return c;
}

void BCdrag::fillDragFunc(DragFunc& f, std::string_view bulletName, const std::vector<DragElement>& table) const {
    f.points = table;
    f.setName(bulletName);
    f.sectionalDensity = RoundTo(sectionalDensity, 3);
    f.stabilityFactor = stabilityFactor;
    f.twist = twistUsed;
    f.bulletLength = RoundTo(length / kMmPerInch, 3);
    f.bulletDiameter = RoundTo(diameter / kMmPerInch, 3);
    f.bulletWeight = std::floor(weight * kGrainsPerGram + 0.5);
}

double EstimateZeroYawCd(double mach, double d, double lengthRatio, double noseLengthRatio,
                         double boatTailLengthRatio, double baseDiameterRatio, double meplatDiameterRatio,
                         double secantRadius, double tangentRadius, int32_t noseShape) {
    const double m = mach;
    const double m2 = m * m;
    const double lambda = lengthRatio;
    const double lambdaN = noseLengthRatio;
    const double lambdaB = boatTailLengthRatio;
    const double deltaB = baseDiameterRatio;
    const double deltaM = meplatDiameterRatio;
    const double kappa = shapeCoefficient(noseShape, tangentRadius, secantRadius, d);

    const double tau = (1 - deltaM) / lambdaN;
    const double re = 23296.3 * m * lambda * (kMmPerInch * d);

    // Skin friction: laminar over the nose, turbulent over the body (the boat-tail counts as body).
    const double sn = 1.5708 * lambdaN * (1 + kappa * (0.3333 + 0.02 / (lambdaN * lambdaN))) *
                      (1 + 1 / (8 * (lambdaN * lambdaN)));
    const double sc = 3.1416 * (lambda - lambdaN);
    const double s = sn + sc;
    const double cft = 0.455 / std::pow(0.4343 * std::log(re), 2.58);
    const double cfl = 1.328 / std::sqrt(re);
    const double cdSkin =
        1.2732 * s * (cfl * std::pow(1 + 0.12 * m2, -0.12) * sn + cft * std::pow(1 + 0.21 * m2, -0.32) * sc) / s;

    const double x = (m2 - 1) / (2.4 * m2);

    // Meplat.
    const double p = m > 1 ? std::pow(1.2 * m2, 3.5) * std::pow(6 / (7 * m2 - 1), 2.5) : std::pow(1 + 0.2 * m2, 3.5);
    const double bm = (p - 1) * 1.122 * (deltaM * deltaM) / m2;
    double cdMeplat = 0.0;
    if (m <= 0.91) {
        cdMeplat = 0.0;
    } else if (m < 1.41) {
        cdMeplat = bm * (0.254 + 2.88 * x);
    } else {
        cdMeplat = bm * 0.85;
    }

    // Base.
    const double m4 = m2 * m2;
    const double pr = m < 1 ? 1 / (1 + 0.1875 * m2 + 0.0531 * m4) : 1 / (1 + 0.2477 * m2 + 0.0345 * m4);
    double pb = (1 + 0.09 * m2 * (1 - std::exp(lambdaN - lambda))) * (1 + 0.25 * m2 * (1 - deltaB)) * pr;
    if (pb < 0) pb = 0;
    const double cdBase = (1 - pb) * 1.4286 * (deltaB * deltaB) / m2;

    // Boat-tail.
    double cdBoatTail = 0.0;
    if (lambdaB > 0 && m > 0.85) {
        const double tb = (1 - deltaB) / (2 * lambdaB);
        const double tb2 = tb * tb;
        const double tb3 = tb2 * tb;
        const double e2 = std::exp(-2 * lambdaB);
        if (m <= 1) {
            cdBoatTail = (1 / (0.564 + 1250 * (x * x))) * (2 * (tb3 + 2 * tb2)) *
                         ((1 - e2) + 2 * tb * ((lambdaB + 0.5) * e2 - 0.5));
        } else if (m <= 1.1) {
            cdBoatTail = ((1 - e2) + 2 * tb * ((lambdaB + 0.5) * e2 - 0.5)) * (2 * (2 * tb2 + tb3)) * (1.774 - 9.3 * x);
        } else {
            const double beta = std::sqrt(m2 - 1);
            const double k = beta / 0.85;
            const double e = std::exp(-0.85 * lambdaB / beta);
            const double a1 = (tau / 2) * (tau / 2) + 5 * tau / (6 * beta);
            const double a = (1 - 0.6 * kappa / m) * (a1 - (0.7435 / m2) * std::pow(tau * m, 1.6));
            const double beta2 = beta * beta;
            const double bt = a * std::exp(-1.1952 / m * (lambda - lambdaN - lambdaB)) -
                              (2.4 * m4 - 4 * beta2) * tb2 / (2 * (beta2 * beta2)) + 2 * tb / beta;
            cdBoatTail = 4 * tb * bt * k * ((1 - e) + 2 * tb * ((lambdaB + k) * e - k));
        }
    }

    // Nose pressure; none below Mach 1.
    double cdHead = cdMeplat;
    if (m > 1) {
        const double mh = 1 + 0.368 * std::pow(tau, 1.85);
        const double betaH = m >= mh ? std::sqrt(m2 - 1) : std::sqrt(mh * mh - 1);
        cdHead = std::pow(betaH * tau, 1.587 + 0.049 * kappa + (0.1122 + 0.1658 * kappa) * tau) *
                     (1 / (betaH * betaH)) *
                     (0.7156 - 0.5313 * kappa + 0.595 * (kappa * kappa) - (0.0796 + 0.0779 * kappa) * (tau * tau)) +
                 cdMeplat;
    }

    return cdBoatTail + cdHead + cdSkin + cdBase;
}

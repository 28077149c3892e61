#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "DragElement.h"

class CBulletDimensions;
class DragFunc;

// The drag law a ballistic coefficient refers to. In BCdrag::referenceModel 0 is G1 and any other
// value G7.
enum class ReferenceModel : int32_t { G1 = 0, G7 = 1 };

std::string_view referenceModelName(ReferenceModel model);  // "G1", "G7"

// The four doubts about a bullet's shape that the estimate still computes through. The dialog shows
// each one it gets, in this order.
enum class BCdragWarning : unsigned {
    NoseTooShort = 1u << 0,     // L1/d <= 1
    NoseTooBlunt = 1u << 1,     // D1/d >= 0.5
    BaseTooSmall = 1u << 2,     // D2/d < 0.65
    BoatTailTooLong = 1u << 3,  // L2/d >= 1.5
};

struct BCdragWarnings {
    unsigned bits = 0;

    bool has(BCdragWarning w) const { return (bits & static_cast<unsigned>(w)) != 0; }
    bool any() const { return bits != 0; }
    void add(BCdragWarning w) { bits |= static_cast<unsigned>(w); }
    // The warnings that are set, in the order they are shown.
    std::vector<BCdragWarning> inOrder() const;
    friend bool operator==(BCdragWarnings, BCdragWarnings) = default;
};

// The message box text of a warning (UTF-8).
std::string_view bcDragWarningText(BCdragWarning w);

// Which results of the last Calculate (and its drag table) can be shown and handed on: each is a
// finite number, the sectional density (as rounded for the drag function) and every Cd above 0.
// A zero weight gives a sectional density of 0, which the solver would refuse; a secant radius
// shorter than the nose allows gives no stability at all.
struct BCdragCheck {
    bool sectionalDensity = false;
    bool stabilityFactor = false;
    bool twistForStability = false;
    bool ballisticCoefficient = false;
    bool dragTable = false;   // 70 points, every Mach and Cd finite, every Cd above 0
    int firstBadPoint = -1;   // index of the first point that fails, -1 when none does

    bool usable() const {
        return sectionalDensity && stabilityFactor && twistForStability && ballisticCoefficient && dragTable;
    }
};

// The results that cannot be used, in the order the calculator shows them, as a Russian list
// ("поперечная нагрузка, фактор стабильности"); empty when all can.
std::string bcDragUnusableText(const BCdragCheck& c);

// The drag, ballistic coefficient and stability of a bullet estimated from its measured shape
// (a component-by-component zero-yaw drag estimate, no rotating band). Inputs in mm, m/s, grams,
// inches per turn and calibres; the working values are inches. Nothing is checked: inputs that
// make a root or a logarithm undefined give results that are not numbers, and check() says which.
class BCdrag {
public:
    static constexpr int kTablePoints = 70;

    BCdrag() = default;
    BCdrag(const BCdrag&) = default;
    BCdrag& operator=(const BCdrag&) = default;
    virtual ~BCdrag() = default;

    // Inputs.
    int32_t noseShape = 1;       // NoseShape values; anything but Secant 1 and Conical 2 is Tangent
    int32_t referenceModel = 0;  // 0 = G1, else G7
    double velocity = 0.0;       // muzzle velocity, m/s
    double length = 0.0;         // L, mm
    double diameter = 0.0;       // D, mm
    double noseLength = 0.0;     // L1, mm, from the tip to the start of the cylinder
    double meplatDiameter = 0.0; // D1, mm
    double baseDiameter = 0.0;   // D2, mm (D when there is no boat-tail)
    double boatTailLength = 0.0; // L2, mm (0 when there is none)
    double twist = 0.0;          // inches per turn
    double twistUsed = 0.0;      // the twist the outputs refer to (copied by Calculate)
    double ogiveRadius = 0.0;    // secant ogive radius, calibres (Secant only)
    double weight = 0.0;         // grams

    // Outputs of Calculate.
    double stabilityFactor = 0.0;      // at twistUsed, to 2 decimals
    double formFactor = 0.0;           // Cd / reference Cd at the muzzle Mach number
    double sectionalDensity = 0.0;     // lb/in², not rounded
    double tangentRadius = 0.0;        // calibres: the tangent ogive from the meplat to D over L1
    double twistForStability = 0.0;    // inches per turn for a stability factor of 1.5, to 0.1
    double ballisticCoefficient = 0.0; // sectionalDensity / formFactor, to 3 decimals
    ReferenceModel ballisticCoefficientModel = ReferenceModel::G1;  // the law the BC refers to

    // Derived values the drag estimate reads (inches; ratios in calibres).
    double d = 0.0;
    double lengthRatio = 0.0;          // L/d
    double noseLengthRatio = 0.0;      // L1/d
    double boatTailLengthRatio = 0.0;  // L2/d
    double baseDiameterRatio = 0.0;    // D2/d
    double meplatDiameterRatio = 0.0;  // D1/d
    double noseDrop = 0.0;             // h = (d - D1) / 2
    double secantRadius = 0.0;         // R = ogiveRadius * d
    double tangentRadiusDerived = 0.0;

    // The inputs from a bullet record (the twist as it is, in inches); the model is left alone.
    void takeBullet(const CBulletDimensions& bullet);

    // Derived values and outputs from the inputs; a shape other than Secant or Conical is stored
    // back as Tangent (0). Returns the doubts about the shape, to be shown in their order.
    BCdragWarnings Calculate();

    // Estimated zero-yaw Cd at a Mach number, from the last Calculate and the current noseShape.
    double CdAtMach(double mach) const;
    // CdAtMach over the reference law's Cd (G1 when referenceModel is 0, else G7) at that Mach.
    double FormFactorAtMach(double mach) const;

    // The 70 Mach numbers of an estimated drag function, each the exact decimal it names.
    static const std::array<double, kTablePoints>& tableMachNumbers();
    // The estimated drag table: the first point, Mach 0, takes the Cd at Mach 0.04.
    std::vector<DragElement> estimatedDragTable() const;

    // Which of the results of the last Calculate and the given table can be used.
    BCdragCheck check(const std::vector<DragElement>& table) const;

    // Fills the drag function the estimate hands back: its points, name (cut to 49 bytes), the
    // rounded sectional density, stability factor, twist and the bullet's size in inches and whole
    // grains. Its description, number and kind stay as they are.
    void fillDragFunc(DragFunc& f, std::string_view bulletName, const std::vector<DragElement>& table) const;
};

// The drag estimate itself: d and R in inches, the ratios in calibres, noseShape as in BCdrag.
// Mach 0 is never passed (the base and meplat terms divide by M²).
double EstimateZeroYawCd(double mach, double d, double lengthRatio, double noseLengthRatio,
                         double boatTailLengthRatio, double baseDiameterRatio, double meplatDiameterRatio,
                         double secantRadius, double tangentRadius, int32_t noseShape);

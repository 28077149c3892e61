#pragma once
#include "BallisticSolver.h"
#include "Calculators.h"
#include "Dialog.h"
#include "Shot.h"
#include "ShotInputs.h"

// "Доп.данные": what else the last calculation tells about the shot at its target distance, with the
// lead of a moving target, the spin drift and the vertical drift of a cross wind, each in a unit the
// shooter picks. The opener keeps the two unit choices (driftUnit(), leadUnit()) however the dialog
// was closed.
class CDlgAddInfo : public ui::Dialog {
public:
    enum : int {
        IDD = 173,
        kCorrectedMuzzleVelocity = 1060,
        kTargetVelocity = 1061,
        kTargetMach = 1062,
        kSpeedOfSound = 1063,
        kTimeOfFlight = 1064,
        kClickValue = 1065,
        kTargetSpeed = 1066,
        kLead = 1067,
        kLeadUnit = 1068,
        kSpinDrift = 1069,
        kVerticalDrift = 1070,
        kDriftUnit = 1071,
    };

    // What the calculator worked out for its target distance, rounded as it shows them.
    struct Values {
        double correctedMuzzleVelocity = 0.0;  // m/s
        double targetVelocity = 0.0;           // m/s
        double targetMach = 0.0;
        double speedOfSound = 0.0;             // m/s
        double timeOfFlight = 0.0;             // s
        double clickValueCm = 0.0;             // one vertical click at the distance, cm
    };

    // The values of a computed shot, rounded as the calculators show them.
    static Values valuesOf(const ShotAnswer& answer, const ShotInputs& inputs);

    static constexpr double kDefaultTargetSpeed = 4.0;  // km/h, a walking man

    // The solver is the calculator's, zeroed and solved at its target distance; it is only read.
    // The units are list indexes (см, MOA, MIL, клики); one out of range counts as см.
    CDlgAddInfo(const BallisticSolver& solver, const Values& values, int driftUnit, int leadUnit, bool manualDrift,
                double manualDriftPercent, ui::Dialog* parent = nullptr);
    // The same on another layout of the same controls (the handheld's screen).
    CDlgAddInfo(ui::DialogTemplate layout, const BallisticSolver& solver, const Values& values, int driftUnit,
                int leadUnit, bool manualDrift, double manualDriftPercent, ui::Dialog* parent = nullptr);
    static ui::DialogTemplate makeTemplate();

    int driftUnit() const { return driftUnit_; }
    int leadUnit() const { return leadUnit_; }

protected:
    bool onInitDialog() override;
    void onCommand(int id, ui::Notify n) override;

private:
    AddInfoTarget target() const;
    void showLead();
    void showDrifts();

    const BallisticSolver& solver_;
    Values values_;
    int driftUnit_;
    int leadUnit_;
    bool manualDrift_;
    double manualDriftPercent_;
};

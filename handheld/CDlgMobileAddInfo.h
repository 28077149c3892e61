#pragma once
#include "CDlgAddInfo.h"

// "Доп.данные" on the phone's screen: the desktop's additional-data dialog (its values, lead and
// drifts, unit lists) in a compact portrait layout with touch-sized fonts; the Mach number, which the
// handheld never showed, is left out.
class CDlgMobileAddInfo : public CDlgAddInfo {
public:
    CDlgMobileAddInfo(const BallisticSolver& solver, const Values& values, int driftUnit, int leadUnit,
                      bool manualDrift, double manualDriftPercent, ui::Dialog* parent);
    static ui::DialogTemplate makeTemplate();

protected:
    bool onInitDialog() override;
};

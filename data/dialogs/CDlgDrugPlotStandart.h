#pragma once
#include "CDlgDrugPlot.h"
#include "ProjectilePicture.h"

// "График стандартной драг-функции": a standard function's curve from its first to its last point's
// Mach, and beside it the projectile the function was measured on (chosen by the function's name,
// the Ingalls projectile for a name it does not know). The window is as wide as plot and picture
// need together.
class CDlgDrugPlotStandart : public CDlgDrugPlot {
public:
    enum : int {
        IDD = 181,
        kPicture = 1002,
    };

    CDlgDrugPlotStandart(const DragFunc& f, ui::Dialog* parent = nullptr);
    static ui::DialogTemplate makeTemplate(projectile::Projectile p);

    projectile::Projectile projectile() const { return projectile_; }

protected:
    bool onInitDialog() override;
    void onPaint(int id, ui::Canvas& canvas) override;

private:
    projectile::Projectile projectile_;
};

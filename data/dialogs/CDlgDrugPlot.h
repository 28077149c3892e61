#pragma once
#include "CDlgItemResizer.h"
#include "COScopeCtrl.h"
#include "Dialog.h"
#include "DragFunc.h"

// "График драг-функции": a drag function's curve, Cd against Mach from Mach 0 to its last point,
// with the function's name over the plot and its description under it. Display only: it works on
// its own copy of the function. A function without points says so and shows no curve.
class CDlgDrugPlot : public ui::Dialog {
public:
    enum : int {
        IDD = 180,
        kPlot = 1000,
        kDescription = 1001,
    };

    CDlgDrugPlot(const DragFunc& f, ui::Dialog* parent = nullptr);
    static ui::DialogTemplate makeTemplate();

    const DragFunc& function() const { return function_; }
    const COScopeCtrl& plot() const { return plot_; }

protected:
    // For a window of the same kind with more beside the plot: its template (with kPlot,
    // kDescription and kIdOk), and whether the x axis starts at the first point's Mach.
    CDlgDrugPlot(const DragFunc& f, ui::DialogTemplate t, bool fromFirstPoint, ui::Dialog* parent);
    // Places the plot, the description and the button of a template `width` by `height`, leaving
    // `besidePlot` pixels right of the plot free.
    static void addPlotControls(ui::DialogTemplate& t, int besidePlot);

    bool onInitDialog() override;
    void onSize(int width, int height) override;

    CDlgItemResizer resizer_;

private:
    DragFunc function_;
    bool fromFirstPoint_;
    COScopeCtrl plot_;
};

// What the plot windows (and the curve editor) show for a function without points.
inline constexpr const char* kNoDragDataMessage = "Драг-функция не содержит данных";

#pragma once
#include <string>
#include <vector>

#include "CDlgItemResizer.h"
#include "COScopeCtrl.h"
#include "CurveAdjust.h"
#include "Dialog.h"
#include "DragFunc.h"

// "Редактирование по графику": raises, lowers and reshapes a drag function's whole curve by a step.
// Works on a copy of the points; after kIdOk ("Сохранить") the caller takes points(). The step comes
// from the caller's curve step (the settings' curveStep) and is written back there after each press
// that had a usable step.
class CDlgDragEditPlot : public ui::Dialog {
public:
    enum : int {
        IDD = 176,
        kPlot = 1090,
        kStep = 1092,
        kRaise = 1093,
        kLower = 1094,
        kLowerPeak = 1095,
        kRaisePeak = 1096,
        kRaiseRight = 1097,
        kLowerRight = 1098,
        kHint = 1099,
        kStepLabel = 1100,
    };

    CDlgDragEditPlot(const DragFunc& f, double& curveStep, ui::Dialog* parent = nullptr);
    static ui::DialogTemplate makeTemplate();

    const std::vector<DragElement>& points() const { return points_; }
    const COScopeCtrl& plot() const { return plot_; }

    // The button of each control, and the colour its press draws the curve in.
    struct ButtonInfo {
        int id;
        CurveButton button;
        const char* text;
        ui::Colour pen;
    };
    static const std::vector<ButtonInfo>& buttons();

    inline static const char* const kBadStepMessage = "Шаг изменения должен быть числом больше 0";

protected:
    bool onInitDialog() override;
    void doDataExchange(ui::DataExchange& dx) override;
    void onCommand(int id, ui::Notify n) override;
    void onOK() override;
    void onSize(int width, int height) override;

private:
    void press(const ButtonInfo& b);
    void showCurve(ui::Colour pen);

    std::vector<DragElement> points_;
    std::string caption_;  // UTF-8: the function's name
    double& curveStep_;
    double step_;
    COScopeCtrl plot_;
    CDlgItemResizer resizer_;
};

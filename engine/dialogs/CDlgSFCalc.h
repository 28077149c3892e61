#pragma once
#include <string>

#include "BallisticSolver.h"
#include "Calculators.h"
#include "Dialog.h"
#include "DragFunc.h"

// "Фактор гиростабильности": the gyroscopic stability factor by Miller's formula, from the bullet
// of the edited drag function and the calculator's muzzle velocity and air. "Вставить значение в
// драг-функцию" computes and closes with kIdOk; the opener then takes stabilityFactor().
class CDlgSFCalc : public ui::Dialog {
public:
    enum : int {
        IDD = 170,
        kCompute = 1000,
        kBulletName = 1001,
        kWeight = 1002,
        kTwist = 1003,
        kDiameter = 1004,
        kLength = 1005,
        kVelocity = 1006,
        kTemperature = 1007,
        kPressure = 1008,
        kResult = 1009,
    };

    CDlgSFCalc(const DragFunc& function, const BallisticSolver& solver, ui::Dialog* parent = nullptr);
    static ui::DialogTemplate makeTemplate();

    // The last computed factor (0 until computed).
    double stabilityFactor() const { return stabilityFactor_; }

protected:
    bool onInitDialog() override;
    void doDataExchange(ui::DataExchange& dx) override;
    void onCommand(int id, ui::Notify n) override;
    void onOK() override;

private:
    // Reads the fields and shows the factor; false when a field does not parse.
    bool compute();

    std::string bulletName_;  // UTF-8
    MillerInputs inputs_;
    double stabilityFactor_ = 0.0;
};

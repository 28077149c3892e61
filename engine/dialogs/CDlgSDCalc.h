#pragma once
#include <string>

#include "Dialog.h"
#include "DragFunc.h"

// "Поперечная нагрузка": the sectional density of the edited drag function's bullet. "Вставить
// значение в драг-функцию" closes with kIdOk and the opener takes sectionalDensity(): the value
// standing in the result field, computed or typed.
class CDlgSDCalc : public ui::Dialog {
public:
    enum : int {
        IDD = 171,
        kCompute = 1020,
        kBulletName = 1021,
        kWeight = 1022,
        kDiameter = 1023,
        kResult = 1024,
    };

    explicit CDlgSDCalc(const DragFunc& function, ui::Dialog* parent = nullptr);
    static ui::DialogTemplate makeTemplate();

    double sectionalDensity() const { return sectionalDensity_; }

protected:
    bool onInitDialog() override;
    void doDataExchange(ui::DataExchange& dx) override;
    void onCommand(int id, ui::Notify n) override;
    void onOK() override;

private:
    void compute();

    std::string bulletName_;  // UTF-8
    double weight_;
    double diameter_;
    double sectionalDensity_ = 0.0;
};

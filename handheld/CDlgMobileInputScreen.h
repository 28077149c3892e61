#pragma once
#include <functional>

#include "DragFunc.h"
#include "MobileScreen.h"
#include "SettingsRecord.h"

// The four input screens of "Ввод данных": "Винтовка", "Патрон", "Атмосфера" and "Атмосфера
// пристрелки". Each starts from the current values; "Так точно!" hands back the inputs it checked,
// "Отставить!" (or the close box) changes nothing.
class CDlgMobileInputScreen : public MobileScreen {
public:
    enum Page { Rifle, Cartridge, Atmosphere, ZeroAtmosphere };
    enum : int {
        IDD = 220,
        kField1 = 1001, kField2, kField3, kField4,
        kMmHg = 1010,          // "мм.рт.столба": ticked, the pressure is in mm Hg
        kZeroHere = 1011,      // "Пристрелка на месте"
        kDragName = 1012,
        kChooseDrag = 1013,
    };

    // "Выбрать драг-функцию" on the cartridge page: opens the drag function list over the screen it
    // is given and returns the current function after it (chosen, replaced or deleted there).
    using ChooseDragFunction = std::function<DragFunc(ui::Dialog* over)>;

    CDlgMobileInputScreen(Page page, const ShotInputs& inputs, const HandheldSettingsRecord& settings,
                          const DragFunc& dragFunction, ui::Dialog* parent, ChooseDragFunction choose = {});
    static ui::DialogTemplate makeTemplate(Page page, bool clicksInMil);

    const ShotInputs& inputs() const { return inputs_; }
    bool pressureInHpa() const { return pressureInHpa_; }

protected:
    bool onInitDialog() override;
    void onCommand(int id, ui::Notify n) override;
    void onOK() override;

private:
    // The box ticked or cleared: the typed pressure converted into the unit now shown.
    void switchPressureUnit();
    int pressureField() const;

    Page page_;
    ShotInputs inputs_;
    bool pressureInHpa_;
    bool clicksInMil_;
    void showDragFunction();

    DragFunc dragFunction_;
    ChooseDragFunction choose_;
};

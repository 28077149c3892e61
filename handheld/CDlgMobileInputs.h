#pragma once
#include <functional>

#include "HandheldSession.h"
#include "MobileScreen.h"

// "Ввод данных": the four summaries, each with ">" to its input screen, and "Пристрелка на месте".
// A screen closed with "Так точно!" stores its inputs and the settings are saved at once.
class CDlgMobileInputs : public MobileScreen {
public:
    enum : int {
        IDD = 230,
        kRifle = 1001, kCartridge, kAtmosphere, kZeroing,            // the summaries
        kRifleOpen = 1011, kCartridgeOpen, kAtmosphereOpen, kZeroingOpen,  // their ">"
        kZeroHere = 1020,
    };
    CDlgMobileInputs(HandheldSession& session, std::function<void()> save, ui::Dialog* parent);
    static ui::DialogTemplate makeTemplate();

protected:
    bool onInitDialog() override;
    void onCommand(int id, ui::Notify n) override;
    void onOK() override;

private:
    void showSummaries();
    void open(int page);

    HandheldSession& session_;
    std::function<void()> save_;
};

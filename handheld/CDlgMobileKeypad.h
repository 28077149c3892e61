#pragma once
#include <string>

#include "MobileScreen.h"

// "Калькулятор": the program's own keypad for a number field, beside the system's on-screen
// keyboard. Starts from the field's text; "Так точно!" hands back what the line then holds.
class CDlgMobileKeypad : public MobileScreen {
public:
    enum : int { IDD = 280, kLine = 1001, kDigit0 = 1010, kPoint = 1020, kMinus = 1021, kBack = 1022 };
    CDlgMobileKeypad(std::string text, ui::Dialog* parent);
    static ui::DialogTemplate makeTemplate();
    const std::string& typed() const { return text_; }

protected:
    bool onInitDialog() override;
    void onCommand(int id, ui::Notify n) override;
    void onOK() override;

private:
    std::string text_;
};

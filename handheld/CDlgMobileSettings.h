#pragma once
#include <functional>

#include "HandheldSession.h"
#include "MobileScreen.h"

// "Установки": the four option screens. Each closed with "Так точно!" stores its choice and the
// settings are saved at once.
class CDlgMobileSettings : public MobileScreen {
public:
    enum : int { IDD = 240, kResultUnits = 1001, kAngleUnit, kClickUnit, kSpin };
    CDlgMobileSettings(HandheldSession& session, std::function<void()> save, ui::Dialog* parent);
    static ui::DialogTemplate makeTemplate();

protected:
    void onCommand(int id, ui::Notify n) override;

private:
    HandheldSession& session_;
    std::function<void()> save_;
};

// "Показ результатов": the units of the main screen's two corrections. The lists run cm, MOA, MIL,
// clicks; the settings keep 0 MOA, 1 MIL, 2 cm, 3 clicks.
class CDlgResultUnits : public MobileScreen {
public:
    enum : int { IDD = 241, kVertical = 1001, kHorizontal = 1002 };
    CDlgResultUnits(int32_t vertical, int32_t horizontal, ui::Dialog* parent);
    static ui::DialogTemplate makeTemplate();
    static int32_t codeOfListIndex(int index);
    static int listIndexOfCode(int32_t code);
    int32_t vertical() const { return vertical_; }
    int32_t horizontal() const { return horizontal_; }

protected:
    bool onInitDialog() override;
    void onOK() override;

private:
    int32_t vertical_, horizontal_;
};

// A choice of two: the unit of the target angle (degrees or cosine), of the click values (MOA or MIL).
class CDlgMobileChoice : public MobileScreen {
public:
    enum Page { AngleUnit, ClickUnit };
    enum : int { IDD = 242, kFirst = 1001, kSecond = 1002 };
    CDlgMobileChoice(Page page, bool second, ui::Dialog* parent);
    static ui::DialogTemplate makeTemplate(Page page);
    bool second() const { return second_; }

protected:
    bool onInitDialog() override;
    void onOK() override;

private:
    bool second_;
};

// "Вращение пули": the vertical wind drift (computed, or a fixed share of the horizontal one) and
// the spin drift added to the corrections.
class CDlgMobileSpin : public MobileScreen {
public:
    enum : int { IDD = 243, kVerticalDrift = 1001, kManual = 1002, kPercent = 1003, kDerivation = 1004 };
    CDlgMobileSpin(const ShotInputs& inputs, ui::Dialog* parent);
    static ui::DialogTemplate makeTemplate();
    const ShotInputs& inputs() const { return inputs_; }

protected:
    bool onInitDialog() override;
    void onOK() override;

private:
    ShotInputs inputs_;
};

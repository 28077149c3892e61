#include "CDlgSFCalc.h"

#include <cmath>

#include "ResultText.h"
#include "TemplateBuilder.h"
#include "TextCodec.h"

CDlgSFCalc::CDlgSFCalc(const DragFunc& function, const BallisticSolver& solver, ui::Dialog* parent)
    : ui::Dialog(makeTemplate(), parent), bulletName_(cp1251ToUtf8(function.nameText())) {
    inputs_.weightGrains = function.bulletWeight;
    inputs_.twistInches = function.twist;
    inputs_.diameterInches = function.bulletDiameter;
    inputs_.lengthInches = function.bulletLength;
    inputs_.velocity = solver.muzzleVelocity;
    inputs_.temperature = solver.airTemperature;
    inputs_.pressure = solver.airPressure;
}

ui::DialogTemplate CDlgSFCalc::makeTemplate() {
    ui::DialogTemplate t;
    t.id = IDD;
    t.title = "Фактор гиростабильности";
    t.width = 520;
    t.height = 332;
    ui::TemplateBuilder b(t);
    b.label("Вычисление фактора гироскопической стабильности по формуле Миллера", 12, 8, 496);
    b.label("Название пули:", 12, 36, 110).edit(kBulletName, 130, 36, 378, ui::kReadOnly);
    const struct {
        const char* text;
        int id;
    } rows[] = {
        {"Вес пули в грейнах", kWeight},
        {"Шаг нарезов в дюймах", kTwist},
        {"Диаметр пули в дюймах", kDiameter},
        {"Длина пули в дюймах", kLength},
        {"Нач.скорость, м/сек", kVelocity},
        {"Температура воздуха, градусов Цельсия", kTemperature},
        {"Атмосферное давление, мм.рт.столба", kPressure},
    };
    int y = 62;
    for (const auto& r : rows) {
        b.label(r.text, 12, y, 300).edit(r.id, 320, y, 188, ui::kAlignRight);
        y += 26;
    }
    b.label("Фактор гироскопической стабильности", 12, y + 8, 300)
        .edit(kResult, 320, y + 8, 188, ui::kReadOnly | ui::kAlignRight);
    b.button(kCompute, "Вычислить", 62, 294, 100, ui::kDefault)
        .button(ui::kIdOk, "Вставить значение в драг-функцию", 170, 294, 230)
        .button(ui::kIdCancel, "Отставить!", 408, 294, 100);
    return t;
}

bool CDlgSFCalc::onInitDialog() {
    setText(kBulletName, bulletName_);
    updateData(false);
    setText(kResult, resultText(stabilityFactor_));
    window().setFocus(kWeight);  // the name above it is only shown
    return false;
}

void CDlgSFCalc::doDataExchange(ui::DataExchange& dx) {
    dx.number(kWeight, inputs_.weightGrains);
    dx.number(kTwist, inputs_.twistInches);
    dx.number(kDiameter, inputs_.diameterInches);
    dx.number(kLength, inputs_.lengthInches);
    dx.number(kVelocity, inputs_.velocity);
    dx.number(kTemperature, inputs_.temperature);
    dx.number(kPressure, inputs_.pressure);
}

bool CDlgSFCalc::compute() {
    if (!updateData(true)) return false;
    stabilityFactor_ = millerStability(inputs_);
    setText(kResult, resultText(stabilityFactor_));
    return true;
}

void CDlgSFCalc::onCommand(int id, ui::Notify n) {
    if (id == kCompute && n == ui::Notify::Clicked) {
        compute();
        return;
    }
    ui::Dialog::onCommand(id, n);
}

void CDlgSFCalc::onOK() {
    if (!compute()) return;
    // An infinite or undefined factor would make every later spin drift of the function undefined.
    if (!std::isfinite(stabilityFactor_)) {
        messageBox(kUndefinedMessage, {}, ui::Buttons::Ok, ui::Icon::Warning);
        return;
    }
    endDialog(ui::kIdOk);
}

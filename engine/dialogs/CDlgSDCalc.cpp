#include "CDlgSDCalc.h"

#include <cmath>

#include "Calculators.h"
#include "NumberText.h"
#include "ResultText.h"
#include "TemplateBuilder.h"
#include "TextCodec.h"

CDlgSDCalc::CDlgSDCalc(const DragFunc& function, ui::Dialog* parent)
    : ui::Dialog(makeTemplate(), parent),
      bulletName_(cp1251ToUtf8(function.nameText())),
      weight_(function.bulletWeight),
      diameter_(function.bulletDiameter) {}

ui::DialogTemplate CDlgSDCalc::makeTemplate() {
    ui::DialogTemplate t;
    t.id = IDD;
    t.title = "Поперечная нагрузка";
    t.width = 520;
    t.height = 162;
    ui::TemplateBuilder b(t);
    b.label("Название пули:", 12, 10, 110).edit(kBulletName, 130, 10, 378, ui::kReadOnly);
    b.label("Вес пули в грейнах", 12, 36, 300).edit(kWeight, 320, 36, 188, ui::kAlignRight);
    b.label("Диаметр пули в дюймах", 12, 62, 300).edit(kDiameter, 320, 62, 188, ui::kAlignRight);
    b.label("Поперечная нагрузка (sectional density)", 12, 96, 300).edit(kResult, 320, 96, 188, ui::kAlignRight);
    b.button(kCompute, "Вычислить", 62, 128, 100, ui::kDefault)
        .button(ui::kIdOk, "Вставить значение в драг-функцию", 170, 128, 230)
        .button(ui::kIdCancel, "Отставить!", 408, 128, 100);
    return t;
}

bool CDlgSDCalc::onInitDialog() {
    setText(kBulletName, bulletName_);
    updateData(false);
    setText(kResult, resultText(sectionalDensity_));
    window().setFocus(kWeight);  // the name above it is only shown
    return false;
}

void CDlgSDCalc::doDataExchange(ui::DataExchange& dx) {
    dx.number(kWeight, weight_);
    dx.number(kDiameter, diameter_);
}

void CDlgSDCalc::compute() {
    if (!updateData(true)) return;
    setText(kResult, resultText(::sectionalDensity(weight_, diameter_)));
}

void CDlgSDCalc::onCommand(int id, ui::Notify n) {
    if (id == kCompute && n == ui::Notify::Clicked) {
        compute();
        return;
    }
    ui::Dialog::onCommand(id, n);
}

void CDlgSDCalc::onOK() {
    if (!updateData(true)) return;
    // The field may hold a value typed by hand; "не определено" and other text are no number.
    const std::string shown = text(kResult);
    const auto value = ui::parseNumber(shown);
    if (!value || !std::isfinite(*value)) {
        const bool undefined = value || shown == kUndefinedText;
        messageBox(undefined ? kUndefinedMessage : ui::kEnterNumberMessage, {}, ui::Buttons::Ok, ui::Icon::Warning);
        window().setFocus(kResult);
        window().selectAllText(kResult);
        return;
    }
    sectionalDensity_ = *value;
    endDialog(ui::kIdOk);
}

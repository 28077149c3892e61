#include "CDlgRifle.h"

#include "PressureUnit.h"
#include "TemplateBuilder.h"

CDlgRifle::CDlgRifle(double humidity, double pressureMmHg, double temperature, bool pressureInHpa, bool zeroOnSite,
                     ui::Dialog* parent)
    : ui::Dialog(makeTemplate(), parent),
      given_{temperature, pressureMmHg, humidity},
      humidity_(humidity),
      pressureMmHg_(pressureMmHg),
      temperature_(temperature),
      pressureInHpa_(pressureInHpa),
      zeroOnSite_(zeroOnSite) {}

ui::DialogTemplate CDlgRifle::makeTemplate() {
    ui::DialogTemplate t;
    t.id = IDD;
    t.title = "Винтовка";
    t.width = 340;
    t.height = 196;
    ui::TemplateBuilder b(t);
    b.check(kZeroOnSite, "Пристрелка на месте", 12, 10, 316);
    b.group("Атмосфера пристрелки", 8, 40, 324, 108);
    b.label("Температура, град. Цельсия", 18, 60, 200).edit(kTemperature, 244, 60, 76);
    b.label("Атм.давление", 18, 86, 94).check(kPressureUnit, "мм.рт.столба", 114, 86, 126).edit(kPressure, 244, 86, 76);
    b.label("Влажность, проценты", 18, 112, 200).edit(kHumidity, 244, 112, 76);
    b.button(ui::kIdOk, "Так точно!", 120, 160, 100, ui::kDefault).button(ui::kIdCancel, "Отставить!", 228, 160, 100);
    return t;
}

bool CDlgRifle::onInitDialog() {
    setChecked(kZeroOnSite, zeroOnSite_);
    setChecked(kPressureUnit, pressureInHpa_);
    setText(kPressureUnit, pressureUnitText(pressureInHpa_));
    pressureShown_ = pressureInHpa_ ? hpaFromMmHg(pressureMmHg_) : pressureMmHg_;
    updateData(false);
    applyEnabling();
    return true;
}

ShownInput CDlgRifle::shownInput(int id) const {
    switch (id) {
        case kTemperature: return shownAsIs(*findInputField("zero-temperature"));
        case kPressure: return shownPressure(*findInputField("zero-pressure"), isChecked(kPressureUnit));
        default: return shownAsIs(*findInputField("zero-humidity"));
    }
}

void CDlgRifle::doDataExchange(ui::DataExchange& dx) {
    dx.check(kZeroOnSite, zeroOnSite_);
    dx.number(kTemperature, temperature_, shownInput(kTemperature).label());
    dx.number(kPressure, pressureShown_, shownInput(kPressure).label());
    dx.number(kHumidity, humidity_, shownInput(kHumidity).label());
}

void CDlgRifle::applyEnabling() {
    const bool onSite = isChecked(kZeroOnSite);
    for (int id : {kHumidity, kPressure, kTemperature}) enable(id, !onSite);
}

void CDlgRifle::switchPressureUnit() {
    if (!updateData(true)) {
        setChecked(kPressureUnit, !isChecked(kPressureUnit));  // the value could not be converted
        return;
    }
    const bool hpa = isChecked(kPressureUnit);
    setText(kPressureUnit, pressureUnitText(hpa));
    pressureShown_ = hpa ? hpaFromMmHg(pressureShown_) : mmHgFromHpa(pressureShown_);
    updateData(false);
}

void CDlgRifle::onCommand(int id, ui::Notify n) {
    if (n == ui::Notify::Clicked && id == kZeroOnSite) return applyEnabling();
    if (n == ui::Notify::Clicked && id == kPressureUnit) return switchPressureUnit();
    ui::Dialog::onCommand(id, n);
}

void CDlgRifle::onOK() {
    if (!updateData(true)) return;
    const double pressureMmHg = isChecked(kPressureUnit) ? mmHgFromHpa(pressureShown_) : pressureShown_;
    struct Check {
        int id;
        double shown, input, given;
        double* result;
    };
    const Check checks[] = {
        {kTemperature, temperature_, temperature_, given_[0], &temperature_},
        {kPressure, pressureShown_, pressureMmHg, given_[1], &pressureMmHg_},
        {kHumidity, humidity_, humidity_, given_[2], &humidity_},
    };
    // Zeroed on site the fields are neither used nor editable: one that cannot be used is not handed
    // back (the value given stays), and nothing is said.
    const bool onSite = isChecked(kZeroOnSite);
    for (const Check& c : checks)
        if (const std::string why = shownInput(c.id).refusal(c.shown, c.input); !why.empty() && !onSite)
            return refuseField(c.id, why);
    for (const Check& c : checks) *c.result = shownInput(c.id).refusal(c.shown, c.input).empty() ? c.input : c.given;
    endDialog(ui::kIdOk);
}

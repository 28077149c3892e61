#include "CDlgRifle.h"

#include <tuple>

#include "PressureUnit.h"
#include "TemplateBuilder.h"

CDlgRifle::CDlgRifle(double humidity, double pressureMmHg, double temperature, bool pressureInHpa, bool zeroOnSite,
                     ui::Dialog* parent)
    : ui::Dialog(makeTemplate(), parent),
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
    b.button(ui::IDOK, "Так точно!", 120, 160, 100, ui::kDefault).button(ui::IDCANCEL, "Отставить!", 228, 160, 100);
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
    // Checked even while the zeroing is on site: the values are kept for when it is not.
    for (auto [id, shown, input] : {std::tuple{kTemperature, temperature_, temperature_},
                                    std::tuple{kPressure, pressureShown_, pressureMmHg},
                                    std::tuple{kHumidity, humidity_, humidity_}}) {
        if (const std::string why = shownInput(id).refusal(shown, input); !why.empty()) {
            refuseField(id, why);
            return;
        }
    }
    pressureMmHg_ = pressureMmHg;
    endDialog(ui::IDOK);
}

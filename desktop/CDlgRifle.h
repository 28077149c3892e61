#pragma once
#include "Dialog.h"
#include "ShownInput.h"

// "Винтовка": the atmosphere the rifle was zeroed in, or "Пристрелка на месте" (the current one).
// The pressure is shown in the main dialog's unit and handed back in mm Hg. "Так точно!" refuses a
// value no real zeroing had, naming the field.
class CDlgRifle : public ui::Dialog {
public:
    enum : int {
        IDD = 154,
        kHumidity = 1083,
        kTemperature = 1084,
        kPressure = 1085,
        kPressureUnit = 1086,
        kZeroOnSite = 1209,
    };

    CDlgRifle(double humidity, double pressureMmHg, double temperature, bool pressureInHpa, bool zeroOnSite,
              ui::Dialog* parent = nullptr);
    static ui::DialogTemplate makeTemplate();

    // The values after "Так точно!".
    double humidity() const { return humidity_; }
    double pressureMmHg() const { return pressureMmHg_; }
    double temperature() const { return temperature_; }
    bool zeroOnSite() const { return zeroOnSite_; }

protected:
    bool onInitDialog() override;
    void doDataExchange(ui::DataExchange& dx) override;
    void onCommand(int id, ui::Notify n) override;
    void onOK() override;

private:
    // The zeroing atmosphere's input a field holds, in the unit it shows.
    ShownInput shownInput(int id) const;
    void applyEnabling();
    void switchPressureUnit();

    const double given_[3];  // temperature, pressure (mm Hg), humidity as given
    double humidity_;
    double pressureMmHg_;
    double pressureShown_ = 0.0;
    double temperature_;
    bool pressureInHpa_;
    bool zeroOnSite_;
};

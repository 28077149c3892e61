#pragma once
#include "Dialog.h"

// "Винтовка": the atmosphere the rifle was zeroed in, or "Пристрелка на месте" (the current one).
// The pressure is shown in the main dialog's unit and handed back in mm Hg.
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
    void applyEnabling();
    void switchPressureUnit();

    double humidity_;
    double pressureMmHg_;
    double pressureShown_ = 0.0;
    double temperature_;
    bool pressureInHpa_;
    bool zeroOnSite_;
};

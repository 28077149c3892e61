#pragma once
#include <cstddef>
#include <string>
#include <vector>

#include "Dialog.h"
#include "DragFunc.h"
#include "DragLibrary.h"

// "Конвертация баллистического коэффициента": a BC for one standard drag law converted to another
// at a chosen velocity. On kIdOk the opener takes ballisticCoefficient() and makes the function named
// targetFunctionName() its current one.
class CDlgConvertBC : public ui::Dialog {
public:
    enum : int {
        IDD = 172,
        kConvert = 1040,
        kBallisticCoefficient = 1041,
        kVelocity = 1042,
        kSourceFunction = 1043,
        kTargetFunction = 1044,
        kResult = 1045,
    };

    // `velocity` in m/s. The library is only read, and only while the dialog is open.
    CDlgConvertBC(const DragLibrary& library, double ballisticCoefficient, double velocity,
                  ui::Dialog* parent = nullptr);
    static ui::DialogTemplate makeTemplate();

    // After kIdOk: the converted BC when "Конвертировать" was pressed during this opening, else the BC
    // as typed.
    double ballisticCoefficient() const { return chosen_; }
    // The target function's name, CP1251 bytes as the library keeps them.
    std::string targetFunctionName() const;

protected:
    bool onInitDialog() override;
    void doDataExchange(ui::DataExchange& dx) override;
    void onCommand(int id, ui::Notify n) override;
    void onOK() override;

private:
    // Reads the fields and shows the conversion; false when a field does not parse.
    bool convert();
    // The library's Standard function chosen in a list, copied into `into`.
    void takeChoice(int listId, DragFunc& into);
    // Selects the function's name in the list (the first entry of that name).
    void selectInList(int listId, const DragFunc& f);

    const DragLibrary& library_;
    std::vector<size_t> standardEntries_;  // library indexes of the listed functions
    DragFunc source_;
    DragFunc target_;
    double ballisticCoefficient_;
    double velocity_;
    double converted_ = 0.0;
    bool convertedOnce_ = false;
    double chosen_;
};

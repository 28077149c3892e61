#pragma once
#include <cstdint>
#include <string>

#include "BallisticSolver.h"
#include "CDlgDeviceTransfer.h"
#include "CListCtrlDrug.h"
#include "DataFolder.h"
#include "Dialog.h"
#include "DragLibrary.h"

// "Драг-функции", the drag function manager: the library's list, where the user chooses the
// calculator's function and shows, copies, deletes, edits, creates, imports, exports and sends
// functions to the handheld. It changes the library in place; copy, create from the bullet shape
// and the sync to the handheld save it at once, the rest is saved when the main dialog closes.
// After kIdOk the main dialog reads selectedName() and selectedNumber().
class CDlgDrugSelect : public ui::Dialog {
public:
    enum : int {
        IDD = 146,
        kList = 1001,
        kShow = 1002,
        kCopy = 1003,
        kDelete = 1004,
        kEdit = 1005,
        kSendToPda = 1006,
        kExport = 1007,
        kImport = 1008,
        kFromShape = 1009,
        kCreateNew = 1010,
        kSyncPda = 1011,
        kAdvice = 1012,
    };

    // `name` (CP1251) and `number`: the calculator's function, selected at the start. The solver
    // goes on to the editor; curveStep is the settings' step of the curve editor.
    CDlgDrugSelect(DragLibrary& library, const DataFolder& folder, std::string name, int32_t number,
                   const BallisticSolver& solver, double& curveStep, ui::Dialog* parent = nullptr);

    static ui::DialogTemplate makeTemplate();

    // The device the transfer dialogs reach (a test's instead of the folder itself).
    void setDevice(CDlgDeviceTransfer::Device device) { device_ = std::move(device); }

    const std::string& selectedName() const { return name_; }  // CP1251
    int32_t selectedNumber() const { return number_; }

protected:
    bool onInitDialog() override;
    void onCommand(int id, ui::Notify n) override;
    void onOK() override;

private:
    // The selected row's entry; false (and nothing changed) when no row is selected.
    bool selectedEntry(std::string& name, int32_t& number) const;
    // The selected row's entry, or G1 (number 1) when none is.
    DragFunc selectedOrG1() const;
    // Fills the list again and selects the row of `name` and `number` (the current one by default).
    void refill();
    void refillSelecting(std::string_view name, int32_t number);
    // Saves the library to the data folder; a failure is told (the library stays as it is in memory
    // and is saved again when the program closes).
    void saveLibrary();

    void show();
    void copy();
    void edit();
    void createNew();
    void createFromShape();
    void remove();
    void exportFunction();
    void importFunctions();
    // The function written as "drag_function.dat", then the dialog that sends it.
    void sendToDevice();
    // The library saved, then the dialog that sends it.
    void syncDevice();

    DragLibrary& library_;
    DataFolder folder_;
    std::string name_;
    int32_t number_;
    const BallisticSolver& solver_;
    double& curveStep_;
    CListCtrlDrug list_;
    CDlgDeviceTransfer::Device device_;
};

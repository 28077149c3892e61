#pragma once
#include <string>

#include "CDlgDeviceTransfer.h"

// Sends one drag function to the handheld: the function the manager has just written as the data
// folder's "drag_function.dat" is written into the device folder, where tkmobile imports it.
class CDlgPDA : public CDlgDeviceTransfer {
public:
    enum : int {
        IDD = 164,
        kFunctionName = 1125,
        kSend = 1224,
    };

    // `source`: the file written; `functionName`: the function's name (CP1251).
    CDlgPDA(TransferSource source, std::filesystem::path dataFolder, std::string functionName, Device device = {},
            ui::Dialog* parent = nullptr);

    static ui::DialogTemplate makeTemplate();

protected:
    bool onInitDialog() override;

private:
    std::string functionName_;
};

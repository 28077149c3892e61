#pragma once

#include "CDlgDeviceTransfer.h"

// Replaces the handheld's library with the desktop's: the library the manager has just saved as
// the data folder's "bc_cdm3.dat" is written into the device folder.
class CDlgPDASync : public CDlgDeviceTransfer {
public:
    enum : int {
        IDD = 165,
        kSync = 1124,
    };

    CDlgPDASync(TransferSource source, std::filesystem::path dataFolder, Device device = {},
                ui::Dialog* parent = nullptr);

    static ui::DialogTemplate makeTemplate();
};

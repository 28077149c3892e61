#pragma once
#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>

#include "DeviceLink.h"
#include "DeviceTransfer.h"
#include "Dialog.h"

// What the two transfer dialogs share: the device folder row ("Папка устройства:", the folder,
// "Выбрать...") and the one transfer handler behind their buttons. The folder chosen is kept in
// the data folder for the next time.
class CDlgDeviceTransfer : public ui::Dialog {
public:
    enum : int {
        kDeviceFolder = 1130,
        kChooseFolder = 1131,
    };

    // Opens the device at a folder (the real one unless a test gives another).
    using DeviceOpener = std::function<std::unique_ptr<device::DeviceLink>(const std::filesystem::path&)>;
    struct Device {
        DeviceOpener open;  // empty: the folder as a device
        std::chrono::milliseconds limit = kDeviceConnectLimit;
    };

    const std::filesystem::path& deviceFolder() const { return deviceFolder_; }
    // Where "Выбрать..." starts when no device folder was chosen: the handheld program's folder on
    // this computer.
    static std::filesystem::path proposedFolder();

protected:
    CDlgDeviceTransfer(ui::DialogTemplate t, TransferSource source, std::filesystem::path dataFolder, Device device,
                       int transferButton, ui::Dialog* parent);

    // The folder row, at y, in a dialog `width` wide.
    static void addFolderRow(ui::DialogTemplate& t, int y, int width);

    bool onInitDialog() override;
    void onCommand(int id, ui::Notify n) override;

private:
    void chooseFolder();
    // transferToDevice: the source onto the device, the outcome said.
    void transfer();

    TransferSource source_;
    std::filesystem::path dataFolder_;
    std::filesystem::path deviceFolder_;
    Device device_;
    int transferButton_;
};

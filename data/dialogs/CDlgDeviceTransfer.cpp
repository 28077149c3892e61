#include "CDlgDeviceTransfer.h"

#include <system_error>

#include "DataPaths.h"
#include "FolderDevice.h"
#include "TemplateBuilder.h"

namespace fs = std::filesystem;

namespace {
constexpr const char* kChooseTitle = "Папка данных tkmobile на устройстве";
constexpr const char* kNoFolderReason = "Папка устройства не выбрана: нажмите «Выбрать...».";
}  // namespace

CDlgDeviceTransfer::CDlgDeviceTransfer(ui::DialogTemplate t, TransferSource source, fs::path dataFolder,
                                       Device device, int transferButton, ui::Dialog* parent)
    : ui::Dialog(std::move(t), parent),
      source_(std::move(source)),
      dataFolder_(std::move(dataFolder)),
      deviceFolder_(keptDeviceFolder(dataFolder_)),
      device_(std::move(device)),
      transferButton_(transferButton) {}

void CDlgDeviceTransfer::addFolderRow(ui::DialogTemplate& t, int y, int width) {
    ui::TemplateBuilder b(t);
    b.label("Папка устройства:", 12, y, width - 24);
    b.edit(kDeviceFolder, 12, y + 20, width - 24 - 104, ui::kReadOnly);
    b.button(kChooseFolder, "Выбрать...", width - 12 - 96, y + 18, 96);
}

fs::path CDlgDeviceTransfer::proposedFolder() { return handheldDataFolder(); }

bool CDlgDeviceTransfer::onInitDialog() {
    setText(kDeviceFolder, deviceFolder_.string());
    return ui::Dialog::onInitDialog();
}

void CDlgDeviceTransfer::onCommand(int id, ui::Notify n) {
    if (n == ui::Notify::Clicked && id == kChooseFolder) return chooseFolder();
    if (n == ui::Notify::Clicked && id == transferButton_) return transfer();
    ui::Dialog::onCommand(id, n);
}

void CDlgDeviceTransfer::chooseFolder() {
    ui::FolderDialogOptions o;
    o.title = kChooseTitle;
    std::error_code ec;
    if (!deviceFolder_.empty() && fs::is_directory(deviceFolder_, ec)) {
        o.folder = deviceFolder_;
    } else {
        // tkmobile makes its folder at its first start; made now, the chooser can open in it.
        o.folder = proposedFolder();
        if (!o.folder.empty()) fs::create_directories(o.folder, ec);
    }
    const std::optional<fs::path> chosen = ui::backend().folderDialog(&window(), o);
    if (!chosen || chosen->empty()) return;
    deviceFolder_ = *chosen;
    setText(kDeviceFolder, deviceFolder_.string());
    if (!keepDeviceFolder(dataFolder_, deviceFolder_))
        messageBox("Не удалось запомнить папку устройства в файле «" + (dataFolder_ / kDeviceFolderFileName).string() +
                       "».\nВ следующий раз её надо будет выбрать снова.",
                   {}, ui::Buttons::Ok, ui::Icon::Warning);
}

void CDlgDeviceTransfer::transfer() {
    if (deviceFolder_.empty()) {
        messageBox(std::string(kNotConnectedMessage) + "\n\n" + kNoFolderReason, {}, ui::Buttons::Ok,
                   ui::Icon::Warning);
        return;
    }
    std::unique_ptr<device::DeviceLink> link =
        device_.open ? device_.open(deviceFolder_) : std::make_unique<device::FolderDevice>(deviceFolder_);
    const TransferOutcome outcome = transferToDevice(*link, source_, device_.limit);
    messageBox(outcome.message, {}, ui::Buttons::Ok, outcome.ok ? ui::Icon::Information : ui::Icon::Warning);
}

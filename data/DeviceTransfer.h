#pragma once
#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "DataFolder.h"
#include "DeviceLink.h"
#include "DragLibrary.h"

// Sending to the handheld: one function as "drag_function.dat" (imported there), or the whole
// library as "bc_cdm3.dat" (replacing the device's). What is sent is exactly what was just written
// in the data folder; when that write fails, nothing is sent.

inline constexpr const char* kDeviceFunctionFileName = "drag_function.dat";
// The chosen device folder, in a file of its own in the data folder: "settings.dat" is told by
// its length, another field would make it a file of another version.
inline constexpr const char* kDeviceFolderFileName = "device_folder.txt";
// How long a device may take to answer before it counts as not connected.
inline constexpr std::chrono::milliseconds kDeviceConnectLimit{5000};

extern const std::string_view kNotConnectedMessage;  // "Такое впечатление, что PDA\nне подсоединен к компьютеру"
extern const std::string_view kTransferDoneMessage;  // "Операция завершена успешно"

// A file to send: its name on the device and the bytes it must hold there.
struct TransferSource {
    std::string fileName;
    std::string bytes;
    std::filesystem::path localFile;  // where the bytes were written on this computer
};

// Writes the function as the data folder's "drag_function.dat" (making the folder when missing)
// and reads it back: the bytes to send, or nothing with a Russian message in `error`.
std::optional<TransferSource> functionForDevice(const DragFunc& f, DataFolder& folder, std::string& error);
// Saves the library to the data folder's library file, the same way: the file to send.
std::optional<TransferSource> libraryForDevice(DragLibrary& library, DataFolder& folder, std::string& error);

struct TransferOutcome {
    bool ok = false;
    std::string message;  // Russian: "Операция завершена успешно" with the file on the device, or what failed
};

// Connects within `limit` and writes the file onto the device.
TransferOutcome transferToDevice(device::DeviceLink& link, const TransferSource& source,
                                 std::chrono::milliseconds limit = kDeviceConnectLimit);

// The device folder the user chose last (kept in the data folder); empty when none was kept or the
// file does not hold a folder's name.
std::filesystem::path keptDeviceFolder(const std::filesystem::path& dataFolder);
// Keeps it for the next transfer; false when the file could not be written.
bool keepDeviceFolder(const std::filesystem::path& dataFolder, const std::filesystem::path& deviceFolder);

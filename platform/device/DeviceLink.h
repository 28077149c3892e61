#pragma once
#include <chrono>
#include <filesystem>
#include <string>
#include <string_view>

// The handheld as the desktop reaches it for one transfer: connect within a time limit, then write
// whole files into the handheld program's folder. Declarations only, so that the transfer logic of
// the data layer can be written against it without linking a device.
namespace device {

enum class Connection {
    Connected,    // the device is there and its folder takes files
    Missing,      // the folder is not there (nothing mounted, a stick pulled out) or is not a folder
    NotWritable,  // there, but no file can be written in it
    NoAnswer,     // no answer within the limit (a dead mount, a sleeping phone)
};

struct ConnectResult {
    Connection state = Connection::Missing;
    std::string reason;  // Russian, naming the folder; empty when connected
    bool connected() const { return state == Connection::Connected; }
};

struct WriteResult {
    bool ok = false;
    std::filesystem::path target;  // the file on the device (written, or meant to be)
    std::string message;           // Russian, naming the file and the reason; empty when ok
};

class DeviceLink {
public:
    virtual ~DeviceLink() = default;

    // Where the device is, as the user chose it (for messages).
    virtual std::filesystem::path folder() const = 0;
    // Finds out whether the device is there and takes files, giving up after `limit`: a device that
    // does not answer in time counts as not connected, and the caller's window is not held longer.
    virtual ConnectResult connect(std::chrono::milliseconds limit) = 0;
    // Writes the file `name` in the device's folder whole, or not at all: on any failure the file
    // the device had under that name is as it was and nothing else is left behind. Success means
    // the file was read back from the device and holds exactly `bytes`.
    virtual WriteResult writeFile(const std::string& name, std::string_view bytes) = 0;
};

}  // namespace device

#include "FakeDevice.h"

#include <thread>

namespace fs = std::filesystem;

namespace device {

FolderDevice::Probe FakeDevice::makeProbe() const {
    const fs::path where = folder();
    switch (presence_) {
        case Presence::Absent:
            return [where] { return ConnectResult{Connection::Missing, "Папка «" + where.string() + "» не найдена"}; };
        case Presence::TooLate:
            return [where, delay = answerDelay] {
                std::this_thread::sleep_for(delay);
                return probeFolder(where);
            };
        case Presence::There: break;
    }
    return FolderDevice::makeProbe();
}

std::error_code FakeDevice::createFile(const fs::path& path, std::FILE*& file) {
    ++filesCreated;
    if (fault_ == Fault::RefuseFile) {
        file = nullptr;
        return std::make_error_code(std::errc::permission_denied);
    }
    return FolderDevice::createFile(path, file);
}

std::error_code FakeDevice::writeBytes(std::FILE* file, std::string_view bytes) {
    if (fault_ != Fault::FailMidFile && fault_ != Fault::LoseBytes) return FolderDevice::writeBytes(file, bytes);
    if (const std::error_code e = FolderDevice::writeBytes(file, bytes.substr(0, bytes.size() / 2))) return e;
    return fault_ == Fault::FailMidFile ? std::make_error_code(std::errc::no_space_on_device) : std::error_code();
}

std::error_code FakeDevice::closeFile(std::FILE* file) {
    const std::error_code e = FolderDevice::closeFile(file);
    return fault_ == Fault::FailFlush ? std::make_error_code(std::errc::io_error) : e;
}

std::error_code FakeDevice::renameFile(const fs::path& from, const fs::path& to) {
    if (fault_ == Fault::FailRename) return std::make_error_code(std::errc::permission_denied);
    return FolderDevice::renameFile(from, to);
}

}  // namespace device

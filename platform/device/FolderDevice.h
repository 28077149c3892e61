#pragma once
#include <cstdio>
#include <functional>
#include <system_error>

#include "DeviceLink.h"

namespace device {

// A device given as a folder: the handheld program's data folder on a phone mounted over SSH, on a
// USB stick, in a synced folder, or on this computer. Connected means the folder is there and a file
// can be written in it; a file is written to a temporary file beside the target, flushed to the
// disk, read back, renamed over the target and read back once more.
class FolderDevice : public DeviceLink {
public:
    explicit FolderDevice(std::filesystem::path folder);

    std::filesystem::path folder() const override { return folder_; }
    // The folder is looked at on a worker thread: a dead network mount can block a file system call
    // for minutes, and the window must not wait for it past the limit.
    ConnectResult connect(std::chrono::milliseconds limit) override;
    WriteResult writeFile(const std::string& name, std::string_view bytes) override;

    // The look at the folder itself: there, a folder, and a file can be made in it and removed.
    static ConnectResult probeFolder(const std::filesystem::path& folder);
    // "на устройстве нет места", "нет прав на запись", ...
    static std::string reasonText(std::error_code ec);

protected:
    // What connect() runs on its worker thread. It must own everything it uses: when the answer
    // comes too late, it runs on after connect() has returned, maybe after the device is gone.
    using Probe = std::function<ConnectResult()>;
    virtual Probe makeProbe() const;

    // The file operations a write is made of, so that a test device can fail any one of them.
    // A new file (never one that is there already).
    virtual std::error_code createFile(const std::filesystem::path& path, std::FILE*& file);
    virtual std::error_code writeBytes(std::FILE* file, std::string_view bytes);
    // Flushed to the disk and closed (closed also when that fails).
    virtual std::error_code closeFile(std::FILE* file);
    virtual std::error_code renameFile(const std::filesystem::path& from, const std::filesystem::path& to);
    // The whole file, or an error when it is longer than maxBytes.
    virtual std::error_code readFile(const std::filesystem::path& path, size_t maxBytes, std::string& bytes);

private:
    std::filesystem::path folder_;
};

}  // namespace device

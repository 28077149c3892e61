#pragma once
#include <chrono>
#include <cstddef>

#include "FolderDevice.h"

namespace device {

// A device for tests: a folder like the real one, which can be told to be absent, to answer too
// late, or to fail one step of a write. The write itself is the real one, step for step.
class FakeDevice : public FolderDevice {
public:
    enum class Presence {
        There,     // answers at once, as the folder is
        Absent,    // nothing there
        TooLate,   // answers (connected) only after answerDelay
    };
    enum class Fault {
        None,
        RefuseFile,    // the device refuses to make the file
        FailMidFile,   // the device fills up halfway through the first piece written
        LoseBytes,     // the device drops the second half of it without a word (only a read-back shows it)
        FailFlush,     // the bytes never reach the disk
        FailRename,    // the new file cannot replace the old one
    };

    explicit FakeDevice(std::filesystem::path folder, Presence presence = Presence::There, Fault fault = Fault::None)
        : FolderDevice(std::move(folder)), presence_(presence), fault_(fault) {}

    std::chrono::milliseconds answerDelay{400};
    // How many files the device was asked to make (temporaries included).
    int filesCreated = 0;

protected:
    Probe makeProbe() const override;
    std::error_code createFile(const std::filesystem::path& path, std::FILE*& file) override;
    std::error_code writeBytes(std::FILE* file, std::string_view bytes) override;
    std::error_code closeFile(std::FILE* file) override;
    std::error_code renameFile(const std::filesystem::path& from, const std::filesystem::path& to) override;

private:
    Presence presence_;
    Fault fault_;
};

}  // namespace device

// Sending to the handheld: the device link's whole-file write (on the test device that fails on
// demand) and the transfer logic the manager and tkcalc share.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

#include "DeviceTransfer.h"
#include "FakeDevice.h"
#include "FileIO.h"
#include "TransferFixture.h"

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using device::FakeDevice;

namespace {

class Transfer : public TransferFolders {};

TransferSource functionSource(const std::string& bytes) { return {kDeviceFunctionFileName, bytes, {}}; }

// Every way a write can fail leaves the device as it was: the old file whole, no temporary file,
// a message naming the file and why, and never the success.
TEST_F(Transfer, EachFailedWriteLeavesTheOldFileAndNoTemporary) {
    ASSERT_TRUE(writeFileAtomically(phone / kDeviceFunctionFileName, "the old function"));
    const std::string bytes = DragLibrary::singleRecordBytes(lapua);
    const struct {
        FakeDevice::Fault fault;
        const char* reason;
    } cases[] = {
        {FakeDevice::Fault::RefuseFile, "нет прав на запись"},
        {FakeDevice::Fault::FailMidFile, "на устройстве нет места"},
        {FakeDevice::Fault::LoseBytes, "не совпадает с записанным"},
        {FakeDevice::Fault::FailFlush, "не записались на диск"},
        {FakeDevice::Fault::FailRename, "прежний файл не заменяется"},
    };
    for (const auto& c : cases) {
        FakeDevice link(phone, FakeDevice::Presence::There, c.fault);
        const TransferOutcome r = transferToDevice(link, functionSource(bytes), 1s);
        EXPECT_FALSE(r.ok);
        EXPECT_EQ(r.message.find(std::string(kTransferDoneMessage)), std::string::npos) << r.message;
        EXPECT_NE(r.message.find("«" + (phone / kDeviceFunctionFileName).string() + "»"), std::string::npos) << r.message;
        EXPECT_NE(r.message.find(c.reason), std::string::npos) << r.message;
        EXPECT_NE(r.message.find("Прежний файл на устройстве не изменён."), std::string::npos) << r.message;
        EXPECT_EQ(onPhone(), std::vector<std::string>{kDeviceFunctionFileName}) << r.message;
        EXPECT_EQ(phoneFile(kDeviceFunctionFileName), "the old function");
    }

    // The same device without a fault: the file byte for byte, and where it went.
    FakeDevice link(phone);
    const TransferOutcome r = transferToDevice(link, functionSource(bytes), 1s);
    EXPECT_TRUE(r.ok);
    EXPECT_EQ(r.message, "Операция завершена успешно\n" + (phone / kDeviceFunctionFileName).string());
    EXPECT_EQ(onPhone(), std::vector<std::string>{kDeviceFunctionFileName});
    EXPECT_EQ(phoneFile(kDeviceFunctionFileName), bytes);
    // Larger than one piece of the write: all of it arrives.
    std::string big(700 * 1024, '\0');
    for (size_t i = 0; i < big.size(); ++i) big[i] = static_cast<char>(i * 7 % 251);
    EXPECT_TRUE(transferToDevice(link, {kLibraryFileName, big, {}}, 1s).ok);
    EXPECT_EQ(phoneFile(kLibraryFileName), big);
}

// A device that is not there, or does not answer in time, is "not connected", and the window is
// not held past the limit however long the device takes.
TEST_F(Transfer, AnAbsentOrLateDeviceIsNotConnectedWithinTheLimit) {
    FakeDevice absent(phone, FakeDevice::Presence::Absent);
    TransferOutcome r = transferToDevice(absent, functionSource("x"), 1s);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.message.rfind("Такое впечатление, что PDA\nне подсоединен к компьютеру\n\n", 0), 0u) << r.message;

    FakeDevice late(phone, FakeDevice::Presence::TooLate);
    late.answerDelay = 2s;
    const auto start = std::chrono::steady_clock::now();
    r = transferToDevice(late, functionSource("x"), 100ms);
    EXPECT_LT(std::chrono::steady_clock::now() - start, 1s);
    EXPECT_FALSE(r.ok);
    EXPECT_NE(r.message.find("не ответила за 100 мс"), std::string::npos) << r.message;
    EXPECT_EQ(late.filesCreated, 0);
    EXPECT_TRUE(onPhone().empty());

    // The real folder device: a missing folder, and a file where the folder should be.
    device::FolderDevice missing(root / "unplugged");
    EXPECT_NE(transferToDevice(missing, functionSource("x")).message.find("не найдена"), std::string::npos);
    ASSERT_TRUE(writeFileAtomically(root / "plain", "x"));
    device::FolderDevice plain(root / "plain");
    EXPECT_NE(transferToDevice(plain, functionSource("x")).message.find("- не папка"), std::string::npos);
    EXPECT_EQ(*readWholeFile(root / "plain"), "x");
    // A folder that takes no file, even for root (a read-only mount would do the same).
    device::FolderDevice proc("/proc");
    EXPECT_NE(transferToDevice(proc, functionSource("x")).message.find("нельзя записать файл"), std::string::npos);
}

// What is sent is what was just written in the data folder; when that write fails nothing is sent
// (an older drag_function.dat or library left there must not arrive as a success).
TEST_F(Transfer, AFailedLocalWriteSendsNothing) {
    std::string error;
    DataFolder folder = DataFolder::at(data);
    const std::optional<TransferSource> sent = functionForDevice(lapua, folder, error);
    ASSERT_TRUE(sent) << error;
    EXPECT_EQ(sent->bytes, *readWholeFile(data / kDeviceFunctionFileName));
    EXPECT_EQ(DragLibrary::readSingleRecord(sent->bytes), lapua);

    fs::remove(data / kDeviceFunctionFileName);
    fs::create_directory(data / kDeviceFunctionFileName);  // the name taken: the write cannot land
    EXPECT_FALSE(functionForDevice(lapua, folder, error));
    EXPECT_NE(error.find("Ничего не отправлено."), std::string::npos) << error;

    DragLibrary library;
    library.add(lapua);
    ASSERT_TRUE(writeFileAtomically(root / "plain", "x"));
    DataFolder blocked = DataFolder::at(root / "plain");
    EXPECT_FALSE(libraryForDevice(library, blocked, error));
    EXPECT_EQ(error.rfind("Не удалось записать файл", 0), 0u) << error;
    const std::optional<TransferSource> lib = libraryForDevice(library, folder, error);
    ASSERT_TRUE(lib) << error;
    EXPECT_EQ(lib->fileName, "bc_cdm3.dat");
    EXPECT_EQ(lib->bytes, *readWholeFile(data / kLibraryFileName));
}

// The chosen folder is kept in a file of its own; what is not a folder's name is not taken.
TEST_F(Transfer, TheDeviceFolderIsKeptInItsOwnFile) {
    EXPECT_TRUE(keptDeviceFolder(data).empty());
    ASSERT_TRUE(keepDeviceFolder(data, phone / "Trajekton-mobile"));
    EXPECT_EQ(keptDeviceFolder(data), phone / "Trajekton-mobile");
    for (const char* bad : {"relative/folder\n", "/a\n/b\n", "", "/tmp/\x01"}) {
        ASSERT_TRUE(writeFileAtomically(data / kDeviceFolderFileName, bad));
        EXPECT_TRUE(keptDeviceFolder(data).empty()) << bad;
    }
}

}  // namespace

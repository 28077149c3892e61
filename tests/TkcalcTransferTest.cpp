// tkcalc send and sync: the manager's transfer from the command line.
#include <gtest/gtest.h>

#include <sstream>

#include "Tkcalc.h"
#include "TkcalcRun.h"
#include "TransferFixture.h"

namespace {

class TkcalcTransfer : public TransferFolders {};

// The same files as the manager sends, byte for byte; exit 2 with the message when anything fails;
// sync refuses a library it could not read whole.
TEST_F(TkcalcTransfer, SendAndSyncPutTheDataFoldersFilesOnTheDevice) {
    DragLibrary library;
    library.add(lapua);
    ASSERT_TRUE(library.saveLibrary(data / kLibraryFileName));
    const std::string dataDir = "--data-dir=" + data.string();

    Outcome r = tkcalc({"send", "Лапуа 185#11", "--device", phone.string(), dataDir});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "Операция завершена успешно\n" + (phone / kDeviceFunctionFileName).string() + "\n");
    EXPECT_EQ(phoneFile(kDeviceFunctionFileName), DragLibrary::singleRecordBytes(lapua));
    EXPECT_EQ(phoneFile(kDeviceFunctionFileName), *readWholeFile(data / kDeviceFunctionFileName));

    r = tkcalc({"sync", "--device=" + phone.string(), dataDir});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(phoneFile(kLibraryFileName), *readWholeFile(data / kLibraryFileName));
    EXPECT_EQ(onPhone(), (std::vector<std::string>{kLibraryFileName, kDeviceFunctionFileName}));

    r = tkcalc({"send", "G7", "--device", (root / "unplugged").string(), dataDir});
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("не подсоединен к компьютеру"), std::string::npos) << r.err;
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(tkcalc({"send", "Нет такой", "--device", phone.string(), dataDir}).status, 2);
    EXPECT_EQ(tkcalc({"send", "G7", dataDir}).status, 2);
    EXPECT_EQ(tkcalc({"sync", "G7", "--device", phone.string(), dataDir}).status, 2);
    EXPECT_EQ(tkcalc({"sync", "--device", dataDir}).status, 2);

    // A library file cut short: the device keeps its library, the local file is not rewritten.
    std::string bytes = *readWholeFile(data / kLibraryFileName);
    bytes.resize(bytes.size() - 10);
    ASSERT_TRUE(writeFileAtomically(data / kLibraryFileName, bytes));
    const std::string before = phoneFile(kLibraryFileName);
    r = tkcalc({"sync", "--device", phone.string(), dataDir});
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("прочитана не вся"), std::string::npos) << r.err;
    EXPECT_EQ(phoneFile(kLibraryFileName), before);
    EXPECT_EQ(*readWholeFile(data / kLibraryFileName), bytes);
    EXPECT_NE(tkcalcHelp().find("tkcalc sync [--data-dir ПАПКА] --device ПАПКА"), std::string::npos);
}

}  // namespace

// The manager's two transfer buttons and their dialogs, driven headless as the user would.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <optional>

#include "CDlgDrugSelect.h"
#include "CDlgPDA.h"
#include "CDlgPDASync.h"
#include "FakeDevice.h"
#include "HeadlessBackend.h"
#include "TransferFixture.h"
#include "UserFolders.h"

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using device::FakeDevice;

namespace {


class TransferDialogs : public TransferFolders {
protected:
    ui::HeadlessBackend screen;
    DragLibrary library;
    BallisticSolver solver;
    double curveStep = 0.01;
};

// Send, as the user does it: the dialog opens over the function just written; with no folder chosen
// it says so; "Выбрать..." proposes tkmobile's folder on this computer and the choice is kept; the
// send puts the file there. Sync then finds the folder kept, and sends the library it saved first.
TEST_F(TransferDialogs, ManagerSendsAndSyncsThroughItsDialogs) {
    const DataHome home(root / "xdg");
    library.add(lapua);
    CDlgDrugSelect dlg(library, DataFolder::at(data), lapua.name, 11, solver, curveStep);
    auto& w = ui::openHeadless(dlg);
    EXPECT_TRUE(w.isEnabled(CDlgDrugSelect::kSendToPda));
    EXPECT_TRUE(w.isEnabled(CDlgDrugSelect::kSyncPda));

    screen.onNextModal([&](ui::HeadlessWindow& p) {
        EXPECT_EQ(p.title(), "Передача на устройство");
        EXPECT_EQ(p.text(CDlgPDA::kFunctionName), "Лапуа 185");
        EXPECT_EQ(p.text(CDlgPDA::kDeviceFolder), "");
        p.click(CDlgPDA::kSend);
        screen.answerFolderDialog(phone);
        p.click(CDlgPDA::kChooseFolder);
        EXPECT_EQ(p.text(CDlgPDA::kDeviceFolder), phone.string());
        p.click(CDlgPDA::kSend);
    });
    w.click(CDlgDrugSelect::kSendToPda);
    ASSERT_EQ(screen.folderDialogs.size(), 1u);
    EXPECT_EQ(screen.folderDialogs[0].folder, home.home() / "Trajekton-mobile");
    EXPECT_TRUE(fs::is_directory(home.home() / "Trajekton-mobile"));
    ASSERT_EQ(screen.messages.size(), 2u);
    EXPECT_EQ(screen.messages[0].text,
              "Такое впечатление, что PDA\nне подсоединен к компьютеру\n\nПапка устройства не выбрана: нажмите «Выбрать...».");
    EXPECT_EQ(screen.messages[1].text, "Операция завершена успешно\n" + (phone / kDeviceFunctionFileName).string());
    EXPECT_EQ(phoneFile(kDeviceFunctionFileName), DragLibrary::singleRecordBytes(lapua));
    EXPECT_EQ(keptDeviceFolder(data), phone);

    screen.messages.clear();
    screen.onNextModal([&](ui::HeadlessWindow& s) {
        EXPECT_EQ(s.title(), "Синхронизация с PDA");
        EXPECT_EQ(s.text(CDlgPDASync::kDeviceFolder), phone.string());
        EXPECT_TRUE(fs::exists(data / kLibraryFileName));
        s.click(CDlgPDASync::kSync);
    });
    w.click(CDlgDrugSelect::kSyncPda);
    ASSERT_EQ(screen.messageTexts(),
              std::vector<std::string>{"Операция завершена успешно\n" + (phone / kLibraryFileName).string()});
    EXPECT_EQ(phoneFile(kLibraryFileName), *readWholeFile(data / kLibraryFileName));
    DragLibrary back;
    EXPECT_EQ(back.loadLibrary(phone / kLibraryFileName), LibraryRead::Complete);
    EXPECT_EQ(back.size(), 11u);

    // The list's context menu sends too, the row clicked (G7 here).
    screen.answerMenu(CDlgDrugSelect::kSendToPda);
    screen.onNextModal([&](ui::HeadlessWindow& p) { EXPECT_EQ(p.text(CDlgPDA::kFunctionName), "G7"); });
    w.rightClickRow(CDlgDrugSelect::kList, 1);
    EXPECT_EQ(screen.modalTitles.back(), "Передача на устройство");
    EXPECT_EQ(DragLibrary::readSingleRecordFile(data / kDeviceFunctionFileName)->nameText(), "G7");

    // A device that does not answer: said within the limit the dialog was given.
    dlg.setDevice({[](const fs::path& f) {
                       auto d = std::make_unique<FakeDevice>(f, FakeDevice::Presence::TooLate);
                       d->answerDelay = 2s;
                       return d;
                   },
                   50ms});
    screen.messages.clear();
    screen.onNextModal([&](ui::HeadlessWindow& s) { s.click(CDlgPDASync::kSync); });
    w.click(CDlgDrugSelect::kSyncPda);
    ASSERT_EQ(screen.messages.size(), 1u);
    EXPECT_NE(screen.messages[0].text.find("не ответила за 50 мс"), std::string::npos);
    dlg.destroy();
}

// What cannot be written in the data folder is not sent, and no transfer dialog opens.
TEST_F(TransferDialogs, AFailedLocalWriteOpensNoDialog) {
    ASSERT_TRUE(writeFileAtomically(root / "plain", "x"));
    CDlgDrugSelect blocked(library, DataFolder::at(root / "plain"), "G1", 1, solver, curveStep);
    auto& b = ui::openHeadless(blocked);
    b.click(CDlgDrugSelect::kSyncPda);
    b.click(CDlgDrugSelect::kSendToPda);
    EXPECT_TRUE(screen.modalTitles.empty());
    ASSERT_EQ(screen.messages.size(), 2u);
    for (const auto& m : screen.messages) EXPECT_NE(m.text.find("Ничего не отправлено."), std::string::npos) << m.text;
    blocked.destroy();

    // A device folder kept before that is gone now: the chooser starts in tkmobile's folder instead.
    const DataHome home(root / "xdg");
    ASSERT_TRUE(keepDeviceFolder(data, root / "unplugged"));
    CDlgPDASync sync({kLibraryFileName, "x", {}}, data);
    auto& s = ui::openHeadless(sync);
    EXPECT_EQ(s.text(CDlgPDASync::kDeviceFolder), (root / "unplugged").string());
    s.click(CDlgPDASync::kSync);
    s.click(CDlgPDASync::kChooseFolder);  // cancelled
    EXPECT_EQ(s.text(CDlgPDASync::kDeviceFolder), (root / "unplugged").string());
    ASSERT_EQ(screen.folderDialogs.size(), 1u);
    EXPECT_EQ(screen.folderDialogs[0].folder, home.home() / "Trajekton-mobile");
    EXPECT_NE(screen.messages.back().text.find("не найдена"), std::string::npos);
    EXPECT_FALSE(fs::exists(root / "unplugged"));
    sync.destroy();
}

}  // namespace

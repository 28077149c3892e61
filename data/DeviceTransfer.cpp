#include "DeviceTransfer.h"

#include "FileIO.h"
#include "Utf8Path.h"

namespace fs = std::filesystem;

const std::string_view kNotConnectedMessage = "Такое впечатление, что PDA\nне подсоединен к компьютеру";
const std::string_view kTransferDoneMessage = "Операция завершена успешно";

namespace {

constexpr size_t kMaxFolderNameBytes = 4096;

std::string quoted(const fs::path& p) { return "«" + p.string() + "»"; }

// The bytes as they now are in the local file, when they are what was meant to be written.
std::optional<TransferSource> readBackLocal(const fs::path& file, std::string meant, std::string& error) {
    const std::optional<std::string> written = readWholeFile(file, meant.size() + 1);
    if (!written || *written != meant) {
        error = "Файл " + quoted(file) + " записан, но прочитать его обратно не удалось.\nНичего не отправлено.";
        return std::nullopt;
    }
    return TransferSource{file.filename().string(), std::move(meant), file};
}

// The data folder made when missing; false with the message when it cannot take files.
bool prepared(DataFolder& folder, const fs::path& file, std::string& error) {
    if (folder.prepare() == FolderProblem::None) return true;
    error = "Не удалось записать файл " + quoted(file) + ":\n" + folder.problemText() + "\nНичего не отправлено.";
    return false;
}

}  // namespace

std::optional<TransferSource> functionForDevice(const DragFunc& f, DataFolder& folder, std::string& error) {
    const fs::path file = folder.folder() / kDeviceFunctionFileName;
    if (!prepared(folder, file, error)) return std::nullopt;
    std::string bytes = DragLibrary::singleRecordBytes(f);
    if (!writeFileAtomically(file, bytes)) {
        error = "Не удалось записать файл " + quoted(file) + ".\nНичего не отправлено.";
        return std::nullopt;
    }
    return readBackLocal(file, std::move(bytes), error);
}

std::optional<TransferSource> libraryForDevice(DragLibrary& library, DataFolder& folder, std::string& error) {
    const fs::path file = folder.library();
    if (!prepared(folder, file, error)) return std::nullopt;
    if (!library.saveLibrary(file)) {
        error = "Не удалось сохранить библиотеку драг-функций:\n" + file.string() + "\nНичего не отправлено.";
        return std::nullopt;
    }
    return readBackLocal(file, library.libraryBytes(), error);
}

TransferOutcome transferToDevice(device::DeviceLink& link, const TransferSource& source,
                                 std::chrono::milliseconds limit) {
    // The handheld reads no larger file; sent, it would be refused there or read cut.
    if (source.bytes.size() > kMaxLibraryFileBytes)
        return {false, "Файл " + quoted(source.localFile) + " слишком велик для устройства (" +
                           std::to_string(source.bytes.size()) + " байт).\nНичего не отправлено."};
    const device::ConnectResult connection = link.connect(limit);
    if (!connection.connected()) return {false, std::string(kNotConnectedMessage) + "\n\n" + connection.reason + "."};
    const device::WriteResult written = link.writeFile(source.fileName, source.bytes);
    if (!written.ok) return {false, written.message};
    return {true, std::string(kTransferDoneMessage) + "\n" + written.target.string()};
}

fs::path keptDeviceFolder(const fs::path& dataFolder) {
    const std::optional<std::string> text = readWholeFile(dataFolder / kDeviceFolderFileName, kMaxFolderNameBytes);
    if (!text) return {};
    std::string name = *text;
    while (!name.empty() && (name.back() == '\n' || name.back() == '\r')) name.pop_back();
    // One line of a name, no control characters: anything else is not a folder this program kept.
    for (const char c : name)
        if (static_cast<unsigned char>(c) < 0x20) return {};
    const fs::path folder = utf8Path(name);  // kept as UTF-8 (below)
    return folder.is_absolute() ? folder : fs::path();
}

bool keepDeviceFolder(const fs::path& dataFolder, const fs::path& deviceFolder) {
    return writeFileAtomically(dataFolder / kDeviceFolderFileName, deviceFolder.string() + "\n");
}

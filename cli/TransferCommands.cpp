#include "TransferCommands.h"

#include "DeviceTransfer.h"
#include "FolderDevice.h"
#include "InputArguments.h"
#include "StoredData.h"
#include "Tkcalc.h"

namespace fs = std::filesystem;

namespace {
std::string inQuotes(std::string_view text) { return "«" + std::string(text) + "»"; }

// --device DIR or --device=DIR; the rest in order.
std::vector<std::string> takeDevice(const std::vector<std::string>& args, std::optional<fs::path>& device) {
    std::vector<std::string> rest;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--device") {
            if (i + 1 >= args.size()) throw BadCommand{"у параметра «--device» нет значения"};
            device = args[++i];
        } else if (a.rfind("--device=", 0) == 0) {
            device = a.substr(9);
        } else {
            rest.push_back(a);
        }
    }
    if (device && device->empty()) throw BadCommand{"у параметра «--device» нет значения"};
    return rest;
}

int run(const std::string& command, const std::vector<std::string>& args, std::ostream& out) {
    std::optional<fs::path> dataDir;
    std::optional<fs::path> deviceDir;
    const std::vector<std::string> rest = takeDevice(takeDataDir(args, dataDir), deviceDir);
    for (const std::string& a : rest)
        if (a.rfind("--", 0) == 0) throw BadCommand{"неизвестный параметр " + inQuotes(a)};
    const bool send = command == "send";
    if (send ? rest.size() != 1 || rest[0].empty() : !rest.empty())
        throw BadCommand{send ? "send ожидает ИМЯ[#НОМЕР] --device ПАПКА" : "sync ожидает только --device ПАПКА"};
    if (!deviceDir) throw BadCommand{command + ": не указана папка устройства (--device ПАПКА)"};

    std::string error;
    std::optional<StoredData> stored = loadStoredData(dataDir, error);
    if (!stored) throw BadCommand{error};
    std::optional<TransferSource> source;
    if (send) {
        const auto [name, number] = splitNameAndNumber(rest[0]);
        const DragFunc* found = findDragFunction(stored->library, name, number);
        if (!found) throw BadCommand{"send: в библиотеке нет драг-функции " + inQuotes(rest[0]) + " (список: tkcalc list)"};
        source = functionForDevice(*found, stored->folder, error);
    } else {
        // A library not read whole would replace the device's with what was left of it.
        const LibraryKept kept = stored->library.kept();
        if (kept == LibraryKept::Unreadable || kept == LibraryKept::CutShort)
            throw BadCommand{"sync: библиотека " + inQuotes(stored->library.keptFile().string()) +
                             (kept == LibraryKept::Unreadable ? " не читается" : " прочитана не вся (файл обрывается)") +
                             "; на устройство ничего не отправлено"};
        source = libraryForDevice(stored->library, stored->folder, error);
    }
    if (!source) throw BadCommand{error};
    device::FolderDevice link(*deviceDir);
    const TransferOutcome outcome = transferToDevice(link, *source);
    if (!outcome.ok) throw BadCommand{outcome.message};
    out << outcome.message << "\n";
    return kTkcalcOk;
}
}  // namespace

std::optional<int> runTransferCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.empty() || (args[0] != "send" && args[0] != "sync")) return std::nullopt;
    try {
        return run(args[0], std::vector<std::string>(args.begin() + 1, args.end()), out);
    } catch (const BadCommand& bad) {
        return reportBadCommand(bad, err);
    }
}

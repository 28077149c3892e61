#include "CopyDeleteCommands.h"

#include "InputArguments.h"
#include "LibraryRules.h"
#include "StoredData.h"
#include "TextCodec.h"
#include "Tkcalc.h"

namespace fs = std::filesystem;

namespace {

std::string entryText(const DragFunc& f) {
    return inQuotes(cp1251ToUtf8(f.nameText())) + " (номер " + std::to_string(f.uniqueNumber) + ")";
}

// The library's refusal, kept for the error message.
class RefusalText : public LibraryReporter {
public:
    std::string text;
    void show(std::string_view utf8) override {
        text = utf8;
        for (char& c : text)
            if (c == '\n') c = ' ';  // one line on the terminal
    }
};

int run(const std::string& command, const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    std::optional<fs::path> dataDir;
    const std::vector<std::string> rest = takeDataDir(args, dataDir);
    if (rest.size() != 1 || rest[0].empty()) throw BadCommand{command + " ожидает ИМЯ[#НОМЕР]"};

    std::string error;
    std::optional<StoredData> stored = loadStoredData(dataDir, error);
    if (!stored) throw BadCommand{error};
    const auto [name, number] = splitNameAndNumber(rest[0]);
    const DragFunc* found = findDragFunction(stored->library, name, number);
    if (!found) throw BadCommand{command + ": в библиотеке нет драг-функции " + inQuotes(rest[0]) + " (список: tkcalc list)"};
    const DragFunc source = *found;

    std::string done;
    if (command == "copy") {
        done = "Скопировано: " + entryText(source) + " -> " + entryText(addCopy(stored->library, source));
    } else {
        RefusalText refusal;
        if (stored->library.deleteByNameAndNumber(source.nameText(), source.uniqueNumber, &refusal) !=
            DeleteResult::Deleted)
            throw BadCommand{"delete: " + refusal.text};
        done = "Удалено: " + entryText(source);
    }
    if (!saveStoredLibrary(*stored, error)) throw BadCommand{error};
    out << done << "\n";
    if (command == "delete" && source.kind == DragFuncKind::Standard)
        err << "Предупреждение: стандартные функции не хранятся в файле библиотеки, " << inQuotes(cp1251ToUtf8(source.nameText()))
            << " появится снова при следующем запуске\n";
    const ShotInputs& in = stored->inputs;
    if (command == "delete" && in.dragFunctionNumber == source.uniqueNumber &&
        in.dragFunctionName == cp1251ToUtf8(source.nameText()))
        err << "Предупреждение: это драг-функция сохранённых настроек; при следующем запуске настольная программа "
               "возьмёт вместо неё G1\n";
    return kTkcalcOk;
}
}  // namespace

std::optional<int> runCopyDeleteCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.empty() || (args[0] != "copy" && args[0] != "delete")) return std::nullopt;
    try {
        return run(args[0], std::vector<std::string>(args.begin() + 1, args.end()), out, err);
    } catch (const BadCommand& bad) {
        return reportBadCommand(bad, err);
    }
}

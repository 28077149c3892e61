#include "LibraryCommands.h"

#include <nlohmann/json.hpp>
#include <system_error>

#include "ExchangeImportExport.h"
#include "InputArguments.h"
#include "StoredData.h"
#include "TextCodec.h"
#include "Tkcalc.h"
#include "Utf8Path.h"

namespace fs = std::filesystem;

namespace {

std::string lowerExtension(const fs::path& path) {
    std::string ext = path.extension().string();
    for (char& c : ext)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return ext;
}

StoredData load(const std::optional<fs::path>& dataDir) {
    std::string error;
    std::optional<StoredData> stored = loadStoredData(dataDir, error);
    if (!stored) throw BadCommand{error};
    return std::move(*stored);
}

int list(const std::vector<std::string>& args, std::ostream& out) {
    std::optional<fs::path> dataDir;
    const std::vector<std::string> rest = takeDataDir(args, dataDir);
    bool json = false;
    for (const std::string& a : rest) {
        if (a == "--json") json = true;
        else throw BadCommand{"list: лишний аргумент " + inQuotes(a)};
    }
    const StoredData stored = load(dataDir);
    if (json) {
        nlohmann::ordered_json all = nlohmann::ordered_json::array();
        for (const DragFunc& f : stored.library) all.push_back(dragFunctionJson(f));
        out << all.dump(2) << "\n";
        return kTkcalcOk;
    }
    out << "Тип\tДраг-функция\tОписание\tУник.номер\n";
    for (const DragFunc& f : stored.library)
        out << dragFuncKindText(f.kind) << '\t' << cp1251ToUtf8(f.name) << '\t' << cp1251ToUtf8(f.description) << '\t'
            << f.uniqueNumber << '\n';
    return kTkcalcOk;
}

// Answers the ".pro" name question: from the command line, else on the terminal.
class CommandLineAnswers : public ExchangeReporter {
public:
    CommandLineAnswers(std::optional<bool> overwrite, std::istream& in, std::ostream& out)
        : overwrite_(overwrite), in_(in), out_(out) {}
    void show(std::string_view utf8) override { out_ << utf8 << "\n"; }
    bool askYesNo(std::string_view utf8) override {
        if (overwrite_) return *overwrite_;
        for (;;) {
            out_ << utf8 << " (д/н): " << std::flush;
            std::string answer;
            if (!std::getline(in_, answer)) return false;
            if (answer == "д" || answer == "Д" || answer == "y" || answer == "Y" || answer == "да") return true;
            if (answer == "н" || answer == "Н" || answer == "n" || answer == "N" || answer == "нет") return false;
        }
    }

private:
    std::optional<bool> overwrite_;
    std::istream& in_;
    std::ostream& out_;
};

// A ".snr" or ".drg" goes in only when it gives a usable function: read as --drag-file reads it,
// which refuses a file with no point (an empty or foreign file) or with values that are not
// numbers. Numbered and added as importSnr and importDrg add theirs.
bool importUsable(DragLibrary& library, const fs::path& file, std::string& why) {
    std::optional<DragFunc> f = readDragFunctionFile(file, why);
    if (!f) return false;
    f->uniqueNumber = library.nextUniqueNumber();
    library.add(*f);
    return true;
}

int import(const std::vector<std::string>& args, std::istream& in, std::ostream& out, std::ostream& err) {
    std::optional<fs::path> dataDir;
    std::optional<bool> overwrite;
    std::vector<fs::path> files;
    for (const std::string& a : takeDataDir(args, dataDir)) {
        if (a == "--overwrite") overwrite = true;
        else if (a == "--no-overwrite") overwrite = false;
        else if (!a.empty() && a[0] == '-') throw BadCommand{"import: неизвестный параметр " + inQuotes(a)};
        else files.push_back(utf8Path(a));
    }
    if (files.empty()) throw BadCommand{"import: укажите файлы .snr, .drg или .pro"};
    for (const fs::path& f : files) {
        const std::string ext = lowerExtension(f);
        if (ext != ".snr" && ext != ".drg" && ext != ".pro")
            throw BadCommand{"import: " + inQuotes(f.string()) + " - не файл .snr, .drg или .pro"};
    }
    StoredData stored = load(dataDir);
    CommandLineAnswers answers(overwrite, in, out);
    int imported = 0;
    for (const fs::path& f : files) {
        std::string why = "Не могу прочитать файл";
        const bool ok = lowerExtension(f) == ".pro" ? importPro(stored.library, f, answers)
                                                    : importUsable(stored.library, f, why);
        if (ok) ++imported;
        else err << "tkcalc: " << inQuotes(f.string()) << " не импортирован. " << why << "\n";
    }
    if (imported > 0) {
        std::string why;
        if (!saveStoredLibrary(stored, why)) {
            err << "tkcalc: ошибка: " << why << "; ничего не импортировано\n";
            return kTkcalcBadInput;
        }
    }
    out << "Импортировано функций: " << imported << "\n";
    return imported == static_cast<int>(files.size()) ? kTkcalcOk : kTkcalcBadInput;
}

int exportFunction(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    std::optional<fs::path> dataDir;
    const std::vector<std::string> rest = takeDataDir(args, dataDir);
    if (rest.size() != 2) throw BadCommand{"export ожидает ИМЯ[#НОМЕР] ФАЙЛ"};
    const fs::path file = utf8Path(rest[1]);
    const std::string ext = lowerExtension(file);
    if (ext != ".snr" && ext != ".dat") throw BadCommand{"export: файл должен быть .snr или .dat"};
    const StoredData stored = load(dataDir);
    const auto [name, number] = splitNameAndNumber(rest[0]);
    const DragFunc* f = findDragFunction(stored.library, name, number);
    if (!f) throw BadCommand{"export: в библиотеке нет драг-функции " + inQuotes(rest[0]) + " (список: tkcalc list)"};
    CommandLineAnswers reporter(std::nullopt, std::cin, err);
    const bool ok = ext == ".snr" ? exportSnr(*f, file, reporter) : DragLibrary::writeSingleRecord(*f, file);
    if (!ok) {
        if (ext == ".dat") err << "Не могу записать файл\n";
        return kTkcalcBadInput;
    }
    out << "Сохранено в файл:\n" << file.string() << "\n";
    return kTkcalcOk;
}
}  // namespace

nlohmann::ordered_json dragFunctionJson(const DragFunc& f, bool withIdentity) {
    auto number = [](double v) { return std::isfinite(v) ? nlohmann::ordered_json(v) : nlohmann::ordered_json(); };
    nlohmann::ordered_json points = nlohmann::ordered_json::array();
    for (const DragElement& p : f.points) points.push_back({number(p.mach), number(p.cd)});
    nlohmann::ordered_json entry = nlohmann::ordered_json::object();
    if (withIdentity) {
        entry["uniqueNumber"] = f.uniqueNumber;
        entry["kind"] = dragFuncKindName(f.kind);
        entry["type"] = dragFuncKindText(f.kind);
    }
    entry["name"] = cp1251ToUtf8(f.name);
    if (withIdentity) entry["description"] = cp1251ToUtf8(f.description);
    entry["points"] = points;
    entry["sectionalDensity"] = number(f.sectionalDensity);
    entry["stabilityFactor"] = number(f.stabilityFactor);
    entry["twist"] = number(f.twist);
    entry["bulletLength"] = number(f.bulletLength);
    entry["bulletDiameter"] = number(f.bulletDiameter);
    entry["bulletWeight"] = number(f.bulletWeight);
    return entry;
}

std::optional<int> runLibraryCommand(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
                                     std::ostream& err) {
    if (args.empty()) return std::nullopt;
    const std::string& command = args[0];
    if (command != "list" && command != "import" && command != "export") return std::nullopt;
    const std::vector<std::string> rest(args.begin() + 1, args.end());
    try {
        if (command == "list") return list(rest, out);
        if (command == "import") return import(rest, in, out, err);
        return exportFunction(rest, out, err);
    } catch (const BadCommand& bad) {
        return reportBadCommand(bad, err);
    }
}

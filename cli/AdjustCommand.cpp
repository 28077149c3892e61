#include "AdjustCommand.h"

#include <cstdio>
#include <filesystem>
#include <nlohmann/json.hpp>

#include "CurveAdjust.h"
#include "InputArguments.h"
#include "LibraryCommands.h"
#include "StoredData.h"
#include "TextCodec.h"
#include "Tkcalc.h"

namespace fs = std::filesystem;

namespace {

// The curve editor's message on one line.
std::string oneLine(std::string text) {
    for (char& c : text)
        if (c == '\n') c = ' ';
    return text;
}

struct Operation {
    const char* name;
    CurveButton button;
};
constexpr Operation kOperations[] = {
    {"raise", CurveButton::Raise},           {"lower", CurveButton::Lower},
    {"raise-peak", CurveButton::RaisePeak},  {"lower-peak", CurveButton::LowerPeak},
    {"raise-right", CurveButton::RaiseRight}, {"lower-right", CurveButton::LowerRight},
};

// As the editor refuses it.
constexpr const char* kStandardRefusal =
    "нельзя редактировать стандартную функцию; сделайте копию (tkcalc copy) и редактируйте её";

std::string numberText(double v) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.15g", v);
    return buffer;
}

int adjust(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    std::optional<fs::path> dataDir;
    bool json = false;
    bool save = false;
    std::vector<std::string> positional;
    for (const std::string& a : takeDataDir(args, dataDir)) {
        if (a == "--json") json = true;
        else if (a == "--save") save = true;
        else if (a.rfind("--", 0) == 0) throw BadCommand{"adjust: неизвестный параметр " + inQuotes(a)};
        else positional.push_back(a);
    }
    if (positional.size() != 3)
        throw BadCommand{"adjust ожидает ИМЯ[#НОМЕР] raise|lower|raise-peak|lower-peak|raise-right|lower-right ШАГ"};

    const Operation* operation = nullptr;
    for (const Operation& o : kOperations)
        if (positional[1] == o.name) operation = &o;
    if (!operation)
        throw BadCommand{"adjust: действие raise, lower, raise-peak, lower-peak, raise-right или lower-right, получено " +
                         inQuotes(positional[1])};
    std::string why;
    const std::optional<double> step = parseNumber(positional[2], why);
    if (!step) throw BadCommand{"adjust, шаг: " + why};
    if (!(*step > 0)) throw BadCommand{"adjust: шаг должен быть больше 0, получено " + inQuotes(positional[2])};

    std::optional<StoredData> stored = loadStoredData(dataDir, why);
    if (!stored) throw BadCommand{why};
    const auto [name, number] = splitNameAndNumber(positional[0]);
    const DragFunc* found = findDragFunction(stored->library, name, number);
    if (!found)
        throw BadCommand{"adjust: в библиотеке нет драг-функции " + inQuotes(positional[0]) + " (список: tkcalc list)"};
    DragFunc f = *found;
    if (save && f.kind == DragFuncKind::Standard) throw BadCommand{std::string("adjust --save: ") + kStandardRefusal};

    // The curve editor gets its points in ascending Mach order, as the table editor saves them.
    sortByMach(f.points);
    const CurveAdjustResult r = adjustCurve(f.points, operation->button, *step);
    if (!r.changed()) {
        err << "tkcalc: ошибка: " << oneLine(curveAdjustMessage(r)) << (save ? " Библиотека не записана." : "") << "\n";
        return kTkcalcBadInput;
    }
    if (save) {
        const std::string storedName(found->nameText());
        stored->library.replaceByNameAndNumber(storedName, f.uniqueNumber, f);
        if (!saveStoredLibrary(*stored, why)) {
            err << "tkcalc: ошибка: " << why << "; библиотека не записана\n";
            return kTkcalcBadInput;
        }
    }
    if (json) {
        out << dragFunctionJson(f).dump(2) << "\n";
    } else {
        out << "Драг-функция: " << cp1251ToUtf8(f.nameText()) << " (уник.номер " << f.uniqueNumber << ")\n"
            << "Мах\tCd\n";
        for (const DragElement& p : f.points) out << numberText(p.mach) << '\t' << numberText(p.cd) << '\n';
    }
    out.flush();
    if (save) err << "Библиотека записана: " << stored->folder.library().string() << "\n";
    return kTkcalcOk;
}
}  // namespace

std::optional<int> runAdjustCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.empty() || args[0] != "adjust") return std::nullopt;
    for (const std::string& a : args)
        if (a == "-h" || a == "--help") return std::nullopt;  // the help covers every command
    try {
        return adjust(std::vector<std::string>(args.begin() + 1, args.end()), out, err);
    } catch (const BadCommand& bad) {
        return reportBadCommand(bad, err);
    }
}

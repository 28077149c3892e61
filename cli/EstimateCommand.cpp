#include "EstimateCommand.h"

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <system_error>

#include "BCdrag.h"
#include "BulletFiles.h"
#include "BulletsCommand.h"
#include "InputArguments.h"
#include "LibraryCommands.h"
#include "RoundTo.h"
#include "StoredData.h"
#include "TextCodec.h"
#include "Tkcalc.h"
#include "Utf8Path.h"

namespace fs = std::filesystem;

namespace {
constexpr const char* kUndefined = "не определено";


// The options that take a number, with the input each one sets.
struct NumberOption {
    const char* name;
    double BCdrag::*member;
};
constexpr NumberOption kNumberOptions[] = {
    {"--velocity", &BCdrag::velocity},          {"--length", &BCdrag::length},
    {"--diameter", &BCdrag::diameter},          {"--nose-length", &BCdrag::noseLength},
    {"--meplat", &BCdrag::meplatDiameter},      {"--base-diameter", &BCdrag::baseDiameter},
    {"--boat-tail", &BCdrag::boatTailLength},   {"--twist", &BCdrag::twist},
    {"--weight", &BCdrag::weight},              {"--ogive-radius", &BCdrag::ogiveRadius},
};

struct Request {
    std::optional<fs::path> dataDir;
    std::optional<std::string> bullet;  // NAME[#N] in the database
    std::vector<std::pair<double BCdrag::*, double>> numbers;
    std::optional<int32_t> nose;
    int32_t model = 0;  // G1 each time, as the dialog opens
    std::optional<std::string> name;
    std::vector<double> machs;
    bool json = false;
    bool add = false;
};

double number(const std::string& option, const std::string& text) {
    std::string why;
    const std::optional<double> v = parseNumber(text, why);
    if (!v) throw BadCommand{option + ": " + why};
    return *v;
}

std::vector<double> machList(const std::string& text) {
    std::vector<double> machs;
    size_t start = 0;
    for (;;) {
        const size_t comma = text.find(',', start);
        const std::string item = text.substr(start, comma - start);
        const double m = number("--mach", item);
        // The base and meplat drag divide by the square of the Mach number.
        if (!(m > 0)) throw BadCommand{"--mach: число Маха должно быть больше 0, получено " + inQuotes(item)};
        machs.push_back(m);
        if (comma == std::string::npos) break;
        start = comma + 1;
    }
    return machs;
}

Request parse(const std::vector<std::string>& args) {
    Request r;
    for (size_t i = 0; i < args.size(); ++i) {
        std::string option = args[i];
        std::optional<std::string> value;
        if (const size_t eq = option.find('='); option.rfind("--", 0) == 0 && eq != std::string::npos) {
            value = option.substr(eq + 1);
            option.resize(eq);
        }
        if (option == "--json" || option == "--add") {
            if (value) throw BadCommand{"флаг " + inQuotes(option) + " не принимает значения"};
            (option == "--json" ? r.json : r.add) = true;
            continue;
        }
        if (option.rfind("--", 0) != 0) throw BadCommand{"estimate: лишний аргумент " + inQuotes(option)};
        if (!value) {
            if (i + 1 >= args.size()) throw BadCommand{"у параметра " + inQuotes(option) + " нет значения"};
            value = args[++i];
        }
        const std::string& v = *value;
        bool known = true;
        if (option == "--data-dir") {
            r.dataDir = utf8Path(v);
        } else if (option == "--bullet") {
            r.bullet = v;
        } else if (option == "--name") {
            r.name = v;
        } else if (option == "--mach") {
            const std::vector<double> more = machList(v);
            r.machs.insert(r.machs.end(), more.begin(), more.end());
        } else if (option == "--nose") {
            if (v == "tangent") r.nose = 0;
            else if (v == "secant") r.nose = 1;
            else if (v == "conical") r.nose = 2;
            else throw BadCommand{"--nose: tangent, secant или conical, получено " + inQuotes(v)};
        } else if (option == "--model") {
            if (v == "G1" || v == "g1") r.model = 0;
            else if (v == "G7" || v == "g7") r.model = 1;
            else throw BadCommand{"--model: G1 или G7, получено " + inQuotes(v)};
        } else {
            known = false;
            for (const NumberOption& o : kNumberOptions) {
                if (option == o.name) {
                    r.numbers.emplace_back(o.member, number(option, v));
                    known = true;
                }
            }
        }
        if (!known) throw BadCommand{"estimate: неизвестный параметр " + inQuotes(option)};
    }
    return r;
}

std::string shown(double v, const char* format = "%.15g") {
    if (!std::isfinite(v)) return kUndefined;
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, format, v);
    return buffer;
}

nlohmann::ordered_json jsonNumber(double v) { return std::isfinite(v) ? nlohmann::ordered_json(v) : nlohmann::ordered_json(); }

// The warning on one line, for stderr.
std::string oneLine(std::string_view text) {
    std::string line(text);
    for (char& c : line)
        if (c == '\n') c = ' ';
    return line;
}

int estimate(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    const Request r = parse(args);
    std::string error;
    std::optional<StoredData> stored = loadStoredData(r.dataDir, error);
    if (!stored) throw BadCommand{error};
    // Only read: no older file is taken over and nothing is written.
    const BulletFiles::Folders folders{stored->folder.folder(), {}};
    CBulletDimensions bullet;
    if (r.bullet) {
        const BulletFiles::DatabaseLoad db = BulletFiles::LoadDatabase(folders);
        const std::optional<CBulletDimensions> found = findBullet(db.bullets, *r.bullet);
        if (!found) throw BadCommand{"в базе пуль нет " + inQuotes(*r.bullet) + "; " + bulletList(db.bullets)};
        bullet = *found;
    } else {
        bullet = BulletFiles::LoadCurrent(folders).bullet;
    }

    BCdrag b;
    b.takeBullet(bullet);
    for (const auto& [member, value] : r.numbers) b.*member = value;
    if (r.nose) b.noseShape = *r.nose;
    b.referenceModel = r.model;
    const std::string name = r.name ? *r.name : cp1251ToUtf8(bullet.nameText());

    const BCdragWarnings warnings = b.Calculate();
    const std::vector<DragElement> table = b.estimatedDragTable();
    const BCdragCheck check = b.check(table);
    DragFunc f;  // a new function, as the manager opens the estimate for one
    b.fillDragFunc(f, utf8ToCp1251(name), table);
    const std::string model(referenceModelName(b.ballisticCoefficientModel));

    if (r.json) {
        nlohmann::ordered_json warningTexts = nlohmann::ordered_json::array();
        for (BCdragWarning w : warnings.inOrder()) warningTexts.push_back(std::string(bcDragWarningText(w)));
        nlohmann::ordered_json machs = nlohmann::ordered_json::array();
        for (double m : r.machs) machs.push_back({jsonNumber(m), jsonNumber(b.CdAtMach(m))});
        nlohmann::ordered_json o = {
            {"bullet", name},
            {"model", model},
            {"ballisticCoefficient", jsonNumber(b.ballisticCoefficient)},
            {"formFactor", jsonNumber(b.formFactor)},
            {"sectionalDensity", jsonNumber(RoundTo(b.sectionalDensity, 3))},
            {"stabilityFactor", jsonNumber(b.stabilityFactor)},
            {"twistForStability", jsonNumber(b.twistForStability)},
            {"tangentRadius", jsonNumber(b.tangentRadius)},
            {"usable", check.usable()},
            {"warnings", warningTexts},
            {"cdAtMach", machs},
            {"dragFunction", dragFunctionJson(f, false)},
        };
        out << o.dump(2) << "\n";
    } else {
        out << "Пуля: " << name << "\n"
            << "Баллистический коэффициент (для " << model << " и заданной скорости): " << shown(b.ballisticCoefficient)
            << "\n"
            << "Форм-фактор: " << shown(b.formFactor) << "\n"
            << "Поперечная нагрузка: " << shown(RoundTo(b.sectionalDensity, 3)) << "\n"
            << "Фактор гироскопической стабильности: " << shown(b.stabilityFactor) << "\n"
            << "Оптимальный шаг нарезов, дюймы: " << shown(b.twistForStability) << "\n"
            << "Радиус тангенциального оживала, калибры: " << shown(b.tangentRadius) << "\n"
            << "\nДраг-функция (" << table.size() << " точек):\nМах\tCd\n";
        for (const DragElement& p : table) out << shown(p.mach) << '\t' << shown(p.cd, "%.4f") << '\n';
        if (!r.machs.empty()) {
            out << "\nМах\tCd\n";
            for (double m : r.machs) out << shown(m) << '\t' << shown(b.CdAtMach(m), "%.4f") << '\n';
        }
    }
    out.flush();
    for (BCdragWarning w : warnings.inOrder()) err << "Предупреждение: " << oneLine(bcDragWarningText(w)) << "\n";
    if (!check.usable()) {
        err << "Предупреждение: не определено или не больше 0: " << bcDragUnusableText(check)
            << "; проверьте размеры пули" << (r.add ? ". Драг-функция не добавлена" : "") << "\n";
        return kTkcalcUnreliable;
    }
    if (r.add) {
        f.kind = DragFuncKind::Special;
        f.uniqueNumber = stored->library.nextUniqueNumber();
        stored->library.add(f);
        std::string why;
        if (!saveStoredLibrary(*stored, why)) {
            err << "tkcalc: ошибка: " << why << "; драг-функция не добавлена\n";
            return kTkcalcBadInput;
        }
        err << "Добавлена драг-функция " << inQuotes(cp1251ToUtf8(f.nameText())) << " (уник.номер "
            << f.uniqueNumber << ")\n";
    }
    return kTkcalcOk;
}
}  // namespace

std::optional<int> runEstimateCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.empty() || args[0] != "estimate") return std::nullopt;
    for (const std::string& a : args)
        if (a == "-h" || a == "--help") return std::nullopt;  // the help covers every command
    try {
        return estimate(std::vector<std::string>(args.begin() + 1, args.end()), out, err);
    } catch (const BadCommand& bad) {
        return reportBadCommand(bad, err);
    }
}

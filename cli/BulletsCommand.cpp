#include "BulletsCommand.h"

#include <cmath>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <system_error>

#include "BulletFiles.h"
#include "BulletReport.h"
#include "FileIO.h"
#include "InputArguments.h"
#include "StoredData.h"
#include "TextCodec.h"
#include "Tkcalc.h"

namespace fs = std::filesystem;

namespace {

// The database as the calculator would open it, read without taking anything over or writing.
struct ShownDatabase {
    CBulletsArray bullets;
    fs::path file;
    const char* source = "builtIn";  // "file", "legacy" (taken over at the calculator's next opening), "builtIn"
    std::vector<std::string> warnings;
};

ShownDatabase readDatabase(const fs::path& folder) {
    ShownDatabase db;
    db.file = folder / BulletFiles::kDatabaseFileName;
    const fs::path legacy = folder / BulletFiles::kLegacyDatabaseFileName;
    std::error_code ec;
    if (fs::exists(db.file, ec)) {
        const std::optional<std::string> bytes = readWholeFile(db.file, BulletFiles::kDatabaseFileReadLimit);
        if (!bytes) {
            db.bullets = CBulletsArray::BuiltIn();
            db.warnings.push_back(inQuotes(db.file.string()) + " не читается; показан начальный список пуль, "
                                  "как его покажет калькулятор");
            return db;
        }
        BulletFiles::ParsedDatabase parsed = BulletFiles::ParseDatabase(*bytes);
        db.bullets = std::move(parsed.bullets);
        db.source = "file";
        if (!parsed.complete)
            db.warnings.push_back(inQuotes(db.file.string()) + " прочитан не целиком; показаны только пули, прочитанные до "
                                  "места повреждения (" + std::to_string(db.bullets.GetSize()) + ")");
        return db;
    }
    if (const std::optional<std::string> bytes = readWholeFile(legacy, BulletFiles::kDatabaseFileReadLimit)) {
        BulletFiles::ParsedDatabase parsed = BulletFiles::ParseLegacyDatabase(*bytes);
        db.bullets = std::move(parsed.bullets);
        db.file = legacy;
        db.source = "legacy";
        if (!parsed.complete)
            db.warnings.push_back(inQuotes(legacy.string()) + " прочитан не целиком; показаны только пули, прочитанные до "
                                  "места повреждения (" + std::to_string(db.bullets.GetSize()) + ")");
        return db;
    }
    db.bullets = CBulletsArray::BuiltIn();
    return db;
}

nlohmann::ordered_json jsonNumber(double v) {
    return std::isfinite(v) ? nlohmann::ordered_json(v) : nlohmann::ordered_json();
}

const char* noseName(NoseShape shape) {
    if (shape == NoseShape::Secant) return "secant";
    if (shape == NoseShape::Conical) return "conical";
    return "tangent";  // as the calculator counts any other value
}

nlohmann::ordered_json bulletJson(const CBulletDimensions& b) {
    return {
        {"name", cp1251ToUtf8(b.nameText())},
        {"uniqueNumber", b.uniqueNumber},
        {"velocity", jsonNumber(b.velocity)},
        {"length", jsonNumber(b.length)},
        {"diameter", jsonNumber(b.diameter)},
        {"noseLength", jsonNumber(b.noseLength)},
        {"meplatDiameter", jsonNumber(b.meplatDiameter)},
        {"baseDiameter", jsonNumber(b.baseDiameter)},
        {"boatTailLength", jsonNumber(b.boatTailLength)},
        {"twist", jsonNumber(b.twist)},
        {"weight", jsonNumber(b.weight)},
        {"noseShape", noseName(b.noseShape)},
        {"ogiveRadius", jsonNumber(b.ogiveRadius)},
    };
}

int bullets(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    std::optional<fs::path> dataDir;
    std::vector<std::string> rest;
    bool json = false;
    for (const std::string& a : takeDataDir(args, dataDir)) {
        if (a == "--json") {
            json = true;
        } else if (a.rfind("--", 0) == 0) {
            throw BadCommand{"bullets: неизвестный параметр " + inQuotes(a)};
        } else {
            rest.push_back(a);
        }
    }
    const bool show = !rest.empty() && rest[0] == "show";
    if (show && rest.size() != 2) throw BadCommand{"bullets show: укажите одну пулю: ИМЯ[#НОМЕР]"};
    if (show && json) throw BadCommand{"bullets show: флаг «--json» не применяется"};
    if (!show && !rest.empty()) throw BadCommand{"bullets: лишний аргумент " + inQuotes(rest[0])};

    std::string error;
    const std::optional<DataFolder> folder = findDataFolder(dataDir, error);
    if (!folder) throw BadCommand{error};
    const ShownDatabase db = readDatabase(folder->folder());

    if (show) {
        const std::optional<CBulletDimensions> found = findBullet(db.bullets, rest[1]);
        if (!found) throw BadCommand{"в базе пуль нет " + inQuotes(rest[1]) + "; " + bulletList(db.bullets)};
        out << bulletReportText(*found) << "\n";
    } else if (json) {
        nlohmann::ordered_json list = nlohmann::ordered_json::array();
        for (const CBulletDimensions& b : db.bullets) list.push_back(bulletJson(b));
        const nlohmann::ordered_json o = {
            {"file", db.file.string()},
            {"source", db.source},
            {"complete", db.warnings.empty()},
            {"bullets", list},
        };
        out << o.dump(2) << "\n";
    } else {
        out << "Уник.номер\tПуля\n";
        for (const CBulletDimensions& b : db.bullets)
            out << b.uniqueNumber << '\t' << cp1251ToUtf8(b.nameText()) << '\n';
    }
    out.flush();
    if (!show && std::string_view(db.source) == "builtIn" && db.warnings.empty())
        err << "Файла " << inQuotes(db.file.string()) << " нет: показан начальный список пуль\n";
    for (const std::string& w : db.warnings) err << "Предупреждение: " << w << "\n";
    return db.warnings.empty() ? kTkcalcOk : kTkcalcUnreliable;
}
}  // namespace

std::optional<CBulletDimensions> findBullet(const CBulletsArray& bullets, const std::string& text) {
    const auto [utf8Name, number] = splitNameAndNumber(text);
    const std::string name = utf8ToCp1251(utf8Name);
    for (const CBulletDimensions& b : bullets) {
        if (b.nameText() == name && (!number || *number == b.uniqueNumber)) return b;
    }
    return std::nullopt;
}

std::string bulletList(const CBulletsArray& bullets) {
    if (bullets.IsEmpty()) return "база пуль пуста";
    std::string list = "есть: ";
    for (size_t i = 0; i < bullets.GetSize(); ++i) {
        const CBulletDimensions& b = bullets[i];
        if (i > 0) list += ", ";
        list += '"';
        list += cp1251ToUtf8(b.nameText());
        list += '#';
        list += std::to_string(b.uniqueNumber);
        list += '"';
    }
    return list;
}

std::optional<int> runBulletsCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.empty() || args[0] != "bullets") return std::nullopt;
    for (const std::string& a : args)
        if (a == "-h" || a == "--help") return std::nullopt;  // the help covers every command
    try {
        return bullets(std::vector<std::string>(args.begin() + 1, args.end()), out, err);
    } catch (const BadCommand& bad) {
        return reportBadCommand(bad, err);
    }
}

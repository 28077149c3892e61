#include "ExchangeImportExport.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <system_error>

#include "CurveAdjust.h"
#include "DragLibrary.h"
#include "ExchangeFiles.h"
#include "FileIO.h"

namespace fs = std::filesystem;

const std::string_view kCannotWriteFileMessage = "Не могу записать файл";
const std::string_view kNameExistsQuestion = "С таким именем уже есть.\nПерезаписать?";
const std::string_view kSavingWithCopyMessage = "Записываю с прибавкой copy";

namespace {

std::optional<std::string> readExchangeFile(const fs::path& path) {
    return readWholeFile(path, kMaxExchangeFileBytes);
}

void addAsNew(DragLibrary& library, DragFunc f) {
    // The Cd lookup and the curve editor take the points in ascending Mach order.
    sortByMach(f.points);
    f.uniqueNumber = library.nextUniqueNumber();
    f.kind = DragFuncKind::Special;
    library.add(f);
}

// The function of a ".pro" record as the program takes it in: Standard becomes StandardCopy.
DragFunc fromProRecord(const DragFuncOld& old) {
    DragFunc f;
    f.copyFromOld(old);
    if (f.kind == DragFuncKind::Standard) f.kind = DragFuncKind::StandardCopy;
    return f;
}

bool allFinite(const DragFunc& f) {
    for (const DragElement& p : f.points)
        if (!std::isfinite(p.mach) || !std::isfinite(p.cd)) return false;
    for (double x : {f.stabilityFactor, f.twist, f.sectionalDensity, f.bulletLength, f.bulletDiameter, f.bulletWeight})
        if (!std::isfinite(x)) return false;
    return true;
}

std::string lowerAscii(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return text;
}
}  // namespace

bool exportSnr(const DragFunc& f, const fs::path& path, ExchangeReporter& reporter) {
    if (writeFileAtomically(path, formatSnr(f))) return true;
    reporter.show(kCannotWriteFileMessage);
    return false;
}

bool importSnr(DragLibrary& library, const fs::path& path) {
    const std::optional<std::string> bytes = readExchangeFile(path);
    if (!bytes) return false;
    addAsNew(library, parseSnr(*bytes));
    return true;
}

bool importDrg(DragLibrary& library, const fs::path& path) {
    const std::optional<std::string> bytes = readExchangeFile(path);
    if (!bytes) return false;
    addAsNew(library, parseDrg(*bytes));
    return true;
}

bool importPro(DragLibrary& library, const fs::path& path, ExchangeReporter& reporter) {
    const std::optional<std::string> bytes = readExchangeFile(path);
    if (!bytes) return false;
    const std::optional<DragFuncOld> old = parsePro(*bytes);
    if (!old) return true;
    // A record with values that are no numbers would put them into every calculation.
    if (!allFinite(fromProRecord(*old))) return false;
    addProFunction(library, *old, reporter);
    return true;
}

void addProFunction(DragLibrary& library, const DragFuncOld& old, ExchangeReporter& reporter) {
    DragFunc f = fromProRecord(old);
    f.uniqueNumber = library.nextUniqueNumber();
    sortByMach(f.points);

    const DragFunc* existing = nullptr;
    for (const DragFunc& entry : library)
        if (equalIgnoringCaseCp1251(entry.nameText(), f.nameText())) {
            existing = &entry;
            break;
        }
    if (!existing) {
        library.add(f);
        return;
    }
    if (reporter.askYesNo(kNameExistsQuestion)) {
        const std::string name(existing->nameText());
        library.replaceByNameAndNumber(name, existing->uniqueNumber, f);
        return;
    }
    reporter.show(kSavingWithCopyMessage);
    constexpr std::string_view suffix = " copy";
    const std::string_view name = f.nameText();
    std::string copyName(name.substr(0, std::min(name.size(), sizeof f.name - 1 - suffix.size())));
    copyName += suffix;
    f.setName(copyName);
    library.add(f);
}

std::string importedCountMessage(ImportKind kind, int count) {
    return std::string(kind == ImportKind::Pro ? "Импортировано функций " : "Импортировано функций: ") +
           std::to_string(count);
}

int importFiles(DragLibrary& library, ImportKind kind, std::span<const fs::path> paths,
                ExchangeReporter& reporter) {
    int count = 0;
    for (const fs::path& path : paths) {
        bool imported = false;
        switch (kind) {
        case ImportKind::Snr: imported = importSnr(library, path); break;
        case ImportKind::Drg: imported = importDrg(library, path); break;
        case ImportKind::Pro: imported = importPro(library, path, reporter); break;
        }
        if (imported) ++count;
    }
    reporter.show(importedCountMessage(kind, count));
    return count;
}

std::optional<DragFunc> readDragFunctionFile(const fs::path& path, std::string& error) {
    const std::string extension = lowerAscii(path.extension().string());
    if (extension != ".snr" && extension != ".drg" && extension != ".pro" && extension != ".dat") {
        error = "Не знаю такого файла драг-функции: нужен файл .snr, .drg, .pro или .dat";
        return std::nullopt;
    }
    const std::optional<std::string> bytes = readExchangeFile(path);
    if (!bytes) {
        std::error_code ec;
        const bool tooLarge = fs::is_regular_file(path, ec) && fs::file_size(path, ec) > kMaxExchangeFileBytes && !ec;
        error = tooLarge ? "Файл слишком велик для файла драг-функции" : "Не могу прочитать файл";
        return std::nullopt;
    }

    std::optional<DragFunc> f;
    if (extension == ".snr") {
        f = parseSnr(*bytes);
    } else if (extension == ".drg") {
        f = parseDrg(*bytes);
    } else if (extension == ".pro") {
        if (const std::optional<DragFuncOld> old = parsePro(*bytes)) f = fromProRecord(*old);
    } else {
        f = DragLibrary::readSingleRecord(*bytes);
    }
    if (!f) {
        error = "Файл пуст или обрезан: в нём нет целой записи драг-функции";
    } else if (f->points.empty()) {
        error = "В файле нет ни одной точки драг-функции";
        f.reset();
    } else if (!allFinite(*f)) {
        error = "В файле драг-функции есть значения, которые не являются числами";
        f.reset();
    } else {
        sortByMach(f->points);
    }
    return f;
}

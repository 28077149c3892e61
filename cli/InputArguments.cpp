#include "InputArguments.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "TextCodec.h"
#include "Tkcalc.h"
#include "Utf8Path.h"

std::string inQuotes(std::string_view text) { return "«" + std::string(text) + "»"; }

std::optional<double> parseNumber(std::string_view text, std::string& error) {
    if (text.empty()) {
        error = "пустое значение, нужно число";
        return std::nullopt;
    }
    std::string_view digits = text;
    if (digits.front() == '+') digits.remove_prefix(1);
    double value = 0;
    const char* end = digits.data() + digits.size();
    const auto [stop, ec] = std::from_chars(digits.data(), end, value, std::chars_format::general);
    if (ec == std::errc::result_out_of_range) {
        error = inQuotes(text) + ": число вне допустимого диапазона";
        return std::nullopt;
    }
    if (ec != std::errc() || stop != end) {
        if (text.find(',') != std::string_view::npos) {
            std::string withPoint(text);
            std::replace(withPoint.begin(), withPoint.end(), ',', '.');
            error = inQuotes(text) + " не является числом: десятичный разделитель - точка, пишите " + withPoint;
        } else {
            error = inQuotes(text) + " не является числом";
        }
        return std::nullopt;
    }
    if (!std::isfinite(value)) {
        error = inQuotes(text) + ": нужно конечное число";
        return std::nullopt;
    }
    return value;
}

bool applySetting(ShotInputs& inputs, std::string_view key, std::string_view text, std::string& error) {
    const InputField* field = findInputField(key);
    if (!field) {
        error = "неизвестное имя " + inQuotes(key) + " (список имён: tkcalc --help)";
        return false;
    }
    if (auto flag = std::get_if<bool ShotInputs::*>(&field->member)) {
        if (text != "0" && text != "1") {
            error = "допустимо только 0 или 1, получено " + inQuotes(text);
            return false;
        }
        inputs.**flag = text == "1";
        return true;
    }
    const std::optional<double> value = parseNumber(text, error);
    if (!value) return false;
    if (const std::string why = field->refusal(*value); !why.empty()) {
        error = why + ", получено " + inQuotes(text);
        return false;
    }
    if (auto number = std::get_if<double ShotInputs::*>(&field->member))
        inputs.**number = *value;
    else
        inputs.*std::get<std::optional<double> ShotInputs::*>(field->member) = *value;
    return true;
}

bool applyAssignment(ShotInputs& inputs, std::string_view assignment, std::string& error) {
    const size_t eq = assignment.find('=');
    if (eq == std::string_view::npos) {
        error = "--set ожидает ИМЯ=ЗНАЧЕНИЕ, получено " + inQuotes(assignment);
        return false;
    }
    const std::string_view name = assignment.substr(0, eq);
    if (applySetting(inputs, name, assignment.substr(eq + 1), error)) return true;
    error = "--set " + std::string(name) + ": " + error;
    return false;
}

std::pair<std::string, std::optional<int32_t>> splitNameAndNumber(const std::string& text) {
    const size_t hash = text.rfind('#');
    if (hash == std::string::npos || hash + 1 == text.size()) return {text, std::nullopt};
    std::string why;
    const std::optional<double> n = parseNumber(text.substr(hash + 1), why);
    if (!n || *n != static_cast<int32_t>(*n)) return {text, std::nullopt};
    return {text.substr(0, hash), static_cast<int32_t>(*n)};
}

const DragFunc* findDragFunction(const DragLibrary& library, std::string_view utf8Name,
                                 std::optional<int32_t> number) {
    const std::string name = utf8ToCp1251(utf8Name);
    for (const DragFunc& f : library)
        if (name == f.name && (!number || *number == f.uniqueNumber)) return &f;
    if (number) return nullptr;
    const int32_t found = library.findNumberByNameIgnoringCase(name);
    for (const DragFunc& f : library)
        if (f.uniqueNumber == found && found != 0) return &f;
    return nullptr;
}

int reportBadCommand(const BadCommand& bad, std::ostream& err) {
    err << "tkcalc: ошибка: " << bad.message << "\nСправка: tkcalc --help\n";
    return kTkcalcBadInput;
}

std::vector<std::string> takeDataDir(const std::vector<std::string>& args, std::optional<std::filesystem::path>& dataDir) {
    return takePathOption(args, "--data-dir", dataDir);
}

std::vector<std::string> takePathOption(const std::vector<std::string>& args, std::string_view name,
                                        std::optional<std::filesystem::path>& value) {
    const std::string prefix = std::string(name) + "=";
    std::vector<std::string> rest;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == name) {
            if (i + 1 >= args.size()) throw BadCommand{"у параметра " + inQuotes(name) + " нет значения"};
            value = utf8Path(args[++i]);
        } else if (a.rfind(prefix, 0) == 0) {
            value = utf8Path(a.substr(prefix.size()));
        } else {
            rest.push_back(a);
        }
    }
    return rest;
}

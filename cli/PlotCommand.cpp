#include "PlotCommand.h"

#include <charconv>
#include <filesystem>

#if defined(TRAJEKTON_PICTURE_FILES)
#include "CairoCanvas.h"
#include "SvgCanvas.h"
#endif
#include "ExchangeImportExport.h"
#include "FileIO.h"
#include "InputArguments.h"
#include "ScopePlot.h"
#include "StoredData.h"
#include "TextCodec.h"
#include "Tkcalc.h"
#include "Utf8Path.h"

namespace fs = std::filesystem;

namespace {


enum class Format { Png, Svg };

std::optional<Format> formatOf(const fs::path& file) {
    std::string ext = file.extension().string();
    for (char& c : ext)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (ext == ".png") return Format::Png;
    if (ext == ".svg") return Format::Svg;
    return std::nullopt;
}

// A whole number of digits only, or nothing.
std::optional<int> wholeNumber(std::string_view text) {
    int v = 0;
    if (text.empty() || text.size() > 9) return std::nullopt;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
    if (ec != std::errc() || end != text.data() + text.size() || text[0] == '-' || text[0] == '+') return std::nullopt;
    return v;
}

struct Arguments {
    std::optional<fs::path> dataDir;
    std::optional<fs::path> dragFile;
    std::optional<std::string> size;
    std::vector<std::string> positional;
};

// "--name VALUE" or "--name=VALUE".
bool takeValue(const std::vector<std::string>& args, size_t& i, const std::string& name, std::string& value) {
    const std::string& a = args[i];
    if (a == name) {
        if (i + 1 >= args.size()) throw BadCommand{"у параметра " + inQuotes(name) + " нет значения"};
        value = args[++i];
        return true;
    }
    if (a.rfind(name + "=", 0) == 0) {
        value = a.substr(name.size() + 1);
        return true;
    }
    return false;
}

Arguments parse(const std::vector<std::string>& args) {
    Arguments a;
    bool onlyPositional = false;
    for (size_t i = 0; i < args.size(); ++i) {
        std::string value;
        if (onlyPositional) a.positional.push_back(args[i]);
        else if (args[i] == "--") onlyPositional = true;
        else if (takeValue(args, i, "--data-dir", value)) a.dataDir = utf8Path(value);
        else if (takeValue(args, i, "--drag-file", value)) a.dragFile = utf8Path(value);
        else if (takeValue(args, i, "--size", value)) a.size = value;
        else if (!args[i].empty() && args[i][0] == '-' && args[i] != "-")
            throw BadCommand{"plot: неизвестный параметр " + inQuotes(args[i])};
        else a.positional.push_back(args[i]);
    }
    const size_t expected = a.dragFile ? 1 : 2;
    if (a.positional.size() != expected)
        throw BadCommand{a.dragFile ? "plot --drag-file ФАЙЛ ожидает ещё только файл рисунка .png или .svg"
                                    : "plot ожидает ИМЯ[#НОМЕР] (или --drag-file ФАЙЛ) и файл рисунка .png или .svg"};
    return a;
}

DragFunc functionOf(const Arguments& a) {
    std::string why;
    if (a.dragFile) {
        std::optional<DragFunc> f = readDragFunctionFile(*a.dragFile, why);
        if (!f) throw BadCommand{"--drag-file " + inQuotes(a.dragFile->string()) + ": " + why};
        return *f;
    }
    std::optional<StoredData> stored = loadStoredData(a.dataDir, why);
    if (!stored) throw BadCommand{why};
    const auto [name, number] = splitNameAndNumber(a.positional[0]);
    const DragFunc* f = findDragFunction(stored->library, name, number);
    if (!f) throw BadCommand{"plot: в библиотеке нет драг-функции " + inQuotes(a.positional[0]) + " (список: tkcalc list)"};
    return *f;
}

#if defined(TRAJEKTON_PICTURE_FILES)
std::optional<std::string> pictureBytes(const scopeplot::Plot& plot, ui::Size size, Format format) {
    if (format == Format::Svg) {
        SvgCanvas canvas(size);
        scopeplot::paint(canvas, plot);
        return canvas.document();
    }
    CairoCanvas canvas(size);
    if (!canvas.ok()) return std::nullopt;
    scopeplot::paint(canvas, plot);
    return canvas.png();
}
#else
// This build has no cairo and pango (the Windows one): the texts of the picture cannot be set.
std::optional<std::string> pictureBytes(const scopeplot::Plot&, ui::Size, Format) { return std::nullopt; }
#endif

}  // namespace

std::optional<ui::Size> parsePlotSize(const std::string& text, std::string& error) {
    const size_t x = text.find_first_of("xX");
    const std::optional<int> w = x == std::string::npos ? std::nullopt : wholeNumber(std::string_view(text).substr(0, x));
    const std::optional<int> h = x == std::string::npos ? std::nullopt : wholeNumber(std::string_view(text).substr(x + 1));
    if (!w || !h) {
        error = "--size ожидает ШИРИНАxВЫСОТА в пикселях (например 640x400), получено " + inQuotes(text);
        return std::nullopt;
    }
    if (*w < kMinPlotSize.width || *w > kMaxPlotSize.width || *h < kMinPlotSize.height || *h > kMaxPlotSize.height) {
        error = "--size: ширина от " + std::to_string(kMinPlotSize.width) + " до " + std::to_string(kMaxPlotSize.width) +
                ", высота от " + std::to_string(kMinPlotSize.height) + " до " + std::to_string(kMaxPlotSize.height) +
                " пикселей, получено " + inQuotes(text);
        return std::nullopt;
    }
    return ui::Size{*w, *h};
}

std::optional<int> runPlotCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.empty() || args[0] != "plot") return std::nullopt;
    for (const std::string& a : args) {
        if (a == "--") break;
        if (a == "-h" || a == "--help") return std::nullopt;  // the help covers every command
    }
#if !defined(TRAJEKTON_PICTURE_FILES)
    err << "tkcalc: ошибка: plot: эта версия tkcalc не рисует графики в файлы (в версии для Windows нет "
           "библиотек cairo и pango); график драг-функции показывает tkdesk в окне «График драг-функции»\n";
    return kTkcalcBadInput;
#endif
    try {
        const Arguments a = parse(std::vector<std::string>(args.begin() + 1, args.end()));
        const fs::path file = utf8Path(a.positional.back());
        const std::optional<Format> format = formatOf(file);
        if (!format) throw BadCommand{"plot: файл рисунка должен быть .png или .svg, получено " + inQuotes(file.string())};
        ui::Size size = kDefaultPlotSize;
        if (a.size) {
            std::string why;
            const std::optional<ui::Size> asked = parsePlotSize(*a.size, why);
            if (!asked) throw BadCommand{why};
            size = *asked;
        }
        const DragFunc f = functionOf(a);
        // As the manager shows it: a standard function from its first point, any other from Mach 0.
        const scopeplot::Plot plot =
            scopeplot::dragCurvePlot(f.points, f.kind == DragFuncKind::Standard, cp1251ToUtf8(f.nameText()));
        const std::optional<std::string> bytes = pictureBytes(plot, size, *format);
        if (!bytes || !writeFileAtomically(file, *bytes)) {
            err << "tkcalc: ошибка: Не могу записать файл " << inQuotes(file.string()) << "\n";
            return kTkcalcBadInput;
        }
        out << "Сохранено в файл:\n" << file.string() << "\n";
        // The picture is written, as the window shows its empty frame, but there is nothing in it.
        if (f.points.empty()) {
            err << "Предупреждение: Драг-функция не содержит данных\n";
            return kTkcalcUnreliable;
        }
        return kTkcalcOk;
    } catch (const BadCommand& bad) {
        return reportBadCommand(bad, err);
    }
}

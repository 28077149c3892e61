#include "Tkcalc.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <exception>
#include <optional>
#include <ostream>

#include "Calculation.h"
#include "CorrectionTable.h"
#include "Report.h"
#include "InputArguments.h"
#include "ShotSettings.h"
#include "StoredData.h"
#include "LibraryCommands.h"
#include "EstimateCommand.h"
#include "CopyDeleteCommands.h"
#include "AdjustCommand.h"
#include "BulletsCommand.h"
#include "PlotCommand.h"
#include "TransferCommands.h"
#include "DataPaths.h"
#include "ExchangeImportExport.h"
#include "TextCodec.h"
#include "Utf8Path.h"

namespace {
// A table longer than this is refused (0:3000:0.1 is the longest a 0.1 m step allows).
constexpr double kMaxTableRows = 30001;

enum class Format { Text, Csv, Json };

struct Command {
    ShotInputs inputs;
    DragFunc dragFunction;
    std::optional<TableRange> table;  // as asked, before clamping
    Format format = Format::Text;
    std::vector<std::string> storedWarnings;  // what the stored settings could not give
};

struct BadInput {
    std::string message;
};


std::string defaultDataFolderText() {
    const std::string folder = userDataFolder().string();
    return folder.empty() ? "не определена" : folder;
}

std::string handheldFolderText() {
    const std::string folder = handheldDataFolder().string();
    return folder.empty() ? "папка tkmobile на этом компьютере" : folder;
}

std::string dragFunctionList(const DragLibrary& library) {
    std::string list;
    for (const DragFunc& f : library) {
        const std::string name = cp1251ToUtf8(f.name);
        if (!list.empty()) list += ", ";
        list += name.find_first_of(" ,") == std::string::npos ? name : "\"" + name + "\"";
    }
    return list;
}

std::string numberText(double value) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.15g", value);
    return buffer;
}

// Why no table can be made of the range (empty when one can): a step that is not above 0, an end
// that is not a number (only a stored range can have one), or more rows than kMaxTableRows once
// clamped.
std::string tableRangeRefusal(const TableRange& range) {
    if (std::isnan(range.first) || std::isnan(range.last)) return "начало или конец таблицы не является числом";
    if (!(range.step > 0)) return "шаг должен быть больше 0, получено " + inQuotes(numberText(range.step));
    const TableRange r = range.clamped();
    if (r.first <= r.last) {
        const double rows = std::floor((r.last - r.first) / r.step) + 1;
        if (!(rows <= kMaxTableRows) || !(r.last + r.step > r.last))
            return "шаг " + numberText(range.step) + " слишком мал, в таблице было бы больше " +
                   std::to_string(static_cast<long>(kMaxTableRows)) + " строки";
    }
    return "";
}

TableRange parseTable(const std::string& text) {
    std::vector<std::string> parts;
    size_t start = 0;
    for (;;) {
        const size_t colon = text.find(':', start);
        parts.push_back(text.substr(start, colon - start));
        if (colon == std::string::npos) break;
        start = colon + 1;
    }
    if (parts.size() != 3)
        throw BadInput{"--table ожидает НАЧАЛО:КОНЕЦ:ШАГ (например 100:800:100), получено " + inQuotes(text)};
    double values[3];
    static const char* const kWhat[] = {"начало", "конец", "шаг"};
    for (int i = 0; i < 3; ++i) {
        std::string why;
        const std::optional<double> v = parseNumber(parts[i], why);
        if (!v) throw BadInput{std::string("--table, ") + kWhat[i] + ": " + why};
        values[i] = *v;
    }
    const TableRange range{values[0], values[1], values[2]};
    if (const std::string why = tableRangeRefusal(range); !why.empty()) throw BadInput{"--table: " + why};
    return range;
}

// What CLI11 could not parse, said in Russian.
std::string parseErrorMessage(const CLI::ParseError& e) {
    const std::string what = e.what();
    if (dynamic_cast<const CLI::ArgumentMismatch*>(&e)) {
        if (what.find("flag override") != std::string::npos)
            return "флаг " + inQuotes("--" + what.substr(0, what.find(' '))) + " не принимает значения";
        if (what.find("missing") != std::string::npos)
            return "у параметра " + inQuotes(what.substr(0, what.find(':'))) + " нет значения";
    }
    return "не удалось разобрать командную строку (" + what + ")";
}

Command parseCommand(const std::vector<std::string>& args) {
    CLI::App app{"tkcalc"};
    app.set_help_flag();
    app.allow_extras();
    std::vector<std::string> sets;
    std::string drag, dragFile, distance, table, dataDir;
    app.add_option("--set", sets)->allow_extra_args(false);
    auto* dragOption = app.add_option("--drag", drag)->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
    auto* dragFileOption =
        app.add_option("--drag-file", dragFile)->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
    auto* distanceOption = app.add_option("--distance", distance)->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
    auto* tableOption =
        app.add_option("--table", table)->expected(0, 1)->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
    auto* dataDirOption =
        app.add_option("--data-dir", dataDir)->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
    auto* jsonFlag = app.add_flag("--json")->disable_flag_override();
    auto* csvFlag = app.add_flag("--csv")->disable_flag_override();

    std::vector<std::string> reversed(args.rbegin(), args.rend());  // CLI11 takes them last first
    try {
        app.parse(reversed);
    } catch (const CLI::ParseError& e) {
        throw BadInput{parseErrorMessage(e)};
    }
    for (const std::string& extra : app.remaining()) {
        if (!extra.empty() && extra[0] == '-') throw BadInput{"неизвестный параметр " + inQuotes(extra)};
        if (extra.find('=') != std::string::npos)
            throw BadInput{"лишний аргумент " + inQuotes(extra) + " (каждое ИМЯ=ЗНАЧЕНИЕ пишется после своего --set)"};
        std::string ignored;
        if (parseNumber(extra, ignored))
            throw BadInput{"лишний аргумент " + inQuotes(extra) + " (дистанция задаётся так: --distance " + extra + ")"};
        throw BadInput{"лишний аргумент " + inQuotes(extra)};
    }

    Command c;
    if (jsonFlag->count() && csvFlag->count()) throw BadInput{"--json и --csv вместе указать нельзя: выберите один формат"};
    if (jsonFlag->count()) c.format = Format::Json;
    if (csvFlag->count()) c.format = Format::Csv;
    if (dragOption->count() && dragFileOption->count())
        throw BadInput{"--drag и --drag-file вместе указать нельзя: выберите одно"};

    // The stored inputs first, then what the command line changes.
    std::string error;
    std::optional<StoredData> loaded =
        loadStoredData(dataDirOption->count() ? std::optional<std::filesystem::path>(utf8Path(dataDir)) : std::nullopt, error);
    if (!loaded) throw BadInput{error};
    StoredData& stored = *loaded;
    c.inputs = stored.inputs;
    for (const std::string& s : sets)
        if (!applyAssignment(c.inputs, s, error)) throw BadInput{error};
    if (distanceOption->count() && !applySetting(c.inputs, "distance", distance, error))
        throw BadInput{"--distance: " + error};
    // What the command line sets was checked as it was read, so a value out of its limits now
    // comes from the stored settings (written by another program, or damaged).
    if (const std::string why = refusalOf(c.inputs); !why.empty())
        throw BadInput{why + " (значение из сохранённых настроек " + inQuotes(stored.folder.settings().string()) +
                       "; задайте другое через --set)"};

    if (dragFileOption->count()) {
        std::string why;
        const std::optional<DragFunc> f = readDragFunctionFile(utf8Path(dragFile), why);
        if (!f) throw BadInput{"--drag-file " + inQuotes(dragFile) + ": " + why};
        c.dragFunction = *f;
    } else if (dragOption->count()) {
        const auto [name, number] = splitNameAndNumber(drag);
        const DragFunc* f = findDragFunction(stored.library, name, number);
        if (!f)
            throw BadInput{"неизвестная драг-функция " + inQuotes(drag) + "; есть: " + dragFunctionList(stored.library)};
        c.dragFunction = *f;
    } else {
        // As the desktop program finds its current function (G1 when the stored one is gone).
        c.dragFunction = stored.library.findByNameAndNumber(utf8ToCp1251(c.inputs.dragFunctionName),
                                                            c.inputs.dragFunctionNumber.value_or(0));
    }
    c.inputs.dragFunctionName = cp1251ToUtf8(c.dragFunction.name);
    c.inputs.dragFunctionNumber = c.dragFunction.uniqueNumber;
    if (tableOption->count() && !table.empty()) {
        c.table = parseTable(table);
    } else if (tableOption->count()) {
        c.table = tableRangeFrom(stored.tableSettings);
        if (const std::string why = tableRangeRefusal(*c.table); !why.empty())
            throw BadInput{"--table: в сохранённом диапазоне (" + inQuotes(stored.folder.tableSettings().string()) +
                           ") " + why + "; задайте диапазон сами: --table НАЧАЛО:КОНЕЦ:ШАГ"};
    }
    c.storedWarnings = storedSettingsWarnings(stored, tableOption->count() && table.empty());
    return c;
}

bool asksForHelp(const std::vector<std::string>& args) {
    for (const std::string& a : args) {
        if (a == "--") return false;
        if (a == "-h" || a == "--help") return true;
    }
    return false;
}

std::string defaultText(const InputField& field) {
    const ShotInputs defaults;
    if (auto number = std::get_if<double ShotInputs::*>(&field.member)) {
        char buffer[64];
        std::snprintf(buffer, sizeof buffer, "%.15g", defaults.**number);
        return std::string("по умолчанию ") + buffer;
    }
    if (auto flag = std::get_if<bool ShotInputs::*>(&field.member))
        return std::string("0 или 1, по умолчанию ") + (defaults.**flag ? "1" : "0");
    return "по умолчанию - из драг-функции";
}

void reportWarnings(const Command& command, const Calculation& calc, std::ostream& err) {
    for (const std::string& line : command.storedWarnings) err << line << "\n";
    for (EngineMessage m : calc.messages) err << "Предупреждение: " << engineMessageText(m) << "\n";
    // The text says it among the inputs; CSV and JSON have no place for it.
    if (const std::string left = driftsLeftOut(command.inputs, calc).text(); !left.empty() && command.format != Format::Text)
        err << "Предупреждение: в поправках " << left << "\n";
    if (!calc.zeroing.converged)
        err << "Предупреждение: расчёт пристрелки на " << command.inputs.zeroDistance
            << " м не сошёлся; поправки ненадёжны\n";
    std::vector<double> failed;
    for (const CorrectionRow& r : calc.rows)
        if (!r.corrections.converged) failed.push_back(r.corrections.distance);
    if (!failed.empty()) {
        if (!command.table) {
            err << "Предупреждение: расчёт на дистанции " << failed.front() << " м не сошёлся; поправки ненадёжны\n";
        } else {
            err << "Предупреждение: расчёт не сошёлся на " << failed.size() << " дистанциях из " << calc.rows.size() << " (";
            for (size_t i = 0; i < failed.size() && i < 10; ++i) err << (i ? ", " : "") << failed[i];
            if (failed.size() > 10) err << ", ...";
            err << " м); эти поправки ненадёжны\n";
        }
    }
    if (hasNonFiniteResults(calc))
        err << "Предупреждение: часть результатов не является числом (в тексте «—», в JSON null, в CSV пустое поле); "
               "проверьте исходные данные\n";
}
}  // namespace

std::string tkcalcHelp() {
    std::string text =
        "tkcalc - баллистический калькулятор Trajekton для командной строки.\n"
        "\n"
        "Использование:\n"
        "  tkcalc [--data-dir ПАПКА] [--set ИМЯ=ЗНАЧЕНИЕ]... [--drag ИМЯ[#НОМЕР] | --drag-file ФАЙЛ]\n"
        "         [--distance М] [--table [НАЧАЛО:КОНЕЦ:ШАГ]] [--json | --csv]\n"
        "  tkcalc list [--data-dir ПАПКА] [--json]\n"
        "  tkcalc import [--data-dir ПАПКА] [--overwrite | --no-overwrite] ФАЙЛ...\n"
        "  tkcalc export [--data-dir ПАПКА] ИМЯ[#НОМЕР] ФАЙЛ.snr|ФАЙЛ.dat\n"
        "  tkcalc copy|delete [--data-dir ПАПКА] ИМЯ[#НОМЕР]\n"
        "  tkcalc estimate [--data-dir ПАПКА] [--bullet ИМЯ[#НОМЕР]] [--velocity V] [--length L]\n"
        "         [--diameter D] [--nose-length L1] [--meplat D1] [--base-diameter D2] [--boat-tail L2]\n"
        "         [--twist T] [--weight W] [--nose tangent|secant|conical] [--ogive-radius R]\n"
        "         [--model G1|G7] [--name ТЕКСТ] [--mach M,...] [--json] [--add]\n"
        "  tkcalc adjust [--data-dir ПАПКА] ИМЯ[#НОМЕР]\n"
        "         raise|lower|raise-peak|lower-peak|raise-right|lower-right ШАГ [--json] [--save]\n"
        "  tkcalc bullets [--data-dir ПАПКА] [--json]\n"
        "  tkcalc bullets [--data-dir ПАПКА] show ИМЯ[#НОМЕР]\n"
        "  tkcalc plot [--data-dir ПАПКА] ИМЯ[#НОМЕР]|--drag-file ФАЙЛ РИСУНОК.png|РИСУНОК.svg\n"
        "         [--size ШИРИНАxВЫСОТА]\n"
        "  tkcalc send [--data-dir ПАПКА] ИМЯ[#НОМЕР] --device ПАПКА\n"
        "  tkcalc sync [--data-dir ПАПКА] --device ПАПКА\n"
        "\n"
        "Без --table выводит поправки на одной дистанции, как кнопка «Вычислить» главного окна;\n"
        "с --table - таблицу поправок, как окно «Таблица поправок».\n"
        "Исходные данные - сохранённые настройки настольной программы (settings.dat в папке данных;\n"
        "без них - значения первого запуска; они же, с предупреждением, вместо недопустимых сохранённых\n"
        "значений); --set меняет любое из них. Настройки tkcalc не записывает.\n"
        "list выводит библиотеку драг-функций, import добавляет в неё функции из файлов .snr, .drg\n"
        "и .pro, export записывает функцию в файл .snr или .dat.\n"
        "copy добавляет копию функции (имя с «_copy» в конце, новый номер), delete удаляет функцию\n"
        "(кроме G1, G7 и RA4), как окно «Драг-функции»; обе сохраняют библиотеку.\n"
        "estimate оценивает по размерам пули драг-функцию (70 точек), баллистический коэффициент\n"
        "(для G1 или G7 и заданной скорости), поперечную нагрузку, фактор стабильности и оптимальный\n"
        "шаг нарезов, как «Калькулятор драг-функции по форме пули»; исходные размеры - текущей пули\n"
        "папки данных (bullet_dim_current.dat) или записи базы пуль (--bullet; bullets_dim2.dat),\n"
        "оба файла только читаются. Размеры в мм, скорость в м/с, вес в граммах, шаг нарезов в дюймах,\n"
        "радиус секантного оживала в калибрах; --mach выводит Cd при этих числах Маха (больше 0);\n"
        "--add добавляет драг-функцию в библиотеку как специальную и сохраняет библиотеку (только\n"
        "если все результаты - числа, а поперечная нагрузка и Cd больше 0).\n"
        "adjust меняет кривую драг-функции на ШАГ (больше 0), как кнопки «Редактирования по графику»:\n"
        "raise/lower - весь график, raise-peak/lower-peak - вершину, raise-right/lower-right - правую\n"
        "сторону; выводит точки (--json - как одна запись tkcalc list --json), --save записывает\n"
        "библиотеку (не для стандартных функций). Если хоть один Cd стал бы не больше 0 или менять\n"
        "нечего, ничего не меняется: сообщение в stderr, код 2.\n"
        "bullets выводит базу пуль (bullets_dim2.dat; пока её нет - начальный список), как её откроет\n"
        "калькулятор, только читая файлы; bullets show - «Размеры пули» одной записи.\n"
        "plot рисует график драг-функции, как окно «График драг-функции» (стандартную - от первой\n"
        "точки), в файл PNG или SVG (тексты SVG остаются текстом); --size - размер рисунка в пикселях,\n"
        "от 160x120 до 4000x4000, по умолчанию 640x400. Функция без точек рисуется пустой (код 3).\n"
        "send записывает функцию в drag_function.dat папки данных и переписывает этот файл на устройство,\n"
        "sync сохраняет библиотеку (bc_cdm3.dat) и заменяет ею библиотеку устройства, как кнопки окна\n"
        "«Драг-функции». Устройство - папка данных tkmobile (--device): телефон по SSH, USB-флешка,\n"
        "синхронизируемая папка или " + handheldFolderText() + ". Файл сначала пишется\n"
        "во временный рядом с прежним, затем заменяет его и читается обратно; при любой неудаче\n"
        "прежний файл на устройстве остаётся как был (код 2). sync не отправляет библиотеку,\n"
        "прочитанную не полностью.\n"
        "\n"
        "Параметры:\n"
        "  --data-dir ПАПКА     папка данных; указанная должна существовать. По умолчанию - папка\n"
        "                       настольной программы: " + defaultDataFolderText() + " (или папка\n"
        "                       программы, если так указано в её dir_setting.dat); пока её нет,\n"
        "                       действуют значения первого запуска, а import её создаёт\n"
        "  --set ИМЯ=ЗНАЧЕНИЕ   изменить исходное значение; повторяется для каждого имени\n"
        "                       (при повторе одного имени действует последнее)\n"
        "  --drag ИМЯ[#НОМЕР]   драг-функция из библиотеки (список: tkcalc list); без номера - первая\n"
        "                       с этим именем; по умолчанию - сохранённая в настройках (или G1)\n"
        "  --drag-file ФАЙЛ     драг-функция из файла .snr, .drg, .pro или .dat (в библиотеку не добавляется)\n"
        "  --distance М         дистанция, м (то же, что --set distance=М, и важнее его)\n"
        "  --table [Н:К:Ш]      таблица от Н до К метров с шагом Ш больше 0 (без значения - сохранённые\n"
        "                       в table_settings.dat); начало меньше 0 становится 0,\n"
        "                       конец больше 3000 - 3000; не больше 30001 строки;\n"
        "                       отрицательное начало пишите так: --table=-50:800:50\n"
        "  --json               вывести один объект JSON (не-числа - null)\n"
        "  --csv                вывести CSV (RFC 4180, UTF-8, десятичный разделитель - точка)\n"
        "  --overwrite          import: функция из файла .pro, чьё имя (в любом регистре букв) уже есть\n"
        "                       в библиотеке, заменяет ту функцию на её месте\n"
        "  --no-overwrite       import: такая функция добавляется с « copy» в конце имени\n"
        "                       (без обоих флагов tkcalc спрашивает д/н; нет ответа - как --no-overwrite;\n"
        "                       функции из .snr и .drg всегда добавляются новыми, файл без точек\n"
        "                       драг-функции не импортируется)\n"
        "  -h, --help           эта справка\n"
        "\n"
        "Имена для --set:\n";
    for (const InputField& f : inputFields()) {
        std::string key = f.key;
        key.resize(std::max<size_t>(key.size() + 1, 22), ' ');
        const std::string limits = f.limits.text();
        text += "  " + key + " " + f.labelWithUnit() + " (" + defaultText(f) + (limits.empty() ? "" : "; " + limits) + ")\n";
    }
    text +=
        "Числа пишутся с точкой: 0.447, -5, 1e3 (запятая не принимается). Флаги - только 0 или 1.\n"
        "Давление - в мм рт. ст., цена клика - в MOA, углы - в градусах.\n"
        "Деривация считается из фактора стабильности (при 0 не учитывается), вертикальный ветровой\n"
        "снос - тоже, если не задано manual-drift=1 (при факторе не больше 1 не учитывается).\n"
        "Энергия выводится, только если в драг-функции записан вес пули (в стандартных его нет).\n"
        "\n"
        "Знаки:\n";
    for (std::string_view rest = kSignConventions; !rest.empty();) {
        const size_t end = rest.find('\n') + 1;
        text += "  " + std::string(rest.substr(0, end));
        rest.remove_prefix(end);
    }
    text +=
        "\n"
        "Коды завершения:\n"
        "  0  расчёт выполнен и выведен\n"
        "  2  ошибка в командной строке, в папке данных или в сохранённых настройках: сообщение\n"
        "     в stderr, ничего не вычислено и не выведено, ни один файл не изменён; у import -\n"
        "     хотя бы один файл не импортирован (сообщение в stderr; остальные импортированы)\n"
        "  3  результат выведен, но ненадёжен: подбор угла вылета не сошёлся или часть значений\n"
        "     не является числом (подробности - предупреждения в stderr); у estimate - результат\n"
        "     не определён или поперечная нагрузка либо Cd не больше 0 (с --add ничего не записано)\n"
        "  1  внутренняя ошибка программы\n"
        "Предупреждения расчёта («Предупреждение: ...») всегда выводятся в stderr.\n"
        "\n"
        "Примеры:\n"
        "  tkcalc\n"
        "  tkcalc --distance 800 --set wind-speed=4 --set wind-azimuth=45\n"
        "  tkcalc --drag G7 --set bc=0.243 --set muzzle-velocity=850 --table 100:1200:50\n"
        "  tkcalc --table=-50:5000:500 --csv > table.csv\n"
        "  tkcalc --drag \"Sierra MatchKing, 168gr\" --set stability-factor=1.6 --set add-derivation=1 --json\n"
        "  tkcalc --set same-atmosphere=0 --set zero-temperature=-5 --set zero-pressure=760\n"
        "  tkcalc estimate --bullet \".308Win, Berger VLD, 155gr\" --model G7 --mach 1.5,2 --json\n"
        "  tkcalc adjust \"Моя пуля\" lower-right 0.01 --save\n"
        "  tkcalc bullets show \".308Win, Berger VLD, 155gr#9\"\n"
        "  tkcalc plot G7 g7.png --size 800x500\n";
    return text;
}

int runTkcalc(const std::vector<std::string>& args, std::ostream& out, std::ostream& err, std::istream& in) {
    try {
        if (std::optional<int> status = runLibraryCommand(args, in, out, err)) return *status;
        if (std::optional<int> status = runEstimateCommand(args, out, err)) return *status;
        if (std::optional<int> status = runCopyDeleteCommand(args, out, err)) return *status;
        if (std::optional<int> status = runAdjustCommand(args, out, err)) return *status;
        if (std::optional<int> status = runBulletsCommand(args, out, err)) return *status;
        if (std::optional<int> status = runPlotCommand(args, out, err)) return *status;
        if (std::optional<int> status = runTransferCommand(args, out, err)) return *status;
        if (asksForHelp(args)) {
            out << tkcalcHelp();
            return kTkcalcOk;
        }
        Command command;
        try {
            command = parseCommand(args);
        } catch (const BadInput& bad) {
            err << "tkcalc: ошибка: " << bad.message << "\nСправка: tkcalc --help\n";
            return kTkcalcBadInput;
        }

        const Calculation calc = command.table ? computeTable(command.inputs, command.dragFunction, *command.table)
                                               : computeAtDistance(command.inputs, command.dragFunction);
        switch (command.format) {
        case Format::Text: out << textReport(command.inputs, calc, command.table); break;
        case Format::Csv: out << csvReport(calc); break;
        case Format::Json: out << jsonReport(command.inputs, calc, command.table.has_value()); break;
        }
        out.flush();
        reportWarnings(command, calc, err);
        return calc.converged() && !hasNonFiniteResults(calc) ? kTkcalcOk : kTkcalcUnreliable;
    } catch (const std::exception& e) {
        err << "tkcalc: внутренняя ошибка: " << e.what() << "\n";
        return kTkcalcInternal;
    }
}

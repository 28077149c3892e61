#include "Report.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <nlohmann/json.hpp>

#include "DragFuncKind.h"
#include "RoundTo.h"
#include "TextCodec.h"

namespace {
const char* const kNotANumber = "—";

std::string printf1(const char* format, double value) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, format, value);
    return buffer;
}

// "%.Nf", or a dash for what is not a finite number.
std::string fixed(double value, int decimals) {
    if (!std::isfinite(value)) return kNotANumber;
    char buffer[400];
    std::snprintf(buffer, sizeof buffer, "%.*f", decimals, value);
    return buffer;
}

// An input as the dialogs show it: 15 significant digits.
std::string input(double value) { return printf1("%.15g", value); }

// Shortest text that reads back as the same double; empty when not finite.
std::string roundTrip(double value) {
    if (!std::isfinite(value)) return {};
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

size_t displayWidth(std::string_view utf8) {
    size_t n = 0;
    for (unsigned char c : utf8)
        if ((c & 0xC0) != 0x80) ++n;
    return n;
}

// A plain text table: header lines and rows of cells, every column right-aligned except those
// marked left, two spaces between columns.
struct TextTable {
    std::vector<std::vector<std::string>> header;  // lines of the header, a cell per column
    std::vector<std::vector<std::string>> rows;
    std::vector<bool> left;

    std::string render() const {
        const size_t columns = left.size();
        std::vector<size_t> width(columns, 0);
        auto measure = [&](const std::vector<std::string>& line) {
            for (size_t i = 0; i < columns; ++i) width[i] = std::max(width[i], displayWidth(line[i]));
        };
        for (const auto& line : header) measure(line);
        for (const auto& line : rows) measure(line);
        std::string out;
        auto emit = [&](const std::vector<std::string>& line) {
            std::string text;
            for (size_t i = 0; i < columns; ++i) {
                const std::string pad(width[i] - displayWidth(line[i]), ' ');
                if (i) text += "  ";
                text += left[i] ? line[i] + pad : pad + line[i];
            }
            while (!text.empty() && text.back() == ' ') text.pop_back();
            out += text + "\n";
        };
        for (const auto& line : header) emit(line);
        for (const auto& line : rows) emit(line);
        return out;
    }
};

std::string dragFunctionName(const DragFunc& f) { return cp1251ToUtf8(f.name); }

std::vector<std::string> summaryLines(const ShotInputs& in, const Calculation& calc, const std::optional<TableRange>& table) {
    std::vector<std::string> lines;
    const DragFunc& f = calc.dragFunction;

    std::string line = "Драг-функция: " + dragFunctionName(f) + " (" + dragFuncKindText(f.kind) + ")";
    if (f.kind != DragFuncKind::Special) line += ", БК " + input(in.ballisticCoefficient);
    if (f.stabilityFactor != 0) line += ", фактор стабильности " + input(f.stabilityFactor);
    lines.push_back(line);

    line = "Нач. скорость " + input(in.muzzleVelocity) + " м/с";
    if (in.mvCorrectionOff)
        line += " (без температурной поправки)";
    else
        line += " при " + input(in.mvTemperature) + " °C, изм. " + input(in.mvTemperatureChange) +
                " % на 15 °C; с поправкой " + fixed(RoundTo(calc.summary.correctedMuzzleVelocity, 1), 1) + " м/с";
    lines.push_back(line);

    if (table) {
        const TableRange r = table->clamped();
        line = "Таблица: от " + input(r.first) + " до " + input(r.last) + " м, шаг " + input(r.step) + " м";
        if (r.first != table->first || r.last != table->last) line += " (диапазон ограничен 0...3000 м)";
        lines.push_back(line);
        line = "Угол места цели ";
    } else {
        line = "Дистанция " + input(in.distance) + " м, угол места цели ";
    }
    line += input(in.targetAngle) + " гр., ветер " + input(in.windSpeed) + " м/с, азимут ветра " + input(in.windAzimuth) +
            " гр.";
    lines.push_back(line);

    lines.push_back("Атмосфера: " + input(in.temperature) + " °C, " + input(in.pressure) + " мм рт. ст., влажность " +
                    input(in.humidity) + " %");

    line = "Пристрелка: " + input(in.zeroDistance) + " м, ";
    if (in.sameAtmosphere)
        line += "атмосфера та же";
    else
        line += "атмосфера " + input(in.zeroTemperature) + " °C, " + input(in.zeroPressure) + " мм рт. ст., влажность " +
                input(in.zeroHumidity) + " %";
    line += "; высота прицела " + input(in.sightHeight) + " см; клик " + input(in.clickVertical) + " / " +
            input(in.clickHorizontal) + " MOA (верт. / гор.)";
    lines.push_back(line);

    std::vector<std::string> options;
    const DriftsLeftOut left = driftsLeftOut(in, calc);
    if (in.addDerivation && !left.derivation) options.push_back("деривация");
    if (in.addVerticalDrift && !left.verticalDrift)
        options.push_back(in.manualDrift ? "вертикальный ветровой снос (" + input(in.manualDriftPercent) + " % от гор. поправки)"
                                         : "вертикальный ветровой снос");
    if (!options.empty()) {
        line = "В поправках учтены: ";
        for (size_t i = 0; i < options.size(); ++i) {
            if (i) line += ", ";
            line += options[i];
        }
        lines.push_back(line);
    }
    if (const std::string note = left.text(); !note.empty()) lines.push_back("В поправках " + note);
    return lines;
}

std::string sightAngleLine(const Calculation& calc) {
    return "Угол наклона приц.линии к стволу, MOA (справочно): " + fixed(RoundTo(calc.summary.shownZeroAngle, 3), 3) + "\n";
}

std::string singleDistanceText(const CorrectionRow& row) {
    TextTable t;
    t.left = {true, false, false, false, false};
    t.header = {{"", "MOA", "МИЛы", "см", "Клики"}};
    auto group = [](const char* title, const Corrections& c) {
        return std::vector<std::string>{title, fixed(c.moa, 2), fixed(c.mil, 2), fixed(c.cm, 2), fixed(c.clicks, 2)};
    };
    t.rows.push_back(group("Вертикальная поправка", row.shown.vertical));
    t.rows.push_back(group("Гор. поправка", row.shown.horizontal));
    return t.render();
}

// The table dialog's columns, and the energy after the time when the function carries a bullet
// weight; each title is printed on two lines, broken after its comma.
std::string tableText(const Calculation& calc) {
    std::vector<std::string_view> titles = {
        "Дистанция, метры",    "Скорость, м/с",        "Время, сек",         "см, Верт. поправка",
        "MOA, Верт. поправка", "МИЛы, Верт. поправка", "Клики, Верт. поправка", "см, Гор. поправка",
        "MOA, Гор. поправка",  "МИЛы, Гор. поправка",  "Клики, Гор. поправка",
    };
    const bool energy = calc.hasEnergy();
    if (energy) titles.insert(titles.begin() + 3, "Энергия, Дж");
    TextTable t;
    t.left.assign(titles.size(), false);
    t.header.resize(2);
    for (std::string_view title : titles) {
        const size_t comma = title.find(", ");
        t.header[0].emplace_back(title.substr(0, comma + 1));
        t.header[1].emplace_back(title.substr(comma + 2));
    }
    for (const CorrectionRow& r : calc.rows) {
        const ResultsElement& e = r.corrections.row;
        const Corrections& v = r.shown.vertical;
        const Corrections& h = r.shown.horizontal;
        std::vector<std::string> cells = {fixed(r.corrections.distance, 1), fixed(RoundTo(e.velocity, 2), 1),
                                          fixed(RoundTo(e.timeOfFlight, 2), 2), fixed(v.cm, 2), fixed(v.moa, 2),
                                          fixed(v.mil, 1), fixed(v.clicks, 1), fixed(h.cm, 1), fixed(h.moa, 2),
                                          fixed(h.mil, 2), fixed(h.clicks, 1)};
        if (energy) cells.insert(cells.begin() + 3, fixed(e.energy, 0));
        t.rows.push_back(std::move(cells));
    }
    std::string text = t.render();
    if (calc.rows.empty()) text += "(нет строк: начало таблицы дальше её конца)\n";
    return text;
}

std::string csvField(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
    std::string out = "\"";
    for (char c : text) {
        if (c == '"') out += '"';
        out += c;
    }
    return out + "\"";
}

using Json = nlohmann::ordered_json;

Json number(double value) { return std::isfinite(value) ? Json(value) : Json(nullptr); }

Json correctionsJson(const Corrections& c) {
    return Json{{"moa", number(c.moa)}, {"mil", number(c.mil)}, {"cm", number(c.cm)}, {"clicks", number(c.clicks)}};
}

// The members a single distance and every table row carry (the energy only when the function
// carries a bullet weight); a table row also tells whether its own solve converged.
void addRow(Json& j, const CorrectionRow& r, bool tableRow, bool energy) {
    const DistanceCorrections& c = r.corrections;
    j["distance"] = number(c.distance);
    j["row"] = Json{{"distance", number(c.row.distance)},
                    {"velocity", number(c.row.velocity)},
                    {"timeOfFlight", number(c.row.timeOfFlight)}};
    if (energy) j["row"]["energy"] = number(c.row.energy);
    j["vertical"] = correctionsJson(c.vertical);
    j["horizontal"] = correctionsJson(c.horizontal);
    j["shown"] = Json{{"vertical", correctionsJson(r.shown.vertical)}, {"horizontal", correctionsJson(r.shown.horizontal)}};
    if (tableRow) j["converged"] = c.converged;
}
}  // namespace

const char* const kSignConventions =
    "Азимут ветра - откуда дует: 0 - в лицо, 90 - справа, 270 (или -90) - слева.\n"
    "Поправка больше 0 вводится: вертикальная - вверх, горизонтальная - вправо.\n";

DriftsLeftOut driftsLeftOut(const ShotInputs& in, const Calculation& calc) {
    // As the engine computes them: the spin drift is 0 without a stability factor, and the vertical
    // drift taken from it (not the manual percentage) is 0 at a factor of 1 or below.
    const double sg = calc.dragFunction.stabilityFactor;
    DriftsLeftOut left;
    left.derivation = in.addDerivation && sg == 0;
    left.verticalDrift = in.addVerticalDrift && !in.manualDrift && sg <= 1;
    left.stabilityFactor = sg;
    left.dragFunction = dragFunctionName(calc.dragFunction);
    return left;
}

std::string DriftsLeftOut::text() const {
    std::string what;
    if (derivation && verticalDrift) what = "не учтены деривация и вертикальный ветровой снос";
    else if (derivation) what = "не учтена деривация";
    else if (verticalDrift) what = "не учтён вертикальный ветровой снос";
    else return "";
    if (stabilityFactor == 0)
        return what + ": у драг-функции " + dragFunction +
               " нет фактора стабильности (задайте его: --set stability-factor=ЧИСЛО)";
    return what + ": при факторе стабильности " + input(stabilityFactor) + " (не больше 1) он равен 0";
}

std::string textReport(const ShotInputs& inputs, const Calculation& calc, const std::optional<TableRange>& table) {
    std::string text;
    for (const std::string& line : summaryLines(inputs, calc, table)) text += line + "\n";
    text += "\n";
    if (table)
        text += tableText(calc);
    else if (!calc.rows.empty())
        text += singleDistanceText(calc.rows.front());
    text += "\n" + sightAngleLine(calc) + kSignConventions;
    return text;
}

std::string csvReport(const Calculation& calc) {
    static const char* const kHeader[] = {
        "Дистанция, м", "Скорость, м/с", "Время, с", "Энергия, Дж",
        "MOA, Верт. поправка", "МИЛы, Верт. поправка", "см, Верт. поправка", "Клики, Верт. поправка",
        "MOA, Гор. поправка", "МИЛы, Гор. поправка", "см, Гор. поправка", "Клики, Гор. поправка",
        "MOA, Верт. поправка, округл.", "МИЛы, Верт. поправка, округл.", "см, Верт. поправка, округл.",
        "Клики, Верт. поправка, округл.", "MOA, Гор. поправка, округл.", "МИЛы, Гор. поправка, округл.",
        "см, Гор. поправка, округл.", "Клики, Гор. поправка, округл.",
    };
    constexpr size_t kEnergyColumn = 3;
    const bool energy = calc.hasEnergy();
    std::string out;
    auto emit = [&](const std::vector<std::string>& fields) {
        for (size_t i = 0, written = 0; i < fields.size(); ++i) {
            if (i == kEnergyColumn && !energy) continue;
            if (written++) out += ',';
            out += csvField(fields[i]);
        }
        out += "\r\n";
    };
    emit(std::vector<std::string>(std::begin(kHeader), std::end(kHeader)));
    for (const CorrectionRow& r : calc.rows) {
        const DistanceCorrections& c = r.corrections;
        std::vector<std::string> fields = {roundTrip(c.distance), roundTrip(c.row.velocity), roundTrip(c.row.timeOfFlight),
                                           roundTrip(c.row.energy)};
        for (const Corrections* x : {&c.vertical, &c.horizontal, &r.shown.vertical, &r.shown.horizontal})
            for (double v : {x->moa, x->mil, x->cm, x->clicks}) fields.push_back(roundTrip(v));
        emit(fields);
    }
    return out;
}

std::string jsonReport(const ShotInputs& inputs, const Calculation& calc, bool table) {
    Json j;
    j["dragFunction"] = Json{{"name", dragFunctionName(calc.dragFunction)},
                             {"uniqueNumber", calc.dragFunction.uniqueNumber},
                             {"kind", dragFuncKindName(calc.dragFunction.kind)}};
    j["zeroAngleMoa"] = number(calc.zeroing.zeroAngle);
    j["sightAngleMoa"] = number(RoundTo(calc.summary.shownZeroAngle, 3));
    j["airDensityRatio"] = number(RoundTo(calc.summary.airDensityRatio, 3));
    j["correctedMuzzleVelocity"] = number(calc.summary.correctedMuzzleVelocity);
    j["speedOfSound"] = number(calc.summary.speedOfSound);
    j["converged"] = calc.converged();
    j["zeroingConverged"] = calc.zeroing.converged;
    Json messages = Json::array();
    for (EngineMessage m : calc.messages) messages.push_back(std::string(engineMessageText(m)));
    j["messages"] = messages;
    if (table) {
        Json rows = Json::array();
        for (const CorrectionRow& r : calc.rows) {
            Json row;
            addRow(row, r, true, calc.hasEnergy());
            rows.push_back(std::move(row));
        }
        j["rows"] = std::move(rows);
    } else {
        j["distance"] = number(inputs.distance);
        if (!calc.rows.empty()) addRow(j, calc.rows.front(), false, calc.hasEnergy());
    }
    return j.dump(2) + "\n";
}

bool hasNonFiniteResults(const Calculation& calc) {
    for (const CorrectionRow& r : calc.rows) {
        const ResultsElement& e = r.corrections.row;
        if (!std::isfinite(e.velocity) || !std::isfinite(e.timeOfFlight)) return true;
        if (calc.hasEnergy() && !std::isfinite(e.energy)) return true;
        for (const Corrections* x : {&r.shown.vertical, &r.shown.horizontal})
            for (double v : {x->moa, x->mil, x->cm, x->clicks})
                if (!std::isfinite(v)) return true;
    }
    return false;
}

#include "TableReport.h"

#include <cstring>
#include <utility>

#include "BallisticSolver.h"
#include "FileIO.h"
#include "FixedText.h"
#include "TextCodec.h"

namespace {

const char* onOff(bool on) { return on ? "ВКЛЮЧЕН" : "ВЫКЛЮЧЕН"; }

// The report lines, UTF-8; each file puts them in its own order.
struct ReportLines {
    std::string muzzleVelocity;
    std::vector<std::string> temperatureCorrection;  // one line when off, four when on
    std::string ballisticCoefficient;
    std::string derivation;
    std::string verticalDrift;
    std::string stabilityFactor;
    std::string dragFunction;
    std::string targetAngle;
    std::string zeroDistance;
    std::string sightHeight;
    std::string clickVertical;
    std::string clickHorizontal;
    std::string temperature;
    std::string pressure;
    std::string humidity;
    std::string windSpeed;
    std::string windDirection;
    std::string note;
    std::string footer;
};

ReportLines reportLines(const ReportShot& s, std::string_view version) {
    ReportLines l;
    l.muzzleVelocity = "Начальная скорость пули, м/с: " + formatFixed(s.muzzleVelocity, 0);
    const std::string correction = "Режим коррекции начальной скорости по температуре - ";
    if (s.mvCorrectionOff) {
        l.temperatureCorrection = {correction + onOff(false)};
    } else {
        l.temperatureCorrection = {
            correction + onOff(true),
            "Температура при замере скорости, градусы: " + formatFixed(s.mvTemperature, 0),
            "Коэффициент изменения начальной скорости, при изменении температуры на 15 градусов, проценты: " +
                formatFixed(s.mvTemperatureChange, 2),
            "Начальная скорость пули, скорректированная к условиям стрельбы, м/с: " +
                formatFixed(s.correctedMuzzleVelocity, 0),
        };
    }
    l.ballisticCoefficient = s.ballisticCoefficientUsed
                                 ? "Баллистический коэффициент: " + formatFixed(s.ballisticCoefficient, 3)
                                 : std::string("Баллистический коэффициент: не используется");
    l.derivation = std::string("Режим добавления деривации в результирующие поправки - ") + onOff(s.addDerivation);
    l.verticalDrift = std::string("Режим добавления вертикального ветрового сноса в результирующие поправки - ") +
                      onOff(s.addVerticalDrift);
    l.stabilityFactor = "Фактор гироскопической стабильности: " + formatFixed(s.stabilityFactor, 2);
    l.dragFunction = "Драг-Функция: " + s.dragFunctionName;
    l.targetAngle = "Угол места цели, градусы: " + formatFixed(s.targetAngle, 0);
    l.zeroDistance = "Дистанция на которую пристреляна винтовка, метры: " + formatFixed(s.zeroDistance, 0);
    l.sightHeight = "Высота прицела над стволом, см: " + formatFixed(s.sightHeight, 0);
    l.clickVertical = "Цена вертикального клика прицела, MOA: " + formatFixed(s.clickVertical, 3);
    l.clickHorizontal = "Цена горизонтального клика прицела, MOA: " + formatFixed(s.clickHorizontal, 3);
    l.temperature = "Температура, градусов Цельсия: " + formatFixed(s.airTemperature, 0);
    l.pressure = "Давление, мм.рт.столба: " + formatFixed(s.airPressure, 0);
    l.humidity = "Влажность, проценты: " + formatFixed(s.humidity, 0);
    l.windSpeed = "Скорость ветра, м/с: " + formatFixed(s.windSpeed, 1);
    l.windDirection = "Направление ветра, градусы: " + formatFixed(s.windDirection, 1);
    l.note = "Минус по горизонтали - значит крутить влево";
    l.footer = "Отчет сгенерирован программой Trajekton " + std::string(version);
    return l;
}

// ---- CSV ----

constexpr const char* kCsvLineEnd = "\r\n";

// A quoted text with its own double quotes doubled, so that a drag function name with a quote in
// it does not end the field early.
std::string csvQuotedBytes(std::string_view cp1251) {
    std::string out = "\"";
    for (char c : cp1251) {
        if (c == '"') out += '"';
        out += c;
    }
    out += '"';
    return out;
}

std::string csvQuoted(std::string_view utf8) { return csvQuotedBytes(utf8ToCp1251(utf8)); }

// Cells stay bare, with the decimal comma of a Russian spreadsheet; a cell that would break the
// row (a separator, quote or line end in it) is quoted instead.
std::string csvCell(std::string_view utf8) {
    std::string text = utf8ToCp1251(utf8);
    for (char& c : text)
        if (c == '.') c = ',';
    if (text.find_first_of(";\"\r\n") != std::string::npos) return csvQuotedBytes(text);
    return text;
}

// The fields of one line joined by ";", without the trailing ones.
std::string csvRow(const std::vector<std::string>& fields) {
    std::string line;
    for (const std::string& f : fields) line += f + ";";
    while (!line.empty() && line.back() == ';') line.pop_back();
    return line + kCsvLineEnd;
}

// ---- XML ----

// The XML file keeps the line feeds of its literals as they are.
constexpr const char* kXmlLineEnd = "\n";

// A text as the workbook's UTF-8 character data: the program's Windows-1251 form read back as
// UTF-8 (the same characters the desktop shows), with the markup characters escaped and the
// control characters XML cannot carry at all replaced by "?".
std::string xmlText(std::string_view utf8) {
    std::string out;
    for (char c : cp1251ToUtf8(utf8ToCp1251(utf8))) {
        const auto b = static_cast<unsigned char>(c);
        if (c == '&') {
            out += "&amp;";
        } else if (c == '<') {
            out += "&lt;";
        } else if (c == '>') {
            out += "&gt;";
        } else if (b < 0x20 && c != '\t' && c != '\n' && c != '\r') {
            out += '?';
        } else {
            out += c;
        }
    }
    return out;
}

// Whether a cell text is a plain decimal number a spreadsheet reads as one (the table's "%.1f"
// cells); anything else, "nan" among it, would make the whole workbook fail to load as a number.
bool isPlainNumber(std::string_view text) {
    size_t i = 0;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) ++i;
    size_t digits = 0;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') ++i, ++digits;
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9') ++i, ++digits;
    }
    if (digits == 0) return false;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        if (i < text.size() && (text[i] == '-' || text[i] == '+')) ++i;
        size_t exponentDigits = 0;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9') ++i, ++exponentDigits;
        if (exponentDigits == 0) return false;
    }
    return i == text.size();
}

void xmlLine(std::string& out, std::string_view literal) {
    out += literal;
    out += kXmlLineEnd;
}

void xmlReportRow(std::string& out, std::string_view text) {
    xmlLine(out, "\t<Row>");
    xmlLine(out, "\t\t<Cell ss:StyleID=\"row_string\">");
    xmlLine(out, "\t\t<Data ss:Type=\"String\">" + xmlText(text) + "</Data>");
    xmlLine(out, "\t\t</Cell>");
    xmlLine(out, "\t</Row>");
}

void xmlTableCell(std::string& out, std::string_view style, std::string_view type, std::string_view text) {
    xmlLine(out, "\t\t<Cell ss:StyleID=\"" + std::string(style) + "\">");
    xmlLine(out, "\t\t\t<Data ss:Type=\"" + std::string(type) + "\">" + xmlText(text) + "</Data>");
    xmlLine(out, "\t\t</Cell>");
}

void xmlBorders(std::string& out, std::string_view colour, const char* const (&weights)[4]) {
    static const char* const kPositions[4] = {"Top", "Right", "Bottom", "Left"};
    xmlLine(out, "\t<Borders>");
    for (int i = 0; i < 4; ++i)
        xmlLine(out, std::string("\t\t<Border ss:Position=\"") + kPositions[i] + "\" ss:Color=\"" +
                         std::string(colour) + "\" ss:LineStyle=\"Continuous\" ss:Weight=\"" + weights[i] + "\" />");
    xmlLine(out, "\t</Borders>");
}

void xmlPrologueAndStyles(std::string& out) {
    xmlLine(out, "<?xml version=\"1.0\" encoding=\"UTF-8\" ?>");
    xmlLine(out, "<Workbook  xmlns=\"urn:schemas-microsoft-com:office:spreadsheet\"");
    xmlLine(out, "xmlns:o=\"urn:schemas-microsoft-com:office:office\"");
    xmlLine(out, "xmlns:x=\"urn:schemas-microsoft-com:office:excel\"");
    xmlLine(out, "xmlns:ss=\"urn:schemas-microsoft-com:office:spreadsheet\"");
    xmlLine(out, "xmlns:html=\"http://www.w3.org/TR/REC-html40\">");

    xmlLine(out, "<Styles>");
    xmlLine(out, "\t<Style ss:ID=\"Default\" ss:Name=\"Normal\">");
    xmlLine(out, "\t<Alignment ss:Vertical=\"Bottom\"/>");
    xmlLine(out, "\t<Borders/>");
    xmlLine(out, "\t<Font/>");
    xmlLine(out, "\t<Interior/>");
    xmlLine(out, "\t<NumberFormat/>");
    xmlLine(out, "\t<Protection/>");
    xmlLine(out, "</Style>");

    xmlLine(out, "<Style ss:ID=\"header\">");
    xmlLine(out, "\t<Alignment ss:Horizontal=\"Center\" ss:Vertical=\"Center\"  ss:WrapText=\"1\"/>");
    xmlLine(out, "\t<Font ss:Bold=\"1\" ss:Color=\"white\" ss:Size=\"10\" ss:FontName=\"Tahoma\" />");
    xmlBorders(out, "#C0C0C0", {"2", "1", "1", "2"});
    xmlLine(out, "\t<Interior ss:Color=\"#319936\" ss:Pattern=\"Solid\" ss:PatternColor=\"#319936\" />");
    xmlLine(out, "\t<NumberFormat ss:Format=\"General\" />");
    xmlLine(out, "</Style>");

    const char* const rowFont = "\t<Font ss:Bold=\"0\" ss:Color=\"black\" ss:Size=\"9\" ss:FontName=\"Tahoma\" />";
    xmlLine(out, "<Style ss:ID=\"row_string\">");
    xmlLine(out, "\t<Alignment ss:Horizontal=\"Left\" ss:Vertical=\"Center\" />");
    xmlLine(out, rowFont);
    xmlLine(out, "\t<Interior ss:Color=\"#F7F7EF\" ss:Pattern=\"Solid\" />");
    xmlLine(out, "\t<NumberFormat ss:Format=\"General\" />");
    xmlLine(out, "\t</Style>");

    // "row" and "row1" differ only in the interior: the table's rows alternate between them.
    for (const auto& [id, interior] : {std::pair{"row", "#F7F7EF"}, std::pair{"row1", "#C0C0C0"}}) {
        xmlLine(out, std::string("<Style ss:ID=\"") + id + "\">");
        xmlLine(out, "\t<Alignment ss:Horizontal=\"Center\" ss:Vertical=\"Center\" />");
        xmlLine(out, rowFont);
        xmlBorders(out, "#C3BFB3", {"1", "1", "1", "1"});
        xmlLine(out, std::string("\t<Interior ss:Color=\"") + interior + "\" ss:Pattern=\"Solid\" />");
        xmlLine(out, "\t<NumberFormat ss:Format=\"General\" />");
        xmlLine(out, "\t</Style>");
    }
    xmlLine(out, "</Styles>");
}

}  // namespace

ReportShot reportShotFrom(const ShotInputs& in, const DragFunc& f, const ShotSummary& summary) {
    ReportShot s;
    s.muzzleVelocity = in.muzzleVelocity;
    s.mvCorrectionOff = in.mvCorrectionOff;
    s.mvTemperature = in.mvTemperature;
    s.mvTemperatureChange = in.mvTemperatureChange;
    s.correctedMuzzleVelocity = summary.correctedMuzzleVelocity;
    s.ballisticCoefficientUsed = f.kind != DragFuncKind::Special;
    s.ballisticCoefficient = in.ballisticCoefficient;
    s.addDerivation = in.addDerivation;
    s.addVerticalDrift = in.addVerticalDrift;
    s.stabilityFactor = f.stabilityFactor;
    s.dragFunctionName = cp1251ToUtf8(f.nameText());
    s.targetAngle = in.targetAngle;
    s.zeroDistance = in.zeroDistance;
    s.sightHeight = in.sightHeight;
    s.clickVertical = in.clickVertical;
    s.clickHorizontal = in.clickHorizontal;
    s.airTemperature = in.temperature;
    s.airPressure = in.pressure;
    s.humidity = in.humidity;
    s.windSpeed = in.windSpeed;
    s.windDirection = summary.windAzimuth;
    return s;
}

std::string csvReportBytes(const ReportShot& shot, const ReportTable& table, std::string_view version) {
    const ReportLines l = reportLines(shot, version);
    std::string out;
    auto text = [&](const std::string& line) { out += csvQuoted(line) + ";" + kCsvLineEnd; };
    auto empty = [&] { out += kCsvLineEnd; };

    text(l.muzzleVelocity);
    for (const std::string& line : l.temperatureCorrection) text(line);
    text(l.ballisticCoefficient);
    text(l.derivation);
    text(l.verticalDrift);
    text(l.stabilityFactor);
    for (const std::string* line : {&l.dragFunction, &l.targetAngle, &l.zeroDistance, &l.sightHeight,
                                    &l.clickVertical, &l.clickHorizontal, &l.temperature, &l.pressure, &l.humidity})
        text(*line);
    empty();
    text(l.windSpeed);
    text(l.windDirection);
    empty();

    std::vector<std::string> fields;
    for (const std::string& h : table.headers) fields.push_back(csvQuoted(h));
    out += csvRow(fields);
    for (const auto& row : table.rows) {
        fields.clear();
        for (size_t c = 0; c < table.headers.size(); ++c) fields.push_back(c < row.size() ? csvCell(row[c]) : "");
        out += csvRow(fields);
    }

    empty();
    text(l.note);
    for (int i = 0; i < 5; ++i) empty();
    text(l.footer);
    return out;
}

std::string xmlReportBytes(const ReportShot& shot, const ReportTable& table, std::string_view version) {
    const ReportLines l = reportLines(shot, version);
    std::string out;
    xmlPrologueAndStyles(out);

    xmlLine(out, "<Worksheet ss:Name=\"" + xmlText("Баллистика") + "\">");
    xmlLine(out, "<Table>");
    xmlLine(out, "\t<Row></Row>");

    xmlReportRow(out, l.muzzleVelocity);
    for (const std::string& line : l.temperatureCorrection) xmlReportRow(out, line);
    xmlReportRow(out, l.ballisticCoefficient);
    xmlReportRow(out, l.derivation);
    // Without derivation in the corrections the stability factor says nothing about them.
    if (shot.addDerivation) xmlReportRow(out, l.stabilityFactor);
    xmlReportRow(out, l.verticalDrift);
    for (const std::string* line : {&l.dragFunction, &l.zeroDistance, &l.targetAngle, &l.sightHeight,
                                    &l.clickVertical, &l.clickHorizontal, &l.temperature, &l.pressure, &l.humidity,
                                    &l.windSpeed, &l.windDirection})
        xmlReportRow(out, *line);

    xmlLine(out, "\t<Row></Row>");
    xmlLine(out, "\t<Row>");
    for (const std::string& h : table.headers) xmlTableCell(out, "header", "String", h);
    xmlLine(out, "\t</Row>");

    for (size_t r = 0; r < table.rows.size(); ++r) {
        const auto& row = table.rows[r];
        xmlLine(out, "\t<Row>");
        for (size_t c = 0; c < table.headers.size(); ++c) {
            const std::string cell = c < row.size() ? row[c] : std::string();
            xmlTableCell(out, r % 2 == 0 ? "row1" : "row", isPlainNumber(cell) ? "Number" : "String", cell);
        }
        xmlLine(out, "\t</Row>");
    }

    xmlLine(out, "\t<Row></Row>");
    xmlReportRow(out, l.note);
    xmlLine(out, "\t<Row></Row>");
    xmlReportRow(out, l.footer);

    xmlLine(out, "\t\t\t</Table>");
    xmlLine(out, "\t\t\t<WorksheetOptions xmlns=\"urn:schemas-microsoft-com:office:excel\"><DoNotDisplayGridlines/>"
                 "</WorksheetOptions>");
    xmlLine(out, "\t\t</Worksheet>");
    xmlLine(out, "</Workbook>");
    return out;
}

bool writeCsvReport(const std::filesystem::path& path, const ReportShot& shot, const ReportTable& table,
                    std::string_view version) {
    return writeFileAtomically(path, csvReportBytes(shot, table, version));
}

bool writeXmlReport(const std::filesystem::path& path, const ReportShot& shot, const ReportTable& table,
                    std::string_view version) {
    return writeFileAtomically(path, xmlReportBytes(shot, table, version));
}

#include <gtest/gtest.h>
#include <libxml/parser.h>
#include <libxml/tree.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include "BallisticSolver.h"
#include "FileIO.h"
#include "LibraryRecord.h"
#include "TableReport.h"
#include "TextCodec.h"

namespace fs = std::filesystem;

namespace {

ReportShot sampleShot() {
    ReportShot s;
    s.muzzleVelocity = 807.4;
    s.mvTemperature = 15;
    s.mvTemperatureChange = 2.5;
    s.correctedMuzzleVelocity = 795.6;
    s.ballisticCoefficient = 0.4475;
    s.addDerivation = true;
    s.stabilityFactor = 1.516;
    s.dragFunctionName = "G7";
    s.targetAngle = -12;
    s.zeroDistance = 100;
    s.sightHeight = 5;
    s.clickVertical = 0.25;
    s.clickHorizontal = 0.1;
    s.airTemperature = -3.6;
    s.airPressure = 745;
    s.humidity = 78;
    s.windSpeed = 3.25;
    s.windDirection = 270;
    return s;
}

ReportTable sampleTable() {
    return {{"Дистанция, метры", "Скорость, м/с", "см, Гор. поправка"},
            {{"100.0", "760.5", "-1.25"}, {"200.0", "715.1", "0.0"}, {"300.0", "671.9", "3.5"}}};
}

// Lines as a spreadsheet program would read them: UTF-8 texts, CR LF ends, Windows-1251 bytes.
std::string csvOf(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& l : lines) text += l + "\r\n";
    return utf8ToCp1251(text);
}

std::string utf8Of(const std::u16string& units) {
    std::string out;
    for (char16_t u : units) {
        if (u < 0x80) {
            out += static_cast<char>(u);
        } else if (u < 0x800) {
            out += static_cast<char>(0xC0 | (u >> 6));
            out += static_cast<char>(0x80 | (u & 0x3F));
        } else {
            out += static_cast<char>(0xE0 | (u >> 12));
            out += static_cast<char>(0x80 | ((u >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (u & 0x3F));
        }
    }
    return out;
}

struct XmlCell {
    std::string style, type, text;
};
struct Workbook {
    std::string sheetName;
    std::vector<std::vector<XmlCell>> rows;
};

const xmlChar* ss(const char* s) { return reinterpret_cast<const xmlChar*>(s); }
constexpr const char* kSs = "urn:schemas-microsoft-com:office:spreadsheet";

std::string prop(xmlNode* node, const char* name) {
    xmlChar* v = xmlGetNsProp(node, ss(name), ss(kSs));
    std::string out = v ? reinterpret_cast<char*>(v) : "";
    xmlFree(v);
    return out;
}

std::vector<xmlNode*> children(xmlNode* node, const char* name) {
    std::vector<xmlNode*> out;
    for (xmlNode* c = node ? node->children : nullptr; c; c = c->next)
        if (c->type == XML_ELEMENT_NODE && xmlStrcmp(c->name, ss(name)) == 0 && c->ns &&
            xmlStrcmp(c->ns->href, ss(kSs)) == 0)
            out.push_back(c);
    return out;
}

// The worksheet as a spreadsheet reads it; a document that is not well-formed fails the test.
Workbook parse(const std::string& bytes) {
    Workbook book;
    xmlDoc* doc = xmlReadMemory(bytes.data(), static_cast<int>(bytes.size()), "report.xml", nullptr,
                                XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING);
    EXPECT_NE(doc, nullptr) << "not well-formed";
    if (!doc) return book;
    const auto sheets = children(xmlDocGetRootElement(doc), "Worksheet");
    EXPECT_EQ(sheets.size(), 1u);
    if (sheets.size() == 1) {
        book.sheetName = prop(sheets[0], "Name");
        for (xmlNode* table : children(sheets[0], "Table"))
            for (xmlNode* row : children(table, "Row")) {
                book.rows.emplace_back();
                for (xmlNode* cell : children(row, "Cell")) {
                    XmlCell c{prop(cell, "StyleID"), "", ""};
                    for (xmlNode* data : children(cell, "Data")) {
                        c.type = prop(data, "Type");
                        xmlChar* text = xmlNodeGetContent(data);
                        c.text = reinterpret_cast<char*>(text);
                        xmlFree(text);
                    }
                    book.rows.back().push_back(c);
                }
            }
    }
    xmlFreeDoc(doc);
    return book;
}

// A folder of this run's own: others may run the same tests at the same time.
fs::path freshFolder(const std::string& name) {
    const fs::path dir = fs::temp_directory_path() / (name + "_" + std::to_string(std::random_device{}()));
    std::error_code ec;
    fs::remove_all(dir, ec);
    fs::create_directories(dir, ec);
    return dir;
}

// The texts of the single-cell report rows, in order, empty rows as "".
std::vector<std::string> reportTexts(const Workbook& book) {
    std::vector<std::string> out;
    for (const auto& row : book.rows)
        if (row.empty() || row[0].style == "row_string") out.push_back(row.empty() ? "" : row[0].text);
    return out;
}

}  // namespace

TEST(CsvReport, WholeFileForASmallTable) {
    const std::string bytes = csvReportBytes(sampleShot(), sampleTable());
    EXPECT_EQ(bytes, csvOf({
                         "\"Начальная скорость пули, м/с: 807\";",
                         "\"Режим коррекции начальной скорости по температуре - ВКЛЮЧЕН\";",
                         "\"Температура при замере скорости, градусы: 15\";",
                         "\"Коэффициент изменения начальной скорости, при изменении температуры на 15 градусов, "
                         "проценты: 2.50\";",
                         "\"Начальная скорость пули, скорректированная к условиям стрельбы, м/с: 796\";",
                         "\"Баллистический коэффициент: 0.448\";",
                         "\"Режим добавления деривации в результирующие поправки - ВКЛЮЧЕН\";",
                         "\"Режим добавления вертикального ветрового сноса в результирующие поправки - ВЫКЛЮЧЕН\";",
                         "\"Фактор гироскопической стабильности: 1.52\";",
                         "\"Драг-Функция: G7\";",
                         "\"Угол места цели, градусы: -12\";",
                         "\"Дистанция на которую пристреляна винтовка, метры: 100\";",
                         "\"Высота прицела над стволом, см: 5\";",
                         "\"Цена вертикального клика прицела, MOA: 0.250\";",
                         "\"Цена горизонтального клика прицела, MOA: 0.100\";",
                         "\"Температура, градусов Цельсия: -4\";",
                         "\"Давление, мм.рт.столба: 745\";",
                         "\"Влажность, проценты: 78\";",
                         "",
                         "\"Скорость ветра, м/с: 3.2\";",
                         "\"Направление ветра, градусы: 270.0\";",
                         "",
                         "\"Дистанция, метры\";\"Скорость, м/с\";\"см, Гор. поправка\"",
                         "100,0;760,5;-1,25",
                         "200,0;715,1;0,0",
                         "300,0;671,9;3,5",
                         "",
                         "\"Минус по горизонтали - значит крутить влево\";",
                         "", "", "", "", "",
                         "\"Отчет сгенерирован программой Trajekton 1.23\";",
                     }));
    // The single-byte Windows-1251 form, as spreadsheets with a Russian locale expect it.
    EXPECT_EQ(bytes.rfind("\"\xCD\xE0\xF7\xE0\xEB\xFC\xED\xE0\xFF \xF1\xEA\xEE\xF0\xEE\xF1\xF2\xFC \xEF\xF3\xEB\xE8, "
                          "\xEC/\xF1: 807\";\r\n", 0), 0u);
    EXPECT_NE(bytes.find("\r\n\"\xC4\xE8\xF1\xF2\xE0\xED\xF6\xE8\xFF, \xEC\xE5\xF2\xF0\xFB\";"), std::string::npos);
    EXPECT_TRUE(bytes.ends_with("\r\n\r\n\r\n\r\n\r\n\"\xCE\xF2\xF7\xE5\xF2 \xF1\xE3\xE5\xED\xE5\xF0\xE8\xF0\xEE\xE2"
                                "\xE0\xED \xEF\xF0\xEE\xE3\xF0\xE0\xEC\xEC\xEE\xE9 Trajekton 1.23\";\r\n"));
}

TEST(CsvReport, SwitchedOffOptionsAndOwnDragFunction) {
    ReportShot s = sampleShot();
    s.mvCorrectionOff = true;
    s.addDerivation = false;
    s.ballisticCoefficientUsed = false;
    const std::string bytes = csvReportBytes(s, {{"Дистанция, метры"}, {}}, "2.0");
    const std::string start = csvOf({"\"Начальная скорость пули, м/с: 807\";",
                                     "\"Режим коррекции начальной скорости по температуре - ВЫКЛЮЧЕН\";",
                                     "\"Баллистический коэффициент: не используется\";",
                                     "\"Режим добавления деривации в результирующие поправки - ВЫКЛЮЧЕН\";"});
    EXPECT_EQ(bytes.substr(0, start.size()), start);
    // The stability factor stays in the CSV without derivation.
    EXPECT_NE(bytes.find(csvOf({"\"Фактор гироскопической стабильности: 1.52\";"})), std::string::npos);
    // An empty table: its header line between the report block and the closing lines.
    EXPECT_TRUE(bytes.ends_with(csvOf({"\"Направление ветра, градусы: 270.0\";", "", "\"Дистанция, метры\"", "",
                                       "\"Минус по горизонтали - значит крутить влево\";", "", "", "", "", "",
                                       "\"Отчет сгенерирован программой Trajekton 2.0\";"})));
}

TEST(CsvReport, CellsQuotesAndSeparators) {
    ReportShot s = sampleShot();
    s.dragFunctionName = "Lapua \"Scenar\" 0.5";
    ReportTable t{{"Дистанция, метры", "Ветер \"боковой\""},
                  {{"100.0"}, {"-1.25", "a;b"}, {"1.5", "x\"y"}}};
    const std::string bytes = csvReportBytes(s, t);
    // Doubled quotes keep the text in one field; report values keep their point.
    EXPECT_NE(bytes.find(csvOf({"\"Драг-Функция: Lapua \"\"Scenar\"\" 0.5\";"})), std::string::npos);
    EXPECT_NE(bytes.find(csvOf({"\"Дистанция, метры\";\"Ветер \"\"боковой\"\"\"", "100,0", "-1,25;\"a;b\"",
                                "1,5;\"x\"\"y\"", ""})),
              std::string::npos);

    // Only the distance column: one bare cell per row, no separator.
    const std::string single = csvReportBytes(s, {{"Дистанция, метры"}, {{"100.0"}, {"150.0"}}});
    EXPECT_NE(single.find(csvOf({"\"Дистанция, метры\"", "100,0", "150,0", ""})), std::string::npos);
}

TEST(XmlReport, PrologueAndStylesByteForByte) {
    const std::string bytes = xmlReportBytes(sampleShot(), sampleTable());
    const std::string head =
        "<?xml version=\"1.0\" encoding=\"UTF-8\" ?>\n"
        "<Workbook  xmlns=\"urn:schemas-microsoft-com:office:spreadsheet\"\n"
        "xmlns:o=\"urn:schemas-microsoft-com:office:office\"\n"
        "xmlns:x=\"urn:schemas-microsoft-com:office:excel\"\n"
        "xmlns:ss=\"urn:schemas-microsoft-com:office:spreadsheet\"\n"
        "xmlns:html=\"http://www.w3.org/TR/REC-html40\">\n"
        "<Styles>\n\t<Style ss:ID=\"Default\" ss:Name=\"Normal\">\n\t<Alignment ss:Vertical=\"Bottom\"/>\n"
        "\t<Borders/>\n\t<Font/>\n\t<Interior/>\n\t<NumberFormat/>\n\t<Protection/>\n</Style>\n"
        "<Style ss:ID=\"header\">\n"
        "\t<Alignment ss:Horizontal=\"Center\" ss:Vertical=\"Center\"  ss:WrapText=\"1\"/>\n"
        "\t<Font ss:Bold=\"1\" ss:Color=\"white\" ss:Size=\"10\" ss:FontName=\"Tahoma\" />\n"
        "\t<Borders>\n"
        "\t\t<Border ss:Position=\"Top\" ss:Color=\"#C0C0C0\" ss:LineStyle=\"Continuous\" ss:Weight=\"2\" />\n"
        "\t\t<Border ss:Position=\"Right\" ss:Color=\"#C0C0C0\" ss:LineStyle=\"Continuous\" ss:Weight=\"1\" />\n"
        "\t\t<Border ss:Position=\"Bottom\" ss:Color=\"#C0C0C0\" ss:LineStyle=\"Continuous\" ss:Weight=\"1\" />\n"
        "\t\t<Border ss:Position=\"Left\" ss:Color=\"#C0C0C0\" ss:LineStyle=\"Continuous\" ss:Weight=\"2\" />\n"
        "\t</Borders>\n"
        "\t<Interior ss:Color=\"#319936\" ss:Pattern=\"Solid\" ss:PatternColor=\"#319936\" />\n"
        "\t<NumberFormat ss:Format=\"General\" />\n</Style>\n"
        "<Style ss:ID=\"row_string\">\n\t<Alignment ss:Horizontal=\"Left\" ss:Vertical=\"Center\" />\n"
        "\t<Font ss:Bold=\"0\" ss:Color=\"black\" ss:Size=\"9\" ss:FontName=\"Tahoma\" />\n"
        "\t<Interior ss:Color=\"#F7F7EF\" ss:Pattern=\"Solid\" />\n\t<NumberFormat ss:Format=\"General\" />\n"
        "\t</Style>\n";
    ASSERT_EQ(bytes.substr(0, head.size()), head);
    std::string row;
    for (const char* interior : {"#F7F7EF", "#C0C0C0"}) {
        row = "\t<Alignment ss:Horizontal=\"Center\" ss:Vertical=\"Center\" />\n"
              "\t<Font ss:Bold=\"0\" ss:Color=\"black\" ss:Size=\"9\" ss:FontName=\"Tahoma\" />\n\t<Borders>\n";
        for (const char* side : {"Top", "Right", "Bottom", "Left"})
            row += std::string("\t\t<Border ss:Position=\"") + side +
                   "\" ss:Color=\"#C3BFB3\" ss:LineStyle=\"Continuous\" ss:Weight=\"1\" />\n";
        row += std::string("\t</Borders>\n\t<Interior ss:Color=\"") + interior +
               "\" ss:Pattern=\"Solid\" />\n\t<NumberFormat ss:Format=\"General\" />\n\t</Style>\n";
        EXPECT_NE(bytes.find(row), std::string::npos) << interior;
    }
    EXPECT_NE(bytes.find("<Style ss:ID=\"row1\">\n" + row + "</Styles>\n<Worksheet ss:Name=\"Баллистика\">\n"
                         "<Table>\n\t<Row></Row>\n\t<Row>\n\t\t<Cell ss:StyleID=\"row_string\">\n"
                         "\t\t<Data ss:Type=\"String\">Начальная скорость пули, м/с: 807</Data>\n"
                         "\t\t</Cell>\n\t</Row>\n"),
              std::string::npos);
    EXPECT_TRUE(bytes.ends_with(
        "\t\t\t</Table>\n\t\t\t<WorksheetOptions xmlns=\"urn:schemas-microsoft-com:office:excel\">"
        "<DoNotDisplayGridlines/></WorksheetOptions>\n\t\t</Worksheet>\n</Workbook>\n"));
}

TEST(XmlReport, CellByCell) {
    const Workbook book = parse(xmlReportBytes(sampleShot(), sampleTable()));
    EXPECT_EQ(book.sheetName, "Баллистика");
    EXPECT_EQ(reportTexts(book),
              (std::vector<std::string>{
                  "",
                  "Начальная скорость пули, м/с: 807",
                  "Режим коррекции начальной скорости по температуре - ВКЛЮЧЕН",
                  "Температура при замере скорости, градусы: 15",
                  "Коэффициент изменения начальной скорости, при изменении температуры на 15 градусов, проценты: 2.50",
                  "Начальная скорость пули, скорректированная к условиям стрельбы, м/с: 796",
                  "Баллистический коэффициент: 0.448",
                  "Режим добавления деривации в результирующие поправки - ВКЛЮЧЕН",
                  "Фактор гироскопической стабильности: 1.52",
                  "Режим добавления вертикального ветрового сноса в результирующие поправки - ВЫКЛЮЧЕН",
                  "Драг-Функция: G7",
                  "Дистанция на которую пристреляна винтовка, метры: 100",
                  "Угол места цели, градусы: -12",
                  "Высота прицела над стволом, см: 5",
                  "Цена вертикального клика прицела, MOA: 0.250",
                  "Цена горизонтального клика прицела, MOA: 0.100",
                  "Температура, градусов Цельсия: -4",
                  "Давление, мм.рт.столба: 745",
                  "Влажность, проценты: 78",
                  "Скорость ветра, м/с: 3.2",
                  "Направление ветра, градусы: 270.0",
                  "",
                  "",
                  "Минус по горизонтали - значит крутить влево",
                  "",
                  "Отчет сгенерирован программой Trajekton 1.23",
              }));
    ASSERT_EQ(book.rows.size(), 26u + 4u);  // report rows and empty rows, then the header and three rows
    const auto& header = book.rows[22];
    ASSERT_EQ(header.size(), 3u);
    EXPECT_EQ(header[2].style, "header");
    EXPECT_EQ(header[2].type, "String");
    EXPECT_EQ(header[2].text, "см, Гор. поправка");
    const ReportTable t = sampleTable();
    for (size_t r = 0; r < 3; ++r) {
        ASSERT_EQ(book.rows[23 + r].size(), 3u);
        for (size_t c = 0; c < 3; ++c) {
            const XmlCell& cell = book.rows[23 + r][c];
            EXPECT_EQ(cell.style, r % 2 == 0 ? "row1" : "row");
            EXPECT_EQ(cell.type, "Number");
            EXPECT_EQ(cell.text, t.rows[r][c]);  // the point stays: -1.25
        }
    }
}

TEST(XmlReport, SwitchedOffOptionsAndEmptyTable) {
    ReportShot s = sampleShot();
    s.mvCorrectionOff = true;
    s.addDerivation = false;
    const Workbook book = parse(xmlReportBytes(s, {{"Дистанция, метры"}, {}}, "2.0"));
    const auto texts = reportTexts(book);
    ASSERT_GE(texts.size(), 6u);
    EXPECT_EQ(texts[2], "Режим коррекции начальной скорости по температуре - ВЫКЛЮЧЕН");
    EXPECT_EQ(texts[3], "Баллистический коэффициент: 0.448");
    EXPECT_EQ(texts[4], "Режим добавления деривации в результирующие поправки - ВЫКЛЮЧЕН");
    EXPECT_EQ(texts[5], "Режим добавления вертикального ветрового сноса в результирующие поправки - ВЫКЛЮЧЕН");
    for (const std::string& text : texts) EXPECT_EQ(text.find("Фактор"), std::string::npos);
    // Report block, header row, then the closing rows at once.
    ASSERT_EQ(book.rows.size(), 23u);
    EXPECT_EQ(book.rows[16].at(0).text, "Направление ветра, градусы: 270.0");
    EXPECT_EQ(book.rows[18].at(0).text, "Дистанция, метры");
    EXPECT_TRUE(book.rows[19].empty());
    EXPECT_EQ(book.rows[22].at(0).text, "Отчет сгенерирован программой Trajekton 2.0");
}

TEST(XmlReport, MarkupAndControlCharactersInTexts) {
    ReportShot s = sampleShot();
    s.dragFunctionName = "A&B <\"C\"> ]]> \x01 \xC2\x98 \xFF";  // a control, U+0098, broken UTF-8
    ReportTable t{{"a<b", "c&d"}, {{"nan", ""}, {"1e3", "-.5"}}};
    const Workbook book = parse(xmlReportBytes(s, t));
    ASSERT_EQ(book.rows.size(), 29u);
    EXPECT_EQ(book.rows[10][0].text, "Драг-Функция: A&B <\"C\"> ]]> ? \xC2\x98 ?");
    EXPECT_EQ(book.rows[22][0].text, "a<b");
    EXPECT_EQ(book.rows[22][1].text, "c&d");
    // Only what a spreadsheet reads as a number goes into a number cell.
    EXPECT_EQ(book.rows[23][0].type, "String");
    EXPECT_EQ(book.rows[23][1].type, "String");
    EXPECT_EQ(book.rows[24][0].type, "Number");
    EXPECT_EQ(book.rows[24][1].type, "Number");
}

TEST(Reports, XmlTextsAreTheCsvTextsThroughTheCyrillicTable) {
    // Both files carry the same report texts; the XML ones are the Windows-1251 bytes taken through
    // the program's own Cyrillic table to UTF-8.
    const std::string csv = csvReportBytes(sampleShot(), sampleTable());
    const std::string xml = xmlReportBytes(sampleShot(), sampleTable());
    std::istringstream lines(csv);
    int compared = 0;
    for (std::string line; std::getline(lines, line);) {
        if (!line.starts_with("\"") || !line.ends_with("\";\r")) continue;
        const std::string text = line.substr(1, line.size() - 4);
        EXPECT_NE(xml.find("String\">" + utf8Of(toUtf16Cyrillic(text)) + "</Data>"), std::string::npos) << text;
        ++compared;
    }
    EXPECT_EQ(compared, 22);
    EXPECT_NE(xml.find("ss:Name=\"" + utf8Of(toUtf16Cyrillic(utf8ToCp1251("Баллистика"))) + "\""),
              std::string::npos);
}

TEST(Reports, ShotFromTheInputsAndTheSolve) {
    DragFunc f;
    f.setName("\xCB\xE0\xEF\xF3\xE0 \xB9" "1");  // "Лапуа №1" in Windows-1251
    f.kind = DragFuncKind::Special;
    f.stabilityFactor = 1.7;
    ShotInputs in;
    in.mvCorrectionOff = true;
    in.clickVertical = 0.36;
    in.addVerticalDrift = true;
    ShotSummary summary;
    summary.correctedMuzzleVelocity = 790;
    summary.windAzimuth = 40;
    const ReportShot s = reportShotFrom(in, f, summary);
    EXPECT_EQ(s.dragFunctionName, "Лапуа №1");
    EXPECT_FALSE(s.ballisticCoefficientUsed);
    EXPECT_EQ(s.stabilityFactor, 1.7);
    EXPECT_TRUE(s.mvCorrectionOff);
    EXPECT_FALSE(s.addDerivation);
    EXPECT_TRUE(s.addVerticalDrift);
    EXPECT_EQ(s.correctedMuzzleVelocity, 790);
    EXPECT_EQ(s.windDirection, 40);
    EXPECT_EQ(s.clickVertical, 0.36);
    EXPECT_EQ(s.muzzleVelocity, in.muzzleVelocity);
    EXPECT_EQ(s.airPressure, in.pressure);
    f.kind = DragFuncKind::StandardCopy;
    EXPECT_TRUE(reportShotFrom(in, f, summary).ballisticCoefficientUsed);
}

TEST(Reports, WrittenWholeOrNotAtAll) {
    const fs::path dir = freshFolder("tk_table_report");
    fs::create_directories(dir / "taken.xml");
    const ReportShot s = sampleShot();
    const ReportTable t = sampleTable();

    EXPECT_TRUE(writeCsvReport(dir / "r.csv", s, t));
    EXPECT_EQ(readWholeFile(dir / "r.csv"), csvReportBytes(s, t));
    ASSERT_TRUE(writeXmlReport(dir / "r.xml", s, {{"x"}, {}}));
    EXPECT_TRUE(writeXmlReport(dir / "r.xml", s, t));  // replaces the older report whole
    EXPECT_EQ(readWholeFile(dir / "r.xml"), xmlReportBytes(s, t));

    EXPECT_FALSE(writeCsvReport(dir / "missing" / "r.csv", s, t));
    EXPECT_FALSE(fs::exists(dir / "missing"));
    EXPECT_FALSE(writeXmlReport(dir / "taken.xml", s, t));
    EXPECT_TRUE(fs::is_directory(dir / "taken.xml"));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 3);  // no temporary left
    std::error_code ec;
    fs::remove_all(dir, ec);
}

// A real spreadsheet program reads the table cells of both files as numbers. Needs LibreOffice.
TEST(Reports, SpreadsheetReadsNumbers) {
    if (std::system("command -v soffice >/dev/null 2>&1") != 0) GTEST_SKIP() << "soffice is not installed";
    const fs::path dir = freshFolder("tk_table_report_office");
    fs::create_directories(dir / "out");
    ASSERT_TRUE(writeXmlReport(dir / "book.xml", sampleShot(), sampleTable()));
    ASSERT_TRUE(writeCsvReport(dir / "table.csv", sampleShot(), sampleTable()));
    const std::string office = "soffice -env:UserInstallation=file://" + (dir / "profile").string() +
                               " --headless --convert-to fods --outdir " + (dir / "out").string() + " ";
    // CSV: ";" separator, '"' quotes, Windows-1251 (text encoding 34), Russian locale (1049).
    ASSERT_EQ(std::system((office + (dir / "book.xml").string() + " >/dev/null 2>&1").c_str()), 0);
    ASSERT_EQ(std::system((office + "--infilter=CSV:59,34,34,1,,1049 " + (dir / "table.csv").string() +
                           " >/dev/null 2>&1").c_str()),
              0);
    for (const char* name : {"book.fods", "table.fods"}) {
        const auto flat = readWholeFile(dir / "out" / name);
        ASSERT_TRUE(flat) << name;
        for (const char* value : {"100", "760.5", "-1.25", "715.1", "0", "300", "3.5"})
            EXPECT_NE(flat->find(std::string("office:value-type=\"float\" office:value=\"") + value + "\""),
                      std::string::npos)
                << name << " " << value;
        EXPECT_NE(flat->find("Драг-Функция: G7"), std::string::npos) << name;
    }
    std::error_code ec;
    fs::remove_all(dir, ec);
}

#include <gtest/gtest.h>
#include <libxml/parser.h>
#include <libxml/tree.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <sstream>

#include "DragLibrary.h"
#include "FileIO.h"
#include "PlotCommand.h"
#include "ScopePlot.h"
#include "StandardDragSet.h"
#include "SvgCanvas.h"
#include "TextCodec.h"
#include "Tkcalc.h"
#include "TkcalcRun.h"

namespace fs = std::filesystem;

namespace {

// The texts of an SVG document, read back by a real XML parser (so an unescaped name fails).
std::vector<std::string> svgTexts(const std::string& document) {
    xmlDoc* doc = xmlReadMemory(document.data(), static_cast<int>(document.size()), "plot.svg", nullptr,
                                XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING);
    std::vector<std::string> texts;
    if (!doc) return {"not well-formed"};
    std::vector<xmlNode*> todo{xmlDocGetRootElement(doc)};
    while (!todo.empty()) {
        xmlNode* n = todo.back();
        todo.pop_back();
        for (xmlNode* c = n->last; c; c = c->prev) todo.push_back(c);
        if (n->type == XML_ELEMENT_NODE && std::string(reinterpret_cast<const char*>(n->name)) == "text") {
            xmlChar* content = xmlNodeGetContent(n);
            texts.emplace_back(reinterpret_cast<const char*>(content));
            xmlFree(content);
        }
    }
    xmlFreeDoc(doc);
    return texts;
}

bool has(const std::vector<std::string>& v, const std::string& s) { return std::find(v.begin(), v.end(), s) != v.end(); }

// A data folder whose library holds a function of the user's with a name XML must escape, and one
// without points.
class PlotCommand : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() / ("tkcalc-plot-" + std::to_string(::getpid()) + "-" +
                                           ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir);
        fs::create_directories(dir);
        DragLibrary library;
        DragFunc f = sampleFunction();
        f.setName(utf8ToCp1251("Пуля <\"A&B\">"));
        f.uniqueNumber = 11;
        library.add(f);
        DragFunc empty;
        empty.kind = DragFuncKind::Special;
        empty.setName("Empty");
        empty.uniqueNumber = 12;
        library.add(empty);
        ASSERT_TRUE(library.saveLibrary(dir / "bc_cdm3.dat"));
        points = f.points.size();
    }
    void TearDown() override { fs::remove_all(dir); }

    Outcome plot(std::vector<std::string> args) {
        args.insert(args.begin(), "plot");
        args.insert(args.end(), {"--data-dir", dir.string()});
        return tkcalc(args);
    }

    fs::path dir;
    size_t points = 0;
};

// The SVG keeps its texts as text, the name escaped and in UTF-8, and the curve as one polyline
// through every point, in the size asked.
TEST_F(PlotCommand, SvgKeepsTheTextsAndTheCurve) {
    const Outcome r = plot({"Пуля <\"A&B\">#11", (dir / "plot.svg").string(), "--size", "800x500"});
    ASSERT_EQ(r.status, kTkcalcOk) << r.err;
    const std::string svg = readWholeFile(dir / "plot.svg").value_or("");
    const std::vector<std::string> texts = svgTexts(svg);
    EXPECT_TRUE(has(texts, "Пуля <\"A&B\">"));
    EXPECT_TRUE(has(texts, scopeplot::kDragTitle));
    EXPECT_TRUE(has(texts, scopeplot::kAxisTitle));
    EXPECT_TRUE(has(texts, "0.56"));  // 1.25 × the sample's largest Cd
    EXPECT_NE(svg.find("width=\"800\" height=\"500\""), std::string::npos);
    const size_t curve = svg.find("<polyline points=\"", svg.find("stroke=\"#c0c0ff\""));
    ASSERT_NE(curve, std::string::npos);
    const std::string line = svg.substr(curve, svg.find('\n', curve) - curve);
    EXPECT_NE(line.find("stroke=\"#ffffff\""), std::string::npos);
    EXPECT_EQ(static_cast<size_t>(std::count(line.begin(), line.end(), ',')), points);
}

// Characters XML does not allow never reach the document: a name with a control character still
// gives a picture every SVG reader opens.
TEST(SvgCanvas, EscapesWhatXmlDoesNotAllow) {
    EXPECT_EQ(SvgCanvas::escaped("a<b>&\"c'"), "a&lt;b&gt;&amp;&quot;c&apos;");
    EXPECT_EQ(SvgCanvas::escaped("x\x01y\xC0z"), "x\xEF\xBF\xBDy\xEF\xBF\xBDz");
    SvgCanvas c({200, 100});
    c.drawText(5, 5, cp1251ToUtf8("\x01\xCF\xF3\xEB\xFF"), ui::kWhite, {});
    EXPECT_EQ(svgTexts(c.document()), (std::vector<std::string>{"\xEF\xBF\xBDПуля"}));
}

// A PNG file with its signature, as large as asked (640 by 400 when not asked).
TEST_F(PlotCommand, PngIsWrittenInTheSizeAsked) {
    auto pngSize = [](const fs::path& file) {
        const std::string png = readWholeFile(file).value_or("");
        EXPECT_EQ(png.substr(0, 8), std::string("\x89PNG\r\n\x1A\n", 8));
        auto be32 = [&](size_t at) {
            uint32_t v = 0;
            for (size_t i = 0; i < 4; ++i) v = v << 8 | static_cast<unsigned char>(png.at(at + i));
            return static_cast<int>(v);
        };
        return png.size() < 24 ? ui::Size{} : ui::Size{be32(16), be32(20)};
    };
    Outcome r = plot({"G7", (dir / "g7.PNG").string(), "--size=1000x300"});
    ASSERT_EQ(r.status, kTkcalcOk) << r.err;
    EXPECT_EQ(pngSize(dir / "g7.PNG"), (ui::Size{1000, 300}));
    r = plot({"g1", (dir / "g1.png").string()});
    ASSERT_EQ(r.status, kTkcalcOk) << r.err;
    EXPECT_EQ(pngSize(dir / "g1.png"), kDefaultPlotSize);
}

// A drag function file is plotted without a library; a function without points is drawn empty,
// with the window's message and status 3.
TEST_F(PlotCommand, TakesADragFileAndWarnsOfAnEmptyFunction) {
    ASSERT_EQ(tkcalc({"export", "--data-dir", dir.string(), "Пуля <\"A&B\">", (dir / "f.snr").string()}).status, 0);
    Outcome r = tkcalc({"plot", "--drag-file", (dir / "f.snr").string(), (dir / "f.svg").string()});
    ASSERT_EQ(r.status, kTkcalcOk) << r.err;
    EXPECT_TRUE(has(svgTexts(readWholeFile(dir / "f.svg").value_or("")), "Пуля <\"A&B\">"));

    r = plot({"Empty", (dir / "empty.svg").string()});
    EXPECT_EQ(r.status, kTkcalcUnreliable);
    EXPECT_NE(r.err.find("Драг-функция не содержит данных"), std::string::npos);
    const std::string svg = readWholeFile(dir / "empty.svg").value_or("");
    EXPECT_TRUE(has(svgTexts(svg), scopeplot::kDragTitle));
    EXPECT_EQ(svg.find("stroke=\"#ffffff\""), std::string::npos);  // no curve
}

// Bad sizes, names, files and outputs: a message, status 2, and no file made or changed.
TEST_F(PlotCommand, RefusesWhatItCannotDraw) {
    const fs::path out = dir / "kept.svg";
    ASSERT_TRUE(writeFileAtomically(out, "old"));
    for (const char* size : {"800", "0x400", "x400", "800x", "12ax40", "-800x400", "100x100", "5000x400", "800x400x2"}) {
        const Outcome r = plot({"G7", out.string(), "--size", size});
        EXPECT_EQ(r.status, kTkcalcBadInput) << size;
        EXPECT_NE(r.err.find("--size"), std::string::npos) << size;
    }
    const std::vector<std::vector<std::string>> bad = {
        {"Нет такой", out.string()},
        {"G7#99", out.string()},
        {"G7", (dir / "g7.jpg").string()},
        {"G7"},
        {"G7", out.string(), "extra.svg"},
        {"G7", out.string(), "--colour", "red"},
        {"--drag-file", (dir / "missing.snr").string(), out.string()},
    };
    for (const auto& args : bad) {
        const Outcome r = plot(args);
        EXPECT_EQ(r.status, kTkcalcBadInput) << args[0];
        EXPECT_NE(r.err.find("tkcalc: ошибка: "), std::string::npos) << args[0];
    }
    EXPECT_EQ(readWholeFile(out).value_or(""), "old");
    EXPECT_FALSE(fs::exists(dir / "g7.jpg"));

    fs::create_directories(dir / "taken.png");  // a folder where the picture would go
    for (const fs::path& unwritable : {dir / "no" / "such" / "folder.png", dir / "taken.png"}) {
        const Outcome r = plot({"G7", unwritable.string()});
        EXPECT_EQ(r.status, kTkcalcBadInput) << unwritable;
        EXPECT_NE(r.err.find("Не могу записать файл"), std::string::npos) << unwritable;
    }
    EXPECT_TRUE(fs::is_directory(dir / "taken.png"));

    // Help is the help of every command, whatever else is given.
    EXPECT_EQ(tkcalc({"plot", "G7", "--help"}).out, tkcalcHelp());
}

}  // namespace

// tkcalc copy and delete: the manager's rules on the data folder's library, saved at once.
#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <sstream>

#include "DataFolder.h"
#include "DragLibrary.h"
#include "SettingsRecord.h"
#include "StandardDragSet.h"
#include "TextCodec.h"
#include "Tkcalc.h"

namespace fs = std::filesystem;

namespace {

struct Outcome {
    int status;
    std::string out, err;
};

class CopyDelete : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() / ("tkcalc-copy-" + std::to_string(std::random_device{}()));
        fs::create_directories(dir);
        DragLibrary library;
        DragFunc f = sampleFunction();
        f.setName(utf8ToCp1251("Лапуа"));
        f.kind = DragFuncKind::Special;
        f.uniqueNumber = 11;
        library.add(f);
        ASSERT_TRUE(library.saveLibrary(dir / kLibraryFileName));
    }
    void TearDown() override {
        std::error_code ec;
        fs::remove_all(dir, ec);
    }
    Outcome run(std::vector<std::string> args) {
        args.push_back("--data-dir");
        args.push_back(dir.string());
        std::ostringstream out, err;
        std::istringstream in;
        const int status = runTkcalc(args, out, err, in);
        return {status, out.str(), err.str()};
    }
    std::vector<std::string> storedNames() {
        DragLibrary l;
        l.loadLibrary(dir / kLibraryFileName);
        std::vector<std::string> names;
        for (size_t i = 10; i < l.size(); ++i)
            names.push_back(cp1251ToUtf8(l[i].nameText()) + "#" + std::to_string(l[i].uniqueNumber));
        return names;
    }
    fs::path dir;
};

// The same names, kinds and numbers as the manager's "Сделать копию", in the saved library.
TEST_F(CopyDelete, CopySavesTheCopyUnderTheManagersName) {
    Outcome r = run({"copy", "G7"});
    EXPECT_EQ(r.status, kTkcalcOk) << r.err;
    EXPECT_EQ(r.out, "Скопировано: «G7» (номер 5) -> «G7_copy» (номер 12)\n");
    r = run({"copy", "G7_copy#12"});
    EXPECT_EQ(r.status, kTkcalcOk) << r.err;
    EXPECT_EQ(storedNames(), (std::vector<std::string>{"Лапуа#11", "G7_copy#12", "G7_copy_copy#13"}));
    DragLibrary l;
    l.loadLibrary(dir / kLibraryFileName);
    EXPECT_EQ(l[12].kind, DragFuncKind::StandardCopy);

    r = run({"copy", "Нет такой"});
    EXPECT_EQ(r.status, kTkcalcBadInput);
    EXPECT_NE(r.err.find("нет драг-функции «Нет такой»"), std::string::npos);
    EXPECT_EQ(run({"copy"}).status, kTkcalcBadInput);
}

// Delete refuses the three protected functions and names the calculator's function when it goes.
TEST_F(CopyDelete, DeleteRefusesG1G7AndRA4AndSaysWhenTheCalculatorsFunctionGoes) {
    for (const char* name : {"G1", "g7", "RA4"}) {
        const Outcome r = run({"delete", name});
        EXPECT_EQ(r.status, kTkcalcBadInput) << name;
        EXPECT_NE(r.err.find("Стандартные функции G1, G7 и RA4 удалению не подлежат"), std::string::npos);
    }
    SettingsRecord s;
    s.setDragFuncName(utf8ToCp1251("Лапуа"));
    s.dragFuncNumber = 11;
    ASSERT_TRUE(saveSettingsFile(dir / kSettingsFileName, s));
    Outcome r = run({"delete", "Лапуа#11"});
    EXPECT_EQ(r.status, kTkcalcOk) << r.err;
    EXPECT_EQ(r.out, "Удалено: «Лапуа» (номер 11)\n");
    EXPECT_NE(r.err.find("возьмёт вместо неё G1"), std::string::npos);
    EXPECT_TRUE(storedNames().empty());
    r = run({"delete", "Лапуа"});
    EXPECT_EQ(r.status, kTkcalcBadInput);
    // The other standard functions go from memory only: they are never stored.
    r = run({"delete", "G2"});
    EXPECT_EQ(r.status, kTkcalcOk);
    EXPECT_NE(r.err.find("появится снова"), std::string::npos);
}

}  // namespace

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "DataFolder.h"
#include "FileIO.h"
#include "TkcalcRun.h"
#include "Utf8Path.h"

namespace fs = std::filesystem;

// Folder and file names with Cyrillic letters, as Russian users name them: made from the programs'
// UTF-8 text, written, replaced and read, and named in messages as they were typed (on Windows a
// narrow path would have gone through the ANSI code page).
TEST(WidePath, CyrillicFolderAndFileNames) {
    const std::string folderText = (fs::temp_directory_path() / "trajekton-wide").string() + "/Данные стрелка №1";
    const fs::path folder = utf8Path(folderText);
    EXPECT_EQ(folder.string(), folderText);
    EXPECT_EQ(utf8Path("Ёж ё.snr").filename().string(), "Ёж ё.snr");
    EXPECT_EQ(utf8Path("функция.SNR").extension().string(), ".SNR");
    EXPECT_TRUE(utf8Path("").empty());
    // Bytes that are not UTF-8 make some path, never an exception.
    EXPECT_FALSE(utf8Path("\xC0\xFF.dat").empty());

    fs::remove_all(folder.parent_path());
    fs::create_directories(folder);
    const fs::path file = folder / utf8Path("библиотека.dat");
    ASSERT_TRUE(writeFileAtomically(file, "первая"));
    ASSERT_TRUE(writeFileAtomically(file, "вторая, длиннее"));  // over the old one
    EXPECT_EQ(readWholeFile(file), "вторая, длиннее");
    size_t entries = 0;
    for ([[maybe_unused]] const auto& e : fs::directory_iterator(folder)) ++entries;
    EXPECT_EQ(entries, 1u) << "a temporary file was left behind";
    EXPECT_TRUE(DataFolder::writable(folder));

    // tkcalc: the folder and the file as typed, in its messages as typed.
    const std::string snrText = folderText + "/Функция Г1.snr";
    const Outcome exported = tkcalc({"export", "--data-dir", folderText, "G1", snrText});
    ASSERT_EQ(exported.status, 0) << exported.err;
    EXPECT_NE(exported.out.find("Функция Г1.snr"), std::string::npos) << exported.out;
    EXPECT_TRUE(fs::is_regular_file(utf8Path(snrText)));
    const Outcome imported = tkcalc({"import", "--data-dir=" + folderText, "--overwrite", snrText});
    EXPECT_EQ(imported.status, 0) << imported.err;
    EXPECT_TRUE(fs::is_regular_file(folder / kLibraryFileName));  // the import saved the library there
    const Outcome missing = tkcalc({"--data-dir", folderText + "/Нет такой"});
    EXPECT_NE(missing.err.find("Нет такой"), std::string::npos) << missing.err;
    fs::remove_all(folder.parent_path());
}

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "DataPaths.h"
#include "UserFolders.h"

namespace fs = std::filesystem;

#if !defined(_WIN32)
// The handheld program keeps its own folder beside the desktop's, never the desktop's itself: both
// write a "settings.dat" of other lengths, each would overwrite the other's.
TEST(DataPaths, HandheldFolderIsBesideTheDesktopsAndNeverTheSame) {
    {
        ScopedEnv xdg("XDG_DATA_HOME", "/srv/u/data");
        EXPECT_EQ(handheldDataFolder(), fs::path("/srv/u/data/Trajekton-mobile"));
        EXPECT_EQ(userDataFolder(), fs::path("/srv/u/data/Trajekton"));
    }
    {
        // A relative XDG_DATA_HOME is not to be used: the home's default stands.
        ScopedEnv xdg("XDG_DATA_HOME", "relative/data");
        ScopedEnv home("HOME", "/home/shooter");
        EXPECT_EQ(handheldDataFolder(), fs::path("/home/shooter/.local/share/Trajekton-mobile"));
    }
    {
        ScopedEnv xdg("XDG_DATA_HOME", nullptr);
        ScopedEnv home("HOME", nullptr);
        EXPECT_TRUE(handheldDataFolder().empty());
    }
}
#else
// On Windows: the user's application-data folder (the one %APPDATA% names) joined with the program's
// name, and the program folder from the module's own path.
TEST(DataPaths, ApplicationDataAndModuleFolders) {
    const wchar_t* appData = _wgetenv(L"APPDATA");
    ASSERT_TRUE(appData && *appData);
    EXPECT_EQ(userDataFolder(), fs::path(appData) / "Trajekton");
    EXPECT_EQ(handheldDataFolder(), fs::path(appData) / "Trajekton-mobile");
    EXPECT_TRUE(fs::is_regular_file(programFolder() / "tk_tests.exe")) << programFolder().string();
}
#endif

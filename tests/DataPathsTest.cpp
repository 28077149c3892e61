#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "DataPaths.h"

namespace fs = std::filesystem;

namespace {

// Sets an environment variable for one test and puts the old value back afterwards.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        if (value) ::setenv(name, value, 1);
        else ::unsetenv(name);
    }
    ~ScopedEnv() {
        if (old_) ::setenv(name_, old_->c_str(), 1);
        else ::unsetenv(name_);
    }

private:
    const char* name_;
    std::optional<std::string> old_;
};

}  // namespace

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

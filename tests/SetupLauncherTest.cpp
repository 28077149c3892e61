#include <gtest/gtest.h>

#include <fstream>
#include <random>

#include "DesktopCommand.h"
#include "FakeAppRegistry.h"
#include "FakeProcessStarter.h"
#include "HeadlessBackend.h"
#include "SetupLauncher.h"

namespace fs = std::filesystem;

namespace {

class SetupLauncherTest : public ::testing::Test {
protected:
    void SetUp() override {
        root = fs::temp_directory_path() / ("tksetup-" + std::to_string(std::random_device{}()));
        // A setup folder whose name a shell or a quoting launcher would get wrong.
        setupFolder = root / "setup \"folder\" 'one'";
        fs::create_directories(setupFolder);
        std::ofstream(setupFolder / "tkmobile.deb") << "!<arch>\n";
        registry.registered[kDebianPackageType] = {{"gdebi.desktop", "Установщик пакетов GDebi", {"gdebi-gtk", "%f"},
                                                    "gnome-mime-application-x-deb",
                                                    "/usr/share/applications/gdebi.desktop", {"System"}}};
    }
    void TearDown() override { fs::remove_all(root); }

    SetupOutcome run(std::vector<std::string> arguments, fs::path launcherFolder = {}) {
        SetupLauncher launcher(registry, starter);
        return launcher.run(arguments, launcherFolder);
    }

    fs::path root, setupFolder;
    sys::FakeAppRegistry registry;
    sys::FakeProcessStarter starter;
};

// The one box the launcher always had: the machine has no installer, so nothing else can help.
TEST_F(SetupLauncherTest, WithoutAnInstallerTheBoxSaysSoWithTheErrorIconAndNoOwner) {
    registry.registered.clear();
    const SetupOutcome outcome = run({setupFolder.string()});
    EXPECT_EQ(outcome.end, SetupEnd::NoInstaller);
    EXPECT_NE(outcome.exitCode(), 0);
    EXPECT_TRUE(starter.starts.empty());
    EXPECT_EQ(registry.asked, std::vector<std::string>{"application/vnd.debian.binary-package"});

    ui::HeadlessBackend screen;
    SetupLauncher::report(outcome);
    ASSERT_EQ(screen.messages.size(), 1u);
    EXPECT_EQ(screen.messages[0].caption, "Установка Баллистического калькулятора");
    EXPECT_EQ(screen.messages[0].icon, ui::Icon::Error);
    EXPECT_EQ(screen.messages[0].buttons, ui::Buttons::Ok);
    EXPECT_FALSE(screen.messages[0].owned);
    EXPECT_NE(screen.messages[0].text.find("программу установки пакетов Debian"), std::string::npos);
    EXPECT_EQ(screen.messages[0].text.find("ActiveSync"), std::string::npos);
}

// An archive manager chosen to open packages would only show what is inside: the installer registered
// after it opens; with archive managers alone there is no installer.
TEST_F(SetupLauncherTest, AnArchiveManagerIsNoInstaller) {
    const sys::RegisteredApp archiver{"org.gnome.FileRoller.desktop", "Менеджер архивов", {"file-roller", "%U"}, "", "",
                                      {"GTK", "GNOME", "Utility", "Archiving", "Compression"}};
    std::vector<sys::RegisteredApp>& apps = registry.registered[kDebianPackageType];
    apps.insert(apps.begin(), archiver);
    EXPECT_EQ(run({setupFolder.string()}).end, SetupEnd::Started);
    ASSERT_EQ(starter.starts.size(), 1u);
    EXPECT_EQ(starter.starts[0].at(0), "gdebi-gtk");

    apps = {archiver};
    EXPECT_EQ(run({setupFolder.string()}).end, SetupEnd::NoInstaller);
    EXPECT_EQ(starter.starts.size(), 1u);
}

// The installer gets the package's full path as one argument, exactly: no quotes put around it,
// the spaces and quotes of the folder's name kept.
TEST_F(SetupLauncherTest, TheInstallerGetsThePackageInTheGivenFolderAsOneExactPath) {
    const SetupOutcome outcome = run({setupFolder.string()}, root / "elsewhere");
    EXPECT_EQ(outcome.end, SetupEnd::Started);
    EXPECT_EQ(outcome.exitCode(), 0);
    EXPECT_EQ(outcome.message, "");
    ASSERT_EQ(starter.starts.size(), 1u);
    EXPECT_EQ(starter.starts[0], (std::vector<std::string>{"gdebi-gtk", setupFolder.string() + "/tkmobile.deb"}));

    ui::HeadlessBackend screen;
    SetupLauncher::report(outcome);
    EXPECT_TRUE(screen.messages.empty());
}

// Started from a menu or a file manager the current folder is anybody's: without an argument the
// package is the one beside the launcher.
TEST_F(SetupLauncherTest, WithoutAnArgumentThePackageBesideTheLauncherIsTaken) {
    const fs::path before = fs::current_path();
    fs::current_path(root);
    const SetupOutcome outcome = run({}, setupFolder);
    fs::current_path(before);
    EXPECT_EQ(outcome.end, SetupEnd::Started);
    ASSERT_EQ(starter.starts.size(), 1u);
    EXPECT_EQ(starter.starts[0].at(1), (setupFolder / "tkmobile.deb").string());

    starter.starts.clear();
    EXPECT_EQ(run({}, {}).end, SetupEnd::NoLauncherFolder);
    EXPECT_TRUE(starter.starts.empty());
}

// A relative folder is taken from where the user typed it, and the installer still gets a full path.
TEST_F(SetupLauncherTest, ARelativeFolderBecomesAFullPath) {
    const fs::path before = fs::current_path();
    fs::current_path(root);
    const SetupOutcome outcome = run({"./" + setupFolder.filename().string() + "/"});
    fs::current_path(before);
    EXPECT_EQ(outcome.end, SetupEnd::Started);
    ASSERT_EQ(starter.starts.size(), 1u);
    EXPECT_EQ(starter.starts[0].at(1), (setupFolder / "tkmobile.deb").string());
}

// Each wrong start is said, in its own words, naming what is wrong; nothing is started and the exit
// code tells a script so.
TEST_F(SetupLauncherTest, AWrongFolderAMissingPackageOrAFailedStartIsSaidAndFails) {
    struct Case {
        std::vector<std::string> arguments;
        SetupEnd end;
        std::string said;
    };
    fs::create_directories(root / "empty");
    fs::create_directories(root / "odd" / "tkmobile.deb");  // a folder of that name is no package
    const std::vector<Case> cases = {
        {{(root / "missing").string()}, SetupEnd::NotAFolder, "«" + (root / "missing").string() + "» не найдена"},
        {{(setupFolder / "tkmobile.deb").string()}, SetupEnd::NotAFolder, "tkmobile.deb» — не папка"},
        {{""}, SetupEnd::NotAFolder, "не найдена"},
        {{(root / "empty").string()}, SetupEnd::NoPackage, "«" + (root / "empty").string() + "» нет пакета «tkmobile.deb»"},
        {{(root / "odd").string()}, SetupEnd::NoPackage, "нет пакета «tkmobile.deb»"},
        {{setupFolder.string(), "more"}, SetupEnd::TooManyArguments, "одну папку"},
    };
    for (const Case& c : cases) {
        const SetupOutcome outcome = run(c.arguments, setupFolder);
        EXPECT_EQ(outcome.end, c.end) << c.said;
        EXPECT_NE(outcome.exitCode(), 0) << c.said;
        EXPECT_NE(outcome.message.find(c.said), std::string::npos) << outcome.message;
    }
    EXPECT_TRUE(starter.starts.empty());

    starter.failure = "программа (или её интерпретатор) не найдена";
    const SetupOutcome failed = run({setupFolder.string()});
    EXPECT_EQ(failed.end, SetupEnd::StartFailed);
    EXPECT_NE(failed.exitCode(), 0);
    EXPECT_NE(failed.message.find("Не удалось запустить программу установки «Установщик пакетов GDebi»"),
              std::string::npos);
    EXPECT_NE(failed.message.find(starter.failure), std::string::npos);
    EXPECT_NE(failed.message.find((setupFolder / "tkmobile.deb").string()), std::string::npos);

    ui::HeadlessBackend screen;
    SetupLauncher::report(failed);
    ASSERT_EQ(screen.messages.size(), 1u);
    EXPECT_EQ(screen.messages[0].text, failed.message);
    EXPECT_EQ(screen.messages[0].icon, ui::Icon::Error);
    EXPECT_EQ(screen.messages[0].caption, "Установка Баллистического калькулятора");
}

// Installers are started as their desktop entries say, with the package where the entry's field
// code asks for it: GNOME Software wants a URI, GDebi a path, some an option around it.
TEST(DesktopCommandTest, FieldCodesTakeThePackageTheWayTheEntryAsks) {
    const fs::path deb = "/media/stick/my setup/tkmobile.deb";
    sys::RegisteredApp app{"x.desktop", "Центр приложений", {}, "installer-icon", "/apps/x.desktop", {}};
    auto filled = [&](std::vector<std::string> command) {
        app.command = std::move(command);
        return sys::commandOnFile(app, deb);
    };
    using Args = std::vector<std::string>;
    EXPECT_EQ(filled({"gnome-software", "%U"}),
              (Args{"gnome-software", "file:///media/stick/my%20setup/tkmobile.deb"}));
    EXPECT_EQ(filled({"tool", "--local-filename=%f", "%i", "%c", "%k", "100%%"}),
              (Args{"tool", "--local-filename=" + deb.string(), "--icon", "installer-icon", "Центр приложений",
                    "/apps/x.desktop", "100%"}));
    // The deprecated codes leave nothing; a command line without a file code gets the package last.
    EXPECT_EQ(filled({"installer", "%d", "%m"}), (Args{"installer", deb.string()}));
    EXPECT_EQ(sys::fileUri("/a/б#?%.deb"), "file:///a/%D0%B1%23%3F%25.deb");
}

}  // namespace

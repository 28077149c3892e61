#pragma once
#include <filesystem>
#include <string>
#include <vector>

#include "AppRegistry.h"
#include "ProcessStarter.h"

// How a run of tksetup ended.
enum class SetupEnd {
    Started,          // the installer runs on the package
    NoInstaller,      // no application is registered for Debian packages
    TooManyArguments,
    NoLauncherFolder,  // no argument, and the launcher's own folder is not known
    NotAFolder,
    NoPackage,
    StartFailed,
};

struct SetupOutcome {
    SetupEnd end = SetupEnd::Started;
    std::string message;  // what the user is told; empty when started
    int exitCode() const { return end == SetupEnd::Started ? 0 : 1; }
};

inline constexpr const char* kSetupCaption = "Установка Баллистического калькулятора";
inline constexpr const char* kSetupPackageName = "tkmobile.deb";
inline constexpr const char* kDebianPackageType = "application/vnd.debian.binary-package";

// tksetup: hands the package of the field calculator, "tkmobile.deb" in the setup folder, to the
// installer the system has registered for Debian packages, and ends without waiting for it.
class SetupLauncher {
public:
    SetupLauncher(sys::AppRegistry& registry, sys::ProcessStarter& starter) : registry_(registry), starter_(starter) {}

    // `arguments` are the program's (without its name): none, or the setup folder as one path.
    // `launcherFolder` is the folder of the running tksetup, the setup folder when none is given.
    SetupOutcome run(const std::vector<std::string>& arguments, const std::filesystem::path& launcherFolder);

    // Shows what went wrong in a message box with the error icon and no owner window; nothing when
    // the installer was started.
    static void report(const SetupOutcome& outcome);

private:
    sys::AppRegistry& registry_;
    sys::ProcessStarter& starter_;
};

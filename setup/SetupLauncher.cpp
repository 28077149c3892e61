#include "SetupLauncher.h"

#include <algorithm>
#include <optional>
#include <system_error>

#include "Backend.h"
#include "DesktopCommand.h"

namespace fs = std::filesystem;

namespace {

std::string quoted(const fs::path& p) { return "«" + p.string() + "»"; }

SetupOutcome refused(SetupEnd end, std::string message) { return {end, std::move(message)}; }

// Archive managers say they open Debian packages too (a package is an ar archive), but they only show
// what is inside: the installer is the first registered application that is not one of them.
std::optional<sys::RegisteredApp> installerAmong(const std::vector<sys::RegisteredApp>& apps) {
    for (const sys::RegisteredApp& app : apps)
        if (std::find(app.categories.begin(), app.categories.end(), "Archiving") == app.categories.end()) return app;
    return std::nullopt;
}

}  // namespace

SetupOutcome SetupLauncher::run(const std::vector<std::string>& arguments, const fs::path& launcherFolder) {
    const std::optional<sys::RegisteredApp> installer = installerAmong(registry_.applicationsFor(kDebianPackageType));
    if (!installer)
        return refused(SetupEnd::NoInstaller,
                       "Не могу найти программу установки пакетов Debian: в системе не зарегистрирована ни одна. "
                       "Установите её (например, GDebi или GNOME Software) и запустите установку вновь.");

    if (arguments.size() > 1)
        return refused(SetupEnd::TooManyArguments,
                       "Укажите одну папку установки: tksetup ПАПКА. Путь с пробелами заключите в кавычки.");
    fs::path folder;
    if (arguments.empty()) {
        // The launcher's own folder, not the current one: started from a menu or a file manager, the
        // current folder is anybody's.
        if (launcherFolder.empty())
            return refused(SetupEnd::NoLauncherFolder,
                           std::string("Не удалось определить папку программы установки. Укажите папку с пакетом «") +
                               kSetupPackageName + "»: tksetup ПАПКА.");
        folder = launcherFolder;
    } else {
        // A relative folder is the current folder's: the installer is given the full path.
        std::error_code ec;
        folder = fs::absolute(fs::path(arguments.front()), ec);
        if (ec) folder = arguments.front();
    }
    folder = folder.lexically_normal();

    std::error_code ec;
    const fs::file_status status = fs::status(folder, ec);
    if (!fs::exists(status))
        return refused(SetupEnd::NotAFolder,
                       "Папка установки " + quoted(folder) +
                           (status.type() == fs::file_type::not_found ? " не найдена." : " недоступна."));
    if (!fs::is_directory(status))
        return refused(SetupEnd::NotAFolder, quoted(folder) + " — не папка. Укажите папку, в которой лежит пакет «" +
                                                 kSetupPackageName + "».");

    const fs::path package = folder / kSetupPackageName;
    if (!fs::is_regular_file(fs::status(package, ec)))
        return refused(SetupEnd::NoPackage, "В папке установки " + quoted(folder) + " нет пакета «" +
                                                std::string(kSetupPackageName) + "».");

    const sys::StartResult start = starter_.start(sys::commandOnFile(*installer, package));
    if (!start.started)
        return refused(SetupEnd::StartFailed, "Не удалось запустить программу установки «" +
                                                  (installer->name.empty() ? installer->id : installer->name) +
                                                  "» для пакета " + quoted(package) + ": " + start.reason + ".");
    return {};
}

void SetupLauncher::report(const SetupOutcome& outcome) {
    if (outcome.end == SetupEnd::Started) return;
    ui::backend().messageBox(nullptr, outcome.message, kSetupCaption, ui::Buttons::Ok, ui::Icon::Error);
}

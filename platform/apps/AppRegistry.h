#pragma once
#include <string>
#include <vector>

namespace sys {

// An application the system has registered, as its desktop entry describes it.
struct RegisteredApp {
    std::string id;                    // the registry's key for it ("gdebi.desktop")
    std::string name;                  // its name for the user ("GDebi Package Installer")
    std::vector<std::string> command;  // its command line split into arguments, field codes (%f, %U) kept
    std::string icon;                  // for %i
    std::string location;              // the desktop entry's file, for %k
    std::vector<std::string> categories;  // the menu's categories ("System", "PackageManager")
};

// The system's registry of applications by file type: on Linux the desktop entries and the
// mimeapps.list files of the XDG data and configuration folders, read through GIO.
class AppRegistry {
public:
    virtual ~AppRegistry() = default;
    // The applications registered for files of this MIME type, the one the system opens them with
    // (the user's choice) first; none when nothing is registered.
    virtual std::vector<RegisteredApp> applicationsFor(const std::string& mimeType) = 0;
};

}  // namespace sys

#pragma once
#include <optional>
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
};

// The system's registry of applications by file type: on Linux the desktop entries and the
// mimeapps.list files of the XDG data and configuration folders, read through GIO.
class AppRegistry {
public:
    virtual ~AppRegistry() = default;
    // The application the system opens files of this MIME type with (the user's choice first, else
    // any that says it takes them); nothing when none is registered.
    virtual std::optional<RegisteredApp> applicationFor(const std::string& mimeType) = 0;
};

}  // namespace sys

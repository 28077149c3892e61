#include "DesktopCommand.h"

#include <cstdio>

namespace sys {

std::string fileUri(const std::filesystem::path& file) {
    std::string uri = "file://";
    for (const unsigned char c : file.string()) {
        const bool plain = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '/' ||
                           c == '-' || c == '_' || c == '.' || c == '~';
        if (plain) {
            uri += static_cast<char>(c);
        } else {
            char escaped[4];
            std::snprintf(escaped, sizeof escaped, "%%%02X", c);
            uri += escaped;
        }
    }
    return uri;
}

std::vector<std::string> commandOnFile(const RegisteredApp& app, const std::filesystem::path& file) {
    std::vector<std::string> command;
    bool fileGiven = false;
    for (const std::string& argument : app.command) {
        if (argument == "%i") {
            if (!app.icon.empty()) command.insert(command.end(), {"--icon", app.icon});
            continue;
        }
        std::string out;
        for (size_t i = 0; i < argument.size(); ++i) {
            if (argument[i] != '%' || i + 1 == argument.size()) {
                out += argument[i];
                continue;
            }
            const char code = argument[++i];
            switch (code) {
                case 'f': case 'F': out += file.string(); fileGiven = true; break;
                case 'u': case 'U': out += fileUri(file); fileGiven = true; break;
                case 'c': out += app.name; break;
                case 'k': out += app.location; break;
                case '%': out += '%'; break;
                case 'd': case 'D': case 'n': case 'N': case 'v': case 'm': break;
                default: out += '%'; out += code; break;
            }
        }
        // A code that stands for nothing here (a deprecated one, an empty name) leaves no empty
        // argument behind.
        if (out.empty() && !argument.empty()) continue;
        command.push_back(out);
    }
    if (!fileGiven && !command.empty()) command.push_back(file.string());
    return command;
}

}  // namespace sys

#pragma once
#include <filesystem>
#include <string>
#include <vector>

#include "AppRegistry.h"

namespace sys {

// The command that opens `file` in the application: its command line with the desktop entry's field
// codes filled in (%f %F the path, %u %U its file URI, %i the icon, %c the name, %k the entry, %% a
// percent sign; the deprecated ones dropped). A command line without a file code gets the path as
// its last argument: an installer that is not handed the package would open on nothing.
std::vector<std::string> commandOnFile(const RegisteredApp& app, const std::filesystem::path& file);

// "file://" and the path, every byte outside the URI's unreserved ones percent-encoded.
std::string fileUri(const std::filesystem::path& file);

}  // namespace sys

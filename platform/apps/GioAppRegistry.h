#pragma once
#include "AppRegistry.h"

namespace sys {

// The registry as GIO reads it: desktop entries in $XDG_DATA_HOME/applications and
// $XDG_DATA_DIRS/*/applications, the defaults of the mimeapps.list files in the XDG folders.
class GioAppRegistry : public AppRegistry {
public:
    std::vector<RegisteredApp> applicationsFor(const std::string& mimeType) override;
};

}  // namespace sys

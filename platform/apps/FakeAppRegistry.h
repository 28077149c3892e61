#pragma once
#include <map>
#include <vector>

#include "AppRegistry.h"

namespace sys {

// The registry of a test: the applications it registers by MIME type, and the types asked for.
class FakeAppRegistry : public AppRegistry {
public:
    std::map<std::string, std::vector<RegisteredApp>> registered;
    std::vector<std::string> asked;

    std::vector<RegisteredApp> applicationsFor(const std::string& mimeType) override {
        asked.push_back(mimeType);
        const auto it = registered.find(mimeType);
        return it == registered.end() ? std::vector<RegisteredApp>{} : it->second;
    }
};

}  // namespace sys

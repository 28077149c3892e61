#pragma once
#include <map>
#include <vector>

#include "AppRegistry.h"

namespace sys {

// The registry of a test: the applications it registers by MIME type, and the types asked for.
class FakeAppRegistry : public AppRegistry {
public:
    std::map<std::string, RegisteredApp> registered;
    std::vector<std::string> asked;

    std::optional<RegisteredApp> applicationFor(const std::string& mimeType) override {
        asked.push_back(mimeType);
        const auto it = registered.find(mimeType);
        if (it == registered.end()) return std::nullopt;
        return it->second;
    }
};

}  // namespace sys

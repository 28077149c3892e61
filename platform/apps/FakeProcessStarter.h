#pragma once
#include "ProcessStarter.h"

namespace sys {

// The process start of a test: records every command; fails with `failure` when that is not empty.
class FakeProcessStarter : public ProcessStarter {
public:
    std::vector<std::vector<std::string>> starts;
    std::string failure;

    StartResult start(const std::vector<std::string>& command) override {
        starts.push_back(command);
        if (!failure.empty()) return {false, failure};
        return {true, {}};
    }
};

}  // namespace sys

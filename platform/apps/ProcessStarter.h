#pragma once
#include <string>
#include <vector>

namespace sys {

struct StartResult {
    bool started = false;
    std::string reason;  // why not; empty when started
};

// Starts a program and returns at once: the caller never waits for it to end.
class ProcessStarter {
public:
    virtual ~ProcessStarter() = default;
    // command[0] is the program (looked up in PATH when it has no slash); every other element
    // reaches it as one argument, exactly as given.
    virtual StartResult start(const std::vector<std::string>& command) = 0;
};

}  // namespace sys

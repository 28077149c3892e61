#pragma once
#include "ProcessStarter.h"

namespace sys {

// posix_spawnp: a program that cannot be run (missing, not executable, a script whose interpreter is
// not there) is told at once. The program gets a session of its own, so closing the terminal that
// started the caller does not end it.
class PosixProcessStarter : public ProcessStarter {
public:
    StartResult start(const std::vector<std::string>& command) override;
};

}  // namespace sys

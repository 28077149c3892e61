#pragma once
#include <sstream>
#include <string>
#include <vector>

#include "Tkcalc.h"

// tkcalc run in-process: its status and what it wrote on each stream.
struct Outcome {
    int status;
    std::string out, err;
};

inline Outcome tkcalc(const std::vector<std::string>& args, const std::string& input = "") {
    std::ostringstream out, err;
    std::istringstream in(input);
    const int status = runTkcalc(args, out, err, in);
    return {status, out.str(), err.str()};
}

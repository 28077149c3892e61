#include <iostream>
#include <string>
#include <vector>

#include "Tkcalc.h"

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    return runTkcalc(args, std::cout, std::cerr);
}

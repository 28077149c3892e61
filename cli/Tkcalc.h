#pragma once
#include <iostream>
#include <string>
#include <vector>

// Exit statuses of tkcalc.
enum TkcalcStatus : int {
    kTkcalcOk = 0,          // computed and printed
    kTkcalcInternal = 1,    // an unexpected failure inside the program
    kTkcalcBadInput = 2,    // bad command line: a message on stderr, nothing computed or printed
    kTkcalcUnreliable = 3,  // printed, but a solve did not converge or a value is not a number
};

// Runs tkcalc on its arguments (without the program name), printing results to `out` and
// messages to `err`, reading answers to questions from `in`; returns the exit status.
int runTkcalc(const std::vector<std::string>& args, std::ostream& out, std::ostream& err, std::istream& in = std::cin);

// The --help text.
std::string tkcalcHelp();

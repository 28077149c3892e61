#pragma once
#include <filesystem>

// The desktop program: shows the calculator modally and ends when it closes.
class CtkdeskApp {
public:
    // The program folder and the user's data folder; empty: the running executable's folder and the
    // desktop's data folder.
    CtkdeskApp(std::filesystem::path programFolder = {}, std::filesystem::path dataFolder = {});
    int run();

private:
    std::filesystem::path programFolder_;
    std::filesystem::path dataFolder_;
};

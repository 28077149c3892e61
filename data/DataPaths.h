#pragma once
#include <filesystem>

// Where the programs keep their files.

// The folder of the running executable (empty when it cannot be found).
std::filesystem::path programFolder();

// The user's data folder: $XDG_DATA_HOME/Trajekton, else ~/.local/share/Trajekton (on Windows the
// application-data folder joined with Trajekton). Empty when there is no home to put it in.
std::filesystem::path userDataFolder();

// tkmobile's data folder on this computer: $XDG_DATA_HOME/Trajekton-mobile, else
// ~/.local/share/Trajekton-mobile. Its own, never the desktop's: both keep a "settings.dat" of other
// lengths. Empty when there is no home to put it in.
std::filesystem::path handheldDataFolder();

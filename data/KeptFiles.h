#pragma once
#include <filesystem>
#include <vector>

// Files the program found but did not take in whole (unreadable, of the wrong length, cut short,
// values it could not use). Each is copied to "<name>.bak" beside it before the program first
// writes over it, so that what it could not use is not lost.
class KeptFiles {
public:
    // "settings.dat" -> "settings.dat.bak".
    static std::filesystem::path copyPath(const std::filesystem::path& file);

    void keep(const std::filesystem::path& file);
    bool keeps(const std::filesystem::path& file) const;
    // Called before a write over `file`: a kept file still on the disk is copied aside (replacing an
    // older copy), once. False when that copy failed: the file must then not be overwritten.
    bool beforeOverwrite(const std::filesystem::path& file);

private:
    std::vector<std::filesystem::path> pending_;
};

#pragma once
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include "DataPaths.h"

// An environment variable set (or removed, with nullptr) for one test and put back afterwards.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        set(value);
    }
    ~ScopedEnv() { set(old_ ? old_->c_str() : nullptr); }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    void set(const char* value) {
#if defined(_WIN32)
        _putenv_s(name_, value ? value : "");  // an empty value removes it
#else
        if (value) ::setenv(name_, value, 1);
        else ::unsetenv(name_);
#endif
    }
    const char* name_;
    std::optional<std::string> old_;
};

// The user's data folders (Trajekton, Trajekton-mobile) moved into `folder` for one test through
// XDG_DATA_HOME. On Windows they are in the shell's application-data folder, which no variable
// moves: there home() is that folder and nothing changes.
class DataHome {
public:
    explicit DataHome([[maybe_unused]] const std::filesystem::path& folder)
#if defined(_WIN32)
        : home_(userDataFolder().parent_path()) {}
#else
        : home_(folder), xdg_("XDG_DATA_HOME", folder.c_str()) {}
#endif
    const std::filesystem::path& home() const { return home_; }

private:
    std::filesystem::path home_;
#if !defined(_WIN32)
    ScopedEnv xdg_;
#endif
};

#include "PosixProcessStarter.h"

#include <spawn.h>

#include <cerrno>
#include <cstring>

extern char** environ;

namespace sys {

namespace {

std::string reasonOf(int error) {
    switch (error) {
        case ENOENT: return "программа (или её интерпретатор) не найдена";
        case EACCES: return "нет права запускать программу";
        case ENOEXEC: return "файл не является программой";
        case ENOMEM:
        case EAGAIN: return "системе не хватает ресурсов для нового процесса";
        default: return std::strerror(error);
    }
}

}  // namespace

StartResult PosixProcessStarter::start(const std::vector<std::string>& command) {
    if (command.empty() || command.front().empty()) return {false, "команда запуска пуста"};
    std::vector<char*> argv;
    for (const std::string& a : command) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSID);
    pid_t pid = 0;
    const int error = posix_spawnp(&pid, argv[0], nullptr, &attributes, argv.data(), environ);
    posix_spawnattr_destroy(&attributes);
    if (error != 0) return {false, reasonOf(error)};
    return {true, {}};
}

}  // namespace sys

#include "FileIO.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <random>
#include <system_error>

#if defined(_WIN32)
#include <windows.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;

std::optional<std::string> readWholeFile(const fs::path& path, size_t maxBytes) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    in.seekg(0, std::ios::end);
    const std::streamoff size = in.tellg();
    if (size < 0 || static_cast<unsigned long long>(size) > maxBytes) return std::nullopt;
    in.seekg(0, std::ios::beg);
    std::string bytes(static_cast<size_t>(size), '\0');
    if (size > 0 && !in.read(bytes.data(), size)) return std::nullopt;
    return bytes;
}

bool writeFileAtomically(const fs::path& path, std::string_view bytes) {
    std::error_code ec;
    std::random_device rd;
    // The name appended in the path's own characters: the file's name may have letters of any alphabet.
    fs::path temp = path;
    temp += ".tmp" + std::to_string(rd() % 1000000);
#if defined(_WIN32)
    // A new file (never one that is there), written through to the disk, then put in the old one's
    // place in one step.
    const HANDLE h = CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    bool ok = true;
    for (size_t done = 0; ok && done < bytes.size();) {
        const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 30));
        DWORD written = 0;
        ok = WriteFile(h, bytes.data() + done, chunk, &written, nullptr) && written == chunk;
        done += written;
    }
    ok = ok && FlushFileBuffers(h);
    ok = CloseHandle(h) && ok;
    ok = ok && MoveFileExW(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
#else
    FILE* f = std::fopen(temp.c_str(), "wbx");
    if (!f) return false;
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size() && std::fflush(f) == 0;
    ok = ok && ::fsync(fileno(f)) == 0;
    ok = std::fclose(f) == 0 && ok;
    if (ok) {
        fs::rename(temp, path, ec);
        ok = !ec;
    }
#endif
    if (!ok) fs::remove(temp, ec);
    return ok;
}

bool removeFile(const fs::path& path) {
    std::error_code ec;
    fs::remove(path, ec);
    return !fs::exists(path, ec);
}

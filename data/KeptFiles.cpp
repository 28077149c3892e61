#include "KeptFiles.h"

#include <algorithm>
#include <system_error>

namespace fs = std::filesystem;

fs::path KeptFiles::copyPath(const fs::path& file) {
    fs::path copy = file;
    copy += ".bak";
    return copy;
}

void KeptFiles::keep(const fs::path& file) {
    if (!keeps(file)) pending_.push_back(file);
}

bool KeptFiles::keeps(const fs::path& file) const {
    return std::find(pending_.begin(), pending_.end(), file) != pending_.end();
}

bool KeptFiles::beforeOverwrite(const fs::path& file) {
    const auto it = std::find(pending_.begin(), pending_.end(), file);
    if (it == pending_.end()) return true;
    std::error_code ec;
    if (fs::exists(file, ec)) {
        fs::copy_file(file, copyPath(file), fs::copy_options::overwrite_existing, ec);
        if (ec) return false;
    }
    pending_.erase(it);
    return true;
}

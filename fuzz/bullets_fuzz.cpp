// The bullet files: any bytes read without a crash by every reader, and what a reader gives writes
// back to bytes that read the same.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "BulletFiles.h"

using namespace BulletFiles;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    for (const ParsedDatabase& read : {ParseDatabase(bytes), ParseLegacyDatabase(bytes)}) {
        if (read.bullets.GetSize() > size / kDatabaseRecordSize) std::abort();
        const std::string written = DatabaseToBytes(read.bullets);
        const ParsedDatabase again = ParseDatabase(written);
        if (!again.complete || again.bullets.GetSize() != read.bullets.GetSize()) std::abort();
        if (DatabaseToBytes(again.bullets) != written) std::abort();
    }

    for (const std::optional<CBulletDimensions>& read : {ParseCurrent(bytes), ParseLegacyCurrent(bytes)}) {
        if (read.has_value() != (size == kCurrentFileSize)) std::abort();
        if (!read) continue;
        const std::string written = CurrentToBytes(*read);
        const std::optional<CBulletDimensions> again = ParseCurrent(written);
        if (written.size() != kCurrentFileSize || !again || CurrentToBytes(*again) != written) std::abort();
    }
    return 0;
}

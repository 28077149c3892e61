// Feeds arbitrary bytes to every settings record. A record takes only bytes of its exact size;
// what it takes must write back to bytes that read into the very same record (compared bit for
// bit, so NaNs count as equal to themselves).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "SettingsRecord.h"

namespace {
template <class R>
void check(std::string_view bytes) {
    R r;
    const std::string before = r.toBytes();
    if (!r.fromBytes(bytes)) {
        if (r.toBytes() != before) std::abort();  // a refused file changes nothing
        return;
    }
    const std::string once = r.toBytes();
    R again;
    if (once.size() != R::kSize || !again.fromBytes(once)) std::abort();
    if (std::memcmp(&again, &r, sizeof(R)) != 0 || again.toBytes() != once) std::abort();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    check<SettingsRecord>(bytes);
    check<TableSettingsRecord>(bytes);
    check<FolderSettingRecord>(bytes);
    check<HandheldSettingsRecord>(bytes);

    // The conversions between the desktop and handheld records take any values.
    SettingsRecord desktop;
    HandheldSettingsRecord handheld;
    if (desktop.fromBytes(bytes)) copySharedSettings(desktop, handheld);
    if (handheld.fromBytes(bytes)) copySharedSettings(handheld, desktop);
    return 0;
}

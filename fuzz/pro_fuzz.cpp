// ".pro" and single-record ".dat" files: any bytes read without a crash; a record that reads whole
// writes back to bytes that read the same.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "ByteWriter.h"
#include "ExchangeFiles.h"
#include "LibraryRecord.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    if (const auto old = parsePro(bytes)) {
        if (old->points.size() > size / 16) std::abort();
        ByteWriter out;
        writeLibraryRecordV2(out, *old);
        const auto again = parsePro(out.data());
        if (!again) std::abort();
        ByteWriter twice;
        writeLibraryRecordV2(twice, *again);
        if (twice.data() != out.data()) std::abort();
    }
    if (const auto f = parseSingleRecord(bytes)) {
        const std::string written = formatSingleRecord(*f);
        const auto again = parseSingleRecord(written);
        if (!again || formatSingleRecord(*again) != written) std::abort();
    }
    return 0;
}

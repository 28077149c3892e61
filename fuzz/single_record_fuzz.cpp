// Any bytes as a single-record file: a ".dat" export (one LibraryRecordV3) and a ".pro" file (one
// LibraryRecordV2). Read without a crash; a record that reads writes back to bytes that read the same.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

#include "DragLibrary.h"
#include "LibraryFuzzCheck.h"
#include "LibraryRecord.h"

using fuzzcheck::check;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    if (const std::optional<DragFunc> f = DragLibrary::readSingleRecord(bytes)) {
        const std::optional<DragFunc> back = DragLibrary::readSingleRecord(DragLibrary::singleRecordBytes(*f));
        check(back && fuzzcheck::same(*f, *back));
    }
    if (const std::optional<DragFuncOld> old = DragLibrary::readSingleOldRecord(bytes)) {
        ByteWriter out;
        writeLibraryRecordV2(out, *old);
        const std::optional<DragFuncOld> back = DragLibrary::readSingleOldRecord(out.data());
        check(back && fuzzcheck::same(*old, *back));
        // Imported as a current record, it keeps every field the old one has.
        DragFunc f;
        f.copyFromOld(*old);
        const std::optional<DragFunc> asNew = DragLibrary::readSingleRecord(DragLibrary::singleRecordBytes(f));
        check(asNew && fuzzcheck::same(f, *asNew));
    }
    return 0;
}

// The drag function records of the library files: any bytes read without a crash, and a record that
// reads whole writes back to bytes that read the same.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "LibraryRecord.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    {
        ByteReader in(bytes);
        DragFunc f;
        if (readLibraryRecordV3(in, f)) {
            ByteWriter out;
            writeLibraryRecordV3(out, f);
            ByteReader again(out.data());
            DragFunc g;
            if (!readLibraryRecordV3(again, g) || g.points.size() != f.points.size()) std::abort();
        }
    }
    {
        ByteReader in(bytes);
        DragFuncOld f;
        readLibraryRecordV2(in, f);
    }
    return 0;
}

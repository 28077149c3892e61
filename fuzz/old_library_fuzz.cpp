// Any bytes as the old library file "bc_cdm2.dat": read without a crash; the migrated functions carry
// no bullet length, diameter or weight, and save as the new library to bytes that read back the same.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "DragLibrary.h"
#include "LibraryFuzzCheck.h"

using fuzzcheck::check;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    DragLibrary library;
    library.addOldLibraryBytes(bytes);
    check(library.size() >= 10);
    std::vector<const DragFunc*> stored;
    for (size_t i = 10; i < library.size(); ++i) {
        const DragFunc& f = library.at(i);
        check(f.bulletLength == 0 && f.bulletDiameter == 0 && f.bulletWeight == 0);
        if (f.kind != DragFuncKind::Standard) stored.push_back(&f);
    }

    DragLibrary again;
    check(again.addLibraryBytes(library.libraryBytes()) == LibraryRead::Complete);
    check(again.size() == 10 + stored.size());
    for (size_t i = 0; i < stored.size(); ++i) check(fuzzcheck::same(*stored[i], again.at(10 + i)));
    return 0;
}

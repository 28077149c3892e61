// Any bytes as the library file "bc_cdm3.dat": read without a crash, and what was read saves to bytes
// that read back as the same entries (standard entries are never saved).
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "DragLibrary.h"
#include "LibraryFuzzCheck.h"

using fuzzcheck::check;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    DragLibrary library;
    library.addLibraryBytes(bytes);
    check(library.size() >= 10);

    const std::string saved = library.libraryBytes();
    DragLibrary again;
    check(again.addLibraryBytes(saved) == LibraryRead::Complete);
    std::vector<const DragFunc*> stored;
    for (const DragFunc& f : library)
        if (f.kind != DragFuncKind::Standard) stored.push_back(&f);
    check(again.size() == 10 + stored.size());
    for (size_t i = 0; i < stored.size(); ++i) check(fuzzcheck::same(*stored[i], again.at(10 + i)));
    check(again.libraryBytes() == saved);

    // The lookups on whatever names and numbers the file brought.
    const int32_t next = library.nextUniqueNumber();
    check(next > 10);
    for (const DragFunc& f : library) check(f.uniqueNumber != next);
    if (library.size() > 10) {
        const DragFunc last = library.at(library.size() - 1);
        const std::string_view name(last.name, strnlen(last.name, sizeof last.name));
        const DragFunc found = library.findByNameAndNumber(name, last.uniqueNumber);
        check(found.uniqueNumber == last.uniqueNumber && std::string_view(found.name, strnlen(found.name, sizeof found.name)) == name);
        const int32_t number = library.findNumberByNameIgnoringCase(name);
        bool named = false;
        for (const DragFunc& f : library)
            named = named || (f.uniqueNumber == number && equalIgnoringCaseCp1251(std::string_view(f.name, strnlen(f.name, sizeof f.name)), name));
        check(named);
        check(library.replaceByNameAndNumber(name, last.uniqueNumber, last) >= 1);
        const bool standardName = equalIgnoringCaseCp1251(name, "G1") || equalIgnoringCaseCp1251(name, "G7") ||
                                  equalIgnoringCaseCp1251(name, "RA4");
        check(library.deleteByNameAndNumber(name, last.uniqueNumber) ==
              (standardName ? DeleteResult::Refused : DeleteResult::Deleted));
    }
    return 0;
}

// ".pro" files: any bytes read without a crash; a record that reads is taken into a library (the
// standard set) with the overwrite question answered by the input's first byte, and the library
// keeps its rules: at most one entry more, numbers unique, the new entry never Standard.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <set>
#include <string_view>

#include "DragLibrary.h"
#include "ExchangeFiles.h"
#include "ExchangeImportExport.h"

namespace {
struct Answer : ExchangeReporter {
    bool yes = false;
    int asked = 0;
    void show(std::string_view) override {}
    bool askYesNo(std::string_view) override {
        ++asked;
        return yes;
    }
};
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    Answer answer;
    answer.yes = (data[0] & 1) != 0;
    const std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);

    const std::optional<DragFuncOld> old = parsePro(bytes);
    if (!old) return 0;
    if (old->points.size() > bytes.size() / 16) std::abort();

    DragLibrary library;
    const size_t before = library.size();
    addProFunction(library, *old, answer);
    const bool replaced = answer.asked == 1 && answer.yes;
    if (answer.asked > 1 || library.size() != before + (replaced ? 0 : 1)) std::abort();

    std::set<int32_t> numbers;
    bool found = false;
    for (const DragFunc& f : library) {
        if (!numbers.insert(f.uniqueNumber).second) std::abort();
        if (strnlen(f.name, sizeof f.name) >= sizeof f.name) std::abort();
        if (f.uniqueNumber == 11) {
            found = true;
            if (f.kind == DragFuncKind::Standard || f.points.size() != old->points.size()) std::abort();
        }
    }
    if (!found) std::abort();
    return 0;
}

#include "LibraryRules.h"

#include <algorithm>

#include "TextCodec.h"

namespace {
constexpr size_t kNameBytes = sizeof DragFunc{}.name - 1;  // 49, the terminator aside
}  // namespace

std::string nameWithSuffix(std::string_view name, std::string_view suffix) {
    name = name.substr(0, std::min(name.size(), name.find('\0')));
    const size_t room = suffix.size() < kNameBytes ? kNameBytes - suffix.size() : 0;
    std::string out(name.substr(0, std::min(name.size(), room)));
    out += suffix.substr(0, kNameBytes - out.size());
    return out;
}

bool hasEntry(const DragLibrary& library, std::string_view name, int32_t number) {
    for (const DragFunc& f : library)
        if (f.nameText() == name && f.uniqueNumber == number) return true;
    return false;
}

DragFunc addCopy(DragLibrary& library, const DragFunc& source) {
    DragFunc copy = source;
    copy.setName(nameWithSuffix(source.nameText(), "_copy"));
    if (source.kind == DragFuncKind::Standard) copy.kind = DragFuncKind::StandardCopy;
    copy.uniqueNumber = library.nextUniqueNumber();
    library.add(copy);
    return copy;
}

std::string deleteQuestion(std::string_view cp1251Name) {
    return "Действительно удалить\nвыбранную функцию\n" + cp1251ToUtf8(cp1251Name) + " ?";
}

DragFunc newDragFunction() {
    DragFunc f;
    for (const double mach : {0.5, 0.9, 1.0, 1.1, 1.34, 1.79, 2.23, 2.68}) f.points.push_back(DragElement{mach, 0.0});
    return f;
}

DragFunc addCreated(DragLibrary& library, DragFunc f) {
    f.kind = DragFuncKind::Special;
    f.uniqueNumber = library.nextUniqueNumber();
    library.add(f);
    return f;
}

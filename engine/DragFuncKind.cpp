#include "DragFuncKind.h"

const char* dragFuncKindText(DragFuncKind kind) {
    switch (kind) {
    case DragFuncKind::Standard: return "стандарт";
    case DragFuncKind::StandardCopy: return "копия стандартной";
    case DragFuncKind::Special: return "специальная";
    }
    return "";
}

const char* dragFuncKindName(DragFuncKind kind) {
    switch (kind) {
    case DragFuncKind::Standard: return "Standard";
    case DragFuncKind::StandardCopy: return "StandardCopy";
    case DragFuncKind::Special: return "Special";
    }
    return "Unknown";
}

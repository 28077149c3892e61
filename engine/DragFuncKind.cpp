#include "DragFuncKind.h"

const char* dragFuncKindText(DragFuncKind kind) {
    switch (kind) {
    case DragFuncKind::Standard: return "стандарт";
    case DragFuncKind::StandardCopy: return "копия стандартной";
    case DragFuncKind::Special: return "специальная";
    }
    return "";
}

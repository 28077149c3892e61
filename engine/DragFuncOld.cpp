#include "DragFuncOld.h"

#include <cstring>

DragFuncOld::DragFuncOld() {
    static const char kNewName[] = "\xCD\xEE\xE2\xE0\xFF \xF4\xF3\xED\xEA\xF6\xE8\xFF";  // "Новая функция"
    std::memcpy(name, kNewName, sizeof kNewName);
}

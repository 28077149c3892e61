#pragma once
#include <cstdint>

enum class DragFuncKind : int32_t {
    Standard = 0,      // "стандарт"
    StandardCopy = 1,  // "копия стандартной"
    Special = 2,       // "специальная": the engine uses its sectional density as the BC
};

// The kind as the program shows it, UTF-8.
const char* dragFuncKindText(DragFuncKind kind);
// The kind's name in exchange texts: "Standard", "StandardCopy", "Special" ("Unknown" for a value a
// file brought that is none of them).
const char* dragFuncKindName(DragFuncKind kind);

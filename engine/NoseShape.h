#pragma once
#include <cstdint>

// The nose form of a bullet. Stored in files as an int32; any other value a file holds is kept as it
// is, so users of the value must not assume one of the three.
enum class NoseShape : int32_t {
    Tangent = 0,  // tangent ogive
    Secant = 1,   // secant ogive, with its radius in calibres
    Conical = 2,  // cone
};

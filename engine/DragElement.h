#pragma once

// One point of a drag table: Mach number, then drag coefficient (16 bytes, no other field).
struct DragElement {
    double mach = 0.0;
    double cd = 0.0;
};
static_assert(sizeof(DragElement) == 16);

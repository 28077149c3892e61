#pragma once
#include <span>

#include "DragElement.h"

enum class StandardTableId { G1, G7, G2, G5, G6, G8, GI, GL, GS, RA4 };

// The published standard drag table of that name, ascending in Mach from Mach 0.
std::span<const DragElement> standardDragTable(StandardTableId id);

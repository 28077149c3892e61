#pragma once
#include <cstddef>
#include <string>
#include <string_view>

#include "ByteReader.h"
#include "ByteWriter.h"
#include "DragFunc.h"
#include "DragFuncOld.h"

// The program's own conversion between its CP1251 texts and the UTF-16 units of its files:
// 0xC0-0xFF <-> U+0410-U+044F, 0xA8 <-> U+0401 (Ё), 0xB8 <-> U+0451 (ё), 0xB9 <-> U+2116 (№), every
// other byte <-> the unit of the same value (back: the unit's low byte).
char16_t toUtf16Cyrillic(char byte);
char fromUtf16Cyrillic(char16_t unit);
std::u16string toUtf16Cyrillic(std::string_view cp1251);
std::string fromUtf16Cyrillic(std::u16string_view units);

// One drag function on disk, as the library file "bc_cdm3.dat" and the single-record ".dat" files
// keep it (LibraryRecordV3), and the older record of "bc_cdm2.dat" and ".pro" files
// (LibraryRecordV2, without bullet length, diameter and weight). Little-endian, no padding; names
// as UTF-16 in fields of 50 and 256 units; each point as Cd, then Mach.
constexpr size_t kLibraryRecordV3FixedSize = 673;  // up to and including the point count
constexpr size_t kLibraryRecordV2FixedSize = 649;

void writeLibraryRecordV3(ByteWriter& out, const DragFunc& f);
void writeLibraryRecordV2(ByteWriter& out, const DragFuncOld& f);

// Read one record. False when the bytes end before the record does; `f` then holds what could be
// read (its points so far). Never allocates more points than the remaining bytes can hold.
bool readLibraryRecordV3(ByteReader& in, DragFunc& f);
bool readLibraryRecordV2(ByteReader& in, DragFuncOld& f);

#pragma once
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "DragFunc.h"
#include "DragFuncOld.h"

// The drag function exchange files, as bytes in memory:
//  ".snr"  the program's own text file (UTF-8, CR LF): a header line of ten comma-separated fields,
//          the description line, then one "cd<TAB>mach" line per point;
//  ".drg"  drag files of the bullet maker Lapua (read only): a header line with name, mass,
//          diameter and length in SI units, then one "cd<TAB>mach" line per point;
//  ".pro"  one older binary library record (read only);
//  ".dat"  one current binary library record ("drag_function.dat" and user-named exports), read
//          and written by DragLibrary.
// The readers take any bytes: they never read past the end, handle lines of any length and never
// allocate more than a small multiple of the input's size.

// The header line cut into its fields: the text between commas, each trimmed of blanks, tabs, CR
// and LF. A line without commas is one field; at most kMaxHeaderFields are returned (the rest of
// the line is ignored). The views point into `line`.
constexpr size_t kMaxHeaderFields = 99;
std::vector<std::string_view> splitHeaderFields(std::string_view line);

// A number read the lenient way of the exchange files: leading white space skipped, then the
// longest prefix of the form [+-]digits[.digits][(e|E)[+-]digits] (a point is always the decimal
// separator, whatever the locale); text that does not start with a number gives 0, and so does a
// number too large for a double.
double readLenientNumber(std::string_view text);

// Text fields of ".snr": the program's CP1251 bytes through toUtf16Cyrillic, encoded as UTF-8;
// back by decoding UTF-8 and fromUtf16Cyrillic, so that every byte comes back as it was. Reading
// stops at a zero character. Characters the program's texts cannot hold read as '?'; bytes that
// are not UTF-8 are taken as CP1251 bytes as they are.
std::string snrTextToUtf8(std::string_view cp1251);
std::string snrTextFromUtf8(std::string_view utf8);

// The ".snr" file of a function: header (name without commas, bullet length in metres "%.5f",
// sectional density, stability factor and diameter "%.3f", weight "%.1f"), description, points
// "%.3f\t%.3f" Cd first, each line ending in CR LF. Line breaks inside the name or the description
// are written as blanks so that they cannot break the file's lines.
std::string formatSnr(const DragFunc& f);

// A ".snr" file read into a function of kind Special, number 0 and twist 0. Lines end at LF (a CR
// before it is dropped); a point line without a tab is skipped. A name longer than 49 bytes or a
// description longer than 255 bytes in CP1251 is cut (a cut name is trimmed again at its end).
DragFunc parseSnr(std::string_view bytes);

// A Lapua ".drg" file read into a function of kind Special, number 0: the first line is the
// description (as it is) and, cut into fields, gives the name (field 2, bytes as they are), the
// sectional density from mass (kg, field 3) and diameter (m, field 4) with 15.4 grains per gram and
// 7000 grains per pound, rounded to 4 decimals (0 when the diameter is 0), and the bullet length
// (m, field 5) in inches rounded to 2 decimals. Every further non-blank line is a point; a line
// without a tab is a point with Cd 0 and the line's value as Mach.
DragFunc parseDrg(std::string_view bytes);

// Constants of the ".drg" sectional density.
constexpr double kDrgGrainsPerGram = 15.4;
constexpr double kDrgGrainsPerPound = 7000.0;

// A ".pro" file: one older library record (DragLibrary::readSingleOldRecord). Nothing for an empty
// file or one that ends before its record does; bytes after the record are ignored. The ".dat"
// single-record files are read and written by DragLibrary (readSingleRecord, writeSingleRecord).
std::optional<DragFuncOld> parsePro(std::string_view bytes);

// The largest exchange file the readers take: a drag function file is a few kilobytes.
constexpr size_t kMaxExchangeFileBytes = size_t{8} << 20;

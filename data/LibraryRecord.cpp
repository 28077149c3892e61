#include "LibraryRecord.h"

#include <algorithm>
#include <cstring>

char16_t toUtf16Cyrillic(char byte) {
    const auto b = static_cast<unsigned char>(byte);
    if (b >= 0xC0) return static_cast<char16_t>(b + 0x0350);
    if (b == 0xA8) return u'\u0401';
    if (b == 0xB8) return u'\u0451';
    if (b == 0xB9) return u'\u2116';
    return static_cast<char16_t>(b);
}

char fromUtf16Cyrillic(char16_t unit) {
    if (unit >= 0x0410 && unit <= 0x044F) return static_cast<char>(unit - 0x0350);
    if (unit == 0x0401) return static_cast<char>(0xA8);
    if (unit == 0x0451) return static_cast<char>(0xB8);
    if (unit == 0x2116) return static_cast<char>(0xB9);
    return static_cast<char>(unit & 0xFF);
}

std::u16string toUtf16Cyrillic(std::string_view cp1251) {
    std::u16string out;
    out.reserve(cp1251.size());
    for (char c : cp1251) out.push_back(toUtf16Cyrillic(c));
    return out;
}

std::string fromUtf16Cyrillic(std::u16string_view units) {
    std::string out;
    out.reserve(units.size());
    for (char16_t u : units) out.push_back(fromUtf16Cyrillic(u));
    return out;
}

namespace {
// A zero-terminated CP1251 field as `units` UTF-16 units, zero-filled.
template <size_t N>
void writeText(ByteWriter& out, const char (&field)[N], size_t units) {
    const size_t length = strnlen(field, N);
    for (size_t i = 0; i < units; ++i) out.u16(i < length ? toUtf16Cyrillic(field[i]) : 0);
}

// Reads `units` UTF-16 units into a CP1251 field: up to the first zero unit, or cut to fit and
// terminated.
template <size_t N>
void readText(ByteReader& in, char (&field)[N], size_t units) {
    std::memset(field, 0, N);
    bool ended = false;
    size_t length = 0;
    for (size_t i = 0; i < units; ++i) {
        const char16_t u = in.u16();
        if (u == 0) ended = true;
        if (!ended && length < N - 1) field[length++] = fromUtf16Cyrillic(u);
    }
}

template <class Record>
void writeCommon(ByteWriter& out, const Record& f) {
    writeText(out, f.name, 50);
    writeText(out, f.description, 256);
    out.i32(f.uniqueNumber);
    out.f64(f.sectionalDensity);
    out.f64(f.stabilityFactor);
    out.u8(f.flagByte ? 1 : 0);
    out.f64(f.twist);
    out.i32(static_cast<int32_t>(f.kind));
}

template <class Record>
void readCommon(ByteReader& in, Record& f) {
    readText(in, f.name, 50);
    readText(in, f.description, 256);
    f.uniqueNumber = in.i32();
    f.sectionalDensity = in.f64();
    f.stabilityFactor = in.f64();
    f.flagByte = in.u8() != 0;
    f.twist = in.f64();
    f.kind = static_cast<DragFuncKind>(in.i32());
}

void writePoints(ByteWriter& out, const std::vector<DragElement>& points) {
    out.i32(static_cast<int32_t>(points.size()));
    for (const DragElement& p : points) {
        out.f64(p.cd);
        out.f64(p.mach);
    }
}

bool readPoints(ByteReader& in, std::vector<DragElement>& points) {
    points.clear();
    const int32_t n = in.i32();
    if (!in.ok()) return false;
    if (n <= 0) return true;
    const size_t wanted = static_cast<size_t>(n);
    points.reserve(std::min(wanted, in.remaining() / 16));
    for (size_t i = 0; i < wanted; ++i) {
        DragElement p;
        p.cd = in.f64();
        p.mach = in.f64();
        if (!in.ok()) return false;
        points.push_back(p);
    }
    return true;
}
}  // namespace

void writeLibraryRecordV3(ByteWriter& out, const DragFunc& f) {
    writeCommon(out, f);
    out.f64(f.bulletLength);
    out.f64(f.bulletDiameter);
    out.f64(f.bulletWeight);
    writePoints(out, f.points);
}

void writeLibraryRecordV2(ByteWriter& out, const DragFuncOld& f) {
    writeCommon(out, f);
    writePoints(out, f.points);
}

bool readLibraryRecordV3(ByteReader& in, DragFunc& f) {
    readCommon(in, f);
    f.bulletLength = in.f64();
    f.bulletDiameter = in.f64();
    f.bulletWeight = in.f64();
    if (!in.ok()) {
        f.points.clear();
        return false;
    }
    return readPoints(in, f.points);
}

bool readLibraryRecordV2(ByteReader& in, DragFuncOld& f) {
    readCommon(in, f);
    if (!in.ok()) {
        f.points.clear();
        return false;
    }
    return readPoints(in, f.points);
}

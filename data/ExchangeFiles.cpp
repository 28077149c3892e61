#include "ExchangeFiles.h"

#include <charconv>
#include <cmath>
#include <cstring>

#include "DragLibrary.h"
#include "FixedText.h"
#include "LibraryRecord.h"
#include "RoundTo.h"

namespace {
constexpr size_t kNameBytes = sizeof(DragFunc::name) - 1;                // 49
constexpr size_t kDescriptionBytes = sizeof(DragFunc::description) - 1;  // 255

bool isTrimmed(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

std::string_view trim(std::string_view s) {
    while (!s.empty() && isTrimmed(s.front())) s.remove_prefix(1);
    while (!s.empty() && isTrimmed(s.back())) s.remove_suffix(1);
    return s;
}

// The lines of a text file as a reader in text mode sees them: each ends at LF, a CR before the LF
// belongs to the line end; an empty piece after the last LF is not a line.
class LineReader {
public:
    explicit LineReader(std::string_view bytes) : rest_(bytes) {}

    bool next(std::string_view& line) {
        if (rest_.empty()) return false;
        const size_t end = rest_.find('\n');
        if (end == std::string_view::npos) {
            line = rest_;
            rest_ = {};
        } else {
            line = rest_.substr(0, end);
            rest_.remove_prefix(end + 1);
        }
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        return true;
    }

private:
    std::string_view rest_;
};

std::string_view field(const std::vector<std::string_view>& fields, size_t number) {
    return number >= 1 && number <= fields.size() ? fields[number - 1] : std::string_view("");
}

// Values the files cannot carry (an overflow of the unit conversions, a diameter of 0) read as 0.
double finiteOr0(double x) { return std::isfinite(x) ? x : 0.0; }

// Metres in the file, inches in memory, to 2 decimals.
double inchesFromMetres(double metres) { return finiteOr0(RoundTo(metres * 1000 / 25.4, 2)); }

void appendFixed(std::string& out, double value, int precision) { out += formatFixed(value, precision); }

// A CP1251 text up to its first zero byte, cut to `limit` bytes. An empty text is "" (the field
// setters copy from its data).
std::string_view cText(std::string_view text, size_t limit) {
    if (text.empty()) return "";
    const size_t zero = text.find('\0');
    if (zero != std::string_view::npos) text = text.substr(0, zero);
    return text.substr(0, std::min(text.size(), limit));
}

template <size_t N>
std::string_view cField(const char (&field)[N]) {
    return std::string_view(field, strnlen(field, N));
}

// A name as the header carries it: cut to the field, and trimmed again at its end so that it reads
// back as it is.
std::string_view headerName(std::string_view text) {
    text = cText(text, kNameBytes);
    while (!text.empty() && isTrimmed(text.back())) text.remove_suffix(1);
    return text;
}

void appendUtf8(std::string& out, char16_t unit) {
    if (unit < 0x80) {
        out += static_cast<char>(unit);
    } else if (unit < 0x800) {
        out += static_cast<char>(0xC0 | (unit >> 6));
        out += static_cast<char>(0x80 | (unit & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (unit >> 12));
        out += static_cast<char>(0x80 | ((unit >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (unit & 0x3F));
    }
}

// One well-formed UTF-8 sequence at s[i] (no overlong forms, no surrogates): its code point and
// length; length 0 when the bytes there are not one.
struct Utf8Char {
    char32_t code = 0;
    size_t length = 0;
};

Utf8Char decodeUtf8(std::string_view s, size_t i) {
    auto at = [&](size_t k) { return i + k < s.size() ? static_cast<unsigned char>(s[i + k]) : 0u; };
    auto continuation = [&](size_t k, unsigned lo = 0x80, unsigned hi = 0xBF) {
        const unsigned b = at(k);
        return b >= lo && b <= hi;
    };
    const unsigned b0 = at(0);
    if (b0 < 0x80) return {b0, 1};
    if (b0 >= 0xC2 && b0 <= 0xDF) {
        if (!continuation(1)) return {};
        return {((b0 & 0x1Fu) << 6) | (at(1) & 0x3Fu), 2};
    }
    if (b0 >= 0xE0 && b0 <= 0xEF) {
        const unsigned lo = b0 == 0xE0 ? 0xA0 : 0x80;
        const unsigned hi = b0 == 0xED ? 0x9F : 0xBF;
        if (!continuation(1, lo, hi) || !continuation(2)) return {};
        return {((b0 & 0x0Fu) << 12) | ((at(1) & 0x3Fu) << 6) | (at(2) & 0x3Fu), 3};
    }
    if (b0 >= 0xF0 && b0 <= 0xF4) {
        const unsigned lo = b0 == 0xF0 ? 0x90 : 0x80;
        const unsigned hi = b0 == 0xF4 ? 0x8F : 0xBF;
        if (!continuation(1, lo, hi) || !continuation(2) || !continuation(3)) return {};
        return {((b0 & 0x07u) << 18) | ((at(1) & 0x3Fu) << 12) | ((at(2) & 0x3Fu) << 6) | (at(3) & 0x3Fu), 4};
    }
    return {};
}

// The CP1251 byte of a code point: those toUtf16Cyrillic gives back through fromUtf16Cyrillic,
// '?' for the others.
char cp1251FromCode(char32_t code) {
    const bool held = code <= 0xFF || code == 0x0401 || (code >= 0x0410 && code <= 0x044F) ||
                      code == 0x0451 || code == 0x2116;
    return held ? fromUtf16Cyrillic(static_cast<char16_t>(code)) : '?';
}

// UTF-8 to CP1251, stopping at a zero character or after `limit` bytes of output.
std::string decodeSnrText(std::string_view utf8, size_t limit) {
    std::string out;
    for (size_t i = 0; i < utf8.size() && out.size() < limit;) {
        const Utf8Char c = decodeUtf8(utf8, i);
        char byte;
        if (c.length == 0) {
            byte = utf8[i];  // not UTF-8: a CP1251 byte as it is
            ++i;
        } else {
            byte = cp1251FromCode(c.code);
            i += c.length;
        }
        if (byte == '\0') break;
        out += byte;
    }
    return out;
}

// A ".snr" text field read back: a CR left inside a line reads as a blank, as the writer writes it.
std::string snrField(std::string_view utf8, size_t limit) {
    std::string text = decodeSnrText(utf8, limit);
    for (char& c : text)
        if (c == '\r') c = ' ';
    return text;
}

void appendSnrText(std::string& out, std::string_view cp1251, bool dropCommas) {
    for (char c : cp1251) {
        if (dropCommas && c == ',') continue;
        if (c == '\r' || c == '\n') c = ' ';
        appendUtf8(out, toUtf16Cyrillic(c));
    }
}

DragFunc emptyImported() {
    DragFunc f;
    f.setName("");
    f.setDescription("");
    f.kind = DragFuncKind::Special;
    return f;
}
}  // namespace

std::vector<std::string_view> splitHeaderFields(std::string_view line) {
    std::vector<std::string_view> fields;
    for (;;) {
        const size_t comma = line.find(',');
        fields.push_back(trim(line.substr(0, comma)));
        if (comma == std::string_view::npos || fields.size() == kMaxHeaderFields) break;
        line.remove_prefix(comma + 1);
    }
    return fields;
}

double readLenientNumber(std::string_view text) {
    size_t i = 0;
    auto isBlank = [](char c) { return c == ' ' || (c >= '\t' && c <= '\r'); };
    auto isDigit = [&](size_t k) { return k < text.size() && text[k] >= '0' && text[k] <= '9'; };
    while (i < text.size() && isBlank(text[i])) ++i;
    if (i < text.size() && text[i] == '+') ++i;  // from_chars takes a minus sign only
    const size_t start = i;
    if (i < text.size() && text[i] == '-') ++i;
    size_t digits = 0;
    while (isDigit(i)) ++i, ++digits;
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (isDigit(i)) ++i, ++digits;
    }
    if (digits == 0) return 0.0;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        size_t k = i + 1;
        if (k < text.size() && (text[k] == '+' || text[k] == '-')) ++k;
        if (isDigit(k)) {
            while (isDigit(k)) ++k;
            i = k;
        }
    }
    double value = 0.0;
    const auto result = std::from_chars(text.data() + start, text.data() + i, value);
    return result.ec == std::errc() && std::isfinite(value) ? value : 0.0;
}

std::string snrTextToUtf8(std::string_view cp1251) {
    std::string out;
    appendSnrText(out, cText(cp1251, cp1251.size()), false);
    return out;
}

std::string snrTextFromUtf8(std::string_view utf8) { return decodeSnrText(utf8, utf8.size()); }

std::string formatSnr(const DragFunc& f) {
    std::string out = "CFM, ";
    appendSnrText(out, cField(f.name), true);
    out += ", 0.0, 0.0, ";
    appendFixed(out, f.bulletLength * 25.4 / 1000, 5);
    out += ", Trajekton, ";
    appendFixed(out, f.sectionalDensity, 3);
    out += ", ";
    appendFixed(out, f.stabilityFactor, 3);
    out += ", ";
    appendFixed(out, f.bulletDiameter, 3);
    out += ", ";
    appendFixed(out, f.bulletWeight, 1);
    out += "\r\n";
    appendSnrText(out, cField(f.description), false);
    out += "\r\n";
    for (const DragElement& p : f.points) {
        appendFixed(out, p.cd, 3);
        out += '\t';
        appendFixed(out, p.mach, 3);
        out += "\r\n";
    }
    return out;
}

DragFunc parseSnr(std::string_view bytes) {
    DragFunc f = emptyImported();
    LineReader lines(bytes);
    std::string_view line;

    if (lines.next(line)) {
        const std::vector<std::string_view> fields = splitHeaderFields(line);
        f.setName(headerName(snrField(field(fields, 2), kNameBytes)));
        f.bulletLength = inchesFromMetres(readLenientNumber(field(fields, 5)));
        f.sectionalDensity = readLenientNumber(field(fields, 7));
        f.stabilityFactor = readLenientNumber(field(fields, 8));
        f.bulletDiameter = readLenientNumber(field(fields, 9));
        const std::string_view weight = field(fields, 10);
        if (!weight.empty()) f.bulletWeight = readLenientNumber(weight);
    }
    if (lines.next(line)) f.setDescription(snrField(line, kDescriptionBytes));

    while (lines.next(line)) {
        line = trim(line);
        const size_t tab = line.find('\t');
        if (line.empty() || tab == std::string_view::npos) continue;
        DragElement p;
        p.cd = readLenientNumber(trim(line.substr(0, tab)));
        p.mach = readLenientNumber(trim(line.substr(tab + 1)));
        f.points.push_back(p);
    }
    return f;
}

DragFunc parseDrg(std::string_view bytes) {
    DragFunc f = emptyImported();
    LineReader lines(bytes);
    std::string_view line;

    if (lines.next(line)) {
        f.setDescription(cText(line, kDescriptionBytes));
        const std::vector<std::string_view> fields = splitHeaderFields(line);
        f.setName(headerName(field(fields, 2)));
        const double mass = readLenientNumber(field(fields, 3));          // kg
        const double diameter = readLenientNumber(field(fields, 4));      // m
        const double diameterInches = diameter * 1000 / 25.4;
        const double pounds = mass * 1000 * kDrgGrainsPerGram / kDrgGrainsPerPound;
        f.sectionalDensity = finiteOr0(RoundTo(pounds / (diameterInches * diameterInches), 4));
        f.bulletLength = inchesFromMetres(readLenientNumber(field(fields, 5)));
    }

    while (lines.next(line)) {
        line = trim(line);
        if (line.empty()) continue;
        DragElement p;
        const size_t tab = line.find('\t');
        if (tab == std::string_view::npos) {
            p.mach = readLenientNumber(line);
        } else {
            p.cd = readLenientNumber(trim(line.substr(0, tab)));
            p.mach = readLenientNumber(trim(line.substr(tab + 1)));
        }
        f.points.push_back(p);
    }
    return f;
}

std::optional<DragFuncOld> parsePro(std::string_view bytes) { return DragLibrary::readSingleOldRecord(bytes); }

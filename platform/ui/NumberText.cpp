#include "NumberText.h"

#include <charconv>
#include <cmath>

namespace ui {

std::string formatNumber(double v) {
    if (v == 0) v = 0.0;  // a negative zero reads "0", as a positive one
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::general, 15);
    return std::string(buf, r.ptr);
}

namespace {
bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }

std::string_view trimmed(std::string_view s) {
    while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
    return s;
}
}  // namespace

std::optional<double> parseNumber(std::string_view text) {
    const std::string_view t = trimmed(text);
    if (t.empty()) return std::nullopt;
    std::string s(t);
    for (char& c : s)
        if (c == ',') c = '.';
    size_t start = 0;
    bool negative = false;
    if (s[0] == '+' || s[0] == '-') {
        negative = s[0] == '-';
        start = 1;
    }
    // from_chars takes no '+' and no hexadecimal prefix confusion: "%lf" reads "0x.." as hex, which
    // nobody types into a field; decimal and inf/nan are what matters.
    if (start < s.size() && (s[start] == '+' || s[start] == '-')) return std::nullopt;
    double v = 0.0;
    const char* first = s.data() + start;
    const char* last = s.data() + s.size();
    const auto r = std::from_chars(first, last, v, std::chars_format::general);
    if (r.ec == std::errc::result_out_of_range) {
        // Like strtod: overflow gives infinity, underflow zero.
        v = std::strtod(std::string(first, last).c_str(), nullptr);
    } else if (r.ec != std::errc{}) {
        return std::nullopt;
    }
    if (r.ptr != last) return std::nullopt;
    return negative ? -v : v;
}

std::optional<int> parseInteger(std::string_view text) {
    const std::string_view t = trimmed(text);
    if (t.empty()) return std::nullopt;
    size_t start = (t[0] == '+') ? 1 : 0;
    int v = 0;
    const auto r = std::from_chars(t.data() + start, t.data() + t.size(), v);
    if (r.ec != std::errc{} || r.ptr != t.data() + t.size()) return std::nullopt;
    return v;
}

}  // namespace ui

#include "SvgCanvas.h"

#include <algorithm>
#include <cstdio>

#include "CairoCanvas.h"

namespace {

std::string colourText(ui::Colour c) {
    char buffer[8];
    std::snprintf(buffer, sizeof buffer, "#%02x%02x%02x", c.r, c.g, c.b);
    return buffer;
}

std::string num(double v) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%g", v);
    return buffer;
}

// Lines one pixel wide on the pixels' centres, as in the PNG pictures.
double centred(int v, int penWidth) { return v + (penWidth % 2 ? 0.5 : 0.0); }

std::string pointsText(const std::vector<ui::Point>& points, int penWidth) {
    std::string s;
    for (const ui::Point& p : points) {
        if (!s.empty()) s += ' ';
        s += num(centred(p.x, penWidth)) + "," + num(centred(p.y, penWidth));
    }
    return s;
}

std::string strokeText(ui::Colour pen, int penWidth) {
    return " stroke=\"" + colourText(pen) + "\" stroke-width=\"" + std::to_string(std::max(1, penWidth)) + "\"";
}

std::string fillText(std::optional<ui::Colour> fill) {
    return " fill=\"" + (fill ? colourText(*fill) : std::string("none")) + "\"";
}

// The length of the UTF-8 sequence starting at s[i] and its code point, or 0 when it is broken.
size_t utf8Sequence(const std::string& s, size_t i, char32_t& c) {
    const auto b = static_cast<unsigned char>(s[i]);
    size_t n = b < 0x80 ? 1 : (b >> 5) == 6 ? 2 : (b >> 4) == 14 ? 3 : (b >> 3) == 30 ? 4 : 0;
    if (n == 0 || i + n > s.size()) return 0;
    c = n == 1 ? b : n == 2 ? b & 0x1F : n == 3 ? b & 0x0F : b & 0x07;
    for (size_t k = 1; k < n; ++k) {
        const auto t = static_cast<unsigned char>(s[i + k]);
        if ((t & 0xC0) != 0x80) return 0;
        c = (c << 6) | (t & 0x3F);
    }
    // Overlong forms, surrogates and values past Unicode are not characters.
    static const char32_t kLeast[] = {0, 0, 0x80, 0x800, 0x10000};
    if (c < kLeast[n] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return 0;
    return n;
}

}  // namespace

std::string SvgCanvas::escaped(const std::string& utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (size_t i = 0; i < utf8.size();) {
        char32_t c = 0;
        const size_t n = utf8Sequence(utf8, i, c);
        // XML allows no control character but tab, line feed and carriage return, and not U+FFFE/FFFF.
        if (n == 0 || (c < 0x20 && c != 0x09 && c != 0x0A && c != 0x0D) || c == 0xFFFE || c == 0xFFFF) {
            out += "\xEF\xBF\xBD";
            i += n ? n : 1;
            continue;
        }
        switch (c) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '"': out += "&quot;"; break;
            case '\'': out += "&apos;"; break;
            default: out.append(utf8, i, n);
        }
        i += n;
    }
    return out;
}

std::string SvgCanvas::document() const {
    const std::string w = std::to_string(size_.width), h = std::to_string(size_.height);
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + w + "\" height=\"" + h + "\" viewBox=\"0 0 " + w +
           " " + h + "\" shape-rendering=\"crispEdges\">\n" + body_ + "</svg>\n";
}

void SvgCanvas::fillRect(const ui::Rect& r, ui::Colour fill) {
    if (r.width <= 0 || r.height <= 0) return;
    body_ += "<rect x=\"" + std::to_string(r.x) + "\" y=\"" + std::to_string(r.y) + "\" width=\"" +
             std::to_string(r.width) + "\" height=\"" + std::to_string(r.height) + "\"" + fillText(fill) + "/>\n";
}

void SvgCanvas::drawRect(const ui::Rect& r, ui::Colour pen, int penWidth) {
    if (r.width <= 0 || r.height <= 0) return;
    body_ += "<rect x=\"" + num(centred(r.x, penWidth)) + "\" y=\"" + num(centred(r.y, penWidth)) + "\" width=\"" +
             std::to_string(r.width - 1) + "\" height=\"" + std::to_string(r.height - 1) + "\" fill=\"none\"" +
             strokeText(pen, penWidth) + "/>\n";
}

void SvgCanvas::drawLine(int x1, int y1, int x2, int y2, ui::Colour pen, int penWidth) {
    body_ += "<line x1=\"" + num(centred(x1, penWidth)) + "\" y1=\"" + num(centred(y1, penWidth)) + "\" x2=\"" +
             num(centred(x2, penWidth)) + "\" y2=\"" + num(centred(y2, penWidth)) + "\"" + strokeText(pen, penWidth) +
             "/>\n";
}

void SvgCanvas::drawPolyline(const std::vector<ui::Point>& points, ui::Colour pen, int penWidth) {
    if (points.size() < 2) return;
    body_ += "<polyline points=\"" + pointsText(points, penWidth) + "\" fill=\"none\"" + strokeText(pen, penWidth) +
             " stroke-linejoin=\"miter\" shape-rendering=\"geometricPrecision\"/>\n";
}

void SvgCanvas::drawDots(int x1, int y1, int x2, int y2, ui::Colour pen, int step) {
    step = std::max(step, 1);
    const long long dx = static_cast<long long>(x2) - x1, dy = static_cast<long long>(y2) - y1;
    const long long n = std::max(dx < 0 ? -dx : dx, dy < 0 ? -dy : dy);
    // One path of one-pixel squares: as exact as single pixels, one element for the whole line.
    std::string d;
    for (long long i = 0; i <= n; i += step) {
        const long long x = n ? x1 + dx * i / n : x1, y = n ? y1 + dy * i / n : y1;
        if (x < 0 || y < 0 || x >= size_.width || y >= size_.height) continue;
        char square[64];
        std::snprintf(square, sizeof square, "M%lld %lldh1v1h-1z", x, y);
        d += square;
    }
    if (!d.empty()) body_ += "<path d=\"" + d + "\"" + fillText(pen) + "/>\n";
}

void SvgCanvas::drawPolygon(const std::vector<ui::Point>& points, ui::Colour pen, std::optional<ui::Colour> fill) {
    if (points.size() < 2) return;
    body_ += "<polygon points=\"" + pointsText(points, 1) + "\"" + fillText(fill) + strokeText(pen, 1) +
             " shape-rendering=\"geometricPrecision\"/>\n";
}

void SvgCanvas::drawEllipse(const ui::Rect& r, ui::Colour pen, std::optional<ui::Colour> fill, int penWidth) {
    if (r.width <= 0 || r.height <= 0) return;
    body_ += "<ellipse cx=\"" + num(r.x + r.width / 2.0) + "\" cy=\"" + num(r.y + r.height / 2.0) + "\" rx=\"" +
             num((r.width - 1) / 2.0) + "\" ry=\"" + num((r.height - 1) / 2.0) + "\"" + fillText(fill) +
             strokeText(pen, penWidth) + " shape-rendering=\"geometricPrecision\"/>\n";
}

void SvgCanvas::drawText(int x, int y, const std::string& utf8, ui::Colour colour, const ui::Font& font) {
    // SVG places a text by its baseline; the canvas by its top.
    const CairoCanvas::TextMetrics m = CairoCanvas::measure(utf8, font);
    const int size = font.pixelHeight > 0 ? font.pixelHeight : font.pointSize > 0 ? font.pointSize * 4 / 3 : 12;
    std::string family;
    if (!font.face.empty()) family.append("'").append(escaped(font.face)).append("', ");
    family.append("Arial, sans-serif");
    body_ += "<text x=\"" + std::to_string(x) + "\" y=\"" + std::to_string(y + m.baseline) + "\" font-family=\"" +
             family + "\" font-size=\"" + std::to_string(size) + "px\"" +
             (font.bold ? " font-weight=\"bold\"" : "") + (font.italic ? " font-style=\"italic\"" : "") +
             (font.underline ? " text-decoration=\"underline\"" : "") + " fill=\"" + colourText(colour) +
             "\" xml:space=\"preserve\">" + escaped(utf8) + "</text>\n";
}

ui::Size SvgCanvas::textExtent(const std::string& utf8, const ui::Font& font) const {
    return CairoCanvas::measure(utf8, font).size;
}

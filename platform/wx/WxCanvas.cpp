#include "WxCanvas.h"

#include <algorithm>

#include <wx/brush.h>
#include <wx/pen.h>
#include <wx/settings.h>

namespace ui {

namespace {
wxColour toWx(Colour c) { return wxColour(c.r, c.g, c.b); }
Colour fromWx(const wxColour& c) { return Colour{c.Red(), c.Green(), c.Blue()}; }
}  // namespace

WxCanvas::WxCanvas(wxDC& dc, wxWindow& window) : dc_(dc), window_(window) {
    dc_.SetFont(window_.GetFont());
    dc_.SetBackgroundMode(wxBRUSHSTYLE_TRANSPARENT);
}

wxPoint WxCanvas::scaled(int x, int y) const { return window_.FromDIP(wxPoint(x, y)); }

wxRect WxCanvas::scaled(const Rect& r) const {
    return wxRect(window_.FromDIP(wxPoint(r.x, r.y)), window_.FromDIP(wxSize(r.width, r.height)));
}

int WxCanvas::scaledWidth(int penWidth) const { return std::max(1, window_.FromDIP(std::max(1, penWidth))); }

void WxCanvas::setPen(Colour c, int width) { dc_.SetPen(wxPen(toWx(c), scaledWidth(width))); }

Size WxCanvas::size() const {
    const wxSize s = window_.ToDIP(window_.GetClientSize());
    return Size{s.x, s.y};
}

void WxCanvas::fillRect(const Rect& r, Colour fill) {
    if (r.width <= 0 || r.height <= 0) return;
    dc_.SetPen(*wxTRANSPARENT_PEN);
    dc_.SetBrush(wxBrush(toWx(fill)));
    dc_.DrawRectangle(scaled(r));
}

void WxCanvas::drawRect(const Rect& r, Colour pen, int penWidth) {
    if (r.width <= 0 || r.height <= 0) return;
    setPen(pen, penWidth);
    dc_.SetBrush(*wxTRANSPARENT_BRUSH);
    dc_.DrawRectangle(scaled(r));
}

void WxCanvas::drawLine(int x1, int y1, int x2, int y2, Colour pen, int penWidth) {
    setPen(pen, penWidth);
    dc_.DrawLine(scaled(x1, y1), scaled(x2, y2));
}

void WxCanvas::drawPolyline(const std::vector<Point>& points, Colour pen, int penWidth) {
    if (points.size() < 2) return;
    std::vector<wxPoint> pts;
    pts.reserve(points.size());
    for (const auto& p : points) pts.push_back(scaled(p.x, p.y));
    setPen(pen, penWidth);
    dc_.DrawLines(static_cast<int>(pts.size()), pts.data());
}

void WxCanvas::drawDots(int x1, int y1, int x2, int y2, Colour pen, int step) {
    if (step < 1) step = 1;
    // Walked in 64-bit steps along the longer direction, so no far end overflows.
    const long long dx = static_cast<long long>(x2) - x1, dy = static_cast<long long>(y2) - y1;
    const long long n = std::max(dx < 0 ? -dx : dx, dy < 0 ? -dy : dy);
    setPen(pen, 1);
    for (long long i = 0; i <= n; i += step) {
        const long long x = n ? x1 + dx * i / n : x1, y = n ? y1 + dy * i / n : y1;
        dc_.DrawPoint(scaled(static_cast<int>(x), static_cast<int>(y)));
    }
}

void WxCanvas::drawPolygon(const std::vector<Point>& points, Colour pen, std::optional<Colour> fill) {
    if (points.size() < 2) return;
    std::vector<wxPoint> pts;
    pts.reserve(points.size());
    for (const auto& p : points) pts.push_back(scaled(p.x, p.y));
    setPen(pen, 1);
    dc_.SetBrush(fill ? wxBrush(toWx(*fill)) : *wxTRANSPARENT_BRUSH);
    dc_.DrawPolygon(static_cast<int>(pts.size()), pts.data());
}

void WxCanvas::drawEllipse(const Rect& r, Colour pen, std::optional<Colour> fill, int penWidth) {
    if (r.width <= 0 || r.height <= 0) return;
    setPen(pen, penWidth);
    dc_.SetBrush(fill ? wxBrush(toWx(*fill)) : *wxTRANSPARENT_BRUSH);
    dc_.DrawEllipse(scaled(r));
}

wxFont WxCanvas::makeFont(const wxFont& base, const Font& font) {
    wxFont f = base;
    if (font.pointSize > 0) f.SetPointSize(font.pointSize);
    if (font.pixelHeight > 0) f.SetPixelSize(wxSize(0, font.pixelHeight));
    // A face this desktop does not have would leave no font at all: the dialog's face stays instead.
    if (!font.face.empty()) {
        wxFont named = f;
        if (named.SetFaceName(wxString::FromUTF8(font.face)) && named.IsOk()) f = named;
    }
    f.SetWeight(font.bold ? wxFONTWEIGHT_BOLD : wxFONTWEIGHT_NORMAL);
    f.SetStyle(font.italic ? wxFONTSTYLE_ITALIC : wxFONTSTYLE_NORMAL);
    f.SetUnderlined(font.underline);
    if (font.pixelHeight > 0) f.SetPixelSize(wxSize(0, font.pixelHeight));
    return f;
}

Font WxCanvas::scaledFont(const Font& font) const {
    Font f = font;
    if (f.pixelHeight > 0) f.pixelHeight = window_.FromDIP(f.pixelHeight);
    return f;
}

void WxCanvas::drawText(int x, int y, const std::string& utf8, Colour colour, const Font& font) {
    dc_.SetFont(makeFont(window_.GetFont(), scaledFont(font)));
    dc_.SetTextForeground(toWx(colour));
    dc_.DrawText(wxString::FromUTF8(utf8), scaled(x, y));
}

Size WxCanvas::textExtent(const std::string& utf8, const Font& font) const {
    dc_.SetFont(makeFont(window_.GetFont(), scaledFont(font)));
    const wxSize s = window_.ToDIP(dc_.GetTextExtent(wxString::FromUTF8(utf8)));
    return Size{s.x, s.y};
}

Colour WxCanvas::faceColour() const { return fromWx(wxSystemSettings::GetColour(wxSYS_COLOUR_BTNFACE)); }

Colour WxCanvas::windowColour() const { return fromWx(wxSystemSettings::GetColour(wxSYS_COLOUR_WINDOW)); }

}  // namespace ui

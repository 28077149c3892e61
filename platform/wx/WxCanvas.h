#pragma once
#include <wx/dc.h>
#include <wx/font.h>
#include <wx/window.h>

#include "Canvas.h"

namespace ui {

// A Canvas over a wx device context: the paint handler of a custom-drawn control makes one over its
// buffered paint DC. Coordinates come in at 96 dpi and are scaled for the window.
class WxCanvas : public Canvas {
public:
    WxCanvas(wxDC& dc, wxWindow& window);

    Size size() const override;
    void fillRect(const Rect& r, Colour fill) override;
    void drawRect(const Rect& r, Colour pen, int penWidth) override;
    void drawLine(int x1, int y1, int x2, int y2, Colour pen, int penWidth) override;
    void drawPolyline(const std::vector<Point>& points, Colour pen, int penWidth) override;
    void drawDots(int x1, int y1, int x2, int y2, Colour pen, int step) override;
    void drawPolygon(const std::vector<Point>& points, Colour pen, std::optional<Colour> fill) override;
    void drawEllipse(const Rect& r, Colour pen, std::optional<Colour> fill, int penWidth) override;
    void drawText(int x, int y, const std::string& utf8, Colour colour, const Font& font) override;
    Size textExtent(const std::string& utf8, const Font& font) const override;
    Colour faceColour() const override;
    Colour windowColour() const override;

    // The window's font changed as `font` asks (size, weight, slant, underline, face).
    static wxFont makeFont(const wxFont& base, const Font& font);

private:
    wxPoint scaled(int x, int y) const;
    wxRect scaled(const Rect& r) const;
    int scaledWidth(int penWidth) const;
    Font scaledFont(const Font& font) const;  // pixel heights at the window's scale
    void setPen(Colour c, int width);

    wxDC& dc_;
    wxWindow& window_;
};

}  // namespace ui

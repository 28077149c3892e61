#pragma once
#include <optional>
#include <string>
#include <vector>

#include "Canvas.h"

// A canvas that writes what is painted on it as an SVG picture: shapes as SVG elements in the
// canvas's pixels, texts as <text> (UTF-8, escaped), placed by the same text measure as the PNG
// pictures so both come out laid out alike.
class SvgCanvas : public ui::Canvas {
public:
    explicit SvgCanvas(ui::Size size) : size_(size) {}

    // The whole SVG document.
    std::string document() const;

    ui::Size size() const override { return size_; }
    void fillRect(const ui::Rect& r, ui::Colour fill) override;
    void drawRect(const ui::Rect& r, ui::Colour pen, int penWidth) override;
    void drawLine(int x1, int y1, int x2, int y2, ui::Colour pen, int penWidth) override;
    void drawPolyline(const std::vector<ui::Point>& points, ui::Colour pen, int penWidth) override;
    void drawDots(int x1, int y1, int x2, int y2, ui::Colour pen, int step) override;
    void drawPolygon(const std::vector<ui::Point>& points, ui::Colour pen, std::optional<ui::Colour> fill) override;
    void drawEllipse(const ui::Rect& r, ui::Colour pen, std::optional<ui::Colour> fill, int penWidth) override;
    void drawText(int x, int y, const std::string& utf8, ui::Colour colour, const ui::Font& font) override;
    ui::Size textExtent(const std::string& utf8, const ui::Font& font) const override;
    ui::Colour faceColour() const override { return {240, 240, 240}; }
    ui::Colour windowColour() const override { return ui::kWhite; }

    // Text made fit for XML: & < > " ' as entities, characters XML does not allow (control
    // characters, broken UTF-8) as U+FFFD.
    static std::string escaped(const std::string& utf8);

private:
    ui::Size size_;
    std::string body_;
};

#pragma once
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "Canvas.h"

// A canvas that paints into an image in memory through cairo, its texts set by pango (a face the
// system lacks is replaced by its nearest, as on the desktop), for tkcalc's PNG pictures.
class CairoCanvas : public ui::Canvas {
public:
    // An image of that size; check ok() before painting (a size cairo cannot allocate gives none).
    explicit CairoCanvas(ui::Size size);
    ~CairoCanvas() override;
    CairoCanvas(const CairoCanvas&) = delete;
    CairoCanvas& operator=(const CairoCanvas&) = delete;

    bool ok() const;
    // The picture as a PNG file's bytes; nothing when cairo could not encode it.
    std::optional<std::string> png();

    // The extent and the baseline (pixels from the top) of a text in a font, as pango sets it; the
    // SVG writer places its texts by the same measure.
    struct TextMetrics {
        ui::Size size;
        int baseline = 0;
    };
    static TextMetrics measure(const std::string& utf8, const ui::Font& font);

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
    // A picture has no desktop: the light theme's colours.
    ui::Colour faceColour() const override { return {240, 240, 240}; }
    ui::Colour windowColour() const override { return ui::kWhite; }

private:
    struct Surface;
    ui::Size size_;
    std::unique_ptr<Surface> s_;
};

#include "CairoCanvas.h"

#include <cairo.h>
#include <pango/pangocairo.h>

#include <algorithm>

struct CairoCanvas::Surface {
    cairo_surface_t* surface = nullptr;
    cairo_t* cr = nullptr;
    PangoLayout* layout = nullptr;

    explicit Surface(ui::Size size) {
        surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, size.width, size.height);
        cr = cairo_create(surface);
        layout = pango_cairo_create_layout(cr);
    }
    ~Surface() {
        if (layout) g_object_unref(layout);
        cairo_destroy(cr);
        cairo_surface_destroy(surface);
    }
    bool ok() const {
        return cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS && cairo_status(cr) == CAIRO_STATUS_SUCCESS &&
               layout != nullptr;
    }
};

namespace {

void setColour(cairo_t* cr, ui::Colour c) { cairo_set_source_rgb(cr, c.r / 255.0, c.g / 255.0, c.b / 255.0); }

// The layout set to the text in the font: the face asked for, else Arial, else the system's sans
// serif; a character height in pixels, or points at 96 dpi, or the dialogs' usual 12 pixels.
void setText(PangoLayout* layout, const std::string& utf8, const ui::Font& font) {
    PangoFontDescription* d = pango_font_description_new();
    const std::string families = (font.face.empty() ? std::string() : font.face + ",") + "Arial,Sans";
    pango_font_description_set_family(d, families.c_str());
    if (font.pixelHeight > 0)
        pango_font_description_set_absolute_size(d, font.pixelHeight * PANGO_SCALE);
    else if (font.pointSize > 0)
        pango_font_description_set_size(d, font.pointSize * PANGO_SCALE);
    else
        pango_font_description_set_absolute_size(d, 12 * PANGO_SCALE);
    pango_font_description_set_weight(d, font.bold ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL);
    pango_font_description_set_style(d, font.italic ? PANGO_STYLE_ITALIC : PANGO_STYLE_NORMAL);
    pango_layout_set_font_description(layout, d);
    pango_font_description_free(d);
    PangoAttrList* attributes = pango_attr_list_new();
    if (font.underline) pango_attr_list_insert(attributes, pango_attr_underline_new(PANGO_UNDERLINE_SINGLE));
    pango_layout_set_attributes(layout, attributes);
    pango_attr_list_unref(attributes);
    // Pango takes only valid UTF-8; anything else would be dropped with a warning on stderr.
    if (g_utf8_validate(utf8.data(), static_cast<gssize>(utf8.size()), nullptr)) {
        pango_layout_set_text(layout, utf8.data(), static_cast<int>(utf8.size()));
    } else {
        gchar* valid = g_utf8_make_valid(utf8.data(), static_cast<gssize>(utf8.size()));
        pango_layout_set_text(layout, valid, -1);
        g_free(valid);
    }
}

// Lines one pixel wide fall on the pixels' centres, as a window's pen draws them.
double centred(int v, int penWidth) { return v + (penWidth % 2 ? 0.5 : 0.0); }

void pathThrough(cairo_t* cr, const std::vector<ui::Point>& points, int penWidth) {
    cairo_move_to(cr, centred(points[0].x, penWidth), centred(points[0].y, penWidth));
    for (size_t i = 1; i < points.size(); ++i)
        cairo_line_to(cr, centred(points[i].x, penWidth), centred(points[i].y, penWidth));
}

void stroke(cairo_t* cr, ui::Colour pen, int penWidth) {
    setColour(cr, pen);
    cairo_set_line_width(cr, std::max(1, penWidth));
    cairo_stroke(cr);
}

}  // namespace

CairoCanvas::CairoCanvas(ui::Size size) : size_(size), s_(std::make_unique<Surface>(size)) {
    if (s_->ok()) cairo_set_line_join(s_->cr, CAIRO_LINE_JOIN_MITER);
}

CairoCanvas::~CairoCanvas() = default;

bool CairoCanvas::ok() const { return s_->ok(); }

std::optional<std::string> CairoCanvas::png() {
    if (!ok()) return std::nullopt;
    cairo_surface_flush(s_->surface);
    std::string bytes;
    const auto append = [](void* closure, const unsigned char* data, unsigned int length) {
        static_cast<std::string*>(closure)->append(reinterpret_cast<const char*>(data), length);
        return CAIRO_STATUS_SUCCESS;
    };
    if (cairo_surface_write_to_png_stream(s_->surface, append, &bytes) != CAIRO_STATUS_SUCCESS) return std::nullopt;
    return bytes;
}

CairoCanvas::TextMetrics CairoCanvas::measure(const std::string& utf8, const ui::Font& font) {
    // One small surface for all measuring: pango needs a context, not a picture.
    static Surface measuring(ui::Size{1, 1});
    setText(measuring.layout, utf8, font);
    TextMetrics m;
    pango_layout_get_pixel_size(measuring.layout, &m.size.width, &m.size.height);
    m.baseline = pango_layout_get_baseline(measuring.layout) / PANGO_SCALE;
    return m;
}

void CairoCanvas::fillRect(const ui::Rect& r, ui::Colour fill) {
    if (!ok() || r.width <= 0 || r.height <= 0) return;
    cairo_rectangle(s_->cr, r.x, r.y, r.width, r.height);
    setColour(s_->cr, fill);
    cairo_fill(s_->cr);
}

void CairoCanvas::drawRect(const ui::Rect& r, ui::Colour pen, int penWidth) {
    if (!ok() || r.width <= 0 || r.height <= 0) return;
    cairo_rectangle(s_->cr, centred(r.x, penWidth), centred(r.y, penWidth), r.width - 1, r.height - 1);
    stroke(s_->cr, pen, penWidth);
}

void CairoCanvas::drawLine(int x1, int y1, int x2, int y2, ui::Colour pen, int penWidth) {
    if (!ok()) return;
    pathThrough(s_->cr, {{x1, y1}, {x2, y2}}, penWidth);
    stroke(s_->cr, pen, penWidth);
}

void CairoCanvas::drawPolyline(const std::vector<ui::Point>& points, ui::Colour pen, int penWidth) {
    if (!ok() || points.size() < 2) return;
    pathThrough(s_->cr, points, penWidth);
    stroke(s_->cr, pen, penWidth);
}

void CairoCanvas::drawDots(int x1, int y1, int x2, int y2, ui::Colour pen, int step) {
    if (!ok()) return;
    step = std::max(step, 1);
    const long long dx = static_cast<long long>(x2) - x1, dy = static_cast<long long>(y2) - y1;
    const long long n = std::max(dx < 0 ? -dx : dx, dy < 0 ? -dy : dy);
    for (long long i = 0; i <= n; i += step) {
        const long long x = n ? x1 + dx * i / n : x1, y = n ? y1 + dy * i / n : y1;
        // Dots off the picture cost nothing to leave out.
        if (x < 0 || y < 0 || x >= size_.width || y >= size_.height) continue;
        cairo_rectangle(s_->cr, static_cast<double>(x), static_cast<double>(y), 1, 1);
    }
    setColour(s_->cr, pen);
    cairo_fill(s_->cr);
}

void CairoCanvas::drawPolygon(const std::vector<ui::Point>& points, ui::Colour pen, std::optional<ui::Colour> fill) {
    if (!ok() || points.size() < 2) return;
    pathThrough(s_->cr, points, 1);
    cairo_close_path(s_->cr);
    if (fill) {
        setColour(s_->cr, *fill);
        cairo_fill_preserve(s_->cr);
    }
    stroke(s_->cr, pen, 1);
}

void CairoCanvas::drawEllipse(const ui::Rect& r, ui::Colour pen, std::optional<ui::Colour> fill, int penWidth) {
    if (!ok() || r.width <= 0 || r.height <= 0) return;
    cairo_save(s_->cr);
    cairo_translate(s_->cr, r.x + r.width / 2.0, r.y + r.height / 2.0);
    cairo_scale(s_->cr, (r.width - 1) / 2.0, (r.height - 1) / 2.0);
    cairo_new_path(s_->cr);
    cairo_arc(s_->cr, 0, 0, 1, 0, 2 * G_PI);
    cairo_restore(s_->cr);
    if (fill) {
        setColour(s_->cr, *fill);
        cairo_fill_preserve(s_->cr);
    }
    stroke(s_->cr, pen, penWidth);
}

void CairoCanvas::drawText(int x, int y, const std::string& utf8, ui::Colour colour, const ui::Font& font) {
    if (!ok()) return;
    setText(s_->layout, utf8, font);
    setColour(s_->cr, colour);
    cairo_move_to(s_->cr, x, y);
    pango_cairo_show_layout(s_->cr, s_->layout);
}

ui::Size CairoCanvas::textExtent(const std::string& utf8, const ui::Font& font) const { return measure(utf8, font).size; }

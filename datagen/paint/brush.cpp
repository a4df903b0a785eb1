// SPDX-License-Identifier: GPL-3.0-or-later
#include "datagen/paint/brush.h"

#include <pango/pangocairo.h>

#include <algorithm>
#include <cmath>

Col mix(Col a, Col b, double t) {
    return Col{a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t, a.a + (b.a - a.a) * t};
}
Col lighter(Col c, double t) { return mix(c, Col{1, 1, 1, c.a}, t); }
Col darker(Col c, double t) { return mix(c, Col{0, 0, 0, c.a}, t); }
Col alpha(Col c, double a) { return Col{c.r, c.g, c.b, a}; }

void set(cairo_t* cr, Col c) { cairo_set_source_rgba(cr, c.r, c.g, c.b, c.a); }

void stroke_col(cairo_t* cr, double w, Col c) {
    set(cr, c);
    cairo_set_line_width(cr, w);
    cairo_stroke(cr);
}

namespace {
void add_stops(cairo_pattern_t* p, std::initializer_list<Stop> stops) {
    for (const Stop& s : stops) cairo_pattern_add_color_stop_rgba(p, s.at, s.c.r, s.c.g, s.c.b, s.c.a);
}
}  // namespace

void set_linear(cairo_t* cr, double x0, double y0, double x1, double y1, std::initializer_list<Stop> stops) {
    cairo_pattern_t* p = cairo_pattern_create_linear(x0, y0, x1, y1);
    add_stops(p, stops);
    cairo_set_source(cr, p);
    cairo_pattern_destroy(p);
}

void set_radial(cairo_t* cr, double cx, double cy, double r0, double r1, std::initializer_list<Stop> stops) {
    cairo_pattern_t* p = cairo_pattern_create_radial(cx, cy, r0, cx, cy, r1);
    add_stops(p, stops);
    cairo_set_source(cr, p);
    cairo_pattern_destroy(p);
}

void rounded_rect(cairo_t* cr, double x, double y, double w, double h, double r) {
    r = std::min(r, std::min(w, h) / 2);
    cairo_new_sub_path(cr);
    cairo_arc(cr, x + w - r, y + r, r, -kPi / 2, 0);
    cairo_arc(cr, x + w - r, y + h - r, r, 0, kPi / 2);
    cairo_arc(cr, x + r, y + h - r, r, kPi / 2, kPi);
    cairo_arc(cr, x + r, y + r, r, kPi, 3 * kPi / 2);
    cairo_close_path(cr);
}

void ellipse(cairo_t* cr, double cx, double cy, double rx, double ry) {
    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    cairo_scale(cr, rx, ry);
    cairo_new_sub_path(cr);
    cairo_arc(cr, 0, 0, 1, 0, 2 * kPi);
    cairo_restore(cr);
}

namespace {
double hash2(int x, int y, int seed) {
    uint32_t h = uint32_t(x) * 374761393u + uint32_t(y) * 668265263u + uint32_t(seed) * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    h ^= h >> 16;
    return double(h & 0xFFFFFF) / double(0xFFFFFF);
}
double smooth(double t) { return t * t * (3 - 2 * t); }
}  // namespace

double noise2(double x, double y, int seed) {
    int xi = int(std::floor(x)), yi = int(std::floor(y));
    double fx = smooth(x - xi), fy = smooth(y - yi);
    double a = hash2(xi, yi, seed), b = hash2(xi + 1, yi, seed);
    double c = hash2(xi, yi + 1, seed), d = hash2(xi + 1, yi + 1, seed);
    return (a + (b - a) * fx) + ((c + (d - c) * fx) - (a + (b - a) * fx)) * fy;
}

double fbm(double x, double y, int seed, int octaves) {
    double sum = 0, amp = 0.5, norm = 0;
    for (int i = 0; i < octaves; ++i) {
        sum += amp * noise2(x, y, seed + i * 31);
        norm += amp;
        x *= 2.03;
        y *= 2.03;
        amp *= 0.5;
    }
    return sum / norm;
}

cairo_surface_t* new_canvas(int w, int h) { return cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h); }

CanvasPixels canvas_pixels(cairo_surface_t* canvas) {
    cairo_surface_flush(canvas);
    return CanvasPixels{cairo_image_surface_get_width(canvas), cairo_image_surface_get_height(canvas),
                        cairo_image_surface_get_data(canvas), cairo_image_surface_get_stride(canvas)};
}

Rgb over(uint32_t argb, Rgb under) {
    int a = int(argb >> 24);
    int r = int((argb >> 16) & 255), g = int((argb >> 8) & 255), b = int(argb & 255);
    int ur = int((under >> 16) & 255), ug = int((under >> 8) & 255), ub = int(under & 255);
    r += ur * (255 - a) / 255;
    g += ug * (255 - a) / 255;
    b += ub * (255 - a) / 255;
    return rgb(std::min(r, 255), std::min(g, 255), std::min(b, 255));
}

Surface flatten(cairo_surface_t* canvas, Rgb background) {
    const CanvasPixels px = canvas_pixels(canvas);
    Surface s(px.width, px.height);
    for (int y = 0; y < px.height; ++y)
        for (int x = 0; x < px.width; ++x) s.set(x, y, over(px.row(y)[x], background));
    return s;
}

void for_pixels(cairo_surface_t* canvas, const PixelFn& fn) {
    const CanvasPixels px = canvas_pixels(canvas);
    for (int y = 0; y < px.height; ++y) {
        uint32_t* row = px.row(y);
        for (int x = 0; x < px.width; ++x) {
            uint32_t p = row[x];
            double a = double(p >> 24);
            double r = 0, g = 0, b = 0;
            if (a > 0) {
                r = double((p >> 16) & 255) * 255.0 / a;
                g = double((p >> 8) & 255) * 255.0 / a;
                b = double(p & 255) * 255.0 / a;
            }
            fn(x, y, r, g, b, a);
            auto clamp = [](double v) { return std::clamp(v, 0.0, 255.0); };
            a = clamp(a);
            uint32_t ia = uint32_t(std::lround(a));
            uint32_t ir = uint32_t(std::lround(clamp(r) * a / 255.0));
            uint32_t ig = uint32_t(std::lround(clamp(g) * a / 255.0));
            uint32_t ib = uint32_t(std::lround(clamp(b) * a / 255.0));
            row[x] = (ia << 24) | (ir << 16) | (ig << 8) | ib;
        }
    }
    cairo_surface_mark_dirty(canvas);
}

namespace {
PangoLayout* make_layout(cairo_t* cr, const std::string& text, const std::string& font) {
    PangoLayout* layout = pango_cairo_create_layout(cr);
    PangoFontDescription* d = pango_font_description_from_string(font.c_str());
    pango_layout_set_font_description(layout, d);
    pango_font_description_free(d);
    pango_layout_set_text(layout, text.c_str(), -1);
    // Crisp, evenly spaced letters independent of the screen's settings.
    cairo_font_options_t* fo = cairo_font_options_create();
    cairo_font_options_set_antialias(fo, CAIRO_ANTIALIAS_GRAY);
    cairo_font_options_set_hint_style(fo, CAIRO_HINT_STYLE_SLIGHT);
    cairo_font_options_set_hint_metrics(fo, CAIRO_HINT_METRICS_OFF);
    pango_cairo_context_set_font_options(pango_layout_get_context(layout), fo);
    cairo_font_options_destroy(fo);
    pango_layout_context_changed(layout);
    return layout;
}

// The ink box decides the placement so capitals sit where they are asked to.
void place(cairo_t* cr, PangoLayout* layout, double x, double y, double w, Align align) {
    PangoRectangle ink, logical;
    pango_layout_get_pixel_extents(layout, &ink, &logical);
    double tx = x - logical.x;
    if (align == Align::Centre) tx = x + (w - logical.width) / 2 - logical.x;
    if (align == Align::Right) tx = x + w - logical.width - logical.x;
    cairo_move_to(cr, tx, y - logical.y);
}
}  // namespace

TextBox measure_text(cairo_t* cr, const std::string& text, const std::string& font) {
    PangoLayout* layout = make_layout(cr, text, font);
    PangoRectangle ink, logical;
    pango_layout_get_pixel_extents(layout, &ink, &logical);
    g_object_unref(layout);
    return TextBox{double(logical.width), double(logical.height)};
}

double fit_text(cairo_t* cr, const std::string& text, const std::string& family_style, double max_w,
                double max_h, double max_size) {
    for (double size = max_size; size > 4; size -= 0.5) {
        TextBox b = measure_text(cr, text, family_style + " " + std::to_string(size));
        if (b.w <= max_w && b.h <= max_h) return size;
    }
    return 4;
}

void text_path(cairo_t* cr, const std::string& text, const std::string& font, double x, double y, double w,
               Align align) {
    PangoLayout* layout = make_layout(cr, text, font);
    place(cr, layout, x, y, w, align);
    pango_cairo_layout_path(cr, layout);
    g_object_unref(layout);
}

void draw_text(cairo_t* cr, const std::string& text, const std::string& font, double x, double y, double w,
               Align align, Col c) {
    PangoLayout* layout = make_layout(cr, text, font);
    place(cr, layout, x, y, w, align);
    set(cr, c);
    pango_cairo_show_layout(cr, layout);
    g_object_unref(layout);
}

double draw_paragraph(cairo_t* cr, const std::string& text, const std::string& font, double x, double y,
                      double w, Col c, bool justify, double line_spacing) {
    PangoLayout* layout = make_layout(cr, text, font);
    pango_layout_set_width(layout, int(w * PANGO_SCALE));
    pango_layout_set_wrap(layout, PANGO_WRAP_WORD);
    pango_layout_set_justify(layout, justify);
    if (line_spacing != 1.0) pango_layout_set_line_spacing(layout, float(line_spacing));
    cairo_move_to(cr, x, y);
    set(cr, c);
    pango_cairo_show_layout(cr, layout);
    PangoRectangle logical;
    pango_layout_get_pixel_extents(layout, nullptr, &logical);
    g_object_unref(layout);
    return logical.height;
}

void embossed_text(cairo_t* cr, const std::string& text, const std::string& font, double x, double y, double w,
                   Align align, Col top, Col bottom, Col shadow, Col edge) {
    PangoLayout* layout = make_layout(cr, text, font);
    PangoRectangle ink, logical;
    pango_layout_get_pixel_extents(layout, &ink, &logical);
    double y0 = y + (ink.y - logical.y), y1 = y0 + ink.height;
    auto path_at = [&](double dx, double dy) {
        cairo_new_path(cr);
        place(cr, layout, x + dx, y + dy, w, align);
        pango_cairo_layout_path(cr, layout);
    };
    // Drop shadow, a little soft.
    for (int i = 2; i >= 1; --i) {
        path_at(i * 0.8, i * 0.9);
        set(cr, alpha(shadow, shadow.a * (i == 2 ? 0.45 : 0.8)));
        cairo_set_line_width(cr, 1.2 * i);
        cairo_stroke_preserve(cr);
        cairo_fill(cr);
    }
    // Dark rim all round, a light rim above, then the face.
    path_at(0, 0);
    set(cr, shadow);
    cairo_set_line_width(cr, 1.6);
    cairo_stroke(cr);
    path_at(-0.5, -0.6);
    set(cr, edge);
    cairo_fill(cr);
    path_at(0, 0);
    set_linear(cr, 0, y0, 0, y1, {{0, top}, {0.55, mix(top, bottom, 0.5)}, {1, bottom}});
    cairo_fill(cr);
    cairo_new_path(cr);
    g_object_unref(layout);
}

void engraved_text(cairo_t* cr, const std::string& text, const std::string& font, double x, double y, double w,
                   Align align, Col face, Col rim) {
    PangoLayout* layout = make_layout(cr, text, font);
    cairo_new_path(cr);
    place(cr, layout, x + 0.6, y + 0.7, w, align);
    pango_cairo_layout_path(cr, layout);
    set(cr, rim);
    cairo_fill(cr);
    place(cr, layout, x, y, w, align);
    pango_cairo_layout_path(cr, layout);
    set(cr, face);
    cairo_fill(cr);
    g_object_unref(layout);
}

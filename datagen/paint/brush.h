// SPDX-License-Identifier: GPL-3.0-or-later
// The one painting toolkit of every painter (the pictures, the world, the
// icon): the colour and the house palette, gradients, soft noise for wood,
// stone and paper, and real type through pango. All measures are in the
// picture's own pixels.
#pragma once
#include <cairo.h>

#include <cstddef>
#include <functional>
#include <initializer_list>
#include <numbers>
#include <string>

#include "core/surface.h"

inline constexpr double kPi = std::numbers::pi;

struct Col {
    double r = 0, g = 0, b = 0, a = 1;
};

// 0xRRGGBB into a colour.
constexpr Col hex(uint32_t v, double a = 1.0) {
    return Col{double((v >> 16) & 255) / 255.0, double((v >> 8) & 255) / 255.0, double(v & 255) / 255.0, a};
}
Col mix(Col a, Col b, double t);  // from a (t = 0) to b (t = 1)
Col lighter(Col c, double t);  // towards white
Col darker(Col c, double t);   // towards black
Col alpha(Col c, double a);

// The house palette: every picture draws its colours from these families so
// that the objects, the frame and the pages belong to one world.
namespace pal {
inline constexpr Col ink = hex(0x1c120c);          // the darkest outline brown
inline constexpr Col gold_dark = hex(0x7a4f12);
inline constexpr Col gold = hex(0xc8932e);
inline constexpr Col gold_light = hex(0xf3d67a);
inline constexpr Col gold_shine = hex(0xfff4c4);
inline constexpr Col wood_dark = hex(0x3b2010);
inline constexpr Col wood = hex(0x6e3f1e);
inline constexpr Col wood_light = hex(0xa9713a);
inline constexpr Col leather_red = hex(0x8e1f1a);
inline constexpr Col leather_green = hex(0x2f5a2a);
inline constexpr Col leather_blue = hex(0x23406e);
inline constexpr Col leather_brown = hex(0x6b3a1c);
inline constexpr Col leather_plum = hex(0x5e2453);
inline constexpr Col leather_ochre = hex(0x9a6a1c);
inline constexpr Col leather_teal = hex(0x1f5b5a);
inline constexpr Col purple_dark = hex(0x2a0f3c);
inline constexpr Col purple = hex(0x4d2370);
inline constexpr Col purple_light = hex(0x7b4aa3);
inline constexpr Col stone_dark = hex(0x2e2a2a);
inline constexpr Col stone = hex(0x6d6560);
inline constexpr Col stone_light = hex(0xa59b90);
inline constexpr Col paper = hex(0xeddcb4);
inline constexpr Col paper_dark = hex(0xc9ab74);
inline constexpr Col sepia = hex(0x3a2414);
inline constexpr Col leaf_dark = hex(0x1f4d17);
inline constexpr Col leaf = hex(0x3f8f2a);
inline constexpr Col leaf_light = hex(0x8fd05a);
inline constexpr Col steel_dark = hex(0x2a3340);
inline constexpr Col steel = hex(0x6b7a8c);
inline constexpr Col steel_light = hex(0xc4d0dc);
inline constexpr Col red_deep = hex(0x6e0c0c);
inline constexpr Col red = hex(0xb51d16);
inline constexpr Col red_light = hex(0xe8503a);
inline constexpr Col orange_deep = hex(0x8a3a05);
inline constexpr Col orange = hex(0xe07812);
inline constexpr Col orange_light = hex(0xffb347);
inline constexpr Col cream = hex(0xfff1cf);
// The professor's face.
inline constexpr Col lens = hex(0xcfe6f2);
inline constexpr Col lens_rim = hex(0x2b1f18);
inline constexpr Col mouth = hex(0x5a1410);
inline constexpr Col blush = hex(0xe0786a);
}  // namespace pal

// A material in three values, for round bodies shaded under a light: where
// the light falls, its own colour, its shade.
struct Tone {
    Col lit, base, dark;
};

namespace pal::tone {
inline constexpr Tone gold{pal::gold_light, pal::gold, pal::gold_dark};
inline constexpr Tone leaf{pal::leaf_light, pal::leaf, pal::leaf_dark};
inline constexpr Tone steel{pal::steel_light, pal::steel, pal::steel_dark};
// The professor and what he wears.
inline constexpr Tone skin{hex(0xfbd3b0), hex(0xe9ad86), hex(0xb5735a)};
inline constexpr Tone hair{hex(0xffffff), hex(0xe6e6e0), hex(0xa7a9ad)};
inline constexpr Tone tweed{hex(0xb98a55), hex(0x8c5f34), hex(0x563519)};
inline constexpr Tone trousers{hex(0x7f8193), hex(0x595b6c), hex(0x35364a)};
inline constexpr Tone shoe{hex(0x8a5233), hex(0x4f2a17), hex(0x24120a)};
inline constexpr Tone shirt{hex(0xffffff), hex(0xeee7d6), hex(0xb9ae98)};
inline constexpr Tone tie{pal::red_light, pal::red, pal::red_deep};
inline constexpr Tone leopard{hex(0xffd27a), hex(0xe2a13a), hex(0xa3621a)};
inline constexpr Tone liana{hex(0x9a8a4a), hex(0x5f5a26), hex(0x33300f)};
}  // namespace pal::tone

// The source colour, its own alpha included.
void set(cairo_t* cr, Col c);
// Strokes the current path w wide in c (the house ink unless told).
void stroke_col(cairo_t* cr, double w, Col c = pal::ink);

struct Stop {
    double at;
    Col c;
};
// A linear gradient from (x0, y0) to (x1, y1) set as the source.
void set_linear(cairo_t* cr, double x0, double y0, double x1, double y1, std::initializer_list<Stop> stops);
// A radial gradient centred on (cx, cy), from radius r0 to r1.
void set_radial(cairo_t* cr, double cx, double cy, double r0, double r1, std::initializer_list<Stop> stops);

void rounded_rect(cairo_t* cr, double x, double y, double w, double h, double r);
// A closed path through the points p, shifted by (dx, dy).
template <std::size_t N>
void polygon(cairo_t* cr, const double (&p)[N][2], double dx = 0, double dy = 0) {
    cairo_move_to(cr, p[0][0] + dx, p[0][1] + dy);
    for (std::size_t i = 1; i < N; ++i) cairo_line_to(cr, p[i][0] + dx, p[i][1] + dy);
    cairo_close_path(cr);
}
void ellipse(cairo_t* cr, double cx, double cy, double rx, double ry);

// Smooth value noise in [0, 1] and its fractal sum; seed picks the pattern.
double noise2(double x, double y, int seed);
double fbm(double x, double y, int seed, int octaves = 4);

// --- canvases --------------------------------------------------------------
// A fresh transparent ARGB32 canvas of w x h.
cairo_surface_t* new_canvas(int w, int h);
// A fresh canvas of w x h with fn(cairo_t*) painted on it; the caller frees it.
template <class Fn>
cairo_surface_t* painted(int w, int h, Fn fn) {
    cairo_surface_t* c = new_canvas(w, h);
    cairo_t* cr = cairo_create(c);
    fn(cr);
    cairo_destroy(cr);
    return c;
}

// A canvas's pixels as cairo holds them (premultiplied ARGB32, one
// uint32_t each), with cairo's drawing flushed to them first. Whoever
// changes them calls cairo_surface_mark_dirty() afterwards.
struct CanvasPixels {
    int width, height;
    unsigned char* data;
    int stride;
    uint32_t* row(int y) const { return reinterpret_cast<uint32_t*>(data + y * stride); }
};
CanvasPixels canvas_pixels(cairo_surface_t* canvas);

// A premultiplied pixel's straight colour laid over `under`.
Rgb over(uint32_t argb, Rgb under);
// A canvas flattened onto an opaque background colour.
Surface flatten(cairo_surface_t* canvas, Rgb background);
// A canvas of w x h painted by fn(cairo_t*) and flattened onto background.
template <class Fn>
Surface plain(int w, int h, Rgb background, Fn fn) {
    cairo_surface_t* c = painted(w, h, fn);
    Surface s = flatten(c, background);
    cairo_surface_destroy(c);
    return s;
}

// Runs fn over every pixel of an ARGB32 canvas (straight, non-premultiplied
// colour in 0..255; fn may change it). Used for grain and texture passes.
using PixelFn = std::function<void(int x, int y, double& r, double& g, double& b, double& a)>;
void for_pixels(cairo_surface_t* canvas, const PixelFn& fn);

// Type. font is a pango description ("DejaVu Serif Bold 14").
enum class Align { Left, Centre, Right };
struct TextBox {
    double w, h;
};
// The size the text would take.
TextBox measure_text(cairo_t* cr, const std::string& text, const std::string& font);
// The largest size (in points, up to max_size) at which text fits in max_w x max_h.
double fit_text(cairo_t* cr, const std::string& text, const std::string& family_style, double max_w,
                double max_h, double max_size);
// Puts the layout's path at (x, y) = top-left of the text box as aligned inside width w.
void text_path(cairo_t* cr, const std::string& text, const std::string& font, double x, double y, double w,
               Align align);
// A filled line of text.
void draw_text(cairo_t* cr, const std::string& text, const std::string& font, double x, double y, double w,
               Align align, Col c);
// Justified running text in a column of width w; returns the height used.
double draw_paragraph(cairo_t* cr, const std::string& text, const std::string& font, double x, double y,
                      double w, Col c, bool justify = true, double line_spacing = 1.0);
// Raised lettering for plates and banners: a dark drop shadow, a light
// edge, then the face filled with a vertical gradient between top and bottom.
void embossed_text(cairo_t* cr, const std::string& text, const std::string& font, double x, double y, double w,
                   Align align, Col top, Col bottom, Col shadow, Col edge);
// Letters cut into metal: dark face with a light lower rim.
void engraved_text(cairo_t* cr, const std::string& text, const std::string& font, double x, double y, double w,
                   Align align, Col face, Col rim);

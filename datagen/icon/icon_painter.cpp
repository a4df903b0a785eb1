// SPDX-License-Identifier: GPL-3.0-or-later
// lexovo-icon-painter OUTDIR SIZE... [scalable]: paints the desktop icon, a
// red leather book with the professor's round glasses lying on it, at each
// SIZE and writes it as OUTDIR/<SIZE>x<SIZE>/apps/lexovo.png (RGBA,
// see-through round the book), and with "scalable" as the vector drawing
// OUTDIR/scalable/apps/lexovo.svg: the layout of the hicolor icon theme.
//
// The picture is drawn on a 256-unit square scaled to the size; lines keep
// at least a pixel's width and the finest tooling is left out below 64
// pixels, so the small icons stay crisp instead of turning to mush. The
// scalable icon is the same drawing at 256 units with all its tooling; only
// the leather's grain, a pass over the pixels of a raster canvas, is not in
// it.
#include <cairo-svg.h>
#include <cairo.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <iostream>
#include <string>
#include <vector>

#include "datagen/paint/brush.h"

namespace fs = std::filesystem;

namespace {

struct Pen {
    double scale;  // pixels per unit
    // A line width in units that is never thinner than min_px pixels.
    double width(double units, double min_px = 1.0) const { return std::max(units, min_px / scale); }
};

// The soft shadow the book casts on whatever it lies on.
void ground_shadow(cairo_t* cr) {
    cairo_save(cr);
    cairo_translate(cr, 134, 234);
    cairo_scale(cr, 1.0, 0.16);
    cairo_new_path(cr);
    cairo_arc(cr, 0, 0, 112, 0, 2 * kPi);
    cairo_restore(cr);
    set_radial(cr, 134, 234, 0, 112, {{0, hex(0x1c120c, 0.45)}, {0.7, hex(0x1c120c, 0.18)}, {1, hex(0x1c120c, 0)}});
    cairo_fill(cr);
}

// Back board, page block and front board of a closed book lying flat; the
// front board spans (x, y, w, h) in units before the tilt.
void book(cairo_t* cr, const Pen& pen, bool fine) {
    const double x = 38, y = 26, w = 170, h = 190, r = 9;

    // Back board, peeping out under the pages.
    rounded_rect(cr, x + 12, y + 14, w, h, r);
    set(cr, pal::red_deep);
    cairo_fill_preserve(cr);
    stroke_col(cr, pen.width(3), pal::ink);

    // Page block: the cream edges on the right and at the foot.
    rounded_rect(cr, x + 7, y + 8, w, h, r * 0.6);
    set_linear(cr, x, y, x + w, y + h, {{0, pal::cream}, {1, pal::paper_dark}});
    cairo_fill_preserve(cr);
    stroke_col(cr, pen.width(2.5), pal::sepia);
    if (fine) {
        for (int i = 1; i <= 3; ++i) {
            double d = i * 2.2;
            cairo_move_to(cr, x + w + d - 1, y + 16 + d);
            cairo_line_to(cr, x + w + d - 1, y + h + d - 6);
            cairo_move_to(cr, x + 14 + d, y + h + d - 1);
            cairo_line_to(cr, x + w + d - 6, y + h + d - 1);
        }
        stroke_col(cr, pen.width(0.8, 0.5), alpha(pal::paper_dark, 0.9));
    }

    // Front board: leather with a light from the upper left.
    rounded_rect(cr, x, y, w, h, r);
    set_linear(cr, x, y, x + w, y + h, {{0, pal::red_light}, {0.45, pal::red}, {1, pal::red_deep}});
    cairo_fill_preserve(cr);
    stroke_col(cr, pen.width(3.5, 1.2), pal::ink);

    // The spine's turn-over along the left edge, with raised bands.
    cairo_rectangle(cr, x + 3, y + 3, 24, h - 6);
    set_linear(cr, x, 0, x + 27, 0, {{0, hex(0x4a0a08)}, {0.6, pal::red_deep}, {1, alpha(pal::red_deep, 0.4)}});
    cairo_fill(cr);
    cairo_move_to(cr, x + 27, y + 4);
    cairo_line_to(cr, x + 27, y + h - 4);
    stroke_col(cr, pen.width(2.5, 1.0), hex(0x3a0806, 0.85));
    for (double by : {y + 22, y + 58, y + h - 58, y + h - 22}) {
        cairo_rectangle(cr, x + 5, by - 3, 19, 6);
        set(cr, fine ? pal::gold : pal::gold_light);
        cairo_fill(cr);
    }

    // Gold tooling: a frame round the cover and the title label.
    if (fine) {
        rounded_rect(cr, x + 40, y + 16, w - 54, h - 32, 5);
        stroke_col(cr, pen.width(3, 0.8), pal::gold);
        rounded_rect(cr, x + 46, y + 22, w - 66, h - 44, 3);
        stroke_col(cr, pen.width(1.2, 0.5), alpha(pal::gold_light, 0.8));
    }
    const double lx = x + 58, ly = y + 34, lw = w - 90, lh = 38;
    rounded_rect(cr, lx, ly, lw, lh, 4);
    set(cr, hex(0x3a0806));
    cairo_fill_preserve(cr);
    stroke_col(cr, pen.width(3, 1.0), pal::gold_light);
    if (fine) {
        // The title as two gilt lines of lettering.
        cairo_rectangle(cr, lx + 10, ly + 10, lw - 20, 7);
        cairo_rectangle(cr, lx + 20, ly + 23, lw - 40, 5);
        set(cr, pal::gold_light);
        cairo_fill(cr);
    }
}

// The leather's grain and a sheen, over the front board only.
void grain(cairo_surface_t* canvas, double scale) {
    for_pixels(canvas, [scale](int px, int py, double& r, double& g, double& b, double& a) {
        if (a < 250) return;
        double u = px / scale, v = py / scale;
        double n = fbm(u * 0.09, v * 0.09, 23, 4) - 0.5;
        // Only the red of the leather takes grain; pages and gold keep clean.
        if (r > g * 1.8 && r > b * 1.8) {
            r = std::clamp(r * (1 + 0.22 * n), 0.0, 255.0);
            g = std::clamp(g * (1 + 0.22 * n), 0.0, 255.0);
            b = std::clamp(b * (1 + 0.22 * n), 0.0, 255.0);
        }
    });
}

// Round glasses lying on the cover, arms folded behind the lenses.
void glasses(cairo_t* cr, const Pen& pen, bool fine) {
    const double cy = 160, rad = 29;
    const double lx = 100, rx = 170;
    const double rim = pen.width(7, 1.6);

    // Their shadow on the leather.
    cairo_save(cr);
    cairo_translate(cr, 5, 7);
    for (double cx : {lx, rx}) {
        cairo_new_sub_path(cr);
        cairo_arc(cr, cx, cy, rad, 0, 2 * kPi);
    }
    cairo_set_line_width(cr, rim + 2);
    set(cr, hex(0x1c0604, 0.45));
    cairo_stroke(cr);
    cairo_restore(cr);

    // The folded arms, seen through the lenses, with their curled ends.
    cairo_move_to(cr, lx - rad + 2, cy - 8);
    cairo_curve_to(cr, lx - 6, cy - 20, rx - 20, cy - 22, rx + 14, cy - 12);
    cairo_line_to(cr, rx + 22, cy - 3);
    cairo_move_to(cr, rx + rad - 2, cy - 10);
    cairo_curve_to(cr, rx, cy - 30, lx + 10, cy - 28, lx - 14, cy - 18);
    cairo_line_to(cr, lx - 22, cy - 8);
    stroke_col(cr, pen.width(4.5, 1.2), hex(0x2a1a10));

    // Lenses: pale glass that lightens the leather under it.
    for (double cx : {lx, rx}) {
        cairo_new_path(cr);
        cairo_arc(cr, cx, cy, rad, 0, 2 * kPi);
        set_radial(cr, cx - 8, cy - 10, 2, rad + 4,
                   {{0, hex(0xf4fbff, 0.78)}, {0.55, hex(0xd2e6ff, 0.58)}, {1, hex(0xa4c0e4, 0.62)}});
        cairo_fill(cr);
    }

    // Rims and the bridge.
    for (double cx : {lx, rx}) {
        cairo_new_path(cr);
        cairo_arc(cr, cx, cy, rad, 0, 2 * kPi);
        stroke_col(cr, rim, hex(0x1a1410));
        if (fine) {
            cairo_new_path(cr);
            cairo_arc(cr, cx, cy, rad - 0.5, kPi * 1.05, kPi * 1.6);
            stroke_col(cr, pen.width(1.6, 0.6), alpha(pal::gold_light, 0.85));
        }
    }
    cairo_new_path(cr);
    cairo_arc(cr, (lx + rx) / 2, cy + 2, (rx - lx) / 2 - rad + 5, kPi * 1.12, kPi * 1.88);
    stroke_col(cr, pen.width(6, 1.4), hex(0x1a1410));

    // Light on the glass.
    for (double cx : {lx, rx}) {
        cairo_new_path(cr);
        cairo_arc(cr, cx, cy, rad - 9, kPi * 1.08, kPi * 1.42);
        cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
        stroke_col(cr, pen.width(5, 1.2), hex(0xffffff, 0.85));
        cairo_new_path(cr);
        cairo_arc(cr, cx + 12, cy + 13, pen.width(2.6, 0.8), 0, 2 * kPi);
        set(cr, hex(0xffffff, 0.7));
        cairo_fill(cr);
        cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
    }
}

// The whole icon, on the 256-unit square at the pen's scale; grain, when
// given, works on the canvas between the book and the glasses lying on it.
void draw_icon(cairo_t* cr, const Pen& pen, bool fine, const std::function<void()>& grain_pass) {
    cairo_scale(cr, pen.scale, pen.scale);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);

    ground_shadow(cr);
    cairo_save(cr);
    cairo_translate(cr, 128, 128);
    cairo_rotate(cr, -5 * kPi / 180);
    cairo_translate(cr, -128, -128);
    book(cr, pen, fine);
    if (grain_pass) grain_pass();
    glasses(cr, pen, fine);
    cairo_restore(cr);
}

bool make_folder(const fs::path& file) {
    std::error_code ec;
    fs::create_directories(file.parent_path(), ec);
    return !ec;
}

bool paint_icon(int size, const fs::path& file) {
    cairo_surface_t* canvas = new_canvas(size, size);
    cairo_t* cr = cairo_create(canvas);
    const Pen pen{size / 256.0};
    draw_icon(cr, pen, size >= 64, [&] {
        cairo_surface_flush(canvas);
        grain(canvas, pen.scale);
        cairo_surface_mark_dirty(canvas);
    });
    cairo_destroy(cr);
    bool ok = make_folder(file) && cairo_surface_write_to_png(canvas, file.c_str()) == CAIRO_STATUS_SUCCESS;
    cairo_surface_destroy(canvas);
    return ok;
}

bool draw_scalable_icon(const fs::path& file) {
    if (!make_folder(file)) return false;
    cairo_surface_t* svg = cairo_svg_surface_create(file.c_str(), 256, 256);
    cairo_svg_surface_restrict_to_version(svg, CAIRO_SVG_VERSION_1_1);
    cairo_svg_surface_set_document_unit(svg, CAIRO_SVG_UNIT_PX);
    cairo_t* cr = cairo_create(svg);
    draw_icon(cr, Pen{1.0}, true, nullptr);
    bool ok = cairo_status(cr) == CAIRO_STATUS_SUCCESS;
    cairo_destroy(cr);
    cairo_surface_finish(svg);
    ok = ok && cairo_surface_status(svg) == CAIRO_STATUS_SUCCESS;
    cairo_surface_destroy(svg);
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::cerr << "usage: lexovo-icon-painter OUTDIR SIZE... [scalable]\n";
        return 2;
    }
    const fs::path out = argv[1];
    for (int i = 2; i < argc; ++i) {
        if (std::string(argv[i]) == "scalable") {
            const fs::path file = out / "scalable" / "apps" / "lexovo.svg";
            if (!draw_scalable_icon(file)) {
                std::cerr << "lexovo-icon-painter: cannot write " << file << "\n";
                return 1;
            }
            continue;
        }
        char* end = nullptr;
        long size = std::strtol(argv[i], &end, 10);
        if (!end || *end || size < 16 || size > 1024) {
            std::cerr << "lexovo-icon-painter: bad size '" << argv[i] << "' (16 to 1024)\n";
            return 2;
        }
        const std::string dim = std::to_string(size) + "x" + std::to_string(size);
        const fs::path file = out / dim / "apps" / "lexovo.png";
        if (!paint_icon(int(size), file)) {
            std::cerr << "lexovo-icon-painter: cannot write " << file << "\n";
            return 1;
        }
    }
    return 0;
}

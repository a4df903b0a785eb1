// The forest that opens over the chasm when the jungle book is put down:
// three frames of one picture (the game shows them 0, 1, 2, 1), in which
// the leaves sway, the lianas swing and the light flickers on a waterfall.
// Drawn opaque at world (1885, -230); its bottom edge lies just above the
// floor at the rim, so the professor stands in front of its undergrowth.
#include <cairo.h>

#include <cmath>
#include <random>

#include "art/pictures/brush.h"
#include "art/pictures/painter.h"
#include "art/world/world_painters.h"

namespace world {
namespace {

void leaf_cluster(cairo_t* cr, std::mt19937& r, double cx, double cy, double size, double sway, Col base) {
    std::uniform_real_distribution<double> u(0, 1);
    for (int i = 0; i < 9; ++i) {
        double a = u(r) * 2 * M_PI, d = u(r) * size * 0.6;
        double x = cx + std::cos(a) * d + sway * (0.5 + u(r)), y = cy + std::sin(a) * d * 0.7;
        double len = size * (0.35 + 0.3 * u(r)), ang = a + (u(r) - 0.5) + sway * 0.04;
        cairo_save(cr);
        cairo_translate(cr, x, y);
        cairo_rotate(cr, ang);
        cairo_move_to(cr, 0, 0);
        cairo_curve_to(cr, len * 0.3, -len * 0.25, len * 0.7, -len * 0.2, len, 0);
        cairo_curve_to(cr, len * 0.7, len * 0.2, len * 0.3, len * 0.25, 0, 0);
        Col c = mix(base, u(r) < 0.5 ? pal::leaf_light : pal::leaf_dark, u(r) * 0.6);
        set_linear(cr, 0, -len * 0.2, 0, len * 0.2, {{0, lighter(c, 0.25)}, {1, darker(c, 0.35)}});
        cairo_fill(cr);
        cairo_move_to(cr, 0, 0);
        cairo_line_to(cr, len * 0.9, 0);
        set(cr, alpha(darker(c, 0.5), 0.7));
        cairo_set_line_width(cr, 0.6);
        cairo_stroke(cr);
        cairo_restore(cr);
    }
}

Surface frame(int k) {
    const int w = kForestW, h = kForestH;
    cairo_surface_t* canvas = new_canvas(w, h);
    cairo_t* cr = cairo_create(canvas);
    std::mt19937 r(77);
    std::uniform_real_distribution<double> u(0, 1);
    const double sway = (k == 0 ? -2.0 : k == 1 ? 0.0 : 2.0);
    // Sky through the canopy and misty depth.
    set_linear(cr, 0, 0, 0, h, {{0, hex(0xbfe6c8)}, {0.35, hex(0x6fb58a)}, {0.7, hex(0x2f6a44)}, {1, hex(0x173a24)}});
    cairo_paint(cr);
    // Sun shafts.
    for (int i = 0; i < 4; ++i) {
        double x = 60 + i * 60 + sway * 2;
        cairo_move_to(cr, x, 0);
        cairo_line_to(cr, x + 25, 0);
        cairo_line_to(cr, x + 90, h);
        cairo_line_to(cr, x + 40, h);
        cairo_close_path(cr);
        set(cr, hex(0xfffbd0, 0.08 + 0.03 * ((i + k) % 3)));
        cairo_fill(cr);
    }
    // A waterfall far off, its light flickering frame by frame.
    cairo_rectangle(cr, 200, 60, 26, 260);
    set_linear(cr, 200, 0, 226, 0, {{0, hex(0xa8d8e8, 0.5)}, {0.5, hex(0xf0ffff, 0.8)}, {1, hex(0xa8d8e8, 0.5)}});
    cairo_fill(cr);
    std::mt19937 wr(300 + k);
    for (int i = 0; i < 40; ++i) {
        double x = 202 + std::uniform_real_distribution<double>(0, 22)(wr);
        double y = 60 + std::uniform_real_distribution<double>(0, 250)(wr);
        cairo_rectangle(cr, x, y, 1.5, 8);
        set(cr, hex(0xffffff, 0.7));
        cairo_fill(cr);
    }
    ellipse(cr, 213, 322, 40, 12);
    set(cr, hex(0xe8f8ff, 0.55));
    cairo_fill(cr);
    // Far trees, then near trunks.
    for (int layer = 0; layer < 2; ++layer) {
        for (int i = 0; i < 6; ++i) {
            double x = u(r) * w, tw = layer ? 18 + u(r) * 12 : 8 + u(r) * 6;
            Col c = layer ? hex(0x3a2614) : hex(0x2a4a30);
            cairo_rectangle(cr, x, 0, tw, h);
            set_linear(cr, x, 0, x + tw, 0, {{0, darker(c, 0.4)}, {0.4, lighter(c, 0.15)}, {1, darker(c, 0.5)}});
            cairo_fill(cr);
            for (int j = 0; j < 6; ++j)
                leaf_cluster(cr, r, x + tw / 2, 20 + u(r) * (h - 120), 30 + layer * 10, sway * (1 + layer),
                             layer ? pal::leaf : hex(0x2e6a3a));
        }
    }
    // Lianas hanging from the canopy, swinging.
    for (int i = 0; i < 7; ++i) {
        double x = 20 + i * 42 + u(r) * 10, l = 150 + u(r) * 180;
        cairo_move_to(cr, x, 0);
        cairo_curve_to(cr, x + sway * 3, l * 0.4, x - sway * 3 + 10, l * 0.7, x + sway * 5, l);
        set(cr, hex(0x4a3a18));
        cairo_set_line_width(cr, 2.5);
        cairo_stroke(cr);
        for (double y = 30; y < l; y += 35) leaf_cluster(cr, r, x + sway * 4 * y / l, y, 12, sway, pal::leaf);
    }
    // The canopy along the top.
    for (int i = 0; i < 40; ++i) leaf_cluster(cr, r, u(r) * w, u(r) * 60, 40, sway, pal::leaf_dark);
    // Undergrowth along the bottom: ferns and flowers standing on the floor.
    for (int i = 0; i < 36; ++i) leaf_cluster(cr, r, u(r) * w, h - 25 + u(r) * 20, 34, sway * 0.5, pal::leaf);
    for (int i = 0; i < 10; ++i) {
        double x = u(r) * w, y = h - 30 + u(r) * 25;
        for (int p = 0; p < 5; ++p) {
            ellipse(cr, x + 3 * std::cos(p * 1.256), y + 3 * std::sin(p * 1.256), 2.6, 2.6);
            set(cr, i % 2 ? hex(0xff5a7a) : hex(0xffd23a));
            cairo_fill(cr);
        }
    }
    // Birds in the light.
    for (int i = 0; i < 3; ++i) {
        double x = 80 + i * 70 + k * 6, y = 90 + i * 25 - k * 2;
        cairo_move_to(cr, x - 6, y);
        cairo_curve_to(cr, x - 3, y - 4 + k, x, y - 2, x, y);
        cairo_curve_to(cr, x, y - 2, x + 3, y - 4 + k, x + 6, y);
        set(cr, hex(0x203018));
        cairo_set_line_width(cr, 1.3);
        cairo_stroke(cr);
    }
    cairo_destroy(cr);
    Surface s = flatten(canvas, rgb(23, 58, 36));
    cairo_surface_destroy(canvas);
    return s;
}

}  // namespace

std::array<Surface, 3> paint_forest() { return {frame(0), frame(1), frame(2)}; }

}  // namespace world

// SPDX-License-Identifier: GPL-3.0-or-later
// The forest that opens over the chasm when the jungle book is put down:
// three frames of one picture (the game shows them 0, 1, 2, 1), in which
// the leaves sway, the lianas swing and the light flickers on a waterfall.
// Drawn opaque at world (1885, -230); its bottom edge lies just above the
// floor at the rim, so the professor stands in front of its undergrowth.
#include <cairo.h>

#include <cmath>
#include <random>

#include "datagen/paint/brush.h"
#include "datagen/pictures/painter.h"
#include "datagen/world/world_painters.h"

namespace world {
namespace {

void leaf_cluster(cairo_t* cr, std::mt19937& r, double cx, double cy, double size, double sway, Col base) {
    std::uniform_real_distribution<double> u(0, 1);
    for (int i = 0; i < 9; ++i) {
        double a = u(r) * 2 * kPi, d = u(r) * size * 0.6;
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

// A palm frond arching from (x, y) towards angle a, length l.
void frond(cairo_t* cr, double x, double y, double a, double l, double sway, Col c) {
    double ex = x + std::cos(a) * l, ey = y + std::sin(a) * l + l * 0.25 + sway;
    double mx = x + std::cos(a) * l * 0.5, my = y + std::sin(a) * l * 0.5 - l * 0.12;
    cairo_move_to(cr, x, y);
    cairo_curve_to(cr, mx, my, mx, my, ex, ey);
    set(cr, darker(c, 0.4));
    cairo_set_line_width(cr, 2);
    cairo_stroke(cr);
    for (int i = 1; i < 14; ++i) {
        double t = i / 14.0, u = 1 - t;
        double px = u * u * x + 2 * u * t * mx + t * t * ex, py = u * u * y + 2 * u * t * my + t * t * ey;
        double len = l * 0.28 * std::sin(t * kPi) + 4;
        for (int side : {-1, 1}) {
            double ang = a + side * 1.1 + 0.5;
            cairo_move_to(cr, px, py);
            cairo_line_to(cr, px + std::cos(ang) * len * 0.5 + 2 * side, py + std::sin(ang) * len * 0.5 + len * 0.5);
            cairo_line_to(cr, px + std::cos(ang) * len, py + std::sin(ang) * len + len * 0.7);
            set(cr, i % 2 ? c : lighter(c, 0.15));
            cairo_set_line_width(cr, 2.4);
            cairo_stroke(cr);
        }
    }
}

// A broad leaf (elephant ear) standing on its stalk.
void big_leaf(cairo_t* cr, double x, double y, double size, double tilt, Col c) {
    cairo_save(cr);
    cairo_translate(cr, x, y);
    cairo_rotate(cr, tilt);
    cairo_move_to(cr, 0, 0);
    cairo_line_to(cr, 0, -size * 0.6);
    set(cr, darker(c, 0.3));
    cairo_set_line_width(cr, 2);
    cairo_stroke(cr);
    cairo_move_to(cr, 0, -size * 0.55);
    cairo_curve_to(cr, -size * 0.7, -size * 0.7, -size * 0.5, -size * 1.5, 0, -size * 1.6);
    cairo_curve_to(cr, size * 0.5, -size * 1.5, size * 0.7, -size * 0.7, 0, -size * 0.55);
    set_linear(cr, -size * 0.5, 0, size * 0.5, 0, {{0, darker(c, 0.3)}, {0.5, lighter(c, 0.2)}, {1, darker(c, 0.35)}});
    cairo_fill(cr);
    cairo_move_to(cr, 0, -size * 0.55);
    cairo_line_to(cr, 0, -size * 1.55);
    set(cr, alpha(lighter(c, 0.4), 0.7));
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
    cairo_restore(cr);
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
    // Misty silhouettes of the far forest.
    for (int layer = 0; layer < 2; ++layer) {
        Col c = layer ? hex(0x6a9a80, 0.55) : hex(0x9ac4a8, 0.5);
        for (double x = -20; x < w + 20; x += 38 + 10 * layer) {
            double tw = 10 + 6 * layer;
            cairo_rectangle(cr, x, 40, tw, h);
            set(cr, c);
            cairo_fill(cr);
            ellipse(cr, x + tw / 2, 60 + 20 * layer + 25 * std::sin(x), 36, 28);
            cairo_fill(cr);
        }
    }
    // Far trees, then near trunks.
    for (int layer = 0; layer < 2; ++layer) {
        for (int i = 0; i < 6; ++i) {
            double x = u(r) * w, tw = layer ? 18 + u(r) * 12 : 8 + u(r) * 6;
            Col c = layer ? hex(0x3a2614) : hex(0x2a4a30);
            cairo_rectangle(cr, x, 0, tw, h);
            set_linear(cr, x, 0, x + tw, 0, {{0, darker(c, 0.4)}, {0.4, lighter(c, 0.15)}, {1, darker(c, 0.5)}});
            cairo_fill(cr);
            if (layer) {
                for (double by = 10; by < h; by += 9 + u(r) * 14) {
                    cairo_move_to(cr, x + 2, by);
                    cairo_curve_to(cr, x + tw * 0.3, by + 3, x + tw * 0.7, by - 2, x + tw - 2, by + 2);
                    set(cr, alpha(darker(c, 0.6), 0.6));
                    cairo_set_line_width(cr, 0.8);
                    cairo_stroke(cr);
                }
                // Buttress roots spreading on the ground.
                cairo_move_to(cr, x - 12, h);
                cairo_curve_to(cr, x - 2, h - 8, x, h - 30, x, h - 50);
                cairo_line_to(cr, x + tw, h - 50);
                cairo_curve_to(cr, x + tw, h - 30, x + tw + 2, h - 8, x + tw + 12, h);
                cairo_close_path(cr);
                set(cr, darker(c, 0.2));
                cairo_fill(cr);
            }
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
    // Palm fronds arching in from the top corners, big leaves below.
    frond(cr, -10, 10, 0.3, 150, sway * 2, hex(0x2f7a30));
    frond(cr, -10, 40, 0.7, 120, sway * 2, hex(0x3a8a34));
    frond(cr, w + 10, 20, kPi - 0.35, 150, -sway * 2, hex(0x2f7a30));
    frond(cr, w + 10, 60, kPi - 0.8, 110, -sway * 2, hex(0x3a8a34));
    for (int i = 0; i < 7; ++i)
        big_leaf(cr, 20 + i * 45 + u(r) * 10, h - 2, 22 + u(r) * 12, (u(r) - 0.5) * 0.8 + sway * 0.02, pal::leaf);
    // A parrot on a liana, bobbing its head frame by frame.
    {
        double px = 150, py = 150;
        ellipse(cr, px, py, 7, 12);
        set_linear(cr, 0, py - 12, 0, py + 12, {{0, hex(0xe8281e)}, {1, hex(0xa01010)}});
        cairo_fill(cr);
        ellipse(cr, px + 1, py - 13 + (k == 1 ? 1.5 : 0), 5.5, 5.5);
        set(cr, hex(0xe8281e));
        cairo_fill(cr);
        cairo_move_to(cr, px + 5, py - 14 + (k == 1 ? 1.5 : 0));
        cairo_line_to(cr, px + 10, py - 11 + (k == 1 ? 1.5 : 0));
        cairo_line_to(cr, px + 5, py - 9 + (k == 1 ? 1.5 : 0));
        set(cr, hex(0xf0e0c0));
        cairo_fill(cr);
        ellipse(cr, px + 2.5, py - 14 + (k == 1 ? 1.5 : 0), 1.2, 1.2);
        set(cr, hex(0x101010));
        cairo_fill(cr);
        cairo_move_to(cr, px - 4, py - 4);
        cairo_line_to(cr, px - 7, py + 10);
        cairo_line_to(cr, px + 2, py + 8);
        set(cr, hex(0x2a5ad0));
        cairo_fill(cr);
        cairo_move_to(cr, px - 2, py + 10);
        cairo_line_to(cr, px - 6, py + 32);
        cairo_line_to(cr, px + 2, py + 12);
        set(cr, hex(0xf0c020));
        cairo_fill(cr);
        cairo_move_to(cr, px - 14, py + 12);
        cairo_line_to(cr, px + 14, py + 12);
        set(cr, hex(0x4a3a18));
        cairo_set_line_width(cr, 2.5);
        cairo_stroke(cr);
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
    for_pixels(canvas, [](int x, int y, double& r, double& g, double& b, double& a) {
        double n = (noise2(x * 0.8, y * 0.8, 11) - 0.5) * 12;
        r += n;
        g += n;
        b += n;
        a = 255;
    });
    Surface s = flatten(canvas, rgb(23, 58, 36));
    cairo_surface_destroy(canvas);
    return s;
}

}  // namespace

std::array<Surface, 3> paint_forest() { return {frame(0), frame(1), frame(2)}; }

}  // namespace world

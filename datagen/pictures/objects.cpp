// SPDX-License-Identifier: GPL-3.0-or-later
// The ten objects the professor finds in the books, painted as the bar and
// the world show them.
#include "datagen/pictures/objects.h"

#include <cmath>
#include <random>

#include "datagen/paint/brush.h"

namespace {

void line(cairo_t* cr, double x0, double y0, double x1, double y1, double w, Col c) {
    cairo_move_to(cr, x0, y0);
    cairo_line_to(cr, x1, y1);
    set(cr, c);
    cairo_set_line_width(cr, w);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_stroke(cr);
}

}  // namespace

// ---------------------------------------------------------------- the fly
void draw_fly(cairo_t* cr) {
    // Legs first, under the body: three pairs reaching down to row 28.
    const double legs[][6] = {{17, 20, 12, 24, 9, 28},  {23, 21, 21, 25, 19, 28}, {27, 21, 31, 24, 33, 28},
                              {30, 21, 37, 24, 40, 28}, {20, 20, 16, 25, 14, 28}, {26, 21, 27, 25, 26, 28}};
    for (auto& l : legs) {
        cairo_move_to(cr, l[0], l[1]);
        cairo_line_to(cr, l[2], l[3]);
        cairo_line_to(cr, l[4], l[5]);
        set(cr, hex(0x18120e));
        cairo_set_line_width(cr, 1.6);
        cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
        cairo_stroke(cr);
    }
    // Far wing, then abdomen, thorax and head, then the near wing over them.
    auto wing = [&](double cx, double cy, double rx, double ry, double ang, double a) {
        cairo_save(cr);
        cairo_translate(cr, cx, cy);
        cairo_rotate(cr, ang);
        ellipse(cr, 0, 0, rx, ry);
        set_linear(cr, -rx, 0, rx, 0,
                   {{0, hex(0xe8f2ff, a)}, {0.6, hex(0xb9c9dc, a)}, {1, hex(0x8798b0, a)}});
        cairo_fill_preserve(cr);
        stroke_col(cr, 0.9, hex(0x4a5a70));
        for (int i = -1; i <= 1; ++i) {
            cairo_move_to(cr, -rx * 0.9, 0);
            cairo_curve_to(cr, -rx * 0.2, i * ry * 0.5, rx * 0.3, i * ry * 0.6, rx * 0.9, i * ry * 0.4);
        }
        set(cr, hex(0x5a6c86, 0.8));
        cairo_set_line_width(cr, 0.6);
        cairo_stroke(cr);
        cairo_restore(cr);
    };
    wing(40, 7, 15, 5.5, -0.32, 0.9);
    // Abdomen: dark metallic with a blue-green sheen and bands.
    ellipse(cr, 39, 16, 13, 7.5);
    set_radial(cr, 36, 12, 1, 14, {{0, hex(0x5f8a86)}, {0.45, hex(0x243a3e)}, {1, hex(0x0c1214)}});
    cairo_fill_preserve(cr);
    stroke_col(cr, 1.0);
    for (int i = 0; i < 3; ++i) {
        double x = 33 + i * 5.5;
        cairo_move_to(cr, x, 9.5 + i * 0.5);
        cairo_curve_to(cr, x + 2, 14, x + 2, 18, x, 22.5 - i * 0.5);
    }
    set(cr, hex(0x0a0a0a, 0.7));
    cairo_set_line_width(cr, 1.0);
    cairo_stroke(cr);
    // Thorax, bristly.
    ellipse(cr, 23, 15, 8.5, 7);
    set_radial(cr, 21, 11, 1, 10, {{0, hex(0x6f6a5a)}, {0.5, hex(0x2c2a24)}, {1, hex(0x100e0c)}});
    cairo_fill_preserve(cr);
    stroke_col(cr, 1.0);
    for (int i = 0; i < 9; ++i) {
        double a = -2.6 + i * 0.28;
        line(cr, 23 + std::cos(a) * 6.5, 15 + std::sin(a) * 6, 23 + std::cos(a) * 9, 15 + std::sin(a) * 8.5, 0.7,
             hex(0x15120e));
    }
    // Head with a great red compound eye.
    ellipse(cr, 12, 16, 6.5, 6.5);
    set(cr, hex(0x231a14));
    cairo_fill_preserve(cr);
    stroke_col(cr, 1.0);
    ellipse(cr, 11, 14.5, 5.2, 5.6);
    set_radial(cr, 9.5, 12.5, 0.5, 6, {{0, hex(0xff8a6a)}, {0.35, hex(0xc2261a)}, {1, hex(0x4a0806)}});
    cairo_fill(cr);
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) {
            ellipse(cr, 8.5 + i * 1.6, 12 + j * 1.6, 0.35, 0.35);
            set(cr, hex(0x3a0604, 0.6));
            cairo_fill(cr);
        }
    ellipse(cr, 9.3, 12.2, 1.3, 1.0);
    set(cr, hex(0xffffff, 0.85));
    cairo_fill(cr);
    // Proboscis and antennae.
    line(cr, 8, 20, 5, 25, 1.6, hex(0x2a1e16));
    line(cr, 10, 9.5, 8, 6, 1.0, hex(0x2a1e16));
    // Near wing, glassy.
    wing(37, 9, 16, 6, -0.12, 0.92);
}

// ------------------------------------------------------------ the flower pot
void draw_pot(cairo_t* cr) {
    // Body: a tapering terracotta cone under a thick rim.
    cairo_move_to(cr, 6, 16);
    cairo_line_to(cr, 47, 16);
    cairo_curve_to(cr, 45, 30, 43, 40, 41, 45);
    cairo_curve_to(cr, 34, 46.8, 19, 46.8, 12, 45);
    cairo_curve_to(cr, 10, 40, 8, 30, 6, 16);
    cairo_close_path(cr);
    set_linear(cr, 6, 0, 47, 0,
               {{0, hex(0x7a2e12)}, {0.22, hex(0xd0693a)}, {0.4, hex(0xe88a55)}, {0.75, hex(0xa84a22)},
                {1, hex(0x5a200c)}});
    cairo_fill_preserve(cr);
    stroke_col(cr, 1.2);
    // A painted band of little leaves round its belly.
    cairo_save(cr);
    cairo_move_to(cr, 8.5, 26);
    cairo_curve_to(cr, 20, 28.5, 33, 28.5, 44.5, 26);
    set(cr, hex(0xf2d9a0, 0.85));
    cairo_set_line_width(cr, 1.2);
    cairo_stroke(cr);
    cairo_move_to(cr, 9.5, 31);
    cairo_curve_to(cr, 20, 33.5, 33, 33.5, 43.5, 31);
    cairo_stroke(cr);
    for (int i = 0; i < 6; ++i) {
        double x = 12 + i * 5.8, y = 28.8 + std::sin((x - 26) / 30.0 * kPi / 2) * 0;
        ellipse(cr, x, y + 0.5, 1.6, 1.0);
        set(cr, hex(0x2f5a2a, 0.9));
        cairo_fill(cr);
    }
    cairo_restore(cr);
    // The rim, seen a little from above, and the dark soil inside it.
    cairo_move_to(cr, 2, 9);
    cairo_line_to(cr, 51, 9);
    cairo_line_to(cr, 50, 17.5);
    cairo_curve_to(cr, 35, 19.5, 18, 19.5, 3, 17.5);
    cairo_close_path(cr);
    set_linear(cr, 2, 0, 51, 0,
               {{0, hex(0x8a3616)}, {0.25, hex(0xe07c48)}, {0.45, hex(0xf5a06a)}, {0.8, hex(0xb2542a)},
                {1, hex(0x64240e)}});
    cairo_fill_preserve(cr);
    stroke_col(cr, 1.2);
    ellipse(cr, 26.5, 9.5, 24.5, 3.6);
    set(cr, hex(0xc86238));
    cairo_fill_preserve(cr);
    stroke_col(cr, 1.0);
    ellipse(cr, 26.5, 10.2, 21, 2.6);
    set_radial(cr, 26, 10.5, 1, 20, {{0, hex(0x4a2c18)}, {1, hex(0x24140a)}});
    cairo_fill(cr);
    // Shine on the rim and the body.
    cairo_move_to(cr, 14, 12.5);
    cairo_line_to(cr, 16, 16.5);
    set(cr, hex(0xffd2a8, 0.8));
    cairo_set_line_width(cr, 1.6);
    cairo_stroke(cr);
    cairo_move_to(cr, 16, 19);
    cairo_curve_to(cr, 17, 28, 18, 36, 19, 43);
    set(cr, hex(0xffc49a, 0.45));
    cairo_set_line_width(cr, 2.2);
    cairo_stroke(cr);
}

// ------------------------------------------------------ the closed umbrella
void draw_umbrella(cairo_t* cr) {
    cairo_save(cr);
    // Lying diagonally: tip low on the left, handle high on the right.
    cairo_translate(cr, 5, 42);
    cairo_rotate(cr, -0.62);
    // Wooden shaft between the canopy and the crook.
    cairo_rectangle(cr, 38, -1.4, 15, 2.8);
    set_linear(cr, 0, -1.4, 0, 1.4, {{0, hex(0x9a6a3a)}, {0.5, hex(0xd7a566)}, {1, hex(0x5a3416)}});
    cairo_fill(cr);
    // The crook.
    cairo_new_path(cr);
    cairo_arc(cr, 53, 5.5, 5.5, -kPi / 2, kPi * 0.55);
    cairo_set_line_width(cr, 3.6);
    set(cr, pal::ink);
    cairo_stroke_preserve(cr);
    cairo_set_line_width(cr, 2.4);
    set_linear(cr, 48, 0, 59, 10, {{0, hex(0xc89050)}, {1, hex(0x6a3c18)}});
    cairo_stroke(cr);
    cairo_new_path(cr);
    // Furled canopy: a long spindle of dark cloth with folds.
    cairo_move_to(cr, 2.5, 0);
    cairo_curve_to(cr, 12, -3.5, 26, -6.5, 34, -5.8);
    cairo_curve_to(cr, 38, -5.2, 41, -2, 42, 0);
    cairo_curve_to(cr, 41, 2, 38, 5.2, 34, 5.8);
    cairo_curve_to(cr, 26, 6.5, 12, 3.5, 2.5, 0);
    cairo_close_path(cr);
    set_linear(cr, 0, -6, 0, 6,
               {{0, hex(0x3a4f7a)}, {0.3, hex(0x22304e)}, {0.7, hex(0x111828)}, {1, hex(0x06080e)}});
    cairo_fill_preserve(cr);
    stroke_col(cr, 1.1);
    for (int i = 0; i < 3; ++i) {
        cairo_move_to(cr, 6 + i * 2, 0.2 - i * 0.3);
        cairo_curve_to(cr, 16, -2.5 + i * 2, 28, -4.5 + i * 3.2, 40, -1.5 + i * 1.2);
    }
    set(cr, hex(0x6f86b5, 0.55));
    cairo_set_line_width(cr, 0.8);
    cairo_stroke(cr);
    // Strap with a brass press stud.
    rounded_rect(cr, 21, -6.6, 3.2, 13.2, 1);
    set(cr, hex(0x182236));
    cairo_fill_preserve(cr);
    stroke_col(cr, 0.8);
    ellipse(cr, 22.6, -4.2, 1.3, 1.3);
    set(cr, pal::gold_light);
    cairo_fill(cr);
    // Metal ferrule at the tip.
    cairo_move_to(cr, -2.5, 0);
    cairo_line_to(cr, 4, -1.4);
    cairo_line_to(cr, 4, 1.4);
    cairo_close_path(cr);
    set(cr, pal::steel_light);
    cairo_fill_preserve(cr);
    stroke_col(cr, 0.7);
    // Ribs' cap where the cloth meets the shaft.
    ellipse(cr, 41.8, 0, 1.6, 2.2);
    set(cr, pal::steel);
    cairo_fill(cr);
    cairo_restore(cr);
}

// ---------------------------------------------------------- the bean seed
void draw_seed(cairo_t* cr) {
    cairo_save(cr);
    cairo_translate(cr, 25, 26);
    cairo_rotate(cr, -0.45);
    // A plump kidney bean.
    cairo_move_to(cr, -20, -2);
    cairo_curve_to(cr, -21, -14, -6, -16, 2, -11);
    cairo_curve_to(cr, 8, -15, 22, -13, 21, -1);
    cairo_curve_to(cr, 20, 11, 8, 15, -1, 13);
    cairo_curve_to(cr, -10, 15, -19, 9, -20, -2);
    cairo_close_path(cr);
    set_radial(cr, -6, -7, 2, 26,
               {{0, hex(0xc8f58a)}, {0.3, hex(0x74c43a)}, {0.7, hex(0x3a8420)}, {1, hex(0x17420c)}});
    cairo_fill_preserve(cr);
    stroke_col(cr, 1.3);
    // The little eye where it hung in the pod.
    ellipse(cr, 1.8, -8.2, 4.2, 1.8);
    set(cr, hex(0xf0f4d8));
    cairo_fill_preserve(cr);
    stroke_col(cr, 0.8, hex(0x4a5a20));
    // Gloss.
    ellipse(cr, -10, -5, 5, 2.4);
    set(cr, hex(0xffffff, 0.55));
    cairo_fill(cr);
    // Faint marbling.
    for (int i = 0; i < 4; ++i) {
        cairo_move_to(cr, -14 + i * 7, 4 + (i % 2) * 2);
        cairo_curve_to(cr, -10 + i * 7, 7, -7 + i * 7, 6, -4 + i * 7, 9);
    }
    set(cr, hex(0x1f5a10, 0.45));
    cairo_set_line_width(cr, 1.0);
    cairo_stroke(cr);
    cairo_restore(cr);
    // Magic: two small sparkles.
    auto sparkle = [&](double x, double y, double r) {
        cairo_move_to(cr, x - r, y);
        cairo_line_to(cr, x + r, y);
        cairo_move_to(cr, x, y - r);
        cairo_line_to(cr, x, y + r);
        set(cr, hex(0xfff6b0));
        cairo_set_line_width(cr, 1.4);
        cairo_stroke(cr);
        ellipse(cr, x, y, 1.2, 1.2);
        cairo_fill(cr);
    };
    sparkle(42, 8, 4.5);
    sparkle(8, 40, 3.5);
}

// --------------------------------------------------------------- the cloud
void draw_cloud(cairo_t* cr) {
    // A small rain cloud, dark and heavy with water: slate below, lit only
    // along its upper rim, so that it reads as the storm's cloud on the
    // page, in the bar and over the pot.
    const double puffs[][3] = {{10, 13, 7.5}, {20, 9, 8.5}, {31, 7, 9.5}, {43, 9, 8.5}, {53, 12.5, 7.5},
                               {25, 14, 7},   {39, 14, 7}};
    auto silhouette = [&] {
        cairo_new_path(cr);
        for (auto& p : puffs) ellipse(cr, p[0], p[1], p[2] * 1.05, p[2]);
        cairo_rectangle(cr, 6, 12, 52, 8);
    };
    // The outline first, fat: the fill then covers its inner half, so only
    // the rim of the whole cloud stays, not the circles it is made of.
    silhouette();
    set(cr, hex(0x161a24));
    cairo_set_line_width(cr, 2.2);
    cairo_stroke(cr);
    silhouette();
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
    cairo_save(cr);
    cairo_clip(cr);
    set_linear(cr, 0, 0, 0, 21,
               {{0, hex(0xa4acbc)}, {0.3, hex(0x6c7588)}, {0.7, hex(0x444c60)}, {1, hex(0x262c3a)}});
    cairo_paint(cr);
    // Each puff swollen by its own shadow below and a faint light on top.
    for (auto& p : puffs) {
        set_radial(cr, p[0] + 1, p[1] + 3, p[2] * 0.6, p[2] * 1.25,
                   {{0, hex(0x1c2230, 0)}, {0.8, hex(0x1c2230, 0.5)}, {1, hex(0x1c2230, 0)}});
        cairo_paint(cr);
    }
    for (auto& p : puffs) {
        set_radial(cr, p[0] - 2, p[1] - 3, 0.5, p[2],
                   {{0, hex(0xd8e0ec, 0.55)}, {0.7, hex(0xd8e0ec, 0.08)}, {1, hex(0xd8e0ec, 0)}});
        cairo_paint(cr);
    }
    // The rain it holds, showing through its heavy underside.
    for (int i = 0; i < 7; ++i) {
        double x = 11 + i * 7 + (i % 2) * 1.5;
        cairo_move_to(cr, x, 16.5 + (i % 3) * 0.8);
        cairo_line_to(cr, x - 1, 19.5 + (i % 3) * 0.8);
        stroke_col(cr, 1.0, hex(0x8ab0e0, 0.7));
    }
    cairo_restore(cr);
}

// ---------------------------------------------------------------- the fork
void draw_fork(cairo_t* cr) {
    cairo_new_path(cr);
    // Four tines joined at a curved shoulder, a slim neck and a handle.
    const double tine_w = 3.6, gap = 2.7, x0 = 17 - (4 * tine_w + 3 * gap) / 2;
    for (int i = 0; i < 4; ++i) {
        double x = x0 + i * (tine_w + gap);
        cairo_move_to(cr, x, 19);
        cairo_line_to(cr, x, 3.5);
        cairo_curve_to(cr, x, 1.2, x + tine_w, 1.2, x + tine_w, 3.5);
        cairo_line_to(cr, x + tine_w, 19);
        cairo_close_path(cr);
    }
    double xl = x0, xr = x0 + 4 * tine_w + 3 * gap;
    cairo_move_to(cr, xl, 17);
    cairo_line_to(cr, xr, 17);
    cairo_curve_to(cr, xr, 23, 19.5, 24, 19, 28);
    cairo_line_to(cr, 20.5, 41);
    cairo_curve_to(cr, 21.5, 47, 20, 49.3, 17, 49.3);
    cairo_curve_to(cr, 14, 49.3, 12.5, 47, 13.5, 41);
    cairo_line_to(cr, 15, 28);
    cairo_curve_to(cr, 14.5, 24, xl, 23, xl, 17);
    cairo_close_path(cr);
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
    cairo_save(cr);
    cairo_clip_preserve(cr);
    set_linear(cr, 8, 0, 27, 0,
               {{0, hex(0x5c6878)}, {0.3, hex(0xe8f0f8)}, {0.45, hex(0xffffff)}, {0.62, hex(0xa8b4c4)},
                {1, hex(0x3a4452)}});
    cairo_paint(cr);
    // Engraved line down the handle and a glint on the shoulder.
    cairo_move_to(cr, 17, 31);
    cairo_line_to(cr, 17, 45);
    set(cr, hex(0x55606e, 0.8));
    cairo_set_line_width(cr, 0.9);
    cairo_stroke(cr);
    ellipse(cr, 13, 20, 2.5, 1.2);
    set(cr, hex(0xffffff, 0.9));
    cairo_fill(cr);
    cairo_restore(cr);
    set(cr, hex(0x1e2430));
    cairo_set_line_width(cr, 1.0);
    cairo_stroke(cr);
}

// ---------------------------------------------- the Tarzan leopard skin
namespace {
void leopard_fur(cairo_t* cr, double w, double h, int seed) {
    set_linear(cr, 0, 0, w, 0,
               {{0, hex(0xa85c14)}, {0.3, hex(0xeaa848)}, {0.55, hex(0xf6c468)}, {0.8, hex(0xd8902e)}, {1, hex(0x8a4a10)}});
    cairo_paint(cr);
    // Rosettes on a jittered grid: a warm middle ringed by broken dark spots.
    std::mt19937 rng(seed);
    std::uniform_real_distribution<double> u(0, 1);
    int row = 0;
    for (double gy = 3; gy < h; gy += 7.5, ++row)
        for (double gx = 2 + (row % 2) * 3.8; gx < w; gx += 7.6) {
            double x = gx + (u(rng) - 0.5) * 2.2, y = gy + (u(rng) - 0.5) * 2.2, r = 2.1 + u(rng) * 0.6;
            ellipse(cr, x, y, r * 0.85, r * 0.75);
            set(cr, hex(0xb8661a, 0.9));
            cairo_fill(cr);
            int spots = 4 + int(u(rng) * 2);
            double a0 = u(rng) * 2 * kPi;
            for (int k = 0; k < spots; ++k) {
                double a = a0 + k * 2 * kPi / spots + (u(rng) - 0.5) * 0.5;
                ellipse(cr, x + std::cos(a) * r * 1.15, y + std::sin(a) * r, 0.95, 0.8);
                set(cr, hex(0x24120a));
                cairo_fill(cr);
            }
        }
}
}  // namespace

void draw_leopard_skin(cairo_t* cr) {
    // A one-shouldered tunic: strap over the left shoulder, the top edge
    // falling to the right armpit, a ragged hem, and the tail at the hip.
    auto tunic = [&] {
        cairo_new_path(cr);
        cairo_move_to(cr, 6, 1.5);
        cairo_line_to(cr, 13.5, 1.5);
        cairo_curve_to(cr, 15, 7, 20, 11.5, 27, 13);
        cairo_curve_to(cr, 29.5, 20, 29.5, 30, 28.5, 38);
        const double hem[][2] = {{26.5, 43}, {24.5, 39.5}, {22, 45.5}, {19.5, 40.5}, {16.5, 46.5},
                                 {13.5, 41},  {10.5, 45.5}, {8, 40},     {5, 44},     {3, 38.5}};
        for (auto& p : hem) cairo_line_to(cr, p[0], p[1]);
        cairo_curve_to(cr, 2, 30, 2.5, 20, 3.5, 12);
        cairo_curve_to(cr, 4, 7, 5, 4, 6, 1.5);
        cairo_close_path(cr);
    };
    // The tail, behind the tunic, curling down on the right.
    cairo_move_to(cr, 26, 28);
    cairo_curve_to(cr, 31, 31, 30.5, 38, 28, 41);
    cairo_curve_to(cr, 26.5, 43, 27, 46, 29.5, 46.5);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    set(cr, pal::ink);
    cairo_set_line_width(cr, 4.2);
    cairo_stroke_preserve(cr);
    set(cr, hex(0xd8902e));
    cairo_set_line_width(cr, 2.6);
    cairo_stroke(cr);
    ellipse(cr, 29.2, 45.8, 1.3, 1.1);
    set(cr, hex(0x24120a));
    cairo_fill(cr);
    tunic();
    set(cr, hex(0x2a1406));
    cairo_set_line_width(cr, 2.2);
    cairo_stroke(cr);
    tunic();
    cairo_save(cr);
    cairo_clip(cr);
    leopard_fur(cr, 31, 48, 1307);
    // Shading: the strap's fold, the hip, and a lighter chest.
    set_radial(cr, 14, 20, 2, 18, {{0, hex(0xfff0c0, 0.35)}, {1, hex(0xfff0c0, 0)}});
    cairo_paint(cr);
    set_linear(cr, 0, 0, 31, 0, {{0, hex(0x3a1a04, 0.45)}, {0.25, hex(0x3a1a04, 0)}, {0.8, hex(0x3a1a04, 0)}, {1, hex(0x3a1a04, 0.5)}});
    cairo_paint(cr);
    // Fur tufts along the hem.
    for (int i = 0; i < 9; ++i) {
        double x = 4.5 + i * 2.8;
        cairo_move_to(cr, x, 38 + (i % 2) * 2);
        cairo_line_to(cr, x + 0.8, 43 + (i % 3));
    }
    set(cr, hex(0xfff0c0, 0.5));
    cairo_set_line_width(cr, 0.7);
    cairo_stroke(cr);
    cairo_restore(cr);
    // The strap seam and a bone clasp at the shoulder.
    cairo_move_to(cr, 6.5, 3);
    cairo_curve_to(cr, 8.5, 8, 12, 12, 16, 14);
    set(cr, hex(0x5a2e0a, 0.8));
    cairo_set_line_width(cr, 0.9);
    cairo_stroke(cr);
    cairo_save(cr);
    cairo_translate(cr, 9.8, 4.5);
    cairo_rotate(cr, 0.5);
    rounded_rect(cr, -3.5, -1, 7, 2, 1);
    for (int sx = -1; sx <= 1; sx += 2)
        for (int sy = -1; sy <= 1; sy += 2) ellipse(cr, sx * 3.6, sy * 1.0, 1.2, 1.2);
    set(cr, hex(0xf4ecd8));
    cairo_fill_preserve(cr);
    set(cr, hex(0x5a4a30));
    cairo_set_line_width(cr, 0.6);
    cairo_stroke(cr);
    cairo_restore(cr);
}

// ---------------------------------------------------------------- the flute
void draw_flute(cairo_t* cr) {
    cairo_save(cr);
    cairo_translate(cr, 5, 44);
    cairo_rotate(cr, -0.86);
    const double len = 52;
    // Body of turned boxwood, widening to a bell at the foot.
    cairo_move_to(cr, 0, -3.6);
    cairo_curve_to(cr, 4, -3.0, 7, -2.6, 10, -2.6);
    cairo_line_to(cr, len - 7, -2.6);
    cairo_line_to(cr, len, -3.0);
    cairo_line_to(cr, len, 3.0);
    cairo_line_to(cr, len - 7, 2.6);
    cairo_line_to(cr, 10, 2.6);
    cairo_curve_to(cr, 7, 2.6, 4, 3.0, 0, 3.6);
    cairo_close_path(cr);
    set_linear(cr, 0, -3.6, 0, 3.6,
               {{0, hex(0x8a5a22)}, {0.3, hex(0xe8b870)}, {0.55, hex(0xc08440)}, {1, hex(0x4a2a0e)}});
    cairo_fill_preserve(cr);
    stroke_col(cr, 1.0);
    // Mouthpiece (a darker beak) at the top end and its window.
    cairo_rectangle(cr, len - 8, -3.0, 8, 6.0);
    set_linear(cr, 0, -3, 0, 3, {{0, hex(0x4a2a10)}, {0.4, hex(0x9a6030)}, {1, hex(0x2a1606)}});
    cairo_fill(cr);
    cairo_rectangle(cr, len - 12, -2.6, 2.5, 1.8);
    set(cr, hex(0x1a0e06));
    cairo_fill(cr);
    // Brass rings.
    for (double x : {10.0, len - 8.5}) {
        cairo_rectangle(cr, x, -3.0, 1.6, 6.0);
        set_linear(cr, 0, -3, 0, 3, {{0, pal::gold_dark}, {0.35, pal::gold_shine}, {1, pal::gold_dark}});
        cairo_fill(cr);
    }
    // Finger holes.
    for (int i = 0; i < 6; ++i) {
        ellipse(cr, 15 + i * 4.6, -0.4, 1.2, 1.0);
        set(cr, hex(0x1a0e06));
        cairo_fill(cr);
    }
    cairo_restore(cr);
    // Notes drifting off it: it is a charmer's flute.
    auto note = [&](double x, double y) {
        ellipse(cr, x, y, 2.2, 1.6);
        set(cr, pal::gold_light);
        cairo_fill_preserve(cr);
        stroke_col(cr, 0.7, pal::gold_dark);
        line(cr, x + 1.9, y - 0.3, x + 1.9, y - 7, 1.2, pal::gold_light);
        line(cr, x + 1.9, y - 7, x + 4.5, y - 5, 1.2, pal::gold_light);
    };
    note(9, 17);
    note(29, 40);
}

// ----------------------------------------------------------- the coiled rope
namespace {
// A stroke of twisted hemp along the current path.
void rope_stroke(cairo_t* cr, double width) {
    cairo_path_t* path = cairo_copy_path(cr);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    set(cr, hex(0x3a2810));
    cairo_set_line_width(cr, width + 1.6);
    cairo_stroke_preserve(cr);
    set(cr, hex(0xb88e4e));
    cairo_set_line_width(cr, width);
    cairo_stroke_preserve(cr);
    // The twist: dark bands across the strand.
    const double dash[] = {1.3, 2.0};
    cairo_set_dash(cr, dash, 2, 0);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
    set(cr, hex(0x6e4f23, 0.85));
    cairo_set_line_width(cr, width * 0.95);
    cairo_stroke(cr);
    cairo_set_dash(cr, nullptr, 0, 0);
    // A light thread along the top of the strand.
    cairo_new_path(cr);
    cairo_append_path(cr, path);
    cairo_save(cr);
    cairo_translate(cr, -width * 0.15, -width * 0.2);
    set(cr, hex(0xf0d49a, 0.55));
    cairo_set_line_width(cr, width * 0.3);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_stroke(cr);
    cairo_restore(cr);
    cairo_path_destroy(path);
}
}  // namespace

void coil_half(cairo_t* cr, double cx, double cy, double rx, double ry, bool front) {
    cairo_new_path(cr);
    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    cairo_scale(cr, rx, ry);
    if (front)
        cairo_arc(cr, 0, 0, 1, 0, kPi);
    else
        cairo_arc_negative(cr, 0, 0, 1, 0, kPi);
    cairo_restore(cr);
}

void draw_rope_coil(cairo_t* cr) {
    const double cx = 25, rx = 19, ry = 6.5;
    const double ys[] = {38, 32.5, 27};
    for (double y : ys) {
        coil_half(cr, cx, y, rx, ry, false);
        rope_stroke(cr, 4.6);
    }
    // The top loop's end, rising and tipped with a whipped knot.
    cairo_new_path(cr);
    cairo_move_to(cr, cx + rx, ys[2]);
    cairo_curve_to(cr, cx + rx + 2, 16, cx + 4, 14, cx + 8, 6);
    rope_stroke(cr, 4.6);
    for (double y : ys) {
        coil_half(cr, cx, y, rx, ry, true);
        rope_stroke(cr, 4.6);
    }
    rounded_rect(cr, cx + 4.5, 2, 6, 5, 1.5);
    set(cr, hex(0x8a6a3a));
    cairo_fill_preserve(cr);
    stroke_col(cr, 0.9, hex(0x3a2810));
    for (int i = 0; i < 3; ++i) line(cr, cx + 5.5 + i * 1.7, 2.5, cx + 5.5 + i * 1.7, 6.5, 0.6, hex(0x4a3418));
}

// ------------------------------------------------------ the jungle book
void draw_jungle_book(cairo_t* cr) {
    // Seen from the front, a little turned: spine on the left, page block on the right.
    cairo_move_to(cr, 36, 5);
    cairo_line_to(cr, 41, 7);
    cairo_line_to(cr, 41, 45);
    cairo_line_to(cr, 36, 46);
    cairo_close_path(cr);
    set_linear(cr, 36, 0, 41, 0, {{0, hex(0xf4e6c0)}, {1, hex(0xb8a070)}});
    cairo_fill_preserve(cr);
    stroke_col(cr, 0.9);
    for (int i = 0; i < 9; ++i) line(cr, 37 + i * 0.0, 9 + i * 4, 40.5, 10 + i * 4, 0.4, hex(0x9a8458));
    // Cover.
    rounded_rect(cr, 3, 2, 34, 44.5, 1.5);
    set_linear(cr, 3, 0, 37, 0, {{0, hex(0x4a2810)}, {0.35, hex(0x8a5428)}, {0.65, hex(0x6e3e1a)}, {1, hex(0x3e200c)}});
    cairo_fill_preserve(cr);
    stroke_col(cr, 1.2);
    // Leather grain.
    cairo_save(cr);
    rounded_rect(cr, 3, 2, 34, 44.5, 1.5);
    cairo_clip(cr);
    std::mt19937 rng(71);
    std::uniform_real_distribution<double> u(0, 1);
    for (int i = 0; i < 60; ++i) {
        ellipse(cr, 3 + u(rng) * 34, 2 + u(rng) * 44, 0.7, 0.5);
        set(cr, hex(u(rng) < 0.5 ? 0x2a1406 : 0xb07840, 0.35));
        cairo_fill(cr);
    }
    // Spine hinge.
    cairo_rectangle(cr, 3, 2, 5, 45);
    set_linear(cr, 3, 0, 8, 0, {{0, hex(0x2a1406, 0.8)}, {0.6, hex(0xa06a38, 0.5)}, {1, hex(0x2a1406, 0.6)}});
    cairo_fill(cr);
    cairo_restore(cr);
    // Gold tooling: a frame and a palm.
    rounded_rect(cr, 10.5, 6, 23, 36.5, 1);
    set(cr, pal::gold);
    cairo_set_line_width(cr, 1.0);
    cairo_stroke(cr);
    line(cr, 21.5, 36, 22.5, 21, 1.4, pal::gold_light);
    for (int i = 0; i < 5; ++i) {
        double a = -kPi / 2 + (i - 2) * 0.62;
        cairo_move_to(cr, 22.5, 21);
        cairo_curve_to(cr, 22.5 + std::cos(a - 0.4) * 5, 21 + std::sin(a - 0.4) * 5, 22.5 + std::cos(a) * 8,
                       21 + std::sin(a) * 8, 22.5 + std::cos(a + 0.25) * 9.5, 21 + std::sin(a + 0.25) * 9.5 + 2);
        set(cr, pal::gold_light);
        cairo_set_line_width(cr, 1.5);
        cairo_stroke(cr);
    }
    ellipse(cr, 22.8, 22.3, 1.2, 1.2);
    ellipse(cr, 21.2, 22.6, 1.1, 1.1);
    set(cr, pal::gold);
    cairo_fill(cr);
    // Grass tuft at the palm's foot and title bars.
    line(cr, 15, 36.5, 29, 36.5, 1.0, pal::gold);
    line(cr, 14, 9.5, 30, 9.5, 1.6, pal::gold_light);
    line(cr, 16.5, 39.5, 27.5, 39.5, 1.0, pal::gold);
}

// ------------------------------------------------------------ picture set
void paint_object_pictures(PictureMap& out) {
    sprite(out, "Picture37_0", "Picture37_1", 61, 29, draw_fly);
    sprite(out, "Picture39_0", "Picture39_1", 53, 47, draw_pot);
    sprite(out, "Picture41_0", "Picture41_1", 65, 46, draw_umbrella);
    sprite(out, "Picture44_0", "Picture44_1", 50, 49, draw_seed);
    sprite(out, "Picture54_0", "Picture54_1", 64, 21, draw_cloud);
    sprite(out, "Picture55_0", "Picture55_1", 34, 50, draw_fork);
    sprite(out, "Picture65_0", "Picture65_1", 31, 48, draw_leopard_skin);
    sprite(out, "Picture66_0", "Picture66_1", 43, 48, draw_flute);
    sprite(out, "Picture67_0", "Picture67_1", 50, 46, draw_rope_coil);
    sprite(out, "Picture71_0", "Picture71_1", 43, 48, draw_jungle_book);
    paint_world_pictures(out);
    paint_ui_pictures(out);
}

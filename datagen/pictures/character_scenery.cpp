// SPDX-License-Identifier: GPL-3.0-or-later
// The umbrella and the vine of the professor's pictures.
#include "datagen/pictures/character_scenery.h"

#include <cmath>
#include <vector>

namespace professor {

namespace {
// The same dark blue silk and wooden stick as the furled umbrella of the bar.
constexpr Tone kCanopy{hex(0x6f86b5), hex(0x2c3d66), hex(0x0b1020)};
constexpr Tone kWood{hex(0xd7a566), hex(0x9a6a3a), hex(0x5a3416)};

void stroke_path(cairo_t* cr, const std::vector<Pt>& pts, double width, Col c, double opacity = 1.0) {
    cairo_new_path(cr);
    for (size_t i = 0; i < pts.size(); ++i) {
        if (i == 0)
            cairo_move_to(cr, pts[i].x, pts[i].y);
        else
            cairo_line_to(cr, pts[i].x, pts[i].y);
    }
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_set_line_width(cr, width);
    set(cr, alpha(c, opacity));
    cairo_stroke(cr);
}

void leaf(cairo_t* cr, Pt at, double angle, double length, double width) {
    Pt d{std::cos(angle), std::sin(angle)};
    Pt n{-d.y, d.x};
    Pt tip = at + d * length;
    Path shape = [&](cairo_t* k) {
        Pt a1 = at + d * (length * 0.25) + n * width, a2 = at + d * (length * 0.75) + n * (width * 0.8);
        Pt b1 = at + d * (length * 0.75) - n * (width * 0.8), b2 = at + d * (length * 0.25) - n * width;
        cairo_move_to(k, at.x, at.y);
        cairo_curve_to(k, a1.x, a1.y, a2.x, a2.y, tip.x, tip.y);
        cairo_curve_to(k, b1.x, b1.y, b2.x, b2.y, at.x, at.y);
        cairo_close_path(k);
    };
    Pt mid = lerp(at, tip, 0.5);
    inked(cr, shape, lit_to_dark(mid + n * width * (n.y < 0 ? 1 : -1), mid - n * width * (n.y < 0 ? 1 : -1),
                                  pal::tone::leaf),
          1.3);
    stroke_path(cr, {at + d * 1.0, lerp(at, tip, 0.5) + n * 0.4, tip - d * 1.2}, 0.6, pal::tone::leaf.lit, 0.8);
}
}  // namespace

void paint_open_umbrella(cairo_t* cr, double cx, Pt grip) {
    const double half = 31.5, top = 5.0, rim = 32.0;
    std::vector<Pt> tips;
    for (int i = 0; i <= 8; ++i) {
        double x = cx - half + i * (2 * half / 8);
        double u = (x - cx) / half;
        tips.push_back({x, rim - 3.0 * (1 - u * u)});
    }
    Pt apex{cx, top};
    Path canopy = [&](cairo_t* k) {
        cairo_move_to(k, tips[0].x, tips[0].y);
        cairo_curve_to(k, tips[0].x, 14, cx - half * 0.55, top, cx, top);
        cairo_curve_to(k, cx + half * 0.55, top, tips[8].x, 14, tips[8].x, tips[8].y);
        for (int i = 8; i > 0; --i) {
            Pt a = tips[i], b = tips[i - 1];
            cairo_curve_to(k, a.x - 1.5, a.y - 3.2, b.x + 1.5, b.y - 3.2, b.x, b.y);
        }
        cairo_close_path(k);
    };
    // The shaft runs through the canopy and down to the crook.
    inked(cr, [&](cairo_t* k) { add_capsule(k, {cx, top + 2}, 0.9, grip + Pt{0, 1.5}, 0.9); },
          rounded_across({cx, top}, grip, 1.0, kWood), 1.2);
    inked(cr, canopy, lit_to_dark({cx - 14, top}, {cx + 16, rim + 2}, kCanopy), 1.8);
    auto rib = [&](cairo_t* k, int i, bool forward) {
        Pt t = tips[size_t(i)];
        Pt c1{cx + (t.x - cx) * 0.55, top + 0.3}, c2{t.x, (top + t.y) / 2 - 5.5};
        if (forward) {
            cairo_curve_to(k, c1.x, c1.y, c2.x, c2.y, t.x, t.y);
        } else {
            cairo_curve_to(k, c2.x, c2.y, c1.x, c1.y, apex.x, apex.y);
        }
    };
    cairo_save(cr);
    cairo_new_path(cr);
    canopy(cr);
    cairo_clip(cr);
    for (int i = 0; i < 8; i += 2) {
        cairo_new_path(cr);
        cairo_move_to(cr, apex.x, apex.y);
        rib(cr, i, true);
        Pt a = tips[size_t(i)], b = tips[size_t(i + 1)];
        cairo_curve_to(cr, a.x + 1.5, a.y - 3.2, b.x - 1.5, b.y - 3.2, b.x, b.y);
        rib(cr, i + 1, false);
        cairo_close_path(cr);
        set(cr, alpha(kCanopy.dark, 0.35));
        cairo_fill(cr);
    }
    for (int i = 1; i < 8; ++i) {
        cairo_new_path(cr);
        cairo_move_to(cr, apex.x, apex.y);
        rib(cr, i, true);
        set(cr, alpha(pal::ink, 0.8));
        cairo_set_line_width(cr, 0.8);
        cairo_stroke(cr);
    }
    // Sheen on the silk and the shadowed hem.
    cairo_pattern_t* g = cairo_pattern_create_radial(cx - 11, top + 8, 0, cx - 11, top + 8, 13);
    cairo_pattern_add_color_stop_rgba(g, 0, 0.62, 0.72, 0.92, 0.6);
    cairo_pattern_add_color_stop_rgba(g, 1, 0.62, 0.72, 0.92, 0);
    cairo_set_source(cr, g);
    cairo_paint(cr);
    cairo_pattern_destroy(g);
    cairo_restore(cr);
    for (size_t i = 0; i < tips.size(); ++i) {
        cairo_new_path(cr);
        add_circle(cr, tips[i], 0.9);
        set(cr, pal::tone::steel.lit);
        cairo_fill_preserve(cr);
        set(cr, pal::ink);
        cairo_set_line_width(cr, 0.5);
        cairo_stroke(cr);
    }
    inked(cr, [&](cairo_t* k) { add_capsule(k, {cx, 0.8}, 0.7, {cx, top + 0.5}, 1.2); },
          rounded_across({cx, 0}, {cx, top}, 1.2, pal::tone::gold), 1.0);
    // The wooden handle, where his hand closes round it.
    inked(cr, [&](cairo_t* k) { add_capsule(k, grip + Pt{0, -7}, 1.3, grip + Pt{0, 2.5}, 1.7); },
          rounded_across(grip + Pt{0, -7}, grip, 1.7, kWood), 1.2);
}

void paint_vine(cairo_t* cr, const std::function<double(double)>& centre_at, double y0, double y1,
                unsigned seed) {
    std::vector<Pt> stem;
    for (double y = y0; y <= y1 + 0.01; y += 2) stem.push_back({centre_at(y), y});
    Dice dice{seed};
    // Leaves behind the stem on the far side first, the rest in front.
    struct Leaf {
        Pt at;
        double angle, length, width;
    };
    std::vector<Leaf> leaves;
    int side = int(seed % 2) * 2 - 1;
    for (double y = y0 + 10; y < y1 - 10; y += 15 + dice.next() * 7) {
        double x = centre_at(y);
        double angle = side > 0 ? 0.55 + dice.next() * 0.5 : kPi - 0.55 - dice.next() * 0.5;
        leaves.push_back({{x + side * 1.5, y}, angle, 10.5 + dice.next() * 3.0, 4.0 + dice.next() * 1.4});
        side = -side;
    }
    stroke_path(cr, stem, 7.0, pal::ink);
    for (size_t i = 0; i < leaves.size(); i += 3) leaf(cr, leaves[i].at, leaves[i].angle, leaves[i].length, leaves[i].width);
    stroke_path(cr, stem, 7.0, pal::ink);
    stroke_path(cr, stem, 5.0, pal::tone::liana.base);
    std::vector<Pt> dark, lit;
    for (Pt p : stem) {
        dark.push_back(p + Pt{1.4, 0});
        lit.push_back(p + Pt{-1.3, 0});
    }
    stroke_path(cr, dark, 1.4, pal::tone::liana.dark, 0.9);
    stroke_path(cr, lit, 1.1, pal::tone::liana.lit, 0.9);
    // The twist of the liana's strands.
    for (double y = y0 + 3; y < y1 - 2; y += 7) {
        double x = centre_at(y);
        cairo_new_path(cr);
        cairo_move_to(cr, x - 2.2, y - 1.6);
        cairo_curve_to(cr, x - 0.5, y - 0.4, x + 0.5, y + 0.8, x + 2.2, y + 2.4);
        set(cr, alpha(pal::tone::liana.dark, 0.8));
        cairo_set_line_width(cr, 0.7);
        cairo_stroke(cr);
    }
    for (size_t i = 0; i < leaves.size(); ++i)
        if (i % 3 != 0) leaf(cr, leaves[i].at, leaves[i].angle, leaves[i].length, leaves[i].width);
    // A thinner strand winding round the stem, in front where it faces us.
    for (double y = y0; y < y1 - 4; y += 2 * kPi * 3.2) {
        std::vector<Pt> turn;
        for (double t = 0; t <= kPi; t += 0.2) {
            double yy = y + t * 3.2;
            if (yy > y1 - 2) break;
            turn.push_back({centre_at(yy) + 3.0 * std::cos(t), yy});
        }
        if (turn.size() < 2) continue;
        stroke_path(cr, turn, 2.8, pal::ink);
        stroke_path(cr, turn, 1.3, mix(pal::tone::liana.base, pal::tone::leaf.base, 0.5));
    }
    // A few curling tendrils.
    for (size_t i = 1; i < leaves.size(); i += 3) {
        Pt a = leaves[i].at + Pt{0, 7};
        double s = std::cos(leaves[i].angle) > 0 ? -1.0 : 1.0;
        std::vector<Pt> curl;
        for (int k = 0; k <= 14; ++k) {
            double t = k / 14.0;
            double r = 3.0 * (1 - t) + 1.0;
            double ang = t * 1.6 * kPi;
            curl.push_back(a + Pt{s * (3.0 + r * std::cos(ang) - 4.0), 1.0 + r * std::sin(ang) + t * 3});
        }
        stroke_path(cr, curl, 1.9, pal::ink);
        stroke_path(cr, curl, 0.8, pal::tone::leaf.lit);
    }
}

}  // namespace professor

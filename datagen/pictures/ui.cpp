// SPDX-License-Identifier: GPL-3.0-or-later
// The pictures around the play: the wooden frame, the inventory bar, the
// banners, the books on the shelves with their gold title plates, and the
// pointer icons.
#include <algorithm>
#include <cmath>
#include <random>
#include <string>

#include "datagen/paint/brush.h"
#include "datagen/pictures/objects.h"

namespace {

// ------------------------------------------------------- book spines
// Drawn when the pointer finds a book, lit as every found book is.
Surface spine(int w, int h, Col leather, int bands, uint32_t seed) {
    Surface s = plain(w, h, 0, [=](cairo_t* cr) {
        // A rounded spine: dark at both edges, a sheen down the middle.
        set_linear(cr, 0, 0, w, 0,
                   {{0, darker(leather, 0.6)}, {0.3, lighter(leather, 0.35)}, {0.45, lighter(leather, 0.15)},
                    {0.8, darker(leather, 0.2)}, {1, darker(leather, 0.65)}});
        cairo_paint(cr);
        std::mt19937 rng(seed);
        std::uniform_real_distribution<double> u(0, 1);
        for (int i = 0; i < w * h / 6; ++i) {
            cairo_rectangle(cr, u(rng) * w, u(rng) * h, 1, 1);
            set(cr, u(rng) < 0.5 ? hex(0x000000, 0.12) : hex(0xffffff, 0.08));
            cairo_fill(cr);
        }
        // Raised bands: a ridge lit from above between two fine gold rules.
        auto band = [&](double y) {
            cairo_rectangle(cr, 0, y - 1.1, w, 2.2);
            set_linear(cr, 0, y - 1.1, 0, y + 1.1,
                       {{0, lighter(leather, 0.45)}, {0.5, leather}, {1, darker(leather, 0.55)}});
            cairo_fill(cr);
            for (double dy : {-1.9, 1.9}) {
                cairo_move_to(cr, 0, y + dy);
                cairo_line_to(cr, w, y + dy);
                stroke_col(cr, 0.6, alpha(pal::gold_light, 0.9));
            }
        };
        band(h * 0.1);
        band(h * 0.9);
        // A dark title label tooled in gold, between the upper bands.
        Col label = mix(leather, hex(0x120806), 0.6);
        double ly = h * 0.2, lh = std::max(5.0, h * 0.24);
        cairo_rectangle(cr, 1.5, ly, w - 3, lh);
        set_linear(cr, 0, ly, 0, ly + lh, {{0, lighter(label, 0.15)}, {1, darker(label, 0.3)}});
        cairo_fill(cr);
        cairo_rectangle(cr, 2, ly + 0.5, w - 4, lh - 1);
        stroke_col(cr, 0.5, alpha(pal::gold, 0.9));
        for (int i = 0; i < 2; ++i) {
            double y = ly + lh * (0.36 + i * 0.3);
            cairo_move_to(cr, 3.5, y);
            cairo_line_to(cr, w - 3.5 - i * 2, y);
            stroke_col(cr, 0.9, pal::gold_light);
        }
        band(ly + lh + 2.2);
        if (bands > 2) band(h * 0.7);
        // A small gold flower low on the spine.
        double fy = bands > 2 ? h * 0.8 : h * 0.68;
        ellipse(cr, w / 2.0, fy, 1.5, 1.5);
        set_radial(cr, w / 2.0 - 0.4, fy - 0.4, 0.1, 1.8, {{0, pal::gold_shine}, {1, pal::gold_dark}});
        cairo_fill(cr);
        for (int i = 0; i < 4; ++i) {
            double a = i * kPi / 2 + kPi / 4;
            ellipse(cr, w / 2.0 + std::cos(a) * 2.4, fy + std::sin(a) * 2.4, 0.6, 0.6);
            set(cr, pal::gold);
            cairo_fill(cr);
        }
    });
    light_found_book(s);
    return s;
}

// The red book lying flat, seen from its fore-edge: cover, pages, cover.
Surface flat_book(bool light) {
    return plain(35, 12, 0, [light](cairo_t* cr) {
        Col red = light ? hex(0xd8382a) : hex(0x8e1f1a);
        set_linear(cr, 0, 0, 0, 12, {{0, darker(red, 0.5)}, {1, darker(red, 0.7)}});
        cairo_paint(cr);
        // Top board.
        rounded_rect(cr, 0, 0.5, 35, 3.5, 1);
        set_linear(cr, 0, 0.5, 0, 4, {{0, lighter(red, 0.35)}, {1, red}});
        cairo_fill(cr);
        // Page block with its lines.
        cairo_rectangle(cr, 1.5, 4, 32.5, 4.5);
        set_linear(cr, 0, 4, 0, 8.5, {{0, light ? hex(0xfff4d8) : hex(0xd8c8a0)}, {1, light ? hex(0xd8c8a0) : hex(0x9a8a68)}});
        cairo_fill(cr);
        for (int i = 0; i < 3; ++i) {
            cairo_move_to(cr, 2, 5.2 + i * 1.2);
            cairo_line_to(cr, 34, 5.2 + i * 1.2);
            stroke_col(cr, 0.35, hex(0x6a5a40, 0.7));
        }
        // Bottom board.
        rounded_rect(cr, 0, 8.5, 35, 3, 1);
        set_linear(cr, 0, 8.5, 0, 11.5, {{0, red}, {1, darker(red, 0.5)}});
        cairo_fill(cr);
        // Gold edge tooling on the boards.
        cairo_move_to(cr, 2, 1.7);
        cairo_line_to(cr, 33, 1.7);
        cairo_move_to(cr, 2, 10);
        cairo_line_to(cr, 33, 10);
        stroke_col(cr, 0.6, light ? pal::gold_shine : pal::gold);
    });
}

// --------------------------------------------------------- title plates
Surface title_plate(int w, int h, const std::string& author, const std::string& title) {
    return plain(w, h, 0, [=](cairo_t* cr) {
        // Dark mount behind, then a bevelled gold plate.
        set(cr, hex(0x1a0e06));
        cairo_paint(cr);
        rounded_rect(cr, 1, 1, w - 2, h - 2, 3);
        set_linear(cr, 0, 0, 0, h, {{0, pal::gold_shine}, {0.2, pal::gold_light}, {0.55, pal::gold}, {1, pal::gold_dark}});
        cairo_fill(cr);
        rounded_rect(cr, 3, 3, w - 6, h - 6, 2);
        set_linear(cr, 0, 3, 0, h - 3, {{0, hex(0xe8b850)}, {0.5, hex(0xf8dc88)}, {1, hex(0xc89030)}});
        cairo_fill(cr);
        // Brushed metal.
        std::mt19937 rng(w * 131 + h + int(title.size()));
        std::uniform_real_distribution<double> u(0, 1);
        for (int i = 0; i < 40; ++i) {
            double y = 3.5 + u(rng) * (h - 7), x = 3 + u(rng) * (w - 30);
            cairo_move_to(cr, x, y);
            cairo_line_to(cr, x + 10 + u(rng) * 30, y);
            stroke_col(cr, 0.4, u(rng) < 0.5 ? hex(0xfff4c4, 0.35) : hex(0x8a5a10, 0.2));
        }
        // Rim lines and the four screws.
        rounded_rect(cr, 3.5, 3.5, w - 7, h - 7, 2);
        stroke_col(cr, 0.6, hex(0x7a4f12, 0.9));
        for (double sx : {6.0, w - 6.0})
            for (double sy : {6.0, h - 6.0}) {
                ellipse(cr, sx, sy, 1.8, 1.8);
                set_radial(cr, sx - 0.5, sy - 0.5, 0.1, 2.2, {{0, pal::gold_shine}, {1, pal::gold_dark}});
                cairo_fill(cr);
                cairo_move_to(cr, sx - 1.2, sy + 1.0);
                cairo_line_to(cr, sx + 1.2, sy - 1.0);
                stroke_col(cr, 0.5, hex(0x4a2a08));
            }
        // Engraved letters: the author small, the title larger and in italics.
        double tw = w - 20;
        double s_author = fit_text(cr, author, "DejaVu Serif", tw, h * 0.3, h * 0.24);
        double s_title = fit_text(cr, title, "DejaVu Serif Bold Italic", tw, h * 0.45, h * 0.34);
        Col face = hex(0x3a1e04), rim = hex(0xfff0b8, 0.8);
        engraved_text(cr, author, "DejaVu Serif " + std::to_string(s_author), 10, h * 0.12, tw, Align::Centre, face,
                      rim);
        engraved_text(cr, title, "DejaVu Serif Bold Italic " + std::to_string(s_title), 10, h * 0.43, tw,
                      Align::Centre, face, rim);
    });
}

// --------------------------------------------------------------- banners
Surface banner(int w, int h, const std::string& text, Col field) {
    return plain(w, h, 0, [=](cairo_t* cr) {
        set(cr, hex(0x140806));
        cairo_paint(cr);
        // Gold frame.
        rounded_rect(cr, 1.5, 1.5, w - 3, h - 3, 5);
        set_linear(cr, 0, 0, 0, h, {{0, pal::gold_shine}, {0.3, pal::gold}, {0.7, pal::gold_dark}, {1, pal::gold}});
        cairo_fill(cr);
        // The cloth: a deep field with a soft light in the middle and folds.
        rounded_rect(cr, 5, 5, w - 10, h - 10, 3);
        cairo_save(cr);
        cairo_clip_preserve(cr);
        set_radial(cr, w / 2.0, h * 0.4, 2, w * 0.6,
                   {{0, lighter(field, 0.25)}, {0.5, field}, {1, darker(field, 0.55)}});
        cairo_paint(cr);
        for (int i = 0; i < 9; ++i) {
            double x = 5 + (w - 10) * (i + 0.5) / 9;
            set_linear(cr, x - 8, 0, x + 8, 0,
                       {{0, hex(0x000000, 0)}, {0.5, hex(0x000000, 0.07)}, {1, hex(0x000000, 0)}});
            cairo_rectangle(cr, x - 8, 0, 16, h);
            cairo_fill(cr);
        }
        // A damask of little diamonds.
        for (double y = 9; y < h - 6; y += 8)
            for (double x = 9 + (int(y) % 16 == 1 ? 4 : 0); x < w - 6; x += 8) {
                cairo_move_to(cr, x, y - 1.6);
                cairo_line_to(cr, x + 1.6, y);
                cairo_line_to(cr, x, y + 1.6);
                cairo_line_to(cr, x - 1.6, y);
                cairo_close_path(cr);
                set(cr, lighter(field, 0.3));
                cairo_set_source_rgba(cr, 1, 1, 1, 0.07);
                cairo_fill(cr);
            }
        cairo_restore(cr);
        cairo_new_path(cr);
        rounded_rect(cr, 7.5, 7.5, w - 15, h - 15, 2);
        stroke_col(cr, 0.8, alpha(pal::gold_light, 0.7));
        // The words.
        double size = fit_text(cr, text, "DejaVu Serif Bold Italic", w - 26, h - 18, h * 0.4);
        std::string font = "DejaVu Serif Bold Italic " + std::to_string(size);
        TextBox box = measure_text(cr, text, font);
        // Gold letters on red; on the brighter orange, cream ones in a dark rim.
        bool bright = field.g > 0.35;
        if (bright) {
            text_path(cr, text, font, 5, (h - box.h) / 2, w - 10, Align::Centre);
            cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
            stroke_col(cr, 3.2, hex(0x3a1404));
        }
        embossed_text(cr, text, font, 5, (h - box.h) / 2, w - 10, Align::Centre,
                      bright ? hex(0xffffff) : pal::gold_shine, bright ? hex(0xffe08a) : pal::gold, hex(0x1a0804),
                      hex(0xffffff, 0.6));
    });
}

// ----------------------------------------------------------- the bar
Surface inventory_bar() {
    return plain(400, 60, 0, [](cairo_t* cr) {
        // Gold border, bevelled.
        set_linear(cr, 0, 0, 0, 60, {{0, pal::gold_shine}, {0.15, pal::gold_light}, {0.5, pal::gold}, {1, pal::gold_dark}});
        cairo_paint(cr);
        cairo_rectangle(cr, 0.5, 0.5, 399, 59);
        stroke_col(cr, 1, hex(0x3a2006));
        cairo_rectangle(cr, 4, 4, 392, 52);
        set_linear(cr, 0, 4, 0, 56, {{0, pal::gold_dark}, {1, pal::gold_shine}});
        cairo_fill(cr);
        // Purple velvet field.
        cairo_rectangle(cr, 5, 5, 390, 50);
        set_linear(cr, 0, 5, 0, 55, {{0, hex(0x1e0a2c)}, {0.18, hex(0x3e1a5c)}, {0.6, pal::purple}, {1, hex(0x34164e)}});
        cairo_fill(cr);
        // Each of the four slots a soft hollow of its own.
        for (int i = 0; i < 4; ++i) {
            double cx = 50 + i * 100;
            set_radial(cr, cx, 30, 4, 48, {{0, hex(0x8a5ab8, 0.45)}, {1, hex(0x8a5ab8, 0)}});
            cairo_rectangle(cr, cx - 48, 6, 96, 48);
            cairo_fill(cr);
        }
        // Slot dividers: thin gold cords with a bead at each end.
        for (int i = 1; i < 4; ++i) {
            double x = i * 100;
            cairo_move_to(cr, x, 9);
            cairo_line_to(cr, x, 51);
            stroke_col(cr, 2.2, hex(0x1a0828, 0.8));
            cairo_move_to(cr, x - 0.5, 9);
            cairo_line_to(cr, x - 0.5, 51);
            stroke_col(cr, 1.0, alpha(pal::gold, 0.8));
            for (double y : {9.0, 51.0}) {
                ellipse(cr, x, y, 2, 2);
                set_radial(cr, x - 0.6, y - 0.6, 0.1, 2.2, {{0, pal::gold_shine}, {1, pal::gold_dark}});
                cairo_fill(cr);
            }
        }
        // Inner shadow under the top of the border.
        set_linear(cr, 0, 5, 0, 12, {{0, hex(0x000000, 0.55)}, {1, hex(0x000000, 0)}});
        cairo_rectangle(cr, 5, 5, 390, 7);
        cairo_fill(cr);
        // The velvet's pile: a fine, soft mottle over the field only.
        cairo_surface_t* target = cairo_get_target(cr);
        for_pixels(target, [](int x, int y, double& r, double& g, double& b, double&) {
            if (x < 6 || x > 393 || y < 6 || y > 53 || x % 100 == 0 || x % 100 == 99) return;
            double n = 0.9 + 0.14 * fbm(x * 0.09, y * 0.35, 77, 3) + 0.05 * noise2(x * 0.9, y * 0.9, 78);
            r *= n;
            g *= n;
            b *= n;
        });
    });
}

// -------------------------------------------------- the wooden frame
Surface wooden_frame() {
    const int W = 480, H = 540, B = 35;
    cairo_surface_t* c = new_canvas(W, H);
    cairo_t* cr = cairo_create(c);
    // The moulding's profile, from the outer edge inwards (0 .. 35).
    auto profile = [&](double x0, double y0, double x1, double y1) {
        cairo_pattern_t* p = cairo_pattern_create_linear(x0, y0, x1, y1);
        const struct { double at; uint32_t c; } st[] = {
            {0.00, 0x1e0e06}, {0.04, 0x7a4422}, {0.10, 0xb8783e}, {0.16, 0x6e3c1a}, {0.22, 0x4a2810},
            {0.30, 0x8e5428}, {0.42, 0xc8874a}, {0.52, 0x9a5c2c}, {0.62, 0x5a3014}, {0.70, 0x3a1e0c},
            {0.78, 0x7a4420}, {0.86, 0xa86a36}, {0.93, 0x4a2810}, {1.00, 0x1e0e06}};
        for (auto& s : st) {
            Col k = hex(s.c);
            cairo_pattern_add_color_stop_rgb(p, s.at, k.r, k.g, k.b);
        }
        cairo_set_source(cr, p);
        cairo_pattern_destroy(p);
    };
    // Four mitred sides.
    struct Side { double pts[8]; double g[4]; };
    const Side sides[] = {
        {{0, 0, W, 0, W - B, B, B, B}, {0, 0, 0, B}},
        {{0, H, W, H, W - B, H - B, B, H - B}, {0, H, 0, H - B}},
        {{0, 0, B, B, B, H - B, 0, H}, {0, 0, B, 0}},
        {{W, 0, W - B, B, W - B, H - B, W, H}, {W, 0, W - B, 0}},
    };
    for (const Side& s : sides) {
        cairo_move_to(cr, s.pts[0], s.pts[1]);
        for (int i = 1; i < 4; ++i) cairo_line_to(cr, s.pts[i * 2], s.pts[i * 2 + 1]);
        cairo_close_path(cr);
        profile(s.g[0], s.g[1], s.g[2], s.g[3]);
        cairo_fill(cr);
    }
    // Mitre joints.
    for (double k : {0.0, 1.0}) {
        cairo_move_to(cr, k * W, 0);
        cairo_line_to(cr, k ? W - B : B, B);
        cairo_move_to(cr, k * W, H);
        cairo_line_to(cr, k ? W - B : B, H - B);
    }
    stroke_col(cr, 0.8, hex(0x1e0e06, 0.7));
    // Inside: black, with a thin gilt slip round the opening.
    cairo_rectangle(cr, B, B, W - 2 * B, H - 2 * B);
    set(cr, hex(0x000000));
    cairo_fill(cr);
    cairo_rectangle(cr, B + 0.5, B + 0.5, W - 2 * B - 1, H - 2 * B - 1);
    set_linear(cr, 0, B, 0, H - B, {{0, pal::gold_light}, {0.5, pal::gold}, {1, pal::gold_dark}});
    cairo_set_line_width(cr, 2.5);
    cairo_stroke(cr);
    cairo_rectangle(cr, B + 2.5, B + 2.5, W - 2 * B - 5, H - 2 * B - 5);
    stroke_col(cr, 1.0, hex(0x3a2006));
    // Carved corner rosettes.
    auto rosette = [&](double cx, double cy) {
        set_radial(cr, cx, cy, 2, 17, {{0, hex(0x000000, 0.6)}, {1, hex(0x000000, 0)}});
        cairo_arc(cr, cx, cy, 17, 0, 2 * kPi);
        cairo_fill(cr);
        for (int i = 0; i < 8; ++i) {
            double a = i * kPi / 4;
            cairo_save(cr);
            cairo_translate(cr, cx, cy);
            cairo_rotate(cr, a);
            cairo_move_to(cr, 0, 0);
            cairo_curve_to(cr, 4, -5, 11, -4, 13, 0);
            cairo_curve_to(cr, 11, 4, 4, 5, 0, 0);
            set_linear(cr, 0, -4, 0, 4, {{0, hex(0xd8965a)}, {0.5, hex(0x9a5c2c)}, {1, hex(0x3a1e0c)}});
            cairo_fill_preserve(cr);
            stroke_col(cr, 0.7, hex(0x1e0e06));
            cairo_restore(cr);
        }
        cairo_arc(cr, cx, cy, 4.5, 0, 2 * kPi);
        set_radial(cr, cx - 1.5, cy - 1.5, 0.5, 5, {{0, pal::gold_shine}, {0.5, pal::gold}, {1, pal::gold_dark}});
        cairo_fill_preserve(cr);
        stroke_col(cr, 0.7, hex(0x1e0e06));
    };
    rosette(B / 2.0, B / 2.0);
    rosette(W - B / 2.0, B / 2.0);
    rosette(B / 2.0, H - B / 2.0);
    rosette(W - B / 2.0, H - B / 2.0);
    // Carved leaves along the middle of each side, between the rosettes.
    auto leaf_run = [&](double x0, double y0, double x1, double y1) {
        double len = std::hypot(x1 - x0, y1 - y0);
        int n = int(len / 22);
        for (int i = 0; i < n; ++i) {
            double t = (i + 0.5) / n;
            double x = x0 + (x1 - x0) * t, y = y0 + (y1 - y0) * t;
            cairo_save(cr);
            cairo_translate(cr, x, y);
            cairo_rotate(cr, std::atan2(y1 - y0, x1 - x0));
            for (int s = -1; s <= 1; s += 2) {
                cairo_move_to(cr, -8, 0);
                cairo_curve_to(cr, -4, s * 5.5, 4, s * 5.5, 8, 0);
                cairo_curve_to(cr, 3, s * 2, -3, s * 2, -8, 0);
                set(cr, s < 0 ? hex(0xd8965a, 0.55) : hex(0x1e0e06, 0.45));
                cairo_fill(cr);
            }
            cairo_arc(cr, 9.5, 0, 1.6, 0, 2 * kPi);
            set(cr, hex(0xe0a868, 0.7));
            cairo_fill(cr);
            cairo_restore(cr);
        }
    };
    double m = 12.5;
    leaf_run(B + 6, m, W - B - 6, m);
    leaf_run(B + 6, H - m, W - B - 6, H - m);
    leaf_run(m, B + 6, m, H - B - 6);
    leaf_run(W - m, B + 6, W - m, H - B - 6);
    // A carved string of beads round the opening.
    auto beads = [&](double x0, double y0, double x1, double y1) {
        double len = std::hypot(x1 - x0, y1 - y0);
        int n = int(len / 5.2);
        for (int i = 0; i <= n; ++i) {
            double t = double(i) / n, x = x0 + (x1 - x0) * t, y = y0 + (y1 - y0) * t;
            bool vertical = x0 == x1;
            ellipse(cr, x + 0.6, y + 0.7, vertical ? 1.7 : 2.0, vertical ? 2.0 : 1.7);
            set(cr, hex(0x1e0e06, 0.6));
            cairo_fill(cr);
            ellipse(cr, x, y, vertical ? 1.6 : 1.9, vertical ? 1.9 : 1.6);
            set_radial(cr, x - 0.6, y - 0.6, 0.1, 2.2, {{0, hex(0xf0b878)}, {0.6, hex(0xa86a36)}, {1, hex(0x5a3014)}});
            cairo_fill(cr);
        }
    };
    const double bi = 30.5;
    beads(bi, bi, W - bi, bi);
    beads(bi, H - bi, W - bi, H - bi);
    beads(bi, bi + 5.2, bi, H - bi - 5.2);
    beads(W - bi, bi + 5.2, W - bi, H - bi - 5.2);
    cairo_destroy(cr);
    // Wood grain along each side.
    for_pixels(c, [&](int x, int y, double& r, double& g, double& b, double&) {
        if (x >= B && x < W - B && y >= B && y < H - B) return;
        int dl = x, dr = W - 1 - x, dt = y, db = H - 1 - y;
        bool horizontal = std::min(dt, db) <= std::min(dl, dr);
        double along = horizontal ? x : y, across = horizontal ? std::min(dt, db) : std::min(dl, dr);
        double n = fbm(along * 0.015, across * 0.35 + fbm(along * 0.01, across * 0.05, 3) * 3, 11, 4);
        double streak = 0.82 + 0.36 * n + 0.08 * std::sin(across * 1.7 + n * 9);
        r *= streak;
        g *= streak;
        b *= streak;
    });
    Surface s = flatten(c, 0);
    cairo_surface_destroy(c);
    // The picture's own name on a small brass plate in the bottom rail.
    cairo_surface_t* plate = new_canvas(W, H);
    cr = cairo_create(plate);
    double pw = 150, ph = 20, px = (W - pw) / 2, py = H - B + (B - ph) / 2 + 1;
    rounded_rect(cr, px - 1, py - 1, pw + 2, ph + 2, 4);
    set(cr, hex(0x1e0e06, 0.9));
    cairo_fill(cr);
    rounded_rect(cr, px, py, pw, ph, 3);
    set_linear(cr, 0, py, 0, py + ph, {{0, pal::gold_shine}, {0.4, pal::gold}, {1, pal::gold_dark}});
    cairo_fill(cr);
    engraved_text(cr, "Gioco di Lexovo", "DejaVu Serif Bold Italic 10.5", px, py + 2.5, pw, Align::Centre,
                  hex(0x3a1e04), hex(0xfff0b8, 0.8));
    cairo_destroy(cr);
    const CanvasPixels lettering = canvas_pixels(plate);
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) {
            const uint32_t p = lettering.row(y)[x];
            if (p >> 24) s.set(x, y, over(p, s.get(x, y)));
        }
    cairo_surface_destroy(plate);
    return s;
}

// ------------------------------------------------------------ pointers
constexpr Rgb kMagenta = rgb(255, 0, 255);

// A 32 x 32 pointer painted by fn(cairo_t*), thresholded: half-covered
// pixels keep a dark edge, the rest is magenta.
template <class Fn>
Surface icon(Fn fn) {
    cairo_surface_t* c = painted(32, 32, fn);
    const CanvasPixels px = canvas_pixels(c);
    Surface s(px.width, px.height, kMagenta);
    for (int y = 0; y < px.height; ++y) {
        const uint32_t* row = px.row(y);
        for (int x = 0; x < px.width; ++x) {
            uint32_t p = row[x];
            if ((p >> 24) >= 110) {
                Rgb v = over(p, rgb(20, 10, 4));
                if (v == kMagenta) v = rgb(254, 0, 254);
                s.set(x, y, v);
            }
        }
    }
    cairo_surface_destroy(c);
    return s;
}

// A fat bevelled arrow pointing right, turned by `turns` quarter turns.
Surface arrow_icon(int turns) {
    return icon([turns](cairo_t* cr) {
        cairo_translate(cr, 16, 16);
        cairo_rotate(cr, turns * kPi / 2);
        auto shape = [&](double dx, double dy) {
            cairo_new_path(cr);
            const double p[][2] = {{-13, -5}, {1, -5}, {1, -12}, {14, 0}, {1, 12}, {1, 5}, {-13, 5}};
            polygon(cr, p, dx, dy);
        };
        // The extruded side, in light from the upper left whatever the direction.
        double ex = 1.4, ey = 1.4;
        double cs = std::cos(-turns * kPi / 2), sn = std::sin(-turns * kPi / 2);
        double lx = ex * cs - ey * sn, ly = ex * sn + ey * cs;
        for (int i = 3; i >= 1; --i) {
            shape(lx * i, ly * i);
            set(cr, hex(0x5a3008));
            cairo_fill_preserve(cr);
            stroke_col(cr, 1.4, hex(0x1a0c02));
        }
        // The face, lit from the upper left whatever the direction (the path
        // stays where it was built, the gradient is laid in screen space).
        shape(0, 0);
        cairo_save(cr);
        cairo_identity_matrix(cr);
        set_linear(cr, 3, 3, 27, 27,
                   {{0, hex(0xfff6c0)}, {0.3, hex(0xfbd24a)}, {0.7, hex(0xe08a12)}, {1, hex(0xa85804)}});
        cairo_fill_preserve(cr);
        cairo_restore(cr);
        stroke_col(cr, 1.5, hex(0x1a0c02));
        // A bright bevel just inside the face's edge.
        cairo_save(cr);
        cairo_scale(cr, 0.78, 0.7);
        cairo_translate(cr, -1.2, 0);
        shape(0, 0);
        cairo_restore(cr);
        cairo_save(cr);
        cairo_identity_matrix(cr);
        set_linear(cr, 6, 6, 20, 20, {{0, hex(0xffffff, 0.55)}, {1, hex(0xffffff, 0)}});
        cairo_set_line_width(cr, 1.2);
        cairo_stroke(cr);
        cairo_restore(cr);
    });
}

Surface plain_arrow_icon() {
    return icon([](cairo_t* cr) {
        const double p[][2] = {{2, 2}, {2, 25}, {8, 19.5}, {12.5, 29}, {17, 27}, {12.8, 17.8}, {20.5, 17.8}};
        // A soft drop shadow, then the classic white arrow with a black rim.
        polygon(cr, p, 2, 2);
        set(cr, hex(0x000000, 0.6));
        cairo_fill(cr);
        polygon(cr, p);
        set_linear(cr, 2, 2, 18, 26, {{0, hex(0xffffff)}, {1, hex(0xd8d0c0)}});
        cairo_fill_preserve(cr);
        cairo_set_line_join(cr, CAIRO_LINE_JOIN_MITER);
        stroke_col(cr, 1.6, hex(0x000000));
    });
}

// The game's own icon: a red book with the professor's round glasses on it.
Surface window_icon() {
    return icon([](cairo_t* cr) {
        // Page block and cover.
        cairo_move_to(cr, 6, 5);
        cairo_line_to(cr, 28, 3);
        cairo_line_to(cr, 29, 27);
        cairo_line_to(cr, 7, 29);
        cairo_close_path(cr);
        set(cr, hex(0xf4e6c0));
        cairo_fill_preserve(cr);
        stroke_col(cr, 1.2, pal::ink);
        cairo_move_to(cr, 3, 4);
        cairo_line_to(cr, 25, 2);
        cairo_line_to(cr, 26, 26);
        cairo_line_to(cr, 4, 28);
        cairo_close_path(cr);
        set_linear(cr, 3, 2, 26, 28, {{0, hex(0xe04a34)}, {0.5, hex(0xa82218)}, {1, hex(0x5a0e0a)}});
        cairo_fill_preserve(cr);
        stroke_col(cr, 1.2, pal::ink);
        cairo_move_to(cr, 6.5, 4);
        cairo_line_to(cr, 7.5, 27.5);
        stroke_col(cr, 1.2, hex(0x3a0806, 0.8));
        cairo_rectangle(cr, 10, 7, 12, 3);
        set(cr, pal::gold_light);
        cairo_fill(cr);
        // Glasses.
        for (double x : {12.0, 21.0}) {
            cairo_new_path(cr);
            cairo_arc(cr, x, 19, 4.2, 0, 2 * kPi);
            set(cr, hex(0xc8e0ff, 0.55));
            cairo_fill_preserve(cr);
            stroke_col(cr, 1.6, hex(0x1a1410));
            cairo_new_path(cr);
            cairo_arc(cr, x - 1.3, 17.6, 1.2, 0, 2 * kPi);
            set(cr, hex(0xffffff, 0.9));
            cairo_fill(cr);
        }
        cairo_new_path(cr);
        cairo_arc(cr, 16.5, 18.5, 1.8, kPi * 1.1, kPi * 1.9);
        stroke_col(cr, 1.5, hex(0x1a1410));
    });
}

}  // namespace

void light_found_book(Surface& s) {
    const int w = s.width(), h = s.height();
    auto channel = [](Rgb c, int shift) { return int((c >> shift) & 255); };
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const int edge = std::min({x, y, w - 1 - x, h - 1 - y});
            if (edge == 0) {
                s.set(x, y, rgb(255, 250, 214));
            } else if (edge == 1) {
                s.set(x, y, rgb(255, 204, 60));
            } else {
                // Warm light over the book: 40 % of the way to a candle's glow.
                const Rgb c = s.get(x, y);
                auto lit = [&](int v, int to) { return int(std::lround(v + (to - v) * 0.4)); };
                s.set(x, y, rgb(lit(channel(c, 16), 255), lit(channel(c, 8), 226), lit(channel(c, 0), 150)));
            }
        }
}

void paint_ui_pictures(PictureMap& out) {
    out["Picture21"] = spine(17, 32, pal::leather_brown, 3, 21);
    out["Picture24"] = spine(14, 20, pal::leather_blue, 2, 24);
    out["Picture27"] = spine(13, 25, hex(0xa8501e), 2, 27);
    out["Picture29"] = spine(17, 26, pal::leather_green, 2, 29);
    out["Picture45"] = spine(15, 30, hex(0x4a7a1e), 3, 45);
    out["Picture49"] = spine(15, 25, hex(0x4a5a6e), 2, 49);
    out["Picture50"] = spine(14, 25, hex(0x1a2a5a), 2, 50);
    out["Picture51"] = spine(14, 25, pal::leather_teal, 2, 51);
    out["Picture58"] = spine(15, 25, pal::leather_plum, 2, 58);
    out["Picture59"] = spine(15, 25, hex(0x7a4420), 2, 59);
    out["Picture60"] = spine(14, 25, pal::leather_ochre, 2, 60);
    out["Picture23_0"] = flat_book(false);
    out["Picture23_1"] = flat_book(true);

    out["Picture22"] = title_plate(180, 38, "Ettore Lexovo", "Diario di un bibliofilo");
    out["Picture28"] = title_plate(150, 32, "Amilcare Ronzini", "Vita segreta delle mosche");
    out["Picture25"] = title_plate(150, 32, "Guglielmo Pioggia", "Trattato dell’ombrello");
    out["Picture26"] = title_plate(150, 32, "Flora Terracotta", "Vasi e giardini");
    out["Picture43"] = title_plate(150, 32, "Giacomo Fagioli", "Il seme magico");
    out["Picture46"] = title_plate(150, 32, "Tempestino Tuoni", "Come nasce un temporale");
    out["Picture47"] = title_plate(150, 32, "Cirro Nembi", "Atlante delle nuvole");
    out["Picture48"] = title_plate(150, 32, "Bartolomeo Posate", "Forchette e fulmini");

    out["Picture35"] = banner(200, 58, "Fine della partita!", pal::red);
    out["Picture36"] = banner(174, 52, "Tempo scaduto!", pal::red);
    out["Picture77"] = banner(245, 69, "Complimenti, hai vinto!", pal::orange);

    out["Picture12"] = inventory_bar();
    out["Picture64"] = wooden_frame();

    out["Picture30_0"] = plain_arrow_icon();
    out["Picture30_1"] = arrow_icon(0);
    out["Picture30_2"] = arrow_icon(2);
    out["Picture30_3"] = arrow_icon(3);
    out["Picture30_4"] = arrow_icon(1);
    out["WindowIcon"] = window_icon();
}

// SPDX-License-Identifier: GPL-3.0-or-later
// Pictures of the world's events: the spider and its thread, the magic bean
// plant, the charmed rope, the storm, the book in the well, the crumbling
// steps and the steel railing.
#include <cmath>
#include <random>

#include "datagen/paint/brush.h"
#include "datagen/pictures/objects.h"

namespace {

// ------------------------------------------------------------- the spider
// frame 0 rest, 1 legs drawn up, 2 legs stretched down.
void draw_spider(cairo_t* cr, int frame) {
    const double cx = 49.5;
    const double lift = frame == 1 ? -1 : frame == 2 ? 1 : 0;
    // Eight legs, four a side: hip on the body, knee high and out, foot low.
    for (int side = -1; side <= 1; side += 2) {
        for (int i = 0; i < 4; ++i) {
            double phase = (i % 2 == 0 ? 1 : -1) * lift;
            double hipx = cx + side * 7, hipy = 33 + i * 3.2;
            double spread = 18 + i * 4.5 - (i == 3 ? 6 : 0);
            double kneex = cx + side * (spread + 4), kneey = 12 + i * 6 + phase * 4 - (i == 0 ? 3 : 0);
            double footx = cx + side * (spread + 16 + (i == 1 || i == 2 ? 6 : 0) - i * 1.5);
            double footy = 30 + i * 8.5 + phase * 6;
            if (footy > 58) footy = 58;
            if (footx < 2) footx = 2;
            if (footx > 103) footx = 103;
            cairo_move_to(cr, hipx, hipy);
            cairo_line_to(cr, kneex, kneey);
            cairo_line_to(cr, footx, footy);
            cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
            cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
            stroke_col(cr, 4.2, hex(0x0e0a0c));
            cairo_move_to(cr, hipx, hipy);
            cairo_line_to(cr, kneex, kneey);
            cairo_line_to(cr, footx, footy);
            stroke_col(cr, 2.4, hex(0x3a2a30));
            // Orange joint bands and a glint along the upper segment.
            cairo_new_path(cr);
            ellipse(cr, kneex, kneey, 2.1, 2.1);
            set(cr, hex(0xd06a1a));
            cairo_fill(cr);
            cairo_move_to(cr, (hipx + kneex) / 2, (hipy + kneey) / 2 - 0.8);
            cairo_line_to(cr, kneex - side * 1, kneey - 0.8);
            stroke_col(cr, 0.8, hex(0x9a8a98, 0.7));
            // Hairs along the legs.
            for (int k = 1; k < 5; ++k) {
                double t = k / 5.0;
                double x = kneex + (footx - kneex) * t, y = kneey + (footy - kneey) * t;
                cairo_move_to(cr, x, y);
                cairo_line_to(cr, x + side * 1.8, y - 1.6);
            }
            stroke_col(cr, 0.7, hex(0x1a1216));
        }
    }
    // Abdomen, hanging from the thread, with a red hourglass-like mark.
    ellipse(cr, cx, 19, 15, 14);
    set_radial(cr, cx - 4, 13, 1, 18, {{0, hex(0x6a5060)}, {0.4, hex(0x2c1e26)}, {1, hex(0x0a0608)}});
    cairo_fill_preserve(cr);
    stroke_col(cr, 1.2, hex(0x050304));
    cairo_move_to(cr, cx, 10);
    cairo_line_to(cr, cx + 3.5, 16);
    cairo_line_to(cr, cx, 19);
    cairo_line_to(cr, cx + 3.5, 25);
    cairo_line_to(cr, cx - 3.5, 25);
    cairo_line_to(cr, cx, 19);
    cairo_line_to(cr, cx - 3.5, 16);
    cairo_close_path(cr);
    set_linear(cr, 0, 10, 0, 25, {{0, hex(0xff5a2a)}, {1, hex(0xa0140a)}});
    cairo_fill(cr);
    // Bristles on the abdomen.
    std::mt19937 rng(31 + frame);
    std::uniform_real_distribution<double> u(0, 1);
    for (int i = 0; i < 40; ++i) {
        double a = u(rng) * 2 * kPi, r = 12 + u(rng) * 2.5;
        double x = cx + std::cos(a) * r * 1.05, y = 19 + std::sin(a) * r;
        cairo_move_to(cr, x, y);
        cairo_line_to(cr, x + std::cos(a) * 2, y + std::sin(a) * 2);
    }
    stroke_col(cr, 0.7, hex(0x2a1c22));
    // Head and body, eyes, fangs.
    ellipse(cr, cx, 38, 10.5, 8.5);
    set_radial(cr, cx - 3, 35, 1, 11, {{0, hex(0x5a4450)}, {0.5, hex(0x241820)}, {1, hex(0x0a0608)}});
    cairo_fill_preserve(cr);
    stroke_col(cr, 1.1, hex(0x050304));
    for (int side = -1; side <= 1; side += 2) {
        ellipse(cr, cx + side * 3.2, 41.5, 2.3, 2.1);
        set_radial(cr, cx + side * 3.2 - 0.6, 41, 0.2, 2.4, {{0, hex(0xffe0a0)}, {0.35, hex(0xff3010)}, {1, hex(0x600400)}});
        cairo_fill(cr);
        ellipse(cr, cx + side * 6.5, 39.5, 1.2, 1.1);
        set(cr, hex(0xd02010));
        cairo_fill(cr);
        cairo_move_to(cr, cx + side * 2.2, 45.5);
        cairo_curve_to(cr, cx + side * 3.2, 49, cx + side * 2.5, 51, cx + side * 0.8, 52 + lift);
        stroke_col(cr, 2.0, hex(0x1a0c08));
        cairo_move_to(cr, cx + side * 2.0, 46);
        cairo_curve_to(cr, cx + side * 2.8, 48.5, cx + side * 2.3, 50, cx + side * 1.0, 51 + lift);
        stroke_col(cr, 0.7, hex(0xc8b090));
    }
}

// ----------------------------------------------------------- the bean plant
}  // namespace

void draw_bean_plant(cairo_t* cr, double w, double h) {
    // Painted in a 45 x 360 box and scaled, so the three heights are the same
    // plant growing.
    cairo_save(cr);
    cairo_scale(cr, w / 45.0, h / 360.0);
    const double cx = 22.5;
    auto stem_x = [&](double y, double amp, double ph) { return cx + std::sin(y / 26.0 + ph) * amp * (0.4 + 0.6 * y / 360); };
    // A thinner twin stem winding round the main one.
    for (int pass = 0; pass < 2; ++pass) {
        cairo_new_path(cr);
        for (double y = 360; y >= 14; y -= 3) {
            double x = pass == 0 ? stem_x(y, 7, 1.7) : stem_x(y, 5, 0);
            if (y == 360) cairo_move_to(cr, x, y); else cairo_line_to(cr, x, y);
        }
        cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
        cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
        cairo_path_t* path = cairo_copy_path(cr);
        double wd = pass == 0 ? 3.2 : 5.5;
        stroke_col(cr, wd + 1.8, pal::leaf_dark);
        cairo_append_path(cr, path);
        set_linear(cr, cx - 8, 0, cx + 8, 0, {{0, hex(0x4f9a2c)}, {0.4, hex(0x9adc5c)}, {1, hex(0x2c6a18)}});
        cairo_set_line_width(cr, wd);
        cairo_stroke(cr);
        cairo_path_destroy(path);
    }
    // Leaves, alternating sides, each a heart with a vein, smaller near the top.
    for (int i = 0; i < 13; ++i) {
        double y = 340 - i * 25.5;
        int side = i % 2 == 0 ? 1 : -1;
        double size = 14.0 - i * 0.3;
        double x = stem_x(y, 5, 0);
        cairo_save(cr);
        cairo_translate(cr, x, y);
        cairo_rotate(cr, side * (0.5 + 0.1 * (i % 3)));
        cairo_move_to(cr, 0, 0);
        double d = side * 1.0;
        cairo_curve_to(cr, d * size * 0.3, -size * 0.9, d * size * 1.4, -size * 0.9, d * size * 1.6, -size * 0.1);
        cairo_curve_to(cr, d * size * 1.4, size * 0.5, d * size * 0.6, size * 0.5, 0, 0);
        cairo_close_path(cr);
        set_linear(cr, 0, -size, d * size * 1.6, size * 0.3,
                   {{0, hex(0xa8e070)}, {0.45, hex(0x4e9e2e)}, {1, hex(0x1f5a14)}});
        cairo_fill_preserve(cr);
        stroke_col(cr, 1.0, pal::leaf_dark);
        cairo_move_to(cr, 0, 0);
        cairo_curve_to(cr, d * size * 0.5, -size * 0.4, d * size * 1.0, -size * 0.35, d * size * 1.5, -size * 0.1);
        stroke_col(cr, 0.8, hex(0xd8f5a8, 0.8));
        cairo_restore(cr);
        // A curling tendril between the leaves.
        if (i % 3 == 1) {
            double ty = y - 12;
            double tx = stem_x(ty, 5, 0);
            cairo_move_to(cr, tx, ty);
            cairo_curve_to(cr, tx - side * 6, ty - 2, tx - side * 8, ty - 8, tx - side * 5, ty - 9);
            cairo_curve_to(cr, tx - side * 3, ty - 9.5, tx - side * 3, ty - 6.5, tx - side * 4.5, ty - 6.5);
            stroke_col(cr, 1.3, hex(0x5aa032));
        }
    }
    // Crowning curl at the top.
    cairo_move_to(cr, stem_x(16, 5, 0), 16);
    cairo_curve_to(cr, cx + 8, 6, cx + 2, 1.5, cx - 2, 4);
    cairo_curve_to(cr, cx - 5, 7, cx - 1, 10, cx + 1, 7.5);
    stroke_col(cr, 2.4, hex(0x6ab83a));
    cairo_restore(cr);
}

namespace {
void rope_line(cairo_t* cr, double width) {
    cairo_path_t* path = cairo_copy_path(cr);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    stroke_col(cr, width + 1.6, hex(0x3a2810));
    cairo_append_path(cr, path);
    stroke_col(cr, width, hex(0xb88e4e));
    cairo_append_path(cr, path);
    const double dash[] = {1.4, 2.1};
    cairo_set_dash(cr, dash, 2, 0);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
    stroke_col(cr, width * 0.95, hex(0x6e4f23, 0.85));
    cairo_set_dash(cr, nullptr, 0, 0);
    cairo_append_path(cr, path);
    cairo_save(cr);
    cairo_translate(cr, -width * 0.18, -width * 0.1);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    stroke_col(cr, width * 0.28, hex(0xf0d49a, 0.6));
    cairo_restore(cr);
    cairo_path_destroy(path);
}
}  // namespace

void draw_rising_rope(cairo_t* cr, double w, double h) {
    // Two loops of coil at the foot; the rest stands up swaying like a snake,
    // the sway fading as it climbs higher.
    const double cx = w / 2, rx = 17, ry = 5;
    const double ys[] = {h - 7, h - 12.5};
    for (double y : ys) {
        coil_half(cr, cx, y, rx, ry, false);
        rope_line(cr, 4.6);
    }
    double rise = h - 14;
    // The strand stands over the columns he climbs it from (world x 1500 ...
    // 1511 once risen at 1490): it leaves the coil on its left and sways
    // only a little, so the middle of his figure is on it wherever Up climbs.
    const double sx = 15.5;
    double amp = std::min(3.5, 600.0 / rise);
    cairo_new_path(cr);
    cairo_move_to(cr, cx - rx, ys[1]);
    double top = 7;
    int n = 40;
    for (int i = 1; i <= n; ++i) {
        double t = double(i) / n;
        double y = ys[1] - (ys[1] - top) * t;
        double x = sx + (1 - std::min(1.0, t * 6)) * (cx - rx - sx) + std::sin(t * kPi * 2.2) * amp * (0.3 + 0.7 * t);
        if (i == 1) x = cx - rx + 2;
        cairo_line_to(cr, x, y);
    }
    double tipx = sx + std::sin(kPi * 2.2) * amp;
    rope_line(cr, 4.8);
    for (double y : ys) {
        coil_half(cr, cx, y, rx, ry, true);
        rope_line(cr, 4.6);
    }
    // The raised end, bound with twine like a snake's head.
    rounded_rect(cr, tipx - 3.5, top - 6, 7, 7, 2.5);
    set(cr, hex(0x8a6a3a));
    cairo_fill_preserve(cr);
    stroke_col(cr, 0.9, hex(0x3a2810));
    for (int i = 0; i < 3; ++i) {
        cairo_move_to(cr, tipx - 3, top - 4.5 + i * 2);
        cairo_line_to(cr, tipx + 3, top - 4.5 + i * 2);
    }
    stroke_col(cr, 0.6, hex(0x4a3418));
    // A frayed tassel.
    for (int i = -2; i <= 2; ++i) {
        cairo_move_to(cr, tipx + i * 1.2, top - 6);
        cairo_line_to(cr, tipx + i * 2.0, top - 8.5);
    }
    stroke_col(cr, 0.9, hex(0xd8b878));
}

namespace {

// ---------------------------------------------------------------- the storm
void bolt(cairo_t* cr, const double (*pts)[2], int n, double width) {
    auto path = [&] {
        cairo_new_path(cr);
        cairo_move_to(cr, pts[0][0], pts[0][1]);
        for (int i = 1; i < n; ++i) cairo_line_to(cr, pts[i][0], pts[i][1]);
    };
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    for (double g : {width * 4.5, width * 2.8}) {
        path();
        stroke_col(cr, g, hex(0x6a7aff, g > width * 3 ? 0.18 : 0.35));
    }
    path();
    stroke_col(cr, width * 1.6, hex(0xffe860));
    path();
    stroke_col(cr, width * 0.7, hex(0xffffff));
}

Surface storm_frame(int k) {
    return plain(50, 50, 0, [k](cairo_t* cr) {
        if (k == 0) {
            const double p[][2] = {{29, 6}, {20, 21}, {28, 22}, {18, 38}, {24, 37}, {17, 46}};
            bolt(cr, p, 6, 1.6);
        } else if (k == 1) {
            // A dark thunder ball, lit from inside, with bolts darting out of it.
            set_radial(cr, 25, 22, 2, 24, {{0, hex(0x8a90ff, 0.5)}, {1, hex(0x000000, 0)}});
            cairo_paint(cr);
            ellipse(cr, 25, 21, 14, 13);
            set_radial(cr, 21, 16, 1, 16, {{0, hex(0xd8dce8)}, {0.35, hex(0x8a90a4)}, {0.8, hex(0x4a4e60)}, {1, hex(0x24262e)}});
            cairo_fill(cr);
            for (int i = 0; i < 5; ++i) {
                ellipse(cr, 15 + i * 5, 26 + (i % 2) * 2, 5, 3.5);
                set(cr, hex(0x30323e, 0.5));
                cairo_fill(cr);
            }
            const double a[][2] = {{22, 30}, {17, 38}, {22, 39}, {15, 49}};
            const double b[][2] = {{31, 30}, {35, 37}, {31, 38}, {38, 47}};
            const double c[][2] = {{25, 20}, {21, 24}, {27, 25}, {23, 29}};
            bolt(cr, a, 4, 1.3);
            bolt(cr, b, 4, 1.1);
            bolt(cr, c, 4, 0.8);
        } else {
            // Rain: slanted streaks, each frame a third of the fall further on.
            std::mt19937 rng(5);
            std::uniform_real_distribution<double> u(0, 1);
            for (int i = 0; i < 26; ++i) {
                double x = u(rng) * 62 - 6, y0 = u(rng) * 50, len = 6 + u(rng) * 6;
                double y = std::fmod(y0 + (k - 2) * 16.7, 50.0);
                for (double wrap : {0.0, -50.0}) {
                    double yy = y + wrap, xx = x - (yy) * 0.18;
                    cairo_move_to(cr, xx, yy);
                    cairo_line_to(cr, xx - len * 0.18, yy + len);
                    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
                    set_linear(cr, 0, yy, 0, yy + len, {{0, hex(0x3050a0, 0.2)}, {1, hex(0xc8dcff, 1)}});
                    cairo_set_line_width(cr, 1.3);
                    cairo_stroke(cr);
                }
            }
        }
    });
}

// --------------------------------------------------- the book in the well
Surface well_book(bool lit) {
    return plain(31, 28, rgb(18, 14, 12), [lit](cairo_t* cr) {
        // The well floor: dark flags.
        set_linear(cr, 0, 0, 0, 28, {{0, hex(0x151210)}, {1, hex(0x2a2420)}});
        cairo_paint(cr);
        for (int i = 0; i < 3; ++i) {
            cairo_move_to(cr, 0, 20 + i * 3);
            cairo_line_to(cr, 31, 19 + i * 3.5);
        }
        stroke_col(cr, 0.6, hex(0x0a0806, 0.8));
        if (lit) {
            set_radial(cr, 15.5, 17, 2, 16, {{0, hex(0xffe890, 0.7)}, {1, hex(0xffe890, 0)}});
            cairo_paint(cr);
        }
        // An open book lying on the floor, seen from above and in front.
        ellipse(cr, 15.5, 22.5, 14, 3.5);
        set(cr, hex(0x000000, 0.6));
        cairo_fill(cr);
        Col cover0 = lit ? hex(0xc0542a) : hex(0x7a2a14), cover1 = lit ? hex(0x7a2a10) : hex(0x3e1408);
        const double cover[][2] = {{1.5, 21}, {5, 9}, {26, 9}, {29.5, 21}, {15.5, 23.5}};
        polygon(cr, cover);
        set_linear(cr, 0, 9, 0, 23, {{0, cover0}, {1, cover1}});
        cairo_fill_preserve(cr);
        stroke_col(cr, 0.8, hex(0x1a0c06));
        // The two pages, bowed up from the gutter.
        Col page0 = lit ? hex(0xfff8e0) : hex(0xd8c8a0), page1 = lit ? hex(0xe8d8b0) : hex(0x9a8a68);
        for (int side = -1; side <= 1; side += 2) {
            cairo_move_to(cr, 15.5, 11);
            cairo_curve_to(cr, 15.5 + side * 4, 8.5, 15.5 + side * 9, 8.5, 15.5 + side * 12.5, 10);
            cairo_line_to(cr, 15.5 + side * 13.5, 20);
            cairo_curve_to(cr, 15.5 + side * 9, 19, 15.5 + side * 4, 19.5, 15.5, 22);
            cairo_close_path(cr);
            set_linear(cr, 15.5, 0, 15.5 + side * 13, 0, {{0, page1}, {0.3, page0}, {1, page0}});
            cairo_fill_preserve(cr);
            stroke_col(cr, 0.5, hex(0x4a3a28));
            // Lines of print.
            for (int i = 0; i < 4; ++i) {
                double y = 12 + i * 2.2;
                cairo_move_to(cr, 15.5 + side * 2.5, y + 0.4);
                cairo_line_to(cr, 15.5 + side * (10.5 - (i == 3 ? 4 : 0)), y);
            }
            stroke_col(cr, 0.6, hex(0x5a4a38, 0.8));
        }
        cairo_move_to(cr, 15.5, 11);
        cairo_line_to(cr, 15.5, 22);
        stroke_col(cr, 0.7, hex(0x3a2a18));
        // A leopard spot printed on the right page: the costume inside.
        for (int i = 0; i < 3; ++i) {
            ellipse(cr, 21 + i * 1.8, 18 - (i % 2) * 0.8, 0.7, 0.5);
            set(cr, hex(0x8a4a10));
            cairo_fill(cr);
        }
        if (lit) {
            // Found: it shines, with a twinkle over the corner.
            polygon(cr, cover);
            stroke_col(cr, 0.9, hex(0xfff4b0));
            cairo_move_to(cr, 26, 1.5);
            cairo_line_to(cr, 26, 8);
            cairo_move_to(cr, 22.8, 4.8);
            cairo_line_to(cr, 29.2, 4.8);
            stroke_col(cr, 1.0, hex(0xffffff));
        }
    });
}

// ---------------------------------------------------- the crumbling steps
// Drawn at world (1004, -104) over the lower flight of stone steps, so
// its treads are the world's (10 wide, laid from world x 998): the last of
// the upper flight's line over the tunnel, then the landing at the top of
// the bean plant (frame x 14 ... 34, where he stands when he has climbed
// it) and the first steps down. The treads left of the landing are the
// ones that crumble under him and fall; the landing and the flight on stay.
struct StepTread {
    double x0, top;
};
constexpr StepTread kStepTreads[] = {{-6, -4}, {4, 6}, {14, 14}, {24, 16}, {34, 26}, {44, 36}};
constexpr double kLandingX = 14;  // where the treads that fall end

// The slab's underside, 40 rows under the line of the treads.
double slab_underside(double x) {
    const double line = x < 17 ? x - 3 : (x < 27 ? 14 : x - 13);
    return line + 40;
}

Surface steps_frame(int k) {
    return plain(48, 63, rgb(20, 16, 14), [k](cairo_t* cr) {
        // The dark passage behind.
        set_linear(cr, 0, 0, 48, 63, {{0, hex(0x2a2420)}, {1, hex(0x141010)}});
        cairo_paint(cr);
        for (int r = 0; r < 7; ++r)
            for (int c = 0; c < 4; ++c) {
                double x = c * 14 - (r % 2) * 7, y = r * 9;
                rounded_rect(cr, x + 0.6, y + 0.6, 13, 8, 1);
                set(cr, hex(0x3a322c, 0.45));
                cairo_fill(cr);
            }
        std::mt19937 rng(400 + k);
        std::uniform_real_distribution<double> u(0, 1);
        // The treads that are about to fall sag a little more each frame.
        auto sag = [k](const StepTread& t) { return t.x0 < kLandingX && k > 0 && k < 3 ? k * 1.2 : 0.0; };
        auto top_at = [&](double x) {
            for (const StepTread& t : kStepTreads)
                if (x >= t.x0 && x < t.x0 + 10) return t.top + sag(t);
            return kStepTreads[0].top;
        };
        // The void under the flight.
        set_linear(cr, 0, 20, 0, 63, {{0, hex(0x0c0908)}, {1, hex(0x050404)}});
        cairo_move_to(cr, 0, slab_underside(0));
        for (double x = 0; x <= 48; x += 4) cairo_line_to(cr, x, slab_underside(x));
        cairo_line_to(cr, 48, 63);
        cairo_line_to(cr, 0, 63);
        cairo_close_path(cr);
        cairo_fill(cr);
        // The flight: from x0 on (all of it, or from the landing once the
        // treads before it have fallen), on its slab.
        const double x0 = k < 3 ? 0 : kLandingX;
        cairo_new_path(cr);
        cairo_move_to(cr, x0, top_at(x0));
        for (const StepTread& t : kStepTreads) {
            if (t.x0 + 10 <= x0) continue;
            cairo_line_to(cr, std::max(t.x0, x0), t.top + sag(t));
            cairo_line_to(cr, t.x0 + 10, t.top + sag(t));
        }
        for (double x = 48; x >= x0; x -= 4) cairo_line_to(cr, x, slab_underside(x));
        if (k == 3) {
            // The broken end where the steps gave way.
            const double y0 = top_at(x0);
            cairo_line_to(cr, x0 + 1, slab_underside(x0) - 6);
            cairo_line_to(cr, x0 - 2, y0 + 26);
            cairo_line_to(cr, x0 + 2, y0 + 18);
            cairo_line_to(cr, x0 - 1, y0 + 11);
            cairo_line_to(cr, x0 + 1, y0 + 5);
        }
        cairo_close_path(cr);
        cairo_save(cr);
        cairo_clip_preserve(cr);
        set_linear(cr, 0, 0, 0, 63, {{0, hex(0x8e8274)}, {0.5, hex(0x6a6058)}, {1, hex(0x3a3430)}});
        cairo_paint(cr);
        for (const StepTread& t : kStepTreads) {
            const double y = t.top + sag(t);
            // Block joints; the treads catch the light, the risers are in half shade.
            cairo_move_to(cr, t.x0 + 0.5, y);
            cairo_line_to(cr, t.x0 + 0.5, y + 20);
            stroke_col(cr, 0.8, hex(0x2a2420, 0.8));
            cairo_rectangle(cr, t.x0, y, 10, 2.5);
            set_linear(cr, 0, y, 0, y + 2.5, {{0, hex(0xe6dac6)}, {1, hex(0xb4a894)}});
            cairo_fill(cr);
            cairo_rectangle(cr, t.x0 + 9.2, y, 0.8, 10);
            set(cr, hex(0x2a2420, 0.5));
            cairo_fill(cr);
        }
        // Grit and wear.
        for (int i = 0; i < 70; ++i) {
            cairo_rectangle(cr, u(rng) * 48, 4 + u(rng) * 58, 1, 1);
            set(cr, u(rng) < 0.5 ? hex(0x000000, 0.25) : hex(0xffffff, 0.12));
            cairo_fill(cr);
        }
        // Cracks growing frame by frame in the treads that will fall.
        if (k < 3)
            for (int i = 0; i < k + 1; ++i) {
                double x = 2 + i * 4 + u(rng) * 3, y = top_at(x);
                cairo_move_to(cr, x, y);
                double cx = x, cy = y;
                for (int j = 0; j < 4; ++j) {
                    cx += (u(rng) - 0.4) * 4;
                    cy += 3 + u(rng) * 2;
                    cairo_line_to(cr, cx, cy);
                }
                stroke_col(cr, 0.9 + 0.3 * k, hex(0x100c0a));
            }
        cairo_restore(cr);
        cairo_new_path(cr);
        // Underside edge of the slab.
        cairo_move_to(cr, x0, slab_underside(x0));
        for (double x = x0; x <= 48; x += 4) cairo_line_to(cr, x, slab_underside(x));
        stroke_col(cr, 1.0, hex(0x1e1a16));
        if (k < 3) {
            // Dust trickling from beneath the treads that give: streams
            // falling further from frame to frame, more as the flight gives.
            for (int stream = 0; stream < 2 + k; ++stream) {
                double sx = 3 + stream * 4 + u(rng) * 2;
                double sy = slab_underside(sx) + 1;
                for (int g = 0; g < 10 + 3 * k; ++g) {
                    double y = sy + std::fmod(g * 3.1 + k * 4.7 + stream * 2.3, 63 - sy);
                    double x = sx + (u(rng) - 0.5) * (0.6 + (y - sy) * 0.12);
                    ellipse(cr, x, y, 0.55 + u(rng) * 0.35, 0.6 + u(rng) * 0.4);
                    set(cr, hex(0xc8b898, 0.95));
                    cairo_fill(cr);
                }
            }
            set_radial(cr, 8, 64, 1, 10 + k * 4, {{0, hex(0xa89878, 0.45)}, {1, hex(0xa89878, 0)}});
            cairo_paint(cr);
        } else {
            // Gone: a few stones still falling down the tunnel.
            for (int i = 0; i < 6; ++i) {
                double x = 2 + u(rng) * 10, y = 20 + u(rng) * 40, r = 0.8 + u(rng) * 1.8;
                ellipse(cr, x, y, r * 1.2, r);
                set(cr, hex(0x7a7064));
                cairo_fill_preserve(cr);
                stroke_col(cr, 0.5, hex(0x1e1a16));
            }
            for (int i = 0; i < 20; ++i) {
                ellipse(cr, 1 + u(rng) * 12, 10 + u(rng) * 52, 0.5, 0.5);
                set(cr, hex(0xb0a080, 0.7));
                cairo_fill(cr);
            }
        }
    });
}

// --------------------------------------------------------- the railing
void draw_railing(cairo_t* cr) {
    const double top = 3, bottom = 51, panel = 40;
    auto tube = [&](double x, double y, double w, double h, bool horizontal) {
        cairo_rectangle(cr, x, y, w, h);
        if (horizontal)
            set_linear(cr, 0, y, 0, y + h,
                       {{0, hex(0x9aaabb)}, {0.3, hex(0xe4ecf4)}, {0.6, hex(0x6b7a8c)}, {1, hex(0x2a3340)}});
        else
            set_linear(cr, x, 0, x + w, 0,
                       {{0, hex(0x3a4654)}, {0.35, hex(0xc4d0dc)}, {0.7, hex(0x6b7a8c)}, {1, hex(0x2a3340)}});
        cairo_fill_preserve(cr);
        stroke_col(cr, 0.9, hex(0x141a22));
    };
    // Diagonal web of the truss, one V per panel.
    for (double x = 0; x < 400; x += panel) {
        for (int d = 0; d < 2; ++d) {
            double x0 = x + (d == 0 ? 3 : panel / 2), x1 = x + (d == 0 ? panel / 2 : panel - 3);
            double y0 = d == 0 ? top + 6 : bottom, y1 = d == 0 ? bottom : top + 6;
            cairo_move_to(cr, x0, y0);
            cairo_line_to(cr, x1, y1);
            cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
            stroke_col(cr, 4.6, hex(0x141a22));
            cairo_move_to(cr, x0, y0);
            cairo_line_to(cr, x1, y1);
            stroke_col(cr, 3.0, hex(0x7d8c9e));
            cairo_move_to(cr, x0 - 0.8, y0);
            cairo_line_to(cr, x1 - 0.8, y1);
            stroke_col(cr, 0.9, hex(0xd0dae4, 0.8));
        }
    }
    // Posts, rails, gusset plates with rivets.
    for (double x = 0; x <= 400; x += panel) tube(x - 2.5, top, 5, bottom - top + 6, false);
    tube(0, top, 400, 6.5, true);
    tube(0, bottom, 400, 5.5, true);
    for (double x = 0; x <= 400; x += panel / 2) {
        for (double y : {top + 3.2, bottom + 2.7}) {
            ellipse(cr, x, y, 1.3, 1.3);
            set_radial(cr, x - 0.4, y - 0.4, 0.1, 1.5, {{0, hex(0xffffff)}, {1, hex(0x3a4654)}});
            cairo_fill(cr);
        }
    }
    // A foot plate under each post.
    for (double x = 0; x <= 400; x += panel) {
        cairo_rectangle(cr, x - 5, bottom + 5.5, 10, 3);
        set(cr, hex(0x4a5666));
        cairo_fill_preserve(cr);
        stroke_col(cr, 0.8, hex(0x141a22));
    }
}

}  // namespace

void paint_world_pictures(PictureMap& out) {
    for (int k = 0; k < 3; ++k)
        sprite(out, "Picture31_" + std::to_string(k), "Picture32_" + std::to_string(k), 105, 60,
               [k](cairo_t* cr) { draw_spider(cr, k); });
    // The thread: a silvery strand, brightest down the middle.
    Surface thread(3, 100);
    for (int y = 0; y < 100; ++y) {
        int glint = (y % 23 == 7) ? 30 : 0;
        thread.set(0, y, rgb(96 + glint, 100 + glint, 110 + glint));
        thread.set(1, y, rgb(255, 255, 255));
        thread.set(2, y, rgb(150 + glint, 155 + glint, 165 + glint));
    }
    out["Picture33"] = thread;

    const int plant_w[] = {23, 34, 45}, plant_h[] = {180, 270, 360};
    for (int k = 0; k < 3; ++k)
        sprite(out, "Picture52_" + std::to_string(k), "Picture53_" + std::to_string(k), plant_w[k], plant_h[k],
               [&](cairo_t* cr) { draw_bean_plant(cr, plant_w[k], plant_h[k]); });
    const int rope_h[] = {60, 111, 232};
    for (int k = 0; k < 3; ++k)
        sprite(out, "Picture70_" + std::to_string(k), "Picture69_" + std::to_string(k), 50, rope_h[k],
               [&](cairo_t* cr) { draw_rising_rope(cr, 50, rope_h[k]); });
    for (int k = 0; k < 5; ++k) out["Picture56_" + std::to_string(k)] = storm_frame(k);
    out["Picture57_0"] = well_book(false);
    out["Picture57_1"] = well_book(true);
    light_found_book(out["Picture57_1"]);
    for (int k = 0; k < 4; ++k) out["Picture38_" + std::to_string(k)] = steps_frame(k);
    sprite(out, "Picture15_0", "Picture15_1", 400, 60, draw_railing);
}

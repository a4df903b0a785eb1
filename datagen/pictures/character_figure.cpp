// SPDX-License-Identifier: GPL-3.0-or-later
// The professor's figure kit: shapes, shading and the three views of him.
#include "datagen/pictures/character_figure.h"

#include <algorithm>
#include <cmath>

namespace professor {

namespace {
Pt g_light{0.5, -0.866};

double rad(double deg) { return deg * kPi / 180.0; }
double len(Pt a) { return std::hypot(a.x, a.y); }
Pt unit(Pt a) {
    double l = len(a);
    return l > 1e-9 ? Pt{a.x / l, a.y / l} : Pt{0, -1};
}
double dot(Pt a, Pt b) { return a.x * b.x + a.y * b.y; }

void stop(cairo_pattern_t* p, double at, Col c, double a = 1.0) {
    cairo_pattern_add_color_stop_rgba(p, at, c.r, c.g, c.b, a);
}
void tone_stops(cairo_pattern_t* p, const Tone& t) {
    stop(p, 0.0, t.lit);
    stop(p, 0.3, mix(t.lit, t.base, 0.55));
    stop(p, 0.58, t.base);
    stop(p, 1.0, t.dark);
}
cairo_pattern_t* flat(Col c) { return cairo_pattern_create_rgb(c.r, c.g, c.b); }

void line(cairo_t* cr, Pt a, Pt b, Col c, double w, double opacity = 1.0) {
    cairo_new_path(cr);
    cairo_move_to(cr, a.x, a.y);
    cairo_line_to(cr, b.x, b.y);
    set(cr, alpha(c, opacity));
    cairo_set_line_width(cr, w);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_stroke(cr);
}

void soft_spot(cairo_t* cr, Pt c, double r, Col col, double opacity) {
    cairo_pattern_t* g = cairo_pattern_create_radial(c.x, c.y, 0, c.x, c.y, r);
    stop(g, 0, col, opacity);
    stop(g, 1, col, 0);
    cairo_new_path(cr);
    add_circle(cr, c, r);
    cairo_set_source(cr, g);
    cairo_fill(cr);
    cairo_pattern_destroy(g);
}

// A round spectacle lens's rim of radius r, and the glint on the glass: an
// arc of radius glint_r from angle `from` to `to`.
void spectacle_rim(cairo_t* cr, Pt lens, double r, double glint_r, double from, double to) {
    cairo_new_path(cr);
    add_circle(cr, lens, r);
    set(cr, pal::lens_rim);
    cairo_set_line_width(cr, 1.0);
    cairo_stroke(cr);
    cairo_new_path(cr);
    cairo_arc(cr, lens.x, lens.y, glint_r, from, to);
    set(cr, hex(0xffffff, 0.95));
    cairo_set_line_width(cr, 0.7);
    cairo_stroke(cr);
}

// A frame on a body part: origin o, x along `ahead`, y along `down`.
struct Frame {
    Pt o, ahead, down;
    Pt at(double x, double y) const { return o + ahead * x + down * y; }
};

// --- hands and feet ----------------------------------------------------
void paint_hand(cairo_t* cr, Pt at, Pt dir, Hand grip, const Tone& t) {
    Pt d = unit(dir);
    Pt side{-d.y, d.x};
    double ang = std::atan2(d.y, d.x);
    switch (grip) {
    case Hand::Open:
        inked(cr, [&](cairo_t* c) {
            add_ellipse(c, at + d * 0.6, 3.0, 2.3, ang);
            add_capsule(c, at - d * 0.6 + side * 1.7, 0.95, at + d * 0.9 + side * 2.6, 0.85);
        }, dome(at - d * 1.0, 4.0, t), 1.5);
        break;
    case Hand::Fist:
    case Hand::Grip:
        inked(cr, [&](cairo_t* c) { add_ellipse(c, at, 2.8, 2.5, ang); }, dome(at - d * 0.8, 3.8, t), 1.5);
        for (int k = -1; k <= 1; ++k) {
            Pt f = at + d * 1.6 + side * (k * 0.95);
            line(cr, f - d * 0.8, f + d * 0.3, t.dark, 0.55, 0.8);
        }
        break;
    case Hand::Spread: {
        inked(cr, [&](cairo_t* c) {
            add_ellipse(c, at, 2.6, 2.4, ang);
            for (int k = -2; k <= 1; ++k) {
                double a = ang + k * 0.36 + 0.18;
                Pt dd{std::cos(a), std::sin(a)};
                add_capsule(c, at + dd * 1.5, 0.8, at + dd * (k == -2 || k == 1 ? 4.2 : 4.9), 0.6);
            }
            add_capsule(c, at + side * 1.4, 0.8, at + side * 3.6 + d * 0.8, 0.65);
        }, dome(at, 4.5, t), 1.3);
        break;
    }
    case Hand::Cupped:
        inked(cr, [&](cairo_t* c) {
            add_ellipse(c, at, 3.2, 2.2, ang);
            add_circle(c, at - d * 1.2 - side * 1.6, 1.1);
        }, dome(at - d * 1.2, 4.0, t), 1.5);
        line(cr, at - side * 0.5, at + d * 2.0 - side * 0.2, t.dark, 0.55, 0.8);
        break;
    }
}

void paint_shoe(cairo_t* cr, Pt ankle, double toe_deg, const Tone& t) {
    cairo_save(cr);
    cairo_translate(cr, ankle.x, ankle.y);
    cairo_rotate(cr, rad(-toe_deg));
    Path shape = [](cairo_t* c) {
        cairo_move_to(c, -3.4, -2.6);
        cairo_curve_to(c, -4.7, -1.0, -4.9, 2.6, -4.1, 4.2);
        cairo_line_to(c, 9.0, 4.4);
        cairo_curve_to(c, 11.9, 4.4, 12.1, 1.0, 9.6, 0.0);
        cairo_curve_to(c, 7.0, -1.0, 4.5, -2.0, 2.8, -3.2);
        cairo_close_path(c);
    };
    inked(cr, shape, lit_to_dark({6, -4}, {0, 5}, t), 1.8);
    clip_to(cr, shape);
    cairo_new_path(cr);
    cairo_rectangle(cr, -6, 2.9, 20, 3);
    set(cr, mix(t.dark, pal::ink, 0.5));
    cairo_fill(cr);
    soft_spot(cr, {7.6, 0.9}, 2.2, t.lit, 0.9);
    cairo_restore(cr);
    line(cr, {2.0, -1.9}, {4.4, -1.3}, t.lit, 0.6, 0.7);
    cairo_restore(cr);
}

void paint_bare_foot(cairo_t* cr, Pt ankle, double toe_deg, const Tone& t) {
    cairo_save(cr);
    cairo_translate(cr, ankle.x, ankle.y);
    cairo_rotate(cr, rad(-toe_deg));
    Path shape = [](cairo_t* c) {
        cairo_move_to(c, -2.4, -2.4);
        cairo_curve_to(c, -3.8, -0.8, -4.0, 3.0, -2.6, 4.1);
        cairo_line_to(c, 8.2, 4.3);
        cairo_curve_to(c, 10.4, 4.3, 10.6, 1.6, 8.8, 1.0);
        cairo_curve_to(c, 6.0, 0.2, 3.4, -0.8, 2.0, -2.6);
        cairo_close_path(c);
    };
    inked(cr, shape, lit_to_dark({5, -3}, {0, 5}, t), 1.7);
    for (double x : {6.6, 8.0, 9.2}) line(cr, {x, 2.0}, {x - 0.3, 3.8}, t.dark, 0.5, 0.8);
    cairo_restore(cr);
}

// --- limbs ---------------------------------------------------------------
// Cloth gathers in folds on the inside of a bent joint.
void folds(cairo_t* cr, Pt a, Pt joint, Pt b, double r, const Tone& t) {
    Pt u1 = unit(joint - a), u2 = unit(b - joint);
    double bend = std::acos(std::clamp(dot(u1, u2), -1.0, 1.0));
    if (bend < 0.25) return;
    Pt inside = unit(u2 - u1);
    Pt across{-inside.y, inside.x};
    int n = bend > 0.7 ? 3 : 2;
    for (int i = 0; i < n; ++i) {
        double off = (i - (n - 1) / 2.0) * 1.6;
        Pt c = joint + inside * (r * 0.35) + across * off;
        Pt e1 = c - inside * (r * 0.5) + across * 0.3, e2 = c + inside * (r * 0.45) - across * 0.3;
        line(cr, e1, e2, t.dark, 0.6, 0.85);
        line(cr, e1 + across * 0.6, e2 + across * 0.6, t.lit, 0.4, 0.5);
    }
}

void paint_arm(cairo_t* cr, Pt shoulder, Pt elbow, Pt hand, Hand grip, Outfit outfit, double shade) {
    Pt d = unit(hand - elbow);
    Pt wrist = hand - d * 2.3;
    Tone skin = dimmed(pal::tone::skin, shade);
    if (outfit == Outfit::Tweed) {
        Tone cloth = dimmed(pal::tone::tweed, shade);
        limb(cr, shoulder, 3.9, elbow, 3.4, wrist, 3.1, cloth);
        folds(cr, shoulder, elbow, wrist, 3.4, cloth);
        // Leather patch on the elbow and the shirt cuff.
        Pt up = unit(elbow - shoulder);
        cairo_new_path(cr);
        add_ellipse(cr, elbow - up * 0.4, 1.9, 1.4, std::atan2(up.y, up.x));
        set(cr, mix(pal::tone::shoe.base, pal::tone::tweed.dark, 0.3 + 0.5 * (1 - shade)));
        cairo_fill(cr);
        inked(cr, [&](cairo_t* c) { add_capsule(c, wrist - d * 0.2, 2.5, wrist + d * 0.9, 2.3); },
              rounded_across(wrist - d, wrist + d, 2.5, dimmed(pal::tone::shirt, shade)), 1.2);
    } else {
        limb(cr, shoulder, 3.1, elbow, 2.6, wrist, 2.2, skin);
    }
    paint_hand(cr, hand, d, grip, skin);
}

void paint_leg(cairo_t* cr, Pt hip, Pt knee, Pt ankle, double toe, Outfit outfit, double shade) {
    if (outfit == Outfit::Tweed) {
        Tone cloth = dimmed(pal::tone::trousers, shade);
        limb(cr, hip, 5.2, knee, 4.3, ankle, 3.7, cloth);
        folds(cr, hip, knee, ankle, 4.3, cloth);
        // The crease down the front of the trouser leg.
        Pt d = unit(ankle - knee);
        Pt n{-d.y, d.x};
        if (dot(n, g_light) < 0) n = n * -1;
        line(cr, knee + n * 1.6, ankle + n * 1.2 - d * 1.5, cloth.lit, 0.6, 0.6);
        paint_shoe(cr, ankle, toe, dimmed(pal::tone::shoe, shade));
    } else {
        Tone skin = dimmed(pal::tone::skin, shade);
        limb(cr, hip, 3.8, knee, 3.0, ankle, 2.4, skin);
        cairo_new_path(cr);
        add_circle(cr, knee, 1.3);
        set(cr, alpha(skin.lit, 0.6));
        cairo_fill(cr);
        paint_bare_foot(cr, ankle, toe, skin);
    }
}

// --- the side view's body ------------------------------------------------
Frame torso_frame(const SidePose& p) {
    Pt up = p.shoulder - p.hip;
    double s = len(up) / 29.0;
    Pt u = unit(up);
    Pt front{-u.y, u.x};
    if (front.x < 0) front = front * -1;
    return Frame{p.hip, front, u * (-s)};
}

// Draws a body part's outline in its frame's own units, y upwards.
struct FramePen {
    cairo_t* c;
    const Frame& f;
    Pt at(double x, double y) const { return f.at(x, -y); }
    void mv(double x, double y) const {
        Pt q = at(x, y);
        cairo_move_to(c, q.x, q.y);
    }
    void ln(double x, double y) const {
        Pt q = at(x, y);
        cairo_line_to(c, q.x, q.y);
    }
    void cv(double x1, double y1, double x2, double y2, double x3, double y3) const {
        Pt a = at(x1, y1), b = at(x2, y2), e = at(x3, y3);
        cairo_curve_to(c, a.x, a.y, b.x, b.y, e.x, e.y);
    }
};

void path_jacket(cairo_t* c, const Frame& f) {
    const FramePen pen{c, f};
    pen.mv(-3.5, 33.5);
    pen.cv(-7, 33, -9, 30, -9.4, 26);
    pen.cv(-9.9, 18, -9.7, 8, -9.9, -1);
    pen.cv(-10.1, -4, -10.3, -6, -10.3, -8);
    pen.cv(-4, -9.2, 3, -8.9, 8.7, -7);
    pen.cv(11.3, -2, 12.5, 6, 11.7, 11);
    pen.cv(10.9, 17, 9.5, 24, 7.7, 29);
    pen.cv(6.9, 31.5, 6.1, 33, 5.0, 34);
    pen.cv(2, 35, -1, 35, -3.5, 33.5);
    cairo_close_path(c);
}

void path_bare_torso(cairo_t* c, const Frame& f) {
    const FramePen pen{c, f};
    pen.mv(-3.0, 33.0);
    pen.cv(-6.5, 32.5, -8.4, 29.5, -8.6, 25);
    pen.cv(-9.0, 16, -8.8, 6, -8.4, -4);
    pen.cv(-4, -7, 4, -7, 8.4, -4);
    pen.cv(10.8, 0, 11.6, 6, 11.0, 11);
    pen.cv(10.2, 17, 8.8, 24, 7.0, 29);
    pen.cv(6.2, 31.5, 5.4, 33, 4.4, 33.8);
    pen.cv(1.5, 34.6, -1.0, 34.4, -3.0, 33.0);
    cairo_close_path(c);
}

void path_tunic(cairo_t* c, const Frame& f) {
    const FramePen pen{c, f};
    pen.mv(-8.6, 28);
    pen.cv(-9.6, 18, -9.9, 6, -10.3, -3);
    pen.ln(-10.7, -9);
    pen.ln(-7.6, -7.4);
    pen.ln(-5.0, -11.5);
    pen.ln(-1.8, -8.2);
    pen.ln(1.4, -12.0);
    pen.ln(4.4, -8.4);
    pen.ln(7.6, -11.0);
    pen.ln(10.4, -5);
    pen.cv(12.2, 0, 12.4, 7, 11.6, 11);
    pen.cv(10.8, 17, 9.6, 21.5, 8.2, 25);
    pen.ln(3.2, 28.6);
    pen.cv(2.6, 31, 1.8, 33, 0.6, 34.2);
    pen.cv(-2, 34.6, -4.0, 34.2, -5.4, 33.2);
    pen.cv(-6.8, 31.6, -8.0, 30, -8.6, 28);
    cairo_close_path(c);
}

void paint_side_torso(cairo_t* cr, const SidePose& p, Pt neck_top) {
    Frame f = torso_frame(p);
    auto P = [&](double x, double y) { return f.at(x, -y); };
    Pt centre = P(1, 14);
    // The neck first: the collar and the head cover its ends.
    inked(cr, [&](cairo_t* c) { add_capsule(c, P(1.2, 30), 3.6, neck_top, 3.5); },
          rounded_across(P(1.2, 30), neck_top, 3.6, dimmed(pal::tone::skin, 0.9)), 1.6);

    if (p.outfit == Outfit::Tweed) {
        Path jacket = [&](cairo_t* c) { path_jacket(c, f); };
        inked(cr, jacket, lit_to_dark(centre + g_light * 15, centre - g_light * 13, pal::tone::tweed), 2.0);
        clip_to(cr, jacket);
        weave(cr, centre.x - 16, centre.y - 26, centre.x + 16, centre.y + 26, pal::tone::tweed, 71);
        // The shirt and tie in the opening of the lapels.
        inked(cr, [&](cairo_t* c) {
            Pt a = P(2.2, 34.6), b = P(6.4, 33.8), d = P(9.9, 21.5), e = P(8.8, 19.8), g = P(5.4, 27);
            cairo_move_to(c, a.x, a.y);
            cairo_line_to(c, b.x, b.y);
            cairo_line_to(c, d.x, d.y);
            cairo_line_to(c, e.x, e.y);
            cairo_line_to(c, g.x, g.y);
            cairo_close_path(c);
        }, lit_to_dark(P(7, 33), P(5, 22), pal::tone::shirt), 1.1);
        line(cr, P(6.2, 31.4), P(9.0, 21.6), pal::tone::tie.base, 1.5);
        line(cr, P(6.5, 30.8), P(8.6, 23.0), pal::tone::tie.lit, 0.5, 0.8);
        // Lapel, buttons, pocket.
        cairo_new_path(cr);
        {
            Pt a = P(4.0, 34.2), b = P(7.4, 27), c2 = P(9.2, 21), d = P(10.6, 16.5);
            cairo_move_to(cr, a.x, a.y);
            cairo_curve_to(cr, b.x, b.y, c2.x, c2.y, d.x, d.y);
        }
        set(cr, pal::tone::tweed.dark);
        cairo_set_line_width(cr, 1.1);
        cairo_stroke(cr);
        for (Pt b : {P(10.6, 10.5), P(10.7, 3.0)}) {
            inked(cr, [&](cairo_t* c) { add_circle(c, b, 0.9); }, flat(pal::tone::shoe.base), 1.0);
            cairo_new_path(cr);
            add_circle(cr, b + Pt{-0.25, -0.3}, 0.35);
            set(cr, pal::tone::gold.lit);
            cairo_fill(cr);
        }
        line(cr, P(-3.5, -0.5), P(6.0, -0.5), pal::tone::tweed.dark, 1.1);
        line(cr, P(-3.3, -1.5), P(5.8, -1.5), pal::tone::tweed.lit, 0.6, 0.6);
        // The back seam's shadow and the coat tail's fold.
        line(cr, P(-7.8, 24), P(-8.4, -7), pal::tone::tweed.dark, 1.0, 0.5);
        cairo_restore(cr);
        // The shirt collar standing round the neck.
        inked(cr, [&](cairo_t* c) {
            Pt a = P(-2.8, 33.4), b = P(5.6, 34.0), d = P(5.2, 36.6), e = P(-2.2, 36.2);
            cairo_move_to(c, a.x, a.y);
            cairo_line_to(c, b.x, b.y);
            cairo_line_to(c, d.x, d.y);
            cairo_line_to(c, e.x, e.y);
            cairo_close_path(c);
        }, lit_to_dark(P(4, 37), P(-2, 33), pal::tone::shirt), 1.2);
        // The bow tie under the chin.
        inked(cr, [&](cairo_t* c) {
            Pt k = P(6.6, 33.8);
            add_ellipse(c, k + Pt{0, -1.2}, 1.1, 1.5, 0.4);
            add_ellipse(c, k + Pt{0.2, 1.2}, 1.1, 1.5, -0.4);
        }, lit_to_dark(P(7, 36), P(6, 32), pal::tone::tie), 1.1);
    } else {
        Path body = [&](cairo_t* c) { path_bare_torso(c, f); };
        inked(cr, body, lit_to_dark(centre + g_light * 14, centre - g_light * 12, pal::tone::skin), 2.0);
        // White curls on the old chest.
        clip_to(cr, body);
        for (Pt q : {P(6.0, 29.5), P(7.6, 27.0), P(5.0, 26.5)}) {
            cairo_new_path(cr);
            cairo_arc(cr, q.x, q.y, 0.8, 0, 1.6 * kPi);
            set(cr, pal::tone::hair.base);
            cairo_set_line_width(cr, 0.6);
            cairo_stroke(cr);
        }
        cairo_restore(cr);
        Path tunic = [&](cairo_t* c) { path_tunic(c, f); };
        inked(cr, tunic, lit_to_dark(centre + g_light * 15, centre - g_light * 13, pal::tone::leopard), 1.9);
        clip_to(cr, tunic);
        rosettes(cr, centre.x - 18, centre.y - 30, centre.x + 18, centre.y + 30, 5);
        cairo_restore(cr);
    }
}
}  // namespace

// --- shading and primitives ---------------------------------------------
Tone dimmed(const Tone& t, double k) {
    if (k >= 1.0) return t;
    Col shade = mix(t.dark, pal::ink, 0.35);
    double m = 1.0 - k;
    return {mix(t.lit, t.base, m * 1.6 > 1 ? 1 : m * 1.6), mix(t.base, t.dark, m * 1.4 > 1 ? 1 : m * 1.4),
            mix(t.dark, shade, m * 1.6 > 1 ? 1 : m * 1.6)};
}

void add_ellipse(cairo_t* cr, Pt c, double rx, double ry, double angle) {
    cairo_save(cr);
    cairo_translate(cr, c.x, c.y);
    cairo_rotate(cr, angle);
    cairo_scale(cr, rx, ry);
    cairo_new_sub_path(cr);
    cairo_arc(cr, 0, 0, 1, 0, 2 * kPi);
    cairo_close_path(cr);
    cairo_restore(cr);
}

void add_circle(cairo_t* cr, Pt c, double r) {
    cairo_new_sub_path(cr);
    cairo_arc(cr, c.x, c.y, r, 0, 2 * kPi);
    cairo_close_path(cr);
}

void add_capsule(cairo_t* cr, Pt a, double ra, Pt b, double rb) {
    double d = len(b - a);
    if (d <= std::fabs(ra - rb) + 1e-6) {
        add_circle(cr, ra > rb ? a : b, std::max(ra, rb));
        return;
    }
    double th = std::atan2(b.y - a.y, b.x - a.x);
    double al = std::acos((ra - rb) / d);
    cairo_new_sub_path(cr);
    cairo_arc(cr, a.x, a.y, ra, th + al, th + 2 * kPi - al);
    cairo_arc(cr, b.x, b.y, rb, th - al, th + al);
    cairo_close_path(cr);
}

void inked(cairo_t* cr, const Path& shape, cairo_pattern_t* fill, double outline) {
    cairo_new_path(cr);
    shape(cr);
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_set_line_width(cr, outline);
    set(cr, pal::ink);
    cairo_stroke_preserve(cr);
    cairo_set_source(cr, fill);
    cairo_fill(cr);
    cairo_pattern_destroy(fill);
}

void clip_to(cairo_t* cr, const Path& shape) {
    cairo_save(cr);
    cairo_new_path(cr);
    shape(cr);
    cairo_clip(cr);
}

void set_light(Pt towards_light) { g_light = unit(towards_light); }

cairo_pattern_t* rounded_across(Pt a, Pt b, double r, const Tone& t) {
    Pt m = lerp(a, b, 0.5);
    Pt u = unit(b - a);
    Pt n{-u.y, u.x};
    if (dot(n, g_light) < 0) n = n * -1;
    Pt lit = m + n * (r * 1.05), dark = m - n * (r * 1.05);
    cairo_pattern_t* p = cairo_pattern_create_linear(lit.x, lit.y, dark.x, dark.y);
    tone_stops(p, t);
    return p;
}

cairo_pattern_t* lit_to_dark(Pt lit, Pt dark, const Tone& t) {
    cairo_pattern_t* p = cairo_pattern_create_linear(lit.x, lit.y, dark.x, dark.y);
    tone_stops(p, t);
    return p;
}

cairo_pattern_t* dome(Pt centre, double r, const Tone& t) {
    Pt hot = centre + g_light * (r * 0.4);
    cairo_pattern_t* p = cairo_pattern_create_radial(hot.x, hot.y, 0, centre.x, centre.y, r);
    stop(p, 0.0, t.lit);
    stop(p, 0.45, mix(t.lit, t.base, 0.7));
    stop(p, 0.8, t.base);
    stop(p, 1.0, t.dark);
    return p;
}

void limb(cairo_t* cr, Pt root, double r0, Pt joint, double r1, Pt end, double r2, const Tone& t) {
    cairo_new_path(cr);
    add_capsule(cr, root, r0, joint, r1);
    add_capsule(cr, joint, r1, end, r2);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_set_line_width(cr, 2.0);
    set(cr, pal::ink);
    cairo_stroke(cr);
    for (int k = 0; k < 2; ++k) {
        Pt a = k == 0 ? root : joint, b = k == 0 ? joint : end;
        double ra = k == 0 ? r0 : r1, rb = k == 0 ? r1 : r2;
        cairo_new_path(cr);
        add_capsule(cr, a, ra, b, rb);
        cairo_pattern_t* g = rounded_across(a, b, std::max(ra, rb), t);
        cairo_set_source(cr, g);
        cairo_fill(cr);
        cairo_pattern_destroy(g);
    }
}

void weave(cairo_t* cr, double x0, double y0, double x1, double y1, const Tone& t, unsigned seed) {
    Dice dice{seed};
    int n = int((x1 - x0) * (y1 - y0) / 7.0);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    for (int i = 0; i < n; ++i) {
        double x = x0 + dice.next() * (x1 - x0), y = y0 + dice.next() * (y1 - y0);
        double kind = dice.next();
        Col c = kind < 0.45 ? t.lit : (kind < 0.9 ? t.dark : pal::tone::tie.dark);
        double a = kind < 0.9 ? 0.35 : 0.3;
        double dx = (dice.next() < 0.5 ? 1.0 : -1.0) * 0.9;
        cairo_new_path(cr);
        cairo_move_to(cr, x, y);
        cairo_line_to(cr, x + dx, y + 0.9);
        set(cr, alpha(c, a));
        cairo_set_line_width(cr, 0.7);
        cairo_stroke(cr);
    }
}

void rosettes(cairo_t* cr, double x0, double y0, double x1, double y1, unsigned seed) {
    Dice dice{seed};
    Col spot = hex(0x3a1f0c), inner = hex(0xc07a26);
    for (double y = y0; y < y1; y += 6.0) {
        for (double x = x0 + (int((y - y0) / 6.0) % 2) * 3.2; x < x1; x += 6.4) {
            Pt c{x + (dice.next() - 0.5) * 3.4, y + (dice.next() - 0.5) * 3.4};
            if (dice.next() < 0.25) {
                // A plain spot.
                cairo_new_path(cr);
                add_ellipse(cr, c, 0.7 + dice.next() * 0.5, 0.6 + dice.next() * 0.4, dice.next() * 3);
                set(cr, spot);
                cairo_fill(cr);
                continue;
            }
            // A rosette: a darker heart ringed by broken blotches.
            double r = 1.3 + dice.next() * 0.8;
            cairo_new_path(cr);
            add_ellipse(cr, c, r * 0.75, r * 0.6, dice.next() * 3);
            set(cr, inner);
            cairo_fill(cr);
            int n = 3 + int(dice.next() * 2.99);
            double a0 = dice.next() * 6.28;
            for (int k = 0; k < n; ++k) {
                double a = a0 + k * 6.28 / n + (dice.next() - 0.5) * 0.6;
                Pt q = c + Pt{std::cos(a) * r, std::sin(a) * r * 0.85};
                cairo_new_path(cr);
                add_ellipse(cr, q, 0.55 + dice.next() * 0.35, 0.4 + dice.next() * 0.2, a + 1.57);
                set(cr, spot);
                cairo_fill(cr);
            }
        }
    }
}

void star(cairo_t* cr, Pt c, double r, double turn) {
    inked(cr, [&](cairo_t* k) {
        cairo_new_sub_path(k);
        for (int i = 0; i < 10; ++i) {
            double a = turn + i * kPi / 5 - kPi / 2;
            double rr = i % 2 == 0 ? r : r * 0.45;
            double x = c.x + std::cos(a) * rr, y = c.y + std::sin(a) * rr;
            if (i == 0)
                cairo_move_to(k, x, y);
            else
                cairo_line_to(k, x, y);
        }
        cairo_close_path(k);
    }, dome(c, r, pal::tone::gold), 1.2);
    cairo_new_path(cr);
    add_circle(cr, c + Pt{-r * 0.15, -r * 0.2}, r * 0.22);
    set(cr, hex(0xfff4c4, 0.9));
    cairo_fill(cr);
}

// --- heads ---------------------------------------------------------------
void paint_head_side(cairo_t* cr, Pt c, double tilt, Outfit, Face face) {
    cairo_save(cr);
    cairo_translate(cr, c.x, c.y);
    cairo_rotate(cr, rad(tilt));
    const Tone& skin = pal::tone::skin;
    Path skull = [&](cairo_t* k) {
        add_ellipse(k, {0, 0}, 9.2, 10.0);
        add_ellipse(k, {3.4, 5.0}, 6.8, 5.4);
        add_circle(k, {9.9, 1.8}, 3.0);
    };
    inked(cr, skull, dome({2.0, -2.5}, 13.5, skin), 2.0);
    clip_to(cr, skull);
    soft_spot(cr, {1.5, -7.0}, 3.4, hex(0xffffff), 0.65);
    soft_spot(cr, {5.0, 4.0}, 3.0, pal::blush, 0.45);
    soft_spot(cr, {10.6, 1.6}, 2.5, pal::blush, 0.6);
    cairo_new_path(cr);
    cairo_arc(cr, 9.2, 3.4, 1.4, 1.2, 2.9);
    set(cr, alpha(skin.dark, 0.9));
    cairo_set_line_width(cr, 0.6);
    cairo_stroke(cr);
    cairo_restore(cr);
    if (face == Face::Dazed) {
        // The bump where he hit the ground.
        inked(cr, [](cairo_t* k) { add_ellipse(k, {0.5, -9.6}, 2.6, 1.9, -0.1); }, dome({0.2, -10.2}, 3.2, skin), 1.2);
        soft_spot(cr, {0.6, -9.6}, 2.0, pal::blush, 0.8);
    }
    // Ear.
    inked(cr, [](cairo_t* k) { add_ellipse(k, {-2.6, 1.6}, 2.3, 3.1, 0.15); }, dome({-2.3, 1.0}, 3.4, skin), 1.2);
    cairo_new_path(cr);
    cairo_arc(cr, -2.4, 1.6, 1.2, -1.2, 1.9);
    set(cr, skin.dark);
    cairo_set_line_width(cr, 0.6);
    cairo_stroke(cr);
    // White tufts round the back of the bald head.
    inked(cr, [](cairo_t* k) {
        add_circle(k, {-7.9, -2.2}, 2.7);
        add_circle(k, {-9.1, 1.4}, 3.0);
        add_circle(k, {-7.9, 5.0}, 2.7);
        add_circle(k, {-5.2, 7.5}, 2.2);
        add_circle(k, {-5.0, -5.9}, 2.0);
        add_circle(k, {-1.6, -9.9}, 1.3);
    }, dome({-7, -2}, 8.0, pal::tone::hair), 1.3);
    for (Pt q : {Pt{-8.4, 0.0}, Pt{-7.2, 4.4}, Pt{-5.6, -4.6}}) {
        cairo_new_path(cr);
        cairo_arc(cr, q.x, q.y, 1.2, 0.3, 2.6);
        set(cr, alpha(pal::tone::hair.dark, 0.9));
        cairo_set_line_width(cr, 0.5);
        cairo_stroke(cr);
    }
    // Eyebrow.
    double brow = face == Face::Fright ? -1.6 : 0.0;
    double slant = face == Face::Yell ? 0.9 : 0.0;
    inked(cr, [&](cairo_t* k) { add_capsule(k, {3.2, -4.6 + brow - slant}, 1.0, {7.9, -4.3 + brow + slant}, 1.35); },
          flat(pal::tone::hair.base), 1.0);
    // Glasses and the eye behind them.
    Pt lens{5.9, -0.5};
    line(cr, {2.8, -0.9}, {-1.6, -0.5}, pal::lens_rim, 0.9);
    cairo_new_path(cr);
    add_circle(cr, lens, 3.1);
    set(cr, alpha(pal::lens, 0.55));
    cairo_fill(cr);
    switch (face) {
    case Face::Yell:
        cairo_new_path(cr);
        cairo_arc(cr, lens.x + 0.5, lens.y + 1.2, 1.4, kPi * 1.1, kPi * 1.9);
        set(cr, pal::ink);
        cairo_set_line_width(cr, 0.8);
        cairo_stroke(cr);
        break;
    case Face::Fright:
        cairo_new_path(cr);
        add_circle(cr, lens + Pt{0.4, 0}, 1.5);
        set(cr, hex(0xffffff));
        cairo_fill(cr);
        cairo_new_path(cr);
        add_circle(cr, lens + Pt{0.9, 0.1}, 0.7);
        set(cr, pal::ink);
        cairo_fill(cr);
        break;
    case Face::Dazed:
        cairo_new_path(cr);
        for (int i = 0; i <= 16; ++i) {
            double a = i * 0.75, r = 0.15 + i * 0.1;
            double x = lens.x + 0.4 + std::cos(a) * r, y = lens.y + std::sin(a) * r;
            if (i == 0)
                cairo_move_to(cr, x, y);
            else
                cairo_line_to(cr, x, y);
        }
        set(cr, pal::ink);
        cairo_set_line_width(cr, 0.55);
        cairo_stroke(cr);
        break;
    default:
        cairo_new_path(cr);
        add_ellipse(cr, lens + Pt{0.7, 0.2}, 0.75, 1.0);
        set(cr, pal::ink);
        cairo_fill(cr);
        break;
    }
    spectacle_rim(cr, lens, 3.1, 2.1, -1.4, -0.5);
    // Mouth (under the moustache) and the moustache.
    switch (face) {
    case Face::Yell:
    case Face::Fright:
        inked(cr, [](cairo_t* k) { add_ellipse(k, {8.3, 8.6}, 2.1, 2.6, 0.2); }, flat(pal::mouth), 1.1);
        cairo_new_path(cr);
        add_ellipse(cr, {8.2, 10.0}, 1.2, 0.7);
        set(cr, pal::tone::tie.lit);
        cairo_fill(cr);
        break;
    case Face::Blow:
        inked(cr, [](cairo_t* k) { add_circle(k, {10.0, 7.7}, 0.9); }, flat(pal::mouth), 0.9);
        break;
    case Face::Dazed:
        cairo_new_path(cr);
        cairo_move_to(cr, 6.6, 8.2);
        cairo_curve_to(cr, 7.4, 7.4, 8.2, 9.0, 9.4, 8.0);
        set(cr, pal::mouth);
        cairo_set_line_width(cr, 0.8);
        cairo_stroke(cr);
        break;
    default:
        line(cr, {7.3, 8.1}, {9.4, 7.8}, pal::mouth, 0.8);
        break;
    }
    inked(cr, [](cairo_t* k) {
        add_ellipse(k, {8.0, 5.9}, 3.5, 1.6, -0.1);
        add_circle(k, {5.0, 6.9}, 1.35);
        add_circle(k, {10.6, 6.6}, 1.1);
    }, dome({8, 4.8}, 5.0, pal::tone::hair), 1.2);
    cairo_restore(cr);
}

namespace {
void paint_head_back(cairo_t* cr, Pt c) {
    cairo_save(cr);
    cairo_translate(cr, c.x, c.y);
    const Tone& skin = pal::tone::skin;
    inked(cr, [](cairo_t* k) { add_ellipse(k, {0, 0}, 9.0, 10.0); }, dome({-1.5, -3}, 13, skin), 2.0);
    soft_spot(cr, {-2.0, -5.5}, 3.6, hex(0xffffff), 0.6);
    // The fringe left round the back of the bald head, from ear to ear and
    // down to the nape, wild at the sides.
    Path fringe = [](cairo_t* k) {
        // Lumps of curl between an upper edge that dips towards the middle
        // and a lower edge at the nape; wild tufts stand out at the sides.
        for (int i = 0; i <= 10; ++i) {
            double x = -9.6 + i * 1.92;
            double u = x / 9.6, bow = 1 - u * u;
            double top = -3.0 + 4.4 * bow, bottom = 2.6 + 5.0 * bow;
            for (double y = top; y <= bottom + 0.01; y += 2.6) add_circle(k, {x, y}, 1.9 + 0.3 * (i % 2));
            add_circle(k, {x, bottom}, 1.9);
        }
        for (int s = -1; s <= 1; s += 2) {
            add_circle(k, {s * 11.0, -4.6}, 2.0);
            add_circle(k, {s * 12.4, -1.6}, 1.7);
            add_circle(k, {s * 11.6, 1.4}, 1.6);
        }
    };
    inked(cr, fringe, lit_to_dark({-4, -5}, {3, 9}, Tone{pal::tone::hair.lit, pal::tone::hair.base, hex(0x8e9096)}), 1.3);
    for (int i = 0; i < 9; ++i) {
        double x = -8.0 + i * 2.0;
        double u = x / 9.6;
        Pt q{x, 0.5 + 4.8 * (1 - u * u) + (i % 2) * 1.2};
        cairo_new_path(cr);
        cairo_arc(cr, q.x, q.y, 1.1, 0.2, 2.6);
        set(cr, hex(0x8e9096, 0.9));
        cairo_set_line_width(cr, 0.5);
        cairo_stroke(cr);
    }
    for (int s = -1; s <= 1; s += 2)
        inked(cr, [&](cairo_t* k) { add_ellipse(k, {s * 9.6, 0.6}, 1.9, 2.9, s * 0.25); },
              dome({s * 9.6, 0.0}, 3.4, dimmed(skin, 0.8)), 1.2);
    // The ends of the glasses' arms over the ears.
    line(cr, {-8.6, -2.6}, {-10.0, -1.2}, pal::lens_rim, 0.8);
    line(cr, {8.6, -2.6}, {10.0, -1.2}, pal::lens_rim, 0.8);
    cairo_restore(cr);
}

void paint_head_front(cairo_t* cr, Pt c, double tilt, Face face) {
    cairo_save(cr);
    cairo_translate(cr, c.x, c.y);
    cairo_rotate(cr, rad(tilt));
    const Tone& skin = pal::tone::skin;
    for (int s = -1; s <= 1; s += 2)
        inked(cr, [&](cairo_t* k) { add_ellipse(k, {s * 9.0, 1.5}, 2.2, 3.1, -s * 0.2); },
              dome({s * 9.0, 1.0}, 3.5, skin), 1.2);
    Path skull = [](cairo_t* k) {
        add_ellipse(k, {0, 0}, 9.0, 10.0);
        add_ellipse(k, {0, 4.6}, 7.2, 6.0);
    };
    inked(cr, skull, dome({-1.5, -2.5}, 13.5, skin), 2.0);
    clip_to(cr, skull);
    soft_spot(cr, {-1.6, -6.8}, 3.4, hex(0xffffff), 0.65);
    soft_spot(cr, {-5.0, 4.0}, 2.6, pal::blush, 0.45);
    soft_spot(cr, {5.0, 4.0}, 2.6, pal::blush, 0.45);
    cairo_restore(cr);
    // Tufts: standing on end when he is frightened.
    bool bristle = face == Face::Fright;
    inked(cr, [&](cairo_t* k) {
        for (int s = -1; s <= 1; s += 2) {
            add_circle(k, {s * 8.6, -2.4}, 2.6);
            add_circle(k, {s * 9.7, 1.0}, 2.4);
            add_circle(k, {s * 8.8, 4.2}, 2.0);
            if (bristle) {
                add_capsule(k, {s * 9.2, -3.5}, 1.6, {s * 13.4, -6.6}, 0.6);
                add_capsule(k, {s * 10.0, 0.0}, 1.5, {s * 14.2, -1.2}, 0.6);
            }
        }
        add_circle(k, {0.8, -10.0}, 1.2);
    }, dome({0, -3}, 14.0, pal::tone::hair), 1.3);
    // Eyebrows, glasses, eyes.
    double brow = bristle ? -2.0 : 0.0;
    for (int s = -1; s <= 1; s += 2)
        inked(cr, [&](cairo_t* k) { add_capsule(k, {s * 1.7, -4.4 + brow}, 1.0, {s * 6.2, -5.0 + brow}, 1.2); },
              flat(pal::tone::hair.base), 1.0);
    for (int s = -1; s <= 1; s += 2) {
        Pt lens{s * 4.0, -0.6};
        cairo_new_path(cr);
        add_circle(cr, lens, 3.0);
        set(cr, alpha(pal::lens, 0.55));
        cairo_fill(cr);
        if (face == Face::Fright) {
            cairo_new_path(cr);
            add_circle(cr, lens, 1.6);
            set(cr, hex(0xffffff));
            cairo_fill(cr);
            cairo_new_path(cr);
            add_circle(cr, lens + Pt{0, -0.2}, 0.75);
            set(cr, pal::ink);
            cairo_fill(cr);
        } else {
            cairo_new_path(cr);
            add_ellipse(cr, lens, 0.75, 1.0);
            set(cr, pal::ink);
            cairo_fill(cr);
        }
        spectacle_rim(cr, lens, 3.0, 2.0, -2.4, -1.5);
        line(cr, {s * 7.0, -1.0}, {s * 8.7, -0.5}, pal::lens_rim, 0.9);
    }
    line(cr, {-1.0, -0.9}, {1.0, -0.9}, pal::lens_rim, 0.9);
    // Nose, mouth, moustache.
    inked(cr, [](cairo_t* k) { add_ellipse(k, {0, 2.9}, 2.0, 2.3); }, dome({0.3, 2.2}, 3.0, skin), 1.1);
    soft_spot(cr, {0, 3.2}, 1.8, pal::blush, 0.5);
    if (face == Face::Fright || face == Face::Yell) {
        inked(cr, [](cairo_t* k) { add_ellipse(k, {0, 8.8}, 1.9, 2.4); }, flat(pal::mouth), 1.1);
    } else {
        line(cr, {-1.4, 8.3}, {1.4, 8.3}, pal::mouth, 0.8);
    }
    inked(cr, [](cairo_t* k) {
        add_ellipse(k, {-2.6, 6.0}, 2.9, 1.5, 0.25);
        add_ellipse(k, {2.6, 6.0}, 2.9, 1.5, -0.25);
        add_circle(k, {-5.1, 7.0}, 1.1);
        add_circle(k, {5.1, 7.0}, 1.1);
    }, dome({0, 5}, 6.0, pal::tone::hair), 1.2);
    cairo_restore(cr);
}

// The jacket of the back and front views, shoulders to hem.
void path_square_jacket(cairo_t* c, double cx, double sy, double hy) {
    cairo_move_to(c, cx - 4.5, sy - 5.5);
    cairo_curve_to(c, cx - 8.5, sy - 5.0, cx - 11.6, sy - 3.2, cx - 11.8, sy + 1.0);
    cairo_curve_to(c, cx - 11.6, sy + 12, cx - 10.4, hy - 8, cx - 11.0, hy + 7);
    cairo_curve_to(c, cx - 4, hy + 8, cx + 4, hy + 8, cx + 11.0, hy + 7);
    cairo_curve_to(c, cx + 10.4, hy - 8, cx + 11.6, sy + 12, cx + 11.8, sy + 1.0);
    cairo_curve_to(c, cx + 11.6, sy - 3.2, cx + 8.5, sy - 5.0, cx + 4.5, sy - 5.5);
    cairo_curve_to(c, cx + 2, sy - 6.5, cx - 2, sy - 6.5, cx - 4.5, sy - 5.5);
    cairo_close_path(c);
}

void paint_shoe_end_on(cairo_t* cr, Pt ankle, bool from_behind, const Tone& t) {
    Path shape = [&](cairo_t* k) {
        add_ellipse(k, ankle + Pt{0, 2.6}, 3.9, 2.5);
        if (!from_behind) add_ellipse(k, ankle + Pt{0, 3.3}, 4.3, 2.2);
    };
    inked(cr, shape, dome(ankle + Pt{0, 1.5}, 5.0, t), 1.8);
    cairo_new_path(cr);
    cairo_rectangle(cr, ankle.x - 4.2, ankle.y + 4.0, 8.4, 1.1);
    set(cr, mix(t.dark, pal::ink, 0.5));
    cairo_fill(cr);
}

// Both legs seen end on (from behind or from the front): the one on the
// picture's left first.
void legs_end_on(cairo_t* cr, double cx, double hy, Pt left_knee, Pt left_ankle, Pt right_knee, Pt right_ankle,
                 bool from_behind) {
    limb(cr, {cx - 4.8, hy + 1}, 5.2, left_knee, 4.3, left_ankle, 3.7, pal::tone::trousers);
    paint_shoe_end_on(cr, left_ankle, from_behind, pal::tone::shoe);
    limb(cr, {cx + 4.8, hy + 1}, 5.2, right_knee, 4.3, right_ankle, 3.7, pal::tone::trousers);
    paint_shoe_end_on(cr, right_ankle, from_behind, pal::tone::shoe);
}

// The square-cut jacket, inked and woven; leaves the drawing clipped to it
// (the caller adds its seams and then restores).
void begin_square_jacket(cairo_t* cr, double cx, double sy, double hy, unsigned weave_seed) {
    Path jacket = [&](cairo_t* c) { path_square_jacket(c, cx, sy, hy); };
    inked(cr, jacket, lit_to_dark({cx - 8, sy}, {cx + 9, hy + 6}, pal::tone::tweed), 2.0);
    clip_to(cr, jacket);
    weave(cr, cx - 13, sy - 7, cx + 13, hy + 9, pal::tone::tweed, weave_seed);
}
}  // namespace

void paint_back(cairo_t* cr, const BackPose& p) {
    double cx = p.cx, sy = p.shoulder_y, hy = p.hip_y;
    legs_end_on(cr, cx, hy, p.left_knee, p.left_ankle, p.right_knee, p.right_ankle, true);
    begin_square_jacket(cr, cx, sy, hy, 17);
    line(cr, {cx, sy - 4}, {cx, hy + 8}, pal::tone::tweed.dark, 1.0);
    line(cr, {cx + 0.9, hy - 1}, {cx + 0.9, hy + 8}, pal::tone::tweed.lit, 0.6, 0.7);
    line(cr, {cx - 8.5, sy - 3.5}, {cx - 7.0, sy + 9}, pal::tone::tweed.dark, 0.8, 0.6);
    line(cr, {cx + 8.5, sy - 3.5}, {cx + 7.0, sy + 9}, pal::tone::tweed.dark, 0.8, 0.6);
    cairo_restore(cr);
    inked(cr, [&](cairo_t* k) { add_capsule(k, {cx, sy - 6.5}, 3.4, p.head + Pt{0, 8}, 3.4); },
          rounded_across({cx - 1, sy - 6}, p.head, 3.4, pal::tone::skin), 1.4);
    paint_head_back(cr, p.head);
    // The collar stands in front of the nape: the shirt's edge, then the
    // jacket's turned-down band.
    inked(cr, [&](cairo_t* k) { add_capsule(k, {cx - 4.6, sy - 6.6}, 1.5, {cx + 4.6, sy - 6.6}, 1.5); },
          flat(pal::tone::shirt.base), 1.1);
    inked(cr, [&](cairo_t* k) {
        cairo_move_to(k, cx - 6.5, sy - 6.2);
        cairo_curve_to(k, cx - 3, sy - 7.4, cx + 3, sy - 7.4, cx + 6.5, sy - 6.2);
        cairo_line_to(k, cx + 7.5, sy - 3.0);
        cairo_curve_to(k, cx + 3, sy - 2.0, cx - 3, sy - 2.0, cx - 7.5, sy - 3.0);
        cairo_close_path(k);
    }, lit_to_dark({cx - 5, sy - 7}, {cx + 5, sy - 2}, pal::tone::tweed), 1.2);
    paint_arm(cr, {cx - 9.4, sy + 0.8}, p.left_elbow, p.left_hand, p.left_grip, Outfit::Tweed, 1.0);
    paint_arm(cr, {cx + 9.4, sy + 0.8}, p.right_elbow, p.right_hand, p.right_grip, Outfit::Tweed, 1.0);
}

void paint_front(cairo_t* cr, const FrontPose& p) {
    double cx = p.cx, sy = p.shoulder_y, hy = p.hip_y;
    legs_end_on(cr, cx, hy, p.right_knee, p.right_ankle, p.left_knee, p.left_ankle, false);
    begin_square_jacket(cr, cx, sy, hy, 29);
    // Shirt between the lapels, the tie, lapel edges, buttons, pockets.
    inked(cr, [&](cairo_t* k) {
        cairo_move_to(k, cx - 4.6, sy - 6);
        cairo_line_to(k, cx + 4.6, sy - 6);
        cairo_line_to(k, cx + 1.0, sy + 15);
        cairo_line_to(k, cx - 1.0, sy + 15);
        cairo_close_path(k);
    }, lit_to_dark({cx - 3, sy - 5}, {cx + 3, sy + 12}, pal::tone::shirt), 1.1);
    inked(cr, [&](cairo_t* k) {
        cairo_move_to(k, cx - 0.7, sy - 2.5);
        cairo_line_to(k, cx + 0.7, sy - 2.5);
        cairo_line_to(k, cx + 1.2, sy + 8);
        cairo_line_to(k, cx, sy + 9.5);
        cairo_line_to(k, cx - 1.2, sy + 8);
        cairo_close_path(k);
    }, lit_to_dark({cx - 1, sy}, {cx + 1, sy + 12}, pal::tone::tie), 0.9);
    line(cr, {cx - 4.6, sy - 5.5}, {cx - 0.6, sy + 15.5}, pal::tone::tweed.dark, 1.0);
    line(cr, {cx + 4.6, sy - 5.5}, {cx + 0.6, sy + 15.5}, pal::tone::tweed.dark, 1.0);
    line(cr, {cx, sy + 15.5}, {cx, hy + 8}, pal::tone::tweed.dark, 0.9);
    for (double y : {sy + 19.0, sy + 25.0}) {
        inked(cr, [&](cairo_t* k) { add_circle(k, {cx + 1.3, y}, 0.9); }, flat(pal::tone::shoe.base), 1.0);
    }
    line(cr, {cx - 9.0, hy - 1}, {cx - 3.5, hy - 1}, pal::tone::tweed.dark, 1.0);
    line(cr, {cx + 3.5, hy - 1}, {cx + 9.0, hy - 1}, pal::tone::tweed.dark, 1.0);
    cairo_restore(cr);
    inked(cr, [&](cairo_t* k) { add_capsule(k, {cx, sy - 6.5}, 3.4, p.head + Pt{0, 8}, 3.4); },
          rounded_across({cx - 1, sy - 6}, p.head, 3.4, pal::tone::skin), 1.4);
    // Collar points and the knot.
    inked(cr, [&](cairo_t* k) {
        cairo_move_to(k, cx - 4.2, sy - 7);
        cairo_line_to(k, cx - 0.3, sy - 3.8);
        cairo_line_to(k, cx - 3.2, sy - 2.4);
        cairo_close_path(k);
        cairo_move_to(k, cx + 4.2, sy - 7);
        cairo_line_to(k, cx + 3.2, sy - 2.4);
        cairo_line_to(k, cx + 0.3, sy - 3.8);
        cairo_close_path(k);
    }, flat(pal::tone::shirt.lit), 1.0);
    inked(cr, [&](cairo_t* k) { add_ellipse(k, {cx, sy - 3.2}, 1.3, 1.1); }, flat(pal::tone::tie.base), 0.9);
    paint_head_front(cr, p.head, p.head_tilt, p.face);
    // His right arm is on the viewer's left.
    paint_arm(cr, {cx - 9.4, sy + 0.8}, p.right_elbow, p.right_hand, p.hands, Outfit::Tweed, 1.0);
    paint_arm(cr, {cx + 9.4, sy + 0.8}, p.left_elbow, p.left_hand, p.hands, Outfit::Tweed, 1.0);
}

void paint_side(cairo_t* cr, const SidePose& p) {
    const double far_shade = 0.42;
    Frame f = torso_frame(p);
    Pt far_shoulder = f.at(-1.5, -27.5);
    Pt near_shoulder = f.at(-0.5, -27.0);
    Pt far_hip = f.at(-1.5, 0), near_hip = f.at(0.5, 0);
    if (!p.far_arm_in_front)
        paint_arm(cr, far_shoulder, p.far_elbow, p.far_hand, p.far_grip, p.outfit, far_shade);
    paint_leg(cr, far_hip, p.far_knee, p.far_ankle, p.far_toe, p.outfit, far_shade * 0.7);
    paint_leg(cr, near_hip, p.near_knee, p.near_ankle, p.near_toe, p.outfit, 1.0);
    // The head's neck point, carried with its tilt.
    double t = rad(p.head_tilt);
    Pt local{0.8, 8.5};
    Pt neck_top = p.head + Pt{local.x * std::cos(t) - local.y * std::sin(t), local.x * std::sin(t) + local.y * std::cos(t)};
    paint_side_torso(cr, p, neck_top);
    paint_head_side(cr, p.head, p.head_tilt, p.outfit, p.face);
    if (p.far_arm_in_front)
        paint_arm(cr, far_shoulder, p.far_elbow, p.far_hand, p.far_grip, p.outfit, 0.8);
    if (p.prop) p.prop(cr);
    paint_arm(cr, near_shoulder, p.near_elbow, p.near_hand, p.near_grip, p.outfit, 1.0);
}

}  // namespace professor

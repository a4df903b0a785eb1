// SPDX-License-Identifier: GPL-3.0-or-later
// The thirteen book pages, lib1.bmp ... lib13.bmp: an old printed page each,
// with its running head, title, a few lines of text and, for the books that
// give an object, a hand-coloured plate of that object.
#include <cmath>
#include <functional>
#include <random>
#include <string>

#include <pango/pangocairo.h>

#include "datagen/paint/brush.h"
#include "datagen/pictures/objects.h"
#include "core/bmp_load.h"

namespace {

constexpr int kPage = 400;

struct Box {
    double x, y, w, h;
};

struct Page {
    int number;              // lib<number>.bmp
    std::string head;        // running head (the book's title)
    std::string title;       // the page's heading
    std::string text;        // the running text
    std::function<void(cairo_t*, Box)> plate;  // the illustration, or none
    std::string caption;
    int folio;               // the printed page number
    bool handwritten = false;
    Box fixed{0, 0, 0, 0};   // a plate at a fixed place of the page
};

// Old paper: warm, mottled, foxed, darker at the edges and in the gutter.
void paper(cairo_t* cr, cairo_surface_t* canvas, int seed, bool verso) {
    set(cr, pal::paper);
    cairo_paint(cr);
    std::mt19937 rng(seed);
    std::uniform_real_distribution<double> u(0, 1);
    double fox[12][3];
    for (auto& f : fox) f[0] = u(rng) * kPage, f[1] = u(rng) * kPage, f[2] = 2 + u(rng) * 7;
    cairo_surface_flush(canvas);
    for_pixels(canvas, [&](int x, int y, double& r, double& g, double& b, double&) {
        double n = fbm(x * 0.018, y * 0.018, seed, 5);
        double fine = noise2(x * 0.6, y * 0.6, seed + 5);
        double shade = 0.93 + 0.1 * n + 0.03 * fine;
        double gx = verso ? kPage - 1 - x : x;
        double gutter = std::exp(-gx / 14.0) * 0.35 + std::exp(-gx / 50.0) * 0.08;
        double ex = std::min(x, kPage - 1 - x), ey = std::min(y, kPage - 1 - y);
        double edge = std::exp(-std::min(ex, ey) / 9.0) * 0.18;
        double f = 0;
        for (auto& s : fox) {
            double d = std::hypot(x - s[0], y - s[1]) / s[2];
            if (d < 1.6) f += (1 - d / 1.6) * 0.12;
        }
        double k = shade * (1 - gutter - edge - f);
        r = r * k + f * 40;
        g = g * k + f * 10;
        b = b * (k - 0.06 * f);
    });
}

void ornament(cairo_t* cr, double cx, double y, double half) {
    cairo_move_to(cr, cx - half, y);
    cairo_line_to(cr, cx - 7, y);
    cairo_move_to(cr, cx + 7, y);
    cairo_line_to(cr, cx + half, y);
    stroke_col(cr, 0.8, alpha(pal::sepia, 0.8));
    cairo_move_to(cr, cx, y - 3.5);
    cairo_line_to(cr, cx + 4.5, y);
    cairo_line_to(cr, cx, y + 3.5);
    cairo_line_to(cr, cx - 4.5, y);
    cairo_close_path(cr);
    set(cr, hex(0x8a1a10));
    cairo_fill(cr);
    for (int s = -1; s <= 1; s += 2) {
        cairo_arc(cr, cx + s * 10, y, 1.5, 0, 2 * kPi);
        set(cr, pal::sepia);
        cairo_fill(cr);
    }
}

// A plate: a lighter panel in a double ink rule, the object with a soft
// shadow, drawn by fn in its own w x h coordinates, scaled to fit.
std::function<void(cairo_t*, Box)> object_plate(void (*fn)(cairo_t*), double w, double h, double max_scale = 4.5) {
    return [=](cairo_t* cr, Box b) {
        double s = std::min({(b.w - 24) / w, (b.h - 20) / h, max_scale});
        double ox = b.x + (b.w - w * s) / 2, oy = b.y + (b.h - h * s) / 2;
        ellipse(cr, b.x + b.w / 2, oy + h * s + 2, w * s * 0.42, 4.5);
        set(cr, hex(0x5a4020, 0.25));
        cairo_fill(cr);
        cairo_save(cr);
        cairo_translate(cr, ox, oy);
        cairo_scale(cr, s, s);
        fn(cr);
        cairo_restore(cr);
    };
}

void plate_frame(cairo_t* cr, Box b) {
    cairo_rectangle(cr, b.x, b.y, b.w, b.h);
    set_radial(cr, b.x + b.w / 2, b.y + b.h / 2, 5, std::max(b.w, b.h) * 0.7,
               {{0, hex(0xfff6dc, 0.55)}, {1, hex(0xfff6dc, 0.1)}});
    cairo_fill(cr);
    cairo_rectangle(cr, b.x, b.y, b.w, b.h);
    stroke_col(cr, 1.2, alpha(pal::sepia, 0.85));
    cairo_rectangle(cr, b.x - 3, b.y - 3, b.w + 6, b.h + 6);
    stroke_col(cr, 0.5, alpha(pal::sepia, 0.7));
}

// Running text opening with a red initial two lines high in a tooled
// square: the first two lines run beside it, the rest at full width.
// Returns the height used.
double text_with_initial(cairo_t* cr, const std::string& text, const std::string& font, double x, double y,
                         double w, Col ink) {
    size_t first = size_t(g_utf8_next_char(text.c_str()) - text.c_str());
    std::string initial = text.substr(0, first), rest = text.substr(first);
    const double box = 31, gap = 5;
    auto layout_for = [&](const std::string& t, double width) {
        PangoLayout* l = pango_cairo_create_layout(cr);
        PangoFontDescription* d = pango_font_description_from_string(font.c_str());
        pango_layout_set_font_description(l, d);
        pango_font_description_free(d);
        pango_layout_set_text(l, t.c_str(), -1);
        pango_layout_set_width(l, int(width * PANGO_SCALE));
        pango_layout_set_wrap(l, PANGO_WRAP_WORD);
        pango_layout_set_justify(l, true);
        pango_layout_set_line_spacing(l, 1.12f);
        return l;
    };
    PangoLayout* narrow = layout_for(rest, w - box - gap);
    // Where the third line starts, in bytes of `rest` and in height.
    int split = int(rest.size());
    double split_y = 0;
    if (pango_layout_get_line_count(narrow) > 2) {
        PangoLayoutIter* it = pango_layout_get_iter(narrow);
        pango_layout_iter_next_line(it);
        pango_layout_iter_next_line(it);
        split = pango_layout_iter_get_index(it);
        PangoRectangle r;
        pango_layout_iter_get_line_extents(it, nullptr, &r);
        split_y = double(r.y) / PANGO_SCALE;
        pango_layout_iter_free(it);
    } else {
        PangoRectangle r;
        pango_layout_get_pixel_extents(narrow, nullptr, &r);
        split_y = r.height;
    }
    cairo_save(cr);
    cairo_rectangle(cr, x + box + gap - 2, y - 2, w - box - gap + 4, split_y + 1);
    cairo_clip(cr);
    cairo_move_to(cr, x + box + gap, y);
    set(cr, ink);
    pango_cairo_show_layout(cr, narrow);
    cairo_restore(cr);
    g_object_unref(narrow);
    double used = split_y;
    if (split < int(rest.size())) {
        PangoLayout* wide = layout_for(rest.substr(size_t(split)), w);
        cairo_move_to(cr, x, y + split_y);
        set(cr, ink);
        pango_cairo_show_layout(cr, wide);
        PangoRectangle r;
        pango_layout_get_pixel_extents(wide, nullptr, &r);
        used += r.height;
        g_object_unref(wide);
    }
    // The tooled square and its letter.
    rounded_rect(cr, x + 0.5, y + 1.5, box, box, 2);
    set(cr, hex(0xf6e6bc));
    cairo_fill_preserve(cr);
    stroke_col(cr, 1.0, hex(0x8a1a10));
    rounded_rect(cr, x + 2.5, y + 3.5, box - 4, box - 4, 1);
    stroke_col(cr, 0.5, alpha(pal::sepia, 0.7));
    for (int i = 0; i < 4; ++i) {
        double cx = x + 0.5 + (i % 2 ? box - 4 : 4), cy = y + 1.5 + (i / 2 ? box - 4 : 4);
        cairo_new_path(cr);
        cairo_arc(cr, cx, cy, 1.1, 0, 2 * kPi);
        set(cr, hex(0x2f5a2a));
        cairo_fill(cr);
    }
    TextBox tb = measure_text(cr, initial, "DejaVu Serif Bold 19");
    embossed_text(cr, initial, "DejaVu Serif Bold 19", x + 0.5, y + 1.5 + (box - tb.h) / 2, box, Align::Centre,
                  hex(0xd8402a), hex(0x7a0c08), hex(0x3a0804, 0.6), hex(0xffffff, 0.4));
    return std::max(used, box + 2);
}

void paint_page(const Page& p, const std::string& outdir) {
    cairo_surface_t* canvas = new_canvas(kPage, kPage);
    cairo_t* cr = cairo_create(canvas);
    bool verso = p.folio % 2 == 0;
    paper(cr, canvas, 900 + p.number * 17, verso);
    const double left = verso ? 30 : 38, width = kPage - 68;
    const Col ink = hex(0x2a1a0e), red = hex(0x8a1a10);

    // Running head and rule.
    draw_text(cr, p.head, "DejaVu Serif Italic 8.5", left, 12, width, Align::Centre, alpha(ink, 0.8));
    cairo_move_to(cr, left, 27.5);
    cairo_line_to(cr, left + width, 27.5);
    stroke_col(cr, 0.6, alpha(ink, 0.6));
    // Heading in red, the ornament under it.
    double ts = fit_text(cr, p.title, "DejaVu Serif Bold", width, 30, 17);
    std::string title_font = (p.handwritten ? "DejaVu Serif Bold Italic " : "DejaVu Serif Bold ") + std::to_string(ts);
    draw_text(cr, p.title, title_font, left, 36, width, Align::Centre, red);
    ornament(cr, kPage / 2.0 + (verso ? -4 : 4), 67, 60);
    // Running text.
    std::string body_font = p.handwritten ? "DejaVu Serif Italic 10.5" : "DejaVu Serif 10.5";
    double used = p.handwritten ? draw_paragraph(cr, p.text, body_font, left, 78, width, ink, true, 1.12)
                                : text_with_initial(cr, p.text, body_font, left, 78, width, ink);
    // The plate under the text.
    double bottom = 356;
    if (p.plate) {
        Box b = p.fixed;
        if (b.w == 0) {
            double top = 78 + used + 12;
            double h = std::min(bottom - top - (p.caption.empty() ? 0 : 16), 240.0);
            double w = std::min(width - 40, std::max(h * 1.35, 160.0));
            b = Box{std::round(left + (width - w) / 2) + 0.5, std::round(top) + 0.5, std::round(w), std::round(h)};
        }
        // A printed plate has its rules; a sketch in a diary or a note has none.
        if (!p.handwritten) plate_frame(cr, b);
        p.plate(cr, b);
        if (!p.caption.empty())
            draw_text(cr, p.caption, "DejaVu Serif Italic 9", left, b.y + b.h + 6, width, Align::Centre, ink);
    }
    // The diary keeps its place with a silk ribbon down the gutter margin.
    if (p.number == 1) {
        const double rw = 9, rx = verso ? kPage - 11 - rw : 11;
        auto ribbon = [&](double dx, double dy) {
            cairo_new_path(cr);
            cairo_move_to(cr, rx + dx, dy);
            cairo_curve_to(cr, rx + 2 + dx, 120 + dy, rx - 2 + dx, 260 + dy, rx + 1 + dx, 374 + dy);
            cairo_line_to(cr, rx + rw / 2 + dx, 365 + dy);
            cairo_line_to(cr, rx + rw + dx, 374 + dy);
            cairo_curve_to(cr, rx + rw - 2 + dx, 260 + dy, rx + rw + 2 + dx, 120 + dy, rx + rw + dx, dy);
            cairo_close_path(cr);
        };
        ribbon(-1.5, 1.5);
        set(cr, hex(0x3a2010, 0.25));
        cairo_fill(cr);
        ribbon(0, 0);
        set_linear(cr, rx, 0, rx + rw, 0,
                   {{0, hex(0x6a0c0a)}, {0.35, hex(0xc02a20)}, {0.6, hex(0xd84434)}, {1, hex(0x7a1410)}});
        cairo_fill(cr);
        cairo_move_to(cr, rx + 3.2, 0);
        cairo_curve_to(cr, rx + 5.2, 120, rx + 1.2, 260, rx + 3.8, 368);
        stroke_col(cr, 0.9, hex(0xffb0a0, 0.45));
    }
    // The folio.
    draw_text(cr, "— " + std::to_string(p.folio) + " —", "DejaVu Serif 9", left, 378, width, Align::Centre,
              alpha(ink, 0.85));
    cairo_destroy(cr);
    Surface s = flatten(canvas, rgb(237, 220, 180));
    cairo_surface_destroy(canvas);
    save_bmp24(s, outdir + "/lib" + std::to_string(p.number) + ".bmp");
}

// --- drawings that are not objects -----------------------------------
// The professor's spectacles and pen, sketched in ink at the foot of the diary page.
void diary_sketch(cairo_t* cr, Box b) {
    double cx = b.x + b.w / 2, cy = b.y + b.h / 2;
    // Folded spectacles: the temples cross behind the lenses.
    cairo_move_to(cr, cx - 38, cy - 5);
    cairo_line_to(cr, cx + 30, cy + 6);
    cairo_line_to(cr, cx + 33, cy + 10);
    cairo_move_to(cr, cx + 38, cy - 5);
    cairo_line_to(cr, cx - 30, cy + 8);
    cairo_line_to(cr, cx - 33, cy + 12);
    stroke_col(cr, 1.6, hex(0x2a1a0e, 0.75));
    for (int s = -1; s <= 1; s += 2) {
        ellipse(cr, cx + s * 21, cy, 16, 14);
        set(cr, hex(0xd8e8f0, 0.4));
        cairo_fill_preserve(cr);
        stroke_col(cr, 2.4, hex(0x2a1a0e));
        cairo_new_path(cr);
        cairo_arc(cr, cx + s * 21, cy, 10, kPi * 1.1, kPi * 1.45);
        stroke_col(cr, 1.6, hex(0xffffff, 0.85));
        cairo_move_to(cr, cx + s * 37, cy - 4);
        cairo_line_to(cr, cx + s * 39, cy - 5);
        stroke_col(cr, 2.4, hex(0x2a1a0e));
    }
    cairo_move_to(cr, cx - 5, cy - 3);
    cairo_curve_to(cr, cx - 2, cy - 8, cx + 2, cy - 8, cx + 5, cy - 3);
    stroke_col(cr, 2.0, hex(0x2a1a0e));
    // An ink blot, as diaries have.
    ellipse(cr, b.x + b.w - 20, b.y + 14, 4, 3.2);
    set(cr, hex(0x1a120c, 0.8));
    cairo_fill(cr);
    ellipse(cr, b.x + b.w - 14, b.y + 18, 1.3, 1.1);
    cairo_fill(cr);
    // A quill lying across the corner.
    cairo_save(cr);
    cairo_translate(cr, b.x + b.w - 40, b.y + b.h - 18);
    cairo_rotate(cr, -0.5);
    cairo_move_to(cr, -30, 0);
    cairo_curve_to(cr, -10, -9, 14, -8, 30, -2);
    cairo_curve_to(cr, 14, 4, -10, 5, -30, 0);
    set_linear(cr, -30, 0, 30, 0, {{0, hex(0x8a6a4a)}, {1, hex(0xe8dcc8)}});
    cairo_fill_preserve(cr);
    stroke_col(cr, 0.8, hex(0x2a1a0e));
    cairo_move_to(cr, -36, 1.5);
    cairo_line_to(cr, 26, -1.5);
    stroke_col(cr, 0.8, hex(0x2a1a0e));
    cairo_restore(cr);
    draw_text(cr, "E. L.", "DejaVu Serif Bold Italic 13", b.x + 8, b.y + b.h - 24, 60, Align::Left, hex(0x2a1a0e));
}

// An ink doodle of a hanging spider for the warning note.
void spider_doodle(cairo_t* cr, Box b) {
    double cx = b.x + b.w / 2, top = b.y;
    cairo_move_to(cr, cx, top);
    cairo_line_to(cr, cx, top + b.h * 0.35);
    stroke_col(cr, 0.9, hex(0x2a1a0e));
    double cy = top + b.h * 0.35 + 14;
    for (int s = -1; s <= 1; s += 2)
        for (int i = 0; i < 4; ++i) {
            cairo_move_to(cr, cx + s * 5, cy + i * 3 - 3);
            cairo_line_to(cr, cx + s * (18 + i * 3), cy - 10 + i * 6);
            cairo_line_to(cr, cx + s * (26 + i * 2), cy + 4 + i * 6);
            stroke_col(cr, 1.6, hex(0x2a1a0e));
        }
    ellipse(cr, cx, cy - 6, 9, 10);
    set(cr, hex(0x2a1a0e));
    cairo_fill(cr);
    ellipse(cr, cx, cy + 7, 6, 5);
    cairo_fill(cr);
    for (int s = -1; s <= 1; s += 2) {
        ellipse(cr, cx + s * 2.2, cy + 8, 1.3, 1.3);
        set(cr, hex(0xc02010));
        cairo_fill(cr);
    }
    // And an arrow to a scribbled fly.
    cairo_move_to(cr, cx + 38, cy + 10);
    cairo_curve_to(cr, cx + 55, cy + 20, cx + 70, cy + 14, cx + 82, cy + 2);
    stroke_col(cr, 1.0, hex(0x2a1a0e));
    cairo_save(cr);
    cairo_translate(cr, cx + 80, cy - 14);
    cairo_scale(cr, 0.55, 0.55);
    draw_fly(cr);
    cairo_restore(cr);
}

// Where the fly sits on page 3: a honey jar with a cloth cap; its lid top
// lies just under the fly's feet, which the game draws at (200..260, 250..278).
void honey_jar(cairo_t* cr, Box) {
    const double cx = 231, lid = 279;
    // Soft shadow and the jar of amber honey.
    ellipse(cr, cx, lid + 70, 42, 5);
    set(cr, hex(0x5a4020, 0.3));
    cairo_fill(cr);
    cairo_move_to(cr, cx - 30, lid + 14);
    cairo_curve_to(cr, cx - 44, lid + 24, cx - 44, lid + 62, cx - 30, lid + 68);
    cairo_line_to(cr, cx + 30, lid + 68);
    cairo_curve_to(cr, cx + 44, lid + 62, cx + 44, lid + 24, cx + 30, lid + 14);
    cairo_close_path(cr);
    set_linear(cr, cx - 44, 0, cx + 44, 0,
               {{0, hex(0x8a4a08)}, {0.25, hex(0xe8a030)}, {0.45, hex(0xffd070)}, {0.75, hex(0xc87818)}, {1, hex(0x6a3404)}});
    cairo_fill_preserve(cr);
    stroke_col(cr, 1.2, hex(0x3a2008));
    cairo_move_to(cr, cx - 26, lid + 24);
    cairo_curve_to(cr, cx - 33, lid + 36, cx - 33, lid + 52, cx - 27, lid + 60);
    stroke_col(cr, 3, hex(0xffffff, 0.45));
    // Paper label.
    rounded_rect(cr, cx - 24, lid + 32, 48, 22, 2);
    set(cr, hex(0xf8ecd0));
    cairo_fill_preserve(cr);
    stroke_col(cr, 0.8, hex(0x3a2008));
    draw_text(cr, "MIELE", "DejaVu Serif Bold 9", cx - 24, lid + 37, 48, Align::Centre, hex(0x8a1a10));
    // Neck, gingham cap tied with string; its flat top is where the fly stands.
    cairo_rectangle(cr, cx - 24, lid + 8, 48, 8);
    set(cr, hex(0xb86a18));
    cairo_fill_preserve(cr);
    stroke_col(cr, 1.0, hex(0x3a2008));
    cairo_move_to(cr, cx - 34, lid + 13);
    cairo_curve_to(cr, cx - 30, lid + 4, cx - 28, lid, cx - 26, lid);
    cairo_line_to(cr, cx + 26, lid);
    cairo_curve_to(cr, cx + 28, lid, cx + 30, lid + 4, cx + 34, lid + 13);
    cairo_curve_to(cr, cx + 18, lid + 10, cx - 18, lid + 10, cx - 34, lid + 13);
    cairo_close_path(cr);
    cairo_save(cr);
    cairo_clip_preserve(cr);
    set(cr, hex(0xf0e8e0));
    cairo_paint(cr);
    for (double x = cx - 36; x < cx + 36; x += 6) {
        cairo_rectangle(cr, x, lid - 2, 3, 18);
        set(cr, hex(0xc0302a, 0.55));
        cairo_fill(cr);
    }
    for (double y = lid; y < lid + 14; y += 6) {
        cairo_rectangle(cr, cx - 36, y, 72, 3);
        set(cr, hex(0xc0302a, 0.45));
        cairo_fill(cr);
    }
    cairo_restore(cr);
    stroke_col(cr, 1.0, hex(0x3a2008));
    cairo_move_to(cr, cx - 25, lid + 10.5);
    cairo_curve_to(cr, cx - 8, lid + 12.5, cx + 8, lid + 12.5, cx + 25, lid + 10.5);
    stroke_col(cr, 1.4, hex(0x6a4a2a));
    // A drip of honey and a wooden dipper lying beside the jar.
    cairo_move_to(cr, cx + 18, lid + 16);
    cairo_curve_to(cr, cx + 19, lid + 22, cx + 21, lid + 24, cx + 20, lid + 28);
    stroke_col(cr, 2.5, hex(0xe8a030));
    cairo_save(cr);
    cairo_translate(cr, cx - 70, lid + 62);
    cairo_rotate(cr, -0.25);
    cairo_rectangle(cr, 0, -1.5, 32, 3);
    set(cr, hex(0xa87040));
    cairo_fill_preserve(cr);
    stroke_col(cr, 0.7, hex(0x3a2008));
    for (int i = 0; i < 3; ++i) {
        ellipse(cr, 34 + i * 4, 0, 2, 5 - i * 0.6);
        set(cr, hex(0xc08850));
        cairo_fill_preserve(cr);
        stroke_col(cr, 0.6, hex(0x3a2008));
    }
    cairo_restore(cr);
}

// The storm recipe: the four things in a row under a little thundercloud.
void storm_recipe(cairo_t* cr, Box b) {
    double cx = b.x + b.w / 2;
    cairo_save(cr);
    cairo_translate(cr, cx - 48, b.y + 8);
    cairo_scale(cr, 1.5, 1.5);
    draw_cloud(cr);
    cairo_restore(cr);
    cairo_move_to(cr, cx + 3, b.y + 36);
    cairo_line_to(cr, cx - 5, b.y + 49);
    cairo_line_to(cr, cx + 2, b.y + 49);
    cairo_line_to(cr, cx - 6, b.y + 64);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_MITER);
    stroke_col(cr, 3.6, hex(0x6a4a08));
    cairo_move_to(cr, cx + 3, b.y + 36);
    cairo_line_to(cr, cx - 5, b.y + 49);
    cairo_line_to(cr, cx + 2, b.y + 49);
    cairo_line_to(cr, cx - 6, b.y + 64);
    stroke_col(cr, 2.0, hex(0xffd030));
    struct Item { void (*fn)(cairo_t*); double w, h; const char* name; };
    const Item items[] = {{draw_pot, 53, 47, "vaso"}, {draw_seed, 50, 49, "seme"}, {draw_cloud, 64, 21, "nuvola"},
                          {draw_fork, 34, 50, "forchetta"}};
    double slot = (b.w - 20) / 4;
    for (int i = 0; i < 4; ++i) {
        const Item& it = items[i];
        double s = std::min(40.0 / it.w, 40.0 / it.h) * 1.1;
        double x = b.x + 10 + slot * i + (slot - it.w * s) / 2, y = b.y + 78 + (44 - it.h * s) / 2;
        cairo_save(cr);
        cairo_translate(cr, x, y);
        cairo_scale(cr, s, s);
        it.fn(cr);
        cairo_restore(cr);
        draw_text(cr, it.name, "DejaVu Serif Italic 8.5", b.x + 10 + slot * i, b.y + 126, slot, Align::Centre,
                  hex(0x2a1a0e));
        draw_text(cr, std::to_string(i + 1), "DejaVu Serif Bold 8", b.x + 10 + slot * i, b.y + 70, slot,
                  Align::Centre, hex(0x8a1a10));
    }
}

// The cloud of the atlas: the very cloud the professor takes, large, and
// the first of its rain falling from it.
void rain_cloud_plate(cairo_t* cr, Box b) {
    const double s = std::min((b.w - 24) / 64, 3.6);
    const double ox = b.x + (b.w - 64 * s) / 2, oy = b.y + 14;
    for (int i = 0; i < 11; ++i) {
        double x = ox + 10 * s + i * (44 * s / 10) + (i % 2) * 4, y = oy + 19 * s + (i % 3) * 9;
        cairo_move_to(cr, x, y);
        cairo_line_to(cr, x - 5, y + 20 + (i % 2) * 8);
        stroke_col(cr, 2.2, hex(0x4a78b8, 0.75));
    }
    cairo_save(cr);
    cairo_translate(cr, ox, oy);
    cairo_scale(cr, s, s);
    draw_cloud(cr);
    cairo_restore(cr);
}

}  // namespace

void paint_book_pages(const std::string& outdir) {
    std::vector<Page> pages;
    pages.push_back({1, "Diario di un bibliofilo", "12 novembre",
                     "Sono rimasto chiuso nella vecchia biblioteca. Le porte non si aprono più, e i corridoi scendono "
                     "in pozzi e cantine che non avevo mai visto. Ma questi scaffali sono incantati: certi libri, se "
                     "li apro, mi lasciano fra le mani ciò che vi è disegnato. Devo cercarli uno per uno, usare bene "
                     "ogni oggetto e arrivare fino in fondo, oltre il burrone. Coraggio, professore!",
                     diary_sketch, "", 112, true});
    pages.push_back({2, "Biglietto trovato fra le pagine", "Attento al ragno!",
                     "Caro collega, al piano di sopra, fra gli scaffali alti, vive un ragno grosso come un gatto. "
                     "Non passargli sotto quando scende dal suo filo: ti porterebbe via con sé. Dicono però che "
                     "abbia una fame terribile di mosche...",
                     spider_doodle, "Un amico", 3, true});
    pages.push_back({3, "A. Ronzini — Vita segreta delle mosche", "Capitolo III. La mosca",
                     "La mosca comune si posa volentieri sul miele, e nessun ragno sa resistere a una mosca ben "
                     "grassa: appena la vede, le corre dietro e si scorda di tutto il resto. Lo studioso prudente "
                     "ne tiene sempre una a portata di mano.",
                     honey_jar, "Musca domestica sul vasetto del miele", 41, false, {128.5, 228.5, 205, 124}});
    pages.push_back({4, "G. Pioggia — Trattato dell’ombrello", "Dell’ombrello chiuso",
                     "Un buon ombrello ripara dalla pioggia; ma chi lo tiene stretto quando il pavimento gli manca "
                     "sotto i piedi scende adagio, come una foglia, e tocca terra senza farsi male.",
                     object_plate(draw_umbrella, 65, 46), "Fig. 7 — Ombrello da passeggio, chiuso", 58});
    pages.push_back({5, "F. Terracotta — Vasi e giardini", "Il vaso di terracotta",
                     "Ogni giardiniere sa che un seme cresce bene soltanto in un buon vaso. Quello di terracotta "
                     "respira, tiene fresca la terra e regge anche le piante più alte.",
                     object_plate(draw_pot, 53, 47), "Tav. II — Vaso da fiori dipinto", 23});
    pages.push_back({6, "G. Fagioli — Il seme magico", "Il fagiolo fatato",
                     "Questo fagiolo non è come gli altri. Piantato in un vaso e bagnato dalla pioggia di un "
                     "temporale, mette radici in un lampo e cresce su, su, fino al soffitto del mondo.",
                     object_plate(draw_seed, 50, 49), "Il seme, in grandezza naturale", 9});
    pages.push_back({7, "T. Tuoni — Come nasce un temporale", "Ricetta del temporale",
                     "Per fare un temporale in casa servono quattro cose. Metti il vaso sotto un’apertura, pianta "
                     "il seme, fai galleggiare la nuvola lì sopra e per ultima infila la forchetta: il fulmine e "
                     "la pioggia faranno il resto.",
                     storm_recipe, "", 77});
    pages.push_back({8, "C. Nembi — Atlante delle nuvole", "Il nembo",
                     "Nuvola piccola, scura e gonfia di pioggia. Chi riesce ad acchiapparne una la porta con sé come "
                     "un cuscino, e la libera dove c’è bisogno d’acqua.",
                     rain_cloud_plate, "Tav. XIV — Nembo in viaggio", 136});
    pages.push_back({9, "B. Posate — Forchette e fulmini", "La forchetta d’argento",
                     "Una forchetta d’argento, piantata ben dritta, chiama a sé il fulmine meglio di qualunque "
                     "parafulmine. Non usatela a tavola durante i temporali!",
                     object_plate(draw_fork, 34, 50), "Forchetta da pesce, argento", 87});
    pages.push_back({10, "Memorie del re della giungla", "La pelle di leopardo",
                      "Il re della giungla non va in giro in giacca e cravatta: gli bastano una pelle di leopardo "
                      "e una liana per volare da un albero all’altro. Chi la indossa sente il richiamo della foresta.",
                      object_plate(draw_leopard_skin, 31, 48), "Il costume di Tarzan", 64});
    pages.push_back({11, "Il flauto dell’incantatore", "Il flauto",
                      "Nei mercati d’Oriente l’incantatore suona il suo flauto e il serpente si alza dal cesto, "
                      "danzando. Anche una corda, dicono, ubbidisce a questa musica.",
                      object_plate(draw_flute, 43, 48), "Flauto di bosso con anelli d’ottone", 31});
    pages.push_back({12, "I prodigi dei fachiri", "La corda indiana",
                      "Il fachiro posa a terra una corda arrotolata e comincia a suonare: la corda si drizza come un "
                      "palo, e il suo aiutante vi si arrampica fino in cima.",
                      object_plate(draw_rope_coil, 50, 46), "Corda di canapa, arrotolata", 19});
    pages.push_back({13, "Biblioteca delle meraviglie", "Il libro della giungla",
                      "Chi apre questo libro sul ciglio di un burrone vede spuntare davanti a sé una foresta "
                      "intera, con le sue palme e le sue liane.",
                      object_plate(draw_jungle_book, 43, 48), "Il libro, rilegato in pelle", 100});
    for (const Page& p : pages) paint_page(p, outdir);
}

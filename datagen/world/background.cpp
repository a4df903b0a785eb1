// SPDX-License-Identifier: GPL-3.0-or-later
// The painted world, "gameb2.bmp": the libraries, the vault, the stone
// steps, the wells and the chasm, all in world coordinates (the canvas is
// shifted down by 400 rows, so world y 0 is canvas row 400). Every floor,
// ladder, edge and book comes from world_plan.h: where the professor can
// stand, the player sees a floor; where he climbs, a ladder; where he
// falls, an opening.
#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "datagen/paint/brush.h"
#include "datagen/pictures/objects.h"
#include "datagen/world/world_painters.h"
#include "datagen/world/world_plan.h"

namespace world {
namespace {

std::mt19937 rng(1991);
double U(double a, double b) { return std::uniform_real_distribution<double>(a, b)(rng); }
int I(int a, int b) { return std::uniform_int_distribution<int>(a, b)(rng); }

const Col kLeathers[] = {pal::leather_red,   pal::leather_green, pal::leather_blue, pal::leather_brown,
                         pal::leather_plum,  pal::leather_ochre, pal::leather_teal, hex(0x4a2a18),
                         hex(0x7a2a20),      hex(0x203a30),      hex(0x3a2a50),     hex(0x806040)};

void fill_rect(cairo_t* cr, double x, double y, double w, double h, Col c) {
    cairo_rectangle(cr, x, y, w, h);
    set(cr, c);
    cairo_fill(cr);
}

// ----------------------------------------------------------------- stone
// Rough living rock: the mass between the rooms.
void rock(cairo_t* cr, double x0, double y0, double x1, double y1) {
    set_linear(cr, 0, y0, 0, y1, {{0, hex(0x2b2522)}, {1, hex(0x1a1614)}});
    cairo_rectangle(cr, x0, y0, x1 - x0, y1 - y0);
    cairo_fill(cr);
    // Strata and cracks.
    for (int i = 0; i < int((x1 - x0) * (y1 - y0) / 900); ++i) {
        double x = U(x0, x1), y = U(y0, y1), l = U(8, 40);
        cairo_move_to(cr, x, y);
        cairo_curve_to(cr, x + l * 0.3, y + U(-4, 4), x + l * 0.7, y + U(-4, 4), x + l, y + U(-3, 3));
        set(cr, U(0, 1) < 0.5 ? hex(0x0c0a09, 0.5) : hex(0x4a423c, 0.35));
        cairo_set_line_width(cr, U(0.8, 2.2));
        cairo_stroke(cr);
    }
}

// Dressed masonry: the walls of the rooms, warm where lamps light them.
void masonry(cairo_t* cr, double x0, double y0, double x1, double y1, Col base, double bw = 38, double bh = 19) {
    fill_rect(cr, x0, y0, x1 - x0, y1 - y0, darker(base, 0.55));
    int row = 0;
    for (double y = std::floor(y0 / bh) * bh; y < y1; y += bh, ++row) {
        double off = (row % 2) * bw / 2;
        for (double x = std::floor(x0 / bw) * bw - off; x < x1; x += bw) {
            Col c = mix(base, U(0, 1) < 0.5 ? darker(base, 0.35) : lighter(base, 0.12), U(0, 0.8));
            rounded_rect(cr, x + 1.2, y + 1.2, bw - 2.4, bh - 2.4, 2);
            set_linear(cr, 0, y, 0, y + bh, {{0, lighter(c, 0.12)}, {0.25, c}, {1, darker(c, 0.25)}});
            cairo_fill(cr);
        }
    }
}

// ----------------------------------------------------------------- wood
void plank(cairo_t* cr, double x, double y, double w, double h, Col c) {
    cairo_rectangle(cr, x, y, w, h);
    set_linear(cr, 0, y, 0, y + h, {{0, lighter(c, 0.25)}, {0.2, c}, {0.85, darker(c, 0.2)}, {1, darker(c, 0.6)}});
    cairo_fill(cr);
    // Grain.
    for (int i = 0; i < int(w / 14); ++i) {
        double gx = x + U(0, w), gy = y + U(1, std::max(1.5, h - 1));
        cairo_move_to(cr, gx, gy);
        cairo_line_to(cr, gx + U(6, 24), gy + U(-0.6, 0.6));
        set(cr, darker(c, 0.45));
        cairo_set_line_width(cr, 0.7);
        cairo_stroke(cr);
    }
}

void post(cairo_t* cr, double x, double y, double w, double h, Col c) {
    cairo_rectangle(cr, x, y, w, h);
    set_linear(cr, x, 0, x + w, 0, {{0, darker(c, 0.5)}, {0.3, lighter(c, 0.15)}, {0.7, c}, {1, darker(c, 0.55)}});
    cairo_fill(cr);
}

// --------------------------------------------------------------- books
struct Spine {
    double x, y, w, h;  // exact rectangle of a book the game knows
};

// The rectangle of a book the game draws over its shelf once found: where
// the game puts it, at the size of its picture.
Spine spine_of(int book) {
    const world::BookPlace& b = world::kBooks[size_t(book)];
    const PictureEntry* e = catalogue_entry(b.picture);
    if (!e) throw std::logic_error("book " + std::to_string(book) + "'s picture is not in the catalogue");
    return {double(b.x), double(b.y), double(e->w), double(e->h)};
}

void book(cairo_t* cr, double x, double y, double w, double h, Col c, bool tall_bands = false) {
    cairo_rectangle(cr, x, y, w, h);
    set_linear(cr, x, 0, x + w, 0,
               {{0, darker(c, 0.55)}, {0.3, lighter(c, 0.22)}, {0.55, c}, {1, darker(c, 0.6)}});
    cairo_fill(cr);
    // Gold bands and a title label.
    double band = std::max(1.0, std::round(h / 14));
    for (double by : {y + 2 * band, y + h - 3 * band}) fill_rect(cr, x + 0.5, by, w - 1, band, alpha(pal::gold, 0.85));
    if (tall_bands || h > 22) fill_rect(cr, x + 1.5, y + h * 0.32, w - 3, h * 0.16, alpha(darker(c, 0.5), 0.9));
    if (h > 22) fill_rect(cr, x + 2, y + h * 0.36, w - 4, 1, alpha(pal::gold_light, 0.9));
    cairo_rectangle(cr, x + 0.5, y + 0.5, w - 1, h - 1);
    set(cr, alpha(pal::ink, 0.8));
    cairo_set_line_width(cr, 0.8);
    cairo_stroke(cr);
}

// A shelf board at y_board (top edge) from x0 to x1, filled with books up to
// height room; the spines in `keep` are painted exactly where they are and
// nothing else overlaps them.
void shelf(cairo_t* cr, double x0, double x1, double y_board, double room, const std::vector<Spine>& keep) {
    // The back of the compartment.
    set_linear(cr, 0, y_board - room, 0, y_board,
               {{0, hex(0x1a0e06)}, {0.4, hex(0x2a170b)}, {1, hex(0x140a04)}});
    cairo_rectangle(cr, x0, y_board - room, x1 - x0, room);
    cairo_fill(cr);
    double x = x0 + U(0, 3);
    while (x < x1 - 4) {
        bool blocked = false;
        for (const Spine& s : keep)
            if (x + 16 > s.x - 1 && x < s.x + s.w + 1 && s.y + s.h > y_board - room - 2 && s.y < y_board + 2) {
                x = s.x + s.w + 1;
                blocked = true;
            }
        if (blocked) continue;
        double r = U(0, 1);
        if (r < 0.06) {  // a gap
            x += U(4, 12);
            continue;
        }
        double w = std::min(U(5, 14), x1 - x - 1);
        if (w < 3) break;
        double h = std::min(room - 2, U(0.6, 0.95) * room);
        Col c = kLeathers[I(0, 11)];
        if (r < 0.12 && w > 8) {  // a small stack lying down
            double sw = std::min(U(18, 30), x1 - x - 1);
            bool clear = true;
            for (const Spine& s : keep)
                if (x + sw > s.x - 1 && x < s.x + s.w + 1 && s.y + s.h > y_board - room) clear = false;
            if (clear && sw > 12) {
                double yy = y_board;
                for (int k = 0; k < I(2, 4); ++k) {
                    double bh = U(4, 7);
                    yy -= bh;
                    book(cr, x + U(0, 3), yy, sw - 3, bh, kLeathers[I(0, 11)]);
                }
                x += sw + 1;
                continue;
            }
        }
        book(cr, x, y_board - h, w, h, c);
        x += w + U(0, 1);
    }
    for (const Spine& s : keep)
        if (s.y + s.h > y_board - room - 2 && s.y < y_board + 2) book(cr, s.x, s.y, s.w, s.h, kLeathers[I(0, 11)], true);
    // The board itself.
    plank(cr, x0 - 2, y_board, x1 - x0 + 4, 5, pal::wood);
    fill_rect(cr, x0, y_board + 5, x1 - x0, 3, alpha(pal::ink, 0.5));
}

// A bookcase from x0 to x1 whose shelf boards sit at the given rows (top
// edges, ascending), with side posts and a cornice.
void bookcase(cairo_t* cr, double x0, double x1, std::vector<double> boards, const std::vector<Spine>& keep,
              double top_room = 34) {
    std::sort(boards.begin(), boards.end());
    double prev = boards.front() - top_room;
    for (double b : boards) {
        shelf(cr, x0 + 7, x1 - 7, b, b - prev - 8, keep);
        prev = b;
    }
    double y0 = boards.front() - top_room - 14, y1 = boards.back() + 8;
    post(cr, x0, y0, 8, y1 - y0, pal::wood);
    post(cr, x1 - 8, y0, 8, y1 - y0, pal::wood);
    plank(cr, x0 - 4, y0, x1 - x0 + 8, 10, pal::wood_light);
    fill_rect(cr, x0 - 4, y0 + 10, x1 - x0 + 8, 2, alpha(pal::ink, 0.6));
}

// --------------------------------------------------------------- climbing
// A wooden ladder over the columns painted for a climb (world_plan.h): the
// middle of his figure is over it exactly where Up climbs. From the floor
// under py_top down to the floor under py_bottom.
void ladder(cairo_t* cr, const world::Climb& l, double y_top, double y_bottom, Col c = pal::wood_light) {
    const double a = world::painted_lo(l), b = world::painted_hi(l) + 1;  // outer edges of the rails
    cairo_rectangle(cr, a - 1, y_top - 6, b - a + 2, y_bottom - y_top + 6);
    set(cr, alpha(pal::ink, 0.25));
    cairo_fill(cr);
    for (double y = y_top + 4; y < y_bottom - 2; y += 12) plank(cr, a + 2, y, b - a - 4, 4, darker(c, 0.1));
    post(cr, a, y_top - 8, 4, y_bottom - y_top + 8, c);
    post(cr, b - 4, y_top - 8, 4, y_bottom - y_top + 8, c);
}

// A gallery's floor: a planked walk on a beam, its top at the feet line y.
void gallery_floor(cairo_t* cr, double x0, double x1, double y, Col c = pal::wood) {
    plank(cr, x0, y, x1 - x0, 5, lighter(c, 0.2));
    plank(cr, x0, y + 5, x1 - x0, 9, c);
    set_linear(cr, 0, y + 14, 0, y + 24, {{0, alpha(pal::ink, 0.7)}, {1, alpha(pal::ink, 0)}});
    cairo_rectangle(cr, x0, y + 14, x1 - x0, 10);
    cairo_fill(cr);
    // Brackets under the beam.
    for (double x = x0 + 20; x < x1 - 10; x += 60) {
        cairo_move_to(cr, x, y + 14);
        cairo_line_to(cr, x + 10, y + 14);
        cairo_line_to(cr, x + 5, y + 30);
        cairo_close_path(cr);
        set(cr, darker(c, 0.3));
        cairo_fill(cr);
    }
}

// A stone floor whose top is the feet line y.
void stone_floor(cairo_t* cr, double x0, double x1, double y, double depth = 14) {
    set_linear(cr, 0, y, 0, y + depth, {{0, hex(0xb0a492)}, {0.2, hex(0x857a6c)}, {1, hex(0x4a423a)}});
    cairo_rectangle(cr, x0, y, x1 - x0, depth);
    cairo_fill(cr);
    for (double x = x0 + U(0, 20); x < x1; x += U(22, 40)) {
        cairo_move_to(cr, x, y + 1);
        cairo_line_to(cr, x + U(-2, 2), y + depth);
        set(cr, alpha(pal::ink, 0.5));
        cairo_set_line_width(cr, 1);
        cairo_stroke(cr);
    }
    fill_rect(cr, x0, y, x1 - x0, 1.5, alpha(hex(0xfff0d0), 0.5));
}

// A floor where the plan paints it (world::kPaintedFloors).
const world::PaintedFloor& painted(const char* name) {
    for (const world::PaintedFloor& f : world::kPaintedFloors)
        if (std::string(f.name) == name) return f;
    throw std::logic_error(std::string("no painted floor ") + name);
}
void stone_floor(cairo_t* cr, const world::PaintedFloor& f, double depth) { stone_floor(cr, f.x0, f.x1, f.feet_y, depth); }
void gallery_floor(cairo_t* cr, const world::PaintedFloor& f) { gallery_floor(cr, f.x0, f.x1, f.feet_y); }

void lamp(cairo_t* cr, double x, double y, double radius = 90) {
    set_radial(cr, x, y, 2, radius, {{0, hex(0xffd890, 0.45)}, {0.35, hex(0xffb050, 0.16)}, {1, hex(0xff9030, 0)}});
    cairo_arc(cr, x, y, radius, 0, 2 * kPi);
    cairo_fill(cr);
    // Bracket and glass.
    fill_rect(cr, x - 1.5, y + 6, 3, 12, pal::steel_dark);
    fill_rect(cr, x - 7, y + 16, 14, 3, pal::steel_dark);
    ellipse(cr, x, y, 5, 7);
    set_radial(cr, x, y - 1, 0.5, 7, {{0, hex(0xfffbe0)}, {0.5, hex(0xffc860)}, {1, hex(0xc06010, 0.7)}});
    cairo_fill(cr);
    fill_rect(cr, x - 4, y - 9, 8, 3, pal::gold_dark);
}

void cobweb(cairo_t* cr, double x, double y, double r, double dir) {
    cairo_set_line_width(cr, 0.6);
    set(cr, hex(0xd8d8e0, 0.35));
    for (int k = 0; k <= 5; ++k) {
        double a = (dir > 0 ? 0 : kPi / 2) + k * (kPi / 2) / 5;
        cairo_move_to(cr, x, y);
        cairo_line_to(cr, x + dir * std::cos(a) * r * (dir > 0 ? 1 : -1), y + std::sin(a) * r);
        cairo_stroke(cr);
    }
    for (double rr = r * 0.25; rr < r; rr += r * 0.22) {
        cairo_arc(cr, x, y, rr, dir > 0 ? 0 : kPi / 2, dir > 0 ? kPi / 2 : kPi);
        cairo_stroke(cr);
    }
}

// -------------------------------------------------------------- the rooms
void great_hall(cairo_t* cr) {
    // The library hall: warm masonry from the top of the world down to the
    // lowest floor, with high arched windows of coloured glass.
    masonry(cr, 0, -400, 935, 288, hex(0x6a5646));
    for (double wx : {520.0, 700.0}) {
        double wy = -390, ww = 60, wh = 120;
        cairo_move_to(cr, wx, wy + wh);
        cairo_line_to(cr, wx, wy + 30);
        cairo_arc(cr, wx + ww / 2, wy + 30, ww / 2, kPi, 2 * kPi);
        cairo_line_to(cr, wx + ww, wy + wh);
        cairo_close_path(cr);
        set_linear(cr, 0, wy, 0, wy + wh, {{0, hex(0x3a5a9a)}, {0.6, hex(0x243a6a)}, {1, hex(0x1a2444)}});
        cairo_fill_preserve(cr);
        set(cr, pal::stone_dark);
        cairo_set_line_width(cr, 4);
        cairo_stroke(cr);
        for (double gx = wx + 15; gx < wx + ww; gx += 15) fill_rect(cr, gx - 1, wy + 5, 2, wh - 5, pal::stone_dark);
        for (double gy = wy + 40; gy < wy + wh; gy += 25) fill_rect(cr, wx, gy - 1, ww, 2, pal::stone_dark);
        set_radial(cr, wx + ww / 2, wy + 60, 5, 120, {{0, hex(0x8ab0ff, 0.18)}, {1, hex(0x8ab0ff, 0)}});
        cairo_arc(cr, wx + ww / 2, wy + 60, 120, 0, 2 * kPi);
        cairo_fill(cr);
    }
    // A painting in a gilt frame above the first library: a moonlit view
    // of a castle on a hill.
    {
        double fx = 70, fy = -320, fw = 150, fh = 100;
        cairo_rectangle(cr, fx - 8, fy - 8, fw + 16, fh + 16);
        set_linear(cr, fx - 8, fy - 8, fx + fw + 8, fy + fh + 8,
                   {{0, pal::gold_light}, {0.5, pal::gold}, {1, pal::gold_dark}});
        cairo_fill(cr);
        cairo_rectangle(cr, fx, fy, fw, fh);
        set_linear(cr, 0, fy, 0, fy + fh, {{0, hex(0x1a2a4a)}, {0.6, hex(0x3a4a6a)}, {1, hex(0x2a3a2a)}});
        cairo_fill(cr);
        ellipse(cr, fx + 115, fy + 25, 10, 10);
        set(cr, hex(0xf0ecd0));
        cairo_fill(cr);
        cairo_move_to(cr, fx, fy + fh);
        cairo_curve_to(cr, fx + 40, fy + 55, fx + 90, fy + 60, fx + fw, fy + 75);
        cairo_line_to(cr, fx + fw, fy + fh);
        cairo_close_path(cr);
        set(cr, hex(0x1a2a1a));
        cairo_fill(cr);
        for (double tx : {45.0, 58.0, 71.0}) fill_rect(cr, fx + tx, fy + 40 - (tx == 58 ? 10 : 0), 9, 30, hex(0x2a2a34));
        fill_rect(cr, fx + 45, fy + 55, 35, 15, hex(0x2a2a34));
        fill_rect(cr, fx + 61, fy + 45, 3, 4, hex(0xffd070));
    }
    // Vaulting ribs of the ceiling.
    for (double x = 0; x < 935; x += 180) {
        cairo_move_to(cr, x, -320);
        cairo_curve_to(cr, x + 30, -395, x + 150, -395, x + 180, -320);
        set(cr, hex(0x3a2e26));
        cairo_set_line_width(cr, 10);
        cairo_stroke(cr);
    }
    // The foundation under the lowest floor: great dressed blocks, going
    // dark with depth.
    masonry(cr, 0, 302, 935, 400, hex(0x4a3e34), 64, 30);
    set_linear(cr, 0, 302, 0, 400, {{0, hex(0x000000, 0.2)}, {1, hex(0x000000, 0.75)}});
    cairo_rectangle(cr, 0, 302, 935, 98);
    cairo_fill(cr);
}

void first_library(cairo_t* cr) {
    // Two tall bookcases, the fly's book (3) on the lowest shelf and book 1
    // on the third.
    std::vector<Spine> keep = {spine_of(3), spine_of(1)};
    bookcase(cr, 0, 296, {-150, -95, -40, 16, 78, 181, 267}, keep, 40);
    // The shelf between 78 and 181 is deep: a second board at 128.
    shelf(cr, 7, 289, 128, 40, keep);
    // A reading lamp, and a globe on its stand by the ladder.
    lamp(cr, 150, 205, 110);
    {
        double gx = 236, gy = 246;
        post(cr, gx - 2, gy + 14, 4, 24, pal::wood_dark);
        fill_rect(cr, gx - 12, 285, 24, 3, pal::wood_dark);
        ellipse(cr, gx, gy, 14, 14);
        set_radial(cr, gx - 5, gy - 5, 1, 16, {{0, hex(0xd8e8c0)}, {0.5, hex(0x6a9a6a)}, {1, hex(0x2a4a3a)}});
        cairo_fill(cr);
        for (double a : {-0.5, 0.3}) {
            ellipse(cr, gx + a * 8, gy - 2, 5, 7);
            set(cr, hex(0xc8a860, 0.7));
            cairo_fill(cr);
        }
        cairo_arc(cr, gx, gy, 16, -2.2, 1.3);
        set(cr, pal::gold_dark);
        cairo_set_line_width(cr, 2);
        cairo_stroke(cr);
    }
    stone_floor(cr, painted("first library"), 14);
    // The wall that ends the lowest floor, under the galleries.
    const world::PaintedWall& end = world::kPaintedWalls[0];
    masonry(cr, end.x0 + 6, end.y0 + 8, 935, end.y1, hex(0x5a4a3e), 30, 16);  // the vault covers it from end.x1 on
    post(cr, end.x0, end.y0, 10, end.y1 - end.y0, pal::stone);
}

void second_library(cairo_t* cr) {
    // Bookcases behind the galleries.
    std::vector<Spine> keep = {spine_of(4), spine_of(5)};
    bookcase(cr, 296, 546, {-121, -70, -22}, keep, 40);
    bookcase(cr, 296, 546, {60, 112, 160}, {}, 36);
    // Book 4 rests in a brass holder at the front of gallery B's beam,
    // below the walk.
    // Bookcases of the upper floor, behind the spider's walk.
    bookcase(cr, 546, 930, {-290, -236, -182}, {}, 44);
    bookcase(cr, 546, 800, {-110, -58, -6, 46, 98, 150}, {}, 40);
    bookcase(cr, 800, 930, {-110, -58, -6}, {}, 40);
    // Gallery floors and the spider's walk.
    gallery_floor(cr, painted("gallery A"));
    gallery_floor(cr, painted("gallery B"));
    // Book 4 must show in front of gallery B's beam.
    const Spine b4 = spine_of(4);
    fill_rect(cr, b4.x - 5, b4.y - 2, b4.w + 10, b4.h + 4, hex(0x1a0e06));
    book(cr, b4.x, b4.y, b4.w, b4.h, pal::leather_red, true);
    fill_rect(cr, b4.x - 4, b4.y + b4.h - 2, b4.w + 8, 3, pal::gold);
    gallery_floor(cr, painted("spider's floor"));
    // The side of the bookcase that ends gallery B on the left.
    const world::PaintedWall& side = world::kPaintedWalls[1];
    post(cr, side.x0, side.y0, side.x1 - side.x0, side.y1 - side.y0, pal::wood_dark);
    // Ladders.
    ladder(cr, world::kClimbs[0], world::kGalleryAY + 120, world::kStartY + 120);
    ladder(cr, world::kClimbs[1], world::kGalleryBY + 120, world::kGalleryAY + 120);
    ladder(cr, world::kClimbs[2], world::kSpiderY + 120, world::kGalleryBY + 120);
    // The low stool on gallery A on which the game lays book 2 (it draws the
    // book itself, and no more once it has been read).
    fill_rect(cr, 396, 183, 40, 4, pal::wood_light);
    post(cr, 398, 186, 4, 6, pal::wood);
    post(cr, 430, 186, 4, 6, pal::wood);
    // Lamps.
    lamp(cr, 440, -200, 100);
    lamp(cr, 320, 60, 90);
    lamp(cr, 700, -120, 110);
    // The tie beam under the vault from which the spider hangs on its thread
    // (the game draws the thread from the top of the view at x 729).
    plank(cr, 560, -400, 300, 12, pal::wood_dark);
    fill_rect(cr, 724, -388, 10, 4, pal::steel_dark);
    cobweb(cr, 546, -400, 60, 1);
    cobweb(cr, 760, -388, 40, 1);
    cobweb(cr, 935, -400, 50, -1);
}

// The line of the lower flight of stone steps, down to the wells (the
// passage, the tunnel and the cavern follow it).
double tread(double x) { return world::step_line(world::kLowerSteps, x); }
using world::kStairFoot;
using world::kTunnelL;
using world::kTunnelR;

// A rough shaft wall: dark blocks with a lit edge on the side facing the room.
void shaft(cairo_t* cr, double x0, double y0, double x1, double y1, Col light) {
    cairo_rectangle(cr, x0, y0, x1 - x0, y1 - y0);
    set_linear(cr, x0, 0, x1, 0, {{0, hex(0x060505)}, {0.25, hex(0x16130f)}, {0.75, hex(0x1c1814)}, {1, hex(0x080706)}});
    cairo_fill(cr);
    for (double y = y0 + 4; y < y1; y += 16) {
        fill_rect(cr, x0, y, 6, 13, darker(light, 0.55));
        fill_rect(cr, x0 + 5, y, 1.5, 13, alpha(light, 0.5));
        fill_rect(cr, x1 - 6, y + 8, 6, 13, darker(light, 0.6));
        fill_rect(cr, x1 - 6.5, y + 8, 1.5, 13, alpha(light, 0.35));
    }
}

// Roots of the trees above, hanging through the rock of the cave's roof.
void roots(cairo_t* cr, double x0, double x1, double y_top, double reach) {
    for (double x = x0; x < x1; x += U(20, 50)) {
        double l = U(0.4, 1) * reach, y = y_top;
        cairo_move_to(cr, x, y);
        double cx = x;
        for (double t = 0; t < l; t += 12) {
            cx += U(-4, 4);
            cairo_line_to(cr, cx, y + t);
        }
        set(cr, hex(0x3a2a1a, 0.9));
        cairo_set_line_width(cr, U(1.5, 3.5));
        cairo_stroke(cr);
    }
}

void stone_steps(cairo_t* cr) {
    // The rock the steps are cut in.
    rock(cr, 935, -400, 1300, 400);
    roots(cr, 1080, 1300, -400, 90);
    // The passage above them: a diagonal vault from the spider's floor down
    // to the wells' cavern, lit by two lamps.
    cairo_move_to(cr, 930, -172);
    cairo_line_to(cr, 930, -360);
    cairo_curve_to(cr, 980, -372, 1030, -360, 1060, -330);
    cairo_line_to(cr, 1310, tread(1310) - 200);
    cairo_line_to(cr, 1310, 180);
    cairo_line_to(cr, kStairFoot, 180);
    cairo_close_path(cr);
    cairo_save(cr);
    cairo_clip(cr);
    masonry(cr, 930, -400, 1310, 180, hex(0x5a5048), 34, 17);
    set_linear(cr, 930, -300, 1300, 100, {{0, hex(0x000000, 0.05)}, {0.55, hex(0x000000, 0.4)}, {1, hex(0x000000, 0.15)}});
    cairo_paint(cr);
    cairo_restore(cr);
    // The ceiling's edge follows the steps down.
    cairo_move_to(cr, 1060, -330);
    cairo_line_to(cr, 1310, tread(1310) - 200);
    set(cr, hex(0x1a1614));
    cairo_set_line_width(cr, 8);
    cairo_stroke(cr);
    lamp(cr, 1000, -240, 100);
    lamp(cr, 1175, -70, 100);
    // The vertical tunnel under the collapsing steps, down to the vault.
    shaft(cr, kTunnelL, tread(kTunnelL) + 10, kTunnelR, 104, hex(0x8a7e70));
    // The steps: a solid flight of dressed stone, treads 10 wide and 10 high,
    // on a slab whose underside runs parallel to them. The upper flight, from
    // the spider's floor to the crumbling landing over the tunnel, lies a
    // little right of the lower one: its head is where a man who stops at it
    // stands past x 880, where he can be given the umbrella.
    auto flight = [&](const world::PaintedSteps& s) {
        const double x0 = s.x0, x1 = s.x1;
        auto line = [&](double x) { return world::step_line(s, x); };
        // Each tread from x to its end (the first and last cut at x0, x1).
        auto tread_end = [&](double x) { return std::min(world::tread_start(s, x) + 10, x1); };
        cairo_move_to(cr, x0, line(x0));
        for (double x = x0; x < x1; x = tread_end(x)) {
            cairo_line_to(cr, x, world::tread_top(s, x));
            cairo_line_to(cr, tread_end(x), world::tread_top(s, x));
        }
        cairo_line_to(cr, x1, line(x1) + 40);
        cairo_line_to(cr, x0, line(x0) + 40);
        cairo_close_path(cr);
        set_linear(cr, 0, -180, 0, 220, {{0, hex(0x8a7e70)}, {1, hex(0x6a6056)}});
        cairo_fill(cr);
        for (double x = x0; x < x1; x = tread_end(x)) {
            double y = world::tread_top(s, x), w = tread_end(x) - x;
            // Tread (lit from above), riser (in half shade), block joints.
            fill_rect(cr, x, y, w, 2.5, hex(0xe6dac6));
            fill_rect(cr, x, y + 2.5, w, 1.5, hex(0xb4a894));
            set_linear(cr, 0, y + 4, 0, y + 10, {{0, hex(0x8e8274)}, {1, hex(0x6e645a)}});
            cairo_rectangle(cr, x, y + 4, w, 6);
            cairo_fill(cr);
            fill_rect(cr, x + w - 0.8, y, 0.8, 10, alpha(pal::ink, 0.55));
            if (int(x) % 30 == 0) fill_rect(cr, x, y + 10, 0.8, 28, alpha(pal::ink, 0.35));
        }
        // The slab's underside in shadow.
        cairo_move_to(cr, x0, line(x0) + 40);
        cairo_line_to(cr, x1, line(x1) + 40);
        set(cr, hex(0x2a2420));
        cairo_set_line_width(cr, 3);
        cairo_stroke(cr);
    };
    flight(world::kUpperSteps);
    flight(world::kLowerSteps);
    // Over the tunnel the slab is thin and cracked: the game draws the
    // crumbling steps (world::kCrumblingSteps) over the middle of it.
    cairo_move_to(cr, kTunnelL, tread(kTunnelL) + 14);
    for (double x = kTunnelL; x <= kTunnelR; x += 6) cairo_line_to(cr, x, tread(x) + 12 + U(0, 5));
    cairo_line_to(cr, kTunnelR, tread(kTunnelR) + 40);
    cairo_line_to(cr, kTunnelL, tread(kTunnelL) + 40);
    cairo_close_path(cr);
    set(cr, hex(0x100d0c));
    cairo_fill(cr);
    for (int i = 0; i < 6; ++i) {
        double x = kTunnelL + 8 + i * 12, y = tread(x) + 3;
        cairo_move_to(cr, x, y);
        cairo_line_to(cr, x + U(-3, 3), y + 6);
        cairo_line_to(cr, x + U(-3, 3), y + 11);
        set(cr, alpha(pal::ink, 0.8));
        cairo_set_line_width(cr, 1);
        cairo_stroke(cr);
    }
}

void vault(cairo_t* cr) {
    // The underground room under the steps: rock all round it, a barrel
    // vault, its library on crooked shelves in the wall, one oil lamp; the
    // tunnel comes down into its right end, where the pot goes.
    rock(cr, 770, 40, kTunnelL, 104);
    rock(cr, kTunnelR, 40, 1082, 104);
    for (const world::PaintedWall& w : {world::kPaintedWalls[2], world::kPaintedWalls[3]}) rock(cr, w.x0, w.y0, w.x1, w.y1);
    cairo_move_to(cr, 800, 302);
    cairo_line_to(cr, 800, 130);
    cairo_curve_to(cr, 820, 104, 900, 96, 960, 100);
    cairo_line_to(cr, kTunnelL, 100);
    cairo_line_to(cr, kTunnelL, 104);
    cairo_line_to(cr, kTunnelR, 104);
    cairo_line_to(cr, kTunnelR, 100);
    cairo_line_to(cr, 1082, 100);
    cairo_line_to(cr, 1082, 302);
    cairo_close_path(cr);
    cairo_save(cr);
    cairo_clip(cr);
    masonry(cr, 800, 90, 1082, 302, hex(0x6a5c4e), 26, 13);
    // The light falls off away from the lamp and down the tunnel.
    set_radial(cr, 880, 220, 30, 260, {{0, hex(0x000000, 0)}, {1, hex(0x000000, 0.55)}});
    cairo_paint(cr);
    cairo_restore(cr);
    // The tunnel's foot: a round opening in the vault's ceiling.
    ellipse(cr, (kTunnelL + kTunnelR) / 2, 103, (kTunnelR - kTunnelL) / 2 + 4, 6);
    set(cr, hex(0x0a0807));
    cairo_fill(cr);
    // Crooked shelves, each with its book standing where the game finds it.
    shelf(cr, 812, 878, 190, 38, {spine_of(6)});
    shelf(cr, 884, 940, 157, 34, {spine_of(7)});
    shelf(cr, 926, 974, 218, 32, {spine_of(8)});
    shelf(cr, 960, 996, 248, 30, {spine_of(9)});
    // A cask and a crate in the corner.
    ellipse(cr, 830, 285, 18, 17);
    set_radial(cr, 826, 280, 2, 20, {{0, hex(0x9a6a3a)}, {1, hex(0x4a2a14)}});
    cairo_fill(cr);
    for (double dx : {-10.0, 10.0}) fill_rect(cr, 830 + dx - 1, 268, 2, 34, hex(0x2a2a2a));
    lamp(cr, 868, 222, 150);
    // The floor, and the patch of light under the tunnel.
    stone_floor(cr, painted("vault"), 18);
    set_radial(cr, 1027, 300, 4, 50, {{0, hex(0xb0c8d8, 0.18)}, {1, hex(0xb0c8d8, 0)}});
    cairo_arc(cr, 1027, 300, 50, 0, 2 * kPi);
    cairo_fill(cr);
    rock(cr, 770, 320, 1110, 400);
}

// The roof of the wells' cavern, from the top of the stair passage to the
// right library's hall.
double cavern_roof(double x) {
    static const double pts[][2] = {{1180, -123}, {1250, -150}, {1330, -168}, {1450, -172},
                                    {1520, -170}, {1580, -160}, {1615, -190}, {1640, -260}};
    for (int i = 0; i + 1 < 8; ++i)
        if (x <= pts[i + 1][0]) {
            double t = (x - pts[i][0]) / (pts[i + 1][0] - pts[i][0]);
            return pts[i][1] + t * (pts[i + 1][1] - pts[i][1]);
        }
    return -260;
}

void wells_cavern(cairo_t* cr) {
    // The cavern of the two wells, from the foot of the steps to the rim of
    // the chasm; the library after the wells fills its right end.
    rock(cr, 1300, -400, 2200, 400);
    roots(cr, 1300, 1630, -400, 100);
    cairo_move_to(cr, 1180, cavern_roof(1180));
    for (double x = 1180; x <= 1640; x += 5) cairo_line_to(cr, x, cavern_roof(x));
    cairo_line_to(cr, 1640, -400);
    cairo_line_to(cr, 1945, -400);
    cairo_line_to(cr, 1945, 180);
    cairo_line_to(cr, kStairFoot, 180);
    for (double x = kStairFoot; x >= 1180; x -= 5) cairo_line_to(cr, x, tread(x) - 1);
    cairo_close_path(cr);
    cairo_save(cr);
    cairo_clip(cr);
    masonry(cr, 1279, -400, 1945, 180, hex(0x5a5048), 34, 17);
    set_linear(cr, 0, -200, 0, 180, {{0, hex(0x000000, 0.35)}, {1, hex(0x000000, 0.0)}});
    cairo_paint(cr);
    cairo_restore(cr);
    // The roof's edge, and stalactites hanging from it.
    cairo_move_to(cr, 1180, cavern_roof(1180));
    for (double x = 1180; x <= 1640; x += 5) cairo_line_to(cr, x, cavern_roof(x));
    set(cr, hex(0x1a1614));
    cairo_set_line_width(cr, 6);
    cairo_stroke(cr);
    for (double x = 1200; x < 1630; x += U(12, 26)) {
        double y = cavern_roof(x), l = U(10, 34);
        cairo_move_to(cr, x - 5, y - 4);
        cairo_line_to(cr, x + 5, y - 4);
        cairo_line_to(cr, x + U(-1, 1), y + l);
        cairo_close_path(cr);
        set_linear(cr, x - 5, 0, x + 5, 0, {{0, hex(0x1a1614)}, {0.4, hex(0x5a5048)}, {1, hex(0x1a1614)}});
        cairo_fill(cr);
    }
    // The library between the wells hangs on the wall over the deep well's
    // mouth; the jungle book (13) stands on its lower shelf.
    bookcase(cr, 1372, 1474, {-40, 30}, {spine_of(13)}, 36);
    lamp(cr, 1325, 10, 100);
    lamp(cr, 1600, 40, 100);
    // Floors at the wells' level.
    stone_floor(cr, painted("before the first well"), 16);
    stone_floor(cr, painted("between the wells"), 16);
    stone_floor(cr, painted("after the deep well"), 16);
}

void well_mouth(cairo_t* cr, double x0, double x1, double top, double depth) {
    // Dressed stone lining, black at the throat, lit edges at the rims.
    cairo_rectangle(cr, x0, top, x1 - x0, depth);
    set_linear(cr, 0, top, 0, top + depth, {{0, hex(0x000000)}, {0.3, hex(0x0a0908)}, {1, hex(0x1c1814)}});
    cairo_fill(cr);
    for (double yy = top + 16; yy < top + depth; yy += 14) {
        fill_rect(cr, x0, yy, 4, 11, hex(0x2a2420));
        fill_rect(cr, x1 - 4, yy + 7, 4, 11, hex(0x2a2420));
    }
    for (double x : {x0 - 8, x1}) {
        cairo_rectangle(cr, x, top - 2, 8, 18);
        set_linear(cr, 0, top - 2, 0, top + 16, {{0, hex(0xf0e4d0)}, {0.3, hex(0xc8bca8)}, {1, hex(0x6a6058)}});
        cairo_fill(cr);
        fill_rect(cr, x, top - 2, 8, 1.5, hex(0xffffff, 0.6));
    }
}

void wells(cairo_t* cr) {
    double top = world::kWellsY + 120;
    // The first well: 100 px deep, a shelf of rungs to climb out by.
    double b1 = world::kWell1BottomY + 120;
    well_mouth(cr, world::kWell1Left, world::kWell1Right, top, b1 - top);
    stone_floor(cr, painted("first well bottom"), 14);
    ladder(cr, world::kClimbs[4], top - 4, b1, hex(0x8a6a40));
    // The deep well: 220 px down to a chamber where the flute player stands.
    double b2 = world::kWell2BottomY + 120;
    well_mouth(cr, world::kWell2Left, world::kWell2Right, top, 100);
    cairo_move_to(cr, world::kWell2Left, top + 100);
    cairo_curve_to(cr, world::kWell2Left - 10, top + 120, world::kWell2Left - 25, top + 140, world::kWell2Left - 28, b2);
    cairo_line_to(cr, world::kWell2Right + 32, b2);
    cairo_curve_to(cr, world::kWell2Right + 30, top + 150, world::kWell2Right + 12, top + 120, world::kWell2Right, top + 100);
    cairo_close_path(cr);
    set_linear(cr, 0, top + 100, 0, b2, {{0, hex(0x1c1814)}, {0.5, hex(0x2a241e)}, {1, hex(0x3a3028)}});
    cairo_fill(cr);
    set_radial(cr, 1500, b2 - 40, 5, 110, {{0, hex(0x7090b0, 0.22)}, {1, hex(0x7090b0, 0)}});
    cairo_arc(cr, 1500, b2 - 40, 110, 0, 2 * kPi);
    cairo_fill(cr);
    // Roots and drips in the chamber.
    for (int i = 0; i < 8; ++i) {
        double x = U(world::kWell2Left - 20, world::kWell2Right + 20), y = top + 110 + U(0, 20);
        cairo_move_to(cr, x, y);
        cairo_curve_to(cr, x + U(-8, 8), y + 20, x + U(-8, 8), y + 40, x + U(-6, 6), y + U(40, 70));
        set(cr, hex(0x3a2a18, 0.8));
        cairo_set_line_width(cr, 1.5);
        cairo_stroke(cr);
    }
    stone_floor(cr, painted("deep well bottom"), 5);
}

void right_library(cairo_t* cr) {
    // Bookcases up to the top of the world, two galleries, the flute (11)
    // under the lower gallery and the rope (12) above it.
    std::vector<Spine> keep = {spine_of(12), spine_of(11)};
    bookcase(cr, 1640, 1940, {-340, -290}, {}, 40);
    bookcase(cr, 1640, 1940, {-147, -96}, keep, 40);
    bookcase(cr, 1640, 1940, {7, 60, 112}, keep, 40);
    gallery_floor(cr, painted("library gallery"));
    gallery_floor(cr, painted("upper gallery"));
    ladder(cr, world::kClimbs[6], world::kGallery1Y + 120, world::kWellsY + 120);
    ladder(cr, world::kClimbs[7], world::kGallery2Y + 120, world::kGallery1Y + 120);
    lamp(cr, 1700, -250, 100);
    lamp(cr, 1780, 60, 100);
}

void chasm(cairo_t* cr) {
    // The abyss beyond the rim: a faint green light from far below and
    // beyond (where the forest will open), the far cliff, hanging roots.
    set_linear(cr, 0, -400, 0, 400, {{0, hex(0x141a24)}, {0.45, hex(0x0e141a)}, {1, hex(0x020304)}});
    cairo_rectangle(cr, world::kChasmRim, -400, 2200 - world::kChasmRim, 800);
    cairo_fill(cr);
    set_radial(cr, 2080, 60, 10, 260, {{0, hex(0x4a8a5a, 0.22)}, {1, hex(0x4a8a5a, 0)}});
    cairo_rectangle(cr, world::kChasmRim, -400, 2200 - world::kChasmRim, 800);
    cairo_fill(cr);
    // The far cliff, lit at its edge.
    cairo_move_to(cr, 2200, -400);
    double x = 2110;
    cairo_line_to(cr, x, -400);
    for (double y = -400; y <= 400; y += 25) {
        x = 2105 + 14 * std::sin(y / 45.0) + U(-6, 6);
        cairo_line_to(cr, x, y);
    }
    cairo_line_to(cr, 2200, 400);
    cairo_close_path(cr);
    set_linear(cr, 2090, 0, 2200, 0, {{0, hex(0x4a4440)}, {0.15, hex(0x2e2a28)}, {1, hex(0x161412)}});
    cairo_fill(cr);
    for (int i = 0; i < 40; ++i) {
        double cx = U(2120, 2200), cy = U(-400, 400);
        cairo_move_to(cr, cx, cy);
        cairo_line_to(cr, cx + U(8, 30), cy + U(-4, 4));
        set(cr, hex(0x0a0908, 0.6));
        cairo_set_line_width(cr, 1.2);
        cairo_stroke(cr);
    }
    roots(cr, 1960, 2100, -400, 160);
    // Ledges of rock going down into the dark on the near side.
    for (double y = 240; y < 400; y += 45) {
        ellipse(cr, world::kChasmRim + U(-10, 10), y, U(18, 30), 6);
        set(cr, hex(0x2a2420));
        cairo_fill(cr);
    }
    // The rim of the floor, with a kerb of boulders the professor stops at.
    cairo_move_to(cr, world::kChasmRim, world::kWellsY + 120);
    cairo_line_to(cr, world::kChasmRim + 12, world::kWellsY + 130);
    cairo_line_to(cr, world::kChasmRim + 4, world::kWellsY + 200);
    cairo_line_to(cr, world::kChasmRim - 10, 400);
    cairo_line_to(cr, world::kChasmRim - 40, 400);
    cairo_line_to(cr, world::kChasmRim - 40, world::kWellsY + 120);
    cairo_close_path(cr);
    set(cr, hex(0x3a322c));
    cairo_fill(cr);
    ellipse(cr, world::kChasmRim - 2, world::kWellsY + 112, 12, 9);
    set_radial(cr, world::kChasmRim - 5, world::kWellsY + 108, 1, 12, {{0, hex(0xa09484)}, {1, hex(0x4a4038)}});
    cairo_fill(cr);
    // Mist.
    for (int i = 0; i < 12; ++i) {
        double x = U(1950, 2150), y = U(150, 380);
        set_radial(cr, x, y, 2, 60, {{0, hex(0x8090a0, 0.12)}, {1, hex(0x8090a0, 0)}});
        cairo_arc(cr, x, y, 60, 0, 2 * kPi);
        cairo_fill(cr);
    }
}

// The pictures the game draws over the professor, painted here too so the
// world and the sprites agree: the five railings and the crumbling steps.
void game_pictures(Surface& painted) {
    PictureMap pics;
    paint_world_pictures(pics);
    const Surface& mask = pics["Picture15_0"];
    const Surface& image = pics["Picture15_1"];
    for (const world::RailingPlace& r : world::kRailings)
        for (int y = 0; y < mask.height(); ++y)
            for (int x = 0; x < (r.width == world::kWholeRailing ? mask.width() : r.width); ++x)
                if (mask.get(x, y) == 0) painted.set(r.x + x, map_row(r.y + y), image.get(x, y));
    const Surface& steps = pics["Picture38_0"];
    blit(painted, world::kCrumblingSteps.x, map_row(world::kCrumblingSteps.y), steps, Rop::SrcCopy);
}

}  // namespace

Surface paint_background() {
    cairo_surface_t* canvas = new_canvas(kWidth, kHeight);
    cairo_t* cr = cairo_create(canvas);
    cairo_translate(cr, 0, 400);
    rng.seed(1991);
    great_hall(cr);
    first_library(cr);
    second_library(cr);
    stone_steps(cr);
    vault(cr);
    wells_cavern(cr);
    wells(cr);
    right_library(cr);
    chasm(cr);
    cairo_destroy(cr);
    // A fine grain over everything, as a painted picture has.
    for_pixels(canvas, [](int x, int y, double& r, double& g, double& b, double& a) {
        double n = (noise2(x * 0.7, y * 0.7, 7) - 0.5) * 14 + (fbm(x / 90.0, y / 90.0, 3, 3) - 0.5) * 18;
        r += n;
        g += n;
        b += n * 0.9;
        a = 255;
    });
    Surface s = flatten(canvas, rgb(0, 0, 0));
    cairo_surface_destroy(canvas);
    game_pictures(s);
    return s;
}

}  // namespace world

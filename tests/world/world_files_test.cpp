// SPDX-License-Identifier: GPL-3.0-or-later
// The world's data files as the game reads them: sizes and formats, the
// collision map's colours, the books' shelf marks where the pointer looks
// for them, the ladders as the climbing rule climbs them, and the railings
// and steps the game draws over the professor painted where it draws them.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "datagen/pictures/objects.h"
#include "datagen/world/world_painters.h"
#include "datagen/world/world_plan.h"
#include "core/bmp_load.h"

namespace {

const std::string kData = LEXOVO_DATA_DIR;

int bits_per_pixel(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    char h[30] = {};
    f.read(h, 30);
    return int(static_cast<unsigned char>(h[28])) | (int(static_cast<unsigned char>(h[29])) << 8);
}

const Surface& the_map() {
    static Surface m = load_bmp_file(kData + "/gamemap1.bmp");
    return m;
}
Rgb at(int x, int world_y) { return the_map().get(x, world_y + 400); }

TEST(WorldFiles, SizesAndFormats) {
    Surface back = load_bmp_file(kData + "/gameb2.bmp");
    EXPECT_EQ(back.width(), world::kWidth);
    EXPECT_EQ(back.height(), 800);
    EXPECT_EQ(the_map().width(), back.width());
    EXPECT_EQ(the_map().height(), 800);
    EXPECT_EQ(bits_per_pixel(kData + "/gamemap1.bmp"), 8);
    std::vector<Surface> forest;
    for (int i = 1; i <= 3; ++i) {
        std::string name = kData + "/j" + std::to_string(i) + ".bmp";
        EXPECT_EQ(bits_per_pixel(name), 24) << name;
        forest.push_back(load_bmp_file(name));
        EXPECT_EQ(forest.back().width(), world::kForestW) << name;
        EXPECT_EQ(forest.back().height(), world::kForestH) << name;
    }
    // Three frames of one animation: alike, but not the same picture.
    EXPECT_FALSE(forest[0] == forest[1]);
    EXPECT_FALSE(forest[1] == forest[2]);
    // The forest stays inside the world to its right.
    EXPECT_LE(world::kForestPlace.x + world::kForestW, world::kWidth);
}

TEST(WorldFiles, MapHoldsOnlyTheRuleColours) {
    const std::set<Rgb> allowed = {rgb(255, 255, 255), rgb(255, 0, 0), rgb(0, 0, 255),
                                   rgb(0, 255, 0),     rgb(255, 0, 255), rgb(0, 0, 0)};
    std::set<Rgb> seen(the_map().pixels().begin(), the_map().pixels().end());
    for (Rgb c : seen) EXPECT_TRUE(allowed.count(c)) << std::hex << c;
    EXPECT_EQ(seen.size(), allowed.size()) << "every colour has its use in the world";
}

// The books as the shelf search knows them: the rectangle the game draws
// the book in and the strict pointer range.
struct BookRect {
    int book, x, y, w, h, lo, hi;
};
std::vector<BookRect> book_rects() {
    std::vector<BookRect> v;
    for (int n = 1; n <= 13; ++n) {
        const world::BookPlace& b = world::kBooks[size_t(n)];
        const PictureEntry* e = catalogue_entry(b.picture);
        v.push_back({n, b.x, b.y, e ? e->w : 0, e ? e->h : 0, b.find_from, b.find_to});
    }
    return v;
}

TEST(WorldFiles, EveryBookIsFoundOverItsSpine) {
    for (const BookRect& b : book_rects()) {
        int inside = 0;
        for (int y = b.y; y < b.y + b.h; ++y)
            for (int x = b.x - 20; x < b.x + b.w + 20; ++x) {
                if (at(x, y) != world::kMapLightMagenta) continue;
                // A mark beside the range would hold the pointer on a shelf
                // with no book under it.
                EXPECT_TRUE(x > b.lo && x < b.hi) << "book " << b.book << " marked at " << x << ", " << y;
                ++inside;
            }
        EXPECT_GE(inside, 60) << "book " << b.book << " is hard to find";
        // Its middle is on the mark.
        int cx = std::max(b.lo + 1, std::min(b.hi - 1, b.x + b.w / 2 + 3));
        EXPECT_EQ(at(cx, b.y + b.h / 2), world::kMapLightMagenta) << "book " << b.book;
    }
}

TEST(WorldFiles, MarksStayOffTheWaysTheProfessorReads) {
    // Climbing columns and fall columns never cross a mark.
    for (const world::Climb& l : world::kClimbs)
        for (int x = l.x_lo; x <= l.x_hi; x += 5)
            for (int y = l.py_top + 100; y <= l.py_bottom + 125; ++y)
                EXPECT_NE(at(x, y), world::kMapLightMagenta) << l.name << " at row " << y;
    for (const world::FallColumn& c : world::kFallColumns)
        for (int y = c.y0; y <= c.y1 + 10; ++y) EXPECT_NE(at(c.x, y), world::kMapLightMagenta) << c.name;
    // On every floor the walking probes read no mark, except the marker of
    // the book lying on gallery A, which its walkers must read.
    int marker_hits = 0;
    for (const world::Floor& f : world::kFloors)
        for (int px = f.lo; px <= f.hi; px += 5)
            for (int x : {px + 14, px - 5}) {
                EXPECT_NE(at(x, f.py + 116), world::kMapLightMagenta) << f.name << " " << x;
                EXPECT_NE(at(x, f.py + 121), world::kMapLightMagenta) << f.name << " " << x;
                if (at(x, f.py + 110) == world::kMapLightMagenta) {
                    EXPECT_EQ(f.py, world::kGalleryAY) << f.name << " " << x;
                    EXPECT_TRUE(x > world::kBooks[2].find_from && x < world::kBooks[2].find_to) << f.name << " " << x;
                    ++marker_hits;
                }
            }
    EXPECT_GT(marker_hits, 4);
}

// Climbing as the rule climbs: up while white 111 rows below, down while
// white 121 rows below, 4 px a step. From (x, py) with Up (or Down) held:
// where he stops.
int climb_up(int x, int py) {
    for (int steps = 0; steps < 400 && at(x, py + 111) == world::kMapWhite; ++steps) py -= 4;
    return py;
}
int climb_down(int x, int py) {
    for (int steps = 0; steps < 400 && at(x, py + 121) == world::kMapWhite; ++steps) py += 4;
    return py;
}
// A floor or the first step of a flight under a walking probe at (x, py):
// he can walk off there.
bool walks_off(int x, int py) {
    for (int probe : {x + 14, x - 5}) {
        const Rgb c = at(probe, py + 116);
        if (c == world::kMapWhite || c == world::kMapLightRed || c == world::kMapBlue) return true;
    }
    return false;
}

TEST(WorldFiles, LaddersLeadFromFloorToFloor) {
    for (const world::Climb& l : world::kClimbs)
        for (int x = l.x_lo; x <= l.x_hi; x += 5) {
            EXPECT_EQ(climb_up(x, l.py_bottom), l.py_top) << l.name << " climbing up at " << x;
            EXPECT_EQ(climb_down(x, l.py_top), l.py_bottom) << l.name << " climbing down at " << x;
            // At both ends he can walk off at once.
            for (int end : {l.py_top, l.py_bottom}) EXPECT_TRUE(walks_off(x, end)) << l.name << " at " << x << ", " << end;
            // Ladders standing in a well offer no floor to a jump aimed at their top.
            if (l.dotted) {
                EXPECT_NE(at(x, l.py_top + 116), world::kMapWhite) << l.name;
            }
        }
}

// Walking on from (x, py) as the rule walks, level or down and up the
// steps, for a few steps: the column he gets to.
int walk_on(int x, int py, int dir, int steps) {
    for (int k = 0; k < steps; ++k) {
        const Rgb c = at(dir > 0 ? x + 14 : x - 5, py + 116);
        if (c == world::kMapLightRed) py += 5;
        else if (c == world::kMapBlue) py -= 5;
        else if (c != world::kMapWhite) break;
        x += 5 * dir;
    }
    return x;
}

// At either end of a ladder, the way on does not depend on the column he
// climbed in: wherever a walk leads off the ladder from one of its columns,
// it leads off from each of them.
TEST(WorldFiles, TheWayOnFromALadderIsTheSameFromEachOfItsColumns) {
    for (const world::Climb& l : world::kClimbs)
        for (int end : {l.py_top, l.py_bottom})
            for (int dir : {+1, -1}) {
                auto leaves = [&](int x) {
                    const int to = walk_on(x, end, dir, 6);
                    return dir > 0 ? to > l.x_hi : to < l.x_lo;
                };
                bool any = false;
                for (int x = l.x_lo; x <= l.x_hi; x += 5) any = any || leaves(x);
                if (!any) continue;
                for (int x = l.x_lo; x <= l.x_hi; x += 5)
                    EXPECT_TRUE(leaves(x)) << l.name << ": at " << x << ", " << end << " walking "
                                           << (dir > 0 ? "right" : "left") << " he does not get off it";
            }
}

// Where a walking player can stand: on a floor of the plan, at its level.
bool stands(int px, int py) {
    for (const world::Floor& f : world::kFloors)
        if (f.py == py && f.lo <= px && px <= f.hi) return true;
    const world::Floor& u = world::kUpperGallery;
    return u.py == py && u.lo <= px && px <= u.hi;
}

// Wherever he stands with the middle of his figure over a painted ladder,
// facing either way, at its foot Up carries him to the floor at its top in
// one hold, and at its top Down carries him to its foot; he walks off at once.
TEST(WorldFiles, ClimbsWhereverHisFigureIsOverTheLadder) {
    for (const world::Climb& l : world::kClimbs) {
        int tried = 0;
        for (int px = world::painted_lo(l) - 60; px <= world::painted_hi(l); px += 5)
            for (int mid : {world::kFigureMidRight, world::kFigureMidLeft}) {
                if (px + mid < world::painted_lo(l) || px + mid > world::painted_hi(l)) continue;
                if (stands(px, l.py_bottom)) {
                    ++tried;
                    EXPECT_EQ(climb_up(px, l.py_bottom), l.py_top) << l.name << ": Up at " << px << " facing " << mid;
                    EXPECT_TRUE(walks_off(px, l.py_top)) << l.name << " at the top from " << px;
                }
                if (stands(px, l.py_top)) {
                    ++tried;
                    EXPECT_EQ(climb_down(px, l.py_top), l.py_bottom) << l.name << ": Down at " << px << " facing " << mid;
                    EXPECT_TRUE(walks_off(px, l.py_bottom)) << l.name << " at the foot from " << px;
                }
            }
        EXPECT_GE(tried, 4) << l.name << ": no standing place under it";
    }
}

// --- painted = walkable, judged by his feet --------------------------------
// The middle of his drawn feet (the lowest rows of the standing pictures),
// facing right and facing left, from prof_x.
double feet_middle(bool right) {
    static double mid[2] = {-1, -1};
    double& m = mid[right];
    if (m < 0) {
        Surface mask = load_bmp_file(std::string(LEXOVO_STORED_DIR) + (right ? "/Picture2_0.bmp" : "/Picture11_0.bmp"));
        int lo = 1 << 20, hi = -1;
        for (int y = mask.height() - 8; y < mask.height(); ++y)
            for (int x = 0; x < mask.width(); ++x)
                if (mask.get(x, y) == 0) lo = std::min(lo, x), hi = std::max(hi, x);
        m = (lo + hi) / 2.0;
    }
    return m;
}

// Walking along a level floor as the rule walks: where he last stands, and
// whether the step after it drops him (and where he is drawn then).
struct WalkEnd {
    int stands;
    bool drops;
    int drawn;
};
WalkEnd walk(int px, int py, int dir) {
    for (int steps = 0; steps < 1000; ++steps) {
        const int probe = dir > 0 ? px + 14 : px - 5;
        if (at(probe, py + 116) != world::kMapWhite) return {px, false, px};
        const int next = px + 5 * dir, edge = dir > 0 ? next + 14 : next - 5;
        if (at(edge, py + 121) == world::kMapLightGreen) return {px, true, next + 5 * dir};
        px = next;
    }
    return {px, false, px};
}

const world::Floor& floor_named(const char* name) {
    for (const world::Floor& f : world::kFloors)
        if (std::string(f.name) == name) return f;
    throw std::logic_error(std::string("no floor ") + name);
}

// The ends of the floors at the wells' level: a hole he drops into, or a
// brink where he stops, and the rim the player sees there.
struct Edge {
    const char* floor;
    int dir;  // the way he walks to it
    int rim;
    bool hole;
};
const Edge kEdges[] = {
    {"before the first well", +1, world::kWell1Left, true},
    {"between the wells", -1, world::kWell1Right, true},
    {"between the wells", +1, world::kWell2Left, false},
    {"after the deep well", -1, world::kWell2Right, true},
    {"after the deep well", +1, world::kChasmRim, false},
};
// His feet on the floor's side of a rim (walking toward it in dir).
bool before_rim(double feet, int rim, int dir) { return dir > 0 ? feet < rim : feet > rim; }

TEST(WorldFiles, HisFeetAndThePaintingAgreeAtEveryEdge) {
    for (const Edge& e : kEdges) {
        const world::Floor& f = floor_named(e.floor);
        const WalkEnd end = walk(e.dir > 0 ? f.lo : f.hi, f.py, e.dir);
        const bool right = e.dir > 0;
        EXPECT_EQ(end.drops, e.hole) << e.floor;
        EXPECT_TRUE(before_rim(end.stands + feet_middle(right), e.rim, e.dir))
            << e.floor << ": standing at " << end.stands << " his feet are past the rim at " << e.rim;
        if (end.drops) {
            EXPECT_FALSE(before_rim(end.drawn + feet_middle(right), e.rim, e.dir))
                << e.floor << ": dropping at " << end.drawn << " his feet are still over the floor before " << e.rim;
        }
    }
}

// Over each well, both ways, from each of the last three places he stands
// before its rim: the jump is taken (floor at its target), he does not
// fall where it ends, and his feet are over the floor beyond the far rim.
TEST(WorldFiles, EachWellIsJumpedFromTheLastThreePlacesBeforeItsRim) {
    struct Jump {
        const char* from;
        int dir, far_rim;
    };
    const Jump jumps[] = {
        {"before the first well", +1, world::kWell1Right},
        {"between the wells", -1, world::kWell1Left},
        {"between the wells", +1, world::kWell2Right},
        {"after the deep well", -1, world::kWell2Left},
    };
    for (const Jump& j : jumps) {
        const world::Floor& f = floor_named(j.from);
        const int last = walk(j.dir > 0 ? f.lo : f.hi, f.py, j.dir).stands;
        for (int k = 0; k < 3; ++k) {
            const int px = last - 5 * k * j.dir, target = j.dir > 0 ? px + 90 : px - 84;
            EXPECT_EQ(at(target, f.py + 116), world::kMapWhite) << j.from << ": the jump from " << px << " is refused";
            EXPECT_NE(at(target, f.py + 121), world::kMapLightGreen) << j.from << ": he falls after the jump from " << px;
            const int lands = j.dir > 0 ? px + 90 : px - 90;
            EXPECT_FALSE(before_rim(lands + feet_middle(j.dir > 0), j.far_rim, j.dir))
                << j.from << ": landing at " << lands << " his feet are over the hole before " << j.far_rim;
        }
    }
}

// Ground the player sees at (x, feet row): a painted floor with its top on
// that row, or a tread of the stone steps within 4 rows of it (a man moving
// 5 px a step over 10-px treads straddles two of them at every other place).
bool painted_ground(double x, int feet_row) {
    for (const world::PaintedFloor& f : world::kPaintedFloors)
        if (f.feet_y == feet_row && f.x0 <= x && x <= f.x1) return true;
    for (const world::PaintedSteps& s : {world::kUpperSteps, world::kLowerSteps})
        if (s.x0 <= x && x < s.x1 && std::abs(world::tread_top(s, x) - feet_row) <= 4) return true;
    return false;
}

// His figure as drawn (the standing pictures' columns), clear of every
// painted wall.
bool in_a_wall(int px, int py, bool right) {
    const int x0 = px + (right ? 13 : 6), x1 = px + (right ? 45 : 38);
    for (const world::PaintedWall& w : world::kPaintedWalls)
        if (x1 >= w.x0 && x0 < w.x1 && py + 119 >= w.y0 && py < w.y1) return true;
    return false;
}

// Every place a walk can end on every floor, both ways: where a wall or a
// floor's end stops him, his feet are on the floor painted there and his
// figure is out of the painted walls; where the next step drops him, the
// feet of the figure drawn falling are over the painted hole. The ledges
// over the wells that carry only a man walking right off a shelf or the
// rope are left out: they still carry him over the hole.
TEST(WorldFiles, WhereverAWalkEndsHisFeetAgreeWithThePainting) {
    std::vector<world::Floor> floors(world::kFloors.begin(), world::kFloors.end());
    floors.push_back(world::kUpperGallery);
    int ends = 0;
    for (const world::Floor& f : floors) {
        if (f.phase != world::Phase::Both) continue;
        for (int dir : {+1, -1}) {
            const bool right = dir > 0;
            for (int start = f.lo; start <= f.hi; start += 5) {
                const WalkEnd end = walk(start, f.py, dir);
                const Rgb ahead = at(right ? end.stands + 14 : end.stands - 5, f.py + 116);
                if (!end.drops && (ahead == world::kMapLightRed || ahead == world::kMapBlue)) continue;  // on down the steps
                ++ends;
                EXPECT_TRUE(painted_ground(end.stands + feet_middle(right), f.py + 120))
                    << f.name << ": walking " << (right ? "right" : "left") << " he stops at " << end.stands
                    << " with his feet off the painted floor";
                EXPECT_FALSE(in_a_wall(end.stands, f.py, right))
                    << f.name << ": walking " << (right ? "right" : "left") << " he stops at " << end.stands << " inside a wall";
                if (end.drops) {
                    EXPECT_FALSE(painted_ground(end.drawn + feet_middle(right), f.py + 120))
                        << f.name << ": dropping at " << end.drawn << " his feet are over painted floor";
                }
            }
        }
    }
    EXPECT_GT(ends, 50);
}

// On the stone steps, both ways, at every place of each flight (the
// crumbling landing at the foot of the upper one, the plant's top at the
// head of the lower one): his feet on the tread the player sees under them.
TEST(WorldFiles, HisFeetAreOnTheTreadsOfTheStoneSteps) {
    for (const world::Flight& s : world::kFlights)
        for (int k = 0; k <= s.n; ++k) {
            const int px = s.px0 + 5 * k, py = s.py0 + 5 * k;
            for (bool right : {true, false}) {
                EXPECT_TRUE(painted_ground(px + feet_middle(right), py + 120))
                    << s.name << ": at (" << px << ", " << py << ") facing " << (right ? "right" : "left")
                    << " his feet on row " << py + 120 << " are off the treads";
                EXPECT_FALSE(in_a_wall(px, py, right)) << s.name << " at " << px;
            }
        }
}

// The picture of the crumbling steps, drawn over the flight at its place,
// has the world's treads: before the collapse (frame 0) at the last places
// of the upper flight, and after it (frame 3, the treads he stood on gone)
// at the top of the bean plant and down the lower flight, wherever his feet
// are over the picture the lit edge of a tread is within 4 rows of them.
bool on_a_lit_tread(const Surface& back, const Surface& pic, double feet_x, int feet_row) {
    const int x0 = world::kCrumblingSteps.x, y0 = world::kCrumblingSteps.y;
    const int fx = int(std::lround(feet_x));
    for (int x = fx - 1; x <= fx + 1; ++x)
        for (int y = feet_row - 4; y <= feet_row + 4; ++y) {
            const bool in_pic = x >= x0 && x < x0 + pic.width() && y >= y0 && y < y0 + pic.height();
            const Rgb c = in_pic ? pic.get(x - x0, y - y0) : back.get(x, y + 400);
            if (((c >> 16) & 255) + ((c >> 8) & 255) + (c & 255) > 3 * 190) return true;
        }
    return false;
}

TEST(WorldFiles, TheCrumblingStepsCarryHimWhereHisFeetAreOverThem) {
    const Surface back = load_bmp_file(kData + "/gameb2.bmp");
    PictureMap pics;
    paint_world_pictures(pics);
    struct Place {
        int px, py;
        const char* frame;
    };
    std::vector<Place> places;
    const world::Flight& upper = world::kFlights[0];
    const world::Flight& lower = world::kFlights[1];
    for (int k = upper.n - 4; k <= upper.n; ++k) places.push_back({upper.px0 + 5 * k, upper.py0 + 5 * k, "Picture38_0"});
    for (int px = world::kPlantX; px < lower.px0; px += 5) places.push_back({px, world::kPlantTopY, "Picture38_3"});
    for (int k = 0; k <= 6; ++k) places.push_back({lower.px0 + 5 * k, lower.py0 + 5 * k, "Picture38_3"});
    int over = 0;
    for (const Place& p : places)
        for (bool right : {true, false}) {
            const Surface& pic = pics[p.frame];
            const double feet = p.px + feet_middle(right);
            if (feet < world::kCrumblingSteps.x || feet >= world::kCrumblingSteps.x + pic.width()) continue;
            ++over;
            EXPECT_TRUE(on_a_lit_tread(back, pic, feet, p.py + 120))
                << p.frame << ": at (" << p.px << ", " << p.py << ") facing " << (right ? "right" : "left")
                << " his feet on row " << p.py + 120 << " are over no tread";
        }
    EXPECT_GE(over, 16);
}

// A jump taken anywhere, either way: where it ends he stands on the floor
// the player sees there, or, if he falls there, his feet are over a hole.
TEST(WorldFiles, WhereverAJumpLandsHisFeetAgreeWithThePainting) {
    int landings = 0;
    for (const world::Floor& f : world::kFloors) {
        if (f.phase != world::Phase::Both) continue;
        for (int px = f.lo; px <= f.hi; px += 5)
            for (int dir : {+1, -1}) {
                const int target = dir > 0 ? px + 90 : px - 84, lands = dir > 0 ? px + 90 : px - 90;
                if (at(target, f.py + 116) != world::kMapWhite) continue;  // refused
                ++landings;
                const bool falls = at(target, f.py + 121) == world::kMapLightGreen;
                EXPECT_EQ(painted_ground(lands + feet_middle(dir > 0), f.py + 120), !falls)
                    << f.name << ": the jump " << (dir > 0 ? "right" : "left") << " from " << px << " lands at "
                    << lands << (falls ? " falling with his feet over painted floor" : " with his feet over no painted floor");
                EXPECT_FALSE(in_a_wall(lands, f.py, dir > 0)) << f.name << ": the jump from " << px << " ends inside a wall";
            }
    }
    EXPECT_GT(landings, 20);
}

// The risen rope is the game's picture, not the background's: its strand,
// above the coil at its foot, stands over the columns painted for the rope.
TEST(WorldFiles, TheRisenRopeStandsOverItsClimbingColumns) {
    PictureMap pics;
    paint_world_pictures(pics);
    const Surface& mask = pics["Picture70_2"];
    const world::Climb* rope = nullptr;
    for (const world::Climb& l : world::kClimbs)
        if (std::string(l.name) == "rope") rope = &l;
    ASSERT_TRUE(rope);
    int lo = 1 << 20, hi = -1;
    for (int y = 0; y < mask.height() - 40; ++y)  // above the coil and where it leaves it
        for (int x = 0; x < mask.width(); ++x)
            if (mask.get(x, y) == 0) lo = std::min(lo, x), hi = std::max(hi, x);
    EXPECT_GE(world::kRisingRopeX + lo, world::painted_lo(*rope));
    EXPECT_LE(world::kRisingRopeX + hi, world::painted_hi(*rope));
}

TEST(WorldFiles, TheGamesOwnPicturesArePaintedWhereItDrawsThem) {
    Surface back = load_bmp_file(kData + "/gameb2.bmp");
    PictureMap pics;
    paint_world_pictures(pics);
    const Surface& mask = pics["Picture15_0"];
    const Surface& image = pics["Picture15_1"];
    for (const world::RailingPlace& r : world::kRailings) {
        int same = 0, solid = 0;
        const int w = r.width == world::kWholeRailing ? mask.width() : r.width;
        EXPECT_GT(w, 0);
        for (int y = 0; y < 60; ++y)
            for (int x = 0; x < w; ++x)
                if (mask.get(x, y) == 0) {
                    ++solid;
                    same += back.get(r.x + x, r.y + y + 400) == image.get(x, y);
                }
        EXPECT_EQ(same, solid) << "railing at " << r.x << ", " << r.y;
    }
    const Surface& steps = pics["Picture38_0"];
    int same = 0;
    for (int y = 0; y < 63; ++y)
        for (int x = 0; x < 48; ++x)
            same += back.get(world::kCrumblingSteps.x + x, world::kCrumblingSteps.y + y + 400) == steps.get(x, y);
    EXPECT_EQ(same, 48 * 63);
}

}  // namespace

// SPDX-License-Identifier: GPL-3.0-or-later
// The collision map, painted from the plan: floors, flights of steps,
// ladders, fall columns and shelf marks, in that order (later layers win).
#include "datagen/world/world_painters.h"
#include "datagen/world/world_plan.h"

namespace world {
namespace {

int phase(int x) { return ((x % 5) + 5) % 5; }
bool left_column(int x) { return phase(x) == 0; }
bool right_column(int x) { return phase(x) == 4; }

void put(Surface& m, int x, int y, Rgb c) { m.set(x, map_row(y), c); }

void paint_floor(Surface& m, const Floor& f) {
    if (!f.name || !*f.name) return;
    for (int x = f.lo; x <= f.hi + 14; ++x) {
        bool on = false;
        if (right_column(x)) on = x >= f.lo + 14 && x <= f.hi + 9;
        else if (left_column(x)) on = f.phase == Phase::Both && x >= f.lo && x <= f.hi;
        else on = f.phase == Phase::Both && x >= f.lo + 6 && x <= f.hi + 6;
        if (!on) continue;
        for (int y = f.py + 115; y <= f.py + 117; ++y) put(m, x, y, kMapWhite);
    }
}

// Red where a man walking right reads the next step down, blue where a man
// walking left reads the next step up (each a band of 9 rows, so a
// professor a few rows off still follows the steps). The red ends on the
// last column a man walking right reads: the column just past it is where
// a left jump over the first well aims, on the floor at the flight's foot.
void paint_flight(Surface& m, const Flight& s) {
    const int d_red = s.py0 - s.px0 + 102;   // (py + 116) - (px + 14)
    const int d_blue = s.py0 - s.px0 + 121;  // (py + 5 + 116) - (px + 5 - 5)
    for (int x = s.px0 + 12; x <= s.px0 + 14 + 5 * (s.n - 1); ++x) {
        if (left_column(x)) continue;
        for (int y = x + d_red - 4; y <= x + d_red + 4; ++y) put(m, x, y, kMapLightRed);
    }
    for (int x = s.px0; x <= s.px0 + 5 * (s.n - 1); x += 5)
        for (int y = x + d_blue - 4; y <= x + d_blue + 4; ++y) put(m, x, y, kMapBlue);
}

void paint_ladder(Surface& m, const Climb& l, int x) {
    if (!l.dotted) {
        for (int y = l.py_top + 112; y <= l.py_bottom + 120; ++y) put(m, x, y, kMapWhite);
        return;
    }
    // Climbing up reads py + 111, climbing down py + 121, with py a multiple
    // of 4 from the top: both always an odd number of rows below py_top.
    // The even rows above the bottom floor stay dark, among them
    // py_top + 116, where a jump aimed at the ladder's top looks for floor.
    for (int y = l.py_top + 115; y <= l.py_bottom + 117; ++y) {
        if ((y - l.py_top) & 1) put(m, x, y, kMapWhite);
        else if (y <= l.py_bottom + 111) put(m, x, y, kMapBlack);
    }
}

}  // namespace

Surface paint_collision_map() {
    Surface m(kWidth, kHeight, kMapBlack);
    for (const Floor& f : kFloors) paint_floor(m, f);
    paint_floor(m, kUpperGallery);
    for (const Flight& s : kFlights) paint_flight(m, s);
    for (const Climb& l : kClimbs)
        for (int x = l.x_lo; x <= l.x_hi; x += 5) paint_ladder(m, l, x);
    for (const FallColumn& c : kFallColumns)
        for (int y = c.y0; y <= c.y1; ++y) put(m, c.x, y, kMapLightGreen);
    for (const Mark& k : kMarks)
        for (int y = k.y0; y <= k.y1; ++y)
            for (int x = k.x0; x <= k.x1; ++x) put(m, x, y, kMapLightMagenta);
    return m;
}

}  // namespace world

// SPDX-License-Identifier: GPL-3.0-or-later
// The plan of the world: every floor, flight of steps, ladder, edge and
// shelf mark in world coordinates (x right, y down, 0 at the top of the
// lowest 400-row band). The collision map and the painted background are
// both drawn from these tables, so what the player sees and what the
// professor walks on cannot drift apart. docs/world-plan.md describes it.
//
// How the professor reads the map (the reason for every number below):
// he stands at (px, py), the top-left corner of his 80 x 120 picture, so
// his feet are on row py + 120. Walking right looks at column px + 14,
// walking left at px - 5, both on row py + 116; after a straight step the
// column he looked at is tested again on row py + 121 for empty space, and
// on row py + 110 for the walking marker. Climbing looks at column px on
// row py + 111 (up) or py + 121 (down). Walking moves 5 px, so from the
// start (-10, 168) px is always a multiple of 5: right-walking probes land
// on columns = 4 (mod 5), left-walking probes, jump targets, climbing
// columns and the columns he falls along after a left step on columns
// = 0 (mod 5). A left jump aims at px - 84 (= 1 mod 5) and ends at px - 90.
// Edges are therefore painted per column phase: the right-walking columns
// decide where a man walking right steps off, the left-walking columns
// where a man walking left does; each rim the player sees is placed
// between the middle of his feet where he last stands and where he drops.
#pragma once

#include <algorithm>
#include <array>
#include <cmath>

namespace world {

constexpr int kWidth = 2200;
constexpr int kHeight = 800;     // world rows -400 ... 399
constexpr int kTop = -400;
constexpr int kBottom = 399;

inline int map_row(int world_y) { return world_y + 400; }

// A level floor on which the professor stands at prof_y = py, for
// prof_x in [lo, hi]. Painted white on rows py + 115 ... py + 117 around
// the walking probe's row py + 116, and no more: one climbing step (4 px)
// off a floor he cannot walk, so he never walks in the air beside a
// ladder. The rows under it stay neutral, so nobody falls through.
enum class Phase { Both, RightOnly };
struct Floor {
    const char* name;
    int py, lo, hi;
    Phase phase;
};

// A flight of steps going down to the right: the professor is at
// (px0, py0) when the first step down begins and at (px0 + 5n, py0 + 5n)
// at its foot.
struct Flight {
    const char* name;
    int px0, py0, n;
};

// A ladder (or shelf, plant, rope) he climbs from any column x_lo, x_lo + 5,
// ..., x_hi, between the floor at py_top and the floor at py_bottom (a
// multiple of 4 apart). Ladders that stand in the open air of a well are
// "dotted": white only on the rows the climbing probes read, so a jump
// aimed at their top finds no floor there.
struct Climb {
    const char* name;
    int x_lo, x_hi, py_top, py_bottom;
    bool dotted;
};

// The middle of his figure as drawn: the standing pictures show him from
// prof_x + 13 to + 45 facing right, + 6 to + 38 facing left.
constexpr int kFigureMidRight = 29, kFigureMidLeft = 22;
// The columns painted as the ladder: exactly those over which the middle
// of his figure stands at one of its climbing columns, whichever way he
// faces (x_lo - 5 and x_hi + 5 put it outside on both sides).
constexpr int painted_lo(const Climb& c) { return c.x_lo - 5 + kFigureMidRight + 1; }
constexpr int painted_hi(const Climb& c) { return c.x_hi + 5 + kFigureMidLeft - 1; }

// A column of empty space along which the professor falls, from row
// y0 to row y1, and which of the two walking phases reaches it.
struct FallColumn {
    const char* name;
    int x, y0, y1;
};

// A rectangle of light magenta: a book's shelf mark (where the pointer
// finds it) or the walking marker of the book lying on the gallery.
struct Mark {
    const char* name;
    int x0, y0, x1, y1;  // inclusive
};

// --- the levels, in the order the route meets them -------------------

constexpr int kStartY = 168;        // lowest floor of the first library
constexpr int kGalleryAY = 72;      // feet on 192, railing (298, 133)
constexpr int kGalleryBY = -108;    // feet on 12, railing (298, -47)
constexpr int kSpiderY = -292;      // feet on -172, railing (458, -231)
constexpr int kVaultY = 182;        // the landing the fall into the vault forces
constexpr int kPlantTopY = -210;    // top of the bean plant (98 climbs from 182)
constexpr int kWellsY = 55;         // the level of the two wells, feet on 175
constexpr int kWell1BottomY = 155;  // a 100 px fall (6 fall steps), 25 climbs
constexpr int kWell2BottomY = 275;  // a 220 px fall (9 fall steps), 55 climbs
constexpr int kGallery1Y = -169;    // feet on -49, railing (1662, -108)
constexpr int kGallery2Y = -349;    // feet on -229, railing (1664, -288)

// Columns that the route fixes.
constexpr int kLadder1X = 280;      // first library -> gallery A
constexpr int kLadder2X = 460;      // gallery A -> gallery B
constexpr int kLadder3X = 360;      // gallery B -> the spider's floor
constexpr int kStairTopX = 915;     // first step down of the stone steps
constexpr int kCrumbleFallX = 1004; // the column he falls along into the vault
constexpr int kPlantX = 995;        // where he lands and climbs the plant
constexpr int kWell1LadderX = 1325;
constexpr int kRopeX = 1480;
constexpr int kLibraryLadderX = 1660;
constexpr int kGalleryLadderX = 1820;
constexpr int kRimX = 1890;         // last place before the chasm

// Where the player sees the two wells' mouths and the chasm's rim. Each
// rim of a hole lies between the middle of his feet where he last stands
// before it and where he is drawn as he drops into it (tests/world): the
// first well's left rim between 1316 (standing at 1290) and 1326 (dropping
// at 1300), its right rim between 1374 (dropping at 1350) and 1379
// (standing at 1355 facing left, come off the shelf's top), the deep
// well's right rim between 1514 (dropping at 1490) and 1519 (standing at
// 1495, or landing there from a jump).
constexpr int kWell1Left = 1322, kWell1Right = 1378;
constexpr int kWell2Left = 1455, kWell2Right = 1518;
constexpr int kChasmRim = 1945;

// The fall column into the vault ends well above the floor: the landing
// puts him on the floor at 182 anyway, and the view, which follows the
// fall, stops where the pot, the seed, the cloud and the fork can be
// dropped onto the pictures at the foot of the tunnel.
constexpr int kCrumbleGreenEnd = 236;

// A floor paints its left-walking columns (= 0 mod 5) over [lo, hi], its
// right-walking columns (= 4 mod 5) over [lo + 14, hi + 9] and the columns
// between over [lo + 6, hi + 6] (where a left jump aims); hi is the last
// place he steps onto (a wall stops him there, or an edge drops him there).
// "RightOnly" floors carry only a man walking right: the ledge from the top
// of a shelf or rope standing in a well, over the well's mouth.
constexpr Phase kB = Phase::Both, kR = Phase::RightOnly;
constexpr std::array<Floor, 15> kFloors = {{
    {"first library", kStartY, -10, kLadder1X, kB},
    {"gallery A", kGalleryAY, kLadder1X - 10, kLadder2X, kB},
    {"gallery B", kGalleryBY, kLadder3X, kLadder2X, kB},
    {"spider's floor", kSpiderY, kLadder3X, kStairTopX, kB},
    {"crumbling landing", kSpiderY + 70, 985, 990, kB},
    {"vault", kVaultY, 820, 1010, kB},
    {"plant top", kPlantTopY, kPlantX, kPlantX + 10, kB},
    {"before the first well", kWellsY, 1270, 1295, kB},
    {"first well bottom", kWell1BottomY, 1300, 1350, kB},
    {"over the first well", kWellsY, 1300, 1415, kR},
    {"between the wells", kWellsY, 1355, 1420, kB},
    {"deep well bottom", kWell2BottomY, 1425, 1495, kB},
    {"off the rope", kWellsY, kRopeX - 5, 1495, kR},
    {"after the deep well", kWellsY, 1495, kRimX, kB},
    {"library gallery", kGallery1Y, kLibraryLadderX - 5, kGalleryLadderX + 5, kB},
}};
constexpr Floor kUpperGallery = {"upper gallery", kGallery2Y, 1700, kGalleryLadderX + 5, kB};

constexpr std::array<Flight, 2> kFlights = {{
    {"stone steps", kStairTopX, kSpiderY, 14},    // to (985, -222): the crumbling landing
    {"steps to the wells", kPlantX + 10, kPlantTopY, 53},  // to (1270, 55)
}};

// Every ladder climbs from three columns side by side, so that wherever
// the middle of his figure is over it, Up climbs. Those at a floor's end
// reach back from the wall that stops him (the first library's to 270,
// gallery A's to 450, gallery B's to 370); the bean plant's cannot reach
// further left than 995 (990 and 985 cross book 9's mark at 986 ... 992);
// the rope's cannot reach 1490, the column down which he falls into the
// deep well walking left.
constexpr std::array<Climb, 8> kClimbs = {{
    {"first library ladder", kLadder1X - 10, kLadder1X, kGalleryAY, kStartY, false},
    {"gallery A ladder", kLadder2X - 10, kLadder2X, kGalleryBY, kGalleryAY, false},
    {"gallery B ladder", kLadder3X, kLadder3X + 10, kSpiderY, kGalleryBY, false},
    {"bean plant", kPlantX, kPlantX + 10, kPlantTopY, kVaultY, false},
    {"first well shelf", kWell1LadderX - 5, kWell1LadderX + 5, kWellsY, kWell1BottomY, true},
    {"rope", kRopeX - 5, kRopeX + 5, kWellsY, kWell2BottomY, true},
    {"library ladder", kLibraryLadderX - 5, kLibraryLadderX + 5, kGallery1Y, kWellsY, false},
    {"gallery ladder", kGalleryLadderX - 5, kGalleryLadderX + 5, kGallery2Y, kGallery1Y, false},
}};

// The deep well has no edge for a man walking right: he stops at its brink
// (x 1420) and must jump; he goes down it only walking left, from the far
// side, once he has the rope and the flute.
constexpr std::array<FallColumn, 4> kFallColumns = {{
    {"into the vault", kCrumbleFallX, kSpiderY + 70 + 112, kCrumbleGreenEnd},
    {"first well, walking right", 1309, kWellsY + 112, kWell1BottomY + 105},
    {"first well, walking left", 1350, kWellsY + 112, kWell1BottomY + 105},
    {"deep well, walking left", 1490, kWellsY + 112, kWell2BottomY + 111},
}};

// Shelf marks: strictly inside each book's pointer range, over its spine.
constexpr std::array<Mark, 14> kMarks = {{
    {"book 1", 118, 149, 124, 180},
    {"book 2", 399, 171, 432, 182},  // also the walking marker (gallery A, row 182)
    {"book 3", 35, 241, 49, 266},
    {"book 4", 467, 14, 479, 29},  // below gallery B's walk (rows 4 ... 13)
    {"book 5", 339, -146, 349, -122},
    {"book 6", 836, 160, 848, 189},
    {"book 7", 905, 132, 916, 156},
    {"book 8", 946, 193, 957, 217},
    {"book 9", 986, 223, 992, 247},  // clear of the fall column at 984
    {"book 10", 1492, 362, 1516, 383},
    {"book 11", 1804, -18, 1817, 6},
    {"book 12", 1738, -172, 1750, -148},
    {"book 13", 1441, 5, 1454, 29},
    {"", 0, 0, -1, -1},
}};

// --- the painting under his feet -----------------------------------------
// Where the background paints what he walks on (datagen/world/background.cpp
// paints from these, tests/world holds his feet to them).

// The floors, their tops on the row of his feet, from x0 to x1.
struct PaintedFloor {
    const char* name;
    int feet_y;
    double x0, x1;
};
constexpr double kTunnelL = 988, kTunnelR = 1066;  // the tunnel down to the vault
constexpr double kStairFoot = 1298;                // where the steps meet the wells' floor
constexpr std::array<PaintedFloor, 12> kPaintedFloors = {{
    {"first library", kStartY + 120, 0, 362},
    {"gallery A", kGalleryAY + 120, 276, 546},
    {"gallery B", kGalleryBY + 120, 296, 546},
    {"spider's floor", kSpiderY + 120, 350, 935},
    {"vault", kVaultY + 120, 800, 1082},
    {"before the first well", kWellsY + 120, kStairFoot - 10, kWell1Left},
    {"between the wells", kWellsY + 120, kWell1Right, kWell2Left},
    {"after the deep well", kWellsY + 120, kWell2Right, kChasmRim},
    {"first well bottom", kWell1BottomY + 120, kWell1Left - 8, kWell1Right + 8},
    {"deep well bottom", kWell2BottomY + 120, kWell2Left - 30, kWell2Right + 34},
    {"library gallery", kGallery1Y + 120, 1650, 1945},
    {"upper gallery", kGallery2Y + 120, 1650, 2064},
}};

// The walls that end a floor where he stands, from x0 to x1 (not
// included), rows y0 to y1: the lowest floor's end under the galleries,
// the bookcase's side that ends gallery B, the vault's two sides.
struct PaintedWall {
    const char* name;
    double x0, x1, y0, y1;
};
constexpr std::array<PaintedWall, 4> kPaintedWalls = {{
    {"the lowest floor's end", 356, 770, 196, 302},  // the vault's rock beyond
    {"gallery B's bookcase", 352, 359, -172, 12},
    {"the vault's left side", 770, 800, 40, 320},
    {"the vault's right side", 1082, 1110, 40, 320},
}};

// The stone steps: treads 10 wide, laid from `origin` on and drawn from x0
// to x1, each at the height its line has in the tread's middle: y = x - c,
// never above the landing's row `level`; where `c_above` is set, the steps
// left of the landing climb on along y = x - c_above. A man on a flight
// moves 5 px across and 5 down a step, so half the places he stands on
// straddle two treads: the lines put the middle of his feet (tests/world)
// within 4 rows of the tread under it at every place, on both flights,
// facing either way. The lower flight begins with the landing at the top
// of the bean plant, where he stands at 995 ... 1005; left of it the
// crumbled steps carry the upper flight's line on. The picture of the
// crumbling steps, which the game draws over these treads, has the same
// treads (tests/world).
struct PaintedSteps {
    const char* name;
    double x0, x1, origin, c, level, c_above;
};
constexpr PaintedSteps kUpperSteps = {"upper flight", 925, kTunnelL, 918, 1112, kSpiderY + 120, 0};
constexpr PaintedSteps kLowerSteps = {"lower flight", kTunnelL, kStairFoot, kTunnelL, 1121, kPlantTopY + 120, 1111};
constexpr double step_line(const PaintedSteps& s, double x) {
    return std::max(x - s.c, s.c_above != 0 ? std::min(x - s.c_above, s.level) : s.level);
}
// The tread over column x: where it starts, and its top.
inline double tread_start(const PaintedSteps& s, double x) {
    return s.origin + 10 * std::floor((x - s.origin) / 10);
}
inline double tread_top(const PaintedSteps& s, double x) { return step_line(s, tread_start(s, x) + 5); }

}  // namespace world

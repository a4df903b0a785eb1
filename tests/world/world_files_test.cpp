// The world's data files as the game reads them: sizes and formats, the
// collision map's colours, the books' shelf marks where the pointer looks
// for them, the ladders as the climbing rule climbs them, and the railings
// and steps the game draws over the professor painted where it draws them.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <set>
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
    for (const world::Ladder& l : world::kLadders)
        for (int y = l.py_top + 100; y <= l.py_bottom + 125; ++y)
            EXPECT_NE(at(l.x, y), world::kMapLightMagenta) << l.name << " at row " << y;
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
// white 121 rows below, 4 px a step.
TEST(WorldFiles, LaddersLeadFromFloorToFloor) {
    for (const world::Ladder& l : world::kLadders) {
        int py = l.py_bottom, steps = 0;
        while (at(l.x, py + 111) == world::kMapWhite && steps < 400) py -= 4, ++steps;
        EXPECT_EQ(py, l.py_top) << l.name << " climbing up";
        py = l.py_top;
        steps = 0;
        while (at(l.x, py + 121) == world::kMapWhite && steps < 400) py += 4, ++steps;
        EXPECT_EQ(py, l.py_bottom) << l.name << " climbing down";
        // At both ends he can walk off (a floor under the walking probe).
        for (int end : {l.py_top, l.py_bottom})
            EXPECT_TRUE(at(l.x + 14, end + 116) == world::kMapWhite || at(l.x - 5, end + 116) == world::kMapWhite)
                << l.name;
    }
    // Ladders standing in a well offer no floor to a jump aimed at their top.
    for (const world::Ladder& l : world::kLadders) {
        if (l.dotted) {
            EXPECT_NE(at(l.x, l.py_top + 116), world::kMapWhite) << l.name;
        }
    }
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

// SPDX-License-Identifier: GPL-3.0-or-later
// What the window shows: the first view, the framed screen, the professor's
// walking pictures, the bar's slots and the object under the pointer.
#include "tests/unit/test_world.h"

using namespace testworld;

namespace {
bool same_region(const Surface& a, int ax, int ay, const Surface& b, int bx, int by, int w, int h) {
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (a.get(ax + x, ay + y) != b.get(bx + x, by + y)) return false;
    return true;
}
bool has_artwork(Game& g) { return g.game.picture(2, 0).width() == 80 && g.game.picture(64).width() == 480; }
}  // namespace

TEST(Rendering, FirstViewIsTheLowerLeftCornerOfTheBackground) {
    World w;
    Data d(w);
    Game g(d.dir);
    EXPECT_TRUE(same_region(g.game.window_picture(), 40, 40, w.background, 0, 400, 400, 400));
}

TEST(Rendering, OneTickComposesFramePlayAreaAndBar) {
    World w;
    w.floor(0, 600, 168);
    Data d(w);
    Game g(d.dir);
    if (!has_artwork(g)) GTEST_SKIP() << "built without artwork";
    g.tick();
    const Surface& win = g.game.window_picture();
    const Surface& frame = g.game.picture(64);
    // The border is the stored frame, untouched.
    EXPECT_TRUE(same_region(win, 0, 0, frame, 0, 0, 480, 40));
    EXPECT_TRUE(same_region(win, 0, 500, frame, 0, 500, 480, 40));
    EXPECT_TRUE(same_region(win, 0, 0, frame, 0, 0, 40, 540));
    EXPECT_TRUE(same_region(win, 440, 0, frame, 440, 0, 40, 540));
    // The empty bar right under the play area.
    EXPECT_TRUE(same_region(win, 40, 440, g.game.picture(12), 0, 0, 400, 60));
    // Right of the professor, up to the red book lying at x 398, the play area is the background.
    EXPECT_TRUE(same_region(win, 40 + 100, 40, w.background, 100, 400, 298, 400));
}

TEST(Rendering, WalkingShowsStandStepStandOtherStep) {
    World w;
    w.floor(0, 600, 168);
    Data d(w);
    Game g(d.dir);
    if (!has_artwork(g)) GTEST_SKIP() << "built without artwork";
    g.game.Form_KeyDown(39, 0);
    const int expected[] = {2, 3, 2, 4, 2, 3, 2, 4};
    for (int n : expected) {
        g.tick();
        // The picture he should show, put on the background where he stands.
        Surface want(400, 400);
        blit(want, 0, 0, 400, 400, w.background, g.s().scroll_x, 400 + g.s().scroll_y, Rop::SrcCopy);
        int x = int(g.s().prof_x) - g.s().scroll_x, y = int(g.s().prof_y) - g.s().scroll_y;
        draw_sprite(want, x, y, g.game.picture(n, 0), g.game.picture(n, 1));
        EXPECT_TRUE(same_region(g.game.window_picture(), 40 + std::max(0, x), 40 + y, want, std::max(0, x), y, 80 + std::min(0, x), 120))
            << "picture " << n << " at x " << x;
    }
}

TEST(Rendering, BarSlotsAndTheObjectUnderThePointer) {
    Data d(World{});
    Game g(d.dir);
    if (!has_artwork(g)) GTEST_SKIP() << "built without artwork";
    g.carry({"mosca", "vaso", "ombrello", "flauto", "seme"});
    g.tick();
    // Left edges of the item table: fly 20 (top 15), pot 124, umbrella 218, flute 328.
    struct Slot { int picture, left, top; };
    const Slot slots[] = {{37, 20, 15}, {39, 124, 5}, {41, 218, 5}, {66, 328, 5}};
    Surface want = g.game.picture(12);
    for (const Slot& s : slots) draw_sprite(want, s.left, s.top, g.game.picture(s.picture, 0), g.game.picture(s.picture, 1));
    EXPECT_TRUE(same_region(g.game.window_picture(), 40, 440, want, 0, 0, 400, 60));  // slot 4 lies past the edge
    // Holding the pot: its slot shows empty and the pot sits at the pointer.
    g.game.Form_MouseDown(1, 0, 150, 470);
    g.game.Form_MouseMove(1, 0, 300.7f, 200.2f);
    g.tick();
    EXPECT_EQ(int(g.s().drag_x), 300);
    Surface bar = g.game.picture(12);
    for (const Slot& s : slots)
        if (s.picture != 39) draw_sprite(bar, s.left, s.top, g.game.picture(s.picture, 0), g.game.picture(s.picture, 1));
    EXPECT_TRUE(same_region(g.game.window_picture(), 40, 440, bar, 0, 0, 400, 60));
    Surface here(53, 47);
    blit(here, 0, 0, 53, 47, g.game.window_picture(), 300, 200, Rop::SrcCopy);
    EXPECT_NE(here, Surface(53, 47, here.get(0, 0)));
    const Surface& mask = g.game.picture(39, 0);
    int hits = 0, total = 0;
    for (int y = 0; y < 47; ++y)
        for (int x = 0; x < 53; ++x)
            if (mask.get(x, y) == 0) {
                ++total;
                hits += g.game.window_picture().get(300 + x, 200 + y) == g.game.picture(39, 1).get(x, y);
            }
    EXPECT_EQ(hits, total);
    // Released elsewhere: back in the bar, no longer at the pointer.
    g.game.Form_MouseUp(1, 0, 300, 200);
    g.tick();
    EXPECT_TRUE(same_region(g.game.window_picture(), 40, 440, want, 0, 0, 400, 60));
}

TEST(Rendering, PlantAndRopeStandOnTheirFeet) {
    Data d(World{});
    Game g(d.dir);
    for (int k = 0; k < 3; ++k) {
        const int widths[] = {23, 34, 45}, heights[] = {180, 270, 360};
        g.game.mutable_picture(52, k).resize(widths[k], heights[k], 0);
        g.game.mutable_picture(53, k).resize(widths[k], heights[k], rgb(0, 200 + k, 0));
    }
    g.s().vase_placed = true;
    g.s().plant_stage = 3;
    g.s().prof_y = 150;
    g.s().scroll_x = 800;  // world x 1012 is play-area x 212
    g.tick();
    const Surface& p = g.game.picture(1);
    // 1024 - 11.5 = 1012.5 is drawn at 1012; its foot on row 265.
    EXPECT_EQ(p.get(212, 265), rgb(0, 200, 0));
    EXPECT_NE(p.get(211, 265), rgb(0, 200, 0));
    EXPECT_NE(p.get(212 + 23, 265), rgb(0, 200, 0));
    while (g.s().plant_stage == 3) g.tick();
    g.tick();  // the grown plant, drawn by the tick itself
    EXPECT_EQ(g.game.picture(1).get(202, 265), rgb(0, 202, 0));  // 1001.5 drawn at 1002
    EXPECT_NE(g.game.picture(1).get(201, 265), rgb(0, 202, 0));
    EXPECT_EQ(g.game.picture(1).get(202, 0), rgb(0, 202, 0));  // 360 high: it reaches the top
}

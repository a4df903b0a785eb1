// Finding books with the pointer, opening and closing them, taking their objects.
#include "tests/unit/test_world.h"

using namespace testworld;

namespace {
// Light magenta under world rows y0..y1 and columns x0..x1 (the shelf the pointer reads).
World shelves() {
    World w;
    w.paint(900, 1000, 225, 240, kMapLightMagenta);   // books 9 and 8 and 7
    w.paint(100, 130, 150, 170, kMapLightMagenta);    // book 1
    w.paint(390, 440, 170, 175, kMapLightMagenta);    // book 2
    w.paint(1430, 1460, 5, 20, kMapLightMagenta);     // book 13
    return w;
}
// Window point of world point (x, y) under view (sx, sy).
int wx(int x, int sx) { return x - sx + 40; }
int wy(int y, int sy) { return y - sy + 40; }
}  // namespace

TEST(Books, TwoBooksFoundAlongOneShelfOpenTogether) {
    Data d(shelves());
    Game g(d.dir);
    g.s().scroll_x = 800;
    g.game.Form_MouseMove(0, 0, float(wx(985, 800)), float(wy(230, 0)));
    EXPECT_EQ(g.s().book_state[9], 1);
    EXPECT_EQ(g.sounds(), std::vector<std::string>({"snd_activate:play"}));
    g.game.Form_MouseMove(0, 0, float(wx(950, 800)), float(wy(230, 0)));
    EXPECT_EQ(g.s().book_state[8], 1);
    EXPECT_EQ(g.s().book_state[9], 1);  // still on the shelf: both stay found
    EXPECT_TRUE(g.sounds().empty());    // the chime is still sounding
    g.game.Form_Click();
    EXPECT_FALSE(g.game.timer_enabled());
    EXPECT_EQ(g.s().book_state[9], 2);
    EXPECT_EQ(g.s().book_state[8], 2);
    // Page 8, loaded last, covers the play area.
    EXPECT_EQ(g.game.window_picture().get(40, 40), rgb(80, 200, 175));
    EXPECT_EQ(g.game.window_picture().get(439, 439), rgb(80, 200, 175));
    g.tick(3);  // no tick runs while the page is open
    EXPECT_EQ(g.game.counters().walk_step, 0);
    g.game.Form_Click();
    EXPECT_TRUE(g.game.timer_enabled());
    EXPECT_EQ(g.s().inventory[0], "forchetta");
    EXPECT_EQ(g.s().inventory[1], "nuvola");
    EXPECT_EQ(g.sounds(), std::vector<std::string>({"snd_flub:play", "snd_flub:play"}));
    // Taken for good: the pointer finds them no more.
    g.game.Form_MouseMove(0, 0, 10, 10);
    g.game.Form_MouseMove(0, 0, float(wx(985, 800)), float(wy(230, 0)));
    EXPECT_EQ(g.s().book_state[9], 3);
}

TEST(Books, LeavingTheShelfForgetsFoundBooksAndRewindsTheChime) {
    Data d(shelves());
    Game g(d.dir);
    g.s().scroll_x = 800;
    g.game.Form_MouseMove(0, 0, float(wx(985, 800)), float(wy(230, 0)));
    g.sounds();
    g.game.Form_MouseMove(0, 0, float(wx(985, 800)), float(wy(300, 0)));
    EXPECT_EQ(g.s().book_state[9], 0);
    EXPECT_EQ(g.sounds(), std::vector<std::string>({"snd_activate:stop", "snd_activate:rewind"}));
}

TEST(Books, JungleBookOnlyFromBetweenTheWells) {
    Data d(shelves());
    for (auto [x, found] : {std::pair{1350.f, false}, {1380.f, true}, {1359.f, false}, {1360.f, true}, {1420.f, false}}) {
        Game g(d.dir);
        g.s().scroll_x = 1200;
        g.s().prof_x = x;
        g.game.Form_MouseMove(0, 0, float(wx(1445, 1200)), float(wy(10, 0)));
        EXPECT_EQ(g.s().book_state[13] == 1, found) << x;
        EXPECT_EQ(has(g.sounds(), "snd_activate:play"), found) << x;
    }
}

TEST(Books, TheRedBookNeedsItsWalkingMarkerAndIsReadOnce) {
    World w = shelves();
    w.floor(0, 600, 168);
    w.paint(380, 400, 168 + 110, 168 + 110, kMapLightMagenta);  // the marker, 110 rows under his top
    Data d(w);
    Game g(d.dir);
    g.game.Form_MouseMove(0, 0, float(wx(410, 0)), float(wy(172, 0)));
    EXPECT_EQ(g.s().book_state[2], 0);  // not yet within reach
    g.game.Form_KeyDown(39, 0);
    while (g.s().prof_x < 380) g.tick();
    g.game.Form_KeyUp(39, 0);
    EXPECT_EQ(g.s().book_state[2], 1);
    g.sounds();
    g.game.Form_MouseMove(0, 0, float(wx(410, g.s().scroll_x)), float(wy(172, 0)));
    EXPECT_EQ(g.s().book_state[2], 2);
    EXPECT_FALSE(has(g.sounds(), "snd_activate:play"));  // found without a chime
    g.game.Form_Click();
    EXPECT_EQ(g.s().book_state[2], 3);
    EXPECT_EQ(g.game.window_picture().get(200, 200), rgb(20, 200, 235));
    g.game.Form_Click();
    EXPECT_EQ(g.s().inventory_last, -1);  // it gives nothing
}

TEST(Books, DiaryPagesOpenAgainAndAgain) {
    Data d(shelves());
    Game g(d.dir);
    for (int round = 0; round < 2; ++round) {
        g.game.Form_MouseMove(0, 0, 10, 10);
        g.platform.advance_clock(400);  // the chime has finished
        g.sounds();
        g.game.Form_MouseMove(0, 0, float(wx(120, 0)), float(wy(160, 0)));
        EXPECT_EQ(g.s().book_state[1], -1);
        EXPECT_EQ(g.sounds(), std::vector<std::string>({"snd_activate:play"}));
        g.game.Form_Click();
        EXPECT_FALSE(g.game.timer_enabled());
        EXPECT_EQ(g.game.window_picture().get(100, 100), rgb(10, 200, 245));
        g.game.Form_Click();
        EXPECT_TRUE(g.game.timer_enabled());
    }
}

TEST(Books, AMissingPageIsReportedAndTheNextClickGoesOn) {
    Data d(shelves());
    d.remove("lib9.bmp");
    Game g(d.dir);
    g.s().scroll_x = 800;
    g.game.Form_MouseMove(0, 0, float(wx(985, 800)), float(wy(230, 0)));
    g.game.Form_Click();
    auto log = g.platform.take_log();
    ASSERT_EQ(log.boxes.size(), 1u);
    EXPECT_NE(log.boxes[0].text.find("n. 53 nella funzione 'FORM1_CLICK'"), std::string::npos);
    EXPECT_FALSE(g.game.timer_enabled());
    g.game.Form_Click();
    EXPECT_TRUE(g.game.timer_enabled());
    EXPECT_EQ(g.s().inventory[0], "forchetta");
}

TEST(Books, ClickAfterTheEndClosesTheGame) {
    Data d(shelves());
    Game g(d.dir);
    g.s().game_over = true;
    EXPECT_THROW(g.game.Form_Click(), ProgramEnded);
    Game h(d.dir);
    h.s().game_over = true;
    EXPECT_THROW(h.game.Form_DblClick(), ProgramEnded);
    Game k(d.dir);
    k.s().game_over = true;
    k.game.Form_KeyDown(39, 0);  // an arrow does not close it
    EXPECT_THROW(k.game.Form_KeyDown(112, 0), ProgramEnded);
}

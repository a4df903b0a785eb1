// SPDX-License-Identifier: GPL-3.0-or-later
// The story's events on their timelines: spider and fly, railings, the
// crumbling steps, storm and plant, rope, jungle, the finale, time over.
#include "tests/unit/test_world.h"

using namespace testworld;

namespace {
// Solid stand-ins for a picture: a black mask and an image of one colour,
// so that the test can see exactly where and whether it was drawn.
void stand_in(Game& g, int n, Rgb colour) {
    for (int k : {0, 1}) {
        Surface& p = g.game.mutable_picture(n, k);
        int w = p.empty() ? 20 : p.width(), h = p.empty() ? 20 : p.height();
        p.resize(w, h, k == 0 ? rgb(0, 0, 0) : colour);
    }
}
void stand_in_plain(Game& g, int n, int k, Rgb colour, int w = 20, int h = 20) {
    g.game.mutable_picture(n, k).resize(w, h, colour);
}
Rgb play(Game& g, int x, int y) { return g.game.picture(1).get(x, y); }

struct Upstairs : ::testing::Test {
    Data d{World{}};
    Game g{d.dir};
    void SetUp() override {
        g.s().prof_y = -250;
        g.s().scroll_x = 500;
        g.s().scroll_y = -300;
    }
};
}  // namespace

TEST_F(Upstairs, TheSpiderReachesTheBottomInTwentyThreeCalls) {
    g.s().prof_x = 500;
    g.tick();
    EXPECT_EQ(g.c().spider_y, -60);  // pulled up outside the stretch
    g.s().prof_x = 600;
    for (int k = 1; k <= 22; ++k) {
        g.tick();
        EXPECT_EQ(g.c().spider_y, -60 + 7 * k);
    }
    g.tick();
    EXPECT_EQ(g.c().spider_y, 100);
    g.tick(5);
    EXPECT_EQ(g.c().spider_y, 100);
    EXPECT_EQ(g.s().spider_state, 0);  // he is not under it
    g.s().prof_x = 801;
    g.tick();
    EXPECT_EQ(g.c().spider_y, -60);
}

TEST_F(Upstairs, ItStartsFromRowZeroWhenFirstMetInsideTheStretch) {
    g.s().prof_x = 600;
    g.tick();
    EXPECT_EQ(g.c().spider_y, 7);
}

TEST_F(Upstairs, CatchBoundsAndTheLostGame) {
    for (float x : {650.f, 750.f}) {
        Game h(d.dir);
        h.s().prof_y = -250;
        h.s().prof_x = x;
        h.c().spider_y = 93;
        h.tick(3);
        EXPECT_EQ(h.s().spider_state, 0) << x;
    }
    // Exactly row 80 does not catch; 87 does.
    g.s().prof_x = 700;
    g.c().spider_y = -60;
    g.tick(20);
    EXPECT_EQ(g.c().spider_y, 80);
    EXPECT_EQ(g.s().spider_state, 0);
    time_limit = 30;
    g.sounds();
    g.tick();
    EXPECT_EQ(g.s().spider_state, 1);
    EXPECT_EQ(g.s().spider_speed, -7);
    EXPECT_FALSE(g.s().game_over);  // the game ends on the next call
    g.tick();
    EXPECT_TRUE(g.s().game_over);
    EXPECT_EQ(int(time_limit), 0);
    auto log = g.platform.take_log();
    EXPECT_EQ(log.sounds, std::vector<std::string>({"snd_end:play", "snd_step:stop"}));
    EXPECT_EQ(log.music, std::vector<std::string>({""}));
    g.tick(30);  // the scene repeats; the sound does not
    EXPECT_EQ(g.c().spider_y, -60);
    EXPECT_TRUE(g.sounds().empty());
}

TEST_F(Upstairs, TheFlySendsTheSpiderAwayForGood) {
    g.s().prof_x = 600;
    g.c().spider_y = 100;
    g.s().spider_state = 2;
    g.s().drag_x = 200;
    g.s().drag_y = 150;
    g.platform.queue_random(0.55);  // r10 = 5
    g.platform.queue_random(0.45);  // r5 = 2
    g.tick();
    EXPECT_EQ(g.s().spider_speed, -4);
    EXPECT_EQ(g.c().spider_y, 100);  // the first call still moved with the old speed
    EXPECT_EQ(int(g.s().drag_x), 197);
    EXPECT_EQ(int(g.s().drag_y), 147);
    EXPECT_EQ(g.c().spider_dx, -2);
    int calls = 1;
    while (g.s().spider_state != 3 && calls < 100) g.tick(), ++calls;
    EXPECT_EQ(calls, 41);
    int before = g.c().spider_y;
    g.tick(5);
    EXPECT_EQ(g.c().spider_y, before);  // no longer called
}

TEST_F(Upstairs, WalkingBackLeftEndsTheChase) {
    g.s().prof_x = 600;
    g.c().spider_y = 50;
    g.s().spider_state = 2;
    g.tick();
    g.s().prof_x = 510;
    g.tick();
    EXPECT_EQ(g.s().spider_state, 3);
}

TEST(Railings, BandsAndTheirStrictBounds) {
    Data d(World{});
    struct Case { float x, y; int wx, wy; int width; };
    const Case cases[] = {
        {300, 100, 298, 133, 238}, {280, 100, 0, 0, 0},      {280.5f, 100, 298, 133, 238},
        {300, 0, 298, -47, 238},   {300, -200, 458, -231, 400}, {1500, -100, 1662, -108, 238},
        {1600, -300, 1664, -288, 400}, {1600, -54, 0, 0, 0}, {300, 186, 0, 0, 0}, {300, 8, 0, 0, 0},
    };
    for (const Case& c : cases) {
        Game g(d.dir);
        stand_in(g, 15, rgb(255, 128, 0));
        g.game.mutable_picture(15, 0).resize(400, 60, 0);
        g.game.mutable_picture(15, 1).resize(400, 60, rgb(255, 128, 0));
        g.s().prof_x = c.x;
        g.s().prof_y = c.y;
        g.s().scroll_x = Int16(int(c.wx ? c.wx - 10 : 0));
        g.s().scroll_y = Int16(int(c.wy ? std::max(-400, std::min(0, c.wy - 10)) : 0));
        g.tick();
        int sx = g.s().scroll_x, sy = g.s().scroll_y;
        if (c.width == 0) {
            for (int y = 0; y < 400; y += 7)
                for (int x = 0; x < 400; x += 7) ASSERT_NE(play(g, x, y), rgb(255, 128, 0)) << c.x << "," << c.y;
            continue;
        }
        EXPECT_EQ(play(g, c.wx - sx, c.wy - sy), rgb(255, 128, 0)) << c.x << "," << c.y;
        if (c.wx - sx + c.width - 1 < 400 && c.wy - sy + 59 < 400) {
            EXPECT_EQ(play(g, c.wx - sx + c.width - 1, c.wy - sy + 59), rgb(255, 128, 0)) << c.x << "," << c.y;
        }
        if (c.wx - sx + c.width < 400) {
            EXPECT_NE(play(g, c.wx - sx + c.width, c.wy - sy), rgb(255, 128, 0)) << c.x << "," << c.y;
        }
    }
}

TEST(Crumbling, FramesTenTenOneAndTheCounterOnlyWhileWalkingRight) {
    Data d(World{});
    Game g(d.dir);
    const Rgb colours[4] = {rgb(1, 1, 1), rgb(2, 2, 2), rgb(3, 3, 3), rgb(4, 4, 4)};
    for (int k = 0; k < 4; ++k) stand_in_plain(g, 38, k, colours[k], 48, 63);
    g.s().prof_x = 900;
    g.s().prof_y = -150;
    g.s().scroll_x = 800;
    g.s().scroll_y = -200;
    g.s().fall_state = 1;
    std::vector<int> seen;
    for (int i = 0; i < 21; ++i) {
        g.tick();
        Rgb c = play(g, 1004 - 800, -104 + 200);
        for (int k = 0; k < 4; ++k)
            if (c == colours[k]) seen.push_back(k);
    }
    std::vector<int> want(10, 0);
    want.insert(want.end(), 10, 1);
    want.push_back(2);
    EXPECT_EQ(seen, want);
    EXPECT_EQ(g.c().crumble_count, 0);
    g.s().fall_state = 0;
    g.tick(5);
    EXPECT_EQ(g.c().crumble_count, 0);
    g.s().fall_state = 2;
    g.s().prof_y = 150;  // out of the railings' way
    g.s().game_over = false;
    g.tick();
    EXPECT_EQ(play(g, 1004 - 800 + 10, -104 + 200 + 10), colours[3]);  // the steps are gone
    g.s().fall_state = 1;
    g.s().prof_x = 879.9f;
    g.tick(3);
    EXPECT_EQ(g.c().crumble_count, 0);
}

TEST(Storm, LightningRainPlantOnTheGameClock) {
    Data d(World{});
    Game g(d.dir);
    for (int k = 0; k < 5; ++k) stand_in_plain(g, 56, k, rgb(10 + k, 0, 0), 50, 50);
    g.s().scroll_x = 800;
    g.s().prof_x = 1100;
    g.s().prof_y = 182;
    g.s().fall_state = 5;
    g.s().vase_placed = g.s().seed_placed = g.s().cloud_placed = g.s().fork_placed = true;
    g.s().plant_stage = 1;
    std::vector<int> frames;
    auto frame = [&] {
        Rgb c = play(g, 996 - 800 + 25, 196 + 5);
        for (int k = 0; k < 5; ++k)
            if (c == rgb(10 + k, 0, 0)) return k;
        return -1;
    };
    for (int i = 0; i < 5; ++i) g.tick(), frames.push_back(frame());
    EXPECT_EQ(frames, std::vector<int>({0, 0, 1, 1, 1}));
    EXPECT_EQ(g.s().plant_stage, 2);
    auto log = g.sounds();
    EXPECT_EQ(std::count(log.begin(), log.end(), "snd_thunder:play"), 1);
    // The call that turned lightning into rain was the last lightning call;
    // the rain ends on the first call at least 3000 ms later.
    int64_t last_lightning = g.platform.clock_ms();
    int calls = 0;
    while (g.s().plant_stage == 2) {
        g.tick();
        ++calls;
        if (g.s().plant_stage == 2) {
            EXPECT_LT(g.platform.clock_ms() - last_lightning, 3000);
        }
    }
    EXPECT_EQ(g.platform.clock_ms() - last_lightning, 3000);
    // The tick that ends the rain already starts the growth.
    EXPECT_EQ(g.sounds(), std::vector<std::string>({"snd_rain:play", "snd_rain:stop", "snd_grow:play"}));
    EXPECT_EQ(g.c().grow_count, 3);
    int grow_calls = 1;
    while (g.s().plant_stage == 3) g.tick(), ++grow_calls;
    EXPECT_EQ(grow_calls, 10);
    EXPECT_EQ(g.s().fall_state, 6);
    EXPECT_TRUE(g.sounds().empty());
}

TEST(Rope, RisesInFifteenCallsAndFreesTheWell) {
    Data d(World{});
    Game g(d.dir);
    g.s().prof_x = 1450;
    g.s().prof_y = 276;
    g.s().rope_stage = 2;
    g.tick();
    EXPECT_TRUE(g.s().well_trapped);
    int calls = 1;
    while (g.s().rope_stage == 2) g.tick(), ++calls;
    EXPECT_EQ(calls, 15);
    EXPECT_FALSE(g.s().well_trapped);  // on the same call
    EXPECT_EQ(g.sounds(), std::vector<std::string>({"snd_flute:play"}));
    g.tick(5);
    EXPECT_FALSE(g.s().well_trapped);
}

TEST(Jungle, CountNeverFortyAndFramesCycle) {
    Data d(World{});
    Game g(d.dir);
    for (int k = 0; k < 3; ++k) stand_in_plain(g, 72, k, rgb(0, 0, 50 + k), 100, 100);
    g.s().jungle_stage = 1;
    g.s().scroll_x = 1800;
    g.s().scroll_y = -300;
    std::vector<int> frames;
    for (int i = 0; i < 24; ++i) {
        g.tick();
        EXPECT_NE(g.c().jungle_count, 40);
        Rgb c = play(g, 1885 - 1800 + 5, -230 + 300 + 5);
        frames.push_back(int(c & 255) - 50);
    }
    std::vector<int> first = {0, 1, 1, 2, 2, 1, 1};
    EXPECT_EQ(std::vector<int>(frames.begin(), frames.begin() + 7), first);
    for (int i = 7; i < 24; ++i) EXPECT_EQ(frames[size_t(i)], frames[size_t(i - 8 >= 7 ? i - 8 : i)]);
}

TEST(Finale, YellTuneBannerAndTheTimerStops) {
    Data d(World{});
    Game g(d.dir);
    stand_in_plain(g, 77, 0, rgb(250, 150, 0), 245, 69);
    g.s().prof_x = 1900;
    g.s().prof_y = 50;
    g.s().scroll_x = 1700;
    g.s().jungle_stage = 1;
    g.s().final_anim = true;
    time_limit = 300;
    int yell = 0, tune = 0, banner = 0;
    for (int call = 1; call <= 59; ++call) {
        g.tick();
        auto log = g.platform.take_log();
        if (has(log.sounds, "snd_tarzan:play")) yell = call;
        for (auto& m : log.music)
            if (m == "symphony.mid") tune = call;
        if (!banner && !g.game.timer_enabled()) banner = call;
        if (call == 1) {
            EXPECT_EQ(int(time_limit), 0);
        }
    }
    EXPECT_EQ(yell, 30);
    EXPECT_EQ(tune, 41);
    EXPECT_EQ(banner, 59);
    EXPECT_TRUE(g.s().game_over);
    EXPECT_FALSE(g.s().final_anim);
    EXPECT_EQ(g.s().jungle_stage, 2);
    EXPECT_EQ(g.c().swing, 420);
    EXPECT_EQ(g.game.window_picture().get(40 + 78, 40 + 166), rgb(250, 150, 0));
}

TEST(TimeOver, FirstTickPastTheLimitAndNeverAfterAnotherEnding) {
    Data d(World{});
    {
        time_limit = 0;
        Trace t = run(d.dir, "gioca 30\ntick 500\ntick\ntick\n");
        int ended_at = 0;
        for (size_t i = 1; i < t.size(); ++i)
            if (t[i]["game_over"] && !ended_at) ended_at = int(i);
        EXPECT_EQ(ended_at, 501);  // 500 x 60 ms is exactly 30 s: not more than the limit
        EXPECT_EQ(t[501]["time_limit"], 0);
        EXPECT_FALSE(t[501]["timer"]);
        EXPECT_EQ(t[501]["sounds"], nlohmann::json::array({"snd_end:play"}));
        EXPECT_FALSE(t[502]["ran"]);
    }
    {
        Game g(d.dir);  // during the finale the limit is gone
        time_limit = 1;
        g.s().final_anim = true;
        g.s().prof_x = 1900;
        g.tick(40);
        EXPECT_TRUE(g.game.timer_enabled());
    }
}

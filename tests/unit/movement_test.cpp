// Walking, steps, edges, falls, jumps and climbing on maps painted here,
// tick by tick.
#include "tests/unit/test_world.h"

using namespace testworld;

namespace {
float px(const nlohmann::json& j) { return j["prof_x"].get<float>(); }
float py(const nlohmann::json& j) { return j["prof_y"].get<float>(); }
}  // namespace

TEST(Movement, FirstRightStepProbesMapPixel4_684) {
    World w;
    w.map.set(4, 684, kMapWhite);
    Data d(w);
    Trace t = run(d.dir, "gioca\nkeydown 39\ntick\ntick\n");
    EXPECT_EQ(px(t[2]), -5);
    EXPECT_TRUE(t[2]["go_right"]);
    EXPECT_EQ(px(t[3]), -5);  // (9, 684) is not floor: he stops and the steps fall silent
    EXPECT_FALSE(t[3]["go_right"]);
    EXPECT_EQ(t[3]["sounds"], nlohmann::json::array({"snd_step:stop"}));

    World bare;
    Data d2(bare, "bare");
    Trace u = run(d2.dir, "gioca\nkeydown 39\ntick\n");
    EXPECT_EQ(px(u[2]), -10);
    EXPECT_FALSE(u[2]["go_right"]);
}

TEST(Movement, WalkingRightMovesFiveAndTheViewFollowsPastTheMiddle) {
    World w;
    w.floor(0, 1000, 168);
    Data d(w);
    Trace t = run(d.dir, "gioca\nkeydown 39\ntick 60\nkeyup 39\n");
    EXPECT_EQ(t[1]["sounds"], nlohmann::json::array({"snd_step:loop"}));
    EXPECT_EQ(t[1]["pointer"], "icon1");
    for (int k = 1; k <= 60; ++k) {
        const auto& j = t[size_t(k) + 1];
        EXPECT_EQ(px(j), -10 + 5 * k) << k;
        int expect_scroll = k <= 42 ? 0 : 5 * (k - 42);  // moves only while his screen x exceeds 200
        EXPECT_EQ(j["scroll_x"], expect_scroll) << k;
        EXPECT_EQ(j["fall_state"], 1);
        EXPECT_EQ(j["counters"]["walk_step"], k % 4);
    }
    const auto& up = t.back();
    EXPECT_FALSE(up["go_right"]);
    EXPECT_EQ(up["fall_state"], 0);
    EXPECT_EQ(up["pointer"], "arrow");
    EXPECT_EQ(up["sounds"], nlohmann::json::array({"snd_step:stop", "snd_stairs:stop"}));
}

TEST(Movement, StepsDownThenLevelFloor) {
    World w;
    w.floor(0, 99, 168);
    for (int c = 100; c < 150; ++c) w.paint(c, c, 168 + 116 + (c - 104) - 2 - 400 + 400, 168 + 116 + (c - 104) + 2, kMapLightRed);
    w.floor(150, 400, 218);
    Data d(w);
    Trace t = run(d.dir, "gioca\nkeydown 39\ntick 32\n");
    // From x 90 on, ten diagonal steps of 5 down and 5 along.
    for (int j = 0; j < 10; ++j) {
        const auto& s = t[size_t(2 + 20 + j)];
        EXPECT_EQ(px(s), 95 + 5 * j);
        EXPECT_EQ(py(s), 173 + 5 * j);
        EXPECT_TRUE(s["on_steps"]);
        EXPECT_EQ(s["scroll_y"], 0);  // the view never goes below the lowest band
    }
    EXPECT_EQ(py(t.back()), 218);
    EXPECT_FALSE(t.back()["on_steps"]);
    EXPECT_EQ(px(t.back()), 150);
}

TEST(Movement, StepsUpToTheLeftRaiseTheView) {
    World w;
    w.floor(0, 400, 168);
    // Blue under the left probe (x - 5) along a rising diagonal.
    // Only on left-walking columns (x - 5 with x a multiple of 5), so walking right never meets them.
    for (int j = 0; j < 19; ++j) w.paint(95 - 5 * j, 95 - 5 * j, 168 + 116 - 5 * j, 168 + 116 - 5 * j, kMapBlue);
    Data d(w);
    std::string s = "gioca\nkeydown 39\ntick 22\nkeyup 39\nkeydown 37\ntick 8\n";
    Trace t = run(d.dir, s);
    ASSERT_EQ(px(t[23]), 100);
    // Each step up to the left: 5 left, 5 up, and the view rises 5 while he is in the upper half.
    for (int k = 1; k <= 8; ++k) {
        const auto& j = t[size_t(25 + k)];
        EXPECT_EQ(px(j), 100 - 5 * k) << k;
        EXPECT_EQ(py(j), 168 - 5 * k) << k;
        EXPECT_EQ(j["scroll_y"], -5 * k) << k;
        EXPECT_EQ(j["facing"], 0);
    }
}

TEST(Movement, FatalFallAcceleratesAndEndsTheGameOnce) {
    World w;
    w.floor(0, 200, 168);
    w.paint(120, 200, 289, 360, kMapLightGreen);  // open air under the floor's end, down to world row 360
    Data d(w);
    Trace t = run(d.dir, "gioca\nkeydown 39\ntick 23\ntick\ntick 8\nkeydown 39\nkeydown 65\n");
    const auto& edge = t[25];
    EXPECT_EQ(px(edge), 115);  // ten pixels on the tick he steps off
    EXPECT_TRUE(edge["falling"]);
    EXPECT_FALSE(edge["go_right"]);
    EXPECT_EQ(edge["fall_state"], 2);
    EXPECT_EQ(edge["counters"]["fall_column"], 124);
    EXPECT_EQ(edge["sounds"], nlohmann::json::array({"snd_fall:play", "snd_crash:play"}));
    const int ys[] = {173, 183, 198, 218, 243};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(py(t[size_t(26 + i)]), ys[i]);
        EXPECT_EQ(t[size_t(26 + i)]["counters"]["fall_speed"], 5 * (i + 1));
    }
    const auto& land = t[31];
    EXPECT_TRUE(land["game_over"]);
    EXPECT_EQ(py(land), 182);
    EXPECT_FALSE(land["falling"]);
    // The end picture: the end sound and the music stop once, however long it lasts.
    int ends = 0, silences = 0;
    for (size_t i = 31; i < 34; ++i) {
        for (auto& s : t[i]["sounds"]) ends += s == "snd_end:play";
        for (auto& m : t[i]["music"]) silences += m == "";
    }
    EXPECT_EQ(ends, 1);
    EXPECT_EQ(silences, 1);
    EXPECT_TRUE(t[33]["counters"]["fall_end_done"]);
    EXPECT_EQ(t[33]["time_limit"], 0);
    // After the end an arrow does nothing; another key closes the game.
    EXPECT_FALSE(t[t.size() - 2].contains("ended"));
    EXPECT_FALSE(t[t.size() - 2]["go_right"]);
    EXPECT_TRUE(t.back()["ended"]);
}

TEST(Movement, JumpsRightAndLeftAndCalledOff) {
    World w;
    w.floor(0, 400, 168);
    Data d(w);
    Trace t = run(d.dir, "gioca\nkeydown 39\ntick 22\nkeyup 39\nkeydown 39 shift\ntick 9\nkeydown 37 shift\ntick 9\n");
    ASSERT_EQ(px(t[23]), 100);
    const auto& start = t[25];
    EXPECT_TRUE(start["jump_right"]);
    EXPECT_EQ(start["jump_target_x"], 190);
    EXPECT_EQ(start["sounds"], nlohmann::json::array());  // a jump makes no footsteps
    for (int k = 1; k <= 9; ++k) EXPECT_EQ(px(t[size_t(25 + k)]), 100 + 10 * k);
    EXPECT_FALSE(t[34]["jump_right"]);
    EXPECT_EQ(t[35]["jump_target_x"], 106);  // 190 - 84
    EXPECT_EQ(px(t[44]), 100);
    EXPECT_FALSE(t[44]["jump_left"]);

    World gap;
    gap.floor(0, 400, 168);
    gap.paint(190, 190, 284, 284, kMapBlack);  // the landing column is not floor
    Data d2(gap, "gap");
    Trace u = run(d2.dir, "gioca\nkeydown 39\ntick 22\nkeyup 39\nkeydown 39 shift\ntick\n");
    EXPECT_EQ(px(u.back()), 100);
    EXPECT_FALSE(u.back()["jump_right"]);
}

TEST(Movement, LeftJumpOvershootsItsTarget) {
    World w;
    w.floor(0, 400, 168);
    Data d(w);
    Trace t = run(d.dir, "gioca\nkeydown 39\ntick 22\nkeyup 39\nkeydown 37 shift\ntick 9\n");
    EXPECT_EQ(t[25]["jump_target_x"], 16);
    EXPECT_EQ(px(t.back()), 10);
    EXPECT_FALSE(t.back()["jump_left"]);
}

TEST(Movement, HeldShiftRightJumpsAgainAndAgain) {
    World w;
    w.floor(0, 600, 168);
    Data d(w);
    std::string s = "gioca\nkeydown 39 shift\n" + repeat("tick\nkeydown 39 shift", 18);
    Trace t = run(d.dir, s);
    EXPECT_EQ(t[1]["jump_target_x"], 80);
    // Repeats during the jump are refused; the first one after it starts the next.
    EXPECT_EQ(px(t[2 * 9]), 80);
    EXPECT_EQ(t[2 * 9 + 1]["jump_target_x"], 170);
    EXPECT_EQ(px(t[2 * 18]), 170);
}

TEST(Movement, PressesDuringAJumpOrFallDoNothing) {
    World w;
    w.floor(0, 600, 168);
    Data d(w);
    Trace t = run(d.dir, "gioca\nkeydown 39 shift\ntick\nkeydown 40\nkeydown 37\n");
    EXPECT_FALSE(t[3]["go_down"]);
    EXPECT_EQ(t[3]["pointer"], "icon1");
    EXPECT_EQ(t[3]["sounds"], nlohmann::json::array());
    EXPECT_FALSE(t[4]["go_left"]);
    EXPECT_EQ(t[4]["facing"], 1);
}

TEST(Movement, ClimbingUpAndDownAShelf) {
    World w;
    w.floor(0, 600, 168);
    w.shelf(100, 100, 168);
    Data d(w);
    Trace t = run(d.dir, "gioca\nkeydown 39\ntick 22\nkeyup 39\nkeydown 38\ntick 20\nkeyup 38\nkeydown 40\ntick 20\n");
    EXPECT_EQ(t[25]["facing"], 2);
    EXPECT_EQ(t[25]["sounds"], nlohmann::json::array({"snd_stairs:loop"}));
    EXPECT_EQ(py(t[26]), 164);
    // Up to the shelf's top: 17 climbing steps of 4, then the probe 111 rows below finds no shelf.
    EXPECT_EQ(py(t[42]), 100);
    EXPECT_TRUE(t[42]["go_up"]);
    EXPECT_FALSE(t[43]["go_up"]);
    EXPECT_EQ(t[43]["sounds"], nlohmann::json::array({"snd_stairs:stop"}));
    EXPECT_EQ(py(t[43]), 100);
    EXPECT_EQ(py(t[48]), 104);
    EXPECT_EQ(py(t.back()), 168);
    EXPECT_FALSE(t.back()["go_down"]);
}

TEST(Mouse, SteeringComparesWindowPointsWithScreenPosition) {
    World w;
    w.floor(0, 600, 168);
    Data d(w);
    // The professor's top-left is at (-10, 168) on the screen.
    Trace t = run(d.dir,
                  "gioca\nmousedown 91 168\nmouseup 91 168\nmousedown 90 168\nmouseup 90 168\n"
                  "mousedown 24 168\nmouseup 24 168\nmousedown 40 169\nmouseup 40 169\nmousedown 40 168\n"
                  "mouseup 40 168\nmousedown 91 441\n");
    EXPECT_TRUE(t[1]["go_right"]);
    EXPECT_FALSE(t[2]["go_right"]);
    EXPECT_TRUE(t[3]["go_up"]);  // 90 is not past sx + 100, and 168 is not below sy
    EXPECT_TRUE(t[5]["go_left"]);
    EXPECT_TRUE(t[7]["go_down"]);
    EXPECT_EQ(t[7]["pointer"], "icon4");
    EXPECT_TRUE(t[9]["go_up"]);
    EXPECT_EQ(t[9]["pointer"], "icon3");
    // A press on the bar never steers.
    for (const char* k : {"go_right", "go_left", "go_up", "go_down"}) EXPECT_FALSE(t[11][k]);
    EXPECT_EQ(t[11]["dragged_slot"], 0);
}

TEST(Keys, MusicToggleAndTheEscQuestion) {
    World w;
    Data d(w);
    Trace t = run(d.dir, "gioca\nkeypress 109\nkeypress 77\nkeypress 109\nkeypress 27\nanswer yes\nkeypress 27\n");
    EXPECT_FALSE(t[1]["music_on"]);
    EXPECT_EQ(t[1]["music"], nlohmann::json::array({""}));
    EXPECT_FALSE(t[2]["music_on"]);  // 'M' is not 'm'
    EXPECT_EQ(t[2]["music"], nlohmann::json::array());
    EXPECT_TRUE(t[3]["music_on"]);
    EXPECT_EQ(t[3]["music"], nlohmann::json::array({"intro3.mid"}));
    const auto& no = t[4];
    ASSERT_EQ(no["boxes"].size(), 1u);
    EXPECT_EQ(no["boxes"][0]["title"], "Uscita dal gioco");
    EXPECT_EQ(no["boxes"][0]["text"], "Si desidera terminare la partita in corso?");
    EXPECT_EQ(no["boxes"][0]["answer"], "no");  // the default
    EXPECT_FALSE(no["game_over"]);
    EXPECT_FALSE(no.contains("ended"));
    EXPECT_TRUE(t[5]["ended"]);
    EXPECT_TRUE(t[5]["game_over"]);
    EXPECT_EQ(t[5]["music"], nlohmann::json::array({""}));  // the unload step silences the tune
}

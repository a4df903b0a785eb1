// SPDX-License-Identifier: GPL-3.0-or-later
// The inventory, the drop rules with their bounds, and the bar's press zones.
#include "tests/unit/test_world.h"

using namespace testworld;

namespace {
struct Drop {
    const char* item;
    std::function<void(GameState&)> setup;
    int x, y;  // window point of the release
    bool used;
};

class DropRules : public ::testing::Test {
protected:
    static void SetUpTestSuite() { data = new Data(World{}, "drops"); }  // one folder for the whole suite
    static void TearDownTestSuite() { delete data; }
    static Data* data;

    void check(const std::vector<Drop>& cases) {
        for (const Drop& d : cases) {
            Game g(data->dir);
            d.setup(g.s());
            g.carry({d.item});
            g.drag(50, d.x, d.y);
            auto snd = g.sounds();
            EXPECT_EQ(g.s().inventory_last == -1, d.used) << d.item << " at " << d.x << "," << d.y;
            EXPECT_EQ(has(snd, "snd_noway:play"), !d.used) << d.item << " at " << d.x << "," << d.y;
            EXPECT_EQ(g.s().dragged_slot, -1);
            EXPECT_FALSE(g.game.cursor_hidden());
        }
    }
};
Data* DropRules::data = nullptr;

auto view(int sx, int sy, std::function<void(GameState&)> more = {}) {
    return [=](GameState& s) {
        s.scroll_x = sx;
        s.scroll_y = sy;
        if (more) more(s);
    };
}
}  // namespace

TEST_F(DropRules, PotSeedCloudForkAtTheFootOfTheTunnel) {
    // View at (800, 0): A = x + 760, C = y - 40.
    auto room = view(800, 0, [](GameState& s) { s.fall_state = 5; });
    auto potted = view(800, 0, [](GameState& s) { s.fall_state = 5; s.vase_placed = true; });
    check({
        {"vaso", room, 229, 450, false}, {"vaso", room, 230, 450, true}, {"vaso", room, 299, 450, true},
        {"vaso", room, 300, 450, false}, {"vaso", room, 250, 420, false}, {"vaso", room, 250, 421, true},
        {"vaso", room, 250, 479, true}, {"vaso", room, 250, 480, false},
        {"vaso", view(800, 0, [](GameState& s) { s.fall_state = 4; }), 250, 450, false},
        {"seme", room, 250, 450, false}, {"seme", potted, 250, 421, true}, {"seme", potted, 250, 420, false},
        {"nuvola", potted, 250, 301, true}, {"nuvola", potted, 250, 300, false}, {"nuvola", potted, 299, 479, true},
        {"forchetta", potted, 250, 341, true}, {"forchetta", potted, 250, 340, false},
        {"forchetta", potted, 300, 400, false},
    });
}

TEST_F(DropRules, UmbrellaNearTheProfessorPastTheSteps) {
    // prof_x 900 and A = x + 760: accepted for 840 <= A <= 920.
    auto at = [](float x) { return view(800, -100, [x](GameState& s) { s.prof_x = x; }); };
    check({
        {"ombrello", at(900), 79, 300, false}, {"ombrello", at(900), 80, 300, true},
        {"ombrello", at(900), 160, 20, true},  {"ombrello", at(900), 161, 300, false},
        {"ombrello", at(880), 120, 300, false}, {"ombrello", at(881), 120, 300, true},
    });
}

TEST_F(DropRules, FlyRopeFluteBookCostume) {
    auto upstairs = view(500, -300);  // A = x + 460, B = y - 340
    auto well = view(1200, 0);        // A = x + 1160, B = y - 40
    auto roped = view(1200, 0, [](GameState& s) { s.rope_stage = 1; });
    auto chasm = view(1500, -100);    // A = x + 1460, B = y - 140
    auto jungle = [](float x, float y) {
        return view(1500, -100, [=](GameState& s) { s.jungle_stage = 1; s.prof_x = x; s.prof_y = y; });
    };
    check({
        {"mosca", upstairs, 200, 79, true},   {"mosca", upstairs, 200, 80, false}, {"mosca", upstairs, 140, 50, false},
        {"mosca", upstairs, 141, 50, true},   {"mosca", upstairs, 289, 50, true},  {"mosca", upstairs, 290, 50, false},
        {"corda", well, 141, 371, true},      {"corda", well, 140, 371, false},    {"corda", well, 339, 371, true},
        {"corda", well, 340, 371, false},     {"corda", well, 200, 370, false},
        {"flauto", well, 200, 400, false},    {"flauto", roped, 200, 321, true},   {"flauto", roped, 200, 320, false},
        {"libro", chasm, 421, 300, true},     {"libro", chasm, 420, 300, false},
        {"libro", view(1500, -400), 450, 91, true}, {"libro", view(1500, -400), 450, 90, false},
        {"tarzan", jungle(1860, 0), 10, 10, true},  {"tarzan", jungle(1859, 0), 10, 10, false},
        {"tarzan", jungle(1860, -5), 10, 10, false}, {"tarzan", view(1500, -100, [](GameState& s) { s.prof_x = 1900; }), 10, 10, false},
    });
}

TEST(Inventory, PressZonesSitFortyPixelsLeftOfTheSlots) {
    Data d(World{});
    Game g(d.dir);
    g.carry({"mosca", "vaso", "ombrello"});
    g.game.Form_MouseDown(1, 0, 180, 470);
    EXPECT_EQ(g.s().dragged_slot, 1);
    EXPECT_EQ(g.s().dragged_item, "vaso");
    EXPECT_TRUE(g.game.cursor_hidden());
    g.game.Form_MouseUp(1, 0, 180, 470);
    EXPECT_EQ(g.s().inventory[1], "vaso");  // not its place: back in the bar
    EXPECT_FALSE(g.game.cursor_hidden());
    g.game.Form_MouseDown(1, 0, 210, 470);
    EXPECT_EQ(g.s().dragged_item, "ombrello");
}

TEST(Inventory, UsingAnObjectClosesTheGap) {
    Data d(World{});
    Game g(d.dir);
    g.s().scroll_x = 500;
    g.s().scroll_y = -300;
    g.carry({"mosca", "vaso", "ombrello"});
    g.drag(10, 200, 50);
    EXPECT_EQ(g.s().spider_state, 2);
    EXPECT_EQ(g.sounds(), std::vector<std::string>({"snd_fly:play"}));
    EXPECT_EQ(g.s().inventory_last, 1);
    EXPECT_EQ(g.s().inventory[0], "vaso");
    EXPECT_EQ(g.s().inventory[1], "ombrello");
    EXPECT_EQ(g.s().inventory[2], "");
    // The release keeps the drop point: the fly's chase starts from there.
    EXPECT_EQ(int(g.s().drag_x), 200);
    EXPECT_EQ(int(g.s().drag_y), 50);
}

TEST(Inventory, EmptySlotPressIsSilentAndKeepsTheCursorBalanced) {
    Data d(World{});
    Game g(d.dir);
    g.carry({"vaso"});
    g.game.Form_MouseDown(1, 0, 350, 470);
    EXPECT_EQ(g.s().dragged_slot, 3);
    EXPECT_EQ(g.s().dragged_item, "");
    EXPECT_FALSE(g.game.cursor_hidden());
    g.game.Form_MouseUp(1, 0, 350, 470);
    EXPECT_TRUE(g.sounds().empty());
    EXPECT_FALSE(g.game.cursor_hidden());
    // The next real drag hides the cursor and gives it back once.
    g.game.Form_MouseDown(1, 0, 20, 470);
    EXPECT_TRUE(g.game.cursor_hidden());
    g.game.Form_MouseUp(1, 0, 20, 470);
    EXPECT_FALSE(g.game.cursor_hidden());
}

TEST(Inventory, TheStormStartsOnTheDropThatCompletesTheFour) {
    Data d(World{});
    for (auto order : {std::vector<const char*>{"seme", "nuvola", "forchetta"},
                       std::vector<const char*>{"forchetta", "seme", "nuvola"}}) {
        Game g(d.dir);
        g.s().scroll_x = 800;
        g.s().fall_state = 5;
        g.carry({"vaso", order[0], order[1], order[2]});
        g.drag(10, 250, 450);
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(g.s().plant_stage, 0);
            g.drag(10, 250, 450);
        }
        EXPECT_EQ(g.s().plant_stage, 1);
        EXPECT_EQ(g.s().inventory_last, -1);
    }
}

TEST(Inventory, ASixthObjectIsNotTaken) {
    Data d(World{});
    Game g(d.dir);
    g.carry({"mosca", "vaso", "ombrello", "seme", "nuvola"});
    g.s().book_state[9] = 2;
    g.game.Form_Click();  // the timer is on: nothing is open, nothing to open
    g.game.mutable_state().book_state[9] = 1;
    g.game.Form_Click();  // opens book 9
    EXPECT_FALSE(g.game.timer_enabled());
    g.game.Form_Click();  // closes it: the fork finds no room
    EXPECT_TRUE(g.game.timer_enabled());
    EXPECT_EQ(g.s().book_state[9], 3);
    EXPECT_EQ(g.s().inventory_last, 4);
    EXPECT_EQ(g.s().inventory[4], "nuvola");
    g.tick();  // and the bar still draws
}

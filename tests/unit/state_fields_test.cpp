// SPDX-License-Identifier: GPL-3.0-or-later
// The state's one field list: after the load step every field and every
// counter holds its documented starting value.
#include <map>
#include <set>
#include <sstream>
#include <type_traits>

#include "game/state_fields.h"
#include "tests/unit/test_world.h"

using namespace testworld;

namespace {
template <class T> std::string text(const T& v) {
    if constexpr (std::is_same_v<T, bool>) {
        return v ? "true" : "false";
    } else if constexpr (std::is_same_v<T, std::string>) {
        return v;
    } else if constexpr (std::is_same_v<T, std::array<std::string, 5>>) {
        std::string all;
        for (const std::string& slot : v) all += slot + "|";
        return all;
    } else {
        std::ostringstream out;
        out << +v;  // Int16 and the clock as whole numbers, the Singles as they print
        return out.str();
    }
}
}  // namespace

TEST(StartingValues, EveryFieldAndCounterStartsAtItsDocumentedValueAfterLoad) {
    // The starting values of the load step; every field not named here
    // starts at zero, false or empty, and so does every counter.
    const std::map<std::string, std::string> documented = {
        {"prof_x", "-10"},           {"prof_y", "168"},          {"facing", "1"},
        {"walk_sequence", "0102"},   {"tarzan_sequence", "0121"}, {"spider_speed", "7"},
        {"dragged_slot", "-1"},      {"inventory_last", "-1"},   {"music_on", "true"},
        {"start_time", "1234"},  // the game clock when the load step reads it
    };
    Data d(World{});
    HeadlessPlatform platform(d.dir);
    time_limit = 0;
    GameWindow game(platform);
    platform.advance_clock(1234);
    game.run_handler([&] { game.Form_Load(); });
    ASSERT_TRUE(platform.take_log().boxes.empty());

    std::set<std::string> seen;
    auto check = [&](const char* name, const auto& field, InTrace) {
        using T = std::decay_t<decltype(field)>;
        EXPECT_TRUE(seen.insert(name).second) << name << " is visited twice";
        auto it = documented.find(name);
        EXPECT_EQ(text(field), it != documented.end() ? it->second : text(T{})) << name;
    };
    visit_state_fields(game.state(), check);
    visit_counters(game.counters(), check);
    for (const auto& [name, value] : documented) EXPECT_TRUE(seen.count(name)) << name << " is no field";
    EXPECT_TRUE(seen.count("book13_state"));
    EXPECT_TRUE(seen.count("storm_time"));
}

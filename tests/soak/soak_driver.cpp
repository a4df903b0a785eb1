// SPDX-License-Identifier: GPL-3.0-or-later
// lexovo_soak --ticks N [--seed S] [--data DIR] [--script FILE]
//
// Random player input for N ticks on the game logic, built with
// AddressSanitizer and UndefinedBehaviorSanitizer. Each game starts by
// playing the walkthrough up to a random line (so every stage of the story
// gets its share), then the player goes wild: arrows with and without
// Shift, 'm', Esc answered No, mouse moves, clicks, double clicks, drags
// from the bar, ticks. After every tick and every handler the state must
// hold together:
//   - the inventory is packed: slots 0 … inventory_last hold names, every
//     slot above holds "", and inventory_last is -1 … 4;
//   - scroll_x >= 0 and 400 - background height <= scroll_y <= 0;
//   - walk_step is 0 … 3;
//   - the cursor is hidden exactly while an object is held;
//   - every 16-bit field and counter of the state's one field list stays
//     within its documented values (each has its rule below; a field
//     without one stops the soak before it starts), the slots and the
//     held object hold an object's name or nothing, and the two frame
//     sequences keep their values.
// A lost game is closed by the next key or click and a new one starts.
// Prints what it did; exits 1 on the first broken rule (sanitizers abort on
// their own).
#include <unistd.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "game/game_window.h"
#include "game/state_fields.h"
#include "items/item_sprites.h"
#include "platform/headless_platform.h"
#include "tools/replay/replay_script.h"
#include "tools/replay/script_input.h"

namespace {

constexpr int kLeft = 37, kUp = 38, kRight = 39, kDown = 40;

// The values each 16-bit field and counter may take. Coordinates and the
// counters that only grow with the time spent are free.
struct Range {
    int lo, hi;
};
constexpr Range kFree{-32768, 32767};
const std::map<std::string_view, Range, std::less<>> kRanges = {
    {"scroll_x", kFree}, {"scroll_y", kFree},  // their own rule, below
    {"facing", {0, 2}}, {"jump_target_x", kFree}, {"fall_state", {0, 6}},
    {"spider_speed", {-7, 7}}, {"spider_state", {0, 3}},
    {"plant_stage", {0, 4}}, {"rope_stage", {0, 3}}, {"jungle_stage", {0, 2}},
    {"book1_state", {-1, 3}}, {"book2_state", {-1, 3}}, {"book3_state", {-1, 3}}, {"book4_state", {-1, 3}},
    {"book5_state", {-1, 3}}, {"book6_state", {-1, 3}}, {"book7_state", {-1, 3}}, {"book8_state", {-1, 3}},
    {"book9_state", {-1, 3}}, {"book10_state", {-1, 3}}, {"book11_state", {-1, 3}}, {"book12_state", {-1, 3}},
    {"book13_state", {-1, 3}},
    {"inventory_last", {-1, 4}}, {"dragged_slot", {-1, 4}}, {"drag_x", kFree}, {"drag_y", kFree},
    // counters
    {"walk_step", {0, 3}}, {"fall_speed", kFree}, {"fall_column", kFree},
    {"spider_y", {-60, 100}}, {"spider_step", {0, 3}}, {"spider_dx", kFree},
    {"crumble_count", {0, 20}}, {"storm_count", {0, 40}}, {"grow_count", {0, 29}}, {"rope_count", {0, 29}},
    {"jungle_count", {0, 39}}, {"finale_count", kFree}, {"finale_frame", {0, 2}}, {"vine_drop", {0, 150}},
    {"swing", {0, 420}},
};

// Every 16-bit field and counter has its rule, and every rule its field.
bool every_field_has_a_rule(std::string& missing) {
    GameState s;
    ProcedureCounters c;
    std::map<std::string_view, bool, std::less<>> ruled;
    for (const auto& [name, range] : kRanges) ruled[name] = false;
    auto mark = [&](const char* name, const auto& field, InTrace) {
        if constexpr (std::is_same_v<std::decay_t<decltype(field)>, Int16>) {
            auto it = ruled.find(std::string_view(name));
            if (it == ruled.end()) missing += std::string(" ") + name;
            else it->second = true;
        }
    };
    visit_state_fields(s, mark);
    visit_counters(c, mark);
    for (const auto& [name, seen] : ruled)
        if (!seen) missing += " (rule for no field: " + std::string(name) + ")";
    return missing.empty();
}

std::string folder_of_executable() {
    char buf[PATH_MAX];
    ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
    std::string p = n > 0 ? std::string(buf, size_t(n)) : ".";
    size_t slash = p.rfind('/');
    return slash == std::string::npos ? "." : p.substr(0, slash);
}

struct Totals {
    long long ticks = 0, ticks_run = 0, events = 0, games = 0, closed = 0, won = 0, lost = 0;
    std::map<std::string, long long> boxes;  // "LABEL n" or box title
};

class Soak {
public:
    Soak(std::string data, const std::vector<ScriptCommand>& script, uint64_t seed)
        : data_(std::move(data)), script_(script), seed_(seed), rng_(seed) {}

    void run(long long ticks) {
        while (t_.ticks < ticks) one_game(ticks);
    }
    const Totals& totals() const { return t_; }

private:
    int uniform(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng_); }
    bool chance(double p) { return std::bernoulli_distribution(p)(rng_); }

    void fail(const std::string& what) {
        const GameState& s = game_->state();
        std::fprintf(stderr,
                     "soak: seed %llu, broken after tick %lld (game %lld, last event %s): %s\n"
                     "  prof (%g, %g) scroll (%d, %d) inventory_last %d [%s|%s|%s|%s|%s] dragged_slot %d "
                     "dragged_item '%s' walk_step %d cursor_hidden %d\n",
                     static_cast<unsigned long long>(seed_), t_.ticks, t_.games, last_.c_str(), what.c_str(), double(s.prof_x), double(s.prof_y),
                     int(s.scroll_x), int(s.scroll_y), int(s.inventory_last), s.inventory[0].c_str(),
                     s.inventory[1].c_str(), s.inventory[2].c_str(), s.inventory[3].c_str(), s.inventory[4].c_str(),
                     int(s.dragged_slot), s.dragged_item.c_str(), int(game_->counters().walk_step),
                     int(game_->cursor_hidden()));
        std::exit(1);
    }

    void check() {
        const GameState& s = game_->state();
        const int last = s.inventory_last;
        if (last < -1 || last > 4) fail("inventory_last out of -1 … 4");
        for (int i = 0; i < 5; ++i) {
            if (i <= last && s.inventory[size_t(i)].empty()) fail("empty slot " + std::to_string(i) + " at or below inventory_last");
            if (i > last && !s.inventory[size_t(i)].empty()) fail("filled slot " + std::to_string(i) + " above inventory_last");
        }
        if (s.scroll_x < 0) fail("scroll_x below 0");
        const int low = std::min(0, 400 - game_->picture(5).height());
        if (s.scroll_y < low || s.scroll_y > 0) fail("scroll_y out of its range");
        const int ws = game_->counters().walk_step;
        if (ws < 0 || ws > 3) fail("walk_step out of 0 … 3");
        const bool held = s.dragged_slot != -1 && !s.dragged_item.empty();
        if (game_->cursor_hidden() != held) fail("cursor hidden without a held object, or shown with one");
        auto in_range = [&](const char* name, const auto& field, InTrace) {
            using T = std::decay_t<decltype(field)>;
            if constexpr (std::is_same_v<T, Int16>) {
                const Range r = kRanges.find(std::string_view(name))->second;
                if (field < r.lo || field > r.hi) fail(std::string(name) + " = " + std::to_string(int(field)) + " out of its values");
            } else if constexpr (std::is_same_v<T, std::string>) {
                if (std::string_view(name) == "walk_sequence" ? field != "0102"
                    : std::string_view(name) == "tarzan_sequence" ? field != "0121"
                    : !field.empty() && !find_item_sprite(field))
                    fail(std::string(name) + " = '" + field + "'");
            } else if constexpr (std::is_same_v<T, std::array<std::string, 5>>) {
                for (const std::string& item : field)
                    if (!item.empty() && !find_item_sprite(item)) fail(std::string(name) + " holds '" + item + "'");
            }
        };
        visit_state_fields(s, in_range);
        visit_counters(game_->counters(), in_range);
    }

    void harvest() {
        for (const BoxRecord& b : platform_->take_log().boxes) {
            std::string key = b.title;
            size_t at = b.text.find("errore n. ");
            if (at != std::string::npos) {
                size_t q = b.text.find('\'', at), q2 = b.text.find('\'', q + 1);
                key = b.text.substr(q + 1, q2 - q - 1) + " " + b.text.substr(at + 10, b.text.find(' ', at + 10) - at - 10);
            }
            t_.boxes[key]++;
        }
    }

    // One handler or tick (or a few in a row, as one event), through the
    // game window's event boundary; false once the program has ended.
    template <class F> bool event(const char* what, F&& f) {
        last_ = what;
        ++t_.events;
        try {
            game_->run_handler(f);
        } catch (const ProgramEnded&) {
            harvest();
            ++t_.closed;
            return false;
        }
        harvest();
        check();
        return true;
    }

    bool tick() {
        ++t_.ticks;
        platform_->advance_clock(60);
        if (!game_->timer_enabled()) return true;
        ++t_.ticks_run;
        return event("tick", [&] { game_->Timer1_Timer(); });
    }

    bool replay(const ScriptCommand& c) {
        if (c.cmd == "tick") {
            for (long i = 0; i < c.ints[0]; ++i)
                if (!tick()) return false;
            return true;
        }
        if (c.cmd == "wait") { platform_->advance_clock(int64_t(c.value)); return true; }
        if (c.cmd == "random") { platform_->queue_random(c.value); return true; }
        if (c.cmd == "answer") return true;  // the walkthrough answers nothing
        return event(c.cmd.c_str(), [&] { call_input_handler(*game_, c); });
    }

    // One random thing the player does.
    bool wild() {
        const int arrow = kLeft + uniform(0, 3);
        switch (uniform(0, 19)) {
        case 0: case 1: case 2: case 3: case 4: case 5: {
            int n = uniform(1, 12);
            for (int i = 0; i < n; ++i)
                if (!tick()) return false;
            return true;
        }
        case 6: case 7:
            return event("keydown", [&] { game_->Form_KeyDown(arrow, chance(0.3) ? 1 : 0); });
        case 8: case 9:
            return event("keyup", [&] { game_->Form_KeyUp(arrow, 0); });
        case 10:
            return event("keypress m", [&] { game_->Form_KeyPress(109); });
        case 11:
            platform_->queue_answer(Answer::No);
            return event("Esc", [&] {
                game_->Form_KeyDown(27, 0);
                game_->Form_KeyPress(27);
                game_->Form_KeyUp(27, 0);
            });
        case 12: case 13: case 14:
            return event("mousemove", [&] { game_->Form_MouseMove(0, 0, float(uniform(-40, 520)), float(uniform(-40, 580))); });
        case 15:  // a press and release on the play area: steering, and a click
            return event("click", [&] {
                float x = float(uniform(0, 479)), y = float(uniform(0, 440));
                game_->Form_MouseDown(1, chance(0.2) ? 1 : 0, x, y);
                game_->Form_MouseUp(1, 0, x, y);
                game_->Form_Click();
            });
        case 16: case 17: {  // a drag from the bar, with ticks while it is held
            float x = float(uniform(0, 479)), y = float(uniform(441, 539));
            if (!event("mousedown bar", [&] { game_->Form_MouseDown(1, 0, x, y); })) return false;
            for (int k = uniform(1, 4); k > 0; --k) {
                float mx = float(uniform(-60, 540)), my = float(uniform(-60, 600));
                if (!event("drag", [&] { game_->Form_MouseMove(1, 0, mx, my); })) return false;
                if (chance(0.5) && !tick()) return false;
            }
            return event("mouseup", [&] {
                game_->Form_MouseUp(1, 0, 0, 0);
                if (chance(0.5)) game_->Form_Click();
            });
        }
        case 18:
            return event("dblclick", [&] { game_->Form_DblClick(); });
        default:
            return event("keypress", [&] { game_->Form_KeyPress(uniform(32, 126)); });
        }
    }

    void one_game(long long ticks) {
        ++t_.games;
        platform_ = std::make_unique<HeadlessPlatform>(data_);
        time_limit = chance(0.1) ? 30 : 0;
        game_ = std::make_unique<GameWindow>(*platform_);
        if (!event("load", [&] { game_->Form_Load(); })) return;

        // The walkthrough up to a random line, then the player's own ideas.
        size_t upto = script_.empty() ? 0 : size_t(uniform(0, int(script_.size())));
        for (size_t i = 0; i < upto; ++i) {
            if (script_[i].cmd == "gioca" || script_[i].cmd == "esci") continue;
            if (!replay(script_[i])) return;
        }
        bool was_over = false;
        const long long until = t_.ticks + uniform(500, 4000);
        while (t_.ticks < until && t_.ticks < ticks) {
            const GameState& s = game_->state();
            if (s.game_over && !was_over) {
                was_over = true;
                if (s.jungle_stage == 2) ++t_.won;
                else ++t_.lost;
            }
            if (!wild()) return;
        }
    }

    std::string data_;
    const std::vector<ScriptCommand>& script_;
    uint64_t seed_;
    std::mt19937_64 rng_;
    std::unique_ptr<HeadlessPlatform> platform_;
    std::unique_ptr<GameWindow> game_;
    std::string last_ = "none";
    Totals t_;
};

}  // namespace

int main(int argc, char** argv) {
    long long ticks = 100000;
    uint64_t seed = 1;
    std::string data = folder_of_executable(), script_path;
#ifdef LEXOVO_WALKTHROUGH
    script_path = LEXOVO_WALKTHROUGH;
#endif
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        if (a == "--ticks" && i + 1 < argc) ticks = std::atoll(argv[++i]);
        else if (a == "--seed" && i + 1 < argc) seed = std::strtoull(argv[++i], nullptr, 10);
        else if (a == "--data" && i + 1 < argc) data = argv[++i];
        else if (a == "--script" && i + 1 < argc) script_path = argv[++i];
        else {
            std::fprintf(stderr, "usage: lexovo_soak --ticks N [--seed S] [--data DIR] [--script FILE]\n");
            return 2;
        }
    }
    std::vector<ScriptCommand> script;
    if (!script_path.empty()) {
        std::ifstream in(script_path, std::ios::binary);
        std::stringstream src;
        src << in.rdbuf();
        ScriptError err;
        if (!in || !parse_script(src.str(), script, err)) {
            std::fprintf(stderr, "soak: cannot use %s; random input only\n", script_path.c_str());
            script.clear();
        }
    }
    std::string missing;
    if (!every_field_has_a_rule(missing)) {
        std::fprintf(stderr, "soak: no rule for these 16-bit fields:%s\n", missing.c_str());
        return 1;
    }
    Soak soak(data, script, seed);
    soak.run(ticks);
    const Totals& t = soak.totals();
    std::printf("soak: seed %llu, %lld ticks (%lld ran, the others with a page open or the timer stopped), %lld events, "
                "%lld games (%lld closed, %lld won, %lld lost)\n",
                static_cast<unsigned long long>(seed), t.ticks, t.ticks_run, t.events, t.games, t.closed, t.won, t.lost);
    for (const auto& [what, n] : t.boxes) std::printf("soak: box %s x%lld\n", what.c_str(), n);
    std::printf("soak: every rule held\n");
    return 0;
}

#include "tools/replay/trace_writer.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <nlohmann/json.hpp>

namespace {

using ojson = nlohmann::ordered_json;

const char* pointer_name(Pointer p) {
    switch (p) {
    case Pointer::Arrow: return "arrow";
    case Pointer::Icon1: return "icon1";
    case Pointer::Icon2: return "icon2";
    case Pointer::Icon3: return "icon3";
    case Pointer::Icon4: return "icon4";
    }
    return "arrow";
}

}  // namespace

// Written without std::to_chars, which not every standard library has for
// float, and giving the same text: the fewest significant digits that
// strtof reads back (the nearest such number where two would do), in plain
// or exponent form, whichever is shorter (plain on a tie).
std::string single_text(float v) {
    if (std::isnan(v)) return std::signbit(v) ? "-nan" : "nan";
    if (std::isinf(v)) return v < 0 ? "-inf" : "inf";
    if (v == 0) return std::signbit(v) ? "-0" : "0";
    long long mant = 0;  // the digits, as a whole number
    int exp10 = 0;       // of the first digit
    int n = 0;           // how many digits
    for (int p = 1; p <= 9 && !n; ++p) {
        char sci[32];
        std::snprintf(sci, sizeof sci, "%.*e", p - 1, double(std::fabs(v)));
        std::string s = sci, d;
        size_t e = s.find('e');
        for (size_t k = 0; k < e; ++k)
            if (s[k] != '.') d += s[k];
        long long rounded = std::atoll(d.c_str());
        int first = std::atoi(s.c_str() + e + 1);
        // The correctly rounded digits (printf rounds an exact tie to the
        // even) are the nearest; where they do not read back, a neighbour
        // of theirs may, when a power of two makes the float's interval
        // lopsided.
        for (long long m : {rounded, rounded - 1, rounded + 1}) {
            if (m < 1) continue;
            std::snprintf(sci, sizeof sci, "%llde%d", m, first - (p - 1));
            if (std::strtof(sci, nullptr) != std::fabs(v)) continue;
            mant = m;
            n = p;
            break;
        }
        exp10 = first;
    }
    std::string digits = std::to_string(mant), sign = v < 0 ? "-" : "";
    if (int(digits.size()) != n) {  // a neighbour with one digit more or fewer: 9.99 -> 10.0
        exp10 += int(digits.size()) - n;
        n = int(digits.size());
    }
    while (n > 1 && digits.back() == '0') {
        digits.pop_back();
        --n;
    }
    char tail[16];
    std::snprintf(tail, sizeof tail, "e%c%02d", exp10 < 0 ? '-' : '+', std::abs(exp10));
    std::string sci = sign + digits.substr(0, 1) + (n > 1 ? "." + digits.substr(1) : "") + tail;
    std::string plain;
    if (exp10 >= n - 1) {
        // A whole number: as long as the digits padded with zeros, and the
        // exact value is the nearer text of that length.
        char whole[64];
        std::snprintf(whole, sizeof whole, "%.0f", double(v));
        plain = whole;
    } else {
        plain = sign + (exp10 >= 0 ? digits.substr(0, size_t(exp10) + 1) + "." + digits.substr(size_t(exp10) + 1)
                                   : "0." + std::string(size_t(-exp10 - 1), '0') + digits);
    }
    return plain.size() <= sci.size() ? plain : sci;
}

std::string trace_line(int line, const std::string& cmd, const bool* ran, bool ended, const GameWindow& game,
                       const HeadlessPlatform::Log& log) {
    const GameState& s = game.state();
    const ProcedureCounters& c = game.counters();
    ojson j;
    j["line"] = line;
    j["cmd"] = cmd;
    if (ran) j["ran"] = *ran;
    if (ended) j["ended"] = true;
    j["prof_x"] = "\x01X";  // filled in as raw numbers below
    j["prof_y"] = "\x01Y";
    j["scroll_x"] = int(s.scroll_x);
    j["scroll_y"] = int(s.scroll_y);
    j["facing"] = int(s.facing);
    j["go_right"] = s.go_right;
    j["go_left"] = s.go_left;
    j["go_up"] = s.go_up;
    j["go_down"] = s.go_down;
    j["jump_right"] = s.jump_right;
    j["jump_left"] = s.jump_left;
    j["jump_target_x"] = int(s.jump_target_x);
    j["falling"] = s.falling;
    j["on_steps"] = s.on_steps;
    j["fall_state"] = int(s.fall_state);
    j["well_trapped"] = s.well_trapped;
    j["game_over"] = s.game_over;
    j["final_anim"] = s.final_anim;
    j["spider_speed"] = int(s.spider_speed);
    j["spider_state"] = int(s.spider_state);
    j["vase_placed"] = s.vase_placed;
    j["seed_placed"] = s.seed_placed;
    j["cloud_placed"] = s.cloud_placed;
    j["fork_placed"] = s.fork_placed;
    j["plant_stage"] = int(s.plant_stage);
    j["rope_stage"] = int(s.rope_stage);
    j["jungle_stage"] = int(s.jungle_stage);
    for (int b = 1; b <= 13; ++b) j["book" + std::to_string(b) + "_state"] = int(s.book_state[size_t(b)]);
    j["inventory"] = ojson::array();
    for (const auto& it : s.inventory) j["inventory"].push_back(it);
    j["inventory_last"] = int(s.inventory_last);
    j["dragged_slot"] = int(s.dragged_slot);
    j["dragged_item"] = s.dragged_item;
    j["drag_x"] = int(s.drag_x);
    j["drag_y"] = int(s.drag_y);
    j["music_on"] = s.music_on;
    j["time_limit"] = int(time_limit);
    j["timer"] = game.timer_enabled();
    j["pointer"] = pointer_name(game.pointer());
    j["cursor_hidden"] = game.cursor_hidden();
    ojson& k = j["counters"];
    k["walk_step"] = int(c.walk_step);
    k["fall_end_done"] = c.fall_end_done;
    k["fall_speed"] = int(c.fall_speed);
    k["fall_column"] = int(c.fall_column);
    k["spider_y"] = int(c.spider_y);
    k["spider_step"] = int(c.spider_step);
    k["spider_dx"] = int(c.spider_dx);
    k["spider_end_done"] = c.spider_end_done;
    k["crumble_count"] = int(c.crumble_count);
    k["storm_count"] = int(c.storm_count);
    k["grow_count"] = int(c.grow_count);
    k["rope_count"] = int(c.rope_count);
    k["jungle_count"] = int(c.jungle_count);
    k["finale_count"] = int(c.finale_count);
    k["finale_frame"] = int(c.finale_frame);
    k["vine_drop"] = int(c.vine_drop);
    k["swing"] = int(c.swing);
    j["sounds"] = log.sounds;
    j["music"] = log.music;
    j["boxes"] = ojson::array();
    for (const BoxRecord& b : log.boxes) {
        ojson box;
        box["title"] = b.title;
        box["text"] = b.text;
        box["answer"] = b.answer;
        j["boxes"].push_back(box);
    }
    std::string out = j.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
    auto fill = [&](const char* marker, float v) {
        std::string m = std::string("\"\\u0001") + marker + "\"";
        size_t at = out.find(m);
        if (at != std::string::npos) out.replace(at, m.size(), single_text(v));
    };
    fill("X", s.prof_x);
    fill("Y", s.prof_y);
    return out;
}

// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/replay/trace_writer.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <nlohmann/json.hpp>
#include <type_traits>
#include <utility>
#include <vector>

#include "game/state_fields.h"

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
    // Single-precision fields go in as markers and come out as raw numbers.
    std::vector<std::pair<std::string, float>> singles;
    auto put = [&](ojson& obj, const char* name, const auto& field, InTrace in_trace) {
        using T = std::decay_t<decltype(field)>;
        if (in_trace == InTrace::No) return;
        if constexpr (std::is_same_v<T, float>) {
            singles.emplace_back(std::string("\x01") + name, field);
            obj[name] = singles.back().first;
        } else if constexpr (std::is_same_v<T, Int16>) {
            obj[name] = int(field);
        } else {
            obj[name] = field;
        }
    };
    ojson j;
    j["line"] = line;
    j["cmd"] = cmd;
    if (ran) j["ran"] = *ran;
    if (ended) j["ended"] = true;
    visit_state_fields(game.state(), [&](const char* name, const auto& f, InTrace t) { put(j, name, f, t); });
    j["time_limit"] = int(time_limit);
    j["timer"] = game.timer_enabled();
    j["pointer"] = pointer_name(game.pointer());
    j["cursor_hidden"] = game.cursor_hidden();
    ojson& k = j["counters"];
    visit_counters(game.counters(), [&](const char* name, const auto& f, InTrace t) { put(k, name, f, t); });
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
    for (const auto& [marker, v] : singles) {
        std::string quoted = "\"\\u0001" + marker.substr(1) + "\"";
        size_t at = out.find(quoted);
        if (at != std::string::npos) out.replace(at, quoted.size(), single_text(v));
    }
    return out;
}

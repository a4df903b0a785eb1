#include "tools/replay/trace_writer.h"

#include <charconv>
#include <nlohmann/json.hpp>
#include <type_traits>
#include <utility>
#include <vector>

#include "game/state_fields.h"

namespace {

using ojson = nlohmann::ordered_json;

// The shortest text that reads back to the same 32-bit value.
std::string single_text(float v) {
    char buf[64];
    auto r = std::to_chars(buf, buf + sizeof buf, v);
    return std::string(buf, r.ptr);
}

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

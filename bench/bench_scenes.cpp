// SPDX-License-Identifier: GPL-3.0-or-later
#include "bench/bench_scenes.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "core/bmp_load.h"
#include "tools/replay/script_input.h"

bool Scene::play_to(const std::vector<ScriptCommand>& script, const Place& place) {
    time_limit = 0;
    try {
        for (const ScriptCommand& c : script) {
            if (c.cmd == "gioca") {
                time_limit = c.ints.empty() ? 0 : int(c.ints[0]);
                game_.Form_Load();
                if (place.here(game_.state(), game_.counters())) return snapshot();
            } else if (c.cmd == "tick") {
                for (long i = 0; i < c.ints[0]; ++i) {
                    platform_.advance_clock(60);
                    if (!game_.timer_enabled()) continue;
                    game_.Timer1_Timer();
                    if (place.here(game_.state(), game_.counters())) return snapshot();
                }
            } else {
                dispatch(c);
            }
            platform_.take_log();
        }
    } catch (const ProgramEnded&) {
    }
    return false;
}

void Scene::start_fresh() {
    time_limit = 0;
    game_.Form_Load();
    snapshot();
}

void Scene::tick() {
    GameState& s = game_.mutable_state();
    ProcedureCounters& c = game_.mutable_counters();
    s = state_;
    c = counters_;
    const int64_t moved = platform_.clock_ms() - clock_;
    c.storm_time += moved;  // the storm sees as much time gone as at the snapshot
    s.start_time += moved;
    platform_.advance_clock(60);
    game_.Timer1_Timer();
    platform_.take_log();
}

bool Scene::snapshot() {
    state_ = game_.state();
    counters_ = game_.counters();
    clock_ = platform_.clock_ms();
    return true;
}

void Scene::dispatch(const ScriptCommand& c) {
    if (c.cmd == "answer") platform_.queue_answer(answer_named(c.text));
    else if (c.cmd == "random") platform_.queue_random(c.value);
    else if (c.cmd == "wait") platform_.advance_clock(int64_t(c.value));
    else call_input_handler(game_, c);
}

namespace {

int view_x_for(const GameWindow& g, float prof_x) {
    int w = g.picture(5).width();
    return std::clamp(int(prof_x) - 200, 0, std::max(0, w - 400));
}

}  // namespace

const std::vector<Place>& places() {
    static const std::vector<Place> list = {
        {"start", [](const GameState&, const ProcedureCounters&) { return true; },
         [](GameWindow&, const std::string&) {}},
        // The route uses the fly before the spider's reach; here he has walked
        // in under the spider without it, and it is coming down on its thread.
        {"spider floor",
         [](const GameState& s, const ProcedureCounters&) {
             return s.prof_y <= -200 && s.prof_x >= 490 && s.spider_state == 0;
         },
         [](GameWindow& g, const std::string&) {
             GameState& s = g.mutable_state();
             s.prof_x = 600, s.prof_y = -292, s.scroll_y = -400, s.spider_state = 0;
             s.scroll_x = view_x_for(g, s.prof_x);
             g.mutable_counters().spider_y = 40;
         },
         [](GameWindow& g) {
             g.mutable_state().prof_x = 600;
             g.mutable_state().scroll_x = view_x_for(g, 600);
             g.mutable_counters().spider_y = 40;
         },
         "walked to its floor, then 100 px on"},
        {"vault storm",
         [](const GameState& s, const ProcedureCounters&) { return s.vase_placed && s.plant_stage == 2; },
         [](GameWindow& g, const std::string&) {
             GameState& s = g.mutable_state();
             s.prof_x = 995, s.prof_y = 182, s.fall_state = 5, s.scroll_y = 0;
             s.scroll_x = view_x_for(g, s.prof_x);
             s.vase_placed = s.seed_placed = s.cloud_placed = s.fork_placed = true;
             s.plant_stage = 2;
             g.mutable_counters().storm_count = 10;
         }},
        {"chasm finale",
         [](const GameState& s, const ProcedureCounters& c) {
             return s.final_anim && s.jungle_stage == 1 && c.finale_count >= 20;
         },
         [](GameWindow& g, const std::string& data) {
             GameState& s = g.mutable_state();
             s.prof_x = 1890, s.prof_y = 55, s.scroll_y = 0, s.jungle_stage = 1, s.final_anim = true;
             s.scroll_x = view_x_for(g, s.prof_x);
             g.mutable_counters().finale_count = 20;
             for (int k = 0; k < 3; ++k) {
                 try {
                     g.mutable_picture(72, k) = load_bmp_file(data + "/j" + std::to_string(k + 1) + ".bmp");
                 } catch (const RuntimeError&) {
                 }
             }
         }},
    };
    return list;
}

Scenes make_scenes(const std::string& data, const std::string& script_path) {
    std::vector<ScriptCommand> script;
    {
        std::ifstream in(script_path, std::ios::binary);
        std::stringstream src;
        src << in.rdbuf();
        ScriptError err;
        if (!in || !parse_script(src.str(), script, err)) {
            std::fprintf(stderr, "lexovo-bench: walkthrough %s not readable; places set directly\n", script_path.c_str());
            script.clear();
        }
    }
    Scenes out;
    for (const Place& p : places()) {
        auto scene = std::make_unique<Scene>(data);
        if (!script.empty() && scene->play_to(script, p)) {
            p.settle(scene->game());
            scene->snapshot_now();
            out.how.push_back(p.walked);
        } else {
            scene = std::make_unique<Scene>(data);
            scene->start_fresh();
            p.set_directly(scene->game(), data);
            scene->snapshot_now();
            out.how.push_back("set directly");
        }
        out.scene.push_back(std::move(scene));
    }
    return out;
}

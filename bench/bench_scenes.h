// SPDX-License-Identifier: GPL-3.0-or-later
// The game at the places of the world the benchmarks time a tick at: the
// start, the spider's floor with the spider running, the vault in the
// storm, the chasm in the final animation. Each place is reached by playing
// the walkthrough script on the real data folder (or, where the script does
// not get there, set directly); the state and counters found there are put
// back before every timed tick, so each iteration times the same tick.
// Shared by lexovo-bench and the browser build's tick benchmark.
#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "game/game_window.h"
#include "platform/headless_platform.h"
#include "tools/replay/replay_script.h"

struct Place {
    const char* name;
    std::function<bool(const GameState&, const ProcedureCounters&)> here;
    std::function<void(GameWindow&, const std::string& data)> set_directly;  // when the walk never got there
    std::function<void(GameWindow&)> settle = [](GameWindow&) {};            // after the walk got there
    const char* walked = "walked there";
};

class Scene {
public:
    explicit Scene(const std::string& data) : platform_(data), game_(platform_) {}

    // Plays the script until the place is reached (after a tick or, for the
    // start, right after the load step). False if the script ended first.
    bool play_to(const std::vector<ScriptCommand>& script, const Place& place);
    void start_fresh();
    GameWindow& game() { return game_; }
    void snapshot_now() { snapshot(); }

    // One timed tick from the same state every time.
    void tick();

private:
    bool snapshot();
    void dispatch(const ScriptCommand& c);

    HeadlessPlatform platform_;
    GameWindow game_;
    GameState state_;
    ProcedureCounters counters_;
    int64_t clock_ = 0;
};

const std::vector<Place>& places();

struct Scenes {
    std::vector<std::unique_ptr<Scene>> scene;  // one per place, in the order of places()
    std::vector<std::string> how;               // how each got there
};
// The game at every place, played there from the walkthrough at script_path.
Scenes make_scenes(const std::string& data, const std::string& script_path);

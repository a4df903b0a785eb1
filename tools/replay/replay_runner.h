// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Runs a checked replay script on the real game logic over the headless
// platform and writes the JSON Lines trace.
#include <ostream>
#include <string>
#include <vector>

#include "tools/replay/replay_script.h"

struct ReplayOptions {
    std::string data_dir;
};

// Returns 0 (script read to its end, or the program ended in the game) or 1
// (the tool itself failed, e.g. a shot that could not be written).
int run_replay(const std::vector<ScriptCommand>& script, const ReplayOptions& options, std::ostream& trace,
               std::ostream& errors);

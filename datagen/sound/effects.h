// SPDX-License-Identifier: GPL-3.0-or-later
// The sixteen sound effects of the game, each rendered from its own fixed
// seed. Looping effects (footsteps, climbing, jungle) join end to start.
#pragma once
#include <string>
#include <vector>

#include "datagen/sound/synth.h"

namespace snd {

struct Effect {
    std::string file;  // "step.wav" ...
    bool loops;        // played looping by the game
    Buffer (*render)();
};

// In the order the game loads them.
const std::vector<Effect>& effects();

// The walk cycle: the professor steps every 60 ms tick, four ticks a cycle.
constexpr double kWalkCycle = 0.240;

}  // namespace snd

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <string>

#include "game/game_window.h"
#include "platform/headless_platform.h"

// One trace line (without the newline) for the state after a command.
std::string trace_line(int line, const std::string& cmd, const bool* ran, bool ended, const GameWindow& game,
                       const HeadlessPlatform::Log& log);

// A Single as the trace writes it: the shortest text that reads back to the
// same 32-bit value (whole values without a fraction part).
std::string single_text(float v);

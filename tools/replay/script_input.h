// SPDX-License-Identifier: GPL-3.0-or-later
// The player's input in a script (keys, mouse buttons, pointer moves and
// clicks) handed to the game's event handlers, as a window hands them.
#pragma once
#include "tools/replay/replay_script.h"

class GameWindow;

// Calls the handler the command names (keydown, keyup, keypress, mousedown,
// mousemove, mouseup, click, dblclick); nothing for any other command. The
// caller runs it through GameWindow::run_handler, as every front end does.
void call_input_handler(GameWindow& game, const ScriptCommand& c);

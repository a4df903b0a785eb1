// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/replay/script_input.h"

#include "game/game_window.h"

void call_input_handler(GameWindow& game, const ScriptCommand& c) {
    const int shift = c.shift ? 1 : 0;
    if (c.cmd == "keydown") game.Form_KeyDown(int(c.ints[0]), shift);
    else if (c.cmd == "keyup") game.Form_KeyUp(int(c.ints[0]), shift);
    else if (c.cmd == "keypress") game.Form_KeyPress(int(c.ints[0]));
    else if (c.cmd == "mousedown") game.Form_MouseDown(1, shift, float(c.ints[0]), float(c.ints[1]));
    else if (c.cmd == "mousemove") game.Form_MouseMove(0, 0, float(c.ints[0]), float(c.ints[1]));
    else if (c.cmd == "mouseup") game.Form_MouseUp(1, 0, float(c.ints[0]), float(c.ints[1]));
    else if (c.cmd == "click") game.Form_Click();
    else if (c.cmd == "dblclick") game.Form_DblClick();
}

// SPDX-License-Identifier: GPL-3.0-or-later
// The time limit has run out: the banner, the end sound, and the tick stops.
#include "game/game_window.h"

void GameWindow::finetempo() {
    Trap trap(*this, "Form1_finetempo");
    s_.game_over = true;
    step([&] { copy_to_play(P(kPicture36TimeUpBanner), cint((picture1_play_area().width() - 174) / 2.0),
                                  cint((picture1_play_area().height() - 52) / 2.0)); });
    time_limit = 0;
    step([&] { sfx_play(snd_end); });
    PlayMidi("");
    set_timer(false);
}

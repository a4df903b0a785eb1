// SPDX-License-Identifier: GPL-3.0-or-later
// One composed picture per tick: bar and play area into the frame, the
// frame onto the window.
#include "game/game_window.h"

void GameWindow::compose_screen() {
    Surface& frame = picture64_frame();
    blit(frame, 40, 440, picture40_bar(), Rop::SrcCopy);
    blit(frame, 40, 40, picture1_play_area(), Rop::SrcCopy);
    blit(window_, 0, 0, frame, Rop::SrcCopy);
}

// One composed picture per tick: bar and play area into the frame, the
// frame onto the window.
#include "game/game_window.h"

void GameWindow::compose_screen() {
    blit(P(64), 40, 440, P(40), Rop::SrcCopy);
    blit(P(64), 40, 40, P(1), Rop::SrcCopy);
    blit(window_, 0, 0, P(64), Rop::SrcCopy);
}

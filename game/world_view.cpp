// The visible 400 x 400 window of the world, copied from the background.
#include "game/game_window.h"

void GameWindow::draw_background() {
    blit(P(1), 0, 0, 400, 400, P(5), s_.scroll_x, P(5).height() - 400 + s_.scroll_y, Rop::SrcCopy);
}

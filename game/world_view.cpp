// The visible 400 x 400 window of the world, copied from the background.
#include "game/game_window.h"

void GameWindow::draw_background() {
    const Surface& background = picture5_background();
    blit(picture1_play_area(), 0, 0, 400, 400, background, s_.scroll_x, background.height() - 400 + s_.scroll_y, Rop::SrcCopy);
}

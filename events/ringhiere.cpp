// The railings drawn again in front of the professor on the floors that have them.
#include "game/game_window.h"

void GameWindow::ringhiere() {
    Trap trap(*this, "Form1_ringhiere");
    const float x = s_.prof_x, y = s_.prof_y;
    int rx = 0, ry = 0, w = 0;
    const Surface& mask = P(kPicture15Railing, 0);
    const Surface& image = P(kPicture15Railing, 1);
    const int full = mask.width();
    if (x <= 280 || x >= 1500) {
        if (y > -225 && y < -54) rx = 1662, ry = -108, w = 238;
        if (y < -228) rx = 1664, ry = -288, w = full;
    } else {
        if (y > 10 && y < 186) rx = 298, ry = 133, w = 238;
        if (y > -163 && y < 7) rx = 298, ry = -47, w = 238;
        if (y < -178) rx = 458, ry = -231, w = full;
    }
    step([&] {
        int px = Int16(rx - s_.scroll_x), py = Int16(ry - s_.scroll_y);
        blit(picture1_play_area(), px, py, w, mask.height(), mask, 0, 0, Rop::SrcAnd);
        blit(picture1_play_area(), px, py, w, image.height(), image, 0, 0, Rop::SrcInvert);
    });
}

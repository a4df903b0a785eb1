// After a fatal fall: the banner and the dazed professor seated on the ground.
#include "game/game_window.h"

void GameWindow::draw_end_picture(int walk_frame) {
    const Surface& banner = P(35);
    step([&] {
        blit(P(1), cint((P(1).width() - banner.width()) / 2.0), cint((P(1).height() - banner.height()) / 2.0), banner,
             Rop::SrcCopy);
    });
    step([&] {
        int x = Int16(985 - s_.scroll_x), y = Int16(208 - s_.scroll_y);
        draw_sprite(P(1), x, y, P(62, size_t(walk_frame)), P(61, size_t(walk_frame)));
    });
    if (!c_.fall_end_done) {
        step([&] { sfx_play(snd_end); });
        PlayMidi("");
        c_.fall_end_done = true;
    }
    time_limit = 0;
}

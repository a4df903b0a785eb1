// After a fatal fall: the banner and the dazed professor seated on the ground.
#include "game/game_window.h"
#include "game/world_places.h"

void GameWindow::draw_end_picture(int walk_frame) {
    Surface& play = picture1_play_area();
    const Surface& banner = P(kPicture35GameOverBanner);
    step([&] {
        blit(play, cint((play.width() - banner.width()) / 2.0), cint((play.height() - banner.height()) / 2.0), banner,
             Rop::SrcCopy);
    });
    step([&] {
        int x = Int16(world::kDazedPlace.x - s_.scroll_x), y = Int16(world::kDazedPlace.y - s_.scroll_y);
        draw_sprite(play, x, y, P(kPicture62ProfDazedMask, walk_frame), P(kPicture61ProfDazed, walk_frame));
    });
    if (!c_.fall_end_done) {
        step([&] { sfx_play(snd_end); });
        PlayMidi("");
        c_.fall_end_done = true;
    }
    time_limit = 0;
}

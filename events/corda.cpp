// The flute charms the rope up out of the deep well.
#include "game/game_window.h"
#include "game/world_places.h"

void GameWindow::corda() {
    Trap trap(*this, "Form1_corda");
    if (s_.rope_stage == 2) {
        if (c_.rope_count == 0) step([&] { sfx_play(snd_flute); });
        step([&] { c_.rope_count += 2; });
        if (c_.rope_count > 29) {
            c_.rope_count = 20;
            s_.rope_stage = 3;
            s_.well_trapped = false;
        }
    }
    step([&] {
        int frame = c_.rope_count / 10;
        const Surface& m = P(kPicture70RisingRopeMask, frame);
        draw_sprite(picture1_play_area(), Int16(world::kRisingRopeX - s_.scroll_x), cint((world::kRisingRopeFootY - s_.scroll_y) - double(m.height())), m,
                    P(kPicture69RisingRope, frame));
    });
}

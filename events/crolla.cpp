// Dust trickling from the stone steps before they give way.
#include "game/game_window.h"
#include "game/world_places.h"

void GameWindow::crolla() {
    Trap trap(*this, "Form1_crolla");
    if (s_.prof_x < 880) return;
    step([&] {
        if (s_.fall_state == 1)
            copy_to_play(P(kPicture38CrumblingSteps, c_.crumble_count / 10), Int16(world::kCrumblingSteps.x - s_.scroll_x), Int16(world::kCrumblingSteps.y - s_.scroll_y));
    });
    step([&] {
        c_.crumble_count += 1;
        if (c_.crumble_count > 20) c_.crumble_count = 0;
    });
}

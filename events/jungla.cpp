// The forest opened by the jungle book, three pictures in a loop.
#include "game/game_window.h"
#include "game/world_places.h"

void GameWindow::jungla() {
    Trap trap(*this, "Form1_jungla");
    step([&] {
        c_.jungle_count += 5;
        if (c_.jungle_count > 39) c_.jungle_count = 1;
    });
    const size_t k = size_t(c_.jungle_count / 10);
    const int frame = k < s_.tarzan_sequence.size() ? s_.tarzan_sequence[k] - '0' : 0;
    step([&] { copy_to_play(picture72_forest(frame), Int16(world::kForestPlace.x - s_.scroll_x), Int16(world::kForestPlace.y - s_.scroll_y)); });
}

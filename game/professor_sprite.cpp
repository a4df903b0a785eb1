// Which picture of the professor this tick shows, and where.
#include "game/game_window.h"

void GameWindow::draw_professor(int walk_frame) {
    int n = 0;
    bool jump = false, flute = false;
    auto by_frame = [&](int f0, int f1, int f2) {
        n = walk_frame == 0 ? f0 : walk_frame == 1 ? f1 : walk_frame == 2 ? f2 : 0;
    };
    if (s_.go_right) {
        by_frame(2, s_.on_steps ? 6 : 3, s_.on_steps ? 7 : 4);
    } else if (s_.go_left) {
        by_frame(11, s_.on_steps ? 17 : 9, s_.on_steps ? 18 : 10);
    } else if (s_.go_up || s_.go_down) {
        by_frame(16, 13, 14);
    } else if (s_.jump_right) {
        n = 19, jump = true;
    } else if (s_.jump_left) {
        n = 20, jump = true;
    } else if (s_.rope_stage == 2) {
        n = 68, flute = true;
    } else if (s_.facing == 1 && s_.fall_state != 4) {
        n = 2;
    } else if (s_.facing == 0) {
        n = 11;
    } else if (s_.fall_state == 4) {
        n = 42;
    } else {
        n = 16;
    }
    if (n == 0) return;
    if (flute) {
        sprite(n, Int16(1435 - s_.scroll_x), Int16(276 - s_.scroll_y));
        return;
    }
    int x = cint(double(s_.prof_x) - s_.scroll_x);
    int y = cint(double(s_.prof_y) - (jump ? 8 : 0) - s_.scroll_y);
    sprite(n, x, y);
}

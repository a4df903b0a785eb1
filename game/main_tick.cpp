// SPDX-License-Identifier: GPL-3.0-or-later
// Timer1: the 60 ms heartbeat. Each line below is one step of the tick, in
// the order the game has always run them.
#include "game/game_window.h"

void GameWindow::Timer1_Timer() {
    Trap trap(*this, "Form1_timer1");
    // The bottom of the deep well holds him until the rope has risen.
    if (s_.prof_x > 1400 && s_.prof_x < 1500 && s_.prof_y > 200 && s_.rope_stage < 3) s_.well_trapped = true;
    Calcola_mov();
    const int walk_frame = walk_frame_now();
    draw_background();
    libri();
    if (s_.game_over && s_.fall_state < 2) return;  // the screen keeps its last picture

    if (s_.vase_placed) {
        if (s_.plant_stage > 0 && s_.plant_stage < 3) pianta();
        draw_fork_vase_and_cloud();
        if (s_.plant_stage == 3) pianta2();
        else draw_grown_plant();
    }
    draw_seed();
    draw_coiled_rope();
    if (s_.rope_stage == 2) corda();  // may raise the rope drawn next
    draw_risen_rope();
    if (s_.jungle_stage == 1) jungla();
    if (!s_.game_over && !s_.final_anim) step([&] { draw_professor(walk_frame); });
    if (s_.final_anim) anim_finale();
    if (s_.prof_y <= 6 || (s_.prof_y >= 10 && s_.prof_y <= 186)) ringhiere();
    step([&] { draw_bar(); });
    if (s_.game_over && s_.fall_state > 1 && s_.fall_state < 5) draw_end_picture(walk_frame);
    if (time_limit > 0 && platform_.clock_ms() - s_.start_time > int64_t(time_limit) * 1000) finetempo();
    compose_screen();
    if (s_.dragged_slot != -1) draw_dragged();
    platform_.present(window_);
    step([&] {
        c_.walk_step += 1;
        if (c_.walk_step > 3) c_.walk_step = 0;
    });
}

// The frame of the walking and climbing cycle for this tick: 0, 1, 0, 2.
int GameWindow::walk_frame_now() const {
    size_t i = size_t(int(c_.walk_step));
    return i < s_.walk_sequence.size() ? s_.walk_sequence[i] - '0' : 0;
}

// Timer1: the 60 ms heartbeat. Each line below is one step of the tick, in
// the order the game has always run them.
#include "game/game_window.h"

void GameWindow::Timer1_Timer() {
    Trap trap(*this, "Form1_timer1");
    int walk_frame = 0;

    step([&] {  // the bottom of the deep well holds him until the rope has risen
        if (s_.prof_x > 1400 && s_.prof_x < 1500 && s_.prof_y > 200 && s_.rope_stage < 3) s_.well_trapped = true;
    });
    Calcola_mov();
    step([&] {
        size_t i = size_t(int(c_.walk_step));
        walk_frame = i < s_.walk_sequence.size() ? s_.walk_sequence[i] - '0' : 0;
    });
    step([&] { draw_background(); });
    libri();
    if (test([&] { return s_.game_over && s_.fall_state < 2; })) return;

    if (test([&] { return s_.vase_placed; })) {
        if (test([&] { return s_.plant_stage > 0 && s_.plant_stage < 3; })) pianta();
        draw_fork_vase_and_cloud();
        if (test([&] { return s_.plant_stage == 3; })) pianta2();
        else draw_grown_plant();
    }
    draw_seed();
    draw_coiled_rope();
    if (test([&] { return s_.rope_stage == 2; })) corda();  // may raise the rope drawn next
    draw_risen_rope();
    if (test([&] { return s_.jungle_stage == 1; })) jungla();
    step([&] { if (!s_.game_over && !s_.final_anim) draw_professor(walk_frame); });
    if (test([&] { return s_.final_anim; })) anim_finale();
    if (test([&] { return s_.prof_y <= 6 || (s_.prof_y >= 10 && s_.prof_y <= 186); })) ringhiere();
    step([&] { draw_bar(); });
    step([&] { if (s_.game_over && s_.fall_state > 1 && s_.fall_state < 5) draw_end_picture(walk_frame); });
    if (test([&] { return time_limit > 0 && platform_.clock_ms() - s_.start_time > int64_t(time_limit) * 1000; }))
        finetempo();
    step([&] { compose_screen(); });
    step([&] { if (s_.dragged_slot != -1) draw_dragged(); });
    step([&] { platform_.present(window_); });
    step([&] {
        c_.walk_step += 1;
        if (c_.walk_step > 3) c_.walk_step = 0;
    });
}

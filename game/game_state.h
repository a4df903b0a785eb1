// SPDX-License-Identifier: GPL-3.0-or-later
// The game window's state: one record of every field the procedures share,
// and the counters each procedure keeps from one call to the next. A field
// added here is added to the one field list (game/state_fields.h) too: the
// build fails until it is, and the trace, the starting-value check and the
// soak's rules all follow that list.
#pragma once
#include <array>
#include <cstdint>
#include <string>

#include "core/int16.h"

struct GameState {
    float prof_x = 0, prof_y = 0;
    Int16 scroll_x, scroll_y;
    Int16 facing;
    bool go_right = false, go_left = false, go_up = false, go_down = false;
    bool jump_right = false, jump_left = false;
    Int16 jump_target_x;
    bool falling = false;
    bool on_steps = false;
    Int16 fall_state;
    bool well_trapped = false;
    bool game_over = false;
    bool final_anim = false;
    std::string walk_sequence, tarzan_sequence;
    Int16 spider_speed;
    Int16 spider_state;
    bool vase_placed = false, seed_placed = false, cloud_placed = false, fork_placed = false;
    Int16 plant_stage, rope_stage, jungle_stage;
    std::array<Int16, 14> book_state{};  // book_state[1] … book_state[13]; -1 is true
    std::array<std::string, 5> inventory;
    Int16 inventory_last;
    Int16 dragged_slot;
    std::string dragged_item;
    Int16 drag_x, drag_y;
    int64_t start_time = 0;  // game clock (ms) when play began
    bool music_on = false;
};

// Counters owned by single procedures (all start at 0 / false).
struct ProcedureCounters {
    Int16 walk_step;                // the main tick
    bool fall_end_done = false;     // the main tick's end-of-game picture
    Int16 fall_speed, fall_column;  // Calcola_mov
    Int16 spider_y, spider_step, spider_dx;  // ragno
    bool spider_end_done = false;
    Int16 crumble_count;            // crolla
    Int16 storm_count;              // pianta
    int64_t storm_time = 0;         // pianta (game clock, ms)
    Int16 grow_count;               // pianta2
    Int16 rope_count;               // corda
    Int16 jungle_count;             // jungla
    Int16 finale_count, finale_frame, vine_drop, swing;  // anim_finale
};

// Program-wide: the chosen play time in seconds (0 = free play).
extern Int16 time_limit;

// SPDX-License-Identifier: GPL-3.0-or-later
// The one list of the game state's fields and the procedures' counters: each
// by its own name (the name the replay trace gives it), in the trace's order.
// The trace writer, the check of the starting values and the soak's rules all
// walk this list, so a field added to the record is added here once.
#pragma once
#include "game/game_state.h"

// Whether the replay trace lists a field. The two frame sequences are
// constants and the clock readings are not part of what a replay compares.
enum class InTrace : bool { No, Yes };

inline constexpr const char* kBookStateNames[14] = {
    nullptr,         "book1_state",  "book2_state",  "book3_state",  "book4_state",
    "book5_state",   "book6_state",  "book7_state",  "book8_state",  "book9_state",
    "book10_state",  "book11_state", "book12_state", "book13_state",
};

// Calls v(name, field, in_trace) for every field of the game state (the
// thirteen book states one by one), on a const or a mutable record alike.
template <class State, class Visitor> void visit_state_fields(State& s, Visitor&& v) {
    // Fails to compile when the record gains or loses a field: visit it below.
    [[maybe_unused]] auto& [f1, f2, f3, f4, f5, f6, f7, f8, f9, f10, f11, f12, f13, f14, f15, f16, f17, f18, f19,
                            f20, f21, f22, f23, f24, f25, f26, f27, f28, f29, f30, f31, f32, f33, f34, f35, f36, f37,
                            f38] = s;
    constexpr InTrace yes = InTrace::Yes, no = InTrace::No;
    v("prof_x", s.prof_x, yes);
    v("prof_y", s.prof_y, yes);
    v("scroll_x", s.scroll_x, yes);
    v("scroll_y", s.scroll_y, yes);
    v("facing", s.facing, yes);
    v("go_right", s.go_right, yes);
    v("go_left", s.go_left, yes);
    v("go_up", s.go_up, yes);
    v("go_down", s.go_down, yes);
    v("jump_right", s.jump_right, yes);
    v("jump_left", s.jump_left, yes);
    v("jump_target_x", s.jump_target_x, yes);
    v("falling", s.falling, yes);
    v("on_steps", s.on_steps, yes);
    v("fall_state", s.fall_state, yes);
    v("well_trapped", s.well_trapped, yes);
    v("game_over", s.game_over, yes);
    v("final_anim", s.final_anim, yes);
    v("walk_sequence", s.walk_sequence, no);
    v("tarzan_sequence", s.tarzan_sequence, no);
    v("spider_speed", s.spider_speed, yes);
    v("spider_state", s.spider_state, yes);
    v("vase_placed", s.vase_placed, yes);
    v("seed_placed", s.seed_placed, yes);
    v("cloud_placed", s.cloud_placed, yes);
    v("fork_placed", s.fork_placed, yes);
    v("plant_stage", s.plant_stage, yes);
    v("rope_stage", s.rope_stage, yes);
    v("jungle_stage", s.jungle_stage, yes);
    for (int b = 1; b <= 13; ++b) v(kBookStateNames[b], s.book_state[size_t(b)], yes);
    v("inventory", s.inventory, yes);
    v("inventory_last", s.inventory_last, yes);
    v("dragged_slot", s.dragged_slot, yes);
    v("dragged_item", s.dragged_item, yes);
    v("drag_x", s.drag_x, yes);
    v("drag_y", s.drag_y, yes);
    v("start_time", s.start_time, no);
    v("music_on", s.music_on, yes);
}

// Calls v(name, counter, in_trace) for every procedure counter.
template <class Counters, class Visitor> void visit_counters(Counters& c, Visitor&& v) {
    // Fails to compile when the record gains or loses a counter: visit it below.
    [[maybe_unused]] auto& [f1, f2, f3, f4, f5, f6, f7, f8, f9, f10, f11, f12, f13, f14, f15, f16, f17, f18] = c;
    constexpr InTrace yes = InTrace::Yes, no = InTrace::No;
    v("walk_step", c.walk_step, yes);
    v("fall_end_done", c.fall_end_done, yes);
    v("fall_speed", c.fall_speed, yes);
    v("fall_column", c.fall_column, yes);
    v("spider_y", c.spider_y, yes);
    v("spider_step", c.spider_step, yes);
    v("spider_dx", c.spider_dx, yes);
    v("spider_end_done", c.spider_end_done, yes);
    v("crumble_count", c.crumble_count, yes);
    v("storm_count", c.storm_count, yes);
    v("storm_time", c.storm_time, no);
    v("grow_count", c.grow_count, yes);
    v("rope_count", c.rope_count, yes);
    v("jungle_count", c.jungle_count, yes);
    v("finale_count", c.finale_count, yes);
    v("finale_frame", c.finale_frame, yes);
    v("vine_drop", c.vine_drop, yes);
    v("swing", c.swing, yes);
}

// SPDX-License-Identifier: GPL-3.0-or-later
// The five-slot inventory: taking an object, pressing it in the bar,
// dropping it on the world and what each object does where it belongs.
#include "core/bmp_load.h"
#include "game/game_window.h"

void GameWindow::take(const std::string& item) {
    // The bar holds five; a sixth object has nowhere to go and is not taken.
    if (s_.inventory_last >= 4) return;
    step([&] { s_.inventory_last += 1; });
    step([&] { inventory_slot(s_.inventory_last) = item; });
    step([&] { sfx_play(snd_flub); });
}

void GameWindow::press_in_bar(float x, float y) {
    step([&] { s_.drag_x = cint(x); });
    step([&] { s_.drag_y = cint(y); });
    step([&] { s_.dragged_slot = int_part(x / 100.0); });
    step([&] { s_.dragged_item = inventory_slot(s_.dragged_slot); });
    if (!s_.dragged_item.empty()) {
        show_cursor(false);
        press_hid_cursor_ = true;
    }
}

void GameWindow::drop_object() {
    GameState& s = s_;
    Int16 A, B, C;
    step([&] { A = s.drag_x + s.scroll_x - 40; });
    step([&] { B = s.drag_y + s.scroll_y - 40; });
    step([&] { C = s.drag_y - s.scroll_y - 40; });
    const std::string& item = s.dragged_item;
    bool used = false;
    auto use = [&](Sfx sound) {
        used = true;
        step([&] { sfx_play(sound); });
    };
    auto at_pot = [&](int c_low) { return A > 989 && A < 1060 && C > c_low && C < 440; };

    if (item == "mosca") {
        if (B < -260 && A > 600 && A < 750) { s.spider_state = 2; use(snd_fly); }
    } else if (item == "vaso") {
        if (s.fall_state == 5 && at_pot(380)) { s.vase_placed = true; use(snd_success); }
    } else if (item == "ombrello") {
        if (s.prof_x > 880 && A - 20 <= s.prof_x && s.prof_x <= A + 60) { s.fall_state = 3; use(snd_success); }
    } else if (item == "seme") {
        if (s.vase_placed && at_pot(380)) { s.seed_placed = true; use(snd_success); }
    } else if (item == "nuvola") {
        if (s.vase_placed && at_pot(260)) { s.cloud_placed = true; use(snd_success); }
    } else if (item == "forchetta") {
        if (s.vase_placed && at_pot(300)) { s.fork_placed = true; use(snd_success); }
    } else if (item == "corda") {
        if (B > 330 && A > 1300 && A < 1500) { s.rope_stage = 1; use(snd_success); }
    } else if (item == "flauto") {
        if (s.rope_stage == 1 && B > 280 && A > 1300 && A < 1500) { s.rope_stage = 2; use(snd_success); }
    } else if (item == "libro") {
        if (B > -350 && A > 1880) {
            s.jungle_stage = 1;
            for (int k = 0; k < 3; ++k)
                step([&] { picture72_forest(k) = load_bmp_file(platform_.data_file("j" + std::to_string(k + 1) + ".bmp")); });
            use(snd_success);
        }
    } else if (item == "tarzan") {
        if (s.prof_x > 1859 && s.jungle_stage == 1 && s.prof_y > -5) { s.final_anim = true; use(snd_success); }
    }

    if (!item.empty() && !used) step([&] { sfx_play(snd_noway); });
    if (used) {
        step([&] {
            for (int i = s.dragged_slot + 1; i <= s.inventory_last; ++i) inventory_slot(i - 1) = inventory_slot(i);
            inventory_slot(s.inventory_last) = "";
            s.inventory_last -= 1;
        });
    }
    s.dragged_slot = -1;
    s.dragged_item = "";
    // Only the press that hid the cursor gives it back.
    if (press_hid_cursor_) show_cursor(true);
    press_hid_cursor_ = false;
    if (s.vase_placed && s.cloud_placed && s.fork_placed && s.seed_placed && s.plant_stage < 1) s.plant_stage = 1;
}

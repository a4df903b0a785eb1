// SPDX-License-Identifier: GPL-3.0-or-later
// The keyboard and mouse handlers of the game window: they only set
// requests and story fields; the next tick turns them into motion.
#include "game/game_window.h"

namespace {
constexpr int kLeft = 37, kUp = 38, kRight = 39, kDown = 40;
}

void GameWindow::tasti(int key, int shift) {
    Trap trap(*this, "Form1_tasti");
    if (s_.falling || s_.game_over || s_.jump_right || s_.jump_left) return;
    if (key == kRight) {
        if (shift != 0) {
            s_.jump_right = true;
            step([&] { s_.jump_target_x = cint(s_.prof_x + 90.0); });
        } else {
            s_.go_right = true;
            step([&] { sfx_loop(snd_step); });
        }
        s_.facing = 1;
        set_pointer(Pointer::Icon1);
    }
    if (key == kLeft) {
        if (shift != 0) {
            s_.jump_left = true;
            step([&] { s_.jump_target_x = cint(s_.prof_x - 84.0); });
        } else {
            s_.go_left = true;
            step([&] { sfx_loop(snd_step); });
        }
        s_.facing = 0;
        set_pointer(Pointer::Icon2);
    }
    if (key == kDown) {
        s_.go_down = true;
        step([&] { sfx_loop(snd_stairs); });
        set_pointer(Pointer::Icon4);
        s_.facing = 2;
    }
    if (key == kUp) {
        step([&] { sfx_loop(snd_stairs); });
        s_.go_up = true;
        s_.facing = 2;
        set_pointer(Pointer::Icon3);
    }
}

void GameWindow::release_requests() {
    s_.go_right = s_.go_left = s_.go_up = s_.go_down = false;
    step([&] { sfx_stop(snd_step); });
    step([&] { sfx_stop(snd_stairs); });
    set_pointer(Pointer::Arrow);
    if (s_.fall_state == 1) s_.fall_state = 0;
}

void GameWindow::Form_KeyDown(int key, int shift) {
    Trap trap(*this, "Form1_keydown");
    if (s_.final_anim) return;
    if (s_.game_over && (key < kLeft || key > kDown)) {
        close_game_window();
        return;
    }
    tasti(key, shift);
}

void GameWindow::Form_KeyUp(int, int) {
    Trap trap(*this, "Form1_keyup");
    release_requests();
}

void GameWindow::Form_KeyPress(int ch) {
    Trap trap(*this, "Form1_keypress");
    if (s_.final_anim) return;
    if (s_.game_over) {
        close_game_window();
        return;
    }
    if (ch == 109) {
        if (s_.music_on) {
            s_.music_on = false;
            PlayMidi("");
        } else {
            s_.music_on = true;
            PlayMidi("intro3.mid");
        }
    }
    if (ch == 27) {
        Answer a = Answer::No;
        step([&] {
            a = platform_.message_box({"Uscita dal gioco", "Si desidera terminare la partita in corso?",
                                       BoxButtons::YesNo, BoxIcon::None, Answer::No});
        });
        if (a == Answer::Yes) {
            s_.game_over = true;
            close_game_window();
        }
    }
}

void GameWindow::Form_MouseDown(int, int shift, float x, float y) {
    Trap trap(*this, "Form1_mousedown");
    if (s_.game_over || s_.final_anim || s_.dragged_slot != -1) return;
    if (y > 440) {
        press_in_bar(x, y);
        return;
    }
    // Window coordinates against play-area ones, exactly as the game has
    // always compared them.
    double sx = s_.prof_x - double(s_.scroll_x), sy = s_.prof_y - double(s_.scroll_y);
    int key = x > sx + 100 ? kRight : x < sx + 35 ? kLeft : y > sy ? kDown : kUp;
    tasti(key, shift);
}

void GameWindow::Form_MouseMove(int, int, float x, float y) {
    Trap trap(*this, "Form1_mousemove");
    if (s_.game_over) return;
    if (s_.dragged_slot != -1) {
        step([&] { s_.drag_x = int_part(x); });
        step([&] { s_.drag_y = int_part(y); });
        return;
    }
    shelf_search(x, y);
}

void GameWindow::Form_MouseUp(int, int, float, float) {
    Trap trap(*this, "Form1_mouseup");
    if (s_.final_anim) return;
    if (s_.dragged_slot == -1) {
        release_requests();
        return;
    }
    drop_object();
}

void GameWindow::Form_Click() {
    Trap trap(*this, "Form1_click");
    if (s_.game_over) {
        close_game_window();
        return;
    }
    if (s_.final_anim) return;
    open_or_close_books();
}

void GameWindow::Form_DblClick() {
    Trap trap(*this, "Form1_dblclick");
    if (s_.game_over) close_game_window();
}

// SPDX-License-Identifier: GPL-3.0-or-later
// The game window: construction, the error trap, the load and unload steps.
#include "game/game_window.h"

#include <string>

#include "core/bmp_load.h"
#include "dialogs/report_error.h"
#include "game/stored_pictures.h"

Int16 time_limit;

GameWindow::GameWindow(Platform& platform) : platform_(platform) {
    for (auto& arr : pic_) arr.resize(1);
    pic_[kPicture72Forest].resize(3);
    load_stored_pictures();
    picture40_bar().resize(400, 60);
    window_.resize(kWindowW, kWindowH);
}

void GameWindow::load_stored_pictures() {
    for (const PictureEntry& e : kPictureCatalogue) {
        std::string name = e.name;
        if (name.rfind("Picture", 0) != 0) continue;  // the window icon belongs to the front end
        size_t us = name.find('_');
        int n = std::stoi(name.substr(7, us == std::string::npos ? std::string::npos : us - 7));
        int k = us == std::string::npos ? 0 : std::stoi(name.substr(us + 1));
        if (int(pic_[n].size()) <= k) pic_[n].resize(size_t(k) + 1);
        if (const StoredPicture* sp = find_stored_picture(name)) {
            try {
                pic_[n][size_t(k)] = load_bmp_memory(sp->data, sp->size);
            } catch (const RuntimeError&) {
                // a stored picture the build could not make stays empty
            }
        }
    }
}

void GameWindow::report(const RuntimeError& e) {
    const char* label = escaped_from_ ? escaped_from_ : labels_.empty() ? "Form1" : labels_.back();
    escaped_from_ = nullptr;
    ReportError(platform_, e.number, e.description, label);
}

void GameWindow::set_timer(bool on) {
    timer1_ = on;
    platform_.set_timer(on);
}

void GameWindow::set_pointer(Pointer p) {
    pointer_ = p;
    platform_.set_pointer(p);
}

void GameWindow::show_cursor(bool show) {
    cursor_hidden_ = !show;
    platform_.show_cursor(show);
}

void GameWindow::starting_values() {
    s_.spider_speed = 7;
    s_.facing = 1;
    s_.prof_x = -10.0f;
    s_.prof_y = 168.0f;
    s_.walk_sequence = "0102";
    s_.tarzan_sequence = "0121";
    s_.dragged_slot = -1;
    s_.inventory_last = -1;
    s_.scroll_x = 0;
    s_.scroll_y = 0;
    s_.game_over = false;
    s_.final_anim = false;
    for (int b = 1; b <= 13; ++b) s_.book_state[size_t(b)] = 0;
    s_.spider_state = 0;
    s_.fall_state = 0;
    s_.plant_stage = 0;
    s_.rope_stage = 0;
    s_.jungle_stage = 0;
    s_.fork_placed = false;
    s_.cloud_placed = false;
    s_.vase_placed = false;
    s_.seed_placed = false;
    s_.well_trapped = false;
}

void GameWindow::Form_Load() {
    Trap trap(*this, "Form1_load");
    step([&] { platform_.enter_program_folder(); });
    Surface& play = picture1_play_area();
    step([&] { play.resize(400, 400); });  // can only run out of memory
    step([&] { picture5_background() = load_bmp_file(platform_.data_file("gameb2.bmp")); });
    step([&] { picture8_collision_map() = load_bmp_file(platform_.data_file("gamemap1.bmp")); });
    creasuoni();
    platform_.do_events();
    preparasuoni();
    InitDMusic();
    set_pointer(Pointer::Arrow);
    starting_values();
    platform_.show_window();
    // The first view: the lowest band of the background, straight on the window.
    const Surface& background = picture5_background();
    blit(play, 0, 0, play.width(), play.height(), background, 0, background.height() - play.height(), Rop::SrcCopy);
    blit(window_, 40, 40, play, Rop::SrcCopy);
    platform_.present(window_);
    s_.start_time = platform_.clock_ms();
    platform_.do_events();
    set_timer(true);
    s_.music_on = true;
    PlayMidi("intro3.mid");
}

void GameWindow::Form_Unload() {
    {
        Trap trap(*this, "Form1_unload");
        if (cursor_hidden_) show_cursor(true);
        PlayMidi("");
        vuotasuoni();
        platform_.do_events();
        platform_.close_window();
    }
    platform_.end_program();
}

void GameWindow::close_game_window() { Form_Unload(); }

// The thirteen active books: found by the pointer on the shelves, opened
// and closed by clicks, and drawn over the shelves every tick.
#include "core/bmp_load.h"
#include "game/game_window.h"
#include "game/world_places.h"

void GameWindow::shelf_search(float x, float y) {
    GameState& s = s_;
    bool found = false;
    Rgb c = kNoColour;
    step([&] { c = picture8_collision_map().get(cint(x - 40 + s.scroll_x), cint(y + 360 + s.scroll_y)); });
    if (c == world::kMapLightMagenta) {
        double mx = s.scroll_x + double(x) - 40;
        auto& b = s.book_state;
        auto over = [&](int n) { return mx > world::kBooks[size_t(n)].find_from && mx < world::kBooks[size_t(n)].find_to; };
        auto book = [&](int n) {
            if (over(n) && b[size_t(n)] == 0) { b[size_t(n)] = 1; found = true; }
        };
        if (over(1)) { b[1] = -1; found = true; }
        if (over(2) && b[2] == 1) b[2] = 2;
        book(4);
        book(5);
        book(3);
        book(6);
        book(9);
        book(8);
        if (over(7)) { b[7] = -1; found = true; }
        if (over(13) && b[13] == 0 && s.prof_x >= 1360 && s.prof_x < 1420) { b[13] = 1; found = true; }
        book(12);
        book(11);
        book(10);
        if (found && test([&] { return sfx_status(snd_activate) != 1; })) step([&] { sfx_play(snd_activate); });
    } else {
        step([&] { sfx_stop(snd_activate); });
        step([&] { sfx_rewind(snd_activate); });
        s.book_state[1] = 0;
        s.book_state[7] = 0;
        for (int n : {3, 4, 5, 6, 8, 9, 10, 11, 12, 13})
            if (s.book_state[size_t(n)] == 1) s.book_state[size_t(n)] = 0;
    }
}

void GameWindow::open_or_close_books() {
    auto& b = s_.book_state;
    if (!timer1_) {
        set_timer(true);
        static const std::pair<int, const char*> kGives[] = {
            {3, "mosca"}, {5, "vaso"},   {4, "ombrello"}, {6, "seme"},   {9, "forchetta"},
            {8, "nuvola"}, {10, "tarzan"}, {11, "flauto"}, {12, "corda"}, {13, "libro"},
        };
        for (auto [n, item] : kGives) {
            if (b[size_t(n)] == 2) {
                b[size_t(n)] = 3;
                take(item);
            }
        }
        return;
    }
    bool shown_later = false;
    auto open = [&](int n) {
        set_timer(false);
        step([&] { picture63_page() = load_bmp_file(platform_.data_file("lib" + std::to_string(n) + ".bmp")); });
    };
    if (b[1] != 0) { open(1); shown_later = true; }
    if (b[2] == 2) { open(2); b[2] = 3; shown_later = true; }
    for (int n : {4, 5})
        if (b[size_t(n)] == 1) { open(n); b[size_t(n)] = 2; shown_later = true; }
    if (b[3] == 1) {
        open(3);
        blit(window_, 40, 40, picture63_page(), Rop::SrcCopy);
        draw_sprite(window_, 240, 290, P(kPicture37Fly, 0), P(kPicture37Fly, 1));
        platform_.present(window_);
        b[3] = 2;
    }
    for (int n : {6, 9, 8})
        if (b[size_t(n)] == 1) { open(n); b[size_t(n)] = 2; shown_later = true; }
    if (b[7] != 0) { open(7); shown_later = true; }
    for (int n : {10, 11, 12, 13})
        if (b[size_t(n)] == 1) { open(n); b[size_t(n)] = 2; shown_later = true; }
    if (shown_later) {
        blit(window_, 40, 40, picture63_page(), Rop::SrcCopy);
        platform_.present(window_);
    }
}

void GameWindow::libri() {
    Trap trap(*this, "Form1_libri");
    GameState& s = s_;
    auto& b = s.book_state;
    auto put = [&](int picture, int k, int wx, int wy) {
        step([&] { copy_to_play(P(picture, k), Int16(wx - s.scroll_x), Int16(wy - s.scroll_y)); });
    };
    auto spine_and_plate = [&](int n) {
        const world::BookPlace& l = world::kBooks[size_t(n)];
        put(l.picture, 0, l.x, l.y);
        if (l.plate) put(l.plate, 0, l.plate_x, l.plate_y);
    };
    auto lying = [&](int n, int look) {
        const world::BookPlace& l = world::kBooks[size_t(n)];
        put(l.picture, look, l.x, l.y);
    };

    if (b[1] != 0) spine_and_plate(1);
    if (b[2] == 0) lying(2, 0);
    else if (b[2] == 1 || b[2] == 2) lying(2, 1);
    if (s.spider_state < 3) {
        ragno();
        if (s.spider_state == 1) return;
    }
    if (s.fall_state == 1) crolla();
    else if (s.fall_state >= 2) put(kPicture38CrumblingSteps, 3, world::kCrumblingSteps.x, world::kCrumblingSteps.y);
    if (s.fall_state == 3) {
        step([&] {
            sprite(kPicture41Umbrella, cint(double(s.prof_x) - s.scroll_x), cint(double(s.prof_y) - s.scroll_y + 60));
        });
    }
    for (int n : {4, 5, 3, 6, 9, 8})
        if (b[size_t(n)] == 1) spine_and_plate(n);
    if (b[7] != 0) spine_and_plate(7);
    if (b[13] == 1) spine_and_plate(13);
    if (b[10] == 0) lying(10, 0);
    else if (b[10] == 1) lying(10, 1);
    if (b[12] == 1) spine_and_plate(12);
    if (b[11] == 1) spine_and_plate(11);
}

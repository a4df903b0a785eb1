// The thirteen active books: found by the pointer on the shelves, opened
// and closed by clicks, and drawn over the shelves every tick.
#include "core/bmp_load.h"
#include "game/game_window.h"

namespace {
constexpr Rgb kShelf = rgb(255, 0, 255);

struct BookLook {
    int spine, sx, sy;  // spine picture and its world position
    int plate, px, py;  // title plate (0: none)
};
// Indexed by book number.
const BookLook kLook[14] = {
    {},
    {kPicture21Book1Spine, 114, 149, kPicture22Book1Plate, 130, 159},
    {},  // book 2 lies flat: kPicture23Book2Flat
    {kPicture29Book3Spine, 34, 241, kPicture28Book3Plate, 55, 251},
    {kPicture24Book4Spine, 466, 10, kPicture25Book4Plate, 480, 20},
    {kPicture27Book5Spine, 338, -146, kPicture26Book5Plate, 358, -156},
    {kPicture45Book6Spine, 835, 160, kPicture43Book6Plate, 855, 170},
    {kPicture50Book7Spine, 904, 132, kPicture46Book7Plate, 914, 142},
    {kPicture51Book8Spine, 945, 193, kPicture47Book8Plate, 955, 203},
    {kPicture49Book9Spine, 979, 223, kPicture48Book9Plate, 989, 233},
    {},  // book 10 lies at the bottom of the well: kPicture57Book10
    {kPicture58Book11Spine, 1803, -18, 0, 0, 0},
    {kPicture60Book12Spine, 1737, -172, 0, 0, 0},
    {kPicture59Book13Spine, 1440, 5, 0, 0, 0},
};
}  // namespace

void GameWindow::shelf_search(float x, float y) {
    GameState& s = s_;
    bool found = false;
    Rgb c = kNoColour;
    step([&] { c = picture8_collision_map().get(cint(x - 40 + s.scroll_x), cint(y + 360 + s.scroll_y)); });
    if (c == kShelf) {
        double mx = s.scroll_x + double(x) - 40;
        auto& b = s.book_state;
        auto book = [&](int n, double lo, double hi) {
            if (mx > lo && mx < hi && b[size_t(n)] == 0) { b[size_t(n)] = 1; found = true; }
        };
        if (mx > 117 && mx < 125) { b[1] = -1; found = true; }
        if (mx > 398 && mx < 433 && b[2] == 1) b[2] = 2;
        book(4, 466, 480);
        book(5, 338, 350);
        book(3, 34, 50);
        book(6, 835, 849);
        book(9, 979, 993);
        book(8, 945, 958);
        if (mx > 904 && mx < 917) { b[7] = -1; found = true; }
        if (mx > 1440 && mx < 1455 && b[13] == 0 && s.prof_x >= 1360 && s.prof_x < 1420) { b[13] = 1; found = true; }
        book(12, 1737, 1751);
        book(11, 1803, 1818);
        book(10, 1487, 1518);
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
        const BookLook& l = kLook[n];
        put(l.spine, 0, l.sx, l.sy);
        if (l.plate) put(l.plate, 0, l.px, l.py);
    };

    if (b[1] != 0) spine_and_plate(1);
    if (b[2] == 0) put(kPicture23Book2Flat, 0, 398, 171);
    else if (b[2] == 1 || b[2] == 2) put(kPicture23Book2Flat, 1, 398, 171);
    if (s.spider_state < 3) {
        ragno();
        if (s.spider_state == 1) return;
    }
    if (s.fall_state == 1) crolla();
    else if (s.fall_state >= 2) put(kPicture38CrumblingSteps, 3, 1004, -104);
    if (s.fall_state == 3) {
        step([&] {
            sprite(kPicture41Umbrella, cint(double(s.prof_x) - s.scroll_x), cint(double(s.prof_y) - s.scroll_y + 60));
        });
    }
    for (int n : {4, 5, 3, 6, 9, 8})
        if (b[size_t(n)] == 1) spine_and_plate(n);
    if (b[7] != 0) spine_and_plate(7);
    if (b[13] == 1) spine_and_plate(13);
    if (b[10] == 0) put(kPicture57Book10, 0, 1487, 360);
    else if (b[10] == 1) put(kPicture57Book10, 1, 1487, 360);
    if (b[12] == 1) spine_and_plate(12);
    if (b[11] == 1) spine_and_plate(11);
}

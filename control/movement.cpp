// Calcola_mov: one movement step a tick, read off single pixels of the
// collision map. Probe offsets: 116 rows below the professor's top for the
// floor in front of him, 121 for the edge under him, 110 for the walking
// marker, 111 for the shelf above; the map's row 0 is world row -400.
#include <algorithm>

#include "game/game_window.h"
#include "game/world_places.h"

namespace {
using world::kMapBlue, world::kMapLightGreen, world::kMapLightMagenta, world::kMapLightRed, world::kMapWhite;

int pixel_coord(double v) { return int(round_even(v)); }
}  // namespace

void GameWindow::Calcola_mov() {
    Trap trap(*this, "Form1_calcolamov");
    auto map = [&](double x, double y) { return picture8_collision_map().get(pixel_coord(x), pixel_coord(y)); };
    const double half_w = picture1_play_area().width() / 2.0, half_h = picture1_play_area().height() / 2.0;
    auto view_min = [&] { return std::min(0, picture1_play_area().height() - picture5_background().height()); };
    GameState& s = s_;

    s.on_steps = false;
    if (s.go_right) {
        if (s.fall_state == 0) s.fall_state = 1;
        Rgb c = map(s.prof_x + 14, s.prof_y + 516);
        if (c == kMapWhite) {
            s.prof_x += 5;
            if (map(s.prof_x + 14, s.prof_y + 510) == kMapLightMagenta && s.book_state[2] == 0) s.book_state[2] = 1;
            if (map(s.prof_x + 14, s.prof_y + 521) == kMapLightGreen) {
                step([&] { c_.fall_column = cint(s.prof_x + 14.0); });
                s.prof_x += 5;
                s.go_right = false;
                step([&] { sfx_play(snd_fall); });
                s.falling = true;
                if (s.fall_state == 1) s.fall_state = 2;
                else if (s.fall_state == 3) s.fall_state = 4;
                step([&] { sfx_play(snd_crash); });
            }
        } else if (c == kMapLightRed) {
            s.prof_x += 5;
            s.prof_y += 5;
            s.on_steps = true;
            step([&] {
                if (s.prof_y - double(s.scroll_y) > half_h) {
                    s.scroll_y += 5;
                    if (s.scroll_y > 0) s.scroll_y = 0;
                }
            });
        } else if (c == kMapBlue) {
            s.prof_x += 5;
            s.prof_y -= 5;
            s.on_steps = true;
        } else {
            s.go_right = false;
            step([&] { sfx_stop(snd_step); });
        }
        step([&] { if (s.prof_x - double(s.scroll_x) > half_w) s.scroll_x += 5; });
    } else if (s.go_left) {
        Rgb c = map(s.prof_x - 5, s.prof_y + 516);
        if (c == kMapWhite) {
            s.prof_x -= 5;
            if (map(s.prof_x - 5, s.prof_y + 510) == kMapLightMagenta && s.book_state[2] == 0) s.book_state[2] = 1;
            if (map(s.prof_x - 5, s.prof_y + 521) == kMapLightGreen) {
                step([&] { c_.fall_column = cint(s.prof_x - 5.0); });
                s.prof_x -= 5;
                s.go_left = false;
                step([&] { sfx_play(snd_fall); });
                s.falling = true;
            }
        } else if (c == kMapLightRed) {
            s.prof_x -= 5;
            s.prof_y += 5;
            s.on_steps = true;
        } else if (c == kMapBlue) {
            s.prof_x -= 5;
            s.prof_y -= 5;
            s.on_steps = true;
            step([&] {
                if (s.prof_y - double(s.scroll_y) < half_h) {
                    s.scroll_y -= 5;
                    if (s.scroll_y < view_min()) s.scroll_y = view_min();
                }
            });
        } else {
            s.go_left = false;
            step([&] { sfx_stop(snd_step); });
        }
        step([&] {
            if (s.prof_x - double(s.scroll_x) < half_w) {
                s.scroll_x -= 5;
                if (s.scroll_x < 0) s.scroll_x = 0;
            }
        });
    } else if (s.go_up) {
        if (s.fall_state == 5 || s.well_trapped) {
            s.go_up = false;
            step([&] { sfx_stop(snd_stairs); });
        } else if (map(s.prof_x, s.prof_y + 511) == kMapWhite) {
            s.prof_y -= 4;
        } else {
            s.go_up = false;
            step([&] { sfx_stop(snd_stairs); });
        }
        step([&] {
            if (s.go_up && s.prof_y - double(s.scroll_y) < half_h) {
                s.scroll_y -= 5;
                if (s.scroll_y < view_min()) s.scroll_y = view_min();
            }
        });
    } else if (s.go_down) {
        if (s.fall_state == 5) {
            s.go_down = false;
            step([&] { sfx_stop(snd_stairs); });
        } else if (map(s.prof_x, s.prof_y + 521) == kMapWhite) {
            s.prof_y += 4;
        } else {
            step([&] { sfx_stop(snd_stairs); });
            s.go_down = false;
        }
        step([&] {
            if (s.go_down && s.prof_y - double(s.scroll_y) > half_h) {
                s.scroll_y += 5;
                if (s.scroll_y > 0) s.scroll_y = 0;
            }
        });
    } else if (s.falling) {
        if (map(c_.fall_column, s.prof_y + 521) == kMapLightGreen) {
            step([&] { c_.fall_speed += (s.fall_state == 4) ? 1 : 5; });
            s.prof_y += float(int(c_.fall_speed));
        } else {
            c_.fall_speed = 0;
            s.prof_y -= 5;
            s.falling = false;
            if (s.fall_state == 2) {
                s.game_over = true;
                s.prof_y = 182;
            } else if (s.fall_state == 4) {
                s.prof_y = 182;
                s.fall_state = 5;
            }
        }
        step([&] {
            if (s.prof_y - double(s.scroll_y) > half_h) {
                s.scroll_y += int(c_.fall_speed);
                if (s.scroll_y > 0) s.scroll_y = 0;
            }
        });
    } else if (s.jump_right) {
        if (map(s.jump_target_x, s.prof_y + 516) != kMapWhite) {
            s.jump_right = false;
        } else {
            s.prof_x += 10;
            if (s.prof_x >= s.jump_target_x) {
                s.jump_right = false;
                if (map(s.jump_target_x, s.prof_y + 521) == kMapLightGreen) {
                    c_.fall_column = s.jump_target_x;
                    step([&] { sfx_play(snd_fall); });
                    s.falling = true;
                }
            }
        }
        step([&] { if (s.prof_x - double(s.scroll_x) > half_w) s.scroll_x += 20; });
    } else if (s.jump_left) {
        if (map(s.jump_target_x, s.prof_y + 516) != kMapWhite) {
            s.jump_left = false;
        } else {
            s.prof_x -= 10;
            if (s.prof_x <= s.jump_target_x) {
                s.jump_left = false;
                if (map(s.jump_target_x, s.prof_y + 521) == kMapLightGreen) {
                    c_.fall_column = s.jump_target_x;
                    step([&] { sfx_play(snd_fall); });
                    s.falling = true;
                }
            }
        }
        step([&] {
            if (s.prof_x - double(s.scroll_x) < half_w) {
                s.scroll_x -= 20;
                if (s.scroll_x < 0) s.scroll_x = 0;
            }
        });
    }

    // The jungle's ambience takes over from the tune right of the chasm's edge.
    if (s.jungle_stage == 1) {
        if (s.prof_x > 1859) {
            if (test([&] { return sfx_status(snd_jungle) != 1; })) {
                if (s.music_on) PlayMidi("");
                step([&] { sfx_loop(snd_jungle); });
            }
        } else {
            if (test([&] { return sfx_status(snd_jungle) == 5; })) {
                step([&] { sfx_stop(snd_jungle); });
                if (s.music_on) PlayMidi("intro3.mid");
            }
        }
    }
}

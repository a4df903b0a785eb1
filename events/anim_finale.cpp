// SPDX-License-Identifier: GPL-3.0-or-later
// The ending: the vine comes down, the yell, the closing tune, the swing
// away and the winning banner.
#include "game/game_window.h"

void GameWindow::anim_finale() {
    Trap trap(*this, "Form1_animfinale");
    GameState& s = s_;
    ProcedureCounters& c = c_;
    step([&] { c.finale_count += 1; });
    if (c.finale_count == 30) {
        step([&] { sfx_play(snd_tarzan); });
        step([&] { c.finale_count += 1; });
        c.finale_frame = 1;
    }
    if (c.finale_count >= 31 && c.finale_count < 40) c.finale_frame = c.finale_frame == 1 ? 2 : 1;
    if (c.finale_count >= 40) {
        c.finale_frame = 0;
        step([&] { c.swing += 20; });
    }
    if (c.finale_count <= 30) {
        step([&] { c.vine_drop += 10; });
        if (c.vine_drop > 150) c.vine_drop = 150;
    }
    const double px = double(s.prof_x) - s.scroll_x, py = double(s.prof_y) - s.scroll_y;
    if (c.finale_count <= 41) {
        step([&] { sprite(kPicture75Vine, cint(px + 60), Int16(Int16(-443 - s.scroll_y) + c.vine_drop)); });
        step([&] { draw_sprite(picture1_play_area(), cint(px), cint(py), P(kPicture73TarzanMask, c.finale_frame), P(kPicture74Tarzan, c.finale_frame)); });
    } else {
        if (c.finale_count == 42) {
            PlayMidi("symphony.mid");
            s.jungle_stage = 2;
        }
        step([&] {
            double top = double(Int16(Int16(-443 - s.scroll_y) + c.vine_drop)) + c.swing / 10.0;
            sprite(kPicture76TarzanOnVine, cint(px + c.swing), cint(top));
        });
    }
    if (c.swing > 400) {
        s.final_anim = false;
        s.game_over = true;
        step([&] { sfx_stop(snd_jungle); });
        step([&] { copy_to_play(P(kPicture77WonBanner), cint((picture1_play_area().width() - 245) / 2.0),
                                  cint((picture1_play_area().height() - 69) / 2.0)); });
        set_timer(false);
    }
    time_limit = 0;
}

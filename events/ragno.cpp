// The spider on the upper floor: it drops while the professor walks under
// it, catches him if it hangs low, and climbs away for good after the fly.
#include "game/game_window.h"
#include "game/world_places.h"

void GameWindow::ragno() {
    Trap trap(*this, "Form1_ragno");
    GameState& s = s_;
    ProcedureCounters& c = c_;
    if (s.prof_y > -200) return;
    if (!(s.prof_x >= 510 && s.prof_x <= 800)) {
        c.spider_y = -60;
        return;
    }
    const size_t i = size_t(int(c.spider_step));
    const int frame = i < s.walk_sequence.size() ? s.walk_sequence[i] - '0' : 0;
    step([&] { copy_to_play(P(kPicture33SpiderThread), Int16(Int16(world::kSpiderThreadX - s.scroll_x) + c.spider_dx), Int16(c.spider_y - 100)); });
    step([&] {
        draw_sprite(picture1_play_area(), Int16(Int16(world::kSpiderX - s.scroll_x) + c.spider_dx), c.spider_y, P(kPicture31SpiderMask, frame),
                    P(kPicture32Spider, frame));
    });
    step([&] { c.spider_y += s.spider_speed; });
    if (c.spider_y < -60) c.spider_y = -60;
    if (c.spider_y > 100) c.spider_y = 100;
    if (s.prof_x < 511) c.spider_y = -60;

    if (s.spider_state == 0) {
        if (s.prof_x > 650 && s.prof_x < 750 && c.spider_y > 80) {
            s.spider_state = 1;
            step([&] { s.spider_speed = -s.spider_speed; });
        }
    } else if (s.spider_state == 1) {
        step([&] { sprite(kPicture34ProfCaught, Int16(world::kSpiderCatchX - s.scroll_x), c.spider_y); });
        s.game_over = true;
        if (s.prof_y <= 6 || (s.prof_y >= 10 && s.prof_y <= 186)) ringhiere();
        step([&] { copy_to_play(P(kPicture35GameOverBanner), cint((picture1_play_area().width() - 200) / 2.0),
                                  cint((picture1_play_area().height() - 58) / 2.0)); });
        if (!c.spider_end_done) {
            step([&] { sfx_play(snd_end); });
            PlayMidi("");
            step([&] { sfx_stop(snd_step); });
            c.spider_end_done = true;
        }
        time_limit = 0;
        // The tick composes nothing more once the game is over: show the
        // scene straight on the window.
        blit(window_, 40, 40, picture1_play_area(), Rop::SrcCopy);
        platform_.present(window_);
    } else {
        s.spider_speed = -4;
        int r10 = 0, r5 = 0;
        step([&] { r10 = int_part(platform_.random_uniform() * 10); });
        step([&] { r5 = int_part(platform_.random_uniform() * 5); });
        step([&] { s.drag_x = s.drag_x - r10 + r5; });
        step([&] { s.drag_y = s.drag_y - r10 + r5; });
        step([&] { c.spider_dx = c.spider_dx - r5; });
        picture1_play_area().set(s.drag_x, s.drag_y, basic_colour(15));
        if (c.spider_y == -60) s.spider_state = 3;
    }
    step([&] {
        c.spider_step += 1;
        if (c.spider_step > 3) c.spider_step = 0;
    });
}

// The storm over the pot (pianta) and the magic bean plant growing (pianta2).
#include "game/game_window.h"
#include "game/world_places.h"

void GameWindow::pianta() {
    Trap trap(*this, "Form1_pianta");
    GameState& s = s_;
    ProcedureCounters& c = c_;
    if (s.plant_stage == 1) c.storm_time = platform_.clock_ms();
    if (s.plant_stage == 1) {
        if (c.storm_count == 0) step([&] { sfx_play(snd_thunder); });
        step([&] { c.storm_count += 4; });
        if (c.storm_count >= 20) {
            s.plant_stage = 2;
            c.storm_count = 10;
        }
    } else if (s.plant_stage == 2) {
        if (c.storm_count == 10) step([&] { sfx_play(snd_rain); });
        if (platform_.clock_ms() - c.storm_time >= 3000) {
            step([&] { sfx_stop(snd_rain); });
            s.plant_stage = 3;
            c.storm_count = 0;
        } else {
            step([&] { c.storm_count += 10; });
            if (c.storm_count >= 41) c.storm_count = 20;
        }
    }
    step([&] {
        if (s.plant_stage < 3)
            copy_to_play(P(kPicture56Storm, c.storm_count / 10), Int16(world::kStormPlace.x - s.scroll_x), Int16(world::kStormPlace.y - s.scroll_y));
    });
}

void GameWindow::pianta2() {
    Trap trap(*this, "Form1_pianta2");
    GameState& s = s_;
    ProcedureCounters& c = c_;
    if (s.plant_stage == 3) {
        if (c.grow_count == 0) step([&] { sfx_play(snd_grow); });
        step([&] { c.grow_count += 3; });
        if (c.grow_count > 29) {
            c.grow_count = 20;
            s.plant_stage = 4;
            s.fall_state = 6;
        }
    }
    step([&] {
        int frame = c.grow_count / 10;
        const Surface& m = P(kPicture52PlantMask, frame);
        int x = cint((world::kPlantFoot.x - s.scroll_x) - m.width() / 2.0);
        int y = cint((world::kPlantFoot.y - s.scroll_y) - double(m.height()));
        draw_sprite(picture1_play_area(), x, y, m, P(kPicture53Plant, frame));
    });
}

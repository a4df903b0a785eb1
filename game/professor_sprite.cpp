// Which picture of the professor this tick shows, and where.
#include "game/game_window.h"
#include "game/world_places.h"

void GameWindow::draw_professor(int walk_frame) {
    int n = 0;
    bool jump = false, flute = false;
    auto by_frame = [&](int f0, int f1, int f2) {
        n = walk_frame == 0 ? f0 : walk_frame == 1 ? f1 : walk_frame == 2 ? f2 : 0;
    };
    if (s_.go_right) {
        by_frame(kPicture2ProfStandingRight, s_.on_steps ? kPicture6ProfStepsRight1 : kPicture3ProfWalkingRight1,
                 s_.on_steps ? kPicture7ProfStepsRight2 : kPicture4ProfWalkingRight2);
    } else if (s_.go_left) {
        by_frame(kPicture11ProfStandingLeft, s_.on_steps ? kPicture17ProfStepsLeft1 : kPicture9ProfWalkingLeft1,
                 s_.on_steps ? kPicture18ProfStepsLeft2 : kPicture10ProfWalkingLeft2);
    } else if (s_.go_up || s_.go_down) {
        by_frame(kPicture16ProfFromBehind, kPicture13ProfClimbing1, kPicture14ProfClimbing2);
    } else if (s_.jump_right) {
        n = kPicture19ProfJumpingRight, jump = true;
    } else if (s_.jump_left) {
        n = kPicture20ProfJumpingLeft, jump = true;
    } else if (s_.rope_stage == 2) {
        n = kPicture68ProfFlute, flute = true;
    } else if (s_.facing == 1 && s_.fall_state != 4) {
        n = kPicture2ProfStandingRight;
    } else if (s_.facing == 0) {
        n = kPicture11ProfStandingLeft;
    } else if (s_.fall_state == 4) {
        n = kPicture42ProfUmbrella;
    } else {
        n = kPicture16ProfFromBehind;
    }
    if (n == 0) return;
    if (flute) {
        sprite(n, Int16(world::kFlutePlayerPlace.x - s_.scroll_x), Int16(world::kFlutePlayerPlace.y - s_.scroll_y));
        return;
    }
    int x = cint(double(s_.prof_x) - s_.scroll_x);
    int y = cint(double(s_.prof_y) - (jump ? 8 : 0) - s_.scroll_y);
    sprite(n, x, y);
}

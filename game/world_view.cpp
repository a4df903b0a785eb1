// The visible 400 x 400 window of the world, and the objects the player has
// put into the world, each at its fixed place. The tick calls them in its
// order, between the events that animate the same places (pianta, pianta2,
// corda); they have no trap of their own and report under the tick's.
#include "game/game_window.h"
#include "game/world_places.h"

void GameWindow::draw_background() {
    const Surface& background = picture5_background();
    blit(picture1_play_area(), 0, 0, 400, 400, background, s_.scroll_x, background.height() - 400 + s_.scroll_y, Rop::SrcCopy);
}

// Drawn while the vase is placed: the fork first, so that the vase covers its
// lower part; the cloud above them until the storm is over.
void GameWindow::draw_fork_vase_and_cloud() {
    step([&] {
        if (s_.fork_placed && s_.plant_stage < 4)
            sprite(kPicture55Fork, Int16(world::kForkPlace.x - s_.scroll_x), Int16(world::kForkPlace.y - s_.scroll_y));
    });
    step([&] { sprite(kPicture39Vase, Int16(world::kVasePlace.x - s_.scroll_x), Int16(world::kVasePlace.y - s_.scroll_y)); });
    step([&] {
        if (s_.cloud_placed && s_.plant_stage < 3)
            sprite(kPicture54Cloud, Int16(world::kCloudPlace.x - s_.scroll_x), Int16(world::kCloudPlace.y - s_.scroll_y));
    });
}

// The full-grown plant, its foot centred on the plant's place.
void GameWindow::draw_grown_plant() {
    step([&] {
        if (s_.plant_stage == 4) {
            const Surface& m = P(kPicture52PlantMask, 2);
            draw_sprite(picture1_play_area(), cint((world::kPlantFoot.x - s_.scroll_x) - m.width() / 2.0),
                        cint((world::kPlantFoot.y - s_.scroll_y) - double(m.height())), m, P(kPicture53Plant, 2));
        }
    });
}

// The seed is one bright green pixel in the vase until the plant grows.
void GameWindow::draw_seed() {
    step([&] {
        if (s_.seed_placed && s_.plant_stage < 3)
            picture1_play_area().set(Int16(world::kSeedPlace.x - s_.scroll_x), Int16(world::kSeedPlace.y - s_.scroll_y), basic_colour(10));
    });
}

void GameWindow::draw_coiled_rope() {
    step([&] {
        if (s_.rope_stage == 1) sprite(kPicture67CoiledRope, Int16(world::kCoiledRopePlace.x - s_.scroll_x), Int16(world::kCoiledRopePlace.y - s_.scroll_y));
    });
}

// The risen rope, standing on the deep well's floor.
void GameWindow::draw_risen_rope() {
    step([&] {
        if (s_.rope_stage == 3) {
            const Surface& m = P(kPicture70RisingRopeMask, 2);
            draw_sprite(picture1_play_area(), Int16(world::kRisingRopeX - s_.scroll_x), cint((world::kRisingRopeFootY - s_.scroll_y) - double(m.height())), m,
                        P(kPicture69RisingRope, 2));
        }
    });
}

// The railings drawn again in front of the professor on the floors that have them.
#include "game/game_window.h"
#include "game/world_places.h"

void GameWindow::ringhiere() {
    Trap trap(*this, "Form1_ringhiere");
    const float x = s_.prof_x, y = s_.prof_y;
    // Which railing stands in front of him depends on where he is; none
    // when he is between the floors.
    world::RailingPlace r{0, 0, 0};
    if (x <= 280 || x >= 1500) {
        if (y > -225 && y < -54) r = world::kRailingLibraryGallery;
        if (y < -228) r = world::kRailingUpperGallery;
    } else {
        if (y > 10 && y < 186) r = world::kRailingGalleryA;
        if (y > -163 && y < 7) r = world::kRailingGalleryB;
        if (y < -178) r = world::kRailingSpiderFloor;
    }
    const Surface& mask = P(kPicture15Railing, 0);
    const Surface& image = P(kPicture15Railing, 1);
    const int rx = r.x, ry = r.y, w = r.width == world::kWholeRailing ? mask.width() : r.width;
    step([&] {
        int px = Int16(rx - s_.scroll_x), py = Int16(ry - s_.scroll_y);
        blit(picture1_play_area(), px, py, w, mask.height(), mask, 0, 0, Rop::SrcAnd);
        blit(picture1_play_area(), px, py, w, image.height(), image, 0, 0, Rop::SrcInvert);
    });
}

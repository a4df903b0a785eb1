// lexovo-world-views OUT_DIR
//
// Pictures of the world for looking at it as a player would: for each place
// of the route, the 400 x 400 view the game shows there (the view position
// the route's replay reports) with the professor standing where he stands,
// the railing or forest the game draws over him, and beside it the same
// window of the collision map. Also the whole world with the map laid
// over it at half strength. Nothing here is part of the game.
#include <cstdio>
#include <string>

#include "datagen/pictures/objects.h"
#include "datagen/pictures/painter.h"
#include "datagen/world/world_painters.h"
#include "datagen/world/world_plan.h"
#include "core/png_write.h"

namespace {

struct View {
    const char* name;
    int scroll_x, scroll_y, prof_x, prof_y, picture;
};

// View positions as the route's replay reports them at these places.
const View kViews[] = {
    {"01-start", 0, 0, -10, 168, 2},          {"02-first-ladder", 80, -120, 280, 120, 13},
    {"03-gallery-a", 260, -120, 460, 72, 2},  {"04-gallery-b", 260, -310, 460, -108, 11},
    {"05-spider-floor", 300, -400, 500, -292, 2}, {"06-stair-top", 710, -400, 910, -292, 2},
    {"07-crumbling", 790, -400, 985, -227, 6}, {"08-vault", 790, -70, 995, 182, 16},
    {"09-plant-top", 790, -400, 995, -210, 16}, {"10-first-well", 1085, -145, 1290, 55, 2},
    {"11-between-wells", 1185, -145, 1380, 55, 2}, {"12-library", 1460, -145, 1660, 55, 16},
    {"13-library-gallery", 1460, -370, 1660, -169, 2}, {"14-deep-well", 1295, 0, 1490, 275, 11},
    {"15-rope-top", 1285, -145, 1480, 55, 16}, {"16-rim", 1690, -145, 1890, 55, 2},
};

Surface window(const Surface& world, int sx, int sy) {
    Surface v(400, 400);
    blit(v, 0, 0, 400, 400, world, sx, sy + world.height() - 400, Rop::SrcCopy);
    return v;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: lexovo-world-views OUT_DIR\n");
        return 2;
    }
    const std::string out = argv[1];
    Surface back = world::paint_background();
    Surface map = world::paint_collision_map();
    auto forest = world::paint_forest();
    PictureMap pics;
    paint_character_pictures(pics);
    paint_world_pictures(pics);
    for (const View& v : kViews) {
        Surface w = window(back, v.scroll_x, v.scroll_y);
        std::string n = std::to_string(v.picture);
        if (std::string(v.name) == "16-rim")
            blit(w, world::kForestPlace.x - v.scroll_x, world::kForestPlace.y - v.scroll_y, forest[0], Rop::SrcCopy);
        draw_sprite(w, v.prof_x - v.scroll_x, v.prof_y - v.scroll_y, pics["Picture" + n + "_0"],
                    pics["Picture" + n + "_1"]);
        Surface pair(810, 400, rgb(40, 40, 40));
        blit(pair, 0, 0, w, Rop::SrcCopy);
        blit(pair, 410, 0, window(map, v.scroll_x, v.scroll_y), Rop::SrcCopy);
        // The professor's box on the map side.
        for (int i = 0; i < 80; ++i) {
            pair.set(410 + v.prof_x - v.scroll_x + i, v.prof_y - v.scroll_y + 119, rgb(255, 200, 0));
        }
        write_png(pair, out + "/" + v.name + ".png");
    }
    Surface blend(back.width(), back.height());
    for (int y = 0; y < back.height(); ++y)
        for (int x = 0; x < back.width(); ++x) {
            Rgb a = back.get(x, y), b = map.get(x, y);
            if (b == world::kMapBlack) {
                blend.set(x, y, a);
                continue;
            }
            auto ch = [&](int s) { return (((a >> s) & 255) + ((b >> s) & 255)) / 2; };
            blend.set(x, y, rgb(int(ch(16)), int(ch(8)), int(ch(0))));
        }
    write_png(blend, out + "/world-with-map.png");
    write_png(back, out + "/world.png");
    return 0;
}

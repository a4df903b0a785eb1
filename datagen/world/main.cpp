// SPDX-License-Identifier: GPL-3.0-or-later
// lexovo-art-world DATA_DIR [--views DIR]
//
// Paints the world: DATA_DIR/gameb2.bmp (the background), gamemap1.bmp
// (the collision map, 8-bit, only the rule colours), j1.bmp ... j3.bmp (the
// forest over the chasm, 24-bit). With --views, also writes PNG views of
// the world and of the map for looking at them.
#include <cstdio>
#include <string>

#include "datagen/world/world_painters.h"
#include "datagen/world/world_plan.h"
#include "core/bmp_load.h"
#include "core/png_write.h"

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: lexovo-art-world DATA_DIR [--views DIR]\n");
        return 2;
    }
    const std::string dir = argv[1];
    std::string views;
    if (argc >= 4 && std::string(argv[2]) == "--views") views = argv[3];

    Surface map = world::paint_collision_map();
    if (!save_bmp8(map, dir + "/gamemap1.bmp")) {
        std::fprintf(stderr, "lexovo-art-world: cannot write %s/gamemap1.bmp\n", dir.c_str());
        return 1;
    }
    Surface back = world::paint_background();
    if (!save_bmp24(back, dir + "/gameb2.bmp")) {
        std::fprintf(stderr, "lexovo-art-world: cannot write %s/gameb2.bmp\n", dir.c_str());
        return 1;
    }
    auto forest = world::paint_forest();
    for (int i = 0; i < 3; ++i) {
        std::string name = dir + "/j" + std::to_string(i + 1) + ".bmp";
        if (!save_bmp24(forest[size_t(i)], name)) {
            std::fprintf(stderr, "lexovo-art-world: cannot write %s\n", name.c_str());
            return 1;
        }
    }
    if (!views.empty()) {
        write_png(back, views + "/world.png");
        write_png(map, views + "/map.png");
        for (int i = 0; i < 3; ++i) write_png(forest[size_t(i)], views + "/j" + std::to_string(i + 1) + ".png");
    }
    return 0;
}

// SPDX-License-Identifier: GPL-3.0-or-later
#include "items/item_sprites.h"

#include "game/picture_catalogue.h"

namespace {
const ItemSprite kItems[] = {
    {"mosca", kPicture37Fly, 15},          {"vaso", kPicture39Vase, 5},
    {"ombrello", kPicture41Umbrella, 5},   {"seme", kPicture44Seed, 5},
    {"nuvola", kPicture54Cloud, 15},       {"forchetta", kPicture55Fork, 5},
    {"tarzan", kPicture65TarzanCostume, 5}, {"flauto", kPicture66Flute, 5},
    {"corda", kPicture67CoiledRope, 5},    {"libro", kPicture71JungleBook, 5},
};
}

const ItemSprite* find_item_sprite(const std::string& name) {
    for (const ItemSprite& it : kItems)
        if (name == it.name) return &it;
    return nullptr;
}

#include "items/item_sprites.h"

namespace {
const ItemSprite kItems[] = {
    {"mosca", 37, 15},    {"vaso", 39, 5},   {"ombrello", 41, 5}, {"seme", 44, 5},  {"nuvola", 54, 15},
    {"forchetta", 55, 5}, {"tarzan", 65, 5}, {"flauto", 66, 5},   {"corda", 67, 5}, {"libro", 71, 5},
};
}

const ItemSprite* find_item_sprite(const std::string& name) {
    for (const ItemSprite& it : kItems)
        if (name == it.name) return &it;
    return nullptr;
}

// SPDX-License-Identifier: GPL-3.0-or-later
// The item sprite table: which picture shows each object in the bar and
// under the pointer, and how far down the bar it sits.
#pragma once
#include <string>

struct ItemSprite {
    const char* name;
    int picture;
    int top;
};

// nullptr for a name that is not an object ("" included).
const ItemSprite* find_item_sprite(const std::string& name);

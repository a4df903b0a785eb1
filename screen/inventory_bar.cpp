// SPDX-License-Identifier: GPL-3.0-or-later
// The inventory bar, rebuilt every tick, and the object held under the pointer.
#include "game/game_window.h"
#include "items/item_sprites.h"

void GameWindow::draw_bar() {
    Surface& bar = picture40_bar();
    blit(bar, 0, 0, picture12_bar_background(), Rop::SrcCopy);
    for (int i = 0; i <= s_.inventory_last; ++i) {
        if (i == s_.dragged_slot) continue;
        const ItemSprite* it = find_item_sprite(inventory_slot(i));
        if (!it) continue;
        const Surface& mask = P(it->picture, 0);
        int left = cint(100.0 * i + 50 - mask.width() / 2.0);
        draw_sprite(bar, left, it->top, mask, P(it->picture, 1));
    }
}

void GameWindow::draw_dragged() {
    const ItemSprite* it = find_item_sprite(s_.dragged_item);
    if (!it) return;
    draw_sprite(window_, s_.drag_x, s_.drag_y, P(it->picture, 0), P(it->picture, 1));
}

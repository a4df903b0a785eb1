// SPDX-License-Identifier: GPL-3.0-or-later
// The object painters, each in the picture's own coordinates (its catalogue
// size), so the book pages can draw the same object larger by scaling.
#pragma once
#include <cairo.h>

#include "datagen/pictures/painter.h"

void draw_fly(cairo_t* cr);            // 61 x 29
void draw_pot(cairo_t* cr);            // 53 x 47
void draw_umbrella(cairo_t* cr);       // 65 x 46
void draw_seed(cairo_t* cr);           // 50 x 49
void draw_cloud(cairo_t* cr);          // 64 x 21
void draw_fork(cairo_t* cr);           // 34 x 50
void draw_leopard_skin(cairo_t* cr);   // 31 x 48
void draw_flute(cairo_t* cr);          // 43 x 48
void draw_rope_coil(cairo_t* cr);      // 50 x 46
void draw_jungle_book(cairo_t* cr);    // 43 x 48
// The bean plant and the charmed rope, painted into a w x h box with the
// foot at the bottom centre.
void draw_bean_plant(cairo_t* cr, double w, double h);
void draw_rising_rope(cairo_t* cr, double w, double h);
// One loop of a rope's coil seen a little from above, as a path (the back
// half, or the front) round (cx, cy) with radii rx, ry.
void coil_half(cairo_t* cr, double cx, double cy, double rx, double ry, bool front);
// The one look of a book the pointer has found, inside the picture's own
// size: a pale bright edge, a gold one inside it, and the book itself lit
// up warm, so that it stands out from its dark shelf at a glance.
void light_found_book(Surface& s);

// The pictures of the world's events (objects_world.cpp) and of the frame,
// bar, books, plates, banners and pointers (ui.cpp).
void paint_world_pictures(PictureMap& out);
void paint_ui_pictures(PictureMap& out);

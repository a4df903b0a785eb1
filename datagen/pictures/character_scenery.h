// SPDX-License-Identifier: GPL-3.0-or-later
// What the professor holds on to: the open umbrella he floats down under
// and the jungle vine he swings off on.
#pragma once
#include <cairo.h>

#include <functional>

#include "datagen/pictures/character_figure.h"

namespace professor {

// An open umbrella seen from the side, canopy centred on x = cx at the top
// of the picture, its shaft running down to `grip` where the crook begins.
void paint_open_umbrella(cairo_t* cr, double cx, Pt grip);

// A hanging liana from row y0 to row y1; centre_at(y) is the stem's column
// at row y; seed varies the leaves.
void paint_vine(cairo_t* cr, const std::function<double(double)>& centre_at, double y0, double y1,
                unsigned seed);

}  // namespace professor

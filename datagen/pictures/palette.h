// SPDX-License-Identifier: GPL-3.0-or-later
// Reduces a painted picture to the colours of one 8-bit palette.
#pragma once
#include "core/surface.h"

// Returns the picture with at most max_colours distinct colours. Pure black,
// pure white and pure magenta are kept exactly where they occur (they are
// the transparent and mask colours of the game) and no other colour is ever
// turned into one of them. A picture that already fits is returned as it is.
// The palette is chosen by median cut, refined by a few rounds of k-means.
Surface quantise(const Surface& s, int max_colours = 256);

// The number of distinct colours in a picture.
int count_colours(const Surface& s);

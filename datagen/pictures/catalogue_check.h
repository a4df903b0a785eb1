// SPDX-License-Identifier: GPL-3.0-or-later
// The generator's guard: the painted pictures against the catalogue.
#pragma once
#include <string>

#include "game/picture_catalogue.h"
#include "datagen/pictures/painter.h"

// Empty when every catalogue entry is painted at its exact size, nothing
// else is painted, masks hold only pure black and white, images are pure
// black wherever their mask is white, and icons have a transparent (pure
// magenta) surround; otherwise what is wrong, naming the picture.
std::string check_pictures(const PictureMap& pictures);

// The catalogue entry of that name, or nullptr.
const PictureEntry* find_catalogue_entry(const std::string& name);

// SPDX-License-Identifier: GPL-3.0-or-later
// The picture painters share this: each adds its finished pictures to a
// map by catalogue name; the generator checks them against the catalogue
// and writes the files.
#pragma once
#include <cairo.h>

#include <map>
#include <string>

#include "core/surface.h"
#include "datagen/paint/brush.h"

using PictureMap = std::map<std::string, Surface>;

// characters.cpp and friends: every professor picture (standing, walking,
// on steps, climbing, jumping, front, flute, umbrella, dazed, Tarzan
// costume, on the vine) and the vine itself.
void paint_character_pictures(PictureMap& out);
// Everything else of the catalogue: objects, spider, plant, rope, storm,
// steps, railing, spines, plates, banners, bar, frame, icons.
void paint_object_pictures(PictureMap& out);
// The thirteen book pages lib1.bmp … lib13.bmp (400 x 400) into outdir.
void paint_book_pages(const std::string& outdir);

// --- the stored pictures' sprites (sprite_util.cpp) -----------------------
// Splits a painted canvas into the mask (black where alpha >= 50 %, pure
// white elsewhere) and the image (the colour, composited over `edge` where
// the paint is partly transparent, pure black where the mask is white).
void add_sprite(PictureMap& out, const std::string& mask_name, const std::string& image_name,
                cairo_surface_t* canvas, Rgb edge = rgb(24, 16, 12));
// A canvas of w x h painted by fn(cairo_t*) and split into a mask and image pair.
template <class Fn>
void sprite(PictureMap& out, const std::string& mask, const std::string& image, int w, int h, Fn fn) {
    cairo_surface_t* c = painted(w, h, fn);
    add_sprite(out, mask, image, c);
    cairo_surface_destroy(c);
}

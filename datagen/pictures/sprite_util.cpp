// SPDX-License-Identifier: GPL-3.0-or-later
#include <cairo.h>

#include "datagen/pictures/painter.h"

void add_sprite(PictureMap& out, const std::string& mask_name, const std::string& image_name,
                cairo_surface_t* canvas, Rgb edge) {
    const CanvasPixels px = canvas_pixels(canvas);
    Surface mask(px.width, px.height, rgb(255, 255, 255)), image(px.width, px.height, 0);
    for (int y = 0; y < px.height; ++y) {
        const uint32_t* row = px.row(y);
        for (int x = 0; x < px.width; ++x) {
            uint32_t p = row[x];
            if ((p >> 24) >= 128) {
                mask.set(x, y, 0);
                image.set(x, y, over(p, edge));
            }
        }
    }
    out[mask_name] = std::move(mask);
    out[image_name] = std::move(image);
}

#include <cairo.h>

#include "datagen/pictures/painter.h"

cairo_surface_t* new_canvas(int w, int h) {
    return cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
}

namespace {
// cairo's ARGB32 is premultiplied; returns the straight colour over `under`.
Rgb over(uint32_t argb, Rgb under) {
    int a = int(argb >> 24);
    int r = int((argb >> 16) & 255), g = int((argb >> 8) & 255), b = int(argb & 255);
    int ur = int((under >> 16) & 255), ug = int((under >> 8) & 255), ub = int(under & 255);
    r += ur * (255 - a) / 255;
    g += ug * (255 - a) / 255;
    b += ub * (255 - a) / 255;
    return rgb(r > 255 ? 255 : r, g > 255 ? 255 : g, b > 255 ? 255 : b);
}
}  // namespace

void add_sprite(PictureMap& out, const std::string& mask_name, const std::string& image_name,
                cairo_surface_t* canvas, Rgb edge) {
    cairo_surface_flush(canvas);
    int w = cairo_image_surface_get_width(canvas), h = cairo_image_surface_get_height(canvas);
    int stride = cairo_image_surface_get_stride(canvas);
    const unsigned char* data = cairo_image_surface_get_data(canvas);
    Surface mask(w, h, rgb(255, 255, 255)), image(w, h, 0);
    for (int y = 0; y < h; ++y) {
        auto* row = reinterpret_cast<const uint32_t*>(data + y * stride);
        for (int x = 0; x < w; ++x) {
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

Surface flatten(cairo_surface_t* canvas, Rgb background) {
    cairo_surface_flush(canvas);
    int w = cairo_image_surface_get_width(canvas), h = cairo_image_surface_get_height(canvas);
    int stride = cairo_image_surface_get_stride(canvas);
    const unsigned char* data = cairo_image_surface_get_data(canvas);
    Surface s(w, h);
    for (int y = 0; y < h; ++y) {
        auto* row = reinterpret_cast<const uint32_t*>(data + y * stride);
        for (int x = 0; x < w; ++x) s.set(x, y, over(row[x], background));
    }
    return s;
}

// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/surface.h"

#include <algorithm>
#include <cstring>

Rgb basic_colour(int index) {
    static const Rgb table[16] = {
        rgb(0, 0, 0),       rgb(128, 0, 0),   rgb(0, 128, 0),   rgb(128, 128, 0),
        rgb(0, 0, 128),     rgb(128, 0, 128), rgb(0, 128, 128), rgb(192, 192, 192),
        rgb(128, 128, 128), rgb(255, 0, 0),   rgb(0, 255, 0),   rgb(255, 255, 0),
        rgb(0, 0, 255),     rgb(255, 0, 255), rgb(0, 255, 255), rgb(255, 255, 255),
    };
    return table[index & 15];
}

// The pixels first: when memory runs out the surface stays as it was, never
// a size without the pixels to match.
void Surface::resize(int w, int h, Rgb fill) {
    w = std::max(0, w);
    h = std::max(0, h);
    px_.assign(size_t(w) * size_t(h), fill);
    w_ = w;
    h_ = h;
}

void blit(Surface& dst, int dx, int dy, int w, int h, const Surface& src, int sx, int sy, Rop rop) {
    // Clip against the source, then against the destination, moving both
    // rectangles together.
    if (sx < 0) { dx -= sx; w += sx; sx = 0; }
    if (sy < 0) { dy -= sy; h += sy; sy = 0; }
    w = std::min(w, src.width() - sx);
    h = std::min(h, src.height() - sy);
    if (dx < 0) { sx -= dx; w += dx; dx = 0; }
    if (dy < 0) { sy -= dy; h += dy; dy = 0; }
    w = std::min(w, dst.width() - dx);
    h = std::min(h, dst.height() - dy);
    if (w <= 0 || h <= 0) return;
    for (int y = 0; y < h; ++y) {
        const Rgb* s = src.row(sy + y) + sx;
        Rgb* d = dst.row(dy + y) + dx;
        switch (rop) {
        case Rop::SrcCopy:
            std::memcpy(d, s, size_t(w) * sizeof(Rgb));
            break;
        case Rop::SrcAnd:
            for (int x = 0; x < w; ++x) d[x] &= s[x];
            break;
        case Rop::SrcInvert:
            for (int x = 0; x < w; ++x) d[x] ^= s[x];
            break;
        }
    }
}

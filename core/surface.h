// SPDX-License-Identifier: GPL-3.0-or-later
// Picture surfaces: a rectangle of 24-bit colours and the block transfer
// with the three raster operations the game uses.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

using Rgb = uint32_t;  // 0x00RRGGBB

constexpr Rgb rgb(int r, int g, int b) { return (Rgb(r) << 16) | (Rgb(g) << 8) | Rgb(b); }
constexpr Rgb kNoColour = 0xFF000000u;  // what a point outside a surface reads as

enum class Rop : uint32_t {
    SrcCopy = 0x00CC0020,
    SrcAnd = 0x008800C6,
    SrcInvert = 0x00660046,
};

// The sixteen basic colours of the palette the game sets single pixels with.
Rgb basic_colour(int index);

class Surface {
public:
    Surface() = default;
    Surface(int w, int h, Rgb fill = 0) { resize(w, h, fill); }

    int width() const { return w_; }
    int height() const { return h_; }
    bool empty() const { return w_ == 0 || h_ == 0; }

    // Keeps nothing of the old contents: the new surface is filled.
    void resize(int w, int h, Rgb fill = 0);
    Rgb get(int x, int y) const {
        if (x < 0 || y < 0 || x >= w_ || y >= h_) return kNoColour;
        return px_[size_t(y) * size_t(w_) + size_t(x)];
    }
    void set(int x, int y, Rgb c) {
        if (x < 0 || y < 0 || x >= w_ || y >= h_) return;
        px_[size_t(y) * size_t(w_) + size_t(x)] = c;
    }
    const Rgb* row(int y) const { return px_.data() + size_t(y) * size_t(w_); }
    Rgb* row(int y) { return px_.data() + size_t(y) * size_t(w_); }
    const std::vector<Rgb>& pixels() const { return px_; }

    bool operator==(const Surface& o) const { return w_ == o.w_ && h_ == o.h_ && px_ == o.px_; }

private:
    // The pixels first: a copy that runs out of memory then fails before the
    // size changes, and the surface stays whole.
    std::vector<Rgb> px_;
    int w_ = 0, h_ = 0;
};

// Combines the source rectangle (sx, sy, w, h) into the destination at
// (dx, dy). Whatever falls outside either surface is dropped.
void blit(Surface& dst, int dx, int dy, int w, int h, const Surface& src, int sx, int sy, Rop rop);

// The whole source at (dx, dy).
inline void blit(Surface& dst, int dx, int dy, const Surface& src, Rop rop) {
    blit(dst, dx, dy, src.width(), src.height(), src, 0, 0, rop);
}

// The transparent sprite pair: mask with AND, then image with XOR.
inline void draw_sprite(Surface& dst, int x, int y, const Surface& mask, const Surface& image) {
    blit(dst, x, y, mask.width(), mask.height(), mask, 0, 0, Rop::SrcAnd);
    blit(dst, x, y, image.width(), image.height(), image, 0, 0, Rop::SrcInvert);
}

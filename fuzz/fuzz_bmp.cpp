// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzz target: any bytes as a bitmap file, through the loader the game uses
// for its pictures (core's own decoder, every header, depth, palette, RLE and
// bitfields path of it), and the surface that comes out through every kind of
// block transfer the game makes with it (copy, mask AND, image XOR), at the
// corners and edges of a play area, where the clipping is.
//
// No header is skipped: one that declares a picture larger than the game can
// use must be refused (481) before anything is made. The runs go under
// libFuzzer's memory limits (tests/fuzz: -malloc_limit_mb=40, above the
// 16 MiB that the largest picture's surface and rows each take), so a
// header that still asks for more is a finding.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "core/bmp_decode.h"
#include "core/bmp_load.h"
#include "core/runtime_error.h"
#include "core/surface.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Surface pic;
    try {
        pic = load_bmp_memory(data, size);
    } catch (const RuntimeError& e) {
        if (e.number != 481) std::abort();  // the loader knows one failure only
        return 0;
    }
    if (pic.width() <= 0 || pic.height() <= 0) std::abort();  // no empty pictures
    if (pic.width() > kMaxPictureSide || pic.height() > kMaxPictureSide ||
        int64_t(pic.width()) * pic.height() > kMaxPicturePixels)
        std::abort();  // nothing larger than the game can use
    if (pic.pixels().size() != size_t(pic.width()) * size_t(pic.height())) std::abort();
    for (Rgb c : pic.pixels())
        if (c & 0xFF000000u) std::abort();  // colours only, no alpha

    Surface play(400, 400, rgb(200, 180, 160));
    const int w = pic.width(), h = pic.height();
    const int spots[][2] = {{0, 0}, {-w / 2, -h / 2}, {400 - w / 2, 400 - h / 2}, {399, 0}, {-w + 1, 399}, {150, 150}};
    for (const auto& p : spots) {
        blit(play, p[0], p[1], pic, Rop::SrcCopy);
        draw_sprite(play, p[0], p[1], pic, pic);
    }
    // The picture as the destination too (the bar and the frame are drawn into).
    blit(pic, 10, 10, play, Rop::SrcCopy);
    blit(pic, -5, -5, 30, 30, play, 390, 390, Rop::SrcAnd);
    // A part of the picture by its own rectangle, as the background is used.
    blit(play, 0, 0, 400, 400, pic, w - 400, h - 400, Rop::SrcInvert);
    return 0;
}

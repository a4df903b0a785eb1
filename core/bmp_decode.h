// SPDX-License-Identifier: GPL-3.0-or-later
// Bitmap files decoded by our own code, with no toolkit.
//
// It reads exactly what SDL 2.26's loader reads (through which the game
// loaded its pictures before) and gives the same colours: 1, 2, 4 and 8-bit
// palettised, RLE8 and RLE4, 12, 15, 16, 24 and 32-bit, with the masks of a
// bitfields header (alpha mask too), bottom-up and top-down, the OS/2 core
// header and every Windows info header from 40 bytes up; and it refuses what
// SDL refuses, and any picture larger than the game can use (below). It also
// refuses what SDL would show wrongly:
//   - a picture whose byte size (rows x row length) passes 2^31 - 1, which
//     SDL's arithmetic wraps into a black or a partial picture;
//   - a compression other than none, RLE8, RLE4 and bitfields (JPEG, PNG,
//     alpha-bitfields, CMYK...), whose data SDL would show as raw pixels, and
//     bitfields in an OS/2 2.x header, where that number means Huffman coding;
//   - RLE8 data in a picture that is not 8-bit, RLE4 data in one that is not
//     4-bit, which SDL would write into pixels of another size;
//   - RLE data that moves a row's column past 2^31 - 1 (an int overflow in SDL).
#pragma once
#include <cstddef>
#include <cstdint>

#include "core/surface.h"

// The largest picture the game can use, and the one place that says so: at
// most 4096 pixels a side and 4 Mi pixels in all (the world is 2200 x 800,
// a page 400 x 400). A larger header is refused before anything is made, so
// a few bytes can never ask for gigabytes; at its largest a picture takes
// 16 MiB as a surface, and its file is read only up to kMaxPictureFileBytes.
constexpr int64_t kMaxPictureSide = 4096;
constexpr int64_t kMaxPicturePixels = int64_t(4) << 20;
constexpr size_t kMaxPictureFileBytes = size_t(32) << 20;

// The picture in a whole bitmap file held in memory, as 0x00RRGGBB colours.
// Throws RuntimeError 481 when it is not a picture we can read or is larger
// than the limits above; std::bad_alloc when memory runs out while it is made.
Surface decode_bmp(const uint8_t* data, size_t size);

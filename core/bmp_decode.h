// SPDX-License-Identifier: GPL-3.0-or-later
// Bitmap files decoded by our own code, with no toolkit.
//
// It reads exactly what SDL 2.26's loader reads (through which the game
// loaded its pictures before) and gives the same colours: 1, 2, 4 and 8-bit
// palettised, RLE8 and RLE4, 12, 15, 16, 24 and 32-bit, with the masks of a
// bitfields header (alpha mask too), bottom-up and top-down, the OS/2 core
// header and every Windows info header from 40 bytes up; and it refuses what
// SDL refuses. It also refuses what SDL would show wrongly:
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

// The picture in a whole bitmap file held in memory, as 0x00RRGGBB colours.
// Throws RuntimeError 481 when it is not a picture we can read.
Surface decode_bmp(const uint8_t* data, size_t size);

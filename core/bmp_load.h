// SPDX-License-Identifier: GPL-3.0-or-later
// Bitmap files into surfaces (every kind core/bmp_decode.h reads), and out of
// them (8-bit palettised and 24-bit, colours exact).
#pragma once
#include <cstddef>
#include <string>
#include "core/surface.h"

// Throws RuntimeError 53 when the path names no regular file (missing, a
// folder, a FIFO, a device), 481 when it is not a picture we can read or is
// larger than the game can use (core/bmp_decode.h).
Surface load_bmp_file(const std::string& path);
Surface load_bmp_memory(const void* data, size_t size);

// Writes a 24-bit BMP (used by the data generators and the tests).
bool save_bmp24(const Surface& s, const std::string& path);
// Writes an 8-bit palettised BMP; fails if the surface has more than 256 colours.
bool save_bmp8(const Surface& s, const std::string& path);

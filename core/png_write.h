// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <string>
#include "core/surface.h"

// Writes the surface as an 8-bit RGB PNG; false when the file cannot be written.
bool write_png(const Surface& s, const std::string& path);
// Reads an RGB(A) PNG written by write_png or another tool; empty on failure.
Surface read_png(const std::string& path);

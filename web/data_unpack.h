// SPDX-License-Identifier: GPL-3.0-or-later
// The browser's side of web/data_pack.h: one downloaded file back into the
// data file the game reads.
#pragma once
#include <cstddef>
#include <string>

// Writes the data file at `path` from the packed bytes (their kind by the
// packed name's ending). False when they cannot be unpacked: nothing is
// written then, and the game finds the file missing.
bool unpack_data_file(const unsigned char* bytes, size_t size, const std::string& packed_name,
                      const std::string& path);

// SPDX-License-Identifier: GPL-3.0-or-later
// How the data files travel to the browser, shared by the packer (run at
// build time, natively) and the page's unpacker (in the browser):
//
// - a picture (.bmp) as a PNG with the same pixels: palettised where it has
//   at most 256 colours, else 8-bit RGB; unpacked into a 24-bit BMP, which
//   the game's own loader reads to the same surface;
// - an effect (.wav) as its file deflated whole (zlib), the samples of a
//   16-bit PCM file first turned into what a straight line through the two
//   before them misses by, channel by channel, the low bytes ahead of the
//   high bytes: lossless, about 57 % of the file;
// - a tune as its MP3 recording, which the page plays without the game
//   reading it.
#pragma once
#include <string>
#include <vector>

namespace data_pack {

// The file name a data file travels under ("gameb2.bmp" -> "gameb2.png").
std::string packed_name(const std::string& data_name);

// The reversible turn of an effect's samples, in place; files that are not
// 16-bit PCM sounds stay as they are.
void encode_samples(std::vector<unsigned char>& wav);
void decode_samples(std::vector<unsigned char>& wav);

}  // namespace data_pack

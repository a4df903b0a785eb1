// SPDX-License-Identifier: GPL-3.0-or-later
// Small bitmap files made to order for the decoder's tests: every header
// field can be set, so that odd and broken files are as easy to make as
// good ones.
#pragma once
#include <algorithm>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

using Bytes = std::vector<uint8_t>;

inline void put_le(Bytes& b, uint64_t v, int n) {
    for (int i = 0; i < n; ++i) b.push_back(uint8_t(v >> (8 * i)));
}

// The pixel rows of a picture as a file holds them: `bits` per pixel packed
// from the top bit of each byte, each row padded to 4 bytes, the bottom row
// first unless top_down.
inline Bytes pack_rows(int bits, int w, int h, bool top_down, const std::function<uint32_t(int, int)>& value) {
    Bytes out;
    const size_t stride = (size_t(w) * size_t(bits) + 31) / 32 * 4;
    for (int k = 0; k < h; ++k) {
        const int y = top_down ? k : h - 1 - k;
        Bytes row(stride, 0);
        for (int x = 0; x < w; ++x) {
            const uint32_t v = value(x, y);
            if (bits < 8) {
                const size_t bit = size_t(x) * size_t(bits);
                row[bit / 8] |= uint8_t((v & ((1u << bits) - 1)) << (8 - bits - int(bit % 8)));
            } else {
                for (int i = 0; i < bits / 8; ++i) row[size_t(x) * size_t(bits / 8) + size_t(i)] = uint8_t(v >> (8 * i));
            }
        }
        out.insert(out.end(), row.begin(), row.end());
    }
    return out;
}

struct BmpFile {
    uint32_t info_size = 40;  // 12 for the OS/2 core header
    int32_t width = 1, height = 1;
    uint16_t bits = 24;
    uint32_t compression = 0;
    uint32_t colours_used = 0;
    std::vector<uint32_t> masks;  // red, green, blue (, alpha): right after the first 40 bytes
    Bytes palette;                // as stored: 3 or 4 bytes an entry
    Bytes pixels;                 // as stored
    std::optional<uint32_t> data_offset;  // default: right after the palette

    // A palette of n entries, each a colour worked out from its index.
    BmpFile& colours(int n) {
        palette.clear();
        for (int i = 0; i < n; ++i) {
            palette.push_back(uint8_t(i * 37 + 11));
            palette.push_back(uint8_t(i * 91 + 3));
            palette.push_back(uint8_t(255 - i * 13));
            if (info_size != 12) palette.push_back(uint8_t(i));  // SDL ignores this byte
        }
        return *this;
    }

    Bytes bytes() const {
        Bytes info;
        put_le(info, info_size, 4);
        if (info_size == 12) {
            put_le(info, uint16_t(width), 2);
            put_le(info, uint16_t(height), 2);
            put_le(info, 1, 2);
            put_le(info, bits, 2);
        } else {
            put_le(info, uint32_t(width), 4);
            put_le(info, uint32_t(height), 4);
            put_le(info, 1, 2);
            put_le(info, bits, 2);
            put_le(info, compression, 4);
            put_le(info, pixels.size(), 4);
            put_le(info, 2835, 4);
            put_le(info, 2835, 4);
            put_le(info, colours_used, 4);
            put_le(info, 0, 4);
        }
        for (uint32_t m : masks) put_le(info, m, 4);
        // A header that claims more than 4 kB gets its claim, not the bytes.
        while (info.size() < std::min<uint32_t>(info_size, 4096)) info.push_back(0);
        Bytes f = {'B', 'M'};
        const size_t offset = 14 + info.size() + palette.size();
        put_le(f, offset + pixels.size(), 4);
        put_le(f, 0, 4);
        put_le(f, data_offset.value_or(uint32_t(offset)), 4);
        f.insert(f.end(), info.begin(), info.end());
        f.insert(f.end(), palette.begin(), palette.end());
        f.insert(f.end(), pixels.begin(), pixels.end());
        return f;
    }
};

// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/bmp_load.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <optional>
#include <vector>

#include "core/bmp_decode.h"
#include "core/data_file.h"
#include "core/runtime_error.h"

namespace {

void put16(std::vector<uint8_t>& b, uint32_t v) { b.push_back(v & 255); b.push_back((v >> 8) & 255); }
void put32(std::vector<uint8_t>& b, uint32_t v) { put16(b, v & 0xFFFF); put16(b, v >> 16); }

bool write_file(const std::string& path, const std::vector<uint8_t>& b) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    bool ok = std::fwrite(b.data(), 1, b.size(), f) == b.size();
    return std::fclose(f) == 0 && ok;
}

void header(std::vector<uint8_t>& b, int w, int h, int bpp, uint32_t colours, uint32_t data_size) {
    uint32_t offset = 14 + 40 + colours * 4;
    b.push_back('B'); b.push_back('M');
    put32(b, offset + data_size); put32(b, 0); put32(b, offset);
    put32(b, 40); put32(b, uint32_t(w)); put32(b, uint32_t(h)); put16(b, 1); put16(b, uint16_t(bpp));
    put32(b, 0); put32(b, data_size); put32(b, 2835); put32(b, 2835); put32(b, colours); put32(b, 0);
}

}  // namespace

Surface load_bmp_file(const std::string& path) {
    const std::optional<std::vector<uint8_t>> bytes = read_data_file(path, kMaxPictureFileBytes);
    if (!bytes) throw err::invalid_picture();
    return decode_bmp(bytes->data(), bytes->size());
}

Surface load_bmp_memory(const void* data, size_t size) {
    return decode_bmp(static_cast<const uint8_t*>(data), size);
}

bool save_bmp24(const Surface& s, const std::string& path) {
    int stride = (s.width() * 3 + 3) & ~3;
    std::vector<uint8_t> b;
    header(b, s.width(), s.height(), 24, 0, uint32_t(stride * s.height()));
    for (int y = s.height() - 1; y >= 0; --y) {
        const Rgb* r = s.row(y);
        for (int x = 0; x < s.width(); ++x) {
            b.push_back(r[x] & 255); b.push_back((r[x] >> 8) & 255); b.push_back((r[x] >> 16) & 255);
        }
        for (int p = s.width() * 3; p < stride; ++p) b.push_back(0);
    }
    return write_file(path, b);
}

bool save_bmp8(const Surface& s, const std::string& path) {
    std::map<Rgb, int> index;
    std::vector<Rgb> palette;
    for (Rgb c : s.pixels()) {
        if (index.count(c)) continue;
        if (palette.size() == 256) return false;
        index[c] = int(palette.size());
        palette.push_back(c);
    }
    if (palette.empty()) palette.push_back(0);
    int stride = (s.width() + 3) & ~3;
    std::vector<uint8_t> b;
    header(b, s.width(), s.height(), 8, uint32_t(palette.size()), uint32_t(stride * s.height()));
    for (Rgb c : palette) { b.push_back(c & 255); b.push_back((c >> 8) & 255); b.push_back((c >> 16) & 255); b.push_back(0); }
    for (int y = s.height() - 1; y >= 0; --y) {
        const Rgb* r = s.row(y);
        for (int x = 0; x < s.width(); ++x) b.push_back(uint8_t(index[r[x]]));
        for (int p = s.width(); p < stride; ++p) b.push_back(0);
    }
    return write_file(path, b);
}

// SPDX-License-Identifier: GPL-3.0-or-later
// PNG files for the browser build, which has no libpng: written with the
// deflate format's stored blocks (no compression; the replay tool's shots
// are all that is written), read with stb_image.
#include <stb_image.h>

#include <cstdio>
#include <vector>

#include "core/png_write.h"

namespace {

uint32_t crc32(const unsigned char* p, size_t n, uint32_t c = 0xFFFFFFFFu) {
    for (size_t i = 0; i < n; ++i) {
        c ^= p[i];
        for (int k = 0; k < 8; ++k) c = (c >> 1) ^ (0xEDB88320u & (0u - (c & 1)));
    }
    return c;
}

void put32be(std::vector<unsigned char>& b, uint32_t v) {
    for (int s = 24; s >= 0; s -= 8) b.push_back(static_cast<unsigned char>(v >> s));
}

void chunk(std::vector<unsigned char>& out, const char* type, const std::vector<unsigned char>& body) {
    put32be(out, uint32_t(body.size()));
    size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), body.begin(), body.end());
    put32be(out, crc32(&out[start], out.size() - start) ^ 0xFFFFFFFFu);
}

}  // namespace

bool write_png(const Surface& s, const std::string& path) {
    std::vector<unsigned char> raw;  // filter byte 0, then R, G, B
    for (int y = 0; y < s.height(); ++y) {
        raw.push_back(0);
        const Rgb* r = s.row(y);
        for (int x = 0; x < s.width(); ++x) {
            raw.push_back((r[x] >> 16) & 255);
            raw.push_back((r[x] >> 8) & 255);
            raw.push_back(r[x] & 255);
        }
    }
    std::vector<unsigned char> z = {0x78, 0x01};
    uint32_t a = 1, b = 0;
    for (unsigned char c : raw) {
        a = (a + c) % 65521;
        b = (b + a) % 65521;
    }
    for (size_t at = 0; at < raw.size() || at == 0;) {
        size_t n = std::min<size_t>(65535, raw.size() - at);
        z.push_back(at + n == raw.size() ? 1 : 0);
        z.push_back(n & 255);
        z.push_back(n >> 8);
        z.push_back(~n & 255);
        z.push_back((~n >> 8) & 255);
        z.insert(z.end(), raw.begin() + long(at), raw.begin() + long(at + n));
        at += n;
        if (n == 0) break;
    }
    put32be(z, (b << 16) | a);
    std::vector<unsigned char> out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'}, ihdr;
    put32be(ihdr, uint32_t(s.width()));
    put32be(ihdr, uint32_t(s.height()));
    ihdr.insert(ihdr.end(), {8, 2, 0, 0, 0});
    chunk(out, "IHDR", ihdr);
    chunk(out, "IDAT", z);
    chunk(out, "IEND", {});
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    bool ok = std::fwrite(out.data(), 1, out.size(), f) == out.size();
    return std::fclose(f) == 0 && ok;
}

Surface read_png(const std::string& path) {
    int w = 0, h = 0, n = 0;
    unsigned char* px = stbi_load(path.c_str(), &w, &h, &n, 3);
    if (!px) return {};
    Surface s(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const unsigned char* p = px + (size_t(y) * size_t(w) + size_t(x)) * 3;
            s.set(x, y, rgb(p[0], p[1], p[2]));
        }
    stbi_image_free(px);
    return s;
}

// SPDX-License-Identifier: GPL-3.0-or-later
#include "web/data_unpack.h"

#include <stb_image.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "core/bmp_load.h"
#include "web/data_pack.h"

namespace {

bool ends_with(const std::string& s, const char* tail) {
    std::string t = tail;
    return s.size() >= t.size() && s.compare(s.size() - t.size(), t.size(), t) == 0;
}

bool write_file(const std::string& path, const unsigned char* data, size_t size) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    bool ok = std::fwrite(data, 1, size, f) == size;
    return std::fclose(f) == 0 && ok;
}

}  // namespace

bool unpack_data_file(const unsigned char* bytes, size_t size, const std::string& packed_name,
                      const std::string& path) {
    if (ends_with(packed_name, ".png")) {
        int w = 0, h = 0, n = 0;
        unsigned char* px = stbi_load_from_memory(bytes, int(size), &w, &h, &n, 3);
        if (!px) return false;
        Surface s(w, h);
        for (int y = 0; y < h; ++y) {
            Rgb* row = s.row(y);
            const unsigned char* p = px + size_t(y) * size_t(w) * 3;
            for (int x = 0; x < w; ++x, p += 3) row[x] = rgb(p[0], p[1], p[2]);
        }
        stbi_image_free(px);
        return save_bmp24(s, path);
    }
    if (ends_with(packed_name, ".wavz")) {
        int n = 0;
        char* raw = stbi_zlib_decode_malloc(reinterpret_cast<const char*>(bytes), int(size), &n);
        if (!raw) return false;
        std::vector<unsigned char> wav(raw, raw + n);
        std::free(raw);
        data_pack::decode_samples(wav);
        return write_file(path, wav.data(), wav.size());
    }
    return write_file(path, bytes, size);
}

// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/png_write.h"

#include <png.h>

#include <cstdio>
#include <vector>

bool write_png(const Surface& s, const std::string& path) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!png || !info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        std::fclose(f);
        return false;
    }
    png_init_io(png, f);
    png_set_IHDR(png, info, png_uint_32(s.width()), png_uint_32(s.height()), 8, PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    std::vector<png_byte> row(size_t(s.width()) * 3);
    for (int y = 0; y < s.height(); ++y) {
        const Rgb* r = s.row(y);
        for (int x = 0; x < s.width(); ++x) {
            row[size_t(x) * 3] = (r[x] >> 16) & 255;
            row[size_t(x) * 3 + 1] = (r[x] >> 8) & 255;
            row[size_t(x) * 3 + 2] = r[x] & 255;
        }
        png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return std::fclose(f) == 0;
}

Surface read_png(const std::string& path) {
    png_image img{};
    img.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&img, path.c_str())) return {};
    img.format = PNG_FORMAT_RGB;
    std::vector<png_byte> buf(PNG_IMAGE_SIZE(img));
    if (!png_image_finish_read(&img, nullptr, buf.data(), 0, nullptr)) { png_image_free(&img); return {}; }
    Surface s(int(img.width), int(img.height));
    for (int y = 0; y < s.height(); ++y)
        for (int x = 0; x < s.width(); ++x) {
            const png_byte* p = &buf[(size_t(y) * img.width + size_t(x)) * 3];
            s.set(x, y, rgb(p[0], p[1], p[2]));
        }
    return s;
}

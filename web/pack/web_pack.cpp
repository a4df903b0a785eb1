// SPDX-License-Identifier: GPL-3.0-or-later
// lexovo-webpack DATA_DIR OUT_DIR
//
// Packs the data files beside the game for the browser (see
// web/data_pack.h): every picture (*.bmp) as PNG, every effect (*.wav)
// deflated, every tune recording (*.mp3 beside its .mid) as it is, and
// writes OUT_DIR/manifest.json, the list the page downloads. A packed
// file newer than its source and than the packer is left alone.
#include <png.h>
#include <zlib.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "core/bmp_load.h"
#include "core/runtime_error.h"
#include "web/data_pack.h"

namespace fs = std::filesystem;
using Bytes = std::vector<unsigned char>;

namespace {

Bytes read_all(const fs::path& p) {
    std::ifstream f(p, std::ios::binary);
    return Bytes((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
}

bool write_all(const fs::path& p, const Bytes& b) {
    fs::path part = p;
    part += ".part";
    {
        std::ofstream f(part, std::ios::binary);
        f.write(reinterpret_cast<const char*>(b.data()), std::streamsize(b.size()));
        if (!f) return false;
    }
    std::error_code ec;
    fs::rename(part, p, ec);
    return !ec;
}

void to_memory(png_structp png, png_bytep data, png_size_t n) {
    auto* out = static_cast<Bytes*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + n);
}

// One PNG of the surface with the given row filters; empty on failure.
Bytes encode_png(const Surface& s, const std::vector<Rgb>& palette, int filters) {
    Bytes out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!png || !info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return {};
    }
    png_set_write_fn(png, &out, to_memory, nullptr);
    png_set_compression_level(png, 9);
    png_set_filter(png, PNG_FILTER_TYPE_BASE, filters);
    const bool indexed = !palette.empty();
    // One byte an index even for a few colours: the browser's decoder
    // (stb_image 2.08) gets packed indices wrong.
    const int depth = 8;
    png_set_IHDR(png, info, png_uint_32(s.width()), png_uint_32(s.height()), depth,
                 indexed ? PNG_COLOR_TYPE_PALETTE : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    std::vector<png_color> colours;
    std::map<Rgb, int> index;
    for (Rgb c : palette) {
        index[c] = int(colours.size());
        colours.push_back({png_byte(c >> 16), png_byte(c >> 8), png_byte(c)});
    }
    if (indexed) png_set_PLTE(png, info, colours.data(), int(colours.size()));
    png_write_info(png, info);
    std::vector<png_byte> row(size_t(s.width()) * 3);
    for (int y = 0; y < s.height(); ++y) {
        const Rgb* r = s.row(y);
        for (int x = 0; x < s.width(); ++x) {
            if (indexed) {
                row[size_t(x)] = png_byte(index[r[x]]);
            } else {
                row[size_t(x) * 3] = png_byte(r[x] >> 16);
                row[size_t(x) * 3 + 1] = png_byte(r[x] >> 8);
                row[size_t(x) * 3 + 2] = png_byte(r[x]);
            }
        }
        png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return out;
}

// The smallest of the PNGs that each filter choice gives.
Bytes pack_picture(const fs::path& bmp) {
    Surface s = load_bmp_file(bmp.string());
    std::vector<Rgb> palette;
    for (Rgb c : s.pixels()) {
        if (palette.size() > 256) break;
        if (std::find(palette.begin(), palette.end(), c) == palette.end()) palette.push_back(c);
    }
    if (palette.size() > 256) palette.clear();
    std::sort(palette.begin(), palette.end());
    Bytes best;
    for (int filters : {PNG_ALL_FILTERS, PNG_FILTER_NONE, PNG_FILTER_SUB, PNG_FILTER_UP, PNG_FILTER_PAETH}) {
        Bytes b = encode_png(s, palette, filters);
        if (!b.empty() && (best.empty() || b.size() < best.size())) best = std::move(b);
    }
    return best;
}

Bytes pack_effect(const fs::path& wav) {
    Bytes b = read_all(wav);
    data_pack::encode_samples(b);
    uLongf n = compressBound(uLong(b.size()));
    Bytes out(n);
    if (compress2(out.data(), &n, b.data(), uLong(b.size()), 9) != Z_OK) return {};
    out.resize(n);
    return out;
}

std::string json_string(const std::string& s) {
    std::string o = "\"";
    for (char c : s) {
        if (c == '"' || c == '\\') o += '\\';
        o += c;
    }
    return o + "\"";
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: lexovo-webpack DATA_DIR OUT_DIR\n";
        return 1;
    }
    const fs::path data = argv[1], out = argv[2];
    std::error_code ec;
    fs::create_directories(out, ec);
    std::vector<fs::path> sources;
    for (const auto& e : fs::directory_iterator(data, ec)) {
        const fs::path& p = e.path();
        std::string ext = p.extension().string();
        if (ext == ".bmp" || ext == ".wav") sources.push_back(p);
        if (ext == ".mp3" && fs::exists(fs::path(p).replace_extension(".mid"))) sources.push_back(p);
    }
    if (ec || sources.empty()) {
        std::cerr << "lexovo-webpack: no data files in " << data << '\n';
        return 1;
    }
    std::sort(sources.begin(), sources.end());
    // A packer newer than what it packed packs anew.
    const auto packer_time = fs::last_write_time(fs::read_symlink("/proc/self/exe", ec), ec);
    std::string manifest = "[\n";
    for (const fs::path& src : sources) {
        std::string ext = src.extension().string();
        std::string name = ext == ".mp3" ? fs::path(src).replace_extension(".mid").filename().string()
                                         : src.filename().string();
        const fs::path dst = out / data_pack::packed_name(name);
        if (!fs::exists(dst) || fs::last_write_time(dst) < fs::last_write_time(src) ||
            fs::last_write_time(dst) < packer_time) {
            Bytes packed;
            try {
                packed = ext == ".bmp" ? pack_picture(src) : ext == ".wav" ? pack_effect(src) : read_all(src);
            } catch (const RuntimeError& e) {
                std::cerr << "lexovo-webpack: " << src << ": " << e.description << '\n';
                return 1;
            }
            if (packed.empty() || !write_all(dst, packed)) {
                std::cerr << "lexovo-webpack: cannot pack " << src << '\n';
                return 1;
            }
        }
        if (manifest.size() > 2) manifest += ",\n";
        manifest += "  {\"name\": " + json_string(name) + ", \"file\": " + json_string(dst.filename().string()) +
                    ", \"bytes\": " + std::to_string(fs::file_size(dst)) + "}";
    }
    manifest += "\n]\n";
    if (!write_all(out / "manifest.json", Bytes(manifest.begin(), manifest.end()))) {
        std::cerr << "lexovo-webpack: cannot write the manifest\n";
        return 1;
    }
    return 0;
}

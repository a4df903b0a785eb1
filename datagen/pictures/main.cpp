// SPDX-License-Identifier: GPL-3.0-or-later
// lexovo-art-pictures STORED_DIR DATA_DIR
//
// Paints every picture of the catalogue, holds each one to its catalogue
// entry (present, exact size, masks pure black and white, images black
// wherever their mask is white, icons on a magenta surround), writes them as
// STORED_DIR/NAME.bmp with an 8-bit palette of their own, and paints the
// thirteen book pages DATA_DIR/lib1.bmp ... lib13.bmp.
#include <cstdio>
#include <filesystem>
#include <string>

#include "game/picture_catalogue.h"
#include "datagen/pictures/catalogue_check.h"
#include "datagen/pictures/painter.h"
#include "datagen/pictures/palette.h"
#include "core/bmp_load.h"

namespace fs = std::filesystem;

namespace {

int fail(const std::string& what) {
    std::fprintf(stderr, "lexovo-art-pictures: %s\n", what.c_str());
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: lexovo-art-pictures STORED_DIR DATA_DIR\n");
        return 2;
    }
    const std::string stored = argv[1], data = argv[2];
    std::error_code ec;
    fs::create_directories(stored, ec);
    fs::create_directories(data, ec);

    PictureMap pictures;
    paint_character_pictures(pictures);
    paint_object_pictures(pictures);

    std::string why = check_pictures(pictures);
    if (!why.empty()) return fail(why);

    // Old files of pictures that are no longer painted would be embedded too.
    for (const auto& f : fs::directory_iterator(stored, ec))
        if (f.path().extension() == ".bmp" && !find_catalogue_entry(f.path().stem().string())) fs::remove(f.path(), ec);

    for (const PictureEntry& e : kPictureCatalogue) {
        const Surface& s = pictures[e.name];
        Surface q = quantise(s, 256);
        std::string path = stored + "/" + e.name + ".bmp";
        if (!save_bmp8(q, path)) return fail("cannot write " + path);
    }
    paint_book_pages(data);
    for (int i = 1; i <= 13; ++i) {
        std::string page = data + "/lib" + std::to_string(i) + ".bmp";
        if (!fs::exists(page)) return fail("the book page " + page + " was not written");
    }
    return 0;
}

// lexovo-art-pictures STORED_DIR DATA_DIR
//
// Paints every picture of the catalogue, holds each one to its catalogue
// entry (present, exact size, masks pure black and white, images black
// wherever their mask is white, icons never half magenta), writes them as
// STORED_DIR/NAME.bmp with an 8-bit palette of their own, and paints the
// thirteen book pages DATA_DIR/lib1.bmp ... lib13.bmp.
#include <cstdio>
#include <filesystem>
#include <set>
#include <string>

#include "art/picture_catalogue.h"
#include "art/pictures/painter.h"
#include "art/pictures/palette.h"
#include "core/bmp_load.h"

namespace fs = std::filesystem;

namespace {

#ifdef LEXOVO_CHARACTERS_PENDING
// Pictures of the professor, his costumes and the vine.
bool is_character_picture(const std::string& name) {
    static const std::set<int> numbers = {2,  3,  4,  6,  7,  9,  10, 11, 13, 14, 16, 17,
                                          18, 19, 20, 34, 42, 61, 62, 68, 73, 74, 75, 76};
    int n = std::atoi(name.c_str() + 7);
    return name.rfind("Picture", 0) == 0 && numbers.count(n) > 0;
}

// A plain stand-in (a grey figure-sized block) until the professor is painted.
Surface placeholder(const PictureEntry& e) {
    if (e.kind == PicKind::Mask) {
        Surface s(e.w, e.h, rgb(255, 255, 255));
        for (int y = e.h / 8; y < e.h; ++y)
            for (int x = e.w / 4; x < e.w - e.w / 4; ++x) s.set(x, y, 0);
        return s;
    }
    Surface s(e.w, e.h, 0);
    for (int y = e.h / 8; y < e.h; ++y)
        for (int x = e.w / 4; x < e.w - e.w / 4; ++x) s.set(x, y, rgb(120, 110, 100));
    return s;
}
#endif

const PictureEntry* find_entry(const std::string& name) {
    for (const PictureEntry& e : kPictureCatalogue)
        if (name == e.name) return &e;
    return nullptr;
}

int fail(const std::string& what) {
    std::fprintf(stderr, "lexovo-art-pictures: %s\n", what.c_str());
    return 1;
}

// Empty string when the picture keeps its kind's rules.
std::string check(const PictureEntry& e, const Surface& s, const PictureMap& all) {
    char buf[200];
    if (s.width() != e.w || s.height() != e.h) {
        std::snprintf(buf, sizeof buf, "%s is %dx%d, the catalogue wants %dx%d", e.name, s.width(), s.height(), e.w,
                      e.h);
        return buf;
    }
    if (e.kind == PicKind::Mask) {
        for (Rgb c : s.pixels())
            if (c != 0 && c != rgb(255, 255, 255)) return std::string(e.name) + " is a mask with grey in it";
    }
    if (e.kind == PicKind::Image) {
        auto m = all.find(e.mask);
        if (m == all.end()) return std::string(e.name) + " has no mask " + e.mask;
        if (m->second.width() != s.width() || m->second.height() != s.height())
            return std::string(e.name) + " and its mask differ in size";
        for (int y = 0; y < s.height(); ++y)
            for (int x = 0; x < s.width(); ++x)
                if (m->second.get(x, y) == rgb(255, 255, 255) && s.get(x, y) != 0) {
                    std::snprintf(buf, sizeof buf, "%s is not black at (%d, %d) where its mask is white", e.name, x, y);
                    return buf;
                }
    }
    return "";
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

    for (auto& [name, s] : pictures)
        if (!find_entry(name)) return fail("painted " + name + ", which the catalogue does not list");
    for (const PictureEntry& e : kPictureCatalogue) {
        if (pictures.count(e.name)) continue;
#ifdef LEXOVO_CHARACTERS_PENDING
        if (is_character_picture(e.name)) {
            pictures[e.name] = placeholder(e);
            continue;
        }
#endif
        return fail(std::string("nobody painted ") + e.name);
    }
    for (const PictureEntry& e : kPictureCatalogue) {
        std::string why = check(e, pictures[e.name], pictures);
        if (!why.empty()) return fail(why);
    }

    // Old files of pictures that are no longer painted would be embedded too.
    for (const auto& f : fs::directory_iterator(stored, ec))
        if (f.path().extension() == ".bmp" && !find_entry(f.path().stem().string())) fs::remove(f.path(), ec);

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

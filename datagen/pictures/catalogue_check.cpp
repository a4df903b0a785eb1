// SPDX-License-Identifier: GPL-3.0-or-later
#include "datagen/pictures/catalogue_check.h"

#include <cstdio>

const PictureEntry* find_catalogue_entry(const std::string& name) {
    for (const PictureEntry& e : kPictureCatalogue)
        if (name == e.name) return &e;
    return nullptr;
}

namespace {

constexpr Rgb kWhite = rgb(255, 255, 255);

std::string check_one(const PictureEntry& e, const Surface& s, const PictureMap& all) {
    char buf[200];
    if (s.width() != e.w || s.height() != e.h) {
        std::snprintf(buf, sizeof buf, "%s is %dx%d, the catalogue wants %dx%d", e.name, s.width(), s.height(), e.w,
                      e.h);
        return buf;
    }
    if (e.kind == PicKind::Mask) {
        for (int y = 0; y < s.height(); ++y)
            for (int x = 0; x < s.width(); ++x)
                if (s.get(x, y) != 0 && s.get(x, y) != kWhite) {
                    std::snprintf(buf, sizeof buf, "%s is a mask, but (%d, %d) is neither black nor white", e.name,
                                  x, y);
                    return buf;
                }
    }
    if (e.kind == PicKind::Image) {
        auto m = all.find(e.mask);
        if (m == all.end()) return std::string(e.name) + " has no mask " + e.mask;
        if (m->second.width() != s.width() || m->second.height() != s.height())
            return std::string(e.name) + " and its mask " + e.mask + " differ in size";
        for (int y = 0; y < s.height(); ++y)
            for (int x = 0; x < s.width(); ++x)
                if (m->second.get(x, y) == kWhite && s.get(x, y) != 0) {
                    std::snprintf(buf, sizeof buf, "%s is not black at (%d, %d), where its mask is white", e.name, x,
                                  y);
                    return buf;
                }
    }
    if (e.kind == PicKind::Icon) {
        const Rgb magenta = rgb(255, 0, 255);
        if (s.get(0, 0) != magenta && s.get(e.w - 1, 0) != magenta && s.get(0, e.h - 1) != magenta &&
            s.get(e.w - 1, e.h - 1) != magenta)
            return std::string(e.name) + " is a pointer icon without a transparent magenta surround";
    }
    return "";
}

}  // namespace

std::string check_pictures(const PictureMap& pictures) {
    for (const auto& [name, s] : pictures)
        if (!find_catalogue_entry(name)) return "painted " + name + ", which the catalogue does not list";
    for (const PictureEntry& e : kPictureCatalogue)
        if (!pictures.count(e.name)) return std::string("nobody painted ") + e.name;
    for (const PictureEntry& e : kPictureCatalogue) {
        std::string why = check_one(e, pictures.at(e.name), pictures);
        if (!why.empty()) return why;
    }
    return "";
}

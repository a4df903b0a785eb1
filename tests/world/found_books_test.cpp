// SPDX-License-Identifier: GPL-3.0-or-later
// A book the pointer finds must be seen to be found without sound: its
// found picture, drawn over the shelf, stands out from the shelf around it
// and from the book painted there before. Also writes the gallery of the
// twelve, before and after, at 1x and 3x (gallery/found-books-*.png).
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "core/bmp_load.h"
#include "core/png_write.h"
#include "game/picture_catalogue.h"
#include "game/world_places.h"

namespace {

const std::string kData = LEXOVO_DATA_DIR;
const std::string kStored = LEXOVO_STORED_DIR;
const std::string kGallery = LEXOVO_GALLERY_DIR;

// Relative luminance as the web's accessibility guidelines define it
// (sRGB channels made linear, then weighted), 0 for black, 1 for white.
double luminance(Rgb c) {
    auto lin = [](int v) {
        double s = v / 255.0;
        return s <= 0.04045 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * lin(int((c >> 16) & 255)) + 0.7152 * lin(int((c >> 8) & 255)) + 0.0722 * lin(int(c & 255));
}
double contrast(double l1, double l2) { return (std::max(l1, l2) + 0.05) / (std::min(l1, l2) + 0.05); }

// The twelve books found by the pointer with the chime (book 2 is found by
// walking past it and keeps its own look).
const int kChiming[] = {1, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13};

const Surface& background() {
    static Surface s = load_bmp_file(kData + "/gameb2.bmp");
    return s;
}
Rgb shelf(int x, int world_y) { return background().get(x, world_y + 400); }

struct Found {
    int book;
    int x, y;        // world place
    Surface after;   // the picture the game draws once found
    Surface before;  // what is seen there before: the shelf, or for book 10 its unlit picture
    Rgb seen_before(int dx, int dy) const {
        Rgb c = before.get(dx, dy);
        return c == kNoColour ? shelf(x + dx, y + dy) : c;
    }
};

Found found_picture(int n) {
    const world::BookPlace& b = world::kBooks[size_t(n)];
    auto stored = [](const std::string& name) { return load_bmp_file(kStored + "/" + name + ".bmp"); };
    if (n == 10) return {n, b.x, b.y, stored("Picture57_1"), stored("Picture57_0")};
    return {n, b.x, b.y, stored("Picture" + std::to_string(b.picture)), Surface()};
}

// Thresholds, from the guidelines' minimum for graphical objects that must
// be noticed (3 : 1 against what is next to them): the found picture's rim
// against the shelf just outside it; and the book as a whole against its
// own unfound painting, most of its pixels changed by at least half that.
constexpr double kEdgeContrast = 3.0;
constexpr double kPixelContrast = 1.5;
constexpr double kChangedShare = 0.8;

TEST(FoundBooks, StandOutFromTheirShelves) {
    for (int n : kChiming) {
        Found f = found_picture(n);
        const int w = f.after.width(), h = f.after.height();
        ASSERT_GT(w, 0) << "book " << n;
        const PictureEntry* e = catalogue_entry(world::kBooks[size_t(n)].picture);
        ASSERT_TRUE(e);
        EXPECT_EQ(w, e->w) << "book " << n << ": the found picture keeps the spine's size";
        EXPECT_EQ(h, e->h) << "book " << n;
        // The rim of the found picture and the shelf one to three pixels
        // outside it.
        double rim = 0, around = 0;
        int nr = 0, na = 0;
        for (int y = -3; y < h + 3; ++y)
            for (int x = -3; x < w + 3; ++x) {
                const int d = std::min({x, y, w - 1 - x, h - 1 - y});
                if (d == 0) rim += luminance(f.after.get(x, y)), ++nr;
                if (d < 0) around += luminance(shelf(f.x + x, f.y + y)), ++na;
            }
        const double edge = contrast(rim / nr, around / na);
        EXPECT_GE(edge, kEdgeContrast) << "book " << n << "'s edge against its shelf";
        // Pixel by pixel against the book as painted before it is found.
        int changed = 0;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                changed += contrast(luminance(f.after.get(x, y)), luminance(f.seen_before(x, y))) >= kPixelContrast;
        EXPECT_GE(changed, kChangedShare * w * h) << "book " << n << ": only " << changed << " of " << w * h
                                                  << " pixels stand out from the unfound painting";
        std::printf("book %2d: edge %.1f : 1, %d of %d pixels changed\n", n, edge, changed, w * h);
    }
}

Surface scaled(const Surface& s, int k) {
    Surface out(s.width() * k, s.height() * k);
    for (int y = 0; y < out.height(); ++y)
        for (int x = 0; x < out.width(); ++x) out.set(x, y, s.get(x / k, y / k));
    return out;
}

// Each book with 12 px of its shelf around it, before and after; four books
// to a row.
TEST(FoundBooks, Gallery) {
    const int margin = 12, cell_w = 31 + 2 * margin, cell_h = 32 + 2 * margin, gap = 6;
    const int tile_w = 2 * cell_w + gap, cols = 4, rows = 3;
    Surface sheet(cols * (tile_w + 3 * gap) + gap, rows * (cell_h + 3 * gap) + gap, rgb(32, 32, 32));
    int k = 0;
    for (int n : kChiming) {
        Found f = found_picture(n);
        const int ox = gap + (k % cols) * (tile_w + 3 * gap), oy = gap + (k / cols) * (cell_h + 3 * gap);
        for (int side = 0; side < 2; ++side) {
            const int cx = ox + side * (cell_w + gap);
            for (int y = 0; y < cell_h; ++y)
                for (int x = 0; x < cell_w; ++x) {
                    const int wx = f.x + f.after.width() / 2 - cell_w / 2 + x;
                    const int wy = f.y + f.after.height() / 2 - cell_h / 2 + y;
                    const int px = wx - f.x, py = wy - f.y;
                    const bool on = px >= 0 && py >= 0 && px < f.after.width() && py < f.after.height();
                    Rgb c = on ? f.seen_before(px, py) : shelf(wx, wy);
                    if (side == 1 && on) c = f.after.get(px, py);
                    sheet.set(cx + x, oy + y, c);
                }
        }
        ++k;
    }
    std::filesystem::create_directories(kGallery);
    EXPECT_TRUE(write_png(sheet, kGallery + "/found-books-1x.png"));
    EXPECT_TRUE(write_png(scaled(sheet, 3), kGallery + "/found-books-3x.png"));
    std::ofstream page(kGallery + "/found-books.html");
    page << "<!doctype html><meta charset=\"utf-8\"><title>found books</title>\n"
         << "<h1>The twelve books the pointer finds: on the shelf, and found</h1>\n"
         << "<p>Rows: books 1, 3, 4, 5; books 6, 7, 8, 9; books 10 (at the bottom of the deep well), 11, 12, 13. "
         << "Each pair: before, after.</p>\n"
         << "<h2>1x</h2><img src=\"found-books-1x.png\">\n<h2>3x</h2><img src=\"found-books-3x.png\">\n";
    EXPECT_TRUE(page.good());
}

}  // namespace

// SPDX-License-Identifier: GPL-3.0-or-later
// The stored pictures and the book pages as the build wrote them: each one
// where the game will look for it, of its catalogue size and kind, and drawn
// so that the game's two-transfer sprites, its pointer and its screen work.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "game/picture_catalogue.h"
#include "datagen/pictures/palette.h"
#include "core/bmp_load.h"

namespace {

constexpr Rgb kWhite = rgb(255, 255, 255);
constexpr Rgb kBlack = rgb(0, 0, 0);
constexpr Rgb kMagenta = rgb(255, 0, 255);

std::string stored_path(const std::string& name) { return std::string(LEXOVO_STORED_DIR) + "/" + name + ".bmp"; }

const Surface& picture(const std::string& name) {
    static std::map<std::string, Surface> cache;
    auto it = cache.find(name);
    if (it == cache.end()) {
        Surface s;
        try {
            s = load_bmp_file(stored_path(name));
        } catch (...) {
        }
        it = cache.emplace(name, std::move(s)).first;
    }
    return it->second;
}

const PictureEntry& entry(const std::string& name) {
    for (const PictureEntry& e : kPictureCatalogue)
        if (name == e.name) return e;
    ADD_FAILURE() << name << " is not in the catalogue";
    return kPictureCatalogue[0];
}

int bits_per_pixel(const std::string& path) {
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return -1;
    unsigned char h[30] = {};
    size_t n = std::fread(h, 1, sizeof h, f);
    std::fclose(f);
    return n == sizeof h && h[0] == 'B' && h[1] == 'M' ? h[28] | (h[29] << 8) : -1;
}

int r_of(Rgb c) { return int((c >> 16) & 255); }
int g_of(Rgb c) { return int((c >> 8) & 255); }
int b_of(Rgb c) { return int(c & 255); }

struct Mean {
    double r = 0, g = 0, b = 0;
};
Mean mean(const Surface& s, int x0, int y0, int x1, int y1) {
    Mean m;
    int n = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) {
            Rgb c = s.get(x, y);
            m.r += r_of(c), m.g += g_of(c), m.b += b_of(c), ++n;
        }
    m.r /= n, m.g /= n, m.b /= n;
    return m;
}

int count_black(const Surface& s, int x0, int y0, int x1, int y1) {
    int n = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) n += s.get(x, y) == kBlack;
    return n;
}

// ------------------------------------------------------------ catalogue
TEST(StoredPictures, EveryCatalogueEntryIsAnEightBitFileOfItsSize) {
    for (const PictureEntry& e : kPictureCatalogue) {
        SCOPED_TRACE(e.name);
        const Surface& s = picture(e.name);
        ASSERT_FALSE(s.empty()) << "missing or unreadable: " << stored_path(e.name);
        EXPECT_EQ(s.width(), e.w);
        EXPECT_EQ(s.height(), e.h);
        EXPECT_EQ(bits_per_pixel(stored_path(e.name)), 8) << "stored pictures are palettised";
    }
}

TEST(StoredPictures, MasksAreSilhouettesOfPureBlackOnPureWhite) {
    for (const PictureEntry& e : kPictureCatalogue) {
        if (e.kind != PicKind::Mask) continue;
        SCOPED_TRACE(e.name);
        const Surface& m = picture(e.name);
        ASSERT_FALSE(m.empty());
        int black = 0, white = 0;
        for (Rgb c : m.pixels()) {
            black += c == kBlack;
            white += c == kWhite;
        }
        EXPECT_EQ(black + white, m.width() * m.height()) << "a mask holds only black and white";
        EXPECT_GT(black, m.width() * m.height() / 20) << "the sprite would be all but invisible";
        EXPECT_GT(white, 0) << "a mask with no white covers its whole rectangle";
    }
}

TEST(StoredPictures, ImagesAreBlackOutsideTheirMaskAndColouredInside) {
    for (const PictureEntry& e : kPictureCatalogue) {
        if (e.kind != PicKind::Image) continue;
        SCOPED_TRACE(e.name);
        const Surface& img = picture(e.name);
        const Surface& m = picture(e.mask);
        ASSERT_FALSE(img.empty());
        ASSERT_EQ(img.width(), m.width());
        ASSERT_EQ(img.height(), m.height());
        int outside_not_black = 0, inside = 0, inside_coloured = 0;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x) {
                if (m.get(x, y) == kWhite) {
                    outside_not_black += img.get(x, y) != kBlack;
                } else {
                    ++inside;
                    inside_coloured += img.get(x, y) != kBlack;
                }
            }
        // XOR over the AND-ed background: anything not black outside the
        // silhouette would tint the world around the sprite.
        EXPECT_EQ(outside_not_black, 0);
        EXPECT_GT(inside_coloured, inside / 2) << "the silhouette is mostly painted";
    }
}

TEST(StoredPictures, IconsArePointersOnMagenta) {
    for (const PictureEntry& e : kPictureCatalogue) {
        if (e.kind != PicKind::Icon) continue;
        SCOPED_TRACE(e.name);
        const Surface& s = picture(e.name);
        ASSERT_FALSE(s.empty());
        int magenta = 0;
        for (Rgb c : s.pixels()) magenta += c == kMagenta;
        EXPECT_GT(magenta, 32 * 32 / 5) << "transparent surround";
        EXPECT_LT(magenta, 32 * 32 * 9 / 10) << "something to see";
        // Nothing half-way to magenta: a pink fringe would show on every background.
        for (Rgb c : s.pixels()) {
            if (c != kMagenta) {
                EXPECT_FALSE(r_of(c) > 200 && g_of(c) < 60 && b_of(c) > 200) << std::hex << c;
            }
        }
    }
}

// The widest column (or row) of an arrow is its head, on the side it points to.
TEST(StoredPictures, ArrowIconsPointTheirWay) {
    auto head = [](const Surface& s, bool columns) {
        int best = -1, best_n = -1;
        for (int i = 0; i < 32; ++i) {
            int n = 0;
            for (int j = 0; j < 32; ++j) n += (columns ? s.get(i, j) : s.get(j, i)) != kMagenta;
            if (n > best_n) best_n = n, best = i;
        }
        return best;
    };
    EXPECT_GT(head(picture("Picture30_1"), true), 16) << "right";
    EXPECT_LT(head(picture("Picture30_2"), true), 16) << "left";
    EXPECT_LT(head(picture("Picture30_3"), false), 16) << "up";
    EXPECT_GT(head(picture("Picture30_4"), false), 16) << "down";
}

// ------------------------------------------------------- screen pieces
TEST(StoredPictures, FrameIsWoodAroundABlackOpening) {
    const Surface& f = picture("Picture64");
    ASSERT_EQ(f.width(), 480);
    ASSERT_EQ(f.height(), 540);
    // Play area and bar are overwritten each tick: they are black.
    EXPECT_EQ(count_black(f, 40, 40, 440, 500), 400 * 460);
    // The border about 35 pixels wide on all four sides is warm brown wood.
    for (auto [x0, y0, x1, y1] : std::vector<std::array<int, 4>>{
             {0, 0, 480, 35}, {0, 505, 480, 540}, {0, 35, 35, 505}, {445, 35, 480, 505}}) {
        Mean m = mean(f, x0, y0, x1, y1);
        EXPECT_GT(m.r, m.b + 30) << x0 << "," << y0;
        EXPECT_GT(m.r, 60);
        EXPECT_LT(count_black(f, x0, y0, x1, y1), (x1 - x0) * (y1 - y0) / 20);
    }
}

TEST(StoredPictures, BarIsAPurpleFieldInAGoldBorder) {
    const Surface& bar = picture("Picture12");
    Mean field = mean(bar, 10, 12, 390, 50);
    EXPECT_GT(field.b, field.g + 25);
    EXPECT_GT(field.r, field.g + 10);
    Mean border = mean(bar, 0, 0, 400, 3);
    EXPECT_GT(border.r, border.b + 60) << "gold";
    EXPECT_GT(border.g, border.b + 30);
}

TEST(StoredPictures, BannersAreOpaqueLetteredPlaques) {
    struct Want {
        const char* name;
        int w, h;
        bool orange;
    };
    for (const Want& b : {Want{"Picture35", 200, 58, false}, Want{"Picture36", 174, 52, false},
                          Want{"Picture77", 245, 69, true}}) {
        SCOPED_TRACE(b.name);
        EXPECT_EQ(entry(b.name).kind, PicKind::Plain);
        const Surface& s = picture(b.name);
        ASSERT_EQ(s.width(), b.w);
        ASSERT_EQ(s.height(), b.h);
        Mean m = mean(s, 8, 8, b.w - 8, b.h - 8);
        EXPECT_GT(m.r, m.g + 40);
        EXPECT_GT(m.r, m.b + 40);
        if (b.orange) {
            EXPECT_GT(m.g, m.b + 20) << "orange, not red";
        } else {
            EXPECT_LT(m.g, m.r * 0.55) << "red, not orange";
        }
        // Lettering: light strokes across the middle band.
        int light = 0;
        for (int x = 0; x < b.w; ++x)
            for (int y = b.h / 3; y < b.h * 2 / 3; ++y) light += g_of(s.get(x, y)) > 190;
        EXPECT_GT(light, b.w / 2);
        EXPECT_GT(count_colours(s), 40);
    }
}

TEST(StoredPictures, TitlePlatesAndSpinesAreSolid) {
    for (const char* name : {"Picture22", "Picture25", "Picture26", "Picture28", "Picture43", "Picture46",
                             "Picture47", "Picture48", "Picture21", "Picture24", "Picture27", "Picture29",
                             "Picture45", "Picture49", "Picture50", "Picture51", "Picture58", "Picture59",
                             "Picture60", "Picture23_0", "Picture23_1", "Picture57_0", "Picture57_1"}) {
        SCOPED_TRACE(name);
        const Surface& s = picture(name);
        ASSERT_FALSE(s.empty());
        // Copied without a mask over the shelf: no black hole in the middle.
        int w = s.width(), h = s.height();
        EXPECT_LT(count_black(s, w / 4, h / 4, w - w / 4, h - h / 4), (w / 2) * (h / 2) / 10);
    }
    // The two looks of the well book and the flat book differ, the second brighter.
    for (auto [a, b] : {std::pair{"Picture23_0", "Picture23_1"}, std::pair{"Picture57_0", "Picture57_1"}}) {
        Mean m0 = mean(picture(a), 0, 0, picture(a).width(), picture(a).height());
        Mean m1 = mean(picture(b), 0, 0, picture(b).width(), picture(b).height());
        EXPECT_GT(m1.r + m1.g + m1.b, m0.r + m0.g + m0.b + 20) << a << " / " << b;
    }
}

// --------------------------------------------------------- animations
TEST(StoredPictures, AnimationFramesDiffer) {
    const std::vector<std::vector<std::string>> runs = {
        {"Picture32_0", "Picture32_1", "Picture32_2"},
        {"Picture56_2", "Picture56_3", "Picture56_4"},
        {"Picture56_0", "Picture56_1"},
        {"Picture38_0", "Picture38_1", "Picture38_2", "Picture38_3"},
    };
    for (const auto& run : runs)
        for (size_t i = 0; i + 1 < run.size(); ++i) EXPECT_FALSE(picture(run[i]) == picture(run[i + 1])) << run[i];
}

// Copied unmasked into the underground room: a black ground with the
// lightning or the rain on it.
TEST(StoredPictures, StormIsDrawnOnBlack) {
    for (int k = 0; k < 5; ++k) {
        const Surface& s = picture("Picture56_" + std::to_string(k));
        SCOPED_TRACE(k);
        std::map<Rgb, int> n;
        for (Rgb c : s.pixels()) ++n[c];
        auto most = std::max_element(n.begin(), n.end(), [](auto& a, auto& b) { return a.second < b.second; });
        EXPECT_EQ(most->first, kBlack);
        EXPECT_GT(count_black(s, 0, 0, 50, 50), 50 * 50 / 4);
        EXPECT_EQ(count_black(s, 0, 0, 50, 1) + count_black(s, 0, 49, 50, 50) > 0, true) << "black at the edges";
        int bright = 0;
        for (Rgb c : s.pixels()) bright += r_of(c) + g_of(c) + b_of(c) > 450;
        EXPECT_GT(bright, 20) << "a bolt or raindrops to see";
    }
}

// The plant and the rope are drawn with their foot at the bottom centre
// (the vase, the well floor), and reach the top of their pictures.
TEST(StoredPictures, PlantAndRopeStandOnTheirFoot) {
    for (const char* name : {"Picture52_0", "Picture52_1", "Picture52_2", "Picture70_0", "Picture70_1", "Picture70_2"}) {
        SCOPED_TRACE(name);
        const Surface& m = picture(name);
        int w = m.width(), h = m.height();
        EXPECT_GT(count_black(m, w / 2 - 4, h - 6, w / 2 + 4, h), 0) << "foot";
        EXPECT_GT(count_black(m, 0, 0, w, h / 20 + 6), 0) << "top";
        // Continuous: no empty band of rows between foot and top.
        for (int y = 0; y < h; y += 4) EXPECT_GT(count_black(m, 0, y + 0, w, std::min(h, y + 12)), 0) << y;
    }
}

TEST(StoredPictures, SpiderHangsFromItsThread) {
    // The thread is drawn 48 columns right of the spider's left edge.
    for (int k = 0; k < 3; ++k) {
        const Surface& m = picture("Picture31_" + std::to_string(k));
        EXPECT_GT(count_black(m, 47, 0, 52, 8), 0) << k;
    }
    const Surface& t = picture("Picture33");
    Mean m = mean(t, 0, 0, 3, 100);
    EXPECT_GT(m.r + m.g + m.b, 3 * 150) << "a light thread";
}

// --------------------------------------------------------------- pages
TEST(BookPages, ThirteenPagesCoverThePlayArea) {
    for (int i = 1; i <= 13; ++i) {
        SCOPED_TRACE(i);
        Surface s;
        ASSERT_NO_THROW(s = load_bmp_file(std::string(LEXOVO_BIN) + "/lib" + std::to_string(i) + ".bmp"));
        EXPECT_EQ(s.width(), 400);
        EXPECT_EQ(s.height(), 400);
        EXPECT_GT(count_colours(s), 500) << "a painted page, not a flat fill";
        // Paper-coloured on the whole, with dark type on it.
        Mean m = mean(s, 0, 0, 400, 400);
        EXPECT_GT(m.r, 150);
        EXPECT_GT(m.r, m.b + 20);
        int dark = 0;
        for (Rgb c : s.pixels()) dark += r_of(c) + g_of(c) + b_of(c) < 200;
        EXPECT_GT(dark, 1500);
    }
}

// Each object page shows its object large: the object's own most telling
// colour (one the plain diary page hardly has) covers a good part of it.
TEST(BookPages, ObjectPagesPictureTheirObject) {
    auto bucket = [](Rgb c) { return (r_of(c) / 16) * 256 + (g_of(c) / 16) * 16 + b_of(c) / 16; };
    auto page = [](int i) { return load_bmp_file(std::string(LEXOVO_BIN) + "/lib" + std::to_string(i) + ".bmp"); };
    std::map<int, int> diary;
    const Surface diary_page = page(1);
    for (Rgb c : diary_page.pixels()) ++diary[bucket(c)];
    const std::pair<int, const char*> books[] = {{4, "Picture41"}, {5, "Picture39"}, {6, "Picture44"},
                                                 {8, "Picture54"}, {9, "Picture55"}, {10, "Picture65"},
                                                 {11, "Picture66"}, {12, "Picture67"}, {13, "Picture71"}};
    for (auto [book, pic] : books) {
        SCOPED_TRACE(book);
        const Surface& mask = picture(std::string(pic) + "_0");
        const Surface& img = picture(std::string(pic) + "_1");
        std::map<int, int> hist;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                if (mask.get(x, y) == kBlack) ++hist[bucket(img.get(x, y))];
        int telling = -1, best = 0;
        for (auto [b, n] : hist)
            if (diary[b] < 50 && n > best) best = n, telling = b;
        ASSERT_GE(telling, 0);
        const Surface shown = page(book);
        int on_page = 0;
        for (Rgb c : shown.pixels()) on_page += bucket(c) == telling;
        EXPECT_GT(on_page, 250);
        // Drawn larger than in the bar.
        EXPECT_GT(on_page, best * 2);
    }
}

// Lettering that failed to render (a missing font) would leave blank metal.
TEST(StoredPictures, TitlePlatesCarryEngravedLetters) {
    for (const char* name : {"Picture22", "Picture25", "Picture26", "Picture28", "Picture43", "Picture46",
                             "Picture47", "Picture48"}) {
        SCOPED_TRACE(name);
        const Surface& s = picture(name);
        int w = s.width(), h = s.height(), upper = 0, lower = 0;
        for (int y = 4; y < h - 4; ++y)
            for (int x = 10; x < w - 10; ++x) {
                Rgb c = s.get(x, y);
                bool dark = r_of(c) + g_of(c) + b_of(c) < 330;
                (y < h * 0.42 ? upper : lower) += dark;
            }
        EXPECT_GT(upper, 40) << "the author";
        EXPECT_GT(lower, 120) << "the title";
    }
}

// --------------------------------------------------------- palettes
TEST(Palette, KeepsTheGamesSpecialColoursExactly) {
    Surface s(64, 64);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) s.set(x, y, rgb(x * 4, y * 4, (x * y) & 255));
    s.set(0, 0, kBlack);
    s.set(1, 0, kWhite);
    s.set(2, 0, kMagenta);
    // Neighbours of the special colours must not collapse into them.
    s.set(3, 0, rgb(1, 0, 0));
    s.set(4, 0, rgb(254, 1, 254));
    Surface q = quantise(s, 256);
    EXPECT_LE(count_colours(q), 256);
    EXPECT_EQ(q.get(0, 0), kBlack);
    EXPECT_EQ(q.get(1, 0), kWhite);
    EXPECT_EQ(q.get(2, 0), kMagenta);
    EXPECT_NE(q.get(3, 0), kBlack);
    EXPECT_NE(q.get(4, 0), kMagenta);
    int special = 0;
    for (Rgb c : q.pixels()) special += c == kBlack || c == kWhite || c == kMagenta;
    EXPECT_EQ(special, 3);
}

TEST(Palette, StaysCloseToTheOriginal) {
    // A smooth two-way gradient of 4096 colours: 256 are enough for it.
    Surface s(64, 64);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) s.set(x, y, rgb(40 + x * 3, 30 + y * 2, 90 + (x + y)));
    Surface q = quantise(s, 256);
    EXPECT_LE(count_colours(q), 256);
    int worst = 0;
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) {
            Rgb a = s.get(x, y), b = q.get(x, y);
            worst = std::max({worst, std::abs(r_of(a) - r_of(b)), std::abs(g_of(a) - g_of(b)),
                              std::abs(b_of(a) - b_of(b))});
        }
    EXPECT_LE(worst, 14);
}

TEST(Palette, LeavesFewColoursAlone) {
    Surface s(10, 10, rgb(12, 34, 56));
    s.set(5, 5, rgb(200, 100, 0));
    EXPECT_TRUE(quantise(s, 256) == s);
    EXPECT_EQ(count_colours(s), 2);
}

}  // namespace

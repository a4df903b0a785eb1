// SPDX-License-Identifier: GPL-3.0-or-later
// The professor's pictures as the game uses them: every one painted at its
// catalogue size, the soles on the floor line the movement code assumes,
// frames of one cycle alike so that the walk animates without jumps, and
// the scenes (umbrella, vine, dazed) laid out the way the events draw them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>
#include <string>

#include "game/picture_catalogue.h"
#include "datagen/pictures/painter.h"

namespace {

const PictureMap& painted() {
    static const PictureMap pictures = [] {
        PictureMap m;
        paint_character_pictures(m);
        return m;
    }();
    return pictures;
}

const Surface& get(const std::string& name) {
    static const Surface none;
    auto it = painted().find(name);
    return it == painted().end() ? none : it->second;
}

bool solid(const Surface& mask, int x, int y) { return mask.get(x, y) == 0; }

struct Extent {
    int top = -1, bottom = -1, left = 1 << 20, right = -1;
    long area = 0;
};

Extent extent(const Surface& mask, int y0 = 0, int y1 = -1) {
    Extent e;
    if (y1 < 0) y1 = mask.height() - 1;
    for (int y = y0; y <= y1; ++y)
        for (int x = 0; x < mask.width(); ++x)
            if (solid(mask, x, y)) {
                if (e.top < 0) e.top = y;
                e.bottom = y;
                e.left = std::min(e.left, x);
                e.right = std::max(e.right, x);
                ++e.area;
            }
    return e;
}

// The mean column of the silhouette's pixels in rows y0..y1.
double centre_column(const Surface& mask, int y0, int y1) {
    double sum = 0;
    long n = 0;
    for (int y = y0; y <= y1; ++y)
        for (int x = 0; x < mask.width(); ++x)
            if (solid(mask, x, y)) sum += x, ++n;
    return n ? sum / double(n) : -1;
}

// The first row of the silhouette in the columns round the top of the head
// (a hand raised beside the head does not count).
int head_top(const Surface& mask, int column) {
    for (int y = 0; y < mask.height(); ++y)
        for (int x = column - 4; x <= column + 4; ++x)
            if (solid(mask, x, y)) return y;
    return -1;
}

int colours_inside(const Surface& image, const Surface& mask) {
    std::set<Rgb> seen;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (solid(mask, x, y)) seen.insert(image.get(x, y));
    return int(seen.size());
}

// The professor's pictures of the catalogue: each image with its mask.
struct Pair {
    std::string image, mask;
};
std::vector<Pair> character_pairs() {
    static const std::set<int> professor = {2,  3,  4,  6,  7,  9,  10, 11, 13, 14, 16, 17,
                                            18, 19, 20, 34, 42, 61, 68, 74, 75, 76};
    std::vector<Pair> out;
    for (const PictureEntry& e : kPictureCatalogue)
        if (e.kind == PicKind::Image && professor.count(std::atoi(e.name + 7))) out.push_back({e.name, e.mask});
    return out;
}

// Pictures drawn with their top-left corner at (prof_x, prof_y) while he
// stands on the floor 116 rows lower.
const char* kOnFloor[] = {"Picture2_0",  "Picture3_0",  "Picture4_0",  "Picture6_0",  "Picture7_0",  "Picture9_0",
                          "Picture10_0", "Picture11_0", "Picture13_0", "Picture14_0", "Picture16_0", "Picture17_0",
                          "Picture18_0", "Picture68_0", "Picture73_0", "Picture73_1", "Picture73_2"};

}  // namespace

TEST(CharacterPictures, EveryOneIsPaintedAtItsCatalogueSizeAndLooksPainted) {
    std::vector<Pair> pairs = character_pairs();
    ASSERT_EQ(pairs.size(), 26u);
    for (const Pair& p : pairs) {
        const Surface &img = get(p.image), &msk = get(p.mask);
        const PictureEntry* e = nullptr;
        for (const PictureEntry& c : kPictureCatalogue)
            if (p.image == c.name) e = &c;
        ASSERT_FALSE(img.empty()) << p.image << " was not painted";
        ASSERT_FALSE(msk.empty()) << p.mask << " was not painted";
        EXPECT_EQ(img.width(), e->w) << p.image;
        EXPECT_EQ(img.height(), e->h) << p.image;
        EXPECT_EQ(msk.width(), e->w) << p.mask;
        EXPECT_EQ(msk.height(), e->h) << p.mask;
        // A silhouette of some size, shaded with many colours, and nothing
        // the XOR transfer would turn into a hole: no pure black inside.
        Extent x = extent(msk);
        EXPECT_GT(x.area, long(e->w) * e->h / 12) << p.mask << " is nearly empty";
        EXPECT_GE(colours_inside(img, msk), 40) << p.image << " is painted flat";
        long black_inside = 0;
        for (int y = 0; y < img.height(); ++y)
            for (int xx = 0; xx < img.width(); ++xx)
                if (solid(msk, xx, y) && img.get(xx, y) == 0) ++black_inside;
        EXPECT_LT(black_inside, x.area / 100) << p.image << " has see-through black inside its silhouette";
    }
    // Nothing beyond the catalogue.
    std::set<std::string> listed;
    for (const PictureEntry& e : kPictureCatalogue) listed.insert(e.name);
    for (const auto& [name, s] : painted()) EXPECT_TRUE(listed.count(name)) << name << " is not in the catalogue";
}

TEST(CharacterPictures, SolesRestOnTheFloorLineWithinTheFloorProbes) {
    for (const char* name : kOnFloor) {
        Extent e = extent(get(name));
        EXPECT_GE(e.bottom, 114) << name << " floats above the floor";
        EXPECT_LE(e.bottom, 119) << name;
        // Shoes between the columns the walk probes look at (x - 5 and x + 14)
        // and the middle of the frame: he stands in the left half.
        Extent feet = extent(get(name), e.bottom - 6, e.bottom);
        EXPECT_GE(feet.left, 2) << name;
        EXPECT_LE(feet.right, 50) << name;
        // The body's width, below what he may hold up in his hands.
        Extent body = extent(get(name), 56, 119);
        EXPECT_LE(body.right - body.left + 1, 50) << name << " is too wide";
        EXPECT_GE(body.right - body.left + 1, 20) << name << " is too narrow";
        EXPECT_GE(e.top, 4) << name << " touches the top of the frame";
    }
    // The jumps are drawn 8 rows higher and are in mid-air: clear of the floor.
    for (const char* name : {"Picture19_0", "Picture20_0"}) {
        Extent e = extent(get(name));
        EXPECT_LT(e.bottom, 114) << name;
        EXPECT_GT(e.bottom, 96) << name;
    }
}

TEST(CharacterPictures, FramesOfOneCycleShareTheFigure) {
    // Walking, stepping and climbing cycles run stand, step, stand, other
    // step: the head must not bob and the body must not slide sideways.
    struct Cycle {
        const char* stand;
        std::vector<const char*> steps;
    };
    const Cycle cycles[] = {{"Picture2_0", {"Picture3_0", "Picture4_0", "Picture6_0", "Picture7_0"}},
                            {"Picture11_0", {"Picture9_0", "Picture10_0", "Picture17_0", "Picture18_0"}},
                            {"Picture16_0", {"Picture13_0", "Picture14_0"}},
                            {"Picture73_0", {"Picture73_1", "Picture73_2"}}};
    for (const Cycle& c : cycles) {
        const Surface& stand = get(c.stand);
        Extent s = extent(stand);
        double body = centre_column(stand, 40, 80);
        int head = int(std::lround(centre_column(stand, s.top, s.top + 8)));
        for (const char* name : c.steps) {
            const Surface& step = get(name);
            EXPECT_LE(std::abs(head_top(step, head) - head_top(stand, head)), 3) << name << " against " << c.stand;
            EXPECT_LE(std::fabs(centre_column(step, 40, 80) - body), 5.0) << name << " slides against " << c.stand;
            double ratio = double(extent(step).area) / double(s.area);
            EXPECT_GT(ratio, 0.85) << name;
            EXPECT_LT(ratio, 1.2) << name;
        }
    }
    // The two steps of a walk differ (the legs swap), and differ from standing.
    for (auto [a, b] : {std::pair{"Picture3_1", "Picture4_1"}, std::pair{"Picture6_1", "Picture7_1"},
                        std::pair{"Picture13_1", "Picture14_1"}, std::pair{"Picture9_1", "Picture10_1"}})
        EXPECT_FALSE(get(a) == get(b)) << a << " and " << b << " are the same frame";
    for (int k = 0; k < 3; ++k)
        for (int j = k + 1; j < 3; ++j) {
            std::string a = "Picture61_" + std::to_string(k), b = "Picture61_" + std::to_string(j);
            EXPECT_FALSE(get(a) == get(b)) << a << " and " << b << " are the same frame";
        }
}

TEST(CharacterPictures, TurningRoundKeepsHimInPlace) {
    // The left views mirror the right ones about one column, so a turn on
    // the spot neither shifts him nor changes his size.
    const std::pair<const char*, const char*> turns[] = {
        {"Picture2_0", "Picture11_0"}, {"Picture3_0", "Picture9_0"},   {"Picture4_0", "Picture10_0"},
        {"Picture6_0", "Picture17_0"}, {"Picture7_0", "Picture18_0"}, {"Picture19_0", "Picture20_0"}};
    for (auto [right, left] : turns) {
        const Surface &r = get(right), &l = get(left);
        Extent er = extent(r), el = extent(l);
        EXPECT_EQ(er.top, el.top) << right << " / " << left;
        EXPECT_EQ(er.bottom, el.bottom) << right << " / " << left;
        EXPECT_NEAR(double(er.area), double(el.area), er.area * 0.03) << right << " / " << left;
        // Body (not the nose or the hands) centred within a few columns.
        EXPECT_NEAR(centre_column(r, 50, 110), centre_column(l, 50, 110), 6.0) << right << " / " << left;
    }
    // From behind and from the side he stands on the same spot.
    EXPECT_NEAR(centre_column(get("Picture16_0"), 100, 119), centre_column(get("Picture2_0"), 100, 119), 5.0);
}

TEST(CharacterPictures, ScenesAreLaidOutAsTheEventsDrawThem) {
    // Dazed: seated on the ground line, the picture's bottom edge; stars
    // above his head.
    for (int k = 0; k < 3; ++k) {
        std::string mask = "Picture62_" + std::to_string(k);
        Extent e = extent(get(mask));
        EXPECT_GE(e.bottom, 91) << mask << " does not sit on the ground";
        EXPECT_LE(e.top, 30) << mask << " has no stars over the head";
    }
    // Umbrella: a wide canopy at the top, him hanging to the bottom edge.
    {
        const Surface& m = get("Picture42_0");
        int widest = 0;
        for (int y = 0; y < 40; ++y) {
            Extent row = extent(m, y, y);
            if (row.area) widest = std::max(widest, row.right - row.left + 1);
        }
        EXPECT_GE(widest, 55) << "the umbrella is not open";
        EXPECT_GE(extent(m).bottom, 144);
        EXPECT_LE(extent(m).top, 2);
    }
    // The vine hangs from above the picture down to its end; alone it spans
    // nearly the whole height, with him it ends at his hands.
    {
        Extent vine = extent(get("Picture75_0"));
        EXPECT_EQ(vine.top, 0);
        EXPECT_GE(vine.bottom, 330);
        const Surface& swing = get("Picture76_0");
        EXPECT_TRUE(extent(swing, 0, 0).area > 0) << "the vine does not come from above";
        EXPECT_GE(extent(swing).bottom, 360) << "he does not hang at the lower end";
        // Every row is joined: the vine is one unbroken line down to him.
        for (int y = 0; y < swing.height() - 120; ++y) EXPECT_GT(extent(swing, y, y).area, 0) << "gap at row " << y;
    }
    // Caught by the spider: drawn under the spider's middle (frame column 40).
    {
        double c = centre_column(get("Picture34_0"), 40, 110);
        EXPECT_NEAR(c, 40.0, 3.0);
        EXPECT_LE(extent(get("Picture34_0")).top, 20) << "no arms up in fright";
    }
}

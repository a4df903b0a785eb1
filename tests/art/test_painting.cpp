// SPDX-License-Identifier: GPL-3.0-or-later
// The generator's own machinery: the guard that holds painted pictures to
// the catalogue, the split of a painted canvas into a sprite pair, and the
// type setting the plates, banners and pages rely on.
#include <gtest/gtest.h>

#include <cairo.h>

#include <map>
#include <vector>

#include "game/picture_catalogue.h"
#include "datagen/paint/brush.h"
#include "datagen/pictures/catalogue_check.h"
#include "datagen/pictures/painter.h"
#include "core/bmp_load.h"

namespace {

constexpr Rgb kWhite = rgb(255, 255, 255);

// A complete, valid set: masks with a black block, images coloured there,
// plain pictures grey, icons a dot on magenta.
PictureMap valid_set() {
    PictureMap m;
    for (const PictureEntry& e : kPictureCatalogue) {
        switch (e.kind) {
            case PicKind::Mask: {
                Surface s(e.w, e.h, kWhite);
                s.set(e.w / 2, e.h / 2, 0);
                m[e.name] = s;
                break;
            }
            case PicKind::Image: {
                Surface s(e.w, e.h, 0);
                s.set(e.w / 2, e.h / 2, rgb(200, 100, 50));
                m[e.name] = s;
                break;
            }
            case PicKind::Plain:
                m[e.name] = Surface(e.w, e.h, rgb(90, 90, 90));
                break;
            case PicKind::Icon: {
                Surface s(e.w, e.h, rgb(255, 0, 255));
                s.set(3, 3, rgb(250, 200, 40));
                m[e.name] = s;
                break;
            }
        }
    }
    return m;
}

TEST(CatalogueCheck, AcceptsACompleteSetAndNamesWhatIsWrong) {
    PictureMap ok = valid_set();
    EXPECT_EQ(check_pictures(ok), "");

    PictureMap missing = ok;
    missing.erase("Picture39_1");
    EXPECT_NE(check_pictures(missing).find("Picture39_1"), std::string::npos);

    PictureMap extra = ok;
    extra["Picture99"] = Surface(4, 4);
    EXPECT_NE(check_pictures(extra).find("Picture99"), std::string::npos);

    PictureMap sized = ok;
    sized["Picture35"] = Surface(201, 58);
    std::string why = check_pictures(sized);
    EXPECT_NE(why.find("Picture35"), std::string::npos);
    EXPECT_NE(why.find("200x58"), std::string::npos) << why;
}

TEST(CatalogueCheck, HoldsEachKindToItsRule) {
    PictureMap grey_mask = valid_set();
    grey_mask["Picture54_0"].set(1, 1, rgb(128, 128, 128));
    EXPECT_NE(check_pictures(grey_mask).find("Picture54_0"), std::string::npos);

    // Colour where the mask lets the background through would tint it.
    PictureMap leak = valid_set();
    leak["Picture54_1"].set(0, 0, rgb(1, 0, 0));
    EXPECT_NE(check_pictures(leak).find("Picture54_1"), std::string::npos);

    // The image of a split pair is checked against its own mask (Picture53
    // against Picture52), not a namesake.
    PictureMap split = valid_set();
    split["Picture52_2"].set(0, 0, 0);
    split["Picture53_2"].set(0, 0, rgb(10, 200, 10));
    EXPECT_EQ(check_pictures(split), "");
    split["Picture52_2"].set(0, 0, kWhite);
    EXPECT_NE(check_pictures(split).find("Picture53_2"), std::string::npos);

    PictureMap icon = valid_set();
    icon["Picture30_1"] = Surface(32, 32, rgb(250, 200, 40));
    EXPECT_NE(check_pictures(icon).find("Picture30_1"), std::string::npos);

    // Plain pictures may be anything at all.
    PictureMap plain = valid_set();
    plain["Picture64"] = Surface(480, 540, 0);
    EXPECT_EQ(check_pictures(plain), "");
}

TEST(SpriteSplit, HalfCoveredPixelsDecideTheSilhouette) {
    cairo_surface_t* c = new_canvas(4, 1);
    cairo_t* cr = cairo_create(c);
    // Opaque red, 60 % red, 40 % red, nothing.
    const double cover[] = {1.0, 0.6, 0.4, 0.0};
    for (int x = 0; x < 4; ++x) {
        cairo_rectangle(cr, x, 0, 1, 1);
        cairo_set_source_rgba(cr, 1, 0, 0, cover[x]);
        cairo_fill(cr);
    }
    cairo_destroy(cr);
    PictureMap out;
    add_sprite(out, "m", "i", c, rgb(0, 0, 100));
    cairo_surface_destroy(c);
    const Surface &m = out["m"], &i = out["i"];
    EXPECT_EQ(m.get(0, 0), 0u);
    EXPECT_EQ(m.get(1, 0), 0u);
    EXPECT_EQ(m.get(2, 0), kWhite);
    EXPECT_EQ(m.get(3, 0), kWhite);
    EXPECT_EQ(i.get(0, 0), rgb(255, 0, 0));
    // The partly covered edge pixel is blended with the edge colour, not with black.
    Rgb edge = i.get(1, 0);
    EXPECT_NEAR(int((edge >> 16) & 255), 153, 2);
    EXPECT_NEAR(int(edge & 255), 40, 2);
    EXPECT_EQ(i.get(2, 0), 0u);
    EXPECT_EQ(i.get(3, 0), 0u);
}

TEST(Type, FittedTextStaysInsideItsBox) {
    cairo_surface_t* c = new_canvas(150, 32);
    cairo_t* cr = cairo_create(c);
    const std::string title = "Vita segreta delle mosche";
    double size = fit_text(cr, title, "DejaVu Serif Bold Italic", 130, 14, 11);
    EXPECT_GT(size, 5.0);
    EXPECT_LE(size, 11.0);
    TextBox b = measure_text(cr, title, "DejaVu Serif Bold Italic " + std::to_string(size));
    EXPECT_LE(b.w, 130);
    EXPECT_LE(b.h, 14);
    // A longer text gets a smaller size.
    EXPECT_LT(fit_text(cr, title + " e delle zanzare", "DejaVu Serif Bold Italic", 130, 14, 11), size);
    // What is drawn lies inside the box it was given.
    draw_text(cr, title, "DejaVu Serif Bold Italic " + std::to_string(size), 10, 9, 130, Align::Centre,
              Col{0, 0, 0, 1});
    cairo_destroy(cr);
    Surface s = flatten(c, kWhite);
    cairo_surface_destroy(c);
    int inked = 0, outside = 0;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 150; ++x) {
            bool ink = s.get(x, y) != kWhite;
            inked += ink;
            outside += ink && (x < 9 || x > 141 || y < 8 || y > 24);
        }
    EXPECT_GT(inked, 200);
    EXPECT_EQ(outside, 0);
}

// Texture passes work on straight colour over cairo's premultiplied
// pixels: leaving a pixel alone must leave it as it was, and a change must
// keep the pixel's coverage.
TEST(Texture, PixelPassesRespectPremultipliedColour) {
    cairo_surface_t* c = new_canvas(8, 1);
    cairo_t* cr = cairo_create(c);
    for (int x = 0; x < 8; ++x) {
        cairo_rectangle(cr, x, 0, 1, 1);
        cairo_set_source_rgba(cr, 0.9, 0.5, 0.1, (x + 1) / 8.0);
        cairo_fill(cr);
    }
    cairo_destroy(cr);
    cairo_surface_flush(c);
    auto* px = reinterpret_cast<uint32_t*>(cairo_image_surface_get_data(c));
    std::vector<uint32_t> before(px, px + 8);
    for_pixels(c, [](int, int, double&, double&, double&, double&) {});
    for (int x = 0; x < 8; ++x) {
        for (int shift : {24, 16, 8, 0})
            EXPECT_NEAR(int((px[x] >> shift) & 255), int((before[size_t(x)] >> shift) & 255), 1) << x;
    }
    // Halving the colour keeps alpha and halves the premultiplied channels.
    for_pixels(c, [](int, int, double& r, double& g, double& b, double&) { r *= 0.5, g *= 0.5, b *= 0.5; });
    for (int x = 0; x < 8; ++x) {
        EXPECT_EQ(px[x] >> 24, before[size_t(x)] >> 24);
        EXPECT_NEAR(int((px[x] >> 16) & 255), int((before[size_t(x)] >> 16) & 255) / 2.0, 1.01);
    }
    cairo_surface_destroy(c);
}

TEST(Type, RaisedAndCutLettersInkOnlyTheirBox) {
    for (int kind = 0; kind < 2; ++kind) {
        SCOPED_TRACE(kind);
        cairo_surface_t* c = new_canvas(200, 50);
        cairo_t* cr = cairo_create(c);
        if (kind == 0)
            embossed_text(cr, "Tempo scaduto!", "DejaVu Serif Bold Italic 12", 20, 12, 160, Align::Centre,
                          Col{1, 1, 0.8, 1}, Col{0.8, 0.6, 0.2, 1}, Col{0.1, 0, 0, 1}, Col{1, 1, 1, 0.6});
        else
            engraved_text(cr, "Tempo scaduto!", "DejaVu Serif Bold Italic 12", 20, 12, 160, Align::Centre,
                          Col{0.2, 0.1, 0, 1}, Col{1, 0.9, 0.7, 0.8});
        cairo_destroy(cr);
        Surface s = flatten(c, kWhite);
        cairo_surface_destroy(c);
        int left = 200, right = -1, inked = 0;
        for (int y = 0; y < 50; ++y)
            for (int x = 0; x < 200; ++x)
                if (s.get(x, y) != kWhite) {
                    ++inked;
                    left = std::min(left, x);
                    right = std::max(right, x);
                }
        EXPECT_GT(inked, 300);
        EXPECT_GE(left, 17);
        EXPECT_LE(right, 183);
        // Centred: as much margin on the left as on the right, give or take the shadow.
        EXPECT_NEAR(left - 20, 180 - right, 6);
    }
}

TEST(Type, NoiseIsSmoothRepeatableAndInRange) {
    double prev = noise2(0, 3.3, 7);
    for (int i = 1; i < 400; ++i) {
        double v = noise2(i * 0.05, 3.3, 7);
        EXPECT_GE(v, 0.0);
        EXPECT_LE(v, 1.0);
        EXPECT_LT(std::abs(v - prev), 0.2) << "smooth at small steps";
        prev = v;
    }
    EXPECT_EQ(fbm(1.7, 2.9, 11), fbm(1.7, 2.9, 11));
    EXPECT_NE(fbm(1.7, 2.9, 11), fbm(1.7, 2.9, 12));
}

// ------------------------------------------------- the pictures in place
const Surface& stored(const std::string& name) {
    static std::map<std::string, Surface> cache;
    auto it = cache.find(name);
    if (it == cache.end()) it = cache.emplace(name, load_bmp_file(std::string(LEXOVO_STORED_DIR) + "/" + name + ".bmp")).first;
    return it->second;
}

// The game draws the fly over page 3 at (200, 250): the page keeps that
// place clear of print and gives the fly something to stand on.
TEST(BookPages, PageThreeLeavesThePlaceForTheFly) {
    Surface page = load_bmp_file(std::string(LEXOVO_BIN) + "/lib3.bmp");
    const Surface& fly = stored("Picture37_0");
    int dark = 0;
    for (int y = 250; y < 250 + fly.height() - 2; ++y)
        for (int x = 200; x < 200 + fly.width(); ++x) {
            Rgb c = page.get(x, y);
            dark += ((c >> 16) & 255) + ((c >> 8) & 255) + (c & 255) < 300;
        }
    EXPECT_LT(dark, 5) << "no type or drawing under the fly";
    // Right under its feet (the fly's lowest rows) something that is not paper.
    int lowest = 0;
    for (int y = 0; y < fly.height(); ++y)
        for (int x = 0; x < fly.width(); ++x)
            if (fly.get(x, y) == 0) lowest = y;
    Rgb paper = page.get(205, 252);
    auto far_from_paper = [&](Rgb c) {
        int d = 0;
        for (int shift : {16, 8, 0}) d += std::abs(int((c >> shift) & 255) - int((paper >> shift) & 255));
        return d > 60;
    };
    EXPECT_FALSE(far_from_paper(page.get(230, 250 + lowest - 6))) << "the fly's own place is bare";
    int support = 0;
    for (int x = 210; x < 250; ++x) support += far_from_paper(page.get(x, 250 + lowest + 2));
    EXPECT_GT(support, 30) << "something under its feet";
}

// The plant grows from the vase and the rope from the well floor: both
// rest on the middle of their bottom row.
TEST(StoredPictures, PlantAndRopeFeetAreCentred) {
    for (const char* name : {"Picture52_0", "Picture52_1", "Picture52_2", "Picture70_0", "Picture70_1", "Picture70_2"}) {
        const Surface& m = stored(name);
        int y = m.height() - 3, left = -1, right = -1;
        for (int x = 0; x < m.width(); ++x)
            if (m.get(x, y) == 0) {
                if (left < 0) left = x;
                right = x;
            }
        ASSERT_GE(left, 0) << name;
        double centre = (left + right) / 2.0;
        EXPECT_NEAR(centre, m.width() / 2.0, 4.0) << name;
    }
}

}  // namespace

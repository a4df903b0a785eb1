// SPDX-License-Identifier: GPL-3.0-or-later
// 16-bit arithmetic, rounding, surfaces, raster operations and BMP files.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>

#include "core/bmp_load.h"
#include "core/int16.h"
#include "core/png_write.h"
#include "core/surface.h"

TEST(Int16, OverflowIsErrorSix) {
    Int16 a = 32767;
    try {
        a += 1;
        FAIL() << "no overflow";
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.number, 6);
        EXPECT_EQ(e.description, "Overflow");
    }
    EXPECT_EQ(int(a), 32767);  // the failed statement changed nothing
    Int16 b = -32768;
    EXPECT_THROW(b -= 1, RuntimeError);
    EXPECT_THROW(Int16(40000), RuntimeError);
    EXPECT_NO_THROW(Int16(-32768));
}

TEST(Rounding, HalvesGoToTheEvenNeighbour) {
    EXPECT_EQ(cint(19.5), 20);
    EXPECT_EQ(cint(28.5), 28);
    EXPECT_EQ(cint(17.5), 18);
    EXPECT_EQ(cint(1001.5), 1002);
    EXPECT_EQ(cint(1012.5), 1012);
    EXPECT_EQ(cint(-2.5), -2);
    EXPECT_EQ(cint(-3.5), -4);
    EXPECT_EQ(cint(77.5), 78);
    EXPECT_EQ(cint(165.5), 166);
    EXPECT_EQ(cint(2.4999), 2);
    EXPECT_THROW(cint(32767.5), RuntimeError);  // rounds to 32768
    EXPECT_EQ(cint(-32768.4), -32768);
    EXPECT_EQ(int_part(4.99), 4);
    EXPECT_EQ(int_part(-0.5), -1);
}

namespace {
Surface filled(int w, int h, Rgb c) { return Surface(w, h, c); }
}

TEST(Blit, RasterOperationsCombinePixels) {
    Surface dst = filled(4, 4, rgb(0xF0, 0x0F, 0xAA));
    Surface src = filled(2, 2, rgb(0x3C, 0xFF, 0x0F));
    blit(dst, 0, 0, src, Rop::SrcAnd);
    EXPECT_EQ(dst.get(0, 0), rgb(0x30, 0x0F, 0x0A));
    blit(dst, 0, 0, src, Rop::SrcInvert);
    EXPECT_EQ(dst.get(1, 1), rgb(0x30 ^ 0x3C, 0x0F ^ 0xFF, 0x0A ^ 0x0F));
    blit(dst, 2, 2, src, Rop::SrcCopy);
    EXPECT_EQ(dst.get(3, 3), rgb(0x3C, 0xFF, 0x0F));
    EXPECT_EQ(dst.get(2, 1), rgb(0xF0, 0x0F, 0xAA));  // outside the rectangle: untouched
}

TEST(Blit, ClipsAtEveryEdgeOfBothSurfaces) {
    Surface src(3, 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 3; ++x) src.set(x, y, rgb(10 * x + 1, 10 * y + 1, 7));
    struct Case { int dx, dy; int probe_x, probe_y, sx, sy; };
    // Destination corners: left, top, right, bottom and fully outside.
    const Case cases[] = {{-1, 0, 0, 0, 1, 0}, {0, -2, 0, 0, 0, 2}, {4, 1, 4, 1, 0, 0}, {1, 4, 1, 4, 0, 0}};
    for (const Case& c : cases) {
        Surface dst(5, 5, rgb(1, 2, 3));
        blit(dst, c.dx, c.dy, src, Rop::SrcCopy);
        EXPECT_EQ(dst.get(c.probe_x, c.probe_y), src.get(c.sx, c.sy)) << c.dx << "," << c.dy;
    }
    Surface dst(5, 5, rgb(1, 2, 3));
    blit(dst, 10, 10, src, Rop::SrcCopy);
    blit(dst, -3, -3, src, Rop::SrcCopy);
    for (Rgb p : dst.pixels()) EXPECT_EQ(p, rgb(1, 2, 3));
    // A source rectangle that runs off the source is clipped too.
    blit(dst, 0, 0, 5, 5, src, 2, 2, Rop::SrcCopy);
    EXPECT_EQ(dst.get(0, 0), src.get(2, 2));
    EXPECT_EQ(dst.get(1, 1), rgb(1, 2, 3));
    // Reading outside a surface gives no map colour at all.
    EXPECT_EQ(src.get(-1, 0), kNoColour);
    EXPECT_EQ(src.get(0, 3), kNoColour);
}

TEST(Blit, SpritePairLeavesBackgroundAroundTheFigure) {
    Surface bg(3, 1, rgb(90, 80, 70));
    Surface mask(3, 1, rgb(255, 255, 255)), image(3, 1, 0);
    mask.set(1, 0, 0);
    image.set(1, 0, rgb(200, 10, 20));
    draw_sprite(bg, 0, 0, mask, image);
    EXPECT_EQ(bg.get(0, 0), rgb(90, 80, 70));
    EXPECT_EQ(bg.get(1, 0), rgb(200, 10, 20));
    EXPECT_EQ(bg.get(2, 0), rgb(90, 80, 70));
}

TEST(Bmp, EightAndTwentyFourBitKeepExactColours) {
    Surface s(5, 3);
    s.set(0, 0, rgb(255, 0, 255));
    s.set(4, 2, rgb(0, 255, 0));
    s.set(2, 1, rgb(1, 2, 3));
    const std::string p8 = testing::TempDir() + "/c8.bmp", p24 = testing::TempDir() + "/c24.bmp";
    ASSERT_TRUE(save_bmp8(s, p8));
    ASSERT_TRUE(save_bmp24(s, p24));
    EXPECT_EQ(load_bmp_file(p8), s);
    EXPECT_EQ(load_bmp_file(p24), s);
}

TEST(Bmp, MissingAndInvalidFilesAreNumberedErrors) {
    // A folder is no data file: missing, as a file that is not there.
    for (const std::string& path : {testing::TempDir() + "/no-such-file.bmp", testing::TempDir()}) {
        try {
            load_bmp_file(path);
            FAIL() << path;
        } catch (const RuntimeError& e) {
            EXPECT_EQ(e.number, 53) << path;
        }
    }
    const std::string junk = testing::TempDir() + "/junk.bmp";
    std::ofstream(junk) << "this is not a picture";
    try {
        load_bmp_file(junk);
        FAIL();
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.number, 481);
    }
}

TEST(Png, WrittenPicturesReadBack) {
    Surface s(7, 4, rgb(12, 34, 56));
    s.set(6, 3, rgb(250, 1, 128));
    const std::string p = testing::TempDir() + "/s.png";
    ASSERT_TRUE(write_png(s, p));
    EXPECT_EQ(read_png(p), s);
}

// SPDX-License-Identifier: GPL-3.0-or-later
// Our bitmap decoder against SDL 2's loader, which the game used before:
// over the game's own pictures, the stored fuzz corpus and files made here
// of every kind, good and broken, both must give the same pixels or both
// refuse. Where SDL's picture is plainly wrong we refuse on purpose; those
// cases are checked apart at the end.
#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <sstream>
#include <string>
#include <tuple>

#include "core/bmp_decode.h"
#include "core/bmp_load.h"
#include "core/runtime_error.h"
#include "tests/core/bmp_builder.h"

namespace fs = std::filesystem;

namespace {

struct Outcome {
    bool loaded = false;
    Surface picture;
};

// The loader as it was: SDL's decoding, converted to 0x00RRGGBB.
Outcome by_sdl(const Bytes& f) {
    SDL_RWops* rw = SDL_RWFromConstMem(f.data(), int(f.size()));
    if (!rw) return {};
    SDL_Surface* s = SDL_LoadBMP_RW(rw, 1);
    if (!s) return {};
    SDL_Surface* conv = SDL_ConvertSurfaceFormat(s, SDL_PIXELFORMAT_RGB888, 0);
    SDL_FreeSurface(s);
    if (!conv) return {};
    Outcome out{true, Surface(conv->w, conv->h)};
    SDL_LockSurface(conv);
    for (int y = 0; y < conv->h; ++y) {
        auto* src = reinterpret_cast<const uint32_t*>(static_cast<const uint8_t*>(conv->pixels) + y * conv->pitch);
        for (int x = 0; x < conv->w; ++x) out.picture.row(y)[x] = src[x] & 0x00FFFFFFu;
    }
    SDL_UnlockSurface(conv);
    SDL_FreeSurface(conv);
    return out;
}

Outcome by_us(const Bytes& f) {
    try {
        return {true, load_bmp_memory(f.data(), f.size())};
    } catch (const RuntimeError& e) {
        if (e.number != 481) ADD_FAILURE() << "error " << e.number << " instead of 481";
        return {};
    }
}

// Files that both loaded, alike: so that a test whose files all come out
// refused cannot pass unnoticed.
int loaded_alike = 0;

struct LoadedAtLeast {
    int least, before = loaded_alike;
    ~LoadedAtLeast() {
        EXPECT_GE(loaded_alike - before, least) << "files loaded alike";
    }
};

uint32_t field(const Bytes& f, size_t at, int n) {
    uint32_t v = 0;
    for (int i = 0; i < n; ++i)
        if (at + size_t(i) < f.size()) v |= uint32_t(f[at + size_t(i)]) << (8 * i);
    return v;
}

// What SDL shows wrongly and we refuse on purpose, told from the header: a
// compression it does not know, bitfields in an OS/2 2.x header, RLE in a
// picture of another depth. (The sizes it gets wrong are checked in the
// last test only, without SDL, which would make the whole picture.)
bool sdl_misreads(const Bytes& f) {
    const uint32_t info = field(f, 14, 4), bits = field(f, 28, 2), compression = field(f, 30, 4);
    if (f.size() < 2 || f[0] != 'B' || f[1] != 'M' || info < 40) return false;
    return compression > 3 || (compression == 3 && info == 64) || (compression == 1 && bits != 8) ||
           (compression == 2 && bits != 4);
}

// Larger than the game can use (core/bmp_decode.h), told from the header.
bool over_the_limit(const Bytes& f) {
    const uint32_t info = field(f, 14, 4);
    int64_t w = int32_t(field(f, 18, 4)), h = int32_t(field(f, 22, 4));
    if (info == 12) w = field(f, 18, 2), h = field(f, 20, 2);
    h = std::abs(h);
    return w > kMaxPictureSide || h > kMaxPictureSide || w * h > kMaxPicturePixels;
}

// Both refuse, or both load the same pixels (or we refuse what SDL
// misreads, or what is larger than the game can use); `must_load` also asks
// that they load.
testing::AssertionResult same_as_sdl(const Bytes& f, bool must_load = false) {
    const Outcome ours = by_us(f);
    if (sdl_misreads(f))
        return ours.loaded ? testing::AssertionFailure() << "we load what SDL misreads" : testing::AssertionSuccess();
    if (over_the_limit(f))
        return ours.loaded ? testing::AssertionFailure() << "we load what is over the limit" : testing::AssertionSuccess();
    const Outcome theirs = by_sdl(f);
    if (theirs.loaded != ours.loaded)
        return testing::AssertionFailure() << (theirs.loaded ? "SDL loads it, we refuse" : "SDL refuses it, we load");
    if (!ours.loaded)
        return must_load ? testing::AssertionFailure() << "both refuse it" : testing::AssertionSuccess();
    const Surface &a = theirs.picture, &b = ours.picture;
    if (a.width() != b.width() || a.height() != b.height())
        return testing::AssertionFailure() << "SDL's is " << a.width() << "x" << a.height() << ", ours "
                                           << b.width() << "x" << b.height();
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (a.get(x, y) != b.get(x, y))
                return testing::AssertionFailure() << std::hex << "at (" << std::dec << x << ", " << y << std::hex
                                                   << ") SDL has " << a.get(x, y) << ", we have " << b.get(x, y);
    ++loaded_alike;
    return testing::AssertionSuccess();
}

bool sdl_loads(const Bytes& f) { return by_sdl(f).loaded; }
bool we_refuse(const Bytes& f) { return !by_us(f).loaded; }

Bytes read_file(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

std::vector<fs::path> bitmaps_in(const fs::path& dir) {
    std::vector<fs::path> v;
    for (const auto& e : fs::directory_iterator(dir))
        if (e.is_regular_file()) v.push_back(e.path());
    std::sort(v.begin(), v.end());
    return v;
}

uint32_t scramble(int x, int y) { return uint32_t(x * 2654435761u) ^ uint32_t(y * 40503u + 12345u) * 2246822519u; }

// A picture of every kind the loader knows, small and with varied pixels:
// the bases for the truncation and mutation tests.
std::vector<Bytes> one_of_each_kind() {
    std::vector<Bytes> v;
    for (int bits : {1, 2, 4, 8}) {
        BmpFile b;
        b.bits = uint16_t(bits), b.width = 7, b.height = 3;
        b.colours(1 << bits);
        b.pixels = pack_rows(bits, 7, 3, false, [&](int x, int y) { return uint32_t(x + 2 * y) % (1u << bits); });
        v.push_back(b.bytes());
    }
    for (int bits : {16, 24, 32}) {
        BmpFile b;
        b.bits = uint16_t(bits), b.width = 5, b.height = 3;
        b.pixels = pack_rows(bits, 5, 3, false, scramble);
        v.push_back(b.bytes());
    }
    BmpFile bf;  // 16-bit 5-6-5 bitfields, top-down
    bf.bits = 16, bf.compression = 3, bf.masks = {0xF800, 0x07E0, 0x001F}, bf.width = 3, bf.height = -4;
    bf.pixels = pack_rows(16, 3, 4, true, scramble);
    v.push_back(bf.bytes());
    BmpFile os2;
    os2.info_size = 12, os2.bits = 8, os2.width = 5, os2.height = 2;
    os2.colours(256);
    os2.pixels = pack_rows(8, 5, 2, false, scramble);
    v.push_back(os2.bytes());
    BmpFile rle8;
    rle8.bits = 8, rle8.compression = 1, rle8.width = 6, rle8.height = 3;
    rle8.colours(16);
    rle8.pixels = {3, 4, 0, 3, 1, 2, 3, 0, 0, 0, 2, 1, 1, 6, 9, 0, 0, 0, 0, 1};
    v.push_back(rle8.bytes());
    BmpFile rle4;
    rle4.bits = 4, rle4.compression = 2, rle4.width = 6, rle4.height = 3;
    rle4.colours(16);
    rle4.pixels = {5, 0x12, 0, 3, 0x34, 0x50, 0, 0, 0, 2, 2, 1, 3, 0xAB, 0, 1};
    v.push_back(rle4.bytes());
    return v;
}

// --- The game's pictures and the stored corpus ------------------------------

TEST(BmpVsSdl, GamePicturesAndStoredSprites) {
    const LoadedAtLeast tally{150};
    int n = 0;
    for (const fs::path& dir : {fs::path(LEXOVO_BIN), fs::path(LEXOVO_STORED_DIR)})
        for (const fs::path& p : bitmaps_in(dir))
            if (p.extension() == ".bmp") {
                EXPECT_TRUE(same_as_sdl(read_file(p), true)) << p;
                ++n;
            }
    EXPECT_GT(n, 20);
}

TEST(BmpVsSdl, FuzzCorpus) {
    const LoadedAtLeast tally{40};
    int n = 0;
    for (const fs::path& p : bitmaps_in(LEXOVO_BMP_CORPUS)) {
        EXPECT_TRUE(same_as_sdl(read_file(p))) << p;
        ++n;
    }
    EXPECT_GT(n, 100);
}

// --- Files made here, kind by kind -------------------------------------------

TEST(BmpVsSdl, PalettisedEveryHeaderWidthAndColourCount) {
    const LoadedAtLeast tally{1200};
    for (int bits : {1, 2, 4, 8})
        for (uint32_t info : {12u, 40u, 52u, 56u, 108u, 124u})
            for (int w : {1, 2, 3, 5, 7, 8, 9, 17, 33})
                for (bool top_down : {false, true})
                    for (int used : {0, 1, 3, 1 << bits, 300}) {
                        if (info == 12 && (top_down || used)) continue;  // not in a core header
                        BmpFile b;
                        b.info_size = info, b.bits = uint16_t(bits), b.width = w, b.height = top_down ? -3 : 3;
                        b.colours_used = uint32_t(used);
                        b.colours(std::min(used ? used : 1 << bits, 256));
                        // Indices up to the palette's end, one past it on odd widths.
                        const uint32_t span = std::min<uint32_t>(used ? uint32_t(used) : 1u << bits, 1u << bits);
                        b.pixels = pack_rows(bits, w, 3, top_down,
                                             [&](int x, int y) { return uint32_t(x * 5 + y) % (span + (w % 2)); });
                        EXPECT_TRUE(same_as_sdl(b.bytes()))
                            << bits << " bits, header " << info << ", " << w << " wide, top-down " << top_down
                            << ", " << used << " colours";
                    }
}

TEST(BmpVsSdl, PalettesCutShortOrMissing) {
    const LoadedAtLeast tally{20};
    for (int bits : {1, 4, 8})
        for (int entries : {0, 1, 2, 7}) {
            BmpFile b;
            b.bits = uint16_t(bits), b.width = 4, b.height = 2;
            b.colours(entries);
            b.pixels = pack_rows(bits, 4, 2, false, [](int x, int y) { return uint32_t(x + y); });
            Bytes f = b.bytes();
            EXPECT_TRUE(same_as_sdl(f, true)) << bits << " bits, " << entries << " entries";
            // The pixels read as the palette when the offset points at them.
            b.data_offset = 54;
            EXPECT_TRUE(same_as_sdl(b.bytes())) << bits << " bits, " << entries << " entries, data at 54";
        }
    BmpFile b;  // only the file's end cuts the palette: entries stay white
    b.bits = 8, b.width = 2, b.height = 1, b.colours_used = 200, b.data_offset = 14 + 40;
    b.pixels = {3, 1, 0, 0};
    b.palette = {1, 2, 3, 4, 5, 6};
    EXPECT_TRUE(same_as_sdl(b.bytes()));
}

// RLE streams: the codes, and the odd cases of where a run ends.
TEST(BmpVsSdl, RunLengthEncoded) {
    const LoadedAtLeast tally{1000};
    const std::vector<std::pair<const char*, Bytes>> streams = {
        {"runs and row ends", {3, 4, 0, 0, 2, 7, 0, 0, 5, 1, 0, 1}},
        {"literal odd", {0, 3, 1, 2, 3, 0, 0, 0, 0, 0, 1}},
        {"literal even", {0, 4, 1, 2, 3, 4, 0, 0, 0, 1}},
        {"literal five", {0, 5, 0x12, 0x34, 0x50, 0, 0, 1}},
        {"literal six", {0, 6, 0x12, 0x34, 0x56, 0, 0, 1}},
        {"delta", {2, 5, 0, 2, 2, 1, 2, 6, 0, 1}},
        {"delta past the top", {0, 2, 1, 9, 2, 3, 0, 1}},
        {"run past the row's end", {20, 9, 0, 1}},
        {"run past the picture's end", {0, 2, 0, 2, 255, 3, 255, 4, 0, 1}},
        {"rows past the top", {1, 1, 0, 0, 1, 2, 0, 0, 1, 3, 0, 0, 1, 4, 0, 0, 1, 5, 0, 1}},
        {"indices past the palette", {4, 200, 0, 0, 2, 0xFF, 0, 1}},
        {"only the end", {0, 1}},
        {"no end code", {3, 4, 0, 0}},
        {"cut in a run", {3}},
        {"cut in a literal", {0, 6, 1, 2}},
        {"cut after an odd literal", {0, 3, 1, 2, 3}},
        {"cut in a delta", {0, 2, 1}},
        {"empty", {}},
        {"data after the end", {1, 1, 0, 1, 9, 9, 9}},
    };
    for (bool rle8 : {true, false})
        for (const auto& [what, data] : streams)
            for (int w : {1, 3, 4, 5, 8})
                for (int h : {1, 2, 3, -3})
                    for (int used : {0, 2, 16}) {
                        BmpFile b;
                        b.bits = rle8 ? 8 : 4, b.compression = rle8 ? 1 : 2, b.width = w, b.height = h;
                        b.colours_used = uint32_t(used);
                        b.colours(used ? used : rle8 ? 256 : 16);
                        b.pixels = data;
                        EXPECT_TRUE(same_as_sdl(b.bytes()))
                            << (rle8 ? "RLE8 " : "RLE4 ") << what << ", " << w << "x" << h << ", " << used << " colours";
                    }
}

// A move up by 255 rows of 9 000 000 bytes overflowed SDL's int product and
// sent it 2 GB the other way; a row that long is now past what the game can
// use, so the picture is refused from its header before any of that.
TEST(BmpVsSdl, RunLengthMoveThatOverflowsIsTooWideToReach) {
    BmpFile b;
    b.bits = 8, b.compression = 1, b.width = 9000000, b.height = 1;
    b.colours(8);
    b.pixels = {0, 2, 0, 255};
    for (int i = 0; i < 222; ++i) b.pixels.insert(b.pixels.end(), {0, 0});
    b.pixels.insert(b.pixels.end(), {5, 7, 0, 1});
    EXPECT_TRUE(we_refuse(b.bytes()));
}

TEST(BmpVsSdl, RandomRunLengthStreams) {
    const LoadedAtLeast tally{2000};
    std::mt19937 rng(1414);
    for (int n = 0; n < 3000; ++n) {
        const bool rle8 = rng() % 2;
        BmpFile b;
        b.bits = rle8 ? 8 : 4, b.compression = rle8 ? 1 : 2;
        b.width = int(rng() % 12) + 1, b.height = int(rng() % 6) + 1;
        if (rng() % 5 == 0) b.height = -b.height;
        b.colours_used = rng() % 3 ? 0 : rng() % 20;
        b.colours(rle8 ? 40 : 16);
        for (int codes = int(rng() % 14); codes > 0; --codes) {
            switch (rng() % 6) {
            case 0: case 1: b.pixels.push_back(uint8_t(rng() % 20 + 1)); b.pixels.push_back(uint8_t(rng())); break;
            case 2: b.pixels.insert(b.pixels.end(), {0, 0}); break;
            case 3: b.pixels.insert(b.pixels.end(), {0, 2, uint8_t(rng() % 6), uint8_t(rng() % 3)}); break;
            default: {
                const int count = int(rng() % 9) + 3;
                b.pixels.push_back(0);
                b.pixels.push_back(uint8_t(count));
                const int bytes = rle8 ? count : (count + 1) / 2;
                for (int i = 0; i < bytes + bytes % 2; ++i) b.pixels.push_back(uint8_t(rng() % 48));
            }
            }
        }
        if (rng() % 8) b.pixels.insert(b.pixels.end(), {0, 1});
        EXPECT_TRUE(same_as_sdl(b.bytes())) << "stream " << n;
    }
}

// Every 16-bit value through every mask set SDL knows, and some it does not.
TEST(BmpVsSdl, SixteenBitEveryValueEveryMaskSet) {
    const LoadedAtLeast tally{60};
    const std::vector<std::vector<uint32_t>> mask_sets = {
        {}, {0, 0, 0}, {0, 0x7E0, 0x1F}, {0x7C00, 0x3E0, 0x1F}, {0x1F, 0x3E0, 0x7C00},
        {0xF800, 0x7E0, 0x1F}, {0x1F, 0x7E0, 0xF800}, {0x3F, 0x7C0, 0xF800},
        {0x0F00, 0xF0, 0xF, 0xF000}, {0xF000, 0x0F00, 0xF0, 0xF}, {0xF, 0xF0, 0xF00, 0xF000}, {0xF0, 0xF00, 0xF000, 0xF},
        {0x7C00, 0x3E0, 0x1F, 0x8000}, {0xF800, 0x7C0, 0x3E, 1}, {0x1F, 0x3E0, 0x7C00, 0x8000}, {0x3E, 0x7C0, 0xF800, 1},
        {0xF00, 0xF0, 0xF}, {0xF800, 0x7E0, 0x1F, 0x1}, {0xFF00, 0xF0, 0xF}, {0x7C00, 0x3E0, 0x1F, 0x0}};
    for (int bits : {16, 15, 12})
        for (const auto& masks : mask_sets)
            for (uint32_t info : {40u, 56u}) {
                BmpFile b;
                b.info_size = info, b.bits = uint16_t(bits), b.width = 256, b.height = 256;
                b.compression = masks.empty() ? 0 : 3;
                b.masks = masks;
                if (info == 56 && b.masks.size() == 3) b.masks.push_back(0);
                b.pixels = pack_rows(16, 256, 256, false, [](int x, int y) { return uint32_t(y * 256 + x); });
                std::ostringstream what;
                what << bits << " bits, header " << info << ", masks" << std::hex;
                for (uint32_t m : masks) what << " " << m;
                EXPECT_TRUE(same_as_sdl(b.bytes())) << what.str();
            }
}

TEST(BmpVsSdl, EightBitBitfieldsAndTheirSmallerDepths) {
    const LoadedAtLeast tally{12};
    for (int bits : {1, 2, 4, 8})
        for (const std::vector<uint32_t>& masks : std::vector<std::vector<uint32_t>>{
                 {0xE0, 0x1C, 0x03}, {0, 0x1C, 0x03}, {0xE0, 0x1C, 0x07}})
            for (int used : {0, 1, 2, 255}) {
                BmpFile b;
                b.bits = uint16_t(bits), b.compression = 3, b.masks = masks, b.colours_used = uint32_t(used);
                b.width = 16, b.height = 16;
                b.colours(16);
                b.pixels = pack_rows(bits, 16, 16, false, [](int x, int y) { return uint32_t(y * 16 + x); });
                EXPECT_TRUE(same_as_sdl(b.bytes())) << bits << " bits, red mask " << masks[0] << ", " << used;
            }
}

TEST(BmpVsSdl, TwentyFourAndThirtyTwoBit) {
    const LoadedAtLeast tally{700};
    const std::vector<std::vector<uint32_t>> mask_sets = {
        {}, {0, 0, 0}, {0, 0xFF, 0xFF00}, {0xFF0000, 0xFF00, 0xFF}, {0xFF, 0xFF00, 0xFF0000}, {0xFF0000, 0xFF, 0xFF00},
        {0xFF000000, 0xFF0000, 0xFF00}, {0xFF00, 0xFF0000, 0xFF000000},
        {0xFF0000, 0xFF00, 0xFF, 0xFF000000}, {0xFF000000, 0xFF0000, 0xFF00, 0xFF}, {0xFF, 0xFF00, 0xFF0000, 0xFF000000},
        {0xFF00, 0xFF0000, 0xFF000000, 0xFF}, {0x3FF00000, 0xFFC00, 0x3FF, 0xC0000000}, {0x3FF00000, 0xFFC00, 0x3FF},
        {0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF}, {0xFF0000, 0xFF00, 0xFF, 0xFF}, {0x7F0000, 0xFF00, 0xFF}};
    for (int bits : {24, 32})
        for (const auto& masks : mask_sets)
            for (uint32_t info : {40u, 52u, 56u, 108u, 124u})
                for (int w : {1, 2, 3, 64})
                    for (bool alpha : {false, true}) {
                        BmpFile b;
                        b.info_size = info, b.bits = uint16_t(bits), b.width = w, b.height = w == 64 ? -64 : 3;
                        b.compression = masks.empty() ? 0 : 3;
                        b.masks = masks;
                        while (info >= 56 && !b.masks.empty() && b.masks.size() < 4) b.masks.push_back(0);
                        b.pixels = pack_rows(bits, w, std::abs(b.height), w == 64, [&](int x, int y) {
                            const uint32_t v = scramble(x, y);
                            return alpha ? v : v & 0x00FFFFFF;  // 32-bit with an all-zero alpha channel
                        });
                        std::ostringstream what;
                        what << bits << " bits, header " << info << ", " << w << " wide, alpha " << alpha
                             << ", masks" << std::hex;
                        for (uint32_t m : masks) what << " " << m;
                        EXPECT_TRUE(same_as_sdl(b.bytes())) << what.str();
                    }
}

TEST(BmpVsSdl, EveryHeaderSize) {
    const LoadedAtLeast tally{30};
    for (uint32_t info : {0u, 8u, 11u, 12u, 13u, 16u, 39u, 40u, 41u, 52u, 56u, 64u, 100u, 108u, 124u, 2000u, 0xFFFFFFFFu})
        for (int bits : {4, 8, 24}) {
            BmpFile b;
            b.info_size = info, b.bits = uint16_t(bits), b.width = 3, b.height = 2;
            if (bits <= 8) b.colours(1 << bits);
            b.pixels = pack_rows(bits, 3, 2, false, [&](int x, int y) { return scramble(x, y) % (bits == 24 ? 1u << 24 : 1u << bits); });
            EXPECT_TRUE(same_as_sdl(b.bytes())) << "header " << info << ", " << bits << " bits";
        }
}

TEST(BmpVsSdl, EveryDepthAndCompression) {
    const LoadedAtLeast tally{12};
    for (int bits = 0; bits <= 66; ++bits)
        for (uint32_t compression = 0; compression <= 13; ++compression) {
            BmpFile b;
            b.bits = uint16_t(bits), b.compression = compression, b.width = 4, b.height = 3, b.colours_used = 16;
            if (compression == 3) b.masks = {0xF800, 0x7E0, 0x1F};
            b.colours(16);
            for (int i = 0; i < 4 * 3 * 8 + 64; ++i) b.pixels.push_back(uint8_t(i % 16));
            b.pixels.insert(b.pixels.end(), {0, 1});  // an RLE stream's end, for RLE
            EXPECT_TRUE(same_as_sdl(b.bytes())) << bits << " bits, compression " << compression;
        }
}

TEST(BmpVsSdl, EveryTruncation) {
    const LoadedAtLeast tally{12};
    for (const Bytes& whole : one_of_each_kind()) {
        ASSERT_TRUE(same_as_sdl(whole, true));
        for (size_t n = 0; n < whole.size(); ++n)
            EXPECT_TRUE(same_as_sdl(Bytes(whole.begin(), whole.begin() + long(n)))) << "cut at " << n << " of " << whole.size();
    }
}

TEST(BmpVsSdl, BadOffsetsAndSizes) {
    const LoadedAtLeast tally{20};
    for (uint32_t offset : {0u, 1u, 13u, 14u, 30u, 54u, 60u, 118u, 200u, 0x7FFFFFFFu, 0xFFFFFFFFu})
        for (int bits : {4, 8, 24}) {
            BmpFile b;
            b.bits = uint16_t(bits), b.width = 3, b.height = 2, b.data_offset = offset;
            if (bits <= 8) b.colours(1 << bits);
            b.pixels = Bytes(64, 1);
            EXPECT_TRUE(same_as_sdl(b.bytes())) << "offset " << offset << ", " << bits << " bits";
        }
    const std::pair<int32_t, int32_t> sizes[] = {
        {0, 1}, {1, 0}, {-1, 1}, {-5, -5}, {INT32_MIN, 1}, {1, INT32_MIN}, {1, -1}, {1, INT32_MAX}, {INT32_MAX, 1},
        {INT32_MAX - 3, 1}, {1 << 30, 2}, {2000, 2000}, {65535, 65535}, {1000000, 3000}};
    for (auto [w, h] : sizes)
        for (int bits : {1, 8, 24, 32}) {
            BmpFile b;
            b.bits = uint16_t(bits), b.width = w, b.height = h;
            b.pixels = Bytes(64, 1);
            // SDL's row length and byte size: it makes the whole picture
            // before it reads, so those over 64 MB are not run through it.
            const int64_t pitch = (int64_t(w) * std::max(bits / 8, 1) + 3) & ~int64_t(3);
            const int64_t bytes = pitch * std::abs(int64_t(h));
            const bool sdl_stops_first = w <= 0 || h == 0 || h == INT32_MIN || pitch > INT32_MAX;
            if (!sdl_stops_first && bytes > INT32_MAX) {
                EXPECT_TRUE(we_refuse(b.bytes())) << w << "x" << h << ", " << bits << " bits";
            } else if (sdl_stops_first || bytes <= (int64_t(1) << 26)) {
                EXPECT_TRUE(same_as_sdl(b.bytes())) << w << "x" << h << ", " << bits << " bits";
            }
        }
}

// Random damage to every kind of file: bytes changed (mostly in the header),
// cut, or repeated.
TEST(BmpVsSdl, RandomMutations) {
    const LoadedAtLeast tally{10000};
    std::mt19937 rng(20260512);
    int tried = 0;
    for (const Bytes& base : one_of_each_kind())
        for (int n = 0; n < 2500; ++n) {
            Bytes f = base;
            for (int edits = int(rng() % 4) + 1; edits > 0; --edits) {
                const size_t at = rng() % 2 ? rng() % std::min<size_t>(f.size(), 70) : rng() % f.size();
                switch (rng() % 8) {
                case 0: f.resize(std::max<size_t>(at, 1)); break;
                case 1: {
                    const Bytes head(f.begin(), f.begin() + long(std::min<size_t>(at, 16)));
                    f.insert(f.begin() + long(at), head.begin(), head.end());
                    break;
                }
                case 2: f[at] = uint8_t(f[at] + 1); break;
                case 3: f[at] = uint8_t(f[at] - 1); break;
                case 4: f[at] = 0; break;
                case 5: f[at] = 0xFF; break;
                default: f[at] = uint8_t(rng());
                }
            }
            // The fuzz target's rule: no gigapixel pictures (SDL would make them).
            if (f.size() >= 26) {
                int64_t w = int32_t(f[18] | f[19] << 8 | f[20] << 16 | uint32_t(f[21]) << 24);
                int64_t h = int32_t(f[22] | f[23] << 8 | f[24] << 16 | uint32_t(f[25]) << 24);
                if ((f[14] | f[15] << 8 | f[16] << 16 | uint32_t(f[17]) << 24) == 12) w = f[18] | f[19] << 8, h = f[20] | f[21] << 8;
                if (std::abs(w) * std::abs(h) > (int64_t(1) << 22)) continue;
            }
            ++tried;
            EXPECT_TRUE(same_as_sdl(f)) << "mutation " << n;
        }
    EXPECT_GT(tried, 20000);
}

// --- Larger than the game can use ------------------------------------------

// The limit (core/bmp_decode.h) at its edges: a side of 4096, 4 Mi pixels in
// all; one pixel more is refused from the header, whatever the depth.
TEST(BmpDecode, PicturesUpToTheLimitAndNotOnePixelMore) {
    const std::tuple<int, int, bool> sizes[] = {
        {4096, 1024, true}, {1024, 4096, true}, {2048, 2048, true}, {2200, 800, true}, {4096, 1, true},
        {4097, 1, false},   {1, 4097, false},   {2049, 2048, false}, {4096, 1025, false}, {1, -4097, false}};
    for (auto [w, h, fits] : sizes)
        for (int bits : {1, 8, 24, 32}) {
            BmpFile b;
            b.bits = uint16_t(bits), b.width = w, b.height = h;
            if (bits <= 8) b.colours(2);
            const int64_t row = (int64_t(w) * bits + 31) / 32 * 4;
            b.pixels = Bytes(size_t(fits ? row * std::abs(int64_t(h)) : 8), 1);
            EXPECT_EQ(we_refuse(b.bytes()), !fits) << w << "x" << h << ", " << bits << " bits";
        }
}

// --- Where SDL is plainly wrong, and we refuse -------------------------------

TEST(BmpDecode, RefusesWhatSdlWouldShowWrongly) {
    // Compressions SDL does not know: it shows their data as raw pixels.
    for (uint32_t compression : {4u, 5u, 6u, 11u}) {
        BmpFile b;
        b.bits = 32, b.compression = compression, b.width = 2, b.height = 2, b.pixels = Bytes(16, 0x80);
        EXPECT_TRUE(sdl_loads(b.bytes())) << compression;
        EXPECT_TRUE(we_refuse(b.bytes())) << compression;
    }
    // Bitfields in an OS/2 2.x header, where 3 means Huffman coding.
    BmpFile os2;
    os2.info_size = 64, os2.bits = 8, os2.compression = 3, os2.width = 2, os2.height = 2, os2.pixels = Bytes(8, 0);
    EXPECT_TRUE(sdl_loads(os2.bytes()));
    EXPECT_TRUE(we_refuse(os2.bytes()));
    // RLE codes written into pixels of another size.
    for (auto [bits, compression] : {std::pair{24, 1u}, {16, 1u}, {4, 1u}, {8, 2u}, {1, 2u}, {32, 2u}}) {
        BmpFile b;
        b.bits = uint16_t(bits), b.compression = compression, b.width = 2, b.height = 2;
        b.colours(16);
        b.pixels = {2, 9, 0, 0, 2, 7, 0, 1};
        EXPECT_TRUE(sdl_loads(b.bytes())) << bits << " bits, compression " << compression;
        EXPECT_TRUE(we_refuse(b.bytes())) << bits << " bits, compression " << compression;
    }
    // A byte size past 2^31 - 1: SDL's arithmetic wraps and it shows black or
    // a part (not run through SDL here: it would make the whole picture).
    for (auto [w, h, bits, compression] : {std::tuple{65536, 32768, 8, 1u}, {46341, 46341, 8, 0u},
                                           {30000, 30000, 24, 0u}, {23171, 23171, 32, 0u}, {2000000000, 2, 1, 0u}}) {
        BmpFile b;
        b.bits = uint16_t(bits), b.compression = compression, b.width = w, b.height = h;
        b.pixels = {0, 1};
        EXPECT_TRUE(we_refuse(b.bytes())) << w << "x" << h << ", " << bits << " bits";
    }
    // An RLE row whose column counter would pass 2^31 - 1 (SDL's int): moved
    // right by deltas, then a run to the last column that fits, or one past.
    BmpFile far;
    far.bits = 8, far.compression = 1, far.width = 1, far.height = 1;
    for (int i = 0; i < INT32_MAX / 255; ++i) far.pixels.insert(far.pixels.end(), {0, 2, 255, 0});
    far.pixels.insert(far.pixels.end(), {uint8_t(INT32_MAX % 255), 1, 0, 1});
    EXPECT_FALSE(we_refuse(far.bytes()));
    far.pixels[far.pixels.size() - 4]++;
    EXPECT_TRUE(we_refuse(far.bytes()));
}

}  // namespace

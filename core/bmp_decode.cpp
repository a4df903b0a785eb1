// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/bmp_decode.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <optional>
#include <vector>

#include "core/runtime_error.h"

// The decoding runs in two steps, as SDL's did: the file's pixels are first
// laid out in memory as SDL laid them (rows of 1 to 4 bytes a pixel, each
// row padded to 4 bytes, the top row first), then each becomes a colour.
// Several of SDL's odd results only come out the same this way: an RLE run
// that goes on past the end of its row into the padding and the next row,
// a 24-bit picture read through its red mask alone.

namespace {

constexpr int64_t kIntMax = INT32_MAX;

enum Compression : uint32_t { kNone = 0, kRle8 = 1, kRle4 = 2, kBitfields = 3 };

[[noreturn]] void refuse() { throw err::invalid_picture(); }

// The file as a stream that may end anywhere: a field cut short keeps the
// bytes it has and reads the missing ones as zero.
struct File {
    const uint8_t* data;
    size_t size;

    bool has(uint64_t at) const { return at < size; }
    uint32_t field(uint64_t at, int bytes) const {
        uint32_t v = 0;
        for (int i = 0; i < bytes; ++i)
            if (has(at + uint64_t(i))) v |= uint32_t(data[at + uint64_t(i)]) << (8 * i);
        return v;
    }
};

// Reads on from a place in the file.
struct Cursor {
    const File& file;
    uint64_t at;

    bool next(uint8_t& byte) {
        if (!file.has(at)) return false;
        byte = file.data[at++];
        return true;
    }
    void skip(int64_t n) { at = std::min<uint64_t>(at + uint64_t(n), file.size); }
    void take(uint8_t* dst, int64_t n) {
        if (!file.has(at + uint64_t(n) - 1)) refuse();
        std::memcpy(dst, file.data + at, size_t(n));
        at += uint64_t(n);
    }
};

// --- Pixel layouts ------------------------------------------------------

enum class Colours { Palette, Masks, Rgb565, Argb2101010 };

// One pixel in memory: its size and, read as a little-endian number, where
// its red, green and blue are.
struct Layout {
    int bytes;
    uint32_t r, g, b;
    Colours colours;
};

// The layout that a depth and the header's four masks select. The masks
// must be those of a known layout exactly, with these exceptions: a zero red
// mask selects the depth's usual layout whatever the other masks say, a
// 24-bit picture is told by its red mask alone, and 15 bits is read as 16.
std::optional<Layout> layout_for(int bits, uint32_t r, uint32_t g, uint32_t b, uint32_t a) {
    constexpr Layout kIndex8{1, 0, 0, 0, Colours::Palette};
    constexpr Layout kRgb565{2, 0xF800, 0x07E0, 0x001F, Colours::Rgb565};
    if (r == 0) {
        switch (bits) {
        case 8: return kIndex8;
        case 12: return Layout{2, 0x0F00, 0x00F0, 0x000F, Colours::Masks};
        case 15: return Layout{2, 0x7C00, 0x03E0, 0x001F, Colours::Masks};
        case 16: return kRgb565;
        case 24: return Layout{3, 0xFF0000, 0x00FF00, 0x0000FF, Colours::Masks};
        case 32: return Layout{4, 0xFF0000, 0x00FF00, 0x0000FF, Colours::Masks};
        default: return std::nullopt;
        }
    }
    if (bits == 15) bits = 16;
    if (bits == 24) {
        if (r == 0xFF0000) return Layout{3, 0xFF0000, 0x00FF00, 0x0000FF, Colours::Masks};
        if (r == 0x0000FF) return Layout{3, 0x0000FF, 0x00FF00, 0xFF0000, Colours::Masks};
        return std::nullopt;
    }
    // Files that give 0x3F, 0x7C0, 0xF800 are read as 5-6-5 red-green-blue
    // (SDL's choice for some writer that stored the masks wrongly).
    if (bits == 16 && r == 0x003F && g == 0x07C0 && b == 0xF800 && a == 0) return kRgb565;

    struct Known {
        int bits;
        uint32_t r, g, b, a;
        Colours colours;
    };
    static constexpr Known kKnown[] = {
        {8, 0xE0, 0x1C, 0x03, 0, Colours::Masks},
        {12, 0x0F00, 0x00F0, 0x000F, 0, Colours::Masks},
        {12, 0x000F, 0x00F0, 0x0F00, 0, Colours::Masks},
        {16, 0x7C00, 0x03E0, 0x001F, 0, Colours::Masks},
        {16, 0x001F, 0x03E0, 0x7C00, 0, Colours::Masks},
        {16, 0x0F00, 0x00F0, 0x000F, 0xF000, Colours::Masks},
        {16, 0xF000, 0x0F00, 0x00F0, 0x000F, Colours::Masks},
        {16, 0x000F, 0x00F0, 0x0F00, 0xF000, Colours::Masks},
        {16, 0x00F0, 0x0F00, 0xF000, 0x000F, Colours::Masks},
        {16, 0x7C00, 0x03E0, 0x001F, 0x8000, Colours::Masks},
        {16, 0xF800, 0x07C0, 0x003E, 0x0001, Colours::Masks},
        {16, 0x001F, 0x03E0, 0x7C00, 0x8000, Colours::Masks},
        {16, 0x003E, 0x07C0, 0xF800, 0x0001, Colours::Masks},
        {16, 0xF800, 0x07E0, 0x001F, 0, Colours::Rgb565},
        {16, 0x001F, 0x07E0, 0xF800, 0, Colours::Masks},
        {32, 0x00FF0000, 0x0000FF00, 0x000000FF, 0, Colours::Masks},
        {32, 0xFF000000, 0x00FF0000, 0x0000FF00, 0, Colours::Masks},
        {32, 0x000000FF, 0x0000FF00, 0x00FF0000, 0, Colours::Masks},
        {32, 0x0000FF00, 0x00FF0000, 0xFF000000, 0, Colours::Masks},
        {32, 0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000, Colours::Masks},
        {32, 0xFF000000, 0x00FF0000, 0x0000FF00, 0x000000FF, Colours::Masks},
        {32, 0x000000FF, 0x0000FF00, 0x00FF0000, 0xFF000000, Colours::Masks},
        {32, 0x0000FF00, 0x00FF0000, 0xFF000000, 0x000000FF, Colours::Masks},
        {32, 0x3FF00000, 0x000FFC00, 0x000003FF, 0xC0000000, Colours::Argb2101010},
    };
    for (const Known& k : kKnown)
        if (k.bits == bits && k.r == r && k.g == g && k.b == b && k.a == a)
            return Layout{(bits + 7) / 8, r, g, b, k.colours};
    return std::nullopt;
}

// One channel of a pixel, widened from its n bits to 8 as SDL does:
// v * 255 / (2^n - 1), rounded down. For channels of 8 bits at most (the
// 10-bit layout has its own rule).
struct Channel {
    int shift = 0;
    uint32_t top = 0;  // the channel's largest value
    std::array<uint8_t, 256> wide{};

    explicit Channel(uint32_t mask) {
        if (mask == 0) return;
        while (!((mask >> shift) & 1)) ++shift;
        top = mask >> shift;
        for (uint32_t v = 0; v <= top; ++v) wide[v] = uint8_t(v * 255 / top);
    }
    int operator()(uint32_t pixel) const { return wide[(pixel >> shift) & top]; }
};

// --- The header -----------------------------------------------------------

struct Header {
    uint32_t data_offset = 0;
    uint32_t info_size = 0;
    int64_t width = 0, height = 0;  // height made positive
    bool top_down = false;
    int bits = 0;                   // per pixel, as the file says
    uint32_t compression = kNone;
    uint32_t colours_used = 0;
    uint32_t masks[4] = {0, 0, 0, 0};  // red, green, blue, alpha
};

Header read_header(const File& f) {
    if (f.size < 2 || f.data[0] != 'B' || f.data[1] != 'M') refuse();
    Header h;
    h.data_offset = f.field(10, 4);
    h.info_size = f.field(14, 4);
    int32_t width = 0, height = 0;
    if (h.info_size == 12) {  // OS/2 core header: unsigned 16-bit sizes
        width = int32_t(f.field(18, 2));
        height = int32_t(f.field(20, 2));
        h.bits = int(f.field(24, 2));
    } else if (h.info_size >= 40) {
        width = int32_t(f.field(18, 4));
        height = int32_t(f.field(22, 4));
        h.bits = int(f.field(28, 2));
        h.compression = f.field(30, 4);
        h.colours_used = f.field(46, 4);
        // The masks follow the 40 bytes, inside a longer header or not; the
        // alpha mask only in a header of 56 bytes or more. The OS/2 2.x
        // header (64 bytes) has none.
        if (h.compression == kBitfields && h.info_size != 64) {
            for (int i = 0; i < 3; ++i) h.masks[i] = f.field(54 + 4 * i, 4);
            if (h.info_size >= 56) h.masks[3] = f.field(66, 4);
        }
    }
    if (width <= 0 || height == 0 || height == INT32_MIN) refuse();
    h.width = width;
    h.top_down = height < 0;
    h.height = height < 0 ? -int64_t(height) : height;
    return h;
}

// Compressions whose data SDL would show as pixels it is not, and RLE in a
// picture of another depth, which it would write into pixels of another size.
void refuse_misread_compression(const Header& h) {
    if (h.info_size == 12) return;
    if (h.compression > kBitfields) refuse();
    if (h.compression == kBitfields && h.info_size == 64) refuse();  // Huffman there
    if (h.compression == kRle8 && h.bits != 8) refuse();
    if (h.compression == kRle4 && h.bits != 4) refuse();
}

// The masks of an uncompressed picture without bitfields.
void default_masks(Header& h, int depth) {
    uint32_t* m = h.masks;
    if (depth == 15 || depth == 16) m[0] = 0x7C00, m[1] = 0x03E0, m[2] = 0x001F;
    if (depth == 24) m[0] = 0xFF0000, m[1] = 0x00FF00, m[2] = 0x0000FF;
    if (depth == 32) m[0] = 0xFF0000, m[1] = 0x00FF00, m[2] = 0x0000FF, m[3] = 0xFF000000;
}

// The one check of a picture's size from its header, before anything is
// made: within what the game can use (bmp_decode.h), and a byte size that
// fits the int arithmetic SDL did with it.
void refuse_unusable_size(const Header& h, int64_t pitch) {
    if (h.width > kMaxPictureSide || h.height > kMaxPictureSide || h.width * h.height > kMaxPicturePixels) refuse();
    if (pitch > kIntMax || h.height * pitch > kIntMax) refuse();
}

// --- Palette -----------------------------------------------------------------

struct Palette {
    std::array<Rgb, 256> colour;
    uint32_t count = 0;  // indices from here up read as black
};

// Entries of 3 bytes after a core header, 4 after the others, right after
// the header; an entry cut off by the file's end keeps white for what is
// missing. No count (or one over 256) means 256, however few bits a pixel has.
Palette read_palette(const File& f, const Header& h) {
    Palette p;
    p.colour.fill(0xFFFFFF);
    p.count = h.colours_used == 0 || h.colours_used > 256 ? 256 : h.colours_used;
    const uint64_t base = 14 + uint64_t(h.info_size);
    const int entry = h.info_size == 12 ? 3 : 4;
    for (uint32_t i = 0; i < p.count; ++i) {
        const uint64_t at = base + uint64_t(i) * uint64_t(entry);
        Rgb c = p.colour[i];
        for (int k = 0; k < 3; ++k)  // blue, green, red
            if (f.has(at + uint64_t(k))) c = (c & ~(0xFFu << (8 * k))) | Rgb(f.data[at + uint64_t(k)]) << (8 * k);
        p.colour[i] = c;
    }
    return p;
}

// --- Pixel data --------------------------------------------------------------

// Uncompressed rows, in the header's direction. Pixels of 1, 2 or 4 bits
// become a byte each and must be below `limit`; an 8-bit row is held to it
// too when check_bytes is set. Every row must be there whole (but for the
// padding after the last row of small pixels).
void read_rows(Cursor& in, const Header& h, std::vector<uint8_t>& px, int64_t pitch, uint32_t limit,
               bool check_bytes) {
    const int packed = h.bits < 8 ? h.bits : 0;
    const int64_t row_bytes = packed ? (h.width * packed + 7) / 8 : 0;
    const int64_t pad = (4 - row_bytes % 4) % 4;
    for (int64_t k = 0; k < h.height; ++k) {
        uint8_t* dst = px.data() + (h.top_down ? k : h.height - 1 - k) * pitch;
        if (packed) {
            uint8_t byte = 0;
            for (int64_t x = 0; x < h.width; ++x) {
                if (x % (8 / packed) == 0 && !in.next(byte)) refuse();
                dst[x] = uint8_t(byte >> (8 - packed));
                if (dst[x] >= limit) refuse();
                byte = uint8_t(byte << packed);
            }
            in.skip(pad);
        } else {
            in.take(dst, pitch);
            if (check_bytes && std::any_of(dst, dst + h.width, [&](uint8_t v) { return v >= limit; })) refuse();
        }
    }
}

// RLE data as SDL writes it: from the bottom row up whatever the header's
// direction, a run that passes the end of its row going on in memory into
// the padding and the next row down, whatever falls outside the picture
// dropped, and no check of the indices. The data must end with its
// end-of-picture code. SDL counts the column in an int: a column past
// 2^31 - 1 is refused.
void read_rle(Cursor& in, std::vector<uint8_t>& px, int64_t pitch, bool rle8) {
    const int64_t end = int64_t(px.size());
    int64_t row = end - pitch;  // where the current row starts in memory
    int64_t column = 0;
    auto put = [&](uint8_t v) {
        const int64_t at = row + column;
        if (++column > kIntMax) refuse();
        if (at >= 0 && at < end) px[size_t(at)] = v;
    };
    auto next = [&] {
        uint8_t byte = 0;
        if (!in.next(byte)) refuse();
        return byte;
    };
    for (;;) {
        uint8_t count = next();
        if (count) {  // a run of one index, or of two alternating nibbles
            const uint8_t value = next();
            for (int i = 0; i < count; ++i) put(rle8 ? value : i % 2 ? value & 0x0F : value >> 4);
            continue;
        }
        count = next();
        if (count == 0) {  // end of row
            column = 0;
            row -= pitch;
        } else if (count == 1) {  // end of picture
            return;
        } else if (count == 2) {  // move right and up
            column += next();
            if (column > kIntMax) refuse();
            const uint8_t up = next();
            row -= int32_t(uint32_t(up) * uint32_t(pitch));  // SDL's int product, overflow included
        } else {  // literal indices, padded to an even number of bytes
            uint8_t value = 0;
            for (int i = 0; i < count; ++i) {
                if (rle8 || i % 2 == 0) value = next();
                put(rle8 ? value : i % 2 ? value & 0x0F : value >> 4);
            }
            if ((rle8 ? count : (count + 1) / 2) % 2) next();
        }
    }
}

// --- Colours -----------------------------------------------------------------

// Every pixel of `bytes` bytes (a little-endian number) through colour_of.
template <int bytes, typename ColourOf>
Surface each_pixel(const std::vector<uint8_t>& px, const Header& h, int64_t pitch, ColourOf colour_of) {
    Surface out(int(h.width), int(h.height));
    for (int64_t y = 0; y < h.height; ++y) {
        const uint8_t* p = px.data() + y * pitch;
        Rgb* dst = out.row(int(y));
        for (int64_t x = 0; x < h.width; ++x, p += bytes) {
            uint32_t v = 0;
            for (int i = 0; i < bytes; ++i) v |= uint32_t(p[i]) << (8 * i);
            dst[x] = colour_of(v);
        }
    }
    return out;
}

Surface to_colours(const std::vector<uint8_t>& px, const Header& h, int64_t pitch, const Layout& l,
                   const Palette& pal) {
    switch (l.colours) {
    case Colours::Palette:
        return each_pixel<1>(px, h, pitch, [&](uint32_t v) { return v < pal.count ? pal.colour[v] : 0; });
    case Colours::Argb2101010:  // the top 8 of each 10 bits
        return each_pixel<4>(px, h, pitch, [](uint32_t v) {
            return rgb(int((v >> 22) & 0xFF), int((v >> 12) & 0xFF), int((v >> 2) & 0xFF));
        });
    case Colours::Rgb565:
    case Colours::Masks:
        break;
    }
    const Channel r(l.r), g(l.g), b(l.b);
    if (l.colours == Colours::Rgb565) {
        // SDL's table for this layout adds the green's low three bits
        // unwidened, so that full green is 254.
        const Channel six_bits(0x3F);
        return each_pixel<2>(px, h, pitch, [&](uint32_t v) {
            const uint32_t green = (v >> 5) & 0x3F;
            return rgb(r(v), six_bits(green & 0x38) + 4 * int(green & 7), b(v));
        });
    }
    auto masked = [&](uint32_t v) { return rgb(r(v), g(v), b(v)); };
    switch (l.bytes) {
    case 1: return each_pixel<1>(px, h, pitch, masked);
    case 2: return each_pixel<2>(px, h, pitch, masked);
    case 3: return each_pixel<3>(px, h, pitch, masked);
    default: return each_pixel<4>(px, h, pitch, masked);
    }
}

Surface decode(const File& f) {
    Header h = read_header(f);
    if (h.bits == 0 || h.bits == 3 || (h.bits >= 5 && h.bits <= 7)) refuse();
    refuse_misread_compression(h);
    const int depth = h.bits < 8 ? 8 : h.bits;  // 1, 2 and 4 bits take a byte each
    if (h.compression == kNone) default_masks(h, depth);
    const std::optional<Layout> layout = layout_for(depth, h.masks[0], h.masks[1], h.masks[2], h.masks[3]);
    if (!layout) refuse();
    const int64_t pitch = (h.width * layout->bytes + 3) & ~int64_t(3);
    refuse_unusable_size(h, pitch);

    Palette pal;
    // Without a palette (3-3-2 bitfields), 1 to 4-bit pixels are still held
    // to the header's count.
    uint32_t limit = h.colours_used;
    if (layout->colours == Colours::Palette) {
        pal = read_palette(f, h);
        limit = pal.count;
    }

    std::vector<uint8_t> px(size_t(h.height * pitch), 0);
    Cursor in{f, std::min<uint64_t>(h.data_offset, f.size)};
    if (h.compression == kRle8 || h.compression == kRle4)
        read_rle(in, px, pitch, h.compression == kRle8);
    else
        read_rows(in, h, px, pitch, limit, layout->colours == Colours::Palette && limit < 256);
    return to_colours(px, h, pitch, *layout, pal);
}

}  // namespace

Surface decode_bmp(const uint8_t* data, size_t size) { return decode(File{data, size}); }

// SPDX-License-Identifier: GPL-3.0-or-later
#include "web/data_pack.h"

#include <cstdint>

#include "core/runtime_error.h"
#include "core/wav_info.h"

namespace data_pack {

std::string packed_name(const std::string& n) {
    auto ends = [&](const char* s) { return n.size() > 4 && n.compare(n.size() - 4, 4, s) == 0; };
    if (ends(".bmp")) return n.substr(0, n.size() - 4) + ".png";
    if (ends(".wav")) return n.substr(0, n.size() - 4) + ".wavz";
    if (ends(".mid")) return n.substr(0, n.size() - 4) + ".mp3";
    return n;
}

namespace {

// The 16-bit samples of the data chunk, or false when the file has none.
bool sample_area(const std::vector<unsigned char>& wav, size_t& offset, size_t& frames, int& channels) {
    WavInfo w;
    try {
        w = parse_wav(wav.data(), wav.size());
    } catch (const RuntimeError&) {
        return false;
    }
    if (w.format != 1 || w.bits != 16 || w.channels == 0 || w.block_align != 2 * w.channels) return false;
    offset = w.data_offset;
    channels = w.channels;
    frames = w.data_bytes / w.block_align;
    return frames > 0;
}

int16_t sample_at(const unsigned char* p) { return int16_t(uint16_t(p[0] | (p[1] << 8))); }

}  // namespace

void encode_samples(std::vector<unsigned char>& wav) {
    size_t at, frames;
    int ch;
    if (!sample_area(wav, at, frames, ch)) return;
    const size_t n = frames * size_t(ch);
    std::vector<unsigned char> planes(2 * n);
    for (int c = 0; c < ch; ++c) {
        int32_t x1 = 0, x2 = 0;
        for (size_t f = 0; f < frames; ++f) {
            size_t i = f * size_t(ch) + size_t(c);
            int32_t x = sample_at(&wav[at + 2 * i]);
            auto miss = uint16_t(x - (2 * x1 - x2));
            planes[i] = uint8_t(miss);
            planes[n + i] = uint8_t(miss >> 8);
            x2 = x1;
            x1 = x;
        }
    }
    std::copy(planes.begin(), planes.end(), wav.begin() + long(at));
}

void decode_samples(std::vector<unsigned char>& wav) {
    size_t at, frames;
    int ch;
    if (!sample_area(wav, at, frames, ch)) return;
    const size_t n = frames * size_t(ch);
    std::vector<unsigned char> planes(wav.begin() + long(at), wav.begin() + long(at + 2 * n));
    for (int c = 0; c < ch; ++c) {
        int32_t x1 = 0, x2 = 0;
        for (size_t f = 0; f < frames; ++f) {
            size_t i = f * size_t(ch) + size_t(c);
            auto miss = uint16_t(planes[i] | (planes[n + i] << 8));
            auto x = int16_t(uint16_t(miss + uint16_t(2 * x1 - x2)));
            wav[at + 2 * i] = uint8_t(uint16_t(x));
            wav[at + 2 * i + 1] = uint8_t(uint16_t(x) >> 8);
            x2 = x1;
            x1 = x;
        }
    }
}

}  // namespace data_pack

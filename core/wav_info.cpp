// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/wav_info.h"

#include <algorithm>
#include <cstring>
#include <optional>

#include "core/data_file.h"
#include "core/runtime_error.h"

namespace {
uint32_t le32(const unsigned char* p) { return p[0] | (p[1] << 8) | (p[2] << 16) | (uint32_t(p[3]) << 24); }
uint16_t le16(const unsigned char* p) { return uint16_t(p[0] | (p[1] << 8)); }
void put16(std::vector<unsigned char>& b, uint32_t v) { b.push_back(v & 255); b.push_back((v >> 8) & 255); }
void put32(std::vector<unsigned char>& b, uint32_t v) { put16(b, v & 0xFFFF); put16(b, v >> 16); }
[[noreturn]] void refuse() { throw err::invalid_call(); }

// The format fields a mixer can play as they are.
void check_format(const WavInfo& w) {
    if (w.format != 1) refuse();  // A-law, ADPCM, float, "extensible"...
    if (w.channels != 1 && w.channels != 2) refuse();
    if (w.bits != 8 && w.bits != 16) refuse();
    if (w.sample_rate < kMinSoundRate || w.sample_rate > kMaxSoundRate) refuse();
    if (w.block_align != w.channels * w.bits / 8) refuse();
    if (w.byte_rate != w.sample_rate * w.block_align) refuse();
}
}  // namespace

uint64_t converted_bytes(uint64_t frames, uint32_t sample_rate) {
    // Rounded up: a mixer's converter never makes fewer frames than this.
    return (frames * kMixRate + sample_rate - 1) / sample_rate * kMixFrameBytes;
}

WavInfo parse_wav(const unsigned char* d, size_t size) {
    if (size < 12 || std::memcmp(d, "RIFF", 4) != 0 || std::memcmp(d + 8, "WAVE", 4) != 0) refuse();
    WavInfo w;
    bool have_fmt = false;
    for (size_t p = 12;; p += 8 + size_t(le32(d + p + 4)) + (le32(d + p + 4) & 1)) {
        if (p + 8 > size) refuse();  // no "data"
        const uint32_t len = le32(d + p + 4);
        const size_t left = size - (p + 8);
        if (std::memcmp(d + p, "data", 4) == 0) {
            if (!have_fmt) refuse();
            w.data_offset = p + 8;
            const uint64_t held = std::min<uint64_t>(len, left);
            w.data_bytes = uint32_t(held - held % w.block_align);
            break;
        }
        if (len > left) refuse();  // a chunk before "data" that the file does not hold
        if (std::memcmp(d + p, "fmt ", 4) == 0) {
            if (have_fmt || len < 16) refuse();
            const unsigned char* f = d + p + 8;
            w.format = le16(f);
            w.channels = le16(f + 2);
            w.sample_rate = le32(f + 4);
            w.byte_rate = le32(f + 8);
            w.block_align = le16(f + 12);
            w.bits = le16(f + 14);
            check_format(w);
            have_fmt = true;
        }
    }
    if (w.frames() == 0 || converted_bytes(w.frames(), w.sample_rate) > kMaxSoundBytes) refuse();
    return w;
}

WavFile read_wav_file(const std::string& path) {
    std::optional<std::vector<uint8_t>> bytes = read_data_file(path, kMaxSoundFileBytes);
    if (!bytes) refuse();
    WavFile out;
    out.bytes = std::move(*bytes);
    out.info = parse_wav(out.bytes.data(), out.bytes.size());
    return out;
}

std::vector<unsigned char> canonical_wav(const WavFile& w) {
    const WavInfo& i = w.info;
    std::vector<unsigned char> b;
    b.reserve(44 + i.data_bytes);
    b.insert(b.end(), {'R', 'I', 'F', 'F'});
    put32(b, 36 + i.data_bytes);
    b.insert(b.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
    put32(b, 16);
    put16(b, 1);
    put16(b, i.channels);
    put32(b, i.sample_rate);
    put32(b, i.byte_rate);
    put16(b, i.block_align);
    put16(b, i.bits);
    b.insert(b.end(), {'d', 'a', 't', 'a'});
    put32(b, i.data_bytes);
    b.insert(b.end(), w.bytes.begin() + std::ptrdiff_t(i.data_offset),
             w.bytes.begin() + std::ptrdiff_t(i.data_offset + i.data_bytes));
    return b;
}

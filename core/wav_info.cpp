// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/wav_info.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstring>
#include <fstream>

#include "core/runtime_error.h"

namespace {
uint32_t le32(const unsigned char* p) { return p[0] | (p[1] << 8) | (p[2] << 16) | (uint32_t(p[3]) << 24); }
uint16_t le16(const unsigned char* p) { return uint16_t(p[0] | (p[1] << 8)); }
}  // namespace

WavInfo parse_wav(const unsigned char* d, size_t size) {
    if (size < 12 || std::memcmp(d, "RIFF", 4) != 0 || std::memcmp(d + 8, "WAVE", 4) != 0) throw err::invalid_call();
    WavInfo w;
    bool have_fmt = false, have_data = false;
    for (size_t p = 12; p + 8 <= size;) {
        uint32_t len = le32(d + p + 4);
        if (std::memcmp(d + p, "fmt ", 4) == 0 && len >= 16 && p + 8 + 16 <= size) {
            const unsigned char* f = d + p + 8;
            w.format = le16(f);
            w.channels = le16(f + 2);
            w.sample_rate = le32(f + 4);
            w.byte_rate = le32(f + 8);
            w.block_align = le16(f + 12);
            w.bits = le16(f + 14);
            have_fmt = true;
        } else if (std::memcmp(d + p, "data", 4) == 0) {
            w.data_offset = p + 8;
            w.data_bytes = uint32_t(std::min<uint64_t>(len, size - (p + 8)));
            have_data = true;
        }
        p += 8 + size_t(len) + (len & 1);
    }
    if (!have_fmt || !have_data || w.byte_rate == 0) throw err::invalid_call();
    return w;
}

WavFile read_wav_file(const std::string& path) {
    struct stat st{};
    if (stat(path.c_str(), &st) != 0) throw err::file_not_found();
    std::ifstream f(path, std::ios::binary);
    WavFile out;
    char chunk[65536];
    while (f.read(chunk, sizeof chunk) || f.gcount() > 0) out.bytes.insert(out.bytes.end(), chunk, chunk + f.gcount());
    out.info = parse_wav(out.bytes.data(), out.bytes.size());
    return out;
}

// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/audio/wav_cases.h"

#include <sys/stat.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <optional>
#include <random>
#include <sstream>

#include "core/wav_info.h"

namespace {

using Bytes = std::vector<unsigned char>;

void put(Bytes& b, uint64_t v, int n) {
    for (int i = 0; i < n; ++i) b.push_back(uint8_t(v >> (8 * i)));
}
void put(Bytes& b, const char* four) { b.insert(b.end(), four, four + 4); }

struct Chunk {
    std::string id;
    Bytes body;
    std::optional<uint32_t> declared;  // a length other than the body's
};

struct Fmt {
    uint16_t format = 1, channels = 1, bits = 16;
    uint32_t rate = 44100;
    std::optional<uint32_t> byte_rate;
    std::optional<uint16_t> block_align;
    int length = 16;  // bytes of the chunk (the fields, then zeros)
    Bytes tail;       // after the 16 bytes of fields, instead of zeros

    uint16_t align() const { return block_align ? *block_align : uint16_t(channels * bits / 8); }
    Chunk chunk() const {
        Chunk c{"fmt ", {}, std::nullopt};
        put(c.body, format, 2);
        put(c.body, channels, 2);
        put(c.body, rate, 4);
        put(c.body, byte_rate ? *byte_rate : uint32_t(uint64_t(rate) * align()), 4);
        put(c.body, align(), 2);
        put(c.body, bits, 2);
        c.body.insert(c.body.end(), tail.begin(), tail.end());
        c.body.resize(size_t(length), 0);
        return c;
    }
};

// Frames of a quiet saw, `bytes` of them in all.
Chunk data(size_t bytes, std::optional<uint32_t> declared = std::nullopt) {
    Chunk c{"data", Bytes(bytes), declared};
    for (size_t i = 0; i < bytes; ++i) c.body[i] = uint8_t(i * 7);
    return c;
}
Chunk data_of(const Fmt& f, uint64_t frames) { return data(size_t(frames * f.align())); }
Chunk tenth(const Fmt& f) { return data_of(f, f.rate / 10); }
Chunk other(const char* id, size_t n) { return Chunk{id, Bytes(n, 'x'), std::nullopt}; }

Bytes riff(const std::vector<Chunk>& chunks, std::optional<uint32_t> riff_size = std::nullopt,
           const char* riff_id = "RIFF", const char* form = "WAVE") {
    Bytes b;
    put(b, riff_id);
    put(b, 0, 4);
    put(b, form);
    for (const Chunk& c : chunks) {
        put(b, c.id.c_str());
        put(b, c.declared ? *c.declared : uint32_t(c.body.size()), 4);
        b.insert(b.end(), c.body.begin(), c.body.end());
        if (c.body.size() % 2 && !c.declared) b.push_back(0);
    }
    const uint32_t size = riff_size ? *riff_size : uint32_t(b.size() - 8);
    for (int i = 0; i < 4; ++i) b[size_t(4 + i)] = uint8_t(size >> (8 * i));
    return b;
}
Bytes plain(const Fmt& f) { return riff({f.chunk(), tenth(f)}); }
Bytes plain(const Fmt& f, uint64_t frames) { return riff({f.chunk(), data_of(f, frames)}); }

Fmt pcm(uint16_t bits, uint16_t channels, uint32_t rate) {
    Fmt f;
    f.bits = bits, f.channels = channels, f.rate = rate;
    return f;
}
Fmt with(Fmt f, const std::function<void(Fmt&)>& change) {
    change(f);
    return f;
}

// The most frames that stay within the limit once converted.
uint64_t frames_at_limit(uint32_t rate) {
    uint64_t f = kMaxSoundBytes / kMixFrameBytes * rate / kMixRate + 2;
    while (converted_bytes(f, rate) > kMaxSoundBytes) --f;
    return f;
}

// "extensible": cbSize 22, valid bits, channel mask, the sub-format's GUID.
Fmt extensible(uint16_t sub, uint16_t bits) {
    Fmt f = pcm(bits, 2, 44100);
    f.format = 0xFFFE;
    f.length = 40;
    put(f.tail, 22, 2);
    put(f.tail, bits, 2);
    put(f.tail, 3, 4);
    put(f.tail, sub, 2);
    const uint8_t guid_rest[] = {0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};
    f.tail.insert(f.tail.end(), guid_rest, guid_rest + sizeof guid_rest);
    return f;
}

std::map<std::string, std::function<Bytes()>> makers() {
    std::map<std::string, std::function<Bytes()>> m;
    for (uint32_t rate : {8000u, 11025u, 16000u, 22050u, 32000u, 44100u, 48000u, 88200u, 96000u})
        for (uint16_t bits : {8, 16})
            for (uint16_t ch : {1, 2}) {
                const std::string name = "pcm" + std::to_string(bits) + (ch == 1 ? "_mono_" : "_stereo_") +
                                         std::to_string(rate) + ".wav";
                m[name] = [=] { return plain(pcm(bits, ch, rate)); };
            }
    const Fmt base;
    m["pcm16_odd_rate_12345.wav"] = [] { return plain(pcm(16, 1, 12345)); };
    m["one_frame.wav"] = [=] { return plain(base, 1); };
    m["list_before_fmt.wav"] = [=] { return riff({other("LIST", 26), base.chunk(), tenth(base)}); };
    m["junk_between.wav"] = [=] { return riff({base.chunk(), other("JUNK", 100), tenth(base)}); };
    m["list_after_data.wav"] = [=] { return riff({base.chunk(), tenth(base), other("LIST", 26)}); };
    m["second_data_after_data.wav"] = [=] { return riff({base.chunk(), tenth(base), data(5000)}); };
    m["odd_chunk_padded.wav"] = [=] { return riff({other("abcd", 5), base.chunk(), tenth(base)}); };
    m["fmt_18_bytes.wav"] = [] { return plain(with(Fmt{}, [](Fmt& f) { f.length = 18; })); };
    m["fmt_40_bytes.wav"] = [] { return plain(with(Fmt{}, [](Fmt& f) { f.length = 40; })); };
    m["riff_size_zero.wav"] = [=] { return riff({base.chunk(), tenth(base)}, 0); };
    m["riff_size_huge.wav"] = [=] { return riff({base.chunk(), tenth(base)}, 0xFFFFFFFF); };
    m["riff_size_short.wav"] = [=] { return riff({base.chunk(), tenth(base)}, 100); };
    m["data_declared_huge.wav"] = [=] { return riff({base.chunk(), data(8820, 0xFFFFFFF0)}); };
    m["data_cut_short.wav"] = [=] { return riff({base.chunk(), data(8820, 17640)}); };
    m["data_partial_frame.wav"] = [] { return riff({pcm(16, 2, 44100).chunk(), data(4 * 1000 + 3)}); };
    m["converted_at_limit.wav"] = [] { return plain(pcm(16, 2, 44100), frames_at_limit(44100)); };
    m["converted_at_limit_8000.wav"] = [] { return plain(pcm(8, 1, 8000), frames_at_limit(8000)); };
    m["converted_over_limit.wav"] = [] { return plain(pcm(16, 2, 44100), frames_at_limit(44100) + 1); };
    m["converted_over_limit_8000.wav"] = [] { return plain(pcm(8, 1, 8000), frames_at_limit(8000) + 1); };
    m["file_over_limit.wav"] = [=] { return riff({other("LIST", kMaxSoundFileBytes), base.chunk(), tenth(base)}); };
    m["empty_data.wav"] = [=] { return riff({base.chunk(), data(0)}); };
    m["data_one_byte_16bit.wav"] = [=] { return riff({base.chunk(), data(1)}); };
    m["one_hertz.wav"] = [] { return riff({pcm(16, 1, 1).chunk(), data(4000)}); };
    m["rate_0.wav"] = [] { return riff({pcm(16, 1, 0).chunk(), data(4000)}); };
    m["rate_7999.wav"] = [] { return plain(pcm(16, 1, 7999)); };
    m["rate_96001.wav"] = [] { return plain(pcm(16, 1, 96001)); };
    m["rate_192000.wav"] = [] { return plain(pcm(16, 1, 192000)); };
    m["rate_max.wav"] = [] { return riff({pcm(16, 1, 0xFFFFFFFF).chunk(), data(4000)}); };
    for (uint16_t ch : {0, 3, 4, 6, 8})
        m["channels_" + std::to_string(ch) + ".wav"] = [=] { return plain(pcm(16, ch, 44100)); };
    m["channels_65535.wav"] = [] { return riff({pcm(16, 65535, 44100).chunk(), data(8000)}); };
    for (uint16_t bits : {24, 32, 12, 4, 0})
        m["pcm" + std::to_string(bits) + ".wav"] = [=] {
            Fmt f = pcm(bits, 1, 44100);
            if (bits % 8) f.block_align = uint16_t((bits + 7) / 8);
            return riff({f.chunk(), data(8000)});
        };
    auto coded = [](uint16_t format, uint16_t bits) {
        return [=] { return riff({with(pcm(bits, 1, 44100), [&](Fmt& f) { f.format = format; }).chunk(), data(8000)}); };
    };
    m["float32.wav"] = coded(3, 32);
    m["float64.wav"] = coded(3, 64);
    m["alaw.wav"] = coded(6, 8);
    m["mulaw.wav"] = coded(7, 8);
    m["ms_adpcm.wav"] = coded(2, 4);
    m["ima_adpcm.wav"] = coded(0x11, 4);
    m["mpeg_layer3.wav"] = coded(0x55, 0);
    m["gsm.wav"] = coded(0x31, 0);
    m["format_0.wav"] = coded(0, 16);
    m["format_unknown.wav"] = coded(0x1234, 16);
    m["extensible_pcm.wav"] = [] { return riff({extensible(1, 16).chunk(), data(8000)}); };
    m["extensible_float.wav"] = [] { return riff({extensible(3, 32).chunk(), data(8000)}); };
    auto odd = [](const std::function<void(Fmt&)>& change) { return [=] { return plain(with(Fmt{}, change)); }; };
    m["byte_rate_0.wav"] = odd([](Fmt& f) { f.byte_rate = 0; });
    m["byte_rate_double.wav"] = odd([](Fmt& f) { f.byte_rate = 2 * 88200; });
    m["byte_rate_max.wav"] = odd([](Fmt& f) { f.byte_rate = 0xFFFFFFFF; });
    m["block_align_0.wav"] = odd([](Fmt& f) { f.block_align = 0; });
    m["block_align_wrong.wav"] = odd([](Fmt& f) { f.block_align = 3; });
    m["block_align_max.wav"] = odd([](Fmt& f) { f.block_align = 65535; });
    m["fmt_after_data.wav"] = [=] { return riff({tenth(base), base.chunk()}); };
    m["no_fmt.wav"] = [=] { return riff({tenth(base)}); };
    m["no_data.wav"] = [=] { return riff({base.chunk()}); };
    m["two_fmt.wav"] = [=] { return riff({base.chunk(), base.chunk(), tenth(base)}); };
    m["fmt_14_bytes.wav"] = [] { return plain(with(Fmt{}, [](Fmt& f) { f.length = 14; })); };
    m["fmt_past_end.wav"] = [=] {
        Chunk f = base.chunk();
        f.declared = 1000;
        return riff({f});
    };
    m["chunk_past_end.wav"] = [=] {
        Chunk c = other("LIST", 20);
        c.declared = 100000;
        return riff({c, base.chunk(), tenth(base)});
    };
    m["not_riff.wav"] = [] {
        std::mt19937 r(5);
        Bytes b(4000);
        for (auto& x : b) x = uint8_t(r());
        return b;
    };
    m["rifx.wav"] = [=] { return riff({base.chunk(), tenth(base)}, std::nullopt, "RIFX"); };
    m["riff_avi.wav"] = [=] { return riff({base.chunk(), tenth(base)}, std::nullopt, "RIFF", "AVI "); };
    m["empty_file.wav"] = [] { return Bytes{}; };
    m["eleven_bytes.wav"] = [=] {
        Bytes b = plain(base);
        b.resize(11);
        return b;
    };
    m["header_only.wav"] = [] { return riff({}); };
    return m;
}

}  // namespace

std::vector<WavCase> read_wav_cases(const std::string& tsv_path) {
    std::vector<WavCase> out;
    std::ifstream in(tsv_path);
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream row(line);
        WavCase c;
        std::string answer;
        std::getline(row, c.file, '\t');
        std::getline(row, answer, '\t');
        std::getline(row, c.what);
        c.answer = std::stoi(answer);
        out.push_back(c);
    }
    return out;
}

bool make_wav_case(const std::string& dir, const std::string& file) {
    const std::string path = dir + "/" + file;
    if (file == "missing.wav") return true;
    if (file == "folder.wav") return std::filesystem::create_directory(path);
    if (file == "fifo.wav") return mkfifo(path.c_str(), 0600) == 0;
    static const auto all = makers();
    const auto it = all.find(file);
    if (it == all.end()) return false;
    const Bytes b = it->second();
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(b.data()), std::streamsize(b.size()));
    return true;
}

// SPDX-License-Identifier: GPL-3.0-or-later
// Which files are sound effects: the one rule every front end applies (the
// desktop's mixer, the headless platform, the browser's platform) before it
// plays a WAV file, and what it learns from the file's header. A file the
// rule takes, every mixer can play; one it refuses, none is given.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// What a sound may be: plain PCM of 8 or 16 bits, mono or stereo, at a rate
// a sound card plays, and no larger than kMaxSoundBytes once converted to
// what the mixers play (44.1 kHz, 16-bit stereo): about 23.8 seconds, so
// that all sixteen effects together take at most 64 MiB however they are
// made. The game's own effects are 0.16 to 8 seconds of 44.1 kHz mono.
constexpr uint32_t kMinSoundRate = 8000, kMaxSoundRate = 96000;
constexpr uint32_t kMixRate = 44100;
constexpr uint64_t kMixFrameBytes = 4;
constexpr uint64_t kMaxSoundBytes = uint64_t(4) << 20;
// A file is read only up to this size (a sound of the largest size at
// 96 kHz stereo takes 8.7 MiB; the rest is room for other chunks).
constexpr size_t kMaxSoundFileBytes = size_t(16) << 20;

struct WavInfo {
    uint16_t format = 0;  // always 1, PCM
    uint16_t channels = 0;
    uint32_t sample_rate = 0;
    uint32_t byte_rate = 0;
    uint16_t block_align = 0;
    uint16_t bits = 0;
    size_t data_offset = 0;   // where the samples start in the file
    uint32_t data_bytes = 0;  // the whole frames the file holds, even if its header promises more

    // The sound's length at its byte rate, in whole milliseconds.
    int64_t length_ms() const { return int64_t(data_bytes) * 1000 / byte_rate; }
    uint64_t frames() const { return data_bytes / block_align; }
};

// Its size once converted to 44.1 kHz 16-bit stereo.
uint64_t converted_bytes(uint64_t frames, uint32_t sample_rate);

// A sound is a RIFF/WAVE file whose chunks, read in order up to the first
// "data", hold one "fmt " of at least 16 bytes before it: format 1 (PCM),
// 1 or 2 channels, 8 or 16 bits, a rate of 8 to 96 kHz, the block align and
// the byte rate those give; then at least one whole frame in "data" (a
// "data" chunk that promises more than the file holds gives what is there;
// a frame cut short is dropped) and no more than kMaxSoundBytes once
// converted. Nothing after the first "data" is read; the RIFF size is not
// looked at. Throws RuntimeError 5 when the bytes are not such a sound.
WavInfo parse_wav(const unsigned char* data, size_t size);

struct WavFile {
    WavInfo info;
    std::vector<unsigned char> bytes;  // the whole file
};
// Reads and checks a file: RuntimeError 53 when the path names no regular
// file (core/data_file.h), 5 when it is not a sound or is larger than
// kMaxSoundFileBytes.
WavFile read_wav_file(const std::string& path);

// The sound again as the plainest WAV file (a 44-byte header, then its whole
// frames), which every WAV reader takes as the rule read it.
std::vector<unsigned char> canonical_wav(const WavFile& w);

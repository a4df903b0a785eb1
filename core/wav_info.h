// SPDX-License-Identifier: GPL-3.0-or-later
// Which files are sound effects: the one rule every platform applies before
// it plays a WAV file, and what it learns from the file's header.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct WavInfo {
    uint16_t format = 0;  // 1 PCM, 3 IEEE float, others as the file says
    uint16_t channels = 0;
    uint32_t sample_rate = 0;
    uint32_t byte_rate = 0;
    uint16_t block_align = 0;
    uint16_t bits = 0;
    size_t data_offset = 0;   // where the samples start in the file
    uint32_t data_bytes = 0;  // as many as the file holds, even if its header promises more

    // The sound's length at its byte rate, in whole milliseconds.
    int64_t length_ms() const { return int64_t(data_bytes) * 1000 / byte_rate; }
};

// A sound is a RIFF/WAVE file with a "fmt " chunk that gives a byte rate
// and a "data" chunk (the last of each counts). Throws RuntimeError 5 when
// the bytes are not one.
WavInfo parse_wav(const unsigned char* data, size_t size);

struct WavFile {
    WavInfo info;
    std::vector<unsigned char> bytes;  // the whole file
};
// Reads and checks a file: RuntimeError 53 when it does not exist, 5 when
// it is not a sound.
WavFile read_wav_file(const std::string& path);

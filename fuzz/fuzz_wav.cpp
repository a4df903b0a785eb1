// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzz target: any bytes as a WAV file, through the one rule that decides
// which files are sounds (core/wav_info.h). A refusal is error 5 and nothing
// else; a sound it takes is one every mixer plays as it is (PCM of 8 or 16
// bits, mono or stereo, 8 to 96 kHz, whole frames inside the file, within
// the size limit once converted), and written again in its plainest form it
// reads back as the same sound.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "core/runtime_error.h"
#include "core/wav_info.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    WavFile w;
    try {
        w.info = parse_wav(data, size);
    } catch (const RuntimeError& e) {
        if (e.number != 5) std::abort();
        return 0;
    }
    const WavInfo& i = w.info;
    if (i.format != 1 || (i.channels != 1 && i.channels != 2) || (i.bits != 8 && i.bits != 16)) std::abort();
    if (i.sample_rate < kMinSoundRate || i.sample_rate > kMaxSoundRate) std::abort();
    if (i.block_align != i.channels * i.bits / 8 || i.byte_rate != i.sample_rate * i.block_align) std::abort();
    if (i.data_bytes == 0 || i.data_bytes % i.block_align != 0) std::abort();
    if (i.data_offset + i.data_bytes > size) std::abort();
    if (converted_bytes(i.frames(), i.sample_rate) > kMaxSoundBytes) std::abort();

    w.bytes.assign(data, data + size);
    const std::vector<unsigned char> plain = canonical_wav(w);
    const WavInfo again = parse_wav(plain.data(), plain.size());
    if (again.channels != i.channels || again.bits != i.bits || again.sample_rate != i.sample_rate ||
        again.data_bytes != i.data_bytes ||
        std::memcmp(plain.data() + again.data_offset, data + i.data_offset, i.data_bytes) != 0)
        std::abort();
    return 0;
}

// SPDX-License-Identifier: GPL-3.0-or-later
// Measuring sounds: level, spectrum, decay and how a loop joins. Used by
// lexovo-sound-measure and by the tests that keep the effects in shape.
#pragma once
#include <string>
#include <vector>

namespace snd {

struct Wav {
    int rate = 0, channels = 0, bits = 0;
    std::vector<float> mono;  // channels averaged, -1 … 1
};
// Reads a PCM WAV file; false when it is not one.
bool read_wav(const std::string& path, Wav& out);

struct Figures {
    double seconds = 0;
    double rms_db = -200, peak_db = -200;  // dBFS
    double band[5] = {0, 0, 0, 0, 0};      // energy share: <250, 250-1k, 1k-4k, 4k-8k, >8k Hz
    double centroid_hz = 0;
    double flatness = 0;   // spectral flatness over 100 Hz … 10 kHz (1 = white noise)
    double head_tail_db = 0;  // RMS of the last fifth against the first fifth
    double join_jump = 0;     // |first - last| sample over the 99th percentile of |step|
    double join_level_db = 0; // RMS of the last 20 ms against the first 20 ms
    int onsets = 0;           // attacks in the 5 ms envelope
};
Figures measure(const std::vector<float>& x, int rate);

// Mean power spectrum (Hann, 4096 points); bin k is k * rate / 4096 Hz.
std::vector<double> power_spectrum(const std::vector<float>& x);

}  // namespace snd

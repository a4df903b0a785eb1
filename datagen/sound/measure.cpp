// SPDX-License-Identifier: GPL-3.0-or-later
// lexovo-sound-measure DIR: a table of figures for every WAV effect in DIR.
#include <cstdio>
#include <string>

#include "datagen/sound/analysis.h"
#include "datagen/sound/effects.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s DIR\n", argv[0]);
        return 2;
    }
    std::printf("%-11s %6s %7s %7s  %5s %5s %5s %5s %5s %7s %5s %7s %6s %6s %3s\n", "file", "sec", "rms", "peak", "<250", "<1k",
                "<4k", "<8k", ">8k", "centr", "flat", "tail", "jump", "joinL", "on");
    int bad = 0;
    for (const snd::Effect& e : snd::effects()) {
        snd::Wav w;
        if (!snd::read_wav(std::string(argv[1]) + "/" + e.file, w)) {
            std::printf("%-11s unreadable\n", e.file.c_str());
            ++bad;
            continue;
        }
        snd::Figures f = snd::measure(w.mono, w.rate);
        std::printf("%-11s %6.3f %7.1f %7.1f  %5.2f %5.2f %5.2f %5.2f %5.2f %7.0f %5.2f %7.1f %6.2f %6.1f %3d%s\n", e.file.c_str(),
                    f.seconds, f.rms_db, f.peak_db, f.band[0], f.band[1], f.band[2], f.band[3], f.band[4], f.centroid_hz, f.flatness,
                    f.head_tail_db, f.join_jump, f.join_level_db, f.onsets, e.loops ? "  loop" : "");
    }
    return bad ? 1 : 0;
}

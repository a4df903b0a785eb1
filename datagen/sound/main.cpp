// SPDX-License-Identifier: GPL-3.0-or-later
// lexovo-sound OUTDIR: writes the sixteen effects and the two tunes.
#include <cstdio>
#include <string>

#include "datagen/sound/effects.h"
#include "datagen/sound/midi_writer.h"
#include "datagen/sound/tunes.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTDIR\n", argv[0]);
        return 2;
    }
    std::string dir = argv[1];
    int failures = 0;
    for (const snd::Effect& e : snd::effects()) {
        if (!snd::write_wav(dir + "/" + e.file, e.render())) {
            std::fprintf(stderr, "lexovo-sound: cannot write %s/%s\n", dir.c_str(), e.file.c_str());
            ++failures;
        }
    }
    if (!midi::write_file(dir + "/intro3.mid", tunes::intro())) ++failures;
    if (!midi::write_file(dir + "/symphony.mid", tunes::symphony())) ++failures;
    if (failures) std::fprintf(stderr, "lexovo-sound: %d files not written\n", failures);
    return failures ? 1 : 0;
}

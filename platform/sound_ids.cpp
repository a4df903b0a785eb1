// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/sound_ids.h"

const char* const kSfxNames[kSfxCount] = {
    "snd_step", "snd_stairs", "snd_flub", "snd_fly", "snd_noway", "snd_thunder", "snd_rain", "snd_grow",
    "snd_end", "snd_activate", "snd_fall", "snd_crash", "snd_success", "snd_jungle", "snd_tarzan", "snd_flute",
};

const char* const kSfxFiles[kSfxCount] = {
    "step.wav", "stairs.wav", "flub.wav", "mosca.wav", "noway.wav", "tuono.wav", "rain.wav", "cresce.wav",
    "fine.wav", "attiva.wav", "cade.wav", "crash.wav", "succ.wav", "jungla.wav", "tarzan.wav", "flauto.wav",
};

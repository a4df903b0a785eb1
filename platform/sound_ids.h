// SPDX-License-Identifier: GPL-3.0-or-later
// The sixteen effects, in the order they are loaded and released: the ids
// by which the game and every platform speak of their buffers.
#pragma once

enum Sfx : int {
    snd_step, snd_stairs, snd_flub, snd_fly, snd_noway, snd_thunder, snd_rain, snd_grow,
    snd_end, snd_activate, snd_fall, snd_crash, snd_success, snd_jungle, snd_tarzan, snd_flute,
    kSfxCount
};

// Field names (as the replay trace lists them) and file names, by id.
extern const char* const kSfxNames[kSfxCount];
extern const char* const kSfxFiles[kSfxCount];

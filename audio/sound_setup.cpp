// SPDX-License-Identifier: GPL-3.0-or-later
// Creating the sound device, loading and releasing the sixteen effects, and
// the music player. The effect buffers themselves live in the platform.
#include "game/game_window.h"

void GameWindow::creasuoni() {
    // On this platform nothing needs registering: a device that cannot be
    // opened becomes a silent output inside the platform.
    Trap trap(*this, "creasuoni");
    platform_.sound_device_create();
}

void GameWindow::preparasuoni() {
    Trap trap(*this, "Form1_preparasuoni");
    for (int id = 0; id < kSfxCount; ++id) {
        step([&] {
            platform_.sound_load(id, platform_.data_file(kSfxFiles[id]));
            sfx_loaded_[id] = true;
        });
    }
}

void GameWindow::InitDMusic() {
    try {
        platform_.music_init();
    } catch (...) {
        // music failures are silent
    }
}

void GameWindow::PlayMidi(const std::string& name) {
    try {
        platform_.play_midi(name);
    } catch (const ProgramEnded&) {
        throw;
    } catch (...) {
        // music failures are silent
    }
}

void GameWindow::vuotasuoni() {
    Trap trap(*this, "Form1_vuotasuoni");
    for (int id = 0; id < kSfxCount; ++id) {
        if (sfx_loaded_[id]) platform_.sound_release(id);
        sfx_loaded_[id] = false;
    }
}

// SPDX-License-Identifier: GPL-3.0-or-later
// One rule decides which WAV files are sounds (core/wav_info.h), and every
// front end applies it: the same crafted files are fed to the rule itself,
// to the headless platform (the replay tool's), and to the desktop's mixer
// layer with an output open and with none; each must give the table's answer.
// The browser's platform answers the same table in its own tests
// (lexovo-wav-cases writes the files).
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "app/sdl_audio.h"
#include "core/runtime_error.h"
#include "core/wav_info.h"
#include "platform/headless_platform.h"
#include "tests/audio/wav_cases.h"
#include "tests/robust/scratch.h"

namespace fs = std::filesystem;

namespace {

using scratch::error_of;

std::string cases_folder(const std::string& name) { return scratch::folder("lexovo-wav", name); }
using scratch::peak_rss;

}  // namespace

TEST(WavRule, EveryFrontEndGivesTheTablesAnswerForEveryCraftedFile) {
    const std::vector<WavCase> cases = read_wav_cases(LEXOVO_WAV_CASES);
    ASSERT_GE(cases.size(), 88u);
    const std::string dir = cases_folder("all");
    for (const WavCase& c : cases) ASSERT_TRUE(make_wav_case(dir, c.file)) << c.file;

    setenv("SDL_AUDIODRIVER", "dummy", 1);
    HeadlessPlatform headless(dir);
    SdlAudio mixer([](const std::string& n) { return n; });
    mixer.create_device();
    SdlAudio no_output([](const std::string& n) { return n; });  // its device never opened
    int sounds = 0;
    for (const WavCase& c : cases) {
        SCOPED_TRACE(c.file + ": " + c.what);
        const std::string path = headless.data_file(c.file);
        EXPECT_EQ(error_of([&] { read_wav_file(path); }), c.answer) << "the rule";
        EXPECT_EQ(error_of([&] { headless.sound_load(0, path); }), c.answer) << "the headless platform";
        EXPECT_EQ(error_of([&] { mixer.load(0, path); }), c.answer) << "the desktop's mixer";
        EXPECT_EQ(error_of([&] { no_output.load(0, path); }), c.answer) << "the desktop without an output";
        if (c.answer == 0) {
            ++sounds;
            // What is taken plays: the mixer has a buffer to sound.
            mixer.play(0, false);
            EXPECT_EQ(mixer.status(0), 1);
            mixer.release(0);
        }
    }
    EXPECT_GE(sounds, 30);
    mixer.shutdown();
    fs::remove_all(dir);
}

// Sixteen effects of the largest size that the rule takes, from the files
// that grow most in the mixer (8 kHz, 8-bit mono: 22 times), take no more
// than the limit says once loaded, and nothing near a machine's memory on
// the way.
TEST(WavRule, SixteenSoundsOfTheLargestSizeStayWithinTheirLimit) {
    const std::string dir = cases_folder("largest");
    ASSERT_TRUE(make_wav_case(dir, "converted_at_limit_8000.wav"));
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    SdlAudio mixer([](const std::string& n) { return n; });
    mixer.create_device();
    const int64_t before = peak_rss();
    for (int id = 0; id < 16; ++id) mixer.load(id, dir + "/converted_at_limit_8000.wav");
    const int64_t grown = peak_rss() - before;
    EXPECT_LE(grown, int64_t(16 * kMaxSoundBytes + (16 << 20))) << "bytes";
    mixer.shutdown();
    fs::remove_all(dir);
}

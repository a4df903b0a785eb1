// SPDX-License-Identifier: GPL-3.0-or-later
// The effect channels through the real SDL2_mixer, heard on the disk driver.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>

#include "app/sdl_audio.h"
#include "platform/sound_ids.h"
#include "core/runtime_error.h"
#include "disk_output.h"
#include "datagen/sound/synth.h"

namespace {

// A test effect whose every sample tells where it is: 10 ms steps of
// 100, 200, 300 … so the output shows which part of the buffer sounded.
std::string staircase(const std::string& name, double seconds) {
    snd::Buffer b(snd::samples(seconds));
    for (std::size_t i = 0; i < b.size(); ++i) b[i] = static_cast<float>(100.0 * (1 + i / 441) / 32767.0);
    std::string path = scratch_file(name);
    snd::write_wav(path, b);
    return path;
}
int step_of(std::int16_t v) { return v / 100 - 1; }

struct EffectsTest : ::testing::Test {
    void TearDown() override {
        for (const std::string& f : files) std::remove(f.c_str());
    }
    std::string wav(const std::string& name, double seconds) {
        files.push_back(staircase(name, seconds));
        return files.back();
    }
    std::vector<std::string> files;
};

TEST_F(EffectsTest, StopKeepsThePlaceRewindGoesBackAndASoundingEffectIsNotRestarted) {
    DiskOutput out("resume");
    std::string path = wav("long.wav", 2.0);
    {
        SdlAudio audio([](const std::string& n) { return n; });
        audio.create_device();
        ASSERT_FALSE(audio.silent());
        audio.load(snd_activate, path);
        audio.play(snd_activate, false);
        sleep_ms(150);
        audio.play(snd_activate, false);  // already sounding: must go on, not restart
        sleep_ms(150);
        EXPECT_EQ(audio.status(snd_activate), 1);
        audio.stop(snd_activate);
        EXPECT_EQ(audio.status(snd_activate), 0);
        sleep_ms(250);
        audio.play(snd_activate, false);  // resumes
        sleep_ms(250);
        audio.stop(snd_activate);
        audio.rewind(snd_activate);
        sleep_ms(250);
        audio.play(snd_activate, false);  // from the start
        sleep_ms(200);
        audio.shutdown();
    }
    std::vector<SoundRun> r = runs(out.left(), 2000);
    ASSERT_EQ(r.size(), 3u);
    // First run: from the start, a steady climb of about 300 ms (no restart at 150 ms).
    EXPECT_EQ(step_of(r[0].first), 0);
    EXPECT_GE(step_of(r[0].last), 20);
    auto x = out.left();
    for (std::size_t i = r[0].begin + 1; i < r[0].end; ++i) ASSERT_GE(x[i], x[i - 1]) << "went back at sample " << i;
    // Second run picks up where the first stopped.
    EXPECT_GE(step_of(r[1].first), step_of(r[0].last));
    EXPECT_LE(step_of(r[1].first), step_of(r[0].last) + 1);
    EXPECT_GE(step_of(r[1].last) - step_of(r[1].first), 15);
    // Third run, after the rewind, starts over.
    EXPECT_EQ(step_of(r[2].first), 0);
}

TEST_F(EffectsTest, StatusFollowsPlayOnceLoopingStopAndTheEnd) {
    DiskOutput out("status");
    std::string shortfx = wav("short.wav", 0.1), loop = wav("loop.wav", 0.1);
    {
        SdlAudio audio([](const std::string& n) { return n; });
        audio.create_device();
        audio.load(0, shortfx);
        audio.load(13, loop);
        EXPECT_EQ(audio.status(0), 0);
        EXPECT_EQ(audio.status(7), 0);  // never loaded
        audio.play(0, false);
        audio.play(13, true);
        EXPECT_EQ(audio.status(0), 1);
        EXPECT_EQ(audio.status(13), 5);
        sleep_ms(450);
        EXPECT_EQ(audio.status(0), 0);   // ran out by itself
        EXPECT_EQ(audio.status(13), 5);  // still looping
        audio.stop(13);
        EXPECT_EQ(audio.status(13), 0);
        audio.play(13, true);
        EXPECT_EQ(audio.status(13), 5);
        audio.rewind(13);  // a sounding loop goes on from its start
        EXPECT_EQ(audio.status(13), 5);
        audio.release(13);
        EXPECT_EQ(audio.status(13), 0);
        audio.play(13, true);  // released: nothing to play, no crash
        EXPECT_EQ(audio.status(13), 0);
        audio.shutdown();
    }
    // The looping channel wrapped round several times: the staircase restarts.
    auto x = out.left();
    int restarts = 0;
    for (std::size_t i = 1; i < x.size(); ++i)
        if (x[i] < x[i - 1] && x[i] > 0 && step_of(x[i]) == 0) ++restarts;
    EXPECT_GE(restarts, 2);
}

TEST_F(EffectsTest, EffectsMixTogetherOnTheirOwnChannels) {
    DiskOutput out("mix");
    std::string a = wav("a.wav", 0.5), b = wav("b.wav", 0.5);
    {
        SdlAudio audio([](const std::string& n) { return n; });
        audio.create_device();
        for (int id = 0; id < 16; ++id) audio.load(id, id % 2 ? a : b);
        audio.play(2, false);
        audio.play(15, false);
        EXPECT_EQ(audio.status(2), 1);
        EXPECT_EQ(audio.status(15), 1);
        EXPECT_EQ(audio.status(3), 0);
        sleep_ms(200);
        audio.shutdown();
    }
    // Two staircases started together add up: 200, 400, … instead of 100, 200, …
    auto r = runs(out.left(), 2000);
    ASSERT_FALSE(r.empty());
    EXPECT_EQ(r[0].first % 200, 0);
    EXPECT_GE(r[0].first, 200);
}

TEST_F(EffectsTest, AMissingFileIs53AndAFileThatIsNoSoundIs5) {
    DiskOutput out("errors");
    std::string junk = scratch_file("junk.wav");
    files.push_back(junk);
    std::ofstream(junk) << "RIFF this is not a wave file at all, just text";
    SdlAudio audio([](const std::string& n) { return n; });
    audio.create_device();
    try {
        audio.load(0, scratch_file("no-such.wav"));
        FAIL() << "no error for a missing file";
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.number, 53);
        EXPECT_EQ(e.description, err::file_not_found().description);
    }
    try {
        audio.load(1, junk);
        FAIL() << "no error for a garbage file";
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.number, 5);
    }
    // The failed slots stay empty and harmless.
    audio.play(0, false);
    audio.play(1, true);
    EXPECT_EQ(audio.status(0), 0);
    EXPECT_EQ(audio.status(1), 0);
    audio.shutdown();
}

TEST_F(EffectsTest, WithoutAnyDeviceTheGameRunsSilentlyAndSaysSoOnce) {
    ::setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    std::string fx = wav("silent.wav", 0.2);
    SdlAudio audio([](const std::string& n) { return n; });
    ::testing::internal::CaptureStderr();
    audio.create_device();
    std::string said = ::testing::internal::GetCapturedStderr();
    EXPECT_TRUE(audio.silent());
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
    // Everything still works, silently, with the same timing.
    audio.load(4, fx);
    audio.play(4, false);
    EXPECT_EQ(audio.status(4), 1);
    sleep_ms(500);
    EXPECT_EQ(audio.status(4), 0);
    audio.play(4, true);
    EXPECT_EQ(audio.status(4), 5);
    audio.stop(4);
    EXPECT_EQ(audio.status(4), 0);
    EXPECT_THROW(audio.load(5, scratch_file("missing.wav")), RuntimeError);
    audio.music_init();
    audio.play_midi("intro3.mid");  // no tune here: silently nothing
    audio.play_midi("");
    audio.shutdown();
}

TEST_F(EffectsTest, ASoundCardThatIsNotThereGivesOneLineOnly) {
    ::setenv("SDL_AUDIODRIVER", "alsa", 1);
    SdlAudio audio([](const std::string& n) { return n; });
    ::testing::internal::CaptureStderr();
    audio.create_device();
    std::string said = ::testing::internal::GetCapturedStderr();
    if (!audio.silent()) GTEST_SKIP() << "this machine has a sound card";
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
    audio.shutdown();
}

}  // namespace

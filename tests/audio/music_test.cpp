// Tunes through SDL2_mixer and FluidSynth, heard on the disk driver.
#include <SDL_mixer.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "app/sdl_audio.h"
#include "disk_output.h"
#include "datagen/sound/midi_writer.h"

namespace {

constexpr std::size_t kRate = 44100;

// A one-second tune: one dry wood-block stroke, then rest to the end of
// the track at 1.0 s.
std::string short_tune() {
    midi::Track t("prova");
    t.tempo(0, 120);  // a quarter note is 0.5 s
    t.note(9, 10, midi::kPpq / 4, 76, 120);
    t.end_at(2 * midi::kPpq);
    std::string path = scratch_file("prova.mid");
    midi::write_file(path, {t});
    return path;
}

// Bursts of sound: 20 ms windows above -50 dBFS, joined across gaps under 150 ms.
std::vector<std::pair<double, double>> bursts(const std::vector<std::int16_t>& x) {
    std::vector<std::pair<double, double>> out;
    const std::size_t w = kRate / 50;
    double last_loud = -1;
    for (std::size_t i = 0; i + w <= x.size(); i += w) {
        double t = double(i) / kRate;
        if (rms_db(x, i, i + w) > -50) {
            if (out.empty() || t - last_loud > 0.15) out.push_back({t, t});
            out.back().second = t + 0.02;
            last_loud = t;
        }
    }
    return out;
}

// A recording as datagen/tunes makes them: a WAV encoded by LAME. One
// second: a 440 Hz tone for the first 0.3 s, then silence.
std::string short_recording(const std::string& name) {
    const std::string wav = scratch_file(name + ".wav"), mp3 = scratch_file(name);
    {
        std::ofstream f(wav, std::ios::binary);
        const uint32_t frames = uint32_t(kRate);
        auto u32 = [&](uint32_t v) { f.write(reinterpret_cast<const char*>(&v), 4); };
        auto u16 = [&](uint16_t v) { f.write(reinterpret_cast<const char*>(&v), 2); };
        f.write("RIFF", 4), u32(36 + frames * 4), f.write("WAVE", 4);
        f.write("fmt ", 4), u32(16), u16(1), u16(2), u32(uint32_t(kRate)), u32(uint32_t(kRate) * 4), u16(4), u16(16);
        f.write("data", 4), u32(frames * 4);
        for (uint32_t i = 0; i < frames; ++i) {
            double t = double(i) / kRate;
            int16_t v = t < 0.3 ? int16_t(8000 * std::sin(2 * M_PI * 440 * t)) : 0;
            u16(uint16_t(v)), u16(uint16_t(v));
        }
    }
    const std::string cmd = std::string(LEXOVO_LAME) + " --quiet --noreplaygain -V 5 " + wav + " " + mp3;
    EXPECT_EQ(std::system(cmd.c_str()), 0) << cmd;
    std::remove(wav.c_str());
    return mp3;
}

// Starts a tune as the game window does, without waiting on this thread:
// true once it plays (it may have to wait for its first load).
bool start_soon(SdlAudio& audio, const std::string& name) {
    if (audio.play_midi_soon(name)) return true;
    for (int i = 0; i < 500; ++i) {
        sleep_ms(20);
        if (audio.poll()) return true;
    }
    return false;
}

bool wait_music_end(double max_s) {
    auto t0 = std::chrono::steady_clock::now();
    while (Mix_PlayingMusic()) {
        if (std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count() > max_s) return false;
        sleep_ms(20);
    }
    return true;
}

struct MusicTest : ::testing::Test {
    void SetUp() override { ::unsetenv("SDL_SOUNDFONTS"); }
    void TearDown() override { std::remove(tune.c_str()); }
    std::string tune;
};

TEST_F(MusicTest, ATunePlaysThreeTimesInAllThenFallsSilent) {
    DiskOutput out("three");
    tune = short_tune();
    std::string path = tune;
    {
        SdlAudio audio([&](const std::string&) { return path; });
        audio.create_device();
        audio.music_init();
        audio.play_midi("prova.mid");  // not preloaded under that name: loaded on demand
        ASSERT_TRUE(Mix_PlayingMusic());
        ASSERT_TRUE(wait_music_end(15));
        sleep_ms(300);
        audio.shutdown();
    }
    auto b = bursts(out.left());
    ASSERT_EQ(b.size(), 3u) << "the tune must sound exactly three times";
    // One play is one second of tune: the chords come a second apart.
    EXPECT_NEAR(b[1].first - b[0].first, 1.0, 0.08);
    EXPECT_NEAR(b[2].first - b[1].first, 1.0, 0.08);
}

TEST_F(MusicTest, AnEmptyNameIsSilenceAndANewTuneStartsFromItsBeginning) {
    DiskOutput out("silence");
    tune = short_tune();
    std::string path = tune;
    {
        SdlAudio audio([&](const std::string&) { return path; });
        audio.create_device();
        audio.music_init();
        audio.play_midi("");  // nothing playing: nothing happens
        EXPECT_FALSE(Mix_PlayingMusic());
        audio.play_midi("prova.mid");
        sleep_ms(600);
        audio.play_midi("prova.mid");  // the 'm' key twice: starts over at once
        sleep_ms(400);
        audio.play_midi("");
        EXPECT_FALSE(Mix_PlayingMusic());
        sleep_ms(1500);
        audio.shutdown();
    }
    auto x = out.left();
    auto b = bursts(x);
    ASSERT_EQ(b.size(), 2u);
    EXPECT_NEAR(b[1].first - b[0].first, 0.6, 0.15);
    // After the empty name nothing more sounds (allow the mixer's own latency).
    std::size_t quiet_from = static_cast<std::size_t>((b[1].first + 0.6) * kRate);
    EXPECT_LT(rms_db(x, quiet_from, x.size()), -70);
}

// The short tune, with a recording of a tone beside it: the path of the recording.
std::string tune_with_recording(std::string& tune) {
    tune = short_tune();  // a wood-block stroke: what FluidSynth would play
    const std::string recording = tune.substr(0, tune.size() - 4) + ".mp3";
    std::filesystem::rename(short_recording("r.mp3"), recording);
    return recording;
}

TEST_F(MusicTest, ARecordingBesideTheTunePlaysInsteadThreeTimesInAll) {
    DiskOutput out("recorded");
    const std::string recording = tune_with_recording(tune);
    std::string path = tune;
    {
        SdlAudio audio([&](const std::string&) { return path; });
        audio.create_device();
        audio.music_init();
        ASSERT_TRUE(start_soon(audio, "prova.mid"));
        ASSERT_TRUE(Mix_PlayingMusic());
        EXPECT_EQ(Mix_GetMusicType(nullptr), MUS_MP3) << "the recording plays, not the MIDI file";
        ASSERT_TRUE(wait_music_end(15));
        sleep_ms(300);
        audio.shutdown();
    }
    std::remove(recording.c_str());
    auto x = out.left();
    auto b = bursts(x);
    ASSERT_EQ(b.size(), 3u) << "the recording must sound exactly three times";
    for (const auto& burst : b) EXPECT_NEAR(burst.second - burst.first, 0.3, 0.06) << "the tone, not the stroke";
    EXPECT_NEAR(b[1].first - b[0].first, 1.0, 0.08);
    EXPECT_NEAR(b[2].first - b[1].first, 1.0, 0.08);
}

TEST_F(MusicTest, TheMusicKeyPressedOverAndOverNeverWaitsAndEndsWhereItShould) {
    // 'm' 200 times while the tune plays: off, on, off, ... and on at the
    // end, from the start of the tune. With a recording every switch is
    // taken at once.
    DiskOutput out("hammer");
    const std::string recording = tune_with_recording(tune);
    std::string path = tune;
    {
        SdlAudio audio([&](const std::string&) { return path; });
        audio.create_device();
        audio.music_init();
        ASSERT_TRUE(start_soon(audio, "prova.mid"));
        bool on = true;
        for (int i = 0; i < 200; ++i) {
            on = !on;
            EXPECT_TRUE(audio.play_midi_soon(on ? "prova.mid" : "")) << "switch " << i << " had to wait";
        }
        EXPECT_TRUE(on);
        EXPECT_TRUE(Mix_PlayingMusic());
        ASSERT_TRUE(wait_music_end(15));
        audio.shutdown();
    }
    std::remove(recording.c_str());
    auto b = bursts(out.left());
    ASSERT_GE(b.size(), 3u);
    // The last switch started the tune afresh: its three plays are the last three bursts.
    const size_t n = b.size();
    EXPECT_NEAR(b[n - 1].first - b[n - 2].first, 1.0, 0.08);
    EXPECT_NEAR(b[n - 2].first - b[n - 3].first, 1.0, 0.08);
}

TEST_F(MusicTest, WithoutARecordingTheMusicKeyNeverLoadsOnTheCallingThread) {
    // FluidSynth cannot start a tune over: a fresh copy is loaded in the
    // background. Switched on again before that copy is ready, the tune
    // waits for it (poll() starts it) rather than loading it on the spot.
    ::setenv("SDL_SOUNDFONTS", "/usr/share/sounds/sf2/FluidR3_GM.sf2", 1);  // a load takes a good while
    DiskOutput out("midi-hammer");
    tune = short_tune();
    std::string path = tune;
    {
        SdlAudio audio([&](const std::string&) { return path; });
        audio.create_device();
        audio.music_init();
        ASSERT_TRUE(start_soon(audio, "prova.mid"));
        ASSERT_TRUE(Mix_PlayingMusic());
        EXPECT_EQ(Mix_GetMusicType(nullptr), MUS_MID);
        EXPECT_TRUE(audio.play_midi_soon(""));
        EXPECT_FALSE(audio.play_midi_soon("prova.mid")) << "the fresh copy cannot be ready yet: it must not be loaded here";
        EXPECT_FALSE(Mix_PlayingMusic());
        int polls = 0;
        while (!audio.poll() && polls < 1000) {
            sleep_ms(20);
            ++polls;
        }
        EXPECT_GT(polls, 0);
        EXPECT_TRUE(Mix_PlayingMusic()) << "it starts once its copy is ready";
        audio.shutdown();
    }
    ::unsetenv("SDL_SOUNDFONTS");
}

TEST_F(MusicTest, AMissingTuneIsSilentlyNothing) {
    DiskOutput out("missing");
    SdlAudio audio([](const std::string& n) { return scratch_file(n); });
    audio.create_device();
    audio.music_init();  // neither tune is there: no error
    audio.play_midi("intro3.mid");
    EXPECT_FALSE(Mix_PlayingMusic());
    audio.shutdown();
}

// The game's own tunes, played faster than real time: from their
// recordings (made at build time with the best soundfont), and as MIDI
// through FluidSynth with the small soundfont: loud enough, not clipping,
// long enough, three plays.
struct GameTune {
    const char* file;
    const char* soundfont;  // nullptr: the game's own choice
    double min_seconds;
};

void PrintTo(const GameTune& g, std::ostream* os) {
    *os << g.file << (g.soundfont ? std::string(" through FluidSynth with ") + g.soundfont : " from its recording");
}

class GameTunes : public ::testing::TestWithParam<GameTune> {};

TEST_P(GameTunes, SoundsThroughTheSoundfontAtAGoodLevel) {
    const GameTune& g = GetParam();
    if (g.soundfont)
        ::setenv("SDL_SOUNDFONTS", g.soundfont, 1);
    else
        ::unsetenv("SDL_SOUNDFONTS");
    DiskOutput out(std::string("tune-") + g.file, false);
    // With a soundfont named, the tune is the MIDI file through FluidSynth,
    // read from a folder of its own (beside it in bin/ lies its recording).
    std::string folder = LEXOVO_BIN;
    if (g.soundfont) {
        folder = scratch_file("midi");
        std::filesystem::create_directories(folder);
        std::filesystem::copy_file(std::string(LEXOVO_BIN) + "/" + g.file, folder + "/" + g.file,
                                   std::filesystem::copy_options::overwrite_existing);
    }
    {
        SdlAudio audio([&](const std::string& n) { return folder + "/" + n; });
        audio.create_device();
        audio.music_init();
        audio.play_midi(g.file);
        ASSERT_TRUE(Mix_PlayingMusic());
        EXPECT_EQ(Mix_GetMusicType(nullptr), g.soundfont ? MUS_MID : MUS_MP3);
        ASSERT_TRUE(wait_music_end(240));
        audio.shutdown();
    }
    if (g.soundfont) std::filesystem::remove_all(folder);
    auto x = out.left();
    auto b = bursts(x);
    ASSERT_FALSE(b.empty());
    double sounding = b.back().second - b.front().first;
    std::size_t clipped = 0;
    int peak = 0;
    for (std::int16_t v : x) {
        clipped += v == 32767 || v == -32768;
        peak = std::max(peak, std::abs(int(v)));
    }
    double level = rms_db(x, static_cast<std::size_t>(b.front().first * kRate), static_cast<std::size_t>(b.back().second * kRate));
    std::printf("%s (%s): sounding %.1f s, rms %.1f dBFS, peak %.1f dBFS, %zu clipped samples\n", g.file,
                g.soundfont ? g.soundfont : "game's choice", sounding, level, 20 * std::log10(peak / 32768.0), clipped);
    EXPECT_GE(sounding, 3 * g.min_seconds);
    EXPECT_GT(level, -30);
    EXPECT_LT(level, -8);
    EXPECT_EQ(clipped, 0u);
    EXPECT_LT(peak, 32400) << "less than 0.1 dB of headroom";
}

INSTANTIATE_TEST_SUITE_P(Tunes, GameTunes,
                         ::testing::Values(GameTune{"intro3.mid", nullptr, 30}, GameTune{"symphony.mid", nullptr, 60},
                                           GameTune{"intro3.mid", "/usr/share/sounds/sf2/TimGM6mb.sf2", 30},
                                           GameTune{"symphony.mid", "/usr/share/sounds/sf2/TimGM6mb.sf2", 60}),
                         [](const auto& info) {
                             std::string n = info.param.file;
                             n = n.substr(0, n.find('.'));
                             return n + (info.param.soundfont ? "_TimGM6mb" : "_recording");
                         });

}  // namespace

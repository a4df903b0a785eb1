// Tunes through SDL2_mixer and FluidSynth, heard on the disk driver.
#include <SDL_mixer.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>

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

TEST_F(MusicTest, AMissingTuneIsSilentlyNothing) {
    DiskOutput out("missing");
    SdlAudio audio([](const std::string& n) { return scratch_file(n); });
    audio.create_device();
    audio.music_init();  // neither tune is there: no error
    audio.play_midi("intro3.mid");
    EXPECT_FALSE(Mix_PlayingMusic());
    audio.shutdown();
}

// The game's own tunes, rendered faster than real time through the real
// synthesiser: loud enough, not clipping, long enough, three plays.
struct GameTune {
    const char* file;
    const char* soundfont;  // nullptr: the game's own choice
    double min_seconds;
};

void PrintTo(const GameTune& g, std::ostream* os) { *os << g.file << " with " << (g.soundfont ? g.soundfont : "the game's soundfont"); }

class GameTunes : public ::testing::TestWithParam<GameTune> {};

TEST_P(GameTunes, SoundsThroughTheSoundfontAtAGoodLevel) {
    const GameTune& g = GetParam();
    if (g.soundfont)
        ::setenv("SDL_SOUNDFONTS", g.soundfont, 1);
    else
        ::unsetenv("SDL_SOUNDFONTS");
    DiskOutput out(std::string("tune-") + g.file, false);
    {
        SdlAudio audio([](const std::string& n) { return std::string(LEXOVO_BIN) + "/" + n; });
        audio.create_device();
        audio.music_init();
        audio.play_midi(g.file);
        ASSERT_TRUE(Mix_PlayingMusic());
        ASSERT_TRUE(wait_music_end(240));
        audio.shutdown();
    }
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
                             return n + (info.param.soundfont ? "_TimGM6mb" : "_best");
                         });

}  // namespace

// SPDX-License-Identifier: GPL-3.0-or-later
// The players' sound layer (SDL2_mixer, on SDL's silent "dummy" output) with
// the same broken files: a broken effect is refused exactly as the replay's
// platform refuses it (so the replays tell the truth about the game), and a
// broken tune is silence, never an error, never a crash.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>

#include "app/sdl_audio.h"
#include "platform/sound_ids.h"
#include "core/runtime_error.h"
#include "platform/headless_platform.h"

namespace fs = std::filesystem;

namespace {

enum class Fault { Missing, Truncated, Corrupt };

std::string scratch(const std::string& file, Fault f) {
    const std::string dir = ::testing::TempDir() + "/lexovo-sound-faults-" + std::to_string(getpid());
    fs::create_directories(dir);
    const std::string out = dir + "/" + file;
    fs::remove(out);
    if (f == Fault::Missing) return out;
    std::ifstream in(fs::path(LEXOVO_DATA_DIR) / file, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_FALSE(bytes.empty()) << file << " is not in the data folder";
    if (f == Fault::Truncated) bytes.resize(bytes.size() / 2);
    if (f == Fault::Corrupt) {
        std::mt19937 rng(uint32_t(std::hash<std::string>{}(file)));
        for (char& c : bytes) c = char(rng() & 0xFF);
    }
    std::ofstream(out, std::ios::binary) << bytes;
    return out;
}

// The error number a load gives, 0 when it is accepted.
template <class Load> int load_result(Load&& load) {
    try {
        load();
        return 0;
    } catch (const RuntimeError& e) {
        return e.number;
    }
}

class SoundLayerFaults : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        // The small soundfont keeps the tune loads quick.
        if (fs::exists("/usr/share/sounds/sf2/TimGM6mb.sf2")) setenv("SDL_SOUNDFONTS", "/usr/share/sounds/sf2/TimGM6mb.sf2", 1);
    }
};

TEST_F(SoundLayerFaults, BrokenEffectsAreRefusedAsTheReplayRefusesThem) {
    SdlAudio audio([](const std::string& n) { return n; });
    audio.create_device();
    HeadlessPlatform headless("");
    for (int id = 0; id < kSfxCount; ++id) {
        for (Fault f : {Fault::Missing, Fault::Truncated, Fault::Corrupt}) {
            SCOPED_TRACE(std::string(kSfxFiles[id]) + " fault " + std::to_string(int(f)));
            const std::string path = scratch(kSfxFiles[id], f);
            const int real = load_result([&] { audio.load(id, path); });
            const int replay = load_result([&] { headless.sound_load(id, path); });
            EXPECT_EQ(real, replay);
            EXPECT_EQ(real, f == Fault::Missing ? 53 : f == Fault::Corrupt ? 5 : real);
            // Whatever happened, the effect's operations are harmless.
            audio.play(id, false);
            audio.play(id, true);
            audio.stop(id);
            audio.rewind(id);
            EXPECT_TRUE(audio.status(id) == 0 || audio.status(id) == 1 || audio.status(id) == 5);
            audio.release(id);
        }
    }
    audio.shutdown();
}

TEST_F(SoundLayerFaults, BrokenTunesAreSilence) {
    for (const char* tune : {"intro3.mid", "symphony.mid"}) {
        for (Fault f : {Fault::Missing, Fault::Truncated, Fault::Corrupt}) {
            SCOPED_TRACE(std::string(tune) + " fault " + std::to_string(int(f)));
            const std::string broken = scratch(tune, f);
            const std::string other = std::string(tune) == "intro3.mid" ? "symphony.mid" : "intro3.mid";
            SdlAudio audio([&](const std::string& n) {
                return n == tune ? broken : (fs::path(LEXOVO_DATA_DIR) / n).string();
            });
            audio.create_device();
            EXPECT_NO_THROW(audio.music_init());
            for (int i = 0; i < 3; ++i) {
                EXPECT_NO_THROW(audio.play_midi(tune));
                EXPECT_NO_THROW(audio.play_midi(other));
                EXPECT_NO_THROW(audio.play_midi(""));
            }
            // An effect still loads and plays afterwards.
            EXPECT_EQ(load_result([&] { audio.load(0, (fs::path(LEXOVO_DATA_DIR) / kSfxFiles[0]).string()); }), 0);
            audio.play(0, false);
            EXPECT_EQ(audio.status(0), 1);
            audio.shutdown();
        }
    }
}

}  // namespace

// A small world painted by a test: its own background, collision map, book
// pages, forest pictures and sounds in a temporary data folder, and a way
// to run replay scripts on it.
#pragma once
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "platform/sound_ids.h"
#include "core/bmp_load.h"
#include "core/surface.h"
#include "game/world_places.h"
#include "tools/replay/replay_runner.h"

namespace testworld {

using world::kMapBlack, world::kMapBlue, world::kMapLightGreen, world::kMapLightMagenta, world::kMapLightRed,
    world::kMapWhite;

inline void write_wav(const std::string& path, int ms) {
    const int rate = 22050, samples = rate * ms / 1000;
    std::ofstream f(path, std::ios::binary);
    auto u32 = [&](uint32_t v) { f.write(reinterpret_cast<const char*>(&v), 4); };
    auto u16 = [&](uint16_t v) { f.write(reinterpret_cast<const char*>(&v), 2); };
    f.write("RIFF", 4); u32(36 + samples * 2); f.write("WAVE", 4);
    f.write("fmt ", 4); u32(16); u16(1); u16(1); u32(rate); u32(rate * 2); u16(2); u16(16);
    f.write("data", 4); u32(samples * 2);
    for (int i = 0; i < samples; ++i) u16(0);
}

// World coordinates: map row = world y + 400.
struct World {
    Surface map{2400, 800, kMapBlack};
    Surface background{2400, 800};

    World() {
        for (int y = 0; y < 800; ++y)
            for (int x = 0; x < 2400; ++x) background.set(x, y, rgb((x * 7) & 255, (y * 3) & 255, (x + y) & 127));
    }
    void paint(int x0, int x1, int wy0, int wy1, Rgb c) {
        for (int y = wy0; y <= wy1; ++y)
            for (int x = x0; x <= x1; ++x) map.set(x, y + 400, c);
    }
    // A floor for a professor whose top is at prof_y: white where the walking
    // probe (116 below) looks, nothing where the climbing probe (111) does.
    void floor(int x0, int x1, int prof_y) { paint(x0, x1, prof_y + 112, prof_y + 120, kMapWhite); }
    // A shelf column he climbs between two heights of prof_y: the up probe
    // looks 111 rows below his top, the down probe 121.
    void shelf(int x, int prof_y_top, int prof_y_bottom) { paint(x, x, prof_y_top + 112, prof_y_bottom + 120, kMapWhite); }
};

struct Data {
    std::string dir;
    // Each test process has a folder of its own (ctest runs them side by side).
    explicit Data(const World& w, const std::string& name = "") {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        dir = ::testing::TempDir() + "/lexovo-" + std::to_string(getpid()) + "-" +
              (info ? std::string(info->test_suite_name()) + "." + info->name() : "suite") + name;
        std::filesystem::remove_all(dir);
        std::filesystem::create_directories(dir);
        save_bmp24(w.background, dir + "/gameb2.bmp");
        save_bmp8(w.map, dir + "/gamemap1.bmp");
        for (int n = 1; n <= 13; ++n) save_bmp24(Surface(400, 400, rgb(10 * n, 200, 255 - 10 * n)), dir + "/lib" + std::to_string(n) + ".bmp");
        for (int n = 1; n <= 3; ++n) save_bmp24(Surface(120, 90, rgb(0, 60 * n, 0)), dir + "/j" + std::to_string(n) + ".bmp");
        for (int id = 0; id < kSfxCount; ++id) write_wav(dir + "/" + kSfxFiles[id], id == snd_activate ? 300 : 500);
    }
    ~Data() { std::filesystem::remove_all(dir); }
    Data(const Data&) = delete;
    Data& operator=(const Data&) = delete;
    void remove(const std::string& file) const { std::filesystem::remove(dir + "/" + file); }
};

using Trace = std::vector<nlohmann::json>;

inline Trace run(const std::string& data_dir, const std::string& script) {
    std::vector<ScriptCommand> cmds;
    ScriptError err;
    EXPECT_TRUE(parse_script(script, cmds, err)) << "line " << err.line << ": " << err.text;
    std::ostringstream out, errors;
    EXPECT_EQ(run_replay(cmds, ReplayOptions{data_dir}, out, errors), 0) << errors.str();
    Trace t;
    std::istringstream in(out.str());
    for (std::string line; std::getline(in, line);) t.push_back(nlohmann::json::parse(line));
    return t;
}

// "tick N" written N times as separate lines is the same as "tick N".
inline std::string repeat(const std::string& line, int n) {
    std::string s;
    for (int i = 0; i < n; ++i) s += line + "\n";
    return s;
}

}  // namespace testworld

#include "game/game_window.h"
#include "platform/headless_platform.h"

namespace testworld {

// The game window itself on the headless platform, for tests that set a
// state up directly.
struct Game {
    HeadlessPlatform platform;
    GameWindow game;
    explicit Game(const std::string& dir) : platform(dir), game(platform) {
        time_limit = 0;
        // Composition needs the frame; a build without artwork still has its size.
        if (game.picture(64).empty()) game.mutable_picture(64).resize(480, 540);
        game.Form_Load();
        platform.take_log();
    }
    GameState& s() { return game.mutable_state(); }
    ProcedureCounters& c() { return game.mutable_counters(); }
    void tick(int n = 1) {
        for (int i = 0; i < n; ++i) {
            platform.advance_clock(60);
            if (game.timer_enabled()) game.Timer1_Timer();
        }
    }
    std::vector<std::string> sounds() { return platform.take_log().sounds; }
    void carry(std::initializer_list<const char*> items) {
        int i = 0;
        for (const char* it : items) s().inventory[size_t(i++)] = it;
        s().inventory_last = i - 1;
    }
    // Press slot-relative window point, move to (x, y), release.
    void drag(int press_x, int x, int y) {
        game.Form_MouseDown(1, 0, float(press_x), 470);
        game.Form_MouseMove(1, 0, float(x), float(y));
        game.Form_MouseUp(1, 0, float(x), float(y));
    }
};

inline bool has(const std::vector<std::string>& v, const std::string& s) {
    for (const auto& x : v)
        if (x == s) return true;
    return false;
}

}  // namespace testworld

// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzz target: any bytes as a replay script. The reader must accept or
// refuse it without harm; a script it accepts (up to a few hundred ticks,
// and without `shot`, which would write files) is then played on the game's
// own logic over a tiny data folder made at start-up, and must play to its
// end or to the program's end with status 0.
#include <sys/stat.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <ostream>
#include <streambuf>
#include <string>
#include <vector>

#include "platform/sound_ids.h"
#include "core/bmp_load.h"
#include "tools/replay/replay_runner.h"
#include "tools/replay/replay_script.h"

namespace {

std::string g_data;

void write_wav(const std::string& path, int ms) {
    const int rate = 8000, samples = rate * ms / 1000;
    std::ofstream f(path, std::ios::binary);
    auto u32 = [&](uint32_t v) { f.write(reinterpret_cast<const char*>(&v), 4); };
    auto u16 = [&](uint16_t v) { f.write(reinterpret_cast<const char*>(&v), 2); };
    f.write("RIFF", 4); u32(36 + samples); f.write("WAVE", 4);
    f.write("fmt ", 4); u32(16); u16(1); u16(1); u32(rate); u32(rate); u16(1); u16(8);
    f.write("data", 4); u32(samples);
    for (int i = 0; i < samples; ++i) f.put(char(128));
}

// A world of 600 x 800: floors where the professor starts and higher up, a
// shelf to climb, a shelf mark for the pointer, steps down, a gap to fall in.
void make_world(const std::string& dir) {
    const Rgb white = rgb(255, 255, 255), blue = rgb(0, 0, 255), red = rgb(255, 0, 0), green = rgb(0, 255, 0),
              magenta = rgb(255, 0, 255);
    Surface bg(600, 800), map(600, 800, 0);
    for (int y = 0; y < 800; ++y)
        for (int x = 0; x < 600; ++x) bg.set(x, y, rgb(x & 255, y & 255, (x ^ y) & 255));
    auto paint = [&](int x0, int x1, int y0, int y1, Rgb c) {
        for (int y = y0; y <= y1; ++y)
            for (int x = x0; x <= x1; ++x) map.set(x, y, c);
    };
    paint(0, 599, 680, 690, white);      // the floor under the start (168 + 116 + 400)
    paint(0, 599, 584, 594, white);      // a floor 96 rows higher
    paint(280, 285, 580, 700, white);    // a shelf between them
    paint(100, 160, 640, 660, magenta);  // a shelf mark
    paint(400, 430, 670, 700, red);      // steps down
    paint(440, 450, 670, 700, blue);     // steps up
    paint(500, 540, 600, 799, green);    // a gap
    save_bmp24(bg, dir + "/gameb2.bmp");
    save_bmp8(map, dir + "/gamemap1.bmp");
    for (int n = 1; n <= 13; ++n) save_bmp24(Surface(40, 40, rgb(n * 10, 100, 200)), dir + "/lib" + std::to_string(n) + ".bmp");
    for (int n = 1; n <= 3; ++n) save_bmp24(Surface(24, 18, rgb(0, n * 60, 0)), dir + "/j" + std::to_string(n) + ".bmp");
    for (int id = 0; id < kSfxCount; ++id) write_wav(dir + "/" + kSfxFiles[id], id == snd_activate ? 100 : 200);
}

void remove_world() {
    if (!g_data.empty()) std::filesystem::remove_all(g_data);
}

struct NullBuf : std::streambuf {
    int overflow(int c) override { return c; }
    std::streamsize xsputn(const char*, std::streamsize n) override { return n; }
};

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    char tmpl[] = "/tmp/lexovo-fuzz-XXXXXX";
    if (!mkdtemp(tmpl)) std::abort();
    g_data = tmpl;
    make_world(g_data);
    std::atexit(remove_world);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<ScriptCommand> script;
    ScriptError error;
    const std::string source(reinterpret_cast<const char*>(data), size);
    if (!parse_script(source, script, error)) {
        if (error.line < 1) std::abort();  // a refusal names its line
        return 0;
    }
    long ticks = 0;
    for (const ScriptCommand& c : script) {
        if (c.cmd == "shot") return 0;
        if (c.cmd == "tick") ticks += c.ints.empty() ? 1 : c.ints[0];
    }
    if (script.size() > 400 || ticks > 400) return 0;
    NullBuf nb;
    std::ostream trace(&nb), errors(&nb);
    if (run_replay(script, ReplayOptions{g_data}, trace, errors) != 0) std::abort();
    return 0;
}

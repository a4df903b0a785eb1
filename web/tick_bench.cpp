// SPDX-License-Identifier: GPL-3.0-or-later
// lexovo-tickbench DATA WALKTHROUGH [--quick]: the browser build's main tick
// at lexovo-bench's four places of the world (bench/bench_scenes.h), timed as
// lexovo-bench times them: the median over 9 repetitions of the mean of as
// many ticks as fill 0.3 s. Built for Node from the same sources as the
// page; prints one line per place, "tick: NAME  MICROSECONDS us".
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "bench/bench_scenes.h"

namespace {

double seconds_now() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const size_t h = v.size() / 2;
    return v.size() % 2 ? v[h] : (v[h - 1] + v[h]) / 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: lexovo-tickbench DATA WALKTHROUGH [--quick]\n");
        return 1;
    }
    const bool quick = argc > 3 && std::string(argv[3]) == "--quick";
    const double min_time = quick ? 0.01 : 0.3;
    const int repetitions = quick ? 3 : 9;
    Scenes made = make_scenes(argv[1], argv[2]);
    for (size_t i = 0; i < made.scene.size(); ++i) {
        Scene& scene = *made.scene[i];
        for (int k = 0; k < 20; ++k) scene.tick();  // warm up
        std::vector<double> per_tick;
        for (int r = 0; r < repetitions; ++r) {
            long n = 0;
            const double t0 = seconds_now();
            double t = t0;
            do {
                for (int k = 0; k < 10; ++k) scene.tick();
                n += 10;
                t = seconds_now();
            } while (t - t0 < min_time);
            per_tick.push_back((t - t0) / double(n) * 1e6);
        }
        std::printf("tick: %-20s %9.1f us  %s\n", places()[i].name, median(per_tick), made.how[i].c_str());
    }
    return 0;
}

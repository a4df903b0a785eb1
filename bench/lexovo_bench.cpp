// SPDX-License-Identifier: GPL-3.0-or-later
// lexovo-bench [--quick] [--data DIR] [--script FILE]
//
// Times one whole main tick at four places of the world (the start, the
// spider's floor with the spider running, the vault in the storm, the chasm
// in the final animation), the screen composition on its own and one sprite
// pair, each next to a plain memcpy of as many pixels in the same run; then
// the start-up of a fresh process to its first composed frame and the peak
// resident set. Prints one table and, last, `tick_vs_memcpy R`.
//
// The places are reached by playing the walkthrough script on the real data
// folder; the game's state and counters are taken there and put back before
// every timed tick, so each iteration times the same tick.
#include <benchmark/benchmark.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "bench/bench_scenes.h"
#include "core/bmp_load.h"
#include "game/game_window.h"
#include "platform/headless_platform.h"

extern char** environ;

namespace {

int64_t now_ns() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return int64_t(ts.tv_sec) * 1000000000 + ts.tv_nsec;
}

std::string executable_path() {
    char buf[PATH_MAX];
    ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
    return n > 0 ? std::string(buf, size_t(n)) : std::string("lexovo-bench");
}

std::string folder_of(const std::string& p) {
    size_t slash = p.rfind('/');
    return slash == std::string::npos ? "." : p.substr(0, slash);
}

// --- what the table is made of ----------------------------------------------

struct Collector : benchmark::BenchmarkReporter {
    std::map<std::string, double> median_us;
    bool ReportContext(const Context&) override { return true; }
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& r : runs) {
            if (r.error_occurred) failed = true;
            if (r.run_type == Run::RT_Aggregate && r.aggregate_name == "median")
                median_us[r.run_name.function_name] = r.GetAdjustedRealTime();
        }
    }
    bool failed = false;
};

void memcpy_pixels(benchmark::State& st, size_t pixels) {
    std::vector<Rgb> src(pixels), dst(pixels);
    for (size_t i = 0; i < pixels; ++i) src[i] = Rgb(i * 2654435761u);
    for (auto _ : st) {
        std::memcpy(dst.data(), src.data(), pixels * sizeof(Rgb));
        benchmark::DoNotOptimize(dst.data());
        benchmark::ClobberMemory();
    }
}

double median(std::vector<double> v) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    const size_t h = v.size() / 2;
    return v.size() % 2 ? v[h] : (v[h - 1] + v[h]) / 2;
}

// Child mode: a fresh process up to its first composed frame; writes the
// monotonic clock at that moment to standard output.
int first_frame(const std::string& data) {
    HeadlessPlatform platform(data);
    time_limit = 0;
    GameWindow game(platform);
    game.Form_Load();
    platform.advance_clock(60);
    game.Timer1_Timer();
    const int64_t t = now_ns();
    // The high-water mark of this process's own memory (the rusage a parent
    // gets also counts what the parent had when it spawned the child).
    long hwm_kb = 0;
    if (FILE* f = std::fopen("/proc/self/status", "r")) {
        char line[256];
        while (std::fgets(line, sizeof line, f))
            if (std::sscanf(line, "VmHWM: %ld", &hwm_kb) == 1) break;
        std::fclose(f);
    }
    std::printf("%lld %ld\n", static_cast<long long>(t), hwm_kb);
    return platform.presents() >= 2 ? 0 : 3;
}

struct StartUp {
    double ms = 0;
    long child_rss_kb = 0;
    bool ok = true;
};

StartUp measure_startup(const std::string& self, const std::string& data, int runs) {
    std::vector<double> times;
    StartUp out;
    for (int i = 0; i < runs; ++i) {
        int fd[2];
        if (pipe(fd) != 0) return {0, 0, false};
        posix_spawn_file_actions_t fa;
        posix_spawn_file_actions_init(&fa);
        posix_spawn_file_actions_adddup2(&fa, fd[1], 1);
        posix_spawn_file_actions_addclose(&fa, fd[0]);
        std::string a0 = self, a1 = "--first-frame", a2 = data;
        char* argv[] = {a0.data(), a1.data(), a2.data(), nullptr};
        pid_t pid = 0;
        const int64_t t0 = now_ns();
        int rc = posix_spawn(&pid, self.c_str(), &fa, nullptr, argv, environ);
        posix_spawn_file_actions_destroy(&fa);
        close(fd[1]);
        if (rc != 0) {
            close(fd[0]);
            return {0, 0, false};
        }
        char buf[64] = {};
        ssize_t n = read(fd[0], buf, sizeof buf - 1);
        close(fd[0]);
        int status = 0;
        waitpid(pid, &status, 0);
        if (n <= 0 || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            out.ok = false;
            continue;
        }
        long long t1 = 0;
        long hwm = 0;
        if (std::sscanf(buf, "%lld %ld", &t1, &hwm) != 2) {
            out.ok = false;
            continue;
        }
        times.push_back(double(t1 - t0) / 1e6);
        out.child_rss_kb = std::max(out.child_rss_kb, hwm);
    }
    out.ms = median(times);
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string self = executable_path();
    std::string data = folder_of(self), script_path = LEXOVO_WALKTHROUGH;
    bool quick = false;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        if (a == "--first-frame" && i + 1 < argc) return first_frame(argv[i + 1]);
        if (a == "--quick") quick = true;
        else if (a == "--data" && i + 1 < argc) data = argv[++i];
        else if (a == "--script" && i + 1 < argc) script_path = argv[++i];
        else {
            std::fprintf(stderr, "usage: lexovo-bench [--quick] [--data DIR] [--script FILE]\n");
            return 1;
        }
    }

    // The places of the world, each in a game window of its own.
    Scenes made = make_scenes(data, script_path);
    std::vector<std::unique_ptr<Scene>>& scenes = made.scene;
    const std::vector<std::string>& how = made.how;

    const size_t window_px = size_t(GameWindow::kWindowW) * GameWindow::kWindowH;
    std::vector<std::string> tick_names;
    for (size_t i = 0; i < scenes.size(); ++i) {
        std::string name = std::string("tick: ") + places()[i].name;
        tick_names.push_back(name);
        Scene* sc = scenes[i].get();
        benchmark::RegisterBenchmark(name.c_str(), [sc](benchmark::State& st) {
            for (auto _ : st) sc->tick();
        })->Unit(benchmark::kMicrosecond);
    }

    // The composition alone: bar and play area into the frame, the frame
    // onto a window-sized picture, with the game's own surfaces.
    GameWindow& g0 = scenes[0]->game();
    Surface window(GameWindow::kWindowW, GameWindow::kWindowH);
    benchmark::RegisterBenchmark("composition", [&](benchmark::State& st) {
        for (auto _ : st) {
            Surface& frame = g0.mutable_picture(64);
            blit(frame, 40, 440, g0.picture(40), Rop::SrcCopy);
            blit(frame, 40, 40, g0.picture(1), Rop::SrcCopy);
            blit(window, 0, 0, frame, Rop::SrcCopy);
            benchmark::DoNotOptimize(window.row(0));
        }
    })->Unit(benchmark::kMicrosecond);

    // One sprite pair: the professor standing, mask AND then image XOR.
    const Surface& mask = g0.picture(2, 0);
    const Surface& image = g0.picture(2, 1);
    const size_t sprite_px = std::max<size_t>(1, size_t(mask.width()) * size_t(mask.height()));
    benchmark::RegisterBenchmark("sprite pair", [&](benchmark::State& st) {
        Surface& play = g0.mutable_picture(1);
        for (auto _ : st) {
            draw_sprite(play, 180, 160, mask, image);
            benchmark::DoNotOptimize(play.row(0));
        }
    })->Unit(benchmark::kMicrosecond);

    benchmark::RegisterBenchmark("memcpy window", [&](benchmark::State& st) { memcpy_pixels(st, window_px); })
        ->Unit(benchmark::kMicrosecond);
    // What a tick and the composition move in plain copies: the view out of
    // the background, the empty bar, then bar, play area and frame.
    const size_t play_px = 400 * 400, bar_px = 400 * 60;
    const size_t compose_px = bar_px + play_px + window_px, tick_px = play_px + bar_px + compose_px;
    benchmark::RegisterBenchmark("memcpy tick", [&](benchmark::State& st) { memcpy_pixels(st, tick_px); })
        ->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("memcpy composition", [&](benchmark::State& st) { memcpy_pixels(st, compose_px); })
        ->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("memcpy sprite", [&](benchmark::State& st) { memcpy_pixels(st, sprite_px); })
        ->Unit(benchmark::kMicrosecond);

    std::string min_time = quick ? "--benchmark_min_time=0.01" : "--benchmark_min_time=0.3";
    std::string reps = quick ? "--benchmark_repetitions=3" : "--benchmark_repetitions=9";
    std::string aggr = "--benchmark_report_aggregates_only=true";
    std::string prog = "lexovo-bench";
    char* bargv[] = {prog.data(), min_time.data(), reps.data(), aggr.data(), nullptr};
    int bargc = 4;
    benchmark::Initialize(&bargc, bargv);
    Collector collector;
    benchmark::RunSpecifiedBenchmarks(&collector);
    benchmark::Shutdown();

    const StartUp start = measure_startup(self, data, quick ? 3 : 15);
    rusage self_ru{};
    getrusage(RUSAGE_SELF, &self_ru);

    auto m = [&](const std::string& k) { return collector.median_us.count(k) ? collector.median_us[k] : 0.0; };
    const double copy_window = m("memcpy window"), copy_sprite = m("memcpy sprite");
    const double copy_tick = m("memcpy tick"), copy_compose = m("memcpy composition");
    std::printf("%-26s %12s %12s %10s  %s\n", "measure", "median", "memcpy", "ratio", "notes");
    for (size_t i = 0; i < tick_names.size(); ++i)
        std::printf("%-26s %9.1f us %9.1f us %10.1f  %s, %zu px moved\n", tick_names[i].c_str(), m(tick_names[i]),
                    copy_tick, copy_tick > 0 ? m(tick_names[i]) / copy_tick : 0.0, how[i].c_str(), tick_px);
    std::printf("%-26s %9.1f us %9.1f us %10.1f  %zu px moved\n", "composition", m("composition"), copy_compose,
                copy_compose > 0 ? m("composition") / copy_compose : 0.0, compose_px);
    std::printf("%-26s %9.3f us %9.3f us %10.1f  %dx%d picture 2\n", "sprite pair", m("sprite pair"), copy_sprite,
                copy_sprite > 0 ? m("sprite pair") / copy_sprite : 0.0, mask.width(), mask.height());
    std::printf("%-26s %9.1f us\n", "memcpy window", copy_window);
    std::printf("%-26s %9.3f us\n", "memcpy sprite", copy_sprite);
    std::printf("%-26s %9.1f ms  %s\n", "start-up to first frame", start.ms,
                start.ok ? "fresh process, headless, median" : "failed");
    std::printf("%-26s %9ld kB  headless game after its first frame\n", "peak RSS (game)", start.child_rss_kb);
    std::printf("%-26s %9ld kB  this process, four game windows\n", "peak RSS (bench)", self_ru.ru_maxrss);

    std::vector<double> ticks;
    for (const auto& n : tick_names) ticks.push_back(m(n));
    const double r = copy_tick > 0 ? median(ticks) / copy_tick : 0.0;
    if (collector.failed || !start.ok) std::printf("a benchmark failed\n");
    std::printf("tick_vs_memcpy %.1f\n", r);
    return collector.failed || !start.ok ? 1 : 0;
}

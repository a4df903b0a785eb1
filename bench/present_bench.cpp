// lexovo-present-bench [--quick] [--data DIR] [--frames N]
//
// What it costs to put one game frame on the screen, by each of the ways
// the window has (app/presenter.h), at 1x, 2x and 3x, measured in the same
// run: the old way (24-bit conversion and fl_draw_image, which converts
// again for the server), plain XPutImage of the 32-bit pixels, and
// XShmPutImage. Two kinds of frames, from the game itself on the data
// folder: "every pixel new" (the picture after ten ticks and its negative,
// in turn: the worst case, as the two fast ways send only the rows that
// changed) and "walking" (the frames of the professor walking right from
// the start, in order). After every frame the bench waits for the server
// (XSync), so that the wall time holds the server's work too.
//
// Per frame: the client's CPU (all its threads), the X server's CPU (read
// from /proc for a local server whose lock file names it) and the wall
// time. The ways take turns, a round of frames each, so a busy machine
// weighs on them alike; each figure is the median of several rounds. Ends with one
// line per scale: `present_cpu_ratio_Nx R` (the fastest way's client CPU
// over the old way's, every pixel new).
//
// Needs an X display as large as the 3x window (1440 x 1620), a TrueColor
// 24-bit one for the two new ways.
#include <FL/Fl.H>
#include <FL/Fl_Window.H>
#include <dirent.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "game/game_window.h"
#include "platform/headless_platform.h"

// Last: Xlib's macros (None, Status, ...) clash with the names above.
#include "app/presenter.h"
#include <FL/x.H>

namespace {

int64_t clock_ns(clockid_t id) {
    timespec ts{};
    clock_gettime(id, &ts);
    return int64_t(ts.tv_sec) * 1000000000 + ts.tv_nsec;
}

// The X server's pid, from the lock file of a local display (":N").
long server_pid() {
    const char* d = std::getenv("DISPLAY");
    if (!d || d[0] != ':') return 0;
    std::ifstream f("/tmp/.X" + std::string(d + 1, std::strcspn(d + 1, ".")) + "-lock");
    long pid = 0;
    f >> pid;
    return pid;
}

// CPU time of a process in ns, to the nanosecond (the scheduler's own
// count of every thread's time on a CPU); 0 if it cannot be read.
int64_t process_cpu_ns(long pid) {
    if (pid <= 0) return 0;
    int64_t total = 0;
    const std::string tasks = "/proc/" + std::to_string(pid) + "/task";
    if (DIR* d = opendir(tasks.c_str())) {
        while (dirent* e = readdir(d)) {
            if (e->d_name[0] == '.') continue;
            std::ifstream f(tasks + "/" + e->d_name + "/schedstat");
            long long ns = 0;
            if (f >> ns) total += ns;
        }
        closedir(d);
    }
    return total;
}

std::string executable_folder() {
    char buf[PATH_MAX];
    ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
    std::string p = n > 0 ? std::string(buf, size_t(n)) : ".";
    return p.substr(0, p.rfind('/'));
}

class BenchWindow : public Fl_Window {
public:
    BenchWindow(int w, int h) : Fl_Window(0, 0, w, h, "lexovo-present-bench") { end(); }
    Presenter* presenter = nullptr;
    long draws = 0;
    void draw() override {
        ++draws;
        if (presenter) presenter->draw(fl_window, fl_gc, 0, 0, damage() == FL_DAMAGE_USER1);
    }
};

struct Figures {
    std::vector<double> cpu, server, wall;  // ns per frame, one entry per round
};

double median(std::vector<double> v) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    std::string data = executable_folder();
    int frames = 60, rounds = 9;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        if (a == "--quick") frames = 5, rounds = 3;
        else if (a == "--data" && i + 1 < argc) data = argv[++i];
        else if (a == "--frames" && i + 1 < argc) frames = std::max(1, std::atoi(argv[++i]));
        else {
            std::fprintf(stderr, "usage: lexovo-present-bench [--quick] [--data DIR] [--frames N]\n");
            return 2;
        }
    }

    HeadlessPlatform platform(data);
    GameWindow game(platform);
    time_limit = 0;
    game.Form_Load();
    auto tick = [&] {
        platform.advance_clock(60);
        game.Timer1_Timer();
    };
    for (int i = 0; i < 10; ++i) tick();
    Surface negative = game.window_picture();
    for (int y = 0; y < negative.height(); ++y)
        for (int x = 0; x < negative.width(); ++x) negative.row(y)[x] ^= 0xFFFFFF;
    const std::vector<Surface> every_pixel_new = {game.window_picture(), negative};
    std::vector<Surface> walking;
    game.Form_KeyDown(39, 0);
    for (int i = 0; i < 64; ++i) {
        tick();
        walking.push_back(game.window_picture());
    }

    fl_open_display();
    Fl::visual(FL_RGB);
    const long xpid = server_pid();
    const Presenter::Path paths[] = {Presenter::Path::Converted, Presenter::Path::Image, Presenter::Path::SharedMemory};
    std::printf("# lexovo-present-bench: %d frames a round, %d rounds, X server pid %ld%s\n", frames, rounds, xpid,
                xpid ? "" : " (its CPU is not measured)");
    std::printf("%-16s %-6s %-14s %12s %12s %12s %10s\n", "frames", "scale", "way", "client_us", "server_us", "wall_us",
                "cpu_ratio");

    int status = 0;
    const std::pair<const char*, const std::vector<Surface>*> kinds[] = {{"every_pixel_new", &every_pixel_new},
                                                                         {"walking", &walking}};
    for (const auto& [kind, pictures] : kinds)
    for (int scale : {1, 2, 3}) {
        const int W = 480 * scale, H = 540 * scale;
        BenchWindow window(W, H);
        window.show();
        window.wait_for_expose();  // FLTK draws nothing into a window the server has not shown yet
        Fl::check();
        std::vector<std::unique_ptr<Presenter>> presenters;
        std::vector<Figures> figures;
        for (Presenter::Path p : paths) {
            presenters.push_back(std::make_unique<Presenter>(fl_display, fl_visual->visual, fl_visual->depth, p));
            figures.emplace_back();
        }
        for (int round = 0; round < rounds; ++round) {
            std::vector<int64_t> cpu(presenters.size()), server(presenters.size()), wall(presenters.size());
            // Each way takes its turn for a whole round of frames, with the
            // caches to itself as in the game; the rounds take turns, so a
            // busy machine weighs on the ways alike.
            for (size_t k = 0; k < presenters.size(); ++k)
                for (int f = 0; f < frames; ++f) {
                    Presenter& pr = *presenters[k];
                    window.presenter = &pr;
                    XSync(fl_display, False);
                    const int64_t c0 = clock_ns(CLOCK_PROCESS_CPUTIME_ID), s0 = process_cpu_ns(xpid),
                                  w0 = clock_ns(CLOCK_MONOTONIC);
                    pr.update((*pictures)[size_t(f) % pictures->size()], scale);
                    window.damage(FL_DAMAGE_USER1);
                    Fl::flush();
                    // The client's part ends once the request is on its way,
                    // as in the game; waiting for the server is the bench's.
                    cpu[k] += clock_ns(CLOCK_PROCESS_CPUTIME_ID) - c0;
                    XSync(fl_display, False);
                    wall[k] += clock_ns(CLOCK_MONOTONIC) - w0;
                    server[k] += process_cpu_ns(xpid) - s0;
                }
            for (size_t k = 0; k < presenters.size(); ++k) {
                figures[k].cpu.push_back(double(cpu[k]) / frames);
                figures[k].server.push_back(double(server[k]) / frames);
                figures[k].wall.push_back(double(wall[k]) / frames);
            }
        }
        const double old_cpu = median(figures[0].cpu);
        double best = old_cpu;
        for (size_t k = 0; k < presenters.size(); ++k) {
            // A way the display does not offer falls back to a slower one: say so.
            const bool real = presenters[k]->path() == paths[k];
            const double c = median(figures[k].cpu);
            std::printf("%-16s %-6d %-14s %12.1f %12.1f %12.1f %10.3f%s\n", kind, scale, Presenter::name(paths[k]), c / 1000,
                        median(figures[k].server) / 1000, median(figures[k].wall) / 1000, c / old_cpu,
                        real ? "" : "  (not offered here)");
            if (real) best = std::min(best, c);
        }
        std::printf("%s_%dx %.3f\n", std::string(kind) == "walking" ? "present_walking_cpu_ratio" : "present_cpu_ratio",
                    scale, best / old_cpu);
        // Every frame must have reached the window, or nothing was measured.
        if (window.draws < long(rounds) * frames * long(presenters.size())) {
            std::printf("failed: %ld frames drawn of %ld\n", window.draws, long(rounds) * frames * long(presenters.size()));
            status = 1;
        }
        window.presenter = nullptr;
        window.hide();
        Fl::check();
        if (old_cpu <= 0) status = 1;
    }
    return status;
}

// SPDX-License-Identifier: GPL-3.0-or-later
#include "disk_output.h"

#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <thread>

std::string scratch_file(const std::string& name) {
    return "/tmp/lexovo-audio-test-" + std::to_string(::getpid()) + "-" + name;
}

void sleep_ms(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

DiskOutput::DiskOutput(const std::string& name, bool realtime) : path_(scratch_file(name + ".raw")) {
    ::setenv("SDL_AUDIODRIVER", "disk", 1);
    ::setenv("SDL_DISKAUDIOFILE", path_.c_str(), 1);
    if (realtime)
        ::unsetenv("SDL_DISKAUDIODELAY");
    else
        ::setenv("SDL_DISKAUDIODELAY", "0", 1);
}

DiskOutput::~DiskOutput() { std::remove(path_.c_str()); }

std::vector<std::int16_t> DiskOutput::left() const {
    std::ifstream f(path_, std::ios::binary);
    std::vector<char> raw((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
    std::vector<std::int16_t> out(raw.size() / 4);
    for (std::size_t i = 0; i < out.size(); ++i)
        out[i] = static_cast<std::int16_t>(static_cast<unsigned char>(raw[4 * i]) | static_cast<unsigned char>(raw[4 * i + 1]) << 8);
    return out;
}

std::vector<SoundRun> runs(const std::vector<std::int16_t>& x, std::size_t min_gap) {
    std::vector<SoundRun> out;
    std::size_t zeros = min_gap;
    for (std::size_t i = 0; i < x.size(); ++i) {
        if (x[i] == 0) {
            ++zeros;
            continue;
        }
        if (zeros >= min_gap || out.empty())
            out.push_back({i, i + 1, x[i], x[i]});
        out.back().end = i + 1;
        out.back().last = x[i];
        zeros = 0;
    }
    return out;
}

double rms_db(const std::vector<std::int16_t>& x, std::size_t from, std::size_t to) {
    double s = 0;
    if (to > x.size()) to = x.size();
    if (to <= from) return -200;
    for (std::size_t i = from; i < to; ++i) s += double(x[i]) * x[i];
    double r = std::sqrt(s / (to - from)) / 32768.0;
    return r > 1e-10 ? 20 * std::log10(r) : -200;
}

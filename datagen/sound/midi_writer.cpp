// SPDX-License-Identifier: GPL-3.0-or-later
#include "datagen/sound/midi_writer.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <sstream>
#include <stdexcept>

namespace midi {

namespace {
void put_var(std::vector<std::uint8_t>& out, unsigned long v) {
    std::uint8_t buf[5];
    int n = 0;
    buf[n++] = v & 0x7F;
    while (v >>= 7) buf[n++] = 0x80 | (v & 0x7F);
    while (n) out.push_back(buf[--n]);
}
void put_be(std::vector<std::uint8_t>& out, unsigned long v, int bytes) {
    for (int i = bytes - 1; i >= 0; --i) out.push_back((v >> (8 * i)) & 0xFF);
}
std::uint8_t clamp7(int v) { return static_cast<std::uint8_t>(std::clamp(v, 0, 127)); }
}  // namespace

void Track::tempo(long tick, double bpm) {
    unsigned long us = static_cast<unsigned long>(std::lround(60e6 / bpm));
    events_.push_back({tick, 0, {0xFF, 0x51, 0x03, static_cast<std::uint8_t>(us >> 16), static_cast<std::uint8_t>(us >> 8), static_cast<std::uint8_t>(us)}});
}

void Track::time_signature(long tick, int num, int denom_pow2) {
    events_.push_back({tick, 0, {0xFF, 0x58, 0x04, static_cast<std::uint8_t>(num), static_cast<std::uint8_t>(denom_pow2), 24, 8}});
}

void Track::program(int ch, long tick, int prog) {
    events_.push_back({tick, 1, {static_cast<std::uint8_t>(0xC0 | ch), clamp7(prog)}});
}

void Track::control(int ch, long tick, int cc, int value) {
    events_.push_back({tick, 1, {static_cast<std::uint8_t>(0xB0 | ch), clamp7(cc), clamp7(value)}});
}

void Track::note(int ch, long tick, long dur, int key, int vel) {
    if (dur <= 0 || key < 0 || key > 127) return;
    events_.push_back({tick, 3, {static_cast<std::uint8_t>(0x90 | ch), clamp7(key), clamp7(std::max(vel, 1))}});
    events_.push_back({tick + dur, 2, {static_cast<std::uint8_t>(0x80 | ch), clamp7(key), 0}});
}

long Track::end_tick() const {
    long e = end_;
    for (const Event& ev : events_) e = std::max(e, ev.tick);
    return e;
}

std::vector<std::uint8_t> Track::bytes() const {
    std::vector<Event> ev = events_;
    std::stable_sort(ev.begin(), ev.end(), [](const Event& a, const Event& b) {
        return a.tick != b.tick ? a.tick < b.tick : a.order < b.order;
    });
    std::vector<std::uint8_t> body;
    // Track name first.
    body.push_back(0);
    body.push_back(0xFF);
    body.push_back(0x03);
    put_var(body, name_.size());
    body.insert(body.end(), name_.begin(), name_.end());
    long now = 0;
    for (const Event& e : ev) {
        put_var(body, static_cast<unsigned long>(e.tick - now));
        now = e.tick;
        body.insert(body.end(), e.bytes.begin(), e.bytes.end());
    }
    put_var(body, static_cast<unsigned long>(std::max(end_ - now, 0L)));
    body.push_back(0xFF);
    body.push_back(0x2F);
    body.push_back(0x00);
    std::vector<std::uint8_t> out = {'M', 'T', 'r', 'k'};
    put_be(out, body.size(), 4);
    out.insert(out.end(), body.begin(), body.end());
    return out;
}

bool write_file(const std::string& path, const std::vector<Track>& tracks) {
    std::vector<std::uint8_t> out = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 1};
    put_be(out, tracks.size(), 2);
    put_be(out, kPpq, 2);
    for (const Track& t : tracks) {
        std::vector<std::uint8_t> b = t.bytes();
        out.insert(out.end(), b.begin(), b.end());
    }
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    bool ok = std::fwrite(out.data(), 1, out.size(), f) == out.size();
    return std::fclose(f) == 0 && ok;
}

int key_of(const std::string& name) {
    static const int base[7] = {9, 11, 0, 2, 4, 5, 7};  // A B C D E F G
    if (name.empty() || name[0] < 'A' || name[0] > 'G') throw std::invalid_argument("note: " + name);
    int k = base[name[0] - 'A'];
    std::size_t i = 1;
    while (i < name.size() && (name[i] == '#' || name[i] == 'b')) k += name[i++] == '#' ? 1 : -1;
    if (i >= name.size()) throw std::invalid_argument("note without octave: " + name);
    int octave = std::stoi(name.substr(i));
    return 12 * (octave + 1) + k;
}

std::vector<Note> parse(const std::string& score, long start, int transpose) {
    std::vector<Note> out;
    std::istringstream in(score);
    std::string tok;
    long now = start;
    while (in >> tok) {
        if (tok == "|") continue;
        std::size_t slash = tok.find('/');
        if (slash == std::string::npos) throw std::invalid_argument("token without length: " + tok);
        bool stacc = tok.back() == '.';
        long len = std::stol(tok.substr(slash + 1, tok.size() - slash - 1 - (stacc ? 1 : 0))) * kSixteenth;
        std::string what = tok.substr(0, slash);
        if (what != "r") {
            // Legato by default: a hair short so repeated notes re-strike.
            long dur = stacc ? len / 2 : len - kSixteenth / 8;
            out.push_back({now, dur, key_of(what) + transpose});
        }
        now += len;
    }
    return out;
}

long length_ticks(const std::string& score) {
    std::istringstream in(score);
    std::string tok;
    long n = 0;
    while (in >> tok) {
        if (tok == "|") continue;
        std::size_t slash = tok.find('/');
        if (slash == std::string::npos) continue;
        bool stacc = tok.back() == '.';
        n += std::stol(tok.substr(slash + 1, tok.size() - slash - 1 - (stacc ? 1 : 0))) * kSixteenth;
    }
    return n;
}

}  // namespace midi

// SPDX-License-Identifier: GPL-3.0-or-later
// The generated effects and tunes in ${LEXOVO_BIN}, measured.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <map>
#include <set>

#include "datagen/sound/analysis.h"
#include "datagen/sound/effects.h"

namespace {

std::string bin(const std::string& f) { return std::string(LEXOVO_BIN) + "/" + f; }

snd::Figures figures(const std::string& file, snd::Wav* w_out = nullptr) {
    snd::Wav w;
    EXPECT_TRUE(snd::read_wav(bin(file), w)) << file;
    if (w_out) *w_out = w;
    return snd::measure(w.mono, w.rate);
}

TEST(Effects, AllSixteenAre16BitPcmAtAMixerRateWithSaneLevels) {
    ASSERT_EQ(snd::effects().size(), 16u);
    for (const snd::Effect& e : snd::effects()) {
        snd::Wav w;
        ASSERT_TRUE(snd::read_wav(bin(e.file), w)) << e.file;
        EXPECT_EQ(w.bits, 16) << e.file;
        EXPECT_TRUE(w.rate == 22050 || w.rate == 44100) << e.file;
        snd::Figures f = snd::measure(w.mono, w.rate);
        EXPECT_LT(f.peak_db, -0.5) << e.file << " clips";
        EXPECT_GT(f.peak_db, -8) << e.file << " too quiet";
        EXPECT_GT(f.rms_db, -32) << e.file;
        EXPECT_LT(f.seconds, 9) << e.file;
    }
}

TEST(Effects, LoopsJoinEndToStartWithoutAClickAndKeepTheWalkingPace) {
    for (const char* file : {"step.wav", "stairs.wav", "jungla.wav"}) {
        snd::Figures f = figures(file);
        EXPECT_LT(f.join_jump, 1.0) << file << ": the jump from last to first sample stands out";
    }
    // Footsteps: one walk cycle (4 ticks of 60 ms), two footfalls in it.
    snd::Figures step = figures("step.wav");
    EXPECT_NEAR(step.seconds, 0.240, 0.001);
    EXPECT_EQ(step.onsets, 2);
    // Climbing: whole cycles too, a creak on each.
    snd::Figures stairs = figures("stairs.wav");
    EXPECT_NEAR(std::fmod(stairs.seconds + 1e-4, 0.240), 0.0, 0.002);
    EXPECT_EQ(stairs.onsets, static_cast<int>(std::lround(stairs.seconds / 0.240)));
    // The jungle bed never drops out anywhere in the loop.
    snd::Figures jungle = figures("jungla.wav");
    EXPECT_GE(jungle.seconds, 4);
    EXPECT_LT(std::fabs(jungle.head_tail_db), 6);
    EXPECT_LT(std::fabs(jungle.join_level_db), 6) << "the level carries on across the join";
}

TEST(Effects, EachSoundsLikeWhatItIs) {
    snd::Figures thunder = figures("tuono.wav");
    EXPECT_GT(thunder.band[0], 0.8) << "thunder rumbles below 250 Hz";
    EXPECT_GT(thunder.seconds, 2.5);

    snd::Figures rain = figures("rain.wav");
    EXPECT_GE(rain.seconds, 3.0) << "the storm rains for 3 s";
    for (int b = 1; b < 4; ++b) EXPECT_GT(rain.band[b], 0.1) << "rain is broadband (band " << b << ")";
    EXPECT_GT(rain.flatness, 0.3);

    snd::Figures chime = figures("attiva.wav");
    EXPECT_LT(chime.seconds, 1.0);
    EXPECT_LT(chime.head_tail_db, -12) << "the chime rings and dies away";
    EXPECT_GT(chime.centroid_hz, 1000);

    snd::Figures pop = figures("flub.wav");
    EXPECT_LT(pop.seconds, 0.3);
    EXPECT_GT(pop.band[0] + pop.band[1], 0.9) << "a soft pop, no hiss";

    snd::Figures whistle = figures("cade.wav");
    snd::Wav w;
    figures("cade.wav", &w);
    // Falling whistle: the first half is higher than the second.
    std::size_t half = w.mono.size() / 2;
    auto centroid = [](std::vector<float> x) { return snd::measure(x, 44100).centroid_hz; };
    EXPECT_GT(centroid({w.mono.begin(), w.mono.begin() + half}), 1.5 * centroid({w.mono.begin() + half, w.mono.end()}));
    (void)whistle;

    snd::Wav sweep;
    figures("cresce.wav", &sweep);
    std::size_t third = sweep.mono.size() / 3;
    EXPECT_LT(centroid({sweep.mono.begin(), sweep.mono.begin() + third}), centroid({sweep.mono.begin() + third, sweep.mono.begin() + 2 * third}))
        << "the magic sweep rises";

    snd::Figures flute = figures("flauto.wav");
    EXPECT_NEAR(flute.seconds, 1.2, 0.45);
    EXPECT_GE(figures("tarzan.wav").seconds, 2.0);
    EXPECT_GT(figures("crash.wav").onsets, 0);
    EXPECT_LT(figures("crash.wav").head_tail_db, -20);
}

// A reader for the tunes, independent of the writer that made them.
struct Smf {
    int format = -1, ntracks = 0, ppq = 0;
    double seconds = 0;
    std::set<int> programs;          // GM programs set on melodic channels
    std::set<int> channels_playing;  // channels with notes
    std::set<int> unprogrammed;      // melodic channels with notes before any program change
    int notes = 0, hanging = 0;      // note-ons, notes never released
};

Smf read_smf(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    std::vector<unsigned char> d((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
    Smf s;
    auto be = [&](std::size_t p, int n) {
        unsigned long v = 0;
        for (int i = 0; i < n; ++i) v = v << 8 | d.at(p + i);
        return v;
    };
    if (d.size() < 14 || std::string(d.begin(), d.begin() + 4) != "MThd") return s;
    s.format = static_cast<int>(be(8, 2));
    s.ntracks = static_cast<int>(be(10, 2));
    s.ppq = static_cast<int>(be(12, 2));
    std::map<long, double> tempo = {{0, 500000}};  // tick -> microseconds per quarter
    long last_tick = 0;
    std::size_t p = 14;
    std::set<int> programmed;
    for (int t = 0; t < s.ntracks; ++t) {
        EXPECT_EQ(std::string(d.begin() + p, d.begin() + p + 4), "MTrk");
        std::size_t end = p + 8 + be(p + 4, 4);
        p += 8;
        long tick = 0;
        int running = 0;
        std::map<int, int> on;  // (channel << 8 | key) -> count
        while (p < end) {
            unsigned long delta = 0;
            do delta = delta << 7 | (d[p] & 0x7F);
            while (d[p++] & 0x80);
            tick += static_cast<long>(delta);
            int st = d[p] & 0x80 ? d[p++] : running;
            if (st == 0xFF) {
                int type = d[p++];
                unsigned long len = 0;
                do len = len << 7 | (d[p] & 0x7F);
                while (d[p++] & 0x80);
                if (type == 0x51) tempo[tick] = static_cast<double>(be(p, 3));
                p += len;
                continue;
            }
            running = st;
            int ch = st & 0x0F, kind = st & 0xF0;
            if (kind == 0xC0 || kind == 0xD0) {
                if (kind == 0xC0 && ch != 9) s.programs.insert(d[p]), programmed.insert(ch);
                p += 1;
                continue;
            }
            int a = d[p], b = d[p + 1];
            p += 2;
            if (kind == 0x90 && b > 0) {
                ++s.notes;
                ++on[ch << 8 | a];
                s.channels_playing.insert(ch);
                if (ch != 9 && !programmed.count(ch)) s.unprogrammed.insert(ch);
            } else if (kind == 0x80 || (kind == 0x90 && b == 0)) {
                --on[ch << 8 | a];
            }
        }
        for (auto& [k, n] : on) s.hanging += n > 0 ? n : 0;
        last_tick = std::max(last_tick, tick);
        p = end;
    }
    // Seconds through the tempo map.
    long prev = 0;
    double us = tempo[0];
    for (auto& [tick, v] : tempo) {
        if (tick > last_tick) break;
        s.seconds += (tick - prev) * us / s.ppq / 1e6;
        prev = tick;
        us = v;
    }
    s.seconds += (last_tick - prev) * us / s.ppq / 1e6;
    return s;
}

TEST(Tunes, AreGeneralMidiFilesOfTheRightLengthAndOrchestra) {
    Smf intro = read_smf(bin("intro3.mid"));
    ASSERT_EQ(intro.format, 1);
    EXPECT_GE(intro.seconds, 30);
    EXPECT_LE(intro.seconds, 120);
    EXPECT_TRUE(intro.programs.count(70)) << "bassoon";
    EXPECT_TRUE(intro.programs.count(71)) << "clarinet";
    EXPECT_TRUE(intro.programs.count(45)) << "pizzicato";
    EXPECT_TRUE(intro.unprogrammed.empty());
    EXPECT_EQ(intro.hanging, 0);

    Smf sym = read_smf(bin("symphony.mid"));
    ASSERT_EQ(sym.format, 1);
    EXPECT_GE(sym.seconds, 45);
    EXPECT_LE(sym.seconds, 150);
    for (int prog : {48, 56, 60, 42, 43, 47, 73}) EXPECT_TRUE(sym.programs.count(prog)) << "program " << prog;
    EXPECT_GE(sym.channels_playing.size(), 10u) << "a full orchestra";
    EXPECT_TRUE(sym.unprogrammed.empty());
    EXPECT_EQ(sym.hanging, 0);
    std::printf("intro3.mid %.1f s, %d notes; symphony.mid %.1f s, %d notes, %zu channels\n", intro.seconds, intro.notes,
                sym.seconds, sym.notes, sym.channels_playing.size());
}

}  // namespace

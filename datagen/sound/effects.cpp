// SPDX-License-Identifier: GPL-3.0-or-later
#include "datagen/sound/effects.h"

#include <algorithm>
#include <cmath>

namespace snd {
namespace {

double t_of(std::size_t i) { return static_cast<double>(i) / kRate; }

// ---------------------------------------------------------------- footsteps

// One leather heel on a wooden floor: a low thump, a heel click, a scuff.
Buffer footfall(Rng& rng, double weight) {
    Buffer b(samples(0.11));
    Biquad click = Biquad::bandpass(rng.range(1500, 2100), 1.6);
    Biquad click2 = Biquad::bandpass(rng.range(3200, 3800), 2.5);
    Biquad scuff = Biquad::lowpass(2600, 0.7);
    Biquad body = Biquad::lowpass(400, 0.9);
    double ph = 0;
    double f0 = rng.range(95, 110);
    for (std::size_t i = 0; i < b.size(); ++i) {
        double t = t_of(i);
        double f = f0 * (0.65 + 0.35 * std::exp(-t / 0.02));
        ph += 2 * pi * f / kRate;
        double thump = std::sin(ph) * decay(t, 0.022) * (1 - std::exp(-t / 0.0015));
        double n = rng.bipolar();
        double c = (click(n) * 1.4 + click2(n) * 0.6) * decay(t - 0.004, 0.006) * (t > 0.004);
        double s = scuff(rng.bipolar()) * 0.12 * decay(t, 0.035) * (1 - std::exp(-t / 0.004));
        b[i] = static_cast<float>(weight * (body(static_cast<float>(thump)) * 0.6 + c * 2.2 + s * 2.0));
    }
    return b;
}

Buffer render_step() {
    Rng rng(0x5717);
    Buffer loop(samples(kWalkCycle));
    // Two footfalls a cycle, the second a touch lighter, as in a real gait.
    add_wrapped(loop, footfall(rng, 1.0), samples(0.004));
    add_wrapped(loop, footfall(rng, 0.85), samples(0.004 + kWalkCycle / 2));
    normalize(loop, 0.55);
    return loop;
}

// ---------------------------------------------------------------- climbing

// A wooden rung creaking under a foot: stick-slip pulses through the
// resonances of the wood, with a knock where the shoe lands.
Buffer creak(Rng& rng, double base_rate, double dur) {
    Buffer b(samples(dur + 0.05));
    Biquad r1 = Biquad::bandpass(rng.range(560, 700), 9);
    Biquad r2 = Biquad::bandpass(rng.range(1100, 1300), 11);
    Biquad r3 = Biquad::bandpass(rng.range(2200, 2600), 12);
    Biquad knock = Biquad::bandpass(380, 2.0);
    OnePole wander(8);
    double phase = 0;
    for (std::size_t i = 0; i < b.size(); ++i) {
        double t = t_of(i);
        double env = smoothstep(0.0, 0.03, t) * (1 - smoothstep(dur * 0.6, dur, t));
        // The slip rate sags and wobbles as the wood gives.
        double rate = base_rate * (1.0 + 0.35 * std::sin(pi * t / dur)) * (1.0 + 0.25 * wander(static_cast<float>(rng.bipolar() * 4)));
        phase += rate / kRate;
        double pulse = 0;
        if (phase >= 1.0) {
            phase -= 1.0;
            pulse = 1.0 + 0.4 * rng.bipolar();
        }
        double e = pulse * env + rng.bipolar() * 0.02 * env;
        double v = r1(static_cast<float>(e)) * 1.0 + r2(static_cast<float>(e)) * 0.7 + r3(static_cast<float>(e)) * 0.35;
        double k = knock(static_cast<float>(rng.bipolar())) * decay(t, 0.012) * 1.4;
        b[i] = static_cast<float>(v * 2.2 + k);
    }
    return b;
}

Buffer render_stairs() {
    Rng rng(0x57A125);
    Buffer loop(samples(2 * kWalkCycle));  // two climbing cycles, two different rungs
    add_wrapped(loop, creak(rng, 95, 0.17), samples(0.002));
    add_wrapped(loop, creak(rng, 120, 0.15), samples(0.002 + kWalkCycle));
    normalize(loop, 0.6);
    return loop;
}

// ---------------------------------------------------------------- one-shots

Buffer render_flub() {
    Rng rng(0xF1B);
    Buffer b(samples(0.16));
    Biquad puff = Biquad::lowpass(900, 0.8);
    double ph = 0;
    for (std::size_t i = 0; i < b.size(); ++i) {
        double t = t_of(i);
        double f = 170 + 380 * std::exp(-t / 0.018);
        ph += 2 * pi * f / kRate;
        double env = (1 - std::exp(-t / 0.002)) * decay(t, 0.032);
        double air = puff(static_cast<float>(rng.bipolar())) * decay(t, 0.01) * 0.5;
        b[i] = static_cast<float>(std::sin(ph) * env + air);
    }
    fade(b, 0.0, 0.02);
    normalize(b, 0.7);
    return b;
}

Buffer render_mosca() {
    Rng rng(0x105CA);
    double dur = 1.6;
    Buffer b(samples(dur));
    Saw saw;
    OnePole wander(2.5), flutter(40);
    Biquad f1 = Biquad::bandpass(950, 3), f2 = Biquad::bandpass(2500, 4), lp = Biquad::lowpass(5000);
    for (std::size_t i = 0; i < b.size(); ++i) {
        double t = t_of(i);
        // The fly loops past: pitch up as it comes, down as it goes.
        double doppler = 1.0 + 0.06 * std::sin(2 * pi * t / dur - 0.3) + 0.1 * wander(static_cast<float>(rng.bipolar() * 3));
        double f = 205 * doppler;
        double wing = 1.0 + 0.35 * flutter(static_cast<float>(rng.bipolar() * 2));
        double s = saw(f) * wing;
        double v = f1(static_cast<float>(s)) * 1.0 + f2(static_cast<float>(s)) * 0.5 + s * 0.12;
        double near = 0.35 + 0.65 * std::pow(std::sin(pi * t / dur), 2.0);
        b[i] = lp(static_cast<float>(v * near));
    }
    fade(b, 0.08, 0.25);
    normalize(b, 0.6);
    return b;
}

Buffer render_noway() {
    Buffer b(samples(0.52));
    Square sq;
    Biquad lp = Biquad::lowpass(1500, 0.8), nasal = Biquad::peak(700, 2, 8);
    struct N { double start, len, f; } notes[2] = {{0.0, 0.17, 156}, {0.23, 0.27, 117}};
    for (std::size_t i = 0; i < b.size(); ++i) {
        double t = t_of(i), v = 0, f = 117;
        for (const N& n : notes) {
            if (t >= n.start && t < n.start + n.len) {
                double lt = t - n.start;
                v = smoothstep(0, 0.012, lt) * (1 - smoothstep(n.len - 0.03, n.len, lt));
                f = n.f * (1 - 0.04 * lt / n.len);
            }
        }
        double s = sq(f, 0.3);
        b[i] = lp(nasal(static_cast<float>(s * v)));
    }
    normalize(b, 0.45);
    return b;
}

Buffer render_tuono() {
    Rng rng(0x70050);
    double dur = 4.5;
    Buffer b(samples(dur));
    // A few rolls of thunder one over another, after the first crack.
    struct Roll { double at, amp, rise, fall; };
    std::vector<Roll> rolls = {{0.02, 1.0, 0.02, 0.5}};
    for (int k = 0; k < 6; ++k) rolls.push_back({rng.range(0.25, 2.6), rng.range(0.35, 0.8), rng.range(0.08, 0.3), rng.range(0.4, 1.1)});
    Biquad lp1 = Biquad::lowpass(170, 0.8), lp2 = Biquad::lowpass(220, 0.7), hp = Biquad::highpass(28);
    Biquad crack_lp = Biquad::lowpass(3500), crack_hp = Biquad::highpass(300);
    OnePole grain(12);
    double brown = 0;
    for (std::size_t i = 0; i < b.size(); ++i) {
        double t = t_of(i);
        brown = brown * 0.995 + rng.bipolar() * 0.12;
        double env = 0;
        for (const Roll& r : rolls)
            if (t >= r.at) env += r.amp * (1 - std::exp(-(t - r.at) / r.rise)) * std::exp(-(t - r.at) / r.fall);
        env *= 1.0 + 0.6 * grain(static_cast<float>(rng.bipolar() * 3));  // crackle in the rumble
        double rumble = lp2(lp1(static_cast<float>(brown))) * env * 3.0;
        double crack = crack_hp(crack_lp(static_cast<float>(rng.bipolar()))) * decay(t - 0.02, 0.07) * (t > 0.02) * 1.2;
        b[i] = hp(static_cast<float>(rumble + crack));
    }
    fade(b, 0.005, 0.8);
    normalize(b, 0.9);
    return b;
}

Buffer render_rain() {
    Rng rng(0x7A1);
    // The storm stops the rain about 2.9 s after it starts: by then the
    // shower has thinned to a drizzle, so the stop cuts nothing loud.
    double dur = 3.5;
    Buffer b(samples(dur));
    PinkNoise pink(0x7A2);
    Biquad bed_hp = Biquad::highpass(300), bed_lp = Biquad::lowpass(9000);
    Biquad hiss = Biquad::highpass(3000);
    for (std::size_t i = 0; i < b.size(); ++i)
        b[i] = bed_lp(bed_hp(pink() * 0.7f)) + hiss(static_cast<float>(rng.bipolar())) * 0.08f;
    // Single drops on leaves, sills and puddles.
    int drops = static_cast<int>(dur * 320);
    for (int k = 0; k < drops; ++k) {
        double at = rng.range(0, dur);
        double f = std::exp(rng.range(std::log(700.0), std::log(7000.0)));
        double tau = rng.range(0.0015, 0.006);
        double amp = std::pow(rng.uniform(), 2.0) * 0.9;
        Biquad bp = Biquad::bandpass(f, 3);
        Buffer d(samples(tau * 6));
        for (std::size_t i = 0; i < d.size(); ++i) d[i] = bp(static_cast<float>(rng.bipolar() * decay(t_of(i), tau)));
        add(b, d, static_cast<long>(at * kRate), amp * 2.5);
    }
    for (std::size_t i = 0; i < b.size(); ++i) {
        double t = t_of(i);
        b[i] *= static_cast<float>(1.0 - 0.94 * smoothstep(2.1, 2.9, t));  // -24 dB by 2.9 s
    }
    fade(b, 0.25, 0.5);
    normalize(b, 0.7);
    return b;
}

Buffer render_cresce() {
    Rng rng(0xC2E5);
    double dur = 2.4;
    Buffer b(samples(dur));
    Saw s1, s2, s3;
    Biquad lp;
    for (std::size_t i = 0; i < b.size(); ++i) {
        double t = t_of(i);
        double k = smoothstep(0.0, 2.0, t);
        double f = 150 * std::pow(9.0, k);  // 150 Hz up to 1350 Hz
        if (i % 32 == 0) lp.set(Biquad::lowpass(std::min(400 + 5 * f, 16000.0), 4.0));
        double v = (s1(f) + s2(f * 1.007) + s3(f * 0.994 * 2)) / 3.0;
        double env = smoothstep(0.0, 0.3, t) * (1 - smoothstep(2.0, dur, t));
        b[i] = static_cast<float>(lp(static_cast<float>(v)) * env * 0.5);
    }
    // Sparkles climbing with the sweep, on a pentatonic scale.
    static const int scale[] = {0, 2, 4, 7, 9};
    for (int k = 0; k < 36; ++k) {
        double at = 0.1 + 2.0 * k / 36.0 + rng.range(-0.02, 0.02);
        int step = static_cast<int>(k * 0.6) + static_cast<int>(rng.range(0, 3));
        double note = 72 + 12 * (step / 5) + scale[step % 5];
        double f = midi_hz(std::min(note, 108.0));
        Buffer p(samples(0.35));
        for (std::size_t i = 0; i < p.size(); ++i) {
            double t = t_of(i);
            p[i] = static_cast<float>((std::sin(2 * pi * f * t) + 0.3 * std::sin(2 * pi * f * 2.76 * t) * decay(t, 0.04)) * decay(t, 0.09) * (1 - std::exp(-t / 0.001)));
        }
        add(b, p, static_cast<long>(at * kRate), 0.18);
    }
    reverb(b, 0.35, 0.85, 0.6);
    fade(b, 0.0, 0.3);
    normalize(b, 0.8);
    return b;
}

// A muted brass "wah": sawtooth through a lowpass that opens and closes.
Buffer wah_note(double f, double len, double vib) {
    Buffer b(samples(len + 0.08));
    Saw a, c;
    Biquad lp;
    for (std::size_t i = 0; i < b.size(); ++i) {
        double t = t_of(i);
        double vf = f * (1 + vib * std::sin(2 * pi * 5.5 * t) * smoothstep(0.1, 0.4, t));
        double open = std::sin(pi * std::min(t / len, 1.0));
        if (i % 32 == 0) lp.set(Biquad::lowpass(350 + 1900 * open, 2.5));
        double env = adsr(t, len, 0.02, 0.05, 0.85, 0.07);
        b[i] = static_cast<float>(lp(static_cast<float>((a(vf) + c(vf * 1.004)) * 0.5)) * env);
    }
    return b;
}

Buffer render_fine() {
    Buffer b(samples(2.6));
    // Four steps down by semitones, the last one long and wobbling.
    double notes[4] = {58, 57, 56, 55};  // B flat, A, A flat, G below middle C
    double at = 0;
    for (int k = 0; k < 4; ++k) {
        double len = k < 3 ? 0.34 : 1.3;
        add(b, wah_note(midi_hz(notes[k]), len, k < 3 ? 0.0 : 0.025), samples(at));
        at += k < 3 ? 0.40 : 0;
    }
    reverb(b, 0.2, 0.6, 0.3);
    fade(b, 0.0, 0.2);
    normalize(b, 0.7);
    return b;
}

// A small bell: inharmonic partials, the high ones dying first.
Buffer bell(double f, double len, double bright) {
    static const double ratio[] = {1.0, 2.0, 2.76, 5.40, 8.93};
    static const double amp[] = {1.0, 0.35, 0.5, 0.25, 0.12};
    static const double tau[] = {0.28, 0.18, 0.12, 0.06, 0.035};
    Buffer b(samples(len));
    for (std::size_t i = 0; i < b.size(); ++i) {
        double t = t_of(i), v = 0;
        for (int p = 0; p < 5; ++p)
            if (f * ratio[p] < kRate * 0.45) v += amp[p] * (p ? bright : 1.0) * std::sin(2 * pi * f * ratio[p] * t) * decay(t, tau[p] * len / 0.6);
        b[i] = static_cast<float>(v * (1 - std::exp(-t / 0.0008)));
    }
    return b;
}

Buffer render_attiva() {
    Buffer b(samples(0.65));
    add(b, bell(midi_hz(88), 0.6, 0.8), 0, 0.8);            // E6
    add(b, bell(midi_hz(95), 0.55, 0.6), samples(0.07), 0.6);  // B6
    fade(b, 0.0, 0.08);
    normalize(b, 0.6);
    return b;
}

Buffer render_cade() {
    Rng rng(0xCADE);
    double dur = 1.6;
    Buffer b(samples(dur));
    Biquad breath;
    double ph = 0;
    for (std::size_t i = 0; i < b.size(); ++i) {
        double t = t_of(i);
        double k = std::pow(t / dur, 1.4);
        double f = 2300 * std::pow(350.0 / 2300.0, k) * (1 + 0.006 * std::sin(2 * pi * 6 * t));
        ph += 2 * pi * f / kRate;
        if (i % 64 == 0) breath.set(Biquad::bandpass(f, 6));
        double env = smoothstep(0, 0.08, t) * (0.7 + 0.3 * k) * (1 - smoothstep(dur - 0.12, dur, t));
        double v = std::sin(ph) + 0.15 * std::sin(2 * ph) + breath(static_cast<float>(rng.bipolar())) * 0.5;
        b[i] = static_cast<float>(v * env);
    }
    normalize(b, 0.45);
    return b;
}

Buffer render_crash() {
    Rng rng(0xC2A54);
    double dur = 1.5;
    Buffer b(samples(dur));
    Biquad body = Biquad::lowpass(300), burst = Biquad::lowpass(6000);
    double ph = 0;
    for (std::size_t i = 0; i < b.size(); ++i) {
        double t = t_of(i);
        ph += 2 * pi * (55 + 40 * std::exp(-t / 0.05)) / kRate;
        double thump = std::sin(ph) * decay(t, 0.13);
        double n = burst(static_cast<float>(rng.bipolar())) * decay(t, 0.07) * (1 - std::exp(-t / 0.0005));
        b[i] = static_cast<float>(body(static_cast<float>(thump)) * 1.2 + n * 0.9);
    }
    // Debris: wood and crockery tumbling, thinning out.
    for (int k = 0; k < 55; ++k) {
        double at = 0.03 + std::pow(rng.uniform(), 1.8) * 1.0;
        double f = std::exp(rng.range(std::log(400.0), std::log(5500.0)));
        double tau = rng.range(0.004, 0.04);
        Biquad bp = Biquad::bandpass(f, rng.range(3, 12));
        Buffer d(samples(tau * 6));
        for (std::size_t i = 0; i < d.size(); ++i) d[i] = bp(static_cast<float>(rng.bipolar() * decay(t_of(i), tau)));
        add(b, d, samples(at), rng.range(0.3, 1.6) * (1.1 - at));
    }
    // Two pieces of metal left ringing.
    add(b, bell(1870, 0.9, 0.9), samples(0.02), 0.18);
    add(b, bell(2730, 0.7, 0.9), samples(0.11), 0.12);
    reverb(b, 0.25, 0.7, 0.3);
    fade(b, 0.0, 0.3);
    normalize(b, 0.9);
    return b;
}

// Marimba-like bar: fundamental plus the fourth partial, quick to fade.
Buffer bar(double f, double len) {
    Buffer b(samples(len));
    for (std::size_t i = 0; i < b.size(); ++i) {
        double t = t_of(i);
        double v = std::sin(2 * pi * f * t) * decay(t, len * 0.45) + 0.25 * std::sin(2 * pi * f * 4 * t) * decay(t, 0.05) +
                   0.1 * std::sin(2 * pi * f * 10 * t) * decay(t, 0.012);
        b[i] = static_cast<float>(v * (1 - std::exp(-t / 0.0007)));
    }
    return b;
}

Buffer render_succ() {
    Buffer b(samples(1.2));
    double notes[4] = {72, 76, 79, 84};  // C E G C, upwards
    for (int k = 0; k < 4; ++k) add(b, bar(midi_hz(notes[k]), k < 3 ? 0.35 : 0.9), samples(0.085 * k), k < 3 ? 0.5 : 0.6);
    // The closing chord under the top note.
    add(b, bar(midi_hz(76), 0.8), samples(0.255), 0.25);
    add(b, bar(midi_hz(79), 0.8), samples(0.255), 0.25);
    add(b, bell(midi_hz(96), 0.6, 0.5), samples(0.255), 0.15);
    reverb(b, 0.25, 0.7, 0.2);
    fade(b, 0.0, 0.15);
    normalize(b, 0.7);
    return b;
}

// ---------------------------------------------------------------- jungle

Buffer bird_whistle(Rng& rng) {
    double len = rng.range(0.25, 0.45), f0 = rng.range(1800, 2600), span = rng.range(600, 1400);
    Buffer b(samples(len));
    double ph = 0;
    for (std::size_t i = 0; i < b.size(); ++i) {
        double t = t_of(i), x = t / len;
        double f = f0 + span * std::sin(pi * x) + 120 * std::sin(2 * pi * 28 * t);
        ph += 2 * pi * f / kRate;
        b[i] = static_cast<float>(std::sin(ph) * std::sin(pi * x));
    }
    return b;
}

Buffer bird_trill(Rng& rng) {
    int chirps = static_cast<int>(rng.range(5, 9));
    double step = rng.range(0.05, 0.07), f0 = rng.range(3000, 4200);
    Buffer b(samples(chirps * step + 0.05));
    double ph = 0;
    for (std::size_t i = 0; i < b.size(); ++i) {
        double t = t_of(i);
        double in = std::fmod(t, step) / (step * 0.7);
        double f = f0 * (1.25 - 0.3 * std::min(in, 1.0));
        ph += 2 * pi * f / kRate;
        double env = in < 1 ? std::sin(pi * in) : 0.0;
        b[i] = static_cast<float>(std::sin(ph) * env * (1 - 0.5 * t / (chirps * step)));
    }
    return b;
}

Buffer hoot(Rng& rng) {
    // A tropical two-note call, said three times.
    double f = rng.range(650, 800);
    Buffer b(samples(1.0));
    double ph = 0;
    for (std::size_t i = 0; i < b.size(); ++i) {
        double t = t_of(i);
        double k = std::fmod(t, 0.32);
        double ff = k < 0.12 ? f : f * 0.84;
        ph += 2 * pi * ff / kRate;
        double env = k < 0.12 ? std::sin(pi * k / 0.12) : (k < 0.28 ? std::sin(pi * (k - 0.12) / 0.16) : 0.0);
        b[i] = static_cast<float>((std::sin(ph) + 0.2 * std::sin(2 * ph)) * env * (t < 0.96));
    }
    return b;
}

Buffer frog(Rng& rng) {
    Buffer b(samples(0.35));
    Biquad bp = Biquad::bandpass(rng.range(350, 500), 5);
    double rate = rng.range(22, 30), phase = 0;
    for (std::size_t i = 0; i < b.size(); ++i) {
        double t = t_of(i);
        phase += rate / kRate;
        double p = 0;
        if (phase >= 1) {
            phase -= 1;
            p = 1;
        }
        b[i] = bp(static_cast<float>(p * std::sin(pi * t / 0.35))) * 6.0f;
    }
    return b;
}

Buffer render_jungla() {
    Rng rng(0x1A6A1A);
    const double len = 8.0;
    const std::size_t n = samples(len), overlap = samples(0.5);
    // Leaves and distant life: a soft, slowly breathing noise bed.
    Buffer bed(n + overlap);
    PinkNoise pink(0x1A6A);
    Biquad lp = Biquad::lowpass(2200, 0.6), hp = Biquad::highpass(120);
    OnePole gust(0.6);
    for (std::size_t i = 0; i < bed.size(); ++i) {
        double g = 0.6 + 0.8 * std::fabs(gust(static_cast<float>(rng.bipolar() * 6)));
        bed[i] = static_cast<float>(hp(lp(pink())) * 0.35 * g);
    }
    Buffer loop = loop_crossfade(bed, n, overlap);
    // Crickets: chirps of four pulses, a whole number of times in the loop.
    Buffer crickets(n);
    const double chirp = len / 20.0;
    for (std::size_t i = 0; i < n; ++i) {
        double t = t_of(i);
        double in = std::fmod(t, chirp);
        double pulse = in < 0.1 ? std::pow(std::sin(pi * std::fmod(in, 0.025) / 0.025), 2.0) : 0.0;
        crickets[i] = static_cast<float>(std::sin(2 * pi * 4700 * t) * pulse * 0.06);
    }
    add(loop, crickets, 0);
    // Birds and frogs at fixed places, wrapping round the loop's end.
    for (int k = 0; k < 5; ++k) add_wrapped(loop, bird_whistle(rng), samples(rng.range(0, len)), rng.range(0.08, 0.16));
    for (int k = 0; k < 3; ++k) add_wrapped(loop, bird_trill(rng), samples(rng.range(0, len)), rng.range(0.06, 0.1));
    add_wrapped(loop, hoot(rng), samples(1.3), 0.14);
    add_wrapped(loop, hoot(rng), samples(5.9), 0.1);
    for (int k = 0; k < 4; ++k) add_wrapped(loop, frog(rng), samples(rng.range(0, len)), rng.range(0.15, 0.25));
    normalize(loop, 0.55);
    return loop;
}

// ---------------------------------------------------------------- voice and flute

// The yell: a chest voice on "ah" that breaks up into falsetto and back.
Buffer render_tarzan() {
    Rng rng(0x7A22A);
    struct Seg { double len, f_from, f_to; bool head; };
    const Seg segs[] = {
        {0.42, 200, 294, false},  // "Aaah" swelling up
        {0.17, 587, 587, true},   {0.13, 294, 294, false}, {0.17, 587, 587, true},
        {0.13, 294, 294, false},  {0.40, 659, 640, true},  // the high cry
        {0.13, 330, 330, false},  {0.20, 587, 587, true},
        {0.70, 294, 210, false},  // the long fall
    };
    double total = 0;
    for (const Seg& s : segs) total += s.len;
    Buffer b(samples(total + 0.05));
    // Control curves, one value per sample, smoothed so breaks take ~20 ms.
    std::vector<double> f0(b.size()), head(b.size()), amp(b.size());
    std::size_t i = 0;
    for (const Seg& s : segs) {
        std::size_t m = samples(s.len);
        for (std::size_t j = 0; j < m && i < b.size(); ++j, ++i) {
            double x = static_cast<double>(j) / m;
            f0[i] = s.f_from * std::pow(s.f_to / s.f_from, x);
            head[i] = s.head ? 1 : 0;
            amp[i] = 1.0 - 0.35 * std::exp(-static_cast<double>(j) / (0.02 * kRate));  // the dip at every break
        }
    }
    for (; i < b.size(); ++i) {
        f0[i] = f0[i - 1];
        head[i] = head[i - 1];
        amp[i] = 0;
    }
    OnePole pitch_s(40), head_s(30), amp_s(60), jitter(30);
    Saw src;
    double sine_ph = 0;
    Biquad F1, F2, F3, F4;
    Biquad tilt = Biquad::lowpass(5000, 0.6);
    Biquad breath_bp = Biquad::bandpass(2500, 1.0);
    double t_total = total;
    for (std::size_t k = 0; k < b.size(); ++k) {
        double t = t_of(k);
        double h = head_s(static_cast<float>(head[k]));
        double vib = 1 + (0.012 + 0.012 * h) * std::sin(2 * pi * 5.8 * t) + 0.004 * jitter(static_cast<float>(rng.bipolar() * 5));
        double f = pitch_s(static_cast<float>(f0[k])) * vib;
        // Chest voice: rich sawtooth; falsetto: nearly a sine.
        sine_ph += 2 * pi * f / kRate;
        double s = (1 - 0.7 * h) * src(f) + 0.7 * h * std::sin(sine_ph) * 1.6 + breath_bp(static_cast<float>(rng.bipolar())) * 0.08;
        if (k % 32 == 0) {
            // "ah" in the chest, drifting to "eh" up high.
            F1.set(Biquad::bandpass(780 - 150 * h, 6));
            F2.set(Biquad::bandpass(1180 + 600 * h, 10));
            F3.set(Biquad::bandpass(2700, 14));
            F4.set(Biquad::bandpass(3400, 16));
        }
        float x = tilt(static_cast<float>(s));
        double v = F1(x) * 1.0 + F2(x) * 1.3 + F3(x) * 0.9 + F4(x) * 0.4 + x * 0.05;
        double env = amp_s(static_cast<float>(amp[k])) * smoothstep(0, 0.06, t) * (1 - smoothstep(t_total - 0.3, t_total, t));
        b[k] = static_cast<float>(v * env);
    }
    remove_dc(b);
    reverb(b, 0.4, 0.9, 0.8);
    fade(b, 0.0, 0.3);
    normalize(b, 0.85);
    return b;
}

// A snake charmer's phrase on a breathy flute, in a scale with an
// augmented second (D, E flat, F sharp, G, A, B flat, C).
Buffer render_flauto() {
    Rng rng(0xF1A07);
    struct N { double note, len; };
    const N phrase[] = {{81, 0.13}, {82, 0.07}, {81, 0.07}, {79, 0.07}, {78, 0.11}, {79, 0.07},
                        {81, 0.09}, {82, 0.06}, {81, 0.06}, {78, 0.07}, {75, 0.08}, {74, 0.30}};
    double total = 0;
    for (const N& n : phrase) total += n.len;
    Buffer b(samples(total + 0.04));
    std::vector<double> pitch(b.size()), art(b.size());
    std::size_t i = 0;
    for (const N& n : phrase) {
        std::size_t m = samples(n.len);
        for (std::size_t j = 0; j < m && i < b.size(); ++j, ++i) {
            pitch[i] = midi_hz(n.note);
            art[i] = 1.0 - 0.6 * std::exp(-static_cast<double>(j) / (0.008 * kRate));  // a light tongue at each note
        }
    }
    for (; i < b.size(); ++i) {
        pitch[i] = pitch[i - 1];
        art[i] = 1;
    }
    OnePole glide(60), art_s(200);
    Biquad breath;
    double ph = 0;
    for (std::size_t k = 0; k < b.size(); ++k) {
        double t = t_of(k);
        double vib = 1 + 0.008 * std::sin(2 * pi * 5.2 * t) * smoothstep(0.6, 0.9, t) + 0.003 * std::sin(2 * pi * 5.2 * t);
        double f = glide(static_cast<float>(pitch[k])) * vib;
        ph += 2 * pi * f / kRate;
        if (k % 64 == 0) breath.set(Biquad::bandpass(f, 5));
        double tone = std::sin(ph) + 0.25 * std::sin(2 * ph) + 0.08 * std::sin(3 * ph);
        double air = breath(static_cast<float>(rng.bipolar())) * 0.5 + rng.bipolar() * 0.015;
        double env = smoothstep(0, 0.03, t) * (1 - smoothstep(total - 0.1, total + 0.02, t)) * art_s(static_cast<float>(art[k]));
        b[k] = static_cast<float>((tone + air) * env);
    }
    reverb(b, 0.3, 0.75, 0.35);
    fade(b, 0.0, 0.1);
    normalize(b, 0.7);
    return b;
}

}  // namespace

const std::vector<Effect>& effects() {
    static const std::vector<Effect> list = {
        {"step.wav", true, render_step},     {"stairs.wav", true, render_stairs}, {"flub.wav", false, render_flub},
        {"mosca.wav", false, render_mosca},  {"noway.wav", false, render_noway},  {"tuono.wav", false, render_tuono},
        {"rain.wav", false, render_rain},    {"cresce.wav", false, render_cresce}, {"fine.wav", false, render_fine},
        {"attiva.wav", false, render_attiva}, {"cade.wav", false, render_cade},   {"crash.wav", false, render_crash},
        {"succ.wav", false, render_succ},    {"jungla.wav", true, render_jungla}, {"tarzan.wav", false, render_tarzan},
        {"flauto.wav", false, render_flauto},
    };
    return list;
}

}  // namespace snd

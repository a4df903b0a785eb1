// SPDX-License-Identifier: GPL-3.0-or-later
// Small synthesis kit for the game's sound effects: a seeded noise source,
// oscillators, biquad filters, envelopes and a 16-bit WAV writer. Every
// effect is rendered from fixed seeds, so a build always writes the same
// bytes.
#pragma once
#include <cstddef>
#include <cstdint>
#include <numbers>
#include <string>
#include <vector>

namespace snd {

constexpr int kRate = 44100;
using std::numbers::pi;

using Buffer = std::vector<float>;

inline std::size_t samples(double seconds) { return static_cast<std::size_t>(seconds * kRate + 0.5); }

// xorshift64* : small, fast and identical on every platform.
class Rng {
public:
    explicit Rng(std::uint64_t seed) : s_(seed ? seed : 0x9E3779B97F4A7C15ull) {}
    std::uint64_t next();
    double uniform();                 // [0, 1)
    double bipolar() { return uniform() * 2.0 - 1.0; }
    double range(double lo, double hi) { return lo + (hi - lo) * uniform(); }
    double gauss();                   // mean 0, deviation 1

private:
    std::uint64_t s_;
};

// Direct form I biquad (RBJ cookbook coefficients).
class Biquad {
public:
    static Biquad lowpass(double freq, double q = 0.7071);
    static Biquad highpass(double freq, double q = 0.7071);
    static Biquad bandpass(double freq, double q);  // 0 dB peak gain
    static Biquad peak(double freq, double q, double gain_db);
    void set(const Biquad& other);    // new coefficients, keeps the state
    float operator()(float x);

private:
    double b0_ = 1, b1_ = 0, b2_ = 0, a1_ = 0, a2_ = 0;
    double x1_ = 0, x2_ = 0, y1_ = 0, y2_ = 0;
};

// One-pole smoother, handy for slowly wandering control values.
class OnePole {
public:
    explicit OnePole(double cutoff_hz);
    float operator()(float x);

private:
    double a_, y_ = 0;
};

// Pink-ish noise (Paul Kellet's economy filter over white noise).
class PinkNoise {
public:
    explicit PinkNoise(std::uint64_t seed) : rng_(seed) {}
    float operator()();

private:
    Rng rng_;
    double b0_ = 0, b1_ = 0, b2_ = 0;
};

// Band-limited sawtooth and square through polyBLEP.
class Saw {
public:
    float operator()(double freq);
    double phase = 0;
};
class Square {
public:
    float operator()(double freq, double duty = 0.5);
    double phase = 0;
};

double poly_blep(double t, double dt);
double midi_hz(double note);

// Envelopes.
double adsr(double t, double dur, double a, double d, double s, double r);
inline double decay(double t, double tau) { return t < 0 ? 0.0 : __builtin_exp(-t / tau); }
double smoothstep(double e0, double e1, double x);

// Buffer helpers.
void add(Buffer& dst, const Buffer& src, long at, double gain = 1.0);
void add_wrapped(Buffer& dst, const Buffer& src, long at, double gain = 1.0);  // wraps round the end
void fade(Buffer& b, double in_s, double out_s);
void normalize(Buffer& b, double peak);
void remove_dc(Buffer& b);
// Makes a seamless loop of n samples from x (n + overlap samples long): the
// tail past n is cross-faded (equal power) into the head.
Buffer loop_crossfade(const Buffer& x, std::size_t n, std::size_t overlap);

// A small Schroeder room (four combs, two all-passes) mixed into b; the
// buffer grows by tail_s seconds so the echo can die away.
void reverb(Buffer& b, double wet, double room = 0.8, double tail_s = 0.4);

bool write_wav(const std::string& path, const Buffer& b, int rate = kRate);

}  // namespace snd

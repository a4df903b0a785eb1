// SPDX-License-Identifier: GPL-3.0-or-later
#include "datagen/sound/synth.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace snd {

std::uint64_t Rng::next() {
    s_ ^= s_ >> 12;
    s_ ^= s_ << 25;
    s_ ^= s_ >> 27;
    return s_ * 0x2545F4914F6CDD1Dull;
}

double Rng::uniform() { return static_cast<double>(next() >> 11) * (1.0 / 9007199254740992.0); }

double Rng::gauss() {
    // Box-Muller; the second value is thrown away to keep the stream simple.
    double u1 = uniform();
    double u2 = uniform();
    if (u1 < 1e-300) u1 = 1e-300;
    return std::sqrt(-2.0 * std::log(u1)) * std::cos(2.0 * pi * u2);
}

namespace {
struct Coeffs {
    double b0, b1, b2, a0, a1, a2;
};
}  // namespace

// The cookbook formulas, normalised by a0.
#define BQ_FILL(q, c)               \
    do {                            \
        (q).b0_ = (c).b0 / (c).a0;  \
        (q).b1_ = (c).b1 / (c).a0;  \
        (q).b2_ = (c).b2 / (c).a0;  \
        (q).a1_ = (c).a1 / (c).a0;  \
        (q).a2_ = (c).a2 / (c).a0;  \
    } while (0)

Biquad Biquad::lowpass(double f, double q) {
    double w = 2 * pi * std::min(f, kRate * 0.49) / kRate, cw = std::cos(w), al = std::sin(w) / (2 * q);
    Coeffs c{(1 - cw) / 2, 1 - cw, (1 - cw) / 2, 1 + al, -2 * cw, 1 - al};
    Biquad r;
    BQ_FILL(r, c);
    return r;
}

Biquad Biquad::highpass(double f, double q) {
    double w = 2 * pi * std::min(f, kRate * 0.49) / kRate, cw = std::cos(w), al = std::sin(w) / (2 * q);
    Coeffs c{(1 + cw) / 2, -(1 + cw), (1 + cw) / 2, 1 + al, -2 * cw, 1 - al};
    Biquad r;
    BQ_FILL(r, c);
    return r;
}

Biquad Biquad::bandpass(double f, double q) {
    double w = 2 * pi * std::min(f, kRate * 0.49) / kRate, cw = std::cos(w), al = std::sin(w) / (2 * q);
    Coeffs c{al, 0, -al, 1 + al, -2 * cw, 1 - al};
    Biquad r;
    BQ_FILL(r, c);
    return r;
}

Biquad Biquad::peak(double f, double q, double gain_db) {
    double A = std::pow(10.0, gain_db / 40.0);
    double w = 2 * pi * std::min(f, kRate * 0.49) / kRate, cw = std::cos(w), al = std::sin(w) / (2 * q);
    Coeffs c{1 + al * A, -2 * cw, 1 - al * A, 1 + al / A, -2 * cw, 1 - al / A};
    Biquad r;
    BQ_FILL(r, c);
    return r;
}
#undef BQ_FILL

void Biquad::set(const Biquad& o) {
    b0_ = o.b0_;
    b1_ = o.b1_;
    b2_ = o.b2_;
    a1_ = o.a1_;
    a2_ = o.a2_;
}

float Biquad::operator()(float x) {
    double y = b0_ * x + b1_ * x1_ + b2_ * x2_ - a1_ * y1_ - a2_ * y2_;
    if (std::fabs(y) < 1e-30) y = 0;  // no denormals in long tails
    x2_ = x1_;
    x1_ = x;
    y2_ = y1_;
    y1_ = y;
    return static_cast<float>(y);
}

OnePole::OnePole(double cutoff) : a_(1.0 - std::exp(-2 * pi * cutoff / kRate)) {}

float OnePole::operator()(float x) {
    y_ += a_ * (x - y_);
    return static_cast<float>(y_);
}

float PinkNoise::operator()() {
    double w = rng_.bipolar();
    b0_ = 0.99765 * b0_ + w * 0.0990460;
    b1_ = 0.96300 * b1_ + w * 0.2965164;
    b2_ = 0.57000 * b2_ + w * 1.0526913;
    return static_cast<float>((b0_ + b1_ + b2_ + w * 0.1848) * 0.25);
}

double poly_blep(double t, double dt) {
    if (t < dt) {
        t /= dt;
        return t + t - t * t - 1.0;
    }
    if (t > 1.0 - dt) {
        t = (t - 1.0) / dt;
        return t * t + t + t + 1.0;
    }
    return 0.0;
}

float Saw::operator()(double freq) {
    double dt = freq / kRate;
    double v = 2.0 * phase - 1.0 - poly_blep(phase, dt);
    phase += dt;
    phase -= std::floor(phase);
    return static_cast<float>(v);
}

float Square::operator()(double freq, double duty) {
    double dt = freq / kRate;
    double v = phase < duty ? 1.0 : -1.0;
    v += poly_blep(phase, dt);
    double t2 = phase - duty;
    if (t2 < 0) t2 += 1.0;
    v -= poly_blep(t2, dt);
    phase += dt;
    phase -= std::floor(phase);
    return static_cast<float>(v);
}

double midi_hz(double note) { return 440.0 * std::pow(2.0, (note - 69.0) / 12.0); }

double adsr(double t, double dur, double a, double d, double s, double r) {
    if (t < 0) return 0;
    double v;
    if (t < a)
        v = t / a;
    else if (t < a + d)
        v = 1.0 - (1.0 - s) * (t - a) / d;
    else
        v = s;
    if (t > dur) {
        // Release from wherever the envelope was at the note's end.
        double at_end = dur < a ? dur / a : (dur < a + d ? 1.0 - (1.0 - s) * (dur - a) / d : s);
        double k = 1.0 - (t - dur) / r;
        v = k > 0 ? at_end * k : 0.0;
    }
    return v;
}

double smoothstep(double e0, double e1, double x) {
    double t = std::clamp((x - e0) / (e1 - e0), 0.0, 1.0);
    return t * t * (3 - 2 * t);
}

void add(Buffer& dst, const Buffer& src, long at, double gain) {
    for (std::size_t i = 0; i < src.size(); ++i) {
        long j = at + static_cast<long>(i);
        if (j >= 0 && j < static_cast<long>(dst.size())) dst[j] += static_cast<float>(src[i] * gain);
    }
}

void add_wrapped(Buffer& dst, const Buffer& src, long at, double gain) {
    long n = static_cast<long>(dst.size());
    for (std::size_t i = 0; i < src.size(); ++i) {
        long j = ((at + static_cast<long>(i)) % n + n) % n;
        dst[j] += static_cast<float>(src[i] * gain);
    }
}

void fade(Buffer& b, double in_s, double out_s) {
    std::size_t ni = std::min(samples(in_s), b.size()), no = std::min(samples(out_s), b.size());
    for (std::size_t i = 0; i < ni; ++i) b[i] *= static_cast<float>(std::sin(0.5 * pi * i / ni));
    for (std::size_t i = 0; i < no; ++i)
        b[b.size() - 1 - i] *= static_cast<float>(std::sin(0.5 * pi * i / no));
}

void normalize(Buffer& b, double peak) {
    float m = 0;
    for (float v : b) m = std::max(m, std::fabs(v));
    if (m <= 0) return;
    float k = static_cast<float>(peak / m);
    for (float& v : b) v *= k;
}

void remove_dc(Buffer& b) {
    // Gentle high-pass at 20 Hz, run forwards: removes offset without smearing transients.
    double x1 = 0, y1 = 0, r = 1.0 - 2 * pi * 20.0 / kRate;
    for (float& v : b) {
        double y = v - x1 + r * y1;
        x1 = v;
        y1 = y;
        v = static_cast<float>(y);
    }
}

Buffer loop_crossfade(const Buffer& x, std::size_t n, std::size_t overlap) {
    Buffer out(x.begin(), x.begin() + n);
    for (std::size_t i = 0; i < overlap && n + i < x.size(); ++i) {
        double t = (i + 0.5) / overlap;
        double gin = std::sin(0.5 * pi * t), gout = std::cos(0.5 * pi * t);
        out[i] = static_cast<float>(x[i] * gin + x[n + i] * gout);
    }
    return out;
}

void reverb(Buffer& b, double wet, double room, double tail_s) {
    b.resize(b.size() + samples(tail_s), 0.0f);
    static const int comb_len[4] = {1557, 1617, 1491, 1422};
    static const int ap_len[2] = {225, 556};
    std::vector<std::vector<float>> comb(4), ap(2);
    for (int i = 0; i < 4; ++i) comb[i].assign(comb_len[i], 0.0f);
    for (int i = 0; i < 2; ++i) ap[i].assign(ap_len[i], 0.0f);
    int ci[4] = {0, 0, 0, 0}, ai[2] = {0, 0};
    float damp[4] = {0, 0, 0, 0};
    double fb = 0.70 + 0.28 * std::clamp(room, 0.0, 1.0);
    for (float& v : b) {
        float in = v * 0.25f, sum = 0;
        for (int i = 0; i < 4; ++i) {
            float y = comb[i][ci[i]];
            damp[i] = y * 0.6f + damp[i] * 0.4f;  // darker repeats
            comb[i][ci[i]] = in + static_cast<float>(damp[i] * fb);
            ci[i] = (ci[i] + 1) % comb_len[i];
            sum += y;
        }
        for (int i = 0; i < 2; ++i) {
            float d = ap[i][ai[i]];
            float y = -sum + d;
            ap[i][ai[i]] = sum + d * 0.5f;
            ai[i] = (ai[i] + 1) % ap_len[i];
            sum = y;
        }
        v = static_cast<float>(v * (1.0 - wet * 0.5) + sum * wet);
    }
}

static void put16(std::FILE* f, unsigned v) {
    std::fputc(v & 0xFF, f);
    std::fputc((v >> 8) & 0xFF, f);
}
static void put32(std::FILE* f, unsigned v) {
    put16(f, v & 0xFFFF);
    put16(f, v >> 16);
}

bool write_wav(const std::string& path, const Buffer& b, int rate) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    unsigned data = static_cast<unsigned>(b.size() * 2);
    std::fwrite("RIFF", 1, 4, f);
    put32(f, 36 + data);
    std::fwrite("WAVEfmt ", 1, 8, f);
    put32(f, 16);
    put16(f, 1);  // PCM
    put16(f, 1);  // mono
    put32(f, rate);
    put32(f, rate * 2);
    put16(f, 2);
    put16(f, 16);
    std::fwrite("data", 1, 4, f);
    put32(f, data);
    for (float v : b) {
        long s = std::lround(std::clamp(v, -1.0f, 1.0f) * 32767.0);
        put16(f, static_cast<unsigned>(s) & 0xFFFF);
    }
    return std::fclose(f) == 0;
}

}  // namespace snd

// SPDX-License-Identifier: GPL-3.0-or-later
#include "datagen/sound/analysis.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <cstdint>
#include <fstream>
#include <numbers>

namespace snd {

namespace {
using std::numbers::pi;
std::uint32_t le32(const unsigned char* p) { return p[0] | p[1] << 8 | p[2] << 16 | static_cast<std::uint32_t>(p[3]) << 24; }
std::uint16_t le16(const unsigned char* p) { return static_cast<std::uint16_t>(p[0] | p[1] << 8); }

double db(double v) { return v > 1e-10 ? 20 * std::log10(v) : -200; }

void fft(std::vector<std::complex<double>>& a) {
    std::size_t n = a.size();
    for (std::size_t i = 1, j = 0; i < n; ++i) {
        std::size_t bit = n >> 1;
        for (; j & bit; bit >>= 1) j ^= bit;
        j ^= bit;
        if (i < j) std::swap(a[i], a[j]);
    }
    for (std::size_t len = 2; len <= n; len <<= 1) {
        double ang = -2 * pi / len;
        std::complex<double> wl(std::cos(ang), std::sin(ang));
        for (std::size_t i = 0; i < n; i += len) {
            std::complex<double> w(1);
            for (std::size_t j = 0; j < len / 2; ++j) {
                auto u = a[i + j], v = a[i + j + len / 2] * w;
                a[i + j] = u + v;
                a[i + j + len / 2] = u - v;
                w *= wl;
            }
        }
    }
}

double rms(const std::vector<float>& x, std::size_t from, std::size_t to) {
    double s = 0;
    to = std::min(to, x.size());
    if (to <= from) return 0;
    for (std::size_t i = from; i < to; ++i) s += double(x[i]) * x[i];
    return std::sqrt(s / (to - from));
}
}  // namespace

bool read_wav(const std::string& path, Wav& out) {
    std::ifstream f(path, std::ios::binary);
    std::vector<unsigned char> d((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
    if (d.size() < 12 || std::string(d.begin(), d.begin() + 4) != "RIFF" || std::string(d.begin() + 8, d.begin() + 12) != "WAVE") return false;
    std::size_t p = 12;
    bool fmt = false;
    while (p + 8 <= d.size()) {
        std::string id(d.begin() + p, d.begin() + p + 4);
        std::uint32_t len = le32(&d[p + 4]);
        p += 8;
        if (p + len > d.size()) len = static_cast<std::uint32_t>(d.size() - p);
        if (id == "fmt " && len >= 16) {
            if (le16(&d[p]) != 1) return false;
            out.channels = le16(&d[p + 2]);
            out.rate = static_cast<int>(le32(&d[p + 4]));
            out.bits = le16(&d[p + 14]);
            fmt = out.bits == 16 && out.channels > 0;
        } else if (id == "data" && fmt) {
            std::size_t frames = len / (2 * out.channels);
            out.mono.assign(frames, 0.0f);
            for (std::size_t i = 0; i < frames; ++i) {
                double s = 0;
                for (int c = 0; c < out.channels; ++c) s += static_cast<std::int16_t>(le16(&d[p + 2 * (i * out.channels + c)]));
                out.mono[i] = static_cast<float>(s / out.channels / 32768.0);
            }
            return true;
        }
        p += len + (len & 1);
    }
    return false;
}

std::vector<double> power_spectrum(const std::vector<float>& x) {
    const std::size_t n = 4096;
    std::vector<double> acc(n / 2 + 1, 0.0);
    std::vector<std::complex<double>> a(n);
    std::size_t frames = 0;
    for (std::size_t start = 0; start == 0 || start + n <= x.size(); start += n / 2) {
        for (std::size_t i = 0; i < n; ++i) {
            double w = 0.5 - 0.5 * std::cos(2 * pi * i / (n - 1));
            a[i] = start + i < x.size() ? x[start + i] * w : 0.0;
        }
        fft(a);
        for (std::size_t k = 0; k <= n / 2; ++k) acc[k] += std::norm(a[k]);
        ++frames;
        if (x.size() < n) break;
    }
    for (double& v : acc) v /= static_cast<double>(frames);
    return acc;
}

Figures measure(const std::vector<float>& x, int rate) {
    Figures f;
    if (x.empty() || rate <= 0) return f;
    f.seconds = static_cast<double>(x.size()) / rate;
    double peak = 0;
    for (float v : x) peak = std::max(peak, static_cast<double>(std::fabs(v)));
    f.peak_db = db(peak);
    f.rms_db = db(rms(x, 0, x.size()));

    std::vector<double> ps = power_spectrum(x);
    const double bin_hz = static_cast<double>(rate) / 4096;
    const double edges[6] = {0, 250, 1000, 4000, 8000, 1e9};
    double total = 0, weighted = 0, logsum = 0, linsum = 0;
    int flat_bins = 0;
    for (std::size_t k = 1; k < ps.size(); ++k) {
        double hz = k * bin_hz;
        total += ps[k];
        weighted += ps[k] * hz;
        for (int b = 0; b < 5; ++b)
            if (hz >= edges[b] && hz < edges[b + 1]) f.band[b] += ps[k];
        if (hz >= 100 && hz <= 10000) {
            logsum += std::log(ps[k] + 1e-20);
            linsum += ps[k];
            ++flat_bins;
        }
    }
    if (total > 0) {
        for (double& b : f.band) b /= total;
        f.centroid_hz = weighted / total;
    }
    if (flat_bins && linsum > 0) f.flatness = std::exp(logsum / flat_bins) / (linsum / flat_bins);

    std::size_t fifth = x.size() / 5;
    f.head_tail_db = db(rms(x, x.size() - fifth, x.size())) - db(rms(x, 0, fifth));

    std::vector<float> steps;
    steps.reserve(x.size());
    for (std::size_t i = 1; i < x.size(); ++i) steps.push_back(std::fabs(x[i] - x[i - 1]));
    if (!steps.empty()) {
        std::size_t q = steps.size() * 99 / 100;
        std::nth_element(steps.begin(), steps.begin() + q, steps.end());
        double p99 = std::max(static_cast<double>(steps[q]), 1e-6);
        f.join_jump = std::fabs(x.front() - x.back()) / p99;
    }
    std::size_t w20 = static_cast<std::size_t>(0.02 * rate);
    f.join_level_db = db(rms(x, x.size() - w20, x.size())) - db(rms(x, 0, w20));

    // Attacks: the 5 ms envelope climbing past half the peak after falling under a fifth of it.
    std::size_t w5 = static_cast<std::size_t>(0.005 * rate);
    std::vector<double> env;
    for (std::size_t i = 0; i + w5 <= x.size(); i += w5) env.push_back(rms(x, i, i + w5));
    double emax = env.empty() ? 0 : *std::max_element(env.begin(), env.end());
    bool armed = true;
    for (double e : env) {
        if (armed && e > 0.5 * emax) {
            ++f.onsets;
            armed = false;
        } else if (e < 0.2 * emax) {
            armed = true;
        }
    }
    return f;
}

}  // namespace snd

// SPDX-License-Identifier: GPL-3.0-or-later
#include "datagen/pictures/palette.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace {

constexpr Rgb kReserved[] = {rgb(0, 0, 0), rgb(255, 255, 255), rgb(255, 0, 255)};

bool reserved(Rgb c) { return c == kReserved[0] || c == kReserved[1] || c == kReserved[2]; }

struct Entry {
    int c[3];
    double weight;
};

struct Box {
    std::vector<Entry> items;
    double weight = 0;
    int lo[3] = {255, 255, 255}, hi[3] = {0, 0, 0};
    void bounds() {
        weight = 0;
        for (int k = 0; k < 3; ++k) lo[k] = 255, hi[k] = 0;
        for (const Entry& e : items) {
            weight += e.weight;
            for (int k = 0; k < 3; ++k) lo[k] = std::min(lo[k], e.c[k]), hi[k] = std::max(hi[k], e.c[k]);
        }
    }
    int axis() const {
        // Green counts most for the eye, blue least.
        const double w[3] = {1.0, 1.2, 0.8};
        int best = 0;
        for (int k = 1; k < 3; ++k)
            if ((hi[k] - lo[k]) * w[k] > (hi[best] - lo[best]) * w[best]) best = k;
        return best;
    }
    double score() const {
        int a = axis();
        return items.size() < 2 ? -1 : double(hi[a] - lo[a]) * std::sqrt(weight);
    }
};

double dist2(const double* a, const int* b) {
    double dr = a[0] - b[0], dg = a[1] - b[1], db = a[2] - b[2];
    return 0.30 * dr * dr + 0.59 * dg * dg + 0.11 * db * db;
}

}  // namespace

int count_colours(const Surface& s) {
    std::unordered_set<Rgb> seen(s.pixels().begin(), s.pixels().end());
    return int(seen.size());
}

Surface quantise(const Surface& s, int max_colours) {
    std::unordered_map<Rgb, double> hist;
    for (Rgb c : s.pixels()) hist[c] += 1;
    if (int(hist.size()) <= max_colours) return s;

    int kept = 0;
    Box first;
    for (auto& [c, n] : hist) {
        if (reserved(c)) {
            ++kept;
            continue;
        }
        first.items.push_back(Entry{{int((c >> 16) & 255), int((c >> 8) & 255), int(c & 255)}, n});
    }
    int slots = std::max(1, max_colours - kept);
    first.bounds();
    std::vector<Box> boxes{std::move(first)};
    while (int(boxes.size()) < slots) {
        auto it = std::max_element(boxes.begin(), boxes.end(),
                                   [](const Box& a, const Box& b) { return a.score() < b.score(); });
        if (it->score() <= 0) break;
        int a = it->axis();
        std::sort(it->items.begin(), it->items.end(), [a](const Entry& x, const Entry& y) { return x.c[a] < y.c[a]; });
        double half = it->weight / 2, run = 0;
        size_t cut = 1;
        for (; cut < it->items.size(); ++cut) {
            run += it->items[cut - 1].weight;
            if (run >= half) break;
        }
        cut = std::clamp<size_t>(cut, 1, it->items.size() - 1);
        Box right;
        right.items.assign(it->items.begin() + long(cut), it->items.end());
        it->items.resize(cut);
        it->bounds();
        right.bounds();
        boxes.push_back(std::move(right));
    }

    // Start from the boxes' weighted means, then let k-means settle them.
    std::vector<std::array<double, 3>> centre(boxes.size());
    std::vector<Entry> all;
    for (size_t i = 0; i < boxes.size(); ++i) {
        double sum[3] = {0, 0, 0}, w = 0;
        for (const Entry& e : boxes[i].items) {
            for (int k = 0; k < 3; ++k) sum[k] += e.c[k] * e.weight;
            w += e.weight;
            all.push_back(e);
        }
        for (int k = 0; k < 3; ++k) centre[i][k] = sum[k] / w;
    }
    std::vector<int> owner(all.size(), 0);
    auto nearest = [&](const int* c) {
        int best = 0;
        double bd = 1e30;
        for (size_t i = 0; i < centre.size(); ++i) {
            double d = dist2(centre[i].data(), c);
            if (d < bd) bd = d, best = int(i);
        }
        return best;
    };
    for (int round = 0; round < 4; ++round) {
        std::vector<std::array<double, 4>> acc(centre.size(), {0, 0, 0, 0});
        for (size_t j = 0; j < all.size(); ++j) {
            owner[j] = nearest(all[j].c);
            for (int k = 0; k < 3; ++k) acc[size_t(owner[j])][size_t(k)] += all[j].c[k] * all[j].weight;
            acc[size_t(owner[j])][3] += all[j].weight;
        }
        for (size_t i = 0; i < centre.size(); ++i)
            if (acc[i][3] > 0)
                for (int k = 0; k < 3; ++k) centre[i][size_t(k)] = acc[i][size_t(k)] / acc[i][3];
    }

    std::vector<Rgb> palette(centre.size());
    for (size_t i = 0; i < centre.size(); ++i) {
        int c[3];
        for (int k = 0; k < 3; ++k) c[k] = std::clamp(int(std::lround(centre[i][size_t(k)])), 0, 255);
        Rgb v = rgb(c[0], c[1], c[2]);
        // A rounded centre must not become a colour the game reads as transparent.
        if (reserved(v)) v = v == rgb(0, 0, 0) ? rgb(1, 1, 1) : v == rgb(255, 255, 255) ? rgb(254, 254, 254) : rgb(254, 1, 254);
        palette[i] = v;
    }
    std::unordered_map<Rgb, Rgb> map;
    for (size_t j = 0; j < all.size(); ++j) {
        const Entry& e = all[j];
        map[rgb(e.c[0], e.c[1], e.c[2])] = palette[size_t(nearest(e.c))];
    }
    Surface out(s.width(), s.height());
    for (int y = 0; y < s.height(); ++y)
        for (int x = 0; x < s.width(); ++x) {
            Rgb c = s.get(x, y);
            out.set(x, y, reserved(c) ? c : map[c]);
        }
    return out;
}

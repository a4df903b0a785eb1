// SPDX-License-Identifier: GPL-3.0-or-later
// The trace writes Singles without std::to_chars (the browser build's
// library has none for float); its text must be to_chars' to the byte.
#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstring>
#include <random>
#include <string>

#include "tools/replay/replay_script.h"
#include "tools/replay/trace_writer.h"

namespace {
std::string reference(float v) {
    char buf[64];
    auto r = std::to_chars(buf, buf + sizeof buf, v);
    return std::string(buf, r.ptr);
}
}  // namespace

TEST(TraceNumbers, SingleTextIsToCharsText) {
    int checked = 0;
    auto same = [&](float v) {
        ++checked;
        ASSERT_EQ(single_text(v), reference(v)) << "for the float " << std::hexfloat << v;
    };
    // The game's own range in sixty-fourths.
    for (int k = -70000; k <= 70000; ++k) same(float(k) / 64.0f);
    // Around every power of two, where the interval of a float is lopsided
    // and the nearest short text is not always the rounded one.
    for (int e = -149; e < 128; ++e)
        for (int d = -2; d <= 2; ++d) {
            float v = std::ldexp(1.0f, e);
            uint32_t bits;
            std::memcpy(&bits, &v, 4);
            bits = uint32_t(int64_t(bits) + d);
            std::memcpy(&v, &bits, 4);
            if (!std::isfinite(v)) continue;
            same(v);
            same(-v);
        }
    // Anything at all, and the large whole numbers whose plain text is exact.
    std::mt19937 random(17);
    for (int i = 0; i < 200000; ++i) {
        uint32_t bits = random();
        float v;
        std::memcpy(&v, &bits, 4);
        if (std::isfinite(v)) same(v);
    }
    same(0.0f);
    same(-0.0f);
    same(240823472.0f);
    same(std::ldexp(1.0f, -12));  // an exact tie between two shortest texts
    EXPECT_GT(checked, 300000);
}

TEST(TraceNumbers, DecimalsReadAsDoubles) {
    std::vector<ScriptCommand> s;
    ScriptError e{};
    ASSERT_TRUE(parse_script("gioca\nrandom 0.1\nrandom 0.9999999999999999\nwait 2.0005\nrandom .5\n", s, e));
    EXPECT_EQ(s[1].value, 0.1);
    EXPECT_EQ(s[2].value, 0.9999999999999999);
    EXPECT_EQ(s[3].value, 2000.0);  // half a millisecond to the even
    EXPECT_EQ(s[4].value, 0.5);
    // Read to the nearest double, this one is 1: refused as 1 is.
    EXPECT_FALSE(parse_script("gioca\nrandom 0.99999999999999999\n", s, e));
    EXPECT_FALSE(parse_script("gioca\nrandom 1e-3\n", s, e));
    EXPECT_FALSE(parse_script("gioca\nrandom 0,5\n", s, e));
}

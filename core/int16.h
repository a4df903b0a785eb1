// SPDX-License-Identifier: GPL-3.0-or-later
// Signed 16-bit integers as the game keeps them: leaving the range is
// run-time error 6, and conversions from floating point round halves to even.
#pragma once
#include <cfenv>
#include <cmath>
#include <cstdint>
#include "core/runtime_error.h"

inline int check16(long long v) {
    if (v < -32768 || v > 32767) throw err::overflow();
    return static_cast<int>(v);
}

class Int16 {
public:
    constexpr Int16() = default;
    Int16(int v) : v_(static_cast<int16_t>(check16(v))) {}  // NOLINT: implicit on purpose
    constexpr operator int() const { return v_; }            // NOLINT
    Int16& operator=(int v) { v_ = static_cast<int16_t>(check16(v)); return *this; }
    Int16& operator+=(int d) { return *this = int(v_) + d; }
    Int16& operator-=(int d) { return *this = int(v_) - d; }

private:
    int16_t v_ = 0;
};

// Round to the nearest integer, halves to the even neighbour.
inline double round_even(double v) {
    return std::nearbyint(v);  // the default rounding mode is to-nearest-even
}

// A floating-point value made into a 16-bit integer (halves to even).
inline int cint(double v) {
    if (std::isnan(v)) throw err::overflow();
    double r = round_even(v);
    if (r < -32768.0 || r > 32767.0) throw err::overflow();
    return static_cast<int>(r);
}

// The whole part of a value (rounded down), as a 16-bit integer.
inline int int_part(double v) {
    if (std::isnan(v)) throw err::overflow();
    double r = std::floor(v);
    if (r < -32768.0 || r > 32767.0) throw err::overflow();
    return static_cast<int>(r);
}

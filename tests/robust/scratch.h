// SPDX-License-Identifier: GPL-3.0-or-later
// What the hostile-data tests and the WAV rule's tests share: a fresh folder
// of the test process's own, the process's memory high-water mark, and the
// run-time error a call raised.
#pragma once
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include "core/runtime_error.h"

namespace scratch {

// A fresh, empty folder named after the process and `name`.
inline std::string folder(const std::string& prefix, const std::string& name) {
    const std::string dir = ::testing::TempDir() + "/" + prefix + "-" + std::to_string(getpid()) + "-" + name;
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    return dir;
}

// This process's memory high-water mark (VmHWM), in bytes.
inline int64_t peak_rss() {
    std::ifstream in("/proc/self/status");
    std::string key;
    while (in >> key) {
        if (key == "VmHWM:") {
            int64_t kb = 0;
            in >> kb;
            return kb * 1024;
        }
        in.ignore(1 << 16, '\n');
    }
    return 0;
}

// The number of the run-time error `f` raised; 0 when it raised none.
template <class F> int error_of(F&& f) {
    try {
        f();
        return 0;
    } catch (const RuntimeError& e) {
        return e.number;
    }
}

}  // namespace scratch

// SPDX-License-Identifier: GPL-3.0-or-later
// What the code under test asks of the heap: the global operator new of the
// test program is replaced so that a test can see the largest single request
// and the bytes still held, and can make requests fail as a machine whose
// memory has run out makes them fail (std::bad_alloc).
//
// Whatever a Watch says, no single request over 256 MiB is ever served in
// these tests: it fails, so that code that would ask for gigabytes fails
// its test quickly instead of taking the machine's memory.
#pragma once
#include <cstddef>
#include <cstdint>

namespace alloc_watch {

// Requests of at least `from` and below `below` bytes fail while it lives;
// the default fails none.
class Watch {
public:
    explicit Watch(size_t from = SIZE_MAX, size_t below = SIZE_MAX);
    ~Watch();
    Watch(const Watch&) = delete;
    Watch& operator=(const Watch&) = delete;

    size_t largest_request() const;  // since it was made, served or not
    int64_t held_since() const;      // bytes taken minus bytes given back since it was made
    int failures() const;            // requests it made fail
};

}  // namespace alloc_watch

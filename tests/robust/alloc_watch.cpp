// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/robust/alloc_watch.h"

#include <malloc.h>

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

constexpr size_t kNeverServed = size_t(256) << 20;

std::atomic<size_t> fail_from{SIZE_MAX}, fail_below{SIZE_MAX};
std::atomic<size_t> largest{0};
std::atomic<int64_t> held{0};
std::atomic<int> failed{0};

void* take(size_t n, size_t align) {
    size_t seen = largest.load(std::memory_order_relaxed);
    while (n > seen && !largest.compare_exchange_weak(seen, n)) {
    }
    if (n > kNeverServed || (n >= fail_from.load() && n < fail_below.load())) {
        ++failed;
        return nullptr;
    }
    void* p = nullptr;
    if (align <= alignof(std::max_align_t)) {
        p = std::malloc(n ? n : 1);
    } else if (posix_memalign(&p, align, n ? n : 1) != 0) {
        p = nullptr;
    }
    if (p) held += int64_t(malloc_usable_size(p));
    return p;
}

void give(void* p) {
    if (!p) return;
    held -= int64_t(malloc_usable_size(p));
    std::free(p);
}

void* take_or_throw(size_t n, size_t align) {
    void* p = take(n, align);
    if (!p) throw std::bad_alloc();
    return p;
}

struct Mark {
    size_t largest = 0;
    int64_t held = 0;
    int failed = 0;
};
Mark mark;

}  // namespace

namespace alloc_watch {

Watch::Watch(size_t from, size_t below) {
    largest = 0;
    mark.held = held.load();
    mark.failed = failed.load();
    fail_from = from;
    fail_below = below;
}

Watch::~Watch() {
    fail_from = SIZE_MAX;
    fail_below = SIZE_MAX;
}

size_t Watch::largest_request() const { return largest.load(); }
int64_t Watch::held_since() const { return held.load() - mark.held; }
int Watch::failures() const { return failed.load() - mark.failed; }

}  // namespace alloc_watch

void* operator new(size_t n) { return take_or_throw(n, 0); }
void* operator new[](size_t n) { return take_or_throw(n, 0); }
void* operator new(size_t n, std::align_val_t a) { return take_or_throw(n, size_t(a)); }
void* operator new[](size_t n, std::align_val_t a) { return take_or_throw(n, size_t(a)); }
void* operator new(size_t n, const std::nothrow_t&) noexcept { return take(n, 0); }
void* operator new[](size_t n, const std::nothrow_t&) noexcept { return take(n, 0); }
void* operator new(size_t n, std::align_val_t a, const std::nothrow_t&) noexcept { return take(n, size_t(a)); }
void* operator new[](size_t n, std::align_val_t a, const std::nothrow_t&) noexcept { return take(n, size_t(a)); }
void operator delete(void* p) noexcept { give(p); }
void operator delete[](void* p) noexcept { give(p); }
void operator delete(void* p, size_t) noexcept { give(p); }
void operator delete[](void* p, size_t) noexcept { give(p); }
void operator delete(void* p, std::align_val_t) noexcept { give(p); }
void operator delete[](void* p, std::align_val_t) noexcept { give(p); }
void operator delete(void* p, size_t, std::align_val_t) noexcept { give(p); }
void operator delete[](void* p, size_t, std::align_val_t) noexcept { give(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { give(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { give(p); }

#include "AllocationMeter.h"

#include <atomic>
#include <cstdlib>
#include <malloc.h>
#include <new>

namespace {

std::atomic<long long> held{0};
std::atomic<long long> highest{0};

void* take(std::size_t size) {
    void* p = std::malloc(size ? size : 1);
    if (!p) return nullptr;
    const long long now = held += static_cast<long long>(malloc_usable_size(p));
    for (long long top = highest.load(); now > top && !highest.compare_exchange_weak(top, now);) {
    }
    return p;
}

void give(void* p) noexcept {
    if (!p) return;
    held -= static_cast<long long>(malloc_usable_size(p));
    std::free(p);
}

} // namespace

void* operator new(std::size_t size) {
    if (void* p = take(size)) return p;
    throw std::bad_alloc();
}
void* operator new[](std::size_t size) {
    return operator new(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    return take(size);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    return take(size);
}
void operator delete(void* p) noexcept {
    give(p);
}
void operator delete[](void* p) noexcept {
    give(p);
}
void operator delete(void* p, std::size_t) noexcept {
    give(p);
}
void operator delete[](void* p, std::size_t) noexcept {
    give(p);
}
void operator delete(void* p, const std::nothrow_t&) noexcept {
    give(p);
}
void operator delete[](void* p, const std::nothrow_t&) noexcept {
    give(p);
}

namespace n4test {

AllocationMeter::AllocationMeter() : floor_(held.load()) {
    highest = floor_;
}

std::size_t AllocationMeter::peakGrowth() const {
    const long long top = highest.load();
    return top > floor_ ? static_cast<std::size_t>(top - floor_) : 0;
}

} // namespace n4test

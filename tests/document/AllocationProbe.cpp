// Replaces the plain global operator new for this test program so that the
// largest request inside a probe's lifetime can be read back.
#include "AllocationProbe.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {
std::atomic<bool> g_bProbing{false};
std::atomic<size_t> g_nLargest{0};
std::atomic<size_t> g_nCount{0};

void* Allocate(size_t n) {
    if (g_bProbing.load(std::memory_order_relaxed)) {
        ++g_nCount;
        size_t seen = g_nLargest.load(std::memory_order_relaxed);
        while (n > seen && !g_nLargest.compare_exchange_weak(seen, n)) {
        }
    }
    if (void* p = std::malloc(n ? n : 1))
        return p;
    throw std::bad_alloc();
}
}  // namespace

AllocationProbe::AllocationProbe() {
    g_nLargest = 0;
    g_nCount = 0;
    g_bProbing = true;
}
AllocationProbe::~AllocationProbe() { g_bProbing = false; }
size_t AllocationProbe::Largest() const { return g_nLargest; }
size_t AllocationProbe::Count() const { return g_nCount; }

void* operator new(size_t n) { return Allocate(n); }
void* operator new[](size_t n) { return Allocate(n); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, size_t) noexcept { std::free(p); }
void operator delete[](void* p, size_t) noexcept { std::free(p); }

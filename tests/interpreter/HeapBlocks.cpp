// Replaces the plain global operator new and delete of this test program
// to count the blocks alive.
#include "HeapBlocks.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {
std::atomic<long> g_nBlocks{0};

void* Allocate(size_t n) {
    if (void* p = std::malloc(n ? n : 1)) {
        ++g_nBlocks;
        return p;
    }
    throw std::bad_alloc();
}

void Release(void* p) noexcept {
    if (p) --g_nBlocks;
    std::free(p);
}
}  // namespace

long LiveHeapBlocks() { return g_nBlocks.load(); }

void* operator new(size_t n) { return Allocate(n); }
void* operator new[](size_t n) { return Allocate(n); }
void operator delete(void* p) noexcept { Release(p); }
void operator delete[](void* p) noexcept { Release(p); }
void operator delete(void* p, size_t) noexcept { Release(p); }
void operator delete[](void* p, size_t) noexcept { Release(p); }

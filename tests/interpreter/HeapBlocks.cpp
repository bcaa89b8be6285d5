// Replaces the global operator new and delete of this test program (every
// form a sanitizer would otherwise serve from its own heap) to count the
// blocks alive, so a test can show that a run leaves nothing allocated.
#include <atomic>
#include <cstdlib>
#include <new>

namespace {
std::atomic<long> g_nBlocks{0};

void* AllocateOrNull(size_t n) noexcept {
    void* p = std::malloc(n ? n : 1);
    g_nBlocks += p != nullptr;
    return p;
}

void* Allocate(size_t n) {
    void* p = AllocateOrNull(n);
    return p ? p : throw std::bad_alloc();
}

void Release(void* p) noexcept {
    g_nBlocks -= p != nullptr;
    std::free(p);
}
}  // namespace

long LiveHeapBlocks() { return g_nBlocks.load(); }

void* operator new(size_t n) { return Allocate(n); }
void* operator new[](size_t n) { return Allocate(n); }
void* operator new(size_t n, const std::nothrow_t&) noexcept { return AllocateOrNull(n); }
void* operator new[](size_t n, const std::nothrow_t&) noexcept { return AllocateOrNull(n); }
void operator delete(void* p) noexcept { Release(p); }
void operator delete[](void* p) noexcept { Release(p); }
void operator delete(void* p, size_t) noexcept { Release(p); }
void operator delete[](void* p, size_t) noexcept { Release(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { Release(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { Release(p); }

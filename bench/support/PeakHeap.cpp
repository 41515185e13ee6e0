#include "bench/support/PeakHeap.h"

#include <malloc.h>

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

std::atomic<size_t> inUse{0};
std::atomic<size_t> peak{0};

void* take(size_t n, size_t alignment = 0)
{
    void* p = alignment > alignof(std::max_align_t) ? std::aligned_alloc(alignment, (n + alignment - 1) / alignment * alignment)
                                                    : std::malloc(n == 0 ? 1 : n);
    if (!p) throw std::bad_alloc();
    const size_t now = inUse += malloc_usable_size(p);
    size_t seen = peak.load();
    while (now > seen && !peak.compare_exchange_weak(seen, now)) {
    }
    return p;
}

void give(void* p) noexcept
{
    if (!p) return;
    inUse -= malloc_usable_size(p);
    std::free(p);
}

}  // namespace

namespace hvbench {

size_t heapInUse() { return inUse.load(); }
size_t heapPeak() { return peak.load(); }
void resetHeapPeak() { peak.store(inUse.load()); }

}  // namespace hvbench

void* operator new(size_t n) { return take(n); }
void* operator new[](size_t n) { return take(n); }
void* operator new(size_t n, std::align_val_t a) { return take(n, size_t(a)); }
void* operator new[](size_t n, std::align_val_t a) { return take(n, size_t(a)); }
void* operator new(size_t n, const std::nothrow_t&) noexcept
{
    try {
        return take(n);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}
void* operator new[](size_t n, const std::nothrow_t& t) noexcept { return operator new(n, t); }
void operator delete(void* p) noexcept { give(p); }
void operator delete[](void* p) noexcept { give(p); }
void operator delete(void* p, size_t) noexcept { give(p); }
void operator delete[](void* p, size_t) noexcept { give(p); }
void operator delete(void* p, std::align_val_t) noexcept { give(p); }
void operator delete[](void* p, std::align_val_t) noexcept { give(p); }
void operator delete(void* p, size_t, std::align_val_t) noexcept { give(p); }
void operator delete[](void* p, size_t, std::align_val_t) noexcept { give(p); }

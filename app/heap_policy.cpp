// Tuning of the C library's allocator; a no-op where it offers none.
#include "app/heap_policy.h"

#include <cstdlib> // says whether this is the GNU C library

#if defined(__GLIBC__)
#include <malloc.h>

namespace {

// Large enough that no picture's buffer is mapped on its own (the largest is a
// 1280 x 1280 background at about 6.5 MB) and the largest the allocator accepts.
constexpr int kMapThreshold = 32 * 1024 * 1024;
// Far above what the game ever frees at once, so the heap is never trimmed.
constexpr int kTrimThreshold = 256 * 1024 * 1024;

} // namespace
#endif

void keepFreedMemory() {
#if defined(__GLIBC__)
    mallopt(M_MMAP_THRESHOLD, kMapThreshold);
    mallopt(M_TRIM_THRESHOLD, kTrimThreshold);
#endif
}

// SPDX-License-Identifier: GPL-2.0-or-later
#include "generator/HeapRetention.h"

#include <mutex>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace
{

std::mutex holdersMutex;
int holders = 0;

#if defined(__GLIBC__)
// Blocks up to this size come from the heap, and this much free memory may stay at its top. Big
// enough for a 12-megapixel picture's largest buffer (a progressive picture's whole coefficients).
constexpr int kRetainedBytes = 32 << 20;
// glibc's own starting values, put back when the last holder goes.
constexpr int kDefaultThreshold = 128 << 10;
#endif

} // namespace

HeapRetention::HeapRetention()
{
    const std::lock_guard lock(holdersMutex);
    if (holders++ > 0)
        return;
#if defined(__GLIBC__)
    mallopt(M_MMAP_THRESHOLD, kRetainedBytes);
    mallopt(M_TRIM_THRESHOLD, kRetainedBytes);
#endif
}

HeapRetention::~HeapRetention()
{
    const std::lock_guard lock(holdersMutex);
    if (--holders > 0)
        return;
#if defined(__GLIBC__)
    mallopt(M_TRIM_THRESHOLD, kDefaultThreshold);
    mallopt(M_MMAP_THRESHOLD, kDefaultThreshold);
    malloc_trim(0);
#endif
}

// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

// While one is alive, memory the process frees stays with the process instead of going back to the
// system at once. Thumbnail making allocates and frees the same few large buffers for every picture
// (the file, libjpeg's working memory, the decoded rows); with the C library's defaults each of them
// is a fresh mapping whose pages are faulted in and zeroed again for every picture, which costs about
// as much as a fifth of the decoding itself and serialises the workers on the kernel's memory lock.
// When the last one goes, the free memory is handed back. Nested and concurrent holders are fine.
class HeapRetention final
{
public:
    HeapRetention();
    ~HeapRetention();
    HeapRetention(const HeapRetention &) = delete;
    HeapRetention &operator=(const HeapRetention &) = delete;
};

#pragma once

#include <QtGlobal>

#if defined(__SANITIZE_ADDRESS__)
#define HEAP_IN_USE_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define HEAP_IN_USE_ASAN 1
#endif
#endif
#ifdef HEAP_IN_USE_ASAN
#include <sanitizer/allocator_interface.h>
#else
#include <malloc.h>
#endif

// Bytes the heap holds now.
inline qint64 HeapInUse() {
#ifdef HEAP_IN_USE_ASAN
    return qint64(__sanitizer_get_current_allocated_bytes());
#else
    const struct mallinfo2 heap = mallinfo2();
    return qint64(heap.uordblks + heap.hblkhd); // the small blocks and the mapped large ones
#endif
}

#include "platform/memory.h"

#include <malloc.h>

namespace platform {

namespace {
// Above this a block is mapped on its own; a fixed value also stops the allocator from raising it.
constexpr int kLargeBlockBytes = 128 * 1024;
} // namespace

void returnLargeBlocksWhenFreed()
{
    (void)mallopt(M_MMAP_THRESHOLD, kLargeBlockBytes);
}

void shareOneHeap()
{
    (void)mallopt(M_ARENA_MAX, 1);
}

void returnFreeMemory()
{
    (void)malloc_trim(0);
}

} // namespace platform

#pragma once

#include <cstddef>

namespace workbook::detail {

// The memory of the parts' XML trees. A large sheet's tree takes tens of megabytes in pages of
// 32 KiB; on Linux those pages come from regions backed by transparent huge pages, so that a
// tree is faulted in 2 MiB at a time instead of 4 KiB at a time (on a virtual machine a fault on
// fresh memory costs microseconds: 10,000 of them were a sixth of a large run). Pages freed by
// one tree are used again by the next; when no tree is left the system may take the pages back
// whenever it needs them.
// Other sizes, and builds with AddressSanitizer, use the general allocator.

// Makes the trees use it; idempotent, called before the first tree is parsed.
void useTreeMemory();

// What the pool holds now (for tests).
struct TreeMemoryStats {
    size_t liveBlocks = 0;
    size_t regions = 0;
};
TreeMemoryStats treeMemoryStats();

// The allocator's own functions (for tests; the trees call them through pugixml).
void* allocateTreeMemory(size_t size);
void freeTreeMemory(void* block);

} // namespace workbook::detail

#pragma once

#include <cstddef>

namespace workbook::detail {

// The memory of the parts' XML trees. A large sheet's tree takes tens of megabytes in pages of
// 32 KiB; on Linux those pages come from regions backed by transparent huge pages, so that a
// tree is faulted in 2 MiB at a time instead of 4 KiB at a time (on a virtual machine a fault on
// fresh memory costs microseconds: 10,000 of them were a sixth of a large run). Pages freed by
// one tree are used again by the next; when no tree is left the system may take the pages back
// whenever it needs them.
// Larger blocks (the text of a part parsed piece by piece, long strings) are carved from
// regions of their own, handed back to the system when none is left in use. Fresh memory a
// parse is about to need can be faulted in ahead of it by helper threads (prefaultTreeMemory),
// so that the kernel's zeroing of fresh pages runs beside the parse rather than inside it.
// Builds with AddressSanitizer use the general allocator.

// Makes the trees use it; idempotent, called before the first tree is parsed.
void useTreeMemory();

// What the pool holds now (for tests and for sizing what a parse will need).
struct TreeMemoryStats {
    size_t liveBlocks = 0;  // pages of 32 KiB in use
    size_t largeBlocks = 0; // larger blocks in use
    size_t regions = 0;
    size_t pagesInUse = 0; // bytes
    size_t largeInUse = 0;
    size_t freePages = 0; // bytes of pages freed and not yet used again
};
TreeMemoryStats treeMemoryStats();

// Faults in, on helper threads, the fresh memory the pool will hand out next for `treeBytes` of
// tree pages and `textBytes` of larger blocks, beyond what it holds freed and what was asked for
// before: no more than that, so that no page is zeroed that is not going to be used (a parse
// asks again as it learns more). Returns at once; where the system cannot fault memory in ahead
// it does nothing.
void prefaultTreeMemory(size_t treeBytes, size_t textBytes);

// The allocator's own functions (for tests and for a parse's buffers; the trees call them
// through pugixml).
void* allocateTreeMemory(size_t size);
void freeTreeMemory(void* block);

} // namespace workbook::detail

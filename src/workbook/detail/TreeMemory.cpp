#include "workbook/detail/TreeMemory.h"

#include <pugixml.hpp>

#include <cstdint>
#include <cstdlib>
#include <mutex>
#include <sys/mman.h>
#include <vector>

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define KRV_TREE_MEMORY_SANITIZED 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define KRV_TREE_MEMORY_SANITIZED 1
#endif

namespace workbook::detail {

namespace {

// A tree page of 32 KiB with pugixml's page header; larger pages (long strings) are rare.
constexpr size_t kBlockSize = 32768 + 256;
constexpr size_t kHugePage = size_t(2) << 20;
// Address space only: a block takes memory when it is first written.
constexpr size_t kRegionSize = size_t(64) << 20;

struct Pool {
    std::mutex mutex;
    std::vector<char*> regions;
    size_t current = 0;   // the region blocks are being carved from
    char* next = nullptr; // its first block not handed out since the pool was last empty
    char* end = nullptr;
    void* freeBlocks = nullptr; // a list through the blocks' first word
    size_t live = 0;
};

// Never destroyed: trees may be freed while the program's statics are destroyed.
Pool& pool() {
    static Pool* const instance = new Pool;
    return *instance;
}

bool inPool(const Pool& p, const void* block) {
    const auto address = reinterpret_cast<uintptr_t>(block);
    for (char* region : p.regions) {
        const auto start = reinterpret_cast<uintptr_t>(region);
        if (address >= start && address < start + kRegionSize) {
            return true;
        }
    }
    return false;
}

// A region aligned on a huge page, so that the kernel can back it with huge pages; nullptr
// when the address space cannot be had.
char* newRegion() {
    void* raw = mmap(nullptr, kRegionSize + kHugePage, PROT_READ | PROT_WRITE,
                     MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (raw == MAP_FAILED) {
        return nullptr;
    }
    const auto rawStart = reinterpret_cast<uintptr_t>(raw);
    const uintptr_t start = (rawStart + kHugePage - 1) & ~(kHugePage - 1);
    if (start > rawStart) {
        munmap(raw, start - rawStart);
    }
    const uintptr_t tail = start + kRegionSize;
    if (rawStart + kRegionSize + kHugePage > tail) {
        munmap(reinterpret_cast<void*>(tail), rawStart + kRegionSize + kHugePage - tail);
    }
#ifdef MADV_HUGEPAGE
    madvise(reinterpret_cast<void*>(start), kRegionSize, MADV_HUGEPAGE);
#endif
    return reinterpret_cast<char*>(start);
}

// Lets the system take the pages back when it needs them; until then they are used again
// without being faulted in anew.
void lazyFree(char* start, size_t length) {
    if (length == 0) {
        return;
    }
#ifdef MADV_FREE
    madvise(start, length, MADV_FREE);
#else
    madvise(start, length, MADV_DONTNEED);
#endif
}

} // namespace

void* allocateTreeMemory(size_t size) {
    if (size > kBlockSize) {
        return std::malloc(size);
    }
    Pool& p = pool();
    std::lock_guard<std::mutex> lock(p.mutex);
    void* block = p.freeBlocks;
    if (block != nullptr) {
        p.freeBlocks = *static_cast<void**>(block);
    } else {
        if (p.next == nullptr || size_t(p.end - p.next) < kBlockSize) {
            if (p.next != nullptr && p.current + 1 < p.regions.size()) {
                ++p.current;
            } else {
                char* region = newRegion();
                if (region == nullptr) {
                    return std::malloc(size);
                }
                p.regions.push_back(region);
                p.current = p.regions.size() - 1;
            }
            p.next = p.regions[p.current];
            p.end = p.next + kRegionSize;
        }
        block = p.next;
        p.next += kBlockSize;
    }
    ++p.live;
    return block;
}

void freeTreeMemory(void* block) {
    if (block == nullptr) {
        return;
    }
    Pool& p = pool();
    std::unique_lock<std::mutex> lock(p.mutex);
    if (!inPool(p, block)) {
        lock.unlock();
        std::free(block);
        return;
    }
    *static_cast<void**>(block) = p.freeBlocks;
    p.freeBlocks = block;
    if (--p.live == 0) {
        // No tree is left: the pages stay for the next tree (a run opens its data source, then
        // its template) unless the system needs them first, and blocks are carved from the
        // first region again, whatever the pages hold by then.
        for (size_t i = 0; i <= p.current && i < p.regions.size(); ++i) {
            const size_t used = i < p.current ? kRegionSize : size_t(p.next - p.regions[i]);
            lazyFree(p.regions[i], (used + kHugePage - 1) & ~(kHugePage - 1));
        }
        p.freeBlocks = nullptr;
        p.current = 0;
        p.next = p.regions.empty() ? nullptr : p.regions.front();
        p.end = p.next == nullptr ? nullptr : p.next + kRegionSize;
    }
}

TreeMemoryStats treeMemoryStats() {
    Pool& p = pool();
    std::lock_guard<std::mutex> lock(p.mutex);
    return {p.live, p.regions.size()};
}

void useTreeMemory() {
#ifndef KRV_TREE_MEMORY_SANITIZED
    // Blocks of the general allocator are told apart on free, so switching is safe at any time.
    static std::once_flag once;
    std::call_once(
        once, [] { pugi::set_memory_management_functions(allocateTreeMemory, freeTreeMemory); });
#endif
}

} // namespace workbook::detail

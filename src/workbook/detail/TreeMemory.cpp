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
    char* next = nullptr; // the first block never handed out in the newest region
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
            char* region = newRegion();
            if (region == nullptr) {
                return std::malloc(size);
            }
            p.regions.push_back(region);
            p.next = region;
            p.end = region + kRegionSize;
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
        // No tree is left: the memory goes back to the system until the next tree.
        for (char* region : p.regions) {
            munmap(region, kRegionSize);
        }
        p.regions.clear();
        p.freeBlocks = nullptr;
        p.next = p.end = nullptr;
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

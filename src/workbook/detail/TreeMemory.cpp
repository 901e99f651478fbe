#include "workbook/detail/TreeMemory.h"

#include <pugixml.hpp>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <condition_variable>
#include <cstdint>
#include <cstdlib>
#include <deque>
#include <map>
#include <mutex>
#include <sys/mman.h>
#include <thread>
#include <unordered_map>
#include <utility>
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

// A tree page of 32 KiB with pugixml's page header; larger blocks are carved to their size.
constexpr size_t kBlockSize = 32768 + 256;
constexpr size_t kHugePage = size_t(2) << 20;
// Address space only: a block takes memory when it is first written.
constexpr size_t kRegionSize = size_t(64) << 20;
// Larger blocks than this come from the general allocator (they would leave most of a region
// unused).
constexpr size_t kLargestCarved = kRegionSize / 4;
constexpr size_t kLargeAlignment = 64;

struct Pool {
    std::mutex mutex;
    std::vector<char*> regions;
    size_t current = 0;   // the region blocks are being carved from
    char* next = nullptr; // its first byte not handed out since the pool was last empty
    char* end = nullptr;
    void* freeBlocks = nullptr; // a list through the blocks' first word
    size_t freeCount = 0;
    size_t live = 0;
    std::unordered_map<void*, size_t> large; // larger blocks in use, with their size
    std::multimap<size_t, void*> freeLarge;  // freed larger blocks by size
    size_t largeInUse = 0;
    size_t largeFree = 0;
};

// Never destroyed: trees may be freed while the program's statics are destroyed.
Pool& pool() {
    static Pool* const instance = new Pool;
    return *instance;
}

std::atomic<bool> installed{false};

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

// Moves carving to the next region (made when there is none) once fewer than `size` bytes are
// left in the current one; false when no region can be had.
bool makeRoom(Pool& p, size_t size) {
    if (p.next != nullptr && size_t(p.end - p.next) >= size) {
        return true;
    }
    if (p.next != nullptr && p.current + 1 < p.regions.size()) {
        ++p.current;
    } else {
        char* region = newRegion();
        if (region == nullptr) {
            return false;
        }
        p.regions.push_back(region);
        p.current = p.regions.size() - 1;
    }
    p.next = p.regions[p.current];
    p.end = p.next + kRegionSize;
    return true;
}

void* allocateLarge(Pool& p, size_t size) {
    const size_t carved = (size + kLargeAlignment - 1) & ~(kLargeAlignment - 1);
    // A freed block is used again when it is not much larger than asked for.
    if (const auto it = p.freeLarge.lower_bound(carved);
        it != p.freeLarge.end() && it->first <= carved * 2) {
        void* block = it->second;
        p.largeFree -= it->first;
        p.largeInUse += it->first;
        p.large.emplace(block, it->first);
        p.freeLarge.erase(it);
        return block;
    }
    if (!makeRoom(p, carved)) {
        return nullptr;
    }
    void* block = p.next;
    p.next += carved;
    p.large.emplace(block, carved);
    p.largeInUse += carved;
    return block;
}

// The pool holds no block in use: the pages stay for the next tree (a run opens its data
// source, then its template) unless the system needs them first, and blocks are carved from
// the first region again, whatever the pages hold by then.
void resetWhenEmpty(Pool& p) {
    if (p.live != 0 || !p.large.empty()) {
        return;
    }
    for (size_t i = 0; i <= p.current && i < p.regions.size(); ++i) {
        const size_t used = i < p.current ? kRegionSize : size_t(p.next - p.regions[i]);
        lazyFree(p.regions[i], (used + kHugePage - 1) & ~(kHugePage - 1));
    }
    p.freeBlocks = nullptr;
    p.freeCount = 0;
    p.freeLarge.clear();
    p.largeFree = 0;
    p.current = 0;
    p.next = p.regions.empty() ? nullptr : p.regions.front();
    p.end = p.next == nullptr ? nullptr : p.next + kRegionSize;
}

// The helper threads that fault memory in ahead of a parse, a huge page at a time, in the order
// the pool hands it out.
class Prefaulter {
public:
    void add(const std::vector<std::pair<char*, size_t>>& ranges) {
        std::lock_guard<std::mutex> lock(mutex_);
        if (disabled_) {
            return;
        }
        for (const auto& [start, length] : ranges) {
            for (char* at = start; at < start + length;) {
                const auto address = reinterpret_cast<uintptr_t>(at);
                char* chunkEnd =
                    std::min(start + length,
                             reinterpret_cast<char*>((address + kHugePage) & ~(kHugePage - 1)));
                chunks_.emplace_back(at, size_t(chunkEnd - at));
                at = chunkEnd;
            }
        }
        const unsigned cores = std::max(2u, std::thread::hardware_concurrency());
        const size_t wanted = std::min<size_t>(kMaxHelpers, cores - 1);
        while (helpers_ < wanted && helpers_ < chunks_.size()) {
            std::thread(&Prefaulter::work, this).detach();
            ++helpers_;
        }
        ready_.notify_all();
    }

private:
    static constexpr size_t kMaxHelpers = 3;

    void work() {
        for (;;) {
            std::pair<char*, size_t> chunk;
            {
                std::unique_lock<std::mutex> lock(mutex_);
                ready_.wait(lock, [this] { return !chunks_.empty(); });
                chunk = chunks_.front();
                chunks_.pop_front();
            }
#ifdef MADV_POPULATE_WRITE
            // Faults the pages in without writing to them: the parse may be filling them at
            // the same time.
            if (madvise(chunk.first, chunk.second, MADV_POPULATE_WRITE) != 0 &&
                (errno == EINVAL || errno == ENOSYS)) {
                std::lock_guard<std::mutex> lock(mutex_);
                disabled_ = true;
                chunks_.clear();
            }
#endif
        }
    }

    std::mutex mutex_;
    std::condition_variable ready_;
    std::deque<std::pair<char*, size_t>> chunks_;
    size_t helpers_ = 0;
    bool disabled_ = false;
};

Prefaulter& prefaulter() {
    static Prefaulter* const instance = new Prefaulter;
    return *instance;
}

} // namespace

void* allocateTreeMemory(size_t size) {
    if (size > kLargestCarved) {
        return std::malloc(size);
    }
    Pool& p = pool();
    std::lock_guard<std::mutex> lock(p.mutex);
    if (size > kBlockSize) {
        void* block = allocateLarge(p, size);
        return block != nullptr ? block : std::malloc(size);
    }
    void* block = p.freeBlocks;
    if (block != nullptr) {
        p.freeBlocks = *static_cast<void**>(block);
        --p.freeCount;
    } else {
        if (!makeRoom(p, kBlockSize)) {
            return std::malloc(size);
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
    if (const auto it = p.large.find(block); it != p.large.end()) {
        p.largeInUse -= it->second;
        p.largeFree += it->second;
        p.freeLarge.emplace(it->second, block);
        p.large.erase(it);
    } else {
        *static_cast<void**>(block) = p.freeBlocks;
        p.freeBlocks = block;
        ++p.freeCount;
        --p.live;
    }
    resetWhenEmpty(p);
}

TreeMemoryStats treeMemoryStats() {
    Pool& p = pool();
    std::lock_guard<std::mutex> lock(p.mutex);
    return {p.live, p.large.size(), p.regions.size(), p.live * kBlockSize + p.largeInUse,
            p.freeCount * kBlockSize + p.largeFree};
}

void prefaultTreeMemory(size_t bytes) {
    if (!installed) {
        return;
    }
    Pool& p = pool();
    std::vector<std::pair<char*, size_t>> ranges;
    {
        std::lock_guard<std::mutex> lock(p.mutex);
        const size_t held = p.freeCount * kBlockSize + p.largeFree;
        if (bytes <= held) {
            return;
        }
        bytes -= held;
        if (!makeRoom(p, kBlockSize)) {
            return;
        }
        // From the carving point on, through the regions after it (made as needed).
        char* at = p.next;
        size_t region = p.current;
        while (bytes > 0) {
            char* regionEnd = p.regions[region] + kRegionSize;
            const size_t length = std::min(bytes, size_t(regionEnd - at));
            ranges.emplace_back(at, length);
            bytes -= length;
            if (bytes == 0) {
                break;
            }
            if (region + 1 == p.regions.size()) {
                char* fresh = newRegion();
                if (fresh == nullptr) {
                    break;
                }
                p.regions.push_back(fresh);
            }
            at = p.regions[++region];
        }
    }
    prefaulter().add(ranges);
}

void useTreeMemory() {
#ifndef KRV_TREE_MEMORY_SANITIZED
    // Blocks of the general allocator are told apart on free, so switching is safe at any time.
    static std::once_flag once;
    std::call_once(once, [] {
        pugi::set_memory_management_functions(allocateTreeMemory, freeTreeMemory);
        installed = true;
    });
#endif
}

} // namespace workbook::detail

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
#include <unistd.h>
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

// Regions blocks are carved from in order.
struct Arena {
    std::vector<char*> regions;
    size_t current = 0;   // the region blocks are being carved from
    char* next = nullptr; // its first byte not handed out since the arena was last empty
    char* end = nullptr;
    // How far, in carving order (a region's size for each region before), memory was asked to
    // be faulted in ahead since the arena was last empty.
    size_t faultedTo = 0;

    size_t carved() const {
        return next == nullptr ? 0 : current * kRegionSize + size_t(next - regions[current]);
    }

    bool holds(const void* block) const {
        const auto address = reinterpret_cast<uintptr_t>(block);
        for (char* region : regions) {
            const auto start = reinterpret_cast<uintptr_t>(region);
            if (address >= start && address < start + kRegionSize) {
                return true;
            }
        }
        return false;
    }
};

// Tree pages and larger blocks (texts) come from arenas of their own: the pages of the one stay
// for the next tree when no tree is left, those of the other go back to the system when no
// text is left, so that a text parsed once does not stay in memory.
struct Pool {
    std::mutex mutex;
    Arena pages;
    Arena texts;
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

// Moves carving to the next region (made when there is none) once fewer than `size` bytes are
// left in the current one; false when no region can be had.
bool makeRoom(Arena& a, size_t size) {
    if (a.next != nullptr && size_t(a.end - a.next) >= size) {
        return true;
    }
    if (a.next != nullptr && a.current + 1 < a.regions.size()) {
        ++a.current;
    } else {
        char* region = newRegion();
        if (region == nullptr) {
            return false;
        }
        a.regions.push_back(region);
        a.current = a.regions.size() - 1;
    }
    a.next = a.regions[a.current];
    a.end = a.next + kRegionSize;
    return true;
}

char* carve(Arena& a, size_t size) {
    if (!makeRoom(a, size)) {
        return nullptr;
    }
    char* block = a.next;
    a.next += size;
    return block;
}

// Hands the arena's used pages to the system (`keep`: lazily, for the next use to find them
// still there unless the system needed them) and carves from its first region again.
void empty(Arena& a, bool keep) {
    for (size_t i = 0; i <= a.current && i < a.regions.size(); ++i) {
        const size_t used = i < a.current ? kRegionSize : size_t(a.next - a.regions[i]);
        const size_t length = (used + kHugePage - 1) & ~(kHugePage - 1);
        if (length == 0) {
            continue;
        }
#ifdef MADV_FREE
        madvise(a.regions[i], length, keep ? MADV_FREE : MADV_DONTNEED);
#else
        madvise(a.regions[i], length, MADV_DONTNEED);
#endif
    }
    a.current = 0;
    a.next = a.regions.empty() ? nullptr : a.regions.front();
    a.end = a.next == nullptr ? nullptr : a.next + kRegionSize;
    a.faultedTo = 0;
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
    void* block = carve(p.texts, carved);
    if (block != nullptr) {
        p.large.emplace(block, carved);
        p.largeInUse += carved;
    }
    return block;
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
            // The system faults in whole pages from a page boundary only: any other start is
            // refused as invalid, which would stop faulting ahead for good. The page a range
            // starts in is in use or was asked for before; faulting it in again changes nothing.
            const auto first = reinterpret_cast<uintptr_t>(start) & ~(systemPage_ - 1);
            for (char* at = reinterpret_cast<char*>(first); at < start + length;) {
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

    const uintptr_t systemPage_ = uintptr_t(sysconf(_SC_PAGESIZE));
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
        block = carve(p.pages, kBlockSize);
        if (block == nullptr) {
            return std::malloc(size);
        }
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
    if (p.pages.holds(block)) {
        *static_cast<void**>(block) = p.freeBlocks;
        p.freeBlocks = block;
        ++p.freeCount;
        if (--p.live == 0) {
            // No tree is left: the pages stay for the next tree (a run opens its data source,
            // then its template) unless the system needs them first, and blocks are carved from
            // the first region again, whatever the pages hold by then.
            p.freeBlocks = nullptr;
            p.freeCount = 0;
            empty(p.pages, true);
        }
        return;
    }
    const auto it = p.large.find(block);
    if (it == p.large.end()) {
        lock.unlock();
        std::free(block);
        return;
    }
    p.largeInUse -= it->second;
    p.largeFree += it->second;
    p.freeLarge.emplace(it->second, block);
    p.large.erase(it);
    if (p.large.empty()) {
        p.freeLarge.clear();
        p.largeFree = 0;
        empty(p.texts, false);
    }
}

TreeMemoryStats treeMemoryStats() {
    Pool& p = pool();
    std::lock_guard<std::mutex> lock(p.mutex);
    return {p.live,
            p.large.size(),
            p.pages.regions.size() + p.texts.regions.size(),
            p.live * kBlockSize,
            p.largeInUse,
            p.freeCount * kBlockSize};
}

namespace {

// The next `bytes` the arena will hand out, through the regions after its carving point (made
// as needed), less what was asked for before.
void ahead(Arena& a, size_t bytes, std::vector<std::pair<char*, size_t>>& ranges) {
    if (bytes == 0 || !makeRoom(a, kBlockSize)) {
        return;
    }
    const size_t to = a.carved() + bytes;
    for (size_t at = std::max(a.carved(), a.faultedTo); at < to;) {
        const size_t region = at / kRegionSize;
        while (region >= a.regions.size()) {
            char* fresh = newRegion();
            if (fresh == nullptr) {
                return;
            }
            a.regions.push_back(fresh);
        }
        const size_t length = std::min(to - at, kRegionSize - at % kRegionSize);
        ranges.emplace_back(a.regions[region] + at % kRegionSize, length);
        at += length;
        a.faultedTo = at;
    }
}

} // namespace

void prefaultTreeMemory(size_t treeBytes, size_t textBytes) {
    if (!installed) {
        return;
    }
    Pool& p = pool();
    std::vector<std::pair<char*, size_t>> ranges;
    {
        std::lock_guard<std::mutex> lock(p.mutex);
        const size_t heldPages = p.freeCount * kBlockSize;
        ahead(p.pages, treeBytes > heldPages ? treeBytes - heldPages : 0, ranges);
        ahead(p.texts, textBytes > p.largeFree ? textBytes - p.largeFree : 0, ranges);
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

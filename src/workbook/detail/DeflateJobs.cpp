#include "workbook/detail/DeflateJobs.h"

#include <algorithm>
#include <atomic>
#include <optional>
#include <system_error>

namespace workbook::detail {

namespace {

// A part's text is cut into blocks of about this size as it is written; a part of one block is
// deflated as a whole.
constexpr size_t kBlockSize = size_t(512) << 10;
// What deflate looks back at: the end of the block before.
constexpr size_t kDictionary = size_t(32) << 10;
// A thread takes a deflater of its own (a few hundred KiB of tables) and is worth it only for a
// megabyte or so of text: a small workbook is written by a thread or two.
constexpr size_t kBytesPerThread = size_t(1) << 20;

// Thrown into a part's writer when the jobs stop before it is written.
struct Stopped {};

PartDeflater& ready(std::optional<PartDeflater>& deflater) {
    if (!deflater) {
        deflater.emplace();
    }
    return *deflater;
}

} // namespace

DeflateJobs::DeflateJobs() = default;

DeflateJobs::~DeflateJobs() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    for (std::thread& thread : threads_) {
        thread.join();
    }
}

void DeflateJobs::add(const std::string& part, size_t size, Writer write) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        auto state = std::make_unique<Part>();
        state->name = part;
        state->size = size;
        state->write = std::move(write);
        Part* added = state.get();
        parts_[part] = std::move(state);
        const auto at =
            std::upper_bound(waiting_.begin(), waiting_.end(), added,
                             [](const Part* a, const Part* b) { return a->size < b->size; });
        waiting_.insert(at, added);
        bytes_ += size;
    }
    startThreads();
    changed_.notify_all();
}

bool DeflateJobs::has(const std::string& part) const {
    std::lock_guard<std::mutex> lock(mutex_);
    return parts_.count(part) != 0;
}

void DeflateJobs::startThreads() {
    std::lock_guard<std::mutex> lock(mutex_);
    const size_t cores = std::max(1u, std::thread::hardware_concurrency());
    const size_t wanted = std::min(cores, 1 + bytes_ / kBytesPerThread);
    try {
        while (threads_.size() < wanted) {
            threads_.emplace_back(&DeflateJobs::work, this);
        }
    } catch (const std::system_error&) {
        // Fewer threads: results() does what is left.
    }
}

void DeflateJobs::work() {
    Deflater deflater;
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
        changed_.wait(lock, [this] { return stopping_ || !blocks_.empty() || !waiting_.empty(); });
        if (stopping_) {
            return;
        }
        runOne(lock, deflater);
    }
}

bool DeflateJobs::runOne(std::unique_lock<std::mutex>& lock, Deflater& deflater) {
    if (!blocks_.empty()) {
        Block* block = blocks_.front();
        blocks_.pop_front();
        lock.unlock();
        std::exception_ptr failure;
        try {
            ready(deflater).deflate(block->block);
        } catch (...) {
            failure = std::current_exception();
            deflater.reset(); // its stream is not to be used again
        }
        std::string().swap(block->block.text);
        lock.lock();
        if (failure && !block->part->failure) {
            block->part->failure = failure;
        }
        --block->part->blocksLeft;
        changed_.notify_all();
        return true;
    }
    if (!waiting_.empty()) {
        Part* part = waiting_.back();
        waiting_.pop_back();
        ++running_;
        lock.unlock();
        std::exception_ptr failure;
        try {
            deflateInBlocks(*part, deflater);
        } catch (...) {
            failure = std::current_exception();
            deflater.reset();
        }
        lock.lock();
        if (failure && !part->failure) {
            part->failure = failure;
        }
        --running_;
        changed_.notify_all();
        return true;
    }
    return false;
}

void DeflateJobs::deflateInBlocks(Part& part, Deflater& deflater) {
    constexpr size_t kBlockRoom = kBlockSize + kBlockSize / 8;
    std::string text;
    std::string dictionary;
    const auto handOver = [&](bool last) {
        if (last && part.blocks.empty()) {
            // One block: deflated here as a whole.
            DeflateBlock whole;
            whole.text = std::move(text);
            whole.last = true;
            ready(deflater).deflate(whole);
            part.deflated = joinBlocks({&whole});
            return;
        }
        auto block = std::make_unique<Block>();
        block->part = &part;
        block->block.dictionary = dictionary;
        block->block.last = last;
        dictionary.assign(text, text.size() - std::min(text.size(), kDictionary));
        block->block.text = std::move(text);
        text = std::string();
        text.reserve(kBlockRoom);
        {
            std::lock_guard<std::mutex> lock(mutex_);
            if (stopping_) {
                throw Stopped();
            }
            blocks_.push_back(block.get());
            bytes_ += block->block.text.size();
            part.blocks.push_back(std::move(block));
            ++part.blocksLeft;
        }
        startThreads();
        changed_.notify_one();
        size_t inFlight = 0;
        {
            // A block waiting for each thread, and one more: the text held stays bounded.
            std::lock_guard<std::mutex> lock(mutex_);
            inFlight = threads_.size() + 1;
        }
        helpUntil(part, last ? 0 : inFlight, deflater);
    };
    // The size told is only a guess (a sheet's text grows with its rows): the text grows as
    // it comes up to a block.
    text.reserve(std::min(kBlockRoom, part.size + part.size / 8 + 4096));
    try {
        part.write([&](std::string_view piece) {
            text.append(piece);
            if (text.size() >= kBlockSize) {
                handOver(false);
            }
        });
        handOver(true);
    } catch (const Stopped&) {
        helpUntil(part, 0, deflater);
        throw;
    }
    std::vector<DeflateBlock*> blocks;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (part.failure || part.blocks.empty()) {
            return; // failed, or deflated whole
        }
        for (const auto& block : part.blocks) {
            blocks.push_back(&block->block);
        }
    }
    part.deflated = joinBlocks(blocks);
    std::lock_guard<std::mutex> lock(mutex_);
    part.blocks.clear();
}

void DeflateJobs::helpUntil(Part& part, size_t left, Deflater& deflater) {
    std::unique_lock<std::mutex> lock(mutex_);
    while (part.blocksLeft > left) {
        if (blocks_.empty()) {
            changed_.wait(lock);
        } else {
            runOne(lock, deflater); // a block: blocks go before parts
        }
    }
}

std::map<std::string, DeflatedPart> DeflateJobs::results() {
    Deflater deflater;
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
        if (runOne(lock, deflater)) {
            continue;
        }
        if (running_ == 0) {
            break;
        }
        changed_.wait(lock);
    }
    std::map<std::string, DeflatedPart> deflated;
    for (auto& [name, part] : parts_) {
        if (part->failure) {
            std::rethrow_exception(part->failure);
        }
        deflated.emplace(name, std::move(part->deflated));
    }
    return deflated;
}

} // namespace workbook::detail

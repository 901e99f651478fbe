#include "workbook/detail/DeflateJobs.h"

#include <algorithm>
#include <optional>
#include <system_error>

namespace workbook::detail {

namespace {

// A part's first megabytes are deflated by the thread that writes it, as it is written (a part
// as large as a chart's is deflated whole so); the rest is cut into blocks of about kBlockSize.
constexpr size_t kWrittenFirst = size_t(2) << 20;
constexpr size_t kBlockSize = size_t(512) << 10;
// What deflate looks back at: the end of the block before.
constexpr size_t kDictionary = size_t(32) << 10;
// The text of blocks handed over and not yet deflated, at most: writers wait (helping) beyond.
constexpr size_t kMaxInFlight = size_t(2) << 20;
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
    if (stopping_) {
        return; // the threads there are are being joined
    }
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
        const size_t size = block->block.text.size();
        std::string().swap(block->block.text);
        lock.lock();
        textInFlight_ -= size;
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
    // The part is deflated here as it is written, as a whole when it is small; a larger one
    // goes on as blocks for the other threads once its first block is written.
    PartDeflater& first = ready(deflater);
    size_t written = 0;
    std::string window; // the end of what was written, the next block's dictionary
    bool inBlocks = false;
    std::string text;
    const auto handOver = [&](bool last) {
        auto block = std::make_unique<Block>();
        block->part = &part;
        block->block.dictionary = std::move(window);
        block->block.last = last;
        window.assign(text, text.size() - std::min(text.size(), kDictionary));
        block->block.text = std::move(text);
        text = std::string();
        {
            std::lock_guard<std::mutex> lock(mutex_);
            if (stopping_) {
                throw Stopped();
            }
            blocks_.push_back(block.get());
            bytes_ += block->block.text.size();
            textInFlight_ += block->block.text.size();
            part.blocks.push_back(std::move(block));
            ++part.blocksLeft;
        }
        startThreads();
        changed_.notify_one();
        helpWhile(deflater,
                  [&] { return last ? part.blocksLeft > 0 : textInFlight_ > kMaxInFlight; });
    };
    const auto take = [&](std::string_view piece) {
        if (inBlocks) {
            text.append(piece);
            if (text.size() >= kBlockSize) {
                handOver(false);
            }
            return;
        }
        first.write(piece);
        written += piece.size();
        window.append(piece);
        if (window.size() > 2 * kDictionary) {
            window.erase(0, window.size() - kDictionary);
        }
        if (written >= kWrittenFirst) {
            inBlocks = true;
            auto block = std::make_unique<Block>();
            block->part = &part;
            first.flush(block->block);
            if (window.size() > kDictionary) {
                window.erase(0, window.size() - kDictionary);
            }
            text.reserve(kBlockSize + kBlockSize / 8);
            std::lock_guard<std::mutex> lock(mutex_);
            part.blocks.push_back(std::move(block));
        }
    };
    try {
        part.write(take);
        if (!inBlocks) {
            part.deflated = first.finish();
            return;
        }
        handOver(true);
    } catch (const Stopped&) {
        helpWhile(deflater, [&] { return part.blocksLeft > 0; });
        throw;
    }
    std::vector<DeflateBlock*> blocks;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (part.failure) {
            return;
        }
        for (const auto& block : part.blocks) {
            blocks.push_back(&block->block);
        }
    }
    part.deflated = joinBlocks(blocks);
    std::lock_guard<std::mutex> lock(mutex_);
    part.blocks.clear();
}

void DeflateJobs::helpWhile(Deflater& deflater, const std::function<bool()>& waiting) {
    std::unique_lock<std::mutex> lock(mutex_);
    while (waiting()) {
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

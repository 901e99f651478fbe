#pragma once

#include "workbook/detail/CachePoints.h"
#include "workbook/detail/DeflatedPart.h"

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <exception>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace workbook::detail {

// Deflates the changed parts of a package being written, on threads of its own, while the caller
// goes on: parts whose text is final can be handed over before the rest is ready (a run's sheets
// before its charts are refreshed). The largest parts go first. A part is deflated by the thread
// that writes it as it is written; beyond two megabytes, the rest of its text is cut into blocks
// of half a megabyte deflated at the same time on the other threads (see DeflateBlock), so that
// no single large part keeps the others waiting, the text held at a time bounded. Each part is
// one deflate stream.
class DeflateJobs {
public:
    // Writes a part's text to the sink, piece by piece; called on one of the threads.
    using Writer = std::function<void(const TextSink&)>;

    DeflateJobs();
    // Stops the threads; parts not yet deflated are dropped.
    ~DeflateJobs();
    DeflateJobs(const DeflateJobs&) = delete;
    DeflateJobs& operator=(const DeflateJobs&) = delete;

    // Starts deflating a part of about `size` bytes of text. What `write` reads must not change
    // until results() has returned.
    void add(const std::string& part, size_t size, Writer write);
    bool has(const std::string& part) const;
    // Waits for every part, helping, and hands them over; rethrows a part's failure.
    std::map<std::string, DeflatedPart> results();

private:
    struct Part;
    struct Block {
        Part* part = nullptr;
        DeflateBlock block;
    };
    struct Part {
        size_t size = 0;
        Writer write;
        std::vector<std::unique_ptr<Block>> blocks;
        size_t blocksLeft = 0; // handed over and not yet deflated
        DeflatedPart deflated;
        std::exception_ptr failure;
    };

    using Deflater = std::optional<PartDeflater>; // made when first needed, again after a failure

    void work();
    // Runs one waiting task (with `lock` let go meanwhile), blocks before parts; false when
    // there is none.
    bool runOne(std::unique_lock<std::mutex>& lock, Deflater& deflater);
    void deflateInBlocks(Part& part, Deflater& deflater);
    // Deflates waiting blocks, or waits, while `waiting` holds (asked with the lock held).
    void helpWhile(Deflater& deflater, const std::function<bool()>& waiting);
    void startThreads();

    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::map<std::string, std::unique_ptr<Part>> parts_;
    std::vector<Part*> waiting_; // parts not yet started, largest last
    std::deque<Block*> blocks_;  // blocks not yet deflated
    size_t running_ = 0;         // parts started and not finished
    size_t bytes_ = 0;           // of all parts handed over
    size_t textInFlight_ = 0;    // of the blocks waiting
    bool stopping_ = false;
    std::vector<std::thread> threads_;
};

} // namespace workbook::detail

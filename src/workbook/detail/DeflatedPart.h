#pragma once

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

struct zip;
struct zip_source;
struct z_stream_s;

namespace workbook::detail {

// A part's bytes deflated ahead of the archive, as one raw deflate stream at a fast level, with
// what the archive's headers record of it. Parts are deflated each on its own thread; the
// archive then only copies them.
struct DeflatedPart {
    struct Free {
        void operator()(char* p) const { std::free(p); }
    };
    std::unique_ptr<char, Free> data;
    uint64_t compressedSize = 0;
    uint32_t crc = 0;
    uint64_t size = 0;
};

// One block of a large part's text deflated on its own: a run of deflate that starts from the
// end of the block before (its dictionary) and, unless it is the last, ends on a byte boundary,
// so that the blocks of a part are deflated at the same time and their outputs joined are one
// deflate stream, as small as a single run's.
struct DeflateBlock {
    std::string text;
    std::string dictionary; // the end of the block before, at most 32 KiB
    bool last = false;
    // What deflating it gives (the text may then be let go).
    std::unique_ptr<char, DeflatedPart::Free> out;
    uint64_t outSize = 0;
    uint64_t size = 0;
    uint32_t crc = 0;
};

// The blocks of a part, deflated, as one part (their outputs taken).
DeflatedPart joinBlocks(const std::vector<DeflateBlock*>& blocks);

// Deflates a part written to it piece by piece; after finish it takes the next part. Raises
// std::bad_alloc when zlib or the memory for its output fails (and is not used again then).
class PartDeflater {
public:
    PartDeflater();
    ~PartDeflater();
    PartDeflater(const PartDeflater&) = delete;
    PartDeflater& operator=(const PartDeflater&) = delete;

    void write(std::string_view bytes);
    DeflatedPart finish();
    // Deflates a block (between parts, not within one).
    void deflate(DeflateBlock& block);
    // Ends what was written so far as the first block of a part written in blocks.
    void flush(DeflateBlock& block);

private:
    // Runs deflate over the input given until it is taken and flushed as `flush` asks (or, for
    // Z_FINISH, the stream ends).
    void pump(int flush);
    void grow();
    void reset();
    // Finishes the block's run (see DeflateBlock) and takes its output.
    void end(DeflateBlock& block);

    std::unique_ptr<z_stream_s> stream_;
    std::unique_ptr<char, DeflatedPart::Free> out_;
    size_t capacity_ = 0;
    uint32_t crc_ = 0;
    uint64_t size_ = 0;
};

// A libzip source that hands the archive the already deflated data (which must outlive the
// archive's closing), so that it is stored without being compressed again. nullptr on failure.
zip_source* deflatedSource(zip* archive, const DeflatedPart& part);

} // namespace workbook::detail

#pragma once

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>

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

private:
    // Runs deflate over the input given until it is taken (or, finishing, the stream ends).
    void pump(bool finishing);
    void grow();

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

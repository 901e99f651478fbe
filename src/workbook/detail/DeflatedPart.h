#pragma once

#include <cstdint>
#include <memory>
#include <string>

struct zip;
struct zip_source;

namespace workbook::detail {

// A part's bytes deflated ahead of the archive, as one raw deflate stream at a fast level, with
// what the archive's headers record of it. Parts are deflated each on its own thread; the
// archive then only copies them.
struct DeflatedPart {
    std::unique_ptr<char[]> data;
    uint64_t compressedSize = 0;
    uint32_t crc = 0;
    uint64_t size = 0;
};

DeflatedPart deflatePart(const std::string& bytes);

// A libzip source that hands the archive the already deflated data (which must outlive the
// archive's closing), so that it is stored without being compressed again. nullptr on failure.
zip_source* deflatedSource(zip* archive, const DeflatedPart& part);

} // namespace workbook::detail

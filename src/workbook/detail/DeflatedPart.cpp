#include "workbook/detail/DeflatedPart.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <zip.h>
#include <zlib.h>

namespace workbook::detail {

namespace {

// The level and memory of libzip's own fast deflate, so that a part reads the same to any
// archive tool; the general purpose flag marks a fast level as libzip does.
constexpr int kLevel = 1;
constexpr int kMemoryLevel = 9;
constexpr zip_uint16_t kFastLevelFlag = 0x0004;
constexpr zip_uint16_t kLevelFlagsMask = 0x0006;
constexpr zip_uint8_t kDeflateVersionNeeded = 20;
constexpr size_t kPiece = size_t(1) << 30;
constexpr size_t kFirstCapacity = size_t(256) << 10;

struct SourceState {
    const DeflatedPart* part = nullptr;
    uint64_t offset = 0;
    zip_error_t error{};
};

zip_int64_t readDeflated(void* userdata, void* data, zip_uint64_t length, zip_source_cmd_t cmd) {
    auto* state = static_cast<SourceState*>(userdata);
    switch (cmd) {
    case ZIP_SOURCE_OPEN:
        state->offset = 0;
        return 0;
    case ZIP_SOURCE_READ: {
        const uint64_t left = state->part->compressedSize - state->offset;
        const uint64_t n = std::min<uint64_t>(left, length);
        std::memcpy(data, state->part->data.get() + state->offset, n);
        state->offset += n;
        return zip_int64_t(n);
    }
    case ZIP_SOURCE_CLOSE:
        return 0;
    case ZIP_SOURCE_STAT: {
        auto* stat = static_cast<zip_stat_t*>(data);
        zip_stat_init(stat);
        stat->valid = ZIP_STAT_SIZE | ZIP_STAT_COMP_SIZE | ZIP_STAT_COMP_METHOD | ZIP_STAT_CRC |
                      ZIP_STAT_ENCRYPTION_METHOD;
        stat->size = state->part->size;
        stat->comp_size = state->part->compressedSize;
        stat->comp_method = ZIP_CM_DEFLATE;
        stat->crc = state->part->crc;
        stat->encryption_method = ZIP_EM_NONE;
        return sizeof(*stat);
    }
    case ZIP_SOURCE_GET_FILE_ATTRIBUTES: {
        if (length < sizeof(zip_file_attributes_t)) {
            zip_error_set(&state->error, ZIP_ER_INVAL, 0);
            return -1;
        }
        auto* attributes = static_cast<zip_file_attributes_t*>(data);
        attributes->valid |=
            ZIP_FILE_ATTRIBUTES_VERSION_NEEDED | ZIP_FILE_ATTRIBUTES_GENERAL_PURPOSE_BIT_FLAGS;
        attributes->version_needed = kDeflateVersionNeeded;
        attributes->general_purpose_bit_mask = kLevelFlagsMask;
        attributes->general_purpose_bit_flags = kFastLevelFlag;
        return sizeof(*attributes);
    }
    case ZIP_SOURCE_ERROR:
        return zip_error_to_data(&state->error, data, length);
    case ZIP_SOURCE_FREE:
        zip_error_fini(&state->error);
        delete state;
        return 0;
    case ZIP_SOURCE_SUPPORTS:
        return zip_source_make_command_bitmap(
            ZIP_SOURCE_OPEN, ZIP_SOURCE_READ, ZIP_SOURCE_CLOSE, ZIP_SOURCE_STAT, ZIP_SOURCE_ERROR,
            ZIP_SOURCE_FREE, ZIP_SOURCE_GET_FILE_ATTRIBUTES, ZIP_SOURCE_SUPPORTS, -1);
    default:
        zip_error_set(&state->error, ZIP_ER_OPNOTSUPP, 0);
        return -1;
    }
}

} // namespace

PartDeflater::PartDeflater()
    : stream_(std::make_unique<z_stream>()), crc_(uint32_t(crc32(0, nullptr, 0))) {
    if (deflateInit2(stream_.get(), kLevel, Z_DEFLATED, -MAX_WBITS, kMemoryLevel,
                     Z_DEFAULT_STRATEGY) != Z_OK) {
        stream_.reset();
        throw std::bad_alloc();
    }
}

PartDeflater::~PartDeflater() {
    if (stream_) {
        deflateEnd(stream_.get());
    }
}

// The output grows by doubling through realloc: a large block moves by remapping, not by
// copying, and pages never written are never touched.
void PartDeflater::grow() {
    const size_t used = capacity_ - stream_->avail_out;
    const size_t capacity = std::max(kFirstCapacity, capacity_ * 2);
    char* grown = static_cast<char*>(std::realloc(out_.get(), capacity));
    if (grown == nullptr) {
        throw std::bad_alloc();
    }
    out_.release();
    out_.reset(grown);
    capacity_ = capacity;
    stream_->next_out = reinterpret_cast<Bytef*>(grown + used);
    // zlib counts in 32 bits: at most 1 GiB of output space at a time.
    stream_->avail_out = uInt(std::min(capacity - used, kPiece));
}

void PartDeflater::pump(int flush) {
    for (;;) {
        if (stream_->avail_out == 0) {
            grow();
        }
        const int status = ::deflate(stream_.get(), flush);
        if (status == Z_STREAM_ERROR) {
            throw std::bad_alloc();
        }
        if (flush == Z_FINISH ? status == Z_STREAM_END
                              : stream_->avail_in == 0 && stream_->avail_out > 0) {
            return;
        }
        if (status == Z_BUF_ERROR && stream_->avail_out > 0) {
            throw std::bad_alloc(); // no progress with room to write: zlib's state is broken
        }
    }
}

void PartDeflater::write(std::string_view bytes) {
    while (!bytes.empty()) {
        const size_t n = std::min(bytes.size(), kPiece);
        stream_->next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.data()));
        stream_->avail_in = uInt(n);
        crc_ = uint32_t(crc32(crc_, stream_->next_in, uInt(n)));
        size_ += n;
        pump(Z_NO_FLUSH);
        bytes.remove_prefix(n);
    }
}

DeflatedPart PartDeflater::finish() {
    stream_->avail_in = 0;
    pump(Z_FINISH);
    DeflatedPart part;
    part.compressedSize = stream_->total_out;
    part.crc = crc_;
    part.size = size_;
    part.data = std::move(out_);
    reset();
    return part;
}

// Ready for the next part: zlib keeps its tables, so that a thread deflating many parts does not
// take fresh memory for each.
void PartDeflater::reset() {
    capacity_ = 0;
    out_.reset();
    if (deflateReset(stream_.get()) != Z_OK) {
        throw std::bad_alloc();
    }
    stream_->next_out = nullptr;
    stream_->avail_out = 0;
    crc_ = uint32_t(crc32(0, nullptr, 0));
    size_ = 0;
}

void PartDeflater::deflate(DeflateBlock& block) {
    if (!block.dictionary.empty() &&
        deflateSetDictionary(stream_.get(), reinterpret_cast<const Bytef*>(block.dictionary.data()),
                             uInt(block.dictionary.size())) != Z_OK) {
        throw std::bad_alloc();
    }
    write(block.text);
    end(block);
}

void PartDeflater::flush(DeflateBlock& block) {
    block.last = false;
    end(block);
}

void PartDeflater::end(DeflateBlock& block) {
    stream_->avail_in = 0;
    // A sync flush ends the block on a byte boundary, the next block's run going on from there.
    pump(block.last ? Z_FINISH : Z_SYNC_FLUSH);
    block.outSize = stream_->total_out;
    block.size = size_;
    block.crc = crc_;
    block.out = std::move(out_);
    reset();
}

DeflatedPart joinBlocks(const std::vector<DeflateBlock*>& blocks) {
    // Each block's output is let go once copied: the part is not held twice.
    DeflatedPart part;
    part.crc = uint32_t(crc32(0, nullptr, 0));
    for (const DeflateBlock* block : blocks) {
        part.compressedSize += block->outSize;
    }
    part.data.reset(static_cast<char*>(std::malloc(std::max<uint64_t>(part.compressedSize, 1))));
    if (!part.data) {
        throw std::bad_alloc();
    }
    uint64_t at = 0;
    for (DeflateBlock* block : blocks) {
        std::memcpy(part.data.get() + at, block->out.get(), block->outSize);
        block->out.reset();
        at += block->outSize;
        part.crc = uint32_t(crc32_combine(part.crc, block->crc, z_off_t(block->size)));
        part.size += block->size;
    }
    return part;
}

zip_source* deflatedSource(zip* archive, const DeflatedPart& part) {
    auto* state = new SourceState{&part, 0, {}};
    zip_error_init(&state->error);
    zip_source_t* source = zip_source_function(archive, readDeflated, state);
    if (source == nullptr) {
        zip_error_fini(&state->error);
        delete state;
    }
    return source;
}

} // namespace workbook::detail

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

DeflatedPart deflatePart(const std::string& bytes) {
    DeflatedPart part;
    part.size = bytes.size();
    z_stream stream{};
    if (deflateInit2(&stream, kLevel, Z_DEFLATED, -MAX_WBITS, kMemoryLevel, Z_DEFAULT_STRATEGY) !=
        Z_OK) {
        throw std::bad_alloc();
    }
    // zlib counts in 32 bits: the part is handed over in pieces of at most 1 GiB, into a buffer
    // that deflateBound makes large enough for all of it (left uninitialised, as zlib fills it).
    constexpr size_t kPiece = size_t(1) << 30;
    const size_t capacity =
        size_t(deflateBound(&stream, uLong(bytes.size()))) + (bytes.size() / kPiece + 1) * 64;
    std::unique_ptr<char[]> buffer(new char[capacity]);
    size_t in = 0;
    uint32_t crc = uint32_t(crc32(0, nullptr, 0));
    stream.next_out = reinterpret_cast<Bytef*>(buffer.get());
    int status = Z_OK;
    while (status != Z_STREAM_END) {
        if (stream.avail_in == 0 && in < bytes.size()) {
            const size_t n = std::min(bytes.size() - in, kPiece);
            stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.data() + in));
            stream.avail_in = uInt(n);
            crc = uint32_t(crc32(crc, stream.next_in, uInt(n)));
            in += n;
        }
        const size_t written = size_t(reinterpret_cast<char*>(stream.next_out) - buffer.get());
        if (written == capacity) {
            deflateEnd(&stream);
            throw std::bad_alloc();
        }
        stream.avail_out = uInt(std::min(capacity - written, kPiece));
        const bool last = in == bytes.size();
        status = deflate(&stream, last ? Z_FINISH : Z_NO_FLUSH);
        if (status == Z_STREAM_ERROR || (status == Z_BUF_ERROR && stream.avail_out > 0 && last)) {
            deflateEnd(&stream);
            throw std::bad_alloc();
        }
    }
    part.compressedSize = stream.total_out;
    part.crc = crc;
    deflateEnd(&stream);
    part.data = std::move(buffer);
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

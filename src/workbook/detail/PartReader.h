#pragma once

#include "workbook/detail/Package.h"

#include <QString>

#include <cstddef>
#include <cstdint>

struct zip;
struct zip_file;

namespace workbook::detail {

// How many tree nodes and attributes a part may make (see Package.h).
struct PartLimits {
    uint64_t nodes = kMaxPartNodes;
    uint64_t attributes = kMaxPartAttributes;
};

// Reads one part out of the archive, inflating it piece by piece. The part is refused
// (workbook::Error, naming it) before anything is inflated when the zip directory declares it
// larger than a part may be (see Package.h), and as soon as what it inflates to passes the
// declared size or any limit: the bytes it inflates to, the elements and texts its tree would
// hold, their attributes. Only one thread at a time may read from an archive.
class PartReader {
public:
    // `archiveSize`: the size of the whole archive. `inflatedSoFar`: what the package's parts
    // already inflated to, counted against the total.
    PartReader(zip* archive, int64_t index, uint64_t archiveSize, uint64_t inflatedSoFar,
               const QString& partName, const QString& fileName,
               const PartLimits& limits = PartLimits{});
    ~PartReader();
    PartReader(const PartReader&) = delete;
    PartReader& operator=(const PartReader&) = delete;

    // The size the directory declares; 0 when it declares none.
    uint64_t declaredSize() const { return declared_; }
    // The compressed size the directory declares, at most the archive's size.
    uint64_t compressedSize() const { return compressed_; }
    // Fills `into` with up to `size` bytes; 0 at the end of the part, which is then checked
    // against the declared size. Raises on damage and past the limits.
    size_t read(char* into, size_t size);
    uint64_t total() const { return total_; }
    // The part was read through within the limits before: its bytes are not counted again, and
    // its declared size still holds.
    void countedAhead() { counting_ = false; }

private:
    // Counts the tree nodes and attributes the bytes would make, and raises past their limits.
    void countMarkup(const char* data, size_t size);

    QString partName_;
    QString fileName_;
    zip_file* file_ = nullptr;
    uint64_t declared_ = 0;
    uint64_t compressed_ = 0;
    bool sizeKnown_ = false;
    uint64_t allowed_ = 0;
    uint64_t total_ = 0;
    uint64_t nodes_ = 0;
    uint64_t attributes_ = 0;
    char last_ = 0; // the last byte read, which the next read's first byte follows
    bool counting_ = true;
    PartLimits limits_;
};

} // namespace workbook::detail

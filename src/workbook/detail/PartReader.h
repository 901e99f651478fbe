#pragma once

#include <QString>

#include <cstddef>
#include <cstdint>

struct zip;
struct zip_file;

namespace workbook::detail {

// Reads one part out of the archive, inflating it piece by piece. The sizes the zip directory
// declares are not trusted: the part is refused (workbook::Error) as soon as it passes what a
// part may inflate to (see Package.h), and its end must come where the directory says. Only one
// thread at a time may read from an archive.
class PartReader {
public:
    // `inflatedSoFar`: what the package's parts already inflated to, counted against the total.
    PartReader(zip* archive, int64_t index, uint64_t archiveSize, uint64_t inflatedSoFar,
               const QString& partName, const QString& fileName);
    ~PartReader();
    PartReader(const PartReader&) = delete;
    PartReader& operator=(const PartReader&) = delete;

    // The size the directory declares; 0 when it declares none.
    uint64_t declaredSize() const { return declared_; }
    // Fills `into` with up to `size` bytes; 0 at the end of the part, which is then checked
    // against the declared size. Raises on damage and past the limits.
    size_t read(char* into, size_t size);
    uint64_t total() const { return total_; }

private:
    QString partName_;
    QString fileName_;
    zip_file* file_ = nullptr;
    uint64_t declared_ = 0;
    bool sizeKnown_ = false;
    uint64_t allowed_ = 0;
    uint64_t total_ = 0;
};

} // namespace workbook::detail

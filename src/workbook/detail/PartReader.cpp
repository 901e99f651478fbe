#include "workbook/detail/PartReader.h"

#include "workbook/Error.h"
#include "workbook/detail/Package.h"

#include <algorithm>
#include <zip.h>

namespace workbook::detail {

namespace {

Error tooLarge(const QString& partName, const QString& fileName) {
    return Error(kRejectedReference,
                 QStringLiteral("The part %1 of %2 inflates to more than a workbook can hold; "
                                "the file is damaged or built to exhaust memory.")
                     .arg(partName, fileName));
}

Error damaged(const QString& partName, const QString& fileName) {
    return Error(kRejectedReference,
                 QStringLiteral("The part %1 of %2 is damaged.").arg(partName, fileName));
}

} // namespace

PartReader::PartReader(zip* archive, int64_t index, uint64_t archiveSize, uint64_t inflatedSoFar,
                       const QString& partName, const QString& fileName)
    : partName_(partName), fileName_(fileName) {
    zip_stat_t stat;
    zip_stat_init(&stat);
    if (zip_stat_index(archive, zip_uint64_t(index), 0, &stat) == 0) {
        file_ = zip_fopen_index(archive, zip_uint64_t(index), 0);
    }
    if (file_ == nullptr) {
        throw Error(kRejectedReference,
                    QStringLiteral("The part %1 of %2 cannot be read: %3.")
                        .arg(partName, fileName, QString::fromUtf8(zip_strerror(archive))));
    }
    const uint64_t compressed = (stat.valid & ZIP_STAT_COMP_SIZE) != 0
                                    ? std::min<uint64_t>(stat.comp_size, archiveSize)
                                    : archiveSize;
    const uint64_t byRatio = std::max(kRatioFreeSize, compressed * kMaxInflateRatio);
    allowed_ = std::min(byRatio, kMaxInflatedTotal - std::min(kMaxInflatedTotal, inflatedSoFar));
    sizeKnown_ = (stat.valid & ZIP_STAT_SIZE) != 0;
    declared_ = sizeKnown_ ? stat.size : 0;
    if (sizeKnown_ && declared_ > allowed_) {
        zip_fclose(file_);
        file_ = nullptr;
        throw tooLarge(partName, fileName);
    }
}

PartReader::~PartReader() {
    if (file_ != nullptr) {
        zip_fclose(file_);
    }
}

size_t PartReader::read(char* into, size_t size) {
    if (file_ == nullptr) {
        return 0;
    }
    const zip_int64_t got = zip_fread(file_, into, size);
    if (got < 0) {
        throw damaged(partName_, fileName_);
    }
    total_ += uint64_t(got);
    if (total_ > allowed_) {
        throw tooLarge(partName_, fileName_);
    }
    if (got == 0) {
        zip_fclose(file_);
        file_ = nullptr;
        if (sizeKnown_ && total_ != declared_) {
            throw damaged(partName_, fileName_);
        }
    }
    return size_t(got);
}

} // namespace workbook::detail

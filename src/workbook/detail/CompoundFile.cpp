#include "workbook/detail/CompoundFile.h"

#include "workbook/Error.h"

#include <QtEndian>

namespace workbook::detail {

namespace {

constexpr uint32_t kEndOfChain = 0xFFFFFFFEu;
constexpr uint32_t kFreeSector = 0xFFFFFFFFu;
constexpr uint32_t kNoStream = 0xFFFFFFFFu;
constexpr uint8_t kTypeStorage = 1;
constexpr uint8_t kTypeStream = 2;
constexpr uint8_t kTypeRoot = 5;
const char kSignature[8] = {'\xD0', '\xCF', '\x11', '\xE0', '\xA1', '\xB1', '\x1A', '\xE1'};

[[noreturn]] void damaged(const QString& what) {
    throw Error(kRejectedReference,
                QStringLiteral("The file is damaged and cannot be opened (%1).").arg(what));
}

// The first `size` bytes of a stream held in `sectors` of `source`, in their order: sector s
// starts at firstOffset + s * sectorSize.
QByteArray gatherSectors(const QByteArray& source, const std::vector<uint32_t>& sectors,
                         uint32_t sectorSize, qint64 firstOffset, uint64_t size) {
    if (uint64_t(sectors.size()) * sectorSize < size)
        damaged(QStringLiteral("stream shorter than its size"));
    QByteArray out;
    out.reserve(qsizetype(size));
    for (const uint32_t s : sectors) {
        if (uint64_t(out.size()) >= size)
            break;
        const qint64 base = firstOffset + qint64(s) * sectorSize;
        const qint64 n = std::min<qint64>(sectorSize, qint64(size) - out.size());
        if (base + n > source.size())
            damaged(QStringLiteral("truncated"));
        out.append(source.constData() + base, n);
    }
    return out;
}

} // namespace

bool CompoundFile::isCompoundFile(const QByteArray& data) {
    return data.size() >= 512 && std::equal(kSignature, kSignature + 8, data.constData());
}

CompoundFile::CompoundFile(QByteArray data) : data_(std::move(data)) {
    if (!isCompoundFile(data_))
        damaged(QStringLiteral("not a compound file"));
    const uint16_t sectorShift = qFromLittleEndian<uint16_t>(data_.constData() + 0x1E);
    const uint16_t miniShift = qFromLittleEndian<uint16_t>(data_.constData() + 0x20);
    if ((sectorShift != 9 && sectorShift != 12) || miniShift != 6)
        damaged(QStringLiteral("sector size"));
    sectorSize_ = 1u << sectorShift;
    miniSectorSize_ = 1u << miniShift;
    const uint32_t fatSectors = u32(0x2C);
    const uint32_t firstDirSector = u32(0x30);
    miniCutoff_ = u32(0x38);
    const uint32_t firstMiniFat = u32(0x3C);
    const uint32_t miniFatSectors = u32(0x40);
    uint32_t difatSector = u32(0x44);
    const uint32_t difatCount = u32(0x48);

    const qint64 sectorCount = (data_.size() + sectorSize_ - 1) / sectorSize_;
    if (fatSectors > sectorCount)
        damaged(QStringLiteral("allocation table size"));

    // Sector numbers of the allocation table: 109 in the header, the rest in extension sectors.
    std::vector<uint32_t> fatSectorList;
    for (uint32_t i = 0; i < 109 && fatSectorList.size() < fatSectors; ++i)
        fatSectorList.push_back(u32(0x4C + 4 * i));
    const uint32_t perDifat = sectorSize_ / 4 - 1;
    for (uint32_t n = 0; n < difatCount && fatSectorList.size() < fatSectors; ++n) {
        if (difatSector >= sectorCount)
            damaged(QStringLiteral("allocation table extension"));
        const qint64 base = qint64(difatSector + 1) * sectorSize_;
        for (uint32_t i = 0; i < perDifat && fatSectorList.size() < fatSectors; ++i)
            fatSectorList.push_back(u32(base + 4 * i));
        difatSector = u32(base + 4 * perDifat);
    }
    if (fatSectorList.size() < fatSectors)
        damaged(QStringLiteral("allocation table"));
    fat_.reserve(size_t(fatSectors) * (sectorSize_ / 4));
    for (const uint32_t s : fatSectorList) {
        if (s >= sectorCount)
            damaged(QStringLiteral("allocation table sector"));
        const qint64 base = qint64(s + 1) * sectorSize_;
        for (uint32_t i = 0; i < sectorSize_ / 4; ++i)
            fat_.push_back(u32(base + 4 * i));
    }

    if (miniFatSectors > 0 && firstMiniFat < kEndOfChain) {
        const QByteArray bytes = readChain(firstMiniFat, uint64_t(miniFatSectors) * sectorSize_);
        for (qsizetype i = 0; i + 4 <= bytes.size(); i += 4)
            miniFat_.push_back(qFromLittleEndian<uint32_t>(bytes.constData() + i));
    }

    const auto dirChain = chain(fat_, firstDirSector, sectorCount);
    const QByteArray dir = readChain(firstDirSector, uint64_t(dirChain.size()) * sectorSize_);
    for (qsizetype off = 0; off + 128 <= dir.size(); off += 128) {
        const char* e = dir.constData() + off;
        Entry entry;
        const uint16_t nameBytes = std::min<uint16_t>(qFromLittleEndian<uint16_t>(e + 0x40), 64);
        const int chars = nameBytes >= 2 ? nameBytes / 2 - 1 : 0;
        for (int i = 0; i < chars; ++i)
            entry.name += QChar(qFromLittleEndian<uint16_t>(e + 2 * i));
        entry.type = static_cast<uint8_t>(e[0x42]);
        entry.left = qFromLittleEndian<uint32_t>(e + 0x44);
        entry.right = qFromLittleEndian<uint32_t>(e + 0x48);
        entry.child = qFromLittleEndian<uint32_t>(e + 0x4C);
        entry.start = qFromLittleEndian<uint32_t>(e + 0x74);
        entry.size = qFromLittleEndian<uint64_t>(e + 0x78);
        if (sectorSize_ == 512)
            entry.size &= 0xFFFFFFFFu; // version 3 files may leave the high half undefined
        entries_.push_back(entry);
    }
    if (entries_.empty() || entries_[0].type != kTypeRoot)
        damaged(QStringLiteral("root entry"));
    if (entries_[0].size > 0)
        miniStream_ = readChain(entries_[0].start, entries_[0].size);
    std::vector<bool> visited(entries_.size(), false);
    visited[0] = true;
    collectPaths(entries_[0].child, QString(), visited, 0);
}

uint32_t CompoundFile::u32(qint64 offset) const {
    if (offset < 0 || offset + 4 > data_.size())
        damaged(QStringLiteral("truncated"));
    return qFromLittleEndian<uint32_t>(data_.constData() + offset);
}

std::vector<uint32_t> CompoundFile::chain(const std::vector<uint32_t>& table, uint32_t start,
                                          qint64 limit) const {
    std::vector<uint32_t> sectors;
    uint32_t s = start;
    while (s != kEndOfChain) {
        if (s >= table.size() || s == kFreeSector || qint64(s) >= limit)
            damaged(QStringLiteral("sector chain"));
        if (sectors.size() >= table.size())
            damaged(QStringLiteral("sector chain loop"));
        sectors.push_back(s);
        s = table[s];
    }
    return sectors;
}

QByteArray CompoundFile::readChain(uint32_t start, uint64_t size) const {
    const qint64 sectorCount = (data_.size() + sectorSize_ - 1) / sectorSize_;
    // Sector 0 follows the header, which is one sector long.
    return gatherSectors(data_, chain(fat_, start, sectorCount), sectorSize_, sectorSize_, size);
}

QByteArray CompoundFile::readMiniChain(uint32_t start, uint64_t size) const {
    const qint64 limit = miniStream_.size() / miniSectorSize_;
    return gatherSectors(miniStream_, chain(miniFat_, start, limit), miniSectorSize_, 0, size);
}

void CompoundFile::collectPaths(uint32_t index, const QString& prefix, std::vector<bool>& visited,
                                int depth) {
    if (index == kNoStream)
        return;
    if (index >= entries_.size() || visited[index] || depth > 256)
        damaged(QStringLiteral("directory"));
    visited[index] = true;
    Entry& e = entries_[index];
    e.path = prefix + e.name;
    collectPaths(e.left, prefix, visited, depth + 1);
    if (e.type == kTypeStorage)
        collectPaths(e.child, e.path + QLatin1Char('/'), visited, depth + 1);
    collectPaths(e.right, prefix, visited, depth + 1);
}

const CompoundFile::Entry* CompoundFile::find(const QString& path) const {
    for (const Entry& e : entries_) {
        if (e.type == kTypeStream && !e.path.isEmpty() &&
            e.path.compare(path, Qt::CaseInsensitive) == 0)
            return &e;
    }
    return nullptr;
}

bool CompoundFile::hasStream(const QString& path) const {
    return find(path) != nullptr;
}

QByteArray CompoundFile::stream(const QString& path) const {
    const Entry* e = find(path);
    if (!e)
        damaged(QStringLiteral("no stream %1").arg(path));
    if (e->size == 0)
        return {};
    if (e->size > uint64_t(data_.size()) * 2 + (uint64_t(1) << 20))
        damaged(QStringLiteral("stream size"));
    return e->size < miniCutoff_ ? readMiniChain(e->start, e->size) : readChain(e->start, e->size);
}

QStringList CompoundFile::streamPaths() const {
    QStringList paths;
    for (const Entry& e : entries_) {
        if (e.type == kTypeStream && !e.path.isEmpty())
            paths << e.path;
    }
    return paths;
}

} // namespace workbook::detail

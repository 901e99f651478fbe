#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <vector>

namespace workbook::detail {

// Reads a compound file (the OLE2 container of .xls files and of encrypted workbook packages):
// header, sector allocation table with its extension sectors, the small-sector table and the
// directory. Streams are addressed by path, storages separated by "/". A damaged container raises
// workbook::Error; no chain is followed past the end of the file or around a loop.
class CompoundFile {
public:
    explicit CompoundFile(QByteArray data);

    static bool isCompoundFile(const QByteArray& data);

    bool hasStream(const QString& path) const;
    // The stream's bytes; raises workbook::Error when there is no such stream.
    QByteArray stream(const QString& path) const;
    // Paths of every stream, in directory order.
    QStringList streamPaths() const;

private:
    struct Entry {
        QString name;
        uint8_t type = 0;
        uint32_t left = 0;
        uint32_t right = 0;
        uint32_t child = 0;
        uint32_t start = 0;
        uint64_t size = 0;
        QString path;
    };

    uint32_t u32(qint64 offset) const;
    std::vector<uint32_t> chain(const std::vector<uint32_t>& table, uint32_t start,
                                qint64 limit) const;
    QByteArray readChain(uint32_t start, uint64_t size) const;
    QByteArray readMiniChain(uint32_t start, uint64_t size) const;
    void collectPaths(uint32_t index, const QString& prefix, std::vector<bool>& visited, int depth);
    const Entry* find(const QString& path) const;

    QByteArray data_;
    uint32_t sectorSize_ = 512;
    uint32_t miniSectorSize_ = 64;
    uint32_t miniCutoff_ = 4096;
    std::vector<uint32_t> fat_;
    std::vector<uint32_t> miniFat_;
    std::vector<Entry> entries_;
    QByteArray miniStream_;
};

} // namespace workbook::detail

#pragma once

#include <QByteArray>
#include <QString>
#include <QtEndian>

#include <utility>
#include <vector>

namespace testsupport {

// Writes a small compound file (512-byte sectors, no small-sector stream) for tests: every stream
// must be at least 4096 bytes long. Layout: allocation table sectors, then directory sectors, then
// the streams one after another; `firstSector` tells where each stream starts.
struct TestCompoundFile {
    QByteArray bytes;
    std::vector<uint32_t> firstSector;
    uint32_t fatSectors = 0;

    // Byte offset of the allocation table entry of sector s.
    qsizetype fatEntryOffset(uint32_t s) const { return 512 + qsizetype(s) * 4; }
};

inline TestCompoundFile
writeTestCompoundFile(const std::vector<std::pair<QString, QByteArray>>& streams) {
    constexpr uint32_t kEnd = 0xFFFFFFFEu;
    constexpr uint32_t kFree = 0xFFFFFFFFu;
    uint32_t dataSectors = 0;
    for (const auto& s : streams)
        dataSectors += uint32_t((s.second.size() + 511) / 512);
    const uint32_t dirSectors = uint32_t((streams.size() + 1 + 3) / 4);
    uint32_t fatSectors = 1;
    while (fatSectors * 128 < fatSectors + dirSectors + dataSectors)
        ++fatSectors;
    const uint32_t total = fatSectors + dirSectors + dataSectors;

    TestCompoundFile out;
    out.fatSectors = fatSectors;
    out.bytes = QByteArray(qsizetype(total + 1) * 512, '\0');
    char* d = out.bytes.data();
    auto put16 = [&](qsizetype off, uint16_t v) { qToLittleEndian<uint16_t>(v, d + off); };
    auto put32 = [&](qsizetype off, uint32_t v) { qToLittleEndian<uint32_t>(v, d + off); };
    const unsigned char sig[8] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
    std::copy(sig, sig + 8, reinterpret_cast<unsigned char*>(d));
    put16(0x18, 0x3E);
    put16(0x1A, 3);
    put16(0x1C, 0xFFFE);
    put16(0x1E, 9);
    put16(0x20, 6);
    put32(0x2C, fatSectors);
    put32(0x30, fatSectors);
    put32(0x38, 4096);
    put32(0x3C, kEnd);
    put32(0x44, kEnd);
    for (uint32_t i = 0; i < 109; ++i)
        put32(0x4C + 4 * i, i < fatSectors ? i : kFree);

    std::vector<uint32_t> fat(size_t(fatSectors) * 128, kFree);
    for (uint32_t i = 0; i < fatSectors; ++i)
        fat[i] = 0xFFFFFFFDu;
    for (uint32_t i = 0; i < dirSectors; ++i)
        fat[fatSectors + i] = i + 1 < dirSectors ? fatSectors + i + 1 : kEnd;
    uint32_t next = fatSectors + dirSectors;
    auto entry = [&](uint32_t index) {
        const uint32_t sector = fatSectors + index / 4;
        return qsizetype(sector + 1) * 512 + qsizetype(index % 4) * 128;
    };
    auto writeName = [&](qsizetype off, const QString& name) {
        for (int i = 0; i < name.size(); ++i)
            put16(off + 2 * i, name[i].unicode());
        put16(off + 0x40, uint16_t((name.size() + 1) * 2));
    };
    const qsizetype root = entry(0);
    writeName(root, QStringLiteral("Root Entry"));
    d[root + 0x42] = 5;
    put32(root + 0x44, kFree);
    put32(root + 0x48, kFree);
    put32(root + 0x4C, streams.empty() ? kFree : 1);
    put32(root + 0x74, kEnd);
    for (uint32_t i = 0; i < streams.size(); ++i) {
        const QByteArray& data = streams[i].second;
        const uint32_t sectors = uint32_t((data.size() + 511) / 512);
        out.firstSector.push_back(next);
        for (uint32_t k = 0; k < sectors; ++k) {
            fat[next + k] = k + 1 < sectors ? next + k + 1 : kEnd;
            std::copy(data.constData() + qsizetype(k) * 512,
                      data.constData() + std::min<qsizetype>(data.size(), qsizetype(k + 1) * 512),
                      d + qsizetype(next + k + 1) * 512);
        }
        const qsizetype e = entry(i + 1);
        writeName(e, streams[i].first);
        d[e + 0x42] = 2;
        put32(e + 0x44, kFree);
        put32(e + 0x48, i + 1 < streams.size() ? i + 2 : kFree);
        put32(e + 0x4C, kFree);
        put32(e + 0x74, next);
        put32(e + 0x78, uint32_t(data.size()));
        next += sectors;
    }
    for (size_t i = 0; i < fat.size(); ++i)
        put32(512 + qsizetype(i) * 4, fat[i]);
    return out;
}

} // namespace testsupport

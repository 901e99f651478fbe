#include "InstancePayload.h"

#include <QtEndian>

namespace {

void appendUInt32(QByteArray& bytes, quint32 value) {
    char raw[4];
    qToLittleEndian(value, raw);
    bytes.append(raw, 4);
}

quint32 readUInt32(const QByteArray& bytes, int offset) {
    return qFromLittleEndian<quint32>(bytes.constData() + offset);
}

} // namespace

QByteArray EncodeInstancePayload(const QStringList& paths) {
    QByteArray bytes;
    for (const QString& path : paths) {
        if (path.isEmpty()) {
            continue;
        }
        for (const QChar c : path) {
            const char16_t unit = c.unicode();
            bytes.append(static_cast<char>(unit & 0xFF));
            bytes.append(static_cast<char>(unit >> 8));
        }
        bytes.append(2, '\0');
    }
    bytes.append(2, '\0');
    return bytes;
}

QStringList DecodeInstancePayload(const QByteArray& payload) {
    QStringList paths;
    QString current;
    const qsizetype units = payload.size() / 2;
    const auto* bytes = reinterpret_cast<const uchar*>(payload.constData());
    for (qsizetype i = 0; i < units; ++i) {
        const char16_t unit = static_cast<char16_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8));
        if (unit != 0) {
            current.append(QChar(unit));
            continue;
        }
        if (current.isEmpty()) {
            return paths;
        }
        paths << current;
        current.clear();
    }
    if (!current.isEmpty()) {
        paths << current;
    }
    return paths;
}

QByteArray EncodeInstanceRequest(const QStringList& paths, quint32 tag) {
    const QByteArray payload = EncodeInstancePayload(paths);
    QByteArray bytes;
    bytes.reserve(kInstanceRequestHeaderSize + payload.size());
    appendUInt32(bytes, tag);
    appendUInt32(bytes, static_cast<quint32>(payload.size()));
    bytes.append(payload);
    return bytes;
}

TInstanceFrame DecodeInstanceRequest(const QByteArray& buffer, TInstanceRequest& request,
                                     int& consumed) {
    consumed = 0;
    if (buffer.size() < kInstanceRequestHeaderSize) {
        return TInstanceFrame::Incomplete;
    }
    const quint32 size = readUInt32(buffer, 4);
    if (size > kInstancePayloadLimit) {
        return TInstanceFrame::Invalid;
    }
    const qsizetype total = kInstanceRequestHeaderSize + static_cast<qsizetype>(size);
    if (buffer.size() < total) {
        return TInstanceFrame::Incomplete;
    }
    request.Tag = readUInt32(buffer, 0);
    request.Paths =
        DecodeInstancePayload(buffer.mid(kInstanceRequestHeaderSize, static_cast<qsizetype>(size)));
    consumed = static_cast<int>(total);
    return TInstanceFrame::Complete;
}

QByteArray EncodeInstanceReply(qint32 reply) {
    QByteArray bytes;
    appendUInt32(bytes, static_cast<quint32>(reply));
    return bytes;
}

bool DecodeInstanceReply(const QByteArray& buffer, qint32& reply) {
    if (buffer.size() < kInstanceReplySize) {
        return false;
    }
    reply = static_cast<qint32>(readUInt32(buffer, 0));
    return true;
}

QByteArray EncodeInstanceAck() {
    QByteArray bytes;
    appendUInt32(bytes, kInstanceRequestTag);
    return bytes;
}

bool IsInstanceAck(const QByteArray& buffer) {
    return buffer.size() >= kInstanceAckSize && readUInt32(buffer, 0) == kInstanceRequestTag;
}

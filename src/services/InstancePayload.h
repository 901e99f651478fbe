#pragma once

#include <QByteArray>
#include <QStringList>
#include <QtGlobal>

// The request a second start hands to the running instance and the instance's reply, as bytes on
// the local socket. A request is the 32-bit tag, the payload's byte count and the payload, both
// numbers little-endian; the payload is each path as UTF-16LE text followed by one NUL character,
// then one more NUL. A reply is one 32-bit little-endian integer. Everything read is bounded by
// the bytes received: the decoder faces whatever a local process cares to send. A sender that
// receives its reply in time confirms it with the acknowledgement (the tag again, 32-bit
// little-endian) before it closes the connection; only a confirmed request is carried out, so
// that a request whose sender gave up waiting (and told its user so) never opens anything.

// "KRVC" read from the most significant byte down; in memory the bytes 43 56 52 4B.
inline constexpr quint32 kInstanceRequestTag = 0x4B525643u;
inline constexpr qint32 kInstanceReplyAccepted = 121345;
inline constexpr qint32 kInstanceReplyBusy = 212;
// The largest payload the receiver reads; a request announcing more is refused unread.
inline constexpr quint32 kInstancePayloadLimit = 1u << 20;
inline constexpr int kInstanceRequestHeaderSize = 8;
inline constexpr int kInstanceReplySize = 4;

// The payload of a list of paths. An empty path would end the list early, so empty ones are left
// out; without paths the payload is the single closing NUL (2 bytes).
QByteArray EncodeInstancePayload(const QStringList& paths);

// The paths of a payload, in order, up to the first empty entry or the end of the bytes,
// whichever comes first. A last entry without its NUL still counts; an odd last byte is ignored.
QStringList DecodeInstancePayload(const QByteArray& payload);

// The whole request: header and payload.
QByteArray EncodeInstanceRequest(const QStringList& paths, quint32 tag = kInstanceRequestTag);

struct TInstanceRequest {
    quint32 Tag = 0;
    QStringList Paths;
};

enum class TInstanceFrame {
    Incomplete, // more bytes are needed
    Complete,   // request filled; consumed holds the bytes it took
    Invalid     // the announced payload is larger than the limit
};

// Reads one request from the start of buffer.
TInstanceFrame DecodeInstanceRequest(const QByteArray& buffer, TInstanceRequest& request,
                                     int& consumed);

QByteArray EncodeInstanceReply(qint32 reply);
QByteArray EncodeInstanceAck();
inline constexpr int kInstanceAckSize = 4;
// Whether the bytes received after the reply are the acknowledgement.
bool IsInstanceAck(const QByteArray& buffer);
// False while fewer than four bytes have arrived.
bool DecodeInstanceReply(const QByteArray& buffer, qint32& reply);

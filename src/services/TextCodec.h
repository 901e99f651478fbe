#pragma once

#include <QByteArray>
#include <QString>

// The encodings a data file can be read in.
enum class TTextEncoding { Cp1252, Utf8, Utf8Bom, Utf16LE, Utf16BE };

// Text of the files the program exchanges with its Windows edition: Windows code page 1252 when
// the text fits it, UTF-8 with a byte-order mark otherwise.
namespace textcodec {

// Decodes a whole file: a byte-order mark decides (UTF-8, UTF-16LE, UTF-16BE); without one,
// valid UTF-8 reads as UTF-8 and anything else as code page 1252. The mark is not part of the
// result. found, when given, receives the encoding used.
QString DecodeText(const QByteArray& bytes, TTextEncoding* found = nullptr);

// Encodes a whole file: code page 1252 without a mark when every character fits it and the bytes
// cannot be mistaken for UTF-8 on reading; otherwise UTF-8 with a byte-order mark. No character
// is ever replaced by "?". found, when given, receives the encoding used.
QByteArray EncodeText(const QString& text, TTextEncoding* found = nullptr);

// Code page 1252. The five bytes the code page leaves undefined map to U+0081, U+008D, U+008F,
// U+0090 and U+009D, as Windows maps them, so every byte round-trips.
QString FromCp1252(const QByteArray& bytes);
// ok receives false when a character has no byte in the code page (the result is then empty).
QByteArray ToCp1252(const QString& text, bool* ok);
bool FitsCp1252(const QString& text);

// Strict UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF.
bool IsValidUtf8(const QByteArray& bytes);

} // namespace textcodec

#include "TextCodec.h"

#include <QStringDecoder>
#include <array>

namespace textcodec {

namespace {

// Code page 1252, bytes 0x80 to 0x9F; the others equal their code point.
constexpr std::array<char16_t, 32> kHigh = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

int Cp1252Byte(char16_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
        return c;
    }
    for (int i = 0; i < static_cast<int>(kHigh.size()); ++i) {
        if (kHigh[i] == c) {
            return 0x80 + i;
        }
    }
    return -1;
}

bool HasHighByte(const QByteArray& bytes) {
    for (const char b : bytes) {
        if (static_cast<unsigned char>(b) >= 0x80) {
            return true;
        }
    }
    return false;
}

// Lone surrogates cannot be encoded; they become U+FFFD rather than "?".
QString WithoutLoneSurrogates(const QString& text) {
    QString result = text;
    const qsizetype n = result.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = result.at(i);
        if (c.isHighSurrogate() && i + 1 < n && result.at(i + 1).isLowSurrogate()) {
            ++i;
        } else if (c.isSurrogate()) {
            result[i] = QChar(0xFFFD);
        }
    }
    return result;
}

QString DecodeWith(QStringDecoder::Encoding encoding, QByteArrayView bytes) {
    QStringDecoder decoder(encoding, QStringDecoder::Flag::Stateless |
                                         QStringDecoder::Flag::ConvertInitialBom);
    return decoder.decode(bytes);
}

} // namespace

QString FromCp1252(const QByteArray& bytes) {
    QString result(bytes.size(), Qt::Uninitialized);
    QChar* out = result.data();
    for (const char b : bytes) {
        const auto u = static_cast<unsigned char>(b);
        *out++ = QChar(u >= 0x80 && u < 0xA0 ? kHigh[u - 0x80] : char16_t(u));
    }
    return result;
}

QByteArray ToCp1252(const QString& text, bool* ok) {
    QByteArray result(text.size(), Qt::Uninitialized);
    char* out = result.data();
    for (const QChar c : text) {
        const int b = Cp1252Byte(c.unicode());
        if (b < 0) {
            if (ok != nullptr) {
                *ok = false;
            }
            return {};
        }
        *out++ = static_cast<char>(b);
    }
    if (ok != nullptr) {
        *ok = true;
    }
    return result;
}

bool FitsCp1252(const QString& text) {
    for (const QChar c : text) {
        if (Cp1252Byte(c.unicode()) < 0) {
            return false;
        }
    }
    return true;
}

bool IsValidUtf8(const QByteArray& bytes) {
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.constData());
    const qsizetype n = bytes.size();
    qsizetype i = 0;
    while (i < n) {
        const unsigned char c = p[i];
        if (c < 0x80) {
            ++i;
            continue;
        }
        int extra = 0;
        char32_t cp = 0;
        char32_t min = 0;
        if ((c & 0xE0) == 0xC0) {
            extra = 1;
            cp = c & 0x1F;
            min = 0x80;
        } else if ((c & 0xF0) == 0xE0) {
            extra = 2;
            cp = c & 0x0F;
            min = 0x800;
        } else if ((c & 0xF8) == 0xF0) {
            extra = 3;
            cp = c & 0x07;
            min = 0x10000;
        } else {
            return false;
        }
        for (int k = 1; k <= extra; ++k) {
            if (i + k >= n || (p[i + k] & 0xC0) != 0x80) {
                return false;
            }
            cp = (cp << 6) | (p[i + k] & 0x3F);
        }
        if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
            return false;
        }
        i += extra + 1;
    }
    return true;
}

QString DecodeText(const QByteArray& bytes, TTextEncoding* found) {
    TTextEncoding encoding = TTextEncoding::Cp1252;
    QString result;
    const QByteArrayView view(bytes);
    if (bytes.startsWith("\xEF\xBB\xBF")) {
        encoding = TTextEncoding::Utf8Bom;
        result = DecodeWith(QStringDecoder::Utf8, view.sliced(3));
    } else if (bytes.startsWith("\xFF\xFE")) {
        encoding = TTextEncoding::Utf16LE;
        result = DecodeWith(QStringDecoder::Utf16LE, view.sliced(2));
    } else if (bytes.startsWith("\xFE\xFF")) {
        encoding = TTextEncoding::Utf16BE;
        result = DecodeWith(QStringDecoder::Utf16BE, view.sliced(2));
    } else if (IsValidUtf8(bytes)) {
        encoding = HasHighByte(bytes) ? TTextEncoding::Utf8 : TTextEncoding::Cp1252;
        result = DecodeWith(QStringDecoder::Utf8, view);
    } else {
        result = FromCp1252(bytes);
    }
    if (found != nullptr) {
        *found = encoding;
    }
    return result;
}

QByteArray EncodeText(const QString& text, TTextEncoding* found) {
    bool fits = false;
    QByteArray cp1252 = ToCp1252(text, &fits);
    // Bytes that happen to form valid UTF-8 or to begin with a UTF-16 mark would be read back in
    // that encoding and change the text.
    const bool misread = (HasHighByte(cp1252) && IsValidUtf8(cp1252)) ||
                         cp1252.startsWith("\xFF\xFE") || cp1252.startsWith("\xFE\xFF");
    if (fits && !misread) {
        if (found != nullptr) {
            *found = TTextEncoding::Cp1252;
        }
        return cp1252;
    }
    if (found != nullptr) {
        *found = TTextEncoding::Utf8Bom;
    }
    return QByteArrayLiteral("\xEF\xBB\xBF") + WithoutLoneSurrogates(text).toUtf8();
}

} // namespace textcodec

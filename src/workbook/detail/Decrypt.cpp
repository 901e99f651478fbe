#include "workbook/detail/Decrypt.h"

#include "workbook/Error.h"
#include "workbook/detail/CompoundFile.h"

#include <QtEndian>
#include <openssl/evp.h>
#include <openssl/hmac.h>
#include <pugixml.hpp>

#include <cstring>
#include <memory>

namespace workbook::detail {

namespace {

const QString kInfoStream = QStringLiteral("EncryptionInfo");
const QString kPackageStream = QStringLiteral("EncryptedPackage");
// The password the spreadsheet application uses when a file is encrypted without one.
const QString kDefaultPassword = QStringLiteral("VelvetSweatshop");
constexpr qsizetype kSegmentSize = 4096;
// The spreadsheet application writes 100,000 hashing rounds; a file asking for more would only
// make every password attempt take seconds.
constexpr int kMaxSpinCount = 100000;

[[noreturn]] void fail(const QString& description) {
    throw Error(kRejectedReference, description);
}

[[noreturn]] void damaged(const QString& what) {
    fail(QStringLiteral("The file is damaged and cannot be opened (%1).").arg(what));
}

[[noreturn]] void unsupported(const QString& what) {
    fail(QStringLiteral("The file is encrypted with a method that is not supported (%1).")
             .arg(what));
}

[[noreturn]] void wrongPassword() {
    throw WrongPasswordError(kRejectedReference, QStringLiteral("The password is incorrect."));
}

[[noreturn]] void noPassword() {
    fail(QStringLiteral("The file is encrypted and no password was given."));
}

QByteArray utf16le(const QString& s) {
    QByteArray out;
    out.reserve(s.size() * 2);
    for (const QChar c : s) {
        out.append(char(c.unicode() & 0xFF));
        out.append(char(c.unicode() >> 8));
    }
    return out;
}

QByteArray le32(uint32_t v) {
    char b[4];
    qToLittleEndian<uint32_t>(v, b);
    return QByteArray(b, 4);
}

// A hash function kept open over many rounds of key derivation.
class Hasher {
public:
    explicit Hasher(const EVP_MD* md) : md_(md), ctx_(EVP_MD_CTX_new()) {}
    ~Hasher() { EVP_MD_CTX_free(ctx_); }
    Hasher(const Hasher&) = delete;
    Hasher& operator=(const Hasher&) = delete;

    QByteArray operator()(const QByteArray& a, const QByteArray& b = {}) {
        unsigned char out[EVP_MAX_MD_SIZE];
        unsigned int len = 0;
        if (!ctx_ || EVP_DigestInit_ex(ctx_, md_, nullptr) != 1 ||
            EVP_DigestUpdate(ctx_, a.constData(), size_t(a.size())) != 1 ||
            EVP_DigestUpdate(ctx_, b.constData(), size_t(b.size())) != 1 ||
            EVP_DigestFinal_ex(ctx_, out, &len) != 1)
            fail(QStringLiteral("The file cannot be decrypted (hash function failed)."));
        return QByteArray(reinterpret_cast<const char*>(out), int(len));
    }

private:
    const EVP_MD* md_;
    EVP_MD_CTX* ctx_;
};

const EVP_MD* hashByName(const QString& name) {
    const QString n = name.toUpper().remove(QLatin1Char('-'));
    if (n == QLatin1String("SHA1"))
        return EVP_sha1();
    if (n == QLatin1String("SHA256"))
        return EVP_sha256();
    if (n == QLatin1String("SHA384"))
        return EVP_sha384();
    if (n == QLatin1String("SHA512"))
        return EVP_sha512();
    if (n == QLatin1String("MD5"))
        return EVP_md5();
    unsupported(QStringLiteral("hash %1").arg(name));
}

const EVP_CIPHER* aes(int keyBits, bool cbc) {
    switch (keyBits) {
    case 128:
        return cbc ? EVP_aes_128_cbc() : EVP_aes_128_ecb();
    case 192:
        return cbc ? EVP_aes_192_cbc() : EVP_aes_192_ecb();
    case 256:
        return cbc ? EVP_aes_256_cbc() : EVP_aes_256_ecb();
    default:
        unsupported(QStringLiteral("AES key of %1 bits").arg(keyBits));
    }
}

QByteArray decryptBlocks(const EVP_CIPHER* cipher, const QByteArray& key, const QByteArray& iv,
                         const char* data, qsizetype size) {
    if (size % 16 != 0)
        damaged(QStringLiteral("encrypted data is not whole blocks"));
    std::unique_ptr<EVP_CIPHER_CTX, decltype(&EVP_CIPHER_CTX_free)> ctx(EVP_CIPHER_CTX_new(),
                                                                        &EVP_CIPHER_CTX_free);
    QByteArray out(size + 16, Qt::Uninitialized);
    int len = 0;
    int tail = 0;
    const auto* ivBytes =
        iv.isEmpty() ? nullptr : reinterpret_cast<const unsigned char*>(iv.constData());
    if (!ctx ||
        EVP_DecryptInit_ex(ctx.get(), cipher, nullptr,
                           reinterpret_cast<const unsigned char*>(key.constData()), ivBytes) != 1 ||
        EVP_CIPHER_CTX_set_padding(ctx.get(), 0) != 1 ||
        EVP_DecryptUpdate(ctx.get(), reinterpret_cast<unsigned char*>(out.data()), &len,
                          reinterpret_cast<const unsigned char*>(data), int(size)) != 1 ||
        EVP_DecryptFinal_ex(ctx.get(), reinterpret_cast<unsigned char*>(out.data()) + len, &tail) !=
            1)
        damaged(QStringLiteral("decryption failed"));
    out.truncate(len + tail);
    return out;
}

// Truncates, or pads with 0x36, to the length needed.
QByteArray fitted(QByteArray bytes, qsizetype length) {
    if (bytes.size() > length)
        bytes.truncate(length);
    while (bytes.size() < length)
        bytes.append('\x36');
    return bytes;
}

uint64_t packageSize(const QByteArray& package) {
    if (package.size() < 8)
        damaged(QStringLiteral("encrypted package"));
    const uint64_t size = qFromLittleEndian<uint64_t>(package.constData());
    if (size > uint64_t(package.size() - 8))
        damaged(QStringLiteral("encrypted package size"));
    return size;
}

// ---- Standard encryption: SHA-1 key derivation, AES in ECB mode ----

struct StandardInfo {
    int keyBits = 128;
    QByteArray salt;
    QByteArray verifier;
    QByteArray verifierHash;
};

StandardInfo parseStandard(const QByteArray& info) {
    auto at = [&](qsizetype off) {
        if (off + 4 > info.size())
            damaged(QStringLiteral("encryption information"));
        return qFromLittleEndian<uint32_t>(info.constData() + off);
    };
    const uint32_t headerSize = at(8);
    const qsizetype header = 12;
    const uint32_t algId = at(header + 8);
    const uint32_t hashId = at(header + 12);
    const uint32_t keyBits = at(header + 16);
    if (algId != 0 && algId != 0x660E && algId != 0x660F && algId != 0x6610)
        unsupported(QStringLiteral("algorithm %1").arg(algId, 4, 16, QLatin1Char('0')));
    if (hashId != 0 && hashId != 0x8004)
        unsupported(QStringLiteral("hash %1").arg(hashId, 4, 16, QLatin1Char('0')));
    StandardInfo s;
    s.keyBits = keyBits == 0 ? 128 : int(keyBits);
    const qsizetype v = header + qsizetype(headerSize);
    const uint32_t saltSize = at(v);
    if (saltSize != 16 || v + 4 + 16 + 16 + 4 + 32 > info.size())
        damaged(QStringLiteral("encryption verifier"));
    s.salt = info.mid(v + 4, 16);
    s.verifier = info.mid(v + 20, 16);
    s.verifierHash = info.mid(v + 40, 32);
    return s;
}

// The key for a password, or an empty array when the password does not verify.
QByteArray standardKey(const StandardInfo& s, const QString& password) {
    Hasher sha1(EVP_sha1());
    QByteArray h = sha1(s.salt, utf16le(password));
    for (uint32_t i = 0; i < 50000; ++i)
        h = sha1(le32(i), h);
    h = sha1(h, le32(0));
    QByteArray b1(64, '\x36');
    QByteArray b2(64, '\x5C');
    for (int i = 0; i < h.size(); ++i) {
        b1[i] = char(b1[i] ^ h[i]);
        b2[i] = char(b2[i] ^ h[i]);
    }
    const QByteArray key = (sha1(b1) + sha1(b2)).left(s.keyBits / 8);
    const EVP_CIPHER* cipher = aes(s.keyBits, false);
    const QByteArray verifier = decryptBlocks(cipher, key, {}, s.verifier.constData(), 16);
    const QByteArray hash = decryptBlocks(cipher, key, {}, s.verifierHash.constData(), 32);
    return sha1(verifier) == hash.left(20) ? key : QByteArray();
}

QByteArray decryptStandard(const QByteArray& info, const QByteArray& package,
                           const QString& password) {
    const StandardInfo s = parseStandard(info);
    QByteArray key = standardKey(s, password.isEmpty() ? kDefaultPassword : password);
    if (key.isEmpty())
        password.isEmpty() ? noPassword() : wrongPassword();
    const uint64_t size = packageSize(package);
    const qsizetype body = (package.size() - 8) / 16 * 16;
    QByteArray plain = decryptBlocks(aes(s.keyBits, false), key, {}, package.constData() + 8, body);
    if (uint64_t(plain.size()) < size)
        damaged(QStringLiteral("encrypted package size"));
    plain.truncate(qsizetype(size));
    return plain;
}

// ---- Agile encryption: XML description, iterated hash, AES in CBC mode ----

struct CipherParams {
    int keyBits = 0;
    int blockSize = 16;
    int hashSize = 0;
    QString hashName;
    QByteArray salt;
};

CipherParams readParams(const pugi::xml_node& node) {
    CipherParams p;
    if (!node)
        damaged(QStringLiteral("encryption information"));
    const QString algorithm = QString::fromUtf8(node.attribute("cipherAlgorithm").value());
    const QString chaining = QString::fromUtf8(node.attribute("cipherChaining").value());
    if (algorithm != QLatin1String("AES"))
        unsupported(algorithm);
    if (chaining != QLatin1String("ChainingModeCBC"))
        unsupported(chaining);
    p.keyBits = node.attribute("keyBits").as_int();
    p.blockSize = node.attribute("blockSize").as_int();
    p.hashSize = node.attribute("hashSize").as_int();
    p.hashName = QString::fromUtf8(node.attribute("hashAlgorithm").value());
    p.salt = QByteArray::fromBase64(node.attribute("saltValue").value());
    if (p.blockSize != 16 || p.hashSize <= 0 || p.hashSize > 64 || p.salt.isEmpty())
        damaged(QStringLiteral("encryption information"));
    aes(p.keyBits, true);
    return p;
}

QByteArray attributeBytes(const pugi::xml_node& node, const char* name) {
    return QByteArray::fromBase64(node.attribute(name).value());
}

pugi::xml_node child(const pugi::xml_node& node, const char* localName) {
    for (pugi::xml_node c : node.children()) {
        const char* n = c.name();
        const char* colon = std::strchr(n, ':');
        if (std::strcmp(colon ? colon + 1 : n, localName) == 0)
            return c;
    }
    return {};
}

QByteArray agileKey(const pugi::xml_node& encryptedKey, const QString& password) {
    const CipherParams p = readParams(encryptedKey);
    const int spinCount = encryptedKey.attribute("spinCount").as_int();
    if (spinCount < 0)
        damaged(QStringLiteral("spin count"));
    if (spinCount > kMaxSpinCount)
        unsupported(QStringLiteral("a spin count of %1, above %2")
                        .arg(QString::fromUtf8(encryptedKey.attribute("spinCount").value()))
                        .arg(kMaxSpinCount));
    Hasher hash(hashByName(p.hashName));
    QByteArray h = hash(p.salt, utf16le(password));
    for (int i = 0; i < spinCount; ++i)
        h = hash(le32(uint32_t(i)), h);
    const qsizetype keyBytes = p.keyBits / 8;
    auto derived = [&](const char* blockKey) {
        return fitted(hash(h, QByteArray(blockKey, 8)), keyBytes);
    };
    const EVP_CIPHER* cipher = aes(p.keyBits, true);
    const QByteArray iv = fitted(p.salt, p.blockSize);
    auto decryptAttr = [&](const char* blockKey, const char* attr) {
        const QByteArray enc = attributeBytes(encryptedKey, attr);
        return decryptBlocks(cipher, derived(blockKey), iv, enc.constData(), enc.size());
    };
    const QByteArray input =
        decryptAttr("\xFE\xA7\xD2\x76\x3B\x4B\x9E\x79", "encryptedVerifierHashInput")
            .left(p.salt.size());
    const QByteArray expected =
        decryptAttr("\xD7\xAA\x0F\x6D\x30\x61\x34\x4E", "encryptedVerifierHashValue")
            .left(p.hashSize);
    if (hash(input).left(p.hashSize) != expected)
        return {};
    return decryptAttr("\x14\x6E\x0B\xE7\xAB\xAC\xD0\xD6", "encryptedKeyValue").left(keyBytes);
}

void checkIntegrity(const pugi::xml_node& integrity, const CipherParams& data,
                    const QByteArray& key, const QByteArray& package) {
    if (!integrity)
        return;
    Hasher hash(hashByName(data.hashName));
    const EVP_CIPHER* cipher = aes(data.keyBits, true);
    auto decryptAttr = [&](const char* blockKey, const char* attr) {
        const QByteArray iv = fitted(hash(data.salt, QByteArray(blockKey, 8)), data.blockSize);
        const QByteArray enc = attributeBytes(integrity, attr);
        return decryptBlocks(cipher, key, iv, enc.constData(), enc.size()).left(data.hashSize);
    };
    const QByteArray hmacKey = decryptAttr("\x5F\xB2\xAD\x01\x0C\xB9\xE1\xF6", "encryptedHmacKey");
    const QByteArray expected =
        decryptAttr("\xA0\x67\x7F\x02\xB2\x2C\x84\x33", "encryptedHmacValue");
    unsigned char mac[EVP_MAX_MD_SIZE];
    unsigned int macLen = 0;
    if (!HMAC(hashByName(data.hashName), hmacKey.constData(), int(hmacKey.size()),
              reinterpret_cast<const unsigned char*>(package.constData()), size_t(package.size()),
              mac, &macLen) ||
        QByteArray(reinterpret_cast<const char*>(mac), int(macLen)).left(data.hashSize) != expected)
        damaged(QStringLiteral("integrity check failed"));
}

QByteArray decryptAgile(const QByteArray& info, const QByteArray& package,
                        const QString& password) {
    pugi::xml_document doc;
    const QByteArray xml = info.mid(8);
    if (!doc.load_buffer(xml.constData(), size_t(xml.size())))
        damaged(QStringLiteral("encryption information"));
    const pugi::xml_node encryption = doc.document_element();
    const CipherParams data = readParams(child(encryption, "keyData"));
    pugi::xml_node encryptedKey;
    for (pugi::xml_node e : child(encryption, "keyEncryptors").children()) {
        if (std::strcmp(e.attribute("uri").value(),
                        "http://schemas.microsoft.com/office/2006/keyEncryptor/password") == 0)
            encryptedKey = child(e, "encryptedKey");
    }
    if (!encryptedKey)
        unsupported(QStringLiteral("no password key"));
    QByteArray key = agileKey(encryptedKey, password.isEmpty() ? kDefaultPassword : password);
    if (key.isEmpty())
        password.isEmpty() ? noPassword() : wrongPassword();
    if (key.size() != data.keyBits / 8)
        damaged(QStringLiteral("key size"));
    checkIntegrity(child(encryption, "dataIntegrity"), data, key, package);

    const uint64_t size = packageSize(package);
    const EVP_CIPHER* cipher = aes(data.keyBits, true);
    Hasher hash(hashByName(data.hashName));
    QByteArray plain;
    plain.reserve(qsizetype(size) + 16);
    uint32_t segment = 0;
    for (qsizetype off = 8; off < package.size() && uint64_t(plain.size()) < size;
         off += kSegmentSize, ++segment) {
        const qsizetype n = std::min(kSegmentSize, package.size() - off) / 16 * 16;
        const QByteArray iv = fitted(hash(data.salt, le32(segment)), data.blockSize);
        plain += decryptBlocks(cipher, key, iv, package.constData() + off, n);
    }
    if (uint64_t(plain.size()) < size)
        damaged(QStringLiteral("encrypted package size"));
    plain.truncate(qsizetype(size));
    return plain;
}

} // namespace

bool isEncryptedPackage(const QByteArray& fileBytes) {
    if (!CompoundFile::isCompoundFile(fileBytes))
        return false;
    try {
        const CompoundFile cf(fileBytes);
        return cf.hasStream(kInfoStream) && cf.hasStream(kPackageStream);
    } catch (const Error&) {
        return false;
    }
}

QByteArray decryptPackage(const QByteArray& fileBytes, const QString& password) {
    const CompoundFile cf(fileBytes);
    if (!cf.hasStream(kInfoStream) || !cf.hasStream(kPackageStream))
        damaged(QStringLiteral("no encrypted workbook package"));
    const QByteArray info = cf.stream(kInfoStream);
    const QByteArray package = cf.stream(kPackageStream);
    if (info.size() < 8)
        damaged(QStringLiteral("encryption information"));
    const uint16_t major = qFromLittleEndian<uint16_t>(info.constData());
    const uint16_t minor = qFromLittleEndian<uint16_t>(info.constData() + 2);
    if (major == 4 && minor == 4)
        return decryptAgile(info, package, password);
    if (major >= 2 && major <= 4 && minor == 2)
        return decryptStandard(info, package, password);
    unsupported(QStringLiteral("version %1.%2").arg(major).arg(minor));
}

} // namespace workbook::detail

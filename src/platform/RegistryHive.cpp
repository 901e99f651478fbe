#include "RegistryHive.h"

#include "FileWrite.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>

namespace platform {
namespace {

const QString kHeader = QStringLiteral("Windows Registry Editor Version 5.00");
const QString kOldHeader = QStringLiteral("REGEDIT4");

QString decode(const QByteArray& data) {
    if (data.startsWith("\xFF\xFE")) {
        auto decoder = QStringDecoder(QStringDecoder::Utf16LE);
        return decoder(data.mid(2));
    }
    if (data.startsWith("\xFE\xFF")) {
        auto decoder = QStringDecoder(QStringDecoder::Utf16BE);
        return decoder(data.mid(2));
    }
    if (data.startsWith("\xEF\xBB\xBF")) {
        return QString::fromUtf8(data.mid(3));
    }
    return QString::fromUtf8(data);
}

// Reads a quoted text with \\ and \" escapes starting at pos (the opening quote); returns the
// position after the closing quote, or -1 when the quote is not closed.
qsizetype readQuoted(const QString& line, qsizetype pos, QString& out) {
    out.clear();
    for (qsizetype i = pos + 1; i < line.size(); ++i) {
        const QChar c = line[i];
        if (c == QLatin1Char('\\') && i + 1 < line.size()) {
            out += line[++i];
        } else if (c == QLatin1Char('"')) {
            return i + 1;
        } else {
            out += c;
        }
    }
    return -1;
}

QString quote(const QString& text) {
    QString out;
    out.reserve(text.size() + 2);
    out += QLatin1Char('"');
    for (const QChar c : text) {
        if (c == QLatin1Char('\\') || c == QLatin1Char('"')) {
            out += QLatin1Char('\\');
        }
        out += c;
    }
    out += QLatin1Char('"');
    return out;
}

// A text that a quoted string cannot hold: a control character (a line break ends the line,
// a NUL ends the text for other readers) or a lone surrogate, which UTF-8 cannot encode.
bool needsHexForm(const QString& text) {
    for (const QChar c : text) {
        if (c.unicode() < 0x20) {
            return true;
        }
    }
    return !text.isValidUtf16();
}

// A string that cannot stand in quotes is written as REG_SZ in hex: UTF-16LE code units and the
// terminating NUL.
QString hexString(const QString& text) {
    QString out = QStringLiteral("hex(1):");
    bool first = true;
    auto addByte = [&](unsigned byte) {
        if (!first) {
            out += QLatin1Char(',');
        }
        first = false;
        out += QStringLiteral("%1").arg(byte, 2, 16, QLatin1Char('0'));
    };
    for (const QChar c : text) {
        addByte(c.unicode() & 0xFF);
        addByte(c.unicode() >> 8);
    }
    addByte(0);
    addByte(0);
    return out;
}

bool parseHexString(const QString& data, QString& out) {
    const QString body = data.mid(7);
    const QStringList parts = body.split(QLatin1Char(','), Qt::SkipEmptyParts);
    if (parts.size() % 2 != 0) {
        return false;
    }
    out.clear();
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        bool ok1 = false;
        bool ok2 = false;
        const uint lo = parts[i].trimmed().toUInt(&ok1, 16);
        const uint hi = parts[i + 1].trimmed().toUInt(&ok2, 16);
        if (!ok1 || !ok2 || lo > 0xFF || hi > 0xFF) {
            return false;
        }
        out += QChar(static_cast<char16_t>(lo | (hi << 8)));
    }
    // Only the terminator ends the text: a NUL inside it is part of the value.
    if (out.endsWith(QChar(0))) {
        out.chop(1);
    }
    return true;
}

RegValue parseData(const QString& data) {
    RegValue value;
    if (data.startsWith(QLatin1Char('"'))) {
        QString text;
        const qsizetype end = readQuoted(data, 0, text);
        if (end > 0 && data.mid(end).trimmed().isEmpty()) {
            return RegValue::string(text);
        }
    } else if (data.startsWith(QLatin1String("dword:"), Qt::CaseInsensitive)) {
        const QString digits = data.mid(6).trimmed();
        bool ok = false;
        const uint number = digits.toUInt(&ok, 16);
        if (ok && !digits.isEmpty() && digits.size() <= 8) {
            return RegValue::number(number);
        }
    } else if (data.startsWith(QLatin1String("hex(1):"), Qt::CaseInsensitive)) {
        QString text;
        if (parseHexString(data, text)) {
            return RegValue::string(text);
        }
    }
    value.type = RegValueType::Other;
    value.raw = data;
    return value;
}

void chopTrailingSpace(QString& text) {
    qsizetype n = text.size();
    while (n > 0 && text[n - 1].isSpace()) {
        --n;
    }
    text.truncate(n);
}

QString trimEnd(const QString& line) {
    qsizetype n = line.size();
    while (n > 0 && line[n - 1].isSpace()) {
        --n;
    }
    return line.left(n);
}

} // namespace

QString RegistryHive::normalise(const QString& key) {
    return key.split(QLatin1Char('\\'), Qt::SkipEmptyParts).join(QLatin1Char('\\'));
}

QString RegistryHive::fold(const QString& name) {
    return normalise(name).toCaseFolded();
}

RegistryHive RegistryHive::parse(const QByteArray& data, const QString& fileName) {
    RegistryHive hive;
    const QStringList lines = decode(data).split(QLatin1Char('\n'));
    bool headerSeen = false;
    Key* current = nullptr;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        QString line = trimEnd(lines[i]);
        if (!headerSeen) {
            if (line.trimmed().isEmpty()) {
                continue;
            }
            const QString header = line.trimmed();
            if (header != kHeader && header != kOldHeader) {
                throw RegistryError(
                    QStringLiteral("The file %1 is not a registry file: its first line is not "
                                   "\"%2\".")
                        .arg(QDir::toNativeSeparators(fileName), kHeader));
            }
            headerSeen = true;
            continue;
        }
        if (line.trimmed().isEmpty()) {
            continue;
        }
        if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'))) {
            current = &hive.addKey(line.mid(1, line.size() - 2));
            continue;
        }
        QString name;
        qsizetype pos = -1;
        if (line.startsWith(QLatin1Char('@'))) {
            pos = 1;
        } else if (line.startsWith(QLatin1Char('"'))) {
            pos = readQuoted(line, 0, name);
        }
        while (pos > 0 && pos < line.size() && line[pos].isSpace()) {
            ++pos;
        }
        if (pos <= 0 || pos >= line.size() || line[pos] != QLatin1Char('=') || current == nullptr) {
            (current != nullptr ? current->keptLines : hive.preamble_) << line;
            continue;
        }
        QString valueText = line.mid(pos + 1).trimmed();
        // Long hex data continues on the next line after a trailing backslash. On the last line
        // a backslash continues nothing; kept, it would swallow the next value written after it.
        // What is kept is trimmed as a value read from one line is, so it reads back the same.
        if (valueText.startsWith(QLatin1String("hex"), Qt::CaseInsensitive)) {
            // Trimmed in place: a copy for each line would make a long value quadratic.
            while (valueText.endsWith(QLatin1Char('\\'))) {
                valueText.chop(1);
                if (i + 1 < lines.size()) {
                    valueText += lines[++i].trimmed();
                }
                chopTrailingSpace(valueText);
            }
        }
        current->put(name, parseData(valueText));
    }
    return hive;
}

RegistryHive RegistryHive::load(const QString& path) {
    const std::optional<QByteArray> data = readFile(path);
    return data ? parse(*data, path) : RegistryHive();
}

std::optional<QByteArray> RegistryHive::readFile(const QString& path) {
    QFile file(path);
    if (!file.exists()) {
        return std::nullopt;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        throw RegistryError(QStringLiteral("Unable to read the registry file %1: %2")
                                .arg(QDir::toNativeSeparators(path), file.errorString()));
    }
    QByteArray data = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        throw RegistryError(QStringLiteral("Unable to read the registry file %1: %2")
                                .arg(QDir::toNativeSeparators(path), file.errorString()));
    }
    return data;
}

QByteArray RegistryHive::serialize() const {
    QString out = kHeader + QStringLiteral("\n\n");
    for (const QString& line : preamble_) {
        out += line + QLatin1Char('\n');
    }
    if (!preamble_.isEmpty()) {
        out += QLatin1Char('\n');
    }
    for (const Key& key : keys_) {
        out += QLatin1Char('[') + key.name + QStringLiteral("]\n");
        for (const Value& v : key.values) {
            out += v.name.isEmpty() ? QStringLiteral("@") : quote(v.name);
            out += QLatin1Char('=');
            switch (v.value.type) {
            case RegValueType::String:
                out += needsHexForm(v.value.text) ? hexString(v.value.text) : quote(v.value.text);
                break;
            case RegValueType::DWord:
                out += QStringLiteral("dword:%1").arg(v.value.dword, 8, 16, QLatin1Char('0'));
                break;
            case RegValueType::Other:
                out += v.value.raw;
                break;
            }
            out += QLatin1Char('\n');
        }
        for (const QString& line : key.keptLines) {
            out += line + QLatin1Char('\n');
        }
        out += QLatin1Char('\n');
    }
    return out.toUtf8();
}

QByteArray RegistryHive::save(const QString& path) const {
    const QString folder = QFileInfo(path).absolutePath();
    if (!QDir().mkpath(folder)) {
        throw RegistryError(QStringLiteral("Unable to create the registry folder %1.")
                                .arg(QDir::toNativeSeparators(folder)));
    }
    QSaveFile file(path);
    file.setDirectWriteFallback(false);
    const QByteArray data = serialize();
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered) || !writeAll(file, data) ||
        !file.commit()) {
        throw RegistryError(QStringLiteral("Unable to write the registry file %1: %2")
                                .arg(QDir::toNativeSeparators(path), file.errorString()));
    }
    return data;
}

RegistryHive::Key* RegistryHive::findKey(const QString& key) {
    const auto it = index_.constFind(fold(key));
    return it == index_.constEnd() ? nullptr : &keys_[it.value()];
}

const RegistryHive::Key* RegistryHive::findKey(const QString& key) const {
    const auto it = index_.constFind(fold(key));
    return it == index_.constEnd() ? nullptr : &keys_[it.value()];
}

RegistryHive::Key& RegistryHive::addKey(const QString& key) {
    if (Key* existing = findKey(key)) {
        return *existing;
    }
    const QString name = normalise(key);
    index_.insert(fold(name), keys_.size());
    keys_.push_back({name, {}, {}, {}});
    return keys_.back();
}

bool RegistryHive::hasKey(const QString& key) const {
    return findKey(key) != nullptr;
}

const RegistryHive::Value* RegistryHive::Key::find(const QString& valueName) const {
    const auto it = valueIndex.constFind(valueName.toCaseFolded());
    return it == valueIndex.constEnd() ? nullptr : &values[it.value()];
}

void RegistryHive::Key::put(const QString& valueName, const RegValue& value) {
    QString folded = valueName.toCaseFolded();
    if (const auto it = valueIndex.constFind(folded); it != valueIndex.constEnd()) {
        values[it.value()].value = value;
        return;
    }
    valueIndex.insert(std::move(folded), values.size());
    values.push_back({valueName, value});
}

const RegValue* RegistryHive::value(const QString& key, const QString& name) const {
    const Key* k = findKey(key);
    const Value* v = k != nullptr ? k->find(name) : nullptr;
    return v != nullptr ? &v->value : nullptr;
}

void RegistryHive::refuseLineBreaks(const QString& key, const QString& name) {
    // A key or value name stands on one line of the hive, and the format has no escape for a
    // line break in it.
    if (key.contains(QLatin1Char('\n')) || name.contains(QLatin1Char('\n'))) {
        throw RegistryError(
            QStringLiteral("The registry key or value name \"%1\" holds a line break, which a "
                           "registry file cannot store.")
                .arg(name.contains(QLatin1Char('\n')) ? name : key));
    }
}

void RegistryHive::createKey(const QString& key) {
    refuseLineBreaks(key, QString());
    // Parents first, as registry exports list them; the root alone is not a key of its own.
    const QStringList parts = normalise(key).split(QLatin1Char('\\'), Qt::SkipEmptyParts);
    QString path;
    for (qsizetype i = 0; i < parts.size(); ++i) {
        path += (i == 0 ? QString() : QStringLiteral("\\")) + parts[i];
        if (i > 0) {
            addKey(path);
        }
    }
    if (parts.size() == 1) {
        addKey(path);
    }
}

void RegistryHive::setValue(const QString& key, const QString& name, const RegValue& value) {
    refuseLineBreaks(key, name);
    createKey(key);
    addKey(key).put(name, value);
}

} // namespace platform

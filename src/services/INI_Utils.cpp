#include "INI_Utils.h"

#include "TextCodec.h"
#include "ovUIL.h"
#include "platform/Exception.h"
#include "platform/FileAccess.h"
#include "platform/FileWrite.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace {

// Names compare ignoring the case of a..z only.
QString NameKey(const QString& name) {
    QString key = name;
    for (QChar& c : key) {
        if (c >= QLatin1Char('a') && c <= QLatin1Char('z')) {
            c = QChar(c.unicode() - 32);
        }
    }
    return key;
}

int HexDigit(QChar c) {
    if (c >= QLatin1Char('0') && c <= QLatin1Char('9')) {
        return c.unicode() - '0';
    }
    if (c >= QLatin1Char('a') && c <= QLatin1Char('f')) {
        return c.unicode() - 'a' + 10;
    }
    if (c >= QLatin1Char('A') && c <= QLatin1Char('F')) {
        return c.unicode() - 'A' + 10;
    }
    return -1;
}

} // namespace

TIniDocument::TIniDocument(const QString& fileName) : FileName(fileName) {
    const platform::KindAnswer kind = platform::fileAccess().fileKind(fileName);
    if (!kind.failed() && kind.kind == platform::FileKind::Missing) {
        return;
    }
    LoadFromBytes(platform::readRegularFile(fileName, MaxFileBytes));
}

bool TIniDocument::ParseInteger(const QString& text, int& value) {
    QString s = text;
    if (s.size() > 2 && s.at(0) == QLatin1Char('0') &&
        (s.at(1) == QLatin1Char('x') || s.at(1) == QLatin1Char('X'))) {
        s = QLatin1Char('$') + s.mid(2);
    }
    qsizetype i = 0;
    while (i < s.size() && s.at(i) == QLatin1Char(' ')) {
        ++i;
    }
    bool negative = false;
    if (i < s.size() && (s.at(i) == QLatin1Char('-') || s.at(i) == QLatin1Char('+'))) {
        negative = s.at(i) == QLatin1Char('-');
        ++i;
    }
    if (i < s.size() && s.at(i) == QLatin1Char('$')) {
        ++i;
        if (i >= s.size()) {
            return false;
        }
        quint64 v = 0;
        for (; i < s.size(); ++i) {
            const int d = HexDigit(s.at(i));
            if (d < 0) {
                return false;
            }
            v = v * 16 + static_cast<quint64>(d);
            if (v > 0xFFFFFFFFull) {
                return false;
            }
        }
        // Hexadecimal covers the full 32 bits: $FFFFFFFF is -1.
        const auto bits = static_cast<quint32>(v);
        value = static_cast<qint32>(negative ? 0u - bits : bits);
        return true;
    }
    if (i >= s.size()) {
        return false;
    }
    qint64 v = 0;
    for (; i < s.size(); ++i) {
        const QChar c = s.at(i);
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) {
            return false;
        }
        v = v * 10 + (c.unicode() - '0');
        if (v > 2147483648LL) {
            return false;
        }
    }
    if (negative) {
        v = -v;
    }
    if (v > 2147483647LL) {
        return false;
    }
    value = static_cast<int>(v);
    return true;
}

QString TIniDocument::WithoutLineBreaks(const QString& text) {
    if (!text.contains(QLatin1Char('\r')) && !text.contains(QLatin1Char('\n'))) {
        return text;
    }
    QString result;
    result.reserve(text.size());
    bool inBreak = false;
    for (const QChar c : text) {
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
            if (!inBreak) {
                result += QLatin1Char(' ');
            }
            inBreak = true;
        } else {
            result += c;
            inBreak = false;
        }
    }
    return result;
}

const TIniDocument::Section* TIniDocument::FindSection(const QString& section) const {
    const auto it = Index.constFind(NameKey(section));
    return it == Index.constEnd() ? nullptr : Sections[static_cast<size_t>(it.value())].get();
}

TIniDocument::Section& TIniDocument::SectionForWrite(const QString& section) {
    const QString name = WithoutLineBreaks(section);
    const QString key = NameKey(name);
    const auto it = Index.constFind(key);
    if (it != Index.constEnd()) {
        return *Sections[static_cast<size_t>(it.value())];
    }
    auto created = std::make_unique<Section>();
    created->Name = name;
    Index.insert(key, static_cast<int>(Sections.size()));
    Sections.push_back(std::move(created));
    return *Sections.back();
}

bool TIniDocument::SectionExists(const QString& section) const {
    return FindSection(section) != nullptr;
}

bool TIniDocument::ValueExists(const QString& section, const QString& key) const {
    const Section* s = FindSection(section);
    return s != nullptr && s->Index.contains(NameKey(key));
}

QString TIniDocument::ReadString(const QString& section, const QString& key,
                                 const QString& def) const {
    const Section* s = FindSection(section);
    if (s == nullptr) {
        return def;
    }
    const auto it = s->Index.constFind(NameKey(key));
    return it == s->Index.constEnd() ? def : s->Keys[static_cast<size_t>(it.value())].second;
}

int TIniDocument::ReadInteger(const QString& section, const QString& key, int def) const {
    int value = 0;
    return ParseInteger(ReadString(section, key, QString()), value) ? value : def;
}

bool TIniDocument::ReadBool(const QString& section, const QString& key, bool def) const {
    return ReadInteger(section, key, def ? 1 : 0) != 0;
}

void TIniDocument::WriteString(const QString& section, const QString& key, const QString& value) {
    Section& s = SectionForWrite(section);
    const QString name = WithoutLineBreaks(key);
    const QString k = NameKey(name);
    const QString v = WithoutLineBreaks(value);
    const auto it = s.Index.constFind(k);
    if (it != s.Index.constEnd()) {
        s.Keys[static_cast<size_t>(it.value())].second = v;
        return;
    }
    s.Index.insert(k, static_cast<int>(s.Keys.size()));
    s.Keys.emplace_back(name, v);
}

void TIniDocument::WriteInteger(const QString& section, const QString& key, int value) {
    WriteString(section, key, QString::number(value));
}

void TIniDocument::WriteBool(const QString& section, const QString& key, bool value) {
    WriteString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

QStringList TIniDocument::SectionNames() const {
    QStringList names;
    names.reserve(static_cast<qsizetype>(Sections.size()));
    for (const auto& s : Sections) {
        names << s->Name;
    }
    return names;
}

void TIniDocument::SetText(const QString& text) {
    Sections.clear();
    Index.clear();
    Section* current = nullptr;
    qsizetype start = 0;
    const qsizetype n = text.size();
    while (start <= n) {
        qsizetype end = start;
        while (end < n && text.at(end) != QLatin1Char('\r') && text.at(end) != QLatin1Char('\n')) {
            ++end;
        }
        const QString line = TrimControl(text.mid(start, end - start));
        if (end < n && text.at(end) == QLatin1Char('\r') && end + 1 < n &&
            text.at(end + 1) == QLatin1Char('\n')) {
            ++end;
        }
        start = end + 1;
        if (line.isEmpty() || line.startsWith(QLatin1Char(';'))) {
            continue;
        }
        if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'))) {
            const QString name = TrimControl(line.mid(1, line.size() - 2));
            // A repeated section is ignored: the first one wins.
            current = Index.contains(NameKey(name)) ? nullptr : &SectionForWrite(name);
            continue;
        }
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (current == nullptr || eq < 0) {
            continue;
        }
        const QString key = TrimControl(line.left(eq));
        const QString k = NameKey(key);
        if (current->Index.contains(k)) {
            continue; // the first key wins
        }
        current->Index.insert(k, static_cast<int>(current->Keys.size()));
        current->Keys.emplace_back(key, TrimControl(line.mid(eq + 1)));
    }
}

QString TIniDocument::GetText() const {
    QString text;
    for (const auto& s : Sections) {
        text += QLatin1Char('[') + s->Name + QStringLiteral("]\r\n");
        for (const auto& [key, value] : s->Keys) {
            text += key + QLatin1Char('=') + value + QStringLiteral("\r\n");
        }
        text += QStringLiteral("\r\n");
    }
    return text;
}

void TIniDocument::LoadFromBytes(const QByteArray& bytes) {
    SetText(textcodec::DecodeText(bytes));
}

QByteArray TIniDocument::ToBytes() const {
    return textcodec::EncodeText(GetText());
}

void TIniDocument::UpdateFile() const {
    QSaveFile file(FileName);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        throw platform::Exception(file.errorString());
    }
    const QByteArray bytes = ToBytes();
    if (!platform::writeAll(file, bytes) || !file.commit()) {
        const QString details = file.errorString();
        file.cancelWriting();
        throw platform::Exception(details);
    }
}

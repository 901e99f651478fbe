#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>
#include <memory>
#include <utility>
#include <vector>

// An INI text held in memory: sections and keys in the order first written, names compared
// ignoring the case of a..z, values read as the Windows edition reads them. Lines end with CR LF
// on writing; CR LF, LF and CR all end a line on reading.
class TIniDocument {
public:
    // The longest file that is read. The INI files read are data files, the largest real ones a
    // few MB; the limit is far above that, yet keeps a file of the wrong kind (a disk image under
    // a data file's name) from taking the machine's memory: a file is held about three times over
    // while it is read (bytes, text, sections).
    static constexpr qint64 MaxFileBytes = qint64(64) * 1024 * 1024;

    TIniDocument() = default;
    // Reads the file when it exists; an absent file gives an empty document. Raises
    // platform::Exception when the file exists but cannot be read, is no regular file (a FIFO, a
    // device: refused without waiting on it) or is longer than MaxFileBytes.
    explicit TIniDocument(const QString& fileName);

    QString getFileName() const { return FileName; }

    bool SectionExists(const QString& section) const;
    bool ValueExists(const QString& section, const QString& key) const;
    QString ReadString(const QString& section, const QString& key, const QString& def) const;
    // Decimal, or hexadecimal after "0x", "0X" or "$"; anything else gives the default.
    int ReadInteger(const QString& section, const QString& key, int def) const;
    // An integer: 0 false, any other true; text that is no integer gives the default.
    bool ReadBool(const QString& section, const QString& key, bool def) const;
    // Line breaks in names and values are replaced: a run of CR and LF becomes one blank, so a
    // value can never start a line of its own.
    void WriteString(const QString& section, const QString& key, const QString& value);
    void WriteInteger(const QString& section, const QString& key, int value);
    void WriteBool(const QString& section, const QString& key, bool value);

    QStringList SectionNames() const;

    void SetText(const QString& text);
    QString GetText() const;
    void LoadFromBytes(const QByteArray& bytes);
    // Code page 1252 when the text fits it, else UTF-8 with a byte-order mark.
    QByteArray ToBytes() const;
    // Writes the whole document to its file through a temporary file and a rename; raises
    // platform::Exception on failure, leaving any previous file as it was.
    void UpdateFile() const;

    // Reads an integer value the way the Windows edition does (see ReadInteger).
    static bool ParseInteger(const QString& text, int& value);
    // Replaces every run of CR and LF characters by one blank.
    static QString WithoutLineBreaks(const QString& text);

private:
    struct Section {
        QString Name;
        std::vector<std::pair<QString, QString>> Keys;
        QHash<QString, int> Index;
    };
    const Section* FindSection(const QString& section) const;
    Section& SectionForWrite(const QString& section);

    QString FileName;
    std::vector<std::unique_ptr<Section>> Sections;
    QHash<QString, int> Index;
};

#pragma once

#include "platform/Exception.h"

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

namespace platform {

// A registry access that failed: a hive that cannot be read or written, a value of the wrong type.
class RegistryError : public Exception {
public:
    using Exception::Exception;
};

enum class RegValueType { String, DWord, Other };

// One value as the hive stores it. A value of a type the program does not use keeps its data
// text as written (after the "="), so that rewriting the hive leaves it unchanged.
struct RegValue {
    RegValueType type = RegValueType::String;
    QString text;
    quint32 dword = 0;
    QString raw;

    static RegValue string(const QString& text) { return {RegValueType::String, text, 0, {}}; }
    static RegValue number(quint32 value) { return {RegValueType::DWord, {}, value, {}}; }
};

// One registry hive file in the text format of registry exports ("Windows Registry Editor
// Version 5.00", "[KEY]" lines, "name"="text", "name"=dword:0000000a, @= for the default value).
// Key and value names compare ignoring case; lines the program does not understand are kept.
class RegistryHive {
public:
    // Parses hive text (UTF-8, or UTF-16 with its byte order mark); raises RegistryError naming
    // fileName when the text is not a hive.
    static RegistryHive parse(const QByteArray& data, const QString& fileName);
    // Reads a hive file; a missing file is an empty hive. Raises RegistryError when the file
    // cannot be read or is not a hive.
    static RegistryHive load(const QString& path);
    // The bytes of a hive file, or nothing when there is no such file. Raises RegistryError when
    // the file cannot be read.
    static std::optional<QByteArray> readFile(const QString& path);

    QByteArray serialize() const;
    // Writes the hive through a temporary file and a rename, creating the folder when missing;
    // returns the bytes written.
    QByteArray save(const QString& path) const;

    bool hasKey(const QString& key) const;
    // nullptr when the key or the value is missing; an empty name is the default value.
    const RegValue* value(const QString& key, const QString& name) const;
    // Creates the key (with every parent) when missing, then sets the value; a text reads back
    // exactly as set. Raises RegistryError for a key or value name with a line break.
    void setValue(const QString& key, const QString& name, const RegValue& value);
    void createKey(const QString& key);

private:
    struct Value {
        QString name;
        RegValue value;
    };
    struct Key {
        QString name;
        std::vector<Value> values; // in the order written
        QStringList keptLines;     // comments and lines that are not values, written back as read
        QHash<QString, size_t> valueIndex; // case-folded name -> position in values

        const Value* find(const QString& valueName) const;
        // Sets the value of that name, adding it after the others when it is new.
        void put(const QString& valueName, const RegValue& value);
    };

    Key* findKey(const QString& key);
    const Key* findKey(const QString& key) const;
    Key& addKey(const QString& key);
    static void refuseLineBreaks(const QString& key, const QString& name);
    static QString normalise(const QString& key);
    static QString fold(const QString& name);

    QStringList preamble_; // lines before the first key other than the header
    std::vector<Key> keys_;
    QHash<QString, size_t> index_;
};

} // namespace platform

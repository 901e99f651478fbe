#pragma once

// A list of texts written as UTF-8 literals, for expected values in tests (the build allows no
// implicit conversion from char strings to QString).
#include <QStringList>
#include <initializer_list>
#include <vector>

inline QStringList Texts(std::initializer_list<const char*> texts) {
    QStringList list;
    list.reserve(static_cast<qsizetype>(texts.size()));
    for (const char* text : texts) {
        list << QString::fromUtf8(text);
    }
    return list;
}

inline std::vector<QString> TextVector(std::initializer_list<const char*> texts) {
    std::vector<QString> list;
    list.reserve(texts.size());
    for (const char* text : texts) {
        list.push_back(QString::fromUtf8(text));
    }
    return list;
}

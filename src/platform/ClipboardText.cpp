#include "ClipboardText.h"

namespace platform {

QString clipboardField(const QString& text) {
    const bool quote = text.contains(QLatin1Char('\n')) || text.contains(QLatin1Char('\r')) ||
                       text.contains(QLatin1Char('\t')) || text.startsWith(QLatin1Char('"'));
    if (!quote) {
        return text;
    }
    QString inner = text;
    inner.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + inner + QLatin1Char('"');
}

QString clipboardRow(const QStringList& fields) {
    QString row;
    for (qsizetype i = 0; i < fields.size(); ++i) {
        if (i > 0) {
            row += QLatin1Char('\t');
        }
        row += clipboardField(fields[i]);
    }
    return row;
}

namespace {

bool isFieldEnd(const QString& text, qsizetype p) {
    return p >= text.size() || text[p] == QLatin1Char('\t') || text[p] == QLatin1Char('\r') ||
           text[p] == QLatin1Char('\n');
}

// Reads a quoted field starting at the quote at `start`; returns the position after the closing
// quote, or -1 when the text there is not a quoted field.
qsizetype readQuoted(const QString& text, qsizetype start, QString& field) {
    QString content;
    bool special = false;
    qsizetype p = start + 1;
    while (p < text.size()) {
        const QChar c = text[p];
        if (c == QLatin1Char('"')) {
            if (p + 1 < text.size() && text[p + 1] == QLatin1Char('"')) {
                content += QLatin1Char('"');
                special = true;
                p += 2;
                continue;
            }
            if (!special || !isFieldEnd(text, p + 1)) {
                return -1;
            }
            field = content;
            return p + 1;
        }
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n') || c == QLatin1Char('\t')) {
            special = true;
        }
        content += c;
        ++p;
    }
    return -1;
}

} // namespace

ClipboardRows parseClipboardRows(const QString& text) {
    ClipboardRows result;
    QStringList row;
    QString field;
    bool rowOpen = false;
    qsizetype p = 0;
    while (p < text.size()) {
        if (field.isEmpty() && text[p] == QLatin1Char('"')) {
            QString quoted;
            const qsizetype after = readQuoted(text, p, quoted);
            if (after >= 0) {
                field = quoted;
                rowOpen = true;
                p = after;
                continue;
            }
        }
        const QChar c = text[p];
        if (c == QLatin1Char('\t')) {
            row << field;
            field.clear();
            rowOpen = true;
            ++p;
        } else if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
            row << field;
            field.clear();
            result.Rows.push_back(row);
            row.clear();
            rowOpen = false;
            p += (c == QLatin1Char('\r') && p + 1 < text.size() && text[p + 1] == QLatin1Char('\n'))
                     ? 2
                     : 1;
        } else {
            field += c;
            rowOpen = true;
            ++p;
        }
    }
    if (rowOpen) {
        row << field;
        result.Rows.push_back(row);
        result.LastRowEnded = false;
    }
    return result;
}

} // namespace platform

#include "workbook/CellRef.h"

namespace workbook {

QString columnLetters(int column) {
    if (column < 1 || column > kMaxColumns) {
        return {};
    }
    QString letters;
    while (column > 0) {
        const int rest = (column - 1) % 26;
        letters.prepend(QChar(u'A' + rest));
        column = (column - 1) / 26;
    }
    return letters;
}

int lettersToColumn(QStringView letters) {
    if (letters.isEmpty() || letters.size() > 3) {
        return 0;
    }
    int column = 0;
    for (const QChar c : letters) {
        const char16_t u = c.unicode();
        int digit = 0;
        if (u >= u'A' && u <= u'Z') {
            digit = u - u'A' + 1;
        } else if (u >= u'a' && u <= u'z') {
            digit = u - u'a' + 1;
        } else {
            return 0;
        }
        column = column * 26 + digit;
    }
    return column <= kMaxColumns ? column : 0;
}

std::optional<CellPos> parseCellRef(QStringView ref) {
    qsizetype i = 0;
    if (i < ref.size() && ref[i] == u'$') {
        ++i;
    }
    const qsizetype letterStart = i;
    while (i < ref.size() && ref[i].isLetter() && ref[i].unicode() < 128) {
        ++i;
    }
    const int column = lettersToColumn(ref.mid(letterStart, i - letterStart));
    if (column == 0) {
        return std::nullopt;
    }
    if (i < ref.size() && ref[i] == u'$') {
        ++i;
    }
    if (i >= ref.size() || ref[i] == u'0') {
        return std::nullopt;
    }
    long long row = 0;
    for (; i < ref.size(); ++i) {
        const char16_t u = ref[i].unicode();
        if (u < u'0' || u > u'9' || row > kMaxRows) {
            return std::nullopt;
        }
        row = row * 10 + (u - u'0');
    }
    if (row < 1 || row > kMaxRows) {
        return std::nullopt;
    }
    return CellPos{int(row), column};
}

QString cellRef(int row, int column) {
    return columnLetters(column) + QString::number(row);
}

} // namespace workbook

#include "SheetLimits.h"

#include "StrUtils.h"

#include <algorithm>

namespace {

// The extension of a file name, either separator, blanks around the name and extension ignored.
bool isXlsPath(const QString& path) {
    const qsizetype slash =
        std::max(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\')));
    const QString name = path.mid(slash + 1).trimmed();
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return dot >= 0 && UpperCaseAZ(name.mid(dot + 1).trimmed()) == QLatin1String("XLS");
}

} // namespace

TSheetGrid SheetGrid(uint8_t version, const QString& workbookPath) {
    const bool small =
        (version >= 1 && version <= 4) || (version >= 5 && version <= 7 && isXlsPath(workbookPath));
    return small ? TSheetGrid{65536, 256} : TSheetGrid{1048576, 16384};
}

int LettersToColumn(const QString& letters, int limit) {
    const QString upper = UpperCaseAZ(letters);
    if (upper.isEmpty() || upper.size() > 3) {
        return 0;
    }
    int value = 0;
    for (const QChar c : upper) {
        if (c < QLatin1Char('A') || c > QLatin1Char('Z')) {
            return 0;
        }
        value = value * 26 + (c.unicode() - u'A' + 1);
    }
    return value > limit ? 0 : value;
}

QString ColumnToLetters(int column, int maxColumns) {
    if (column <= 0 || column > maxColumns) {
        return {};
    }
    QString letters;
    for (int n = column; n > 0; n = (n - 1) / 26) {
        letters.prepend(QChar(u'A' + (n - 1) % 26));
    }
    return letters;
}

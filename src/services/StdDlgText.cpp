#include "StdDlgText.h"

#include "StdDlg.h"
#include "ovUIL.h"

namespace {

QString framed(const QString& text) {
    return QLatin1Char(' ') + text + QLatin1Char(' ');
}

int shortcutTextId(int imageIndex) {
    switch (imageIndex) {
    case glyphCancel:
        return 1142;
    case glyphClose:
        return 1143;
    case glyphContinue:
        return 1144;
    case glyphNo:
        return 1145;
    case glyphOk:
        return 1146;
    case glyphRetry:
        return 1147;
    case glyphYes:
        return 1148;
    default:
        return 0;
    }
}

} // namespace

QStringList WrapStdDlgLines(const QStringList& msgLines, int wrapWidth,
                            const std::function<int(const QString&)>& textWidth) {
    QStringList memo;
    QString current;
    for (const QString& msgLine : msgLines) {
        QString line = msgLine;
        line.replace(QStringLiteral("\r\n"), QStringLiteral("\r"));
        for (const QChar c : line) {
            if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
                memo << framed(current);
                current.clear();
                continue;
            }
            current += c;
            if (textWidth(current) >= wrapWidth - textWidth(QString(c))) {
                memo << framed(current);
                current.clear();
            }
        }
        memo << framed(current);
        current.clear();
    }

    // Trim the whole text as one string: leading and trailing blanks and line breaks go.
    const QString whole = TrimControl(memo.join(QLatin1Char('\n')));
    QStringList result;
    if (!whole.isEmpty()) {
        result = whole.split(QLatin1Char('\n'));
    }
    result.prepend(QString());
    if (result.size() > 1) {
        result[1] = framed(result[1]);
    }
    result.append(QString());
    return result;
}

QString StdDlgButtonHint(int imageIndex, const QString& hint) {
    const int id = shortcutTextId(imageIndex);
    if (id == 0) {
        return hint;
    }
    return hint + QStringLiteral("\r\n") + UIT(id);
}

int StdDlgEscapeResult(const StdDlgButtonState& left, const StdDlgButtonState& middle,
                       const StdDlgButtonState& right) {
    for (const StdDlgButtonState* b : {&right, &middle, &left}) {
        if (b->visible && b->modalResult != mrYes) {
            return b->modalResult;
        }
    }
    return mrCancel;
}

#include "NumberUtils.h"

#include <QLocale>

namespace {

bool isDigit(QChar c) {
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

bool at(const QString& text, qsizetype i, const QString& part) {
    return !part.isEmpty() && i >= 0 && QStringView(text).mid(i).startsWith(part);
}

// Whether a "+" at i stands between two numbers ("1+2", "1 + .5"): then it is an operator, not a
// sign, and the text is not one number.
bool joinsTwoNumbers(const QString& t, qsizetype i, const QString& decimal) {
    qsizetype left = i - 1;
    while (left >= 0 && t[left] == QLatin1Char(' ')) {
        --left;
    }
    qsizetype right = i + 1;
    while (right < t.size() && t[right] == QLatin1Char(' ')) {
        ++right;
    }
    const bool numberBefore =
        left >= 0 && (isDigit(t[left]) || at(t, left - decimal.size() + 1, decimal));
    const bool numberAfter = right < t.size() && (isDigit(t[right]) || at(t, right, decimal));
    return numberBefore && numberAfter;
}

} // namespace

TNumberSeparators SystemNumberSeparators() {
    const QLocale locale = QLocale::system();
    return {locale.groupSeparator(), locale.decimalPoint(), locale.currencySymbol()};
}

double ParseNumberLenient(const QString& text) {
    return ParseNumberLenient(text, SystemNumberSeparators());
}

double ParseNumberLenient(const QString& text, const TNumberSeparators& separators) {
    const QString dec = separators.Decimal.isEmpty() ? QStringLiteral(".") : separators.Decimal;
    const QString thousand = separators.Thousand;
    const QString currency = separators.Currency;

    QString t = text.trimmed();
    if (t.isEmpty()) {
        return 0;
    }
    while (t.contains(QLatin1String("  "))) {
        t.replace(QLatin1String("  "), QLatin1String(" "));
    }
    if (!thousand.isEmpty() && thousand != dec) {
        const qsizetype d = t.indexOf(dec);
        if (d < 0) {
            t.remove(thousand);
        } else {
            t = t.left(d).remove(thousand) + t.mid(d);
        }
    }
    if (!currency.isEmpty()) {
        t.remove(QLatin1Char(' ') + currency, Qt::CaseInsensitive);
        t.remove(currency + QLatin1Char(' '), Qt::CaseInsensitive);
        t.remove(currency, Qt::CaseInsensitive);
    }
    t.remove(QLatin1String(" %"));
    t.remove(QLatin1String("% "));
    t.remove(QLatin1Char('%'));
    for (qsizetype i = t.indexOf(QLatin1Char('+')); i >= 0;
         i = t.indexOf(QLatin1Char('+'), i + 1)) {
        if (joinsTwoNumbers(t, i, dec)) {
            return 0;
        }
    }
    t.remove(QLatin1String(" +"));
    t.remove(QLatin1String("+ "));
    t.remove(QLatin1Char('+'));
    t.replace(QLatin1String(" -"), QLatin1String("-"));
    t.replace(QLatin1String("- "), QLatin1String("-"));

    const qsizetype n = t.size();
    const qsizetype decLength = dec.size();
    qsizetype start = -1;
    qsizetype i = 0;
    bool negative = false;
    bool parenthesis = false;
    bool decimalSeen = false;
    // Find where the number starts.
    for (; i < n; ++i) {
        if (at(t, i, dec) && i + decLength < n && isDigit(t[i + decLength])) {
            start = i;
            decimalSeen = true;
            i += decLength;
            break;
        }
        const QChar c = t[i];
        if ((c == QLatin1Char('-') || c == QLatin1Char('(')) && i + 1 < n &&
            (isDigit(t[i + 1]) || at(t, i + 1, dec))) {
            if (c == QLatin1Char('-')) {
                negative = true;
            } else {
                parenthesis = true;
            }
            start = i + 1;
            ++i;
            break;
        }
        if (isDigit(c)) {
            start = i;
            break;
        }
    }
    if (start < 0) {
        return 0;
    }
    // Find where it ends.
    qsizetype end = n;
    while (i < n) {
        if (isDigit(t[i])) {
            ++i;
            continue;
        }
        if (at(t, i, dec)) {
            if (!decimalSeen) {
                decimalSeen = true;
                i += decLength;
                continue;
            }
            end = i;
            break;
        }
        const QChar c = t[i];
        if (c == QLatin1Char('-')) {
            // A trailing sign, unless another number follows ("10-20").
            const qsizetype next = i + 1;
            if (next < n && (isDigit(t[next]) || at(t, next, dec))) {
                return 0;
            }
            negative = true;
        } else if (c == QLatin1Char(')') && parenthesis) {
            negative = true;
        }
        end = i;
        break;
    }
    QString number = t.mid(start, end - start);
    if (number.isEmpty() || number == dec) {
        return 0;
    }
    number.replace(dec, QLatin1String("."));
    if (number.endsWith(QLatin1Char('.'))) {
        number += QLatin1Char('0');
    }
    if (number.startsWith(QLatin1Char('.'))) {
        number.prepend(QLatin1Char('0'));
    }
    bool ok = false;
    const double value = QLocale::c().toDouble(number, &ok);
    if (!ok) {
        return 0;
    }
    return negative ? -value : value;
}

#include "StrUtils.h"

#include <QDate>
#include <QTime>
#include <vector>

QString StrLeft(const QString& text, int n) {
    return n <= 0 ? QString() : text.left(n);
}

QString StrMid(const QString& text, int p, int n) {
    const int start = p < 1 ? 1 : p;
    if (start > text.size() || n < 0) {
        return {};
    }
    return n == 0 ? text.mid(start - 1) : text.mid(start - 1, n);
}

QString StrRight(const QString& text, int n) {
    return n <= 0 ? QString() : text.right(n);
}

int PosFrom(int p, const QString& text, const QString& sub) {
    const int start = p < 1 ? 1 : p;
    if (sub.isEmpty() || start > text.size()) {
        return 0;
    }
    const qsizetype found = text.indexOf(sub, start - 1);
    return found < 0 ? 0 : static_cast<int>(found - (start - 1) + 1);
}

QString UpperCaseAZ(const QString& text) {
    QString result = text;
    for (QChar& c : result) {
        if (c >= QLatin1Char('a') && c <= QLatin1Char('z')) {
            c = QChar(c.unicode() - 32);
        }
    }
    return result;
}

QString LineFeedsToSpaces(const QString& text) {
    QString out = text;
    out.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return out;
}

int StrToIntOrZero(const QString& text) {
    const QString t = text.trimmed();
    if (t.isEmpty()) {
        return 0;
    }
    bool ok = false;
    const int value = t.toInt(&ok, 10);
    return ok ? value : 0;
}

bool IsOutOfRange(int value, int low, int high) {
    return value < low || value > high;
}

namespace {

struct Token {
    enum Kind { Number, Month, AmPm, DayName, Colon, DateSep } kind;
    int value = 0;  // number, month 1..12, 0 am / 1 pm
    int digits = 0; // digits of a number
};

int monthOf(const QString& word, const QLocale& locale) {
    const QLocale english(QLocale::English);
    for (int m = 1; m <= 12; ++m) {
        for (const QLocale* l : {&english, &locale}) {
            if (word.compare(l->monthName(m, QLocale::LongFormat), Qt::CaseInsensitive) == 0 ||
                word.compare(l->monthName(m, QLocale::ShortFormat), Qt::CaseInsensitive) == 0) {
                return m;
            }
        }
    }
    if (word.compare(QLatin1String("Sept"), Qt::CaseInsensitive) == 0) {
        return 9;
    }
    return 0;
}

bool isDayName(const QString& word, const QLocale& locale) {
    const QLocale english(QLocale::English);
    for (int d = 1; d <= 7; ++d) {
        for (const QLocale* l : {&english, &locale}) {
            if (word.compare(l->dayName(d, QLocale::LongFormat), Qt::CaseInsensitive) == 0 ||
                word.compare(l->dayName(d, QLocale::ShortFormat), Qt::CaseInsensitive) == 0) {
                return true;
            }
        }
    }
    return false;
}

int ampmOf(const QString& word, const QLocale& locale) {
    if (word.compare(QLatin1String("AM"), Qt::CaseInsensitive) == 0 ||
        word.compare(locale.amText(), Qt::CaseInsensitive) == 0) {
        return 0;
    }
    if (word.compare(QLatin1String("PM"), Qt::CaseInsensitive) == 0 ||
        word.compare(locale.pmText(), Qt::CaseInsensitive) == 0) {
        return 1;
    }
    return -1;
}

bool tokenize(const QString& s, const QLocale& locale, std::vector<Token>& tokens) {
    const bool dotDates = locale.dateFormat(QLocale::ShortFormat).contains(QLatin1Char('.'));
    for (qsizetype i = 0; i < s.size();) {
        const QChar c = s[i];
        if (c.isDigit()) {
            qsizetype j = i;
            while (j < s.size() && s[j].isDigit() && j - i < 9) {
                ++j;
            }
            if (j < s.size() && s[j].isDigit()) {
                return false;
            }
            tokens.push_back({Token::Number, s.mid(i, j - i).toInt(), int(j - i)});
            i = j;
        } else if (c.isLetter()) {
            qsizetype j = i;
            while (j < s.size() && (s[j].isLetter() || s[j] == QLatin1Char('.'))) {
                ++j;
            }
            QString word = s.mid(i, j - i);
            while (word.endsWith(QLatin1Char('.'))) {
                word.chop(1);
            }
            if (const int m = monthOf(word, locale); m > 0) {
                tokens.push_back({Token::Month, m, 0});
            } else if (const int ap = ampmOf(word, locale); ap >= 0) {
                tokens.push_back({Token::AmPm, ap, 0});
            } else if (isDayName(word, locale)) {
                tokens.push_back({Token::DayName, 0, 0});
            } else if (word.compare(QLatin1String("T"), Qt::CaseInsensitive) != 0) {
                return false;
            }
            i = j;
        } else if (c == QLatin1Char(':')) {
            tokens.push_back({Token::Colon, 0, 0});
            ++i;
        } else if (c == QLatin1Char('/') || c == QLatin1Char('-') || c == QLatin1Char(',') ||
                   c.isSpace() || (c == QLatin1Char('.') && dotDates)) {
            tokens.push_back({Token::DateSep, 0, 0});
            ++i;
        } else if (c == QLatin1Char('.')) {
            // a fraction of seconds: digits after a time's seconds
            tokens.push_back({Token::Colon, 1, 0});
            ++i;
        } else {
            return false;
        }
    }
    return true;
}

int fullYear(const Token& t) {
    if (t.digits <= 2) {
        return t.value < 30 ? 2000 + t.value : 1900 + t.value;
    }
    return t.value;
}

// The order of day, month and year in the locale's short date format: "DMY", "MDY" or "YMD".
QString dateOrder(const QLocale& locale) {
    const QString format = locale.dateFormat(QLocale::ShortFormat);
    const qsizetype d = format.indexOf(QLatin1Char('d'));
    const qsizetype m = format.indexOf(QLatin1Char('M'));
    const qsizetype y = format.indexOf(QLatin1Char('y'));
    if (y >= 0 && y < m && y < d) {
        return QStringLiteral("YMD");
    }
    return (m >= 0 && d >= 0 && m < d) ? QStringLiteral("MDY") : QStringLiteral("DMY");
}

std::optional<QTime> readTime(std::vector<Token>& tokens) {
    // h:mm[:ss[.fff]] [AM|PM]; the tokens used are removed.
    for (size_t i = 0; i + 2 < tokens.size(); ++i) {
        if (tokens[i].kind != Token::Number || tokens[i + 1].kind != Token::Colon ||
            tokens[i + 1].value != 0 || tokens[i + 2].kind != Token::Number) {
            continue;
        }
        size_t end = i + 3;
        int h = tokens[i].value;
        const int mi = tokens[i + 2].value;
        int sec = 0;
        if (end + 1 < tokens.size() && tokens[end].kind == Token::Colon && tokens[end].value == 0 &&
            tokens[end + 1].kind == Token::Number) {
            sec = tokens[end + 1].value;
            end += 2;
            if (end + 1 < tokens.size() && tokens[end].kind == Token::Colon &&
                tokens[end].value == 1 && tokens[end + 1].kind == Token::Number) {
                end += 2;
            }
        }
        size_t after = end;
        while (after < tokens.size() && tokens[after].kind == Token::DateSep) {
            ++after;
        }
        if (after < tokens.size() && tokens[after].kind == Token::AmPm) {
            if (h < 1 || h > 12) {
                return std::nullopt;
            }
            h = (h % 12) + (tokens[after].value == 1 ? 12 : 0);
            end = after + 1;
        }
        if (h > 23 || mi > 59 || sec > 59) {
            return std::nullopt;
        }
        tokens.erase(tokens.begin() + static_cast<long>(i),
                     tokens.begin() + static_cast<long>(end));
        return QTime(h, mi, sec);
    }
    return std::nullopt;
}

std::optional<QDate> readDate(const std::vector<Token>& tokens, const QLocale& locale) {
    std::vector<Token> numbers;
    int month = 0;
    for (const Token& t : tokens) {
        if (t.kind == Token::Number) {
            numbers.push_back(t);
        } else if (t.kind == Token::Month) {
            if (month != 0) {
                return std::nullopt;
            }
            month = t.value;
        } else if (t.kind != Token::DateSep && t.kind != Token::DayName) {
            return std::nullopt;
        }
    }
    const int thisYear = QDate::currentDate().year();
    int d = 1;
    int m = month;
    int y = thisYear;
    if (month != 0) {
        if (numbers.size() == 2) {
            const bool firstIsYear = numbers[0].digits > 2 || numbers[0].value > 31;
            const Token& day = firstIsYear ? numbers[1] : numbers[0];
            const Token& year = firstIsYear ? numbers[0] : numbers[1];
            d = day.value;
            y = fullYear(year);
        } else if (numbers.size() == 1) {
            if (numbers[0].digits > 2 || numbers[0].value > 31) {
                y = fullYear(numbers[0]);
            } else {
                d = numbers[0].value;
            }
        } else {
            return std::nullopt;
        }
    } else if (numbers.size() == 3) {
        QString order = dateOrder(locale);
        if (numbers[0].digits > 2) {
            order = QStringLiteral("YMD");
        }
        for (int i = 0; i < 3; ++i) {
            const QChar part = order[i];
            if (part == QLatin1Char('D')) {
                d = numbers[i].value;
            } else if (part == QLatin1Char('M')) {
                m = numbers[i].value;
            } else {
                y = fullYear(numbers[i]);
            }
        }
    } else if (numbers.size() == 2) {
        QString order = dateOrder(locale).remove(QLatin1Char('Y'));
        if (numbers[0].digits > 2) {
            return std::nullopt;
        }
        d = numbers[order == QLatin1String("DM") ? 0 : 1].value;
        m = numbers[order == QLatin1String("DM") ? 1 : 0].value;
    } else {
        return std::nullopt;
    }
    const QDate date(y, m, d);
    return date.isValid() ? std::optional<QDate>(date) : std::nullopt;
}

} // namespace

std::optional<QDateTime> TextToDateTime(const QString& text, const QLocale& locale) {
    const QString s = text.trimmed();
    if (s.isEmpty()) {
        return std::nullopt;
    }
    const QDateTime iso = QDateTime::fromString(s, Qt::ISODate);
    if (iso.isValid()) {
        return iso;
    }
    std::vector<Token> tokens;
    if (!tokenize(s, locale, tokens)) {
        return std::nullopt;
    }
    const std::optional<QTime> time = readTime(tokens);
    bool onlySeparators = true;
    for (const Token& t : tokens) {
        if (t.kind != Token::DateSep) {
            onlySeparators = false;
        }
    }
    if (onlySeparators) {
        if (!time) {
            return std::nullopt;
        }
        return QDateTime(QDate(1899, 12, 30), *time);
    }
    const std::optional<QDate> date = readDate(tokens, locale);
    if (!date) {
        return std::nullopt;
    }
    return QDateTime(*date, time.value_or(QTime(0, 0)));
}

bool IsDate(const QString& text) {
    if (text.trimmed().size() <= 2) {
        return false;
    }
    return TextToDateTime(text, QLocale::system()).has_value();
}

QString Framed(const QString& text) {
    return QLatin1Char(' ') + text + QLatin1Char(' ');
}

#include "DateText.h"

#include <QDate>
#include <QLocale>
#include <QStringList>
#include <QTime>

#include <charconv>
#include <cmath>

namespace engine {

namespace {

const QDate kDayZero(1899, 12, 30);

// The spreadsheet's range of dates: 1 Jan 100 to 31 Dec 9999.
constexpr double kMinDateTime = -657434.0;
constexpr double kMaxDateTime = 2958466.0;

double DateTimeValue(const QDate& date, const QTime& time) {
    const double day = static_cast<double>(kDayZero.daysTo(date));
    const double fraction = time.msecsSinceStartOfDay() / 86400000.0;
    // Before day 0 the fraction counts away from zero, as the date-time type stores it.
    return day < 0 ? day - fraction : day + fraction;
}

std::optional<QTime> ParseTime(const QString& text) {
    static const QStringList kFormats = {
        QStringLiteral("h:mm:ss"),    QStringLiteral("h:mm"),    QStringLiteral("h:mm:ss.zzz"),
        QStringLiteral("h:mm:ss AP"), QStringLiteral("h:mm AP"), QStringLiteral("h:mm:ssAP"),
        QStringLiteral("h:mmAP")};
    for (const QString& format : kFormats) {
        const QTime time = QLocale::c().toTime(text, format);
        if (time.isValid()) {
            return time;
        }
    }
    return std::nullopt;
}

QDate ParseDate(const QString& text) {
    static const QStringList kFormats = {
        QStringLiteral("dd-MMM-yyyy"), QStringLiteral("d-MMM-yyyy"), QStringLiteral("yyyy-MM-dd"),
        QStringLiteral("d MMM yyyy"), QStringLiteral("d MMMM yyyy")};
    for (const QString& format : kFormats) {
        const QDate date = QLocale::c().toDate(text, format);
        if (date.isValid()) {
            return date;
        }
    }
    const QLocale system = QLocale::system();
    for (QLocale::FormatType type : {QLocale::ShortFormat, QLocale::LongFormat}) {
        QDate date = system.toDate(text, type);
        if (date.isValid()) {
            // Two-digit years read as 1900..1999; take them into this century's window instead.
            if (system.dateFormat(type).count(QLatin1Char('y')) == 2 && date.year() < 1930) {
                date = date.addYears(100);
            }
            return date;
        }
    }
    return QDate();
}

// The number of a plain decimal text ("46027", "-0.25"), the form a date cell's serial value takes
// as text: read directly, as the C locale reads it, since each task brings two such texts to
// every data set's validation. Any other form (signs, exponents, separators) gives nothing.
std::optional<double> PlainDecimal(const QString& text) {
    char chars[32];
    const qsizetype n = text.size();
    if (n == 0 || n >= qsizetype(sizeof chars)) {
        return std::nullopt;
    }
    bool point = false;
    bool digitBefore = false;
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = text[i].unicode();
        if (c >= u'0' && c <= u'9') {
            digitBefore = true;
        } else if ((c == u'-' && i == 0) || (c == u'.' && !point && digitBefore)) {
            point = point || c == u'.';
            digitBefore = false;
        } else {
            return std::nullopt;
        }
        chars[i] = static_cast<char>(c);
    }
    double number = 0;
    if (!digitBefore || std::from_chars(chars, chars + n, number).ec != std::errc()) {
        return std::nullopt;
    }
    return number;
}

// ParseDateText of a trimmed, non-empty text.
std::optional<double> ParseTrimmed(const QString& t) {
    bool ok = false;
    double number = 0;
    if (const std::optional<double> plain = PlainDecimal(t)) {
        number = *plain;
        ok = true;
    } else {
        number = QLocale::c().toDouble(t, &ok);
        if (!ok) {
            number = QLocale::system().toDouble(t, &ok);
        }
    }
    if (ok) {
        if (std::isfinite(number) && number >= kMinDateTime && number < kMaxDateTime) {
            return number;
        }
        return std::nullopt;
    }

    QDate date = ParseDate(t);
    if (date.isValid()) {
        return DateTimeValue(date, QTime(0, 0));
    }
    // A date followed by a time of day.
    for (int i = 0; i < t.size(); ++i) {
        if (t[i] != QLatin1Char(' ') && t[i] != QLatin1Char('T')) {
            continue;
        }
        date = ParseDate(t.left(i).trimmed());
        if (!date.isValid()) {
            continue;
        }
        const std::optional<QTime> time = ParseTime(t.mid(i + 1).trimmed());
        if (time) {
            return DateTimeValue(date, *time);
        }
    }
    return std::nullopt;
}

// Whether the text has white space at either end; the texts of date cells have none and are read
// without a trimmed copy.
bool Padded(const QString& text) {
    return !text.isEmpty() && (text.front().isSpace() || text.back().isSpace());
}

} // namespace

std::optional<double> ParseDateText(const QString& text) {
    if (Padded(text)) {
        return ParseDateText(text.trimmed());
    }
    if (text.isEmpty()) {
        return std::nullopt;
    }
    return ParseTrimmed(text);
}

std::optional<double> DateOfText(const QString& text) {
    if (Padded(text)) {
        return DateOfText(text.trimmed());
    }
    if (text.size() < 3) {
        return std::nullopt;
    }
    return ParseTrimmed(text);
}

int WholeDay(double dateTime) {
    return static_cast<int>(std::trunc(dateTime));
}

QString DayText(int day) {
    return QLocale::c().toString(kDayZero.addDays(day), QStringLiteral("dd-MMM-yyyy"));
}

} // namespace engine

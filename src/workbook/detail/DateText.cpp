#include "workbook/detail/DateText.h"

#include <QLocale>
#include <QStringView>
#include <vector>

namespace workbook::detail {

double dateToSerial(const QDate& date, bool date1904) {
    if (date1904) {
        return double(QDate(1904, 1, 1).daysTo(date));
    }
    const double days = double(QDate(1899, 12, 30).daysTo(date));
    return days < 61 ? days - 1 : days;
}

namespace {

// The short month names of a locale, January first.
std::vector<QString> monthNames(const QLocale& locale) {
    std::vector<QString> names;
    for (int m = 1; m <= 12; ++m) {
        names.push_back(locale.monthName(m, QLocale::ShortFormat));
    }
    return names;
}

// The short month names of the default locale, kept while it stays the default: a column of
// thousands of day texts is parsed at once.
const std::vector<QString>& defaultMonthNames() {
    thread_local QLocale known = QLocale::c();
    thread_local std::vector<QString> names;
    const QLocale current;
    if (names.empty() || !(known == current)) {
        known = current;
        names = monthNames(current);
    }
    return names;
}

} // namespace

std::optional<QDate> parseDayMonthYear(const QString& text) {
    if (text.size() < 10 || text[2] != u'-' || text[text.size() - 5] != u'-') {
        return std::nullopt;
    }
    bool okDay = false;
    bool okYear = false;
    const int day = QStringView(text).left(2).toInt(&okDay);
    const int year = QStringView(text).right(4).toInt(&okYear);
    if (!okDay || !okYear || !text[0].isDigit() || !text[1].isDigit()) {
        return std::nullopt;
    }
    const QStringView month = QStringView(text).mid(3, text.size() - 8);
    static const std::vector<QString> english =
        monthNames(QLocale(QLocale::English, QLocale::UnitedStates));
    const std::vector<QString>& local = defaultMonthNames();
    for (int m = 1; m <= 12; ++m) {
        if (month.compare(english[size_t(m - 1)], Qt::CaseInsensitive) == 0 ||
            month.compare(local[size_t(m - 1)], Qt::CaseInsensitive) == 0) {
            const QDate date(year, m, day);
            if (date.isValid()) {
                return date;
            }
            return std::nullopt;
        }
    }
    return std::nullopt;
}

} // namespace workbook::detail

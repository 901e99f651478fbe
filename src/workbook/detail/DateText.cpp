#include "workbook/detail/DateText.h"

#include <QLocale>

namespace workbook::detail {

double dateToSerial(const QDate& date, bool date1904) {
    if (date1904) {
        return double(QDate(1904, 1, 1).daysTo(date));
    }
    const double days = double(QDate(1899, 12, 30).daysTo(date));
    return days < 61 ? days - 1 : days;
}

std::optional<QDate> parseDayMonthYear(const QString& text) {
    if (text.size() < 10 || text[2] != u'-' || text[text.size() - 5] != u'-') {
        return std::nullopt;
    }
    bool okDay = false;
    bool okYear = false;
    const int day = text.left(2).toInt(&okDay);
    const int year = text.right(4).toInt(&okYear);
    if (!okDay || !okYear || !text[0].isDigit() || !text[1].isDigit()) {
        return std::nullopt;
    }
    const QString month = text.mid(3, text.size() - 8);
    static const QLocale english(QLocale::English, QLocale::UnitedStates);
    const QLocale local;
    for (int m = 1; m <= 12; ++m) {
        if (month.compare(english.monthName(m, QLocale::ShortFormat), Qt::CaseInsensitive) == 0 ||
            month.compare(local.monthName(m, QLocale::ShortFormat), Qt::CaseInsensitive) == 0) {
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

#include "ReportDates.h"

#include <QLocale>
#include <cmath>

namespace ReportDates {
namespace {

const QDate kEpoch(1899, 12, 30);

std::function<QDate()>& clock() {
    static std::function<QDate()> installed;
    return installed;
}

} // namespace

double ToSerial(const QDate& date) {
    return static_cast<double>(kEpoch.daysTo(date));
}

QDate FromSerial(double serial) {
    // The calendar of the spreadsheet application ends at 31 December 9999.
    if (!std::isfinite(serial) || std::fabs(serial) > 2958465.0) {
        return {};
    }
    return kEpoch.addDays(static_cast<qint64>(std::trunc(serial)));
}

double Today() {
    const auto& installed = clock();
    return ToSerial(installed ? installed() : QDate::currentDate());
}

void SetClock(std::function<QDate()> installed) {
    clock() = std::move(installed);
}

QString FormatSerial(double serial, const QString& pattern) {
    const QDate date = FromSerial(serial);
    if (!date.isValid()) {
        return {};
    }
    return QLocale(QLocale::English, QLocale::UnitedStates).toString(date, pattern);
}

} // namespace ReportDates

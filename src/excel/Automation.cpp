#include "Automation.h"

#include "platform/Format.h"

#include <QDate>
#include <QLocale>
#include <charconv>
#include <cmath>

namespace automation {

std::unique_ptr<Application> createEngineApplication();

namespace {
ApplicationFactory currentFactory = &createEngineApplication;

// Whether the number lies exactly halfway between two 15-digit decimals: its shortest decimal
// form then has a 5 as its 16th significant digit and nothing after it.
bool FifteenDigitTie(double v) {
    char digits[32];
    const char* end = std::to_chars(digits, digits + sizeof digits, v).ptr;
    int significant = 0;
    bool tie = false;
    for (const char* p = digits; p < end && *p != 'e'; ++p) {
        if (*p < '0' || *p > '9' || (significant == 0 && *p == '0')) {
            continue;
        }
        ++significant;
        if (significant == 16) {
            tie = *p == '5';
        } else if (significant > 16 && *p != '0') {
            tie = false;
        }
    }
    return tie;
}

// The number with 15 significant digits as QString::number(v, 'g', 15) writes it. Whole numbers
// are written as integers. Between 1e-4 and 1e14 that is never in exponent form, and the standard
// library writes it without the general routine (a task sheet converts hundreds of thousands of
// numbers); only an exact tie, which the general routine rounds away from zero and the library to
// even, goes to it.
QString GeneralText(double v) {
    const double magnitude = std::fabs(v);
    char digits[32];
    // A whole number from 1 to 1e15 (a date's serial, a count) has at most 15 digits: its text is
    // the integer's, written without the floating-point routines.
    if (magnitude >= 1 && magnitude < 1e15 && std::trunc(v) == v) {
        const char* end =
            std::to_chars(digits, digits + sizeof digits, static_cast<long long>(v)).ptr;
        return QString::fromLatin1(digits, end - digits);
    }
    if (magnitude >= 1e-4 && magnitude < 1e14 && !FifteenDigitTie(v)) {
        const auto end =
            std::to_chars(digits, digits + sizeof digits, v, std::chars_format::general, 15).ptr;
        return QString::fromLatin1(digits, end - digits);
    }
    return QString::number(v, 'g', 15);
}
} // namespace

Failure Failure::fromCode(uint32_t code, const QString& description) {
    if (!description.isEmpty()) {
        return Failure(description);
    }
    return Failure(QStringLiteral("OLE error %1").arg(code, 8, 16, QLatin1Char('0')));
}

std::unique_ptr<Application> createApplication() {
    return currentFactory();
}

ApplicationFactory setApplicationFactory(ApplicationFactory factory) {
    ApplicationFactory previous = currentFactory;
    currentFactory = factory != nullptr ? factory : &createEngineApplication;
    return previous;
}

QString valueToText(const Value& value) {
    struct Visitor {
        QString operator()(std::monostate) const { return {}; }
        QString operator()(double v) const { return GeneralText(v); }
        QString operator()(const QString& v) const { return v; }
        QString operator()(bool v) const {
            return v ? QStringLiteral("True") : QStringLiteral("False");
        }
        QString operator()(const CellError& v) const { return v.text; }
        QString operator()(const DateSerial& v) const {
            // Serial day numbers count from 30 December 1899; the time of day is not shown.
            const QDate date =
                QDate(1899, 12, 30).addDays(static_cast<qint64>(std::floor(v.serial)));
            return QLocale::c().toString(date, QStringLiteral("dd-MMM-yyyy"));
        }
    };
    return std::visit(Visitor{}, value);
}

} // namespace automation

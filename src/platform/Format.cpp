#include "Format.h"

#include "Exception.h"

#include <cmath>
#include <vector>

namespace platform {
namespace {

[[noreturn]] void invalid(const QString& format) {
    throw Exception(
        QStringLiteral("Format '%1' invalid or incompatible with argument").arg(format));
}

QString groupThousands(const QString& digits) {
    QString out;
    const int n = static_cast<int>(digits.size());
    for (int i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0) {
            out += QLatin1Char(',');
        }
        out += digits[i];
    }
    return out;
}

QString formatFixed(double v, int precision, bool thousands) {
    QString text = QString::number(std::fabs(v), 'f', precision);
    bool negative = false;
    if (v < 0) {
        for (QChar c : text) {
            negative = negative || (c.isDigit() && c != QLatin1Char('0'));
        }
    }
    if (thousands) {
        const qsizetype dot = text.indexOf(QLatin1Char('.'));
        QString whole = dot < 0 ? text : text.left(dot);
        QString rest = dot < 0 ? QString() : text.mid(dot);
        text = groupThousands(whole) + rest;
    }
    return negative ? QLatin1Char('-') + text : text;
}

QString formatScientific(double v, int precision) {
    // Mantissa with precision significant digits, exponent with sign and at least three digits.
    if (precision < 1 || precision > 18) {
        precision = 15;
    }
    QString text = QString::number(v, 'E', precision - 1);
    const qsizetype e = text.indexOf(QLatin1Char('E'));
    if (e < 0) {
        return text;
    }
    QString mantissa = text.left(e);
    QString exponent = text.mid(e + 1);
    QChar sign = QLatin1Char('+');
    if (exponent.startsWith(QLatin1Char('-')) || exponent.startsWith(QLatin1Char('+'))) {
        sign = exponent[0];
        exponent = exponent.mid(1);
    }
    while (exponent.size() < 3) {
        exponent.prepend(QLatin1Char('0'));
    }
    return mantissa + QLatin1Char('E') + sign + exponent;
}

QString formatGeneral(double v, int precision) {
    if (precision < 1 || precision > 18) {
        precision = 15;
    }
    return QString::number(v, 'G', precision);
}

} // namespace

QString Format(const QString& format, std::initializer_list<FormatArg> argList) {
    const std::vector<FormatArg> args(argList);
    QString out;
    out.reserve(format.size() + 16);
    int nextArg = 0;
    const qsizetype n = format.size();
    qsizetype i = 0;

    auto takeNumber = [&](int& value) -> bool {
        // A run of digits or "*" (taken from the arguments); returns false when neither is there.
        if (i < n && format[i] == QLatin1Char('*')) {
            ++i;
            if (nextArg >= static_cast<int>(args.size()) ||
                !std::holds_alternative<qint64>(args[nextArg].value())) {
                invalid(format);
            }
            value = static_cast<int>(std::get<qint64>(args[nextArg++].value()));
            return true;
        }
        if (i < n && format[i].isDigit()) {
            value = 0;
            while (i < n && format[i].isDigit()) {
                value = value * 10 + format[i].digitValue();
                if (value > 1'000'000) {
                    invalid(format);
                }
                ++i;
            }
            return true;
        }
        return false;
    };

    while (i < n) {
        const QChar c = format[i];
        if (c != QLatin1Char('%')) {
            out += c;
            ++i;
            continue;
        }
        ++i;
        if (i >= n) {
            invalid(format);
        }
        if (format[i] == QLatin1Char('%')) {
            out += QLatin1Char('%');
            ++i;
            continue;
        }
        int number = -1;
        bool hasNumber = takeNumber(number);
        if (hasNumber && i < n && format[i] == QLatin1Char(':')) {
            nextArg = number;
            ++i;
            hasNumber = false;
        }
        bool leftJustify = false;
        if (i < n && format[i] == QLatin1Char('-')) {
            leftJustify = true;
            ++i;
        }
        int width = -1;
        if (hasNumber) {
            width = number;
        } else {
            takeNumber(width);
        }
        int precision = -1;
        if (i < n && format[i] == QLatin1Char('.')) {
            ++i;
            precision = 0;
            takeNumber(precision);
        }
        if (i >= n) {
            invalid(format);
        }
        const QChar type = format[i].toLower();
        ++i;
        if (nextArg < 0 || nextArg >= static_cast<int>(args.size())) {
            invalid(format);
        }
        const auto& value = args[nextArg++].value();

        QString text;
        switch (type.unicode()) {
        case 'd':
        case 'u':
        case 'x': {
            if (!std::holds_alternative<qint64>(value)) {
                invalid(format);
            }
            qint64 v = std::get<qint64>(value);
            bool negative = false;
            QString digits;
            // Negative values of 32-bit range show as their 32-bit two's complement.
            const quint64 bits =
                v < 0 && v >= INT32_MIN ? static_cast<quint32>(v) : static_cast<quint64>(v);
            if (type == QLatin1Char('x')) {
                digits = QString::number(bits, 16).toUpper();
            } else if (type == QLatin1Char('u')) {
                digits = QString::number(bits);
            } else {
                negative = v < 0;
                digits = QString::number(v).remove(QLatin1Char('-'));
            }
            while (precision > digits.size()) {
                digits.prepend(QLatin1Char('0'));
            }
            text = negative ? QLatin1Char('-') + digits : digits;
            break;
        }
        case 'f':
        case 'n':
        case 'e':
        case 'g': {
            double v = 0;
            if (std::holds_alternative<double>(value)) {
                v = std::get<double>(value);
            } else if (std::holds_alternative<qint64>(value)) {
                v = static_cast<double>(std::get<qint64>(value));
            } else {
                invalid(format);
            }
            if (type == QLatin1Char('e')) {
                text = formatScientific(v, precision < 0 ? 15 : precision);
            } else if (type == QLatin1Char('g')) {
                text = formatGeneral(v, precision < 0 ? 15 : precision);
            } else {
                text = formatFixed(v, precision < 0 ? 2 : std::min(precision, 18),
                                   type == QLatin1Char('n'));
            }
            break;
        }
        case 's': {
            if (!std::holds_alternative<QString>(value)) {
                invalid(format);
            }
            text = std::get<QString>(value);
            if (precision >= 0 && text.size() > precision) {
                text.truncate(precision);
            }
            break;
        }
        default:
            invalid(format);
        }
        if (width > text.size()) {
            const QString pad(width - text.size(), QLatin1Char(' '));
            text = leftJustify ? text + pad : pad + text;
        }
        out += text;
    }
    return out;
}

} // namespace platform

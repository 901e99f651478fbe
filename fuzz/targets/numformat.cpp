// The number-format renderer: the input is 8 bytes of a number, one byte choosing the value's
// kind and the date system, then the format code as UTF-8. A number is also shown as fractions
// (the choice byte picks the denominator's places and a fixed denominator), and each fraction read
// back lies within its denominator's precision of the number.
#include "FuzzSupport.h"
#include "workbook/NumberFormat.h"

#include <QStringList>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <optional>

namespace {

// The value of a run of digits divided by `divisor` and `unit`, also when the digits alone leave
// the range of a double (a numerator of 1e303 over 999999999999999999): their first 17 digits
// carry it, scaled in steps that stay within the range.
std::optional<double> digitsOver(const QString& digits, double divisor, double unit) {
    constexpr qsizetype kCarried = 17;
    bool ok = !digits.isEmpty();
    for (const QChar c : digits) {
        ok = ok && c.isDigit();
    }
    if (!ok) {
        return std::nullopt;
    }
    const qsizetype dropped = std::max<qsizetype>(digits.size() - kCarried, 0);
    const double half = std::pow(10.0, double(dropped / 2));
    return digits.left(kCarried).toDouble() / divisor * half / unit * half *
           (dropped % 2 == 1 ? 10.0 : 1.0);
}

// The value a fraction shows, counted in `unit`s: "[-][whole ][numerator/denominator]" with its
// padding spaces, as the formats of checkFractions() write it; nothing when the text has another
// shape. (The 15 digits shown of a number near the largest double lie beyond it.)
std::optional<double> fractionValue(const QString& shown, double unit) {
    QString text = shown.trimmed();
    const bool negative = text.startsWith(u'-');
    if (negative) {
        text.remove(0, 1);
    }
    double value = 0;
    const QStringList pieces = text.split(u' ', Qt::SkipEmptyParts);
    if (pieces.isEmpty() || pieces.size() > 2) {
        return std::nullopt;
    }
    for (const QString& piece : pieces) {
        const qsizetype slash = piece.indexOf(u'/');
        const std::optional<double> denominator =
            slash < 0 ? 1.0 : digitsOver(piece.mid(slash + 1), 1, 1);
        if (!denominator || *denominator < 1) {
            return std::nullopt;
        }
        const std::optional<double> part =
            digitsOver(slash < 0 ? piece : piece.left(slash), *denominator, unit);
        if (!part) {
            return std::nullopt;
        }
        value += *part;
    }
    return negative ? -value : value;
}

void checkFractions(double number, uint8_t choice) {
    if (!std::isfinite(number)) {
        return;
    }
    // A power of two, so that the number divided by it stays exact.
    const double unit = std::fabs(number) >= 1 ? std::ldexp(1.0, std::ilogb(number)) : 1.0;
    const int places = 1 + (choice >> 2) % 7;
    const long long kFixed[] = {8, 100, 9999999, 999999999999999999};
    const long long fixed = kFixed[(choice >> 5) & 3];
    const double searchedBound = std::pow(10.0, places) - 1;
    const QString searched = QString(places, u'?');
    const QString fixedText = QString::number(fixed);
    const struct {
        QString code;
        double largestDenominator;
    } formats[] = {
        {QStringLiteral("?/") + searched, searchedBound},
        {QStringLiteral("# ?/") + searched, searchedBound},
        {QStringLiteral("?/") + fixedText, double(fixed)},
        {QStringLiteral("# ?/") + fixedText, double(fixed)},
    };
    for (const auto& format : formats) {
        const QString shown =
            workbook::formatCellText(workbook::CellValue::number(number), format.code);
        const std::optional<double> value = fractionValue(shown, unit);
        fuzzsupport::check(value.has_value(), "a fraction format shows no fraction");
        // The closest fraction is at most half a step of the largest denominator away; the
        // number counts its 15 significant digits.
        const double allowed = 0.5 / format.largestDenominator + 1e-12 + std::fabs(number) * 1e-14;
        fuzzsupport::check(std::fabs(*value - number / unit) <= allowed / unit,
                           "a fraction shown lies beyond its denominator's precision");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 9) {
        return 0;
    }
    double number = 0;
    std::memcpy(&number, data, sizeof number);
    const uint8_t choice = data[8];
    const QString code = QString::fromUtf8(reinterpret_cast<const char*>(data + 9),
                                           static_cast<qsizetype>(size - 9));
    workbook::CellValue value;
    switch (choice % 4) {
    case 0:
        value = workbook::CellValue::number(number);
        break;
    case 1:
        value = workbook::CellValue::text(code.left(8));
        break;
    case 2:
        value = workbook::CellValue::boolean((choice & 0x10) != 0);
        break;
    default:
        break;
    }
    try {
        workbook::isDateFormat(code);
        workbook::formatCellText(value, code, (choice & 0x80) != 0);
        workbook::formatGeneral(number);
        workbook::builtInFormatCode(choice);
    } catch (const platform::Exception&) {
    }
    checkFractions(number, choice);
    return 0;
}

#include "workbook/NumberFormat.h"
#include "workbook/detail/FormatCode.h"

#include <QDate>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <set>
#include <string>
#include <vector>

namespace workbook::detail {

namespace {

using Tokens = std::vector<FormatToken>;

int decimalExponent(double v) {
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%.14e", v);
    return std::atoi(buffer + 17);
}

// Which commas scale (divide by 1000) and whether any comma groups thousands.
struct CommaRoles {
    std::set<size_t> scaling;
    bool thousands = false;
};

CommaRoles commaRoles(const Tokens& tokens, size_t intEnd) {
    CommaRoles roles;
    // Whether a digit comes after each token before the next point or exponent, from the end:
    // one pass each way, however many commas the code holds.
    std::vector<bool> digitAfter(tokens.size() + 1, false);
    for (size_t i = tokens.size(); i-- > 0;) {
        const auto kind = tokens[i].kind;
        digitAfter[i] = kind != FormatToken::Point && kind != FormatToken::Exponent &&
                        (kind == FormatToken::Digit || digitAfter[i + 1]);
    }
    bool digitBefore = false;
    for (size_t i = 0; i < tokens.size(); ++i) {
        if (tokens[i].kind == FormatToken::Comma) {
            if (digitBefore && !digitAfter[i + 1]) {
                roles.scaling.insert(i);
            } else if (digitBefore && digitAfter[i + 1] && i < intEnd) {
                roles.thousands = true;
            }
        }
        digitBefore = digitBefore || tokens[i].kind == FormatToken::Digit;
    }
    return roles;
}

// Emits tokens [from, to): integer placeholders take intDigits right-aligned, fraction
// placeholders after the point take fracDigits.
QString emitNumber(const Tokens& tokens, size_t from, size_t to, const std::string& intDigits,
                   const std::string& fracDigits, const CommaRoles& roles) {
    size_t point = to;
    for (size_t i = from; i < to; ++i) {
        if (tokens[i].kind == FormatToken::Point) {
            point = i;
            break;
        }
    }
    int k = 0;
    for (size_t i = from; i < point; ++i) {
        k += tokens[i].kind == FormatToken::Digit ? 1 : 0;
    }
    const int length = int(intDigits.size());
    // The fraction's digits from here on are all zeros past its last other digit.
    const size_t lastNonZero = fracDigits.find_last_not_of('0');
    QString out;
    int j = 0;
    int q = 0;
    auto emitDigitAt = [&](int pos, QChar placeholder) {
        bool shown = true;
        if (pos < length) {
            out += QLatin1Char(intDigits[size_t(length - 1 - pos)]);
        } else if (placeholder == u'0') {
            out += u'0';
        } else if (placeholder == u'?') {
            out += u' ';
            shown = false;
        } else {
            shown = false;
        }
        if (shown && roles.thousands && pos > 0 && pos % 3 == 0) {
            out += u',';
        }
    };
    for (size_t i = from; i < to; ++i) {
        const FormatToken& token = tokens[i];
        switch (token.kind) {
        case FormatToken::Digit:
            if (i < point) {
                const int pos = k - 1 - j;
                if (j == 0) {
                    for (int extra = length - 1; extra > pos; --extra) {
                        emitDigitAt(extra, u'0');
                    }
                }
                emitDigitAt(pos, token.text[0]);
                ++j;
            } else {
                const bool restZero = lastNonZero == std::string::npos || size_t(q) > lastNonZero;
                const QChar placeholder = token.text[0];
                if (placeholder == u'0' || !restZero) {
                    out += q < int(fracDigits.size()) ? QChar(QLatin1Char(fracDigits[size_t(q)]))
                                                      : QChar(u'0');
                } else if (placeholder == u'?') {
                    out += u' ';
                }
                ++q;
            }
            break;
        case FormatToken::Point:
            out += u'.';
            break;
        case FormatToken::Comma:
            if (roles.scaling.count(i) == 0 && !roles.thousands) {
                out += u',';
            }
            break;
        case FormatToken::Percent:
            out += u'%';
            break;
        case FormatToken::Slash:
            out += u'/';
            break;
        case FormatToken::Literal:
        case FormatToken::Date:
            out += token.text;
            break;
        default:
            break;
        }
    }
    return out;
}

QString renderScientific(const Tokens& tokens, double v, const CommaRoles& roles) {
    size_t expIndex = 0;
    while (tokens[expIndex].kind != FormatToken::Exponent) {
        ++expIndex;
    }
    int ki = 0, kf = 0;
    bool engineering = false;
    bool afterPoint = false;
    for (size_t i = 0; i < expIndex; ++i) {
        if (tokens[i].kind == FormatToken::Point) {
            afterPoint = true;
        } else if (tokens[i].kind == FormatToken::Digit) {
            (afterPoint ? kf : ki) += 1;
            engineering = engineering || (!afterPoint && tokens[i].text == QLatin1String("#"));
        }
    }
    engineering = engineering && ki > 1;
    const int step = std::max(ki, 1);
    int exponent = 0;
    FixedDigits digits;
    if (v > 0) {
        const int e10 = decimalExponent(v);
        exponent = engineering ? int(std::floor(double(e10) / ki)) * ki : e10 - (step - 1);
        for (int attempt = 0; attempt < 2; ++attempt) {
            digits = toFixedDigits(v / std::pow(10.0, exponent), kf);
            if (int(digits.intDigits.size()) <= (engineering ? ki : step)) {
                break;
            }
            exponent += engineering ? ki : 1;
        }
    } else {
        digits = toFixedDigits(0, kf);
    }
    QString out = emitNumber(tokens, 0, expIndex, digits.intDigits, digits.fracDigits, roles);
    const FormatToken& expToken = tokens[expIndex];
    out += expToken.text[0];
    if (exponent < 0) {
        out += u'-';
    } else if (expToken.text[1] == u'+') {
        out += u'+';
    }
    int minDigits = 0;
    size_t i = expIndex + 1;
    for (; i < tokens.size() && tokens[i].kind == FormatToken::Digit; ++i) {
        minDigits += tokens[i].text == QLatin1String("0") ? 1 : 0;
    }
    QString expDigits = QString::number(std::abs(exponent));
    while (expDigits.size() < minDigits) {
        expDigits.prepend(u'0');
    }
    out += expDigits;
    out += emitNumber(tokens, i, tokens.size(), {}, {}, roles);
    return out;
}

// Denominator digits a fraction format uses at most, as the spreadsheet application does: more
// placeholders only pad the text.
constexpr int kMaxDenominatorDigits = 7;

struct Fraction {
    long long numerator = 0;
    long long denominator = 1;
};

// The fraction closest to x (0 <= x < 1) whose denominator is at most maxDen, the smallest
// denominator among fractions as close to within 1e-12. Found from the continued fraction of x:
// the answer is one of its convergents within the bound or the largest semiconvergent after them.
Fraction closestFraction(double x, long long maxDen) {
    // x as an exact ratio n / d of 62-bit integers, so that the expansion carries no rounding.
    const uint64_t scale = uint64_t(1) << 62;
    uint64_t n = static_cast<uint64_t>(std::llround(std::ldexp(x, 62)));
    uint64_t d = scale;
    long long h0 = 0, k0 = 1, h1 = 1, k1 = 0; // the two latest convergents h/k
    std::vector<Fraction> candidates;
    while (d != 0) {
        const uint64_t a = n / d;
        if (k1 > 0 && a > static_cast<uint64_t>((maxDen - k0) / k1)) {
            const long long t = (maxDen - k0) / k1;
            if (t > 0) {
                candidates.push_back({t * h1 + h0, t * k1 + k0});
            }
            break;
        }
        const long long term = static_cast<long long>(a);
        const long long h = term * h1 + h0;
        const long long k = term * k1 + k0;
        h0 = h1;
        k0 = k1;
        h1 = h;
        k1 = k;
        const uint64_t rest = n % d;
        n = d;
        d = rest;
        candidates.push_back({h1, k1});
    }
    const auto error = [x](const Fraction& f) {
        return std::fabs(x - double(f.numerator) / double(f.denominator));
    };
    double least = 2;
    for (const Fraction& f : candidates) {
        least = std::min(least, error(f));
    }
    for (const Fraction& f : candidates) { // in order of growing denominators
        if (error(f) < least + 1e-12) {
            return f;
        }
    }
    return candidates.back();
}

// Decimal digits of digits * factor + addend, for non-negative integers written in decimal
// ("" reads as 0). Numerators of large values leave the 64-bit range, so they are reckoned in
// decimal: a value of 1e300 shown over 100 has a numerator of 303 digits.
std::string timesPlus(const std::string& digits, unsigned long long factor,
                      unsigned long long addend) {
    const std::string factorDigits = std::to_string(factor);
    const std::string addendDigits = std::to_string(addend);
    // Least significant first; a column holds at most 20 products of two digits and a carry.
    std::vector<unsigned> columns(
        std::max(digits.size() + factorDigits.size(), addendDigits.size()) + 1, 0);
    for (size_t i = 0; i < digits.size(); ++i) {
        const unsigned a = unsigned(digits[digits.size() - 1 - i] - '0');
        for (size_t j = 0; j < factorDigits.size(); ++j) {
            columns[i + j] += a * unsigned(factorDigits[factorDigits.size() - 1 - j] - '0');
        }
    }
    for (size_t i = 0; i < addendDigits.size(); ++i) {
        columns[i] += unsigned(addendDigits[addendDigits.size() - 1 - i] - '0');
    }
    std::string out;
    unsigned carry = 0;
    for (unsigned column : columns) {
        column += carry;
        out.push_back(char('0' + column % 10));
        carry = column / 10;
    }
    while (out.size() > 1 && out.back() == '0') {
        out.pop_back();
    }
    return std::string(out.rbegin(), out.rend());
}

// Decimal places the value is written to before its fraction is reckoned: its 15 significant
// digits lie within them down to 1e-5, and a smaller part is below any denominator's precision.
constexpr int kFractionDecimals = 20;

// What a fraction format shows of a value: the whole number (empty when the format has no
// whole-number part, which then counts in the numerator), the numerator and the denominator.
struct FractionParts {
    std::string whole;
    std::string numerator;
    long long denominator = 1;
};

// The value is taken as its 15 significant digits in decimal, so that its whole number and its
// fraction are the ones the spreadsheet keeps, however large it is.
FractionParts fractionParts(double v, bool hasInt, long long fixedDen, long long maxDen) {
    const FixedDigits digits = toFixedDigits(v, kFractionDecimals);
    FractionParts parts;
    if (fixedDen > 0) {
        // The numerator is the value times the denominator, rounded half away from zero.
        const std::string scaled =
            timesPlus(hasInt ? digits.fracDigits : digits.intDigits + digits.fracDigits,
                      static_cast<unsigned long long>(fixedDen), 0);
        const size_t cut = scaled.size() > size_t(kFractionDecimals)
                               ? scaled.size() - size_t(kFractionDecimals)
                               : 0;
        const bool up = scaled.size() >= size_t(kFractionDecimals) && scaled[cut] >= '5';
        parts.numerator = timesPlus(scaled.substr(0, cut), 1, up ? 1 : 0);
        parts.denominator = fixedDen;
    } else {
        std::string partText("0.");
        partText += digits.fracDigits;
        double part = 0;
        std::from_chars(partText.data(), partText.data() + partText.size(), part);
        // (15 significant digits never read as 1; the bound keeps the search's contract.)
        const Fraction closest = closestFraction(std::min(part, std::nextafter(1.0, 0.0)), maxDen);
        parts.numerator = hasInt ? std::to_string(closest.numerator)
                                 : timesPlus(digits.intDigits,
                                             static_cast<unsigned long long>(closest.denominator),
                                             static_cast<unsigned long long>(closest.numerator));
        parts.denominator = closest.denominator;
    }
    if (hasInt) {
        parts.whole = digits.intDigits;
        if (parts.numerator == std::to_string(parts.denominator)) {
            parts.whole = timesPlus(parts.whole, 1, 1);
            parts.numerator.assign(1, '0');
        }
    }
    return parts;
}

QString renderFraction(const Tokens& tokens, double v, const CommaRoles& roles) {
    size_t slash = 0;
    while (tokens[slash].kind != FormatToken::Slash) {
        ++slash;
    }
    size_t numStart = slash;
    while (numStart > 0 && tokens[numStart - 1].kind == FormatToken::Digit) {
        --numStart;
    }
    bool hasInt = false;
    for (size_t i = 0; i < numStart; ++i) {
        hasInt = hasInt || tokens[i].kind == FormatToken::Digit;
    }
    size_t denEnd = slash + 1;
    while (denEnd < tokens.size() && tokens[denEnd].kind == FormatToken::Digit) {
        ++denEnd;
    }
    const int denPlaces = int(denEnd - slash - 1);
    long long fixedDen = 0;
    QString afterFixed;
    if (denPlaces == 0 && denEnd < tokens.size() && tokens[denEnd].kind == FormatToken::Literal) {
        const QString& text = tokens[denEnd].text;
        qsizetype n = 0;
        while (n < text.size() && text[n].isDigit()) {
            ++n;
        }
        fixedDen = text.left(n).toLongLong();
        afterFixed = text.mid(n);
    }
    long long maxDen = 1;
    for (int i = 0; i < std::min(denPlaces, kMaxDenominatorDigits); ++i) {
        maxDen *= 10;
    }
    FractionParts parts = fractionParts(v, hasInt, fixedDen, std::max(1LL, maxDen - 1));
    const bool noFraction = hasInt && parts.numerator == "0";
    if (noFraction && parts.whole.empty()) {
        parts.whole.push_back('0');
    }
    QString out = emitNumber(tokens, 0, numStart, parts.whole, {}, roles);
    const size_t tail = fixedDen > 0 ? denEnd + 1 : denEnd;
    if (noFraction) {
        const int width = int(slash - numStart) + 1 +
                          (fixedDen > 0 ? int(QString::number(fixedDen).size()) : denPlaces);
        out += QString(width, u' ');
    } else {
        out += emitNumber(tokens, numStart, slash, parts.numerator, {}, CommaRoles{});
        out += u'/';
        QString denText = QString::number(parts.denominator);
        for (int i = int(denText.size()); i < denPlaces; ++i) {
            const QChar placeholder = tokens[slash + 1 + size_t(i)].text[0];
            if (placeholder == u'?') {
                denText += u' ';
            }
        }
        out += denText;
    }
    out += afterFixed;
    out += emitNumber(tokens, tail, tokens.size(), {}, {}, roles);
    return out;
}

bool isHourToken(const QString& code) {
    return code.startsWith(u'h') || code.startsWith(QLatin1String("[h"));
}
bool isSecondToken(const QString& code) {
    return code.startsWith(u's') || code.startsWith(QLatin1String("[s"));
}

struct DateParts {
    int year = 1900, month = 1, day = 0, weekday = 0; // weekday 0 = Sunday
};

DateParts dateOf(long long days, bool date1904) {
    DateParts parts;
    if (date1904) {
        const QDate date = QDate(1904, 1, 1).addDays(days);
        parts = {date.year(), date.month(), date.day(), date.dayOfWeek() % 7};
        return parts;
    }
    parts.weekday = int((days + 6) % 7);
    if (days == 0) {
        return parts;
    }
    if (days == 60) {
        parts.month = 2;
        parts.day = 29;
        return parts;
    }
    const QDate date =
        days < 60 ? QDate(1899, 12, 31).addDays(days) : QDate(1899, 12, 30).addDays(days);
    parts.year = date.year();
    parts.month = date.month();
    parts.day = date.day();
    return parts;
}

const char* const kMonths[] = {"January",   "February", "March",    "April",
                               "May",       "June",     "July",     "August",
                               "September", "October",  "November", "December"};
const char* const kDays[] = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                             "Thursday", "Friday", "Saturday"};

QString padded(long long value, int width) {
    QString text = QString::number(value);
    while (text.size() < width) {
        text.prepend(u'0');
    }
    return text;
}

} // namespace

QString renderNumberSection(const FormatSection& section, double value, bool showSign) {
    const Tokens& tokens = section.tokens;
    double v = std::fabs(value);
    const QString sign = showSign && value < 0 ? QStringLiteral("-") : QString();
    if (section.isGeneral) {
        QString out;
        for (const FormatToken& token : tokens) {
            if (token.kind == FormatToken::General) {
                out += formatGeneral(v);
            } else if (token.kind != FormatToken::Text) {
                out += token.kind == FormatToken::Literal ? token.text : QString();
            }
        }
        return sign + out;
    }
    size_t intEnd = tokens.size();
    for (size_t i = 0; i < tokens.size(); ++i) {
        if (tokens[i].kind == FormatToken::Point || tokens[i].kind == FormatToken::Exponent) {
            intEnd = i;
            break;
        }
    }
    const CommaRoles roles = commaRoles(tokens, intEnd);
    bool anyDigit = false;
    for (const FormatToken& token : tokens) {
        if (token.kind == FormatToken::Percent) {
            v *= 100;
        }
        anyDigit = anyDigit || token.kind == FormatToken::Digit;
    }
    for (size_t i = 0; i < roles.scaling.size(); ++i) {
        v /= 1000;
    }
    if (!anyDigit) {
        // A section of literals only ("-", "Zero") shows them alone.
        return sign + emitNumber(tokens, 0, tokens.size(), {}, {}, roles);
    }
    if (section.hasExponent) {
        return sign + renderScientific(tokens, v, roles);
    }
    if (section.hasFraction) {
        return sign + renderFraction(tokens, v, roles);
    }
    int decimals = 0;
    for (size_t i = intEnd; i < tokens.size(); ++i) {
        decimals += tokens[i].kind == FormatToken::Digit ? 1 : 0;
    }
    const FixedDigits digits = toFixedDigits(v, decimals);
    return sign + emitNumber(tokens, 0, tokens.size(), digits.intDigits, digits.fracDigits, roles);
}

QString renderDateSection(const FormatSection& section, double serial, bool date1904) {
    const Tokens& tokens = section.tokens;
    if (serial < 0 || serial >= (date1904 ? 2957004.0 : 2958466.0)) {
        return QStringLiteral("########");
    }
    int subDigits = 0;
    for (size_t i = 0; i < tokens.size(); ++i) {
        if (tokens[i].kind == FormatToken::Point) {
            int n = 0;
            while (i + 1 + size_t(n) < tokens.size() &&
                   tokens[i + 1 + size_t(n)].kind == FormatToken::Digit) {
                ++n;
            }
            subDigits = std::max(subDigits, std::min(n, 3));
        }
    }
    std::vector<int> dateIndexes;
    // Each token's place among the date tokens (-1 for others), so that a minute is told from a
    // month by its neighbours without a search.
    std::vector<int> dateOrdinal(tokens.size(), -1);
    for (size_t i = 0; i < tokens.size(); ++i) {
        if (tokens[i].kind == FormatToken::Date) {
            dateOrdinal[i] = int(dateIndexes.size());
            dateIndexes.push_back(int(i));
        }
    }
    auto isMinute = [&](size_t position) {
        const int k = dateOrdinal[position];
        if (k < 0) {
            return false;
        }
        if (k > 0 && isHourToken(tokens[size_t(dateIndexes[size_t(k) - 1])].text)) {
            return true;
        }
        return size_t(k) + 1 < dateIndexes.size() &&
               isSecondToken(tokens[size_t(dateIndexes[size_t(k) + 1])].text);
    };
    // Hours, minutes, seconds, elapsed time, AM/PM or parts of a second.
    bool showsTime = subDigits > 0;
    for (const int index : dateIndexes) {
        const QString& code = tokens[size_t(index)].text;
        const QChar kind = code[0].toLower();
        showsTime = showsTime || kind == u'h' || kind == u's' || kind == u'[' || kind == u'a' ||
                    (kind == u'm' && code.size() <= 2 && isMinute(size_t(index)));
    }

    long long scale = 1;
    for (int i = 0; i < subDigits; ++i) {
        scale *= 10;
    }
    // A time is rounded to the unit it shows, and the date shown with it follows (23:59:59.6
    // shows the next day at 0:00:00); a date alone is the serial's own day.
    const double shownTime = showsTime ? serial : std::floor(serial);
    const long long units = std::llround(shownTime * 86400.0 * double(scale));
    const long long perDay = 86400LL * scale;
    const long long days = units / perDay;
    const long long inDay = units % perDay;
    const long long totalSeconds = units / scale;
    const int hours = int(inDay / (3600 * scale));
    const int minutes = int(inDay / (60 * scale) % 60);
    const int seconds = int(inDay / scale % 60);
    const long long fraction = inDay % scale;
    const DateParts date = dateOf(days, date1904);

    QString out;
    for (size_t i = 0; i < tokens.size(); ++i) {
        const FormatToken& token = tokens[i];
        const QString& code = token.text;
        switch (token.kind) {
        case FormatToken::Date:
            break;
        case FormatToken::Point:
            out += u'.';
            if (i + 1 < tokens.size() && tokens[i + 1].kind == FormatToken::Digit) {
                int n = 0;
                while (i + 1 < tokens.size() && tokens[i + 1].kind == FormatToken::Digit) {
                    ++i;
                    ++n;
                }
                out += padded(fraction, subDigits).left(n);
            }
            continue;
        case FormatToken::Digit:
        case FormatToken::Literal:
            out += code;
            continue;
        case FormatToken::Slash:
            out += u'/';
            continue;
        case FormatToken::Comma:
            out += u',';
            continue;
        case FormatToken::Percent:
            out += u'%';
            continue;
        default:
            continue;
        }
        const QChar kind = code[0];
        if (kind == u'[') {
            const QChar unit = code[1];
            const int width = int(code.size()) - 2;
            const long long total = unit == u'h'   ? totalSeconds / 3600
                                    : unit == u'm' ? totalSeconds / 60
                                                   : totalSeconds;
            out += padded(total, width);
        } else if (kind == u'y') {
            out += code.size() <= 2 ? padded(date.year % 100, 2) : padded(date.year, 4);
        } else if (kind == u'm' && code.size() <= 2 && isMinute(i)) {
            out += padded(minutes, int(code.size()));
        } else if (kind == u'm') {
            const QString name = QString::fromLatin1(kMonths[date.month - 1]);
            out += code.size() <= 2   ? padded(date.month, int(code.size()))
                   : code.size() == 3 ? name.left(3)
                   : code.size() == 5 ? name.left(1)
                                      : name;
        } else if (kind == u'd') {
            const QString name = QString::fromLatin1(kDays[date.weekday]);
            out += code.size() <= 2   ? padded(date.day, int(code.size()))
                   : code.size() == 3 ? name.left(3)
                                      : name;
        } else if (kind == u'h') {
            int hour = hours;
            if (section.hasAmPm) {
                hour = hours % 12 == 0 ? 12 : hours % 12;
            }
            out += padded(hour, std::min(int(code.size()), 2));
        } else if (kind == u's') {
            out += padded(seconds, std::min(int(code.size()), 2));
        } else if (kind.toLower() == u'a') {
            const bool pm = hours >= 12;
            if (code.size() == 5) {
                out += pm ? code.mid(3, 2) : code.left(2);
            } else {
                out += pm ? code.mid(2, 1) : code.left(1);
            }
        }
    }
    return out;
}

} // namespace workbook::detail

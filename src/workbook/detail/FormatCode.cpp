#include "workbook/detail/FormatCode.h"

#include <QHash>
#include <cmath>
#include <cstdio>

namespace workbook::detail {

namespace {

void appendLiteral(FormatSection& section, const QString& text) {
    if (!section.tokens.empty() && section.tokens.back().kind == FormatToken::Literal) {
        section.tokens.back().text += text;
    } else {
        section.tokens.push_back({FormatToken::Literal, text});
    }
}

// A bracketed part: colour, condition, locale tag, elapsed time. True when the part is a
// system date or time format, which stands for the whole section.
bool parseBracket(FormatSection& section, const QString& inner) {
    if (inner.isEmpty()) {
        return false;
    }
    const QChar first = inner[0];
    if (first == u'<' || first == u'>' || first == u'=') {
        qsizetype opLength = 1;
        if (inner.size() > 1 && (inner[1] == u'=' || (first == u'<' && inner[1] == u'>'))) {
            opLength = 2;
        }
        bool ok = false;
        const double value = inner.mid(opLength).trimmed().toDouble(&ok);
        if (ok) {
            section.hasCondition = true;
            section.conditionOp = inner.left(opLength);
            section.conditionValue = value;
        }
        return false;
    }
    if (first == u'$') {
        const qsizetype dash = inner.indexOf(u'-');
        const QString symbol = inner.mid(1, dash < 0 ? -1 : dash - 1);
        const QString locale = dash < 0 ? QString() : inner.mid(dash + 1).toUpper();
        // System long date and system time of the Windows locale settings.
        if (locale.endsWith(QLatin1String("F800"))) {
            section.tokens.clear();
            for (const char* part : {"dddd", ", ", "mmmm", " ", "d", ", ", "yyyy"}) {
                const QString text = QString::fromLatin1(part);
                if (text[0].isLetter()) {
                    section.tokens.push_back({FormatToken::Date, text});
                } else {
                    appendLiteral(section, text);
                }
            }
            section.isDate = true;
            return true;
        }
        if (locale.endsWith(QLatin1String("F400"))) {
            section.tokens.clear();
            section.tokens.push_back({FormatToken::Date, QStringLiteral("h")});
            appendLiteral(section, QStringLiteral(":"));
            section.tokens.push_back({FormatToken::Date, QStringLiteral("mm")});
            appendLiteral(section, QStringLiteral(":"));
            section.tokens.push_back({FormatToken::Date, QStringLiteral("ss")});
            appendLiteral(section, QStringLiteral(" "));
            section.tokens.push_back({FormatToken::Date, QStringLiteral("AM/PM")});
            section.isDate = true;
            section.hasAmPm = true;
            return true;
        }
        if (!symbol.isEmpty()) {
            appendLiteral(section, symbol);
        }
        return false;
    }
    const QString lower = inner.toLower();
    if ((lower[0] == u'h' || lower[0] == u'm' || lower[0] == u's') &&
        lower.count(lower[0]) == lower.size()) {
        section.tokens.push_back({FormatToken::Date, u'[' + lower + u']'});
        section.isDate = true;
        return false;
    }
    return false; // colours and other tags change nothing in the text
}

FormatSection parseSection(const QString& s) {
    FormatSection section;
    const qsizetype n = s.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = s[i];
        const char16_t u = c.unicode();
        switch (u) {
        case u'"': {
            const qsizetype end = s.indexOf(u'"', i + 1);
            appendLiteral(section, s.mid(i + 1, (end < 0 ? n : end) - i - 1));
            i = end < 0 ? n : end;
            continue;
        }
        case u'\\':
            if (i + 1 < n) {
                appendLiteral(section, QString(s[++i]));
            }
            continue;
        case u'_':
            if (i + 1 < n) {
                ++i;
            }
            appendLiteral(section, QStringLiteral(" "));
            continue;
        case u'*':
            ++i; // the fill character repeats to the column width; the text holds none
            continue;
        case u'[': {
            const qsizetype end = s.indexOf(u']', i + 1);
            if (parseBracket(section, s.mid(i + 1, (end < 0 ? n : end) - i - 1))) {
                return section;
            }
            i = end < 0 ? n : end;
            continue;
        }
        case u'0':
        case u'#':
        case u'?':
            section.tokens.push_back({FormatToken::Digit, QString(c)});
            continue;
        case u'.':
            section.tokens.push_back({FormatToken::Point, {}});
            continue;
        case u',':
            section.tokens.push_back({FormatToken::Comma, {}});
            continue;
        case u'%':
            section.tokens.push_back({FormatToken::Percent, {}});
            continue;
        case u'/': {
            section.tokens.push_back({FormatToken::Slash, {}});
            // A written denominator ("?/16", "?/10") is one number, its zeros included.
            qsizetype end = i + 1;
            if (end < n && s[end] >= u'1' && s[end] <= u'9') {
                while (end < n && s[end] >= u'0' && s[end] <= u'9') {
                    ++end;
                }
                section.tokens.push_back({FormatToken::Literal, s.mid(i + 1, end - i - 1)});
                i = end - 1;
            }
            continue;
        }
        case u'@':
            section.tokens.push_back({FormatToken::Text, {}});
            section.isText = true;
            continue;
        default:
            break;
        }
        if ((u == u'E' || u == u'e') && i + 1 < n && (s[i + 1] == u'+' || s[i + 1] == u'-')) {
            section.tokens.push_back({FormatToken::Exponent, QString(c) + s[i + 1]});
            section.hasExponent = true;
            ++i;
            continue;
        }
        if (s.mid(i, 7).compare(QLatin1String("General"), Qt::CaseInsensitive) == 0) {
            section.tokens.push_back({FormatToken::General, {}});
            section.isGeneral = true;
            i += 6;
            continue;
        }
        if (s.mid(i, 5).compare(QLatin1String("AM/PM"), Qt::CaseInsensitive) == 0) {
            section.tokens.push_back({FormatToken::Date, s.mid(i, 5)});
            section.isDate = section.hasAmPm = true;
            i += 4;
            continue;
        }
        if (s.mid(i, 3).compare(QLatin1String("A/P"), Qt::CaseInsensitive) == 0) {
            section.tokens.push_back({FormatToken::Date, s.mid(i, 3)});
            section.isDate = section.hasAmPm = true;
            i += 2;
            continue;
        }
        const QChar lower = c.toLower();
        if (lower == u'y' || lower == u'm' || lower == u'd' || lower == u'h' || lower == u's') {
            qsizetype j = i;
            while (j < n && s[j].toLower() == lower) {
                ++j;
            }
            section.tokens.push_back({FormatToken::Date, s.mid(i, j - i).toLower()});
            section.isDate = true;
            i = j - 1;
            continue;
        }
        appendLiteral(section, QString(c));
    }
    for (size_t i = 0; i < section.tokens.size(); ++i) {
        if (section.tokens[i].kind == FormatToken::Slash && !section.isDate) {
            section.hasFraction = true;
        }
    }
    return section;
}

std::vector<QString> splitSections(const QString& code) {
    std::vector<QString> parts;
    QString current;
    bool quoted = false;
    bool bracket = false;
    for (qsizetype i = 0; i < code.size(); ++i) {
        const QChar c = code[i];
        if (c == u'"' && !bracket) {
            quoted = !quoted;
        } else if (!quoted && c == u'[') {
            bracket = true;
        } else if (!quoted && c == u']') {
            bracket = false;
        } else if (!quoted && !bracket && (c == u'\\' || c == u'_' || c == u'*') &&
                   i + 1 < code.size()) {
            current += c;
            current += code[++i];
            continue;
        } else if (!quoted && !bracket && c == u';') {
            parts.push_back(current);
            current.clear();
            continue;
        }
        current += c;
    }
    parts.push_back(current);
    return parts;
}

} // namespace

bool FormatSection::matches(double v) const {
    if (conditionOp == QLatin1String("<")) {
        return v < conditionValue;
    }
    if (conditionOp == QLatin1String("<=")) {
        return v <= conditionValue;
    }
    if (conditionOp == QLatin1String(">")) {
        return v > conditionValue;
    }
    if (conditionOp == QLatin1String(">=")) {
        return v >= conditionValue;
    }
    if (conditionOp == QLatin1String("=")) {
        return v == conditionValue;
    }
    if (conditionOp == QLatin1String("<>")) {
        return v != conditionValue;
    }
    return true;
}

const FormatCode& parseFormatCode(const QString& code) {
    static QHash<QString, std::shared_ptr<FormatCode>> cache;
    if (code.size() > kMaxFormatCodeLength) {
        return parseFormatCode(QStringLiteral("General"));
    }
    if (const auto it = cache.constFind(code); it != cache.constEnd()) {
        return **it;
    }
    auto parsed = std::make_shared<FormatCode>();
    for (const QString& part : splitSections(code)) {
        parsed->sections.push_back(parseSection(part));
    }
    if (cache.size() > 4096) {
        cache.clear();
    }
    cache.insert(code, parsed);
    return *parsed;
}

FixedDigits toFixedDigits(double absValue, int decimals) {
    FixedDigits result;
    if (!(absValue > 0) || !std::isfinite(absValue)) {
        result.fracDigits.assign(size_t(std::max(decimals, 0)), '0');
        return result;
    }
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%.14e", absValue);
    std::string digits;
    digits += buffer[0];
    digits.append(buffer + 2, 14);
    const int exponent = std::atoi(buffer + 17);
    // digits = 0.d1..d15 * 10^(exponent + 1); point after intLength digits.
    int intLength = exponent + 1;
    if (intLength < 0) {
        digits.insert(0, size_t(-intLength), '0');
        intLength = 0;
    }
    const int keep = intLength + decimals;
    if (keep < int(digits.size())) {
        const bool up = keep >= 0 && digits[size_t(keep)] >= '5';
        digits.resize(size_t(std::max(keep, 0)));
        if (up) {
            int i = keep - 1;
            while (i >= 0 && digits[size_t(i)] == '9') {
                digits[size_t(i)] = '0';
                --i;
            }
            if (i >= 0) {
                ++digits[size_t(i)];
            } else {
                digits.insert(digits.begin(), '1');
                ++intLength;
            }
        }
    }
    if (int(digits.size()) < intLength + decimals) {
        digits.append(size_t(intLength + decimals) - digits.size(), '0');
    }
    result.intDigits = digits.substr(0, size_t(intLength));
    result.fracDigits = digits.substr(size_t(intLength), size_t(std::max(decimals, 0)));
    const size_t nonZero = result.intDigits.find_first_not_of('0');
    result.intDigits =
        nonZero == std::string::npos ? std::string() : result.intDigits.substr(nonZero);
    return result;
}

} // namespace workbook::detail

#include "workbook/NumberFormat.h"

#include "workbook/detail/FormatCode.h"

#include <cmath>
#include <cstdio>

namespace workbook {

using detail::FormatCode;
using detail::FormatSection;
using detail::parseFormatCode;

QString builtInFormatCode(int id) {
    switch (id) {
    case 1:
        return QStringLiteral("0");
    case 2:
        return QStringLiteral("0.00");
    case 3:
        return QStringLiteral("#,##0");
    case 4:
        return QStringLiteral("#,##0.00");
    case 5:
        return QStringLiteral("$#,##0_);($#,##0)");
    case 6:
        return QStringLiteral("$#,##0_);[Red]($#,##0)");
    case 7:
        return QStringLiteral("$#,##0.00_);($#,##0.00)");
    case 8:
        return QStringLiteral("$#,##0.00_);[Red]($#,##0.00)");
    case 9:
        return QStringLiteral("0%");
    case 10:
        return QStringLiteral("0.00%");
    case 11:
        return QStringLiteral("0.00E+00");
    case 12:
        return QStringLiteral("# ?/?");
    case 13:
        return QStringLiteral("# ?\?/?\?");
    case 14:
        return QStringLiteral("m/d/yyyy");
    case 15:
        return QStringLiteral("d-mmm-yy");
    case 16:
        return QStringLiteral("d-mmm");
    case 17:
        return QStringLiteral("mmm-yy");
    case 18:
        return QStringLiteral("h:mm AM/PM");
    case 19:
        return QStringLiteral("h:mm:ss AM/PM");
    case 20:
        return QStringLiteral("h:mm");
    case 21:
        return QStringLiteral("h:mm:ss");
    case 22:
        return QStringLiteral("m/d/yyyy h:mm");
    case 37:
        return QStringLiteral("#,##0_);(#,##0)");
    case 38:
        return QStringLiteral("#,##0_);[Red](#,##0)");
    case 39:
        return QStringLiteral("#,##0.00_);(#,##0.00)");
    case 40:
        return QStringLiteral("#,##0.00_);[Red](#,##0.00)");
    case 41:
        return QStringLiteral(R"(_(* #,##0_);_(* \(#,##0\);_(* "-"_);_(@_))");
    case 42:
        return QStringLiteral(R"(_("$"* #,##0_);_("$"* \(#,##0\);_("$"* "-"_);_(@_))");
    case 43:
        return QStringLiteral(R"(_(* #,##0.00_);_(* \(#,##0.00\);_(* "-"??_);_(@_))");
    case 44:
        return QStringLiteral(R"(_("$"* #,##0.00_);_("$"* \(#,##0.00\);_("$"* "-"??_);_(@_))");
    case 45:
        return QStringLiteral("mm:ss");
    case 46:
        return QStringLiteral("[h]:mm:ss");
    case 47:
        return QStringLiteral("mmss.0");
    case 48:
        return QStringLiteral("##0.0E+0");
    case 49:
        return QStringLiteral("@");
    default:
        return QStringLiteral("General");
    }
}

bool isDateFormat(const QString& code) {
    const FormatCode& parsed = parseFormatCode(code);
    return !parsed.sections.empty() && parsed.sections.front().isDate;
}

namespace {

QString stripZeros(QString text) {
    if (text.contains(u'.')) {
        while (text.endsWith(u'0')) {
            text.chop(1);
        }
        if (text.endsWith(u'.')) {
            text.chop(1);
        }
    }
    return text;
}

QString generalScientific(double a) {
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%.14e", a);
    int exponent = std::atoi(buffer + 17);
    const int expDigits = std::abs(exponent) >= 100 ? 3 : 2;
    const int decimals = 5 - (expDigits - 2);
    detail::FixedDigits digits = detail::toFixedDigits(a / std::pow(10.0, exponent), decimals);
    if (digits.intDigits.size() > 1) {
        ++exponent;
        digits = detail::toFixedDigits(a / std::pow(10.0, exponent), decimals);
    }
    QString mantissa = QString::fromStdString(digits.intDigits.empty() ? "0" : digits.intDigits) +
                       u'.' + QString::fromStdString(digits.fracDigits);
    QString expText = QString::number(std::abs(exponent));
    while (expText.size() < 2) {
        expText.prepend(u'0');
    }
    return stripZeros(mantissa) + (exponent < 0 ? QStringLiteral("E-") : QStringLiteral("E+")) +
           expText;
}

} // namespace

QString formatGeneral(double value) {
    if (!std::isfinite(value)) {
        return QStringLiteral("#NUM!");
    }
    if (value == 0) {
        return QStringLiteral("0");
    }
    const double a = std::fabs(value);
    const QString sign = value < 0 ? QStringLiteral("-") : QString();
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%.14e", a);
    const int exponent = std::atoi(buffer + 17);
    if (exponent >= 11 || exponent <= -5) {
        return sign + generalScientific(a);
    }
    const int intDigits = std::max(exponent + 1, 1);
    const int decimals = std::max(10 - intDigits, 0);
    const detail::FixedDigits digits = detail::toFixedDigits(a, decimals);
    if (digits.intDigits.size() > 11) {
        return sign + generalScientific(a);
    }
    QString text = QString::fromStdString(digits.intDigits.empty() ? "0" : digits.intDigits);
    if (decimals > 0) {
        text = stripZeros(text + u'.' + QString::fromStdString(digits.fracDigits));
    }
    if (text == QLatin1String("0") && a > 0) {
        return sign + generalScientific(a);
    }
    return sign + text;
}

QString formatCellText(const CellValue& value, const QString& code, bool date1904) {
    switch (value.kind()) {
    case CellValue::Kind::Empty:
        return {};
    case CellValue::Kind::Boolean:
        return value.toBool() ? QStringLiteral("TRUE") : QStringLiteral("FALSE");
    case CellValue::Kind::Error:
        return value.toText();
    default:
        break;
    }
    const FormatCode& parsed = parseFormatCode(code.isEmpty() ? QStringLiteral("General") : code);
    const auto& sections = parsed.sections;
    const size_t count = sections.size();
    if (value.kind() == CellValue::Kind::Text) {
        const FormatSection* textSection = nullptr;
        if (count >= 4) {
            textSection = &sections[3];
        } else if (sections.back().isText) {
            textSection = &sections.back();
        }
        if (textSection == nullptr) {
            return value.toText();
        }
        QString out;
        for (const detail::FormatToken& token : textSection->tokens) {
            if (token.kind == detail::FormatToken::Text) {
                out += value.toText();
            } else if (token.kind == detail::FormatToken::Literal) {
                out += token.text;
            }
        }
        return out;
    }

    const double v = value.toNumber();
    if (!std::isfinite(v)) {
        return QStringLiteral("#NUM!");
    }
    // Numeric sections: a trailing text section (the fourth, or one holding '@') is not one.
    size_t numeric = std::min<size_t>(count, 3);
    if (count < 4 && count > 1 && sections[count - 1].isText) {
        numeric = count - 1;
    }
    if (numeric == 0 || (count == 1 && sections[0].isText)) {
        return formatGeneral(v);
    }
    const FormatSection* chosen = nullptr;
    bool showSign = false;
    bool conditional = false;
    for (size_t i = 0; i < numeric; ++i) {
        conditional = conditional || sections[i].hasCondition;
    }
    if (conditional) {
        for (size_t i = 0; i < numeric && chosen == nullptr; ++i) {
            if (!sections[i].hasCondition || sections[i].matches(v)) {
                chosen = &sections[i];
                // A negative value keeps its sign unless the section is meant for negatives.
                showSign = !(sections[i].hasCondition && sections[i].conditionValue <= 0 &&
                             sections[i].conditionOp.startsWith(u'<'));
                if (!sections[i].hasCondition && i == 1 && !sections[0].hasCondition) {
                    showSign = false;
                }
            }
        }
        if (chosen == nullptr) {
            return QStringLiteral("###########");
        }
    } else if (v > 0 || (v == 0 && numeric < 3) || numeric == 1) {
        chosen = &sections[0];
        showSign = true;
    } else if (v < 0) {
        chosen = &sections[1];
        showSign = false;
    } else {
        chosen = &sections[2];
    }
    if (chosen->isDate) {
        return (showSign || v >= 0) ? renderDateSection(*chosen, v, date1904)
                                    : renderDateSection(*chosen, -v, date1904);
    }
    return renderNumberSection(*chosen, v, showSign);
}

} // namespace workbook

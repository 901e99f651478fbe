#include "workbook/detail/XmlText.h"

#include "workbook/detail/XmlEdit.h"

#include <cstring>

namespace workbook::detail {

namespace {

int hexValue(char c) {
    return c >= '0' && c <= '9'   ? c - '0'
           : c >= 'a' && c <= 'f' ? c - 'a' + 10
           : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                  : -1;
}

// The UTF-16 unit of an escape _xHHHH_ starting at `at`, or -1 when none starts there.
int escapedUnit(const char* at) {
    if (at[0] != '_' || at[1] != 'x') {
        return -1;
    }
    int unit = 0;
    for (int i = 2; i < 6; ++i) {
        const int digit = hexValue(at[i]); // stops at the terminating zero
        if (digit < 0) {
            return -1;
        }
        unit = unit * 16 + digit;
    }
    return at[6] == '_' ? unit : -1;
}

// Every _xHHHH_ decoded to its UTF-16 unit, _x005F_ to the underscore it stands for; a character
// outside the basic plane is written as two escapes, which join in UTF-16.
QString decodeEscapes(const char* raw) {
    const char* at = std::strstr(raw, "_x");
    if (at == nullptr) {
        return QString::fromUtf8(raw);
    }
    QString out;
    const char* plain = raw; // the text not yet copied starts here
    for (; at != nullptr; at = std::strstr(at, "_x")) {
        const int unit = escapedUnit(at);
        if (unit < 0) {
            ++at;
            continue;
        }
        out += QString::fromUtf8(plain, at - plain);
        out += QChar(char16_t(unit));
        at += 7;
        plain = at;
    }
    out += QString::fromUtf8(plain);
    return out;
}

} // namespace

QString stringItemText(pugi::xml_node item) {
    const PartNames names(item);
    const char* const t = names("t");
    const char* const run = names("r");
    QString text;
    for (pugi::xml_node piece : item.children()) {
        if (std::strcmp(piece.name(), t) == 0) {
            text += decodeEscapes(piece.child_value());
        } else if (std::strcmp(piece.name(), run) == 0) {
            text += decodeEscapes(piece.child(t).child_value());
        }
    }
    return text;
}

std::string encodeCellText(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t u = text[i].unicode();
        const bool control =
            (u < 0x20 && u != u'\t' && u != u'\n' && u != u'\r') || u == 0xFFFE || u == 0xFFFF;
        const bool literalEscape = u == u'_' && i + 1 < text.size() && text[i + 1] == u'x';
        if (control || literalEscape) {
            out += QStringLiteral("_x%1_")
                       .arg(unsigned(u), 4, 16, QLatin1Char('0'))
                       .toUpper()
                       .replace(QLatin1String("_X"), QLatin1String("_x"));
        } else {
            out += text[i];
        }
    }
    return out.toStdString();
}

SharedStrings::SharedStrings(pugi::xml_node sst) {
    // The names outlive the loop: a prefixed name is held by them, not by the element.
    const PartNames names(sst);
    for (pugi::xml_node item : sst.children(names("si"))) {
        items_.push_back(stringItemText(item));
    }
}

QString SharedStrings::at(int index) const {
    return index >= 0 && index < int(items_.size()) ? items_[size_t(index)] : QString();
}

} // namespace workbook::detail

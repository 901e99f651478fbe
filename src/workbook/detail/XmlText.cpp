#include "workbook/detail/XmlText.h"

#include "workbook/detail/XmlEdit.h"

#include <cstring>

namespace workbook::detail {

namespace {

bool isHex(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

QString decodeEscapes(const char* raw) {
    const std::string text(raw);
    if (text.find("_x") == std::string::npos) {
        return QString::fromUtf8(text);
    }
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '_' && i + 6 < text.size() && text[i + 1] == 'x' && isHex(text[i + 2]) &&
            isHex(text[i + 3]) && isHex(text[i + 4]) && isHex(text[i + 5]) && text[i + 6] == '_') {
            const unsigned code = unsigned(std::stoul(text.substr(i + 2, 4), nullptr, 16));
            out += QString(QChar(char16_t(code))).toStdString();
            i += 6;
        } else {
            out += text[i];
        }
    }
    return QString::fromUtf8(out);
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
    for (pugi::xml_node item : sst.children(PartNames(sst)("si"))) {
        items_.push_back(stringItemText(item));
    }
}

QString SharedStrings::at(int index) const {
    return index >= 0 && index < int(items_.size()) ? items_[size_t(index)] : QString();
}

} // namespace workbook::detail

#include "workbook/detail/CachePoints.h"

#include <charconv>
#include <cstring>

namespace workbook::detail {

namespace {

constexpr size_t kPiece = size_t(16) << 10;

// Appends text as pugixml writes character data: &, < and > as entities, control characters
// other than tab and line breaks as character references. Runs of plain characters (all of a
// number) are appended whole.
void appendEscaped(std::string& out, std::string_view text) {
    auto plain = [](unsigned char u) {
        return u >= 32 ? u != '&' && u != '<' && u != '>' : u == '\t' || u == '\n' || u == '\r';
    };
    size_t from = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        const auto u = static_cast<unsigned char>(text[i]);
        if (plain(u)) {
            continue;
        }
        out.append(text.substr(from, i - from));
        from = i + 1;
        if (u == '&') {
            out += "&amp;";
        } else if (u == '<') {
            out += "&lt;";
        } else if (u == '>') {
            out += "&gt;";
        } else {
            out += "&#";
            out += char('0' + u / 10);
            out += char('0' + u % 10);
            out += ';';
        }
    }
    out.append(text.substr(from));
}

} // namespace

CachePoints::CachePoints(const std::string& prefix)
    : beforeIndex_('<' + prefix + "pt idx=\""), beforeValue_("\"><" + prefix + "v>"),
      afterValue_("</" + prefix + "v></" + prefix + "pt>") {}

CachePoints::Values& CachePoints::own() {
    if (!values_) {
        values_ = std::make_shared<Values>();
    } else if (values_.use_count() > 1) {
        values_ = std::make_shared<Values>(*values_);
    }
    return *values_;
}

void CachePoints::reserve(size_t points, bool numeric) {
    Values& v = own();
    v.indexes.reserve(points);
    if (numeric) {
        v.numbers.reserve(points);
    } else {
        v.texts.reserve(points);
    }
}

void CachePoints::addNumber(int index, double value) {
    Values& v = own();
    v.indexes.push_back(index);
    v.numbers.push_back(value);
}

void CachePoints::addText(int index, std::string text) {
    Values& v = own();
    v.indexes.push_back(index);
    v.texts.push_back(std::move(text));
}

void CachePoints::eachPoint(const std::function<void(int, const std::string&)>& take) const {
    if (!values_) {
        return;
    }
    const Values& v = *values_;
    const bool numeric = v.numbers.size() == v.indexes.size();
    std::string number;
    char digits[32];
    for (size_t i = 0; i < v.indexes.size(); ++i) {
        if (numeric) {
            // The shortest text that reads back as the same number.
            number.assign(digits, std::to_chars(digits, digits + sizeof digits, v.numbers[i]).ptr);
        }
        take(v.indexes[i], numeric ? number : v.texts[i]);
    }
}

void CachePoints::write(const TextSink& sink) const {
    std::string piece;
    piece.reserve(kPiece + 256);
    char digits[16];
    eachPoint([&](int index, const std::string& value) {
        piece += beforeIndex_;
        piece.append(digits, std::to_chars(digits, digits + sizeof digits, index).ptr);
        piece += beforeValue_;
        appendEscaped(piece, value);
        piece += afterValue_;
        if (piece.size() >= kPiece) {
            sink(piece);
            piece.clear();
        }
    });
    if (!piece.empty()) {
        sink(piece);
    }
}

std::string CachePoints::text() const {
    std::string out;
    write([&out](std::string_view piece) { out.append(piece); });
    return out;
}

bool CachePoints::writes(std::string_view text) const {
    bool same = true;
    write([&](std::string_view piece) {
        same = same && text.substr(0, piece.size()) == piece;
        text.remove_prefix(std::min(piece.size(), text.size()));
    });
    return same && text.empty();
}

bool CachePoints::operator==(const CachePoints& other) const {
    if (beforeIndex_ != other.beforeIndex_ || beforeValue_ != other.beforeValue_ ||
        afterValue_ != other.afterValue_) {
        return false;
    }
    if (values_ == other.values_ || (empty() && other.empty())) {
        return true;
    }
    if (!values_ || !other.values_) {
        return false;
    }
    const Values& a = *values_;
    const Values& b = *other.values_;
    // Numbers compare by their bits: equal bits write equal text.
    return a.indexes == b.indexes && a.texts == b.texts && a.numbers.size() == b.numbers.size() &&
           (a.numbers.empty() || std::memcmp(a.numbers.data(), b.numbers.data(),
                                             a.numbers.size() * sizeof(double)) == 0);
}

} // namespace workbook::detail

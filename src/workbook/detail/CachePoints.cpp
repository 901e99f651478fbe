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

void CachePoints::reserve(size_t points) {
    indexes_.reserve(points);
}

void CachePoints::addNumber(int index, double value) {
    indexes_.push_back(index);
    numbers_.push_back(value);
}

void CachePoints::addText(int index, std::string text) {
    indexes_.push_back(index);
    texts_.push_back(std::move(text));
}

void CachePoints::eachPoint(const std::function<void(int, const std::string&)>& take) const {
    const bool numeric = numbers_.size() == indexes_.size();
    std::string number;
    char digits[32];
    for (size_t i = 0; i < indexes_.size(); ++i) {
        if (numeric) {
            // The shortest text that reads back as the same number.
            number.assign(digits, std::to_chars(digits, digits + sizeof digits, numbers_[i]).ptr);
        }
        take(indexes_[i], numeric ? number : texts_[i]);
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
    // Numbers compare by their bits: equal bits write equal text.
    return beforeIndex_ == other.beforeIndex_ && beforeValue_ == other.beforeValue_ &&
           afterValue_ == other.afterValue_ && indexes_ == other.indexes_ &&
           texts_ == other.texts_ && numbers_.size() == other.numbers_.size() &&
           (numbers_.empty() || std::memcmp(numbers_.data(), other.numbers_.data(),
                                            numbers_.size() * sizeof(double)) == 0);
}

} // namespace workbook::detail

#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace workbook::detail {

// Where a part's serialised text goes, piece by piece: a string, or a deflate stream, so that a
// large part is never held whole as text when it is only written to the archive.
using TextSink = std::function<void(std::string_view)>;

// The points of one rebuilt chart cache, kept as values and written as their XML only when the
// part is serialised (on the threads that deflate the parts): a chart over thousands of days
// then holds neither three nodes per point nor the text of its points. Copies share the values
// (the charts of a workbook share their categories); a copy changed takes its own.
class CachePoints {
public:
    CachePoints() = default;
    // prefix: the namespace prefix of the cache's elements with its colon ("c:"), or "".
    explicit CachePoints(const std::string& prefix);

    void reserve(size_t points, bool numeric);
    void addNumber(int index, double value);
    void addText(int index, std::string text);
    bool empty() const { return count() == 0; }
    size_t count() const { return values_ ? values_->indexes.size() : 0; }

    // Each point's index and value as it is written (a number as its shortest text, a text
    // unescaped).
    void eachPoint(const std::function<void(int, const std::string&)>& take) const;
    // The points' XML (<c:pt idx="0"><c:v>1.5</c:v></c:pt>...) in pieces of a few KiB.
    void write(const TextSink& sink) const;
    std::string text() const;
    // Whether write gives exactly `text` (compared piece by piece, never written whole).
    bool writes(std::string_view text) const;
    bool operator==(const CachePoints& other) const;

private:
    struct Values {
        std::vector<int> indexes;
        std::vector<double> numbers;    // of a number cache
        std::vector<std::string> texts; // of a text cache
    };
    // The values, this copy's own, to be changed.
    Values& own();

    std::string beforeIndex_; // <c:pt idx="
    std::string beforeValue_; // "><c:v>
    std::string afterValue_;  // </c:v></c:pt>
    std::shared_ptr<Values> values_;
};

} // namespace workbook::detail

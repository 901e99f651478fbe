#include "workbook/detail/PartText.h"

#include "workbook/detail/ChartCache.h"

#include <algorithm>
#include <charconv>

namespace workbook::detail {

namespace {

constexpr std::string_view kDeclaration =
    R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)";

// Takes pugixml's output in its small pieces, gathers them into larger ones for the sink and
// puts the points of each marker in its place. A marker cut between two pieces waits in the
// buffer for the rest of it.
class ExpandingWriter : public pugi::xml_writer {
public:
    ExpandingWriter(const std::vector<CachePoints>& points, const TextSink& sink)
        : points_(points), sink_(sink), open_(std::string("<?") + kPointsMarker + ' ') {
        pending_.reserve(kChunk + kChunk / 4);
    }

    void write(const void* data, size_t size) override {
        pending_.append(static_cast<const char*>(data), size);
        if (pending_.size() >= kChunk) {
            drain(false);
        }
    }

    void finish() { drain(true); }

private:
    static constexpr size_t kChunk = size_t(64) << 10;
    static constexpr size_t kMaxIndexDigits = 20;

    void emit(size_t from, size_t to) {
        if (to > from) {
            sink_(std::string_view(pending_).substr(from, to - from));
        }
    }

    // The length of the buffer's tail that may be the start of a marker.
    size_t markerStartAtEnd(size_t from) const {
        const size_t longest = std::min(open_.size() - 1, pending_.size() - from);
        for (size_t n = longest; n > 0; --n) {
            if (pending_.compare(pending_.size() - n, n, open_, 0, n) == 0) {
                return n;
            }
        }
        return 0;
    }

    // Whether the buffer's tail from `from` may still become a marker's index: a few digits,
    // perhaps followed by the '?' of the closing "?>". Anything else is not a marker, so that
    // the buffer never waits long.
    bool mayBeIndex(size_t from) const {
        size_t end = pending_.size();
        if (end > from && pending_[end - 1] == '?') {
            --end;
        }
        return end - from <= kMaxIndexDigits &&
               std::all_of(pending_.begin() + std::ptrdiff_t(from),
                           pending_.begin() + std::ptrdiff_t(end),
                           [](char c) { return c >= '0' && c <= '9'; });
    }

    void drain(bool final) {
        size_t from = 0;
        if (!points_.empty()) {
            for (size_t at = pending_.find(open_); at != std::string::npos;
                 at = pending_.find(open_, from)) {
                const size_t valueAt = at + open_.size();
                const size_t close = pending_.find("?>", valueAt);
                if (close == std::string::npos && !final && mayBeIndex(valueAt)) {
                    // The rest of the marker comes with the next pieces.
                    emit(from, at);
                    pending_.erase(0, at);
                    return;
                }
                size_t index = 0;
                const char* const valueEnd =
                    pending_.data() + (close == std::string::npos ? pending_.size() : close);
                const auto [end, error] =
                    std::from_chars(pending_.data() + valueAt, valueEnd, index);
                if (close == std::string::npos || error != std::errc() || end != valueEnd ||
                    index >= points_.size()) {
                    // Not a marker of this part: written as it stands.
                    emit(from, valueAt);
                    from = valueAt;
                    continue;
                }
                emit(from, at);
                points_[index].write(sink_);
                from = close + 2;
            }
        }
        const size_t keep = final || points_.empty() ? 0 : markerStartAtEnd(from);
        emit(from, pending_.size() - keep);
        pending_.erase(0, pending_.size() - keep);
    }

    const std::vector<CachePoints>& points_;
    const TextSink& sink_;
    const std::string open_;
    std::string pending_;
};

} // namespace

void writePart(const pugi::xml_document& doc, const std::vector<CachePoints>& points,
               const TextSink& sink) {
    if (doc.first_child().type() != pugi::node_declaration) {
        sink(kDeclaration);
    }
    ExpandingWriter writer(points, sink);
    // pugixml's own declaration is never written: a part's declaration is a node of its tree.
    doc.save(writer, "", pugi::format_raw | pugi::format_no_declaration, pugi::encoding_utf8);
    writer.finish();
}

std::string serialise(const pugi::xml_document& doc, const std::vector<CachePoints>& points) {
    std::string out;
    writePart(doc, points, [&out](std::string_view piece) { out.append(piece); });
    return out;
}

std::string serialise(const pugi::xml_document& doc) {
    return serialise(doc, {});
}

} // namespace workbook::detail

#include "workbook/detail/StreamedParse.h"

#include "workbook/detail/PartReader.h"
#include "workbook/detail/TreeMemory.h"
#include "workbook/detail/XmlEdit.h"

#include <algorithm>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <mutex>
#include <new>
#include <string_view>
#include <system_error>
#include <thread>
#include <vector>

namespace workbook::detail {

namespace {

// The room before each piece for the unparsed end of the one before (a row cut between two
// pieces).
constexpr size_t kMargin = size_t(128) << 10;
constexpr size_t kSlots = 4;
// How far the worksheet's start is looked for, and how long a row may be.
constexpr size_t kMaxHead = size_t(4) << 20;
constexpr size_t kMaxCarry = size_t(4) << 20;
// The rows parsed before the memory the rest will take is first projected (then again after
// each piece).
constexpr size_t kMeasuredRows = size_t(256) << 10;
// The share of the tree memory projected from the rows parsed so far that is faulted in ahead:
// under the projection, so that no page is zeroed for nothing (the first rows of a sheet take
// more memory for their text than later ones).
constexpr double kPrefaultShare = 0.8;
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

bool endsName(char c) {
    return isSpace(c) || c == '>' || c == '/';
}

// Where `needle` is first written in `text` from `from` on, npos when nowhere: the C library's
// search, which skips ahead by pairs of characters (a sheet's text has a '<' every few bytes,
// which a search by the first character stops at).
size_t findText(std::string_view text, std::string_view needle, size_t from) {
    if (from > text.size()) {
        return std::string_view::npos;
    }
    const void* found =
        memmem(text.data() + from, text.size() - from, needle.data(), needle.size());
    return found == nullptr ? std::string_view::npos
                            : size_t(static_cast<const char*>(found) - text.data());
}

// Where `open` ("<row", "</x:sheetData") is written as a whole name from `from` on; npos when
// it is not, or not yet known (the text ends right after it).
size_t findTag(std::string_view text, std::string_view open, size_t from) {
    for (size_t at = findText(text, open, from); at != std::string_view::npos;
         at = findText(text, open, at + 1)) {
        const size_t after = at + open.size();
        if (after >= text.size()) {
            return std::string_view::npos;
        }
        if (endsName(text[after])) {
            return at;
        }
    }
    return std::string_view::npos;
}

// The last place `open` is written as a whole name; npos when nowhere.
size_t findLastTag(std::string_view text, std::string_view open) {
    for (size_t at = text.rfind(open); at != std::string_view::npos;
         at = at == 0 ? std::string_view::npos : text.rfind(open, at - 1)) {
        const size_t after = at + open.size();
        if (after < text.size() && endsName(text[after])) {
            return at;
        }
    }
    return std::string_view::npos;
}

int mentions(std::string_view text, std::string_view uri) {
    int count = 0;
    for (size_t at = findText(text, uri, 0); at != std::string_view::npos;
         at = findText(text, uri, at + 1)) {
        ++count;
    }
    return count;
}

struct Piece {
    size_t slot = 0;
    char* data = nullptr; // kMargin bytes after the slot's start
    size_t size = 0;
    bool last = false;
};

// Inflates the part on a thread of its own into a ring of buffers, a piece ahead of the parse.
class Inflater {
public:
    Inflater(PartReader& reader, size_t pieceSize) : reader_(reader), pieceSize_(pieceSize) {
        for (size_t i = 0; i < kSlots; ++i) {
            char* slot = static_cast<char*>(allocateTreeMemory(kMargin + pieceSize_));
            if (slot == nullptr) {
                freeSlots();
                throw std::bad_alloc();
            }
            slots_.push_back(slot);
            free_.push_back(i);
        }
        try {
            thread_ = std::thread(&Inflater::run, this);
        } catch (...) {
            freeSlots();
            throw;
        }
    }

    ~Inflater() {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            stop_ = true;
        }
        changed_.notify_all();
        thread_.join();
        freeSlots();
    }

    Inflater(const Inflater&) = delete;
    Inflater& operator=(const Inflater&) = delete;

    // The next piece; false when the part could not be read or holds a NUL byte.
    bool next(Piece& piece) {
        std::unique_lock<std::mutex> lock(mutex_);
        changed_.wait(lock, [this] { return failed_ || !filled_.empty(); });
        if (filled_.empty()) {
            return false;
        }
        piece = filled_.front();
        filled_.pop_front();
        return true;
    }

    // The piece's buffer may be filled again.
    void release(const Piece& piece) {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            free_.push_back(piece.slot);
        }
        changed_.notify_all();
    }

private:
    void fail() {
        std::lock_guard<std::mutex> lock(mutex_);
        failed_ = true;
        changed_.notify_all();
    }

    void freeSlots() {
        for (char* slot : slots_) {
            freeTreeMemory(slot);
        }
        slots_.clear();
    }

    void run() {
        for (;;) {
            Piece piece;
            {
                std::unique_lock<std::mutex> lock(mutex_);
                changed_.wait(lock, [this] { return stop_ || !free_.empty(); });
                if (stop_) {
                    return;
                }
                piece.slot = free_.front();
                free_.pop_front();
            }
            piece.data = slots_[piece.slot] + kMargin;
            try {
                while (piece.size < pieceSize_) {
                    const size_t got =
                        reader_.read(piece.data + piece.size, pieceSize_ - piece.size);
                    if (got == 0) {
                        piece.last = true;
                        break;
                    }
                    piece.size += got;
                }
            } catch (...) {
                // The part is read again whole, which raises the fault.
                fail();
                return;
            }
            if (std::memchr(piece.data, 0, piece.size) != nullptr) {
                // pugixml ends a text at a NUL byte: a piece's parse would take the rows before
                // it and drop the rest, where the whole parse refuses the part (or, after the
                // document element, ignores what follows). The whole parse gives the verdict.
                fail();
                return;
            }
            {
                std::lock_guard<std::mutex> lock(mutex_);
                filled_.push_back(piece);
            }
            changed_.notify_all();
            if (piece.last) {
                return;
            }
        }
    }

    PartReader& reader_;
    size_t pieceSize_;
    std::vector<char*> slots_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<size_t> free_;
    std::deque<Piece> filled_;
    bool stop_ = false;
    bool failed_ = false;
    std::thread thread_;
};

// The start of a worksheet up to the end of its sheetData start tag.
struct Head {
    std::string rootName; // the document element's name ("worksheet", "x:worksheet")
    std::string prefix;   // of its name, with the colon ("x:"), or ""
    size_t sheetDataAt = 0;
    size_t end = 0;
};

enum class HeadFound { Yes, NotYet, Never };

HeadFound findHead(std::string_view text, Head& head) {
    size_t i = text.substr(0, kByteOrderMark.size()) == kByteOrderMark ? kByteOrderMark.size() : 0;
    const auto skipSpace = [&] {
        while (i < text.size() && isSpace(text[i])) {
            ++i;
        }
    };
    skipSpace();
    if (text.compare(i, 5, "<?xml") == 0) {
        const size_t close = text.find("?>", i);
        if (close == std::string_view::npos) {
            return HeadFound::NotYet;
        }
        i = close + 2;
        skipSpace();
    }
    if (i + 1 >= text.size()) {
        return HeadFound::NotYet;
    }
    if (text[i] != '<' || text[i + 1] == '!' || text[i + 1] == '?' || text[i + 1] == '/') {
        return HeadFound::Never; // a comment or a document type first: parsed whole
    }
    size_t nameEnd = i + 1;
    while (nameEnd < text.size() && !endsName(text[nameEnd])) {
        ++nameEnd;
    }
    if (nameEnd == text.size()) {
        return HeadFound::NotYet;
    }
    head.rootName = std::string(text.substr(i + 1, nameEnd - i - 1));
    const size_t colon = head.rootName.find(':');
    head.prefix = colon == std::string::npos ? std::string() : head.rootName.substr(0, colon + 1);
    const std::string open = "<" + head.prefix + "sheetData";
    const size_t at = findTag(text, open, nameEnd);
    if (at == std::string_view::npos) {
        return HeadFound::NotYet;
    }
    char quote = 0;
    for (size_t k = at + open.size(); k < text.size(); ++k) {
        const char c = text[k];
        if (quote != 0) {
            quote = c == quote ? 0 : quote;
        } else if (c == '"' || c == '\'') {
            quote = c;
        } else if (c == '>') {
            if (text[k - 1] == '/') {
                return HeadFound::Never; // no rows
            }
            head.sheetDataAt = at;
            head.end = k + 1;
            return HeadFound::Yes;
        }
    }
    return HeadFound::NotYet;
}

class StreamedParser {
public:
    StreamedParser(PartReader& reader, unsigned options, pugi::xml_document& doc,
                   StreamedText& text, size_t pieceSize)
        : reader_(reader), inflater_(reader, pieceSize), options_(options), doc_(doc), text_(text) {
    }

    bool parse() {
        Piece piece;
        std::string start;
        Head head;
        for (;;) {
            if (!inflater_.next(piece)) {
                return false;
            }
            start.append(piece.data, piece.size);
            const HeadFound found = findHead(start, head);
            if (found == HeadFound::Yes) {
                break;
            }
            inflater_.release(piece);
            if (found == HeadFound::Never || piece.last || start.size() > kMaxHead) {
                return false;
            }
        }
        if (!parseShell(start, head)) {
            inflater_.release(piece);
            return false;
        }
        headSize_ = head.end;
        // The rest of `start` is the rows' start, at the end of the piece in hand.
        const size_t rest = start.size() - head.end;
        return parseRows(piece, std::string_view(piece.data + piece.size - rest, rest));
    }

private:
    // The worksheet without its rows: its start, then the ends of sheetData and of the document
    // element. It is the start of the whole part's tree only when the parser took the sheetData
    // start tag found for one: its name is where it was found.
    bool parseShell(std::string_view start, const Head& head) {
        text_.shell = std::make_unique<std::string>(start.substr(0, head.end));
        *text_.shell += "</" + head.prefix + "sheetData></" + head.rootName + ">";
        if (!doc_.load_buffer_inplace(text_.shell->data(), text_.shell->size(), options_,
                                      pugi::encoding_utf8)) {
            return false;
        }
        root_ = doc_.document_element();
        sheetData_ = root_.last_child();
        if (root_.name() != head.rootName || sheetData_.type() != pugi::node_element ||
            sheetData_.name() != head.prefix + "sheetData" ||
            sheetData_.offset_debug() != std::ptrdiff_t(head.sheetDataAt + 1) ||
            sheetData_.first_child() || *sheetData_.value() != '\0') {
            return false;
        }
        rowOpen_ = "<" + head.prefix + "row";
        rowsClose_ = "</" + head.prefix + "sheetData";
        rootClose_ = "</" + head.rootName;
        namespace_ = elementNamespace(root_);
        count(start.substr(0, head.end));
        return true;
    }

    void count(std::string_view text) {
        if (!namespace_.empty()) {
            text_.namespaceMentions += mentions(text, namespace_);
        }
    }

    bool append(pugi::xml_node parent, std::string_view fragment) {
        if (fragment.empty()) {
            return true;
        }
        if (fragment.substr(0, kByteOrderMark.size()) == kByteOrderMark) {
            return false; // a whole parse keeps it as text, a piece's parse would skip it
        }
        count(fragment);
        return bool(parent.append_buffer(fragment.data(), fragment.size(),
                                         options_ | pugi::parse_fragment, pugi::encoding_utf8));
    }

    // Rows are cut before a row's start tag; any cut that is not between two rows leaves a
    // piece that does not parse, and the part is parsed whole.
    bool parseRows(Piece piece, std::string_view pending) {
        std::string joined; // a carried end longer than the room before the next piece
        const size_t inUseBefore = treeMemoryStats().pagesInUse;
        size_t parsed = 0;
        for (;;) {
            // The rows end after the last row's start (a row after their end would leave a
            // piece that does not parse).
            const size_t cut = findLastTag(pending, rowOpen_);
            const size_t close =
                findTag(pending, rowsClose_, cut == std::string_view::npos ? 0 : cut);
            if (close != std::string_view::npos) {
                return append(sheetData_, pending.substr(0, close)) &&
                       parseTail(piece, pending.substr(close));
            }
            if (piece.last) {
                inflater_.release(piece);
                return false;
            }
            std::string_view carry = pending;
            if (cut != std::string_view::npos && cut > 0) {
                if (!append(sheetData_, pending.substr(0, cut))) {
                    inflater_.release(piece);
                    return false;
                }
                parsed += cut;
                if (parsed >= kMeasuredRows) {
                    prefaultRest(inUseBefore, parsed);
                }
                carry = pending.substr(cut);
            }
            if (carry.size() > kMaxCarry) {
                inflater_.release(piece);
                return false; // a row longer than this: parsed whole
            }
            Piece nextPiece;
            if (!inflater_.next(nextPiece)) {
                inflater_.release(piece);
                return false;
            }
            if (carry.size() <= kMargin) {
                char* at = nextPiece.data - carry.size();
                std::copy(carry.begin(), carry.end(), at);
                pending = std::string_view(at, carry.size() + nextPiece.size);
            } else {
                std::string longer;
                longer.reserve(carry.size() + nextPiece.size);
                longer.append(carry);
                longer.append(nextPiece.data, nextPiece.size);
                joined = std::move(longer);
                pending = joined;
            }
            inflater_.release(piece);
            piece = nextPiece;
        }
    }

    // Projects the tree pages the rest of the rows will take from what the first rows took and
    // has them faulted in ahead, with the memory their text is copied to.
    void prefaultRest(size_t inUseBefore, size_t rowsText) {
        const uint64_t declared = reader_.declaredSize();
        const size_t inUse = treeMemoryStats().pagesInUse;
        const size_t took = inUse - std::min(inUse, inUseBefore);
        const uint64_t done = uint64_t(headSize_) + rowsText;
        if (declared <= done) {
            return;
        }
        const double rest = double(declared - done);
        prefaultTreeMemory(size_t(double(took) / double(rowsText) * rest * kPrefaultShare),
                           size_t(rest * kPrefaultShare));
    }

    // What follows the rows: the end of sheetData, the elements after it, the end of the
    // document element, nothing but white space after that.
    bool parseTail(Piece piece, std::string_view pending) {
        std::string tail(pending);
        inflater_.release(piece);
        while (!piece.last) {
            if (!inflater_.next(piece)) {
                return false;
            }
            tail.append(piece.data, piece.size);
            inflater_.release(piece);
        }
        size_t i = rowsClose_.size();
        while (i < tail.size() && isSpace(tail[i])) {
            ++i;
        }
        if (i >= tail.size() || tail[i] != '>') {
            return false;
        }
        const size_t innerStart = i + 1;
        const size_t rootEnd = findLastTag(tail, rootClose_);
        if (rootEnd == std::string::npos || rootEnd < innerStart) {
            return false;
        }
        size_t k = rootEnd + rootClose_.size();
        while (k < tail.size() && isSpace(tail[k])) {
            ++k;
        }
        if (k >= tail.size() || tail[k] != '>') {
            return false;
        }
        for (++k; k < tail.size(); ++k) {
            if (!isSpace(tail[k])) {
                return false;
            }
        }
        count(std::string_view(tail).substr(0, innerStart));
        count(std::string_view(tail).substr(rootEnd));
        return append(root_, std::string_view(tail).substr(innerStart, rootEnd - innerStart));
    }

    PartReader& reader_;
    Inflater inflater_;
    unsigned options_;
    pugi::xml_document& doc_;
    StreamedText& text_;
    pugi::xml_node root_;
    pugi::xml_node sheetData_;
    std::string rowOpen_;
    std::string rowsClose_;
    std::string rootClose_;
    std::string namespace_;
    size_t headSize_ = 0;
};

} // namespace

bool parseStreamed(PartReader& reader, unsigned options, pugi::xml_document& doc,
                   StreamedText& text, size_t pieceSize) {
    bool parsed = false;
    try {
        StreamedParser parser(reader, options, doc, text, std::max<size_t>(pieceSize, 1));
        parsed = parser.parse();
    } catch (const std::system_error&) {
        parsed = false; // no thread to inflate beside the parse: parsed whole
    }
    if (!parsed) {
        doc.reset();
        text = {};
    }
    return parsed;
}

} // namespace workbook::detail
